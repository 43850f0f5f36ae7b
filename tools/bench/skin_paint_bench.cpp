// The blend measurement: an alpha blend of two 1024 x 768 24-bit bitmaps through the skin engine's
// pixel-access objects, against GDI's AlphaBlend of the same bitmaps with the same weight.
#include "tools/bench/bench.h"

#include "framework/Graphics.h"
#include "framework/Startup.h"
#include "skin/core/sPixels.h"

#include <windows.h>

#include <cstdint>

namespace {

constexpr int kWidth = 1024, kHeight = 768, kRuns = 15;

void Fill(TBitmap& bmp, unsigned seed)
{
    bmp.SetPixelFormat(pf24bit);
    bmp.SetSize(kWidth, kHeight);
    for (int y = 0; y < kHeight; ++y) {
        auto* row = static_cast<std::uint8_t*>(bmp.ScanLine(y));
        for (int i = 0; i < kWidth * 3; ++i) {
            seed = seed * 1103515245u + 12345u;
            row[i] = static_cast<std::uint8_t>(seed >> 16);
        }
    }
}

} // namespace

VELMORA_BENCH(skin_alpha_blend_1024x768)
{
    TStartup startup;
    AddPixelAccessStartupStep(startup);
    startup.Start();
    TBitmap dst, src;
    Fill(dst, 1);
    Fill(src, 2);
    bench::Result r;
    r.ours = "SumBitmapsByRect";
    r.oursMs = bench::MedianMs(kRuns, [&] {
        SumBitmapsByRect(&dst, &src, 128, TPoint{0, 0}, TRect{0, 0, kWidth, kHeight});
    });
    r.theirs = "GDI AlphaBlend";
    HDC dc = dst.Canvas()->Handle();
    HDC srcDc = src.Canvas()->Handle();
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, 127, 0};
    r.theirsMs = bench::MedianMs(kRuns, [&] {
        AlphaBlend(dc, 0, 0, kWidth, kHeight, srcDc, 0, 0, kWidth, kHeight, blend);
        GdiFlush();
    });
    return r;
}
