// The menu painter's state, hooking, measuring, popup background and popup region. The drawing of
// items is in sSkinMenusDraw.cpp.
#include "skin/forms/sSkinMenus.h"

#include "framework/Forms.h"
#include "framework/Menus.h"
#include "framework/Startup.h"
#include "framework/WinApi.h"
#include "framework/WindowBinding.h"
#include "skin/core/acntUtils.h"
#include "skin/core/sMessages.h"
#include "skin/core/sSkinLinks.h"
#include "skin/core/sVclUtils.h"
#include "skin/forms/sSkinMenusPaint.h"
#include "skin/forms/sSkinMenusState.h"

#include <algorithm>
#include <cmath>

namespace menustate {

std::unique_ptr<TBitmap> MenuBackground;
TMenuItem* CachedFirstItem = nullptr;
bool ExtraLineFetched = false;
bool ExtraLineFetching = false;
bool ExtraLineVisible = false;
std::wstring ExtraLineSection;
std::wstring ExtraLineCaption;
std::unique_ptr<TBitmap> ExtraLineGlyph;
TsMenuItemType CurrentItemType = smNormal;
int IcoLineWidth = 0;
bool SkinnedPopupOpen = false;

TMenuItem* FirstItemOf(TMenuItem* item)
{
    TMenuItem* parent = item ? item->Parent() : nullptr;
    return parent && parent->Count() > 0 ? parent->Items(0) : nullptr;
}

bool IsTitleItem(const TMenuItem* item)
{
    const std::wstring& c = item->Caption();
    return c.size() >= 2 && c.front() == L'-' && c.back() == L'-';
}

bool IsTopMainMenuItem(TMenuItem* item)
{
    TMenuItem* parent = item->Parent();
    return parent && !parent->Parent() && dynamic_cast<TMainMenu*>(item->GetParentMenu()) != nullptr;
}

bool InLaterColumn(TMenuItem* item)
{
    TMenuItem* parent = item->Parent();
    if (!ExtraLineFetched || !parent)
        return false;
    const int index = parent->IndexOf(item);
    for (int i = 0; i <= index; ++i)
        if (parent->Items(i)->Break() != mbNone)
            return true;
    return false;
}

TSize MenuGlyphSize(TMenuItem* item)
{
    if (!item)
        return TSize{16, 16};
    TBitmap* bmp = item->Bitmap();
    if (bmp && !bmp->Empty())
        return TSize{bmp->Width(), bmp->Height()};
    TMenu* menu = item->GetParentMenu();
    if (menu && menu->Images())
        return TSize{menu->Images()->Width(), menu->Images()->Height()};
    return TSize{16, 16};
}

TCustomForm* GetOwnerForm(TMenuItem* item)
{
    TComponent* c = item->GetParentMenu();
    if (!c)
        c = item;
    for (; c; c = c->Owner())
        if (auto* form = dynamic_cast<TCustomForm*>(c))
            return form;
    return nullptr;
}

HDC SelectedFontDC(TCanvas* canvas)
{
    // The canvas selects its font on its first text call.
    canvas->TextExtent(L"");
    return canvas->Handle();
}

} // namespace menustate

using namespace menustate;

namespace {

LRESULT CALLBACK PopupMenuWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    WNDPROC old = OriginalWindowProc(wnd, TWindowRole::PopupMenu);
    try {
        switch (msg) {
        case WM_ERASEBKGND:
        case WM_NCPAINT:
            // The item painter repaints the whole window from the background.
            return 1;
        case WM_DESTROY:
            ClearMenuCache();
            break;
        default:
            break;
        }
    } catch (...) {
        if (Application)
            Application->HandleException(nullptr);
    }
    return old ? CallWindowProcW(old, wnd, msg, wParam, lParam) : DefWindowProcW(wnd, msg, wParam, lParam);
}

} // namespace

// ---- unit state ----

TBitmap* MenuBackground()
{
    return menustate::MenuBackground.get();
}

TacPendingMenuLineItem& PendingMenuLineItem()
{
    static TacPendingMenuLineItem pending;
    return pending;
}

void FreeMenuBackground()
{
    menustate::MenuBackground.reset();
}

bool IsChildIconShown()
{
    const TacSkinLinks& links = SkinLinks();
    const LRESULT provider = links.MDIMainProvider ? links.MDIMainProvider() : 0;
    TacMenuLineSource source;
    if (!provider || !links.MenuLineSource || !links.MenuLineSource(provider, source) || !source.Form ||
        source.Form->FormStyle() != fsMDIForm)
        return false;
    // Every form has an icon object; one without an image makes the frame painter take another icon.
    TCustomForm* child = source.Form->ActiveMDIChild();
    return child && child->WindowState() == wsMaximized;
}

void ClearMenuCache()
{
    menustate::MenuBackground.reset();
    CachedFirstItem = nullptr;
    ExtraLineVisible = false;
    ExtraLineFetched = false;
}

bool SkinnedPopupOpen()
{
    return menustate::SkinnedPopupOpen;
}

void SetSkinnedPopupOpen(bool value)
{
    menustate::SkinnedPopupOpen = value;
}

TsMenuItemType CurrentItemType()
{
    return menustate::CurrentItemType;
}

void FinalizeSkinMenus()
{
    ClearMenuCache();
    ExtraLineGlyph.reset();
    ExtraLineSection.clear();
    ExtraLineCaption.clear();
}

std::unique_ptr<IacSkinMenus> MakeSkinableMenus(TsSkinManager* owner)
{
    return std::make_unique<TsSkinableMenus>(owner);
}

// ---- TsSkinableMenus ----

TsSkinableMenus::TsSkinableMenus(TsSkinManager* manager)
    : captionFont_(std::make_unique<TFont>()), owner_(manager)
{
}

TsSkinableMenus::~TsSkinableMenus()
{
    // Items must not keep handlers of a painter that is gone: the next draw of such a menu would call
    // into freed memory. Whatever this painter put in is taken out again.
    if (active_ && owner_ && Application && !Application->HasState(csDestroying)) {
        unhookingAll_ = true;
        try {
            for (int i = 0; i < Application->ComponentCount(); ++i)
                HookComponentMenus(Application->Components(i), false);
        } catch (...) {
        }
    }
    owner_ = nullptr;
}

void TsSkinableMenus::SetAlignment(TAlignment value)
{
    if (alignment_ != value)
        alignment_ = value;
}

void TsSkinableMenus::SetCaptionFont(TFont* value)
{
    captionFont_->Assign(value);
}

int TsSkinableMenus::SkinBorderWidth()
{
    if (skinBorderWidth_ >= 0)
        return skinBorderWidth_;
    const int mask = owner_ ? FindMaskIndexNoParent(owner_, L"MAINMENU", L"BORDERSMASK") : -1;
    if (!IsValidMaskIndex(owner_, mask)) {
        skinBorderWidth_ = 0;
    } else {
        const int width = owner_->Masks[static_cast<size_t>(mask)].BorderWidth;
        skinBorderWidth_ = width <= 0 ? 3 : width;
    }
    return skinBorderWidth_;
}

int TsSkinableMenus::ExtraLineOffset() const
{
    TacMenuSupport* support = owner_ ? owner_->MenuSupport() : nullptr;
    return support && support->UseExtraLine && ExtraLineVisible ? support->ExtraLineWidth : 0;
}

// ---- hooking ----

void TsSkinableMenus::SetActive(bool value)
{
    if (active_ == value)
        return;
    active_ = value;
    if (!owner_ || owner_->HasState(csDesigning) || !Application)
        return;
    try {
        for (int i = 0; i < Application->ComponentCount(); ++i)
            HookComponentMenus(Application->Components(i), value);
    } catch (...) {
        // A menu that cannot be switched keeps its old look; the others still follow the skin.
    }
}

void TsSkinableMenus::UpdateActive()
{
    if (owner_)
        SetActive(owner_->SkinData()->Active);
}

void TsSkinableMenus::AssignPopupHandlers(TMenuItem* item)
{
    if (!item->OnAdvancedDrawItem)
        item->OnAdvancedDrawItem = TAdvancedMenuDrawItemEvent(this, &TsSkinableMenus::DrawPopupItem);
    if (!item->OnMeasureItem)
        item->OnMeasureItem = TMenuMeasureItemEvent(this, &TsSkinableMenus::MeasurePopupItem);
}

void TsSkinableMenus::RemovePopupHandlers(TMenuItem* item)
{
    if (item->OnAdvancedDrawItem == TAdvancedMenuDrawItemEvent(this, &TsSkinableMenus::DrawPopupItem))
        item->OnAdvancedDrawItem = nullptr;
    if (item->OnMeasureItem == TMenuMeasureItemEvent(this, &TsSkinableMenus::MeasurePopupItem))
        item->OnMeasureItem = nullptr;
}

void TsSkinableMenus::HookComponentMenus(TComponent* component, bool hook)
{
    if (!component)
        return;
    const bool popups = unhookingAll_ || (owner_ && owner_->SkinnedPopups());
    if (auto* mainMenu = dynamic_cast<TMainMenu*>(component)) {
        HookMainMenu(mainMenu, hook);
        for (int i = 0; i < mainMenu->Items()->Count(); ++i)
            HookSubItems(mainMenu->Items()->Items(i), hook);
    } else if (auto* popup = dynamic_cast<TPopupMenu*>(component)) {
        if (popups)
            HookPopupMenu(popup, hook);
    } else if (auto* item = dynamic_cast<TMenuItem*>(component)) {
        if (popups && !dynamic_cast<TMainMenu*>(item->GetParentMenu()))
            HookSubItems(item, hook);
    }
    for (int i = 0; i < component->ComponentCount(); ++i)
        HookComponentMenus(component->Components(i), hook);
}

void TsSkinableMenus::HookSubItems(TMenuItem* item, bool hook)
{
    if (!item)
        return;
    for (int i = 0; i < item->Count(); ++i) {
        TMenuItem* child = item->Items(i);
        if (!hook)
            RemovePopupHandlers(child);
        else if (!IsTopMainMenuItem(child))
            AssignPopupHandlers(child);
        HookSubItems(child, hook);
    }
}

void TsSkinableMenus::HookMainMenu(TMainMenu* menu, bool hook)
{
    if (!menu)
        return;
    const TAdvancedMenuDrawItemEvent draw(this, &TsSkinableMenus::DrawMainMenuItem);
    const TMenuMeasureItemEvent measure(this, &TsSkinableMenus::MeasureMainMenuItem);
    TMenuItem* items = menu->Items();
    for (int i = 0; i < items->Count(); ++i) {
        TMenuItem* item = items->Items(i);
        if (hook) {
            if (owner_ && owner_->SkinData()->Active)
                item->OnAdvancedDrawItem = draw;
            item->OnMeasureItem = measure;
        } else {
            if (item->OnAdvancedDrawItem == draw)
                item->OnAdvancedDrawItem = nullptr;
            if (item->OnMeasureItem == measure)
                item->OnMeasureItem = nullptr;
        }
    }
    if (!menu->HasState(csDestroying))
        menu->SetOwnerDraw(hook);
}

void TsSkinableMenus::HookPopupItems(TMenuItem* item, bool hook)
{
    for (int i = 0; i < item->Count(); ++i) {
        TMenuItem* child = item->Items(i);
        if (hook)
            AssignPopupHandlers(child);
        else
            RemovePopupHandlers(child);
        HookPopupItems(child, hook);
    }
}

void TsSkinableMenus::HookPopupMenu(TPopupMenu* menu, bool hook)
{
    if (!menu)
        return;
    menu->SetOwnerDraw(hook);
    TMenuAnimations animation = menu->MenuAnimation();
    if (hook)
        animation.Include(maNone);
    else
        animation.Exclude(maNone);
    menu->SetMenuAnimation(animation);
    HookPopupItems(menu->Items(), hook);
}

void TsSkinableMenus::HookItem(TMenuItem* item, bool hook)
{
    if (!item)
        return;
    if (TMenu* menu = item->GetParentMenu())
        menu->SetOwnerDraw(hook);
    if (!hook) {
        RemovePopupHandlers(item);
    } else if (IsTopMainMenuItem(item)) {
        item->OnAdvancedDrawItem = TAdvancedMenuDrawItemEvent(this, &TsSkinableMenus::DrawMainMenuItem);
        item->OnMeasureItem = TMenuMeasureItemEvent(this, &TsSkinableMenus::MeasureMainMenuItem);
    } else if (owner_ && owner_->SkinnedPopups()) {
        AssignPopupHandlers(item);
    }
}

// ---- measuring ----

void TsSkinableMenus::FetchExtraLineData(TMenuItem* firstItem, bool measuring)
{
    if (firstItem && firstItem->Name() == L"SkinSelectItem") {
        ExtraLineVisible = false;
        return;
    }
    if (measuring)
        ExtraLineFetching = true;
    ExtraLineSection = L"EXTRALINE";
    ExtraLineGlyph.reset();
    ExtraLineCaption = L"Don`t forget OnGetExtraLineData event...";
    ExtraLineVisible = true;
    if (owner_ && owner_->OnGetMenuExtraLineData) {
        TBitmap* glyph = nullptr;
        try {
            owner_->OnGetMenuExtraLineData(firstItem, ExtraLineSection, ExtraLineCaption, glyph, ExtraLineVisible);
        } catch (...) {
            // A failing handler must not leave the measure path waiting for a fetch that never ends.
            ExtraLineGlyph.reset(glyph);
            ExtraLineFetching = false;
            throw;
        }
        // The handler hands the glyph over: it serves one background and is freed with it.
        ExtraLineGlyph.reset(glyph);
    }
    ExtraLineCaption = RemoveChar(ExtraLineCaption, L'&');
    if (!ExtraLineVisible)
        ExtraLineGlyph.reset();
    ExtraLineFetched = true;
    ExtraLineFetching = false;
}

void TsSkinableMenus::SelectMenuFont(TCanvas* canvas, TMenuItem* item, bool ownerCharset)
{
    if (Screen && Screen->MenuFont())
        canvas->Font()->Assign(Screen->MenuFont());
    if (ownerCharset)
        if (TCustomForm* form = GetOwnerForm(item))
            canvas->Font()->SetCharset(form->Font()->Charset());
}

void TsSkinableMenus::MeasurePopupItem(TObject* sender, TCanvas* canvas, int& width, int& height)
{
    auto* item = dynamic_cast<TMenuItem*>(sender);
    if (!item || item->HasState(csDestroying))
        return;
    menustate::SkinnedPopupOpen = true;
    TMenuItem* first = FirstItemOf(item);
    if (first != CachedFirstItem) {
        ClearMenuCache();
        CachedFirstItem = first;
    }
    menustate::CurrentItemType = item->IsLine() ? smDivider : IsTitleItem(item) ? smCaption : smNormal;
    if (!ExtraLineFetched && !ExtraLineFetching)
        FetchExtraLineData(first, true);
    SelectMenuFont(canvas, item, true);
    std::wstring text;
    if (menustate::CurrentItemType == smCaption)
        text = L"-" + item->Caption() + L"-";
    else if (menustate::CurrentItemType == smNormal)
        text = item->Caption() + ShortCutToText(item->ShortCut());
    RECT r{0, 0, 0, 0};
    DrawTextW(SelectedFontDC(canvas), text.c_str(), static_cast<int>(text.size()), &r,
              DT_CALCRECT | DT_NOCLIP | DT_EXPANDTABS | DT_SINGLELINE);
    width = 2 * MenuGlyphSize(item).cx + (r.right - r.left) + 3 * Margin + Spacing;
    if (ExtraLineVisible && !InLaterColumn(item))
        width += ExtraLineOffset();
    height = ItemHeight(canvas, item);
}

int TsSkinableMenus::ItemHeight(TCanvas* canvas, TMenuItem* item)
{
    SelectMenuFont(canvas, item, false);
    if (item->IsLine())
        return 2;
    const int h1 = static_cast<int>(std::nearbyint(canvas->TextHeight(L"W") * 1.25));
    if (IsTitleItem(item))
        return h1 + 2 * Margin;
    return std::max<int>(h1, MenuGlyphSize(item).cy) + 2 * Margin;
}

int TsSkinableMenus::PopupHeight(TMenuItem* item)
{
    TMenuItem* parent = item ? item->Parent() : nullptr;
    if (!parent)
        return 0;
    TScreenDC dc;
    TCanvas canvas;
    TCanvasDCBinding binding(&canvas, dc.Get());
    int best = 0, column = 0;
    for (int i = 0; i < parent->Count(); ++i) {
        TMenuItem* child = parent->Items(i);
        if (!child->Visible())
            continue;
        if (child->Break() != mbNone)
            column = 0;
        column += ItemHeight(&canvas, child);
        best = std::max(best, column);
    }
    return best;
}

int TsSkinableMenus::PopupWidth(TCanvas* canvas, TMenuItem* item)
{
    TMenuItem* parent = item ? item->Parent() : nullptr;
    if (!parent)
        return 0;
    int total = 0, column = 0;
    for (int i = 0; i < parent->Count(); ++i) {
        TMenuItem* child = parent->Items(i);
        if (!child->Visible())
            continue;
        if (child->Break() != mbNone) {
            total += column + 4;
            column = 0;
        }
        int w = 0, h = 0;
        MeasurePopupItem(child, canvas, w, h);
        column = std::max(column, w + 12);
    }
    return total + column;
}

void TsSkinableMenus::MeasureMainMenuItem(TObject* sender, TCanvas* canvas, int& width, int& height)
{
    auto* item = dynamic_cast<TMenuItem*>(sender);
    if (!item)
        return;
    height = GetSystemMetrics(SM_CYMENU) - 1;
    SelectMenuFont(canvas, item, false);
    width = std::max(width, canvas->TextWidth(item->Caption() + ShortCutToText(item->ShortCut())));
}

// ---- the popup background and region ----

void TsSkinableMenus::PrepareMenuBackground(TMenuItem* firstItem, int width, HWND wnd, int height)
{
    if (menustate::MenuBackground && CachedFirstItem == firstItem)
        return;
    if (!ExtraLineFetched)
        FetchExtraLineData(firstItem, false);
    CachedFirstItem = firstItem;
    menustate::MenuBackground.reset();
    if (width <= 0 || height <= 0)
        return;
    menustate::MenuBackground = menupaint::Bmp24(width, height);
    TBitmap* bg = menustate::MenuBackground.get();
    IcoLineWidth = Margin + MenuGlyphSize(firstItem).cx + Spacing;
    const int section = FindSectionIndex(owner_, L"MAINMENU");
    if (!owner_ || !IsValidSectionIndex(owner_, section))
        return;
    menupaint::PaintSection(owner_, section, L"MAINMENU", EmptyCacheInfo, bg, TPoint{0, 0},
                            TRect{0, 0, width, height}, 0);
    const int sbw = SkinBorderWidth();
    const int innerHeight = height - 2 * sbw;
    if (innerHeight > 0) {
        PaintExtraLine(height);
        TacMenuSupport* support = owner_->MenuSupport();
        const int icoSection = FindSectionIndex(owner_, support->IcoLineSkin);
        if (!support->IcoLineSkin.empty() && IsValidSectionIndex(owner_, icoSection) && IcoLineWidth > 0) {
            const TPoint at{ExtraLineOffset() + sbw, sbw};
            auto column = menupaint::Bmp24(IcoLineWidth, innerHeight);
            menupaint::PaintSection(owner_, icoSection, support->IcoLineSkin, MakeCacheInfo(bg, 0, 0), column.get(),
                                    at, TRect{0, 0, IcoLineWidth, innerHeight}, 0);
            BitBlt(bg->Canvas()->Handle(), at.X, at.Y, IcoLineWidth, innerHeight, column->Canvas()->Handle(), 0, 0,
                   SRCCOPY);
        }
    }
    cornerRects_.clear();
    const int mask = FindMaskIndex(owner_, section, L"MAINMENU", L"BORDERSMASK");
    if (IsValidMaskIndex(owner_, mask)) {
        const TsMaskData& md = owner_->Masks[static_cast<size_t>(mask)];
        menupaint::AddCornerRuns(cornerRects_, width, md, false, 0);
        menupaint::AddCornerRuns(cornerRects_, width, md, true, height - md.WB);
    }
    if (wnd)
        SetPopupRegion(wnd, bg);
}

void TsSkinableMenus::PaintExtraLine(int height)
{
    TacMenuSupport* support = owner_->MenuSupport();
    const int section = FindSectionIndex(owner_, ExtraLineSection);
    if (!support->UseExtraLine || !ExtraLineVisible || !IsValidSectionIndex(owner_, section))
        return;
    const int sbw = SkinBorderWidth();
    const int w = support->ExtraLineWidth;
    const int h = height - 2 * sbw;
    if (w <= 0 || h <= 0)
        return;
    TBitmap* bg = menustate::MenuBackground.get();
    auto line = menupaint::Bmp24(w, h);
    menupaint::PaintSection(owner_, section, ExtraLineSection, MakeCacheInfo(bg, 0, 0), line.get(),
                            TPoint{sbw, sbw}, TRect{0, 0, w, h}, 0);
    int textBottom = h - 12;
    if (ExtraLineGlyph && !ExtraLineGlyph->Empty()) {
        const int gw = ExtraLineGlyph->Width();
        const int gh = ExtraLineGlyph->Height();
        line->Canvas()->Draw((w - gw) / 2, h - 12 - gh, ExtraLineGlyph.get());
        textBottom = h - gh - 20;
    }
    if (!ExtraLineCaption.empty()) {
        TFont* font = support->ExtraLineFont.get();
        LOGFONTW lf{};
        lf.lfHeight = font->Size();
        lf.lfEscapement = lf.lfOrientation = -2700;
        lf.lfWeight = FW_NORMAL;
        lf.lfItalic = font->Style().Contains(fsItalic);
        lf.lfUnderline = font->Style().Contains(fsUnderline);
        lf.lfStrikeOut = font->Style().Contains(fsStrikeOut);
        lf.lfCharSet = font->Charset();
        if (TCustomForm* form = CachedFirstItem ? GetOwnerForm(CachedFirstItem) : nullptr)
            lf.lfCharSet = form->Font()->Charset();
        wcsncpy(lf.lfFaceName, font->Name().c_str(), LF_FACESIZE - 1);
        TCanvas* canvas = line->Canvas();
        // The font takes the handle's values, not the handle: it is ours to delete.
        GdiObject<HFONT> rotated(CreateFontIndirectW(&lf));
        canvas->Font()->SetHandle(rotated.Get());
        canvas->Font()->SetColor(static_cast<TColor>(owner_->Sections[static_cast<size_t>(section)].FontColor));
        canvas->Brush()->SetStyle(bsClear);
        const int textHeight = canvas->TextHeight(ExtraLineCaption);
        const int x = (w - textHeight) / 2;
        canvas->TextRect(TRect{0, 0, w, h}, x, textBottom, ExtraLineCaption);
    }
    BitBlt(bg->Canvas()->Handle(), sbw, sbw, w, h, line->Canvas()->Handle(), 0, 0, SRCCOPY);
    ExtraLineGlyph.reset();
}

void TsSkinableMenus::SetPopupRegion(HWND wnd, TBitmap* background)
{
    if (regionBusy_ || !wnd || !IsWindow(wnd))
        return;
    if (reinterpret_cast<WNDPROC>(GetWindowLongPtrW(wnd, GWLP_WNDPROC)) != PopupMenuWndProc)
        TakeOverWindowProc(wnd, TWindowRole::PopupMenu, &PopupMenuWndProc);
    if (!IsNTFamily() || !background)
        return;
    if (SendMessageW(wnd, SM_SKINCMD, SkinCmdWParam(SkinCmdSetUpdating), 0) != 0)
        return;
    SendMessageW(wnd, SM_SKINCMD, SkinCmdWParam(SkinCmdMenuVisible), 0);
    regionBusy_ = true;
    const std::vector<TRect> cuts = cornerRects_.empty() ? std::vector<TRect>{TRect{0, 0, 1, 1}} : cornerRects_;
    SetWindowRegion(wnd, RegionLessRects(TRect{0, 0, background->Width(), background->Height()}, cuts), true);
    regionBusy_ = false;
}

void AddSkinMenusStartupStep(TStartup& startup)
{
    startup.Add(TStartupOrder::MenuCache, L"Menu background", nullptr, FinalizeSkinMenus);
}
