// The skin command message: its number, the command numbers carried in the high word of wParam, the
// routines that send and broadcast it, and the list of skinned forms with its freeze and thaw of painting.
#pragma once

#include "framework/Messages.h"
#include "framework/WinApi.h"

#include <cstdint>
#include <vector>

class TControl;
class TWinControl;
class TCustomForm;
class TsSkinManager;

// Every sender and receiver uses this constant; the registered name only announces it to the system.
inline constexpr UINT SM_SKINCMD = 0xA100;
inline constexpr const wchar_t* kSkinCmdMessageName = L"SM_SKINCMD";

inline constexpr WORD SkinCmdSkinChanged = 1;
inline constexpr WORD SkinCmdSkinRemoved = 2;
inline constexpr WORD SkinCmdRefresh = 3;
inline constexpr WORD SkinCmdGetProvider = 4;
inline constexpr WORD SkinCmdGetCache = 5;
inline constexpr WORD SkinCmdIsSkinned = 7;
inline constexpr WORD SkinCmdBeforeRepaint = 16;
inline constexpr WORD SkinCmdGetBgColor = 21;
inline constexpr WORD SkinCmdControlEnter = 29;
inline constexpr WORD SkinCmdControlExit = 30;

// Registers "SM_SKINCMD" with the system once at start-up; returns the registered number, which the
// library does not use further.
UINT RegisterSkinMessage();

inline WPARAM SkinCmdWParam(WORD cmd, WORD arg = 0) { return MAKEWPARAM(arg, cmd); }
inline TMessage MakeSkinCmd(WORD cmd, LPARAM lParam) { return TMessage{SM_SKINCMD, SkinCmdWParam(cmd), lParam, 0}; }

LRESULT SendSkinCmd(HWND wnd, WORD cmd, LPARAM lParam);
// A windowed control being destroyed or without a window yet gets nothing (0).
LRESULT SendSkinCmdToControl(TControl* control, WORD cmd, LPARAM lParam);
// Asks the control's WindowProc directly (a reply in LParam), then its window (a reply in the result).
bool QuerySkinCmd(TControl* control, WORD cmd);
bool QuerySkinCmdHwnd(HWND wnd, WORD cmd);

// Sends the message to every child control: skinned windowed children get it through their window,
// the others pass it on to their own children.
void BroadcastToChildren(TWinControl* parent, TMessage& message);
// Every form of the application that is not skinned by a provider, with its children, then every
// registered skinned form.
void BroadcastToAppForms(TMessage& message);
void BroadcastToSkinnedForms(TMessage& message);

// The forms whose providers skin them; no ownership. A removal moves the last entry into the slot.
void RegisterSkinnedForm(TCustomForm* form);
void UnregisterSkinnedForm(TCustomForm* form);
const std::vector<TCustomForm*>& SkinnedForms();

// Stops and restores the drawing of the visible top-level skinned forms whose provider belongs to the
// manager.
void FreezeSkinnedForms(TsSkinManager* manager);
void ThawSkinnedForms(TsSkinManager* manager, bool animate);

// The operating system: the NT family, and its major version (Wine reports 6 or above).
bool IsNTFamily();
DWORD WindowsMajorVersion();
