// The routines that press keys and activate windows for the windowed framework tests.
#include "tests/framework/forms_support.h"

void SetModifiers(bool ctrl, bool shift)
{
    BYTE state[256];
    GetKeyboardState(state);
    state[VK_CONTROL] = ctrl ? 0x80 : 0;
    state[VK_LCONTROL] = ctrl ? 0x80 : 0;
    state[VK_SHIFT] = shift ? 0x80 : 0;
    state[VK_LSHIFT] = shift ? 0x80 : 0;
    SetKeyboardState(state);
}

void PressKey(HWND target, WORD key, bool ctrl, bool shift)
{
    SetModifiers(ctrl, shift);
    UINT scan = MapVirtualKeyW(key, 0);
    LPARAM lParam = 1 | (static_cast<LPARAM>(scan) << 16);
    if (key == VK_DELETE || key == VK_INSERT)
        lParam |= 1 << 24; // extended key
    MSG msg{target, WM_KEYDOWN, key, lParam, static_cast<DWORD>(GetMessageTime()), {0, 0}};
    Application->ProcessMessage(msg);
    PumpApplication();
    SetModifiers(false, false);
}

bool ActivateWindow(HWND wnd)
{
    for (int i = 0; i < 200; ++i) {
        if (GetActiveWindow() != wnd) {
            SetForegroundWindow(wnd);
            SetActiveWindow(wnd);
        }
        PumpApplication();
        if (GetActiveWindow() == wnd)
            return true;
        Sleep(10);
    }
    return false;
}
