// Labels, panels, bevels and pictures: sizes from their text and picture, what they paint and where
// their children go.
#include "framework/ExtCtrls.h"
#include "framework/StdCtrls.h"

#include "tests/framework/std_support.h"

using testsupport::CaptureWindow;
using testsupport::Pixels24;

namespace {

class Painted : public StdControlsTest {};

// The text's extent in the control's font on the screen, measured the way the system draws it.
SIZE Extent(TFont* font, const std::wstring& text)
{
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font->Handle());
    RECT r{0, 0, 0, 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_CALCRECT | DT_EXPANDTABS);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return SIZE{r.right, r.bottom};
}

} // namespace

TEST_F(Painted, LabelSizesItselfToItsTextAndKeepsTheRightEdgeWhenRightAligned)
{
    auto* label = Add<TLabel>(10, 10, 200, 40);
    label->SetCaption(L"Название рецепта:");
    SIZE size = Extent(label->Font(), L"Название рецепта:");
    EXPECT_EQ(label->Width(), size.cx);
    EXPECT_EQ(label->Height(), size.cy);

    auto* right = Add<TLabel>(100, 60, 100, 20);
    right->SetAlignment(taRightJustify);
    right->SetCaption(L"Порций:");
    int rightEdge = right->Left() + right->Width();
    right->SetCaption(L"Количество порций:");
    EXPECT_EQ(right->Left() + right->Width(), rightEdge);
    EXPECT_EQ(right->Width(), Extent(right->Font(), L"Количество порций:").cx);

    // A lone accelerator mark is measured as a blank.
    auto* amp = Add<TLabel>(10, 100, 50, 20);
    amp->SetCaption(L"&");
    EXPECT_EQ(amp->Width(), Extent(amp->Font(), L" ").cx);
}

TEST_F(Painted, OpaqueLabelFillsItsColorAndTransparentLabelLetsTheParentShow)
{
    auto* label = Add<TLabel>(10, 10, 100, 20);
    label->SetAutoSize(false);
    label->SetBounds(10, 10, 120, 30);
    label->SetCaption(L"Ж");
    label->SetColor(clYellow);
    label->Font()->SetColor(clBlue);
    Pixels24 shot = CaptureWindow(form->Handle());
    EXPECT_EQ(shot.At(10 + 100, 10 + 25), Rgb(clYellow));
    EXPECT_GT(CountColor(shot, Rgb(clBlue)), 5);

    label->SetTransparent(true);
    shot = CaptureWindow(form->Handle());
    EXPECT_EQ(shot.At(10 + 100, 10 + 25), Rgb(clSilver));
    EXPECT_GT(CountColor(shot, Rgb(clBlue)), 5);

    // Bottom layout moves the text down: nothing blue in the top rows.
    label->SetLayout(tlBottom);
    shot = CaptureWindow(form->Handle());
    int blueTop = 0;
    for (int y = 10; y < 15; ++y)
        for (int x = 10; x < 130; ++x)
            blueTop += shot.At(x, y) == Rgb(clBlue);
    EXPECT_EQ(blueTop, 0);
}

TEST_F(Painted, LabelAcceleratorFocusesItsControlAndForgetsAFreedOne)
{
    auto* edit = Add<TEdit>(100, 10, 100, 21);
    auto* other = Add<TEdit>(100, 40, 100, 21);
    auto* label = Add<TLabel>(10, 10, 80, 20);
    label->SetCaption(L"&Имя:");
    label->SetFocusControl(edit);
    other->SetFocus();
    EXPECT_EQ(label->Perform(CM_DIALOGCHAR, L'и'), 1);
    EXPECT_EQ(GetFocus(), edit->Handle());
    EXPECT_EQ(label->Perform(CM_DIALOGCHAR, L'x'), 0);
    Free(edit);
    EXPECT_EQ(label->FocusControl(), nullptr);
    EXPECT_EQ(label->Perform(CM_DIALOGCHAR, L'и'), 0);
}

TEST_F(Painted, PanelDrawsItsBevelsAndAlignsChildrenInsideThem)
{
    auto* panel = Add<TPanel>(10, 10, 200, 120);
    panel->SetBevelOuter(bvRaised);
    panel->SetBevelInner(bvLowered);
    panel->SetBevelWidth(2);
    panel->SetBorderWidth(3);
    panel->SetColor(clWhite);
    auto* child = Create<TPanel>(panel);
    child->SetBevelOuter(bvNone);
    child->SetColor(clGreen);
    child->SetParent(panel);
    child->SetAlign(alClient);
    EXPECT_EQ(child->BoundsRect(), Rect(7, 7, 193, 113));

    Pixels24 shot = CaptureWindow(panel->Handle());
    EXPECT_EQ(shot.At(0, 0), Rgb(clBtnHighlight));
    EXPECT_EQ(shot.At(199, 119), Rgb(clBtnShadow));
    EXPECT_EQ(shot.At(3, 60), Rgb(clWhite));
    EXPECT_EQ(shot.At(5, 60), Rgb(clBtnShadow));
    EXPECT_EQ(shot.At(100, 60), Rgb(clGreen));

    panel->SetBevelInner(bvNone);
    EXPECT_EQ(child->BoundsRect(), Rect(5, 5, 195, 115));
}

TEST_F(Painted, PanelCaptionIsDrawnInItsFontColor)
{
    auto* panel = Add<TPanel>(10, 10, 200, 40);
    panel->SetColor(clWhite);
    panel->Font()->SetColor(clRed);
    panel->SetCaption(L"Рейтинг");
    Pixels24 shot = CaptureWindow(panel->Handle());
    EXPECT_GT(CountColor(shot, Rgb(clRed)), 10);
    panel->SetCaption(L"");
    shot = CaptureWindow(panel->Handle());
    EXPECT_EQ(CountColor(shot, Rgb(clRed)), 0);
}

TEST_F(Painted, ImageSizesItselfToThePictureAndCentersOrStretchesIt)
{
    auto* image = Add<TImage>(10, 10, 40, 40);
    TBitmap bitmap;
    bitmap.SetWidth(10);
    bitmap.SetHeight(10);
    bitmap.Canvas()->Brush()->SetColor(clRed);
    bitmap.Canvas()->FillRect(Rect(0, 0, 10, 10));

    image->Picture()->SetGraphic(&bitmap);
    image->SetCenter(true);
    Pixels24 shot = CaptureWindow(form->Handle());
    EXPECT_EQ(shot.At(10 + 20, 10 + 20), Rgb(clRed));
    EXPECT_EQ(shot.At(10 + 2, 10 + 2), Rgb(clSilver));

    image->SetStretch(true);
    shot = CaptureWindow(form->Handle());
    EXPECT_EQ(shot.At(10 + 2, 10 + 2), Rgb(clRed));
    EXPECT_EQ(shot.At(10 + 38, 10 + 38), Rgb(clRed));

    image->SetStretch(false);
    image->SetAutoSize(true);
    EXPECT_EQ(image->Width(), 10);
    EXPECT_EQ(image->Height(), 10);
    // Hiding and showing a picture is the stars' way of showing a rating.
    image->Hide();
    shot = CaptureWindow(form->Handle());
    EXPECT_EQ(shot.At(10 + 5, 10 + 5), Rgb(clSilver));
}

TEST_F(Painted, BevelLinesUseTheShadowAndHighlightColors)
{
    auto* line = Add<TBevel>(10, 10, 100, 2);
    line->SetShape(bsTopLine);
    Pixels24 shot = CaptureWindow(form->Handle());
    EXPECT_EQ(shot.At(50, 10), Rgb(clBtnShadow));
    EXPECT_EQ(shot.At(50, 11), Rgb(clBtnHighlight));
    line->SetStyle(bsRaised);
    shot = CaptureWindow(form->Handle());
    EXPECT_EQ(shot.At(50, 10), Rgb(clBtnHighlight));
    EXPECT_EQ(shot.At(50, 11), Rgb(clBtnShadow));
}

TEST_F(Painted, WordWrappedLabelKeepsItsWidthAndGrowsDown)
{
    auto* label = Add<TLabel>(10, 10, 90, 20);
    label->SetWordWrap(true);
    label->SetCaption(L"Рецепты взяты из открытых источников с указанием ссылок на авторов");
    SIZE line = Extent(label->Font(), L"Рецепты");
    EXPECT_LE(label->Width(), 90);
    EXPECT_GE(label->Height(), 3 * line.cy);
}

TEST_F(Painted, DisabledLabelIsEmbossed)
{
    auto* label = Add<TLabel>(10, 10, 100, 20);
    label->SetCaption(L"ЖЖЖЖ");
    label->SetColor(clWhite);
    label->SetEnabled(false);
    Pixels24 shot = CaptureWindow(form->Handle());
    int shadow = 0, light = 0;
    for (int y = label->Top(); y < label->Top() + label->Height(); ++y)
        for (int x = label->Left(); x < label->Left() + label->Width(); ++x) {
            shadow += shot.At(x, y) == Rgb(clBtnShadow);
            light += shot.At(x, y) == Rgb(clBtnHighlight);
        }
    EXPECT_GT(shadow, 5);
    if (Rgb(clBtnHighlight) != Rgb(clWhite)) {
        EXPECT_GT(light, 5);
    }
}
