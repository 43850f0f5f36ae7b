// Direct pixel access to 24-bit and 32-bit DIB bitmaps, the shared pixel-access objects, and the blend
// formulas every skin painter uses (colour mixes, alpha blends, grey and disabled looks).
#pragma once

#include "framework/Graphics.h"
#include "skin/core/sConst.h"

#include <cstddef>
#include <cstdint>
#include <memory>

class TStartup;

// The rows of a bound bitmap: the first byte of row 0 and the step from one row to the next (negative
// for bottom-up sections). Binding reads the scan-line pointers once, so pixel loops never ask GDI.
struct TPixelRows {
    std::uint8_t* Start = nullptr;
    std::ptrdiff_t Delta = 0;
    int Width = 0;
    int Height = 0;
    int BytesPerPixel = 0;

    std::uint8_t* At(int x, int y) const { return Start + y * Delta + static_cast<std::ptrdiff_t>(x) * BytesPerPixel; }
    bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < Width && y < Height; }
};

// Binds any bitmap of the given format (pf24bit or pf32bit) with at least one pixel; False for nil,
// empty or other formats, whose rows hold fewer bytes per pixel than the loops would step over.
bool BindPixelRows(TBitmap* bitmap, TPixelFormat format, TPixelRows& rows);

// A pixel's blue, green and red bytes as a colour value (red in the low byte).
inline TColor PixelColor(const std::uint8_t* p) { return RGBToColor(p[2], p[1], p[0]); }
inline bool IsKeyPixel(const std::uint8_t* p) { return p[0] == 255 && p[1] == 0 && p[2] == 255; }
inline void PutColor(std::uint8_t* p, TColor c)
{
    p[0] = ColorBlue(c);
    p[1] = ColorGreen(c);
    p[2] = ColorRed(c);
}

// One channel of an image byte s laid through its mask byte m over the destination byte d: mask 0
// gives the image, 255 nearly the destination. s * (256 - m) + d * m never leaves 0..65280, so the
// shift needs no clamp.
inline std::uint8_t MaskBlend(std::uint8_t d, std::uint8_t s, std::uint8_t m)
{
    return static_cast<std::uint8_t>((s * (256 - m) + d * m) >> 8);
}

// A bound 24-bit bitmap.
class TacFast24 : public TObject {
    DECLARE_CLASS_NAME(TacFast24)
public:
    // False (and Width 0) for a bitmap narrower or lower than 2 pixels, or not of 24 bits.
    bool Attach(TBitmap* bitmap);
    // No bounds check: callers test X and Y against Width and Height.
    TColor GetPixel(int x, int y) const { return PixelColor(Start + y * Delta + x * 3); }

    TBitmap* Bitmap = nullptr; // not owned
    std::int32_t Width = 0;
    std::int32_t Height = 0;
    std::int32_t Delta = 0;
    std::uint8_t* Start = nullptr;
};

// A bound 32-bit bitmap; GetPixel answers its red, green and blue.
class TacFast32 : public TObject {
    DECLARE_CLASS_NAME(TacFast32)
public:
    bool Attach(TBitmap* bitmap);
    TColor GetPixel(int x, int y) const { return PixelColor(Start + y * Delta + x * 4); }

    TBitmap* Bitmap = nullptr; // not owned
    std::int32_t Width = 0;
    std::int32_t Height = 0;
    std::int32_t Delta = 0;
    std::uint8_t* Start = nullptr;
};

// A source and a destination 24-bit bitmap and the rectangles of one blend.
class TacFastSum24 : public TObject {
    DECLARE_CLASS_NAME(TacFastSum24)
public:
    bool Attach(TBitmap* src, TBitmap* dst);
    // Mixes the source rectangle into the destination rectangle of the same size, the destination
    // weighing Alpha / 256. Rectangles reaching outside either bitmap blend nothing.
    void BlendBitmaps();

    TBitmap* Src = nullptr; // not owned
    TBitmap* Dst = nullptr; // not owned
    std::int32_t Width = 0;
    std::int32_t Height = 0;
    std::uint8_t* SrcStart = nullptr;
    std::uint8_t* DstStart = nullptr;
    std::int32_t SrcDelta = 0;
    std::int32_t DstDelta = 0;
    std::uint8_t Alpha = 0;
    std::int32_t DstLeft = 0, DstTop = 0, DstRight = 0, DstBottom = 0;
    std::int32_t SrcLeft = 0, SrcTop = 0, SrcRight = 0, SrcBottom = 0;

private:
    int srcWidth_ = 0, srcHeight_ = 0, dstWidth_ = 0, dstHeight_ = 0;
};

// The shared instances, made by the pixel-access start-up step and freed at shutdown; every routine
// re-binds them before use. Null outside that span, when the routines that need them draw nothing.
extern std::unique_ptr<TacFast24> Fast24;
extern std::unique_ptr<TacFastSum24> FastSum24;
extern std::unique_ptr<TacFast32> Fast32;

void AddPixelAccessStartupStep(TStartup& startup);

// A transparent colour that matches no pixel: its top byte is $FF.
inline constexpr TColor sNoKeyColor = static_cast<TColor>(0xFFFFFFFFu);

// Mixes Color into the inclusive rectangle R (clipped to the bitmap): p := Round(f * p + (1 - f) * c)
// with f = Percent / 100.
void BlendColorRect(TBitmap* bmp, TRect r, std::uint8_t percent, TColor color);
// Mixes the inclusive source rectangle onto Dst at X, Y: each channel := Round(s - Factor * (s - d)),
// skipping source pixels equal to TransColor (none when its top byte is $FF).
void BlendTransBitmap(TBitmap* dst, int x, int y, TColor transColor, double factor, TRect srcRect, TBitmap* src);
// Alpha blend of SrcRect of Src onto Dst at P through FastSum24; Alpha's low byte is the weight of
// the destination.
void SumBitmapsByRect(TBitmap* dst, TBitmap* src, TColor alpha, TPoint p, TRect srcRect);
// Each pixel's three bytes := (B + G + R) div 3.
void GrayScale(TBitmap* bmp);
// The disabled look of a control image: Flags 2 greys it, Flags 1 mixes it 40 % into the parent's
// cache (when CI is ready) or 50 % with ParentBgColor, or with ControlColor when that is none.
void PaintDisabledEffect(TBitmap* bmp, std::uint8_t flags, TColor controlColor, TPoint offset, const TCacheInfo& ci);
