// Text in the colours of a skin section, caption shortening, the colour arithmetic of the library (mixes,
// saturation and hue moves), the glow painter, the fade blend of two bitmaps, the frame painters and the
// placement of a button's glyph and caption.
#pragma once

#include "framework/Graphics.h"
#include "framework/WinApi.h"
#include "skin/core/sItemPainter.h"

#include <cstdint>
#include <string>

class TsCommonData;
class TsSkinManager;

// Draws Text into R with Flags in the colours of section SkinIndex of Manager (the default manager when
// nil): enabled text gets the outline colours of the state (normal or hot) one pixel off on each side
// where they are not -1, then the font colour; disabled text gets 40 % font colour over 60 % section
// colour. Nothing without a default manager, a valid section or a text.
void WriteTextEx(TCanvas* canvas, const wchar_t* text, bool enabled, TsSkinManager* manager, bool hot, int skinIndex,
                 UINT flags, const TRect& r);
// Text of a control in its font (underlined when hot in a WEBBUTTON section) and its section's colours,
// clipped to R: as WriteTextEx, drawn with DT_NOCLIP added when enabled; a custom font keeps its own
// colour and gets no outlines. Without a section the text is drawn in the font's colour.
void WriteTextByData(TCanvas* canvas, const wchar_t* text, bool enabled, bool hot, TsCommonData* commonData,
                     UINT flags, const TRect& r);
inline void WriteTextData(TCanvas* canvas, const wchar_t* text, bool enabled, bool hot, TsCommonData* commonData,
                          UINT flags, const TRect& r)
{
    WriteTextByData(canvas, text, enabled, hot, commonData, flags, r);
}
// DrawTextW of the whole string; R is a variable because DT_CALCRECT writes it.
int DrawTextStr(HDC dc, const std::wstring& text, TRect& r, UINT flags);
// Text shortened with "..." until it fits MaxWidth pixels of the canvas's font; empty when MaxWidth is
// not positive or not one character fits.
std::wstring CutText(TCanvas* canvas, const std::wstring& text, int maxWidth);

// Per channel Round(Factor * (c1 - c2) + c2), kept within a byte; the top byte is zero.
TColor MixColors(TColor color1, TColor color2, double factor);
// Moves each channel Percent % of the way to the channels' average (100 gives grey, negative values push
// away from it). Percent 0 returns Color unchanged.
TColor ChangeSaturation(TColor color, int percent);
// Turns the hue of Color by Degrees on the colour wheel; greys come back unchanged.
TColor ChangeHue(int degrees, TColor color);
// The colour value unchanged; callers use its low three bytes.
inline TColor ColorNoAlpha(TColor color) { return color; }

// A soft rounded glow of Color into R of the 24-bit Bmp: Blur rings fading from the background to Color,
// which shows through with (100 - Transparency) % in the middle.
void PaintShadowRect(TBitmap* bmp, TRect r, int transparency, int radius, int blur, TColor color);
// One fade step into the 32-bit Dst: Src2 + (Src1 - Src2) * w / 256 per channel, w being Alpha or the
// matching byte of the 24-bit AlphaBmp. Nothing unless both sources are 24-bit and of one size and Dst
// (and AlphaBmp) cover them.
void SumBitmaps(TBitmap* dst, TBitmap* src1, TBitmap* src2, TBitmap* alphaBmp, std::uint16_t alpha);
// Copies the border ring, BorderWidth wide, of the Width x Height rectangle at SrcX, SrcY of SrcDC to
// X, Y of DstDC in four stripes: left, top, right, bottom. The inside is left alone.
void CopyFrame(HDC dstDC, int x, int y, int width, int height, HDC srcDC, int srcX, int srcY, int borderWidth);
// Count nested one-pixel frames, light on the top and left, dark on the right and bottom. R ends inset by
// the Count passed in and Count ends at 0: both are the caller's, who goes on painting inside.
void BevelFramePens(HDC dc, TRect& r, TColor lightColor, int& count, TColor darkColor);
// Black pixels every 3 pixels on the lines x = Left, x = Right, y = Top and y = Bottom, each with a
// white pixel up and to the left of it.
void DrawDottedFrame(TCanvas* canvas, const TRect& r);

// Glyph layouts of a button and alignments of its glyph-and-caption block.
enum : std::uint8_t { glGlyphLeft = 0, glGlyphRight = 1, glGlyphTop = 2, glGlyphBottom = 3 };
enum : std::uint8_t { gaLeft = 0, gaRight = 1, gaCenter = 2 };

// The positions of a button's glyph and caption inside Client. Margin and Spacing of -1 are worked out
// from the free space; DT_RIGHT in BiDiFlags swaps the left and right layouts.
void CalcGlyphTextLayout(const TRect& client, TPoint glyphSize, TPoint textSize, std::uint8_t layout,
                         std::uint8_t alignment, int margin, int spacing, TPoint& glyphPos, TRect& textBounds,
                         UINT biDiFlags);
