// The search dialog: a word searched in the beginning of every recipe of every category; a chosen hit
// is shown in the main window's view.
#pragma once

#include "app/dialog_host.h"
#include "framework/ComCtrls.h"
#include "framework/Forms.h"
#include "framework/RichEdit.h"
#include "framework/StdCtrls.h"

class TSearchForm : public TForm {
    DECLARE_CLASS_NAME(TSearchForm)
public:
    explicit TSearchForm(TComponent* owner) : TForm(owner) {}
    void DeclareBindings(TFormBindings& b) override;
    void Loaded() override;

    TDialogHost* Host = nullptr; // borrowed; set before the dialog is shown

    void Button1Click(TObject* sender);
    void FillFindList(const std::wstring& folder, const std::wstring& mask);
    void FindListSelectItem(TObject* sender, TListItem* item, bool selected);
    void Button2Click(TObject* sender);

    TLabel* Label1 = nullptr;
    TEdit* FindStrings = nullptr;
    TButton* Button1 = nullptr;
    TProgressBar* ProgressBar = nullptr;
    TListView* FindList = nullptr;
    TButton* Button2 = nullptr;
    TRichEdit* RichFind = nullptr;
    TListBox* FileNameList = nullptr;
};
