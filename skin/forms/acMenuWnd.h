// The adapter of popup-menu windows ("#32768"): while a skinned popup is open it paints the window's
// background and frame from the skin's menu section, answers the menu painter's questions about the
// region, and frees itself with its window.
#pragma once

#include "skin/forms/acScrollBars.h"

#include <string>

// Long menus scroll: what the adapter does not answer goes to the scroll-bar adapter.
class TacMnuWnd : public TacScrollWnd {
public:
    TacMnuWnd(HWND wnd, bool repaint, const std::wstring& skinSection, TsSkinManager* skinManager,
              TsCommonData* commonData);
    ~TacMnuWnd() override;
    std::wstring ClassName() const override { return L"TacMnuWnd"; }
    void WndProc(TMessage& message) override;

    // 1 after SkinCmdMenuVisible while the window is visible; 0 after each background paint.
    int MenuFlag = 0;

private:
    // Position data, and the section painted into the cache when the background changed.
    void PrepareCache();
    void EraseBackground(TMessage& message);
    void PaintFrame();
    void AnswerSkinCommand(TMessage& message);
    void WindowGoes(TMessage& message);
};

// Adapts a popup-menu window with section "MAINMENU"; the adapter belongs to the window and goes with
// it. Nil for a window that is already adapted.
TacMnuWnd* AdaptMenuWindow(HWND wnd, TsSkinManager* skinManager);
