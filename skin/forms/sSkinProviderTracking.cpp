// Moving and sizing by an outline (rmBorder), snapping to the work area, and the maximized size of a
// form whose frame the skin paints.
#include "skin/forms/sSkinProvider.h"

#include "skin/core/sMessages.h"

#include <algorithm>
#include <cstdlib>
#include <iterator>

namespace {

// The one outline being dragged (the mouse has one button to drag with). Its sides are in the
// coordinates the form is placed in: its parent's client for a child window, else the screen's.
struct TTrackingRecord {
    int Top = 0, Left = 0, Bottom = 0, Right = 0;
    int LastX = 0, LastY = 0;
    int MinHeight = 0, MinWidth = 0;
    bool Tracking = false;
    bool Moving = false;
    bool Start = false;
    HWND Desktop = nullptr;
    HDC DC = nullptr; // borrowed from the desktop while tracking
    int SavedDC = 0;
    int Edge = 0; // the remembered edge hit code; 0 = none
    // A press on the frame is starting the drag: the commands it sends leave the start to it.
    bool Pressing = false;
    TsSkinProvider* Owner = nullptr;
    // The outline as last drawn on the screen (R2_NOT: drawing it again erases it).
    POINT Drawn[5]{};
    bool Shown = false;
};
TTrackingRecord gTrack;

bool IsSizingCode(int code)
{
    return code >= HTLEFT && code <= HTBOTTOMRIGHT;
}

void ToggleOutline(const POINT (&pts)[5])
{
    if (gTrack.DC)
        Polyline(gTrack.DC, pts, 5);
}

} // namespace

bool TsSkinProvider::TrackingActive() const
{
    return gTrack.Tracking && gTrack.Owner == this;
}

void TsSkinProvider::RememberEdge(int code)
{
    if (gTrack.Edge == 0 && (code == HTCAPTION || IsSizingCode(code)))
        gTrack.Edge = code;
}

void TsSkinProvider::StartTrackingCommand(bool moving, int sizeEdge)
{
    SetCapture(form_->Handle());
    gTrack.Start = true;
    gTrack.Moving = moving;
    // The edge the mouse last passed over is no edge to size by: SC_SIZE carries its own as WMSZ_LEFT ..
    // WMSZ_BOTTOMRIGHT (the hit codes less 9), and without one the bottom-right corner follows the mouse.
    if (!moving) {
        gTrack.Edge = 0;
        if (sizeEdge >= WMSZ_LEFT && sizeEdge <= WMSZ_BOTTOMRIGHT)
            gTrack.Edge = sizeEdge + (HTLEFT - WMSZ_LEFT);
    }
    // The system menu's Move and Size drag from where the mouse is now, until the next click.
    if (!gTrack.Pressing) {
        POINT at;
        GetCursorPos(&at);
        StartTracking(at.x, at.y);
    }
}

void TsSkinProvider::DragOutlineFrom(TMessage& press, int code, int x, int y)
{
    // Only a release ends an outline, and a maximized form hears none: the system has the press.
    if (IsMaximized()) {
        DefaultHandling(press);
        return;
    }
    gTrack.Pressing = true;
    // The system's own answer to a press on the caption is a move command, which only captures the mouse.
    if (code == HTCAPTION)
        DefaultHandling(press);
    const WPARAM command =
        IsSizingCode(code) ? SC_SIZE + static_cast<WPARAM>(code - HTLEFT + WMSZ_LEFT) : static_cast<WPARAM>(SC_MOVE);
    SendMessageW(form_->Handle(), WM_SYSCOMMAND, command, 0);
    gTrack.Pressing = false;
    StartTracking(x, y);
}

TRect TsSkinProvider::PlacedRect() const
{
    HWND wnd = form_->Handle();
    RECT r;
    GetWindowRect(wnd, &r);
    if (GetWindowLongPtrW(wnd, GWL_STYLE) & WS_CHILD)
        MapWindowPoints(nullptr, GetParent(wnd), reinterpret_cast<POINT*>(&r), 2);
    return TRect{r.left, r.top, r.right, r.bottom};
}

TPoint TsSkinProvider::OutlineOffset()
{
    HWND wnd = form_->Handle();
    if (!(GetWindowLongPtrW(wnd, GWL_STYLE) & WS_CHILD))
        return TPoint{0, 0};
    // An MDI child's outline is placed into the main form by the main form's frame, caption, menu line
    // and border width.
    if (TsSkinProvider* main = IsMDIChild() ? LiveMainProvider() : nullptr) {
        RECT mr;
        GetWindowRect(main->form_->Handle(), &mr);
        const int menu = main->MenuLineVisible() ? main->MenuLineRows() * main->MenuHeight() : 0;
        const int border = main->FormBorderWidth();
        return TPoint{main->SysBorderWidth() + mr.left + border + 1,
                      2 * main->SysBorderHeight() + mr.top + main->CaptionHeight() + menu + border - 2};
    }
    POINT origin{0, 0};
    ClientToScreen(GetParent(wnd), &origin);
    return TPoint{origin.x, origin.y};
}

void TsSkinProvider::DrawTrackingOutline()
{
    if (!gTrack.DC)
        return;
    if (gTrack.Shown) {
        ToggleOutline(gTrack.Drawn);
        gTrack.Shown = false;
        return;
    }
    POINT pts[5];
    if (gTrack.Moving) {
        const int w = FormWidth(), h = FormHeight();
        pts[0] = {gTrack.Left, gTrack.Top};
        pts[1] = {gTrack.Left + w, gTrack.Top};
        pts[2] = {gTrack.Left + w, gTrack.Top + h};
        pts[3] = {gTrack.Left, gTrack.Top + h};
    } else {
        pts[0] = {gTrack.Left, gTrack.Top};
        pts[1] = {gTrack.Right, gTrack.Top};
        pts[2] = {gTrack.Right, gTrack.Bottom};
        pts[3] = {gTrack.Left, gTrack.Bottom};
    }
    pts[4] = pts[0];
    const TPoint offset = OutlineOffset();
    for (POINT& pt : pts) {
        pt.x += offset.X;
        pt.y += offset.Y;
    }
    std::copy(std::begin(pts), std::end(pts), std::begin(gTrack.Drawn));
    ToggleOutline(gTrack.Drawn);
    gTrack.Shown = true;
}

void TsSkinProvider::StartTracking(int x, int y)
{
    const TRect wr = PlacedRect();
    gTrack.Owner = this;
    gTrack.Tracking = true;
    gTrack.Shown = false;
    gTrack.Desktop = GetDesktopWindow();
    gTrack.DC = GetWindowDC(gTrack.Desktop);
    gTrack.SavedDC = gTrack.DC ? SaveDC(gTrack.DC) : 0;
    gTrack.Top = wr.Top;
    gTrack.Left = wr.Left;
    if (gTrack.DC)
        SetROP2(gTrack.DC, R2_NOT);
    if (gTrack.Moving) {
        gTrack.LastX = x;
        gTrack.LastY = y;
    } else {
        gTrack.MinHeight = form_->Constraints()->MinHeight();
        gTrack.MinWidth = form_->Constraints()->MinWidth();
        gTrack.Bottom = wr.Bottom;
        gTrack.Right = wr.Right;
    }
    DrawTrackingOutline();
}

void TsSkinProvider::TrackMouse()
{
    if (!TrackingActive())
        return;
    POINT m;
    GetCursorPos(&m);
    const TRect wr = PlacedRect();
    if (gTrack.Moving) {
        gTrack.Start = false;
        DrawTrackingOutline();
        gTrack.Left += m.x - gTrack.LastX;
        gTrack.Top += m.y - gTrack.LastY;
        gTrack.LastX = m.x;
        gTrack.LastY = m.y;
        DrawTrackingOutline();
        return;
    }
    if (gTrack.Start) {
        gTrack.Start = false;
        gTrack.LastX = m.x;
        gTrack.LastY = m.y;
    }
    DrawTrackingOutline();
    const int edge = gTrack.Edge;
    auto moveTop = [&] {
        gTrack.Top = m.y + wr.Top - gTrack.LastY;
        if (gTrack.Bottom - gTrack.Top < gTrack.MinHeight)
            gTrack.Top = gTrack.Bottom - gTrack.MinHeight;
    };
    auto moveLeft = [&] {
        gTrack.Left = m.x + wr.Left - gTrack.LastX;
        if (gTrack.Right - gTrack.Left < gTrack.MinWidth)
            gTrack.Left = gTrack.Right - gTrack.MinWidth;
    };
    auto moveBottom = [&] {
        gTrack.Bottom = m.y + wr.Bottom - gTrack.LastY;
        if (gTrack.Bottom < wr.Top + gTrack.MinHeight)
            gTrack.Bottom = wr.Top + gTrack.MinHeight;
    };
    auto moveRight = [&] {
        gTrack.Right = m.x + wr.Right - gTrack.LastX;
        if (gTrack.Right < wr.Left + gTrack.MinWidth)
            gTrack.Right = wr.Left + gTrack.MinWidth;
    };
    switch (edge) {
    case HTRIGHT: moveRight(); break;
    case HTTOP: moveTop(); break;
    case HTTOPLEFT: moveTop(); moveLeft(); break;
    case HTTOPRIGHT: moveTop(); moveRight(); break;
    case HTLEFT: moveLeft(); break;
    case HTBOTTOM: moveBottom(); break;
    case HTBOTTOMLEFT: moveBottom(); moveLeft(); break;
    default: moveBottom(); moveRight(); break;
    }
    DrawTrackingOutline();
}

void TsSkinProvider::ReleaseTrackingDC()
{
    if (gTrack.Shown)
        DrawTrackingOutline();
    if (gTrack.DC) {
        RestoreDC(gTrack.DC, gTrack.SavedDC);
        ReleaseDC(gTrack.Desktop, gTrack.DC);
        gTrack.DC = nullptr;
    }
}

void TsSkinProvider::CancelTracking()
{
    if (gTrack.Owner != this)
        return;
    // A drag cut short leaves no outline, desktop DC or captured mouse behind, and the form where it was.
    const bool tracking = gTrack.Tracking;
    gTrack.Tracking = false; // the release below tells the form its capture went: that ends nothing more
    if (tracking && form_ && form_->HandleAllocated() && GetCapture() == form_->Handle())
        ReleaseCapture();
    ReleaseTrackingDC();
    gTrack = TTrackingRecord{};
}

void TsSkinProvider::WMCaptureChanged(TMessage& message)
{
    // The form taking the capture again is still the drag's; any other window ends it.
    if (TrackingActive() && reinterpret_cast<HWND>(message.LParam) != form_->Handle())
        CancelTracking();
    DefaultHandling(message);
}

void TsSkinProvider::StopTracking()
{
    if (!TrackingActive())
        return;
    gTrack.Tracking = false; // the capture's release below is the drag's own end, not a loss
    ReleaseCapture();
    ReleaseTrackingDC();
    HWND wnd = form_->Handle();
    if (gTrack.Moving)
        MoveWindow(wnd, gTrack.Left, gTrack.Top, FormWidth(), FormHeight(), TRUE);
    else if (!gTrack.Start)
        MoveWindow(wnd, gTrack.Left, gTrack.Top, gTrack.Right - gTrack.Left, gTrack.Bottom - gTrack.Top, TRUE);
    gTrack.Start = false;
    gTrack.Edge = 0;
    gTrack.Owner = nullptr;
}

void TsSkinProvider::SnapToWorkArea(WINDOWPOS& pos) const
{
    RECT work;
    GetWorkArea(work);
    MONITORINFO mi{};
    mi.cbSize = sizeof(mi);
    GetMonitorInfoW(MonitorFromWindow(form_->Handle(), MONITOR_DEFAULTTONEAREST), &mi);
    const int width = (pos.flags & SWP_NOSIZE) ? FormWidth() : pos.cx;
    const int height = (pos.flags & SWP_NOSIZE) ? FormHeight() : pos.cy;
    auto snap = [this](int& p, int edge, int size) {
        if (std::abs(size + p - edge) < SnapBuffer)
            p = edge - size;
    };
    snap(pos.x, work.right, width);
    snap(pos.y, work.bottom, height);
    snap(pos.x, work.left, mi.rcMonitor.left);
    snap(pos.y, work.top, mi.rcMonitor.top);
}

void TsSkinProvider::WMWindowPosChanging(TMessage& message)
{
    if (settingRegion_)
        return; // the region is being set: the window stays where it is
    auto* pos = reinterpret_cast<WINDOWPOS*>(message.LParam);
    if (pos && !IsMaximized() && ScreenSnap && !(pos->flags & SWP_NOMOVE) && (pos->x != 0 || pos->y != 0))
        SnapToWorkArea(*pos);
    DefaultHandling(message);
}

void TsSkinProvider::WMGetMinMaxInfo(TMessage& message)
{
    auto* info = reinterpret_cast<MINMAXINFO*>(message.LParam);
    if (!info) {
        DefaultHandling(message);
        return;
    }
    info->ptMaxTrackSize = POINT{-1, -1};
    info->ptMaxPosition = POINT{-1, -1};
    DefaultHandling(message);
    RECT work;
    GetWorkArea(work);
    const bool bordered = form_->BorderStyle() != bsNone;
    const int frame = bordered ? SysBorderWidth() : 0;
    if (info->ptMaxTrackSize.x == -1)
        info->ptMaxTrackSize.x = (work.right - work.left) + 2 * frame;
    if (info->ptMaxTrackSize.y == -1)
        info->ptMaxTrackSize.y = (work.bottom - work.top) + 2 * frame;
    if (info->ptMaxPosition.x == -1)
        info->ptMaxPosition.x = -frame;
    if (info->ptMaxPosition.y == -1)
        info->ptMaxPosition.y = -frame;
}
