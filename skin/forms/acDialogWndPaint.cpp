// The dialog frame's painting: the frame and caption into the cache, the title buttons, and the copies
// to the window's non-client area and client area.
#include "skin/forms/acDialogWnd.h"

#include "framework/WinApi.h"
#include "skin/core/sCommonData.h"
#include "skin/core/sItemPainter.h"
#include "skin/core/sMaskPainter.h"
#include "skin/core/sMessages.h"
#include "skin/core/sSkinManager.h"
#include "skin/core/sTextColors.h"
#include "skin/forms/acDials.h"

#include <algorithm>

int TacDialogWnd::ButtonImageOf(int code) const
{
    TsSkinManager* sm = Manager();
    const auto normal = [&] {
        const int global = FindMaskIndexNoParent(sm, L"GLOBALINFO", L"BICONNORM");
        return IsValidMaskIndex(sm, global) ? global
                                            : FindMaskIndex(sm, SkinData->SkinIndex, SkinData->SkinSection(), L"BICONNORM");
    };
    switch (code) {
    case HTMAXBUTTON: return IsZoomed(AdaptedWnd) ? normal() : MaxButton.ImageIndex;
    case HTMINBUTTON: return IsIconic(AdaptedWnd) ? normal() : MinButton.ImageIndex;
    case HTCLOSE: return CloseButton.ImageIndex;
    case HTHELP: return HelpButton.ImageIndex;
    default: return -1;
    }
}

bool TacDialogWnd::ButtonEnabled(int code) const
{
    switch (code) {
    case HTCLOSE: return !(GetClassLongPtrW(AdaptedWnd, GCL_STYLE) & CS_NOCLOSE);
    case HTMAXBUTTON: return IsZoomed(AdaptedWnd) ? Restorable() : MaxAllowed();
    case HTMINBUTTON: return IsIconic(AdaptedWnd) ? Restorable() : MinAllowed();
    default: return true;
    }
}

void TacDialogWnd::DrawButton(TacTitleButton& button, int code, bool toWindow)
{
    TsSkinManager* sm = Manager();
    TBitmap* cache = SkinData->CacheBmp();
    const int image = ButtonImageOf(code);
    if (!cache || !IsValidMaskIndex(sm, image) || button.Rect.IsEmpty())
        return;
    if (toWindow) {
        if (button.Rect.Left <= GetSystemMetrics(SM_CXSMICON) + BorderWidth() || ButtonsBackdrop->Empty())
            return;
        const int originX = cache->Width() - ButtonsBackdrop->Width() - 1;
        BitBlt(cache->Canvas()->Handle(), button.Rect.Left, button.Rect.Top, button.Rect.Width(), button.Rect.Height(),
               ButtonsBackdrop->Canvas()->Handle(), button.Rect.Left - originX, button.Rect.Top, SRCCOPY);
    }
    const bool enabled = ButtonEnabled(code);
    const int mode = (button.State > 0 && enabled) ? 1 : 1 + ((!enabled || !DlgActive) ? 1 : 0);
    DrawSkinGlyph(cache, TPoint{button.Rect.Left, button.Rect.Top}, button.State, sm->Masks[static_cast<size_t>(image)],
                  mode);
    if (!toWindow)
        return;
    if (TWindowDC dc(AdaptedWnd); dc)
        BitBlt(dc.Get(), button.Rect.Left, button.Rect.Top, button.Rect.Width(), button.Rect.Height(),
               cache->Canvas()->Handle(), button.Rect.Left, button.Rect.Top, SRCCOPY);
}

void TacDialogWnd::LayOutButtons()
{
    if (!HasSysMenu())
        return;
    int x = DlgWidth - BorderWidth();
    const auto place = [&](TacTitleButton& button, int code) {
        const int w = ButtonWidth(button), h = ButtonHeight(button);
        int top = (CaptionHeight() + BorderHeight() - h) / 2;
        if (h < 16)
            top += 2;
        button.Rect = TRect{x - w, top, x, top + h};
        DrawButton(button, code, false);
        x -= w;
    };
    if (IsValidMaskIndex(Manager(), CloseButton.ImageIndex))
        place(CloseButton, HTCLOSE);
    if (SavedStyle & WS_MAXIMIZEBOX)
        place(MaxButton, HTMAXBUTTON);
    if (SavedStyle & WS_MINIMIZEBOX)
        place(MinButton, HTMINBUTTON);
    if (SavedExStyle & WS_EX_CONTEXTHELP)
        place(HelpButton, HTHELP);
}

void TacDialogWnd::PaintIcon()
{
    if (!Icon)
        return;
    const int size = GetSystemMetrics(SM_CXSMICON);
    const int y = (CaptionHeight() + BorderHeight() - GetSystemMetrics(SM_CYSMICON)) / 2;
    HDC dc = SkinData->CacheBmp()->Canvas()->Handle();
    HICON copy = static_cast<HICON>(CopyImage(Icon, IMAGE_ICON, size, size, LR_COPYFROMRESOURCE));
    if (copy) {
        DrawIconEx(dc, BorderWidth(), y, copy, size, size, 0, nullptr, DI_NORMAL);
        DestroyIcon(copy);
    } else {
        DrawIconEx(dc, BorderWidth(), y, LoadIconW(nullptr, IDI_APPLICATION), size, size, 0, nullptr, DI_NORMAL);
    }
}

void TacDialogWnd::PaintCaption()
{
    TsSkinManager* sm = Manager();
    TBitmap* cache = SkinData->CacheBmp();
    const int state = DlgActive ? 1 : 0;
    const int title = FindSectionIndex(sm, L"FORMTITLE");
    const int band = BorderHeight() + CaptionHeight();
    if (IsValidSectionIndex(sm, title))
        PaintItemByIndex(title, L"FORMTITLE", TCacheInfo{cache, 0, 0, true}, -1, -1, sm, cache, TPoint{0, 0},
                         TRect{0, 0, DlgWidth, IsIconic(AdaptedWnd) ? DlgHeight : band}, state, false);
    PaintIcon();
    if (HasSysMenu()) {
        const int bar = FindMaskIndex(sm, SkinData->SkinIndex, SkinData->SkinSection(), L"TITLEBAR");
        if (IsValidMaskIndex(sm, bar)) {
            const TsMaskData& md = sm->Masks[static_cast<size_t>(bar)];
            const int side = md.Bmp ? md.Bmp->Width() / 9 : (md.R.right - md.R.left) / (std::max<int>(1, md.ImageCount) * 3);
            DrawSkinRect(cache, TRect{DlgWidth - (side * 2 + ButtonsBlockWidth()), 0, cache->Width(), band}, true,
                         TCacheInfo{cache, 0, 0, true}, md, state, true);
        }
    }
    const int backdropWidth = ButtonsBlockWidth() + BorderWidth();
    const int titleHeight = std::max(1, TitleAreaHeight());
    ButtonsBackdrop->SetSize(backdropWidth, titleHeight);
    BitBlt(ButtonsBackdrop->Canvas()->Handle(), 0, 0, backdropWidth, titleHeight, cache->Canvas()->Handle(),
           cache->Width() - backdropWidth - 1, 0, SRCCOPY);
    LayOutButtons();
    if (Caption.empty())
        return;
    TCanvas* canvas = cache->Canvas();
    if (CaptionFont)
        canvas->Font()->Assign(CaptionFont.get());
    const int iconSpace = Icon ? GetSystemMetrics(SM_CXSMICON) : 0;
    const TRect r{iconSpace + BorderWidth() + 4, BorderHeight(), DlgWidth - ButtonsBlockWidth() - 6, CaptionHeight()};
    const std::wstring text =
        CutText(canvas, Caption, DlgWidth - GetSystemMetrics(SM_CXSMICON) - BorderWidth() - ButtonsBlockWidth() - 6);
    if (!text.empty() && r.Right > r.Left) {
        canvas->Brush()->SetStyle(bsClear);
        WriteTextEx(canvas, text.c_str(), true, sm, DlgActive, title, DT_SINGLELINE | DT_VCENTER, r);
    }
}

void TacDialogWnd::PaintFrameCache()
{
    if (!SkinData->BGChanged)
        return;
    RegionDirty = true;
    SkinData->InitCacheBmp();
    TBitmap* cache = SkinData->CacheBmp();
    TsSkinManager* sm = Manager();
    if (!cache || !sm || DlgWidth <= 0 || DlgHeight <= 0)
        return;
    cache->SetSize(DlgWidth, DlgHeight);
    if (IsValidSectionIndex(sm, SkinData->SkinIndex))
        PaintItem(SkinData, EmptyCacheInfo, false, true, cache, TPoint{0, 0}, TRect{0, 0, DlgWidth, DlgHeight},
                  DlgActive ? 1 : 0);
    if (FrameKind == 3) {
        const int grip = FindMaskIndexNoParent(sm, L"GLOBALINFO", L"GRIPIMAGE");
        if (IsValidMaskIndex(sm, grip)) {
            DrawSkinGlyph(cache, GripPoint(), 0, sm->Masks[static_cast<size_t>(grip)], 1);
        }
    }
    if (CaptionHeight() > 0)
        PaintCaption();
    SkinData->BGChanged = false;
}

void TacDialogWnd::PaintNonClient()
{
    if (Provider)
        Provider->AdaptChildren(AdaptedWnd);
    if (SkinData->Updating())
        return;
    RefreshPosition();
    const bool framed = FrameKind != 2 || (GetWindowLongPtrW(AdaptedWnd, GWL_STYLE) & WS_THICKFRAME);
    if (!SettingRegion && RegionDirty && framed) {
        PaintFrameCache();
        BuildCornerRects();
        RegionDirty = false;
        UpdateRegion(true);
    }
    PaintFrameCache();
    TBitmap* cache = SkinData->CacheBmp();
    if (!cache || cache->Empty())
        return;
    TWindowDC windowDC(AdaptedWnd);
    HDC dc = windowDC.Get();
    if (!dc)
        return;
    TSavedDC saved(dc);
    HDC src = cache->Canvas()->Handle();
    const int w = cache->Width(), h = cache->Height();
    if (FrameKind == 2 && (GetWindowLongPtrW(AdaptedWnd, GWL_STYLE) & WS_THICKFRAME)) {
        CopyFrame(dc, 0, 0, w, h, src, 0, 0, 3);
    } else if (FrameKind == 2) {
        // A frame without caption or sizing border has no border measures of its own: its four parts are
        // cut where the client area lies, so none of its edges is left unpainted.
        RECT client{};
        GetClientRectOffset(AdaptedWnd, client);
        CopyFrameParts(dc, src, w, h, TRect{client.left, client.top, w - client.right, h - client.bottom},
                       client.top);
    } else {
        const int bw = BorderWidth(), bh = BorderHeight();
        CopyFrameParts(dc, src, w, h, TRect{bw, TitleAreaHeight(), bw, bh},
                       CaptionHeight() + bh + (IsIconic(AdaptedWnd) ? 1 : 0));
    }
}

void TacDialogWnd::CopyFrameParts(HDC dc, HDC src, int w, int h, const TRect& edges, int sideTop)
{
    // The title area across the full width, the left border, the bottom border and the right border;
    // Edges holds the left, title, right and bottom thicknesses.
    BitBlt(dc, 0, 0, w, edges.Top, src, 0, 0, SRCCOPY);
    BitBlt(dc, 0, sideTop, edges.Left, h - sideTop, src, 0, sideTop, SRCCOPY);
    BitBlt(dc, 0, h - edges.Bottom, w, edges.Bottom, src, 0, h - edges.Bottom, SRCCOPY);
    BitBlt(dc, w - edges.Right, sideTop, edges.Right, h - sideTop, src, w - edges.Right, sideTop, SRCCOPY);
}

void TacDialogWnd::PaintClient(TMessage& message)
{
    // Only a paint of the screen validates the window: a print into a given DC leaves owed repaints owed.
    const TAdapterPaint paint(AdaptedWnd, message);
    HDC dc = paint.Given() ? paint.Given() : paint.DC();
    if (dc && !SkinData->Updating()) {
        {
            TSavedDC saved(dc);
            if (Provider && Provider->DialogKind == 1)
                ExcludeClipRect(dc, Kind1PaintRect.Left, Kind1PaintRect.Top, Kind1PaintRect.Right,
                                Kind1PaintRect.Bottom);
            if (Provider && Provider->DialogKind == 3)
                ExtSelectClipRgn(dc, Kind3Region(), RGN_DIFF);
            PaintFrameCache();
            TBitmap* cache = SkinData->CacheBmp();
            if (cache && !cache->Empty()) {
                RECT client{};
                GetClientRect(AdaptedWnd, &client);
                const TPoint offset = ClientOffset();
                // The children are left out where they lie in the client DC: their window rectangles
                // are taken from the window's corner, so the client's own corner is given back.
                RECT inWindow{};
                GetClientRectOffset(AdaptedWnd, inWindow);
                CopyHwndCache(AdaptedWnd, SkinData,
                              TRect{offset.X, offset.Y, offset.X + client.right, offset.Y + client.bottom},
                              -inWindow.top, -inWindow.left, false, dc, TRect{0, 0, client.right, client.bottom});
            }
        }
        RefreshChildWindows(AdaptedWnd);
    }
    message.Result = 0;
}
