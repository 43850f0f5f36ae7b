// The skinned tab strip's painting: the strip over the parent's background, the page, each tab from the
// skin's tab sections with its caption (turned for side tabs), the copy to the screen, and the own
// arrows that scroll a single row of tabs.
#include "skin/controls/sTabControl.h"

#include "skin/controls/sUpDown.h"
#include "skin/core/sCommonData.h"
#include "skin/core/sControlPaint.h"
#include "skin/core/sItemPainter.h"
#include "skin/core/sMessages.h"
#include "skin/core/sSkinForms.h"
#include "skin/core/sSkinManager.h"
#include "skin/core/sTextColors.h"
#include "skin/core/sVclUtils.h"

#include <commctrl.h>
#include <optional>

namespace {

const wchar_t* const kTabSections[4] = {L"TABTOP", L"TABBOTTOM", L"TABLEFT", L"TABRIGHT"};

// A font handle, deleted with its owner.
using TFontObject = GdiObject<HFONT>;

struct TTabSkin {
    int Section = -1;
    int Border = -1;
    std::wstring Name;
};

} // namespace

std::wstring TsCustomTabControl::PageSection() const
{
    switch (TabSide()) {
    case tpBottom: return skinData_->SkinSection() + L"BOTTOM";
    case tpLeft: return skinData_->SkinSection() + L"LEFT";
    case tpRight: return skinData_->SkinSection() + L"RIGHT";
    default: return skinData_->SkinSection();
    }
}

TRect TsCustomTabControl::PageRect()
{
    RECT adjusted = ClientRect().ToRECT();
    SendMessageW(handle_, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&adjusted));
    adjusted.top += 2;
    TRect page{0, 0, Width(), Height()};
    switch (TabSide()) {
    case tpTop: page.Top = adjusted.top - 4; break;
    case tpBottom: page.Bottom = adjusted.bottom + 1; break;
    case tpLeft: page.Left = adjusted.left - 1; break;
    case tpRight: page.Right = adjusted.right + 1; break;
    }
    return page;
}

void TsCustomTabControl::PaintSkinned(HDC dc)
{
    if (!dc)
        return;
    if (TWinControl* parent = Parent()) {
        const TRect client = parent->ClientRect();
        if (Left() < 0 || Top() < 0 || Left() + Width() > client.Right || Top() + Height() > client.Bottom ||
            QuerySkinCmd(parent, SkinCmdGetPartlyHidden))
            skinData_->BGChanged = true;
    }
    // The control paints as its page: captions without tab images take the page section's colours. A
    // skin that lacks the page's own section keeps the control skinned by its base section.
    const int pageIndex = FindSectionIndex(skinData_->GetSkinManager(), PageSection());
    if (IsValidSectionIndex(skinData_->GetSkinManager(), pageIndex))
        skinData_->SkinIndex = pageIndex;
    if (!skinData_->Updating() && !sizing_) {
        UpdateTabInfos();
        skinData_->InitCacheBmp();
        if (skinData_->BGChanged)
            PaintCache();
    }
    TBitmap* cache = skinData_->CacheBmp();
    if (cache && cache->Width() > 0 && cache->Height() > 0) {
        const TRect all{0, 0, Width(), Height()};
        CopyWinControlCache(this, skinData_.get(), all, 0, 0, false, dc, all);
    }
    ::PaintControls(dc, this, TPoint{0, 0});
    RefreshChildControls(this);
}

void TsCustomTabControl::PaintCache()
{
    TsSkinManager* sm = skinData_->GetSkinManager();
    TBitmap* cache = skinData_->CacheBmp();
    if (!sm || !cache)
        return;
    TCacheInfo ci;
    skinData_->GetParentCache(ci);
    if (GetTabs()->GetCount() > 0)
        PaintTabsBackground(ci);

    const TRect page = PageRect();
    const std::wstring pageSection = PageSection();
    const int pageIndex = FindSectionIndex(sm, pageSection);
    TCacheInfo pageCi = ci;
    pageCi.X += Left();
    pageCi.Y += Top();
    ParentBgColor = sNoColor;
    if (Parent()) {
        SendSkinCmdToControl(Parent(), SkinCmdGetBgColor, 0);
        if (ParentBgColor == sNoColor)
            ParentBgColor = ColorToRGB(Parent()->Color());
    }
    try {
        PaintItemByIndex(pageIndex, pageSection, pageCi, -1, -1, sm, cache, TPoint{page.Left, page.Top}, page, 0, true);
    } catch (...) {
        ParentBgColor = sNoColor;
        throw;
    }
    ParentBgColor = sNoColor;
    PaintTab(CurrentPosition(), true);
    skinData_->BGChanged = false;
}

void TsCustomTabControl::PaintTabsBackground(const TCacheInfo& parentCache)
{
    TBitmap* cache = skinData_->CacheBmp();
    const TRect page = PageRect();
    const TTabPosition side = TabSide();
    TRect strip{0, 0, Width(), Height()};
    switch (side) {
    case tpTop: strip.Bottom = page.Top; break;
    case tpBottom: strip.Top = page.Bottom; break;
    case tpLeft: strip.Right = page.Left; break;
    case tpRight: strip.Left = page.Right; break;
    }
    HDC dc = cache->Canvas()->Handle();
    if (parentCache.Ready && parentCache.Bmp) {
        BitBlt(dc, strip.Left, strip.Top, strip.Width(), strip.Height(), parentCache.Bmp->Canvas()->Handle(),
               parentCache.X + Left() + strip.Left, parentCache.Y + Top() + strip.Top, SRCCOPY);
    } else {
        // The page's edge may leave a few pixels of the strip uncovered: the fill reaches under it.
        TRect deeper = strip;
        switch (side) {
        case tpTop: deeper.Bottom += 4; break;
        case tpBottom: deeper.Top -= 4; break;
        case tpLeft: deeper.Right += 4; break;
        case tpRight: deeper.Left -= 4; break;
        }
        FillDC(dc, deeper, Parent() ? Parent()->Color() : Color());
    }
    const int current = CurrentPosition();
    for (int i = 0; i < static_cast<int>(TabInfos().size()); ++i)
        if (i != current)
            PaintTab(i, false);
}

void TsCustomTabControl::PaintTab(int position, bool active)
{
    if (position < 0 || position >= static_cast<int>(TabInfos().size()))
        return;
    const TRect r = GetTabRect(position);
    if (active && r.Left < -2)
        return;
    // A tab scrolled out of the row may come back from the system with an empty rectangle.
    const TsTabInfo& native = TabInfos()[static_cast<size_t>(position)];
    if (native.Width <= 0 || native.Height <= 0)
        return;
    TBitmap* cache = skinData_->CacheBmp();
    TsSkinManager* sm = skinData_->GetSkinManager();
    if (!cache || !sm || r.IsEmpty())
        return;
    HDC dc = cache->Canvas()->Handle();
    // The cache's canvas keeps its own idea of what is selected into its surface, so only the clipping
    // is undone, not a whole saved state.
    std::optional<TClipScope> clip;
    if (scroller_ && !SideTabs()) {
        const TRect s = scroller_->BoundsRect();
        if (s.Left < r.Right && r.Left < s.Right && s.Top < r.Bottom && r.Top < s.Bottom)
            clip.emplace(dc, s, TClipTo::Outside);
    }
    // A skin's first section may be its tab section too: only a missing section means no tab images.
    TTabSkin skin;
    if (sm->ConstData.Tab[0] >= 0) {
        if (style_ == tsTabs) {
            const TTabPosition side = TabSide();
            skin.Section = sm->ConstData.Tab[side];
            skin.Border = sm->ConstData.TabBorder[side];
            skin.Name = kTabSections[side];
        } else {
            skin.Name = style_ == tsButtons ? L"BUTTON" : L"TOOLBUTTON";
            skin.Section = FindSectionIndex(sm, skin.Name);
            skin.Border = FindMaskIndex(sm, skin.Section, skin.Name, L"BORDERSMASK");
        }
        auto tab = IsValidSectionIndex(sm, skin.Section) && IsValidMaskIndex(sm, skin.Border)
                       ? CreateBmp24(r.Width(), r.Height())
                       : nullptr;
        if (tab) {
            BitBlt(tab->Canvas()->Handle(), 0, 0, r.Width(), r.Height(), dc, r.Left, r.Top, SRCCOPY);
            const int texture = FindTextureIndex(sm, skin.Section, skin.Name, L"PATTERN");
            const int hotTexture = FindTextureIndex(sm, skin.Section, skin.Name, L"HOTPATTERN");
            PaintItemFast(skin.Section, skin.Border, texture, hotTexture, sm, tab.get(), TPoint{0, 0},
                          TRect{0, 0, r.Width(), r.Height()}, active ? 2 : 0, true,
                          MakeCacheInfo(cache, r.Left, r.Top), skin.Name);
            BitBlt(dc, r.Left, r.Top, r.Width(), r.Height(), tab->Canvas()->Handle(), 0, 0, SRCCOPY);
        }
    }
    const TsTabInfo& info = TabInfos()[static_cast<size_t>(position)];
    const int textSection = IsValidSectionIndex(sm, skin.Section) ? skin.Section : skinData_->SkinIndex;
    if (ownerDraw_)
        DrawTab(info.TabIndex, r, active);
    else if (SideTabs())
        PaintSideCaption(info, r, active, textSection);
    else
        PaintCaption(info, r, active, textSection);
}

void TsCustomTabControl::PaintCaption(const TsTabInfo& info, const TRect& r, bool active, int sectionIndex)
{
    TCanvas* canvas = skinData_->CacheBmp()->Canvas();
    canvas->Font()->Assign(Font());
    canvas->Brush()->SetStyle(bsClear);
    SetBkMode(canvas->Handle(), TRANSPARENT);
    TCustomImageList* images = Images();
    const bool withImage = images && info.ImageIndex >= 0 && info.ImageIndex < images->Count();
    TRect textRect = r;
    int imageWidth = 0;
    if (withImage) {
        imageWidth = images->Width();
        const int total = canvas->TextWidth(info.Caption) + imageWidth + 8;
        const int x = r.Left + (r.Width() - total) / 2;
        images->Draw(canvas, x, r.Top + (r.Height() - images->Height()) / 2, info.ImageIndex, Enabled());
        textRect.Left = x + imageWidth;
        textRect.Right = x + total;
    }
    const UINT flags = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
    WriteTextEx(canvas, info.Caption.c_str(), withImage ? Enabled() : true, skinData_->GetSkinManager(), active,
                sectionIndex, flags, textRect);
    if (active && Focused()) {
        TRect measured = textRect;
        DrawTextStr(canvas->Handle(), info.Caption, measured, flags | DT_CALCRECT);
        const int w = measured.Width(), h = measured.Height();
        RECT focus{textRect.Left + (textRect.Width() - w) / 2 - 2, textRect.Top + (textRect.Height() - h) / 2 - 1, 0, 0};
        focus.right = focus.left + w + 4;
        focus.bottom = focus.top + h + 2;
        DrawFocusRect(canvas->Handle(), &focus);
    }
}

// Side captions run along the tab: upwards on the left side, downwards on the right.
void TsCustomTabControl::PaintSideCaption(const TsTabInfo& info, TRect r, bool active, int sectionIndex)
{
    TsSkinManager* sm = skinData_->GetSkinManager();
    HDC dc = skinData_->CacheBmp()->Canvas()->Handle();
    LOGFONTW lf{};
    lf.lfHeight = Font()->Height();
    lf.lfWeight = FW_NORMAL;
    lf.lfItalic = Font()->Style().Contains(fsItalic);
    lf.lfUnderline = Font()->Style().Contains(fsUnderline);
    lf.lfStrikeOut = Font()->Style().Contains(fsStrikeOut);
    lf.lfCharSet = static_cast<BYTE>(Font()->Charset());
    const bool left = TabSide() == tpLeft;
    lf.lfEscapement = lf.lfOrientation = left ? -2700 : -900;
    lstrcpynW(lf.lfFaceName, L"Arial", LF_FACESIZE);
    TFontObject font(CreateFontIndirectW(&lf));
    TSelectedObject selectedFont(dc, font.Get());
    TColor color = clBlack;
    if (IsValidSectionIndex(sm, sectionIndex)) {
        const TsGeneralData& s = sm->Sections[static_cast<size_t>(sectionIndex)];
        color = active ? s.HotFontColor : s.FontColor;
    }
    if (!Enabled())
        color = clGray;
    SetTextColor(dc, static_cast<COLORREF>(ColorToRGB(color)));
    SetBkMode(dc, TRANSPARENT);
    SIZE extent{};
    GetTextExtentPoint32W(dc, info.Caption.c_str(), static_cast<int>(info.Caption.size()), &extent);
    const int tw = extent.cx, th = extent.cy;
    TCustomImageList* images = Images();
    const bool withImage = images && info.ImageIndex >= 0;
    const int iw = withImage ? images->Width() : 0, ih = withImage ? images->Height() : 0;
    if (!left) {
        r.Left -= 2;
        r.Right -= 2;
        r.Top -= 1;
        r.Bottom -= 1;
    }
    if (withImage && active) {
        r.Left += 2;
        r.Right += 2;
    }
    const int w = r.Width(), h = r.Height();
    const int d = h - (ih + tw + 4);
    TPoint text;
    if (withImage) {
        const int imageY = left ? r.Bottom - d / 2 - ih : r.Top + d / 2;
        images->Draw(skinData_->CacheBmp()->Canvas(), r.Left + (w - iw) / 2, imageY, info.ImageIndex, Enabled());
        text = left ? TPoint{r.Left + (w - th) / 2, imageY - 4} : TPoint{r.Left + (w - th) / 2 + th, imageY + ih + 4};
    } else {
        text = left ? TPoint{r.Left + (w - th) / 2, r.Bottom - (h - tw) / 2}
                    : TPoint{r.Left + (w - th) / 2 + th, r.Top + (h - tw) / 2};
    }
    TextOutW(dc, text.X, text.Y, info.Caption.c_str(), static_cast<int>(info.Caption.size()));
    if (active && Focused()) {
        RECT focus = r.ToRECT();
        InflateRect(&focus, (th - w) / 2, (tw - h) / 2 + 2);
        if (withImage)
            OffsetRect(&focus, 0, (left ? -1 : 1) * (ih + 4) / 2);
        DrawFocusRect(dc, &focus);
    }
}

// ---- The own arrows ----

void TsCustomTabControl::DestroyNativeArrows()
{
    if (!HandleAllocated())
        return;
    for (int guard = 0; guard < 16; ++guard) {
        HWND arrows = FindWindowExW(handle_, nullptr, UPDOWN_CLASSW, nullptr);
        if (!arrows || !DestroyWindow(arrows))
            break;
    }
}

void TsCustomTabControl::FreeScroller()
{
    if (!scroller_)
        return;
    TsUpDown* scroller = scroller_;
    scroller_ = nullptr;
    Free(scroller);
}

void TsCustomTabControl::UpdateScroller()
{
    if (!Skinned() || multiLine_ || SideTabs() || !HandleAllocated() || HasState(csDestroying)) {
        FreeScroller();
        return;
    }
    DestroyNativeArrows();
    const int width = 2 * GetSystemMetrics(SM_CXHSCROLL);
    const int height = GetSystemMetrics(SM_CYHSCROLL);
    // The first tab the row shows: tabs scrolled off to the left come back from the system with
    // rectangles left of 0, or (on some systems) empty.
    const int count = tabs_->GetCount();
    int firstShown = 0;
    for (; firstShown < count; ++firstShown) {
        RECT r{};
        SendMessageW(handle_, TCM_GETITEMRECT, static_cast<WPARAM>(firstShown), reinterpret_cast<LPARAM>(&r));
        if (r.left >= 0 && r.right > r.left)
            break;
    }
    int hidden = 0;
    for (int i = 0; i < static_cast<int>(TabInfos().size()); ++i) {
        const TsTabInfo& info = TabInfos()[static_cast<size_t>(i)];
        if (!CanScrollTab(info.TabIndex))
            continue;
        const TRect r = GetTabRect(i);
        if (info.TabIndex < firstShown || (!r.IsEmpty() && (r.Right > Width() - width - 3 || r.Right <= 4)))
            ++hidden;
    }
    if (hidden == 0) {
        FreeScroller();
        return;
    }
    if (!scroller_) {
        scroller_ = Create<TsUpDown>(this);
        scroller_->SetOrientation(udHorizontal);
        scroller_->SetMin(0);
        scroller_->SetIncrement(1);
        scroller_->SetShowInaccessibility(false);
        scroller_->OnClick = TUDClickEvent(this, &TsCustomTabControl::ScrollerClick);
        scroller_->SetBounds(Width() - width, tabPosition_ == tpTop ? 0 : Height() - height, width, height);
        scroller_->SetParent(this);
    } else {
        scroller_->SetBounds(Width() - width, tabPosition_ == tpTop ? 0 : Height() - height, width, height);
    }
    scroller_->SetMax(hidden);
    scroller_->SetPosition(firstShown);
}

void TsCustomTabControl::ScrollerClick(TObject*, TUDBtnType)
{
    if (!scroller_ || !HandleAllocated())
        return;
    SendMessageW(handle_, WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, scroller_->Position()), 0);
}
