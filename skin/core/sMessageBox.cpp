#include "skin/core/sMessageBox.h"

#include "framework/WinApi.h"

std::int32_t gMessageBoxX = -1;
std::int32_t gMessageBoxY = -1;

namespace {

const wchar_t* const kCaptions[] = {L"Warning", L"Error", L"Information", L"Confirm", L""};
const unsigned kIcons[] = {MB_ICONWARNING, MB_ICONERROR, MB_ICONINFORMATION, MB_ICONQUESTION, 0};

bool Has(TMsgDlgButtons set, TMsgDlgBtn button)
{
    return (set & (1u << button)) != 0;
}

// Puts the requested position in place for the time the box is open, also when showing it raises.
class PositionScope {
public:
    PositionScope(int x, int y)
    {
        gMessageBoxX = x;
        gMessageBoxY = y;
    }
    ~PositionScope()
    {
        gMessageBoxX = -1;
        gMessageBoxY = -1;
    }
    PositionScope(const PositionScope&) = delete;
    PositionScope& operator=(const PositionScope&) = delete;
};

} // namespace

TMessageBoxStyle MessageBoxStyle(const std::wstring& caption, TMsgDlgType dlgType, TMsgDlgButtons buttons)
{
    const unsigned type = dlgType <= mtCustom ? dlgType : mtCustom;
    TMessageBoxStyle style;
    style.Flags = kIcons[type];
    style.Caption = caption.empty() ? kCaptions[type] : caption;
    if (Has(buttons, mbOK))
        style.Flags |= Has(buttons, mbCancel) ? MB_OKCANCEL : MB_OK;
    else if (Has(buttons, mbAbort) || Has(buttons, mbIgnore))
        style.Flags = MB_ABORTRETRYIGNORE;
    else if (Has(buttons, mbYes) || Has(buttons, mbNo))
        style.Flags |= Has(buttons, mbCancel) ? MB_YESNOCANCEL : MB_YESNO;
    else if (Has(buttons, mbRetry))
        style.Flags |= MB_RETRYCANCEL;
    if (Has(buttons, mbHelp))
        style.Flags |= MB_HELP;
    return style;
}

int ShowMessageBox(const std::wstring& caption, const std::wstring& text, TMsgDlgType dlgType, int x, int y,
                   int /*helpCtx*/, TMsgDlgButtons buttons)
{
    const TMessageBoxStyle style = MessageBoxStyle(caption, dlgType, buttons);
    PositionScope position(x, y);
    // Owned by the active window of this thread, as the application object's box is.
    return MessageBoxW(GetActiveWindow(), text.c_str(), style.Caption.c_str(), style.Flags | MB_TASKMODAL);
}

int ShowMessageBox(const std::wstring& text, TMsgDlgType dlgType, TMsgDlgButtons buttons, int helpCtx)
{
    return ShowMessageBox(L"", text, dlgType, -1, -1, helpCtx, buttons);
}
