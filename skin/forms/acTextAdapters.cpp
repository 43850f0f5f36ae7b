#include "skin/forms/acTextAdapters.h"

#include "framework/WinApi.h"
#include "skin/core/sCommonData.h"
#include "skin/core/sControlPaint.h"
#include "skin/core/sItemPainter.h"
#include "skin/core/sMessages.h"
#include "skin/core/sSkinManager.h"
#include "skin/core/sTextColors.h"
#include "skin/forms/acRedrawOff.h"

#include <algorithm>

namespace {

// The system's message font, as the dialogs' own texts use it.
GdiObject<HFONT> MessageFont()
{
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0))
        return GdiObject<HFONT>();
    return GdiObject<HFONT>(CreateFontIndirectW(&metrics.lfMessageFont));
}

// The control's text picture of this exact size is the message box's icon and text block, which the
// system draws itself; the skin frames it.
bool IsSystemPictureStatic(const TSize& size)
{
    return size.cx == 152 && size.cy == 49;
}

} // namespace

// ---- TacStaticWnd ----

void TacStaticWnd::PaintContent()
{
    TCanvas* canvas = SkinData->CacheBmp()->Canvas();
    canvas->Brush()->SetStyle(bsClear);
    const GdiObject<HFONT> font = MessageFont();
    if (font)
        canvas->Font()->SetHandle(font.Get());
    WriteTextData(canvas, Caption.c_str(), IsWindowEnabled(AdaptedWnd) != 0, false, SkinData, 80,
                  TRect{0, 0, WndSize.cx + 4, WndSize.cy});
}

void TacStaticWnd::Paint(TMessage& message)
{
    TAdapterPaint paint(AdaptedWnd, message);
    GetWndPosInfo(this);
    {
        TScreenDC clientDC(AdaptedWnd, paint.Given());
        HDC dc = clientDC.Get();
        TSavedDC saved(dc);
        if (IsSystemPictureStatic(WndSize)) {
            LPARAM none = 0;
            CallPrevWndProc(AdaptedWnd, WM_PAINT, reinterpret_cast<WPARAM>(dc), none);
            ExcludeClipRect(dc, 30, 6, 120, 41);
        }
        SkinData->BGChanged = true;
        SendMessageW(AdaptedWnd, SM_SKINCMD, SkinCmdWParam(SkinCmdPaintToDC), 0);
        if (TBitmap* cache = SkinData->CacheBmp(); cache && !cache->Empty()) {
            PaintContent();
            BitBlt(dc, 0, 0, cache->Width(), cache->Height(), cache->Canvas()->Handle(), 0, 0, SRCCOPY);
        }
    }
    message.Result = 0;
}

void TacStaticWnd::Repaint()
{
    SkinData->BGChanged = true;
    InvalidateRect(AdaptedWnd, nullptr, FALSE);
    SendMessageW(AdaptedWnd, WM_PAINT, 0, 0);
}

void TacStaticWnd::RepaintAround(TMessage& message)
{
    TRedrawOff redrawOff(AdaptedWnd);
    TacMainWnd::WndProc(message);
}

void TacStaticWnd::WndProc(TMessage& message)
{
    if (!SkinActive()) {
        TacMainWnd::WndProc(message);
        return;
    }
    switch (message.Msg) {
    case WM_PAINT:
        if (IsWindowVisible(AdaptedWnd)) {
            Paint(message);
            return;
        }
        break;
    case WM_ERASEBKGND:
    case WM_NCPAINT:
        message.Result = 1;
        return;
    case WM_ENABLE:
    case WM_CANCELMODE:
    case WM_SETTEXT:
        // The base procedure re-reads the caption after WM_SETTEXT.
        RepaintAround(message);
        Repaint();
        return;
    case WM_UPDATEUISTATE:
        if (IsWindowVisible(AdaptedWnd)) {
            RepaintAround(message);
            return;
        }
        break;
    default:
        break;
    }
    TacMainWnd::WndProc(message);
}

// ---- TacIconWnd ----

void TacIconWnd::PaintContent()
{
    if (HICON icon = reinterpret_cast<HICON>(SendMessageW(AdaptedWnd, STM_GETICON, 0, 0)))
        DrawIcon(SkinData->CacheBmp()->Canvas()->Handle(), 0, 0, icon);
}

// ---- TacLinkWnd ----

void TacLinkWnd::WndProc(TMessage& message)
{
    if (message.Msg == WM_PAINT && SkinActive() && IsWindowVisible(AdaptedWnd)) {
        TacMainWnd::WndProc(message);
        return;
    }
    TacStaticWnd::WndProc(message);
}

// ---- TacGroupBoxWnd ----

TRect TacGroupBoxWnd::CaptionBand()
{
    SkinData->InitCacheBmp();
    TCanvas* canvas = SkinData->CacheBmp()->Canvas();
    if (HFONT font = reinterpret_cast<HFONT>(SendMessageW(AdaptedWnd, WM_GETFONT, 0, 0)))
        canvas->Font()->SetHandle(font);
    TRect text{0, 0, 0, 0};
    if (!Caption.empty())
        DrawTextStr(canvas->Handle(), Caption, text, DT_CALCRECT | DT_CENTER);
    return TRect{6, 0, std::min(text.Width() + 14, WndSize.cx - 1), std::max(4, text.Height()) + 2};
}

void TacGroupBoxWnd::PrepareCache()
{
    GetWndPosInfo(this);
    SkinData->InitCacheBmp();
    TBitmap* cache = SkinData->CacheBmp();
    TsSkinManager* sm = Manager();
    if (!cache || !sm || WndSize.cx <= 0 || WndSize.cy <= 0)
        return;
    cache->SetSize(WndSize.cx, WndSize.cy);
    const TRect band = CaptionBand();
    TCacheInfo ci;
    TsCommonData::GetParentCacheHwnd(AdaptedWnd, ci);
    HDC dc = cache->Canvas()->Handle();
    if (ci.Ready && ci.Bmp) {
        BitBlt(dc, 0, 0, WndSize.cx, WndSize.cy, ci.Bmp->Canvas()->Handle(), ci.X + ParentOffset.X,
               ci.Y + ParentOffset.Y, SRCCOPY);
    } else {
        ParentBgColor = sNoColor;
        if (ParentHandle)
            SendSkinCmd(ParentHandle, SkinCmdGetBgColor, 0);
        const TColor parent = ParentBgColor == sNoColor ? static_cast<TColor>(GetGlobalColor(sm)) : ParentBgColor;
        FillDC(dc, TRect{0, 0, WndSize.cx, WndSize.cy}, parent);
        ParentBgColor = sNoColor;
    }
    const int half = band.Height() / 2;
    TCacheInfo under{cache, 0, 0, true};
    PaintItem(SkinData, under, true, false, cache, TPoint{0, half}, TRect{0, half, WndSize.cx, WndSize.cy}, 0);
    if (!Caption.empty()) {
        const TRect text{band.Left, 0, band.Right, band.Bottom};
        if (ci.Ready && ci.Bmp)
            BitBlt(dc, text.Left, text.Top, text.Width(), text.Height(), ci.Bmp->Canvas()->Handle(),
                   ci.X + ParentOffset.X + text.Left, ci.Y + ParentOffset.Y + text.Top, SRCCOPY);
        else
            FillDC(dc, text, cache->Canvas()->Pixels(0, 0));
        TCanvas* canvas = cache->Canvas();
        canvas->Brush()->SetStyle(bsClear);
        WriteTextData(canvas, Caption.c_str(), IsWindowEnabled(AdaptedWnd) != 0, false, SkinData, 37, text);
    }
    SkinData->BGChanged = false;
}

void TacGroupBoxWnd::PaintTo(HDC dc)
{
    PrepareCache();
    CopyHwndCache(AdaptedWnd, SkinData, TRect{0, 0, WndSize.cx, WndSize.cy}, 0, 0, false, dc,
                  TRect{0, 0, WndSize.cx, WndSize.cy});
    // The box's windowless children (labels, images) have no window of their own to repaint in.
    if (auto* owner = dynamic_cast<TWinControl*>(SkinData->OwnerControl()))
        ::PaintControls(dc, owner, TPoint{0, 0});
    RefreshChildWindows(AdaptedWnd);
}

// In a system dialog the box's interior is the dialog's own background, which the dialog paints around
// its children: only the frame and the caption come from the box.
void TacGroupBoxWnd::PaintFrameOnly(HDC given)
{
    TWindowDC windowDC(AdaptedWnd, given);
    HDC dc = windowDC.Get();
    if (!dc)
        return;
    TSavedDC saved(dc);
    const TRect band = CaptionBand();
    int left = 2, right = 2, bottom = 2;
    if (TsSkinManager* sm = Manager(); sm && IsValidMaskIndex(sm, SkinData->BorderIndex)) {
        const TsMaskData& md = sm->Masks[static_cast<size_t>(SkinData->BorderIndex)];
        left = md.WL;
        right = md.WR;
        bottom = md.WB;
    }
    ExcludeClipRect(dc, left, band.Bottom, WndSize.cx - right, WndSize.cy - bottom);
    PaintTo(dc);
}

// The system's box draws its etched frame and caption not only on WM_PAINT but straight to the screen
// when its state, text, font or keyboard cues change: those changes happen with drawing off, and the
// skin's frame is drawn instead.
void TacGroupBoxWnd::ChangeSilently(TMessage& message)
{
    {
        TRedrawOff redrawOff(AdaptedWnd);
        TacMainWnd::WndProc(message);
    }
    SkinData->BGChanged = true;
    if (IsWindowVisible(AdaptedWnd))
        PaintFrameOnly(nullptr);
}

void TacGroupBoxWnd::WndProc(TMessage& message)
{
    if (!SkinActive()) {
        TacMainWnd::WndProc(message);
        return;
    }
    switch (message.Msg) {
    case WM_MOVE:
        SkinData->BGChanged = true;
        break;
    case WM_PAINT: {
        // A paint that brings its DC (a form painting itself into a bitmap) is painted there and leaves
        // the screen its owed repaint; a paint of the screen goes to the whole window.
        TAdapterPaint paint(AdaptedWnd, message);
        if (InDialog)
            PaintFrameOnly(paint.Given()); // the skin's frame on every paint, the first included; the system's never
        else
            PaintTo(TWindowDC(AdaptedWnd, paint.Given()).Get());
        message.Result = 0;
        return;
    }
    case WM_PRINT:
    case WM_PRINTCLIENT:
        if (InDialog) {
            PaintFrameOnly(reinterpret_cast<HDC>(message.WParam));
            message.Result = 0;
            return;
        }
        if (message.Msg == WM_PRINT) {
            PaintTo(reinterpret_cast<HDC>(message.WParam));
            return;
        }
        break;
    case WM_ERASEBKGND:
        message.Result = 1;
        return;
    case WM_NCPAINT:
        if (InDialog) {
            TacMainWnd::WndProc(message);
            PaintFrameOnly(nullptr);
            return;
        }
        break;
    case WM_ENABLE:
    case WM_SETTEXT:
    case WM_SETFONT:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_UPDATEUISTATE:
    case BM_SETSTATE:
    case BM_SETCHECK:
    case BM_SETSTYLE:
        if (InDialog) {
            ChangeSilently(message);
            return;
        }
        break;
    case SM_SKINCMD:
        if (SkinCmdOf(message.WParam) == SkinCmdGetTopBand) {
            message.Result = CaptionBand().Height();
            return;
        }
        break;
    default:
        break;
    }
    TacMainWnd::WndProc(message);
}
