#include "skin/forms/acScrollBarsPaint.h"

#include "skin/core/sCommonData.h"
#include "skin/core/sItemPainter.h"
#include "skin/core/sMaskPainter.h"
#include "skin/core/sMessages.h"
#include "skin/core/sPixels.h"
#include "skin/core/sSkinManager.h"
#include "skin/core/sTextColors.h"
#include "skin/core/sVclUtils.h"

#include <algorithm>
#include <memory>

namespace {

std::unique_ptr<TBitmap> MakeBmp24(int width, int height)
{
    return CreateBmp24(std::max(width, 0), std::max(height, 0));
}

// The indexes of one element of a bar: its section, border, textures and glyph.
struct TBarElement {
    int Section = -1;
    int Border = -1;
    int Texture = -1;
    int HotTexture = -1;
    int Glyph = -1;
};

TBarElement ArrowElement(const TacCachedIndexes& c, int kind, bool atEnd)
{
    const int i = kind == 0 ? (atEnd ? 3 : 2) : (atEnd ? 1 : 0);
    return {c.ScrollBtn[i], c.ScrollBtnBorder[i], c.ScrollBtnPattern[i], c.ScrollBtnHotPattern[i],
            c.ScrollBtnGlyph[i]};
}

TBarElement TrackElement(const TacCachedIndexes& c, int kind, bool second)
{
    const int i = (second ? 2 : 0) + kind;
    return {c.ScrollBar[i], c.ScrollBarBorder[i], c.ScrollBarPattern[i], c.ScrollBarHotPattern[i], -1};
}

TBarElement ThumbElement(const TacCachedIndexes& c, int kind)
{
    if (kind == 0)
        return {c.ScrollSliderH, c.SliderHBorder, c.SliderHPattern, c.SliderHHotPattern, c.SliderHGlyph};
    return {c.ScrollSliderV, c.SliderVBorder, c.SliderVPattern, c.SliderVHotPattern, c.SliderVGlyph};
}

// Offset is the bitmap's own position in the window; the element's is that plus R's.
void PaintElement(TsSkinManager* sm, const TBarElement& e, TBitmap* bmp, TPoint offset, const TRect& r, int state,
                  TCacheInfo ci)
{
    PaintAdapterElement(sm, e.Section, e.Border, bmp, TPoint{offset.X + r.Left, offset.Y + r.Top}, r, state, ci,
                        e.Texture, e.HotTexture);
}

TPoint GlyphFrame(const TsMaskData& md)
{
    if (md.ImageCount <= 0)
        return {0, 0};
    return {RectWidth(md.R) / md.ImageCount, RectHeight(md.R) / MaskRows(md)};
}

// One arrow or thumb: its section painted in a bitmap of its own over the bar bitmap, the glyph centred
// in Square (a part of R), then copied into the bar bitmap at R.
void PaintButton(TsSkinManager* sm, const TBarElement& e, TBitmap* barBmp, const TRect& r, const TRect& square,
                 int state)
{
    if (r.IsEmpty())
        return;
    auto bmp = MakeBmp24(r.Width(), r.Height());
    BitBlt(bmp->Canvas()->Handle(), 0, 0, r.Width(), r.Height(), barBmp->Canvas()->Handle(), r.Left, r.Top, SRCCOPY);
    PaintElement(sm, e, bmp.get(), r.TopLeft(), TRect{0, 0, r.Width(), r.Height()}, state,
                 TCacheInfo{barBmp, 0, 0, true});
    if (IsValidMaskIndex(sm, e.Glyph)) {
        const TsMaskData& md = sm->Masks[static_cast<std::size_t>(e.Glyph)];
        const TPoint frame = GlyphFrame(md);
        const TPoint p{square.Left - r.Left + (square.Width() - frame.X) / 2,
                       square.Top - r.Top + (square.Height() - frame.Y) / 2};
        DrawSkinGlyph(bmp.get(), p, state, md, 1);
    }
    BitBlt(barBmp->Canvas()->Handle(), r.Left, r.Top, r.Width(), r.Height(), bmp->Canvas()->Handle(), 0, 0, SRCCOPY);
}

// The window's own cache as the bars' background, at the offset of the window in it.
TCacheInfo WindowCache(TacScrollWnd* adapter, HWND wnd)
{
    CacheReply = TCacheInfo{};
    SendSkinCmd(wnd, SkinCmdGetCache, 0);
    TCacheInfo ci = CacheReply;
    CacheReply = TCacheInfo{};
    if (!ci.Ready || !ci.Bmp)
        return TCacheInfo{nullptr, 0, 0, false};
    const TPoint offset = adapter->BarCacheOffset();
    ci.X = offset.X;
    ci.Y = offset.Y;
    return ci;
}

struct TBarLayout {
    int Length = 0;    // along the bar
    int Arrow = 0;     // skin arrow length
    int SysArrow = 0;  // arrow length without skin
    bool Horz = true;
    TRect Part(int from, int to, int thickness) const
    {
        return Horz ? TRect{from, 0, to, thickness} : TRect{0, from, thickness, to};
    }
};

// Composes the bar in its own bitmap: Thumb* are along the bar in bitmap coordinates; ThumbState -1 draws
// no thumb.
void ComposeBar(TacScrollWnd* adapter, TacScrollBar* bar, TBitmap* bmp, const TRect& r, const TCacheInfo& ci,
                int trackBeforeState, int trackAfterState, int arrow0, int arrow1, int thumbPos, int thumbSize,
                int thumbState)
{
    TsSkinManager* sm = adapter->Manager();
    const TacCachedIndexes& c = sm->ConstData;
    TBarLayout l;
    l.Horz = bar->Kind == 0;
    l.Length = l.Horz ? r.Width() : r.Height();
    l.Arrow = GetScrollMetric(bar, 0, true);
    l.SysArrow = GetScrollMetric(bar, 0, false);
    const int thick = l.Horz ? r.Height() : r.Width();
    if (ci.Ready)
        BitBlt(bmp->Canvas()->Handle(), 0, 0, r.Width(), r.Height(), ci.Bmp->Canvas()->Handle(), ci.X + r.Left,
               ci.Y + r.Top, SRCCOPY);
    TCacheInfo at = ci;
    if (2 * l.Arrow < l.Length) {
        const int split = std::clamp(thumbPos + thumbSize / 2, 0, l.Length);
        PaintElement(sm, TrackElement(c, bar->Kind, false), bmp, r.TopLeft(), l.Part(0, split, thick),
                     trackBeforeState, at);
        PaintElement(sm, TrackElement(c, bar->Kind, true), bmp, r.TopLeft(), l.Part(split, l.Length, thick),
                     trackAfterState, at);
        const int sys = std::min(l.SysArrow, l.Arrow);
        PaintButton(sm, ArrowElement(c, bar->Kind, false), bmp, l.Part(0, l.Arrow, thick), l.Part(0, sys, thick),
                    arrow0);
        PaintButton(sm, ArrowElement(c, bar->Kind, true), bmp, l.Part(l.Length - l.Arrow, l.Length, thick),
                    l.Part(l.Length - sys, l.Length, thick), arrow1);
        if (thumbState >= 0 && thumbSize > 0) {
            const TRect t = l.Part(thumbPos, thumbPos + thumbSize, thick);
            PaintButton(sm, ThumbElement(c, bar->Kind), bmp, t, t, thumbState);
        }
    } else {
        const int half = l.Length / 2;
        PaintElement(sm, TrackElement(c, bar->Kind, false), bmp, r.TopLeft(), l.Part(0, half, thick), 0, at);
        PaintElement(sm, TrackElement(c, bar->Kind, true), bmp, r.TopLeft(), l.Part(half, l.Length, thick), 0, at);
        PaintButton(sm, ArrowElement(c, bar->Kind, false), bmp, l.Part(0, half, thick), l.Part(0, half, thick),
                    arrow0);
        PaintButton(sm, ArrowElement(c, bar->Kind, true), bmp, l.Part(half, l.Length, thick),
                    l.Part(half, l.Length, thick), arrow1);
    }
}

void BlendDisabled(TacScrollWnd* adapter, TacScrollBar* bar, TBitmap* bmp, const TRect& r, const TCacheInfo& ci)
{
    if (ci.Ready) {
        BlendTransBitmap(bmp, 0, 0, sNoKeyColor, 0.4,
                         TRect{ci.X + r.Left, ci.Y + r.Top, ci.X + r.Right - 1, ci.Y + r.Bottom - 1}, ci.Bmp);
        return;
    }
    TsSkinManager* sm = adapter->Manager();
    const int section = sm->ConstData.ScrollBar[bar->Kind];
    if (IsValidSectionIndex(sm, section))
        PaintShadowRect(bmp, TRect{0, 0, r.Width(), r.Height()}, 60, 0, 0,
                        SkinColorToRGB(sm->Sections[static_cast<std::size_t>(section)].Color));
}

bool BarPaintable(TacScrollWnd* adapter, const TacScrollBar* bar, int length)
{
    TsSkinManager* sm = adapter->Manager();
    return bar->Shown && sm && IsValidSectionIndex(sm, sm->ConstData.ScrollBar[bar->Kind]) && length > 1;
}

} // namespace

int SkinArrowLength(TsSkinManager* sm, int kind, int systemLength)
{
    if (!sm)
        return systemLength;
    const int left = sm->ConstData.ScrollBtn[2];
    if (!IsValidSectionIndex(sm, left) || !sm->Sections[static_cast<std::size_t>(left)].ReservedBoolean)
        return systemLength;
    if (kind == 0) {
        const int border = sm->ConstData.ScrollBtnBorder[2];
        if (!IsValidMaskIndex(sm, border))
            return systemLength;
        const TsMaskData& md = sm->Masks[static_cast<std::size_t>(border)];
        return std::max(systemLength, md.ImageCount > 0 ? RectWidth(md.R) / md.ImageCount : 0);
    }
    const int border = sm->ConstData.ScrollBtnBorder[0];
    if (!IsValidMaskIndex(sm, border))
        return systemLength;
    const TsMaskData& md = sm->Masks[static_cast<std::size_t>(border)];
    return std::max(systemLength, RectHeight(md.R) / MaskRows(md));
}

bool ScrollBarEnabled(TacScrollWnd* adapter, const TacScrollBar* bar)
{
    SCROLLBARINFO info{};
    info.cbSize = sizeof(info);
    if (!GetScrollBarInfo(adapter->AdaptedWnd, bar->Kind == 0 ? OBJID_HSCROLL : OBJID_VSCROLL, &info))
        return false;
    return (info.rgstate[0] & STATE_SYSTEM_UNAVAILABLE) == 0;
}

static bool DrawnEnabled(TacScrollWnd* adapter, const TacScrollBar* bar)
{
    if (TControl* owner = adapter->SkinData ? adapter->SkinData->OwnerControl() : nullptr)
        if (!owner->Enabled())
            return false;
    return ScrollBarEnabled(adapter, bar);
}

void DrawScrollBar(TacScrollWnd* adapter, TacScrollBar* bar, HDC dc, const TRect& r, int hotPart, bool tracked,
                   int hoverPart)
{
    const int length = bar->Kind == 0 ? r.Width() : r.Height();
    if (adapter->ThumbTracking || !BarPaintable(adapter, bar, length))
        return;
    HWND wnd = adapter->AdaptedWnd;
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_ALL;
    if (GetScrollInfo(wnd, bar->Kind == 0 ? SB_HORZ : SB_VERT, &info))
        bar->Info = info;
    const bool enabled = DrawnEnabled(adapter, bar);
    const TCacheInfo ci = WindowCache(adapter, wnd);
    auto bmp = MakeBmp24(r.Width(), r.Height());

    auto arrowState = [&](int part) {
        if (!tracked)
            return 0;
        if (hotPart == part)
            return 2;
        return (hoverPart == part && enabled) ? 1 : 0;
    };
    int thumbSize = 0, thumbPos = 0;
    ThumbMetrics(bar, TRect{0, 0, r.Width(), r.Height()}, thumbSize, thumbPos);
    const int a = GetScrollMetric(bar, 0, true);
    const int room = length - 2 * a;
    const int range = bar->Info.nMax - bar->Info.nMin;
    const int drawnSize = std::max(range != 0 ? MulDiv(static_cast<int>(bar->Info.nPage), room, range) : -1,
                                   bar->MinThumb);
    const bool thumbShown = enabled && drawnSize > 0 && drawnSize <= room;
    const int thumbState = !thumbShown ? -1 : (tracked && hoverPart == kPartThumb) ? 1 : 0;
    ComposeBar(adapter, bar, bmp.get(), r, ci, hotPart == kPartTrackBefore ? 2 : 0,
               hotPart == kPartTrackAfter ? 2 : 0, arrowState(kPartArrowStart), arrowState(kPartArrowEnd), thumbPos,
               thumbSize, thumbState);
    if (!enabled)
        BlendDisabled(adapter, bar, bmp.get(), r, ci);
    BitBlt(dc, r.Left, r.Top, r.Width(), r.Height(), bmp->Canvas()->Handle(), 0, 0, SRCCOPY);
}

void DrawDraggedBar(TacScrollWnd* adapter, TacScrollBar* bar, const TRect& barRect, int thumbPos, int thumbSize)
{
    HWND wnd = adapter->AdaptedWnd;
    const int length = bar->Kind == 0 ? barRect.Width() : barRect.Height();
    if (!BarPaintable(adapter, bar, length))
        return;
    RECT wr{};
    GetWindowRect(wnd, &wr);
    const TRect r{barRect.Left - wr.left, barRect.Top - wr.top, barRect.Right - wr.left, barRect.Bottom - wr.top};
    const TCacheInfo ci = WindowCache(adapter, wnd);
    auto bmp = MakeBmp24(r.Width(), r.Height());
    const int along = thumbPos - (bar->Kind == 0 ? barRect.Left : barRect.Top);
    ComposeBar(adapter, bar, bmp.get(), r, ci, 2, 2, 2, 2, along, thumbSize, 2);
    TWindowDC windowDC(wnd);
    HDC dc = windowDC.Get();
    if (!dc)
        return;
    BitBlt(dc, r.Left, r.Top, r.Width(), r.Height(), bmp->Canvas()->Handle(), 0, 0, SRCCOPY);
}

bool GripShown(TacScrollWnd* adapter, HWND wnd)
{
    HWND parent = GetParent(wnd);
    if (!parent)
        return true;
    if (GetParent(parent))
        return false;
    TRect h, v;
    GetHScrollRect(adapter, wnd, h);
    GetVScrollRect(adapter, wnd, v);
    RECT client{};
    GetClientRect(parent, &client);
    POINT corner{adapter->LeftScrollBar ? v.Left - adapter->LeftEdge : v.Right + adapter->RightEdge,
                 h.Bottom + adapter->BottomEdge};
    ScreenToClient(parent, &corner);
    if (corner.y != client.bottom)
        return false;
    return adapter->LeftScrollBar ? corner.x == client.left : corner.x == client.right;
}

void DrawScrollCorner(TacScrollWnd* adapter, HWND wnd, HDC dc)
{
    TsSkinManager* sm = adapter->Manager();
    if (!sm)
        return;
    TRect h, v;
    GetHScrollRect(adapter, wnd, h);
    GetVScrollRect(adapter, wnd, v);
    RECT wr{};
    GetWindowRect(wnd, &wr);
    const TRect corner{v.Left - wr.left, h.Top - wr.top, v.Right - wr.left, h.Bottom - wr.top};
    if (corner.IsEmpty())
        return;
    auto bmp = MakeBmp24(corner.Width(), corner.Height());
    const TCacheInfo ci = WindowCache(adapter, wnd);
    if (ci.Ready) {
        BitBlt(bmp->Canvas()->Handle(), 0, 0, corner.Width(), corner.Height(), ci.Bmp->Canvas()->Handle(),
               ci.X + corner.Left, ci.Y + corner.Top, SRCCOPY);
    } else {
        RECT all{0, 0, corner.Width(), corner.Height()};
        GdiObject<HBRUSH> brush(CreateSolidBrush(static_cast<COLORREF>(SkinColorToRGB(GetGlobalHotColor(sm)))));
        FillRect(bmp->Canvas()->Handle(), &all, brush.Get());
    }
    if (GripShown(adapter, wnd)) {
        const int grip = FindMaskIndex(sm, sm->ConstData.GlobalInfo, L"GLOBALINFO", L"GRIPIMAGE");
        if (IsValidMaskIndex(sm, grip)) {
            const TsMaskData& md = sm->Masks[static_cast<std::size_t>(grip)];
            const TPoint frame = GlyphFrame(md);
            DrawSkinGlyph(bmp.get(), TPoint{corner.Width() - frame.X, corner.Height() - frame.Y}, 0, md, 1);
        }
    }
    BitBlt(dc, corner.Left, corner.Top, corner.Width(), corner.Height(), bmp->Canvas()->Handle(), 0, 0, SRCCOPY);
}
