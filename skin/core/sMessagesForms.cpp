// The skin command between controls and forms: sends to controls, broadcasts over the application's
// forms and their children, and the list of skinned forms.
#include "skin/core/sMessages.h"

#include "framework/Forms.h"
#include "skin/core/sControlPaint.h"
#include "skin/core/sSkinLinks.h"
#include "skin/core/sSkinManager.h"

#include <algorithm>

namespace {

std::vector<TCustomForm*> gSkinnedForms; // not owned: forms register and unregister themselves

bool BeingDestroyed(const TComponent* c)
{
    return c->HasState(csDestroying);
}

// A top-level visible skinned form whose provider belongs to the manager: its provider, else 0.
LRESULT ProviderOfManager(TCustomForm* form, TsSkinManager* manager)
{
    if (form->FormStyle() == fsMDIChild || form->Parent() || !form->Visible())
        return 0;
    const LRESULT provider = SendSkinCmdToControl(form, SkinCmdGetProvider, 0);
    const TacSkinLinks& links = SkinLinks();
    if (!provider || !links.ProviderManager || links.ProviderManager(provider) != manager)
        return 0;
    return provider;
}

// The window hands its messages to its control's window procedure and nothing else: the framework's
// window procedure runs it, on this thread.
bool FrameworkWindowOfThisThread(HWND wnd)
{
    return reinterpret_cast<WNDPROC>(GetWindowLongPtrW(wnd, GWLP_WNDPROC)) == FrameworkWndProc &&
           GetWindowThreadProcessId(wnd, nullptr) == GetCurrentThreadId();
}

} // namespace

LRESULT SendToControlWindow(TWinControl* win, UINT msg, WPARAM wParam, LPARAM lParam)
{
    HWND wnd = win->Handle();
    if (!FrameworkWindowOfThisThread(wnd))
        return SendMessageW(wnd, msg, wParam, lParam);
    // As the framework's window procedure does it.
    TMessage message{msg, wParam, lParam, 0};
    try {
        const TWndMethod proc = win->WindowProc;
        proc(message);
    } catch (...) {
        if (Application)
            Application->HandleException(win);
    }
    return message.Result;
}

LRESULT SendSkinCmdToControl(TControl* control, WORD cmd, LPARAM lParam)
{
    if (!control)
        return 0;
    if (auto* win = dynamic_cast<TWinControl*>(control)) {
        if (BeingDestroyed(win) || !win->HandleAllocated())
            return 0;
        return SendToControlWindow(win, SM_SKINCMD, SkinCmdWParam(cmd), lParam);
    }
    return control->Perform(SM_SKINCMD, SkinCmdWParam(cmd), lParam);
}

bool QuerySkinCmd(TControl* control, WORD cmd)
{
    if (!control)
        return false;
    auto* win = dynamic_cast<TWinControl*>(control);
    if (!win || !win->HandleAllocated())
        return QuerySkinCmdThrough(control->WindowProc, nullptr, cmd);
    // As QuerySkinCmdThrough does it, the query left unanswered going on to the window.
    TMessage m{SM_SKINCMD, SkinCmdWParam(cmd), 0, 0};
    const TWndMethod proc = control->WindowProc;
    if (proc)
        proc(m);
    if (m.LParam == 1)
        return true;
    return SendToControlWindow(win, m.Msg, m.WParam, m.LParam) == 1;
}

void BroadcastToChildren(TWinControl* parent, TMessage& message)
{
    if (!parent)
        return;
    // The count is read at every step: a receiver may add or remove controls.
    for (int i = 0; i < parent->ControlCount(); ++i) {
        TControl* child = parent->Controls(i);
        if (!child || BeingDestroyed(child))
            continue;
        auto* win = dynamic_cast<TWinControl*>(child);
        if (!win) {
            child->Perform(message.Msg, message.WParam, message.LParam);
            continue;
        }
        if (QuerySkinCmd(win, SkinCmdIsSkinned)) {
            try {
                message.Result = SendToControlWindow(win, message.Msg, message.WParam, message.LParam);
            } catch (...) {
                // One control that fails does not keep the others from hearing of the change.
            }
        } else {
            BroadcastToChildren(win, message);
        }
    }
}

void BroadcastToAppForms(TMessage& message)
{
    if (Application) {
        for (int i = Application->ComponentCount() - 1; i >= 0; --i) {
            if (i >= Application->ComponentCount())
                return; // forms went away while they were told: the walk ends here
            auto* form = dynamic_cast<TForm*>(Application->Components(i));
            if (!form || form->FormStyle() == fsMDIChild || BeingDestroyed(form) || form->HasState(csLoading))
                continue;
            if (SendToControlWindow(form, SM_SKINCMD, SkinCmdWParam(SkinCmdIsSkinned), 0) == 1)
                continue; // skinned forms hear it once, through the list of skinned forms
            message.Result = SendToControlWindow(form, message.Msg, message.WParam, message.LParam);
            BroadcastToChildren(form, message);
            if (form->FormStyle() == fsMDIForm && form->ClientHandle())
                SendMessageW(form->ClientHandle(), message.Msg, message.WParam, message.LParam);
        }
    }
    BroadcastToSkinnedForms(message);
}

void BroadcastToSkinnedForms(TMessage& message)
{
    // A copy: a form may unregister itself while it is told.
    const std::vector<TCustomForm*> forms = gSkinnedForms;
    for (TCustomForm* form : forms) {
        if (!form || std::find(gSkinnedForms.begin(), gSkinnedForms.end(), form) == gSkinnedForms.end())
            continue;
        // A form whose window went meanwhile (an MDI child its client destroyed) is not made a new one.
        if (BeingDestroyed(form) || !form->HandleAllocated())
            continue;
        message.Result = SendToControlWindow(form, message.Msg, message.WParam, message.LParam);
        BroadcastToChildren(form, message);
        if (form->FormStyle() == fsMDIForm && form->ClientHandle())
            SendMessageW(form->ClientHandle(), message.Msg, message.WParam, message.LParam);
    }
}

void RegisterSkinnedForm(TCustomForm* form)
{
    gSkinnedForms.push_back(form);
}

void UnregisterSkinnedForm(TCustomForm* form)
{
    // Each slot holding the form takes the last entry; a form that is not listed leaves the list alone.
    for (size_t i = 0; i < gSkinnedForms.size();) {
        if (gSkinnedForms[i] != form) {
            ++i;
            continue;
        }
        gSkinnedForms[i] = gSkinnedForms.back();
        gSkinnedForms.pop_back();
    }
}

const std::vector<TCustomForm*>& SkinnedForms()
{
    return gSkinnedForms;
}

void FreezeSkinnedForms(TsSkinManager* manager)
{
    // The form's own hold, not WM_SETREDRAW: under Wine that hides every window of the form and shows
    // it again, and each time the system works out anew where every window of the screen is drawn.
    for (TCustomForm* form : gSkinnedForms)
        if (form && !BeingDestroyed(form) && form->HandleAllocated() && ProviderOfManager(form, manager))
            form->HoldPaints();
}

void ThawSkinnedForms(TsSkinManager* manager, bool animate)
{
    for (TCustomForm* form : gSkinnedForms) {
        if (!form || BeingDestroyed(form) || !form->HandleAllocated())
            continue;
        // A form hidden while its paints were held lets them go: it paints whole when it shows.
        if (form->PaintsHeld() && !form->Visible()) {
            form->ReleasePaints(false);
            continue;
        }
        const LRESULT provider = ProviderOfManager(form, manager);
        if (!provider)
            continue;
        HWND wnd = form->Handle();
        if (animate && manager && manager->AnimEffects()->SkinChanging()->Active) {
            const TacSkinChanging* fade = manager->AnimEffects()->SkinChanging();
            const std::uint16_t time = WindowsMajorVersion() < 6 ? fade->Time : 0;
            // A fade of no steps (always so from Windows 6 on) would only paint the whole form into an
            // overlay that is hidden again before the form's own redraw: most of a switch's time for
            // nothing seen.
            if (FadeStepCount(time) > 0)
                AnimShowControl(form, time);
        }
        if (!animate) {
            form->ReleasePaints(false);
            continue;
        }
        // The region and frame are set while the paints are still held: the release paints the whole
        // form once, frame and children, as a repaint of it without a change would.
        if (WindowsMajorVersion() < 6)
            SetWindowRgn(wnd, nullptr, FALSE);
        if (SkinLinks().RefreshProvider)
            SkinLinks().RefreshProvider(provider);
        form->ReleasePaints(true);
    }
}

namespace {

OSVERSIONINFOW OsVersion()
{
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof(info);
    GetVersionExW(&info);
    return info;
}

} // namespace

bool IsNTFamily()
{
    static const bool nt = OsVersion().dwPlatformId == VER_PLATFORM_WIN32_NT;
    return nt;
}

DWORD WindowsMajorVersion()
{
    static const DWORD major = OsVersion().dwMajorVersion;
    return major;
}
