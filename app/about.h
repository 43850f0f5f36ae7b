// The about dialog: the program's name and version, the two counters, the address links and an
// account number that a click copies to the clipboard.
#pragma once

#include "app/dialog_host.h"
#include "framework/ExtCtrls.h"
#include "framework/Forms.h"
#include "framework/StdCtrls.h"
#include "widgets/ASLink.h"

// Puts text on the clipboard as CF_TEXT for the owner window; false when the clipboard cannot be
// opened. Raises EOSError when the memory cannot be had or handed over.
bool CopyTextToClipboard(HWND owner, const std::wstring& text);

class TAboutForm : public TForm {
    DECLARE_CLASS_NAME(TAboutForm)
public:
    explicit TAboutForm(TComponent* owner) : TForm(owner) {}
    void DeclareBindings(TFormBindings& b) override;

    TDialogHost* Host = nullptr; // borrowed

    void FormShow(TObject* sender);
    void ASLink1Click(TObject* sender);

    TLabel* startn = nullptr;
    TLabel* receptsn = nullptr;
    TASLink* MailLink1 = nullptr;
    TASLink* MailLink2 = nullptr;
    TASLink* SiteLink = nullptr;
    TASLink* ASLink1 = nullptr;
    TImage* Picture = nullptr;
    TButton* OKButton = nullptr;
};
