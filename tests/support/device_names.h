// Names the system opens as devices in every folder, with and without an extension and in any case:
// the program must never take one for a recipe, a category or a rating's file.
#pragma once

#include <array>

namespace testsupport {

inline constexpr std::array<const wchar_t*, 18> kDeviceNames = {
    L"CON", L"prn", L"Aux", L"NUL", L"COM1", L"com9", L"LPT1", L"lpt9",
    L"CON.rcp", L"nul.txt", L"Com3.jpg", L"LPT2.tar.gz", L"AUX .x", L"PRN.",
    L"CONIN$", L"conout$.rcp", L"COM\u00B9", L"lpt\u00B3.rcp",
};

} // namespace testsupport
