// The one route from a window to its object: binding at creation, finding the object again, taking over
// a foreign window's procedure and giving it back, and deleting an object only after its messages return.
#pragma once

#include "framework/WinApi.h"

// What a window carries its object as. Each role keeps its object under a window property of its own, so
// a window may carry a control and an adapter at once without the two being mistaken for each other.
enum class TWindowRole {
    Control,        // a framework control or form (TWinControl)
    Application,    // the hidden application window (TApplication)
    PopupList,      // the popup list's window (TPopupList)
    Adapter,        // a skin adapter that took the window over ("ACSBSC")
    ListViewHeader, // the list-view adapter that took over the header of its list
    PopupMenu,      // a popup menu window whose procedure the skinned menus took over
};

// The create parameter of a window the framework makes: the window procedure binds Object at WM_NCCREATE.
struct TWindowCreation {
    TWindowRole Role;
    void* Object;  // borrowed
    LPVOID Param;  // the maker's own create parameter, handed on to the window class
};

// Creates a window whose procedure binds `object` in `role` at WM_NCCREATE (with BindAtCreate). Messages
// before WM_NCCREATE go to DefWindowProcW, as for any window.
HWND CreateBoundWindow(TWindowRole role, void* object, DWORD exStyle, const wchar_t* className, const wchar_t* caption,
                       DWORD style, int x, int y, int width, int height, HWND parent, LPVOID param = nullptr);

// The same for an MDI child, which its MDI client makes (WM_MDICREATE).
HWND CreateBoundMDIChild(TWindowRole role, void* object, HWND client, const wchar_t* className, const wchar_t* caption,
                         DWORD style, int x, int y, int width, int height, LPVOID param = nullptr);

// For window procedures: at WM_NCCREATE binds the object the create parameter names; then returns the
// object bound to wnd in role, or null.
void* BindAtCreate(HWND wnd, UINT msg, LPARAM lParam, TWindowRole role);
// WM_NCCREATE and WM_CREATE as the window class must see them: with the maker's own create parameter in
// place of the binding's (the copy lives in scratch). Other messages pass unchanged.
LPARAM ClassCreateParam(UINT msg, LPARAM lParam, CREATESTRUCTW& scratch);

// The object bound to wnd in role, or null.
void* WindowObject(HWND wnd, TWindowRole role);
template <class T>
T* WindowObjectAs(HWND wnd, TWindowRole role)
{
    return static_cast<T*>(WindowObject(wnd, role));
}
// Binds object to wnd in role (a null object unbinds).
void BindWindow(HWND wnd, TWindowRole role, void* object);
// Unbinds wnd in role only while object is still the one bound.
void UnbindWindow(HWND wnd, TWindowRole role, const void* object);

// Makes proc wnd's procedure and returns the one it replaces. The procedure the window had before the
// role's first take-over is kept: it still gets the messages that arrive after every taker has let go
// while someone else's procedure sat on top of ours.
WNDPROC TakeOverWindowProc(HWND wnd, TWindowRole role, WNDPROC proc);
// The procedure wnd had before the role's first take-over, or null.
WNDPROC OriginalWindowProc(HWND wnd, TWindowRole role);
// Gives wnd `previous` back only if it still runs proc (someone may have subclassed on top of us: then
// the chain stays as it is). Returns whether it did.
bool GiveBackWindowProc(HWND wnd, TWindowRole role, WNDPROC proc, WNDPROC previous);
// Forgets the role's binding and kept procedure of a window that is going (WM_NCDESTROY).
void ForgetWindow(HWND wnd, TWindowRole role);

// Counts an object's messages on the stack, so that freeing it inside one of them waits for the outermost
// one to return.
class TMessageDepth {
public:
    void Enter() { ++depth_; }
    // True when the object must be deleted now: the outermost message returned with a delete pending.
    bool Leave() { return --depth_ == 0 && deletePending_; }
    // True when the object may be deleted at once; otherwise the delete waits for the outermost Leave.
    bool DeleteNowOrLater()
    {
        if (depth_ > 0) {
            deletePending_ = true;
            return false;
        }
        return true;
    }

private:
    int depth_ = 0;
    bool deletePending_ = false;
};
