#include "skin/forms/acScrollBars.h"

#include "framework/Forms.h"
#include "skin/core/sCommonData.h"
#include "skin/core/sMessages.h"
#include "skin/core/sPixels.h"
#include "skin/core/sSkinManager.h"
#include "skin/forms/acScrollBarsPaint.h"

#include <algorithm>

namespace {

// What the mouse does with the bars now: one press or drag and one hover at a time on the GUI thread
// (capture guarantees it for presses).
struct TTrackState {
    HWND TrackWnd = nullptr;
    int TrackKind = -1;
    int PressedPart = kPartNone;
    int HotPart = kPartNone;
    UINT ScrollMsg = 0;
    UINT_PTR RepeatTimer = 0;
    int HoverKind = -1;
    int HoverPart = kPartNone;
    int LastHoverPart = kPartNone;
    UINT_PTR HoverTimer = 0;
    TRect HoverRect;
    // The drag of a thumb.
    int ThumbSize = 0;
    int ThumbPos = 0;
    TRect BarRect;
    int GrabOffset = 0;
    int StartPos = 0;
    int LastPosSent = 0;
};

TTrackState gTrack;
// True while a button-up gives the capture back itself (its WM_CAPTURECHANGED ends nothing).
bool gReleasingCapture = false;

// Ends whatever the mouse was doing with the bars of Wnd (its window goes, or its adapter).
void ForgetWindow(HWND wnd)
{
    if (!wnd || gTrack.TrackWnd != wnd)
        return;
    if (IsWindow(wnd)) {
        KillTimer(wnd, kHoverTimer);
        KillTimer(wnd, kFirstDelayTimer);
        KillTimer(wnd, kRepeatTimer);
        if (gTrack.PressedPart != kPartNone && GetCapture() == wnd)
            ReleaseCapture();
    }
    gTrack = TTrackState{};
}

void ResetPress()
{
    gTrack.PressedPart = kPartNone;
    gTrack.HotPart = kPartNone;
    gTrack.RepeatTimer = 0;
    gTrack.ScrollMsg = 0;
    gTrack.TrackKind = -1;
}

// Raises Detached while a scroll message of ours runs: the window's answer then neither repaints the
// frame nor re-reads the scroll information under the running press.
class TDetachedScope {
public:
    explicit TDetachedScope(TacScrollWnd* adapter) : adapter_(adapter), old_(adapter->Detached)
    {
        adapter_->Detached = true;
    }
    ~TDetachedScope() { adapter_->Detached = old_; }
    TDetachedScope(const TDetachedScope&) = delete;
    TDetachedScope& operator=(const TDetachedScope&) = delete;

private:
    TacScrollWnd* adapter_;
    bool old_;
};

TacScrollBar* BarOfKind(TacScrollWnd* adapter, int kind)
{
    return kind == 0 ? adapter->HorzBar.get() : adapter->VertBar.get();
}

void ReadInfo(HWND wnd, TacScrollBar* bar)
{
    bar->Info = SCROLLINFO{};
    bar->Info.cbSize = sizeof(SCROLLINFO);
    bar->Info.fMask = SIF_ALL;
    if (!GetScrollInfo(wnd, bar->Kind == 0 ? SB_HORZ : SB_VERT, &bar->Info)) {
        bar->Info = SCROLLINFO{};
        bar->Info.cbSize = sizeof(SCROLLINFO);
        bar->Info.fMask = SIF_ALL;
    }
}

TRect BarRect(TacScrollWnd* adapter, HWND wnd, int kind)
{
    TRect r;
    if (kind == 0)
        GetHScrollRect(adapter, wnd, r);
    else
        GetVScrollRect(adapter, wnd, r);
    return r;
}

TPoint CursorPos()
{
    POINT p{};
    GetCursorPos(&p);
    return TPoint{p.x, p.y};
}

int Along(const TacScrollBar* bar, const TPoint& p) { return bar->Kind == 0 ? p.X : p.Y; }

// A window that scrolls itself lets the system draw its own bar (SetScrollInfo redraws at once): ours
// go back on top, with the new scroll information, after each scroll message we send.
void RepaintAfterScroll(TacScrollWnd* adapter)
{
    if (adapter->Released || !adapter->HorzBar || !adapter->VertBar || !IsWindow(adapter->AdaptedWnd))
        return;
    UpdateScrollInfo(adapter, false);
    NcPaintBars(adapter, adapter->AdaptedWnd, nullptr, gTrack.HotPart);
}

} // namespace

int LastScrollPosSent() { return gTrack.LastPosSent; }

bool ScrollBarPressed() { return gTrack.PressedPart != kPartNone; }

// ---- Metrics and geometry ----

int GetScrollMetric(const TacScrollBar* bar, int which, bool useSkin)
{
    const int preset = which == 1 ? bar->BarSize : bar->ArrowSize;
    if (preset >= 0)
        return preset;
    int computed;
    if (which == 1) {
        computed = GetSystemMetrics(bar->Kind == 0 ? SM_CYHSCROLL : SM_CXVSCROLL);
    } else {
        computed = HScrollArrowWidth;
        if (useSkin && bar->Owner)
            computed = SkinArrowLength(bar->Owner->Manager(), bar->Kind, computed);
    }
    return computed * -preset;
}

void GetHScrollRect(TacScrollWnd* adapter, HWND wnd, TRect& r)
{
    RECT wr{};
    GetWindowRect(wnd, &wr);
    const int vThick = GetScrollMetric(adapter->VertBar.get(), 1, false) * adapter->VertBar->Shown;
    const int hThick = GetScrollMetric(adapter->HorzBar.get(), 1, false) * adapter->HorzBar->Shown;
    r.Left = wr.left + adapter->LeftEdge;
    r.Right = wr.right - adapter->RightEdge;
    if (adapter->LeftScrollBar)
        r.Left += vThick;
    else
        r.Right -= vThick;
    r.Bottom = wr.bottom - adapter->BottomEdge;
    r.Top = r.Bottom - hThick;
}

void GetVScrollRect(TacScrollWnd* adapter, HWND wnd, TRect& r)
{
    RECT wr{};
    GetWindowRect(wnd, &wr);
    const int vThick = GetScrollMetric(adapter->VertBar.get(), 1, false) * adapter->VertBar->Shown;
    const int hThick = GetScrollMetric(adapter->HorzBar.get(), 1, false) * adapter->HorzBar->Shown;
    r.Top = wr.top + adapter->TopEdge;
    r.Bottom = wr.bottom - adapter->BottomEdge - hThick;
    if (adapter->LeftScrollBar) {
        r.Left = wr.left + adapter->LeftEdge;
        r.Right = r.Left + vThick;
    } else {
        r.Right = wr.right - adapter->RightEdge;
        r.Left = r.Right - vThick;
    }
}

void ThumbMetrics(const TacScrollBar* bar, const TRect& r, int& size, int& position)
{
    const int a = GetScrollMetric(bar, 0, false);
    const int length = (bar->Kind == 0 ? r.Width() : r.Height()) - 2 * a;
    const int range = bar->Info.nMax - bar->Info.nMin + 1;
    if (bar->Info.nPage == 0)
        size = a;
    else if (range > 0)
        size = std::max(MulDiv(static_cast<int>(bar->Info.nPage), length, range), bar->MinThumb);
    else
        size = 0;
    int offset = 0;
    if (range > 0) {
        offset = MulDiv(bar->Info.nPos - bar->Info.nMin, length - size,
                        range - std::max(static_cast<int>(bar->Info.nPage), 1));
        offset = std::clamp(offset, 0, std::max(length - size, 0));
    }
    position = a + (bar->Kind == 0 ? r.Left : r.Top) + offset;
}

int PartAt(const TacScrollBar* bar, const TRect& r, int y, int x)
{
    const bool horz = bar->Kind == 0;
    if (horz ? (y < r.Top || y >= r.Bottom) : (x < r.Left || x >= r.Right))
        return kPartNone;
    const int start = horz ? r.Left : r.Top;
    const int end = horz ? r.Right : r.Bottom;
    const int at = horz ? x : y;
    int a = GetScrollMetric(bar, 0, false);
    if (2 * a > end - start)
        a = (end - start) / 2;
    if (at >= start && at < start + a)
        return kPartArrowStart;
    if (at >= end - a && at < end)
        return kPartArrowEnd;
    int size = 0, position = 0;
    ThumbMetrics(bar, r, size, position);
    const int length = end - start - 2 * GetScrollMetric(bar, 0, false);
    if (size >= length)
        return kPartNone;
    if (at >= position && at < position + size)
        return kPartThumb;
    if (at >= start + a && at < position)
        return kPartTrackBefore;
    if (at >= position + size && at < end - a)
        return kPartTrackAfter;
    return kPartNone;
}

// ---- Set-up and the adapters' helpers ----

void InitScrollBars(TacScrollWnd* adapter, HWND wnd, bool repaint)
{
    adapter->Detached = false;
    adapter->AdaptedWnd = wnd;
    adapter->HorzBar = std::make_unique<TacScrollBar>();
    adapter->VertBar = std::make_unique<TacScrollBar>();
    const LONG_PTR style = GetWindowLongPtrW(wnd, GWL_STYLE);
    int kind = 0;
    for (TacScrollBar* bar : {adapter->HorzBar.get(), adapter->VertBar.get()}) {
        bar->Owner = adapter;
        bar->Kind = static_cast<std::uint16_t>(kind);
        bar->Reserved = 0;
        bar->ArrowSize = -1;
        bar->BarSize = -1;
        ReadInfo(wnd, bar);
        ++kind;
    }
    adapter->LeftScrollBar = (GetWindowLongPtrW(wnd, GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR) != 0;
    adapter->HorzBar->Flags = (style & WS_HSCROLL) ? 8 : 0;
    adapter->VertBar->Flags = (style & WS_VSCROLL) ? 8 : 0;
    adapter->StyleLock = false;
    HookWindow(adapter, wnd);
    adapter->HorzBar->MinThumb = 10;
    adapter->VertBar->MinThumb = 10;
    if (repaint)
        RefreshFrame(wnd, true);
}

void UpdateScrollInfo(TacScrollWnd* adapter, bool repaint)
{
    if (!adapter || !adapter->HorzBar || !adapter->VertBar || !adapter->AdaptedWnd)
        return;
    ReadInfo(adapter->AdaptedWnd, adapter->HorzBar.get());
    ReadInfo(adapter->AdaptedWnd, adapter->VertBar.get());
    if (repaint)
        NcPaintBars(adapter, adapter->AdaptedWnd, nullptr, kPartNone);
}

TacScrollBar* ScrollBarOfWindow(HWND wnd, int kind)
{
    auto* adapter = dynamic_cast<TacScrollWnd*>(AdapterOfWindow(wnd));
    if (!adapter || (kind != 0 && kind != 1))
        return nullptr;
    return BarOfKind(adapter, kind);
}

bool SetMinThumb(HWND wnd, int which, int value)
{
    auto* adapter = dynamic_cast<TacScrollWnd*>(AdapterOfWindow(wnd));
    if (!adapter || !adapter->HorzBar || !adapter->VertBar)
        return false;
    if (which == 0 || which == 3)
        adapter->HorzBar->MinThumb = value;
    if (which == 1 || which == 3)
        adapter->VertBar->MinThumb = value;
    return true;
}

LRESULT PassNotify(TacScrollWnd* adapter, HWND wnd, WPARAM wParam, LPARAM& lParam)
{
    return adapter->CallPrevWndProc(wnd, WM_NOTIFY, wParam, lParam);
}

LRESULT PassSetCursor(TacScrollWnd* adapter, HWND wnd, WPARAM wParam, LPARAM& lParam)
{
    return adapter->CallPrevWndProc(wnd, WM_SETCURSOR, wParam, lParam);
}

void UnhookScrollWnd(HWND wnd, bool freeIt, bool frameMode, TacMainWnd*& adapter)
{
    if (!adapter)
        return;
    if (auto* scroll = dynamic_cast<TacScrollWnd*>(adapter); scroll && !scroll->Detached) {
        // The bars go before the frame is refreshed, so the refresh paints the system's bars.
        if (scroll->HorzBar)
            scroll->HorzBar->Owner = nullptr;
        if (scroll->VertBar)
            scroll->VertBar->Owner = nullptr;
        scroll->HorzBar.reset();
        scroll->VertBar.reset();
    }
    UnhookWindow(wnd, freeIt, frameMode, adapter);
}

void SendScrollMessage(HWND wnd, UINT msg, int code, int pos)
{
    SendSkinCmd(wnd, SkinCmdStopPainting, 0);
    if (pos > 0xFFFF)
        SetScrollPos(wnd, msg == WM_HSCROLL ? SB_HORZ : SB_VERT, pos, FALSE);
    SendMessageW(wnd, msg, MAKEWPARAM(static_cast<WORD>(code), static_cast<WORD>(pos)), 0);
    SendSkinCmd(wnd, SkinCmdResumePainting, MAKELPARAM(static_cast<WORD>(code), static_cast<WORD>(msg)));
}

// ---- Painting ----

LRESULT NcPaintBars(TacScrollWnd* adapter, HWND wnd, HDC dc, int hotPartOverride)
{
    if (!adapter || !adapter->HorzBar || !adapter->VertBar || !adapter->SkinData)
        return 0;
    if (TControl* owner = adapter->SkinData->OwnerControl())
        if (owner->ControlState.Contains(csCreating) || !owner->Showing())
            return 0;
    if (adapter->SkinData->BGChanged)
        SendSkinCmd(wnd, SkinCmdPaintToDC, 0);
    TWindowDC windowDC(wnd, dc);
    dc = windowDC.Get();
    if (!dc)
        return 0;
    RECT wr{};
    GetWindowRect(wnd, &wr);
    for (int kind = 0; kind < 2; ++kind) {
        TacScrollBar* bar = BarOfKind(adapter, kind);
        if (!bar->Shown)
            continue;
        TRect r = BarRect(adapter, wnd, kind);
        r = TRect{r.Left - wr.left, r.Top - wr.top, r.Right - wr.left, r.Bottom - wr.top};
        const int hot = (gTrack.TrackKind == kind && gTrack.TrackWnd == wnd) ? hotPartOverride : kPartNone;
        DrawScrollBar(adapter, bar, dc, r, hot, gTrack.TrackWnd == wnd, gTrack.HoverKind == kind ? gTrack.HoverPart
                                                                                                  : kPartNone);
    }
    if (adapter->HorzBar->Shown && adapter->VertBar->Shown)
        DrawScrollCorner(adapter, wnd, dc);
    return 0;
}

// ---- The window procedure ----

void TacScrollWnd::AttachWindow() { InitScrollBars(this, AdaptedWnd, CreateRepaint); }

void TacScrollWnd::Destroy()
{
    if (HorzBar)
        HorzBar->Owner = nullptr;
    if (VertBar)
        VertBar->Owner = nullptr;
    ForgetWindow(AdaptedWnd);
    ThumbTracking = false;
    HorzBar.reset();
    VertBar.reset();
    TacMainWnd::Destroy();
}

void TacScrollWnd::PassOn(TMessage& message)
{
    message.Result = CallPrevWndProc(AdaptedWnd, message.Msg, message.WParam, message.LParam);
}

void TacScrollWnd::WMNCCalcSize(TMessage& message)
{
    RECT proposed{};
    if (message.LParam)
        proposed = *reinterpret_cast<RECT*>(message.LParam);
    const LONG_PTR style = GetWindowLongPtrW(AdaptedWnd, GWL_STYLE);
    if (style & (WS_VSCROLL | WS_HSCROLL)) {
        // The default calculation must not take room for the system's bars: ours take it below.
        StyleLock = true;
        SetWindowLongPtrW(AdaptedWnd, GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_VSCROLL | WS_HSCROLL));
        PassOn(message);
        SetWindowLongPtrW(AdaptedWnd, GWL_STYLE, style);
        StyleLock = false;
    } else {
        PassOn(message);
    }
    if (!message.LParam)
        return;
    RECT& client = *reinterpret_cast<RECT*>(message.LParam);
    LeftEdge = client.left - proposed.left;
    TopEdge = client.top - proposed.top;
    RightEdge = proposed.right - client.right;
    BottomEdge = proposed.bottom - client.bottom;
    HorzBar->Flags = (style & WS_HSCROLL) ? 8 : 0;
    const int hThick = GetScrollMetric(HorzBar.get(), 1, false);
    if (HorzBar->Flags && client.bottom - client.top >= hThick) {
        client.bottom -= hThick;
        HorzBar->Shown = 1;
    } else {
        HorzBar->Shown = 0;
    }
    VertBar->Flags = (style & WS_VSCROLL) ? 8 : 0;
    const int vThick = GetScrollMetric(VertBar.get(), 1, false);
    if (VertBar->Flags && client.right - client.left >= vThick) {
        if (LeftScrollBar)
            client.left += vThick;
        else
            client.right -= vThick;
        VertBar->Shown = 1;
    } else {
        VertBar->Shown = 0;
    }
}

void TacScrollWnd::WMNCHitTest(TMessage& message)
{
    const TPoint p{static_cast<int>(LOWORD(message.LParam)), static_cast<int>(HIWORD(message.LParam))};
    const TPoint screen{static_cast<short>(p.X), static_cast<short>(p.Y)};
    for (const TPoint& at : {screen, p}) {
        if (HorzBar->Shown && BarRect(this, AdaptedWnd, 0).Contains(at)) {
            message.Result = ScrollBarEnabled(this, HorzBar.get()) ? HTHSCROLL : HTNOWHERE;
            return;
        }
        if (VertBar->Shown && BarRect(this, AdaptedWnd, 1).Contains(at)) {
            message.Result = ScrollBarEnabled(this, VertBar.get()) ? HTVSCROLL : HTNOWHERE;
            return;
        }
        if (HorzBar->Shown && VertBar->Shown && GripShown(this, AdaptedWnd)) {
            const TRect h = BarRect(this, AdaptedWnd, 0);
            const TRect v = BarRect(this, AdaptedWnd, 1);
            const TRect corner = LeftScrollBar ? TRect{v.Left, h.Top, h.Left, h.Bottom}
                                               : TRect{h.Right, h.Top, v.Right, h.Bottom};
            if (corner.Contains(at)) {
                message.Result = HTBOTTOMRIGHT;
                return;
            }
        }
        if (screen == p)
            break;
    }
    PassOn(message);
}

void TacScrollWnd::WMNCMouseMove(TMessage& message)
{
    gTrack.TrackWnd = AdaptedWnd;
    const int kind = message.WParam == HTHSCROLL ? 0 : message.WParam == HTVSCROLL ? 1 : -1;
    if (kind >= 0 && gTrack.HoverKind != kind) {
        gTrack.LastHoverPart = kPartNone;
        gTrack.HoverPart = kPartNone;
        gTrack.HoverRect = BarRect(this, AdaptedWnd, kind);
        gTrack.HoverKind = kind;
        gTrack.HoverTimer = SetTimer(AdaptedWnd, kHoverTimer, kHoverInterval, nullptr) ? kHoverTimer : 0;
    }
    PassOn(message);
    // Painted after passing on: the system may draw its own hover look of the bar meanwhile.
    if (kind >= 0)
        NcPaintBars(this, AdaptedWnd, nullptr, gTrack.HotPart);
}

bool TacScrollWnd::WMNCLButtonDown(TMessage& message)
{
    if (message.WParam != HTHSCROLL && message.WParam != HTVSCROLL)
        return false;
    gTrack.TrackWnd = AdaptedWnd;
    const int kind = message.WParam == HTHSCROLL ? 0 : 1;
    gTrack.ScrollMsg = kind == 0 ? WM_HSCROLL : WM_VSCROLL;
    gTrack.TrackKind = kind;
    TacScrollBar* bar = BarOfKind(this, kind);
    ReadInfo(AdaptedWnd, bar);
    const TRect r = BarRect(this, AdaptedWnd, kind);
    const TPoint at{static_cast<short>(LOWORD(message.LParam)), static_cast<short>(HIWORD(message.LParam))};
    gTrack.PressedPart = PartAt(bar, r, at.Y, at.X);
    const bool enabled = ScrollBarEnabled(this, bar);
    switch (gTrack.PressedPart) {
    case kPartNone:
        PassOn(message);
        return true;
    case kPartThumb:
        if (enabled) {
            ThumbMetrics(bar, r, gTrack.ThumbSize, gTrack.ThumbPos);
            gTrack.BarRect = r;
            ThumbTracking = true;
            bar->Info.nTrackPos = bar->Info.nPos;
            gTrack.GrabOffset = Along(bar, at) - gTrack.ThumbPos;
            gTrack.StartPos = bar->Info.nPos;
            gTrack.LastPosSent = bar->Info.nPos;
            gTrack.HotPart = kPartThumb;
            DrawDraggedBar(this, bar, gTrack.BarRect, gTrack.ThumbPos, gTrack.ThumbSize);
        }
        break;
    default:
        if (enabled) {
            gTrack.HotPart = gTrack.PressedPart;
            NcPaintBars(this, AdaptedWnd, nullptr, gTrack.HotPart);
            {
                TDetachedScope scope(this);
                SendScrollMessage(AdaptedWnd, gTrack.ScrollMsg, gTrack.PressedPart, 0);
            }
            gTrack.HotPart = gTrack.PressedPart;
            RepaintAfterScroll(this);
            gTrack.RepeatTimer = SetTimer(AdaptedWnd, kFirstDelayTimer, kFirstDelayInterval, nullptr) ? kFirstDelayTimer
                                                                                                      : 0;
        }
        break;
    }
    message.Result = 0;
    SetCapture(AdaptedWnd);
    return true;
}

// The drag of a thumb to the cursor position Along (screen coordinates along the bar).
static void DragThumbTo(TacScrollWnd* adapter, TacScrollBar* bar, int along)
{
    const int a = GetScrollMetric(bar, 0, false);
    const int trackStart = (bar->Kind == 0 ? gTrack.BarRect.Left : gTrack.BarRect.Top) + a;
    const int trackEnd = (bar->Kind == 0 ? gTrack.BarRect.Right : gTrack.BarRect.Bottom) - a;
    int thumbStart = along - gTrack.GrabOffset;
    thumbStart = std::max(std::min(thumbStart, trackEnd - gTrack.ThumbSize), trackStart);
    gTrack.ThumbPos = thumbStart;
    DrawDraggedBar(adapter, bar, gTrack.BarRect, thumbStart, gTrack.ThumbSize);
    const int range = bar->Info.nMax - bar->Info.nMin;
    const int trackLength = trackEnd - trackStart;
    int position;
    if (range < 1)
        position = thumbStart - trackStart;
    else
        position = MulDiv(thumbStart - trackStart, range - static_cast<int>(bar->Info.nPage) + 1,
                          std::max(trackLength - gTrack.ThumbSize, 1));
    position += bar->Info.nMin;
    if (position != gTrack.LastPosSent) {
        bar->Info.nTrackPos = position;
        {
            TDetachedScope scope(adapter);
            SendScrollMessage(adapter->AdaptedWnd, gTrack.ScrollMsg, SB_THUMBTRACK, position);
        }
        gTrack.LastPosSent = position;
        // The window's answer may have let the system draw its own bar over the dragged one.
        DrawDraggedBar(adapter, bar, gTrack.BarRect, thumbStart, gTrack.ThumbSize);
    }
}

bool TacScrollWnd::WMMouseMove(TMessage& message)
{
    if (gTrack.TrackKind < 0 || gTrack.TrackWnd != AdaptedWnd)
        return false;
    TacScrollBar* bar = BarOfKind(this, gTrack.TrackKind);
    POINT p{static_cast<short>(LOWORD(message.LParam)), static_cast<short>(HIWORD(message.LParam))};
    ClientToScreen(AdaptedWnd, &p);
    if (ThumbTracking) {
        DragThumbTo(this, bar, bar->Kind == 0 ? p.x : p.y);
        message.Result = 0;
        return true;
    }
    if (gTrack.PressedPart == kPartNone)
        return false;
    const int under = PartAt(bar, BarRect(this, AdaptedWnd, gTrack.TrackKind), p.y, p.x);
    const int hot = under == gTrack.PressedPart ? gTrack.PressedPart : kPartNone;
    if (hot != gTrack.HotPart) {
        gTrack.HotPart = hot;
        NcPaintBars(this, AdaptedWnd, nullptr, gTrack.HotPart);
    }
    message.Result = 0;
    return true;
}

void TacScrollWnd::WMLButtonUp(TMessage& message)
{
    if (gTrack.PressedPart != kPartNone && gTrack.TrackWnd == AdaptedWnd) {
        if (ReleasesCaptureOnButtonUp()) {
            gReleasingCapture = true;
            ReleaseCapture();
            gReleasingCapture = false;
        }
        if (gTrack.PressedPart >= kPartArrowStart && gTrack.PressedPart <= kPartTrackAfter && gTrack.RepeatTimer)
            KillTimer(AdaptedWnd, gTrack.RepeatTimer);
        const UINT msg = gTrack.ScrollMsg;
        if (ThumbTracking) {
            ThumbTracking = false;
            TDetachedScope scope(this);
            SendScrollMessage(AdaptedWnd, msg, SB_THUMBPOSITION, gTrack.LastPosSent);
        }
        {
            TDetachedScope scope(this);
            SendScrollMessage(AdaptedWnd, msg, SB_ENDSCROLL, 0);
        }
        ResetPress();
        if (HorzBar && VertBar) {
            UpdateScrollInfo(this, false);
            NcPaintBars(this, AdaptedWnd, nullptr, kPartNone);
        }
    }
    PassOn(message);
}

bool TacScrollWnd::WMTimer(TMessage& message)
{
    switch (message.WParam) {
    case kHoverTimer: {
        if (ThumbTracking)
            return true;
        const TPoint p = CursorPos();
        if (gTrack.HoverKind >= 0 && gTrack.HoverRect.Contains(p)) {
            TacScrollBar* bar = BarOfKind(this, gTrack.HoverKind);
            gTrack.HoverPart = PartAt(bar, gTrack.HoverRect, p.Y, p.X);
            if (gTrack.HoverPart != gTrack.LastHoverPart)
                NcPaintBars(this, AdaptedWnd, nullptr, gTrack.HotPart);
            gTrack.LastHoverPart = gTrack.HoverPart;
        } else {
            KillTimer(AdaptedWnd, kHoverTimer);
            gTrack.HoverTimer = 0;
            gTrack.HoverKind = -1;
            gTrack.LastHoverPart = kPartNone;
            gTrack.HoverPart = kPartNone;
            NcPaintBars(this, AdaptedWnd, nullptr, gTrack.HotPart);
        }
        return true;
    }
    case kFirstDelayTimer:
        KillTimer(AdaptedWnd, kFirstDelayTimer);
        gTrack.RepeatTimer = SetTimer(AdaptedWnd, kRepeatTimer, kRepeatInterval, nullptr) ? kRepeatTimer : 0;
        return true;
    case kRepeatTimer: {
        if (gTrack.PressedPart == kPartNone || gTrack.TrackWnd != AdaptedWnd) {
            KillTimer(AdaptedWnd, kRepeatTimer);
            return true;
        }
        POINT p{};
        GetCursorPos(&p);
        ScreenToClient(AdaptedWnd, &p);
        TMessage move{WM_MOUSEMOVE, 0, MAKELPARAM(std::max<LONG>(p.x, 0), std::max<LONG>(p.y, 0)), 0};
        WMMouseMove(move);
        if (gTrack.HotPart != kPartNone) {
            {
                TDetachedScope scope(this);
                SendScrollMessage(AdaptedWnd, gTrack.ScrollMsg, gTrack.HotPart, 0);
            }
            RepaintAfterScroll(this);
        }
        return true;
    }
    default:
        return false;
    }
}

bool TacScrollWnd::ScrollMessage(TMessage& message)
{
    switch (message.Msg) {
    case WM_NCCALCSIZE:
        WMNCCalcSize(message);
        return true;
    case WM_STYLECHANGED:
        if (StyleLock) {
            message.Result = 0;
            return true;
        }
        if (static_cast<int>(message.WParam) == GWL_EXSTYLE && message.LParam)
            LeftScrollBar = (reinterpret_cast<STYLESTRUCT*>(message.LParam)->styleNew & WS_EX_LEFTSCROLLBAR) != 0;
        return false;
    case WM_STYLECHANGING:
        if (StyleLock) {
            message.Result = 0;
            return true;
        }
        return false;
    case WM_NCPAINT:
        if (IsWindowVisible(AdaptedWnd)) {
            SkinData->SetUpdating(SkinData->Updating());
            PassOn(message);
            if (!SkinData->Updating() && !Detached) {
                UpdateScrollInfo(this, false);
                NcPaintBars(this, AdaptedWnd, nullptr, gTrack.HotPart);
            }
        } else {
            PassOn(message);
        }
        return true;
    case WM_NCHITTEST:
        WMNCHitTest(message);
        return true;
    case WM_NCMOUSEMOVE:
        WMNCMouseMove(message);
        return true;
    case WM_NCMOUSELEAVE:
        // The system may redraw its own bar when the mouse leaves the frame.
        PassOn(message);
        if (!Detached && IsWindowVisible(AdaptedWnd))
            NcPaintBars(this, AdaptedWnd, nullptr, gTrack.HotPart);
        return true;
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
        return WMNCLButtonDown(message);
    case WM_NCRBUTTONDOWN:
    case WM_NCRBUTTONUP:
    case WM_NCMBUTTONDOWN:
    case WM_NCMBUTTONUP:
        if (message.WParam == HTHSCROLL || message.WParam == HTVSCROLL) {
            message.Result = 0;
            return true;
        }
        return false;
    case WM_MOUSEMOVE:
        return WMMouseMove(message);
    case WM_LBUTTONUP:
        WMLButtonUp(message);
        return true;
    case WM_TIMER:
        return WMTimer(message);
    case WM_SYSCOMMAND:
        if (LOWORD(message.WParam) == 0xF077) {
            message.Result = 0;
            return true;
        }
        return false;
    case WM_CAPTURECHANGED:
        // Another window took the mouse during a press: the press ends without its button-up.
        if (!gReleasingCapture && gTrack.TrackWnd == AdaptedWnd && gTrack.PressedPart != kPartNone &&
            reinterpret_cast<HWND>(message.LParam) != AdaptedWnd) {
            if (gTrack.RepeatTimer)
                KillTimer(AdaptedWnd, gTrack.RepeatTimer);
            ThumbTracking = false;
            ResetPress();
            NcPaintBars(this, AdaptedWnd, nullptr, kPartNone);
        }
        return false;
    default:
        return false;
    }
}

void TacScrollWnd::WndProc(TMessage& message)
{
    if (!SkinData || !SkinData->Skinned() || !HorzBar || !VertBar) {
        if (message.Msg == WM_DESTROY || message.Msg == WM_NCDESTROY) {
            TacMainWnd* self = this;
            if (Hooked()) {
                UnhookScrollWnd(AdaptedWnd, false, false, self);
                PassOn(message);
            }
            return;
        }
        PassOn(message);
        return;
    }
    switch (message.Msg) {
    case WM_DESTROY:
    case WM_NCDESTROY:
        if (Hooked()) {
            ForgetWindow(AdaptedWnd);
            ThumbTracking = false;
            TacMainWnd* self = this;
            UnhookScrollWnd(AdaptedWnd, false, false, self);
            PassOn(message);
        }
        return;
    case WM_UPDATEUISTATE:
        message.Result = 0;
        return;
    case WM_NOTIFY:
        message.Result = PassNotify(this, AdaptedWnd, message.WParam, message.LParam);
        return;
    case SM_SKINCMD:
        break;
    default:
        if (ScrollMessage(message))
            return;
        break;
    }
    if (message.Msg == SM_SKINCMD) {
        if (HandleScrollSkinCommand(message))
            return;
        PassOn(message);
        return;
    }
    // Everything else goes through the base procedure (hover of the manager, printing, text).
    TacMainWnd::WndProc(message);
    switch (message.Msg) {
    case WM_MOUSEWHEEL:
    case CM_MOUSEWHEEL:
        if (!Detached)
            UpdateScrollInfo(this, true);
        break;
    case CM_FOCUSCHANGED:
        UpdateScrollInfo(this, true);
        break;
    default:
        break;
    }
}

bool TacScrollWnd::HandleScrollSkinCommand(TMessage& message)
{
    TsSkinManager* own = Manager();
    const bool mine = message.LParam == reinterpret_cast<LPARAM>(own);
    if (AnswerCommonSkinCmd(message, true))
        return true;
    switch (SkinCmdOf(message.WParam)) {
    case SkinCmdSkinChanged:
        if (mine)
            SkinData->UpdateIndexes();
        return false;
    case SkinCmdSkinRemoved:
        if (mine)
            RestoreWindowParams();
        return false;
    case SkinCmdRefresh:
        if (mine) {
            SkinData->UpdateIndexes();
            SkinData->BGChanged = true;
        }
        return false;
    case SkinCmdGetCache:
        CacheReply = TCacheInfo{SkinData->CacheBmp(), 0, 0, true};
        return false;
    case SkinCmdEndParentUpdate:
        if (SkinData->Updating()) {
            SkinData->SetUpdating(false);
            RedrawWindow(AdaptedWnd, nullptr, nullptr,
                         RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        }
        return false;
    default:
        return TacMainWnd::HandleSkinCommand(message);
    }
}
