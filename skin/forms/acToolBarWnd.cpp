#include "skin/forms/acToolBarWnd.h"

#include "framework/WinApi.h"
#include "skin/core/sCommonData.h"
#include "skin/core/sItemPainter.h"
#include "skin/core/sMaskPainter.h"
#include "skin/core/sMessages.h"
#include "skin/core/sPixels.h"
#include "skin/core/sSkinManager.h"
#include "skin/core/sTextColors.h"

#include <algorithm>
#include <memory>

namespace {

constexpr UINT kSingleLineFlags = 0x8015;

std::wstring ButtonText(HWND bar, int command)
{
    const LRESULT length = SendMessageW(bar, TB_GETBUTTONTEXTW, static_cast<WPARAM>(command), 0);
    if (length <= 0)
        return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    SendMessageW(bar, TB_GETBUTTONTEXTW, static_cast<WPARAM>(command), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(length));
    return text;
}

int TextWidth(HDC dc, const std::wstring& text)
{
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    return size.cx;
}

// The longest run of whole words from the start that fits Width; empty when not even one word fits.
size_t FittingWords(HDC dc, const std::wstring& text, int width)
{
    size_t best = 0;
    for (size_t space = text.find(L' '); space != std::wstring::npos; space = text.find(L' ', space + 1)) {
        if (TextWidth(dc, text.substr(0, space)) > width)
            break;
        best = space;
    }
    return best;
}

} // namespace

int TacToolBarWnd::ButtonState(int index, const TRect& r) const
{
    TBBUTTON button{};
    if (!SendMessageW(AdaptedWnd, TB_GETBUTTON, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&button)))
        return 0;
    if (!(button.fsState & TBSTATE_ENABLED))
        return 0;
    if (button.fsState & TBSTATE_PRESSED)
        return 2;
    POINT p;
    GetCursorPos(&p);
    ScreenToClient(AdaptedWnd, &p);
    return r.Contains(TPoint{p.x, p.y}) ? 1 : 0;
}

void TacToolBarWnd::PrepareCache()
{
    GetWndPosInfo(this);
    if (!SkinData->BGChanged)
        return;
    RECT client{};
    GetClientRect(AdaptedWnd, &client);
    ClientRect = TRect::FromRECT(client);
    PaintAdapterCache(SkinData, AdaptedWnd, false);
    PaintTransparentCorners(SkinData, 0, this);
    BorderWidth = std::max(0, (WndSize.cy - ClientRect.Height()) / 2);
}

void TacToolBarWnd::PaintButtonImage(TBitmap* bmp, const TBBUTTON& button, const TRect& r, int state)
{
    HIMAGELIST images = reinterpret_cast<HIMAGELIST>(SendMessageW(AdaptedWnd, TB_GETIMAGELIST, 0, 0));
    int imageWidth = 0, imageHeight = 0;
    if (images)
        ImageList_GetIconSize(images, &imageWidth, &imageHeight);
    TRect area = r;
    TsSkinManager* sm = Manager();
    if ((button.fsStyle & BTNS_WHOLEDROPDOWN) && sm) {
        const int mask = FindMaskIndex(sm, FindSectionIndex(sm, L"SCROLLBTNBOTTOM"), L"SCROLLBTNBOTTOM", L"GLYPHMASK");
        if (IsValidMaskIndex(sm, mask)) {
            const TsMaskData& md = sm->Masks[static_cast<size_t>(mask)];
            const int fw = (md.R.right - md.R.left) / MaskFrames(md);
            const int fh = (md.R.bottom - md.R.top) / MaskRows(md);
            DrawSkinGlyph(bmp, TPoint{r.Right - 2 - fw, r.Top + (r.Height() - fh) / 2}, state, md, 1);
            area.Right -= fw + 2;
        }
    }
    const int shift = state == 2 ? 1 : 0;
    if (images && button.iBitmap >= 0)
        ImageList_DrawEx(images, button.iBitmap, bmp->Canvas()->Handle(),
                         area.Left + (area.Width() - imageWidth) / 2 + shift, r.Top + 4 + shift, 0, 0, CLR_NONE,
                         CLR_NONE, ILD_NORMAL);
}

void TacToolBarWnd::PaintButtonText(TBitmap* bmp, const TBBUTTON& button, const TRect& r, int state)
{
    const std::wstring text = ButtonText(AdaptedWnd, button.idCommand);
    if (text.empty())
        return;
    TCanvas* canvas = bmp->Canvas();
    if (HFONT font = reinterpret_cast<HFONT>(SendMessageW(AdaptedWnd, WM_GETFONT, 0, 0)))
        canvas->Font()->SetHandle(font);
    canvas->Brush()->SetStyle(bsClear);
    int imageHeight = 0, imageWidth = 0;
    if (HIMAGELIST images = reinterpret_cast<HIMAGELIST>(SendMessageW(AdaptedWnd, TB_GETIMAGELIST, 0, 0)))
        ImageList_GetIconSize(images, &imageWidth, &imageHeight);
    const int shift = state == 2 ? 1 : 0;
    TRect area{r.Left + 2 + shift, r.Top + imageHeight + 2 + shift, r.Right - 2 + shift, r.Bottom - 2 + shift};
    const bool enabled = (button.fsState & TBSTATE_ENABLED) != 0;
    TsSkinManager* sm = Manager();
    const auto write = [&](const std::wstring& line, const TRect& where, UINT flags) {
        if (state != 0 && sm)
            WriteTextEx(canvas, line.c_str(), enabled, sm, true, FindSectionIndex(sm, L"TOOLBUTTON"), flags, where);
        else
            WriteTextByData(canvas, line.c_str(), enabled, false, SkinData, flags, where);
    };
    HDC dc = canvas->Handle();
    const size_t split = TextWidth(dc, text) > area.Width() ? FittingWords(dc, text, area.Width()) : 0;
    if (split == 0) {
        write(text, area, kSingleLineFlags);
        return;
    }
    const int lineHeight = canvas->TextHeight(L"Wg");
    write(text.substr(0, split), TRect{area.Left, area.Top, area.Right, area.Top + lineHeight},
          DT_CENTER | DT_SINGLELINE);
    write(text.substr(split + 1), TRect{area.Left, area.Top + lineHeight, area.Right, area.Top + 2 * lineHeight},
          DT_CENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
}

void TacToolBarWnd::PaintButton(TBitmap* bmp, int index)
{
    TBBUTTON button{};
    if (!SendMessageW(AdaptedWnd, TB_GETBUTTON, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&button)))
        return;
    if (button.fsStyle & BTNS_SEP)
        return;
    RECT item{};
    if (!SendMessageW(AdaptedWnd, TB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)))
        return;
    const TRect client = TRect::FromRECT(item);
    const TRect r{client.Left + BorderWidth, client.Top + BorderWidth, client.Right + BorderWidth,
                  client.Bottom + BorderWidth};
    const int state = ButtonState(index, client);
    TsSkinManager* sm = Manager();
    if (!sm)
        return;
    const TCacheInfo ci{SkinData->CacheBmp(), 0, 0, true};
    PaintItemByIndex(FindSectionIndex(sm, L"TOOLBUTTON"), L"TOOLBUTTON", ci, -1, -1, sm, bmp, TPoint{r.Left, r.Top},
                     r, state, true);
    PaintButtonImage(bmp, button, r, state);
    PaintButtonText(bmp, button, r, state);
    if (!(button.fsState & TBSTATE_ENABLED))
        BlendTransBitmap(bmp, r.Left, r.Top, sNoKeyColor, 0.4, TRect{r.Left, r.Top, r.Right - 1, r.Bottom - 1},
                         SkinData->CacheBmp());
}

void TacToolBarWnd::Paint(TMessage& message)
{
    TAdapterPaint paint(AdaptedWnd, message);
    if (HWND parent = GetParent(AdaptedWnd))
        SkinData->SetUpdating(QuerySkinCmdHwnd(parent, SkinCmdIsBgChanged));
    if (!SkinData->Updating()) {
        PrepareCache();
        TBitmap* cache = SkinData->CacheBmp();
        if (cache && !cache->Empty()) {
            auto copy = std::make_unique<TBitmap>();
            copy->Assign(cache);
            const int count = static_cast<int>(SendMessageW(AdaptedWnd, TB_BUTTONCOUNT, 0, 0));
            for (int i = 0; i < count; ++i)
                PaintButton(copy.get(), i);
            TScreenDC clientDC(AdaptedWnd, paint.Given());
            BitBlt(clientDC.Get(), 0, 0, ClientRect.Width(), ClientRect.Height(), copy->Canvas()->Handle(), BorderWidth,
                   BorderWidth, SRCCOPY);
        }
    }
    message.Result = 0;
}

void TacToolBarWnd::WndProc(TMessage& message)
{
    if (!SkinActive()) {
        TacMainWnd::WndProc(message);
        return;
    }
    switch (message.Msg) {
    case WM_PAINT:
        Paint(message);
        return;
    case WM_NCPAINT:
        if (GetWindowLongPtrW(AdaptedWnd, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) {
            PrepareCache();
            if (TBitmap* cache = SkinData->CacheBmp(); cache && !cache->Empty()) {
                TWindowDC windowDC(AdaptedWnd);
                HDC dc = windowDC.Get();
                CopyFrame(dc, 0, 0, WndSize.cx, WndSize.cy, cache->Canvas()->Handle(), 0, 0,
                          (WndSize.cx - ClientRect.Width()) / 2);
            }
        }
        message.Result = 0;
        return;
    case WM_ERASEBKGND:
        message.Result = 1;
        return;
    case WM_MOVE:
    case WM_WINDOWPOSCHANGED:
        SkinData->BGChanged = true;
        TacMainWnd::WndProc(message);
        SendMessageW(AdaptedWnd, WM_NCPAINT, 0, 0);
        return;
    case WM_MOUSEMOVE:
    case WM_MOUSELEAVE:
        TacMainWnd::WndProc(message);
        InvalidateRect(AdaptedWnd, nullptr, FALSE);
        return;
    default:
        TacMainWnd::WndProc(message);
    }
}
