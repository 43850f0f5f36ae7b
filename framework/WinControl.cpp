// TWinControl: the window (made on demand), the one window procedure of all framework windows,
// children and their layout, painting, reflected notifications, focus and keys.
#include "framework/Controls.h"

#include "framework/Forms.h"
#include "framework/Menus.h"
#include "framework/SysUtils.h"
#include "framework/WindowBinding.h"

#include <algorithm>

namespace {

bool IsReflectedNotification(UINT msg)
{
    return msg >= CN_BASE && msg < CN_BASE + 0x400;
}

// The classes of framework windows end their extra window bytes with a slot that holds the control, a
// copy of the control's binding: a window property is a trip to the system's window server on every
// read, and every message and notification of a framework window looks its control up.
constexpr int kControlSlotSize = sizeof(LONG_PTR);

bool IsFrameworkWindow(HWND wnd)
{
    return reinterpret_cast<WNDPROC>(GetClassLongPtrW(wnd, GCLP_WNDPROC)) == FrameworkWndProc;
}

// The offset of the slot, or -1 for a class without room for it (a negative offset would name one of
// the window's own fields).
int ControlSlot(HWND wnd)
{
    const auto extra = static_cast<int>(GetClassLongPtrW(wnd, GCL_CBWNDEXTRA));
    return extra >= kControlSlotSize ? extra - kControlSlotSize : -1;
}

TWinControl* SlotControl(HWND wnd)
{
    const int slot = ControlSlot(wnd);
    return slot >= 0 ? reinterpret_cast<TWinControl*>(GetWindowLongPtrW(wnd, slot)) : nullptr;
}

void SetSlotControl(HWND wnd, TWinControl* control)
{
    if (const int slot = ControlSlot(wnd); slot >= 0)
        SetWindowLongPtrW(wnd, slot, reinterpret_cast<LONG_PTR>(control));
}

} // namespace

LRESULT CALLBACK FrameworkWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    TWinControl* control = msg == WM_NCCREATE ? nullptr : SlotControl(wnd);
    if (!control) {
        control = static_cast<TWinControl*>(BindAtCreate(wnd, msg, lParam, TWindowRole::Control));
        if (control)
            SetSlotControl(wnd, control);
    }
    if (!control)
        return DefWindowProcW(wnd, msg, wParam, lParam);
    if (msg == WM_NCCREATE)
        control->handle_ = wnd;
    if (msg == WM_PAINT || msg == WM_NCPAINT || msg == WM_ERASEBKGND) {
        LRESULT held = 0;
        if (DropHeldPaint(wnd, msg, wParam, held))
            return held;
    }
    CREATESTRUCTW classCreate{};
    TMessage message{msg, wParam, ClassCreateParam(msg, lParam, classCreate), 0};
    try {
        TWndMethod proc = control->WindowProc;
        proc(message);
    } catch (...) {
        // Nothing may unwind through the system's frames.
        if (Application)
            Application->HandleException(control);
    }
    if (msg == WM_NCDESTROY && WindowObject(wnd, TWindowRole::Control) == control) {
        UnbindWindow(wnd, TWindowRole::Control, control);
        SetSlotControl(wnd, nullptr);
        if (control->handle_ == wnd)
            control->handle_ = nullptr;
    }
    return message.Result;
}

TWinControl* FindControl(HWND wnd)
{
    if (wnd && IsFrameworkWindow(wnd) && ControlSlot(wnd) >= 0)
        return SlotControl(wnd);
    return WindowObjectAs<TWinControl>(wnd, TWindowRole::Control);
}

TControl* FindDragTarget(const TPoint& pos, bool allowDisabled)
{
    HWND wnd = WindowFromPoint(POINT{pos.X, pos.Y});
    TWinControl* win = nullptr;
    while (wnd && !(win = FindControl(wnd)))
        wnd = GetParent(wnd);
    if (!win)
        return nullptr;
    TControl* child = win->ControlAtPos(win->ScreenToClient(pos), allowDisabled);
    return child ? child : win;
}

// ---- Construction ----

TWinControl::TWinControl(TComponent* owner) : TControl(owner)
{
    WindowProc = TWndMethod(this, &TWinControl::WndProc);
}

TWinControl::~TWinControl()
{
    Destroying();
    if (parent_)
        parent_->RemoveControl(this);
    DestroyHandle();
    while (!controls_.empty()) {
        TControl* child = controls_.back();
        RemoveControl(child);
        Free(child);
    }
    // Owned components go while this object is still whole: they may restore our WindowProc.
    DestroyComponents();
}

void TWinControl::BeforeDestruction()
{
    TControl::BeforeDestruction();
}

// ---- Window ----

HWND TWinControl::Handle()
{
    HandleNeeded();
    return handle_;
}

void TWinControl::HandleNeeded()
{
    if (handle_)
        return;
    if (parent_)
        parent_->HandleNeeded();
    CreateHandle();
}

void TWinControl::CreateHandle()
{
    if (handle_)
        return;
    CreateWnd();
    if (!handle_)
        return;
    for (TControl* c : controls_)
        if (auto* w = dynamic_cast<TWinControl*>(c); w && w->Visible())
            w->UpdateControlState();
}

void TWinControl::CreateParams(TCreateParams& params)
{
    params.Caption = text_;
    params.Style = WS_CHILD | WS_CLIPSIBLINGS;
    if (ControlStyle.Contains(csAcceptsControls))
        params.Style |= WS_CLIPCHILDREN;
    if (!Enabled())
        params.Style |= WS_DISABLED;
    if (tabStop_)
        params.Style |= WS_TABSTOP;
    params.X = left_;
    params.Y = top_;
    params.Width = width_;
    params.Height = height_;
    if (parent_)
        params.WndParent = parent_->Handle();
    else
        params.WndParent = parentWindow_;
    params.WindowClass.cbSize = sizeof(WNDCLASSEXW);
    params.WindowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    params.WindowClass.lpfnWndProc = DefWindowProcW;
    params.WindowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    params.WindowClass.hInstance = GetModuleHandleW(nullptr);
    params.WinClassName = ClassName();
}

void TWinControl::CreateSubClass(TCreateParams& params, const wchar_t* nativeClassName)
{
    WNDCLASSEXW native{};
    native.cbSize = sizeof(native);
    if (!GetClassInfoExW(nullptr, nativeClassName, &native) &&
        !GetClassInfoExW(GetModuleHandleW(nullptr), nativeClassName, &native))
        throw EOSError(std::wstring(L"Window class ") + nativeClassName + L" does not exist");
    params.WindowClass = native;
    params.WindowClass.cbSize = sizeof(WNDCLASSEXW);
    params.WindowClass.hInstance = GetModuleHandleW(nullptr);
    params.WindowClass.style &= ~static_cast<UINT>(CS_GLOBALCLASS);
}

void TWinControl::CreateWnd()
{
    TCreateParams params;
    CreateParams(params);
    if (params.WndParent == nullptr && (params.Style & WS_CHILD))
        throw EInvalidOperation(L"Control '" + Name() + L"' has no parent window");
    defWndProc_ = params.WindowClass.lpfnWndProc ? params.WindowClass.lpfnWndProc : DefWindowProcW;
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof(existing);
    if (!GetClassInfoExW(instance, params.WinClassName.c_str(), &existing) || existing.lpfnWndProc != FrameworkWndProc) {
        WNDCLASSEXW wc = params.WindowClass;
        wc.lpfnWndProc = FrameworkWndProc;
        wc.cbWndExtra += kControlSlotSize;
        wc.hInstance = instance;
        wc.lpszClassName = params.WinClassName.c_str();
        if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
            throw EOSError(L"Cannot register the window class " + params.WinClassName);
    }
    CreateWindowHandle(params);
    if (!handle_)
        throw EOSError(L"Error creating window of " + ClassName());
    if (defWndProc_ != DefWindowProcW)
        SendMessageW(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(FontHandle()), 0);
}

void TWinControl::CreateWindowHandle(const TCreateParams& params)
{
    HWND wnd = CreateBoundWindow(TWindowRole::Control, this, params.ExStyle, params.WinClassName.c_str(),
                                 params.Caption.c_str(), params.Style, params.X, params.Y, params.Width, params.Height,
                                 params.WndParent, params.Param);
    // A class registered earlier with another procedure never binds at WM_NCCREATE: the control still
    // owns the window it made.
    if (wnd && !handle_) {
        handle_ = wnd;
        BindWindow(wnd, TWindowRole::Control, this);
    }
}

void TWinControl::DestroyHandle()
{
    if (!handle_)
        return;
    for (TControl* c : controls_)
        if (auto* w = dynamic_cast<TWinControl*>(c))
            w->DestroyHandle();
    DestroyWnd();
}

void TWinControl::DestroyWnd()
{
    if (!handle_)
        return;
    text_ = GetTextBuf();
    ControlState.Include(csDestroyingHandle);
    DestroyWindowHandle();
    ControlState.Exclude(csDestroyingHandle);
    handle_ = nullptr;
}

void TWinControl::DestroyWindowHandle()
{
    DestroyWindow(handle_);
}

void TWinControl::RecreateWnd()
{
    if (!handle_ || recreating_)
        return;
    recreating_ = true;
    bool wasShowing = showing_;
    DestroyHandle();
    showing_ = false;
    recreating_ = false;
    if (wasShowing || !parent_)
        UpdateControlState();
    else
        HandleNeeded();
}

void TWinControl::SetParentWindow(HWND value)
{
    if (parent_ || value == parentWindow_)
        return;
    DestroyHandle();
    parentWindow_ = value;
    UpdateControlState();
}

void TWinControl::SetParent(TWinControl* parent)
{
    if (parent == parent_)
        return;
    if (handle_ && !HasState(csDestroying))
        DestroyHandle();
    showing_ = false;
    TControl::SetParent(parent);
    if (parent_ && !HasState(csLoading))
        UpdateControlState();
}

HFONT TWinControl::FontHandle()
{
    return Font()->Handle();
}

HBRUSH TWinControl::BrushHandle()
{
    if (!brush_ || brushColor_ != Color()) {
        brushColor_ = Color();
        brush_.Reset(CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(brushColor_))));
    }
    return brush_.Get();
}

void TWinControl::WndProc(TMessage& message)
{
    UINT msg = message.Msg;
    if (msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST && msg != WM_MOUSEWHEEL && IsControlMouseMsg(message))
        return;
    if (msg == WM_CONTEXTMENU && message.LParam != -1 && handle_) {
        TPoint pt = ScreenToClient(Point(message.XPos(), message.YPos()));
        if (TControl* child = ControlAtPos(pt, false); child && child->PopupMenu()) {
            message.Result = child->Perform(WM_CONTEXTMENU, message.WParam, message.LParam);
            if (message.Result)
                return;
        }
    }
    if (msg == WM_CAPTURECHANGED)
        captureControl_ = nullptr;
    TControl::WndProc(message);
}

void TWinControl::Dispatch(TMessage& message)
{
    static const TMessageEntry<TWinControl> kWinControlMessages[] = {
        {WM_PAINT, &TWinControl::WMPaint},
        {WM_ERASEBKGND, &TWinControl::WMEraseBkgnd},
        {WM_SIZE, &TWinControl::WMSize},
        {WM_MOVE, &TWinControl::WMMove},
        {WM_WINDOWPOSCHANGED, &TWinControl::WMWindowPosChanged},
        {WM_COMMAND, &TWinControl::WMCommand},
        {WM_NOTIFY, &TWinControl::WMNotify},
        {WM_HSCROLL, &TWinControl::WMReflected},
        {WM_VSCROLL, &TWinControl::WMReflected},
        {WM_DRAWITEM, &TWinControl::WMReflected},
        {WM_MEASUREITEM, &TWinControl::WMReflected},
        {WM_DELETEITEM, &TWinControl::WMReflected},
        {WM_COMPAREITEM, &TWinControl::WMReflected},
        {WM_CTLCOLORBTN, &TWinControl::WMCtlColor},
        {WM_CTLCOLORDLG, &TWinControl::WMCtlColor},
        {WM_CTLCOLOREDIT, &TWinControl::WMCtlColor},
        {WM_CTLCOLORLISTBOX, &TWinControl::WMCtlColor},
        {WM_CTLCOLORMSGBOX, &TWinControl::WMCtlColor},
        {WM_CTLCOLORSCROLLBAR, &TWinControl::WMCtlColor},
        {WM_CTLCOLORSTATIC, &TWinControl::WMCtlColor},
        {WM_SETFOCUS, &TWinControl::WMSetFocus},
        {WM_KILLFOCUS, &TWinControl::WMKillFocus},
        {WM_KEYDOWN, &TWinControl::WMKeyDown},
        {WM_SYSKEYDOWN, &TWinControl::WMKeyDown},
        {WM_KEYUP, &TWinControl::WMKeyUp},
        {WM_SYSKEYUP, &TWinControl::WMKeyUp},
        {WM_CHAR, &TWinControl::WMChar},
        {WM_SETCURSOR, &TWinControl::WMSetCursor},
        {WM_NCDESTROY, &TWinControl::WMNCDestroy},
        {WM_SYSCOLORCHANGE, &TWinControl::WMSysColorChange},
        {CM_SHOWINGCHANGED, &TWinControl::CMShowingChanged},
        {CM_VISIBLECHANGED, &TWinControl::CMWinVisibleChanged},
        {CM_ENABLEDCHANGED, &TWinControl::CMWinEnabledChanged},
        {CM_FONTCHANGED, &TWinControl::CMWinFontChanged},
        {CM_COLORCHANGED, &TWinControl::CMWinColorChanged},
        {CM_BIDIMODECHANGED, &TWinControl::CMBiDiModeChanged},
        {CM_RECREATEWND, &TWinControl::CMRecreateWnd},
        {CM_ENTER, &TWinControl::CMEnter},
        {CM_EXIT, &TWinControl::CMExit},
        {CN_KEYDOWN, &TWinControl::CNKeyDown},
        {CN_SYSKEYDOWN, &TWinControl::CNKeyDown},
        {CN_CHAR, &TWinControl::CNChar},
        {CN_SYSCHAR, &TWinControl::CNChar},
        {CM_DIALOGCHAR, &TWinControl::CMBroadcast},
        {CM_FOCUSCHANGED, &TWinControl::CMBroadcast},
    };
    if (DispatchIn(this, kWinControlMessages, message))
        return;
    TControl::Dispatch(message);
}

void TWinControl::DefaultHandler(TMessage& message)
{
    if (IsReflectedNotification(message.Msg)) {
        UINT original = message.Msg - CN_BASE;
        if (original >= WM_CTLCOLORMSGBOX && original <= WM_CTLCOLORSTATIC) {
            HDC dc = reinterpret_cast<HDC>(message.WParam);
            SetTextColor(dc, static_cast<COLORREF>(ColorToRGB(Font()->Color())));
            SetBkColor(dc, static_cast<COLORREF>(ColorToRGB(Color())));
            message.Result = reinterpret_cast<LRESULT>(BrushHandle());
        }
        return;
    }
    if (!handle_) {
        TControl::DefaultHandler(message);
        return;
    }
    CallDefaultWindowProc(message);
}

void TWinControl::CallDefaultWindowProc(TMessage& message)
{
    message.Result = CallWindowProcW(defWndProc_, handle_, message.Msg, message.WParam, message.LParam);
}

// ---- Text ----

void TWinControl::SetTextBuf(const std::wstring& value)
{
    if (handle_)
        SetWindowTextW(handle_, value.c_str());
    text_ = value;
}

std::wstring TWinControl::GetTextBuf()
{
    if (!handle_)
        return text_;
    return TControl::GetTextBuf();
}

// ---- Children ----

TControl* TWinControl::Controls(int index) const
{
    if (index < 0 || index >= ControlCount())
        throw EListError(L"List index out of bounds (" + IntToStr(index) + L")");
    return controls_[static_cast<size_t>(index)];
}

void TWinControl::InsertControl(TControl* control)
{
    control->parent_ = this;
    controls_.push_back(control);
    if (auto* win = dynamic_cast<TWinControl*>(control))
        tabList_.push_back(win);
    Perform(CM_CONTROLLISTCHANGE, reinterpret_cast<WPARAM>(control), TRUE);
    if (!control->HasState(csLoading)) {
        control->Perform(CM_PARENTCOLORCHANGED);
        control->Perform(CM_PARENTFONTCHANGED);
        control->Perform(CM_PARENTSHOWHINTCHANGED);
        control->Perform(CM_PARENTBIDIMODECHANGED);
        control->UpdateAnchorRules();
    }
    if (control->Align() != alNone)
        Realign();
    if (!dynamic_cast<TWinControl*>(control))
        control->Invalidate();
}

void TWinControl::RemoveControl(TControl* control)
{
    if (control->parent_ != this)
        return;
    Perform(CM_CONTROLLISTCHANGE, reinterpret_cast<WPARAM>(control), FALSE);
    if (!dynamic_cast<TWinControl*>(control))
        control->Invalidate();
    if (captureControl_ == control)
        captureControl_ = nullptr;
    controls_.erase(std::remove(controls_.begin(), controls_.end(), control), controls_.end());
    tabList_.erase(std::remove(tabList_.begin(), tabList_.end(), control), tabList_.end());
    control->parent_ = nullptr;
    if (control->Align() != alNone && !HasState(csDestroying))
        Realign();
}

bool TWinControl::ContainsControl(TControl* control) const
{
    for (TControl* c = control; c; c = c->Parent())
        if (c == this)
            return true;
    return false;
}

TControl* TWinControl::ControlAtPos(const TPoint& pos, bool allowDisabled, bool allowWinControls)
{
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
        TControl* c = *it;
        if (!allowWinControls && dynamic_cast<TWinControl*>(c))
            continue;
        if (!c->Visible() || (!c->Enabled() && !allowDisabled))
            continue;
        if (!c->BoundsRect().Contains(pos))
            continue;
        TMessage hit{CM_HITTEST, 0, MAKELPARAM(pos.X - c->Left(), pos.Y - c->Top()), 0};
        hit.Result = c->Perform(CM_HITTEST, 0, hit.LParam);
        if (hit.Result != 0)
            return c;
    }
    return nullptr;
}

bool TWinControl::IsControlMouseMsg(TMessage& message)
{
    TControl* target = nullptr;
    if (captureControl_ && handle_ && GetCapture() == handle_)
        target = captureControl_;
    else if (message.Msg != WM_CAPTURECHANGED)
        target = ControlAtPos(Point(message.XPos(), message.YPos()), false);
    if (!target || target->Parent() != this)
        return false;
    LPARAM local = MAKELPARAM(message.XPos() - target->Left(), message.YPos() - target->Top());
    message.Result = target->Perform(message.Msg, message.WParam, local);
    return true;
}

void TWinControl::NotifyControls(UINT msg)
{
    std::vector<TControl*> list = controls_;
    for (TControl* c : list)
        c->Perform(msg);
}

// ---- Layout ----

void TWinControl::EnableAlign()
{
    if (alignDisabled_ > 0 && --alignDisabled_ == 0 && ControlState.Contains(csAlignmentNeeded))
        Realign();
}

void TWinControl::Realign()
{
    if (alignDisabled_ > 0 || HasState(csLoading) || HasState(csDestroying)) {
        ControlState.Include(csAlignmentNeeded);
        return;
    }
    ++alignDisabled_;
    TRect rect = AlignRect();
    AlignControls(nullptr, rect);
    --alignDisabled_;
    ControlState.Exclude(csAlignmentNeeded);
}

void TWinControl::AlignControls(TControl*, TRect& rect)
{
    // Aligned children take their edge of what is left, kind by kind, each kind in creation order;
    // the client-aligned ones take the rest.
    for (TAlign kind : {alTop, alBottom, alLeft, alRight, alClient}) {
        for (TControl* c : controls_) {
            if (c->Align() != kind || !c->Visible())
                continue;
            int w = c->Width(), h = c->Height();
            switch (kind) {
            case alTop:
                c->SetBounds(rect.Left, rect.Top, rect.Width(), h);
                rect.Top += c->Height();
                break;
            case alBottom:
                c->SetBounds(rect.Left, rect.Bottom - h, rect.Width(), h);
                rect.Bottom -= c->Height();
                break;
            case alLeft:
                c->SetBounds(rect.Left, rect.Top, w, rect.Height());
                rect.Left += c->Width();
                break;
            case alRight:
                c->SetBounds(rect.Right - w, rect.Top, w, rect.Height());
                rect.Right -= c->Width();
                break;
            default:
                c->SetBounds(rect.Left, rect.Top, rect.Width(), rect.Height());
                break;
            }
        }
    }
    // Anchored children keep their distances from the anchored edges.
    TRect client = AlignRect();
    for (TControl* c : controls_) {
        if (c->Align() != alNone || !c->anchorRulesSet_)
            continue;
        TAnchors a = c->Anchors();
        if (a == TAnchors{akLeft, akTop})
            continue;
        TRect r = c->anchorRect_;
        int dx = client.Width() - c->anchorParentSize_.cx;
        int dy = client.Height() - c->anchorParentSize_.cy;
        int left = r.Left, width = r.Width(), top = r.Top, height = r.Height();
        if (a.Contains(akRight)) {
            if (a.Contains(akLeft))
                width += dx;
            else
                left += dx;
        } else if (!a.Contains(akLeft)) {
            left += dx / 2;
        }
        if (a.Contains(akBottom)) {
            if (a.Contains(akTop))
                height += dy;
            else
                top += dy;
        } else if (!a.Contains(akTop)) {
            top += dy / 2;
        }
        c->SetBounds(left, top, std::max(width, 0), std::max(height, 0));
    }
}

void TWinControl::SetBounds(int left, int top, int width, int height)
{
    Constraints()->Apply(width, height);
    if (left == left_ && top == top_ && width == width_ && height == height_)
        return;
    if (handle_) {
        SetWindowPos(handle_, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
        // WM_WINDOWPOSCHANGED updated the fields; a window that refused keeps its own size.
        return;
    }
    bool resized = width != width_ || height != height_;
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    UpdateAnchorRules();
    if (resized) {
        Realign();
        if (!HasState(csLoading))
            Resize();
    }
    RequestAlign();
}

TRect TWinControl::ClientRect()
{
    if (handle_) {
        RECT r;
        GetClientRect(handle_, &r);
        return TRect::FromRECT(r);
    }
    return Rect(0, 0, width_, height_);
}

TPoint TWinControl::ClientOrigin()
{
    if (handle_) {
        POINT p{0, 0};
        ::ClientToScreen(handle_, &p);
        return {p.x, p.y};
    }
    if (parent_)
        return TControl::ClientOrigin();
    return {left_, top_};
}

// ---- Showing ----

void TWinControl::UpdateControlState()
{
    if (parent_ && !parent_->Showing() && !(parent_->HandleAllocated() && !parent_->Parent() && parent_->Visible())) {
        if (showing_)
            UpdateShowing();
        return;
    }
    UpdateShowing();
}

void TWinControl::UpdateShowing()
{
    bool show = Visible() && !HasState(csLoading) && !HasState(csDestroying) &&
                (parent_ ? parent_->Showing() : true);
    if (show && !handle_)
        CreateHandle();
    const bool changed = show != showing_;
    if (changed)
        showing_ = show;
    // A control being shown brings its children up first: a form is shown (and activated, and
    // its OnActivate may select a list item) only once every child has its window.
    if (show)
        UpdateChildrenShowing();
    if (changed) {
        try {
            Perform(CM_SHOWINGCHANGED);
        } catch (...) {
            showing_ = !show;
            throw;
        }
    }
    if (!show)
        UpdateChildrenShowing();
}

void TWinControl::UpdateChildrenShowing()
{
    std::vector<TControl*> list = controls_;
    for (TControl* c : list)
        if (auto* w = dynamic_cast<TWinControl*>(c))
            w->UpdateShowing();
}

void TWinControl::CMShowingChanged(TMessage&)
{
    if (!handle_)
        return;
    SetWindowPos(handle_, nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | (showing_ ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
}

void TWinControl::CMWinVisibleChanged(TMessage& m)
{
    TControl::CMVisibleChanged(m);
    if (!HasState(csLoading))
        UpdateControlState();
}

void TWinControl::CMWinEnabledChanged(TMessage&)
{
    if (!Enabled() && handle_ && GetFocus() == handle_ && Parent())
        ::SetFocus(nullptr);
    if (handle_)
        EnableWindow(handle_, Enabled());
    Invalidate();
}

void TWinControl::CMWinFontChanged(TMessage&)
{
    if (handle_ && defWndProc_ != DefWindowProcW) {
        const HFONT font = FontHandle();
        if (!HasFont(font))
            SendMessageW(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    }
    Invalidate();
    NotifyControls(CM_PARENTFONTCHANGED);
}

bool TWinControl::HasFont(HFONT font)
{
    return reinterpret_cast<HFONT>(SendMessageW(handle_, WM_GETFONT, 0, 0)) == font;
}

void TWinControl::CMWinColorChanged(TMessage&)
{
    Invalidate();
    NotifyControls(CM_PARENTCOLORCHANGED);
}

void TWinControl::CMBiDiModeChanged(TMessage&)
{
    // The window's styles follow the mode only where the system honours it; elsewhere a new window
    // would look exactly like the old one.
    if (HandleAllocated() && SysLocaleMiddleEast())
        RecreateWnd();
    NotifyControls(CM_PARENTBIDIMODECHANGED);
}

void TWinControl::CMRecreateWnd(TMessage&)
{
    RecreateWnd();
}

// ---- Window messages ----

void TWinControl::WMPaint(TMessage& m)
{
    if (m.WParam) {
        HDC dc = reinterpret_cast<HDC>(m.WParam);
        PaintWindow(dc);
        PaintControls(dc, nullptr);
        return;
    }
    bool hasWindowless = std::any_of(controls_.begin(), controls_.end(),
                                     [](TControl* c) { return !dynamic_cast<TWinControl*>(c); });
    if (defWndProc_ != DefWindowProcW && !hasWindowless) {
        DefaultHandler(m);
        return;
    }
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(handle_, &ps);
    try {
        if (doubleBuffered_ && defWndProc_ == DefWindowProcW) {
            PaintBuffered(dc, ps.rcPaint);
        } else {
            PaintWindow(dc);
            PaintControls(dc, nullptr);
        }
    } catch (...) {
        EndPaint(handle_, &ps);
        throw;
    }
    EndPaint(handle_, &ps);
}

void TWinControl::PaintBuffered(HDC dc, const RECT& area)
{
    int w = area.right - area.left, h = area.bottom - area.top;
    if (w <= 0 || h <= 0)
        return;
    TMemoryDC memory(dc, w, h);
    if (!memory) {
        PaintWindow(dc);
        PaintControls(dc, nullptr);
        return;
    }
    // The bitmap stands for the update area: client coordinates keep working inside it.
    SetWindowOrgEx(memory.Get(), area.left, area.top, nullptr);
    memory.BlitOnExit(dc, area.left, area.top, POINT{area.left, area.top});
    Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(memory.Get()), 0);
    PaintWindow(memory.Get());
    PaintControls(memory.Get(), nullptr);
}

void TWinControl::PaintWindow(HDC dc)
{
    if (defWndProc_ == DefWindowProcW)
        return;
    TMessage m{WM_PAINT, reinterpret_cast<WPARAM>(dc), 0, 0};
    DefaultHandler(m);
}

void TWinControl::PaintControls(HDC dc, TControl* first)
{
    auto it = controls_.begin();
    if (first) {
        it = std::find(controls_.begin(), controls_.end(), first);
        if (it == controls_.end())
            it = controls_.begin();
    }
    std::vector<TControl*> list(it, controls_.end());
    for (TControl* c : list) {
        if (dynamic_cast<TWinControl*>(c) || !c->Visible())
            continue;
        RECT bounds = c->BoundsRect().ToRECT();
        if (!RectVisible(dc, &bounds))
            continue;
        TSavedDC saved(dc);
        POINT origin;
        OffsetViewportOrgEx(dc, c->Left(), c->Top(), &origin);
        IntersectClipRect(dc, 0, 0, c->Width(), c->Height());
        c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    }
}

void TWinControl::PaintTo(HDC dc, int x, int y)
{
    HWND wnd = Handle();
    // The client area's place within the window (borders are left to the window's own painting).
    RECT windowRect;
    GetWindowRect(wnd, &windowRect);
    POINT clientOrigin{0, 0};
    ::ClientToScreen(wnd, &clientOrigin);
    int cx = x + clientOrigin.x - windowRect.left;
    int cy = y + clientOrigin.y - windowRect.top;
    TSavedDC saved(dc);
    OffsetViewportOrgEx(dc, cx, cy, nullptr);
    TRect client = ClientRect();
    IntersectClipRect(dc, 0, 0, client.Width(), client.Height());
    Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    std::vector<TControl*> list = controls_;
    for (TControl* c : list)
        if (auto* w = dynamic_cast<TWinControl*>(c); w && w->Visible())
            w->PaintTo(dc, w->Left(), w->Top());
}

void TWinControl::WMEraseBkgnd(TMessage& m)
{
    if (defWndProc_ != DefWindowProcW) {
        DefaultHandler(m);
        return;
    }
    HDC dc = reinterpret_cast<HDC>(m.WParam);
    RECT r = ClientRect().ToRECT();
    FillRect(dc, &r, BrushHandle());
    m.Result = 1;
}

void TWinControl::Invalidate()
{
    // As for windowless controls: a window that cannot be seen, or whose form holds its paints,
    // keeps no update region.
    if (PaintsShown(handle_))
        InvalidateRect(handle_, nullptr, TRUE);
}

void TWinControl::Update()
{
    // A form that holds its paints would drop them: its release paints it whole.
    if (handle_ && !PaintsHeldFor(handle_))
        UpdateWindow(handle_);
}

void TWinControl::Repaint()
{
    Invalidate();
    Update();
}

void TWinControl::WMSize(TMessage& m)
{
    DefaultHandler(m);
    Realign();
}

void TWinControl::WMMove(TMessage& m)
{
    DefaultHandler(m);
}

void TWinControl::WMWindowPosChanged(TMessage& m)
{
    auto* pos = reinterpret_cast<WINDOWPOS*>(m.LParam);
    bool resized = pos && !(pos->flags & SWP_NOSIZE) && (pos->cx != width_ || pos->cy != height_);
    if (pos && !(pos->flags & SWP_NOMOVE)) {
        left_ = pos->x;
        top_ = pos->y;
    }
    if (pos && !(pos->flags & SWP_NOSIZE)) {
        width_ = pos->cx;
        height_ = pos->cy;
    }
    if (pos && (pos->flags & (SWP_NOMOVE | SWP_NOSIZE)) != (SWP_NOMOVE | SWP_NOSIZE))
        UpdateAnchorRules();
    DefaultHandler(m);
    if (resized) {
        Realign();
        if (!HasState(csLoading))
            Resize();
        RequestAlign();
    }
}

void TWinControl::WMCommand(TMessage& m)
{
    // Notifications of child windows go back to the child's object; menu commands to the form.
    if (m.LParam) {
        if (TWinControl* child = FindControl(reinterpret_cast<HWND>(m.LParam))) {
            m.Result = child->Perform(CN_COMMAND, m.WParam, m.LParam);
            return;
        }
    }
    DefaultHandler(m);
}

void TWinControl::WMNotify(TMessage& m)
{
    auto* header = reinterpret_cast<NMHDR*>(m.LParam);
    if (header) {
        if (TWinControl* child = FindControl(header->hwndFrom)) {
            m.Result = child->Perform(CN_NOTIFY, m.WParam, m.LParam);
            return;
        }
    }
    DefaultHandler(m);
}

void TWinControl::WMReflected(TMessage& m)
{
    HWND child = nullptr;
    switch (m.Msg) {
    case WM_HSCROLL:
    case WM_VSCROLL:
        child = reinterpret_cast<HWND>(m.LParam);
        break;
    case WM_DRAWITEM: {
        auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
        if (item && item->CtlType != ODT_MENU)
            child = item->hwndItem;
        break;
    }
    case WM_MEASUREITEM: {
        auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam);
        if (item && item->CtlType != ODT_MENU && handle_)
            child = GetDlgItem(handle_, static_cast<int>(item->CtlID));
        break;
    }
    case WM_DELETEITEM: {
        auto* item = reinterpret_cast<DELETEITEMSTRUCT*>(m.LParam);
        if (item)
            child = item->hwndItem;
        break;
    }
    case WM_COMPAREITEM: {
        auto* item = reinterpret_cast<COMPAREITEMSTRUCT*>(m.LParam);
        if (item)
            child = item->hwndItem;
        break;
    }
    default:
        break;
    }
    if (TWinControl* target = FindControl(child); target && target != this) {
        m.Result = target->Perform(CN_BASE + m.Msg, m.WParam, m.LParam);
        return;
    }
    DefaultHandler(m);
}

void TWinControl::WMCtlColor(TMessage& m)
{
    if (TWinControl* child = FindControl(reinterpret_cast<HWND>(m.LParam)); child && child != this) {
        m.Result = child->Perform(CN_BASE + m.Msg, m.WParam, m.LParam);
        return;
    }
    DefaultHandler(m);
}

void TWinControl::WMSetFocus(TMessage& m)
{
    DefaultHandler(m);
    if (TCustomForm* form = GetParentForm(this))
        form->FocusControlChanged(this);
}

void TWinControl::WMKillFocus(TMessage& m)
{
    DefaultHandler(m);
}

void TWinControl::CMEnter(TMessage&)
{
    OnEnter(this);
}

void TWinControl::CMExit(TMessage&)
{
    OnExit(this);
}

void TWinControl::WMKeyDown(TMessage& m)
{
    auto key = static_cast<WORD>(m.WParam);
    KeyDown(key, KeyDataToShiftState(m.LParam));
    if (key == 0)
        return;
    m.WParam = key;
    DefaultHandler(m);
}

void TWinControl::WMKeyUp(TMessage& m)
{
    auto key = static_cast<WORD>(m.WParam);
    KeyUp(key, KeyDataToShiftState(m.LParam));
    if (key == 0)
        return;
    m.WParam = key;
    DefaultHandler(m);
}

void TWinControl::WMChar(TMessage& m)
{
    auto ch = static_cast<wchar_t>(m.WParam);
    KeyPress(ch);
    if (ch == 0)
        return;
    m.WParam = ch;
    DefaultHandler(m);
}

void TWinControl::CNKeyDown(TMessage& m)
{
    // Keys the control does not want itself move the focus or press the form's default and cancel
    // buttons.
    auto key = static_cast<WORD>(m.WParam);
    if (key != VK_TAB && key != VK_RETURN && key != VK_ESCAPE)
        return;
    LRESULT code = Perform(WM_GETDLGCODE);
    if (code & DLGC_WANTALLKEYS)
        return;
    if (key == VK_TAB && (code & DLGC_WANTTAB))
        return;
    if (TCustomForm* form = GetParentForm(this))
        m.Result = form->Perform(CM_DIALOGKEY, key, m.LParam);
}

void TWinControl::CNChar(TMessage& m)
{
    // A character the focused control has no use for (and every Alt+character) may be an accelerator of
    // a label or a tab in the form, as in a dialog of the system.
    if (m.Msg == CN_CHAR && (Perform(WM_GETDLGCODE) & (DLGC_WANTCHARS | DLGC_WANTALLKEYS)))
        return;
    if (TCustomForm* form = GetParentForm(this))
        m.Result = form->Perform(CM_DIALOGCHAR, m.WParam, m.LParam);
}

void TWinControl::CMBroadcast(TMessage& m)
{
    // Children hear of accelerators and focus changes in creation order; the first that answers an
    // accelerator ends the round.
    const std::vector<TControl*> children(controls_);
    for (TControl* child : children) {
        m.Result = child->Perform(m.Msg, m.WParam, m.LParam);
        if (m.Result != 0)
            return;
    }
}

void TWinControl::WMSetCursor(TMessage& m)
{
    if (LOWORD(m.LParam) == HTCLIENT && handle_ && reinterpret_cast<HWND>(m.WParam) == handle_) {
        POINT p;
        GetCursorPos(&p);
        TControl* target = ControlAtPos(ScreenToClient(Point(p.x, p.y)), false);
        TCursor cursor = target && target->Cursor() != crDefault ? target->Cursor() : Cursor();
        if (Screen && Screen->Cursor() != crDefault)
            cursor = Screen->Cursor();
        if (cursor != crDefault && Screen) {
            ::SetCursor(Screen->Cursors(cursor));
            m.Result = TRUE;
            return;
        }
    }
    DefaultHandler(m);
}

void TWinControl::WMNCDestroy(TMessage& m)
{
    DefaultHandler(m);
}

void TWinControl::WMSysColorChange(TMessage& m)
{
    NotifyControls(CM_SYSCOLORCHANGE);
    DefaultHandler(m);
}

// ---- Focus ----

void TWinControl::SetTabStop(bool value)
{
    if (value == tabStop_)
        return;
    tabStop_ = value;
    if (handle_) {
        LONG_PTR style = GetWindowLongPtrW(handle_, GWL_STYLE);
        style = value ? (style | WS_TABSTOP) : (style & ~static_cast<LONG_PTR>(WS_TABSTOP));
        SetWindowLongPtrW(handle_, GWL_STYLE, style);
    }
    Perform(CM_TABSTOPCHANGED);
}

int TWinControl::TabOrder() const
{
    if (!parent_)
        return -1;
    auto& list = parent_->tabList_;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TWinControl::SetTabOrder(int value)
{
    if (!parent_)
        return;
    auto& list = parent_->tabList_;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    value = std::clamp(value, 0, static_cast<int>(list.size()));
    list.insert(list.begin() + value, this);
}

bool TWinControl::CanFocus()
{
    TCustomForm* form = GetParentForm(this);
    if (!form || !form->Visible() || !form->Enabled())
        return form == this && Visible() && Enabled();
    for (TWinControl* c = this; c && c != form; c = c->Parent())
        if (!c->Visible() || !c->Enabled())
            return false;
    return true;
}

bool TWinControl::Focused()
{
    return handle_ && GetFocus() == handle_;
}

void TWinControl::SetFocus()
{
    if (!CanFocus())
        throw EInvalidOperation(L"Cannot focus a disabled or invisible window");
    if (TCustomForm* form = GetParentForm(this); form && form != this) {
        form->SetActiveControl(this);
        return;
    }
    ::SetFocus(Handle());
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& list)
{
    for (TWinControl* c : tabList_) {
        list.push_back(c);
        c->GetTabOrderList(list);
    }
}

TWinControl* TWinControl::FindNextControl(TWinControl* current, bool goForward, bool checkTabStop, bool checkParent)
{
    std::vector<TWinControl*> list;
    GetTabOrderList(list);
    if (list.empty())
        return nullptr;
    int count = static_cast<int>(list.size());
    int start = -1;
    for (int i = 0; i < count; ++i)
        if (list[static_cast<size_t>(i)] == current)
            start = i;
    if (start < 0)
        start = goForward ? count - 1 : 0;
    int i = start;
    for (int n = 0; n < count; ++n) {
        i = goForward ? (i + 1) % count : (i - 1 + count) % count;
        TWinControl* c = list[static_cast<size_t>(i)];
        if (c == current)
            continue;
        if (!c->CanFocus() || (checkTabStop && !c->TabStop()) || (checkParent && c->Parent() != this))
            continue;
        return c;
    }
    return nullptr;
}

void TWinControl::SelectNext(TWinControl* current, bool goForward, bool checkTabStop)
{
    if (TWinControl* next = FindNextControl(current, goForward, checkTabStop, false))
        next->SetFocus();
}
