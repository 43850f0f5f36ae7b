// Colours, fonts, brushes, pens and the canvas, checked by drawing into a DIB and reading pixels.
#include "framework/Graphics.h"

#include "tests/framework/dib_surface.h"
#include "tests/support/test_support.h"

#include <algorithm>

namespace {

TEST(Colors, SystemColorsResolveThroughTheSystem)
{
    EXPECT_EQ(ColorToRGB(clBtnFace), static_cast<TColor>(GetSysColor(COLOR_BTNFACE)));
    EXPECT_EQ(ColorToRGB(clHighlightText), static_cast<TColor>(GetSysColor(COLOR_HIGHLIGHTTEXT)));
    EXPECT_EQ(ColorToRGB(clRed), 0x0000FF);
    EXPECT_EQ(ColorToRGB(clNone), clNone);
    EXPECT_LT(clBtnFace, 0);
    EXPECT_EQ(RGBToColor(1, 2, 3), static_cast<TColor>(RGB(1, 2, 3)));
    EXPECT_EQ(ColorBlue(clNavy), 0x80);
}

TEST(Fonts, SizeAndHeightConvertAtTheFontsResolution)
{
    TFont font;
    font.SetPixelsPerInch(96);
    font.SetSize(12);
    EXPECT_EQ(font.Height(), -16);
    font.SetHeight(-13);
    EXPECT_EQ(font.Size(), 10);
}

TEST(Fonts, HandleCarriesTheAttributes)
{
    TFont font;
    font.SetName(L"Tahoma");
    font.SetStyle({fsBold, fsItalic});
    font.SetOrientation(900);
    LOGFONTW lf{};
    ASSERT_EQ(GetObjectW(font.Handle(), sizeof lf, &lf), static_cast<int>(sizeof lf));
    EXPECT_STREQ(lf.lfFaceName, L"Tahoma");
    EXPECT_EQ(lf.lfWeight, FW_BOLD);
    EXPECT_TRUE(lf.lfItalic);
    EXPECT_FALSE(lf.lfUnderline);
    EXPECT_EQ(lf.lfEscapement, 900);

    TFont copy;
    copy.SetHandle(font.Handle());
    EXPECT_EQ(copy.Name(), L"Tahoma");
    EXPECT_TRUE(copy.Style().Contains(fsBold));
    EXPECT_EQ(copy.Orientation(), 900);
}

TEST(Fonts, ChangesNotifyAndAssignCopiesEverything)
{
    TFont a;
    int changes = 0;
    a.OnChange = [&](TObject*) { ++changes; };
    a.SetColor(clRed);
    a.SetColor(clRed);
    a.SetName(L"Arial");
    EXPECT_EQ(changes, 2);

    TFont b;
    b.SetName(L"Tahoma");
    b.SetSize(14);
    b.SetStyle({fsUnderline});
    b.SetColor(clNavy);
    b.SetCharset(RUSSIAN_CHARSET);
    a.Assign(&b);
    EXPECT_EQ(changes, 3);
    EXPECT_EQ(a.Name(), L"Tahoma");
    EXPECT_EQ(a.Size(), 14);
    EXPECT_EQ(a.Style(), TFontStyles{fsUnderline});
    EXPECT_EQ(a.Color(), clNavy);
    EXPECT_EQ(a.Charset(), RUSSIAN_CHARSET);
}

class CanvasTest : public ::testing::Test {
protected:
    CanvasTest() : surface_(40, 30)
    {
        surface_.Fill(RGB(255, 255, 255));
        canvas_.SetHandle(surface_.Dc());
    }
    ~CanvasTest() override { canvas_.SetHandle(nullptr); }

    DibSurface surface_;
    TCanvas canvas_;
};

TEST_F(CanvasTest, FillRectPaintsTheBrushColourInsideOnly)
{
    canvas_.Brush()->SetColor(clRed);
    canvas_.FillRect(Rect(2, 3, 10, 8));
    EXPECT_EQ(surface_.At(2, 3), RGB(255, 0, 0));
    EXPECT_EQ(surface_.At(9, 7), RGB(255, 0, 0));
    EXPECT_EQ(surface_.At(10, 7), RGB(255, 255, 255));
    EXPECT_EQ(surface_.At(9, 8), RGB(255, 255, 255));
    EXPECT_EQ(surface_.CountOf(RGB(255, 0, 0)), 8 * 5);
}

TEST_F(CanvasTest, SystemBrushColourIsResolved)
{
    canvas_.Brush()->SetColor(clBtnFace);
    canvas_.FillRect(Rect(0, 0, 4, 4));
    EXPECT_EQ(surface_.At(1, 1), GetSysColor(COLOR_BTNFACE));
}

TEST_F(CanvasTest, RectangleHasAPenBorderAndABrushInterior)
{
    canvas_.Pen()->SetColor(clBlue);
    canvas_.Brush()->SetColor(clLime);
    canvas_.Rectangle(5, 5, 15, 12);
    EXPECT_EQ(surface_.At(5, 5), RGB(0, 0, 255));
    EXPECT_EQ(surface_.At(14, 11), RGB(0, 0, 255));
    EXPECT_EQ(surface_.At(10, 8), RGB(0, 255, 0));
    EXPECT_EQ(surface_.At(15, 12), RGB(255, 255, 255));
}

TEST_F(CanvasTest, ClearBrushLeavesTheInteriorAndClearPenTheBorder)
{
    canvas_.Brush()->SetStyle(bsClear);
    canvas_.Pen()->SetColor(clRed);
    canvas_.Rectangle(2, 2, 12, 12);
    EXPECT_EQ(surface_.At(2, 2), RGB(255, 0, 0));
    EXPECT_EQ(surface_.At(6, 6), RGB(255, 255, 255));

    canvas_.Pen()->SetStyle(psClear);
    canvas_.Brush()->SetColor(clGreen);
    canvas_.Rectangle(20, 2, 30, 12);
    // Without a border the filled area ends one pixel short on the right and at the bottom.
    EXPECT_EQ(surface_.At(29, 11), RGB(255, 255, 255));
    EXPECT_EQ(surface_.At(20, 2), RGB(0, 128, 0));
    EXPECT_EQ(surface_.At(25, 6), RGB(0, 128, 0));
}

TEST_F(CanvasTest, RoundRectLeavesItsCornersOut)
{
    canvas_.Pen()->SetColor(clBlue);
    canvas_.Brush()->SetColor(clLime);
    canvas_.RoundRect(2, 2, 32, 26, 12, 12);
    EXPECT_EQ(surface_.At(2, 2), RGB(255, 255, 255));
    EXPECT_EQ(surface_.At(31, 25), RGB(255, 255, 255));
    EXPECT_EQ(surface_.At(17, 2), RGB(0, 0, 255));
    EXPECT_EQ(surface_.At(2, 14), RGB(0, 0, 255));
    EXPECT_EQ(surface_.At(17, 14), RGB(0, 255, 0));
}

TEST_F(CanvasTest, MoveToAndLineToDrawFromThePenPosition)
{
    canvas_.Pen()->SetColor(clRed);
    canvas_.MoveTo(3, 5);
    canvas_.LineTo(13, 5);
    EXPECT_EQ(canvas_.PenPos(), Point(13, 5));
    canvas_.LineTo(13, 15);
    EXPECT_EQ(surface_.At(3, 5), RGB(255, 0, 0));
    EXPECT_EQ(surface_.At(12, 5), RGB(255, 0, 0));
    EXPECT_EQ(surface_.At(13, 10), RGB(255, 0, 0));
    // A line leaves out its last point.
    EXPECT_EQ(surface_.At(13, 15), RGB(255, 255, 255));
    EXPECT_EQ(surface_.At(2, 5), RGB(255, 255, 255));
}

TEST_F(CanvasTest, XorPenDrawnTwiceRestoresThePixels)
{
    canvas_.Brush()->SetColor(clNavy);
    canvas_.FillRect(Rect(0, 0, 40, 30));
    canvas_.Pen()->SetMode(pmXor);
    canvas_.Pen()->SetColor(clWhite);
    canvas_.MoveTo(0, 10);
    canvas_.LineTo(40, 10);
    EXPECT_EQ(surface_.At(5, 10), RGB(255, 255, 127));
    canvas_.MoveTo(0, 10);
    canvas_.LineTo(40, 10);
    EXPECT_EQ(surface_.At(5, 10), RGB(0, 0, 128));
}

TEST_F(CanvasTest, NotPenInvertsWhatIsThere)
{
    canvas_.Pen()->SetMode(pmNot);
    canvas_.MoveTo(0, 3);
    canvas_.LineTo(10, 3);
    EXPECT_EQ(surface_.At(4, 3), RGB(0, 0, 0));
    EXPECT_EQ(canvas_.PenPos(), Point(10, 3));
}

TEST_F(CanvasTest, DottedPenLeavesGapsOnALine)
{
    canvas_.Pen()->SetStyle(psDot);
    canvas_.MoveTo(0, 5);
    canvas_.LineTo(40, 5);
    int black = 0;
    for (int x = 0; x < 40; ++x)
        black += surface_.At(x, 5) == RGB(0, 0, 0);
    EXPECT_GT(black, 5);
    EXPECT_LT(black, 35);
}

TEST_F(CanvasTest, PolylineJoinsThePoints)
{
    canvas_.Pen()->SetColor(clRed);
    canvas_.Polyline({Point(1, 1), Point(20, 1), Point(20, 20)});
    EXPECT_EQ(surface_.At(10, 1), RGB(255, 0, 0));
    EXPECT_EQ(surface_.At(20, 10), RGB(255, 0, 0));
    EXPECT_EQ(surface_.At(10, 10), RGB(255, 255, 255));
}

TEST(Canvas, OrientedFontWritesUpwards)
{
    DibSurface surface(120, 120);
    surface.Fill(RGB(255, 255, 255));
    TCanvas canvas;
    canvas.SetHandle(surface.Dc());
    canvas.Font()->SetName(L"Arial");
    canvas.Font()->SetHeight(-16);
    canvas.Font()->SetOrientation(900);
    canvas.Brush()->SetStyle(bsClear);
    canvas.TextOut(50, 110, L"WWWWWW");
    canvas.SetHandle(nullptr);
    int left = 120, right = -1, top = 120, bottom = -1;
    for (int y = 0; y < 120; ++y)
        for (int x = 0; x < 120; ++x)
            if (surface.At(x, y) != RGB(255, 255, 255)) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    ASSERT_GE(right, left);
    // Turned a quarter counter-clockwise, the line of text is tall and narrow and rises from its start.
    EXPECT_GT(bottom - top, 2 * (right - left));
    EXPECT_LE(bottom, 110);
}

TEST_F(CanvasTest, TextIsWrittenInTheFontColourOnTheBrush)
{
    canvas_.Font()->SetName(L"Arial");
    canvas_.Font()->SetHeight(-20);
    canvas_.Font()->SetColor(clRed);
    canvas_.Brush()->SetColor(clYellow);
    canvas_.TextOut(0, 0, L"Ш");
    int w = canvas_.TextWidth(L"Ш");
    int h = canvas_.TextHeight(L"Ш");
    ASSERT_GT(w, 5);
    ASSERT_GT(h, 10);
    int red = 0, yellow = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            red += surface_.At(x, y) == RGB(255, 0, 0);
            yellow += surface_.At(x, y) == RGB(255, 255, 0);
        }
    EXPECT_GT(red, 10);
    EXPECT_GT(yellow, 10);
    EXPECT_EQ(canvas_.PenPos().X, w);
    EXPECT_GT(canvas_.TextWidth(L"ШШ"), w);
}

TEST_F(CanvasTest, TextOnAClearBrushKeepsTheBackground)
{
    canvas_.Font()->SetHeight(-20);
    canvas_.Font()->SetColor(clBlack);
    canvas_.Brush()->SetStyle(bsClear);
    canvas_.TextOut(0, 0, L"..");
    EXPECT_EQ(surface_.CountOf(RGB(255, 255, 255)) + surface_.CountOf(RGB(0, 0, 0)) > 1100, true);
    EXPECT_EQ(surface_.At(0, 0), RGB(255, 255, 255));
}

TEST_F(CanvasTest, TextRectClipsToItsRectangle)
{
    canvas_.Font()->SetHeight(-24);
    canvas_.Brush()->SetColor(clAqua);
    canvas_.TextRect(Rect(0, 0, 10, 10), 0, 0, L"WWWW");
    EXPECT_EQ(surface_.At(20, 5), RGB(255, 255, 255));
    EXPECT_EQ(surface_.At(5, 15), RGB(255, 255, 255));
    int aqua = 0;
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x)
            aqua += surface_.At(x, y) == RGB(0, 255, 255);
    EXPECT_GT(aqua, 0);
}

TEST_F(CanvasTest, FocusRectDrawnTwiceDisappears)
{
    canvas_.DrawFocusRect(Rect(2, 2, 20, 20));
    EXPECT_LT(surface_.CountOf(RGB(255, 255, 255)), 40 * 30);
    canvas_.DrawFocusRect(Rect(2, 2, 20, 20));
    EXPECT_EQ(surface_.CountOf(RGB(255, 255, 255)), 40 * 30);
}

TEST_F(CanvasTest, PixelsReadAndWrite)
{
    canvas_.SetPixel(3, 4, clPurple);
    EXPECT_EQ(surface_.At(3, 4), RGB(128, 0, 128));
    EXPECT_EQ(canvas_.Pixels(3, 4), clPurple);
    EXPECT_EQ(canvas_.Pixels(39, 29), clWhite);
}

TEST_F(CanvasTest, CopyRectCopiesBetweenCanvases)
{
    DibSurface other(10, 10);
    other.Fill(RGB(0, 0, 255));
    TCanvas source;
    source.SetHandle(other.Dc());
    canvas_.CopyRect(Rect(5, 5, 15, 15), &source, Rect(0, 0, 10, 10));
    EXPECT_EQ(surface_.At(5, 5), RGB(0, 0, 255));
    EXPECT_EQ(surface_.At(14, 14), RGB(0, 0, 255));
    EXPECT_EQ(surface_.At(15, 15), RGB(255, 255, 255));
    source.SetHandle(nullptr);
}

TEST_F(CanvasTest, ChangingAToolWhileSelectedTakesEffect)
{
    canvas_.Brush()->SetColor(clRed);
    canvas_.FillRect(Rect(0, 0, 5, 5));
    canvas_.Brush()->SetColor(clBlue);
    canvas_.FillRect(Rect(0, 0, 5, 5));
    EXPECT_EQ(surface_.At(2, 2), RGB(0, 0, 255));
    canvas_.Font()->SetName(L"Arial");
    HFONT selected = static_cast<HFONT>(GetCurrentObject(canvas_.Handle(), OBJ_FONT));
    EXPECT_EQ(selected, canvas_.Font()->Handle());
}

TEST(Canvas, ReleasingAForeignDcGivesBackItsOwnObjects)
{
    DibSurface surface(8, 8);
    HGDIOBJ font = GetCurrentObject(surface.Dc(), OBJ_FONT);
    HGDIOBJ pen = GetCurrentObject(surface.Dc(), OBJ_PEN);
    HGDIOBJ brush = GetCurrentObject(surface.Dc(), OBJ_BRUSH);
    {
        TCanvas canvas;
        canvas.SetHandle(surface.Dc());
        canvas.Rectangle(0, 0, 4, 4);
        canvas.TextOut(0, 0, L"x");
        EXPECT_NE(GetCurrentObject(surface.Dc(), OBJ_FONT), font);
        canvas.SetHandle(nullptr);
        EXPECT_FALSE(canvas.HandleAllocated());
    }
    EXPECT_EQ(GetCurrentObject(surface.Dc(), OBJ_FONT), font);
    EXPECT_EQ(GetCurrentObject(surface.Dc(), OBJ_PEN), pen);
    EXPECT_EQ(GetCurrentObject(surface.Dc(), OBJ_BRUSH), brush);
}

TEST(Canvas, WithoutAHandleDrawingRaises)
{
    TCanvas canvas;
    EXPECT_THROW(canvas.FillRect(Rect(0, 0, 1, 1)), EInvalidOperation);
    EXPECT_THROW(canvas.Handle(), EInvalidOperation);
}

// A canvas that gets its DC only when first drawn on, as a control's canvas does.
class OnDemandCanvas : public TCanvas {
public:
    explicit OnDemandCanvas(HDC dc) : dc_(dc) {}
    ~OnDemandCanvas() override { SetHandle(nullptr); }
    int created = 0;

protected:
    void CreateHandle() override
    {
        ++created;
        SetHandle(dc_);
    }

private:
    HDC dc_;
};

TEST(Canvas, DescendantMakesItsHandleOnFirstUse)
{
    DibSurface surface(8, 8);
    OnDemandCanvas canvas(surface.Dc());
    EXPECT_FALSE(canvas.HandleAllocated());
    canvas.Brush()->SetColor(clGreen);
    canvas.FillRect(Rect(0, 0, 8, 8));
    canvas.FillRect(Rect(0, 0, 8, 8));
    EXPECT_EQ(canvas.created, 1);
    EXPECT_EQ(surface.At(4, 4), RGB(0, 128, 0));
}

TEST(Canvas, LockCounts)
{
    TCanvas canvas;
    canvas.Lock();
    EXPECT_TRUE(canvas.TryLock());
    EXPECT_EQ(canvas.LockCount(), 2);
    canvas.Unlock();
    canvas.Unlock();
    EXPECT_EQ(canvas.LockCount(), 0);
}

TEST(Canvas, ChangeEventsSurroundDrawing)
{
    DibSurface surface(4, 4);
    TCanvas canvas;
    canvas.SetHandle(surface.Dc());
    std::wstring log;
    canvas.OnChanging = [&](TObject*) { log += L"<"; };
    canvas.OnChange = [&](TObject*) { log += L">"; };
    canvas.FillRect(Rect(0, 0, 2, 2));
    canvas.Rectangle(0, 0, 2, 2);
    EXPECT_EQ(log, L"<><>");
    canvas.SetHandle(nullptr);
}

} // namespace
