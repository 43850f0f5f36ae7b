// Skinned scroll bars: the window adapter that draws a window's scroll bars in its non-client area from
// the skin and turns clicks and drags on them into the window's WM_HSCROLL/WM_VSCROLL messages.
#pragma once

#include "skin/forms/acSBUtils.h"

#include <cstdint>
#include <memory>

// The parts of a bar; 0-3 are also the scroll codes sent for them.
enum : int {
    kPartNone = -1,
    kPartArrowStart = 0, // left or up arrow
    kPartArrowEnd = 1,   // right or down arrow
    kPartTrackBefore = 2,
    kPartTrackAfter = 3,
    kPartThumb = 5,
};

// The scroll bars' window timers: hover polling, the delay before an arrow repeats, the repetition.
inline constexpr UINT_PTR kHoverTimer = 0xFFF2;
inline constexpr UINT_PTR kFirstDelayTimer = 0xFFFD;
inline constexpr UINT_PTR kRepeatTimer = 0xFFFE;
inline constexpr UINT kHoverInterval = 20;
inline constexpr UINT kFirstDelayInterval = 300;
inline constexpr UINT kRepeatInterval = 55;

class TacScrollWnd;

// One bar of a TacScrollWnd.
class TacScrollBar : public TObject {
public:
    std::wstring ClassName() const override { return L"TacScrollBar"; }

    std::int16_t Flags = 0; // 8 when the window has the style of this bar
    std::uint8_t Shown = 0; // the bar takes space now
    SCROLLINFO Info{};
    std::int32_t ArrowSize = -1; // preset arrow length; negative: the computed one times its absolute value
    std::int32_t BarSize = -1;   // preset thickness, the same rule
    std::int32_t StartInset = 0;
    std::int32_t EndInset = 0;
    bool UseStartInset = false;
    bool UseEndInset = false;
    std::uint16_t Kind = 0; // 0 horizontal, 1 vertical
    std::int16_t Reserved = 0;
    std::int32_t MinThumb = 10;
    TacScrollWnd* Owner = nullptr; // not owned
};

class TacScrollWnd : public TacMainWnd {
public:
    using TacMainWnd::TacMainWnd;
    std::wstring ClassName() const override { return L"TacScrollWnd"; }

    void WndProc(TMessage& message) override;
    void Destroy() override;

    std::unique_ptr<TacScrollBar> HorzBar; // owned
    std::unique_ptr<TacScrollBar> VertBar; // owned
    bool ThumbTracking = false;
    bool LeftScrollBar = false;
    std::int32_t LeftEdge = 0;
    std::int32_t RightEdge = 0;
    std::int32_t TopEdge = 0;
    std::int32_t BottomEdge = 0;
    bool StyleLock = false;

    // The offset of this window in the cache its SkinCmdGetCache reply names (the MDI client's position
    // inside its form; 0, 0 for every other window).
    virtual TPoint BarCacheOffset() const { return TPoint{}; }
    // Whether a button-up after a press on a bar releases the mouse capture (a combo box's drop-down
    // list without its own capture keeps it).
    virtual bool ReleasesCaptureOnButtonUp() const { return true; }

protected:
    void AttachWindow() override;
    // The scroll bars' handling of one message; False passes it on to the base procedure.
    bool ScrollMessage(TMessage& message);
    // The skin commands as the scroll adapters answer them; True when not passed on.
    bool HandleScrollSkinCommand(TMessage& message);

private:
    void WMNCCalcSize(TMessage& message);
    void WMNCHitTest(TMessage& message);
    void WMNCMouseMove(TMessage& message);
    bool WMNCLButtonDown(TMessage& message);
    bool WMMouseMove(TMessage& message);
    void WMLButtonUp(TMessage& message);
    bool WMTimer(TMessage& message);
    void PassOn(TMessage& message);
};

// Set-up of the bars (run by Create of TacScrollWnd and its descendants): makes both bars, reads their
// scroll information, sets the property and hooks the window.
void InitScrollBars(TacScrollWnd* adapter, HWND wnd, bool repaint);
// Re-reads both bars' scroll information; with Repaint the bars are painted at once.
void UpdateScrollInfo(TacScrollWnd* adapter, bool repaint);
// Which 1: thickness; 0: arrow length (with UseSkin the skin's arrow length where the skin asks for it).
int GetScrollMetric(const TacScrollBar* bar, int which, bool useSkin);
// The bars' rectangles in screen coordinates.
void GetHScrollRect(TacScrollWnd* adapter, HWND wnd, TRect& r);
void GetVScrollRect(TacScrollWnd* adapter, HWND wnd, TRect& r);
// The bar of an adapted window (Kind 0 or 1), else nil.
TacScrollBar* ScrollBarOfWindow(HWND wnd, int kind);
// Which 0: horizontal, 1: vertical, 3: both. False when the window has no scroll adapter.
bool SetMinThumb(HWND wnd, int which, int value);
LRESULT PassNotify(TacScrollWnd* adapter, HWND wnd, WPARAM wParam, LPARAM& lParam);
LRESULT PassSetCursor(TacScrollWnd* adapter, HWND wnd, WPARAM wParam, LPARAM& lParam);
// UnhookWindow that also lets go of the bars.
void UnhookScrollWnd(HWND wnd, bool freeIt, bool frameMode, TacMainWnd*& adapter);
// The scroll message of a click or drag, between SkinCmdStopPainting and SkinCmdResumePainting.
void SendScrollMessage(HWND wnd, UINT msg, int code, int pos);
// Paints the shown bars (and the corner between them) into DC, or the window DC when DC is 0.
// HotPartOverride -1 draws no pressed part.
LRESULT NcPaintBars(TacScrollWnd* adapter, HWND wnd, HDC dc, int hotPartOverride);

// The last position a thumb drag sent (the drag's start position until it sends one).
int LastScrollPosSent();

// The thumb of a bar whose rectangle is R: its length and its start along the bar (screen coordinates
// when R is).
void ThumbMetrics(const TacScrollBar* bar, const TRect& r, int& size, int& position);
// The part of a bar (rectangle R) at a point; -1 outside the bar or on no part.
int PartAt(const TacScrollBar* bar, const TRect& r, int y, int x);
