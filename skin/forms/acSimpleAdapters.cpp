#include "skin/forms/acSimpleAdapters.h"

#include "framework/Buttons.h"
#include "framework/WinApi.h"
#include "skin/core/sCommonData.h"
#include "skin/core/sItemPainter.h"
#include "skin/core/sMaskPainter.h"
#include "skin/core/sMessages.h"
#include "skin/core/sPixels.h"
#include "skin/core/sSkinManager.h"
#include "skin/core/sTextColors.h"
#include "skin/forms/acRedrawOff.h"

namespace {

// The window's cache, copied to the DC of the paint message (or the window's own DC).
void CopyCacheToWindow(HWND wnd, TBitmap* cache, HDC given)
{
    if (!cache)
        return;
    TScreenDC clientDC(wnd, given);
    HDC dc = clientDC.Get();
    BitBlt(dc, 0, 0, cache->Width(), cache->Height(), cache->Canvas()->Handle(), 0, 0, SRCCOPY);
}

} // namespace

// ---- TacCheckBoxWnd ----

bool TacCheckBoxWnd::IsCheckBoxStyle() const
{
    const LONG_PTR style = GetWindowLongPtrW(AdaptedWnd, GWL_STYLE);
    return (style & 3) == 3 || (style & 2) != 0 || (style & 5) == 5;
}

int TacCheckBoxWnd::CheckState() const
{
    const LRESULT state = SendMessageW(AdaptedWnd, BM_GETSTATE, 0, 0);
    if (state & BST_INDETERMINATE)
        return 2;
    return (state & BST_CHECKED) ? 1 : 0;
}

int TacCheckBoxWnd::GlyphState() const
{
    if (SendMessageW(AdaptedWnd, BM_GETSTATE, 0, 0) & BST_PUSHED)
        return 2;
    if (GetFocus() == AdaptedWnd)
        return 1;
    TsSkinManager* sm = Manager();
    return sm && sm->ActiveControl() == AdaptedWnd ? 1 : 0;
}

int TacCheckBoxWnd::GlyphMaskIndex() const
{
    static const wchar_t* const kBoxes[] = {L"BOXUNCHECKED", L"BOXCHECKED", L"BOXGRAYED"};
    static const wchar_t* const kRadios[] = {L"RADIOUNCHECKED", L"RADIOCHECKED", L"BOXGRAYED"};
    TsSkinManager* sm = Manager();
    if (!sm)
        return -1;
    const wchar_t* name = (IsCheckBoxStyle() ? kBoxes : kRadios)[CheckState()];
    return FindMaskIndex(sm, FindSectionIndex(sm, L"GLOBALINFO"), L"GLOBALINFO", name);
}

TSize TacCheckBoxWnd::GlyphSize() const
{
    TsSkinManager* sm = Manager();
    const int index = GlyphMaskIndex();
    if (!sm || !IsValidMaskIndex(sm, index))
        return TSize{16, 16};
    const TsMaskData& md = sm->Masks[static_cast<size_t>(index)];
    const int width = md.R.right - md.R.left, height = md.R.bottom - md.R.top;
    if (md.Bmp)
        return TSize{width / 3, height / 2};
    return TSize{width / MaskFrames(md), height / MaskRows(md)};
}

void TacCheckBoxWnd::PrepareCache()
{
    GetWndPosInfo(this);
    TCacheInfo ci;
    GetParentCacheOfWindow(AdaptedWnd, ci);
    SkinData->InitCacheBmp();
    TBitmap* cache = SkinData->CacheBmp();
    TsSkinManager* sm = Manager();
    if (!cache || !sm || WndSize.cx <= 0 || WndSize.cy <= 0)
        return;
    cache->SetSize(WndSize.cx, WndSize.cy);
    PaintItem(SkinData, ci, true, true, cache, ParentOffset, TRect{0, 0, WndSize.cx, WndSize.cy},
              SkinData->CtrlSkinState());
    SkinData->BGChanged = false;
    const int state = GlyphState();
    const TSize glyph = GlyphSize();
    const int mask = GlyphMaskIndex();
    if (IsValidMaskIndex(sm, mask))
        DrawSkinGlyph(cache, TPoint{0, (WndSize.cy - glyph.cy) / 2}, state, sm->Masks[static_cast<size_t>(mask)], 1);
    TCanvas* canvas = cache->Canvas();
    if (HFONT font = reinterpret_cast<HFONT>(SendMessageW(AdaptedWnd, WM_GETFONT, 0, 0)))
        canvas->Font()->SetHandle(font);
    canvas->Brush()->SetStyle(bsClear);
    const bool multiLine = (GetWindowLongPtrW(AdaptedWnd, GWL_STYLE) & BS_MULTILINE) != 0;
    const bool enabled = IsWindowEnabled(AdaptedWnd) != 0;
    const TRect text{glyph.cx + 2, 0, WndSize.cx - 4, WndSize.cy};
    WriteTextData(canvas, Caption.c_str(), enabled, state == 1, SkinData, multiLine ? 17 : 36, text);
    if (GetFocus() == AdaptedWnd && !Caption.empty())
        DrawDottedFrame(canvas, TRect{text.Left - 1, 1, text.Right, WndSize.cy - 2});
    if (!enabled && ci.Ready && ci.Bmp)
        BlendTransBitmap(cache, 0, 0, sNoKeyColor, 0.4,
                         TRect{ci.X + ParentOffset.X, ci.Y + ParentOffset.Y, ci.X + ParentOffset.X + WndSize.cx - 1,
                               ci.Y + ParentOffset.Y + WndSize.cy - 1},
                         ci.Bmp);
}

void TacCachePaintedWnd::Paint(TMessage& message)
{
    TAdapterPaint paint(AdaptedWnd, message);
    PrepareCache();
    CopyCacheToWindow(AdaptedWnd, SkinData->CacheBmp(), paint.Given());
    message.Result = 0;
}

void TacCachePaintedWnd::Repaint()
{
    SkinData->BGChanged = true;
    SendMessageW(AdaptedWnd, WM_PAINT, 0, 0);
}

void TacCachePaintedWnd::RepaintAround(TMessage& message)
{
    {
        TRedrawOff redrawOff(AdaptedWnd);
        TacMainWnd::WndProc(message);
    }
    Repaint();
}

void TacCheckBoxWnd::WndProc(TMessage& message)
{
    if (!SkinActive()) {
        TacMainWnd::WndProc(message);
        return;
    }
    switch (message.Msg) {
    case WM_ENABLE:
    case BM_SETCHECK:
    case BM_SETSTATE:
        if (IsWindowVisible(AdaptedWnd)) {
            RepaintAround(message);
            return;
        }
        break;
    case WM_PAINT:
        Paint(message);
        return;
    case WM_ERASEBKGND:
    case WM_NCPAINT:
        message.Result = 1;
        return;
    case SM_SKINCMD:
        if (SkinCmdOf(message.WParam) == SkinCmdControlEnter || SkinCmdOf(message.WParam) == SkinCmdControlExit) {
            Repaint();
            return;
        }
        break;
    default:
        break;
    }
    TacMainWnd::WndProc(message);
    switch (message.Msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        Repaint();
        break;
    case WM_KEYDOWN:
        if (message.WParam == VK_SPACE)
            Repaint();
        break;
    case WM_NCHITTEST:
        if (IsWindowEnabled(AdaptedWnd) && Manager() && Manager()->ActiveControl() != AdaptedWnd)
            Manager()->SetActiveControl(AdaptedWnd);
        break;
    default:
        break;
    }
}

// ---- TacBtnWnd ----

bool TacBtnWnd::MultiLine() const
{
    return (GetWindowLongPtrW(AdaptedWnd, GWL_STYLE) & BS_MULTILINE) != 0;
}

int TacBtnWnd::ButtonState() const
{
    if (SendMessageW(AdaptedWnd, BM_GETSTATE, 0, 0) & BST_PUSHED)
        return 2;
    if (!IsWindowEnabled(AdaptedWnd))
        return 0;
    TsSkinManager* sm = Manager();
    if (GetFocus() == AdaptedWnd || (sm && sm->ActiveControl() == AdaptedWnd))
        return 1;
    const LONG_PTR style = GetWindowLongPtrW(AdaptedWnd, GWL_STYLE);
    if (SkinData->OwnerControl())
        return (style & 0xF) == BS_DEFPUSHBUTTON ? 1 : 0;
    return (style & 1) ? 1 : 0;
}

int TacBtnWnd::MaxTextWidth()
{
    if (Caption.empty())
        return 0;
    const int glyph = GlyphSize().cx;
    return WndSize.cx - (glyph > 0 ? glyph + 2 : 0) - 2;
}

TRect TacBtnWnd::TextExtent()
{
    RECT r{0, 0, std::max(MaxTextWidth(), 0), 0};
    HDC dc = SkinData->CacheBmp()->Canvas()->Handle();
    SkinData->CacheBmp()->Canvas()->TextExtent(L"");
    DrawTextW(dc, Caption.c_str(), static_cast<int>(Caption.size()), &r, MultiLine() ? 1089 : 1105);
    return TRect::FromRECT(r);
}

TRect TacBtnWnd::CaptionRect()
{
    const TRect extent = TextExtent();
    const int left = (WndSize.cx - extent.Width()) / 2;
    const int top = (WndSize.cy - extent.Height()) / 2;
    TRect r{left, top, left + extent.Width(), top + extent.Height()};
    if (ButtonState() == 2) {
        r.Left += 1;
        r.Right += 1;
        r.Top += 1;
        r.Bottom += 1;
    }
    return r;
}

void TacBtnWnd::DrawCaptionText(const TRect& r, UINT flags)
{
    TCanvas* canvas = SkinData->CacheBmp()->Canvas();
    canvas->Brush()->SetStyle(bsClear);
    WriteTextData(canvas, Caption.c_str(), IsWindowEnabled(AdaptedWnd) != 0, ButtonState() != 0, SkinData, flags, r);
}

void TacBtnWnd::DrawButtonCaption()
{
    TCanvas* canvas = SkinData->CacheBmp()->Canvas();
    if (auto* control = dynamic_cast<TWinControl*>(SkinData->OwnerControl()))
        canvas->Font()->Assign(control->Font());
    else if (HFONT font = reinterpret_cast<HFONT>(SendMessageW(AdaptedWnd, WM_GETFONT, 0, 0)))
        canvas->Font()->SetHandle(font);
    const TRect r = CaptionRect();
    DrawCaptionText(r, MultiLine() ? 65 : 81);
    const TsGeneralData* section = SkinData->Section();
    const bool focused = (SendMessageW(AdaptedWnd, BM_GETSTATE, 0, 0) & BST_FOCUS) != 0;
    if (IsWindowEnabled(AdaptedWnd) && focused && !Caption.empty() && section && section->ShowFocus)
        DrawDottedFrame(canvas, TRect{r.Left - 1, r.Top - 1, r.Right + 1, r.Bottom + 1});
}

void TacBtnWnd::PrepareCache()
{
    GetWndPosInfo(this);
    TCacheInfo ci;
    GetParentCacheOfWindow(AdaptedWnd, ci);
    SkinData->InitCacheBmp();
    if (ci.Ready && !SkinData->IsTransparent() && ParentHandle)
        SendMessageW(ParentHandle, SM_SKINCMD, SkinCmdWParam(SkinCmdGetBgColor), 0);
    TBitmap* cache = SkinData->CacheBmp();
    if (!cache || WndSize.cx <= 0 || WndSize.cy <= 0)
        return;
    cache->SetSize(WndSize.cx, WndSize.cy);
    const int state = ButtonState();
    PaintItem(SkinData, ci, true, true, cache, ParentOffset, TRect{0, 0, WndSize.cx, WndSize.cy}, state);
    PaintTransparentCorners(SkinData, state, this);
    DrawButtonCaption();
    DrawGlyph();
    if (!IsWindowEnabled(AdaptedWnd) && ci.Ready && ci.Bmp)
        BlendTransBitmap(cache, 0, 0, sNoKeyColor, 0.4,
                         TRect{ci.X + ParentOffset.X, ci.Y + ParentOffset.Y, ci.X + ParentOffset.X + WndSize.cx - 1,
                               ci.Y + ParentOffset.Y + WndSize.cy - 1},
                         ci.Bmp);
    ParentBgColor = sNoColor;
    TransFillColor = sNoColor;
    SkinData->BGChanged = false;
}

void TacBtnWnd::HoverCheck()
{
    TsSkinManager* sm = Manager();
    if (!sm)
        return;
    POINT p;
    RECT r;
    GetCursorPos(&p);
    GetWindowRect(AdaptedWnd, &r);
    if (PtInRect(&r, p)) {
        if (sm->ActiveControl() != AdaptedWnd)
            sm->SetActiveControl(AdaptedWnd);
    } else if (sm->ActiveControl() == AdaptedWnd) {
        sm->SetActiveControl(nullptr);
    }
}

void TacBtnWnd::WndProc(TMessage& message)
{
    if (!SkinActive()) {
        TacMainWnd::WndProc(message);
        return;
    }
    const bool visible = IsWindowVisible(AdaptedWnd) != 0;
    switch (message.Msg) {
    case WM_MOVE:
        if (const TsGeneralData* section = SkinData->Section())
            if (section->Transparency > 0 || (section->HotTransparency > 0 && ButtonState() != 0))
                Repaint();
        break;
    case WM_SETFOCUS:
        if (!IsWindowEnabled(AdaptedWnd)) {
            message.Result = 0;
            return;
        }
        SkinData->FFocused = true;
        RepaintAround(message);
        return;
    case WM_KILLFOCUS:
        if (IsWindowEnabled(AdaptedWnd)) {
            SkinData->FFocused = false;
            RepaintAround(message);
            return;
        }
        break;
    case WM_ENABLE:
    case WM_SETTEXT:
    case BM_SETSTATE:
        if (visible) {
            RepaintAround(message);
            return;
        }
        break;
    case WM_PAINT:
    case WM_PRINT:
        Paint(message);
        return;
    case WM_ERASEBKGND:
    case WM_NCPAINT:
    case WM_UPDATEUISTATE:
        message.Result = 1;
        return;
    case SM_SKINCMD:
        if (SkinCmdOf(message.WParam) == SkinCmdControlEnter || SkinCmdOf(message.WParam) == SkinCmdControlExit)
            Repaint();
        break;
    default:
        break;
    }
    TacMainWnd::WndProc(message);
    if (message.Msg == WM_MOUSEMOVE)
        HoverCheck();
}

// ---- TacBitBtnWnd ----

namespace {

HBITMAP ButtonImage(HWND wnd)
{
    return reinterpret_cast<HBITMAP>(SendMessageW(wnd, BM_GETIMAGE, IMAGE_BITMAP, 0));
}

} // namespace

TBitBtn* TacBitBtnWnd::OwnerButton() const
{
    return SkinData ? dynamic_cast<TBitBtn*>(SkinData->OwnerControl()) : nullptr;
}

TSize TacBitBtnWnd::GlyphSize() const
{
    if (TBitBtn* button = OwnerButton()) {
        TBitmap* glyph = button->Glyph();
        if (!glyph || glyph->Width() <= 0 || glyph->Height() <= 0)
            return TSize{0, 0};
        return TSize{glyph->Width() / button->NumGlyphs(), glyph->Height()};
    }
    // The bitmap's own size: the dimension a bitmap may carry is set by nobody here and reads 0.
    BITMAP info{};
    if (HBITMAP image = ButtonImage(AdaptedWnd); image && GetObjectW(image, sizeof(info), &info))
        return TSize{info.bmWidth, info.bmHeight};
    return TSize{0, 0};
}

int TacBitBtnWnd::MaxTextWidth()
{
    TBitBtn* button = OwnerButton();
    if (!button)
        return TacBtnWnd::MaxTextWidth();
    if (Caption.empty())
        return 0;
    // A margin of -1 asks for centring, not for room beyond the edges.
    int width = button->Width() - 2 * std::max(button->Margin(), 0);
    const int glyph = GlyphSize().cx;
    if (glyph > 0 && (button->Layout() == blGlyphLeft || button->Layout() == blGlyphRight))
        width -= glyph + std::max(button->Spacing(), 0);
    return width;
}

TacBitBtnWnd::TGlyphPlaces TacBitBtnWnd::PlaceGlyphAndText(const TBitBtn& button)
{
    const TSize glyph = GlyphSize();
    const TRect extent = Caption.empty() ? TRect{0, 0, 0, 0} : TextExtent();
    TGlyphPlaces places{};
    CalcGlyphTextLayout(TRect{0, 0, WndSize.cx, WndSize.cy}, TPoint{glyph.cx, glyph.cy},
                        TPoint{extent.Width(), extent.Height()}, button.Layout(), gaCenter, button.Margin(),
                        button.Spacing(), places.Glyph, places.Text, 0);
    if (ButtonState() == 2) {
        places.Glyph = TPoint{places.Glyph.X + 1, places.Glyph.Y + 1};
        places.Text = TRect{places.Text.Left + 1, places.Text.Top + 1, places.Text.Right + 1, places.Text.Bottom + 1};
    }
    return places;
}

TRect TacBitBtnWnd::CaptionRect()
{
    if (TBitBtn* button = OwnerButton())
        return PlaceGlyphAndText(*button).Text;
    TRect r = TacBtnWnd::CaptionRect();
    const int shift = GlyphSize().cx / 2 + 1;
    r.Left += shift;
    r.Right += shift;
    return r;
}

void TacBitBtnWnd::DrawGlyph()
{
    if (TBitBtn* button = OwnerButton())
        DrawOwnerGlyph(*button);
    else
        DrawImageGlyph();
}

void TacBitBtnWnd::DrawOwnerGlyph(const TBitBtn& button)
{
    TBitmap* source = button.Glyph();
    const TSize size = GlyphSize();
    TBitmap* cache = SkinData->CacheBmp();
    if (!source || size.cx <= 0 || size.cy <= 0 || !cache)
        return;
    auto glyph = CreateBmp24(source->Width(), source->Height());
    BitBlt(glyph->Canvas()->Handle(), 0, 0, source->Width(), source->Height(), source->Canvas()->Handle(), 0, 0,
           SRCCOPY);
    const bool pushed = IsWindowEnabled(AdaptedWnd) && ButtonState() == 2;
    const int frame = pushed ? std::min(button.NumGlyphs(), 4) - 1 : 0;
    const TPoint at = PlaceGlyphAndText(button).Glyph;
    CopyByMask24(cache, glyph.get(), at.X, at.Y, TRect{frame * size.cx, 0, (frame + 1) * size.cx - 1, size.cy - 1},
                 glyph->Canvas()->Pixels(0, 0), EmptyCacheInfo, false);
}

void TacBitBtnWnd::DrawImageGlyph()
{
    HBITMAP image = ButtonImage(AdaptedWnd);
    const TSize size = GlyphSize();
    TBitmap* cache = SkinData->CacheBmp();
    if (!image || size.cx <= 0 || size.cy <= 0 || !cache)
        return;
    TBitmap glyph;
    glyph.SetPixelFormat(pf24bit);
    glyph.SetHandleType(bmDIB);
    glyph.SetSize(size.cx, size.cy);
    BitBlt(glyph.Canvas()->Handle(), 0, 0, size.cx, size.cy, TMemoryDC(image).Get(), 0, 0, SRCCOPY);
    const TRect text = Caption.empty() ? TRect{WndSize.cx / 2 + size.cx / 2 + 2, 0, 0, 0} : CaptionRect();
    const int pushed = ButtonState() == 2 ? 1 : 0;
    const int x = text.Left - 2 - size.cx;
    const int y = (WndSize.cy - size.cy) / 2 + pushed;
    CopyByMask24(cache, &glyph, x, y, TRect{0, 0, size.cx - 1, size.cy - 1}, glyph.Canvas()->Pixels(0, 0),
                 EmptyCacheInfo, false);
}

// ---- TacSpinWnd ----

void TacSpinWnd::UpdateStates()
{
    POINT p;
    RECT r;
    GetCursorPos(&p);
    GetWindowRect(AdaptedWnd, &r);
    UpState = DownState = 0;
    if (!PtInRect(&r, p))
        return;
    const int pressed = ButtonHeld ? 1 : 0;
    if (p.y - r.top < (r.bottom - r.top + 1) / 2)
        UpState = pressed + 1;
    else
        DownState = pressed + 1;
}

void TacSpinWnd::PaintHalf(TBitmap* cache, const TCacheInfo& ci, const TRect& r, int state,
                           const wchar_t* arrowSection)
{
    PaintItem(SkinData, ci, true, true, cache, ParentOffset, r, state);
    TsSkinManager* sm = Manager();
    const int mask = sm ? FindMaskIndex(sm, FindSectionIndex(sm, arrowSection), arrowSection, L"GLYPHMASK") : -1;
    if (!IsValidMaskIndex(sm, mask))
        return;
    const TsMaskData& md = sm->Masks[static_cast<size_t>(mask)];
    if (md.ImageCount <= 0)
        return;
    const int fw = (md.R.right - md.R.left) / md.ImageCount;
    const int fh = (md.R.bottom - md.R.top) / MaskRows(md);
    DrawSkinGlyph(cache, TPoint{r.Left + (r.Width() - fw) / 2, r.Top + (r.Height() - fh) / 2}, state, md, 1);
}

void TacSpinWnd::Paint(TMessage& message)
{
    TAdapterPaint paint(AdaptedWnd, message);
    GetWndPosInfo(this);
    UpdateStates();
    TCacheInfo ci;
    GetParentCacheOfWindow(AdaptedWnd, ci);
    SkinData->InitCacheBmp();
    TBitmap* cache = SkinData->CacheBmp();
    const int w = WndSize.cx, h = WndSize.cy;
    if (cache && w > LeftOffset && h > 0) {
        cache->SetSize(w, h);
        PaintHalf(cache, ci, TRect{LeftOffset, 0, w, (h + 1) / 2}, UpState, L"SCROLLBTNTOP");
        PaintHalf(cache, ci, TRect{LeftOffset, h / 2, w, h}, DownState, L"SCROLLBTNBOTTOM");
        SkinData->BGChanged = false;
        TScreenDC clientDC(AdaptedWnd, paint.Given());
        BitBlt(clientDC.Get(), LeftOffset, 0, w - LeftOffset, h, cache->Canvas()->Handle(), LeftOffset, 0, SRCCOPY);
    }
    message.Result = 0;
}

void TacSpinWnd::Repaint()
{
    SkinData->BGChanged = true;
    SendMessageW(AdaptedWnd, WM_PAINT, 0, 0);
}

void TacSpinWnd::WndProc(TMessage& message)
{
    if (!SkinActive()) {
        TacMainWnd::WndProc(message);
        return;
    }
    switch (message.Msg) {
    case WM_PAINT:
        Paint(message);
        return;
    case WM_ERASEBKGND:
    case WM_NCPAINT:
        message.Result = 1;
        return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
        ButtonHeld = message.Msg == WM_LBUTTONDOWN;
        TacMainWnd::WndProc(message);
        Repaint();
        return;
    case WM_MOUSEMOVE: {
        TacMainWnd::WndProc(message);
        TsSkinManager* sm = Manager();
        if (!sm)
            return;
        POINT p;
        RECT r;
        GetCursorPos(&p);
        GetWindowRect(AdaptedWnd, &r);
        if (!PtInRect(&r, p)) {
            if (sm->ActiveControl() == AdaptedWnd)
                sm->SetActiveControl(nullptr);
        } else if (sm->ActiveControl() != AdaptedWnd) {
            sm->SetActiveControl(AdaptedWnd);
        } else {
            Repaint();
        }
        return;
    }
    default:
        TacMainWnd::WndProc(message);
    }
}

// ---- TacSizerWnd ----

void TacSizerWnd::WndProc(TMessage& message)
{
    if (!SkinActive()) {
        TacMainWnd::WndProc(message);
        return;
    }
    switch (message.Msg) {
    case WM_PAINT:
        Paint(message);
        return;
    case WM_ERASEBKGND:
    case WM_NCPAINT:
        message.Result = 1;
        return;
    case WM_NCHITTEST:
        TacMainWnd::WndProc(message);
        if (IsWindowEnabled(AdaptedWnd) && Manager())
            Manager()->SetActiveControl(nullptr);
        message.Result = HTBOTTOMRIGHT;
        return;
    default:
        TacMainWnd::WndProc(message);
    }
}

void TacSizerWnd::PrepareCache() { RepaintAdapterCache(this); }

// ---- TacTransPanelWnd ----

void TacTransPanelWnd::PaintBackground(HDC dc)
{
    RepaintAdapterCache(this);
    CopyHwndCache(AdaptedWnd, SkinData, TRect{0, 0, WndSize.cx, WndSize.cy}, 0, 0, false, dc,
                  TRect{0, 0, WndSize.cx, WndSize.cy});
}

// The erase of a paint of the screen brings a DC of the panel itself: the whole window is painted, its
// frame with it. Any other DC (a bitmap a form paints itself into) is the panel's client area and gets
// the picture there, not the screen.
void TacTransPanelWnd::EraseInto(HDC given)
{
    if (!given || WindowFromDC(given) == AdaptedWnd) {
        PaintBackground(TWindowDC(AdaptedWnd).Get());
        return;
    }
    RECT client{};
    GetClientRectOffset(AdaptedWnd, client);
    TSavedDC saved(given);
    OffsetViewportOrgEx(given, -client.left, -client.top, nullptr);
    PaintBackground(given);
}

void TacTransPanelWnd::WndProc(TMessage& message)
{
    if (!SkinActive()) {
        TacMainWnd::WndProc(message);
        return;
    }
    switch (message.Msg) {
    case WM_ERASEBKGND:
        EraseInto(reinterpret_cast<HDC>(message.WParam));
        message.Result = 1;
        return;
    case WM_PRINT:
        // The print is answered by the panel's own paint into the DC, over the background its erase gives.
        if (message.WParam)
            PaintBackground(reinterpret_cast<HDC>(message.WParam));
        TacMainWnd::WndProc(message);
        return;
    case WM_NCPAINT:
        message.Result = 0;
        return;
    default:
        TacMainWnd::WndProc(message);
    }
}
