// The skin command message: its number and the command numbers carried in the high word of wParam.
#pragma once

#include "framework/WinApi.h"

#include <cstdint>

// Every sender and receiver uses this constant; the registered name only announces it to the system.
inline constexpr UINT SM_SKINCMD = 0xA100;
inline constexpr const wchar_t* kSkinCmdMessageName = L"SM_SKINCMD";

inline constexpr WORD SkinCmdSkinChanged = 1;
inline constexpr WORD SkinCmdSkinRemoved = 2;
inline constexpr WORD SkinCmdRefresh = 3;
inline constexpr WORD SkinCmdGetProvider = 4;
inline constexpr WORD SkinCmdGetCache = 5;
inline constexpr WORD SkinCmdBeforeRepaint = 16;
inline constexpr WORD SkinCmdGetBgColor = 21;
inline constexpr WORD SkinCmdControlEnter = 29;
inline constexpr WORD SkinCmdControlExit = 30;

// Registers "SM_SKINCMD" with the system once at start-up; returns the registered number, which the
// library does not use further.
UINT RegisterSkinMessage();
