#include "skin/core/sSkinForms.h"

#include "framework/Forms.h"
#include "framework/Graphics.h"
#include "framework/Startup.h"
#include "skin/core/sControlPaint.h"
#include "skin/core/sSkinManager.h"
#include "skin/core/sVclUtils.h"

#include <shellapi.h>

#include <algorithm>
#include <memory>

std::wstring ChangedSectionName;

namespace {

std::vector<TCustomForm*> gSkinnedForms; // borrowed: forms register and unregister themselves
std::unique_ptr<TIcon> gIconLarge;       // owned
std::unique_ptr<TIcon> gIconSmall;       // owned
TacThemeApi gThemeApi;
HMODULE gThemeLibrary = nullptr;         // owned: freed at exit

bool Destroying(const TComponent* c) { return c->HasState(csDestroying); }

std::unique_ptr<TIcon> LoadProgramIcon(UINT flags)
{
    wchar_t path[MAX_PATH]{};
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return nullptr;
    SHFILEINFOW info{};
    if (!SHGetFileInfoW(path, 0, &info, sizeof(info), flags | SHGFI_ICON) || !info.hIcon)
        return nullptr;
    auto icon = std::make_unique<TIcon>();
    icon->SetHandle(info.hIcon);
    if (icon->Empty())
        return nullptr;
    return icon;
}

void StartSkinnedForms()
{
    gSkinnedForms.clear();
    gIconLarge = LoadProgramIcon(SHGFI_LARGEICON);
    gIconSmall = LoadProgramIcon(SHGFI_SMALLICON);
}

void FinishSkinnedForms()
{
    gIconLarge.reset();
    gIconSmall.reset();
    gSkinnedForms.clear();
    ChangedSectionName.clear();
}

void StartThemeApi()
{
    gThemeApi = TacThemeApi{};
    gThemeLibrary = LoadLibraryW(L"UXTHEME");
    if (!gThemeLibrary)
        return;
    gThemeApi.SetWindowTheme = reinterpret_cast<decltype(gThemeApi.SetWindowTheme)>(
        reinterpret_cast<void*>(GetProcAddress(gThemeLibrary, "SetWindowTheme")));
    gThemeApi.IsAppThemed = reinterpret_cast<decltype(gThemeApi.IsAppThemed)>(
        reinterpret_cast<void*>(GetProcAddress(gThemeLibrary, "IsAppThemed")));
}

void FinishThemeApi()
{
    gThemeApi = TacThemeApi{};
    if (gThemeLibrary)
        FreeLibrary(gThemeLibrary);
    gThemeLibrary = nullptr;
}

void SendToFormAndChildren(TCustomForm* form, TMessage& msg)
{
    SendMessageW(form->Handle(), msg.Msg, msg.WParam, msg.LParam);
    BroadcastToChildren(form, msg);
    if (form->FormStyle() == fsMDIForm && form->ClientHandle())
        SendMessageW(form->ClientHandle(), msg.Msg, msg.WParam, msg.LParam);
}

// The provider of a top-level, visible form that is no MDI child, when it serves Manager.
TacProviderLink* ProviderOfManager(TCustomForm* form, TsSkinManager* manager)
{
    if (!form || form->FormStyle() == fsMDIChild || form->Parent() || !form->Visible())
        return nullptr;
    auto* provider = reinterpret_cast<TacProviderLink*>(SendSkinCmdToControl(form, SkinCmdGetProvider, 0));
    return provider && provider->ProviderSkinManager() == manager ? provider : nullptr;
}

int WindowsMajorVersion()
{
    return LOBYTE(LOWORD(GetVersion()));
}

} // namespace

const TacThemeApi& ThemeApi() { return gThemeApi; }

bool ThemesActive()
{
    return gThemeApi.IsAppThemed && gThemeApi.IsAppThemed();
}

TIcon* ProgramIconLarge() { return gIconLarge.get(); }
TIcon* ProgramIconSmall() { return gIconSmall.get(); }

void AddSkinnedFormsStartupStep(TStartup& startup)
{
    startup.Add(TStartupOrder::ProgramIcons, L"Program icons and skinned forms", StartSkinnedForms,
                FinishSkinnedForms);
}

void AddThemeApiStartupStep(TStartup& startup)
{
    startup.Add(TStartupOrder::UxTheme, L"Visual styles entries", StartThemeApi, FinishThemeApi);
}

LRESULT SendSkinCmdToControl(TControl* control, WORD cmd, LPARAM lParam)
{
    if (!control)
        return 0;
    if (auto* win = dynamic_cast<TWinControl*>(control)) {
        if (Destroying(win) || !win->HandleAllocated())
            return 0;
        return SendMessageW(win->Handle(), SM_SKINCMD, SkinCmdWParam(cmd), lParam);
    }
    return control->Perform(SM_SKINCMD, SkinCmdWParam(cmd), lParam);
}

bool QuerySkinCmd(TControl* control, WORD cmd)
{
    if (!control)
        return false;
    auto* win = dynamic_cast<TWinControl*>(control);
    HWND wnd = win && win->HandleAllocated() && !Destroying(win) ? win->Handle() : nullptr;
    return QuerySkinCmdThrough(control->WindowProc, wnd, cmd);
}

void NotifyParentForm(TControl* control)
{
    if (!control || control->HasState(csDesigning))
        return;
    if (TCustomForm* form = GetParentForm(control); form && !Destroying(form))
        SendSkinCmd(form->Handle(), SkinCmdAdaptControl, reinterpret_cast<LPARAM>(control));
}

void RefreshChildControls(TWinControl* parent)
{
    if (!parent)
        return;
    try {
        for (int i = 0; i < parent->ControlCount(); ++i) {
            TControl* child = parent->Controls(i);
            if (dynamic_cast<TGraphicControl*>(child) || Destroying(child))
                continue;
            if (auto* win = dynamic_cast<TWinControl*>(child)) {
                if (win->HandleAllocated())
                    SendSkinCmd(win->Handle(), SkinCmdEndParentUpdate, 0);
            } else {
                SendSkinCmdToControl(child, SkinCmdEndParentUpdate, 0);
            }
        }
    } catch (...) {
        // A child that fails to refresh ends the walk; the rest repaint at their next paint.
    }
}

void GetParentBgColor(TWinControl* control)
{
    ParentBgColor = sNoColor;
    if (!control)
        return;
    if (control->HandleAllocated() && !Destroying(control))
        SendSkinCmd(control->Handle(), SkinCmdGetBgColor, 0);
    TColor color = ParentBgColor;
    if (color == sNoColor)
        color = control->Color();
    ParentBgColor = ColorToRGB(color);
}

void BroadcastToChildren(TWinControl* parent, TMessage& msg)
{
    if (!parent)
        return;
    // The count is read again at every step: a receiver may add or remove children.
    for (int i = 0; i < parent->ControlCount(); ++i) {
        TControl* child = parent->Controls(i);
        if (!child || Destroying(child))
            continue;
        auto* win = dynamic_cast<TWinControl*>(child);
        if (!win) {
            child->Perform(msg.Msg, msg.WParam, msg.LParam);
        } else if (QuerySkinCmd(win, SkinCmdIsSkinned)) {
            try {
                if (win->HandleAllocated())
                    msg.Result = SendMessageW(win->Handle(), msg.Msg, msg.WParam, msg.LParam);
            } catch (...) {
                // One child's failure does not keep the others from the broadcast.
            }
        } else {
            BroadcastToChildren(win, msg);
        }
    }
}

void BroadcastToAppForms(TMessage& msg)
{
    if (!Application)
        return;
    for (int i = Application->ComponentCount() - 1; i >= 0; --i) {
        if (i >= Application->ComponentCount())
            return; // components went away during the walk
        auto* form = dynamic_cast<TForm*>(Application->Components(i));
        if (!form || form->FormStyle() == fsMDIChild || Destroying(form) || form->HasState(csLoading))
            continue;
        if (QuerySkinCmdHwnd(form->Handle(), SkinCmdIsSkinned))
            continue; // skinned forms get it from the list below
        SendToFormAndChildren(form, msg);
    }
    BroadcastToSkinnedForms(msg);
}

void BroadcastToSkinnedForms(TMessage& msg)
{
    // A copy: a receiver may register or unregister forms while it handles the message.
    const std::vector<TCustomForm*> forms = gSkinnedForms;
    for (TCustomForm* form : forms) {
        if (!form || Destroying(form))
            continue;
        if (std::find(gSkinnedForms.begin(), gSkinnedForms.end(), form) == gSkinnedForms.end())
            continue; // unregistered meanwhile: it may be gone
        SendToFormAndChildren(form, msg);
    }
}

void RegisterSkinnedForm(TCustomForm* form)
{
    gSkinnedForms.push_back(form);
}

void UnregisterSkinnedForm(TCustomForm* form)
{
    for (std::size_t i = 0; i < gSkinnedForms.size();) {
        if (gSkinnedForms[i] == form) {
            gSkinnedForms[i] = gSkinnedForms.back();
            gSkinnedForms.pop_back();
            // The moved entry may be the form again; look at the same slot once more.
        } else {
            ++i;
        }
    }
}

const std::vector<TCustomForm*>& SkinnedFormList() { return gSkinnedForms; }

void FreezeSkinnedForms(TsSkinManager* manager)
{
    for (TCustomForm* form : std::vector<TCustomForm*>(gSkinnedForms))
        if (ProviderOfManager(form, manager))
            SendMessageW(form->Handle(), WM_SETREDRAW, 0, 0);
}

void ThawSkinnedForms(TsSkinManager* manager, bool animate)
{
    for (TCustomForm* form : std::vector<TCustomForm*>(gSkinnedForms)) {
        if (!ProviderOfManager(form, manager))
            continue;
        HWND wnd = form->Handle();
        if (!animate) {
            SendMessageW(wnd, WM_SETREDRAW, 1, 0);
            continue;
        }
        const bool oldSystem = WindowsMajorVersion() < 6;
        if (manager && manager->AnimEffects()->SkinChanging()->Active)
            AnimShowControl(form, oldSystem ? manager->AnimEffects()->SkinChanging()->Time : 0);
        SendMessageW(wnd, WM_SETREDRAW, 1, 0);
        if (oldSystem)
            SetWindowRgn(wnd, nullptr, FALSE);
        // The fade may have let the provider go with its form.
        if (auto* again = ProviderOfManager(form, manager))
            again->RefreshWithRepaint();
        RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_NOERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    }
}

TCustomForm* GetOwnerForm(TComponent* component)
{
    for (TComponent* c = component; c; c = c->Owner())
        if (auto* form = dynamic_cast<TCustomForm*>(c))
            return form;
    return nullptr;
}

bool ControlIsReady(TControl* control)
{
    if (!control)
        return false;
    if (auto* win = dynamic_cast<TWinControl*>(control); win && !win->HandleAllocated())
        return false;
    if (control->ControlState.Contains(csCreating) || control->ControlState.Contains(csReadingState) ||
        control->HasState(csReading) || control->HasState(csLoading) || Destroying(control))
        return false;
    return control->Parent() != nullptr;
}

DWORD GetTextFlags(TControl* control, TAlignment alignment)
{
    (void)control; // the program's controls all read left to right
    static constexpr DWORD kAlign[] = {0, DT_RIGHT, DT_CENTER};
    return DT_EXPANDTABS | DT_VCENTER | kAlign[alignment <= taCenter ? alignment : 0];
}

int AlignedControlsSize(TWinControl* parent, int align, bool withGraphic)
{
    if (!parent)
        return 0;
    int size = 0;
    for (int i = 0; i < parent->ControlCount(); ++i) {
        TControl* c = parent->Controls(i);
        if (!c->Visible() || c->Align() != align || (!withGraphic && !dynamic_cast<TWinControl*>(c)))
            continue;
        if (align == alTop || align == alBottom)
            size += c->Height();
        else if (align == alLeft || align == alRight)
            size += c->Width();
    }
    return size;
}
