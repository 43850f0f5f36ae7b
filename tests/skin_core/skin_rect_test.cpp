// The nine-part frame: corners, tiled and stretched sides and centre at several sizes, borders that do
// not fit, state frames, key-colour corners against the parent's cache, masked pieces, and rectangles
// that paint nothing.
#include "skin/core/sMaskPainter.h"
#include "skin/core/sVclUtils.h"
#include "tests/skin_core/paint_support.h"

using namespace painttest;

namespace {

constexpr COLORREF kBack = RGB(1, 2, 3);
constexpr int kFrame = 9;

bool IsKeySpot(int lx, int ly) { return (lx == 0 && ly == 0) || (lx == kFrame - 1 && ly == kFrame - 1); }

// Every pixel of every state frame differs; the top-left and bottom-right pixels are the key colour.
COLORREF FramePixel(int frame, int lx, int ly)
{
    if (IsKeySpot(lx, ly))
        return kKey;
    return RGB(10 + 80 * frame, 10 + 25 * lx, 10 + 25 * ly);
}

// Where a target column (or row) of a frame of size Size takes its pixel with 3-pixel borders tiled.
int Tiled(int x, int size)
{
    if (x < 3)
        return x;
    if (x >= size - 3)
        return 6 + x - (size - 3);
    return 3 + (x - 3) % 3;
}

COLORREF CachePixel(int x, int y) { return RGB(x * 5, 250 - y * 5, 77); }

} // namespace

class SkinRects : public PaintTest {
protected:
    // Three 9 x 9 state frames side by side; masked images have their mask rows (0 = image) below.
    TsMaskData Mask(int maskType, int stretchMode = 0)
    {
        auto bmp = PaintedBitmap(3 * kFrame, kFrame * (maskType + 1), [](int x, int y) {
            return y < kFrame ? FramePixel(x / kFrame, x % kFrame, y) : RGB(0, 0, 0);
        });
        TsMaskData md = OwnMask(bmp, 3, maskType, 3);
        md.StretchMode = static_cast<std::int16_t>(stretchMode);
        return md;
    }
    // Draws into a bitmap 2 pixels larger on every side than the frame.
    std::unique_ptr<TBitmap> Draw(const TsMaskData& md, int w, int h, int state, bool filling = true,
                                  const TCacheInfo& ci = EmptyCacheInfo, bool updateCorners = false)
    {
        auto bmp = MakeBitmap(w + 4, h + 4, kBack);
        DrawSkinRect(bmp.get(), TRect{2, 2, 2 + w, 2 + h}, filling, ci, md, state, updateCorners);
        return bmp;
    }
};

TEST_F(SkinRects, TiledFrameMatchesItsNinePiecesAtSeveralSizes)
{
    const TsMaskData md = Mask(0);
    const int sizes[][2] = {{6, 6}, {7, 8}, {9, 9}, {10, 13}, {17, 11}, {23, 7}};
    for (const auto& size : sizes) {
        const int w = size[0], h = size[1];
        auto bmp = Draw(md, w, h, 1);
        EXPECT_TRUE(PixelsAre(bmp.get(), [&](int x, int y) {
            if (x < 2 || y < 2 || x >= w + 2 || y >= h + 2)
                return kBack;
            const int lx = Tiled(x - 2, w), ly = Tiled(y - 2, h);
            return IsKeySpot(lx, ly) ? kBack : FramePixel(1, lx, ly);
        })) << w << " x " << h;
    }
}

TEST_F(SkinRects, StretchedSidesAndCentreSpreadTheirPieces)
{
    const TsMaskData md = Mask(0, 1);
    auto bmp = Draw(md, 12, 12, 0);
    // Middles are 6 pixels from 3-pixel pieces: each source pixel twice.
    auto stretched = [](int x) { return x < 3 ? x : x >= 9 ? x - 3 : 3 + (x - 3) / 2; };
    EXPECT_TRUE(PixelsAre(bmp.get(), [&](int x, int y) {
        if (x < 2 || y < 2 || x >= 14 || y >= 14)
            return kBack;
        const int lx = stretched(x - 2), ly = stretched(y - 2);
        return IsKeySpot(lx, ly) ? kBack : FramePixel(0, lx, ly);
    }));
}

TEST_F(SkinRects, StateBeyondTheImageCountDrawsTheLastFrame)
{
    const TsMaskData md = Mask(0);
    auto bmp = Draw(md, 9, 9, 7);
    EXPECT_EQ(Get(bmp.get(), 6, 6), FramePixel(2, 4, 4));
    auto first = Draw(md, 9, 9, -3);
    EXPECT_EQ(Get(first.get(), 6, 6), FramePixel(0, 4, 4));
}

TEST_F(SkinRects, BordersThatDoNotFitGiveUpHalfTheExcessEach)
{
    auto bmp = PaintedBitmap(15, 15, [](int x, int y) { return RGB(10 * x, 10 * y, 5); });
    TsMaskData md = OwnMask(bmp, 1, 0, 6);
    // 10 wide: both borders become 5; the right one is source columns 10..14.
    auto even = MakeBitmap(10, 15, kBack);
    DrawSkinRect(even.get(), TRect{0, 0, 10, 15}, true, EmptyCacheInfo, md, 0, false);
    EXPECT_EQ(Get(even.get(), 4, 7), RGB(40, 70, 5));
    EXPECT_EQ(Get(even.get(), 5, 7), RGB(100, 70, 5));
    EXPECT_EQ(Get(even.get(), 9, 7), RGB(140, 70, 5));
    // 9 wide: the odd width takes one more from the right: left 5, right 4 (columns 11..14).
    auto odd = MakeBitmap(9, 15, kBack);
    DrawSkinRect(odd.get(), TRect{0, 0, 9, 15}, true, EmptyCacheInfo, md, 0, false);
    EXPECT_EQ(Get(odd.get(), 4, 7), RGB(40, 70, 5));
    EXPECT_EQ(Get(odd.get(), 5, 7), RGB(110, 70, 5));
    EXPECT_EQ(Get(odd.get(), 8, 7), RGB(140, 70, 5));
}

TEST_F(SkinRects, CentreIsLeftWithoutFillingOrWhenThePlainImageHasABorderWidth)
{
    TsMaskData md = Mask(0);
    auto unfilled = Draw(md, 9, 9, 0, false);
    EXPECT_EQ(Get(unfilled.get(), 6, 6), kBack);
    EXPECT_EQ(Get(unfilled.get(), 6, 2), FramePixel(0, 4, 0));
    md.BorderWidth = 3;
    auto bordered = Draw(md, 9, 9, 0, true);
    EXPECT_EQ(Get(bordered.get(), 6, 6), kBack);
    EXPECT_EQ(Get(bordered.get(), 2, 6), FramePixel(0, 0, 4));
}

TEST_F(SkinRects, PlainCornersShowTheParentCacheOnlyWhenAsked)
{
    const TsMaskData md = Mask(0);
    auto cache = PaintedBitmap(40, 40, CachePixel);
    const TCacheInfo ci = MakeCacheInfo(cache.get(), 10, 20);
    auto asked = Draw(md, 9, 9, 0, true, ci, true);
    EXPECT_EQ(Get(asked.get(), 2, 2), CachePixel(12, 22));
    EXPECT_EQ(Get(asked.get(), 10, 10), CachePixel(20, 30));
    auto notAsked = Draw(md, 9, 9, 0, true, ci, false);
    EXPECT_EQ(Get(notAsked.get(), 2, 2), kBack);
}

TEST_F(SkinRects, MaskedCornersShowCacheOrFillWhileSidesAreBlendedWhateverTheirColour)
{
    TsMaskData md = Mask(1);
    // A key pixel in the top side (frame 0, local (4, 0)) and a half mask under local (4, 1).
    Set(md.Bmp.get(), 4, 0, kKey);
    Set(md.Bmp.get(), 4, kFrame + 1, RGB(128, 128, 128));
    auto cache = PaintedBitmap(40, 40, CachePixel);

    auto ready = Draw(md, 9, 9, 0, true, MakeCacheInfo(cache.get(), 3, 4));
    EXPECT_EQ(Get(ready.get(), 2, 2), CachePixel(5, 6));
    EXPECT_EQ(Get(ready.get(), 10, 10), CachePixel(13, 14));
    EXPECT_EQ(Get(ready.get(), 6, 2), kKey) << "a side takes no cache";
    const COLORREF s = FramePixel(0, 4, 1);
    EXPECT_EQ(Get(ready.get(), 6, 3), RGB(MaskBlend(GetRValue(kBack), GetRValue(s), 128),
                                          MaskBlend(GetGValue(kBack), GetGValue(s), 128),
                                          MaskBlend(GetBValue(kBack), GetBValue(s), 128)));
    EXPECT_EQ(Get(ready.get(), 7, 7), FramePixel(0, 5, 5));

    TransFillColor = RGBToColor(9, 8, 7);
    auto filled = Draw(md, 9, 9, 0);
    EXPECT_EQ(Get(filled.get(), 2, 2), RGB(9, 8, 7));
    TransFillColor = sNoColor;
    auto plain = Draw(md, 9, 9, 0);
    EXPECT_EQ(Get(plain.get(), 2, 2), kKey);
}

TEST_F(SkinRects, MaskedFrameTilesLikeThePlainOne)
{
    const TsMaskData md = Mask(1);
    auto bmp = Draw(md, 17, 11, 2);
    EXPECT_TRUE(PixelsAre(bmp.get(), [&](int x, int y) {
        if (x < 2 || y < 2 || x >= 19 || y >= 13)
            return kBack;
        const int lx = Tiled(x - 2, 17), ly = Tiled(y - 2, 11);
        return IsKeySpot(lx, ly) ? kKey : FramePixel(2, lx, ly);
    }));
}

TEST_F(SkinRects, FramePartlyOutsideTheBitmapPaintsOnlyItsVisiblePart)
{
    for (int maskType : {0, 1}) {
        const TsMaskData md = Mask(maskType);
        auto bmp = MakeBitmap(6, 6, kBack);
        DrawSkinRect(bmp.get(), TRect{-3, -4, 6, 6}, true, EmptyCacheInfo, md, 0, false);
        EXPECT_TRUE(PixelsAre(bmp.get(), [&](int x, int y) {
            const int lx = Tiled(x + 3, 9), ly = Tiled(y + 4, 10);
            return IsKeySpot(lx, ly) ? (maskType ? kKey : kBack) : FramePixel(0, lx, ly);
        })) << "mask type " << maskType;
    }
}

TEST_F(SkinRects, DegenerateRectanglesAndImagesPaintNothing)
{
    TsMaskData md = Mask(0);
    auto bmp = MakeBitmap(12, 12, kBack);
    DrawSkinRect(bmp.get(), TRect{2, 2, 3, 10}, true, EmptyCacheInfo, md, 0, false);
    DrawSkinRect(bmp.get(), TRect{2, 2, 10, 3}, true, EmptyCacheInfo, md, 0, false);
    DrawSkinRect(bmp.get(), TRect{20, 20, 30, 30}, true, EmptyCacheInfo, md, 0, false);
    DrawSkinRect(bmp.get(), TRect{-30, -30, -20, -20}, true, EmptyCacheInfo, md, 0, false);
    DrawSkinRect(nullptr, TRect{2, 2, 10, 10}, true, EmptyCacheInfo, md, 0, false);
    TsMaskData noManager = md;
    noManager.Manager = nullptr;
    DrawSkinRect(bmp.get(), TRect{2, 2, 10, 10}, true, EmptyCacheInfo, noManager, 0, false);
    TsMaskData noFrames = md;
    noFrames.ImageCount = 0;
    DrawSkinRect(bmp.get(), TRect{2, 2, 10, 10}, true, EmptyCacheInfo, noFrames, 0, false);
    TsMaskData noImage = md;
    noImage.Bmp.reset();
    DrawSkinRect(bmp.get(), TRect{2, 2, 10, 10}, true, EmptyCacheInfo, noImage, 0, false);
    EXPECT_TRUE(PixelsAre(bmp.get(), [](int, int) { return kBack; }));
}

TEST_F(SkinRects, CacheCornersTakeTheParentBackgroundBackOnlyWhereSelected)
{
    const TsMaskData md = Mask(1);
    auto cache = MakeBitmap(9, 9, kBack);
    DrawSkinRect(cache.get(), TRect{0, 0, 9, 9}, true, EmptyCacheInfo, md, 1, false);
    ASSERT_EQ(Get(cache.get(), 0, 0), kKey);
    auto parent = PaintedBitmap(40, 40, CachePixel);
    RepaintCacheCorners(cache.get(), md, 1, kCornerTopLeft, MakeCacheInfo(parent.get(), 6, 7), sNoColor);
    EXPECT_EQ(Get(cache.get(), 0, 0), CachePixel(6, 7));
    EXPECT_EQ(Get(cache.get(), 8, 8), kKey);
    EXPECT_EQ(Get(cache.get(), 1, 0), FramePixel(1, 1, 0));
    RepaintCacheCorners(cache.get(), md, 1, kAllCorners, EmptyCacheInfo, RGBToColor(3, 2, 1));
    EXPECT_EQ(Get(cache.get(), 8, 8), RGB(3, 2, 1));
    EXPECT_EQ(Get(cache.get(), 0, 0), RGB(3, 2, 1));
    EXPECT_EQ(Get(cache.get(), 1, 1), FramePixel(1, 1, 1)) << "only key pixels of the image are repaired";
}

TEST_F(SkinRects, CacheCornersOfAnImageWithoutCountReadItAsThreeMaskedFrames)
{
    TsMaskData md = Mask(1);
    auto cache = MakeBitmap(9, 9, kBack);
    DrawSkinRect(cache.get(), TRect{0, 0, 9, 9}, true, EmptyCacheInfo, md, 2, false);
    md.ImageCount = 0;
    md.MaskType = 0;
    RepaintCacheCorners(cache.get(), md, 2, kCornerBottomRight, EmptyCacheInfo, RGBToColor(3, 2, 1));
    EXPECT_EQ(Get(cache.get(), 8, 8), RGB(3, 2, 1));
    EXPECT_EQ(Get(cache.get(), 0, 0), kKey);
}
