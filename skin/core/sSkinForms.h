// The control utilities of the skin command (notifying a control's form, refreshing children, the
// parent's colour, readiness, text flags, aligned sizes) and the process-wide state that goes with the
// list of skinned forms: the program icons, the visual-styles entries and the changed-section name.
#pragma once

#include "framework/Controls.h"
#include "skin/core/sConst.h"
#include "skin/core/sMessages.h"

#include <string>
#include <vector>

class TComponent;
class TControl;
class TWinControl;
class TCustomForm;
class TIcon;

// Optional entries of the visual-styles library, loaded once at start-up; every caller falls back when
// an entry is null (the library may be missing).
struct TacThemeApi {
    HRESULT(WINAPI* SetWindowTheme)(HWND, LPCWSTR, LPCWSTR) = nullptr;
    BOOL(WINAPI* IsAppThemed)() = nullptr;
};
const TacThemeApi& ThemeApi();
// True when the system's visual styles are in use for this program.
bool ThemesActive();

// The program's own large and small icons, taken from its executable when first asked for after the
// start-up step (nil when it has none, and before the step or after it finished).
TIcon* ProgramIconLarge();
TIcon* ProgramIconSmall();

// The section whose skinned controls repaint on SkinCmdSectionRenamed.
extern std::wstring ChangedSectionName;

// Start-up and exit of the program icons with the list of skinned forms, and of the visual-styles entries.
void AddSkinnedFormsStartupStep(TStartup& startup);
void AddThemeApiStartupStep(TStartup& startup);

// Asks the control's form to adapt the control (SkinCmdAdaptControl with the control in lParam).
void NotifyParentForm(TControl* control);
// SkinCmdEndParentUpdate to every child control except graphic ones and those being destroyed; an
// exception ends the walk quietly.
void RefreshChildControls(TWinControl* parent);
// The background colour of the control's parent side as ParentBgColor, after asking the control.
void GetParentBgColor(TWinControl* control);

TCustomForm* GetOwnerForm(TComponent* component);
bool ControlIsReady(TControl* control);
// DT_EXPANDTABS | DT_VCENTER with the alignment's flag, in the control's reading order.
DWORD GetTextFlags(TControl* control, TAlignment alignment);
int AlignedControlsSize(TWinControl* parent, int align, bool withGraphic);
