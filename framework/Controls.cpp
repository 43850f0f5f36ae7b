// TControl: place, state, mouse messages and the CM_ notifications common to all controls.
#include "framework/Controls.h"

#include "framework/Forms.h"
#include "framework/Menus.h"
#include "framework/SysUtils.h"

#include <algorithm>

namespace {


} // namespace

TShiftState KeysToShiftState(WPARAM keys)
{
    TShiftState s;
    if (keys & MK_SHIFT)
        s.Include(ssShift);
    if (keys & MK_CONTROL)
        s.Include(ssCtrl);
    if (keys & MK_LBUTTON)
        s.Include(ssLeft);
    if (keys & MK_RBUTTON)
        s.Include(ssRight);
    if (keys & MK_MBUTTON)
        s.Include(ssMiddle);
    if (GetKeyState(VK_MENU) < 0)
        s.Include(ssAlt);
    return s;
}

TShiftState KeyDataToShiftState(LPARAM keyData)
{
    TShiftState s;
    if (GetKeyState(VK_SHIFT) < 0)
        s.Include(ssShift);
    if (GetKeyState(VK_CONTROL) < 0)
        s.Include(ssCtrl);
    if (keyData & 0x20000000)
        s.Include(ssAlt);
    return s;
}

// ---- TSizeConstraints ----

void TSizeConstraints::Apply(int& width, int& height) const
{
    if (maxWidth_ > 0 && width > maxWidth_)
        width = maxWidth_;
    if (maxHeight_ > 0 && height > maxHeight_)
        height = maxHeight_;
    if (minWidth_ > 0 && width < minWidth_)
        width = minWidth_;
    if (minHeight_ > 0 && height < minHeight_)
        height = minHeight_;
}

void TSizeConstraints::Assign(TPersistent* source)
{
    auto* other = dynamic_cast<TSizeConstraints*>(source);
    if (!other) {
        TPersistent::Assign(source);
        return;
    }
    minWidth_ = other->minWidth_;
    minHeight_ = other->minHeight_;
    maxWidth_ = other->maxWidth_;
    maxHeight_ = other->maxHeight_;
    Changed();
}

// ---- TControl ----

TControl::TControl(TComponent* owner)
    : TComponent(owner), WindowProc(this, &TControl::WndProc), constraints_(std::make_unique<TSizeConstraints>()),
      font_(std::make_unique<TFont>())
{
    ControlStyle = {csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
    font_->OnChange = TNotifyEvent(this, &TControl::FontChanged);
    constraints_->OnChange = [this](TObject*) { SetBounds(left_, top_, width_, height_); };
}

TControl::~TControl()
{
    Destroying();
    if (Application)
        Application->ControlDestroyed(this);
    if (popupMenu_)
        popupMenu_->RemoveFreeNotification(this);
    if (parent_)
        parent_->RemoveControl(this);
}

void TControl::WndProc(TMessage& message)
{
    // Mouse messages of a windowed control also pass here after its own WndProc.
    if (message.Msg == WM_MOUSEMOVE && Application)
        Application->NoteMouseControl(this);
    Dispatch(message);
}

void TControl::Dispatch(TMessage& message)
{
    static const TMessageEntry<TControl> kControlMessages[] = {
        {WM_LBUTTONDOWN, &TControl::WMLButtonDown},
        {WM_LBUTTONDBLCLK, &TControl::WMLButtonDblClk},
        {WM_RBUTTONDOWN, &TControl::WMRButtonDown},
        {WM_MBUTTONDOWN, &TControl::WMMButtonDown},
        {WM_LBUTTONUP, &TControl::WMLButtonUp},
        {WM_RBUTTONUP, &TControl::WMRButtonUp},
        {WM_MBUTTONUP, &TControl::WMMButtonUp},
        {WM_MOUSEMOVE, &TControl::WMMouseMove},
        {WM_CONTEXTMENU, &TControl::WMContextMenu},
        {CM_ENABLEDCHANGED, &TControl::CMEnabledChanged},
        {CM_VISIBLECHANGED, &TControl::CMVisibleChanged},
        {CM_FONTCHANGED, &TControl::CMFontChanged},
        {CM_COLORCHANGED, &TControl::CMColorChanged},
        {CM_PARENTFONTCHANGED, &TControl::CMParentFontChanged},
        {CM_PARENTCOLORCHANGED, &TControl::CMParentColorChanged},
        {CM_PARENTSHOWHINTCHANGED, &TControl::CMParentShowHintChanged},
        {CM_PARENTBIDIMODECHANGED, &TControl::CMParentBiDiModeChanged},
        {CM_SYSCOLORCHANGE, &TControl::CMSysColorChange},
        {CM_TEXTCHANGED, &TControl::CMTextChanged},
        {CM_HITTEST, &TControl::CMHitTest},
        {CM_MOUSEENTER, &TControl::CMMouseEnter},
        {CM_MOUSELEAVE, &TControl::CMMouseLeave},
    };
    if (DispatchIn(this, kControlMessages, message))
        return;
    DefaultHandler(message);
}

void TControl::DefaultHandler(TMessage& message)
{
    // A windowless control answers what it knows (the text) and nothing else.
    switch (message.Msg) {
    case WM_GETTEXTLENGTH:
        message.Result = static_cast<LRESULT>(text_.size());
        break;
    case WM_GETTEXT: {
        auto* buffer = reinterpret_cast<wchar_t*>(message.LParam);
        size_t capacity = message.WParam;
        if (!buffer || capacity == 0) {
            message.Result = 0;
            break;
        }
        size_t n = std::min(text_.size(), capacity - 1);
        std::copy_n(text_.data(), n, buffer);
        buffer[n] = 0;
        message.Result = static_cast<LRESULT>(n);
        break;
    }
    case WM_SETTEXT:
        text_ = message.LParam ? reinterpret_cast<const wchar_t*>(message.LParam) : L"";
        message.Result = TRUE;
        break;
    default:
        break;
    }
}

LRESULT TControl::Perform(UINT msg, WPARAM wParam, LPARAM lParam)
{
    TMessage message{msg, wParam, lParam, 0};
    TWndMethod proc = WindowProc; // a handler may replace WindowProc while this call runs
    if (proc)
        proc(message);
    return message.Result;
}

// ---- Parent and bounds ----

void TControl::SetParent(TWinControl* parent)
{
    if (parent == parent_)
        return;
    if (parent == this)
        throw EInvalidOperation(L"A control cannot have itself as its parent");
    if (parent_)
        parent_->RemoveControl(this);
    if (parent)
        parent->InsertControl(this);
}

void TControl::SetParentComponent(TComponent* parent)
{
    if (auto* win = dynamic_cast<TWinControl*>(parent))
        SetParent(win);
}

void TControl::SetBounds(int left, int top, int width, int height)
{
    constraints_->Apply(width, height);
    if (left == left_ && top == top_ && width == width_ && height == height_)
        return;
    bool resized = width != width_ || height != height_;
    InvalidateControl(visible_, false);
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    UpdateAnchorRules();
    InvalidateControl(visible_, ControlStyle.Contains(csOpaque));
    if (resized && !HasState(csLoading))
        Resize();
    RequestAlign();
}

TRect TControl::ClientRect()
{
    return Rect(0, 0, width_, height_);
}

void TControl::SetClientWidth(int v)
{
    SetWidth(width_ - ClientWidth() + v);
}

void TControl::SetClientHeight(int v)
{
    SetHeight(height_ - ClientHeight() + v);
}

TPoint TControl::ClientOrigin()
{
    if (!parent_)
        throw EInvalidOperation(L"Control '" + Name() + L"' has no parent window");
    TPoint origin = parent_->ClientOrigin();
    return {origin.X + left_, origin.Y + top_};
}

void TControl::SetAlign(TAlign value)
{
    if (value == align_)
        return;
    align_ = value;
    RequestAlign();
}

void TControl::SetAnchors(TAnchors value)
{
    anchors_ = value;
    UpdateAnchorRules();
}

void TControl::UpdateAnchorRules()
{
    if (!parent_ || HasState(csLoading))
        return;
    if (parent_->alignDisabled_ > 0 && anchorRulesSet_)
        return; // being aligned: the rule stays the one the user set
    anchorRect_ = BoundsRect();
    TRect client = parent_->AlignRect();
    anchorParentSize_ = TSize{client.Width(), client.Height()};
    anchorRulesSet_ = true;
}

void TControl::RequestAlign()
{
    if (parent_)
        parent_->Realign();
}

void TControl::BringToFront()
{
    if (!parent_)
        return;
    auto& list = parent_->controls_;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    list.push_back(this);
    if (auto* win = dynamic_cast<TWinControl*>(this); win && win->HandleAllocated())
        SetWindowPos(win->handle_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    Invalidate();
}

void TControl::SendToBack()
{
    if (!parent_)
        return;
    auto& list = parent_->controls_;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    list.insert(list.begin(), this);
    if (auto* win = dynamic_cast<TWinControl*>(this); win && win->HandleAllocated())
        SetWindowPos(win->handle_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    Invalidate();
}

// ---- State ----

void TControl::SetVisible(bool value)
{
    if (value == visible_)
        return;
    InvalidateControl(true, ControlStyle.Contains(csOpaque) && visible_);
    visible_ = value;
    Perform(CM_VISIBLECHANGED, value ? 1 : 0);
    RequestAlign();
}

bool TControl::Showing() const
{
    return visible_ && parent_ && parent_->Showing();
}

void TControl::SetEnabled(bool value)
{
    if (value == enabled_)
        return;
    enabled_ = value;
    Perform(CM_ENABLEDCHANGED);
}

void TControl::SetColor(TColor value)
{
    if (value == color_ && !parentColor_)
        return;
    color_ = value;
    parentColor_ = false;
    Perform(CM_COLORCHANGED);
}

void TControl::SetParentColor(bool value)
{
    parentColor_ = value;
    if (value && parent_)
        Perform(CM_PARENTCOLORCHANGED);
}

void TControl::SetParentFont(bool value)
{
    parentFont_ = value;
    if (value && parent_)
        Perform(CM_PARENTFONTCHANGED);
}

void TControl::FontChanged(TObject*)
{
    parentFont_ = false;
    Perform(CM_FONTCHANGED);
}

std::wstring TControl::Text()
{
    return GetTextBuf();
}

void TControl::SetText(const std::wstring& value)
{
    if (GetTextBuf() == value)
        return;
    SetTextBuf(value);
    Perform(CM_TEXTCHANGED);
}

void TControl::SetTextBuf(const std::wstring& value)
{
    Perform(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(value.c_str()));
}

std::wstring TControl::GetTextBuf()
{
    auto length = static_cast<size_t>(Perform(WM_GETTEXTLENGTH));
    std::wstring text(length + 1, L'\0');
    auto copied = static_cast<size_t>(Perform(WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(text.data())));
    text.resize(std::min(copied, length));
    return text;
}

void TControl::SetShowHint(bool value)
{
    showHint_ = value;
    parentShowHint_ = false;
    Perform(CM_SHOWHINTCHANGED);
}

void TControl::SetParentShowHint(bool value)
{
    parentShowHint_ = value;
    if (value && parent_)
        Perform(CM_PARENTSHOWHINTCHANGED);
}

void TControl::SetBiDiMode(TBiDiMode value)
{
    if (value == biDiMode_)
        return;
    biDiMode_ = value;
    parentBiDiMode_ = false;
    Perform(CM_BIDIMODECHANGED);
}

void TControl::SetParentBiDiMode(bool value)
{
    parentBiDiMode_ = value;
    if (value && parent_)
        Perform(CM_PARENTBIDIMODECHANGED);
}

bool TControl::UseRightToLeftAlignment() const
{
    return SysLocaleMiddleEast() && biDiMode_ == bdRightToLeft;
}

bool TControl::UseRightToLeftReading() const
{
    return SysLocaleMiddleEast() && biDiMode_ != bdLeftToRight;
}

UINT TControl::DrawTextBiDiModeFlags(UINT flags) const
{
    if (UseRightToLeftAlignment()) {
        if (flags & DT_RIGHT)
            flags &= ~static_cast<UINT>(DT_RIGHT);
        else if (!(flags & DT_CENTER))
            flags |= DT_RIGHT;
    }
    return flags | DrawTextBiDiModeFlagsReadingOnly();
}

UINT TControl::DrawTextBiDiModeFlagsReadingOnly() const
{
    return UseRightToLeftReading() ? DT_RTLREADING : 0;
}

void TControl::SetCursor(TCursor value)
{
    if (value == cursor_)
        return;
    cursor_ = value;
    Perform(CM_CURSORCHANGED);
}

void TControl::SetPopupMenu(TPopupMenu* value)
{
    if (popupMenu_)
        popupMenu_->RemoveFreeNotification(this);
    popupMenu_ = value;
    if (value)
        value->FreeNotification(this);
}

bool TControl::MouseCapture()
{
    if (auto* win = dynamic_cast<TWinControl*>(this))
        return win->HandleAllocated() && GetCapture() == win->handle_;
    return parent_ && parent_->captureControl_ == this;
}

void TControl::SetMouseCapture(bool value)
{
    if (auto* win = dynamic_cast<TWinControl*>(this)) {
        if (value)
            SetCapture(win->Handle());
        else if (MouseCapture())
            ReleaseCapture();
        return;
    }
    if (!parent_)
        return;
    if (value) {
        parent_->captureControl_ = this;
        SetCapture(parent_->Handle());
    } else if (parent_->captureControl_ == this) {
        parent_->captureControl_ = nullptr;
        ReleaseCapture();
    }
}

void TControl::Loaded()
{
    TComponent::Loaded();
    // Properties read while loading took no effect on the layout: do it now.
    if (parent_) {
        if (parentColor_)
            Perform(CM_PARENTCOLORCHANGED);
        if (parentFont_)
            Perform(CM_PARENTFONTCHANGED);
        if (parentBiDiMode_)
            Perform(CM_PARENTBIDIMODECHANGED);
        UpdateAnchorRules();
        RequestAlign();
    }
}

// ---- Painting ----

void TControl::InvalidateControl(bool isVisible, bool isOpaque)
{
    (void)isOpaque;
    if (!isVisible || !parent_ || !parent_->HandleAllocated() || dynamic_cast<TWinControl*>(this))
        return;
    // A window that cannot be seen keeps no update region (the system drops the request, and the
    // window is painted whole when it shows again), nor does one whose form holds its paints (the
    // release paints the whole form): no call for nothing.
    if (!PaintsShown(parent_->handle_))
        return;
    RECT r = BoundsRect().ToRECT();
    InvalidateRect(parent_->handle_, &r, TRUE);
}

void TControl::Invalidate()
{
    InvalidateControl(visible_, ControlStyle.Contains(csOpaque));
}

void TControl::Update()
{
    if (parent_)
        parent_->Update();
}

void TControl::Repaint()
{
    if (!visible_ || !parent_ || !parent_->HandleAllocated())
        return;
    Invalidate();
    parent_->Update();
}

// ---- Mouse ----

void TControl::Click()
{
    OnClick(this);
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    OnMouseDown(this, button, shift, x, y);
}

void TControl::MouseMove(TShiftState shift, int x, int y)
{
    OnMouseMove(this, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    OnMouseUp(this, button, shift, x, y);
}

void TControl::DoMouseDown(TMessage& m, TMouseButton button, TShiftState extra)
{
    if (button == mbLeft && ControlStyle.Contains(csCaptureMouse) && !dynamic_cast<TWinControl*>(this))
        SetMouseCapture(true);
    if (button == mbLeft && ControlStyle.Contains(csClickEvents))
        ControlState.Include(csClicked);
    MouseDown(button, KeysToShiftState(m.WParam) + extra, m.XPos(), m.YPos());
}

void TControl::DoMouseUp(TMessage& m, TMouseButton button)
{
    if (button == mbLeft && !dynamic_cast<TWinControl*>(this))
        SetMouseCapture(false);
    if (button == mbLeft && ControlState.Contains(csClicked)) {
        ControlState.Exclude(csClicked);
        if (ClientRect().Contains(Point(m.XPos(), m.YPos())))
            Click();
    }
    MouseUp(button, KeysToShiftState(m.WParam), m.XPos(), m.YPos());
}

void TControl::WMLButtonDown(TMessage& m)
{
    DoMouseDown(m, mbLeft, {});
    DefaultHandler(m);
}

void TControl::WMLButtonDblClk(TMessage& m)
{
    if (ControlStyle.Contains(csDoubleClicks))
        OnDblClick(this);
    DoMouseDown(m, mbLeft, {ssDouble});
    DefaultHandler(m);
}

void TControl::WMRButtonDown(TMessage& m)
{
    DoMouseDown(m, mbRight, {});
    DefaultHandler(m);
}

void TControl::WMMButtonDown(TMessage& m)
{
    DoMouseDown(m, mbMiddle, {});
    DefaultHandler(m);
}

void TControl::WMLButtonUp(TMessage& m)
{
    DefaultHandler(m);
    DoMouseUp(m, mbLeft);
}

void TControl::WMRButtonUp(TMessage& m)
{
    DefaultHandler(m);
    DoMouseUp(m, mbRight);
}

void TControl::WMMButtonUp(TMessage& m)
{
    DefaultHandler(m);
    DoMouseUp(m, mbMiddle);
}

void TControl::WMMouseMove(TMessage& m)
{
    MouseMove(KeysToShiftState(m.WParam), m.XPos(), m.YPos());
    DefaultHandler(m);
}

void TControl::WMContextMenu(TMessage& m)
{
    // The control's PopupMenu opens after its OnMouseDown (the right-button press came first);
    // a message from the keyboard (-1, -1) opens it at the control's top left corner.
    if (!popupMenu_ || !popupMenu_->AutoPopup()) {
        DefaultHandler(m);
        return;
    }
    TPoint pos{m.XPos(), m.YPos()};
    if (pos.X == -1 && pos.Y == -1)
        pos = ClientToScreen(Point(0, 0));
    popupMenu_->SetPopupComponent(this);
    popupMenu_->Popup(pos.X, pos.Y);
    m.Result = 1;
}

// ---- Notifications ----

void TControl::CMEnabledChanged(TMessage&)
{
    Invalidate();
}

void TControl::CMVisibleChanged(TMessage&)
{
    InvalidateControl(true, visible_ && ControlStyle.Contains(csOpaque));
}

void TControl::CMFontChanged(TMessage&)
{
    Invalidate();
    NotifyControls(CM_PARENTFONTCHANGED);
}

void TControl::CMColorChanged(TMessage&)
{
    Invalidate();
    NotifyControls(CM_PARENTCOLORCHANGED);
}

void TControl::CMParentFontChanged(TMessage&)
{
    if (!parentFont_ || !parent_)
        return;
    TNotifyEvent saved = font_->OnChange;
    font_->OnChange = nullptr;
    font_->Assign(parent_->Font());
    font_->OnChange = saved;
    Perform(CM_FONTCHANGED);
}

void TControl::CMParentColorChanged(TMessage&)
{
    if (!parentColor_ || !parent_)
        return;
    color_ = parent_->Color();
    Perform(CM_COLORCHANGED);
}

void TControl::CMParentShowHintChanged(TMessage&)
{
    if (parentShowHint_ && parent_)
        showHint_ = parent_->ShowHint();
}

void TControl::CMParentBiDiModeChanged(TMessage&)
{
    if (!parentBiDiMode_ || !parent_ || parent_->BiDiMode() == biDiMode_)
        return;
    biDiMode_ = parent_->BiDiMode();
    Perform(CM_BIDIMODECHANGED);
}

void TControl::CMSysColorChange(TMessage&)
{
    Invalidate();
}

void TControl::CMTextChanged(TMessage&)
{
    Invalidate();
}

void TControl::CMHitTest(TMessage& m)
{
    m.Result = HTCLIENT;
}

// The control under the mouse hears of entering and leaving (LParam 0); its parents do not: moving
// onto a child is leaving the parent.
void TControl::CMMouseEnter(TMessage&) {}

void TControl::CMMouseLeave(TMessage&) {}

TCustomForm* GetParentForm(TControl* control)
{
    while (control && control->Parent())
        control = control->Parent();
    return dynamic_cast<TCustomForm*>(control);
}

bool SysLocaleMiddleEast()
{
    const LANGID language = PRIMARYLANGID(GetSystemDefaultLangID());
    return language == LANG_ARABIC || language == LANG_HEBREW || language == LANG_FARSI || language == LANG_URDU;
}
