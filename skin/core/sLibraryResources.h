// The library's small start-up units: the date-format flag, and the bitmaps and font-type glyphs taken
// from the program's resources (any of them may be missing: the program starts all the same).
#pragma once

#include "framework/Graphics.h"

class TStartup;

// True when the short date format shows four-digit years.
bool LongYearDates();

// The resource bitmaps "SF", "SR", "SD", "SE", "SC" (index 0 to 4) and the font-type glyphs "PS", "TTF",
// "RASTER", "UNKNOWN" (index 0 to 3); nil outside start-up and exit, empty when the resource is missing.
TBitmap* LibraryBitmap(int index);
TBitmap* FontGlyph(int index);
inline constexpr int kLibraryBitmapCount = 5;
inline constexpr int kFontGlyphCount = 4;

void AddDateUtilitiesStartupStep(TStartup& startup);
void AddLibraryBitmapsStartupStep(TStartup& startup);
void AddFontGlyphsStartupStep(TStartup& startup);
