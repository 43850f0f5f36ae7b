// The application object (hidden window, message loop, exceptions, hooks, shortcuts, hints, idle work)
// and the screen object.
#include "framework/Forms.h"

#include "framework/ActnList.h"
#include "framework/Menus.h"
#include "framework/SysUtils.h"
#include "framework/WindowBinding.h"

#include <algorithm>

TApplication* Application = nullptr;
TScreen* Screen = nullptr;

namespace {

constexpr UINT_PTR kHintTimer = 1;

} // namespace

// ---- TApplication ----

TApplication::TApplication(TComponent* owner) : TComponent(owner)
{
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    title_ = ChangeFileExt(ExtractFileName(path), L"");
}

TApplication::~TApplication()
{
    Destroying();
    // Forms go before the window they are owned by.
    DestroyComponents();
    if (handle_) {
        UnbindWindow(handle_, TWindowRole::Application, this);
        DestroyWindow(handle_);
        handle_ = nullptr;
    }
}

void TApplication::AfterConstruction()
{
    TComponent::AfterConstruction();
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    if (!GetClassInfoExW(instance, L"TApplication", &wc)) {
        wc = WNDCLASSEXW{};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = AppWndProc;
        wc.hInstance = instance;
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.lpszClassName = L"TApplication";
        RegisterClassExW(&wc);
    }
    // Hidden and of zero size: it owns the forms and receives the application's own messages.
    int x = GetSystemMetrics(SM_CXSCREEN) / 2, y = GetSystemMetrics(SM_CYSCREEN) / 2;
    handle_ = CreateBoundWindow(TWindowRole::Application, this, 0, L"TApplication", title_.c_str(),
                                WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX, x, y, 0, 0,
                                nullptr);
    if (!handle_)
        throw EOSError(L"Cannot create the application window");
    hintWindow_ = Create<THintWindow>(this);
}

void TApplication::SetTitle(const std::wstring& value)
{
    title_ = value;
    if (handle_)
        SetWindowTextW(handle_, value.c_str());
}

LRESULT CALLBACK TApplication::AppWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto* app = static_cast<TApplication*>(BindAtCreate(wnd, msg, lParam, TWindowRole::Application));
    if (!app)
        return DefWindowProcW(wnd, msg, wParam, lParam);
    if (msg == WM_NCCREATE)
        app->handle_ = wnd;
    TMessage message{msg, wParam, lParam, 0};
    try {
        app->WndProc(message);
    } catch (...) {
        app->HandleException(app);
    }
    return message.Result;
}

void TApplication::WndProc(TMessage& message)
{
    // Hooks see every message of the window, posted ones included; the latest hook first.
    std::vector<TWindowHook> hooks = hooks_;
    for (auto it = hooks.rbegin(); it != hooks.rend(); ++it) {
        bool handled = false;
        (*it)(message, handled);
        if (handled)
            return;
    }
    switch (message.Msg) {
    case CM_RELEASE: {
        auto* form = reinterpret_cast<TCustomForm*>(message.LParam);
        // The form may be gone already: only a form still on the screen's list is freed.
        if (Screen)
            for (int i = 0; i < Screen->CustomFormCount(); ++i)
                if (Screen->CustomForms(i) == form) {
                    Free(form);
                    break;
                }
        return;
    }
    case WM_TIMER:
        if (message.WParam == kHintTimer) {
            KillTimer(handle_, kHintTimer);
            POINT p;
            GetCursorPos(&p);
            if (hintActive_)
                CancelHint();
            else
                ActivateHint(Point(p.x, p.y));
            return;
        }
        break;
    case WM_ACTIVATEAPP:
        if (message.WParam)
            OnActivate(this);
        else {
            CancelHint();
            OnDeactivate(this);
        }
        break;
    case WM_CLOSE:
        if (mainForm_)
            mainForm_->Close();
        return;
    default:
        break;
    }
    message.Result = DefWindowProcW(handle_, message.Msg, message.WParam, message.LParam);
}

void TApplication::HookMainWindow(TWindowHook hook)
{
    hooks_.push_back(hook);
}

void TApplication::UnhookMainWindow(TWindowHook hook)
{
    auto it = std::find(hooks_.begin(), hooks_.end(), hook);
    if (it != hooks_.end())
        hooks_.erase(it);
}

// ---- Message loop ----

void TApplication::Run()
{
    if (mainForm_ && ShowMainForm)
        mainForm_->Show();
    while (!terminated_) {
        try {
            HandleMessage();
        } catch (...) {
            HandleException(this);
        }
    }
}

void TApplication::Terminate()
{
    PostQuitMessage(0);
}

void TApplication::ProcessMessages()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            terminated_ = true;
            return;
        }
        ProcessMessageReporting(msg);
    }
}

void TApplication::HandleMessage()
{
    MSG msg;
    if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            terminated_ = true;
            return;
        }
        ProcessMessageReporting(msg);
        return;
    }
    try {
        DoIdle();
    } catch (...) {
        HandleException(this);
    }
    if (!terminated_)
        WaitMessage();
}

void TApplication::ProcessMessageReporting(MSG& msg)
{
    // A failing shortcut or message handler is reported here, so that a loop running it (a modal
    // form's) goes on instead of ending with the exception.
    try {
        ProcessMessage(msg);
    } catch (...) {
        HandleException(this);
    }
}

bool TApplication::ProcessMessage(MSG& msg)
{
    bool handled = false;
    OnMessage(msg, handled);
    if (handled)
        return true;
    if (msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST && hintActive_ && msg.message != WM_MOUSEMOVE)
        CancelHint();
    if (IsShortCut(msg) || IsKeyMsg(msg))
        return true;
    // Ctrl+F4, Ctrl+F6 and the child's system menu keys of the MDI main form.
    if (mainForm_ && mainForm_->ClientHandle() && TranslateMDISysAccel(mainForm_->ClientHandle(), &msg))
        return true;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
    return true;
}

bool TApplication::IsKeyMsg(MSG& msg)
{
    if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST || !msg.hwnd)
        return false;
    // Native windows inside a control (the edit of a combo box) speak for their framework parent.
    HWND wnd = msg.hwnd;
    TWinControl* control = nullptr;
    while (wnd && !(control = FindControl(wnd)))
        wnd = GetParent(wnd);
    if (!control)
        return false;
    return control->Perform(CN_BASE + msg.message, msg.wParam, msg.lParam) != 0;
}

bool TApplication::IsShortCut(const MSG& msg)
{
    if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN)
        return false;
    auto key = static_cast<WORD>(msg.wParam);
    if (key == VK_SHIFT || key == VK_CONTROL || key == VK_MENU)
        return false;
    TShortCut shortCut = key;
    if (GetKeyState(VK_SHIFT) < 0)
        shortCut |= scShift;
    if (GetKeyState(VK_CONTROL) < 0)
        shortCut |= scCtrl;
    if (msg.lParam & 0x20000000)
        shortCut |= scAlt;

    HWND wnd = msg.hwnd;
    TWinControl* control = nullptr;
    while (wnd && !(control = FindControl(wnd)))
        wnd = GetParent(wnd);
    TCustomForm* form = control ? GetParentForm(control) : nullptr;
    if (!form && Screen)
        form = Screen->ActiveCustomForm();
    auto usable = [](TCustomForm* f) {
        return f && f->HandleAllocated() && IsWindowEnabled(f->Handle()) && !f->HasState(csDestroying);
    };
    // A modal form disables the main form: then only the modal form's own shortcuts work.
    if (usable(form) && form->IsShortCut(shortCut))
        return true;
    if (mainForm_ && mainForm_ != form && usable(mainForm_) && mainForm_->IsShortCut(shortCut))
        return true;
    return false;
}

void TApplication::Minimize()
{
    if (mainForm_ && mainForm_->HandleAllocated())
        ShowWindow(mainForm_->Handle(), SW_MINIMIZE);
}

void TApplication::Restore()
{
    if (mainForm_ && mainForm_->HandleAllocated())
        ShowWindow(mainForm_->Handle(), SW_RESTORE);
}

// ---- Exceptions ----

void TApplication::HandleException(TObject* sender)
{
    std::exception_ptr current = std::current_exception();
    if (!current)
        return;
    try {
        std::rethrow_exception(current);
    } catch (const EAbort&) {
        return;
    } catch (const Exception& e) {
        if (OnException)
            OnException(sender, e);
        else
            ShowException(e);
    } catch (const std::exception& e) {
        Exception wrapped(Utf8ToWide(e.what()));
        if (OnException)
            OnException(sender, wrapped);
        else
            ShowException(wrapped);
    } catch (...) {
        Exception unknown(L"Unknown exception");
        if (OnException)
            OnException(sender, unknown);
        else
            ShowException(unknown);
    }
}

void TApplication::ShowException(const Exception& e)
{
    std::wstring text = e.Message();
    if (!text.empty() && text.back() > L'.')
        text += L'.';
    // A native box: a framework form could fail the same way the program just did.
    MessageBoxW(nullptr, text.c_str(), title_.c_str(), MB_OK | MB_ICONSTOP | MB_TASKMODAL);
}

// ---- Idle work, mouse tracking and hints ----

void TApplication::DoIdle()
{
    if (runningIdle_)
        return;
    runningIdle_ = true;
    try {
        DoMouseIdle();
        if (Screen)
            for (int i = 0; i < Screen->CustomFormCount(); ++i) {
                TCustomForm* form = Screen->CustomForms(i);
                if (!form->Visible())
                    continue;
                for (int j = 0; j < form->ComponentCount(); ++j)
                    if (auto* list = dynamic_cast<TCustomActionList*>(form->Components(j)))
                        list->UpdateActions();
            }
        bool done = true;
        OnIdle(this, done);
    } catch (...) {
        runningIdle_ = false;
        throw;
    }
    runningIdle_ = false;
}

void TApplication::DoMouseIdle()
{
    POINT p;
    if (!GetCursorPos(&p))
        return;
    TControl* target = FindDragTarget(Point(p.x, p.y), true);
    NoteMouseControl(target);
}

void TApplication::NoteMouseControl(TControl* control)
{
    if (control == mouseControl_)
        return;
    TControl* previous = mouseControl_;
    mouseControl_ = control;
    if (previous)
        previous->Perform(CM_MOUSELEAVE);
    if (control && mouseControl_ == control)
        control->Perform(CM_MOUSEENTER);
    // A new control under the mouse restarts the hint.
    if (hintControl_ != control) {
        CancelHint();
        if (control && showHint_ && control->ShowHint() && !control->Hint().empty() && handle_) {
            hintControl_ = control;
            SetTimer(handle_, kHintTimer, static_cast<UINT>(HintPause), nullptr);
        }
    }
}

void TApplication::SetShowHint(bool value)
{
    showHint_ = value;
    if (!value)
        CancelHint();
}

void TApplication::CancelHint()
{
    if (handle_)
        KillTimer(handle_, kHintTimer);
    if (hintActive_ && hintWindow_)
        hintWindow_->ReleaseHandle();
    hintActive_ = false;
    hintControl_ = nullptr;
}

void TApplication::ActivateHint(const TPoint& cursorPos)
{
    if (!hintControl_ || !hintWindow_ || mouseControl_ != hintControl_)
        return;
    std::wstring hint = hintControl_->Hint();
    // The text before "|" is the short hint.
    if (size_t bar = hint.find(L'|'); bar != std::wstring::npos)
        hint = hint.substr(0, bar);
    if (hint.empty())
        return;
    TRect r = hintWindow_->CalcHintRect(Screen ? Screen->Width() : 800, hint);
    int cursorHeight = GetSystemMetrics(SM_CYCURSOR);
    TRect place = Bounds(cursorPos.X, cursorPos.Y + cursorHeight / 2 + 4, r.Width(), r.Height());
    hintWindow_->ActivateHint(place, hint);
    hintActive_ = true;
    if (handle_ && HintHidePause > 0)
        SetTimer(handle_, kHintTimer, static_cast<UINT>(HintHidePause), nullptr);
}

void TApplication::ControlDestroyed(TControl* control)
{
    if (mouseControl_ == control)
        mouseControl_ = nullptr;
    if (hintControl_ == control)
        CancelHint();
    if (Screen)
        for (int i = 0; i < Screen->CustomFormCount(); ++i)
            Screen->CustomForms(i)->ControlDestroyed(control);
}

void TApplication::FormCreated(TCustomForm*) {}

void TApplication::FormDestroyed(TCustomForm* form)
{
    if (mainForm_ == form)
        mainForm_ = nullptr;
    if (Screen && Screen->ActiveCustomForm() == form)
        Screen->SetActiveForm(nullptr);
}

void TApplication::Notification(TComponent* component, TOperation operation)
{
    TComponent::Notification(component, operation);
    if (operation == TOperation::opRemove && component == hintWindow_)
        hintWindow_ = nullptr;
}

// ---- THintWindow ----

THintWindow::THintWindow(TComponent* owner) : TCustomControl(owner)
{
    SetColor(clInfoBk);
    Font()->SetColor(clInfoText);
    SetVisible(false);
}

void THintWindow::CreateParams(TCreateParams& params)
{
    TCustomControl::CreateParams(params);
    params.Style = WS_POPUP | WS_BORDER;
    params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
    params.WndParent = Application ? Application->Handle() : nullptr;
    params.WindowClass.style |= CS_SAVEBITS;
}

TRect THintWindow::CalcHintRect(int maxWidth, const std::wstring& hint)
{
    const TSize size = WrappedTextSize(Font()->Handle(), hint, maxWidth);
    return Rect(0, 0, size.cx + 8, size.cy + 4);
}

void THintWindow::ActivateHint(const TRect& rect, const std::wstring& hint)
{
    SetText(hint);
    HWND wnd = Handle();
    SetWindowPos(wnd, HWND_TOPMOST, rect.Left, rect.Top, rect.Width(), rect.Height(),
                 SWP_SHOWWINDOW | SWP_NOACTIVATE);
    Invalidate();
}

void THintWindow::Paint()
{
    TRect r = ClientRect();
    Canvas()->Brush()->SetColor(Color());
    Canvas()->FillRect(r);
    Canvas()->Font()->Assign(Font());
    Canvas()->Brush()->SetStyle(bsClear);
    RECT text = Rect(r.Left + 2, r.Top + 1, r.Right - 2, r.Bottom - 1).ToRECT();
    std::wstring hint = Text();
    DrawTextW(Canvas()->Handle(), hint.c_str(), static_cast<int>(hint.size()), &text, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
    Canvas()->Brush()->SetStyle(bsSolid);
}

// ---- TScreen ----

TScreen::TScreen(TComponent* owner)
    : TComponent(owner), menuFont_(std::make_unique<TFont>()), hintFont_(std::make_unique<TFont>()),
      iconFont_(std::make_unique<TFont>())
{
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
        GdiObject<HFONT> menu(CreateFontIndirectW(&metrics.lfMenuFont));
        menuFont_->SetHandle(menu.Get());
        GdiObject<HFONT> status(CreateFontIndirectW(&metrics.lfStatusFont));
        hintFont_->SetHandle(status.Get());
    }
    LOGFONTW iconFont{};
    if (SystemParametersInfoW(SPI_GETICONTITLELOGFONT, sizeof(iconFont), &iconFont, 0)) {
        GdiObject<HFONT> icon(CreateFontIndirectW(&iconFont));
        iconFont_->SetHandle(icon.Get());
    }
    struct Standard {
        TCursor index;
        const wchar_t* id;
    };
    const Standard standard[] = {
        {crArrow, IDC_ARROW}, {crCross, IDC_CROSS}, {crIBeam, IDC_IBEAM}, {crSizeNESW, IDC_SIZENESW},
        {crSizeNS, IDC_SIZENS}, {crSizeNWSE, IDC_SIZENWSE}, {crSizeWE, IDC_SIZEWE}, {crUpArrow, IDC_UPARROW},
        {crHourGlass, IDC_WAIT}, {crDrag, IDC_ARROW}, {crNoDrop, IDC_NO}, {crHSplit, IDC_SIZEWE},
        {crVSplit, IDC_SIZENS}, {crMultiDrag, IDC_ARROW}, {crSQLWait, IDC_WAIT}, {crNo, IDC_NO},
        {crAppStart, IDC_APPSTARTING}, {crHelp, IDC_HELP}, {crHandPoint, IDC_HAND}, {crSizeAll, IDC_SIZEALL},
    };
    for (const Standard& s : standard)
        standardCursors_.emplace_back(s.index, s.id);
}

TScreen::~TScreen() = default;

int TScreen::FormCount() const
{
    return static_cast<int>(std::count_if(customForms_.begin(), customForms_.end(),
                                          [](TCustomForm* f) { return dynamic_cast<TForm*>(f) != nullptr; }));
}

TForm* TScreen::Forms(int index) const
{
    for (TCustomForm* f : customForms_)
        if (auto* form = dynamic_cast<TForm*>(f))
            if (index-- == 0)
                return form;
    throw EListError(L"List index out of bounds (" + IntToStr(index) + L")");
}

TCustomForm* TScreen::CustomForms(int index) const
{
    if (index < 0 || index >= CustomFormCount())
        throw EListError(L"List index out of bounds (" + IntToStr(index) + L")");
    return customForms_[static_cast<size_t>(index)];
}

HCURSOR TScreen::Cursors(TCursor index) const
{
    if (index == crNone)
        return nullptr;
    for (const auto& [i, cursor] : cursors_)
        if (i == index)
            return cursor;
    for (auto it = standardCursors_.begin(); it != standardCursors_.end(); ++it)
        if (it->first == index) {
            HCURSOR cursor = LoadCursorW(nullptr, it->second);
            standardCursors_.erase(it);
            cursors_.emplace_back(index, cursor);
            return cursor;
        }
    return LoadCursorW(nullptr, IDC_ARROW);
}

void TScreen::SetCursors(TCursor index, HCURSOR cursor)
{
    std::erase_if(standardCursors_, [index](const auto& entry) { return entry.first == index; });
    for (auto& entry : cursors_)
        if (entry.first == index) {
            entry.second = cursor;
            return;
        }
    cursors_.emplace_back(index, cursor);
}

void TScreen::SetCursor(TCursor value)
{
    cursor_ = value;
    POINT p;
    GetCursorPos(&p);
    ::SetCursor(value == crDefault ? LoadCursorW(nullptr, IDC_ARROW) : Cursors(value));
}

TRect TScreen::WorkAreaRect() const
{
    RECT r;
    if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0))
        return Rect(0, 0, Width(), Height());
    return TRect::FromRECT(r);
}

void TScreen::AddForm(TCustomForm* form)
{
    customForms_.push_back(form);
}

void TScreen::RemoveForm(TCustomForm* form)
{
    customForms_.erase(std::remove(customForms_.begin(), customForms_.end(), form), customForms_.end());
    if (activeForm_ == form)
        activeForm_ = nullptr;
}

// ---- Start-up and shutdown ----

void InitApplication()
{
    if (Application)
        return;
    RegisterFrameworkClasses();
    Screen = Create<TScreen>(nullptr);
    Application = Create<TApplication>(nullptr);
}

void DoneApplication()
{
    TApplication* app = Application;
    Free(app);
    Application = nullptr;
    TScreen* screen = Screen;
    Screen = nullptr;
    Free(screen);
    FreePopupList();
}
