// Turning a window's drawing off around a state change without losing the paints it still owes.
#pragma once

#include "framework/DCScopes.h"

#include <windows.h>

#include <utility>
#include <vector>

// WM_SETREDRAW(0) for the life of the scope, WM_SETREDRAW(1) at its end. Wine's WM_SETREDRAW(0) also
// validates the window and every descendant, so a control whose first paint was still pending would
// never paint (its area keeps what the screen had: black for a window just shown). The update regions
// pending at the start are given back at the end.
class TRedrawOff {
public:
    explicit TRedrawOff(HWND wnd);
    ~TRedrawOff();
    TRedrawOff(const TRedrawOff&) = delete;
    TRedrawOff& operator=(const TRedrawOff&) = delete;

private:
    HWND wnd_;
    std::vector<std::pair<HWND, GdiObject<HRGN>>> pending_;
};
