// The skin command message: its number, the command numbers carried in the high word of wParam, the
// routines that send commands to windows and controls and ask them questions, the broadcasts to every
// form and child control, and the list of skinned forms with its freeze and thaw of painting.
#pragma once

#include "framework/Messages.h"
#include "framework/WinApi.h"

#include <cstdint>
#include <vector>

class TStartup;
class TControl;
class TWinControl;
class TCustomForm;
class TsSkinManager;

// Every sender and receiver uses this constant; the registered name only announces it to the system.
inline constexpr UINT SM_SKINCMD = 0xA100;
inline constexpr const wchar_t* kSkinCmdMessageName = L"SM_SKINCMD";

// Commands (the high word of wParam). lParam carries the sending manager for 1, 2, 3, 16, 29 and 30,
// a control for 25, a control or 0 for 15, and 0 otherwise. Queries are answered in the message's
// LParam (1 = yes) or its result.
inline constexpr WORD SkinCmdSkinChanged = 1;
inline constexpr WORD SkinCmdSkinRemoved = 2;
inline constexpr WORD SkinCmdRefresh = 3;
inline constexpr WORD SkinCmdGetProvider = 4;      // Result: the form's provider or 0
inline constexpr WORD SkinCmdGetCache = 5;         // fills CacheReply
inline constexpr WORD SkinCmdEndParentUpdate = 6;
inline constexpr WORD SkinCmdIsSkinned = 7;        // LParam 1; adapters and providers also Result 1
inline constexpr WORD SkinCmdSetUpdating = 8;      // Arg 1/0
inline constexpr WORD SkinCmdSetFlag = 9;          // Arg 1/0
inline constexpr WORD SkinCmdIsBgChanged = 10;     // LParam
inline constexpr WORD SkinCmdGetPartlyHidden = 11; // LParam
inline constexpr WORD SkinCmdTransparentChanged = 12;
inline constexpr WORD SkinCmdSectionRenamed = 13;
inline constexpr WORD SkinCmdMenuVisible = 14;
inline constexpr WORD SkinCmdSetHeldObject = 15;
inline constexpr WORD SkinCmdBeforeRepaint = 16;
inline constexpr WORD SkinCmdSetBgChanged = 17;
inline constexpr WORD SkinCmdIsBgPainted = 19;     // LParam, and Result the same
inline constexpr WORD SkinCmdParentMoved = 20;     // Arg 1 = redraw
inline constexpr WORD SkinCmdGetBgColor = 21;      // writes ParentBgColor
inline constexpr WORD SkinCmdSetPartlyHidden = 22;
inline constexpr WORD SkinCmdPaintToDC = 23;
inline constexpr WORD SkinCmdAdaptControl = 25;
inline constexpr WORD SkinCmdGetSkinIndex = 26;    // Result: skin index + 1, 0 = none
inline constexpr WORD SkinCmdGetTopBand = 27;      // Result
inline constexpr WORD SkinCmdRescanDialog = 28;
inline constexpr WORD SkinCmdControlEnter = 29;
inline constexpr WORD SkinCmdControlExit = 30;
inline constexpr WORD SkinCmdBeginUpdate = 31;
inline constexpr WORD SkinCmdEndUpdate = 32;
inline constexpr WORD SkinCmdStopPainting = 51;
inline constexpr WORD SkinCmdResumePainting = 52;
inline constexpr WORD SkinCmdGetApplication = 60;  // Result: the application object

// wParam of a command: the argument in the low word, the command in the high word.
constexpr WPARAM SkinCmdWParam(WORD cmd, WORD arg = 0)
{
    return static_cast<WPARAM>(static_cast<DWORD>(arg) | (static_cast<DWORD>(cmd) << 16));
}
// Handlers look at the high word only.
constexpr WORD SkinCmdOf(WPARAM wParam) { return static_cast<WORD>((wParam >> 16) & 0xFFFF); }
constexpr WORD SkinCmdArgOf(WPARAM wParam) { return static_cast<WORD>(wParam & 0xFFFF); }

// Registers "SM_SKINCMD" with the system at start-up; the library keeps using the constant.
void AddSkinMessageStartupStep(TStartup& startup);


// Sends the command with argument 0 and answers the window's result (0 from a window that does not
// know the message).
LRESULT SendSkinCmd(HWND wnd, WORD cmd, LPARAM lParam);
// Sends the command once with lParam 0; True when the window answers exactly 1.
bool QuerySkinCmdHwnd(HWND wnd, WORD cmd);
// A query of a control: its window procedure gets the message first, directly, and a LParam of 1 left
// there answers True without any send. Otherwise the same record (with the LParam the procedure left)
// is sent to the control's window, if it has one, and a result of 1 answers True.
bool QuerySkinCmdThrough(const TWndMethod& windowProc, HWND wnd, WORD cmd);
// The answers every skinned control, adapter and provider gives alike: "are you skinned" (1 in LParam, and
// in the result too where alsoResult: adapters and providers answer windows that only read the result)
// and "which application". True when the command was one of these and is answered.
bool AnswerCommonSkinCmd(TMessage& message, bool alsoResult = false);
// Sends SkinCmdEndParentUpdate to each child window of Wnd (not their children) that has WS_CHILD.
void RefreshChildWindows(HWND wnd);

// The desktop's work area.
void GetWorkArea(RECT& r);
// The client rectangle of Wnd in window coordinates (its top-left is the width of the left and top frame).
void GetClientRectOffset(HWND wnd, RECT& r);

// ---- Controls and forms ----

inline TMessage MakeSkinCmd(WORD cmd, LPARAM lParam) { return TMessage{SM_SKINCMD, SkinCmdWParam(cmd), lParam, 0}; }

// The message as the system's send hands it to the window of a framework control of this thread: to the
// control's window procedure, sparing the send its look-up of the control by the window (a trip to the
// system for every message, most of what a broadcast costs). A window whose procedure someone else took
// over, or of another thread, gets the system's send. The control must have its window.
LRESULT SendToControlWindow(TWinControl* win, UINT msg, WPARAM wParam, LPARAM lParam);

// A windowed control being destroyed or without a window yet gets nothing (0); a windowless control
// gets the message through Perform.
LRESULT SendSkinCmdToControl(TControl* control, WORD cmd, LPARAM lParam);
// QuerySkinCmdThrough with the control's WindowProc and its window, when it has one.
bool QuerySkinCmd(TControl* control, WORD cmd);

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
// manager; the thaw with Animate fades each form into its new look.
void FreezeSkinnedForms(TsSkinManager* manager);
void ThawSkinnedForms(TsSkinManager* manager, bool animate);

// The operating system: the NT family, and its major version (Wine reports 6 or above).
bool IsNTFamily();
DWORD WindowsMajorVersion();
