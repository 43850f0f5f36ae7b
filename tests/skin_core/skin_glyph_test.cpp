// State glyphs: the frame a state picks, the key colour never painted, the faded look, glyphs from the
// master bitmap, and glyphs partly outside the bitmap.
#include "skin/core/sMaskPainter.h"
#include "tests/skin_core/paint_support.h"

using namespace painttest;

namespace {

constexpr COLORREF kBack = RGB(100, 100, 100);
constexpr int kW = 4, kH = 3;

COLORREF GlyphPixel(int frame, int lx, int ly)
{
    if (lx == 0 && ly == 0)
        return kKey;
    return RGB(10 + 80 * frame, 10 + 30 * lx, 10 + 30 * ly);
}

COLORREF Blend(COLORREF d, COLORREF s, int m)
{
    const auto b = [&](int dc, int sc) { return MaskBlend(static_cast<std::uint8_t>(dc), static_cast<std::uint8_t>(sc), static_cast<std::uint8_t>(m)); };
    return RGB(b(GetRValue(d), GetRValue(s)), b(GetGValue(d), GetGValue(s)), b(GetBValue(d), GetBValue(s)));
}

} // namespace

class SkinGlyphs : public PaintTest {
protected:
    // Three 4 x 3 frames; with a mask, rows 3..5 hold it (0, except 200 under local (3, 2) of each).
    std::shared_ptr<TBitmap> Image(int maskType)
    {
        return PaintedBitmap(3 * kW, kH * (maskType + 1), [](int x, int y) {
            if (y < kH)
                return GlyphPixel(x / kW, x % kW, y);
            return x % kW == 3 && y == kH + 2 ? RGB(200, 200, 200) : RGB(0, 0, 0);
        });
    }
    TsMaskData Own(int maskType) { return OwnMask(Image(maskType), 3, maskType, 0); }
    TsMaskData FromMaster(int maskType)
    {
        manager.MasterBitmap = MakeBitmap(3 * kW + 2, kH * (maskType + 1) + 1, RGB(0, 0, 0));
        auto image = Image(maskType);
        for (int y = 0; y < image->Height(); ++y)
            for (int x = 0; x < image->Width(); ++x)
                Set(manager.MasterBitmap.get(), x + 2, y + 1, Get(image.get(), x, y));
        TsMaskData md = OwnMask(image, 3, maskType, 0);
        md.Bmp.reset();
        md.R = RECT{2, 1, 2 + 3 * kW, 1 + kH * (maskType + 1)};
        return md;
    }
    // The glyph of Frame at P, as Mode 1 paints it: image pixels over the background, key pixels not at all.
    std::function<COLORREF(int, int)> Expected(int frame, TPoint p)
    {
        return [=](int x, int y) {
            const int lx = x - p.X, ly = y - p.Y;
            if (lx < 0 || ly < 0 || lx >= kW || ly >= kH)
                return kBack;
            const COLORREF s = GlyphPixel(frame, lx, ly);
            return s == kKey ? kBack : s;
        };
    }
};

TEST_F(SkinGlyphs, StateChoosesItsFrameAndLargeStatesTheLast)
{
    for (int maskType : {0, 1}) {
        const TsMaskData md = Own(maskType);
        auto bmp = MakeBitmap(8, 6, kBack);
        DrawSkinGlyph(bmp.get(), TPoint{2, 1}, 1, md, 1);
        // Where the mask is 200 the background shows through.
        EXPECT_TRUE(PixelsAre(bmp.get(), [&](int x, int y) {
            if (maskType && x == 5 && y == 3)
                return Blend(kBack, GlyphPixel(1, 3, 2), 200);
            return Expected(1, TPoint{2, 1})(x, y);
        })) << "mask type " << maskType;
        auto last = MakeBitmap(8, 6, kBack);
        DrawSkinGlyph(last.get(), TPoint{2, 1}, 9, md, 1);
        EXPECT_EQ(Get(last.get(), 3, 1), GlyphPixel(2, 1, 0));
    }
}

TEST_F(SkinGlyphs, MasterBitmapGlyphsSkipTheKeyColour)
{
    for (int maskType : {0, 1}) {
        const TsMaskData md = FromMaster(maskType);
        auto bmp = MakeBitmap(8, 6, kBack);
        DrawSkinGlyph(bmp.get(), TPoint{1, 2}, 2, md, 1);
        EXPECT_EQ(Get(bmp.get(), 1, 2), kBack);
        EXPECT_EQ(Get(bmp.get(), 2, 2), GlyphPixel(2, 1, 0));
        EXPECT_EQ(Get(bmp.get(), 1, 4), GlyphPixel(2, 0, 2));
        EXPECT_EQ(Get(bmp.get(), 5, 2), kBack);
    }
}

TEST_F(SkinGlyphs, FadedMaskedGlyphLetsMoreBackgroundThrough)
{
    const TsMaskData md = Own(1);
    auto bmp = MakeBitmap(8, 6, kBack);
    DrawSkinGlyph(bmp.get(), TPoint{0, 0}, 0, md, 2);
    EXPECT_EQ(Get(bmp.get(), 1, 0), Blend(kBack, GlyphPixel(0, 1, 0), 100));
    EXPECT_EQ(Get(bmp.get(), 3, 2), Blend(kBack, GlyphPixel(0, 3, 2), 255));
    EXPECT_EQ(Get(bmp.get(), 0, 0), kBack);
}

TEST_F(SkinGlyphs, FadedPlainMasterGlyphIsHalfwayRoundedToEven)
{
    const TsMaskData md = FromMaster(0);
    auto bmp = MakeBitmap(8, 6, RGB(1, 1, 1));
    DrawSkinGlyph(bmp.get(), TPoint{0, 0}, 0, md, 0);
    // (10 + 1) / 2 = 5.5 -> 6; (40 + 1) / 2 = 20.5 -> 20.
    EXPECT_EQ(Get(bmp.get(), 1, 0), RGB(6, 20, 6));
    EXPECT_EQ(Get(bmp.get(), 0, 0), RGB(1, 1, 1));
}

TEST_F(SkinGlyphs, GlyphPartlyOffTheLeftShowsNothingOfTheNextFrame)
{
    for (int maskType : {0, 1}) {
        const TsMaskData md = Own(maskType);
        auto bmp = MakeBitmap(8, 6, kBack);
        DrawSkinGlyph(bmp.get(), TPoint{-2, -1}, 0, md, 1);
        EXPECT_TRUE(PixelsAre(bmp.get(), [&](int x, int y) {
            if (maskType && x == 1 && y == 1)
                return Blend(kBack, GlyphPixel(0, 3, 2), 200);
            return Expected(0, TPoint{-2, -1})(x, y);
        })) << "mask type " << maskType;
    }
}

TEST_F(SkinGlyphs, GlyphPartlyOffTheRightAndBottomIsCut)
{
    for (int maskType : {0, 1}) {
        const TsMaskData md = Own(maskType);
        auto bmp = MakeBitmap(8, 6, kBack);
        DrawSkinGlyph(bmp.get(), TPoint{6, 4}, 0, md, 1);
        EXPECT_TRUE(PixelsAre(bmp.get(), Expected(0, TPoint{6, 4}))) << "mask type " << maskType;
    }
}

TEST_F(SkinGlyphs, MissingBitmapsOrFramesPaintNothing)
{
    auto bmp = MakeBitmap(8, 6, kBack);
    TsMaskData md = FromMaster(1);
    md.ImageCount = 0;
    DrawSkinGlyph(bmp.get(), TPoint{0, 0}, 0, md, 1);
    md = FromMaster(1);
    md.Manager = nullptr;
    DrawSkinGlyph(bmp.get(), TPoint{0, 0}, 0, md, 1);
    DrawSkinGlyph(nullptr, TPoint{0, 0}, 0, Own(1), 1);
    DrawSkinGlyph(bmp.get(), TPoint{20, 20}, 0, Own(1), 1);
    DrawSkinGlyph(bmp.get(), TPoint{-20, 0}, 0, Own(0), 1);
    EXPECT_TRUE(PixelsAre(bmp.get(), [](int, int) { return kBack; }));
}
