// The element painter: a skin section's background, border mask and corner images painted into a
// control's bitmap, the window-region runs of a mask's transparent corners, the solid fill, and the
// factories of the work bitmaps all painting code uses.
#pragma once

#include "framework/Graphics.h"
#include "skin/core/sConst.h"
#include "skin/core/sMaskData.h"

#include <memory>
#include <string>
#include <vector>

class TsCommonData;
class TsSkinManager;

// Work bitmaps: device-independent, of the given size, owned by the caller.
std::unique_ptr<TBitmap> CreateBmp24(int width, int height);
std::unique_ptr<TBitmap> CreateBmp32(int width, int height);
// CreateBmp24 of the graphic's size (an empty bitmap for nil).
std::unique_ptr<TBitmap> CreateBmpLike(TGraphic* graphic);

// A solid fill of R in ColorToRGB(Color); the DC's selections are kept.
void FillDC(HDC dc, const TRect& r, TColor color);

// Background, border mask and corner images of a control, from its common data. CI describes the
// parent's cache under the control; Offset is the element's position inside the control; R the
// rectangle to paint inside Bmp. State 0 is the normal look, any other the hot look.
void PaintItem(TsCommonData* commonData, TCacheInfo ci, bool filling, bool updateCorners, TBitmap* bmp, TPoint offset,
               TRect r, int state);
// Background and BORDERSMASK of a section. Texture and HotTexture of -1 are looked up.
void PaintItemByIndex(int skinIndex, const std::wstring& skinSection, TCacheInfo ci, int texture, int hotTexture,
                      TsSkinManager* manager, TBitmap* bmp, TPoint offset, TRect r, int state, bool filling);
// The same with every index given: nothing is looked up.
void PaintItemFast(int skinIndex, int borderIndex, int texture, int hotTexture, TsSkinManager* manager, TBitmap* bmp,
                   TPoint offset, TRect r, int state, bool filling, TCacheInfo ci, const std::wstring& skinSection);
// The background alone; CustomColor of sNoColor takes the section's colour.
void PaintItemBg(int skinIndex, const std::wstring& skinSection, TCacheInfo ci, TColor customColor, int texture,
                 int hotTexture, TsSkinManager* manager, TBitmap* bmp, TPoint offset, TRect r, int state);
// The background alone with the texture indexes given: no lookups, no JPEG patterns.
void PaintItemBgFast(int skinIndex, int texture, int hotTexture, TsSkinManager* manager, TBitmap* bmp, TPoint offset,
                     TRect r, int state, TCacheInfo ci, const std::wstring& skinSection);
// PaintItemByIndex into a work bitmap of R's size, then one copy to the DC at R.
void PaintItemToDC(int skinIndex, const std::wstring& skinSection, TCacheInfo ci, TsSkinManager* manager, HDC dc,
                   TPoint offset, TRect r, int state, bool filling);

// Appends the key-colour pixels of the top (or, with Bottom, the bottom) corners of a border mask as
// runs one pixel high, the top row at Y, the right corner placed for a window Width wide.
void AddRgnFromMask(std::vector<TRect>& rects, int width, const TsMaskData& maskData, bool bottom, int y);

// Tiles Graphic over R from R's top-left, the last column and row cut at R's edges.
void TileGraphic(TCanvas* canvas, const TRect& r, TGraphic* graphic);
// Paints an unmasked texture (Graphic: the image's own bitmap or a JPEG pattern; else MaskData's
// rectangle of the master bitmap) in draw mode Mode. R comes back as the part left unpainted, or
// (-1, -1, -1, -1) when all of it is done.
void PaintTexture(TCanvas* canvas, TRect& r, TGraphic* graphic, int mode, const TsMaskData& maskData);
// Paints a texture whose image has a mask (MaskType other than 0) through it, in mode 0 or 10; R as for
// PaintTexture, unchanged for other modes.
void PaintMaskedPattern(TBitmap* bmp, TRect& r, TCacheInfo ci, int mode, const TsMaskData& maskData);
