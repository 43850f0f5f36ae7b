// The control half of the skin command: sends and queries of controls, broadcasts to forms and
// children, the list of skinned forms with its freeze and thaw, small control utilities, and the
// process-wide state that goes with them (the program icons, the visual-styles entries).
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
class TsSkinManager;

// What the library asks of a form's skin provider. A form answers SkinCmdGetProvider with its provider
// as a pointer to this interface (0 without one).
class TacProviderLink {
public:
    virtual TsSkinManager* ProviderSkinManager() const = 0;
    // Rebuilds the frame and region and repaints the form (after a thaw).
    virtual void RefreshWithRepaint() = 0;
    // Prepares the frame for a fade and answers a copy of the form's window region (0 for none); the
    // caller owns it.
    virtual HRGN PrepareFadeRegion() = 0;

protected:
    ~TacProviderLink() = default;
};

// Optional entries of the visual-styles library, loaded once at start-up; every caller falls back when
// an entry is null (the library may be missing).
struct TacThemeApi {
    HRESULT(WINAPI* SetWindowTheme)(HWND, LPCWSTR, LPCWSTR) = nullptr;
    BOOL(WINAPI* IsAppThemed)() = nullptr;
};
const TacThemeApi& ThemeApi();
// True when the system's visual styles are in use for this program.
bool ThemesActive();

// The program's own large and small icons, taken from its executable at start-up (nil when it has none).
TIcon* ProgramIconLarge();
TIcon* ProgramIconSmall();

// The section whose skinned controls repaint on SkinCmdSectionRenamed.
extern std::wstring ChangedSectionName;

// Start-up and exit of the program icons with the list of skinned forms, and of the visual-styles entries.
void AddSkinnedFormsStartupStep(TStartup& startup);
void AddThemeApiStartupStep(TStartup& startup);

// Nothing (0) for a windowed control that is being destroyed or has no window yet; a windowed control
// gets the message sent to its window, any other control gets it through Perform.
LRESULT SendSkinCmdToControl(TControl* control, WORD cmd, LPARAM lParam);
// QuerySkinCmdThrough with the control's WindowProc and its window, if it has one.
bool QuerySkinCmd(TControl* control, WORD cmd);
// Asks the control's form to adapt the control (SkinCmdAdaptControl with the control in lParam).
void NotifyParentForm(TControl* control);
// SkinCmdEndParentUpdate to every child control except graphic ones and those being destroyed; an
// exception ends the walk quietly.
void RefreshChildControls(TWinControl* parent);
// The background colour of the control's parent side as ParentBgColor, after asking the control.
void GetParentBgColor(TWinControl* control);
// The record to every child: windowless ones through Perform, skinned windowed ones by a send, others
// recursively.
void BroadcastToChildren(TWinControl* parent, TMessage& msg);
// The record to the application's unskinned forms with their children, then to the skinned forms.
void BroadcastToAppForms(TMessage& msg);
void BroadcastToSkinnedForms(TMessage& msg);

void RegisterSkinnedForm(TCustomForm* form);
void UnregisterSkinnedForm(TCustomForm* form);
const std::vector<TCustomForm*>& SkinnedFormList();

// Stops and restarts the painting of the visible top-level forms the manager's providers serve.
void FreezeSkinnedForms(TsSkinManager* manager);
void ThawSkinnedForms(TsSkinManager* manager, bool animate);

TCustomForm* GetOwnerForm(TComponent* component);
bool ControlIsReady(TControl* control);
// DT_EXPANDTABS | DT_VCENTER with the alignment's flag, in the control's reading order.
DWORD GetTextFlags(TControl* control, TAlignment alignment);
int AlignedControlsSize(TWinControl* parent, int align, bool withGraphic);
