// The library's message box by dialog type, and the screen position the dialog hook moves it to.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>

enum TMsgDlgType : std::uint8_t { mtWarning = 0, mtError, mtInformation, mtConfirmation, mtCustom };

// A set of buttons: bit n stands for the button n of this list.
enum TMsgDlgBtn : std::uint16_t { mbYes = 0, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbNoToAll,
                                  mbYesToAll, mbHelp };
using TMsgDlgButtons = std::uint16_t;
constexpr TMsgDlgButtons Buttons(std::initializer_list<TMsgDlgBtn> list)
{
    TMsgDlgButtons set = 0;
    for (TMsgDlgBtn b : list)
        set = static_cast<TMsgDlgButtons>(set | (1u << b));
    return set;
}

// The requested position of the open message box; -1 while no box is open or no position was asked.
extern std::int32_t gMessageBoxX;
extern std::int32_t gMessageBoxY;

// The flags and caption the box is shown with (kept apart so they can be checked without a window).
struct TMessageBoxStyle {
    unsigned Flags = 0;
    std::wstring Caption;
};
TMessageBoxStyle MessageBoxStyle(const std::wstring& caption, TMsgDlgType dlgType, TMsgDlgButtons buttons);

// The full form; HelpCtx is accepted and not used. Returns the system box's result (IDOK, ...).
int ShowMessageBox(const std::wstring& caption, const std::wstring& text, TMsgDlgType dlgType, int x, int y,
                   int helpCtx, TMsgDlgButtons buttons);
int ShowMessageBox(const std::wstring& text, TMsgDlgType dlgType, TMsgDlgButtons buttons, int helpCtx);
