// The message dialog form and its parts: icon, text and push buttons.
#include "framework/Dialogs.h"

#include "framework/Printers.h"
#include "framework/StdCtrls.h"
#include "framework/SysUtils.h"

#include <algorithm>

namespace {

// A push button that closes the dialog with its modal result. It is the framework's button, so a
// skinned program adapts it like any form's button; only Enter is taken otherwise.
class TMessageButton : public TButton {
public:
    explicit TMessageButton(TComponent* owner) : TButton(owner) {}

    void Dispatch(TMessage& m) override
    {
        if (m.Msg == CM_DIALOGKEY) {
            auto key = static_cast<WORD>(m.WParam);
            if ((key == VK_RETURN && Active()) || (key == VK_ESCAPE && Cancel())) {
                Click();
                m.Result = 1;
            }
            return;
        }
        TButton::Dispatch(m);
    }

private:
    // Enter presses the focused button; the default one only while no other button has the focus, so
    // that "Нет" chosen with Tab is never answered as "Да".
    bool Active()
    {
        if (Focused())
            return true;
        return Default() && !dynamic_cast<TMessageButton*>(FindControl(GetFocus()));
    }
};

// The dialog's icon: a system icon drawn by the form's paint.
class TMessageImage : public TGraphicControl {
    DECLARE_CLASS_NAME(TImage)
public:
    explicit TMessageImage(TComponent* owner) : TGraphicControl(owner) {}
    HICON Icon = nullptr; // the system's shared icon

protected:
    void Paint() override
    {
        if (Icon)
            DrawIconEx(Canvas()->Handle(), 0, 0, Icon, Width(), Height(), 0, nullptr, DI_NORMAL);
    }
};

// The dialog's text, word-wrapped.
class TMessageLabel : public TGraphicControl {
    DECLARE_CLASS_NAME(TLabel)
public:
    explicit TMessageLabel(TComponent* owner) : TGraphicControl(owner) {}

protected:
    void Paint() override
    {
        std::wstring text = Text();
        RECT r = ClientRect().ToRECT();
        Canvas()->Brush()->SetStyle(bsClear);
        Canvas()->Font()->Assign(Font());
        DrawTextW(Canvas()->Handle(), text.c_str(), static_cast<int>(text.size()), &r, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
    }
};

class TMessageForm : public TForm {
    DECLARE_CLASS_NAME(TMessageForm)
public:
    explicit TMessageForm(TComponent* owner) : TForm(owner) {}
};

const wchar_t* Caption(TMsgDlgType type)
{
    switch (type) {
    case mtWarning:
        return L"Предупреждение";
    case mtError:
        return L"Ошибка";
    case mtInformation:
        return L"Информация";
    case mtConfirmation:
        return L"Подтверждение";
    default:
        return L"";
    }
}

const wchar_t* IconId(TMsgDlgType type)
{
    switch (type) {
    case mtWarning:
        return IDI_WARNING;
    case mtError:
        return IDI_ERROR;
    case mtInformation:
        return IDI_INFORMATION;
    case mtConfirmation:
        return IDI_QUESTION;
    default:
        return nullptr;
    }
}

struct ButtonInfo {
    TMsgDlgBtn button;
    const wchar_t* caption;
    const wchar_t* name;
    TModalResult result;
};

const ButtonInfo kButtons[] = {
    {mbYes, L"&Да", L"Yes", mrYes},
    {mbNo, L"&Нет", L"No", mrNo},
    {mbOK, L"OK", L"OK", mrOk},
    {mbCancel, L"Отмена", L"Cancel", mrCancel},
    {mbAbort, L"&Прервать", L"Abort", mrAbort},
    {mbRetry, L"П&овторить", L"Retry", mrRetry},
    {mbIgnore, L"П&ропустить", L"Ignore", mrIgnore},
    {mbAll, L"&Все", L"All", mrAll},
    {mbNoToAll, L"Н&ет для всех", L"NoToAll", mrNoToAll},
    {mbYesToAll, L"Д&а для всех", L"YesToAll", mrYesToAll},
    {mbHelp, L"&Справка", L"Help", mrNone},
};

} // namespace

TCustomForm* CreateMessageDialog(const std::wstring& message, TMsgDlgType type, TMsgDlgButtons buttons)
{
    if (buttons.Empty())
        buttons = {mbOK};
    auto* form = new TMessageForm(Application);
    form->AfterConstruction();
    form->SetBorderStyle(bsDialog);
    form->SetPosition(poScreenCenter);
    form->SetCaption(type == mtCustom && Application ? Application->Title() : Caption(type));
    form->Font()->SetName(L"Tahoma");
    form->Font()->SetHeight(-11);

    const int margin = 12;
    const int spacing = 8;
    const int buttonWidth = 75;
    const int buttonHeight = 25;
    int x = margin;
    if (const wchar_t* iconId = IconId(type)) {
        auto* image = new TMessageImage(form);
        image->SetName(L"Image");
        image->Icon = LoadIconW(nullptr, iconId);
        image->SetBounds(margin, margin, 32, 32);
        image->SetParent(form);
        x += 32 + margin;
    }
    TSize textSize = WrappedTextSize(form->Font()->Handle(), message, GetSystemMetrics(SM_CXSCREEN) / 2);
    auto* label = new TMessageLabel(form);
    label->SetName(L"Message");
    label->SetText(message);
    label->SetBounds(x, margin, textSize.cx + 1, textSize.cy);
    label->SetParent(form);

    int buttonCount = 0;
    for (const ButtonInfo& b : kButtons)
        if (buttons.Contains(b.button))
            ++buttonCount;
    int buttonsWidth = buttonCount * buttonWidth + (buttonCount - 1) * spacing;
    int contentWidth = std::max(x + textSize.cx, margin + buttonsWidth) + margin;
    int top = margin + std::max(textSize.cy, 32) + margin;
    form->SetClientWidth(contentWidth);
    form->SetClientHeight(top + buttonHeight + margin);

    // The default button is OK or Yes; Escape presses Cancel, or No when there is no Cancel.
    int left = (contentWidth - buttonsWidth) / 2;
    bool defaultSet = false;
    for (const ButtonInfo& b : kButtons) {
        if (!buttons.Contains(b.button))
            continue;
        auto* button = new TMessageButton(form);
        button->SetName(b.name);
        button->SetCaption(b.caption);
        button->SetModalResult(b.result);
        if (!defaultSet && (b.button == mbOK || b.button == mbYes)) {
            button->SetDefault(true);
            defaultSet = true;
        }
        button->SetCancel(b.button == mbCancel || (b.button == mbNo && !buttons.Contains(mbCancel)) ||
                          (b.button == mbOK && buttonCount == 1));
        button->SetBounds(left, top, buttonWidth, buttonHeight);
        button->SetParent(form);
        if (button->Default())
            form->SetActiveControl(button);
        left += buttonWidth + spacing;
    }
    return form;
}

int MessageDlg(const std::wstring& message, TMsgDlgType type, TMsgDlgButtons buttons, int)
{
    TOwned<TCustomForm> form(CreateMessageDialog(message, type, buttons));
    return form->ShowModal();
}

void ShowMessage(const std::wstring& message)
{
    MessageDlg(message, mtCustom, {mbOK});
}

// ---- Common dialogs ----

const wchar_t* const kNoPrinterMessage = L"Принтер не установлен. Установите принтер, чтобы печатать.";

HWND TCommonDialog::OwnerWindow() const
{
    if (Screen)
        if (TCustomForm* form = Screen->ActiveCustomForm(); form && form->HandleAllocated())
            return form->Handle();
    return Application ? Application->Handle() : nullptr;
}

TOpenDialog::TOpenDialog(TComponent* owner) : TCommonDialog(owner), files_(std::make_unique<TStringList>()) {}

TOpenDialog::~TOpenDialog() = default;

namespace {

// The system wants the filter as zero-separated strings ending in two zeros.
std::wstring SystemFilter(const std::wstring& filter)
{
    if (filter.empty())
        return std::wstring(2, L'\0');
    std::wstring out = filter;
    std::replace(out.begin(), out.end(), L'|', L'\0');
    out.push_back(L'\0');
    out.push_back(L'\0');
    return out;
}

DWORD OpenFlags(TOpenOptions options)
{
    static const std::pair<TOpenOption, DWORD> kFlags[] = {
        {ofReadOnly, OFN_READONLY}, {ofOverwritePrompt, OFN_OVERWRITEPROMPT}, {ofHideReadOnly, OFN_HIDEREADONLY},
        {ofNoChangeDir, OFN_NOCHANGEDIR}, {ofShowHelp, OFN_SHOWHELP}, {ofNoValidate, OFN_NOVALIDATE},
        {ofAllowMultiSelect, OFN_ALLOWMULTISELECT}, {ofExtensionDifferent, OFN_EXTENSIONDIFFERENT},
        {ofPathMustExist, OFN_PATHMUSTEXIST}, {ofFileMustExist, OFN_FILEMUSTEXIST}, {ofCreatePrompt, OFN_CREATEPROMPT},
        {ofShareAware, OFN_SHAREAWARE}, {ofNoReadOnlyReturn, OFN_NOREADONLYRETURN},
        {ofNoTestFileCreate, OFN_NOTESTFILECREATE}, {ofNoNetworkButton, OFN_NONETWORKBUTTON},
        {ofNoLongNames, OFN_NOLONGNAMES}, {ofNoDereferenceLinks, OFN_NODEREFERENCELINKS},
        {ofEnableIncludeNotify, OFN_ENABLEINCLUDENOTIFY}, {ofEnableSizing, OFN_ENABLESIZING},
        {ofDontAddToRecent, OFN_DONTADDTORECENT}, {ofForceShowHidden, OFN_FORCESHOWHIDDEN},
    };
    DWORD flags = options.Contains(ofOldStyleDialog) ? 0 : OFN_EXPLORER;
    for (const auto& [option, flag] : kFlags)
        if (options.Contains(option))
            flags |= flag;
    return flags;
}

} // namespace

bool TOpenDialog::Execute()
{
    // Room for many names when several files may be chosen.
    std::wstring buffer(options_.Contains(ofAllowMultiSelect) ? 65536 : MAX_PATH * 4, L'\0');
    std::copy_n(fileName_.begin(), std::min(fileName_.size(), buffer.size() - 1), buffer.begin());
    std::wstring filter = SystemFilter(filter_);
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = OwnerWindow();
    ofn.lpstrFilter = filter_.empty() ? nullptr : filter.c_str();
    ofn.nFilterIndex = static_cast<DWORD>(std::max(filterIndex_, 0));
    ofn.lpstrFile = buffer.data();
    ofn.nMaxFile = static_cast<DWORD>(buffer.size());
    ofn.lpstrInitialDir = initialDir_.empty() ? nullptr : initialDir_.c_str();
    ofn.lpstrTitle = title_.empty() ? nullptr : title_.c_str();
    ofn.lpstrDefExt = defaultExt_.empty() ? nullptr : defaultExt_.c_str();
    ofn.Flags = OpenFlags(options_);
    OnShow(this);
    bool ok = RunDialog(ofn);
    OnClose(this);
    if (!ok)
        return false;
    filterIndex_ = static_cast<int>(ofn.nFilterIndex);
    if (ofn.Flags & OFN_READONLY)
        options_.Include(ofReadOnly);
    else
        options_.Exclude(ofReadOnly);
    ReadResult(buffer);
    return true;
}

void TOpenDialog::ReadResult(const std::wstring& buffer)
{
    // One name, or (multiple selection) the folder followed by zero-separated names.
    files_->Clear();
    std::vector<std::wstring> parts;
    size_t pos = 0;
    while (pos < buffer.size() && buffer[pos] != L'\0') {
        size_t end = buffer.find(L'\0', pos);
        parts.push_back(buffer.substr(pos, end - pos));
        pos = end + 1;
    }
    if (parts.size() <= 1) {
        fileName_ = parts.empty() ? std::wstring() : parts[0];
        files_->Add(fileName_);
        return;
    }
    std::wstring folder = IncludeTrailingPathDelimiter(parts[0]);
    for (size_t i = 1; i < parts.size(); ++i)
        files_->Add(folder + parts[i]);
    fileName_ = files_->Get(0);
}

TOpenPictureDialog::TOpenPictureDialog(TComponent* owner) : TOpenDialog(owner)
{
    SetFilter(TPicture::GraphicFilter(nullptr));
}

bool TPrintDialog::Execute()
{
    TPrinter* printer = Printer();
    if (printer->Printers()->Count() == 0) {
        MessageDlg(kNoPrinterMessage, mtError, {mbOK});
        return false;
    }
    PRINTDLGW pd{};
    pd.lStructSize = sizeof(pd);
    pd.hwndOwner = OwnerWindow();
    pd.Flags = DialogFlags();
    pd.nCopies = static_cast<WORD>(std::clamp(copies_, 1, 0xFFFF));
    OnShow(this);
    BOOL ok = PrintDlgW(&pd);
    OnClose(this);
    if (!ok) {
        // The system reports a missing or broken printer as an error of its own, not as a cancel.
        if (CommDlgExtendedError() == PDERR_NODEFAULTPRN || CommDlgExtendedError() == PDERR_PRINTERNOTFOUND)
            MessageDlg(kNoPrinterMessage, mtError, {mbOK});
        return false;
    }
    if (pd.hDevNames) {
        if (auto* names = static_cast<DEVNAMES*>(GlobalLock(pd.hDevNames))) {
            std::wstring device = reinterpret_cast<const wchar_t*>(names) + names->wDeviceOffset;
            GlobalUnlock(pd.hDevNames);
            int index = printer->Printers()->IndexOf(device);
            if (index >= 0)
                printer->SetPrinterIndex(index);
        }
        GlobalFree(pd.hDevNames);
    }
    if (pd.hDevMode) {
        if (auto* mode = static_cast<DEVMODEW*>(GlobalLock(pd.hDevMode))) {
            copies_ = mode->dmCopies > 0 ? mode->dmCopies : 1;
            GlobalUnlock(pd.hDevMode);
        }
        GlobalFree(pd.hDevMode);
    }
    return true;
}
