#include "skin/core/sSkinForms.h"

#include "framework/Forms.h"
#include "framework/Graphics.h"
#include "framework/Startup.h"
#include "skin/core/acntUtils.h"
#include "skin/core/sControlPaint.h"
#include "skin/core/sSkinManager.h"
#include "skin/core/sVclUtils.h"

#include <shellapi.h>

#include <algorithm>
#include <memory>

std::wstring ChangedSectionName;

namespace {

std::unique_ptr<TIcon> gIconLarge;       // owned
std::unique_ptr<TIcon> gIconSmall;       // owned
// Each of the program's icons is read from its file the first time a frame asks for it: a form with an
// icon of its own or the application's never does, and every look-up through the shell is slow.
bool gIconLargeLoaded = false;
bool gIconSmallLoaded = false;
bool gSkinnedFormsStarted = false;
TacThemeApi gThemeApi;
HMODULE gThemeLibrary = nullptr;         // owned: freed at exit

bool Destroying(const TComponent* c) { return c->HasState(csDestroying); }

std::unique_ptr<TIcon> LoadProgramIcon(UINT flags)
{
    wchar_t path[MAX_PATH]{};
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return nullptr;
    return LoadFileIcon(path, flags);
}

TIcon* ProgramIcon(std::unique_ptr<TIcon>& icon, bool& loaded, UINT flags)
{
    if (!loaded && gSkinnedFormsStarted) {
        loaded = true;
        icon = LoadProgramIcon(flags);
    }
    return icon.get();
}

void StartSkinnedForms()
{
    gSkinnedFormsStarted = true;
}

void FinishSkinnedForms()
{
    gSkinnedFormsStarted = false;
    gIconLargeLoaded = gIconSmallLoaded = false;
    gIconLarge.reset();
    gIconSmall.reset();
    while (!SkinnedForms().empty())
        UnregisterSkinnedForm(SkinnedForms().back());
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

// The provider of a top-level, visible form that is no MDI child, when it serves Manager.
} // namespace

const TacThemeApi& ThemeApi() { return gThemeApi; }

bool ThemesActive()
{
    return gThemeApi.IsAppThemed && gThemeApi.IsAppThemed();
}

TIcon* ProgramIconLarge()
{
    return ProgramIcon(gIconLarge, gIconLargeLoaded, SHGFI_LARGEICON);
}

TIcon* ProgramIconSmall()
{
    return ProgramIcon(gIconSmall, gIconSmallLoaded, SHGFI_SMALLICON);
}

void AddSkinnedFormsStartupStep(TStartup& startup)
{
    startup.Add(TStartupOrder::ProgramIcons, L"Program icons and skinned forms", StartSkinnedForms,
                FinishSkinnedForms);
}

void AddThemeApiStartupStep(TStartup& startup)
{
    startup.Add(TStartupOrder::UxTheme, L"Visual styles entries", StartThemeApi, FinishThemeApi);
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
    static constexpr DWORD kAlign[] = {0, DT_RIGHT, DT_CENTER};
    const UINT flags = DT_EXPANDTABS | DT_VCENTER | kAlign[alignment <= taCenter ? alignment : 0];
    return control ? control->DrawTextBiDiModeFlags(flags) : flags;
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
