// The drawing scopes: each leaves the device context as it found it on every way out, and the double
// buffer shows its picture only when the drawing finished.
#include "framework/Graphics.h"

#include "tests/framework/dib_surface.h"
#include "tests/support/test_support.h"

#include <stdexcept>

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

void FillWhole(HDC dc, int w, int h, COLORREF colour)
{
    GdiObject<HBRUSH> brush(CreateSolidBrush(colour));
    RECT r{0, 0, w, h};
    FillRect(dc, &r, brush.Get());
}

TEST(MemoryDC, BlitsItsPictureToTheTargetWhenTheScopeEnds)
{
    DibSurface target(8, 8);
    target.Fill(kBlue);
    {
        TMemoryDC buffer(target.Dc(), 4, 4);
        ASSERT_TRUE(buffer);
        FillWhole(buffer.Get(), 4, 4, kRed);
        buffer.BlitOnExit(target.Dc(), 2, 2);
        EXPECT_EQ(target.At(3, 3), kBlue) << "nothing shows before the scope ends";
    }
    EXPECT_EQ(target.At(2, 2), kRed);
    EXPECT_EQ(target.At(5, 5), kRed);
    EXPECT_EQ(target.At(6, 6), kBlue);
}

TEST(MemoryDC, ShowsNothingWhenTheDrawingThrew)
{
    DibSurface target(4, 4);
    target.Fill(kBlue);
    EXPECT_THROW(
        {
            TMemoryDC buffer(target.Dc(), 4, 4);
            FillWhole(buffer.Get(), 4, 4, kRed);
            buffer.BlitOnExit(target.Dc(), 0, 0);
            throw std::runtime_error("drawing failed");
        },
        std::runtime_error);
    EXPECT_EQ(target.CountOf(kBlue), 16);
}

TEST(ClipScope, NarrowsForTheScopeAndGivesTheOldClipBack)
{
    DibSurface surface(8, 8);
    surface.Fill(kBlue);
    HDC dc = surface.Dc();
    {
        TClipScope clip(dc, 0, 0, 2, 2);
        FillWhole(dc, 8, 8, kRed);
    }
    EXPECT_EQ(surface.CountOf(kRed), 4);
    FillWhole(dc, 8, 8, kRed);
    EXPECT_EQ(surface.CountOf(kRed), 64) << "no clip was left behind";

    surface.Fill(kBlue);
    IntersectClipRect(dc, 0, 0, 4, 4);
    {
        TClipScope clip(dc, 2, 2, 8, 8);
        FillWhole(dc, 8, 8, kRed);
    }
    EXPECT_EQ(surface.CountOf(kRed), 4);
    FillWhole(dc, 8, 8, kRed);
    EXPECT_EQ(surface.CountOf(kRed), 16) << "the clip from before the scope is back";
    SelectClipRgn(dc, nullptr);
}

TEST(SelectedObject, PutsTheDCsOwnObjectBack)
{
    DibSurface surface(2, 2);
    HGDIOBJ before = GetCurrentObject(surface.Dc(), OBJ_BRUSH);
    GdiObject<HBRUSH> brush(CreateSolidBrush(kRed));
    {
        TSelectedObject selected(surface.Dc(), brush.Get());
        EXPECT_EQ(GetCurrentObject(surface.Dc(), OBJ_BRUSH), brush.Get());
    }
    EXPECT_EQ(GetCurrentObject(surface.Dc(), OBJ_BRUSH), before);
}

TEST(WindowRegion, CutsTheHolesOutOfTheRectangle)
{
    GdiObject<HRGN> region = RegionLessRects(TRect{0, 0, 10, 10}, {TRect{0, 0, 2, 2}, TRect{8, 8, 10, 10}}, 5, 5);
    EXPECT_FALSE(PtInRegion(region.Get(), 5, 5));
    EXPECT_TRUE(PtInRegion(region.Get(), 7, 5));
    EXPECT_FALSE(PtInRegion(region.Get(), 14, 14));
    EXPECT_TRUE(PtInRegion(region.Get(), 12, 12));
}

} // namespace
