// The gradient text parser and the gradient painter.
#include "skin/core/sGradient.h"

#include "framework/Graphics.h"
#include "framework/System.h"

#include "tests/support/test_support.h"

namespace {

TEST(GradientData, GroupsOfFiveGiveStops)
{
    TsGradArray stops;
    ParseGradientData(L"$FF0000;255;50;0;0;255;$FF00;50;0;0", stops);
    ASSERT_EQ(stops.size(), 2u);
    EXPECT_EQ(stops[0].Color1, 0xFF0000);
    EXPECT_EQ(stops[0].Color2, 255);
    EXPECT_EQ(stops[0].Percent, 50);
    EXPECT_EQ(stops[0].Mode, 0);
    EXPECT_EQ(stops[1].Color2, 0xFF00);
    EXPECT_EQ(stops[1].Reserved, 0);
}

TEST(GradientData, IncompleteGroupsAreIgnored)
{
    TsGradArray stops;
    ParseGradientData(L"1;2;3;1;9;4;5", stops);
    ASSERT_EQ(stops.size(), 1u);
    EXPECT_EQ(stops[0].Mode, 1);
    ParseGradientData(L"1;2;3;4", stops);
    EXPECT_TRUE(stops.empty());
    ParseGradientData(L" ", stops);
    EXPECT_TRUE(stops.empty());
    ParseGradientData(L"", stops);
    EXPECT_TRUE(stops.empty());
}

TEST(GradientData, PercentIsCappedAtOneHundred)
{
    TsGradArray stops;
    ParseGradientData(L"0;0;300;0;0", stops);
    ASSERT_EQ(stops.size(), 1u);
    EXPECT_EQ(stops[0].Percent, 100);
}

TEST(GradientData, EmptyFieldsDoNotCountAsWords)
{
    TsGradArray stops;
    ParseGradientData(L";;1;;2;3;4;5;;", stops);
    ASSERT_EQ(stops.size(), 1u);
    EXPECT_EQ(stops[0].Color1, 1);
    EXPECT_EQ(stops[0].Color2, 2);
}

TEST(GradientData, NonNumberRaisesConvertError)
{
    TsGradArray stops;
    EXPECT_THROW(ParseGradientData(L"red;0;50;0;0", stops), EConvertError);
}

// A 24-bit bitmap filled with one colour, and its pixels read by scan line.
std::unique_ptr<TBitmap> Filled(int width, int height, COLORREF color)
{
    auto bmp = std::make_unique<TBitmap>();
    bmp->SetPixelFormat(pf24bit);
    bmp->SetSize(width, height);
    RECT all{0, 0, width, height};
    HBRUSH brush = CreateSolidBrush(color);
    FillRect(bmp->Canvas()->Handle(), &all, brush);
    DeleteObject(brush);
    return bmp;
}

COLORREF PixelAt(TBitmap* bmp, int x, int y)
{
    const auto* p = static_cast<const std::uint8_t*>(bmp->ScanLine(y)) + 3 * x;
    return RGB(p[2], p[1], p[0]);
}

TsGradArray Stops(const wchar_t* text)
{
    TsGradArray stops;
    ParseGradientData(text, stops);
    return stops;
}

TEST(GradientPainter, VerticalBandsShareTheirBoundaryRow)
{
    auto bmp = Filled(3, 100, RGB(1, 2, 3));
    PaintGradient(bmp.get(), TRect{0, 0, 3, 100}, Stops(L"$FF0000;255;50;0;0;255;$FF00;50;0;0"));
    EXPECT_EQ(PixelAt(bmp.get(), 1, 0), RGB(0, 0, 255));
    EXPECT_EQ(PixelAt(bmp.get(), 1, 10), RGB(51, 0, 204));
    EXPECT_EQ(PixelAt(bmp.get(), 1, 50), RGB(255, 0, 0));
    EXPECT_EQ(PixelAt(bmp.get(), 2, 99), RGB(0, 255, 0));
}

TEST(GradientPainter, TheLastStopAlwaysRunsToTheBottom)
{
    auto bmp = Filled(2, 10, RGB(1, 2, 3));
    PaintGradient(bmp.get(), TRect{0, 0, 2, 10}, Stops(L"0;$900000;30;0;0"));
    EXPECT_EQ(PixelAt(bmp.get(), 0, 0), RGB(0, 0, 0));
    EXPECT_EQ(PixelAt(bmp.get(), 0, 9), RGB(0, 0, 0x90));
    EXPECT_EQ(PixelAt(bmp.get(), 1, 3), RGB(0, 0, 48));
}

TEST(GradientPainter, HorizontalBandsFollowTheirPercentages)
{
    auto bmp = Filled(200, 2, RGB(1, 2, 3));
    PaintGradient(bmp.get(), TRect{0, 0, 200, 2}, Stops(L"0;200;25;1;0;$C8;$C80000;75;1;0"));
    EXPECT_EQ(PixelAt(bmp.get(), 0, 1), RGB(0, 0, 0));
    EXPECT_EQ(PixelAt(bmp.get(), 25, 1), RGB(100, 0, 0));
    EXPECT_EQ(PixelAt(bmp.get(), 50, 1), RGB(200, 0, 0));
    EXPECT_EQ(PixelAt(bmp.get(), 199, 0), RGB(0, 0, 200));
}

TEST(GradientPainter, FourTrianglesWithOneStopPaintOneColour)
{
    auto bmp = Filled(8, 6, RGB(1, 2, 3));
    PaintGradient(bmp.get(), TRect{0, 0, 8, 6}, Stops(L"$306090;0;100;2;0"));
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 8; ++x)
            ASSERT_EQ(PixelAt(bmp.get(), x, y), RGB(0x90, 0x60, 0x30)) << x << "," << y;
}

TEST(GradientPainter, RectangleIsCutToTheBitmapAndNothingOutsideItChanges)
{
    auto bmp = Filled(6, 6, RGB(1, 2, 3));
    PaintGradient(bmp.get(), TRect{-3, 2, 4, 40}, Stops(L"255;255;100;0;0"));
    EXPECT_EQ(PixelAt(bmp.get(), 0, 2), RGB(255, 0, 0));
    EXPECT_EQ(PixelAt(bmp.get(), 3, 5), RGB(255, 0, 0));
    EXPECT_EQ(PixelAt(bmp.get(), 4, 5), RGB(1, 2, 3));
    EXPECT_EQ(PixelAt(bmp.get(), 0, 1), RGB(1, 2, 3));
}

TEST(GradientPainter, NoStopsOrAnUnknownModePaintNothing)
{
    auto bmp = Filled(4, 4, RGB(1, 2, 3));
    PaintGradient(bmp.get(), TRect{0, 0, 4, 4}, TsGradArray{});
    PaintGradient(bmp.get(), TRect{0, 0, 4, 4}, Stops(L"255;255;100;7;0"));
    PaintGradient(nullptr, TRect{0, 0, 4, 4}, Stops(L"255;255;100;0;0"));
    EXPECT_EQ(PixelAt(bmp.get(), 2, 2), RGB(1, 2, 3));
}

} // namespace
