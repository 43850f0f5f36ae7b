#include "skin/core/sPixels.h"

#include "framework/Startup.h"

#include <algorithm>
#include <cmath>

std::unique_ptr<TacFast24> Fast24;
std::unique_ptr<TacFastSum24> FastSum24;
std::unique_ptr<TacFast32> Fast32;

namespace {

int BytesOf(TPixelFormat format) { return format == pf32bit ? 4 : format == pf24bit ? 3 : 0; }

// Scan lines 0 and 1 of a bitmap of at least 2 x 2 pixels of the given format.
bool BindRows(TBitmap* bitmap, TPixelFormat format, std::uint8_t*& start, std::int32_t& delta)
{
    if (!bitmap || bitmap->Width() < 2 || bitmap->Height() < 2 || bitmap->PixelFormat() != format)
        return false;
    start = static_cast<std::uint8_t*>(bitmap->ScanLine(0));
    delta = static_cast<std::int32_t>(static_cast<std::uint8_t*>(bitmap->ScanLine(1)) - start);
    return true;
}

// Rounds half to even as nearbyint does, through lrint: the C runtime's nearbyint saves and restores the
// floating-point state on every call, which made it the costliest step of blending a bitmap.
std::uint8_t RoundToByte(double value)
{
    if (!(value > -1.0))
        return 0;
    if (value > 255.0)
        return 255;
    const long r = std::lrint(value);
    return static_cast<std::uint8_t>(r < 0 ? 0 : r > 255 ? 255 : r);
}

void StartPixelAccess()
{
    Fast24 = std::make_unique<TacFast24>();
    FastSum24 = std::make_unique<TacFastSum24>();
    Fast32 = std::make_unique<TacFast32>();
}

void FinishPixelAccess()
{
    Fast32.reset();
    FastSum24.reset();
    Fast24.reset();
}

} // namespace

bool BindPixelRows(TBitmap* bitmap, TPixelFormat format, TPixelRows& rows)
{
    rows = TPixelRows{};
    if (!bitmap || bitmap->Width() < 1 || bitmap->Height() < 1 || bitmap->PixelFormat() != format ||
        BytesOf(format) == 0)
        return false;
    rows.Start = static_cast<std::uint8_t*>(bitmap->ScanLine(0));
    rows.Delta = bitmap->Height() > 1 ? static_cast<std::uint8_t*>(bitmap->ScanLine(1)) - rows.Start : 0;
    rows.Width = bitmap->Width();
    rows.Height = bitmap->Height();
    rows.BytesPerPixel = BytesOf(format);
    return true;
}

void AddPixelAccessStartupStep(TStartup& startup)
{
    startup.Add(TStartupOrder::PixelAccess, L"Pixel access", StartPixelAccess, FinishPixelAccess);
}

namespace {

// Binds a pixel reader of either depth to the bitmap's rows.
template <class TFast>
bool AttachFast(TFast& fast, TBitmap* bitmap, TPixelFormat format)
{
    if (!BindRows(bitmap, format, fast.Start, fast.Delta)) {
        fast.Width = 0;
        return false;
    }
    fast.Bitmap = bitmap;
    fast.Width = bitmap->Width();
    fast.Height = bitmap->Height();
    return true;
}

} // namespace

bool TacFast24::Attach(TBitmap* bitmap) { return AttachFast(*this, bitmap, pf24bit); }

bool TacFast32::Attach(TBitmap* bitmap) { return AttachFast(*this, bitmap, pf32bit); }

bool TacFastSum24::Attach(TBitmap* src, TBitmap* dst)
{
    if (!BindRows(src, pf24bit, SrcStart, SrcDelta) || !BindRows(dst, pf24bit, DstStart, DstDelta))
        return false;
    Src = src;
    Dst = dst;
    srcWidth_ = src->Width();
    srcHeight_ = src->Height();
    dstWidth_ = dst->Width();
    dstHeight_ = dst->Height();
    Width = std::min(srcWidth_, dstWidth_);
    Height = std::min(srcHeight_, dstHeight_);
    return true;
}

void TacFastSum24::BlendBitmaps()
{
    const int rowShift = DstBottom - SrcBottom;
    const int byteShift = (DstLeft - SrcLeft) * 3;
    if (!SrcStart || !DstStart || DstLeft < 0 || DstTop < 0 || DstRight > dstWidth_ || DstBottom > dstHeight_ ||
        DstRight - DstLeft != SrcRight - SrcLeft || DstBottom - DstTop != SrcBottom - SrcTop || SrcLeft < 0 ||
        SrcTop < 0 || SrcRight > srcWidth_ || SrcBottom > srcHeight_)
        return;
    const unsigned a = Alpha;
    for (int row = DstBottom - 1; row >= DstTop; --row) {
        std::uint8_t* d = DstStart + static_cast<std::ptrdiff_t>(row) * DstDelta;
        const std::uint8_t* s = SrcStart + static_cast<std::ptrdiff_t>(row - rowShift) * SrcDelta;
        for (int i = DstRight * 3 - 1; i >= DstLeft * 3; --i)
            d[i] = static_cast<std::uint8_t>((d[i] * a + s[i - byteShift] * (255 - a) + 127) >> 8);
    }
}

void BlendColorRect(TBitmap* bmp, TRect r, std::uint8_t percent, TColor color)
{
    TPixelRows rows;
    if (!BindPixelRows(bmp, pf24bit, rows))
        return;
    r.Left = std::max(r.Left, 0);
    r.Top = std::max(r.Top, 0);
    r.Right = std::min(r.Right, rows.Width - 1);
    r.Bottom = std::min(r.Bottom, rows.Height - 1);
    const TColor c = ColorToRGB(color);
    const double f = percent / 100.0;
    const double g = 1 - f;
    const double channel[3] = {g * ColorBlue(c), g * ColorGreen(c), g * ColorRed(c)};
    for (int y = r.Top; y <= r.Bottom; ++y)
        for (int x = r.Left; x <= r.Right; ++x) {
            std::uint8_t* p = rows.At(x, y);
            for (int k = 0; k < 3; ++k)
                p[k] = RoundToByte(f * p[k] + channel[k]);
        }
}

void BlendTransBitmap(TBitmap* dst, int x, int y, TColor transColor, double factor, TRect srcRect, TBitmap* src)
{
    try {
        TPixelRows d, s;
        if (!BindPixelRows(dst, pf24bit, d) || !BindPixelRows(src, pf24bit, s))
            return;
        if (srcRect.Top < 0) {
            y -= srcRect.Top;
            srcRect.Top = 0;
        }
        if (srcRect.Left < 0) {
            x -= srcRect.Left;
            srcRect.Left = 0;
        }
        srcRect.Bottom = std::min(srcRect.Bottom, s.Height - 1);
        srcRect.Right = std::min(srcRect.Right, s.Width - 1);
        const bool noKey = static_cast<std::uint32_t>(transColor) > 0xFEFFFFFFu;
        for (int sy = srcRect.Top; sy <= srcRect.Bottom; ++sy) {
            const int dy = y + sy - srcRect.Top;
            if (dy >= d.Height)
                return;
            if (dy < 0)
                continue;
            for (int sx = srcRect.Left; sx <= srcRect.Right; ++sx) {
                const int dx = x + sx - srcRect.Left;
                if (dx < 0 || dx >= d.Width)
                    continue;
                const std::uint8_t* sp = s.At(sx, sy);
                if (!noKey && PixelColor(sp) == transColor)
                    continue;
                std::uint8_t* dp = d.At(dx, dy);
                for (int k = 0; k < 3; ++k)
                    dp[k] = RoundToByte(sp[k] - factor * (sp[k] - dp[k]));
            }
        }
    } catch (...) {
        // A failing row ends the copy: painting never takes the caller down.
    }
}

void SumBitmapsByRect(TBitmap* dst, TBitmap* src, TColor alpha, TPoint p, TRect srcRect)
{
    try {
        if (!dst || !src || !FastSum24)
            return;
        TPoint origin = p;
        if (origin.X < 0) {
            srcRect.Left -= origin.X;
            origin.X = 0;
        }
        if (origin.Y < 0) {
            srcRect.Top -= origin.Y;
            origin.Y = 0;
        }
        if (srcRect.Left < 0) {
            origin.X -= srcRect.Left;
            srcRect.Left = 0;
        }
        if (srcRect.Top < 0) {
            origin.Y -= srcRect.Top;
            srcRect.Top = 0;
        }
        srcRect.Right = std::min(srcRect.Right, src->Width());
        srcRect.Bottom = std::min(srcRect.Bottom, src->Height());
        if (origin.X + srcRect.Width() > dst->Width())
            srcRect.Right = srcRect.Left + dst->Width() - origin.X;
        if (origin.Y + srcRect.Height() > dst->Height())
            srcRect.Bottom = srcRect.Top + dst->Height() - origin.Y;
        if (srcRect.Width() <= 0 || srcRect.Height() <= 0 || !FastSum24->Attach(src, dst))
            return;
        TacFastSum24& sum = *FastSum24;
        sum.Alpha = static_cast<std::uint8_t>(alpha & 0xFF);
        sum.DstLeft = origin.X;
        sum.DstTop = origin.Y;
        sum.DstRight = origin.X + srcRect.Width();
        sum.DstBottom = origin.Y + srcRect.Height();
        sum.SrcLeft = srcRect.Left;
        sum.SrcTop = srcRect.Top;
        sum.SrcRight = srcRect.Right;
        sum.SrcBottom = srcRect.Bottom;
        sum.BlendBitmaps();
    } catch (...) {
        // As every blend: a failure paints less, never more.
    }
}

void GrayScale(TBitmap* bmp)
{
    TPixelRows rows;
    if (!BindPixelRows(bmp, pf24bit, rows))
        return;
    for (int y = 0; y < rows.Height; ++y)
        for (int x = 0; x < rows.Width; ++x) {
            std::uint8_t* p = rows.At(x, y);
            p[0] = p[1] = p[2] = static_cast<std::uint8_t>((p[0] + p[1] + p[2]) / 3);
        }
}

void PaintDisabledEffect(TBitmap* bmp, std::uint8_t flags, TColor controlColor, TPoint offset, const TCacheInfo& ci)
{
    if (!bmp)
        return;
    if (flags & 2)
        GrayScale(bmp);
    if (!(flags & 1))
        return;
    TRect r{0, 0, bmp->Width(), bmp->Height()};
    if (ci.Ready) {
        r = TRect{r.Left + ci.X + offset.X, r.Top + ci.Y + offset.Y, r.Right + ci.X + offset.X,
                  r.Bottom + ci.Y + offset.Y};
        BlendTransBitmap(bmp, 0, 0, sNoKeyColor, 0.4, r, ci.Bmp);
    } else {
        const TColor color = ParentBgColor != sNoColor ? ParentBgColor : ColorToRGB(controlColor);
        BlendColorRect(bmp, r, 50, color);
    }
}
