// The sizes of the skinned frame: borders, caption, menu line, icon and caption buttons, all in window
// coordinates of the form, read from the window itself so they hold while it is being resized.
#include "skin/forms/sSkinProvider.h"

#include "skin/forms/sSkinMenus.h"
#include "skin/forms/sSystemMenu.h"

namespace {

RECT WindowRectOf(TCustomForm* form)
{
    RECT r{0, 0, 0, 0};
    if (form && form->HandleAllocated())
        GetWindowRect(form->Handle(), &r);
    return r;
}

RECT ClientRectOf(TCustomForm* form)
{
    RECT r{0, 0, 0, 0};
    if (form && form->HandleAllocated())
        GetClientRect(form->Handle(), &r);
    return r;
}

// The width of one state frame and the height of one half of a caption-button image.
int StateWidth(const TsMaskData& md)
{
    if (md.ImageCount <= 0)
        return 0;
    return md.Bmp ? md.Bmp->Width() / md.ImageCount : (md.R.right - md.R.left) / md.ImageCount;
}

} // namespace

bool TsSkinProvider::IsMDIChild() const
{
    return form_ && form_->FormStyle() == fsMDIChild;
}

bool TsSkinProvider::HasBorder() const
{
    return form_ && (form_->BorderStyle() != bsNone || IsMDIChild());
}

bool TsSkinProvider::IsSizeable() const
{
    return form_ && form_->HandleAllocated() && (GetWindowLongPtrW(form_->Handle(), GWL_STYLE) & WS_THICKFRAME);
}

bool TsSkinProvider::IsIconic() const
{
    return form_ && form_->HandleAllocated() && ::IsIconic(form_->Handle());
}

bool TsSkinProvider::IsMaximized() const
{
    return form_ && form_->HandleAllocated() && ::IsZoomed(form_->Handle());
}

int TsSkinProvider::SysBorderWidth() const
{
    if (!HasBorder())
        return 0;
    const TFormBorderStyle bs = form_->BorderStyle();
    const bool dlgFrame = IsMDIChild() ? (bs == bsSingle || bs == bsToolWindow)
                                       : (bs == bsSingle || bs == bsDialog || bs == bsToolWindow);
    return GetSystemMetrics(dlgFrame ? SM_CXDLGFRAME : SM_CXFRAME);
}

int TsSkinProvider::SysBorderHeight() const
{
    if (!HasBorder())
        return 0;
    const TFormBorderStyle bs = form_->BorderStyle();
    const bool dlgFrame = IsMDIChild() ? (bs == bsSingle || bs == bsToolWindow)
                                       : (bs == bsSingle || bs == bsDialog || bs == bsToolWindow);
    return GetSystemMetrics(dlgFrame ? SM_CYDLGFRAME : SM_CYFRAME);
}

int TsSkinProvider::CaptionHeight() const
{
    if (!HasBorder() || !form_->HandleAllocated())
        return 0;
    if ((GetWindowLongPtrW(form_->Handle(), GWL_STYLE) & WS_CAPTION) != WS_CAPTION)
        return 0;
    const TFormBorderStyle bs = form_->BorderStyle();
    return GetSystemMetrics(bs == bsToolWindow || bs == bsSizeToolWin ? SM_CYSMCAPTION : SM_CYCAPTION);
}

int TsSkinProvider::FormWidth() const
{
    const RECT r = WindowRectOf(form_);
    return r.right - r.left;
}

int TsSkinProvider::FormHeight() const
{
    const RECT r = WindowRectOf(form_);
    return r.bottom - r.top;
}

int TsSkinProvider::MenuHeight() const
{
    return form_ && form_->Menu() ? GetSystemMetrics(SM_CYMENU) - 1 : 0;
}

bool TsSkinProvider::MenuLineVisible() const
{
    if (!form_ || form_->BorderStyle() == bsDialog || IsMDIChild() || !form_->Menu())
        return false;
    return !form_->Menu()->BarItems().empty();
}

int TsSkinProvider::MenuLineRows()
{
    if (menuLineCount_ >= 0)
        return menuLineCount_;
    menuLineCount_ = 1;
    if (!form_ || !form_->Menu() || !form_->HandleAllocated())
        return menuLineCount_;
    HWND wnd = form_->Handle();
    const int limit = FormWidth() - 2 * SysBorderWidth() - 2 * FormBorderWidth();
    int x = SysBorderWidth();
    // A maximized child's icon takes the bar's first place, ahead of the items.
    RECT icon;
    if (MDIMainProvider == this && IsChildIconShown() && GetMenuItemRect(wnd, form_->Menu()->Handle(), 0, &icon))
        x += icon.right - icon.left;
    for (TMenuItem* item : form_->Menu()->BarItems()) {
        RECT r;
        if (!item->OnAdvancedDrawItem || !item->OnMeasureItem)
            continue;
        const int index = form_->Menu()->BarPosition(item);
        if (index < 0 || !GetMenuItemRect(wnd, form_->Menu()->Handle(), static_cast<UINT>(index), &r))
            continue;
        const int w = r.right - r.left;
        if (limit < x + w) {
            ++menuLineCount_;
            x = SysBorderWidth();
        }
        x += w;
    }
    return menuLineCount_;
}

int TsSkinProvider::NonClientTopHeight() const
{
    const RECT w = WindowRectOf(form_);
    const RECT c = ClientRectOf(form_);
    int h = (w.bottom - w.top) - c.bottom - (CaptionHeight() > 0 ? SysBorderHeight() + FormBorderWidth() : 0);
    if (h < 0)
        h = 0;
    if (IsIconic())
        h += SysBorderHeight();
    // The skinned horizontal bar lies under the client area, not in the top strip.
    return h - HorzScrollBarHeight();
}

int TsSkinProvider::ClientOffsetX() const
{
    const RECT w = WindowRectOf(form_);
    const RECT c = ClientRectOf(form_);
    return ((w.right - w.left) - c.right - VertScrollBarWidth()) / 2;
}

int TsSkinProvider::ClientOffsetY() const
{
    const RECT w = WindowRectOf(form_);
    const RECT c = ClientRectOf(form_);
    return (w.bottom - w.top) - c.bottom - (CaptionHeight() > 0 ? SysBorderHeight() + FormBorderWidth() : 0) -
           HorzScrollBarHeight();
}

int CaptionIconSize(int h)
{
    if (h < 9)
        return 0;
    if (h <= 16)
        return 8;
    if (h <= 27)
        return 16;
    return 32;
}

bool TsSkinProvider::ShowIcon() const
{
    return ShowAppIcon && form_ && (form_->BorderStyle() == bsSingle || form_->BorderStyle() == bsSizeable);
}

int TsSkinProvider::IconWidth() const
{
    if (!ShowIcon())
        return 0;
    return titleIcon_->Width != 0 ? titleIcon_->Width : CaptionIconSize(CaptionHeight());
}

int TsSkinProvider::IconHeight() const
{
    if (!ShowIcon())
        return 0;
    return titleIcon_->Height != 0 ? titleIcon_->Height : CaptionIconSize(CaptionHeight());
}

TRect TsSkinProvider::IconRect() const
{
    TRect r;
    r.Left = SysBorderWidth();
    r.Right = r.Left + IconWidth();
    r.Top = (CaptionHeight() + SysBorderHeight() - IconHeight()) / 2;
    r.Bottom = r.Top + IconHeight();
    return r;
}

int TsSkinProvider::ButtonWidth(const TsCaptionButton& button) const
{
    TsSkinManager* sm = Manager();
    if (!IsValidMaskIndex(sm, button.ImageIndex))
        return 21;
    const int w = StateWidth(sm->Masks[static_cast<size_t>(button.ImageIndex)]);
    return w > 0 ? w : 21;
}

int TsSkinProvider::ButtonHeight() const
{
    TsSkinManager* sm = Manager();
    if (!IsValidMaskIndex(sm, closeButton_.ImageIndex))
        return 21;
    const TsMaskData& md = sm->Masks[static_cast<size_t>(closeButton_.ImageIndex)];
    return md.Bmp ? md.Bmp->Height() / 2 : (md.R.bottom - md.R.top) / MaskRows(md);
}

int TsSkinProvider::TitleButtonWidth(const TsTitleButton* button) const
{
    TsSkinManager* sm = Manager();
    int state = 21;
    if (IsValidMaskIndex(sm, titleButtonIndex_)) {
        const TsMaskData& md = sm->Masks[static_cast<size_t>(titleButtonIndex_)];
        // The rectangle's width, also for an image with a bitmap of its own (whose R covers it).
        state = md.ImageCount > 0 ? (md.R.right - md.R.left) / md.ImageCount : 21;
    }
    const int glyph = button && button->Glyph() ? button->Glyph()->Width() + 2 : 2;
    return glyph > state ? glyph : state;
}

bool TsSkinProvider::VisibleMax() const
{
    return systemMenu_ && systemMenu_->VisibleMax();
}

bool TsSkinProvider::VisibleMin() const
{
    return systemMenu_ && systemMenu_->VisibleMin();
}

bool TsSkinProvider::VisibleClose() const
{
    return systemMenu_ && systemMenu_->VisibleClose();
}

bool TsSkinProvider::CanMaximize() const
{
    return systemMenu_ && systemMenu_->CanMaximize();
}

bool TsSkinProvider::CanMinimize() const
{
    return systemMenu_ && systemMenu_->CanMinimize();
}

bool TsSkinProvider::CanRestore() const
{
    return systemMenu_ && systemMenu_->CanRestore();
}

int TsSkinProvider::CaptionButtonCount() const
{
    if (!form_ || !form_->BorderIcons().Contains(biSystemMenu) || !systemMenu_)
        return 0;
    return 3 + (form_->BorderIcons().Contains(biHelp) ? 1 : 0) - (VisibleMin() ? 0 : 1) - (VisibleMax() ? 0 : 1);
}

int TsSkinProvider::ButtonsWidth() const
{
    TsSkinManager* sm = Manager();
    const int space = sm ? sm->SkinData()->BISpace : 0;
    int w = 0;
    if (form_ && form_->BorderIcons().Contains(biSystemMenu) && systemMenu_) {
        w += ButtonWidth(closeButton_) + space;
        if (VisibleMax())
            w += ButtonWidth(maxButton_) + space;
        if (VisibleMin())
            w += ButtonWidth(minButton_) + space;
        if (form_->BorderIcons().Contains(biHelp))
            w += ButtonWidth(helpButton_) + space;
    }
    for (int i = 0; i < titleButtons_->Count(); ++i)
        w += TitleButtonWidth(titleButtons_->Items(i)) + space;
    return w;
}

TPoint TsSkinProvider::WindowOrigin() const
{
    const RECT r = WindowRectOf(form_);
    return TPoint{r.left, r.top};
}
