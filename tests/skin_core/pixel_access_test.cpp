// The shared pixel-access objects: their life through the start-up steps, what they bind and how they
// read pixels of bottom-up DIB sections.
#include "skin/core/sPixels.h"
#include "tests/skin_core/paint_support.h"

using namespace painttest;

TEST(PixelAccessStartup, SharedObjectsLiveFromStartUpToShutdown)
{
    TStartup startup;
    AddPixelAccessStartupStep(startup);
    EXPECT_FALSE(Fast24);
    startup.Start();
    ASSERT_TRUE(Fast24);
    ASSERT_TRUE(FastSum24);
    ASSERT_TRUE(Fast32);
    startup.Finish();
    EXPECT_FALSE(Fast24);
    EXPECT_FALSE(FastSum24);
    EXPECT_FALSE(Fast32);
    startup.Start();
    EXPECT_TRUE(Fast24) << "a second start makes the objects again";
    startup.Finish();
}

TEST(PixelAccessStartup, PaintingWithoutTheSharedObjectsDrawsNothing)
{
    auto dst = MakeBitmap(4, 4, RGB(1, 2, 3));
    auto src = MakeBitmap(4, 4, RGB(200, 100, 50));
    SumBitmapsByRect(dst.get(), src.get(), 0, TPoint{0, 0}, TRect{0, 0, 4, 4});
    EXPECT_TRUE(PixelsAre(dst.get(), [](int, int) { return RGB(1, 2, 3); }));
}

class PixelAccess : public PaintTest {};

TEST_F(PixelAccess, GetPixelAnswersRedInTheLowByte)
{
    auto bmp = MakeBitmap(3, 2, 0);
    Set(bmp.get(), 2, 1, RGB(10, 20, 30));
    ASSERT_TRUE(Fast24->Attach(bmp.get()));
    EXPECT_EQ(Fast24->GetPixel(2, 1), RGBToColor(10, 20, 30));
    EXPECT_EQ(Fast24->Width, 3);
    EXPECT_EQ(Fast24->Height, 2);
}

TEST_F(PixelAccess, RowDeltaIsSignedForBottomUpSections)
{
    auto bmp = MakeBitmap(5, 3, 0);
    ASSERT_TRUE(Fast24->Attach(bmp.get()));
    const auto* row0 = static_cast<std::uint8_t*>(bmp->ScanLine(0));
    const auto* row2 = static_cast<std::uint8_t*>(bmp->ScanLine(2));
    EXPECT_EQ(Fast24->Start + 2 * Fast24->Delta, row2);
    EXPECT_EQ(Fast24->Start, row0);
    EXPECT_LT(Fast24->Delta, 0);
}

TEST_F(PixelAccess, BitmapsBelowTwoPixelsAreNotBound)
{
    auto narrow = MakeBitmap(1, 5, 0);
    auto low = MakeBitmap(5, 1, 0);
    auto fine = MakeBitmap(2, 2, 0);
    ASSERT_TRUE(Fast24->Attach(fine.get()));
    EXPECT_FALSE(Fast24->Attach(narrow.get()));
    EXPECT_EQ(Fast24->Width, 0);
    EXPECT_FALSE(Fast24->Attach(low.get()));
    EXPECT_FALSE(Fast24->Attach(nullptr));
    EXPECT_FALSE(FastSum24->Attach(fine.get(), narrow.get()));
    EXPECT_TRUE(FastSum24->Attach(fine.get(), fine.get()));
}

TEST_F(PixelAccess, EachObjectBindsOnlyItsOwnDepth)
{
    // A 24-bit walk over an 8-bit bitmap would step past the end of its rows.
    auto bmp8 = MakeBitmap(4, 4, 0);
    bmp8->SetPixelFormat(pf8bit);
    auto bmp32 = MakeBitmap(4, 4, RGB(7, 8, 9), pf32bit);
    auto bmp24 = MakeBitmap(4, 4, 0);
    EXPECT_FALSE(Fast24->Attach(bmp8.get()));
    EXPECT_FALSE(Fast24->Attach(bmp32.get()));
    EXPECT_FALSE(Fast32->Attach(bmp24.get()));
    ASSERT_TRUE(Fast32->Attach(bmp32.get()));
    EXPECT_EQ(Fast32->GetPixel(3, 3) & 0xFFFFFF, RGBToColor(7, 8, 9));
    EXPECT_FALSE(FastSum24->Attach(bmp24.get(), bmp32.get()));
}
