// Painting the skinned frame: the whole window goes into the form's cache bitmap (borders, caption strip,
// icon, caption text and buttons, menu line), and the frame strips of that cache go to the window.
#include "skin/forms/sSkinProvider.h"

#include "skin/core/acntUtils.h"
#include "skin/core/sControlPaint.h"
#include "skin/core/sItemPainter.h"
#include "skin/core/sMaskPainter.h"
#include "skin/core/sMessages.h"
#include "skin/core/sSkinForms.h"
#include "skin/core/sTextColors.h"
#include "skin/core/sVclUtils.h"
#include "skin/forms/sSystemMenu.h"

#include <algorithm>

namespace {

int GlobalMask(TsSkinManager* sm, const wchar_t* name)
{
    return FindMaskIndexNoParent(sm, L"GLOBALINFO", name);
}

// The glyph of a button that restores the window: the global one, else the form section's own.
int RestoreGlyphMask(TsSkinManager* sm, const TsCommonData* data)
{
    const int norm = GlobalMask(sm, L"BICONNORM");
    return IsValidMaskIndex(sm, norm) ? norm : FindMaskIndex(sm, data->SkinIndex, data->SkinSection(), L"BICONNORM");
}

void CopyBlock(TBitmap* dst, int dx, int dy, TBitmap* src, int sx, int sy, int w, int h)
{
    if (!dst || !src || w <= 0 || h <= 0)
        return;
    BitBlt(dst->Canvas()->Handle(), dx, dy, w, h, src->Canvas()->Handle(), sx, sy, SRCCOPY);
}

} // namespace

int TsSkinProvider::TitleSectionIndex() const
{
    TsSkinManager* sm = Manager();
    return FindSectionIndex(sm, titleSkin_.empty() ? std::wstring(L"FORMTITLE") : titleSkin_);
}

void TsSkinProvider::InitCaptionButtons()
{
    TsSkinManager* sm = Manager();
    if (!sm || !IsValidSectionIndex(sm, FindSectionIndex(sm, L"GLOBALINFO")))
        return;
    closeButton_.ImageIndex = GlobalMask(sm, L"BICONCLOSE");
    const std::wstring& section = skinData_->SkinSection();
    const int skinIndex = skinData_->SkinIndex;
    auto big = [&] {
        closeButton_.ImageIndex = GlobalMask(sm, L"BICONCLOSE");
        minButton_.ImageIndex = GlobalMask(sm, L"BICONMIN");
        maxButton_.ImageIndex = GlobalMask(sm, L"BICONMAX");
        helpButton_.ImageIndex = GlobalMask(sm, L"BICONHELP");
    };
    if (!IsValidMaskIndex(sm, closeButton_.ImageIndex)) {
        minButton_.ImageIndex = FindMaskIndex(sm, skinIndex, section, L"BICONMIN");
        maxButton_.ImageIndex = FindMaskIndex(sm, skinIndex, section, L"BICONMAX");
        closeButton_.ImageIndex = FindMaskIndex(sm, skinIndex, section, L"BICONCLOSE");
        helpButton_.ImageIndex = FindMaskIndex(sm, skinIndex, section, L"BICONHELP");
        InitMDIChildButtons(true, false);
    } else if (form_->BorderStyle() != bsSingle && form_->BorderStyle() != bsSizeable) {
        closeButton_.ImageIndex = GlobalMask(sm, L"SICONCLOSE");
        minButton_.ImageIndex = GlobalMask(sm, L"SICONMIN");
        maxButton_.ImageIndex = GlobalMask(sm, L"SICONMAX");
        helpButton_.ImageIndex = GlobalMask(sm, L"SICONHELP");
        if (!IsValidMaskIndex(sm, helpButton_.ImageIndex))
            helpButton_.ImageIndex = GlobalMask(sm, L"BICONHELP");
        if (!IsValidMaskIndex(sm, closeButton_.ImageIndex)) {
            big();
            InitMDIChildButtons(false, true);
        } else {
            InitMDIChildButtons(false, false);
        }
    } else {
        big();
        InitMDIChildButtons(false, false);
    }
    titleButtonIndex_ = GlobalMask(sm, L"TITLEBUTTON");
}

int TsSkinProvider::MaskOfMaxButton() const
{
    TsSkinManager* sm = Manager();
    return IsMaximized() ? RestoreGlyphMask(sm, skinData_.get()) : maxButton_.ImageIndex;
}

int TsSkinProvider::MaskOfMinButton() const
{
    TsSkinManager* sm = Manager();
    return IsIconic() ? RestoreGlyphMask(sm, skinData_.get()) : minButton_.ImageIndex;
}

bool TsSkinProvider::DefersPaintForDirtyMenu()
{
    // While a maximized child is being activated the system is still changing the main form's menu
    // bar (its system menu and buttons go in and out): the line painted now would be stale. The paint
    // is put off once, and the frame asks for a paint of its own that comes when the queue is done
    // with the change; that one paints in full, so a dirty menu can never stop the frame's painting.
    if (!mdiForm_ || !menuDirty_ || menuPaintDeferred_ || !form_->HandleAllocated())
        return false;
    TCustomForm* child = MaximizedActiveChild();
    if (!child || !IsWindowVisible(child->Handle()))
        return false;
    menuPaintDeferred_ = true;
    RedrawWindow(form_->Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
    return true;
}

int TsSkinProvider::FrameHeight() const
{
    return IsIconic() ? SysBorderHeight() + CaptionHeight() + 1 : FormHeight();
}

bool TsSkinProvider::KeepsCaptionStrip() const
{
    TsSkinManager* sm = Manager();
    const int section = skinData_->SkinIndex;
    return IsValidSectionIndex(sm, section) && sm->Sections[static_cast<size_t>(section)].ReservedBoolean;
}

bool TsSkinProvider::CaptionStripReusable() const
{
    // Resizing with an unchanged caption reuses the bare frame kept under the caption strip.
    const TBitmap* cache = skinData_->CacheBmp();
    return !menuDirty_ && KeepsCaptionStrip() && captionBmp_ && captionBmp_->Width() == FormWidth() && cache &&
           cache->Height() == FrameHeight() && CaptionHeight() > 0;
}

void TsSkinProvider::PaintFrame()
{
    TsSkinManager* sm = Manager();
    TBitmap* cache = skinData_->CacheBmp();
    if (!sm || !form_ || !cache || form_->ControlState.Contains(csCreating) || !skinData_->BGChanged)
        return;
    if (DefersPaintForDirtyMenu())
        return;
    const int width = FormWidth();
    const int height = FrameHeight();
    const int caption = CaptionHeight();
    const int section = skinData_->SkinIndex;
    const bool reserved = KeepsCaptionStrip();
    if (CaptionStripReusable()) {
        CopyBlock(cache, 0, 0, captionBmp_.get(), 0, 0, width, captionBmp_->Height());
        PaintCaptionStrip(TRect{0, 0, width, captionBmp_->Height()});
        framePainted_ = true;
        skinData_->BGChanged = false;
        skinData_->FUpdating = false;
        return;
    }
    regionChanged_ = true;
    // The first frame painted in full repaints the controls on the form from their background up.
    if (!framePainted_)
        forceChildRepaint_ = true;
    cache->SetSize(width, height);
    if (IsValidSectionIndex(sm, section)) {
        const int state = formActive_ ? 1 : 0;
        const TRect all{0, 0, width, height};
        if (caption > 0)
            PaintItem(skinData_.get(), EmptyCacheInfo, false, true, cache, TPoint{0, 0}, all, state);
        else
            PaintItemBg(section, skinData_->SkinSection(), EmptyCacheInfo, sNoColor, skinData_->Texture,
                        skinData_->HotTexture, sm, cache, TPoint{0, 0}, all, state);
        if (GripMode == gmRightBottom) {
            const int grip = GlobalMask(sm, L"GRIPIMAGE");
            if (IsValidMaskIndex(sm, grip)) {
                const TsMaskData& md = sm->Masks[static_cast<size_t>(grip)];
                const POINT size = GetMaskFrameSize(sm, grip);
                DrawSkinGlyph(cache, TPoint{width - size.x - SysBorderWidth(), height - size.y - SysBorderHeight()}, 0,
                              md, 1);
            }
        }
        if (reserved && caption > 0) {
            // The bare frame under the caption, for the caption alone to be painted over it again: a
            // title that lets the frame show must not show the caption it replaces.
            const int stripHeight = caption + SysBorderHeight();
            if (!captionBmp_ || captionBmp_->Width() != width)
                captionBmp_ = CreateBmp24(width, stripHeight);
            captionBmp_->SetSize(width, stripHeight);
            CopyBlock(captionBmp_.get(), 0, 0, cache, 0, 0, width, stripHeight);
        }
        if (caption > 0) {
            // The menu line first: the buttons' background copy spans it, and a maximized MDI child's
            // buttons are drawn onto it with the caption's.
            PaintMenuLine();
            PaintCaptionStrip(TRect{0, 0, width, SysBorderHeight() + caption});
        }
    }
    if (mdiForm_)
        PaintMDIArea();
    menuDirty_ = false;
    menuPaintDeferred_ = false;
    if (form_->OnPaint) {
        // The form's own drawing becomes part of the cache, at the client's place.
        HDC dc = cache->Canvas()->Handle();
        TSavedDC saved(dc);
        SetViewportOrgEx(dc, ClientOffsetX(), ClientOffsetY(), nullptr);
        RunFormOnPaint(dc);
    }
    framePainted_ = true;
    skinData_->BGChanged = false;
    skinData_->FUpdating = false;
}

void TsSkinProvider::RunFormOnPaint(HDC dc)
{
    if (!form_->OnPaint)
        return;
    TCanvasDCBinding bind(form_->Canvas(), dc);
    form_->OnPaint(form_);
}

void TsSkinProvider::PaintCaptionStrip(const TRect& strip)
{
    TsSkinManager* sm = Manager();
    TBitmap* cache = skinData_->CacheBmp();
    const int state = formActive_ ? 1 : 0;
    const int title = TitleSectionIndex();
    const TRect titleRect = IsIconic() ? TRect{0, 0, cache->Width(), cache->Height()}
                                       : TRect{0, strip.Top, strip.Right, strip.Top + SysBorderHeight() + CaptionHeight()};
    if (title >= 0)
        PaintItemByIndex(title, sm->Sections[static_cast<size_t>(title)].ClassName, MakeCacheInfo(cache, 0, 0), -1, -1, sm,
                         cache, TPoint{0, 0}, titleRect, state, false);
    PaintFormIcon();
    if (CaptionButtonCount() > 0) {
        const int bar = FindMaskIndex(sm, skinData_->SkinIndex, skinData_->SkinSection(), L"TITLEBAR");
        if (IsValidMaskIndex(sm, bar)) {
            const TsMaskData& md = sm->Masks[static_cast<size_t>(bar)];
            const int side = md.Bmp ? md.Bmp->Width() / 9 : (md.R.right - md.R.left) / (MaskFrames(md) * 3);
            const int barWidth = side * 2 + ButtonsWidth();
            DrawSkinRect(cache, TRect{FormWidth() - barWidth, strip.Top, cache->Width(), strip.Top + titleRect.Height()},
                         true, MakeCacheInfo(cache, 0, 0), md, state, true);
        }
    }
    SaveButtonsBackground();
    PaintCaptionButtons();
    PaintCaptionText(strip.Top);
}

void TsSkinProvider::PaintMenuLine()
{
    TsSkinManager* sm = Manager();
    TBitmap* cache = skinData_->CacheBmp();
    if (!form_->Menu() || !MenuLineVisible() || MenuHeight() <= 0)
        return;
    int section = menuLineSkin_.empty() ? -1 : FindSectionIndex(sm, menuLineSkin_);
    if (section < 0)
        section = FindSectionIndex(sm, L"MENULINE");
    const int top = CaptionHeight() + SysBorderHeight();
    const int rows = MenuLineRows();
    const TRect band{0, top, cache->Width(), top + rows * MenuHeight()};
    if (section >= 0)
        PaintItemByIndex(section, sm->Sections[static_cast<size_t>(section)].ClassName, MakeCacheInfo(cache, 0, 0), -1, -1,
                         sm, cache, TPoint{0, 0}, band, formActive_ ? 1 : 0, false);
    menuLineBmp_->SetSize(FormWidth(), rows * MenuHeight());
    CopyBlock(menuLineBmp_.get(), 0, 0, cache, 0, top, FormWidth(), rows * MenuHeight());
    PaintMDIChildIcon();
    // Items the menu painter hooked draw themselves onto the cache at their places.
    HWND wnd = form_->Handle();
    const RECT wr = [&] { RECT r; GetWindowRect(wnd, &r); return r; }();
    for (TMenuItem* item : form_->Menu()->BarItems()) {
        if (!item->OnAdvancedDrawItem || !item->OnMeasureItem)
            continue;
        RECT r;
        const int index = form_->Menu()->BarPosition(item);
        if (index < 0 || !GetMenuItemRect(wnd, form_->Menu()->Handle(), static_cast<UINT>(index), &r))
            continue;
        OffsetRect(&r, -wr.left, -wr.top);
        item->OnAdvancedDrawItem(item, cache->Canvas(), TRect{r.left, r.top, r.right, r.bottom}, TOwnerDrawState{});
    }
}

void TsSkinProvider::PaintMDIArea()
{
    TsSkinManager* sm = Manager();
    TBitmap* cache = skinData_->CacheBmp();
    const int section = FindSectionIndex(sm, L"MDIAREA");
    if (section < 0)
        return;
    // The form's border width is a margin of the form's own look around the area.
    const int border = SysBorderHeight() + FormBorderWidth();
    const int menu = MenuLineVisible() ? MenuLineRows() * MenuHeight() : 0;
    const TRect r{AlignedControlsSize(form_, alLeft, true) + border,
                  2 * SysBorderHeight() + CaptionHeight() + menu + FormBorderWidth() - 2,
                  FormWidth() - border - AlignedControlsSize(form_, alRight, true),
                  FormHeight() - border - AlignedControlsSize(form_, alBottom, true)};
    PaintItemToDC(section, L"MDIAREA", MakeCacheInfo(cache, 0, 0), sm, cache->Canvas()->Handle(), TPoint{0, 0}, r, 0,
                  true);
}

void TsSkinProvider::PaintCaptionText(int stripTop)
{
    TsSkinManager* sm = Manager();
    TBitmap* cache = skinData_->CacheBmp();
    const std::wstring text = form_->Caption();
    if (text.empty())
        return;
    TCanvas* canvas = cache->Canvas();
    canvas->Font()->Assign(form_->Font());
    TFontStyles style = canvas->Font()->Style();
    style.Include(fsBold);
    canvas->Font()->SetStyle(style);
    if (const int h = GetCaptionFontHeight())
        canvas->Font()->SetHeight(h);
    TRect r;
    r.Left = (ShowIcon() ? IconRect().Width() : 0) + SysBorderWidth() + 4;
    r.Top = SysBorderHeight() + stripTop;
    r.Right = FormWidth() - ButtonsWidth() - 6;
    r.Bottom = CaptionHeight() + stripTop;
    if (r.Right <= r.Left)
        return;
    SIZE extent{0, 0};
    GetTextExtentPoint32W(canvas->Handle(), text.c_str(), static_cast<int>(text.size()), &extent);
    const int top = r.Top + (r.Height() - extent.cy) / 2;
    r.Top = top;
    r.Bottom = top + extent.cy;
    const UINT flags = GetTextFlags(form_, captionAlignment_) | DT_END_ELLIPSIS | DT_SINGLELINE | DT_VCENTER;
    WriteTextEx(canvas, text.c_str(), true, sm, formActive_, TitleSectionIndex(), flags, r);
}

void TsSkinProvider::SaveButtonsBackground()
{
    TBitmap* cache = skinData_->CacheBmp();
    int w = ButtonsWidth() + SysBorderWidth();
    // A maximized MDI child's buttons repaint from the same copy: it reaches under them also when the
    // main form's caption has fewer buttons than they span.
    if (mdiForm_)
        w = std::max(w, 3 * MDIButtonWidth() + 3 + SysBorderWidth());
    const int h = NonClientTopHeight();
    buttonsCacheOrigin_ = TPoint{FormWidth() - w - 1, 0};
    buttonsCache_->SetSize(w, h);
    CopyBlock(buttonsCache_.get(), 0, 0, cache, buttonsCacheOrigin_.X, 0, w, h);
}

void TsSkinProvider::DrawButtonImage(const TsCaptionButton& button, int maskIndex, int state, bool enabled)
{
    TsSkinManager* sm = Manager();
    if (!IsValidMaskIndex(sm, maskIndex))
        return;
    // Hot and pressed buttons always look enabled; resting ones fade when disabled or inactive.
    const bool normal = state > 0 || (enabled && formActive_);
    DrawSkinGlyph(skinData_->CacheBmp(), TPoint{button.Rect.Left, button.Rect.Top}, state,
                  sm->Masks[static_cast<size_t>(maskIndex)], normal ? 1 : 2);
}

void TsSkinProvider::PaintTitleButtonGlyph(const TsTitleButton* button, bool pressed)
{
    TBitmap* glyph = button->Glyph();
    if (!glyph || glyph->Empty())
        return;
    glyph->SetPixelFormat(pf24bit);
    const TColor key = GetPixel(glyph->Canvas()->Handle(), 0, glyph->Height() - 1);
    const int x = button->Rect.Left + (button->Rect.Width() - glyph->Width()) / 2 + (pressed ? 1 : 0);
    const int y = button->Rect.Top + (button->Rect.Height() - glyph->Height()) / 2 + (pressed ? 1 : 0);
    CopyTransBitmaps(skinData_->CacheBmp(), glyph, x, y, key);
}

void TsSkinProvider::PaintCaptionButtons()
{
    TsSkinManager* sm = Manager();
    const int space = sm->SkinData()->BISpace;
    int x = FormWidth() - SysBorderWidth() - space;
    const int bh = ButtonHeight();
    const int top = (CaptionHeight() + SysBorderHeight() - bh) / 2 + (bh < 16 ? 2 : 0);
    auto place = [&](TRect& rect, int width) {
        rect = TRect{x - width, top, x, top + bh};
        x = rect.Left - space;
    };
    if (form_->BorderIcons().Contains(biSystemMenu)) {
        if (IsValidMaskIndex(sm, closeButton_.ImageIndex)) {
            place(closeButton_.Rect, ButtonWidth(closeButton_));
            DrawButtonImage(closeButton_, closeButton_.ImageIndex, closeButton_.State, true);
        }
        if (VisibleMax()) {
            place(maxButton_.Rect, ButtonWidth(maxButton_));
            const bool enabled = IsMaximized() ? CanRestore() : CanMaximize();
            DrawButtonImage(maxButton_, MaskOfMaxButton(), maxButton_.State, enabled);
        }
        if (VisibleMin()) {
            place(minButton_.Rect, ButtonWidth(minButton_));
            const bool enabled = IsIconic() ? CanRestore() : CanMinimize();
            DrawButtonImage(minButton_, MaskOfMinButton(), minButton_.State, enabled);
        }
        if (form_->BorderIcons().Contains(biHelp)) {
            place(helpButton_.Rect, ButtonWidth(helpButton_));
            DrawButtonImage(helpButton_, helpButton_.ImageIndex, helpButton_.State, true);
        }
    }
    // Title buttons are as wide as the global image makes them, so they are drawn with that image alone;
    // only an index below -1, which no skin gives, takes the form section's.
    int titleIndex = titleButtonIndex_;
    if (titleIndex < -1)
        titleIndex = FindMaskIndex(sm, skinData_->SkinIndex, skinData_->SkinSection(), L"TITLEBUTTON");
    for (int i = 0; i < titleButtons_->Count(); ++i) {
        TsTitleButton* button = titleButtons_->Items(i);
        button->ImageIndex = button->UseSkinData ? titleIndex : -1;
        TsCaptionButton place0;
        place(place0.Rect, TitleButtonWidth(button));
        button->Rect = place0.Rect;
        place0.ImageIndex = button->ImageIndex;
        DrawButtonImage(place0, button->ImageIndex, button->State, button->Enabled);
        PaintTitleButtonGlyph(button, false);
    }
    PaintMDIChildButtons();
}

TsCaptionButton* TsSkinProvider::ButtonOfCode(int code)
{
    switch (code) {
    case HTCLOSE: return &closeButton_;
    case HTMAXBUTTON: return &maxButton_;
    case HTMINBUTTON: return &minButton_;
    case HTHELP: return &helpButton_;
    case HTMDICLOSE: return &mdiCloseButton_;
    case HTMDIMAX: return &mdiMaxButton_;
    case HTMDIMIN: return &mdiMinButton_;
    default: return nullptr;
    }
}

void TsSkinProvider::RepaintButton(int code)
{
    TsSkinManager* sm = Manager();
    TBitmap* cache = skinData_->CacheBmp();
    if (!sm || !cache || cache->Empty())
        return;
    TsTitleButton* title = nullptr;
    TsCaptionButton titleRecord;
    TsCaptionButton* button = ButtonOfCode(code);
    if (!button && code >= kTitleButtonHit && code - kTitleButtonHit < titleButtons_->Count()) {
        title = titleButtons_->Items(code - kTitleButtonHit);
        titleRecord = TsCaptionButton{title->State, title->ImageIndex, title->Rect};
        button = &titleRecord;
    }
    if (!button || button->Rect.Left <= IconRect().Right || button->Rect.Width() <= 0)
        return;
    const TRect r = button->Rect;
    CopyBlock(cache, r.Left, r.Top, buttonsCache_.get(), r.Left - buttonsCacheOrigin_.X, r.Top - buttonsCacheOrigin_.Y,
              r.Width(), r.Height());
    switch (code) {
    case HTMAXBUTTON:
        if (IsIconic())
            DrawButtonImage(*button, maxButton_.ImageIndex, button->State, CanMaximize());
        else
            DrawButtonImage(*button, MaskOfMaxButton(), button->State, IsMaximized() ? CanRestore() : CanMaximize());
        break;
    case HTMINBUTTON:
        DrawButtonImage(*button, MaskOfMinButton(), button->State, IsIconic() ? CanRestore() : CanMinimize());
        break;
    case HTCLOSE:
    case HTHELP:
        DrawButtonImage(*button, button->ImageIndex, button->State, true);
        break;
    case HTMDICLOSE:
    case HTMDIMAX:
    case HTMDIMIN:
        RepaintMDIButton(code, *button);
        break;
    default:
        if (title) {
            DrawButtonImage(*button, title->ImageIndex, title->State, title->Enabled);
            PaintTitleButtonGlyph(title, title->State == 2);
        }
        break;
    }
    BlitToWindow(r);
}

void TsSkinProvider::DrawMenuItemNow(TMenuItem* item, const TRect& rect)
{
    TBitmap* cache = skinData_->CacheBmp();
    if (!item || !form_->Menu() || !MenuLineVisible() || !cache || cache->Empty())
        return;
    // The item may be gone since it was drawn: it is used only when the form's menu still holds it.
    const std::vector<TMenuItem*> bar = form_->Menu()->BarItems();
    const bool ours = std::find(bar.begin(), bar.end(), item) != bar.end();
    if (!ours || !item->OnAdvancedDrawItem)
        return;
    item->OnAdvancedDrawItem(item, cache->Canvas(), rect, TOwnerDrawState{});
    BlitToWindow(rect);
}

void TsSkinProvider::RepaintFrameNow()
{
    if (!form_ || !form_->HandleAllocated())
        return;
    SetFrameDirty();
    HWND wnd = form_->Handle();
    TWindowDC windowDC(wnd);
    HDC dc = windowDC.Get();
    if (!dc)
        return;
    TSavedDC saved(dc);
    PaintNonClient(dc);
}

void TsSkinProvider::BlitToWindow(const TRect& r)
{
    if (!form_->HandleAllocated())
        return;
    HWND wnd = form_->Handle();
    TWindowDC windowDC(wnd);
    HDC dc = windowDC.Get();
    if (!dc)
        return;
    BitBlt(dc, r.Left, r.Top, r.Width(), r.Height(), skinData_->CacheBmp()->Canvas()->Handle(), r.Left, r.Top, SRCCOPY);
}

void TsSkinProvider::PaintFormIcon()
{
    if (!ShowIcon())
        return;
    TBitmap* cache = skinData_->CacheBmp();
    const TRect ir = IconRect();
    TBitmap* glyph = titleIcon_->Glyph();
    if (glyph && !glyph->Empty()) {
        const int size = CaptionIconSize(NonClientTopHeight() - 2);
        const int w = titleIcon_->Width ? titleIcon_->Width : size;
        const int h = titleIcon_->Height ? titleIcon_->Height : size;
        glyph->SetTransparentColor(clFuchsia);
        HDC dc = cache->Canvas()->Handle();
        TSavedDC saved(dc);
        SetStretchBltMode(dc, COLORONCOLOR);
        TransparentBlt(dc, ir.Left, ir.Top, w, h, glyph->Canvas()->Handle(), 0, 0, glyph->Width(), glyph->Height(),
                       RGB(255, 0, 255));
        return;
    }
    if (IconWidth() <= 0 || IconHeight() <= 0)
        return;
    HDC dc = cache->Canvas()->Handle();
    HICON icon = form_->Icon();
    if (!icon && Application)
        icon = Application->Icon();
    if (icon) {
        DrawIconEx(dc, ir.Left, ir.Top, icon, IconWidth(), IconHeight(), 0, nullptr, DI_NORMAL);
        return;
    }
    // The program's own icons fill the caption below the icon's top, unless the title icon sets a size.
    const int w = titleIcon_->Width ? titleIcon_->Width : CaptionHeight() - ir.Top;
    const int h = titleIcon_->Height ? titleIcon_->Height : CaptionHeight() - ir.Top;
    TIcon* own = h > 16 ? ProgramIconLarge() : nullptr;
    if (!own || own->Empty())
        own = ProgramIconSmall();
    if (own && !own->Empty())
        DrawIconEx(dc, ir.Left, ir.Top, own->Handle(), w, h, 0, nullptr, DI_NORMAL);
    else
        DrawIconEx(dc, ir.Left, ir.Top, LoadIconW(nullptr, IDI_APPLICATION), IconWidth(), IconHeight(), 0, nullptr,
                   DI_NORMAL);
}

void TsSkinProvider::PaintNonClient(HDC dc)
{
    if (skinData_->BGChanged) {
        PaintFrame();
        // A paint put off for the dirty menu keeps the frame dirty for the paint that follows it.
        if (!menuPaintDeferred_) {
            skinData_->BGChanged = false;
            skinData_->FUpdating = false;
        }
    }
    TBitmap* cache = skinData_->CacheBmp();
    if (!cache || cache->Empty())
        return;
    HDC src = cache->Canvas()->Handle();
    const int w = cache->Width();
    const int h = cache->Height();
    const int bw = FormBorderWidth();
    const int sbw = SysBorderWidth() + bw;
    const int sbh = SysBorderHeight() + bw;
    const int top = NonClientTopHeight();
    BitBlt(dc, 0, 0, w, top, src, 0, 0, SRCCOPY);
    const int rows = MenuLineVisible() ? MenuLineRows() * MenuHeight() : 0;
    const int r = SysBorderHeight() + CaptionHeight() + (IsIconic() ? 1 : 0) + rows + bw;
    BitBlt(dc, 0, r, sbw, h - r, src, 0, r, SRCCOPY);
    BitBlt(dc, w - sbw, r, sbw, h - r, src, w - sbw, r, SRCCOPY);
    BitBlt(dc, sbh, h - sbh, w - sbh, sbh, src, sbh, h - sbh, SRCCOPY);
}

void TsSkinProvider::PaintBorderlessStrips(HDC dc)
{
    if (skinData_->BGChanged) {
        PaintFrame();
        skinData_->BGChanged = false;
        skinData_->FUpdating = false;
    }
    TBitmap* cache = skinData_->CacheBmp();
    if (!cache || cache->Empty())
        return;
    // The sizing border a form without a frame keeps is the system's 3 pixels, inside them its own margin.
    const int k = FormBorderWidth() + 3;
    HDC src = cache->Canvas()->Handle();
    const int w = cache->Width(), h = cache->Height();
    BitBlt(dc, 0, 0, w, k, src, 0, 0, SRCCOPY);
    BitBlt(dc, 0, h - k, w, k, src, 0, h - k, SRCCOPY);
    BitBlt(dc, 0, 0, k, h, src, 0, 0, SRCCOPY);
    BitBlt(dc, w - k, 0, k, h, src, w - k, 0, SRCCOPY);
}

void TsSkinProvider::PaintHeldControl(HDC dc, TControl* held)
{
    bool child = false;
    for (int i = 0; i < form_->ControlCount(); ++i)
        child = child || form_->Controls(i) == held;
    if (!child)
        return;
    // A copy being painted stays one for the control.
    const bool paintCopy = form_->ControlState.Contains(csPaintCopy) && !held->ControlState.Contains(csPaintCopy);
    if (paintCopy)
        held->ControlState.Include(csPaintCopy);
    if (held->ControlStyle.Contains(csOpaque)) {
        TSavedDC saved(dc);
        SetViewportOrgEx(dc, held->Left(), held->Top(), nullptr);
        IntersectClipRect(dc, 0, 0, held->Width(), held->Height());
        held->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    } else if (held->Width() > 0 && held->Height() > 0) {
        // A control that leaves pixels unpainted gets the form's look behind it first.
        TBitmap* cache = skinData_->CacheBmp();
        auto under = CreateBmp24(held->Width(), held->Height());
        HDC bmpDC = under->Canvas()->Handle();
        if (cache && !cache->Empty())
            BitBlt(bmpDC, 0, 0, held->Width(), held->Height(), cache->Canvas()->Handle(),
                   ClientOffsetX() + held->Left(), ClientOffsetY() + held->Top(), SRCCOPY);
        held->Perform(WM_PAINT, reinterpret_cast<WPARAM>(bmpDC), 0);
        BitBlt(dc, held->Left(), held->Top(), held->Width(), held->Height(), bmpDC, 0, 0, SRCCOPY);
    }
    if (paintCopy)
        held->ControlState.Exclude(csPaintCopy);
}

void TsSkinProvider::MarkChildBackgroundsChanged()
{
    // What the controls keep of the form behind them is out of date.
    for (int i = 0; i < form_->ControlCount(); ++i) {
        TControl* child = form_->Controls(i);
        if (child->HasState(csDestroying))
            continue;
        if (auto* win = dynamic_cast<TWinControl*>(child)) {
            if (win->HandleAllocated())
                SendSkinCmd(win->Handle(), SkinCmdSetBgChanged, 0);
        } else {
            SendSkinCmdToControl(child, SkinCmdSetBgChanged, 0);
        }
    }
}

void TsSkinProvider::PaintClientBackground(HDC dc, bool notify)
{
    TBitmap* cache = skinData_->CacheBmp();
    if (auto* held = static_cast<TControl*>(skinData_->HeldObject)) {
        PaintHeldControl(dc, held);
        return;
    }
    const bool childrenChanged = forceChildRepaint_ || skinData_->BGChanged;
    // While the flag of skin command 9 is set the cache is kept as it was painted.
    if (!skinData_->ParentBgForced)
        PaintFrame();
    if (!cache || cache->Empty())
        return;
    if (form_->FormStyle() != fsMDIForm) {
        RECT client;
        GetClientRect(form_->Handle(), &client);
        const TRect dest{0, 0, client.right, client.bottom};
        const TRect src{ClientOffsetX(), ClientOffsetY(), ClientOffsetX() + client.right, ClientOffsetY() + client.bottom};
        CopyWinControlCache(form_, skinData_.get(), src, 0, 0, false, dc, dest);
        if (childrenChanged)
            MarkChildBackgroundsChanged();
        ::PaintControls(dc, form_, TPoint{0, 0});
    }
    if (notify) {
        RefreshChildControls(form_);
        if (adapter_) {
            TMessage m = MakeSkinCmd(SkinCmdEndParentUpdate, 0);
            adapter_->BroadcastToItems(m);
        }
    }
    forceChildRepaint_ = false;
}
