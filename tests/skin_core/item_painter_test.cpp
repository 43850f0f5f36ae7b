// The element painter: a section's colour, gradient and texture mixed by their percentages, its
// transparency against the parent's cache, the border and corner images, the texture draw modes and
// what each leaves unpainted, the masked patterns, the window-region runs of a mask's corners, and
// the calls that paint nothing.
#include "skin/core/sItemPainter.h"

#include "framework/ExtCtrls.h"
#include "framework/Jpeg.h"
#include "skin/core/sCommonData.h"
#include "skin/core/sVclUtils.h"
#include "tests/skin_core/test_skin.h"
#include "tests/skin_core/paint_support.h"
#include "tests/support/test_support.h"

#include <cmath>
#include <cstdlib>
#include <functional>

using namespace painttest;

namespace {

constexpr COLORREF kBack = RGB(1, 2, 3);
constexpr TRect kDoneRect{-1, -1, -1, -1};

// The master bitmap: a 4 x 3 texture at (0, 0); a masked texture of one 3 x 2 frame at (8, 0) with its
// black mask rows below; a 1-pixel frame image at (16, 0); corner images of 2 x 2 at (0, 8) .. (6, 8).
constexpr RECT kTextureRect{0, 0, 4, 3};
constexpr RECT kMaskedRect{8, 0, 11, 4};
constexpr RECT kFrameRect{16, 0, 20, 4};
constexpr COLORREF kFrameColor = RGB(90, 91, 92);
constexpr COLORREF kCornerColors[4] = {RGB(11, 0, 0), RGB(0, 22, 0), RGB(0, 0, 33), RGB(44, 44, 0)};

COLORREF TexturePixel(int x, int y) { return RGB(40 + 10 * x, 100 + 20 * y, 7); }
// The masked texture's image; its top-left pixel is the key colour.
COLORREF MaskedPixel(int x, int y) { return x == 0 && y == 0 ? kKey : RGB(200, 10 + 10 * x, 20 + 10 * y); }
COLORREF CachePixel(int x, int y) { return RGB(3 * x, 250 - 3 * y, 77); }

COLORREF MasterPixel(int x, int y)
{
    if (x < 4 && y < 3)
        return TexturePixel(x, y);
    if (x >= 8 && x < 11 && y < 4)
        return y < 2 ? MaskedPixel(x - 8, y) : RGB(0, 0, 0);
    if (x >= 16 && x < 20 && y < 4)
        return kFrameColor;
    if (y >= 8 && y < 10 && x < 8)
        return kCornerColors[x / 2];
    return RGB(255, 255, 255);
}

// (D x A + S x (255 - A) + 127) shr 8 per byte: the blend of the pixel mixes.
COLORREF Mix(COLORREF d, COLORREF s, int a)
{
    auto one = [a](int dc, int sc) { return static_cast<BYTE>((dc * a + sc * (255 - a) + 127) >> 8); };
    return RGB(one(GetRValue(d), GetRValue(s)), one(GetGValue(d), GetGValue(s)), one(GetBValue(d), GetBValue(s)));
}

// Round(f x p + (1 - f) x c) per byte: a colour laid over a picture that keeps Percent.
COLORREF KeepPercent(COLORREF p, COLORREF c, int percent)
{
    const double f = percent / 100.0, g = 1 - f;
    auto one = [&](int pc, int cc) { return static_cast<BYTE>(std::lrint(f * pc + g * cc)); };
    return RGB(one(GetRValue(p), GetRValue(c)), one(GetGValue(p), GetGValue(c)), one(GetBValue(p), GetBValue(c)));
}

struct TFreeComponent {
    void operator()(TComponent* c) const { Free(c); }
};
template <class T> using TOwned = std::unique_ptr<T, TFreeComponent>;

TOwned<TPanel> MakePanel(TColor color)
{
    TOwned<TPanel> panel(Create<TPanel>(nullptr));
    panel->SetColor(color);
    return panel;
}

bool Inside(const TRect& r, int x, int y) { return x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom; }

TsGradArray FlatGradient(COLORREF color)
{
    return TsGradArray{TsGradStop{static_cast<int>(color), static_cast<int>(color), 100, 0, 0}};
}

} // namespace

class ItemPainter : public PaintTest {
protected:
    void SetUp() override
    {
        manager.MasterBitmap = MakeBitmap(24, 12, 0);
        for (int y = 0; y < 12; ++y)
            for (int x = 0; x < 24; ++x)
                Set(manager.MasterBitmap.get(), x, y, MasterPixel(x, y));
    }

    int AddSection(const std::wstring& name, COLORREF color, const std::function<void(TsGeneralData&)>& setup = {})
    {
        TsGeneralData gd;
        gd.ClassName = name;
        gd.Color = static_cast<std::int32_t>(color);
        gd.HotColor = static_cast<std::int32_t>(color);
        if (setup)
            setup(gd);
        manager.Sections.push_back(gd);
        return static_cast<int>(manager.Sections.size()) - 1;
    }
    int AddMask(const std::wstring& section, const std::wstring& property, RECT r, int imageCount, int maskType,
                int stretchMode = 0, TacImgType type = itisaTexture)
    {
        TsMaskData md;
        md.ClassName = section;
        md.PropertyName = property;
        md.R = r;
        md.ImageCount = static_cast<std::int16_t>(imageCount);
        md.MaskType = static_cast<std::int16_t>(maskType);
        md.StretchMode = static_cast<std::int16_t>(stretchMode);
        md.ImgType = type;
        md.Manager = &manager;
        md.WL = md.WT = md.WR = md.WB = 1;
        manager.Masks.push_back(md);
        return static_cast<int>(manager.Masks.size()) - 1;
    }
    const TsMaskData& Mask(int index) { return manager.Masks[static_cast<size_t>(index)]; }

    // PaintTexture of the master texture in Mode into R of a 14 x 11 bitmap.
    std::unique_ptr<TBitmap> Texture(int mode, TRect& r)
    {
        const int index = AddMask(L"X", L"PATTERN", kTextureRect, 1, 0, mode);
        auto bmp = MakeBitmap(14, 11, kBack);
        PaintTexture(bmp->Canvas(), r, nullptr, mode, Mask(index));
        return bmp;
    }
    std::unique_ptr<TBitmap> MakeCache()
    {
        auto cache = MakeBitmap(40, 40, 0);
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 40; ++x)
                Set(cache.get(), x, y, CachePixel(x, y));
        return cache;
    }
};

// ---- Colour, gradient and texture by their percentages ----

TEST_F(ItemPainter, ColourOnlySectionFillsExactlyR)
{
    const int s = AddSection(L"PANEL", RGB(10, 20, 30));
    auto bmp = MakeBitmap(12, 10, kBack);
    const TRect r{2, 2, 10, 8};
    PaintItemBg(s, L"PANEL", EmptyCacheInfo, sNoColor, -1, -1, &manager, bmp.get(), TPoint{}, r, 0);
    EXPECT_TRUE(PixelsAre(bmp.get(), [&](int x, int y) { return Inside(r, x, y) ? RGB(10, 20, 30) : kBack; }));
}

TEST_F(ItemPainter, HotStateTakesTheHotColourAndACustomColourWinsOverBoth)
{
    const int s = AddSection(L"PANEL", RGB(10, 20, 30), [](TsGeneralData& gd) { gd.HotColor = RGB(70, 80, 90); });
    auto bmp = MakeBitmap(4, 4, kBack);
    PaintItemBg(s, L"PANEL", EmptyCacheInfo, sNoColor, -1, -1, &manager, bmp.get(), TPoint{}, TRect{0, 0, 4, 4}, 1);
    EXPECT_EQ(Get(bmp.get(), 1, 1), RGB(70, 80, 90));
    PaintItemBg(s, L"PANEL", EmptyCacheInfo, RGB(5, 6, 7), -1, -1, &manager, bmp.get(), TPoint{}, TRect{0, 0, 4, 4}, 1);
    EXPECT_EQ(Get(bmp.get(), 1, 1), RGB(5, 6, 7));
}

TEST_F(ItemPainter, GradientFortyIsMixedWithTheColourKeepingFortyPercentAndStaysInsideR)
{
    const COLORREF g = RGB(200, 100, 50), c = RGB(0, 50, 250);
    const int s = AddSection(L"PANEL", c, [&](TsGeneralData& gd) {
        gd.GradientPercent = 40;
        gd.GradientArray = FlatGradient(g);
    });
    auto bmp = MakeBitmap(12, 10, kBack);
    const TRect r{2, 2, 10, 8};
    PaintItemBg(s, L"PANEL", EmptyCacheInfo, sNoColor, -1, -1, &manager, bmp.get(), TPoint{}, r, 0);
    EXPECT_EQ(KeepPercent(g, c, 40), RGB(80, 70, 170));
    // The colour is mixed into R alone: the column and the row just past R keep the background.
    EXPECT_TRUE(PixelsAre(bmp.get(), [&](int x, int y) { return Inside(r, x, y) ? RGB(80, 70, 170) : kBack; }));
}

TEST_F(ItemPainter, GradientHundredIsThePureGradient)
{
    const int s = AddSection(L"PANEL", RGB(9, 9, 9), [](TsGeneralData& gd) {
        gd.GradientPercent = 100;
        ParseGradientData(L"$FF0000;255;50;0;0;255;$FF00;50;0;0", gd.GradientArray);
    });
    auto bmp = MakeBitmap(4, 100, kBack);
    PaintItemBg(s, L"PANEL", EmptyCacheInfo, sNoColor, -1, -1, &manager, bmp.get(), TPoint{}, TRect{0, 0, 4, 100}, 0);
    EXPECT_EQ(Get(bmp.get(), 2, 0), RGB(0, 0, 255));
    EXPECT_EQ(Get(bmp.get(), 2, 50), RGB(255, 0, 0));
    EXPECT_EQ(Get(bmp.get(), 2, 99), RGB(0, 255, 0));
}

TEST_F(ItemPainter, AnEmptyGradientTextPaintsTheColourInstead)
{
    const int s = AddSection(L"PANEL", RGB(30, 60, 90), [](TsGeneralData& gd) { gd.GradientPercent = 100; });
    auto bmp = MakeBitmap(5, 5, kBack);
    PaintItemBg(s, L"PANEL", EmptyCacheInfo, sNoColor, -1, -1, &manager, bmp.get(), TPoint{}, TRect{0, 0, 5, 5}, 0);
    EXPECT_TRUE(PixelsAre(bmp.get(), [](int, int) { return RGB(30, 60, 90); }));
}

TEST_F(ItemPainter, GradientOverATextureKeepsTheTextureInTheLastColumn)
{
    const COLORREF g = RGB(20, 220, 120);
    const int s = AddSection(L"PANEL", RGB(9, 9, 9), [&](TsGeneralData& gd) {
        gd.ImagePercent = 60;
        gd.GradientPercent = 40;
        gd.GradientArray = FlatGradient(g);
    });
    AddMask(L"PANEL", L"PATTERN", kTextureRect, 1, 0, 0);
    auto bmp = MakeBitmap(10, 8, kBack);
    const TRect r{1, 1, 9, 7};
    PaintItemBg(s, L"PANEL", EmptyCacheInfo, sNoColor, -1, -1, &manager, bmp.get(), TPoint{}, r, 0);
    EXPECT_TRUE(PixelsAre(bmp.get(), [&](int x, int y) {
        if (!Inside(r, x, y))
            return kBack;
        const COLORREF t = TexturePixel((x - 1) % 4, (y - 1) % 3);
        return x == r.Right - 1 ? t : Mix(t, g, 153);
    }));
}

TEST_F(ItemPainter, PercentagesAboveHundredKeepThePictureInBothPainters)
{
    const COLORREF g = RGB(20, 220, 120);
    const int s = AddSection(L"PANEL", RGB(9, 9, 9), [&](TsGeneralData& gd) {
        gd.ImagePercent = 60;
        gd.GradientPercent = 60;
        gd.GradientArray = FlatGradient(g);
    });
    const int texture = AddMask(L"PANEL", L"PATTERN", kTextureRect, 1, 0, 0);
    const TRect r{0, 0, 8, 6};
    auto normal = MakeBitmap(8, 6, kBack);
    PaintItemBg(s, L"PANEL", EmptyCacheInfo, sNoColor, -1, -1, &manager, normal.get(), TPoint{}, r, 0);
    auto fast = MakeBitmap(8, 6, kBack);
    PaintItemBgFast(s, texture, -1, &manager, fast.get(), TPoint{}, r, 0, EmptyCacheInfo, L"PANEL");
    auto expected = [&](int x, int y) {
        const COLORREF t = TexturePixel(x % 4, y % 3);
        return x == r.Right - 1 ? t : Mix(t, g, 153);
    };
    EXPECT_TRUE(PixelsAre(normal.get(), expected));
    EXPECT_TRUE(PixelsAre(fast.get(), expected));
}

TEST_F(ItemPainter, FastPainterKeepsAFullWeightTextureUnderItsGradient)
{
    const COLORREF g = RGB(20, 220, 120);
    const int s = AddSection(L"PANEL", RGB(9, 9, 9), [&](TsGeneralData& gd) {
        gd.ImagePercent = 100;
        gd.GradientPercent = 50;
        gd.GradientArray = FlatGradient(g);
    });
    const int texture = AddMask(L"PANEL", L"PATTERN", kTextureRect, 1, 0, 0);
    auto fast = MakeBitmap(8, 6, kBack);
    PaintItemBgFast(s, texture, -1, &manager, fast.get(), TPoint{}, TRect{0, 0, 8, 6}, 0, EmptyCacheInfo, L"PANEL");
    EXPECT_EQ(Get(fast.get(), 1, 1), Mix(TexturePixel(1, 1), g, 255));
    EXPECT_EQ(Get(fast.get(), 7, 1), TexturePixel(3, 1));
}

TEST_F(ItemPainter, TextureInModeTwoLeavesTheRestBelowItInTheColour)
{
    const int s = AddSection(L"PANEL", RGB(10, 20, 30), [](TsGeneralData& gd) { gd.ImagePercent = 100; });
    AddMask(L"PANEL", L"PATTERN", kTextureRect, 1, 0, 2);
    auto bmp = MakeBitmap(10, 9, kBack);
    const TRect r{1, 1, 9, 8};
    PaintItemBg(s, L"PANEL", EmptyCacheInfo, sNoColor, -1, -1, &manager, bmp.get(), TPoint{}, r, 0);
    EXPECT_TRUE(PixelsAre(bmp.get(), [&](int x, int y) {
        if (!Inside(r, x, y))
            return kBack;
        return y < 4 ? TexturePixel((x - 1) % 4, y - 1) : RGB(10, 20, 30);
    }));
}

TEST_F(ItemPainter, HotStateLooksUpTheHotPattern)
{
    const int s = AddSection(L"PANEL", RGB(10, 20, 30), [](TsGeneralData& gd) { gd.HotImagePercent = 100; });
    AddMask(L"PANEL", L"HOTPATTERN", kTextureRect, 1, 0, 0);
    auto bmp = MakeBitmap(8, 6, kBack);
    PaintItemBg(s, L"PANEL", EmptyCacheInfo, sNoColor, -1, -1, &manager, bmp.get(), TPoint{}, TRect{0, 0, 8, 6}, 1);
    EXPECT_TRUE(PixelsAre(bmp.get(), [](int x, int y) { return TexturePixel(x % 4, y % 3); }));
    PaintItemBg(s, L"PANEL", EmptyCacheInfo, sNoColor, -1, -1, &manager, bmp.get(), TPoint{}, TRect{0, 0, 8, 6}, 0);
    EXPECT_EQ(Get(bmp.get(), 2, 2), RGB(10, 20, 30));
}

TEST_F(ItemPainter, AMaskedTextureInModeTenIsLaidOverTheNormalStateOnly)
{
    const int s = AddSection(L"PANEL", RGB(10, 20, 30));
    const int texture = AddMask(L"PANEL", L"PATTERN", kMaskedRect, 1, 1, 10);
    auto cache = MakeCache();
    const TCacheInfo ci = MakeCacheInfo(cache.get(), 4, 5);
    const TRect r{0, 0, 8, 6};
    auto normal = MakeBitmap(8, 6, kBack);
    PaintItemBg(s, L"PANEL", ci, sNoColor, texture, -1, &manager, normal.get(), TPoint{}, r, 0);
    // Whole 3 x 2 tiles in columns 0..5 and rows 0..3; the strips beyond show the parent's cache.
    EXPECT_TRUE(PixelsAre(normal.get(), [](int x, int y) {
        if (x >= 6 || y >= 4)
            return CachePixel(4 + x, 5 + y);
        const COLORREF p = MaskedPixel(x % 3, y % 2);
        return p == kKey ? CachePixel(4 + x, 5 + y) : p;
    }));
    auto hot = MakeBitmap(8, 6, kBack);
    PaintItemBg(s, L"PANEL", ci, sNoColor, texture, -1, &manager, hot.get(), TPoint{}, r, 1);
    EXPECT_TRUE(PixelsAre(hot.get(), [](int, int) { return RGB(10, 20, 30); }));
}

// ---- Transparency against the parent's cache ----

TEST_F(ItemPainter, FullTransparencyShowsTheParentsPixelsExactly)
{
    const int s = AddSection(L"PANEL", RGB(10, 20, 30), [](TsGeneralData& gd) { gd.Transparency = 100; });
    auto cache = MakeCache();
    auto bmp = MakeBitmap(12, 10, kBack);
    const TRect r{2, 2, 10, 8};
    PaintItemBg(s, L"PANEL", MakeCacheInfo(cache.get(), 5, 6), sNoColor, -1, -1, &manager, bmp.get(), TPoint{1, 2}, r,
                0);
    EXPECT_TRUE(PixelsAre(
        bmp.get(), [&](int x, int y) { return Inside(r, x, y) ? CachePixel(5 + 1 + x - 2, 6 + 2 + y - 2) : kBack; }));
}

TEST_F(ItemPainter, FullTransparencyWithAReportedParentColourShowsThatColour)
{
    const int s = AddSection(L"PANEL", RGB(10, 20, 30), [](TsGeneralData& gd) { gd.Transparency = 100; });
    auto cache = MakeCache();
    auto bmp = MakeBitmap(6, 6, kBack);
    ParentBgColor = RGBToColor(9, 8, 7);
    PaintItemBg(s, L"PANEL", MakeCacheInfo(cache.get(), 5, 6), sNoColor, -1, -1, &manager, bmp.get(), TPoint{},
                TRect{0, 0, 6, 6}, 0);
    EXPECT_TRUE(PixelsAre(bmp.get(), [](int, int) { return RGB(9, 8, 7); }));
}

TEST_F(ItemPainter, FastPainterCopiesTheCacheEvenWhenTheParentReportedAColour)
{
    const int s = AddSection(L"PANEL", RGB(10, 20, 30), [](TsGeneralData& gd) { gd.Transparency = 100; });
    auto cache = MakeCache();
    auto bmp = MakeBitmap(6, 6, kBack);
    ParentBgColor = RGBToColor(9, 8, 7);
    PaintItemBgFast(s, -1, -1, &manager, bmp.get(), TPoint{}, TRect{0, 0, 6, 6}, 0, MakeCacheInfo(cache.get(), 5, 6),
                    L"PANEL");
    EXPECT_TRUE(PixelsAre(bmp.get(), [](int x, int y) { return CachePixel(5 + x, 6 + y); }));
}

TEST_F(ItemPainter, TransparencyThirtyGivesTheParentSeventySixOf256)
{
    const COLORREF e = RGB(200, 100, 10);
    const int s = AddSection(L"PANEL", e, [](TsGeneralData& gd) { gd.Transparency = 30; });
    auto cache = MakeCache();
    auto bmp = MakeBitmap(12, 10, kBack);
    const TRect r{2, 2, 10, 8};
    PaintItemBg(s, L"PANEL", MakeCacheInfo(cache.get(), 5, 6), sNoColor, -1, -1, &manager, bmp.get(), TPoint{}, r, 0);
    EXPECT_TRUE(PixelsAre(bmp.get(), [&](int x, int y) {
        if (!Inside(r, x, y))
            return kBack;
        const COLORREF p = CachePixel(5 + x - 2, 6 + y - 2);
        auto one = [](int pc, int ec) { return static_cast<BYTE>((pc * 76 + ec * 179 + 127) >> 8); };
        return RGB(one(GetRValue(p), GetRValue(e)), one(GetGValue(p), GetGValue(e)), one(GetBValue(p), GetBValue(e)));
    }));
}

TEST_F(ItemPainter, WithoutAReadyCacheATransparentSectionIsPaintedSolid)
{
    const int s = AddSection(L"PANEL", RGB(10, 20, 30), [](TsGeneralData& gd) { gd.Transparency = 50; });
    auto bmp = MakeBitmap(6, 6, kBack);
    PaintItemBg(s, L"PANEL", EmptyCacheInfo, sNoColor, -1, -1, &manager, bmp.get(), TPoint{}, TRect{0, 0, 6, 6}, 0);
    EXPECT_TRUE(PixelsAre(bmp.get(), [](int, int) { return RGB(10, 20, 30); }));
}

// ---- The texture painter's draw modes ----

TEST_F(ItemPainter, ModeZeroTilesAllOfRAndCutsTheLastColumnAndRow)
{
    TRect r{1, 1, 11, 8};
    auto bmp = Texture(0, r);
    EXPECT_EQ(r, kDoneRect);
    const TRect all{1, 1, 11, 8};
    EXPECT_TRUE(PixelsAre(
        bmp.get(), [&](int x, int y) { return Inside(all, x, y) ? TexturePixel((x - 1) % 4, (y - 1) % 3) : kBack; }));
}

TEST_F(ItemPainter, ModeOneStretchesTheImageOverR)
{
    TRect r{1, 1, 9, 7};
    auto bmp = Texture(1, r);
    EXPECT_EQ(r, kDoneRect);
    const TRect all{1, 1, 9, 7};
    EXPECT_TRUE(PixelsAre(
        bmp.get(), [&](int x, int y) { return Inside(all, x, y) ? TexturePixel((x - 1) / 2, (y - 1) / 2) : kBack; }));
}

TEST_F(ItemPainter, ModesTwoAndSixTileOneRowAlongTheTopOrBottomEdge)
{
    TRect top{1, 1, 11, 8};
    auto first = Texture(2, top);
    EXPECT_EQ(top, (TRect{1, 4, 11, 8}));
    EXPECT_TRUE(PixelsAre(first.get(), [](int x, int y) {
        return x >= 1 && x < 11 && y >= 1 && y < 4 ? TexturePixel((x - 1) % 4, y - 1) : kBack;
    }));
    TRect bottom{1, 1, 11, 8};
    auto second = Texture(6, bottom);
    EXPECT_EQ(bottom, (TRect{1, 1, 11, 5}));
    EXPECT_TRUE(PixelsAre(second.get(), [](int x, int y) {
        return x >= 1 && x < 11 && y >= 5 && y < 8 ? TexturePixel((x - 1) % 4, y - 5) : kBack;
    }));
}

TEST_F(ItemPainter, ModeThreeTilesOneColumnAlongTheLeftEdge)
{
    TRect r{1, 1, 11, 8};
    auto bmp = Texture(3, r);
    EXPECT_EQ(r, (TRect{5, 1, 11, 8}));
    EXPECT_TRUE(PixelsAre(bmp.get(), [](int x, int y) {
        return x >= 1 && x < 5 && y >= 1 && y < 8 ? TexturePixel(x - 1, (y - 1) % 3) : kBack;
    }));
}

TEST_F(ItemPainter, ModesFourAndFiveStretchAlongOneEdge)
{
    TRect top{1, 1, 9, 8};
    auto first = Texture(4, top);
    EXPECT_EQ(top, (TRect{1, 4, 9, 8}));
    EXPECT_TRUE(PixelsAre(first.get(), [](int x, int y) {
        return x >= 1 && x < 9 && y >= 1 && y < 4 ? TexturePixel((x - 1) / 2, y - 1) : kBack;
    }));
    TRect left{1, 1, 11, 7};
    auto second = Texture(5, left);
    EXPECT_EQ(left, (TRect{5, 1, 11, 7}));
    EXPECT_TRUE(PixelsAre(second.get(), [](int x, int y) {
        return x >= 1 && x < 5 && y >= 1 && y < 7 ? TexturePixel(x - 1, (y - 1) / 2) : kBack;
    }));
}

TEST_F(ItemPainter, ModeSevenTilesAllButCountsOnlyTheRightStripAsDrawn)
{
    TRect r{1, 1, 11, 8};
    auto bmp = Texture(7, r);
    EXPECT_EQ(r, (TRect{1, 1, 7, 8}));
    EXPECT_EQ(Get(bmp.get(), 1, 1), TexturePixel(0, 0));
    EXPECT_EQ(Get(bmp.get(), 10, 7), TexturePixel(1, 0));
}

TEST_F(ItemPainter, UnsettledModesTileAllAndHandBackTheRightColumn)
{
    for (int mode : {8, 9, 11, 14}) {
        TRect r{1, 1, 11, 8};
        auto bmp = Texture(mode, r);
        EXPECT_EQ(r, (TRect{7, 1, 11, 8})) << mode;
        EXPECT_EQ(Get(bmp.get(), 2, 2), TexturePixel(1, 1)) << mode;
    }
}

TEST_F(ItemPainter, ModeTenDrawsWholeRowsAndHandsBackTheStripBelow)
{
    TRect r{1, 1, 11, 8};
    auto bmp = Texture(10, r);
    // Two whole rows of tiles (rows 1..6); the last column (9..10) is cut at the right edge.
    EXPECT_EQ(r, (TRect{1, 7, 11, 8}));
    EXPECT_TRUE(PixelsAre(bmp.get(), [](int x, int y) {
        return x >= 1 && x < 11 && y >= 1 && y < 7 ? TexturePixel((x - 1) % 4, (y - 1) % 3) : kBack;
    }));
}

TEST_F(ItemPainter, ModeTenDrawsARowThatEndsExactlyAtTheBottom)
{
    TRect r{1, 1, 11, 7};
    auto bmp = Texture(10, r);
    EXPECT_EQ(r, kDoneRect);
    EXPECT_EQ(Get(bmp.get(), 3, 6), TexturePixel(2, 2));
}

TEST_F(ItemPainter, ATextureInModeTenFillsTheStripBelowWithTheColour)
{
    const int s = AddSection(L"PANEL", RGB(10, 20, 30), [](TsGeneralData& gd) { gd.ImagePercent = 100; });
    AddMask(L"PANEL", L"PATTERN", kTextureRect, 1, 0, 10);
    auto bmp = MakeBitmap(8, 7, kBack);
    PaintItemBg(s, L"PANEL", EmptyCacheInfo, sNoColor, -1, -1, &manager, bmp.get(), TPoint{}, TRect{0, 0, 8, 7}, 0);
    EXPECT_TRUE(
        PixelsAre(bmp.get(), [](int x, int y) { return y < 6 ? TexturePixel(x % 4, y % 3) : RGB(10, 20, 30); }));
}

TEST_F(ItemPainter, AnOwnBitmapIsTiledFromTheTopLeftWhateverTheMode)
{
    auto image = PaintedBitmap(3, 2, [](int x, int y) { return RGB(x * 50, y * 50, 9); });
    auto bmp = MakeBitmap(9, 6, kBack);
    TRect r{1, 1, 8, 6};
    PaintTexture(bmp->Canvas(), r, image.get(), 2, TsMaskData{});
    EXPECT_EQ(r, kDoneRect);
    EXPECT_TRUE(PixelsAre(bmp.get(), [](int x, int y) {
        return x >= 1 && x < 8 && y >= 1 ? RGB((x - 1) % 3 * 50, (y - 1) % 2 * 50, 9) : kBack;
    }));
}

TEST_F(ItemPainter, AJpegPatternIsTiledInsideROnlyWhenTheSectionHasNoTextureImage)
{
    const COLORREF flat = RGB(40, 120, 200);
    auto source = MakeBitmap(5, 4, flat);
    auto jpeg = std::make_shared<TJPEGImage>();
    jpeg->SetCompressionQuality(100);
    jpeg->Assign(source.get());
    TsPatternData pattern;
    pattern.Img = jpeg;
    pattern.ClassName = L"PANEL";
    pattern.PropertyName = L"PATTERN";
    manager.Patterns.push_back(pattern);
    const int s = AddSection(L"PANEL", RGB(10, 20, 30), [](TsGeneralData& gd) { gd.ImagePercent = 100; });
    auto bmp = MakeBitmap(14, 11, kBack);
    const TRect r{1, 2, 12, 10};
    PaintItemBg(s, L"PANEL", EmptyCacheInfo, sNoColor, -1, -1, &manager, bmp.get(), TPoint{}, r, 0);
    auto closeTo = [](COLORREF a, COLORREF b) {
        return std::abs(GetRValue(a) - GetRValue(b)) <= 2 && std::abs(GetGValue(a) - GetGValue(b)) <= 2 &&
               std::abs(GetBValue(a) - GetBValue(b)) <= 2;
    };
    for (int y = 0; y < 11; ++y)
        for (int x = 0; x < 14; ++x) {
            const COLORREF got = Get(bmp.get(), x, y);
            if (Inside(r, x, y))
                ASSERT_TRUE(closeTo(got, flat)) << x << "," << y << " " << Describe(got);
            else
                ASSERT_EQ(got, kBack) << x << "," << y;
        }
}

TEST_F(ItemPainter, AnEmptyGraphicWithoutAManagerDrawsNothing)
{
    TBitmap empty;
    auto bmp = MakeBitmap(6, 6, kBack);
    TRect r{1, 1, 5, 5};
    PaintTexture(bmp->Canvas(), r, &empty, 0, TsMaskData{});
    EXPECT_EQ(r, (TRect{1, 1, 5, 5}));
    EXPECT_TRUE(PixelsAre(bmp.get(), [](int, int) { return kBack; }));
}

// ---- The masked pattern painter ----

TEST_F(ItemPainter, MaskedModeZeroCoversAllOfRWithCutLastColumnAndRow)
{
    const int index = AddMask(L"X", L"PATTERN", kMaskedRect, 1, 1, 0);
    auto bmp = MakeBitmap(12, 10, kBack);
    TRect r{1, 1, 9, 6};
    PaintMaskedPattern(bmp.get(), r, EmptyCacheInfo, 0, Mask(index));
    EXPECT_EQ(r, kDoneRect);
    const TRect all{1, 1, 9, 6};
    EXPECT_TRUE(PixelsAre(bmp.get(), [&](int x, int y) {
        if (!Inside(all, x, y))
            return kBack;
        const COLORREF p = MaskedPixel((x - 1) % 3, (y - 1) % 2);
        return p == kKey ? kBack : p;
    }));
}

TEST_F(ItemPainter, MaskedModeTenFillsTheUncoveredStripsFromTheCache)
{
    const int index = AddMask(L"X", L"PATTERN", kMaskedRect, 1, 1, 10);
    auto cache = MakeCache();
    auto bmp = MakeBitmap(12, 10, kBack);
    TRect r{1, 1, 9, 6};
    PaintMaskedPattern(bmp.get(), r, MakeCacheInfo(cache.get(), 3, 4), 10, Mask(index));
    EXPECT_EQ(r, kDoneRect);
    const TRect all{1, 1, 9, 6};
    EXPECT_TRUE(PixelsAre(bmp.get(), [&](int x, int y) {
        if (!Inside(all, x, y))
            return kBack;
        if (x >= 7 || y >= 5)
            return CachePixel(3 + x, 4 + y);
        const COLORREF p = MaskedPixel((x - 1) % 3, (y - 1) % 2);
        return p == kKey ? CachePixel(3 + x, 4 + y) : p;
    }));
}

TEST_F(ItemPainter, MaskedModeTenFillsTheStripsWithTheFillColourWithoutACache)
{
    const int index = AddMask(L"X", L"PATTERN", kMaskedRect, 1, 1, 10);
    auto bmp = MakeBitmap(12, 10, kBack);
    TRect r{1, 1, 9, 6};
    TransFillColor = RGBToColor(5, 55, 155);
    PaintMaskedPattern(bmp.get(), r, EmptyCacheInfo, 10, Mask(index));
    EXPECT_EQ(Get(bmp.get(), 8, 1), RGB(5, 55, 155));
    EXPECT_EQ(Get(bmp.get(), 1, 5), RGB(5, 55, 155));
    EXPECT_EQ(Get(bmp.get(), 1, 1), RGB(5, 55, 155));
    EXPECT_EQ(Get(bmp.get(), 2, 1), MaskedPixel(1, 0));
}

TEST_F(ItemPainter, MaskedModeTenNarrowerThanATileStaysInsideR)
{
    const int index = AddMask(L"X", L"PATTERN", kMaskedRect, 1, 1, 10);
    auto cache = MakeCache();
    auto bmp = MakeBitmap(8, 9, kBack);
    TRect r{2, 3, 4, 7};
    PaintMaskedPattern(bmp.get(), r, MakeCacheInfo(cache.get(), 3, 4), 10, Mask(index));
    const TRect all{2, 3, 4, 7};
    EXPECT_TRUE(
        PixelsAre(bmp.get(), [&](int x, int y) { return Inside(all, x, y) ? CachePixel(3 + x, 4 + y) : kBack; }));
}

TEST_F(ItemPainter, MaskedPatternInAnotherModeDrawsNothingAndKeepsR)
{
    const int index = AddMask(L"X", L"PATTERN", kMaskedRect, 1, 1, 2);
    auto bmp = MakeBitmap(8, 8, kBack);
    TRect r{1, 1, 7, 7};
    PaintMaskedPattern(bmp.get(), r, EmptyCacheInfo, 2, Mask(index));
    EXPECT_EQ(r, (TRect{1, 1, 7, 7}));
    EXPECT_TRUE(PixelsAre(bmp.get(), [](int, int) { return kBack; }));
}

// ---- Window-region runs of a mask's corners ----

class RegionRuns : public ItemPainter {
protected:
    // Two frames 8 wide and 6 high over their mask rows; the key pixels of the first frame are listed,
    // the second frame is all key colour and must never be read.
    TsMaskData RegionMask()
    {
        const std::vector<std::pair<int, int>> keys = {{0, 0}, {1, 0}, {2, 0}, {5, 0}, {6, 0}, {7, 0}, {0, 1},
                                                       {2, 1}, {7, 1}, {0, 5}, {1, 5}, {6, 5}, {7, 5}};
        auto bmp = PaintedBitmap(16, 12, [&](int x, int y) {
            if (x >= 8)
                return kKey;
            for (const auto& k : keys)
                if (k.first == x && k.second == y)
                    return kKey;
            return RGB(50, 50, 50);
        });
        TsMaskData md = OwnMask(bmp, 2, 1, 0);
        md.WL = md.WR = 3;
        md.WT = md.WB = 2;
        return md;
    }
};

TEST_F(RegionRuns, TopCornersGiveOneRowRunsPlacedForTheWindowWidth)
{
    std::vector<TRect> rects{TRect{7, 7, 8, 8}};
    AddRgnFromMask(rects, 100, RegionMask(), false, 10);
    const std::vector<TRect> expected = {TRect{7, 7, 8, 8},   TRect{0, 10, 3, 11}, TRect{97, 10, 100, 11},
                                         TRect{0, 11, 1, 12}, TRect{2, 11, 3, 12}, TRect{99, 11, 100, 12}};
    EXPECT_EQ(rects, expected);
}

TEST_F(RegionRuns, BottomCornersStartAtTheFramesBottomBorder)
{
    std::vector<TRect> rects;
    AddRgnFromMask(rects, 40, RegionMask(), true, 50);
    const std::vector<TRect> expected = {TRect{0, 51, 2, 52}, TRect{38, 51, 40, 52}};
    EXPECT_EQ(rects, expected);
}

TEST_F(RegionRuns, AShortBitmapOrAMissingManagerAddsNothing)
{
    TsMaskData md = RegionMask();
    md.R.bottom = 40;
    std::vector<TRect> rects;
    AddRgnFromMask(rects, 100, md, true, 0);
    EXPECT_TRUE(rects.empty());
    md = RegionMask();
    md.Manager = nullptr;
    AddRgnFromMask(rects, 100, md, false, 0);
    EXPECT_TRUE(rects.empty());
}

// ---- Borders, corner images and the whole-control painter ----

TEST_F(ItemPainter, PaintItemByIndexDrawsTheBorderMaskOverTheBackground)
{
    const int s = AddSection(L"PANEL", RGB(10, 20, 30));
    AddMask(L"PANEL", L"BORDERSMASK", kFrameRect, 1, 0, 0, itisaBorder);
    auto bmp = MakeBitmap(10, 8, kBack);
    const TRect r{1, 1, 9, 7};
    PaintItemByIndex(s, L"PANEL", EmptyCacheInfo, -1, -1, &manager, bmp.get(), TPoint{}, r, 0, false);
    EXPECT_TRUE(PixelsAre(bmp.get(), [&](int x, int y) {
        if (!Inside(r, x, y))
            return kBack;
        return x == 1 || y == 1 || x == 8 || y == 6 ? kFrameColor : RGB(10, 20, 30);
    }));
}

TEST_F(ItemPainter, PaintItemFastUsesTheIndexesGivenWithoutLookups)
{
    const int s = AddSection(L"PANEL", RGB(10, 20, 30), [](TsGeneralData& gd) { gd.ImagePercent = 100; });
    AddMask(L"PANEL", L"PATTERN", kTextureRect, 1, 0, 0);
    const int border = AddMask(L"OTHER", L"BORDERSMASK", kFrameRect, 1, 0, 0, itisaBorder);
    auto bmp = MakeBitmap(8, 6, kBack);
    PaintItemFast(s, border, -1, -1, &manager, bmp.get(), TPoint{}, TRect{0, 0, 8, 6}, 0, false, EmptyCacheInfo,
                  L"PANEL");
    EXPECT_EQ(Get(bmp.get(), 0, 0), kFrameColor);
    EXPECT_EQ(Get(bmp.get(), 3, 3), RGB(10, 20, 30));
}

TEST_F(ItemPainter, PaintItemToDCPaintsTheElementAtR)
{
    const int s = AddSection(L"PANEL", RGB(10, 20, 30), [](TsGeneralData& gd) { gd.ImagePercent = 100; });
    AddMask(L"PANEL", L"PATTERN", kTextureRect, 1, 0, 0);
    AddMask(L"PANEL", L"BORDERSMASK", kFrameRect, 1, 0, 0, itisaBorder);
    auto target = MakeBitmap(16, 12, kBack);
    const TRect r{3, 4, 13, 10};
    PaintItemToDC(s, L"PANEL", EmptyCacheInfo, &manager, target->Canvas()->Handle(), TPoint{}, r, 0, false);
    auto alone = MakeBitmap(10, 6, kBack);
    PaintItemByIndex(s, L"PANEL", EmptyCacheInfo, -1, -1, &manager, alone.get(), TPoint{}, TRect{0, 0, 10, 6}, 0,
                     false);
    EXPECT_EQ(Get(alone.get(), 0, 0), kFrameColor);
    EXPECT_EQ(Get(alone.get(), 2, 2), TexturePixel(2, 2));
    EXPECT_TRUE(PixelsAre(
        target.get(), [&](int x, int y) { return Inside(r, x, y) ? Get(alone.get(), x - r.Left, y - r.Top) : kBack; }));
}

TEST_F(ItemPainter, PaintItemToDCWithAnEmptyOrNegativeRectDoesNothing)
{
    const int s = AddSection(L"PANEL", RGB(10, 20, 30));
    auto target = MakeBitmap(8, 8, kBack);
    PaintItemToDC(s, L"PANEL", EmptyCacheInfo, &manager, target->Canvas()->Handle(), TPoint{}, TRect{2, 2, 2, 6}, 0,
                  true);
    PaintItemToDC(s, L"PANEL", EmptyCacheInfo, &manager, target->Canvas()->Handle(), TPoint{}, TRect{-1, 2, 4, 6}, 0,
                  true);
    EXPECT_TRUE(PixelsAre(target.get(), [](int, int) { return kBack; }));
}

class WholeItems : public ItemPainter {
protected:
    void SetUp() override
    {
        ItemPainter::SetUp();
        data = std::make_unique<TsCommonData>(nullptr, false);
        data->SetSkinManager(&manager);
    }
    void TearDown() override
    {
        data.reset();
        ItemPainter::TearDown();
    }
    void UseSection(const std::wstring& name)
    {
        data->SetSkinSection(name);
        data->UpdateIndexes();
    }
    std::unique_ptr<TsCommonData> data;
};

TEST_F(WholeItems, AMenuItemHasNoBorderInTheNormalStateButHasOneWhenHot)
{
    AddSection(L"MENUITEM", RGB(10, 20, 30));
    AddMask(L"MENUITEM", L"BORDERSMASK", kFrameRect, 1, 0, 0, itisaBorder);
    UseSection(L"MENUITEM");
    auto normal = MakeBitmap(6, 6, kBack);
    PaintItem(data.get(), EmptyCacheInfo, false, false, normal.get(), TPoint{}, TRect{0, 0, 6, 6}, 0);
    EXPECT_EQ(Get(normal.get(), 0, 0), RGB(10, 20, 30));
    auto hot = MakeBitmap(6, 6, kBack);
    PaintItem(data.get(), EmptyCacheInfo, false, false, hot.get(), TPoint{}, TRect{0, 0, 6, 6}, 1);
    EXPECT_EQ(Get(hot.get(), 0, 0), kFrameColor);
    EXPECT_EQ(Get(hot.get(), 3, 3), RGB(10, 20, 30));
}

TEST_F(WholeItems, OtherSectionsShowTheirBorderInTheNormalState)
{
    AddSection(L"BUTTON", RGB(10, 20, 30));
    AddMask(L"BUTTON", L"BORDERSMASK", kFrameRect, 1, 0, 0, itisaBorder);
    UseSection(L"BUTTON");
    auto bmp = MakeBitmap(6, 6, kBack);
    PaintItem(data.get(), EmptyCacheInfo, true, false, bmp.get(), TPoint{}, TRect{0, 0, 6, 6}, 0);
    EXPECT_EQ(Get(bmp.get(), 0, 0), kFrameColor);
}

TEST_F(WholeItems, CornerImagesSitAtTheCornersOfR)
{
    AddSection(L"BUTTON", RGB(10, 20, 30));
    const wchar_t* names[] = {L"IMGTOPLEFT", L"IMGTOPRIGHT", L"IMGBTMLEFT", L"IMGBTMRIGHT"};
    for (int i = 0; i < 4; ++i)
        AddMask(L"BUTTON", names[i], RECT{2 * i, 8, 2 * i + 2, 10}, 1, 0, 0, itisaGlyph);
    UseSection(L"BUTTON");
    auto bmp = MakeBitmap(14, 12, kBack);
    const TRect r{3, 2, 11, 9};
    PaintItem(data.get(), EmptyCacheInfo, true, false, bmp.get(), TPoint{}, r, 0);
    EXPECT_TRUE(PixelsAre(bmp.get(), [&](int x, int y) {
        if (!Inside(r, x, y))
            return kBack;
        const bool left = x < r.Left + 2, right = x >= r.Right - 2, top = y < r.Top + 2, bottom = y >= r.Bottom - 2;
        if (top && left)
            return kCornerColors[0];
        if (top && right)
            return kCornerColors[1];
        if (bottom && left)
            return kCornerColors[2];
        if (bottom && right)
            return kCornerColors[3];
        return RGB(10, 20, 30);
    }));
}

TEST_F(WholeItems, TheOwnersColourReplacesTheSectionsWithCustomColor)
{
    AddSection(L"PANEL", RGB(10, 20, 30));
    auto owner = MakePanel(RGBToColor(120, 130, 140));
    TsCommonData own(owner.get(), false);
    own.SetSkinManager(&manager);
    own.SetSkinSection(L"PANEL");
    own.UpdateIndexes();
    own.SetCustomColor(true);
    auto bmp = MakeBitmap(4, 4, kBack);
    PaintItem(&own, EmptyCacheInfo, true, false, bmp.get(), TPoint{}, TRect{0, 0, 4, 4}, 0);
    EXPECT_TRUE(PixelsAre(bmp.get(), [](int, int) { return RGB(120, 130, 140); }));
}

TEST_F(WholeItems, WithoutACacheTheParentsColourFillsKeyCornersAndIsForgottenAfterwards)
{
    AddSection(L"PANEL", RGB(10, 20, 30));
    // A masked frame image: its key-colour top-left pixel lets the parent show through.
    AddMask(L"PANEL", L"BORDERSMASK", kMaskedRect, 1, 1, 0, itisaBorder);
    auto parent = MakePanel(RGBToColor(66, 77, 88));
    auto owner = MakePanel(clWhite);
    owner->SetParent(parent.get());
    TsCommonData own(owner.get(), false);
    own.SetSkinManager(&manager);
    own.SetSkinSection(L"PANEL");
    own.UpdateIndexes();
    auto bmp = MakeBitmap(6, 6, kBack);
    PaintItem(&own, EmptyCacheInfo, true, false, bmp.get(), TPoint{}, TRect{0, 0, 6, 6}, 0);
    owner->SetParent(nullptr);
    EXPECT_EQ(Get(bmp.get(), 0, 0), RGB(66, 77, 88));
    EXPECT_EQ(TransFillColor, sNoColor);
    EXPECT_EQ(ParentBgColor, sNoColor);
}

// ---- Calls that paint nothing ----

TEST_F(WholeItems, BadArgumentsPaintNothing)
{
    const int s = AddSection(L"PANEL", RGB(10, 20, 30));
    AddMask(L"PANEL", L"BORDERSMASK", kFrameRect, 1, 0, 0, itisaBorder);
    UseSection(L"PANEL");
    auto bmp = MakeBitmap(6, 6, kBack);
    const TRect outside{2, 2, 7, 6};
    PaintItem(data.get(), EmptyCacheInfo, true, false, nullptr, TPoint{}, TRect{0, 0, 6, 6}, 0);
    PaintItem(data.get(), EmptyCacheInfo, true, false, bmp.get(), TPoint{}, outside, 0);
    PaintItem(data.get(), EmptyCacheInfo, true, false, bmp.get(), TPoint{}, TRect{-1, 0, 3, 3}, 0);
    PaintItemByIndex(s, L"PANEL", EmptyCacheInfo, -1, -1, &manager, nullptr, TPoint{}, TRect{0, 0, 6, 6}, 0, true);
    PaintItemByIndex(s, L"PANEL", EmptyCacheInfo, -1, -1, &manager, bmp.get(), TPoint{}, outside, 0, true);
    PaintItemByIndex(s, L"PANEL", EmptyCacheInfo, -1, -1, &manager, bmp.get(), TPoint{}, TRect{3, 3, 3, 5}, 0, true);
    PaintItemByIndex(s + 1, L"PANEL", EmptyCacheInfo, -1, -1, &manager, bmp.get(), TPoint{}, TRect{0, 0, 6, 6}, 0,
                     true);
    PaintItemFast(-1, 0, -1, -1, &manager, bmp.get(), TPoint{}, TRect{0, 0, 6, 6}, 0, true, EmptyCacheInfo, L"PANEL");
    PaintItemFast(s, 0, -1, -1, &manager, bmp.get(), TPoint{}, outside, 0, true, EmptyCacheInfo, L"PANEL");
    PaintItemFast(s, 0, -1, -1, &manager, bmp.get(), TPoint{}, TRect{4, 4, 2, 2}, 0, true, EmptyCacheInfo, L"PANEL");
    PaintItemBg(s, L"PANEL", EmptyCacheInfo, sNoColor, -1, -1, &manager, bmp.get(), TPoint{}, TRect{4, 4, 2, 2}, 0);
    PaintItemBgFast(7, -1, -1, &manager, bmp.get(), TPoint{}, TRect{0, 0, 6, 6}, 0, EmptyCacheInfo, L"PANEL");
    data->SkinIndex = 5;
    PaintItem(data.get(), EmptyCacheInfo, true, false, bmp.get(), TPoint{}, TRect{0, 0, 6, 6}, 0);
    EXPECT_TRUE(PixelsAre(bmp.get(), [](int, int) { return kBack; }));
}

// A second manager outlives the first, default one: the background painters then paint nothing, the
// border still comes.
class WithoutDefaultManager : public ::testing::Test {
protected:
    static void SetUpTestSuite() { StartSkinLibrary(); }
    static void TearDownTestSuite() { FinishSkinLibrary(); }
};

TEST_F(WithoutDefaultManager, NoManagerAtAllPaintsNothing)
{
    ASSERT_EQ(DefaultManager(), nullptr);
    auto bmp = MakeBitmap(6, 6, kBack);
    PaintItemByIndex(0, L"PANEL", EmptyCacheInfo, -1, -1, nullptr, bmp.get(), TPoint{}, TRect{0, 0, 6, 6}, 0, true);
    PaintItemBg(0, L"PANEL", EmptyCacheInfo, sNoColor, -1, -1, nullptr, bmp.get(), TPoint{}, TRect{0, 0, 6, 6}, 0);
    PaintItemToDC(0, L"PANEL", EmptyCacheInfo, nullptr, bmp->Canvas()->Handle(), TPoint{}, TRect{0, 0, 6, 6}, 0, true);
    EXPECT_TRUE(PixelsAre(bmp.get(), [](int, int) { return kBack; }));
}

TEST_F(WithoutDefaultManager, ThePassedManagersBorderIsDrawnButNotItsBackground)
{
    auto first = std::make_unique<TsSkinManager>();
    auto second = std::make_unique<TsSkinManager>();
    first.reset();
    ASSERT_EQ(DefaultManager(), nullptr);
    TsGeneralData gd;
    gd.ClassName = L"PANEL";
    gd.Color = static_cast<std::int32_t>(RGB(10, 20, 30));
    second->Sections.push_back(gd);
    TsMaskData md;
    md.ClassName = L"PANEL";
    md.PropertyName = L"BORDERSMASK";
    md.Bmp = PaintedBitmap(12, 4, [](int, int) { return kFrameColor; });
    md.R = RECT{0, 0, 12, 4};
    md.ImageCount = 3;
    md.WL = md.WT = md.WR = md.WB = 1;
    md.Manager = second.get();
    second->Masks.push_back(md);
    auto bmp = MakeBitmap(6, 6, kBack);
    PaintItemByIndex(0, L"PANEL", EmptyCacheInfo, -1, -1, second.get(), bmp.get(), TPoint{}, TRect{0, 0, 6, 6}, 0,
                     false);
    EXPECT_EQ(Get(bmp.get(), 0, 0), kFrameColor);
    EXPECT_EQ(Get(bmp.get(), 3, 3), kBack);
}

// ---- Work bitmaps ----

TEST(WorkBitmaps, FactoriesMakeDeviceIndependentBitmapsOfTheirFormat)
{
    auto b24 = CreateBmp24(5, 3);
    EXPECT_EQ(b24->PixelFormat(), pf24bit);
    EXPECT_EQ(b24->HandleType(), bmDIB);
    EXPECT_EQ(b24->Width(), 5);
    EXPECT_EQ(b24->Height(), 3);
    auto b32 = CreateBmp32(2, 7);
    EXPECT_EQ(b32->PixelFormat(), pf32bit);
    EXPECT_EQ(b32->Height(), 7);
    auto like = CreateBmpLike(b32.get());
    EXPECT_EQ(like->PixelFormat(), pf24bit);
    EXPECT_EQ(like->Width(), 2);
    EXPECT_EQ(like->Height(), 7);
    EXPECT_TRUE(CreateBmp24(-4, 2)->Empty());
}

// ---- A skin read from its text ----

namespace {

// A texture of the master bitmap in draw mode 2 under a colour, and a menu item with a masked border.
const char kSkinText[] = "[GLOBALINFO]\r\n"
                         "VERSION=6.5\r\n"
                         "MASTERBITMAP=MASTER.BMP\r\n"
                         "[PANEL]\r\n"
                         "COLOR=0x102030\r\n"
                         "IMAGEPERCENT=100\r\n"
                         "PATTERN=~0040~0000~0056~0016~02\r\n"
                         "[MENUITEM]\r\n"
                         "COLOR=0x405060\r\n"
                         "HOTCOLOR=0x708090\r\n"
                         "BORDERSMASK=^0000^0013^0030^0043^0003^0003^0003^0003^3^1^1^0\r\n";

COLORREF SkinColor(std::uint32_t value) { return RGB(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF); }

} // namespace

class ItemsFromSkinText : public testsupport::TempFolderTest {
protected:
    static void SetUpTestSuite() { StartSkinLibrary(); }
    static void TearDownTestSuite() { FinishSkinLibrary(); }
    void SetUp() override
    {
        TempFolderTest::SetUp();
        testsupport::WriteFileBytes(Folder() + L"\\Painter\\Options.dat", kSkinText);
        testsupport::WriteFileBytes(Folder() + L"\\Painter\\MASTER.BMP", testskin::MasterBitmapFile());
        sm.SetSkinDirectory(Folder());
        sm.SetSkinName(L"Painter");
    }
    TsSkinManager sm;
};

TEST_F(ItemsFromSkinText, ATextureRowInModeTwoLeavesTheColourBelow)
{
    const int s = FindSectionIndex(&sm, L"PANEL");
    ASSERT_GE(s, 0);
    auto bmp = MakeBitmap(20, 30, kBack);
    PaintItemByIndex(s, L"PANEL", EmptyCacheInfo, -1, -1, &sm, bmp.get(), TPoint{}, TRect{0, 0, 20, 30}, 0, true);
    // The 16-pixel texture is flat with key-colour corners; the row below it is the section's colour.
    EXPECT_EQ(Get(bmp.get(), 5, 5), testskin::kPanelColor);
    EXPECT_EQ(Get(bmp.get(), 17, 10), testskin::kPanelColor);
    EXPECT_EQ(Get(bmp.get(), 0, 0), testskin::kKeyColor);
    EXPECT_EQ(Get(bmp.get(), 5, 16), SkinColor(0x102030));
    EXPECT_EQ(Get(bmp.get(), 19, 29), SkinColor(0x102030));
}

TEST_F(ItemsFromSkinText, AMenuItemIsBorderedOnlyWhenHot)
{
    auto item = std::make_unique<TsCommonData>(nullptr, false);
    item->SetSkinManager(&sm);
    item->SetSkinSection(L"MENUITEM");
    ASSERT_GE(item->BorderIndex, 0);
    auto normal = MakeBitmap(20, 12, kBack);
    PaintItem(item.get(), EmptyCacheInfo, false, false, normal.get(), TPoint{}, TRect{0, 0, 20, 12}, 0);
    EXPECT_EQ(Get(normal.get(), 10, 0), SkinColor(0x405060));
    auto hot = MakeBitmap(20, 12, kBack);
    PaintItem(item.get(), EmptyCacheInfo, false, false, hot.get(), TPoint{}, TRect{0, 0, 20, 12}, 1);
    EXPECT_NE(Get(hot.get(), 10, 0), SkinColor(0x708090));
    EXPECT_EQ(Get(hot.get(), 10, 6), SkinColor(0x708090));
}
