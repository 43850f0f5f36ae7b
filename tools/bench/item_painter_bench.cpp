// The element painter's costs: a fully transparent element against one BitBlt of the parent's cache,
// and a 30 % transparent element against the same element painted solid.
#include "tools/bench/bench.h"

#include "framework/Graphics.h"
#include "framework/Startup.h"
#include "skin/core/sConst.h"
#include "skin/core/sItemPainter.h"
#include "skin/core/sMessages.h"
#include "skin/core/sPixels.h"
#include "skin/core/sSkinManager.h"

#include <windows.h>

namespace {

constexpr int kWidth = 1024, kHeight = 768, kRuns = 15;

struct TPaintSetup {
    TPaintSetup()
    {
        AddSkinConstantsStartupStep(startup);
        AddSkinMessageStartupStep(startup);
        AddPixelAccessStartupStep(startup);
        startup.Start();
        cache = CreateBmp24(kWidth + 16, kHeight + 16);
        FillDC(cache->Canvas()->Handle(), TRect{0, 0, kWidth + 16, kHeight + 16}, RGBToColor(20, 90, 160));
        target = CreateBmp24(kWidth, kHeight);
    }
    // A section of one colour with the given transparency.
    int Section(int transparency)
    {
        TsGeneralData gd;
        gd.ClassName = L"PANEL";
        gd.Color = 0x405060;
        gd.Transparency = transparency;
        sm.Sections.push_back(gd);
        return static_cast<int>(sm.Sections.size()) - 1;
    }
    void Paint(int section)
    {
        PaintItemBg(section, L"PANEL", TCacheInfo{cache.get(), 8, 8, true}, sNoColor, -1, -1, &sm, target.get(),
                    TPoint{}, TRect{0, 0, kWidth, kHeight}, 0);
        GdiFlush();
    }

    TStartup startup;
    TsSkinManager sm;
    std::unique_ptr<TBitmap> cache;
    std::unique_ptr<TBitmap> target;
};

} // namespace

VELMORA_BENCH(item_paint_transparent_1024x768)
{
    TPaintSetup setup;
    const int section = setup.Section(100);
    bench::Result r;
    r.ours = "PaintItemBg, Transparency 100";
    r.oursMs = bench::MedianMs(kRuns, [&] { setup.Paint(section); });
    r.theirs = "one BitBlt of the parent's cache";
    HDC dst = setup.target->Canvas()->Handle();
    HDC src = setup.cache->Canvas()->Handle();
    r.theirsMs = bench::MedianMs(kRuns, [&] {
        BitBlt(dst, 0, 0, kWidth, kHeight, src, 8, 8, SRCCOPY);
        GdiFlush();
    });
    r.megapixels = kWidth * kHeight / 1e6;
    return r;
}

VELMORA_BENCH(item_paint_translucent_1024x768)
{
    TPaintSetup setup;
    const int translucent = setup.Section(30);
    const int solid = setup.Section(0);
    bench::Result r;
    r.ours = "PaintItemBg, Transparency 30";
    r.oursMs = bench::MedianMs(kRuns, [&] { setup.Paint(translucent); });
    r.theirs = "PaintItemBg, Transparency 0";
    r.theirsMs = bench::MedianMs(kRuns, [&] { setup.Paint(solid); });
    r.megapixels = kWidth * kHeight / 1e6;
    return r;
}
