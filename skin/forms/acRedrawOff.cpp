#include "skin/forms/acRedrawOff.h"

namespace {

void KeepPending(HWND wnd, std::vector<std::pair<HWND, GdiObject<HRGN>>>& pending)
{
    if (!GetUpdateRect(wnd, nullptr, FALSE))
        return;
    GdiObject<HRGN> region(CreateRectRgn(0, 0, 0, 0));
    if (region && GetUpdateRgn(wnd, region.Get(), FALSE) > NULLREGION)
        pending.emplace_back(wnd, std::move(region));
}

BOOL CALLBACK KeepPendingOfChild(HWND child, LPARAM list)
{
    KeepPending(child, *reinterpret_cast<std::vector<std::pair<HWND, GdiObject<HRGN>>>*>(list));
    return TRUE;
}

} // namespace

TRedrawOff::TRedrawOff(HWND wnd) : wnd_(wnd)
{
    KeepPending(wnd_, pending_);
    EnumChildWindows(wnd_, KeepPendingOfChild, reinterpret_cast<LPARAM>(&pending_));
    SendMessageW(wnd_, WM_SETREDRAW, 0, 0);
}

TRedrawOff::~TRedrawOff()
{
    SendMessageW(wnd_, WM_SETREDRAW, 1, 0);
    for (const auto& [wnd, region] : pending_)
        if (IsWindow(wnd))
            RedrawWindow(wnd, nullptr, region.Get(), RDW_INVALIDATE | RDW_ERASE | RDW_NOCHILDREN);
}
