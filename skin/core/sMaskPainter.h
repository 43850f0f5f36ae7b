// Skin images put into control bitmaps: copies through a mask or past the key colour, copies from the
// manager's master bitmap, the nine-part frame, state glyphs, and the repair of a cache bitmap's
// transparent corners. All of them paint nothing for a nil bitmap, a malformed image or a rectangle
// outside the bitmaps, and never touch a pixel outside a bitmap.
#pragma once

#include "skin/core/sMaskData.h"
#include "skin/core/sPixels.h"

// The source of a skin image: its own bitmap, or its manager's master bitmap (nil when neither exists).
TBitmap* MaskSource(const TsMaskData& md);

// Copies SrcRect of Src into DstRect of Dst (both right/bottom exclusive, the smaller size wins)
// through the mask that lies Height(md.R) div 2 rows below the image. With UpdateTrans, key-colour
// pixels show the parent's cache (CI ready), TransFillColor, or else stay the key colour.
void CopyByMask(TRect dstRect, TRect srcRect, TBitmap* dst, TBitmap* src, const TCacheInfo& ci, bool updateTrans,
                const TsMaskData& md);
// Copies the inclusive SrcRect of Src to X, Y of Dst, skipping TransColor pixels; with UpdateTrans and a
// ready 24-bit cache those take the cache's pixel instead.
void CopyByMask24(TBitmap* dst, TBitmap* src, int x, int y, TRect srcRect, TColor transColor, const TCacheInfo& ci,
                  bool updateTrans);
// Copies the pixels of the inclusive SrcRect that are not TransColor to X, Y of Dst.
void CopyMaskedHalf(TBitmap* dst, TBitmap* src, int x, int y, TRect srcRect, TColor transColor);
// CopyMaskedHalf of the whole of Src.
void CopyTransBitmaps(TBitmap* dst, TBitmap* src, int x, int y, TColor transColor);
// A masked copy from the manager's master bitmap; key-colour pixels show the parent's cache, or
// TransFillColor when that holds a colour, or are left alone.
void CopyMasterRect(TRect dstRect, TRect srcRect, TBitmap* dst, const TsMaskData& md, const TCacheInfo& ci);

// The nine-part frame of state State of a skin image over R: corners, tiled or stretched sides and,
// when Filling, the centre. Corners of masked images and, with UpdateCorners, of plain ones show the
// parent's cache through their key-colour pixels.
void DrawSkinRect(TBitmap* bmp, const TRect& r, bool filling, const TCacheInfo& ci, const TsMaskData& md, int state,
                  bool updateCorners);
// One state frame of a skin image at P; Mode 1 draws it as it is, any other value faded.
void DrawSkinGlyph(TBitmap* bmp, TPoint p, int state, const TsMaskData& md, int mode);
// The inclusive SrcRect of Src through its mask (fh rows below) into the inclusive DstRect of Bmp,
// skipping key-colour pixels; Mode other than 1 lets 100/256 more of the background through.
void DrawMaskedGlyph(TRect dstRect, TRect srcRect, TBitmap* bmp, const TsMaskData& md, int mode, TBitmap* src);

// Corners of a cache bitmap, as bits.
enum : int { kCornerTopLeft = 1, kCornerBottomLeft = 2, kCornerTopRight = 4, kCornerBottomRight = 8, kAllCorners = 15 };

// Puts the parent's background back into the key-colour pixels of the selected corners of a control's
// cache bitmap, whose frame was drawn from md in state State: ParentColor when it holds a colour, else
// the pixel of the parent's cache (CI, already at the control's position), else the key colour.
void RepaintCacheCorners(TBitmap* cache, TsMaskData md, int state, int corners, const TCacheInfo& ci,
                         TColor parentColor);
