// Message dialogs: a framework form of class "TMessageForm" with an icon, the message and buttons with
// Russian captions.
#pragma once

#include "framework/Forms.h"

#include <string>

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum TMsgDlgBtn { mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbNoToAll, mbYesToAll, mbHelp };
using TMsgDlgButtons = TSet<TMsgDlgBtn>;

// Builds the dialog without showing it (owned by the application; free it after use).
TCustomForm* CreateMessageDialog(const std::wstring& message, TMsgDlgType type, TMsgDlgButtons buttons);
// Shows the dialog modally and returns the pressed button's modal result (mrYes, mrOK, ...).
int MessageDlg(const std::wstring& message, TMsgDlgType type, TMsgDlgButtons buttons, int helpContext = 0);
// An information message with an OK button, titled with the application's title.
void ShowMessage(const std::wstring& message);

// ---- Common dialogs of the system ----

// A system dialog run modally over the active form by Execute; True when the user confirmed it.
class TCommonDialog : public TComponent {
    DECLARE_CLASS_NAME(TCommonDialog)
public:
    explicit TCommonDialog(TComponent* owner) : TComponent(owner) {}
    virtual bool Execute() = 0;
    TNotifyEvent OnShow;
    TNotifyEvent OnClose;

protected:
    // The window the dialog is modal to: the active form's, else the application's.
    HWND OwnerWindow() const;
};

enum TOpenOption {
    ofReadOnly, ofOverwritePrompt, ofHideReadOnly, ofNoChangeDir, ofShowHelp, ofNoValidate, ofAllowMultiSelect,
    ofExtensionDifferent, ofPathMustExist, ofFileMustExist, ofCreatePrompt, ofShareAware, ofNoReadOnlyReturn,
    ofNoTestFileCreate, ofNoNetworkButton, ofNoLongNames, ofOldStyleDialog, ofNoDereferenceLinks, ofEnableIncludeNotify,
    ofEnableSizing, ofDontAddToRecent, ofForceShowHidden
};
using TOpenOptions = TSet<TOpenOption>;

class TOpenDialog : public TCommonDialog {
    DECLARE_CLASS_NAME(TOpenDialog)
public:
    explicit TOpenDialog(TComponent* owner);
    ~TOpenDialog() override;

    // "Description|*.ext|Description|*.a;*.b": pairs separated by '|'.
    const std::wstring& Filter() const { return filter_; }
    void SetFilter(const std::wstring& value) { filter_ = value; }
    // 1-based, as the system counts filters.
    int FilterIndex() const { return filterIndex_; }
    void SetFilterIndex(int value) { filterIndex_ = value; }
    const std::wstring& FileName() const { return fileName_; }
    void SetFileName(const std::wstring& value) { fileName_ = value; }
    // Every chosen file (one unless ofAllowMultiSelect).
    TStrings* Files() const { return files_.get(); }
    const std::wstring& InitialDir() const { return initialDir_; }
    void SetInitialDir(const std::wstring& value) { initialDir_ = value; }
    const std::wstring& DefaultExt() const { return defaultExt_; }
    void SetDefaultExt(const std::wstring& value) { defaultExt_ = value; }
    const std::wstring& Title() const { return title_; }
    void SetTitle(const std::wstring& value) { title_ = value; }
    TOpenOptions Options() const { return options_; }
    void SetOptions(TOpenOptions value) { options_ = value; }

    bool Execute() override;

protected:
    // Runs the system's open (or save) dialog on the prepared structure.
    virtual bool RunDialog(OPENFILENAMEW& ofn) { return GetOpenFileNameW(&ofn) != 0; }

private:
    void ReadResult(const std::wstring& buffer);

    std::wstring filter_;
    int filterIndex_ = 1;
    std::wstring fileName_;
    std::unique_ptr<TStringList> files_;
    std::wstring initialDir_;
    std::wstring defaultExt_;
    std::wstring title_;
    TOpenOptions options_{ofHideReadOnly, ofEnableSizing};
};

// The open dialog for pictures: its filter lists every registered picture format unless set.
class TOpenPictureDialog : public TOpenDialog {
    DECLARE_CLASS_NAME(TOpenPictureDialog)
public:
    explicit TOpenPictureDialog(TComponent* owner);
};

// The text shown, and the result False, when a print dialog is run with no printer installed.
extern const wchar_t* const kNoPrinterMessage;

class TPrintDialog : public TCommonDialog {
    DECLARE_CLASS_NAME(TPrintDialog)
public:
    explicit TPrintDialog(TComponent* owner) : TCommonDialog(owner) {}
    int Copies() const { return copies_; }
    void SetCopies(int value) { copies_ = value; }
    // With no printer: the message above, and False.
    bool Execute() override;

protected:
    virtual DWORD DialogFlags() const { return PD_NOPAGENUMS | PD_NOSELECTION | PD_USEDEVMODECOPIESANDCOLLATE; }

private:
    int copies_ = 1;
};

class TPrinterSetupDialog : public TPrintDialog {
    DECLARE_CLASS_NAME(TPrinterSetupDialog)
public:
    explicit TPrinterSetupDialog(TComponent* owner) : TPrintDialog(owner) {}

protected:
    DWORD DialogFlags() const override { return PD_PRINTSETUP; }
};
