// Small shared routines of the skin library: rectangle arithmetic, integer choices, the cache-info
// record, the caption font height and the warning box.
#pragma once

#include "framework/Messages.h"
#include "framework/WinApi.h"
#include "skin/core/sConst.h"

#include <cstdint>
#include <string>

inline int RectWidth(const RECT& r) { return r.right - r.left; }
inline int RectHeight(const RECT& r) { return r.bottom - r.top; }
// False when R lies wholly outside Outer or is empty.
bool IsRectVisibleIn(const RECT& outer, const RECT& r);

inline bool IsBetween(int value, int minValue, int maxValue) { return minValue <= value && value <= maxValue; }
inline int LargerOf(int a, int b) { return a > b ? a : b; }
inline int SmallerOf(int a, int b) { return a < b ? a : b; }
inline int ChooseInt(bool flag, int a, int b) { return flag ? a : b; }
inline std::wstring ChooseStr(bool flag, const std::wstring& a, const std::wstring& b) { return flag ? a : b; }
inline std::uint8_t ClampToByte(int value)
{
    return static_cast<std::uint8_t>(value < 0 ? 0 : (value > 254 ? 255 : value));
}

inline TCacheInfo MakeCacheInfo(TBitmap* bmp, int x, int y) { return TCacheInfo{bmp, x, y, true}; }
inline TMessage MakeMessageRecord(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT resultValue)
{
    return TMessage{msg, wParam, lParam, resultValue};
}

// lfHeight of the system's caption font; 0 when the system does not answer.
int GetCaptionFontHeight();

// The library's message box as a warning with a single OK button; returns the box's result.
int ShowWarningBox(const std::wstring& msg);
