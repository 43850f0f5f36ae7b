// The element painting the menu painter needs: work bitmaps, a section painted into a bitmap or a DC,
// and the key-colour runs of a border mask's corners. A thin layer, so the menus draw through one place.
#pragma once

#include "framework/Graphics.h"
#include "skin/core/sConst.h"
#include "skin/core/sMaskData.h"

#include <memory>
#include <string>
#include <vector>

class TsSkinManager;

namespace menupaint {

// A 24-bit device-independent work bitmap of the given size, owned by the caller.
std::unique_ptr<TBitmap> Bmp24(int width, int height);
// Background and border mask of section SkinIndex into R of Bmp; CI addresses the parent's background
// under the bitmap's origin and Offset is the bitmap's place over it.
void PaintSection(TsSkinManager* sm, int skinIndex, const std::wstring& section, TCacheInfo ci, TBitmap* bmp,
                  TPoint offset, TRect r, int state);
// PaintSection into a work bitmap of R's size, then copied to DC at R.
void PaintSectionToDC(TsSkinManager* sm, int skinIndex, const std::wstring& section, TCacheInfo ci, HDC dc,
                      TPoint offset, TRect r, int state);
// Appends the key-colour pixels of the top (Bottom: the bottom) corners of a border mask as runs one
// pixel high, the first row at Y, the right corner placed for a window Width wide.
void AddCornerRuns(std::vector<TRect>& rects, int width, const TsMaskData& md, bool bottom, int y);

} // namespace menupaint
