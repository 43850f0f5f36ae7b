#include "skin/forms/acVirtualTree.h"

#include "framework/TypInfo.h"
#include "skin/core/acntUtils.h"
#include "skin/core/sCommonData.h"
#include "skin/core/sItemPainter.h"
#include "skin/core/sMaskPainter.h"
#include "skin/core/sMessages.h"
#include "skin/core/sSkinManager.h"
#include "skin/core/sTextColors.h"
#include "skin/core/sVclUtils.h"

#include <algorithm>
#include <any>

namespace {

constexpr const wchar_t* kColorNames[] = {L"CompressedTextColor", L"FileTextColor", L"FolderTextColor"};
constexpr const wchar_t* kOwnerDraw = L"hoOwnerDraw";
constexpr std::uint32_t kQueriedElements = 27; // background, drop mark, sort glyph, text

bool Visible(HWND wnd) { return IsWindowVisible(wnd) != FALSE; }
bool Has(std::uint32_t elements, TacHeaderPaintElement e) { return (elements & (1u << e)) != 0; }

// Assigns an event property that exists and is unassigned; Clear empties it whatever it holds.
template <class E>
void AssignEvent(TPersistent* obj, const std::wstring& name, const E& handler)
{
    const TPropInfo* info = obj ? GetPropInfo(obj, name) : nullptr;
    if (info && info->Kind == pkMethod && !info->Assigned(obj))
        info->SetMethod(obj, std::any(handler));
}

void ClearEvent(TPersistent* obj, const std::wstring& name)
{
    const TPropInfo* info = obj ? GetPropInfo(obj, name) : nullptr;
    if (info && info->Kind == pkMethod && info->Assigned(obj))
        info->SetMethod(obj, std::any());
}

std::wstring TextOf(const TPersistent* column)
{
    const TPropInfo* info = column ? GetPropInfo(column, L"Text") : nullptr;
    return info && info->GetText ? info->GetText(column) : std::wstring();
}

} // namespace

TPersistent* TacVirtualTreeViewWnd::Tree() const
{
    return SkinData ? SkinData->OwnerControl() : nullptr;
}

TPersistent* TacVirtualTreeViewWnd::Header() const
{
    return GetObjectPropByName(Tree(), L"Header");
}

void TacVirtualTreeViewWnd::StoreWindowParams()
{
    TacEditWnd::StoreWindowParams();
    const TPersistent* colors = GetObjectPropByName(Tree(), L"VETColors");
    if (colors) {
        SavedCompressedTextColor = GetOrdPropByName(colors, kColorNames[0]);
        SavedFileTextColor = GetOrdPropByName(colors, kColorNames[1]);
        SavedFolderTextColor = GetOrdPropByName(colors, kColorNames[2]);
    }
    SavedOwnerDraw = SetPropHasElement(Header(), L"Options", kOwnerDraw);
}

void TacVirtualTreeViewWnd::RestoreWindowParams()
{
    TacEditWnd::RestoreWindowParams();
    TPersistent* tree = Tree();
    if (!tree || SkinData->OwnerControl()->HasState(csDestroying))
        return;
    if (TPersistent* colors = GetObjectPropByName(tree, L"VETColors")) {
        const std::int64_t saved[] = {SavedCompressedTextColor, SavedFileTextColor, SavedFolderTextColor};
        for (int i = 0; i < 3; ++i)
            if (saved[i] != -1)
                SetOrdPropByName(colors, kColorNames[i], saved[i]);
    }
    ClearEvent(tree, L"OnAdvancedHeaderDraw");
    ClearEvent(tree, L"OnHeaderDrawQueryElements");
    ChangeSetPropElement(Header(), L"Options", kOwnerDraw, SavedOwnerDraw);
}

void TacVirtualTreeViewWnd::PrepareSkinParams()
{
    TacEditWnd::PrepareSkinParams();
    TPersistent* tree = Tree();
    const TsGeneralData* section = SkinData ? SkinData->Section() : nullptr;
    if (!tree || !section)
        return;
    if (TPersistent* colors = GetObjectPropByName(tree, L"VETColors"))
        for (const wchar_t* name : kColorNames)
            SetOrdPropByName(colors, name, section->HotFontColor);
    AssignEvent(tree, L"OnAdvancedHeaderDraw",
                TacAdvancedHeaderPaintEvent(this, &TacVirtualTreeViewWnd::AdvancedHeaderDraw));
    AssignEvent(tree, L"OnHeaderDrawQueryElements",
                TacHeaderPaintQueryElementsEvent(this, &TacVirtualTreeViewWnd::HeaderDrawQueryElements));
    ChangeSetPropElement(Header(), L"Options", kOwnerDraw, true);
}

void TacVirtualTreeViewWnd::HeaderDrawQueryElements(TPersistent*, TacHeaderPaintInfo&, std::uint32_t& elements)
{
    elements = kQueriedElements;
}

void TacVirtualTreeViewWnd::AdvancedHeaderDraw(TPersistent*, TacHeaderPaintInfo& info, std::uint32_t elements)
{
    TsSkinManager* sm = Manager();
    if (Detached || !SkinData || !SkinData->Skinned() || !sm || !info.TargetCanvas || info.PaintRectangle.IsEmpty())
        return;
    if (!info.Column) {
        const TsGeneralData* section = SkinData->Section();
        if (section)
            FillDC(info.TargetCanvas, info.PaintRectangle, SkinColorToRGB(section->Color));
        return;
    }
    PaintColumn(sm, info, elements);
}

void TacVirtualTreeViewWnd::PaintColumn(TsSkinManager* sm, TacHeaderPaintInfo& info, std::uint32_t elements)
{
    int section = FindSectionIndex(sm, L"COLHEADER");
    std::wstring name = L"COLHEADER";
    if (section < 0) {
        section = FindSectionIndex(sm, L"BUTTON");
        name = L"BUTTON";
    }
    const int state = info.IsDownIndex ? 2 : info.IsHoverIndex ? 1 : 0;
    const TRect& r = info.PaintRectangle;
    auto bmp = CreateBmp24(r.Width(), r.Height());
    const TRect all{0, 0, r.Width(), r.Height()};
    if (Has(elements, hpeBackground)) {
        TBitmap* cache = SkinData->CacheBmp();
        PaintAdapterElement(sm, section, FindMaskIndex(sm, section, name, L"BORDERSMASK"), bmp.get(), r.TopLeft(), all,
                            state, cache && cache->Width() > 0 ? TCacheInfo{cache, 0, 0, true} : TCacheInfo{});
    } else {
        BitBlt(bmp->Canvas()->Handle(), 0, 0, r.Width(), r.Height(), info.TargetCanvas, r.Left, r.Top, SRCCOPY);
    }
    const std::wstring text = TextOf(info.Column);
    HDC dc = bmp->Canvas()->Handle();
    SetBkMode(dc, TRANSPARENT);
    const bool enabled = IsWindowEnabled(AdaptedWnd) != FALSE;
    if (Has(elements, hpeText))
        WriteTextEx(bmp->Canvas(), text.c_str(), enabled, sm, state > 0, section, DT_SINGLELINE | DT_VCENTER | DT_LEFT,
                    TRect{4, 0, r.Width() - 4, r.Height()});
    if (Has(elements, hpeSortGlyph) && info.ShowSortGlyph) {
        // Any direction but the first points up; a header without the property counts as the first.
        const TPersistent* header = Header();
        const bool up = HasProperty(header, L"SortDirection") && GetOrdPropByName(header, L"SortDirection") != 0;
        const int button = up ? 0 : 1;
        const int glyph = sm->ConstData.ScrollBtnGlyph[button];
        if (IsValidMaskIndex(sm, glyph) && sm->Masks[static_cast<std::size_t>(glyph)].ImageCount > 0) {
            const TsMaskData& md = sm->Masks[static_cast<std::size_t>(glyph)];
            const int height = RectHeight(md.R) / MaskRows(md);
            DrawSkinGlyph(bmp.get(), TPoint{info.SortGlyphPos.X - r.Left, (r.Height() - height) / 2}, state, md, 1);
        }
    }
    if (Has(elements, hpeDropMark))
        WriteTextEx(bmp->Canvas(), text.c_str(), enabled, sm, state > 0, section, DT_SINGLELINE | DT_VCENTER,
                    TRect{4, 0, r.Width() - 4, r.Height()});
    BitBlt(info.TargetCanvas, r.Left, r.Top, r.Width(), r.Height(), dc, 0, 0, SRCCOPY);
}

void TacVirtualTreeViewWnd::WMNCPaint(TMessage& message)
{
    try {
        GetWndPosInfo(this);
        if (SkinData->Updating())
            return;
        if (SkinData->BGChanged) {
            PrepareOnce();
            PaintAdapterCache(SkinData, AdaptedWnd, InDialog);
        }
        PaintTransparentCorners(SkinData, 0, this);
        TWindowDC windowDC(AdaptedWnd);
        HDC dc = windowDC.Get();
        if (!dc)
            return;
        LPARAM flags = 0;
        CallPrevWndProc(AdaptedWnd, WM_PRINT, reinterpret_cast<WPARAM>(dc), flags);
        message.Result = PaintFrame(dc);
    } catch (...) {
        // The tree paints its frame again at its next WM_NCPAINT.
    }
}

void TacVirtualTreeViewWnd::WMPrint(TMessage& message)
{
    SkinData->SetUpdating(false);
    if (SkinData->BGChanged) {
        PrepareOnce();
        PaintAdapterCache(SkinData, AdaptedWnd, false);
    }
    HDC dc = reinterpret_cast<HDC>(message.WParam);
    if (!dc)
        return;
    int top = LeftEdge;
    if (TPersistent* header = Header(); header && SetPropHasElement(header, L"Options", L"hoVisible"))
        top += static_cast<int>(std::max<std::int64_t>(GetOrdPropByName(header, L"Height"), 0));
    {
        TSavedDC saved(dc);
        OffsetWindowOrgEx(dc, -LeftEdge, -top, nullptr);
        LPARAM clientFlags = PRF_CLIENT;
        CallPrevWndProc(AdaptedWnd, WM_PRINTCLIENT, message.WParam, clientFlags);
    }
    message.Result = CallPrevWndProc(AdaptedWnd, WM_PRINT, message.WParam, message.LParam);
    PaintTransparentCorners(SkinData, 0, this);
    PaintFrame(dc);
}

void TacVirtualTreeViewWnd::WndProc(TMessage& message)
{
    if (!SkinData || !SkinData->Skinned()) {
        TacEditWnd::WndProc(message);
        return;
    }
    switch (message.Msg) {
    case WM_ERASEBKGND:
        message.Result = 1;
        return;
    case WM_NCPAINT:
        if (Visible(AdaptedWnd)) {
            WMNCPaint(message);
            return;
        }
        break;
    case WM_HSCROLL:
    case WM_VSCROLL:
        if (LOWORD(message.WParam) == SB_THUMBTRACK) {
            const int bar = message.Msg == WM_HSCROLL ? SB_HORZ : SB_VERT;
            SCROLLINFO si{};
            si.cbSize = sizeof(si);
            si.fMask = SIF_ALL;
            GetScrollInfo(AdaptedWnd, bar, &si);
            si.nPos = si.nTrackPos;
            si.fMask = SIF_POS;
            SetScrollInfo(AdaptedWnd, bar, &si, FALSE);
        }
        break;
    case WM_PRINT:
        WMPrint(message);
        return;
    default:
        break;
    }
    TacEditWnd::WndProc(message);
}

TacAdapterPtr<> MakeVirtualTreeViewWnd(HWND wnd, TsSkinManager* manager, TsCommonData* data,
                                       const std::wstring& section)
{
    return MakeAdapter<TacVirtualTreeViewWnd>(wnd, true, section, manager, data);
}
