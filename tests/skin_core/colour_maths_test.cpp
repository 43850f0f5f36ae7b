// Colour arithmetic: mixes rounded to nearest with ties to even, saturation moves towards and away from
// grey, hue turns around the wheel in both directions, and greys that no turn can change.
#include "skin/core/sTextColors.h"

#include <gtest/gtest.h>

namespace {

constexpr TColor Rgb(int r, int g, int b) { return RGBToColor(r, g, b); }

} // namespace

TEST(MixColors, FactorWeighsTheFirstColourAgainstTheSecond)
{
    EXPECT_EQ(MixColors(clBlack, clWhite, 0.4), Rgb(153, 153, 153));
    EXPECT_EQ(MixColors(Rgb(10, 20, 30), Rgb(200, 100, 0), 1.0), Rgb(10, 20, 30));
    EXPECT_EQ(MixColors(Rgb(10, 20, 30), Rgb(200, 100, 0), 0.0), Rgb(200, 100, 0));
}

TEST(MixColors, HalvesRoundTiesToEven)
{
    // 0.5 * (1 - 0) + 0 = 0.5 -> 0; 0.5 * 3 = 1.5 -> 2; 0.5 * 5 = 2.5 -> 2.
    EXPECT_EQ(MixColors(Rgb(1, 3, 5), clBlack, 0.5), Rgb(0, 2, 2));
}

TEST(MixColors, ResultHasNoTopByteAndStaysWithinBytes)
{
    EXPECT_EQ(MixColors(static_cast<TColor>(0x7F102030), static_cast<TColor>(0x7F102030), 0.3), 0x102030);
    // Factors outside 0..1 push channels past a byte: they stop at 0 and 255 instead of running into the
    // neighbouring channel.
    EXPECT_EQ(MixColors(Rgb(250, 5, 128), Rgb(5, 250, 128), 2.0), Rgb(255, 0, 128));
}

TEST(ChangeSaturation, ZeroReturnsTheColourItselfTopByteIncluded)
{
    EXPECT_EQ(ChangeSaturation(Rgb(200, 100, 0), 0), Rgb(200, 100, 0));
    EXPECT_EQ(ChangeSaturation(clBtnFace, 0), clBtnFace);
}

TEST(ChangeSaturation, HundredGivesTheAverageGrey)
{
    EXPECT_EQ(ChangeSaturation(Rgb(200, 100, 0), 100), Rgb(100, 100, 100));
    // Average 1/3 rounds to 0 in every channel.
    EXPECT_EQ(ChangeSaturation(Rgb(1, 0, 0), 100), Rgb(0, 0, 0));
}

TEST(ChangeSaturation, NegativePercentPushesAwayFromGreyAndClamps)
{
    // avg 100: 200 + (-100) * 1 = 100 farther -> 300 -> 255; 100 stays; 0 - 100 -> 0.
    EXPECT_EQ(ChangeSaturation(Rgb(200, 100, 0), -100), Rgb(255, 100, 0));
    // 50 %: 200 - 50 = 150, 0 + 50 = 50.
    EXPECT_EQ(ChangeSaturation(Rgb(200, 100, 0), 50), Rgb(150, 100, 50));
}

TEST(ChangeSaturation, GreyStaysGreyWhateverThePercent)
{
    EXPECT_EQ(ChangeSaturation(Rgb(77, 77, 77), -100), Rgb(77, 77, 77));
    EXPECT_EQ(ChangeSaturation(Rgb(77, 77, 77), 60), Rgb(77, 77, 77));
}

TEST(ChangeHue, PrimariesTurnIntoEachOther)
{
    EXPECT_EQ(ChangeHue(120, clRed), clLime);
    EXPECT_EQ(ChangeHue(240, clRed), clBlue);
    EXPECT_EQ(ChangeHue(120, clLime), clBlue);
    EXPECT_EQ(ChangeHue(0, Rgb(200, 100, 50)), Rgb(200, 100, 50));
}

TEST(ChangeHue, TurnsWrapAroundTheWheel)
{
    EXPECT_EQ(ChangeHue(360, clRed), clRed);
    EXPECT_EQ(ChangeHue(480, clRed), clLime);
    // Blue is at 240: 240 + 180 = 420 wraps to 60, yellow.
    EXPECT_EQ(ChangeHue(180, clBlue), clYellow);
}

TEST(ChangeHue, NegativeTurnsGoBackwards)
{
    EXPECT_EQ(ChangeHue(-120, clRed), clBlue);
    EXPECT_EQ(ChangeHue(-120, clLime), clRed);
    EXPECT_EQ(ChangeHue(-480, clRed), clBlue);
    EXPECT_EQ(ChangeHue(-360, Rgb(200, 100, 50)), Rgb(200, 100, 50));
}

TEST(ChangeHue, GreysAndBlackComeBackUnchanged)
{
    EXPECT_EQ(ChangeHue(90, clBlack), clBlack);
    EXPECT_EQ(ChangeHue(90, Rgb(128, 128, 128)), Rgb(128, 128, 128));
    EXPECT_EQ(ChangeHue(-45, clWhite), clWhite);
}

TEST(ChangeHue, InBetweenHuesKeepValueAndSaturation)
{
    // (200, 100, 0): V 200, S 1, H 30. Turned by 60 to 90: sector 1, f 0.5: q = 100, V, p = 0.
    EXPECT_EQ(ChangeHue(60, Rgb(200, 100, 0)), Rgb(100, 200, 0));
    // (200, 150, 100): S 0.5, H 30; by 90 to 120: sector 2, f 0: p = 100, V, t = 100.
    EXPECT_EQ(ChangeHue(90, Rgb(200, 150, 100)), Rgb(100, 200, 100));
}

TEST(ChangeHue, SystemColoursAreResolvedFirst)
{
    const TColor face = ColorToRGB(clBtnFace);
    EXPECT_EQ(ChangeHue(120, clBtnFace), ChangeHue(120, face));
    EXPECT_EQ(ChangeHue(120, clBtnFace) & 0xFF000000, 0);
}

TEST(ColorNoAlpha, KeepsTheValueWhole)
{
    EXPECT_EQ(ColorNoAlpha(static_cast<TColor>(0x12345678)), static_cast<TColor>(0x12345678));
}
