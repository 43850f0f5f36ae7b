#include "skin/forms/acEditAdapters.h"

#include "framework/ComCtrls.h"
#include "framework/DCScopes.h"
#include "framework/Forms.h"
#include "framework/ImgList.h"
#include "skin/core/sCommonData.h"
#include "skin/core/sMaskPainter.h"
#include "skin/core/sMessages.h"
#include "skin/core/sSkinForms.h"
#include "skin/core/sSkinManager.h"
#include "skin/core/sTextColors.h"
#include "skin/core/sVclUtils.h"

#include <commctrl.h>

#include <algorithm>
#include <memory>

namespace {

bool Visible(HWND wnd) { return IsWindowVisible(wnd) != FALSE; }

} // namespace

// ---- TacBaseWnd ----

void TacBaseWnd::WndProc(TMessage& message)
{
    if (!SkinData || !SkinData->Skinned()) {
        TacScrollWnd::WndProc(message);
        return;
    }
    switch (message.Msg) {
    case SM_SKINCMD:
        if (SkinCmdOf(message.WParam) == SkinCmdRefresh && message.LParam == reinterpret_cast<LPARAM>(Manager())) {
            TacScrollWnd::WndProc(message);
            // A form holding its paints during a skin change paints the frame when it lets them go.
            if (PaintsShown(AdaptedWnd))
                SendMessageW(AdaptedWnd, WM_NCPAINT, 0, 0);
            return;
        }
        if (SkinCmdOf(message.WParam) == SkinCmdPaintToDC)
            PaintAdapterCache(SkinData, AdaptedWnd, false);
        break;
    case WM_SIZE:
        SkinData->BGChanged = true;
        break;
    case WM_SETCURSOR:
        message.Result = PassSetCursor(this, AdaptedWnd, message.WParam, message.LParam);
        return;
    case 0x2100:
        message.Result = 0;
        return;
    default:
        break;
    }
    TacScrollWnd::WndProc(message);
    switch (message.Msg) {
    case WM_SIZE:
    case WM_HSCROLL:
    case WM_VSCROLL:
        if (!Detached)
            UpdateScrollInfo(this, true);
        break;
    case WM_ENABLE:
    case CM_ENABLEDCHANGED:
        if (!Detached && Visible(AdaptedWnd))
            SendMessageW(AdaptedWnd, WM_NCPAINT, 0, 0);
        break;
    default:
        break;
    }
}

// ---- TacEditWnd ----

void TacEditWnd::Create()
{
    if (!AdaptedWnd)
        return;
    TacBaseWnd::Create();
}

TWinControl* TacEditWnd::OwnerWinControl() const
{
    return SkinData ? dynamic_cast<TWinControl*>(SkinData->OwnerControl()) : nullptr;
}

void TacEditWnd::StoreWindowParams()
{
    TacBaseWnd::StoreWindowParams();
    if (TControl* control = SkinData ? SkinData->OwnerControl() : nullptr) {
        SavedColor = control->Color();
        SavedFontColor = control->Font()->Color();
    }
}

void TacEditWnd::RestoreWindowParams()
{
    TacBaseWnd::RestoreWindowParams();
    TControl* control = SkinData ? SkinData->OwnerControl() : nullptr;
    if (control && !control->HasState(csDestroying)) {
        control->SetColor(SavedColor);
        control->Font()->SetColor(SavedFontColor);
    }
}

void TacEditWnd::PrepareSkinParams()
{
    StyleLock = true;
    TacBaseWnd::PrepareSkinParams();
    const TsGeneralData* section = SkinData ? SkinData->Section() : nullptr;
    if (TControl* control = SkinData ? SkinData->OwnerControl() : nullptr) {
        if (section && !SkinData->CustomColor()) {
            if (section->Transparency != 0) {
                ParentBgColor = sNoColor;
                TColor color = sNoColor;
                if (TWinControl* parent = control->Parent()) {
                    SendSkinCmdToControl(parent, SkinCmdGetBgColor, 0);
                    color = ParentBgColor == sNoColor ? ColorToRGB(parent->Color()) : ParentBgColor;
                }
                ParentBgColor = sNoColor;
                if (color != sNoColor)
                    control->SetColor(color);
            } else if (control->Color() != section->Color) {
                control->SetColor(section->Color);
            }
        }
        if (section && !SkinData->CustomFont() && control->Font()->Color() != section->HotFontColor)
            control->Font()->SetColor(section->HotFontColor);
    } else {
        if (InDialog || !section)
            ListColor = clWindow;
        else
            ListColor = section->Color;
        ListFrameColor = 0;
    }
    if (SkinData)
        SkinData->BGChanged = true;
    StyleLock = false;
}

void TacEditWnd::PrepareOnce()
{
    if (!SkinParamsSet)
        PrepareSkinParams();
}

bool TacEditWnd::EditSkinCommand(TMessage& message)
{
    const bool mine = message.LParam == reinterpret_cast<LPARAM>(Manager());
    if (AnswerCommonSkinCmd(message, true))
        return true;
    switch (SkinCmdOf(message.WParam)) {
    case SkinCmdSkinRemoved:
        TacBaseWnd::WndProc(message);
        if (mine)
            SetWindowPos(AdaptedWnd, nullptr, 0, 0, 0, 0,
                         SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED | SWP_NOOWNERZORDER);
        return true;
    case SkinCmdRefresh:
        if (mine)
            PrepareSkinParams();
        TacBaseWnd::WndProc(message);
        return true;
    case SkinCmdEndParentUpdate:
        if (SkinData->Updating()) {
            SkinData->SetUpdating(false);
            RedrawWindow(AdaptedWnd, nullptr, nullptr,
                         RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
        }
        TacBaseWnd::WndProc(message);
        return true;
    case SkinCmdPaintToDC:
        PaintAdapterCache(SkinData, AdaptedWnd, InDialog);
        PaintTransparentCorners(SkinData, 0, this);
        return true;
    case SkinCmdGetSkinIndex:
        message.Result = SkinData->SkinIndex + 1;
        return true;
    default:
        return false;
    }
}

LRESULT TacEditWnd::PaintFrame(HDC dc)
{
    TWindowDC windowDC(AdaptedWnd, dc);
    dc = windowDC.Get();
    if (!dc)
        return 0;
    LRESULT result = 0;
    {
        TSavedDC saved(dc);
        TBitmap* cache = SkinData->CacheBmp();
        if (cache && cache->Width() > 0 && LeftEdge > 0) {
            HDC src = cache->Canvas()->Handle();
            CopyFrame(dc, 0, 0, cache->Width(), cache->Height(), src, 0, 0, LeftEdge);
        }
        result = NcPaintBars(this, AdaptedWnd, dc, kPartNone);
    }
    return result;
}

void TacEditWnd::WMNCPaint(TMessage& message)
{
    try {
        GetWndPosInfo(this);
        if (SkinData->Updating())
            return;
        if (SkinData->BGChanged) {
            PrepareOnce();
            PaintAdapterCache(SkinData, AdaptedWnd, InDialog);
            PaintTransparentCorners(SkinData, 0, this);
        }
        if (!InDialog)
            PaintTransparentCorners(SkinData, 0, this);
        UpdateScrollInfo(this, false);
        message.Result = PaintFrame(nullptr);
    } catch (...) {
        // A frame that cannot be painted now is painted at the next WM_NCPAINT.
    }
}

void TacEditWnd::WMPrint(TMessage& message)
{
    HDC dc = reinterpret_cast<HDC>(message.WParam);
    SkinData->SetUpdating(false);
    SkinData->BGChanged = true;
    PrepareOnce();
    GetWndPosInfo(this);
    PaintAdapterCache(SkinData, AdaptedWnd, InDialog);
    if (!InDialog)
        PaintTransparentCorners(SkinData, 0, this);
    if (!dc)
        return;
    PaintFrame(dc);
    {
        TSavedDC saved(dc);
        ClipToPrintedClient(dc);
        SendMessageW(AdaptedWnd, WM_ERASEBKGND, message.WParam, 0);
        SendMessageW(AdaptedWnd, WM_PAINT, message.WParam, 0);
        // Owned windows, not children: a child such as a list's header is printed by its adapter.
        SendMessageW(AdaptedWnd, WM_PRINTCLIENT, message.WParam, PRF_CLIENT | PRF_OWNED);
    }
}

void TacEditWnd::ClipToPrintedClient(HDC dc)
{
    TBitmap* cache = SkinData->CacheBmp();
    const int vBar = VertBar && VertBar->Shown ? GetScrollMetric(VertBar.get(), 1, false) : 0;
    const int hBar = HorzBar && HorzBar->Shown ? GetScrollMetric(HorzBar.get(), 1, false) : 0;
    OffsetWindowOrgEx(dc, -LeftEdge, -LeftEdge, nullptr);
    const int width = cache ? cache->Width() : WndSize.cx;
    const int height = cache ? cache->Height() : WndSize.cy;
    IntersectClipRect(dc, 0, 0, width - 2 * LeftEdge - vBar, height - 2 * LeftEdge - hBar);
}

void TacEditWnd::WndProc(TMessage& message)
{
    if (!SkinData || !SkinData->Skinned()) {
        TacBaseWnd::WndProc(message);
        return;
    }
    switch (message.Msg) {
    case SM_SKINCMD:
        if (!EditSkinCommand(message))
            TacBaseWnd::WndProc(message);
        return;
    case WM_PAINT:
        if (Visible(AdaptedWnd)) {
            if (SkinData->Updating()) {
                PAINTSTRUCT ps{};
                BeginPaint(AdaptedWnd, &ps);
                EndPaint(AdaptedWnd, &ps);
                return;
            }
            PrepareOnce();
        }
        break;
    case WM_ERASEBKGND:
        if (Visible(AdaptedWnd)) {
            if (SkinData->Updating())
                return;
            PrepareOnce();
        }
        break;
    case WM_NCPAINT:
        if (Visible(AdaptedWnd)) {
            WMNCPaint(message);
            return;
        }
        break;
    case WM_PRINT:
        WMPrint(message);
        // Not on through the base, which would answer the print with a paint of the window: the client
        // a second time, at the window's corner, over the frame.
        PassPrintOn(message, PRF_NONCLIENT | PRF_ERASEBKGND | PRF_CLIENT);
        return;
    default:
        break;
    }
    TacBaseWnd::WndProc(message);
    switch (message.Msg) {
    case WM_SIZE:
        if (Visible(AdaptedWnd) && !Detached)
            SendMessageW(AdaptedWnd, WM_NCPAINT, 0, 0);
        break;
    case EM_REPLACESEL:
    case LB_ADDSTRING:
    case LB_INSERTSTRING:
    case LB_SETTOPINDEX:
        UpdateScrollInfo(this, true);
        break;
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_LBUTTONDOWN:
    case CN_KEYDOWN:
    case CN_KEYUP:
        if (!Detached)
            UpdateScrollInfo(this, true);
        break;
    default:
        break;
    }
}

// ---- TacListViewWnd ----

TacListViewWnd::~TacListViewWnd()
{
    // A header left running through a freed adapter would crash at its next message.
    UnhookHeader();
}

void TacListViewWnd::Create()
{
    TacEditWnd::Create();
    if (!AdaptedWnd)
        return;
    if (HWND header = FindWindowExW(AdaptedWnd, nullptr, WC_HEADERW, nullptr); header && !HeaderWnd)
        HookHeader(header);
}

int TacListViewWnd::ViewStyle() const
{
    switch (SendMessageW(AdaptedWnd, LVM_GETVIEW, 0, 0)) {
    case LV_VIEW_ICON: return 0;
    case LV_VIEW_DETAILS: return 1;
    case LV_VIEW_SMALLICON: return 2;
    default: return 3;
    }
}

void TacListViewWnd::HookHeader(HWND header)
{
    if (!header || HeaderWnd == header)
        return;
    UnhookHeader();
    HeaderWnd = header;
    BindWindow(header, TWindowRole::ListViewHeader, this);
    HeaderDefProc = TakeOverWindowProc(header, TWindowRole::ListViewHeader, &TacListViewWnd::HeaderWndProc);
}

void TacListViewWnd::UnhookHeader()
{
    if (!HeaderWnd)
        return;
    if (IsWindow(HeaderWnd)) {
        GiveBackWindowProc(HeaderWnd, TWindowRole::ListViewHeader, &TacListViewWnd::HeaderWndProc, HeaderDefProc);
        UnbindWindow(HeaderWnd, TWindowRole::ListViewHeader, this);
        InvalidateRect(HeaderWnd, nullptr, TRUE);
    }
    HeaderWnd = nullptr;
    HeaderDefProc = nullptr;
}

void TacListViewWnd::StoreWindowParams()
{
    TacEditWnd::StoreWindowParams();
    SavedColor = static_cast<TColor>(SendMessageW(AdaptedWnd, LVM_GETBKCOLOR, 0, 0));
    SavedFontColor = static_cast<TColor>(SendMessageW(AdaptedWnd, LVM_GETTEXTCOLOR, 0, 0));
}

void TacListViewWnd::RestoreWindowParams()
{
    UnhookHeader();
    if (!OwnerWinControl() && AdaptedWnd && IsWindow(AdaptedWnd)) {
        // A foreign list view gets its own colours back; a framework control gets them through its Color.
        SendMessageW(AdaptedWnd, LVM_SETBKCOLOR, 0, static_cast<LPARAM>(SavedColor));
        SendMessageW(AdaptedWnd, LVM_SETTEXTBKCOLOR, 0, static_cast<LPARAM>(SavedColor));
        SendMessageW(AdaptedWnd, LVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(SavedFontColor));
    }
    TacEditWnd::RestoreWindowParams();
}

void TacListViewWnd::PrepareSkinParams()
{
    TacEditWnd::PrepareSkinParams();
    const TsGeneralData* section = SkinData ? SkinData->Section() : nullptr;
    TColor back = clWindow, text = clWindowText;
    if (!InDialog && section) {
        back = section->Color;
        text = section->FontColor;
    }
    const auto rgb = [](TColor c) { return static_cast<LPARAM>(ColorToRGB(SkinColorToRGB(c))); };
    if (SendMessageW(AdaptedWnd, LVM_GETBKCOLOR, 0, 0) != rgb(back))
        SendMessageW(AdaptedWnd, LVM_SETBKCOLOR, 0, rgb(back));
    if (SendMessageW(AdaptedWnd, LVM_GETTEXTBKCOLOR, 0, 0) != rgb(back))
        SendMessageW(AdaptedWnd, LVM_SETTEXTBKCOLOR, 0, rgb(back));
    if (SendMessageW(AdaptedWnd, LVM_GETTEXTCOLOR, 0, 0) != rgb(text))
        SendMessageW(AdaptedWnd, LVM_SETTEXTCOLOR, 0, rgb(text));
}

void TacListViewWnd::ThumbScroll(TMessage& message)
{
    const int pos = HIWORD(message.WParam);
    TacScrollBar* bar = message.Msg == WM_HSCROLL ? HorzBar.get() : VertBar.get();
    const int last = LastScrollPosSent();
    if (!bar || pos == last)
        return;
    if (message.Msg == WM_HSCROLL) {
        SendMessageW(AdaptedWnd, LVM_SCROLL, static_cast<WPARAM>(pos - last), 0);
        return;
    }
    int step = 1;
    if (ViewStyle() == 1) {
        RECT item{};
        item.left = LVIR_BOUNDS;
        if (SendMessageW(AdaptedWnd, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item)))
            step = std::max(1, static_cast<int>(item.bottom - item.top));
    }
    SendMessageW(AdaptedWnd, LVM_SCROLL, 0, static_cast<LPARAM>(step * (pos - last)));
}

void TacListViewWnd::WndProc(TMessage& message)
{
    if (!SkinData || !SkinData->Skinned()) {
        TacEditWnd::WndProc(message);
        return;
    }
    switch (message.Msg) {
    case SM_SKINCMD:
        if (SkinCmdOf(message.WParam) == SkinCmdGetSkinIndex) {
            message.Result = SkinData->SkinIndex + 1;
            return;
        }
        TacEditWnd::WndProc(message);
        if (SkinCmdOf(message.WParam) == SkinCmdRefresh && message.LParam == reinterpret_cast<LPARAM>(Manager()) &&
            HeaderWnd && PaintsShown(HeaderWnd))
            RedrawWindow(HeaderWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        return;
    case WM_PAINT:
        PrepareSkinParams();
        break;
    case WM_HSCROLL:
        if (LOWORD(message.WParam) == SB_THUMBTRACK) {
            ThumbScroll(message);
            return;
        }
        break;
    case WM_VSCROLL:
        if (LOWORD(message.WParam) == SB_THUMBTRACK)
            ThumbScroll(message);
        else
            message.Result = CallPrevWndProc(AdaptedWnd, message.Msg, message.WParam, message.LParam);
        return;
    default:
        break;
    }
    TacEditWnd::WndProc(message);
    switch (message.Msg) {
    case WM_STYLECHANGED:
    case LVM_ARRANGE:
        UpdateScrollInfo(this, true);
        break;
    case WM_LBUTTONUP:
        ReleaseCapture();
        break;
    case WM_PARENTNOTIFY:
        if (LOWORD(message.WParam) == WM_CREATE || LOWORD(message.WParam) == WM_DESTROY) {
            HWND child = reinterpret_cast<HWND>(message.LParam);
            wchar_t name[97] = {};
            GetClassNameW(child, name, 96);
            if (lstrcmpiW(name, WC_HEADERW) == 0) {
                UnhookHeader();
                if (LOWORD(message.WParam) == WM_CREATE)
                    HookHeader(child);
            }
        }
        break;
    case WM_PRINT:
        if (ViewStyle() == 1 && HeaderWnd && message.WParam) {
            HDC dc = reinterpret_cast<HDC>(message.WParam);
            TSavedDC saved(dc);
            ClipToPrintedClient(dc);
            PaintHeader(dc);
        }
        break;
    default:
        break;
    }
}

LRESULT CALLBACK TacListViewWnd::HeaderWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto* adapter = WindowObjectAs<TacListViewWnd>(wnd, TWindowRole::ListViewHeader);
    if (!adapter || !adapter->HeaderDefProc)
        return DefWindowProcW(wnd, msg, wParam, lParam);
    if (msg == WM_PAINT || msg == WM_NCPAINT || msg == WM_ERASEBKGND) {
        LRESULT held = 0;
        if (DropHeldPaint(wnd, msg, wParam, held))
            return held;
    }
    try {
        return adapter->HeaderMessage(wnd, msg, wParam, lParam);
    } catch (...) {
        if (Application)
            Application->HandleException(adapter);
        return 0;
    }
}

LRESULT TacListViewWnd::HeaderMessage(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    const WNDPROC def = HeaderDefProc;
    if (ViewStyle() != 1 || !SkinData || !SkinData->Skinned())
        return CallWindowProcW(def, wnd, msg, wParam, lParam);
    const bool buttons = (GetWindowLongPtrW(wnd, GWL_STYLE) & HDS_BUTTONS) != 0;
    switch (msg) {
    case WM_PAINT: {
        PAINTSTRUCT ps{};
        HDC dc = wParam ? reinterpret_cast<HDC>(wParam) : BeginPaint(wnd, &ps);
        PaintHeader(dc);
        if (!wParam)
            EndPaint(wnd, &ps);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_WINDOWPOSCHANGED:
        if (Visible(AdaptedWnd))
            SendMessageW(AdaptedWnd, WM_NCPAINT, 0, 0);
        return CallWindowProcW(def, wnd, msg, wParam, lParam);
    case WM_NCDESTROY: {
        const LRESULT result = CallWindowProcW(def, wnd, msg, wParam, lParam);
        ForgetWindow(wnd, TWindowRole::ListViewHeader);
        HeaderWnd = nullptr;
        HeaderDefProc = nullptr;
        return result;
    }
    case WM_LBUTTONUP:
        if (buttons)
            PressedColumn = -1;
        return CallWindowProcW(def, wnd, msg, wParam, lParam);
    case WM_LBUTTONDOWN: {
        const LRESULT result = CallWindowProcW(def, wnd, msg, wParam, lParam);
        if (buttons) {
            HeaderPressed = true;
            HDHITTESTINFO hit{};
            hit.pt = POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            const int item = static_cast<int>(SendMessageW(wnd, HDM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
            PressedColumn = (hit.flags & (HHT_ONDIVIDER | HHT_ONDIVOPEN)) ? -1 : item;
            RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE);
        }
        return result;
    }
    default:
        return CallWindowProcW(def, wnd, msg, wParam, lParam);
    }
}

void TacListViewWnd::PaintHeader(HDC dc)
{
    if (!HeaderWnd)
        return;
    const int count = static_cast<int>(SendMessageW(HeaderWnd, HDM_GETITEMCOUNT, 0, 0));
    std::vector<int> order(static_cast<std::size_t>(std::max(count, 0)));
    for (int i = 0; i < count; ++i)
        order[static_cast<std::size_t>(i)] = i;
    if ((GetWindowLongPtrW(HeaderWnd, GWL_STYLE) & HDS_DRAGDROP) && count > 0)
        SendMessageW(HeaderWnd, HDM_GETORDERARRAY, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(order.data()));
    int right = 0;
    for (int index : order) {
        RECT r{};
        if (!SendMessageW(HeaderWnd, HDM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r)))
            continue;
        if (r.right <= r.left || r.bottom <= r.top)
            continue;
        PaintHeaderItem(dc, index, TRect::FromRECT(r));
        HeaderLineHeight = r.bottom - r.top;
        right = std::max(right, static_cast<int>(r.right));
    }
    RECT client{};
    GetClientRect(HeaderWnd, &client);
    if (right < client.right)
        PaintHeaderItem(dc, -1, TRect{right, 0, client.right, client.bottom});
}

// The sort arrow of a header item: the scroll button's glyph pointing the item's way, or none.
const TsMaskData* TacListViewWnd::SortArrow(int fmt) const
{
    TsSkinManager* sm = Manager();
    if (!sm)
        return nullptr;
    int index = -1;
    if (fmt & HDF_SORTDOWN)
        index = sm->ConstData.ScrollBtnGlyph[1];
    else if (fmt & HDF_SORTUP)
        index = sm->ConstData.ScrollBtnGlyph[0];
    if (!IsValidMaskIndex(sm, index) || sm->Masks[static_cast<std::size_t>(index)].ImageCount <= 0)
        return nullptr;
    return &sm->Masks[static_cast<std::size_t>(index)];
}

// The column image of a framework list view (its small images), drawn at the item's left; the text
// moves right by the images' width.
void TacListViewWnd::PaintColumnImage(HDC dc, int index, int fmt, bool pressed, int height, TRect& text)
{
    auto* list = dynamic_cast<TListView*>(OwnerWinControl());
    if (!list || !(fmt & (HDF_IMAGE | HDF_OWNERDRAW)) || index >= list->Columns()->Count())
        return;
    TCustomImageList* images = list->SmallImages();
    if (!images)
        return;
    text.Left += images->Width();
    const int image = list->Columns()->Items(index)->ImageIndex();
    if (image >= 0 && image < ImageList_GetImageCount(images->Handle()))
        ImageList_Draw(images->Handle(), image, dc, pressed ? 5 : 4, (height - images->Height()) / 2, ILD_TRANSPARENT);
}

void TacListViewWnd::PaintHeaderItem(HDC dc, int index, const TRect& r)
{
    TsSkinManager* sm = Manager();
    if (!sm || r.IsEmpty())
        return;
    const bool pressed = index >= 0 && index == PressedColumn;
    const int state = pressed ? 2 : 0;
    int section = FindSectionIndex(sm, L"COLHEADER");
    std::wstring sectionName = L"COLHEADER";
    if (section < 0) {
        section = FindSectionIndex(sm, L"BUTTON");
        sectionName = L"BUTTON";
    }
    auto bmp = std::make_unique<TBitmap>();
    bmp->SetPixelFormat(pf24bit);
    bmp->SetHandleType(bmDIB);
    bmp->SetSize(r.Width(), r.Height());
    const TRect all{0, 0, r.Width(), r.Height()};
    if (TWinControl* control = OwnerWinControl())
        ParentBgColor = ColorToRGB(control->Color());
    PaintAdapterElement(sm, section, FindMaskIndex(sm, section, sectionName, L"BORDERSMASK"), bmp.get(), TPoint{}, all,
                        state, TCacheInfo{});
    ParentBgColor = sNoColor;
    if (index >= 0) {
        TCanvas* canvas = bmp->Canvas();
        // The header's font goes onto the canvas: the text writer selects the canvas's own font, so a font
        // selected around it would measure the text in one font while it is drawn in another.
        if (HFONT font = reinterpret_cast<HFONT>(SendMessageW(HeaderWnd, WM_GETFONT, 0, 0)))
            canvas->Font()->SetHandle(font);
        HDC bmpDC = canvas->Handle();
        TRect text{pressed ? 5 : 4, 1 + (pressed ? 1 : 0), r.Width() - 8, r.Height() - 1 + (pressed ? 1 : 0)};
        wchar_t buffer[129] = {};
        HDITEMW item{};
        item.mask = HDI_TEXT | HDI_FORMAT | HDI_BITMAP | HDI_IMAGE;
        item.pszText = buffer;
        item.cchTextMax = 128;
        SendMessageW(HeaderWnd, HDM_GETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
        PaintColumnImage(bmpDC, index, item.fmt, pressed, r.Height(), text);
        const TsMaskData* arrow = SortArrow(item.fmt);
        const int arrowWidth = arrow ? RectWidth(arrow->R) / MaskFrames(*arrow) + 6 : 0;
        const int arrowHeight = arrow ? RectHeight(arrow->R) / MaskRows(*arrow) : 0;
        SIZE extent{};
        GetTextExtentPoint32W(bmpDC, buffer, lstrlenW(buffer), &extent);
        const int textWidth = extent.cx + 5;
        if (item.fmt & HDF_RIGHT) {
            text.Right -= arrowWidth;
            text.Left = text.Right - textWidth;
        } else if (item.fmt & HDF_CENTER) {
            text.Left += (text.Width() - textWidth - arrowWidth) / 2;
        }
        text.Right = text.Left + textWidth;
        if (arrow)
            DrawSkinGlyph(bmp.get(), TPoint{text.Right + 6, (r.Height() - arrowHeight) / 2}, state, *arrow, 1);
        SetBkMode(bmpDC, TRANSPARENT);
        WriteTextEx(canvas, buffer, IsWindowEnabled(AdaptedWnd) != FALSE, sm, pressed, section,
                    DT_VCENTER | DT_SINGLELINE | DT_EXPANDTABS | DT_END_ELLIPSIS, text);
    }
    BitBlt(dc, r.Left, r.Top, r.Width(), r.Height(), bmp->Canvas()->Handle(), 0, 0, SRCCOPY);
}

// ---- TacTreeViewWnd ----

void TacTreeViewWnd::PrepareSkinParams()
{
    SkinParamsSet = true;
    const TsGeneralData* section = SkinData ? SkinData->Section() : nullptr;
    TColor color = clWindow;
    if (!InDialog && section) {
        if (TControl* control = SkinData->OwnerControl()) {
            if (!SkinData->CustomFont() && control->Font()->Color() != section->HotFontColor)
                control->Font()->SetColor(section->HotFontColor);
            if (ColorToRGB(control->Color()) == ColorToRGB(section->HotColor))
                return;
        }
        color = section->HotColor;
    }
    SendMessageW(AdaptedWnd, TVM_SETBKCOLOR, 0, static_cast<LPARAM>(ColorToRGB(SkinColorToRGB(color))));
}

void TacTreeViewWnd::WndProc(TMessage& message)
{
    if (!SkinData || !SkinData->Skinned()) {
        TacEditWnd::WndProc(message);
        return;
    }
    if (message.Msg == WM_ERASEBKGND) {
        if (!SkinData->Updating()) {
            if (SkinData->BGChanged)
                PaintAdapterCache(SkinData, AdaptedWnd, InDialog);
            const TsGeneralData* section = SkinData->Section();
            const TColor color = (InDialog || !section) ? clWindow : SkinColorToRGB(section->HotColor);
            TWindowDC dc(AdaptedWnd, reinterpret_cast<HDC>(message.WParam));
            RECT wr{};
            GetWindowRect(AdaptedWnd, &wr);
            FillDC(dc.Get(), TRect{0, 0, wr.right - wr.left, wr.bottom - wr.top}, color);
        }
        message.Result = 0;
        return;
    }
    TacEditWnd::WndProc(message);
    if (message.Msg == WM_LBUTTONUP)
        ReleaseCapture();
}
