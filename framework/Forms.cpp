// TCustomForm: the top-level window of a form, its styles, showing (also modally), closing,
// activation, focus, default and cancel keys, and its menu's commands.
#include "framework/Forms.h"

#include "framework/ActnList.h"
#include "framework/Menus.h"
#include "framework/SysUtils.h"

#include <algorithm>

namespace {


// Windows of this thread that a modal form disables while it runs.
struct DisabledWindows {
    HWND except;
    std::vector<HWND> list;
};

BOOL CALLBACK DisableThreadWindow(HWND wnd, LPARAM param)
{
    auto* d = reinterpret_cast<DisabledWindows*>(param);
    if (wnd != d->except && IsWindowVisible(wnd) && IsWindowEnabled(wnd)) {
        d->list.push_back(wnd);
        EnableWindow(wnd, FALSE);
    }
    return TRUE;
}

} // namespace

TCustomForm::TCustomForm(TComponent* owner)
    : TWinControl(owner), canvas_(std::make_unique<TControlCanvas>()),
      horzScrollBar_(std::make_unique<TControlScrollBar>(this, sbHorizontal)),
      vertScrollBar_(std::make_unique<TControlScrollBar>(this, sbVertical))
{
    FormState.Include(fsCreating);
    ControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
    SetVisible(false);
    SetColor(clBtnFace);
    canvas_->SetControl(this);
    left_ = 0;
    top_ = 0;
    width_ = 320;
    height_ = 240;
    if (Screen)
        Screen->AddForm(this);
}

TCustomForm::~TCustomForm()
{
    Destroying();
    if (Screen)
        Screen->RemoveForm(this);
    if (Application)
        Application->FormDestroyed(this);
    canvas_->FreeHandle();
    // Window first, then the child controls, then the owned components (TWinControl's destructor).
    DestroyHandle();
}

void TCustomForm::AfterConstruction()
{
    TWinControl::AfterConstruction();
    ReadComponentResource(this);
    FormState.Exclude(fsCreating);
    OnCreate(this);
    if (Visible())
        UpdateControlState();
}

void TCustomForm::BeforeDestruction()
{
    if (HandleAllocated() && IsWindowVisible(handle_))
        ShowWindow(handle_, SW_HIDE);
    OnDestroy(this);
    TWinControl::BeforeDestruction();
}

void TCustomForm::Loaded()
{
    TWinControl::Loaded();
    Realign();
    if (autoSize_)
        AdjustSize();
}

// ---- Styles ----

void TCustomForm::CreateParams(TCreateParams& params)
{
    TWinControl::CreateParams(params);
    params.WndParent = Application ? Application->Handle() : nullptr;
    params.Style = WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    params.ExStyle = 0;
    switch (borderStyle_) {
    case bsNone:
        params.Style |= WS_POPUP;
        break;
    case bsSingle:
    case bsToolWindow:
        params.Style |= WS_CAPTION | WS_BORDER;
        break;
    case bsSizeable:
    case bsSizeToolWin:
        params.Style |= WS_CAPTION | WS_THICKFRAME;
        break;
    case bsDialog:
        params.Style |= WS_POPUP | WS_CAPTION;
        params.ExStyle |= WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
        break;
    }
    if (borderStyle_ == bsToolWindow || borderStyle_ == bsSizeToolWin)
        params.ExStyle |= WS_EX_TOOLWINDOW;
    if (borderStyle_ != bsNone && borderIcons_.Contains(biSystemMenu)) {
        params.Style |= WS_SYSMENU;
        if (borderStyle_ != bsDialog && borderStyle_ != bsToolWindow && borderStyle_ != bsSizeToolWin) {
            if (borderIcons_.Contains(biMinimize))
                params.Style |= WS_MINIMIZEBOX;
            if (borderIcons_.Contains(biMaximize))
                params.Style |= WS_MAXIMIZEBOX;
        }
        if (borderIcons_.Contains(biHelp) && (borderStyle_ == bsDialog || !(params.Style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX))))
            params.ExStyle |= WS_EX_CONTEXTHELP;
    }
    if (formStyle_ == fsStayOnTop)
        params.ExStyle |= WS_EX_TOPMOST;
    if (!Enabled())
        params.Style |= WS_DISABLED;
    params.WindowClass.style = CS_DBLCLKS;
    params.WindowClass.hIcon = nullptr;
    params.WindowClass.hbrBackground = nullptr;
    if (formStyle_ == fsMDIChild)
        ApplyMDIChildParams(params);
}

void TCustomForm::CreateWnd()
{
    TWinControl::CreateWnd();
    if (formStyle_ == fsMDIForm)
        CreateMDIClient();
    // The window was made at the size that counts the menu line in. An MDI child has no bar: its menu
    // is merged into the main form's while it is active.
    if (menu_ && formStyle_ != fsMDIChild) {
        ::SetMenu(handle_, menu_->Handle());
        menu_->SetWindowHandle(handle_);
    }
    if (icon_ || (Application && Application->Icon())) {
        HICON icon = icon_ ? icon_ : Application->Icon();
        SendMessageW(handle_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    }
    ApplyLayeredStyle();
}

void TCustomForm::ApplyStyle()
{
    if (HandleAllocated() && !HasState(csLoading))
        RecreateWnd();
}

void TCustomForm::SetBorderStyle(TFormBorderStyle value)
{
    if (value == borderStyle_)
        return;
    borderStyle_ = value;
    ApplyStyle();
}

void TCustomForm::SetBorderIcons(TBorderIcons value)
{
    if (value == borderIcons_)
        return;
    borderIcons_ = value;
    ApplyStyle();
}

void TCustomForm::SetFormStyle(TFormStyle value)
{
    if (value == formStyle_)
        return;
    formStyle_ = value;
    ApplyStyle();
}

TRect TCustomForm::ClientRect()
{
    if (HandleAllocated())
        return TWinControl::ClientRect();
    // Before the window exists, the frame of the style the window will have.
    TFormBorderStyle style = borderStyle_;
    RECT r{0, 0, 0, 0};
    DWORD ws = WS_CAPTION;
    DWORD ex = 0;
    if (style == bsNone)
        ws = WS_POPUP;
    else if (style == bsSizeable || style == bsSizeToolWin)
        ws |= WS_THICKFRAME;
    else if (style == bsDialog)
        ex = WS_EX_DLGMODALFRAME;
    if (style == bsToolWindow || style == bsSizeToolWin)
        ex |= WS_EX_TOOLWINDOW;
    AdjustWindowRectEx(&r, ws, menu_ != nullptr && formStyle_ != fsMDIChild, ex);
    return Rect(0, 0, std::max(0, width_ - static_cast<int>(r.right - r.left) - 2 * borderWidth_),
                std::max(0, height_ - static_cast<int>(r.bottom - r.top) - 2 * borderWidth_));
}

TWindowState TCustomForm::WindowState()
{
    if (HandleAllocated()) {
        if (IsIconic(handle_))
            return wsMinimized;
        if (IsZoomed(handle_))
            return wsMaximized;
        if (Showing())
            return wsNormal;
    }
    return windowState_;
}

void TCustomForm::SetWindowState(TWindowState value)
{
    windowState_ = value;
    if (HandleAllocated() && Showing())
        ShowWindow(handle_, value == wsMinimized ? SW_MINIMIZE : value == wsMaximized ? SW_MAXIMIZE : SW_RESTORE);
}

void TCustomForm::SetIcon(HICON value)
{
    icon_ = value;
    if (HandleAllocated())
        SendMessageW(handle_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(value));
    Perform(CM_ICONCHANGED);
}

void TCustomForm::DetachMenuBar()
{
    // A window destroys the menu bar it shows with itself; the main menu owns that handle and shows it
    // again on the next window (RecreateWnd), so the window lets go of it first.
    if (!menu_ || !HandleAllocated() || (GetWindowLongPtrW(handle_, GWL_STYLE) & WS_CHILD))
        return;
    HMENU shown = ::GetMenu(handle_);
    if (shown && shown == menu_->Handle())
        ::SetMenu(handle_, nullptr);
}

void TCustomForm::SetMenu(TMainMenu* value)
{
    if (menu_ && menu_ != value)
        menu_->SetWindowHandle(nullptr);
    // The client area keeps its size, also while the form is read (ClientHeight comes before the
    // menu's reference is fixed up): the window grows or shrinks by the menu line.
    int clientW = ClientWidth(), clientH = ClientHeight();
    menu_ = value;
    if (value && value->Owner() != this)
        value->FreeNotification(this);
    if (HasState(csDestroying))
        return;
    if (HandleAllocated() && formStyle_ == fsMDIChild) {
        MergeMenuIntoMain(IsActiveMDIChild());
        return;
    }
    if (HandleAllocated()) {
        ::SetMenu(handle_, value ? value->Handle() : nullptr);
        if (value)
            value->SetWindowHandle(handle_);
    }
    if (ClientWidth() != clientW || ClientHeight() != clientH) {
        SetClientWidth(clientW);
        SetClientHeight(clientH);
    }
    if (HandleAllocated())
        Perform(CM_MENUCHANGED);
}

void TCustomForm::SetAutoSize(bool value)
{
    autoSize_ = value;
    if (value)
        AdjustSize();
}

void TCustomForm::Realign()
{
    TWinControl::Realign();
    UpdateScrollBars();
    // A child that changed its size (a picture that sized itself) resizes an auto-sized form.
    if (autoSize_)
        AdjustSize();
}

void TCustomForm::AdjustSize()
{
    if (HasState(csLoading) || HasState(csDestroying) || adjustingSize_)
        return;
    adjustingSize_ = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{adjustingSize_};
    int right = 0, bottom = 0;
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* c = Controls(i);
        if (!c->Visible())
            continue;
        right = std::max(right, c->Left() + c->Width());
        bottom = std::max(bottom, c->Top() + c->Height());
    }
    if (right > 0 && bottom > 0) {
        SetClientWidth(right);
        SetClientHeight(bottom);
    }
}

// ---- Holding paints ----

void TCustomForm::HoldPaints()
{
    paintsHeld_ = true;
}

void TCustomForm::ReleasePaints(bool updateNow)
{
    if (!paintsHeld_)
        return;
    paintsHeld_ = false;
    if (!HandleAllocated())
        return;
    // Every paint asked for meanwhile was dropped: the whole form is painted again.
    const UINT flags = RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | (updateNow ? RDW_UPDATENOW : 0);
    RedrawWindow(handle_, nullptr, nullptr, flags);
}

bool PaintsHeldFor(HWND wnd)
{
    if (!wnd)
        return false;
    auto* form = dynamic_cast<TCustomForm*>(FindControl(GetAncestor(wnd, GA_ROOT)));
    return form && form->PaintsHeld();
}

bool PaintsShown(HWND wnd)
{
    return wnd && IsWindowVisible(wnd) && !PaintsHeldFor(wnd);
}

bool DropHeldPaint(HWND wnd, UINT msg, WPARAM wParam, LRESULT& result)
{
    // The window a DC the message brought draws on; none for a memory bitmap.
    const auto drawnWindow = [&] { return WindowFromDC(reinterpret_cast<HDC>(wParam)); };
    switch (msg) {
    case WM_PAINT:
        if (wParam ? !PaintsHeldFor(drawnWindow()) : !PaintsHeldFor(wnd))
            return false;
        if (!wParam)
            RedrawWindow(wnd, nullptr, nullptr, RDW_VALIDATE | RDW_NOERASE | RDW_NOFRAME | RDW_NOCHILDREN);
        result = 0;
        return true;
    case WM_NCPAINT:
        if (!PaintsHeldFor(wnd))
            return false;
        result = 0;
        return true;
    case WM_ERASEBKGND:
        if (!PaintsHeldFor(drawnWindow()))
            return false;
        result = 1;
        return true;
    default:
        return false;
    }
}

// ---- Showing ----

void TCustomForm::Show()
{
    SetVisible(true);
    if (HandleAllocated())
        SetWindowPos(handle_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void TCustomForm::PlaceOnShow()
{
    int w = width_, h = height_;
    TCustomForm* center = nullptr;
    if (position_ == poMainFormCenter || position_ == poOwnerFormCenter) {
        center = Application ? Application->MainForm() : nullptr;
        if (position_ == poOwnerFormCenter)
            if (auto* owner = dynamic_cast<TCustomForm*>(Owner()))
                center = owner;
        if (center == this || (center && !center->Showing()))
            center = nullptr;
    }
    if (center) {
        SetBounds(center->Left() + (center->Width() - w) / 2, center->Top() + (center->Height() - h) / 2, w, h);
    } else if (position_ == poScreenCenter || position_ == poDesktopCenter || position_ == poMainFormCenter ||
               position_ == poOwnerFormCenter) {
        TRect work = Screen ? Screen->WorkAreaRect() : Rect(0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
        SetBounds(work.Left + (work.Width() - w) / 2, work.Top + (work.Height() - h) / 2, w, h);
    }
}

void TCustomForm::CMShowingChangedForm(TMessage&)
{
    if (!HandleAllocated())
        return;
    // fsShowing holds while the form's own OnShow or OnHide runs, on every way out.
    auto whileShowing = [this](void (TCustomForm::*handler)()) {
        FormState.Include(fsShowing);
        try {
            (this->*handler)();
        } catch (...) {
            FormState.Exclude(fsShowing);
            throw;
        }
        FormState.Exclude(fsShowing);
    };
    if (Showing()) {
        // A failing OnShow is reported like a failing message handler and the form is shown all the
        // same: the main form's first show comes before the message loop, and its error must neither
        // end the program nor leave it running without a window.
        try {
            whileShowing(&TCustomForm::DoShow);
        } catch (...) {
            if (!Application)
                throw;
            Application->HandleException(this);
        }
        int cmd = windowState_ == wsMaximized ? SW_SHOWMAXIMIZED : windowState_ == wsMinimized ? SW_SHOWMINIMIZED : SW_SHOWNORMAL;
        // A child shown normally keeps the client's maximized state: a maximized sibling stays as it is.
        if (formStyle_ == fsMDIChild && cmd == SW_SHOWNORMAL)
            cmd = SW_SHOW;
        else
            PlaceOnShow();
        ShowWindow(handle_, cmd);
        FormState.Include(fsVisible);
    } else {
        whileShowing(&TCustomForm::DoHide);
        ShowWindow(handle_, SW_HIDE);
        FormState.Exclude(fsVisible);
        // Shown again later, the form's first activation counts as new (dialogs prepare themselves
        // in OnActivate each time they are shown).
        everActivated_ = false;
    }
}

int TCustomForm::ShowModal()
{
    if (Visible() || !Enabled() || FormState.Contains(fsModal) || formStyle_ == fsMDIChild)
        throw EInvalidOperation(L"Cannot make a visible window modal");
    if (GetCapture())
        SendMessageW(GetCapture(), WM_CANCELMODE, 0, 0);
    ReleaseCapture();
    FormState.Include(fsModal);
    HWND previous = GetActiveWindow();
    DisabledWindows disabled{nullptr, {}};
    modalResult_ = mrNone;
    try {
        HandleNeeded();
        disabled.except = handle_;
        EnumThreadWindows(GetCurrentThreadId(), DisableThreadWindow, reinterpret_cast<LPARAM>(&disabled));
        Show();
        SetForegroundWindow(handle_);
        SetActiveWindow(handle_);
        for (;;) {
            if (Application->Terminated()) {
                modalResult_ = mrCancel;
                break;
            }
            if (modalResult_ != mrNone) {
                CloseModal();
                if (modalResult_ != mrNone)
                    break;
                continue;
            }
            Application->HandleMessage();
        }
    } catch (...) {
        for (HWND w : disabled.list)
            if (IsWindow(w))
                EnableWindow(w, TRUE);
        FormState.Exclude(fsModal);
        throw;
    }
    // Enable the others before hiding, so that Windows activates one of them and not another program.
    for (HWND w : disabled.list)
        if (IsWindow(w))
            EnableWindow(w, TRUE);
    Hide();
    if (previous && IsWindow(previous))
        SetActiveWindow(previous);
    FormState.Exclude(fsModal);
    return modalResult_;
}

void TCustomForm::CloseModal()
{
    TCloseAction action = caNone;
    if (CloseQuery()) {
        action = caHide;
        DoClose(action);
    }
    switch (action) {
    case caNone:
        modalResult_ = mrNone;
        break;
    case caFree:
        Release();
        break;
    default:
        break;
    }
}

bool TCustomForm::CloseQuery()
{
    bool canClose = true;
    OnCloseQuery(this, canClose);
    return canClose;
}

void TCustomForm::Close()
{
    if (FormState.Contains(fsModal)) {
        modalResult_ = mrCancel;
        return;
    }
    if (!CloseQuery())
        return;
    TCloseAction action = formStyle_ == fsMDIChild ? caMinimize : caHide;
    DoClose(action);
    if (action == caNone)
        return;
    if (Application && Application->MainForm() == this) {
        Application->Terminate();
        return;
    }
    switch (action) {
    case caHide:
        Hide();
        break;
    case caMinimize:
        SetWindowState(wsMinimized);
        break;
    case caFree:
        Release();
        break;
    default:
        break;
    }
}

void TCustomForm::Release()
{
    if (Application && Application->Handle())
        PostMessageW(Application->Handle(), CM_RELEASE, 0, reinterpret_cast<LPARAM>(this));
}

// ---- Messages ----

void TCustomForm::Dispatch(TMessage& message)
{
    static const TMessageEntry<TCustomForm> kFormMessages[] = {
        {WM_ACTIVATE, &TCustomForm::WMActivate},
        {WM_CLOSE, &TCustomForm::WMClose},
        {WM_COMMAND, &TCustomForm::WMCommandForm},
        {WM_MEASUREITEM, &TCustomForm::WMMenuItemMessage},
        {WM_DRAWITEM, &TCustomForm::WMMenuItemMessage},
        {WM_INITMENUPOPUP, &TCustomForm::WMInitMenuPopup},
        {WM_MDIACTIVATE, &TCustomForm::WMMDIActivate},
        {WM_SYSCOMMAND, &TCustomForm::WMSysCommand},
        {CM_SHOWINGCHANGED, &TCustomForm::CMShowingChangedForm},
        {CM_DIALOGKEY, &TCustomForm::CMDialogKey},
        {CM_MENUCHANGED, &TCustomForm::CMMenuChanged},
        {CM_CONTROLLISTCHANGE, &TCustomForm::CMControlListChange},
        {WM_HSCROLL, &TCustomForm::WMScroll},
        {WM_VSCROLL, &TCustomForm::WMScroll},
        {WM_NCCALCSIZE, &TCustomForm::WMNCCalcSize},
        {WM_NCPAINT, &TCustomForm::WMNCPaint},
    };
    if (DispatchIn(this, kFormMessages, message))
        return;
    TWinControl::Dispatch(message);
}

void TCustomForm::PaintWindow(HDC dc)
{
    canvas_->FreeHandle();
    TCanvasDCBinding bind(canvas_.get(), dc);
    OnPaint(this);
}

void TCustomForm::WMActivate(TMessage& m)
{
    bool activating = LOWORD(m.WParam) != WA_INACTIVE;
    auto* other = FindControl(reinterpret_cast<HWND>(m.LParam));
    bool otherIsOurForm = dynamic_cast<TCustomForm*>(other) != nullptr && other != this;
    if (activating) {
        active_ = true;
        if (Screen)
            Screen->SetActiveForm(this);
        // Activation coming from another program or from a system dialog is a return, not a new
        // activation: OnActivate runs the first time and when it moves between our own forms.
        bool fire = !everActivated_ || otherIsOurForm;
        everActivated_ = true;
        FormState.Include(fsActivated);
        // A form shown with no control chosen gives the focus to its first tab stop, as a dialog of
        // the system does, so that typing reaches a control at once.
        TWinControl* focus = activeControl_;
        if (!focus || !focus->CanFocus())
            focus = FindNextControl(nullptr, true, true, false);
        if (focus)
            ::SetFocus(focus->Handle());
        else
            DefaultHandler(m);
        if (fire)
            Activate();
    } else {
        active_ = false;
        DefaultHandler(m);
        if (otherIsOurForm)
            Deactivate();
    }
}

void TCustomForm::WMClose(TMessage&)
{
    Close();
}

void TCustomForm::WMCommandForm(TMessage& m)
{
    // Menu commands (no control window, notification code 0) go to the form's main menu.
    if (m.LParam == 0 && HIWORD(m.WParam) == 0) {
        if (menu_ && menu_->DispatchCommand(LOWORD(m.WParam)))
            return;
        for (TPopupMenu* popup : PopupsShownHere())
            if (popup->DispatchCommand(LOWORD(m.WParam)))
                return;
    }
    TWinControl::WMCommand(m);
}

std::vector<TPopupMenu*> TCustomForm::PopupsShownHere() const
{
    std::vector<TPopupMenu*> popups;
    if (!handle_)
        return popups;
    TPopupList* list = PopupList();
    for (int i = 0; i < list->Count(); ++i)
        if (list->Menus(i)->WindowHandle() == handle_)
            popups.push_back(list->Menus(i));
    return popups;
}

void TCustomForm::WMMenuItemMessage(TMessage& m)
{
    if (DispatchMenuItemMessage(m, this))
        return;
    TWinControl::WMReflected(m);
}

void TCustomForm::WMInitMenuPopup(TMessage& m)
{
    const auto menu = reinterpret_cast<HMENU>(m.WParam);
    if (!menu_ || !menu_->DispatchPopup(menu))
        for (TPopupMenu* popup : PopupsShownHere())
            if (popup->DispatchPopup(menu))
                break;
    DefaultHandler(m);
}

void TCustomForm::WMSysCommand(TMessage& m)
{
    if ((m.WParam & 0xFFF0) == SC_MINIMIZE && Application && Application->MainForm() == this) {
        Application->Minimize();
        return;
    }
    DefaultHandler(m);
}

void TCustomForm::CMMenuChanged(TMessage& m)
{
    if (HandleAllocated())
        DrawMenuBar(handle_);
    DefaultHandler(m);
}

void TCustomForm::CMDialogKey(TMessage& m)
{
    auto key = static_cast<WORD>(m.WParam);
    if (key == VK_TAB) {
        if (GetKeyState(VK_CONTROL) >= 0) {
            SelectNext(activeControl_, GetKeyState(VK_SHIFT) >= 0, true);
            m.Result = 1;
        }
        return;
    }
    // Return and Escape: the default or cancel button of the form takes them.
    std::vector<TControl*> pending;
    for (int i = 0; i < ControlCount(); ++i)
        pending.push_back(Controls(i));
    while (!pending.empty()) {
        TControl* c = pending.front();
        pending.erase(pending.begin());
        if (c->Perform(CM_DIALOGKEY, m.WParam, m.LParam)) {
            m.Result = 1;
            return;
        }
        if (auto* w = dynamic_cast<TWinControl*>(c))
            for (int i = 0; i < w->ControlCount(); ++i)
                pending.push_back(w->Controls(i));
    }
}

// ---- Focus ----

void TCustomForm::SetActiveControl(TWinControl* control)
{
    if (control && control != this && !ContainsControl(control))
        throw EInvalidOperation(L"Invalid active control");
    if (control && HandleAllocated() && Showing() && Enabled() && control->CanFocus()) {
        ::SetFocus(control->Handle());
        if (GetFocus() == control->Handle())
            return; // WM_SETFOCUS told us already
    }
    FocusControlChanged(control);
}

void TCustomForm::FocusControlChanged(TWinControl* control)
{
    if (control == this)
        control = nullptr;
    if (control == activeControl_)
        return;
    TWinControl* previous = activeControl_;
    activeControl_ = control;
    if (previous)
        previous->Perform(CM_EXIT);
    if (control)
        control->Perform(CM_ENTER);
    Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(control));
}

void TCustomForm::ControlDestroyed(TControl* control)
{
    if (activeControl_ == control)
        activeControl_ = nullptr;
}

void TCustomForm::Notification(TComponent* component, TOperation operation)
{
    TWinControl::Notification(component, operation);
    if (operation == TOperation::opRemove && component && component == static_cast<TComponent*>(menu_))
        menu_ = nullptr;
}

bool TCustomForm::IsShortCut(TShortCut shortCut)
{
    TMessage keyMessage{WM_KEYDOWN, shortCut, 0, 0};
    bool handled = false;
    OnShortCut(keyMessage, handled);
    if (handled)
        return true;
    if (menu_ && menu_->IsShortCut(shortCut))
        return true;
    for (int i = 0; i < ComponentCount(); ++i)
        if (auto* list = dynamic_cast<TCustomActionList*>(Components(i)))
            if (list->IsShortCut(shortCut))
                return true;
    return false;
}
