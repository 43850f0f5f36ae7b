// The tool bar over the system's tool bar, and its windowless tool buttons: each system button
// carries its button object in its data and its position as its command number.
#include "framework/ComCtrls.h"

#include "framework/ActnList.h"
#include "framework/Menus.h"

#include <algorithm>

#include <commctrl.h>

TCustomDrawState CustomDrawStateFromItemState(UINT itemState)
{
    static const std::pair<UINT, TCustomDrawStateItem> kBits[] = {
        {CDIS_SELECTED, cdsSelected}, {CDIS_GRAYED, cdsGrayed},   {CDIS_DISABLED, cdsDisabled},
        {CDIS_CHECKED, cdsChecked},   {CDIS_FOCUS, cdsFocused},   {CDIS_DEFAULT, cdsDefault},
        {CDIS_HOT, cdsHot},           {CDIS_MARKED, cdsMarked},   {CDIS_INDETERMINATE, cdsIndeterminate},
    };
    TCustomDrawState state;
    for (const auto& [bit, item] : kBits)
        if (itemState & bit)
            state.Include(item);
    return state;
}

namespace {

class TToolButtonActionLink : public TActionLink {
public:
    explicit TToolButtonActionLink(TToolButton* button) : TActionLink(button), button_(button) {}
    void SetCaption(const std::wstring& value) override { button_->SetCaption(value); }
    void SetHint(const std::wstring& value) override { button_->SetHint(value); }
    void SetEnabled(bool value) override { button_->SetEnabled(value); }
    void SetChecked(bool value) override { button_->SetDown(value); }
    void SetVisible(bool value) override { button_->SetVisible(value); }
    void SetImageIndex(int value) override { button_->SetImageIndex(value); }

private:
    TToolButton* button_;
};

// Binds a control canvas to a drawing surface handed over by the system for one call.
class TCanvasBinding {
public:
    TCanvasBinding(TControlCanvas* canvas, HDC dc) : canvas_(canvas)
    {
        canvas_->Lock();
        canvas_->FreeHandle();
        canvas_->SetHandle(dc);
    }
    ~TCanvasBinding()
    {
        canvas_->SetHandle(nullptr);
        canvas_->Unlock();
    }
    TCanvasBinding(const TCanvasBinding&) = delete;
    TCanvasBinding& operator=(const TCanvasBinding&) = delete;

private:
    TControlCanvas* canvas_;
};

} // namespace

// ---- TToolButton ----

TToolButton::TToolButton(TComponent* owner) : TGraphicControl(owner)
{
    // Clicks come from the system's button (WM_COMMAND), not from the framework's mouse handling.
    ControlStyle = {csSetCaption, csDoubleClicks};
    SetBounds(0, 0, 23, 22);
}

TToolButton::~TToolButton()
{
    actionLink_.reset();
    if (toolBar_ && parent_)
        parent_->RemoveControl(this);
}

int TToolButton::Index() const
{
    if (!toolBar_)
        return -1;
    auto& list = toolBar_->buttons_;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TToolButton::SetStyle(TToolButtonStyle value)
{
    if (value == style_)
        return;
    style_ = value;
    if (style_ == tbsSeparator || style_ == tbsDivider)
        SetWidth(8);
    if (toolBar_)
        toolBar_->RecreateButtons();
}

void TToolButton::SetImageIndex(int value)
{
    if (value == imageIndex_)
        return;
    imageIndex_ = value;
    if (toolBar_ && toolBar_->HandleAllocated() && Index() >= 0)
        SendMessageW(toolBar_->Handle(), TB_CHANGEBITMAP, static_cast<WPARAM>(Index()), value);
}

bool TToolButton::Down()
{
    if (toolBar_ && toolBar_->HandleAllocated() && style_ == tbsCheck && Index() >= 0)
        down_ = SendMessageW(toolBar_->Handle(), TB_ISBUTTONCHECKED, static_cast<WPARAM>(Index()), 0) != 0;
    return down_;
}

void TToolButton::SetDown(bool value)
{
    if (value == down_)
        return;
    down_ = value;
    if (toolBar_)
        toolBar_->UpdateButtonState(this);
}

void TToolButton::SetDropdownMenu(TPopupMenu* value)
{
    if (value == dropdownMenu_)
        return;
    if (dropdownMenu_)
        dropdownMenu_->RemoveFreeNotification(this);
    dropdownMenu_ = value;
    if (value)
        value->FreeNotification(this);
}

TBasicAction* TToolButton::Action() const
{
    return actionLink_ ? actionLink_->Action() : nullptr;
}

void TToolButton::SetAction(TBasicAction* value)
{
    if (!value) {
        actionLink_.reset();
        return;
    }
    if (!actionLink_)
        actionLink_ = std::make_unique<TToolButtonActionLink>(this);
    actionLink_->SetAction(value);
}

void TToolButton::Click()
{
    if (actionLink_ && actionLink_->Execute())
        return;
    TGraphicControl::Click();
}

void TToolButton::Notification(TComponent* component, TOperation operation)
{
    TGraphicControl::Notification(component, operation);
    if (operation == TOperation::opRemove && component == dropdownMenu_)
        dropdownMenu_ = nullptr;
}

void TToolButton::Dispatch(TMessage& message)
{
    static const TMessageEntry<TToolButton> kToolButtonMessages[] = {
        {CM_VISIBLECHANGED, &TToolButton::CMVisibleChanged},
        {CM_ENABLEDCHANGED, &TToolButton::CMEnabledChanged},
        {CM_TEXTCHANGED, &TToolButton::CMTextChanged},
    };
    if (DispatchIn(this, kToolButtonMessages, message))
        return;
    TGraphicControl::Dispatch(message);
}

void TToolButton::CMVisibleChanged(TMessage& m)
{
    TGraphicControl::Dispatch(m);
    if (toolBar_)
        toolBar_->UpdateButtonState(this);
}

void TToolButton::CMEnabledChanged(TMessage& m)
{
    TGraphicControl::Dispatch(m);
    if (toolBar_)
        toolBar_->UpdateButtonState(this);
}

void TToolButton::CMTextChanged(TMessage& m)
{
    TGraphicControl::Dispatch(m);
    if (toolBar_)
        toolBar_->RecreateButtons();
}

BYTE TToolButton::NativeState()
{
    BYTE state = 0;
    if (Enabled())
        state |= TBSTATE_ENABLED;
    if (!Visible())
        state |= TBSTATE_HIDDEN;
    if (down_)
        state |= style_ == tbsCheck ? TBSTATE_CHECKED : TBSTATE_PRESSED;
    return state;
}

// ---- TToolBar ----

TToolBar::TToolBar(TComponent* owner)
    : TWinControl(owner), canvas_(std::make_unique<TControlCanvas>()), imagesLink_(std::make_unique<TChangeLink>()),
      hotImagesLink_(std::make_unique<TChangeLink>()), disabledImagesLink_(std::make_unique<TChangeLink>())
{
    canvas_->SetControl(this);
    ControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents, csDoubleClicks, csSetCaption};
    for (TChangeLink* link : {imagesLink_.get(), hotImagesLink_.get(), disabledImagesLink_.get()})
        link->OnChange = TNotifyEvent(this, &TToolBar::ImageListChange);
    SetColor(clBtnFace);
    SetBounds(0, 0, 150, 29);
    SetAlign(alTop);
}

TToolBar::~TToolBar()
{
    for (TToolButton* button : buttons_)
        button->toolBar_ = nullptr;
    canvas_->FreeHandle();
}

TToolButton* TToolBar::Buttons(int index) const
{
    if (index < 0 || index >= ButtonCount())
        throw EListError(L"List index out of bounds (" + std::to_wstring(index) + L")");
    return buttons_[static_cast<size_t>(index)];
}

TToolButton* TToolBar::ButtonOfNative(int index)
{
    if (!handle_)
        return nullptr;
    TBBUTTON data{};
    if (!SendMessageW(handle_, TB_GETBUTTON, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&data)))
        return nullptr;
    return reinterpret_cast<TToolButton*>(data.dwData);
}

void TToolBar::CreateParams(TCreateParams& params)
{
    TWinControl::CreateParams(params);
    CreateSubClass(params, TOOLBARCLASSNAMEW);
    // The framework places the bar and draws its edges; the system only lays out the buttons.
    params.Style |= CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER | TBSTYLE_WRAPABLE | TBSTYLE_CUSTOMERASE;
    if (flat_)
        params.Style |= TBSTYLE_FLAT;
    if (list_)
        params.Style |= TBSTYLE_LIST;
    if (transparent_)
        params.Style |= TBSTYLE_TRANSPARENT;
    params.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

void TToolBar::CreateWnd()
{
    TWinControl::CreateWnd();
    SendMessageW(handle_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageW(handle_, TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_DRAWDDARROWS);
    // The frame computed at creation knew nothing of our borders.
    SetWindowPos(handle_, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    RecreateButtons();
}

void TToolBar::WndProc(TMessage& message)
{
    UINT msg = message.Msg;
    if (msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST && msg != WM_MOUSEWHEEL && handle_) {
        // Over a button the mouse events are the button's; the system's bar still gets the message
        // for its own pressing and hot tracking.
        TPoint pos = Point(message.XPos(), message.YPos());
        for (TToolButton* button : buttons_) {
            if (!button->Visible() || !button->BoundsRect().Contains(pos))
                continue;
            LPARAM local = MAKELPARAM(pos.X - button->Left(), pos.Y - button->Top());
            button->Perform(msg, message.WParam, local);
            // The button's handlers may have destroyed the bar's window.
            if (handle_)
                DefaultHandler(message);
            return;
        }
    }
    TWinControl::WndProc(message);
}

void TToolBar::Dispatch(TMessage& message)
{
    static const TMessageEntry<TToolBar> kToolBarMessages[] = {
        {CN_NOTIFY, &TToolBar::CNNotify},
        {CN_COMMAND, &TToolBar::CNCommand},
        {CN_DROPDOWNCLOSED, &TToolBar::CNDropdownClosed},
        {WM_NCCALCSIZE, &TToolBar::WMNCCalcSize},
        {WM_NCPAINT, &TToolBar::WMNCPaint},
        {WM_PAINT, &TToolBar::WMPaint},
        {WM_SIZE, &TToolBar::WMSize},
        {CM_CONTROLLISTCHANGE, &TToolBar::CMControlListChange},
    };
    if (DispatchIn(this, kToolBarMessages, message))
        return;
    TWinControl::Dispatch(message);
}

void TToolBar::CMControlListChange(TMessage& m)
{
    auto* control = reinterpret_cast<TControl*>(m.WParam);
    if (auto* button = dynamic_cast<TToolButton*>(control)) {
        if (m.LParam)
            InsertButton(button);
        else
            RemoveButton(button);
    }
}

void TToolBar::InsertButton(TToolButton* button)
{
    if (std::find(buttons_.begin(), buttons_.end(), button) != buttons_.end())
        return;
    buttons_.push_back(button);
    button->toolBar_ = this;
    RecreateButtons();
}

void TToolBar::RemoveButton(TToolButton* button)
{
    auto it = std::find(buttons_.begin(), buttons_.end(), button);
    if (it == buttons_.end())
        return;
    buttons_.erase(it);
    button->toolBar_ = nullptr;
    if (!HasState(csDestroying))
        RecreateButtons();
}

TBBUTTON TToolBar::NativeButton(int index, const std::wstring& caption)
{
    TToolButton* b = buttons_[static_cast<size_t>(index)];
    TBBUTTON tb{};
    tb.idCommand = index;
    tb.fsState = b->NativeState();
    tb.dwData = reinterpret_cast<DWORD_PTR>(b);
    tb.iString = -1;
    switch (b->Style()) {
    case tbsSeparator:
    case tbsDivider:
        tb.fsStyle = BTNS_SEP;
        tb.iBitmap = b->Width();
        break;
    default:
        tb.fsStyle = b->Style() == tbsCheck ? BTNS_CHECK : b->Style() == tbsDropDown ? BTNS_DROPDOWN : BTNS_BUTTON;
        tb.iBitmap = b->ImageIndex() >= 0 ? b->ImageIndex() : I_IMAGENONE;
        if (showCaptions_)
            tb.iString = reinterpret_cast<INT_PTR>(caption.c_str());
        break;
    }
    return tb;
}

void TToolBar::RecreateButtons()
{
    if (!handle_ || updatingButtons_ || HasState(csDestroying))
        return;
    updatingButtons_ = true;
    try {
        while (SendMessageW(handle_, TB_BUTTONCOUNT, 0, 0) > 0)
            SendMessageW(handle_, TB_DELETEBUTTON, 0, 0);
        SendImageLists();
        // The system sizes buttons after their captions at every layout unless the width is fixed.
        SendMessageW(handle_, TB_SETBUTTONWIDTH, 0, MAKELPARAM(buttonWidth_, buttonWidth_));
        SendMessageW(handle_, TB_SETBUTTONSIZE, 0, MAKELPARAM(buttonWidth_, buttonHeight_));
        // The system copies the captions while the buttons are added.
        std::vector<std::wstring> captions;
        for (TToolButton* b : buttons_)
            captions.push_back(b->Caption());
        std::vector<TBBUTTON> data;
        for (int i = 0; i < ButtonCount(); ++i)
            data.push_back(NativeButton(i, captions[static_cast<size_t>(i)]));
        if (!data.empty())
            SendMessageW(handle_, TB_ADDBUTTONSW, data.size(), reinterpret_cast<LPARAM>(data.data()));
        SendMessageW(handle_, TB_SETBUTTONSIZE, 0, MAKELPARAM(buttonWidth_, buttonHeight_));
        SendMessageW(handle_, TB_AUTOSIZE, 0, 0);
    } catch (...) {
        updatingButtons_ = false;
        throw;
    }
    updatingButtons_ = false;
    UpdateButtonBounds();
    Invalidate();
}

void TToolBar::UpdateButtonState(TToolButton* button)
{
    int index = button->Index();
    if (!handle_ || index < 0)
        return;
    SendMessageW(handle_, TB_SETSTATE, static_cast<WPARAM>(index), MAKELPARAM(button->NativeState(), 0));
    UpdateButtonBounds();
}

void TToolBar::UpdateButtonBounds()
{
    if (!handle_ || updatingButtons_ || placingButtons_)
        return;
    placingButtons_ = true;
    int bottom = 0;
    for (size_t i = 0; i < buttons_.size(); ++i) {
        RECT r{};
        if (!SendMessageW(handle_, TB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&r)))
            continue;
        TToolButton* b = buttons_[i];
        if (b->Visible()) {
            b->TControl::SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
            bottom = std::max(bottom, static_cast<int>(r.bottom));
        }
    }
    placingButtons_ = false;
    if (autoSize_ && (Align() == alTop || Align() == alBottom || Align() == alNone) && !buttons_.empty()) {
        int frame = Height() - ClientHeight();
        if (bottom > 0 && bottom + frame != Height())
            SetHeight(bottom + frame);
    }
}

void TToolBar::WMSize(TMessage& m)
{
    TWinControl::WMSize(m);
    // A wrapping bar lays its rows out again for the new width.
    if (handle_)
        SendMessageW(handle_, TB_AUTOSIZE, 0, 0);
    UpdateButtonBounds();
}

void TToolBar::WMPaint(TMessage& m)
{
    // The system draws every button; the windowless buttons only mark their places.
    DefaultHandler(m);
}

int TToolBar::EdgeWidth(TEdgeBorder side) const
{
    if (!edgeBorders_.Contains(side))
        return 0;
    return (edgeInner_ != esNone ? 1 : 0) + (edgeOuter_ != esNone ? 1 : 0);
}

void TToolBar::WMNCCalcSize(TMessage& m)
{
    DefaultHandler(m);
    auto* r = reinterpret_cast<RECT*>(m.LParam);
    r->left += borderWidth_ + EdgeWidth(ebLeft);
    r->top += borderWidth_ + EdgeWidth(ebTop);
    r->right -= borderWidth_ + EdgeWidth(ebRight);
    r->bottom -= borderWidth_ + EdgeWidth(ebBottom);
    if (r->right < r->left)
        r->right = r->left;
    if (r->bottom < r->top)
        r->bottom = r->top;
}

void TToolBar::WMNCPaint(TMessage& m)
{
    DefaultHandler(m);
    if (!handle_)
        return;
    RECT window, client;
    GetWindowRect(handle_, &window);
    GetClientRect(handle_, &client);
    MapWindowPoints(handle_, nullptr, reinterpret_cast<POINT*>(&client), 2);
    OffsetRect(&client, -window.left, -window.top);
    RECT all{0, 0, window.right - window.left, window.bottom - window.top};
    if (EqualRect(&client, &all))
        return;
    TWindowDC windowDC(handle_);
    HDC dc = windowDC.Get();
    ExcludeClipRect(dc, client.left, client.top, client.right, client.bottom);
    FillRect(dc, &all, BrushHandle());
    UINT edge = 0;
    if (edgeInner_ == esRaised)
        edge |= BDR_RAISEDINNER;
    else if (edgeInner_ == esLowered)
        edge |= BDR_SUNKENINNER;
    if (edgeOuter_ == esRaised)
        edge |= BDR_RAISEDOUTER;
    else if (edgeOuter_ == esLowered)
        edge |= BDR_SUNKENOUTER;
    UINT sides = (edgeBorders_.Contains(ebLeft) ? BF_LEFT : 0) | (edgeBorders_.Contains(ebTop) ? BF_TOP : 0) |
                 (edgeBorders_.Contains(ebRight) ? BF_RIGHT : 0) | (edgeBorders_.Contains(ebBottom) ? BF_BOTTOM : 0);
    if (edge && sides)
        DrawEdge(dc, &all, edge, sides);
}

void TToolBar::CNCommand(TMessage& m)
{
    int index = LOWORD(m.WParam);
    if (index < 0 || index >= ButtonCount())
        return;
    TToolButton* button = buttons_[static_cast<size_t>(index)];
    if (button->Style() == tbsCheck)
        button->down_ = SendMessageW(handle_, TB_ISBUTTONCHECKED, static_cast<WPARAM>(index), 0) != 0;
    button->Click();
}

void TToolBar::CNNotify(TMessage& m)
{
    auto* header = reinterpret_cast<NMHDR*>(m.LParam);
    switch (header->code) {
    case NM_CUSTOMDRAW:
        m.Result = CustomDraw(*reinterpret_cast<NMTBCUSTOMDRAW*>(m.LParam));
        break;
    case TBN_DROPDOWN: {
        auto* info = reinterpret_cast<NMTOOLBARW*>(m.LParam);
        TToolButton* button = ButtonOfNative(info->iItem);
        if (button && CheckMenuDropdown(button))
            PostMessageW(handle_, CN_DROPDOWNCLOSED, 0, 0);
        m.Result = TBDDRET_DEFAULT;
        break;
    }
    default:
        break;
    }
}

bool TToolBar::CheckMenuDropdown(TToolButton* button)
{
    TPopupMenu* menu = button->DropdownMenu();
    int index = button->Index();
    if (!menu || index < 0 || !handle_)
        return false;
    RECT r{};
    SendMessageW(handle_, TB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
    POINT p{r.left, r.bottom};
    ::ClientToScreen(handle_, &p);
    menu->SetPopupComponent(button);
    menu->Popup(p.x, p.y);
    return true;
}

void TToolBar::CNDropdownClosed(TMessage&)
{
    Invalidate();
}

LRESULT TToolBar::CustomDraw(NMTBCUSTOMDRAW& draw)
{
    return (draw.nmcd.dwDrawStage & CDDS_ITEM) ? CustomDrawButton(draw) : CustomDrawBar(draw);
}

LRESULT TToolBar::CustomDrawBar(NMTBCUSTOMDRAW& draw)
{
    DWORD stage = draw.nmcd.dwDrawStage;
    LRESULT result = CDRF_DODEFAULT;
    if (OnAdvancedCustomDraw) {
        TCustomDrawStage s = stage == CDDS_PREPAINT ? cdPrePaint : stage == CDDS_POSTPAINT ? cdPostPaint
                             : stage == CDDS_PREERASE ? cdPreErase : cdPostErase;
        bool defaultDraw = true;
        {
            TCanvasBinding bind(canvas_.get(), draw.nmcd.hdc);
            OnAdvancedCustomDraw(this, TRect::FromRECT(draw.nmcd.rc), s, defaultDraw);
        }
        if (!defaultDraw)
            return CDRF_SKIPDEFAULT;
        if (stage == CDDS_PREPAINT)
            result |= CDRF_NOTIFYPOSTPAINT;
        else if (stage == CDDS_PREERASE)
            result |= CDRF_NOTIFYPOSTERASE;
    }
    if (stage == CDDS_PREPAINT && OnAdvancedCustomDrawButton)
        result |= CDRF_NOTIFYITEMDRAW;
    return result;
}

LRESULT TToolBar::CustomDrawButton(NMTBCUSTOMDRAW& draw)
{
    auto index = static_cast<int>(draw.nmcd.dwItemSpec);
    if (!OnAdvancedCustomDrawButton || index < 0 || index >= ButtonCount())
        return CDRF_DODEFAULT;
    TToolButton* button = buttons_[static_cast<size_t>(index)];
    TCustomDrawStage stage = (draw.nmcd.dwDrawStage & CDDS_POSTPAINT) ? cdPostPaint : cdPrePaint;
    TTBCustomDrawFlags flags;
    bool defaultDraw = true;
    {
        TCanvasBinding bind(canvas_.get(), draw.nmcd.hdc);
        OnAdvancedCustomDrawButton(this, button, CustomDrawStateFromItemState(draw.nmcd.uItemState), stage, flags,
                                   defaultDraw);
    }
    if (!defaultDraw)
        return CDRF_SKIPDEFAULT;
    static const std::pair<TTBCustomDrawFlag, LRESULT> kFlags[] = {
        {tbNoEdges, TBCDRF_NOEDGES}, {tbHiliteHotTrack, TBCDRF_HILITEHOTTRACK}, {tbNoOffset, TBCDRF_NOOFFSET},
        {tbNoMark, TBCDRF_NOMARK}, {tbNoEtchedEffect, TBCDRF_NOETCHEDEFFECT}};
    LRESULT result = stage == cdPrePaint ? CDRF_NOTIFYPOSTPAINT : CDRF_DODEFAULT;
    for (const auto& [flag, bit] : kFlags)
        if (flags.Contains(flag))
            result |= bit;
    return result;
}

void TToolBar::ImageListChange(TObject*)
{
    RecreateButtons();
}

void TToolBar::SetImageList(TChangeLink* link, TCustomImageList* value)
{
    if (link->Link(value))
        RecreateButtons();
}

void TToolBar::SendImageLists()
{
    TCustomImageList* images = Images();
    HIMAGELIST normal = images ? images->Handle() : nullptr;
    if (images)
        SendMessageW(handle_, TB_SETBITMAPSIZE, 0, MAKELPARAM(images->Width(), images->Height()));
    SendMessageW(handle_, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(normal));
    TCustomImageList* hot = HotImages();
    SendMessageW(handle_, TB_SETHOTIMAGELIST, 0, reinterpret_cast<LPARAM>(hot ? hot->Handle() : nullptr));
    TCustomImageList* disabled = DisabledImages();
    SendMessageW(handle_, TB_SETDISABLEDIMAGELIST, 0, reinterpret_cast<LPARAM>(disabled ? disabled->Handle() : nullptr));
}

void TToolBar::SetButtonWidth(int value)
{
    if (value == buttonWidth_)
        return;
    buttonWidth_ = value;
    RecreateButtons();
}

void TToolBar::SetButtonHeight(int value)
{
    if (value == buttonHeight_)
        return;
    buttonHeight_ = value;
    RecreateButtons();
}

void TToolBar::SetFlat(bool value)
{
    if (value == flat_)
        return;
    flat_ = value;
    RecreateWnd();
}

void TToolBar::SetList(bool value)
{
    if (value == list_)
        return;
    list_ = value;
    RecreateWnd();
}

void TToolBar::SetShowCaptions(bool value)
{
    if (value == showCaptions_)
        return;
    showCaptions_ = value;
    RecreateButtons();
}

void TToolBar::SetTransparent(bool value)
{
    if (value == transparent_)
        return;
    transparent_ = value;
    RecreateWnd();
}

void TToolBar::SetAutoSize(bool value)
{
    if (value == autoSize_)
        return;
    autoSize_ = value;
    UpdateButtonBounds();
}

void TToolBar::SetBorderWidth(int value)
{
    if (value == borderWidth_ || value < 0)
        return;
    borderWidth_ = value;
    RecreateWnd();
}

void TToolBar::SetEdgeBorders(TEdgeBorders value)
{
    if (value == edgeBorders_)
        return;
    edgeBorders_ = value;
    RecreateWnd();
}

void TToolBar::SetEdgeInner(TEdgeStyle value)
{
    if (value == edgeInner_)
        return;
    edgeInner_ = value;
    RecreateWnd();
}

void TToolBar::SetEdgeOuter(TEdgeStyle value)
{
    if (value == edgeOuter_)
        return;
    edgeOuter_ = value;
    RecreateWnd();
}
