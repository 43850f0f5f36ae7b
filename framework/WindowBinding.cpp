// The window properties that carry objects and kept procedures: set, read and removed only here.
#include "framework/WindowBinding.h"

namespace {

const wchar_t* ObjectProperty(TWindowRole role)
{
    switch (role) {
    case TWindowRole::Control: return L"VelmoraControl";
    case TWindowRole::Application: return L"VelmoraApplication";
    case TWindowRole::PopupList: return L"VelmoraPopupList";
    case TWindowRole::Adapter: return L"ACSBSC";
    case TWindowRole::ListViewHeader: return L"ACSBSC.HEADER";
    case TWindowRole::PopupMenu: return L"VelmoraPopupMenu";
    }
    return L"VelmoraControl";
}

const wchar_t* OriginalProcProperty(TWindowRole role)
{
    switch (role) {
    case TWindowRole::Adapter: return L"ACSBSC.PROC";
    case TWindowRole::ListViewHeader: return L"ACSBSC.HEADER.PROC";
    case TWindowRole::PopupMenu: return L"VelmoraPopupMenu.PROC";
    default: return L"VelmoraControl.PROC";
    }
}

// The binding's own create parameter, recognised by its object and role.
const TWindowCreation* CreationOf(LPARAM lParam)
{
    const auto* cs = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    if (!cs)
        return nullptr;
    // An MDI child made by its client carries the client's create structure, which holds ours.
    if ((cs->dwExStyle & WS_EX_MDICHILD) && cs->lpCreateParams)
        return reinterpret_cast<const TWindowCreation*>(static_cast<const MDICREATESTRUCTW*>(cs->lpCreateParams)->lParam);
    return static_cast<const TWindowCreation*>(cs->lpCreateParams);
}

} // namespace

HWND CreateBoundWindow(TWindowRole role, void* object, DWORD exStyle, const wchar_t* className, const wchar_t* caption,
                       DWORD style, int x, int y, int width, int height, HWND parent, LPVOID param)
{
    TWindowCreation creation{role, object, param};
    return CreateWindowExW(exStyle, className, caption, style, x, y, width, height, parent, nullptr,
                           GetModuleHandleW(nullptr), &creation);
}

HWND CreateBoundMDIChild(TWindowRole role, void* object, HWND client, const wchar_t* className, const wchar_t* caption,
                         DWORD style, int x, int y, int width, int height, LPVOID param)
{
    TWindowCreation creation{role, object, param};
    MDICREATESTRUCTW mcs{};
    mcs.szClass = className;
    mcs.szTitle = caption;
    mcs.hOwner = GetModuleHandleW(nullptr);
    mcs.x = x;
    mcs.y = y;
    mcs.cx = width;
    mcs.cy = height;
    mcs.style = style;
    mcs.lParam = reinterpret_cast<LPARAM>(&creation);
    return reinterpret_cast<HWND>(SendMessageW(client, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
}

void* BindAtCreate(HWND wnd, UINT msg, LPARAM lParam, TWindowRole role)
{
    if (msg == WM_NCCREATE)
        if (const TWindowCreation* creation = CreationOf(lParam))
            if (creation->Role == role && !WindowObject(wnd, role))
                BindWindow(wnd, role, creation->Object);
    return WindowObject(wnd, role);
}

LPARAM ClassCreateParam(UINT msg, LPARAM lParam, CREATESTRUCTW& scratch)
{
    if ((msg != WM_NCCREATE && msg != WM_CREATE) || !lParam)
        return lParam;
    scratch = *reinterpret_cast<const CREATESTRUCTW*>(lParam);
    // Only windows made by CreateBoundWindow reach a bound window procedure at creation.
    scratch.lpCreateParams = CreationOf(lParam)->Param;
    return reinterpret_cast<LPARAM>(&scratch);
}

void* WindowObject(HWND wnd, TWindowRole role)
{
    return wnd ? GetPropW(wnd, ObjectProperty(role)) : nullptr;
}

void BindWindow(HWND wnd, TWindowRole role, void* object)
{
    if (!wnd)
        return;
    if (object)
        SetPropW(wnd, ObjectProperty(role), object);
    else
        RemovePropW(wnd, ObjectProperty(role));
}

void UnbindWindow(HWND wnd, TWindowRole role, const void* object)
{
    if (wnd && IsWindow(wnd) && WindowObject(wnd, role) == object)
        RemovePropW(wnd, ObjectProperty(role));
}

WNDPROC TakeOverWindowProc(HWND wnd, TWindowRole role, WNDPROC proc)
{
    auto previous = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(wnd, GWLP_WNDPROC));
    if (previous != proc && !OriginalWindowProc(wnd, role))
        SetPropW(wnd, OriginalProcProperty(role), reinterpret_cast<HANDLE>(previous));
    SetWindowLongPtrW(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc));
    return previous;
}

WNDPROC OriginalWindowProc(HWND wnd, TWindowRole role)
{
    return reinterpret_cast<WNDPROC>(GetPropW(wnd, OriginalProcProperty(role)));
}

bool GiveBackWindowProc(HWND wnd, TWindowRole role, WNDPROC proc, WNDPROC previous)
{
    if (!wnd || !IsWindow(wnd) || !previous || reinterpret_cast<WNDPROC>(GetWindowLongPtrW(wnd, GWLP_WNDPROC)) != proc)
        return false;
    SetWindowLongPtrW(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
    RemovePropW(wnd, OriginalProcProperty(role));
    return true;
}

void ForgetWindow(HWND wnd, TWindowRole role)
{
    if (!wnd)
        return;
    RemovePropW(wnd, ObjectProperty(role));
    RemovePropW(wnd, OriginalProcProperty(role));
}
