// The multiple-document side of a form: the MDI main form's client window and window menu, its
// children in the client's order, and the frame and child procedures the system gives both.
#include "framework/Forms.h"

#include "framework/Menus.h"
#include "framework/SysUtils.h"
#include "framework/WindowBinding.h"

#include <vector>

namespace {

// Command ids of the children listed in the window menu start here, above every menu item's id.
constexpr UINT kFirstMDIChildId = 0xFF00;

// The form whose MDI client takes a new child: the main form, else the first MDI main form there is.
TCustomForm* MDIParentForm()
{
    if (Application && Application->MainForm() && Application->MainForm()->FormStyle() == fsMDIForm)
        return Application->MainForm();
    if (Screen)
        for (int i = 0; i < Screen->CustomFormCount(); ++i)
            if (Screen->CustomForms(i)->FormStyle() == fsMDIForm && !Screen->CustomForms(i)->HasState(csDestroying))
                return Screen->CustomForms(i);
    return nullptr;
}

TCustomForm* MDIChildOf(HWND wnd)
{
    auto* form = dynamic_cast<TCustomForm*>(FindControl(wnd));
    return form && form->FormStyle() == fsMDIChild ? form : nullptr;
}

// The client's children from the top of its z-order down: the active child comes first.
std::vector<TCustomForm*> MDIChildrenOf(HWND client)
{
    std::vector<TCustomForm*> children;
    if (!client)
        return children;
    for (HWND wnd = GetWindow(client, GW_CHILD); wnd; wnd = GetWindow(wnd, GW_HWNDNEXT))
        if (TCustomForm* form = MDIChildOf(wnd))
            children.push_back(form);
    return children;
}

} // namespace

void TCustomForm::CreateMDIClient()
{
    CLIENTCREATESTRUCT ccs{};
    ccs.hWindowMenu = windowMenu_ ? windowMenu_->Handle() : nullptr;
    ccs.idFirstChild = kFirstMDIChildId;
    RECT r;
    GetClientRect(handle_, &r);
    clientHandle_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"MDICLIENT", nullptr,
                                    WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_HSCROLL | WS_VSCROLL,
                                    0, 0, r.right, r.bottom, handle_, nullptr, GetModuleHandleW(nullptr), &ccs);
    if (!clientHandle_)
        throw EOSError(L"Cannot create the MDI client window of " + Name());
}

void TCustomForm::CreateWindowHandle(const TCreateParams& params)
{
    if (formStyle_ != fsMDIChild) {
        TWinControl::CreateWindowHandle(params);
        return;
    }
    HWND wnd = CreateBoundMDIChild(TWindowRole::Control, this, params.WndParent, params.WinClassName.c_str(),
                                   params.Caption.c_str(), params.Style, params.X, params.Y, params.Width,
                                   params.Height, params.Param);
    if (wnd && !handle_) {
        handle_ = wnd;
        BindWindow(wnd, TWindowRole::Control, this);
    }
    if (wnd)
        FormState.Include(fsCreatedMDIChild);
}

void TCustomForm::DestroyWindowHandle()
{
    DetachMenuBar();
    if (formStyle_ == fsMDIChild)
        MergeMenuIntoMain(false);
    HWND client = GetParent(handle_);
    if (FormState.Contains(fsCreatedMDIChild) && client && IsWindow(client)) {
        // The client keeps the list of its children and the window menu: it takes the child down itself.
        FormState.Exclude(fsCreatedMDIChild);
        SendMessageW(client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(handle_), 0);
        if (IsWindow(handle_))
            DestroyWindow(handle_);
        return;
    }
    FormState.Exclude(fsCreatedMDIChild);
    TWinControl::DestroyWindowHandle();
    clientHandle_ = nullptr;
}

void TCustomForm::CallDefaultWindowProc(TMessage& message)
{
    if (formStyle_ == fsMDIForm && clientHandle_) {
        message.Result = DefFrameProcW(handle_, clientHandle_, message.Msg, message.WParam, message.LParam);
        return;
    }
    // From its first message on (before its client's WM_MDICREATE returns) a child needs the child procedure.
    if (formStyle_ == fsMDIChild && (GetWindowLongPtrW(handle_, GWL_EXSTYLE) & WS_EX_MDICHILD)) {
        message.Result = DefMDIChildProcW(handle_, message.Msg, message.WParam, message.LParam);
        return;
    }
    TWinControl::CallDefaultWindowProc(message);
}

void TCustomForm::ApplyMDIChildParams(TCreateParams& params)
{
    TCustomForm* mainForm = MDIParentForm();
    if (mainForm)
        mainForm->HandleNeeded();
    if (!mainForm || !mainForm->ClientHandle())
        throw EInvalidOperation(L"Cannot create form. No MDI forms are currently active");
    params.WndParent = mainForm->ClientHandle();
    params.Style = (params.Style & ~static_cast<DWORD>(WS_POPUP)) | WS_CHILD | WS_CLIPSIBLINGS;
    params.ExStyle |= WS_EX_MDICHILD;
    if (Visible())
        params.Style |= WS_VISIBLE;
    if (windowState_ == wsMaximized)
        params.Style |= WS_MAXIMIZE;
}

bool TCustomForm::IsActiveMDIChild() const
{
    TCustomForm* mainForm = MDIParentForm();
    return mainForm && HandleAllocated() && mainForm->ActiveMDIChild() == this;
}

void TCustomForm::MergeMenuIntoMain(bool active)
{
    TCustomForm* mainForm = MDIParentForm();
    TMainMenu* mainMenu = mainForm ? mainForm->Menu() : nullptr;
    if (!mainMenu || mainForm == this)
        return;
    if (active)
        mainMenu->Merge(menu_); // a child without a menu shows the main form's own bar
    else if (menu_ && mainMenu->Merged() == menu_)
        mainMenu->Unmerge(menu_);
}

void TCustomForm::WMMDIActivate(TMessage& m)
{
    DefaultHandler(m);
    if (formStyle_ != fsMDIChild || HasState(csDestroying))
        return;
    // The child losing the activation hears first, the one gaining it after.
    if (reinterpret_cast<HWND>(m.LParam) == handle_)
        MergeMenuIntoMain(true);
    else if (reinterpret_cast<HWND>(m.WParam) == handle_)
        MergeMenuIntoMain(false);
}

int TCustomForm::MDIChildCount() const
{
    return static_cast<int>(MDIChildrenOf(clientHandle_).size());
}

TCustomForm* TCustomForm::MDIChildren(int index) const
{
    std::vector<TCustomForm*> children = MDIChildrenOf(clientHandle_);
    if (index < 0 || index >= static_cast<int>(children.size()))
        throw EListError(L"List index out of bounds (" + IntToStr(index) + L")");
    return children[static_cast<size_t>(index)];
}

TCustomForm* TCustomForm::ActiveMDIChild() const
{
    if (!clientHandle_)
        return nullptr;
    return MDIChildOf(reinterpret_cast<HWND>(SendMessageW(clientHandle_, WM_MDIGETACTIVE, 0, 0)));
}

void TCustomForm::SetWindowMenu(TMenuItem* value)
{
    windowMenu_ = value;
    if (!clientHandle_)
        return;
    SendMessageW(clientHandle_, WM_MDISETMENU, 0, reinterpret_cast<LPARAM>(value ? value->Handle() : nullptr));
    DrawMenuBar(handle_);
}

void TCustomForm::Cascade()
{
    if (clientHandle_)
        SendMessageW(clientHandle_, WM_MDICASCADE, 0, 0);
}

void TCustomForm::Tile()
{
    if (clientHandle_)
        SendMessageW(clientHandle_, WM_MDITILE, TileMode == tbHorizontal ? MDITILE_HORIZONTAL : MDITILE_VERTICAL, 0);
}

void TCustomForm::ArrangeIcons()
{
    if (clientHandle_)
        SendMessageW(clientHandle_, WM_MDIICONARRANGE, 0, 0);
}

void TCustomForm::Next()
{
    if (clientHandle_)
        SendMessageW(clientHandle_, WM_MDINEXT, 0, 0);
}

void TCustomForm::Previous()
{
    if (clientHandle_)
        SendMessageW(clientHandle_, WM_MDINEXT, 0, 1);
}
