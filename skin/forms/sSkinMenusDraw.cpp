// The menu painter's drawing: popup items over the cached background, separators, title items and the
// items of the menu line over the form's frame.
#include "framework/Forms.h"
#include "framework/Menus.h"
#include "framework/WinApi.h"
#include "skin/core/acntUtils.h"
#include "skin/core/sMaskPainter.h"
#include "skin/core/sMessages.h"
#include "skin/core/sPixels.h"
#include "skin/core/sSkinLinks.h"
#include "skin/core/sTextColors.h"
#include "skin/core/sVclUtils.h"
#include "skin/forms/sSkinMenus.h"
#include "skin/forms/sSkinMenusPaint.h"
#include "skin/forms/sSkinMenusState.h"

#include <algorithm>

using namespace menustate;

namespace {

constexpr UINT kPopupItemShown = 0xBCB3;
constexpr UINT kPopupWindowShown = 0xBCB4;

UINT AlignmentFlag(TAlignment alignment)
{
    return alignment == taRightJustify ? DT_RIGHT : alignment == taCenter ? DT_CENTER : 0;
}

// Right-to-left menus only where the system itself reads that way.
bool IsRightToLeft(TMenuItem* item)
{
    TMenu* menu = item->GetParentMenu();
    return SysLocaleMiddleEast() && menu && menu->BiDiMode() == bdRightToLeft;
}

bool IsFirstVisible(TMenuItem* item)
{
    TMenuItem* parent = item->Parent();
    for (int i = 0; parent && i < parent->Count(); ++i)
        if (parent->Items(i)->Visible())
            return parent->Items(i) == item;
    return false;
}

bool IsLastVisible(TMenuItem* item)
{
    TMenuItem* parent = item->Parent();
    for (int i = parent ? parent->Count() - 1 : -1; i >= 0; --i)
        if (parent->Items(i)->Visible())
            return parent->Items(i) == item;
    return false;
}

void CopyBits(HDC dst, int x, int y, int w, int h, HDC src, int sx, int sy)
{
    if (w > 0 && h > 0)
        BitBlt(dst, x, y, w, h, src, sx, sy, SRCCOPY);
}

// The section whose colours a caption takes: the named one, else the skin's global colours, so that a
// skin without it still shows every caption.
int TextSection(TsSkinManager* sm, const std::wstring& section)
{
    const int index = FindSectionIndex(sm, section);
    return IsValidSectionIndex(sm, index) ? index : FindSectionIndex(sm, L"GLOBALINFO");
}

void PostPopupItemShown(TMenuItem* item)
{
    if (!Application || !Application->Handle())
        return;
    HWND app = Application->Handle();
    MSG msg;
    if (PeekMessageW(&msg, app, kPopupItemShown, kPopupItemShown, PM_NOREMOVE) ||
        PeekMessageW(&msg, app, kPopupWindowShown, kPopupWindowShown, PM_NOREMOVE))
        return;
    PostMessageW(app, kPopupItemShown, 0, reinterpret_cast<LPARAM>(item));
}

LRESULT ProviderOfMenuItem(TMenuItem* item)
{
    TCustomForm* form = GetOwnerForm(item);
    return form ? SendSkinCmdToControl(form, SkinCmdGetProvider, 0) : 0;
}

} // namespace

void TsSkinableMenus::RepaintPopupBorder(HWND wnd, TMenuItem* item, const TRect& r, int col)
{
    TBitmap* bg = menustate::MenuBackground.get();
    if (!bg)
        return;
    TWindowDC windowDC(wnd);
    HDC dc = windowDC.Get();
    if (!dc)
        return;
    HDC src = bg->Canvas()->Handle();
    const int w = bg->Width(), h = bg->Height(), bw = BorderWidth;
    if (IsFirstVisible(item))
        CopyBits(dc, 0, 0, w, bw, src, 0, 0);
    if (IsLastVisible(item))
        CopyBits(dc, 0, h - bw, w, bw, src, 0, h - bw);
    const int y = bw + r.Top;
    const int left = ExtraLineOffset() * col + std::max(SkinBorderWidth(), bw);
    CopyBits(dc, 0, y, left, r.Height(), src, 0, y);
    CopyBits(dc, w - bw, y, bw, r.Height(), src, w - bw, y);
}

void TsSkinableMenus::FillColumnBelow(TCanvas* canvas, TMenuItem* item, const TRect& r)
{
    TBitmap* bg = menustate::MenuBackground.get();
    TMenuItem* parent = item->Parent();
    if (!bg || !parent)
        return;
    HDC dc = canvas->Handle();
    HDC src = bg->Canvas()->Handle();
    const int index = parent->IndexOf(item);
    const bool nextStartsColumn = index + 1 < parent->Count() && parent->Items(index + 1)->Break() != mbNone;
    const bool last = index == parent->Count() - 1;
    if (nextStartsColumn || (last && r.Bottom < bg->Height() - 6))
        CopyBits(dc, r.Left, r.Bottom, r.Width(), bg->Height() - r.Bottom - 6, src, r.Left + 3, r.Bottom + 3);
    if (item->Break() != mbNone)
        CopyBits(dc, r.Left - 4, r.Top, 4, bg->Height() - 6, src, r.Left - 1, r.Top + 3);
}

void TsSkinableMenus::DrawPopupItem(TObject* sender, TCanvas* canvas, TRect r, TOwnerDrawState state)
{
    auto* item = dynamic_cast<TMenuItem*>(sender);
    if (!owner_ || !item)
        return;
    const int col = InLaterColumn(item) ? 0 : 1;
    TMenuItem* first = FirstItemOf(item);
    if (first != CachedFirstItem)
        ClearMenuCache();
    HWND wnd = IsNTFamily() ? WindowFromDC(canvas->Handle()) : nullptr;
    RECT wr{0, 0, 0, 0};
    if (wnd) {
        GetWindowRect(wnd, &wr);
    } else {
        wr.right = PopupWidth(canvas, item) + 2 * BorderWidth;
        wr.bottom = PopupHeight(item) + 2 * BorderWidth;
    }
    PrepareMenuBackground(first, wr.right - wr.left, wnd, wr.bottom - wr.top);
    if (wnd)
        RepaintPopupBorder(wnd, item, r, col);
    else
        PostPopupItemShown(item);
    if (item->IsLine())
        DrawSeparator(canvas, r, menustate::MenuBackground.get());
    else if (IsTitleItem(item))
        DrawTitleItem(canvas, r, item);
    else
        DrawNormalItem(canvas, r, item, state, col);
}

void TsSkinableMenus::DrawNormalItem(TCanvas* canvas, const TRect& r, TMenuItem* item, TOwnerDrawState state,
                                     int col)
{
    menustate::CurrentItemType = smNormal;
    FillColumnBelow(canvas, item, r);
    TBitmap* bg = menustate::MenuBackground.get();
    const int extra = ExtraLineOffset() * col;
    const int w = r.Width() - extra, h = r.Height();
    if (w <= 0 || h <= 0)
        return;
    auto bmp = menupaint::Bmp24(w, h);
    const TPoint at{extra + r.Left, r.Top};
    if (bg)
        CopyBits(bmp->Canvas()->Handle(), 0, 0, w, h, bg->Canvas()->Handle(), at.X + 3, at.Y + 3);
    const bool hot = state.Contains(odSelected) && item->Enabled();
    const int section = FindSectionIndex(owner_, L"MENUITEM");
    if (IsValidSectionIndex(owner_, section))
        menupaint::PaintSection(owner_, section, L"MENUITEM", bg ? MakeCacheInfo(bg, 3, 3) : EmptyCacheInfo,
                                bmp.get(), at, TRect{0, 0, w, h}, hot ? 1 : 0);
    if (state.Contains(odChecked))
        DrawItemCheck(bmp.get(), item, state);
    const bool rightToLeft = IsRightToLeft(item);
    DrawItemGlyph(bmp.get(), item, rightToLeft);
    DrawItemTexts(bmp.get(), item, state, rightToLeft, col);
    if (OnDrawItem)
        OnDrawItem(item, bmp->Canvas(), TRect{0, 0, w, h}, state, menustate::CurrentItemType);
    if (!item->Enabled() && bg)
        BlendTransBitmap(bmp.get(), 0, 0, clFuchsia, 0.4,
                         TRect{r.Left + extra + BorderWidth, r.Top + BorderWidth, r.Right + BorderWidth - 1,
                               r.Bottom + BorderWidth - 1},
                         bg);
    CopyBits(canvas->Handle(), at.X, at.Y, w, h, bmp->Canvas()->Handle(), 0, 0);
    if (!IsNTFamily() && bg && extra > 0)
        CopyBits(canvas->Handle(), 0, -3, extra, bg->Height(), bg->Canvas()->Handle(), 3, 0);
}

void TsSkinableMenus::DrawItemCheck(TBitmap* bmp, TMenuItem* item, TOwnerDrawState state)
{
    int mask = FindMaskIndexNoParent(owner_, L"GLOBALINFO", item->RadioItem() ? L"RADIOCHECKED" : L"CHECK");
    if (!IsValidMaskIndex(owner_, mask))
        mask = FindMaskIndexNoParent(owner_, L"GLOBALINFO", L"BOXCHECKED");
    if (!IsValidMaskIndex(owner_, mask))
        return;
    const TsMaskData& md = owner_->Masks[static_cast<size_t>(mask)];
    if (md.ImageCount <= 0)
        return;
    const int frameHeight = (md.R.bottom - md.R.top) / MaskRows(md);
    const int frame = state.Contains(odSelected) && item->Enabled() ? 1 : 0;
    DrawSkinGlyph(bmp, TPoint{Margin, (bmp->Height() - frameHeight) / 2}, frame, md, 1);
}

void TsSkinableMenus::DrawItemGlyph(TBitmap* bmp, TMenuItem* item, bool rightToLeft)
{
    TBitmap* glyph = item->Bitmap();
    TMenu* menu = item->GetParentMenu();
    TSize size;
    if (glyph && !glyph->Empty())
        size = TSize{glyph->Width(), glyph->Height()};
    else if (menu && menu->Images() && item->ImageIndex() >= 0)
        size = TSize{menu->Images()->Width(), menu->Images()->Height()};
    else
        return;
    const int y = (bmp->Height() - size.cy) / 2;
    // In the item's own bitmap the right edge is the bitmap's.
    const int x = rightToLeft ? bmp->Width() - y - size.cx : y;
    if (glyph && !glyph->Empty())
        bmp->Canvas()->Draw(x, y, glyph);
    else
        menu->Images()->Draw(bmp->Canvas(), x, y, item->ImageIndex(), true);
}

void TsSkinableMenus::DrawItemTexts(TBitmap* bmp, TMenuItem* item, TOwnerDrawState state, bool rightToLeft, int col)
{
    TCanvas* canvas = bmp->Canvas();
    SelectMenuFont(canvas, item, true);
    TFontStyles style = canvas->Font()->Style();
    if (state.Contains(odDefault))
        style.Include(fsBold);
    canvas->Font()->SetStyle(style);
    const int w = bmp->Width(), h = bmp->Height();
    const int glyphWidth = MenuGlyphSize(item).cx;
    TRect textRect{0, 0, w, h};
    if (rightToLeft)
        textRect.Right -= glyphWidth + 2 * Margin + Spacing;
    else
        textRect.Left += glyphWidth + 2 * Margin + Spacing;
    UINT flags = AlignmentFlag(alignment_) | (rightToLeft ? 0x166u : 0x164u);
    std::wstring caption = item->Caption();
    if (!caption.empty() && caption.front() == L'\x8') {
        caption = caption.substr(1) + L"      ";
        flags = (flags & ~static_cast<UINT>(DT_CENTER)) | DT_RIGHT;
    }
    const bool enabled = item->Enabled();
    const bool hot = enabled && (state.Contains(odSelected) || state.Contains(odHotLight));
    const int section = TextSection(owner_, L"MENUITEM");
    canvas->Brush()->SetStyle(bsClear);
    WriteTextEx(canvas, caption.c_str(), enabled, owner_, hot, section, flags, textRect);
    const std::wstring keys = ShortCutToText(item->ShortCut());
    if (keys.empty())
        return;
    // The item bitmap already leaves out the extra line of a first-column item.
    const int fullWidth = w + ExtraLineOffset() * col;
    const int shift = ExtraLineOffset() * col;
    const int textWidth = canvas->TextWidth(keys);
    TRect keysRect{fullWidth - textWidth - (rightToLeft ? 6 : 8) - shift, 0, fullWidth - 8 - shift, h};
    WriteTextEx(canvas, keys.c_str(), enabled, owner_, hot, section, DT_SINGLELINE | DT_VCENTER, keysRect);
}

void TsSkinableMenus::DrawSeparator(TCanvas* canvas, const TRect& r, TBitmap* background)
{
    if (!owner_ || r.IsEmpty())
        return;
    int mask = -1;
    const int divider = FindSectionIndex(owner_, L"DIVIDERV");
    if (IsValidSectionIndex(owner_, divider))
        mask = FindMaskIndex(owner_, divider, L"DIVIDERV", L"BORDERSMASK");
    else
        mask = FindMaskIndex(owner_, FindSectionIndex(owner_, L"TRACKBAR"), L"TRACKBAR", L"SLIDERCHANNEL");
    HDC dc = canvas->Handle();
    if (!IsValidMaskIndex(owner_, mask)) {
        TRect frame = r;
        int count = 1;
        BevelFramePens(dc, frame, clGray, count, clWhite);
        return;
    }
    const int w = r.Width(), h = r.Height();
    auto bmp = menupaint::Bmp24(w, h);
    if (background)
        CopyBits(bmp->Canvas()->Handle(), 0, 0, w, h, background->Canvas()->Handle(), r.Left + 3, r.Top + 3);
    const int extra = ExtraLineOffset();
    TRect line{extra + Margin + Spacing, 0, w - Margin, h};
    if (line.Left < extra + IcoLineWidth)
        line.Left = extra + IcoLineWidth + 2;
    DrawSkinRect(bmp.get(), line, true, EmptyCacheInfo, owner_->Masks[static_cast<size_t>(mask)], 0, true);
    CopyBits(dc, r.Left, r.Top, w, h, bmp->Canvas()->Handle(), 0, 0);
}

void TsSkinableMenus::DrawTitleItem(TCanvas* canvas, const TRect& r, TMenuItem* item)
{
    if (!owner_ || r.IsEmpty())
        return;
    const int w = r.Width(), h = r.Height();
    const int extra = ExtraLineOffset();
    TBitmap* bg = menustate::MenuBackground.get();
    auto bmp = menupaint::Bmp24(w, h);
    HDC dc = bmp->Canvas()->Handle();
    if (bg) {
        HDC src = bg->Canvas()->Handle();
        if (extra > 0)
            CopyBits(dc, 0, 0, extra + 1, h, src, r.Left + 3, r.Top + 3);
        CopyFrame(dc, 0, 0, w, h, src, r.Left + 3, r.Top + 3, 1);
    }
    const int toolbar = FindSectionIndex(owner_, L"TOOLBAR");
    if (IsValidSectionIndex(owner_, toolbar) && w - 1 > extra + 1 && h > 2)
        menupaint::PaintSection(owner_, toolbar, L"TOOLBAR", bg ? MakeCacheInfo(bg, 3, 3) : EmptyCacheInfo,
                                bmp.get(), TPoint{extra + r.Left, r.Top}, TRect{extra + 1, 1, w - 1, h - 1}, 0);
    TCanvas* c = bmp->Canvas();
    c->Font()->Assign(captionFont_.get());
    c->Brush()->SetStyle(bsClear);
    const std::wstring word = GetWordAt(1, item->Caption(), TCharSet{L'-'});
    TsSkinManager* sm = DefaultManager() ? DefaultManager() : owner_;
    WriteTextEx(c, word.c_str(), true, sm, false, TextSection(sm, L"TOOLBAR"), DT_CENTER | DT_VCENTER | DT_SINGLELINE,
                TRect{extra, 0, w, h});
    CopyBits(canvas->Handle(), r.Left, r.Top, w, h, dc, 0, 0);
}

void TsSkinableMenus::DrawMainMenuItem(TObject* sender, TCanvas* canvas, TRect r, TOwnerDrawState state)
{
    auto* item = dynamic_cast<TMenuItem*>(sender);
    if (!owner_ || !item || r.IsEmpty())
        return;
    const TacSkinLinks& links = SkinLinks();
    LRESULT provider = links.MDIMainProvider ? links.MDIMainProvider() : 0;
    if (!provider)
        provider = ProviderOfMenuItem(item);
    TacMenuLineSource source;
    if (!provider || !links.MenuLineSource || !links.MenuLineSource(provider, source) || !source.MenuLineBmp)
        return;
    const int top = source.CaptionHeight + source.SysBorderHeight;
    const bool enabled = item->Enabled();
    // A disabled item is drawn aside and blended with the line behind it.
    std::unique_ptr<TBitmap> aside = enabled ? nullptr : menupaint::Bmp24(r.Width(), r.Height());
    TCanvas* target = aside ? aside->Canvas() : canvas;
    const TRect area = aside ? TRect{0, 0, r.Width(), r.Height()} : r;
    const bool hot = state.Contains(odHotLight) || (state.Contains(odSelected) && enabled);
    TacPendingMenuLineItem& pending = PendingMenuLineItem();
    if (hot)
        pending = TacPendingMenuLineItem{item, r};
    else if (pending.Item == item)
        pending = TacPendingMenuLineItem{};
    const int section = FindSectionIndex(owner_, L"MENUITEM");
    const TCacheInfo ci = MakeCacheInfo(source.MenuLineBmp, 0, 0);
    const TPoint at{r.Left, r.Top - top};
    if (IsValidSectionIndex(owner_, section)) {
        if (aside)
            menupaint::PaintSection(owner_, section, L"MENUITEM", ci, aside.get(), at, area, hot ? 1 : 0);
        else
            menupaint::PaintSectionToDC(owner_, section, L"MENUITEM", ci, canvas->Handle(), at, area, hot ? 1 : 0);
    } else if (aside) {
        CopyBits(aside->Canvas()->Handle(), 0, 0, r.Width(), r.Height(), source.MenuLineBmp->Canvas()->Handle(), at.X,
                 at.Y);
    }
    const bool rightToLeft = IsRightToLeft(item);
    int glyphWidth = 0;
    TBitmap* glyph = item->Bitmap();
    TMenu* menu = item->GetParentMenu();
    const bool hasBitmap = glyph && !glyph->Empty();
    const bool hasImage = !hasBitmap && menu && menu->Images() && item->ImageIndex() >= 0;
    if (hasBitmap || hasImage) {
        const TSize size = hasBitmap ? TSize{glyph->Width(), glyph->Height()}
                                     : TSize{menu->Images()->Width(), menu->Images()->Height()};
        glyphWidth = size.cx;
        const int x = rightToLeft ? area.Right - size.cx - 3 : area.Left + 3;
        const int y = area.Top + (area.Height() - size.cy) / 2;
        if (hasBitmap)
            target->Draw(x, y, glyph);
        else
            menu->Images()->Draw(target, x, y, item->ImageIndex(), true);
    }
    SelectMenuFont(target, item, true);
    TFontStyles style = target->Font()->Style();
    if (state.Contains(odDefault))
        style.Include(fsBold);
    else
        style.Exclude(fsBold);
    target->Font()->SetStyle(style);
    TRect textRect{area.Left + Margin, area.Top, area.Right - Margin, area.Bottom};
    if (glyphWidth > 0) {
        if (rightToLeft)
            textRect.Right -= glyphWidth - 1;
        else
            textRect.Left += glyphWidth - 1;
    }
    if (aside) {
        // In the item's own bitmap the text starts where the frame's border ends.
        const int dx = source.FullBorderHeight - textRect.Left;
        textRect.Left += dx;
        textRect.Right += dx;
    }
    UINT flags = (state.Contains(odNoAccel) ? 0x100065u : 0x65u) | AlignmentFlag(alignment_);
    const int lineSection = TextSection(owner_, L"MENULINE");
    target->Brush()->SetStyle(bsClear);
    const bool textHot = enabled && (state.Contains(odSelected) || state.Contains(odHotLight));
    WriteTextEx(target, item->Caption().c_str(), enabled, owner_, textHot, lineSection, flags, textRect);
    const std::wstring keys = ShortCutToText(item->ShortCut());
    if (!keys.empty())
        WriteTextEx(target, keys.c_str(), enabled, owner_, textHot, lineSection, 0x66,
                    TRect{area.Left + textRect.Width(), area.Top, area.Right - 8, area.Bottom});
    if (OnDrawItem)
        OnDrawItem(item, target, area, state, smTopLine);
    if (aside) {
        SumBitmapsByRect(aside.get(), source.MenuLineBmp, 102, TPoint{0, 0},
                         TRect{r.Left, r.Top - top, r.Right, r.Bottom - top});
        CopyBits(canvas->Handle(), r.Left, r.Top, r.Width(), r.Height(), aside->Canvas()->Handle(), 0, 0);
    }
}
