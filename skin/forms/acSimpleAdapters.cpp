#include "skin/forms/acSimpleAdapters.h"

#include "framework/WinApi.h"
#include "skin/core/sCommonData.h"
#include "skin/core/sItemPainter.h"
#include "skin/core/sMaskPainter.h"
#include "skin/core/sMessages.h"
#include "skin/core/sPixels.h"
#include "skin/core/sSkinManager.h"
#include "skin/core/sTextColors.h"

namespace {

// The window's cache, copied to the DC of the paint message (or the window's own DC).
void CopyCacheToWindow(HWND wnd, TBitmap* cache, HDC given)
{
    if (!cache)
        return;
    HDC dc = given ? given : GetDC(wnd);
    BitBlt(dc, 0, 0, cache->Width(), cache->Height(), cache->Canvas()->Handle(), 0, 0, SRCCOPY);
    if (!given)
        ReleaseDC(wnd, dc);
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
    const TsMaskData& md = sm->ma[static_cast<size_t>(index)];
    const int width = md.R.right - md.R.left, height = md.R.bottom - md.R.top;
    if (md.Bmp)
        return TSize{width / 3, height / 2};
    return TSize{width / std::max<int>(1, md.ImageCount), height / (md.MaskType + 1)};
}

void TacCheckBoxWnd::PrepareCache()
{
    GetWndPosInfo(this);
    TCacheInfo ci;
    TsCommonData::GetParentCacheHwnd(AdaptedWnd, ci);
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
        DrawSkinGlyph(cache, TPoint{0, (WndSize.cy - glyph.cy) / 2}, state, sm->ma[static_cast<size_t>(mask)], 1);
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

void TacCheckBoxWnd::Paint(TMessage& message)
{
    PAINTSTRUCT ps;
    BeginPaint(AdaptedWnd, &ps);
    PrepareCache();
    CopyCacheToWindow(AdaptedWnd, SkinData->CacheBmp(), reinterpret_cast<HDC>(message.WParam));
    EndPaint(AdaptedWnd, &ps);
    message.Result = 0;
}

void TacCheckBoxWnd::Repaint()
{
    SkinData->BGChanged = true;
    SendMessageW(AdaptedWnd, WM_PAINT, 0, 0);
}

void TacCheckBoxWnd::RepaintAround(TMessage& message)
{
    SendMessageW(AdaptedWnd, WM_SETREDRAW, 0, 0);
    TacMainWnd::WndProc(message);
    SendMessageW(AdaptedWnd, WM_SETREDRAW, 1, 0);
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

// ---- TacSizerWnd ----

void TacSizerWnd::WndProc(TMessage& message)
{
    if (!SkinActive()) {
        TacMainWnd::WndProc(message);
        return;
    }
    switch (message.Msg) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        BeginPaint(AdaptedWnd, &ps);
        GetWndPosInfo(this);
        SkinData->BGChanged = true;
        SendMessageW(AdaptedWnd, SM_SKINCMD, SkinCmdWParam(SkinCmdPaintToDC), 0);
        CopyCacheToWindow(AdaptedWnd, SkinData->CacheBmp(), nullptr);
        EndPaint(AdaptedWnd, &ps);
        return;
    }
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

// ---- TacTransPanelWnd ----

void TacTransPanelWnd::WndProc(TMessage& message)
{
    if (!SkinActive()) {
        TacMainWnd::WndProc(message);
        return;
    }
    switch (message.Msg) {
    case WM_ERASEBKGND: {
        GetWndPosInfo(this);
        SkinData->BGChanged = true;
        SendMessageW(AdaptedWnd, SM_SKINCMD, SkinCmdWParam(SkinCmdPaintToDC), 0);
        HDC dc = GetWindowDC(AdaptedWnd);
        CopyHwndCache(AdaptedWnd, SkinData, TRect{0, 0, WndSize.cx, WndSize.cy}, 0, 0, false, dc,
                      TRect{0, 0, WndSize.cx, WndSize.cy});
        ReleaseDC(AdaptedWnd, dc);
        message.Result = 1;
        return;
    }
    case WM_NCPAINT:
        message.Result = 0;
        return;
    default:
        TacMainWnd::WndProc(message);
    }
}
