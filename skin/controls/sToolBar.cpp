// The skinned tool bar: the system's tool bar keeps laying out and pressing its buttons, while its
// custom-draw stages copy the bar's cached background and paint each button from "TOOLBUTTON" into a
// work bitmap of its own.
#include "skin/controls/sToolBar.h"

#include "framework/FormData.h"
#include "framework/Forms.h"
#include "framework/Menus.h"
#include "skin/core/sControlPaint.h"
#include "skin/core/sItemPainter.h"
#include "skin/core/sMaskPainter.h"
#include "skin/core/sMessages.h"
#include "skin/core/sSkinForms.h"
#include "skin/core/sSkinManager.h"
#include "skin/core/sTextColors.h"
#include "skin/core/sVclUtils.h"

#include <commctrl.h>

namespace {

constexpr UINT kButtonTextFlags = DT_CENTER | DT_VCENTER | DT_SINGLELINE;

bool OwnManager(const TMessage& m, const TsCommonData* data)
{
    return m.LParam == reinterpret_cast<LPARAM>(data->GetSkinManager());
}

bool IsPushButton(const TToolButton* button)
{
    const TToolButtonStyle s = button->Style();
    return s == tbsButton || s == tbsCheck || s == tbsDropDown;
}

// State index of a button from its custom-draw state: 0 normal, 1 hot, 2 pressed or checked.
int StateIndex(TCustomDrawState state)
{
    if (state.Empty() || state == TCustomDrawState{cdsDisabled})
        return 0;
    if (state.Contains(cdsSelected) || state.Contains(cdsChecked))
        return 2;
    return 1;
}

bool Overlaps(const TRect& a, const TRect& b)
{
    return a.Left < b.Right && a.Top < b.Bottom && b.Left < a.Right && b.Top < a.Bottom;
}


} // namespace

TsToolBar::TsToolBar(TComponent* owner) : TToolBar(owner), skinData_(std::make_unique<TsCommonData>(this, true))
{
    skinData_->COC = COC_TsToolBar;
}

TsToolBar::~TsToolBar()
{
    openDropButton_ = nullptr;
}

void TsToolBar::AfterConstruction()
{
    TToolBar::AfterConstruction();
    skinData_->Loaded();
    HookCustomDraw();
}

void TsToolBar::Loaded()
{
    TToolBar::Loaded();
    skinData_->Loaded();
    HookCustomDraw();
}

void TsToolBar::SetBtnDisabledKind(TsDisabledKind value)
{
    if (value == btnDisabledKind_)
        return;
    btnDisabledKind_ = value;
    Repaint();
}

void TsToolBar::HookCustomDraw()
{
    const TTBAdvancedCustomDrawEvent background(this, &TsToolBar::DrawBackground);
    const TTBAdvancedCustomDrawBtnEvent button(this, &TsToolBar::DrawButton);
    if (skinData_->Skinned()) {
        OnAdvancedCustomDraw = background;
        OnAdvancedCustomDrawButton = button;
        return;
    }
    // Only the skinned painters are taken back: handlers the program set itself stay.
    if (OnAdvancedCustomDraw == background)
        OnAdvancedCustomDraw = nullptr;
    if (OnAdvancedCustomDrawButton == button)
        OnAdvancedCustomDrawButton = nullptr;
}

void TsToolBar::Notification(TComponent* component, TOperation operation)
{
    TToolBar::Notification(component, operation);
    if (operation == TOperation::opRemove && component == openDropButton_)
        openDropButton_ = nullptr;
    auto* menu = dynamic_cast<TPopupMenu*>(component);
    TsSkinManager* sm = DefaultManager();
    if (!menu || !sm || !skinData_->Skinned())
        return;
    // A menu on its way out is not handed back: nothing will show it again.
    if (operation == TOperation::opRemove && menu->HasState(csDestroying))
        return;
    if (IacSkinMenus* menus = sm->SkinableMenus())
        menus->HookPopupMenu(menu, operation == TOperation::opInsert);
}

int TsToolBar::ButtonAtPoint(TPoint p)
{
    if (!HandleAllocated())
        return -1;
    for (int i = 0; i < ButtonCount(); ++i) {
        RECT r{};
        if (!SendMessageW(Handle(), TB_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r)))
            continue;
        if (!PtInRect(&r, POINT{p.X, p.Y}))
            continue;
        return IsPushButton(Buttons(i)) ? i : -1;
    }
    return -1;
}

TRect TsToolBar::ClientInWindow()
{
    RECT c{};
    GetClientRectOffset(Handle(), c);
    return TRect::FromRECT(c);
}

void TsToolBar::RepaintToolButton(int index)
{
    if (index < 0 || index >= ButtonCount() || !HandleAllocated())
        return;
    TWindowDC windowDC(Handle());
    HDC dc = windowDC.Get();
    const TRect c = ClientInWindow();
    TSavedDC saved(dc);
    SetWindowOrgEx(dc, -c.Left, -c.Top, nullptr);
    {
        TCanvasDCBinding bind(Canvas(), dc);
        TTBCustomDrawFlags flags = TTBCustomDrawFlags::FromBits(17);
        bool defaultDraw = false;
        DrawButton(this, Buttons(index), TCustomDrawState{}, cdPrePaint, flags, defaultDraw);
    }
}

void TsToolBar::PrepareCache()
{
    TsCommonData* data = skinData_.get();
    data->InitCacheBmp();
    TCacheInfo ci;
    data->GetParentCache(ci);
    PaintItem(data, ci, true, true, data->CacheBmp(), Point(Left(), Top()), Rect(0, 0, Width(), Height()), 0);
    data->BGChanged = false;
}

void TsToolBar::CopyCacheToDC(TPoint src, HDC dc, const TRect& dest)
{
    TsCommonData* data = skinData_.get();
    UpdateCacheBorder(data, 0);
    TSavedDC saved(dc);
    IntersectClipRect(dc, dest.Left, dest.Top, dest.Right, dest.Bottom);
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* child = Controls(i);
        if (!child->Visible() || !Overlaps(child->BoundsRect(), dest))
            continue;
        // Buttons and other windowless children are painted over the background afterwards.
        if (child->ControlStyle.Contains(csOpaque) || !dynamic_cast<TWinControl*>(child))
            ExcludeClipRect(dc, child->Left(), child->Top(), child->Left() + child->Width(),
                            child->Top() + child->Height());
    }
    BitBlt(dc, dest.Left, dest.Top, dest.Width(), dest.Height(), data->CacheBmp()->Canvas()->Handle(), src.X + dest.Left,
           src.Y + dest.Top, SRCCOPY);
}

void TsToolBar::DrawBackground(TToolBar*, const TRect& r, TCustomDrawStage stage, bool& defaultDraw)
{
    TsCommonData* data = skinData_.get();
    if (!data->Skinned()) {
        defaultDraw = true;
        return;
    }
    data->FUpdating = data->Updating();
    if (stage != cdPrePaint) {
        defaultDraw = false;
        return;
    }
    if (data->FUpdating)
        return;
    data->InitCacheBmp();
    data->CacheBmp()->Canvas()->Font()->Assign(Font());
    if (data->BGChanged)
        PrepareCache();
    const TRect c = ClientInWindow();
    CopyCacheToDC(c.TopLeft(), Canvas()->Handle(), r);
    ::PaintControls(Canvas()->Handle(), this, Point(0, 0));
    RefreshChildControls(this);
    if (c.Left != 0 || c.Top != 0 || c.Width() != Width() || c.Height() != Height())
        Perform(WM_NCPAINT, 0, 0);
}

int TsToolBar::ArrowWidth(const TToolButton* button) const
{
    return button->Style() == tbsDropDown ? GetSystemMetrics(SM_CXVSCROLL) : 0;
}

void TsToolBar::DrawButton(TToolBar*, TToolButton* button, TCustomDrawState state, TCustomDrawStage stage,
                           TTBCustomDrawFlags& flags, bool& defaultDraw)
{
    TsCommonData* data = skinData_.get();
    if (!data->Skinned()) {
        defaultDraw = true;
        return;
    }
    defaultDraw = false;
    if (stage != cdPrePaint || !button || !HandleAllocated())
        return;
    if (!Flat() && button->Index() == hotButtonNo_)
        state.Include(cdsHot);
    flags.Include(tbNoEdges).Include(tbNoEtchedEffect);
    RECT item{};
    if (!SendMessageW(Handle(), TB_GETITEMRECT, static_cast<WPARAM>(button->Index()), reinterpret_cast<LPARAM>(&item)))
        return;
    const int w = RectWidth(item), h = RectHeight(item);
    if (w <= 0 || h <= 0)
        return;
    data->InitCacheBmp();
    if (data->BGChanged)
        PrepareCache();
    std::unique_ptr<TBitmap> work = CreateBmp24(w, h);
    if (!work)
        return;
    work->Canvas()->Font()->Assign(Font());
    data->CacheBmp()->Canvas()->Font()->Assign(Font());
    TsSkinManager* sm = data->GetSkinManager();
    const TRect c = ClientInWindow();
    TButtonPaint p{work.get(), sNoColor, FindSectionIndex(sm, L"TOOLBUTTON"), StateIndex(state), button,
                   MakeCacheInfo(data->CacheBmp(), c.Left, c.Top)};
    const TRect area = Rect(0, 0, w, button->Height());
    PaintItemBg(p.SkinIndex, L"TOOLBUTTON", p.CI, sNoColor, -1, -1, sm, work.get(),
                Point(button->Left(), button->Top()), area, p.State);
    p.CI.X += button->Left();
    p.CI.Y += button->Top();
    const int border = FindMaskIndex(sm, p.SkinIndex, L"TOOLBUTTON", L"BORDERSMASK");
    if (IsValidMaskIndex(sm, border))
        DrawSkinRect(work.get(), area, true, p.CI, sm->Masks[static_cast<size_t>(border)], p.State, true);
    if (ShowCaptions())
        WriteTextEx(work->Canvas(), button->Caption().c_str(), button->Enabled(), sm, p.State > 0, p.SkinIndex,
                    kButtonTextFlags, CaptionRect(p));
    if (Images() && button->ImageIndex() >= 0 && button->ImageIndex() < Images()->Count())
        CopyToolButtonGlyph(p);
    if (button->Style() == tbsDropDown)
        DrawDropDownArrow(p, state);
    if (!button->Enabled())
        PaintDisabledEffect(work.get(), DisabledKindFlags(btnDisabledKind_), Parent(), Point(0, 0), p.CI);
    BitBlt(Canvas()->Handle(), button->Left(), button->Top(), w, h, work->Canvas()->Handle(), 0, 0, SRCCOPY);
}

TRect TsToolBar::CaptionRect(const TButtonPaint& p)
{
    const TToolButton* button = p.Button;
    const int contentWidth = button->Width() - ArrowWidth(button);
    TRect r;
    if (List()) {
        r = Rect(Images() ? Images()->Width() + 6 : 1, 2, contentWidth - 2, button->Height() - 2);
    } else {
        TCanvas* canvas = skinData_->CacheBmp()->Canvas();
        const int th = canvas->TextHeight(L"A");
        const int tw = canvas->TextWidth(const_cast<TToolButton*>(button)->Caption());
        int b, top;
        if (Images()) {
            b = (button->Height() - Images()->Height() - th - 3) / 2;
            top = b + Images()->Height() + 3;
        } else {
            b = (button->Height() - th) / 2;
            top = b;
        }
        const int g = (contentWidth - tw) / 2;
        r = Rect(g - 1, top, contentWidth - g + 2, button->Height() - b);
    }
    if (p.State == 2)
        r = Rect(r.Left + 1, r.Top + 1, r.Right + 1, r.Bottom + 1);
    return r;
}

void TsToolBar::CopyToolButtonGlyph(TButtonPaint& p)
{
    TToolButton* button = p.Button;
    TCustomImageList* images = Images();
    TPoint at;
    if (List()) {
        at = Point(5, (button->Height() - images->Height()) / 2);
    } else {
        const int captionHeight = ShowCaptions() ? skinData_->CacheBmp()->Canvas()->TextHeight(L"A") + 3 : 0;
        at = Point((button->Width() - images->Width()) / 2 - (button->Style() == tbsDropDown ? 8 : 0) + 1,
                   (button->Height() - images->Height() - captionHeight) / 2);
    }
    if (p.State == 2)
        at = Point(at.X + 1, at.Y + 1);
    TCustomImageList* list = images;
    if (p.State != 0 && HotImages() && button->ImageIndex() < HotImages()->Count())
        list = HotImages();
    p.KeyColor = images->BkColor() == clNone ? sNoColor : ColorToRGB(images->BkColor());
    // The glyph is drawn over the key colour, so every pixel it leaves alone stays transparent.
    std::unique_ptr<TBitmap> glyph = CreateBmp24(list->Width(), list->Height());
    if (!glyph)
        return;
    TCanvas* canvas = glyph->Canvas();
    canvas->Brush()->SetColor(p.KeyColor);
    canvas->FillRect(Rect(0, 0, list->Width(), list->Height()));
    list->Draw(canvas, 0, 0, button->ImageIndex(), true);
    CopyTransBitmaps(p.Bmp, glyph.get(), at.X, at.Y, p.KeyColor);
}

void TsToolBar::DrawDropDownArrow(TButtonPaint& p, TCustomDrawState state)
{
    TsSkinManager* sm = skinData_->GetSkinManager();
    const int arrowMask = sm ? sm->ConstData.ComboBoxGlyph : -1;
    if (!IsValidMaskIndex(sm, arrowMask))
        return;
    TToolButton* button = p.Button;
    int a = 0;
    if ((button == openDropButton_ && button->DropdownMenu()) || button->Down())
        a = 2;
    else if (state.Contains(cdsHot))
        a = 1;
    const int arrowWidth = ArrowWidth(button);
    const int contentWidth = button->Width() - arrowWidth;
    const int border = FindMaskIndex(sm, p.SkinIndex, L"TOOLBUTTON", L"BORDERSMASK");
    if (IsValidMaskIndex(sm, border)) {
        TCacheInfo ci = p.CI;
        ci.X += contentWidth;
        DrawSkinRect(p.Bmp, Rect(contentWidth, 0, button->Width(), button->Height()), true, ci,
                     sm->Masks[static_cast<size_t>(border)], a, true);
    }
    const TsMaskData& md = sm->Masks[static_cast<size_t>(arrowMask)];
    const int frameW = RectWidth(md.R) / MaskFrames(md);
    const int frameH = RectHeight(md.R) / MaskRows(md);
    DrawSkinGlyph(p.Bmp, Point((arrowWidth - (frameW + 3)) / 2 + contentWidth + 2, (ButtonHeight() - frameH) / 2), a, md,
                  1);
}

bool TsToolBar::SkinCommand(TMessage& m)
{
    TsCommonData* data = skinData_.get();
    switch (SkinCmdOf(m.WParam)) {
    case SkinCmdSkinChanged:
        if (!OwnManager(m, data))
            return false;
        BroadcastToChildren(this, m);
        CommonMessage(m, data);
        return true;
    case SkinCmdSkinRemoved:
    case SkinCmdRefresh:
        if (!OwnManager(m, data))
            return false;
        openDropButton_ = nullptr;
        CommonMessage(m, data);
        BroadcastToChildren(this, m);
        HookCustomDraw();
        Repaint();
        if (HandleAllocated())
            SendMessageW(Handle(), WM_NCPAINT, 0, 0);
        return true;
    case SkinCmdGetCache:
        if (!data->Skinned())
            return false;
        CacheReply.Ready = false;
        if (data->CacheBmp()) {
            const TRect c = ClientInWindow();
            CacheReply = MakeCacheInfo(data->CacheBmp(), c.Left, c.Top);
        }
        return true;
    case SkinCmdEndParentUpdate:
        if (!data->Updating())
            return false;
        data->FUpdating = false;
        Repaint();
        return true;
    default:
        return false;
    }
}

void TsToolBar::HandleNotify(TMessage& m)
{
    auto* header = reinterpret_cast<NMHDR*>(m.LParam);
    if (header->code == TBN_DELETINGBUTTON) {
        if (hotButtonNo_ >= ButtonCount())
            hotButtonNo_ = -1;
    } else if (header->code == TBN_DROPDOWN) {
        auto* info = reinterpret_cast<NMTOOLBARW*>(m.LParam);
        if (TToolButton* button = ButtonOfNative(info->iItem)) {
            openDropButton_ = button;
            RepaintToolButton(button->Index());
        }
    }
}

void TsToolBar::MouseMoved(const TMessage& m)
{
    if (Flat())
        return;
    const int i = ButtonAtPoint(Point(m.XPos(), m.YPos()));
    if (i == hotButtonNo_ || (i >= 0 && !Buttons(i)->Enabled()))
        return;
    const int old = hotButtonNo_;
    hotButtonNo_ = i;
    if (old >= 0 && old < ButtonCount() && !Buttons(old)->Down())
        RepaintToolButton(old);
    if (i >= 0 && !Buttons(i)->Down())
        RepaintToolButton(i);
}

void TsToolBar::MouseLeft()
{
    if (Flat())
        return;
    const int old = hotButtonNo_;
    hotButtonNo_ = -1;
    if (old >= 0 && old < ButtonCount() && !Buttons(old)->Down())
        RepaintToolButton(old);
}

void TsToolBar::DropDownClosed()
{
    if (!openDropButton_)
        return;
    TToolButton* button = openDropButton_;
    hotButtonNo_ = -1;
    openDropButton_ = nullptr;
    RepaintToolButton(button->Index());
}

void TsToolBar::PaintFrame()
{
    TsCommonData* data = skinData_.get();
    data->FUpdating = data->Updating();
    if (HasState(csDestroying) || data->FUpdating || !HandleAllocated())
        return;
    data->InitCacheBmp();
    if (data->BGChanged)
        PrepareCache();
    const TRect c = ClientInWindow();
    TWindowDC windowDC(Handle());
    HDC dc = windowDC.Get();
    ExcludeClipRect(dc, c.Left, c.Top, c.Right, c.Bottom);
    HDC cache = data->CacheBmp()->Canvas()->Handle();
    const int w = Width(), h = Height();
    BitBlt(dc, 0, 0, w, c.Top, cache, 0, 0, SRCCOPY);
    BitBlt(dc, 0, c.Top, c.Left, c.Height(), cache, 0, c.Top, SRCCOPY);
    BitBlt(dc, 0, c.Bottom, w, h - c.Height() - c.Top, cache, 0, c.Bottom, SRCCOPY);
    BitBlt(dc, c.Right, c.Top, w - c.Left - c.Width(), c.Height(), cache, c.Right, c.Top, SRCCOPY);
}

void TsToolBar::Print(TMessage& m)
{
    TsCommonData* data = skinData_.get();
    HDC dc = reinterpret_cast<HDC>(m.WParam);
    if (!dc)
        return;
    data->FUpdating = false;
    const TRect c = ClientInWindow();
    data->InitCacheBmp();
    if (data->BGChanged)
        PrepareCache();
    HDC cache = data->CacheBmp()->Canvas()->Handle();
    const int w = Width(), h = Height();
    BitBlt(dc, 0, 0, w, c.Top, cache, 0, 0, SRCCOPY);
    BitBlt(dc, 0, c.Top, c.Left, c.Height(), cache, 0, c.Top, SRCCOPY);
    BitBlt(dc, 0, c.Bottom, w, h - c.Bottom, cache, 0, c.Bottom, SRCCOPY);
    BitBlt(dc, c.Right, c.Top, w - c.Right, c.Height(), cache, c.Right, c.Top, SRCCOPY);
    TSavedDC saved(dc);
    OffsetViewportOrgEx(dc, c.Left, c.Top, nullptr);
    IntersectClipRect(dc, 0, 0, c.Width(), c.Height());
    SendMessageW(Handle(), WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
}

void TsToolBar::WndProc(TMessage& m)
{
    if (m.Msg == SM_SKINCMD && (AnswerCommonSkinCmd(m) || SkinCommand(m)))
        return;
    if (!ControlIsReady(this) || !skinData_->Skinned()) {
        TToolBar::WndProc(m);
        return;
    }
    switch (m.Msg) {
    case WM_ERASEBKGND:
        m.Result = 1;
        return;
    case WM_NCPAINT:
        PaintFrame();
        return;
    case WM_PRINT:
        Print(m);
        return;
    case CM_TEXTCHANGED:
        Repaint();
        return;
    case CN_NOTIFY:
        HandleNotify(m);
        TToolBar::WndProc(m);
        return;
    default:
        break;
    }
    if (CommonMessage(m, skinData_.get()))
        return;
    if (m.Msg == WM_PAINT) {
        try {
            TToolBar::WndProc(m);
        } catch (...) {
            // A paint over a half-built button list may fail; the next paint shows the bar whole.
        }
    } else {
        // The buttons' handlers run in here: their failures are the program's, reported as any other.
        TToolBar::WndProc(m);
    }
    switch (m.Msg) {
    case WM_SIZE:
    case CM_VISIBLECHANGED:
    case CM_ENABLEDCHANGED:
        InvalidateRect(Handle(), nullptr, FALSE);
        break;
    case WM_MOUSEMOVE:
        MouseMoved(m);
        break;
    case CN_DROPDOWNCLOSED:
        DropDownClosed();
        break;
    case CM_MOUSELEAVE:
        MouseLeft();
        break;
    default:
        break;
    }
}

void RegisterSkinToolBarClasses()
{
    RegisterCommonDataClass();
    RegisterClass<TsToolBar>(L"TsToolBar", L"TToolBar")
        .Object(L"SkinData", &TsToolBar::SkinData)
        .Set<TsDisabledKind, TsDisabledKindItem>(L"BtnDisabledKind", &TsToolBar::SetBtnDisabledKind,
                                                 {{L"dkBlended", dkBlended}, {L"dkGrayed", dkGrayed}});
}
