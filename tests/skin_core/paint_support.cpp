#include "tests/skin_core/paint_support.h"

#include "skin/core/sConst.h"
#include "skin/core/sMessages.h"
#include "skin/core/sPixels.h"

#include <cstdio>

namespace painttest {

namespace {

std::unique_ptr<TStartup> gStartup;

} // namespace

std::unique_ptr<TBitmap> MakeBitmap(int width, int height, COLORREF fill, TPixelFormat format)
{
    auto bmp = std::make_unique<TBitmap>();
    bmp->SetPixelFormat(format);
    bmp->SetSize(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            Set(bmp.get(), x, y, fill);
    return bmp;
}

std::shared_ptr<TBitmap> PaintedBitmap(int width, int height, const std::function<COLORREF(int, int)>& pixel)
{
    std::shared_ptr<TBitmap> bmp = MakeBitmap(width, height, 0);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            Set(bmp.get(), x, y, pixel(x, y));
    return bmp;
}

namespace {

int BytesPerPixel(TBitmap* bmp) { return bmp->PixelFormat() == pf32bit ? 4 : 3; }

} // namespace

COLORREF Get(TBitmap* bmp, int x, int y)
{
    const auto* p = static_cast<const std::uint8_t*>(bmp->ScanLine(y)) + x * BytesPerPixel(bmp);
    return RGB(p[2], p[1], p[0]);
}

void Set(TBitmap* bmp, int x, int y, COLORREF color)
{
    auto* p = static_cast<std::uint8_t*>(bmp->ScanLine(y)) + x * BytesPerPixel(bmp);
    p[0] = GetBValue(color);
    p[1] = GetGValue(color);
    p[2] = GetRValue(color);
}

std::string Describe(COLORREF c)
{
    char text[32];
    std::snprintf(text, sizeof text, "(%d,%d,%d)", GetRValue(c), GetGValue(c), GetBValue(c));
    return text;
}

::testing::AssertionResult PixelsAre(TBitmap* bmp, const std::function<COLORREF(int, int)>& expected)
{
    int wrong = 0;
    std::string report;
    for (int y = 0; y < bmp->Height(); ++y)
        for (int x = 0; x < bmp->Width(); ++x) {
            const COLORREF got = Get(bmp, x, y);
            const COLORREF want = expected(x, y);
            if (got != want && ++wrong <= 6)
                report += " at (" + std::to_string(x) + "," + std::to_string(y) + ") got " + Describe(got) +
                          " want " + Describe(want) + ";";
        }
    if (wrong == 0)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << wrong << " pixels differ:" << report;
}

void StartSkinLibrary()
{
    gStartup = std::make_unique<TStartup>();
    AddSkinConstantsStartupStep(*gStartup);
    AddSkinMessageStartupStep(*gStartup);
    AddPixelAccessStartupStep(*gStartup);
    gStartup->Start();
}

void FinishSkinLibrary() { gStartup.reset(); }

void PaintTest::TearDown()
{
    // A test that fails half-way must not leave a colour for the next one.
    TransFillColor = sNoColor;
    ParentBgColor = sNoColor;
}

TsMaskData PaintTest::OwnMask(std::shared_ptr<TBitmap> bmp, int imageCount, int maskType, int border)
{
    TsMaskData md;
    md.R = RECT{0, 0, bmp->Width(), bmp->Height()};
    md.Bmp = std::move(bmp);
    md.ImageCount = static_cast<std::int16_t>(imageCount);
    md.MaskType = static_cast<std::int16_t>(maskType);
    md.WL = md.WT = md.WR = md.WB = static_cast<std::int16_t>(border);
    md.Manager = &manager;
    return md;
}

} // namespace painttest
