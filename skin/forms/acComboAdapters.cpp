#include "skin/forms/acComboAdapters.h"

#include "framework/Forms.h"
#include "skin/core/sCommonData.h"
#include "skin/core/sItemPainter.h"
#include "skin/core/sMaskPainter.h"
#include "skin/core/sMessages.h"
#include "skin/core/sSkinManager.h"
#include "skin/core/sTextColors.h"
#include "skin/core/sVclUtils.h"

#include <algorithm>

namespace {

constexpr UINT kListShowing = 0x1AE;
constexpr UINT kListHiding = 0x1AF;
constexpr int kComboFrame = 3;
constexpr int kListFrame = 2;
constexpr int kDefaultGlyphHeight = 16;

bool Visible(HWND wnd) { return IsWindowVisible(wnd) != FALSE; }

TSize WindowSize(HWND wnd)
{
    RECT r{};
    GetWindowRect(wnd, &r);
    return TSize{r.right - r.left, r.bottom - r.top};
}

const TsMaskData* ComboGlyph(TsSkinManager* sm)
{
    if (!sm || !IsValidMaskIndex(sm, sm->ConstData.ComboBoxGlyph))
        return nullptr;
    return &sm->Masks[static_cast<std::size_t>(sm->ConstData.ComboBoxGlyph)];
}

} // namespace

// ---- TacComboBoxWnd ----

void TacComboBoxWnd::Create()
{
    TacEditWnd::Create();
    ListData = std::make_unique<TsCommonData>(nullptr, true);
    if (!AdaptedWnd)
        return;
    // The edit part is a window of its own: it is adapted with the box, so that it answers as skinned.
    COMBOBOXINFO info{};
    info.cbSize = sizeof(info);
    if (GetComboBoxInfo(AdaptedWnd, &info) && info.hwndItem && info.hwndItem != AdaptedWnd &&
        !QuerySkinCmdHwnd(info.hwndItem, SkinCmdIsSkinned))
        EditWnd = MakeAdapter<TacEditWnd>(info.hwndItem, CreateRepaint, L"EDIT", Manager(), nullptr);
}

void TacComboBoxWnd::Destroy()
{
    ListWnd.reset();
    EditWnd.reset();
    ListData.reset();
    TacEditWnd::Destroy();
    ListBrush.Reset();
}

int TacComboBoxWnd::ComboStyle() const
{
    return static_cast<int>(GetWindowLongPtrW(AdaptedWnd, GWL_STYLE) & 3);
}

TRect TacComboBoxWnd::ButtonRect() const
{
    const TSize size = WindowSize(AdaptedWnd);
    const int width = (ComboStyle() & 2) ? GetSystemMetrics(SM_CXVSCROLL) : 0;
    TRect r;
    r.Left = (GetWindowLongPtrW(AdaptedWnd, GWL_EXSTYLE) & WS_EX_RTLREADING) ? 2 : size.cx - width - 2;
    r.Right = r.Left + width;
    r.Top = 2;
    r.Bottom = size.cy - 2;
    return r;
}

int TacComboBoxWnd::ButtonState() const
{
    if (SendMessageW(AdaptedWnd, CB_GETDROPPEDSTATE, 0, 0))
        return 2;
    TsSkinManager* sm = Manager();
    if (SkinData->FFocused || SkinData->FMouseAbove || GetFocus() == AdaptedWnd ||
        (sm && sm->ActiveControl() == AdaptedWnd))
        return 1;
    return 0;
}

void TacComboBoxWnd::PaintButton(HDC dc)
{
    TsSkinManager* sm = Manager();
    TBitmap* cache = SkinData->CacheBmp();
    const TRect button = ButtonRect();
    if (!sm || !cache || cache->Width() <= 0 || button.IsEmpty())
        return;
    const int state = ButtonState();
    auto bmp = CreateBmp24(cache->Width(), cache->Height());
    BitBlt(bmp->Canvas()->Handle(), 0, 0, cache->Width(), cache->Height(), cache->Canvas()->Handle(), 0, 0, SRCCOPY);
    const TacCachedIndexes& c = sm->ConstData;
    if (IsValidSectionIndex(sm, c.ComboBtn))
        PaintAdapterElement(sm, c.ComboBtn, c.ComboBtnBorder, bmp.get(), button.TopLeft(), button, state,
                            TCacheInfo{bmp.get(), 0, 0, true}, c.ComboBtnPattern, c.ComboBtnHotPattern);
    if (const TsMaskData* glyph = ComboGlyph(sm); glyph && glyph->ImageCount > 0) {
        const int glyphWidth = RectWidth(glyph->R) / glyph->ImageCount;
        const int glyphHeight = RectHeight(glyph->R) / MaskRows(*glyph);
        const TPoint at{button.Left + (button.Width() - glyphWidth) / 2, (cache->Height() - glyphHeight) / 2};
        DrawSkinGlyph(bmp.get(), at, state, *glyph, 1);
    }
    TWindowDC windowDC(AdaptedWnd, dc);
    dc = windowDC.Get();
    BitBlt(dc, button.Left, button.Top, button.Width(), button.Height(), bmp->Canvas()->Handle(), button.Left,
           button.Top, SRCCOPY);
}

void TacComboBoxWnd::CopyFrameTo(HDC dc)
{
    TBitmap* cache = SkinData->CacheBmp();
    if (cache && cache->Width() > 0)
        CopyFrame(dc, 0, 0, cache->Width(), cache->Height(), cache->Canvas()->Handle(), 0, 0, kComboFrame);
}

void TacComboBoxWnd::PaintListBackground()
{
    TBitmap* cache = SkinData->CacheBmp();
    if (!cache)
        return;
    const int itemHeight = static_cast<int>(SendMessageW(AdaptedWnd, CB_GETITEMHEIGHT, 0, 0));
    cache->SetSize(WindowSize(AdaptedWnd).cx, std::max(itemHeight, 0) + 8);
    const TRect all{0, 0, cache->Width(), cache->Height()};
    TsSkinManager* def = DefaultManager();
    const TColor border = def ? def->SkinData()->BorderColor : sNoColor;
    if (InDialog && border != sNoColor) {
        HDC dc = cache->Canvas()->Handle();
        FillDC(dc, all, clWindow);
        GdiObject<HBRUSH> frame(CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(border))));
        const RECT r = all.ToRECT();
        FrameRect(dc, &r, frame.Get());
    } else {
        TCacheInfo ci;
        TsCommonData::GetParentCacheHwnd(AdaptedWnd, ci);
        PaintAdapterElement(Manager(), SkinData->SkinIndex, FindMaskIndex(Manager(), SkinData->SkinIndex,
                                                                          SkinData->SkinSection(), L"BORDERSMASK"),
                            cache, TPoint{}, all, SkinData->CtrlSkinState(), ci);
    }
}

void TacComboBoxWnd::PaintText()
{
    TBitmap* cache = SkinData->CacheBmp();
    TsSkinManager* sm = Manager();
    if (!cache || !sm)
        return;
    TCanvas* canvas = cache->Canvas();
    // The box's font goes onto the canvas, which the text writer selects for itself.
    if (TControl* control = SkinData->OwnerControl())
        canvas->Font()->Assign(control->Font());
    else if (HFONT font = reinterpret_cast<HFONT>(SendMessageW(AdaptedWnd, WM_GETFONT, 0, 0)))
        canvas->Font()->SetHandle(font);
    HDC dc = canvas->Handle();
    TRect r{kComboFrame, kComboFrame, ButtonRect().Left, cache->Height() - kComboFrame};
    const int index = static_cast<int>(SendMessageW(AdaptedWnd, CB_GETCURSEL, 0, 0));
    std::wstring text;
    if (index >= 0) {
        const LRESULT length = SendMessageW(AdaptedWnd, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
        if (length > 0) {
            text.resize(static_cast<std::size_t>(length) + 1);
            SendMessageW(AdaptedWnd, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
            text.resize(wcslen(text.c_str()));
        }
    } else {
        text = GetWndText(AdaptedWnd);
    }
    const UINT flags = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
    if (ComboStyle() == 3 && GetFocus() == AdaptedWnd) {
        FillDC(dc, r, clHighlight);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, static_cast<COLORREF>(ColorToRGB(clHighlightText)));
        TRect textRect{r.Left + 1, r.Top, r.Right, r.Bottom};
        DrawTextStr(dc, text, textRect, flags);
        const RECT focus = r.ToRECT();
        DrawFocusRect(dc, &focus);
    } else {
        SetBkMode(dc, TRANSPARENT);
        WriteTextEx(canvas, text.c_str(), IsWindowEnabled(AdaptedWnd) != FALSE, sm, false, SkinData->SkinIndex, flags,
                    r);
    }
}

void TacComboBoxWnd::WMPaint(TMessage& message)
{
    GetWndPosInfo(this);
    message.Result = CallPrevWndProc(AdaptedWnd, message.Msg, message.WParam, message.LParam);
    TWindowDC dc(AdaptedWnd, reinterpret_cast<HDC>(message.WParam));
    if (!dc.Get())
        return;
    if (ComboStyle() == 1) {
        PaintListBackground();
        CopyFrameTo(dc.Get());
        return;
    }
    SkinData->BGChanged = true;
    SendSkinCmd(AdaptedWnd, SkinCmdPaintToDC, 0);
    CopyFrameTo(dc.Get());
    PaintButton(dc.Get());
}

void TacComboBoxWnd::WMPrint(TMessage& message)
{
    GetWndPosInfo(this);
    SkinData->SetUpdating(false);
    SkinData->BGChanged = true;
    PrepareOnce();
    if (ComboStyle() == 1)
        PaintListBackground();
    else
        SendSkinCmd(AdaptedWnd, SkinCmdPaintToDC, 0);
    PaintAdapterCache(SkinData, AdaptedWnd, InDialog);
    PaintText();
    PaintTransparentCorners(SkinData, 0, this);
    HDC dc = reinterpret_cast<HDC>(message.WParam);
    TBitmap* cache = SkinData->CacheBmp();
    if (!dc || !cache)
        return;
    BitBlt(dc, 0, 0, cache->Width(), cache->Height(), cache->Canvas()->Handle(), 0, 0, SRCCOPY);
    PaintButton(dc);
}

void TacComboBoxWnd::FirstListColor(TMessage& message)
{
    HWND list = reinterpret_cast<HWND>(message.LParam);
    // Only a real list of another window starts the list adapter: the box itself never is one.
    if (!list || list == AdaptedWnd || !IsWindow(list))
        return;
    ListHandle = list;
    if (!ListWnd) {
        const bool repaint = SendMessageW(AdaptedWnd, CB_GETCOUNT, 0, 0) > 0;
        const bool foreign = !HookedThroughFramework();
        if (foreign)
            AdaptingDialog = InDialog;
        ListWnd = MakeAdapter<TacComboListWnd>(list, repaint, L"EDIT", Manager(), nullptr);
        if (foreign)
            AdaptingDialog = false;
        ListWnd->SimpleBox = ComboStyle() == 1;
    }
    const int index = static_cast<int>(SendSkinCmd(list, SkinCmdGetSkinIndex, 0)) - 1;
    TsSkinManager* sm = Manager();
    if (InDialog || !IsValidSectionIndex(sm, index))
        return;
    const TsGeneralData& section = sm->Sections[static_cast<std::size_t>(index)];
    HDC dc = reinterpret_cast<HDC>(message.WParam);
    SetTextColor(dc, static_cast<COLORREF>(ColorToRGB(SkinColorToRGB(section.FontColor))));
    SetBkColor(dc, static_cast<COLORREF>(ColorToRGB(SkinColorToRGB(section.Color))));
    ListBrush.Reset(CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(SkinColorToRGB(section.Color)))));
    message.Result = reinterpret_cast<LRESULT>(ListBrush.Get());
}

void TacComboBoxWnd::WndProc(TMessage& message)
{
    if (!SkinData || !SkinData->Skinned()) {
        TacEditWnd::WndProc(message);
        return;
    }
    switch (message.Msg) {
    case SM_SKINCMD: {
        const WORD command = SkinCmdOf(message.WParam);
        TacEditWnd::WndProc(message);
        if (command == SkinCmdControlEnter || command == SkinCmdControlExit)
            PaintButton(nullptr);
        return;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_LBUTTONUP:
        TacEditWnd::WndProc(message);
        if (!Detached && IsWindow(AdaptedWnd))
            PaintButton(nullptr);
        return;
    case WM_PAINT:
        WMPaint(message);
        return;
    case WM_ERASEBKGND:
    case WM_NCPAINT:
        return;
    case WM_NCCALCSIZE:
        TacEditWnd::WndProc(message);
        LeftEdge = kComboFrame;
        return;
    case WM_CTLCOLORLISTBOX: {
        const bool first = ListHandle == nullptr;
        TacEditWnd::WndProc(message);
        if (first)
            FirstListColor(message);
        return;
    }
    case WM_PRINT:
        WMPrint(message);
        return;
    default:
        TacEditWnd::WndProc(message);
    }
}

// ---- TacComboListWnd ----

void TacComboListWnd::PrepareListCache()
{
    GetWndPosInfo(this);
    if (SimpleBox) {
        SendSkinCmd(AdaptedWnd, SkinCmdPaintToDC, 0);
        return;
    }
    SkinData->UpdateIndexes();
    PrepareSkinParams();
    SkinData->InitCacheBmp();
    TBitmap* cache = SkinData->CacheBmp();
    const TSize size = WindowSize(AdaptedWnd);
    cache->SetSize(size.cx, size.cy);
    HDC dc = cache->Canvas()->Handle();
    const TRect all{0, 0, size.cx, size.cy};
    FillDC(dc, all, SkinColorToRGB(ListColor));
    GdiObject<HBRUSH> frame(CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(SkinColorToRGB(ListFrameColor)))));
    const RECT r = all.ToRECT();
    FrameRect(dc, &r, frame.Get());
    SkinData->BGChanged = false;
}

void TacComboListWnd::PaintStripBelow()
{
    HWND combo = GetParent(AdaptedWnd);
    if (!combo)
        combo = GetWindow(AdaptedWnd, GW_OWNER);
    HWND parent = combo ? GetParent(combo) : nullptr;
    if (!parent)
        return;
    CacheReply = TCacheInfo{};
    SendSkinCmd(parent, SkinCmdGetCache, 0);
    const TCacheInfo ci = CacheReply;
    if (!ci.Ready || !ci.Bmp)
        return;
    RECT list{}, box{};
    GetWindowRect(AdaptedWnd, &list);
    GetWindowRect(combo, &box);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&list), 2);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&box), 2);
    if (box.bottom <= list.bottom)
        return;
    TScreenDC clientDC(parent);
    HDC dc = clientDC.Get();
    BitBlt(dc, box.left, list.bottom, box.right - box.left, box.bottom - list.bottom, ci.Bmp->Canvas()->Handle(),
           box.left + ci.X, list.bottom + ci.Y, SRCCOPY);
}

void TacComboListWnd::WMNCPaint(TMessage& message)
{
    GetWndPosInfo(this);
    PrepareListCache();
    if (!InDialog)
        PaintTransparentCorners(SkinData, 0, this);
    {
        TWindowDC windowDC(AdaptedWnd);
        HDC dc = windowDC.Get();
        if (!dc)
            return;
        TBitmap* cache = SkinData->CacheBmp();
        if (cache && cache->Width() > 0)
            CopyFrame(dc, 0, 0, cache->Width(), cache->Height(), cache->Canvas()->Handle(), 0, 0, kListFrame);
        message.Result = NcPaintBars(this, AdaptedWnd, dc, kPartNone);
    }
    if (SimpleBox)
        PaintStripBelow();
}

void TacComboListWnd::ListPrint(TMessage& message)
{
    PrepareListCache();
    message.Result = CallPrevWndProc(AdaptedWnd, message.Msg, message.WParam, message.LParam);
    if (message.Msg != WM_PRINT || SendMessageW(AdaptedWnd, LB_GETCOUNT, 0, 0) <= 0)
        return;
    HDC dc = reinterpret_cast<HDC>(message.WParam);
    TBitmap* cache = SkinData->CacheBmp();
    if (!ScrollBarPressed() && !ListShown && cache && cache->Width() > 0)
        CopyFrame(dc, 0, 0, cache->Width(), cache->Height(), cache->Canvas()->Handle(), 0, 0, kComboFrame);
    NcPaintBars(this, AdaptedWnd, dc, kPartNone);
}

void TacComboListWnd::NCClick(TMessage& message)
{
    TMessage hit{WM_NCHITTEST, 0, message.LParam, 0};
    TacEditWnd::WndProc(hit);
    if (hit.Result == HTHSCROLL || hit.Result == HTVSCROLL) {
        message.WParam = static_cast<WPARAM>(hit.Result);
        TacEditWnd::WndProc(message);
        return;
    }
    message.Result = 0;
}

void TacComboListWnd::WndProc(TMessage& message)
{
    if (!SkinData || !SkinData->Skinned()) {
        TacEditWnd::WndProc(message);
        return;
    }
    switch (message.Msg) {
    case WM_ERASEBKGND:
    case WM_HSCROLL:
    case WM_VSCROLL:
        message.Result = CallPrevWndProc(AdaptedWnd, message.Msg, message.WParam, message.LParam);
        return;
    case WM_TIMER:
        return;
    case WM_NCPAINT:
        if (!Detached)
            WMNCPaint(message);
        return;
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
        NCClick(message);
        return;
    case WM_LBUTTONUP:
        TacEditWnd::WndProc(message);
        if (SimpleBox)
            ReleaseCapture();
        return;
    case kListShowing:
        ListShown = true;
        break;
    case kListHiding:
        ListShown = false;
        SkinData->BGChanged = true;
        break;
    case WM_PRINT:
    case WM_PRINTCLIENT:
        if (message.WParam && Visible(AdaptedWnd)) {
            ListPrint(message);
            return;
        }
        break;
    default:
        break;
    }
    TacEditWnd::WndProc(message);
    if (message.Msg == WM_WINDOWPOSCHANGED && !Detached)
        UpdateScrollInfo(this, true);
}

TacAdapterPtr<> MakeComboBoxWnd(HWND wnd, TsSkinManager* manager, TsCommonData* data, const std::wstring& section)
{
    return MakeAdapter<TacComboBoxWnd>(wnd, true, section, manager, data);
}
