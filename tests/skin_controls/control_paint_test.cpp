// Painting whole controls: graphic children over the parent's cache, a control printed into a bitmap,
// the fade's frame count and alphas and its clean end, and the disabled look with a control's colour.
#include "tests/skin_controls/state_support.h"

#include "skin/core/sControlPaint.h"
#include "skin/core/sItemPainter.h"
#include "skin/core/sPixels.h"

#include "framework/ComCtrls.h"

#include <algorithm>

namespace {

constexpr COLORREF kBlue = RGB(0, 0, 255), kWhite = RGB(255, 255, 255), kLime = RGB(0, 255, 0);

// A plain tool bar that lends a cache to its buttons, as a skinned bar does.
class TCacheToolBar : public TToolBar {
public:
    explicit TCacheToolBar(TComponent* owner) : TToolBar(owner), SkinData(std::make_unique<TsCommonData>(this, true)) {}
    std::unique_ptr<TsCommonData> SkinData;
    void WndProc(TMessage& m) override
    {
        if (!CommonMessage(m, SkinData.get()))
            TToolBar::WndProc(m);
    }
};

class ControlPaint : public SkinStateTest {
protected:
    void SetUp() override
    {
        SkinStateTest::SetUp();
        Shape = Create<TSkinnedShape>(Form);
        Shape->SetParent(Form);
        Shape->SetColor(clRed);
        Form->Show();
        testsupport::PumpMessagesUntilIdle(500);
    }
    // A 24-bit bitmap of the form's size filled with white, as the DC painted over.
    std::unique_ptr<TBitmap> Target()
    {
        auto bmp = std::make_unique<TBitmap>();
        bmp->SetPixelFormat(pf24bit);
        bmp->SetSize(Form->Width(), Form->Height());
        bmp->Canvas()->Brush()->SetColor(clWhite);
        bmp->Canvas()->FillRect(TRect{0, 0, Form->Width(), Form->Height()});
        return bmp;
    }
    TSkinnedShape* Shape = nullptr;
};

} // namespace

TEST_F(ControlPaint, GraphicChildrenArePaintedAtTheOffset)
{
    Form->FillCache(clBlue);
    auto target = Target();
    PaintControls(target->Canvas()->Handle(), Form, TPoint{5, 3});
    HDC dc = target->Canvas()->Handle();
    EXPECT_EQ(GetPixel(dc, 60 + 5, 10 + 3), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(dc, 60 + 5 + 19, 10 + 3 + 19), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(dc, 60 + 5 + 20, 10 + 3), RGB(255, 255, 255));
    EXPECT_FALSE(CacheReply.Ready);
}

TEST_F(ControlPaint, NothingIsPaintedWithoutTheParentsCache)
{
    Form->SkinData->FCacheBmp.reset();
    auto target = Target();
    PaintControls(target->Canvas()->Handle(), Form, TPoint{0, 0});
    EXPECT_EQ(GetPixel(target->Canvas()->Handle(), 60, 10), RGB(255, 255, 255));
}

TEST_F(ControlPaint, AnEmptyClipMarksTheParentPartlyHidden)
{
    Form->FillCache(clBlue);
    Form->SkinData->PartlyHidden = false;
    auto target = Target();
    HDC dc = target->Canvas()->Handle();
    HRGN empty = CreateRectRgn(0, 0, 0, 0);
    SelectClipRgn(dc, empty);
    DeleteObject(empty);
    PaintControls(dc, Form, TPoint{0, 0});
    SelectClipRgn(dc, nullptr);
    EXPECT_TRUE(Form->SkinData->PartlyHidden);
    EXPECT_EQ(GetPixel(dc, 60, 10), RGB(255, 255, 255));
}

TEST_F(ControlPaint, ControlIsPrintedIntoABitmap)
{
    auto* box = Create<TSkinnedBox>(Form, 0);
    box->SetParent(Form);
    box->SetColor(clLime);
    box->HandleNeeded();
    auto bmp = std::make_unique<TBitmap>();
    bmp->SetPixelFormat(pf24bit);
    bmp->SetSize(box->Width(), box->Height());
    PaintControlToBitmap(bmp.get(), box);
    EXPECT_EQ(GetPixel(bmp->Canvas()->Handle(), 5, 5), RGB(0, 255, 0));
}

// Of the tool buttons only separators and dividers are painted over the bar's cache: the bar draws
// the others itself.
TEST_F(ControlPaint, ToolButtonsOtherThanSeparatorsAndDividersAreLeftToTheBar)
{
    auto* bar = Create<TCacheToolBar>(Form);
    bar->SetParent(Form);
    for (TToolButtonStyle style : {tbsButton, tbsSeparator, tbsCheck, tbsDivider, tbsDropDown}) {
        auto* b = Create<TToolButton>(Form);
        b->SetParent(bar);
        b->SetStyle(style);
    }
    testsupport::PumpMessagesUntilIdle(300);
    bar->SkinData->InitCacheBmp();
    bar->SkinData->CacheBmp()->Canvas()->Brush()->SetColor(clBlue);
    bar->SkinData->CacheBmp()->Canvas()->FillRect(TRect{0, 0, bar->Width(), bar->Height()});
    auto target = Target();
    PaintControls(target->Canvas()->Handle(), bar, TPoint{0, 0});
    for (int i = 0; i < bar->ButtonCount(); ++i) {
        TToolButton* b = bar->Buttons(i);
        const bool ours = b->Style() == tbsSeparator || b->Style() == tbsDivider;
        EXPECT_EQ(GetPixel(target->Canvas()->Handle(), b->Left() + 1, b->Top() + 1), ours ? kBlue : kWhite) << i;
    }
}

// A windowed child lands in the print of its form where the screen shows it, inside the frame, and
// nowhere else: on a skinned form, whose print leaves its children out, and on a plain one.
TEST_F(ControlPaint, WindowedChildrenArePrintedOnceWhereTheScreenShowsThem)
{
    auto* plain = Create<TForm>(Application);
    plain->SetBounds(60, 60, 200, 150);
    plain->Show();
    for (TForm* form : {static_cast<TForm*>(Form), plain}) {
        auto* box = Create<TSkinnedBox>(form, 0);
        box->SetParent(form);
        box->SetColor(clLime);
        testsupport::PumpMessagesUntilIdle(300);
        POINT p{0, 0};
        MapWindowPoints(box->Handle(), nullptr, &p, 1);
        RECT frame;
        GetWindowRect(form->Handle(), &frame);
        p = POINT{p.x - frame.left + 1, p.y - frame.top + 1};
        ASSERT_GT(std::max(p.x - box->Left(), p.y - box->Top()), 2);
        const auto target = Target();
        PaintControlToBitmap(target.get(), form);
        EXPECT_EQ(GetPixel(target->Canvas()->Handle(), p.x, p.y), kLime) << (form == Form);
        EXPECT_NE(GetPixel(target->Canvas()->Handle(), box->Left() + 1, box->Top() + 1), kLime) << (form == Form);
    }
    Free(plain);
}

TEST_F(ControlPaint, FadeFramesFallFromFullOldImageInEqualSteps)
{
    EXPECT_EQ(FadeStepCount(0), 0);
    EXPECT_EQ(FadeStepCount(7), 0);
    EXPECT_EQ(FadeStepCount(100), 13);
    EXPECT_EQ(FadeAlpha(100, 0), 255);
    EXPECT_EQ(FadeAlpha(100, 1), 234);
    EXPECT_EQ(FadeAlpha(100, 12), 3);
}

TEST_F(ControlPaint, MDIChildrenArePrintedWithTheirForm)
{
    auto* main = Create<TForm>(Application);
    main->SetFormStyle(fsMDIForm);
    main->SetColor(clBlue);
    main->SetBounds(60, 60, 300, 240);
    main->Show();
    auto* child = Create<TForm>(Application);
    child->SetFormStyle(fsMDIChild);
    child->SetColor(clLime);
    child->SetBounds(20, 15, 120, 90);
    child->Show();
    testsupport::PumpMessagesUntilIdle(300);
    auto bmp = std::make_unique<TBitmap>();
    bmp->SetPixelFormat(pf24bit);
    bmp->SetSize(main->Width(), main->Height());
    PaintControlToBitmap(bmp.get(), main);
    // The child's client in the print: where the screen shows it within the main form's window.
    POINT clientCorner{0, 0};
    ClientToScreen(child->Handle(), &clientCorner);
    RECT mainRect;
    GetWindowRect(main->Handle(), &mainRect);
    const int x = clientCorner.x - mainRect.left + 10, y = clientCorner.y - mainRect.top + 10;
    EXPECT_EQ(GetPixel(bmp->Canvas()->Handle(), x, y), RGB(0, 255, 0));
    Free(child);
    Free(main);
}

TEST_F(ControlPaint, FadeFramesBlendTheWholeImageToItsLastRowAndColumn)
{
    const auto filled = [](int w, int h, TColor colour) {
        auto bmp = CreateBmp24(w, h);
        bmp->Canvas()->Brush()->SetColor(colour);
        bmp->Canvas()->FillRect(TRect{0, 0, w, h});
        return bmp;
    };
    auto oldImage = filled(5, 4, clBlack);
    auto newImage = filled(5, 4, clWhite);
    auto work = CreateBmp32(5, 4);
    BlendFadeFrame(work.get(), oldImage.get(), newImage.get(), 128);
    HDC dc = work->Canvas()->Handle();
    for (const POINT p : {POINT{0, 0}, POINT{4, 0}, POINT{0, 3}, POINT{4, 3}})
        EXPECT_EQ(GetPixel(dc, p.x, p.y), RGB(127, 127, 127)) << p.x << "," << p.y;
}

TEST_F(ControlPaint, FadeEndsWithItsOutputWindowGoneAndRedrawingOn)
{
    auto* box = Create<TSkinnedBox>(Form, 0);
    box->SetParent(Form);
    box->HandleNeeded();
    const int children = Form->ControlCount();
    box->Messages.clear();
    AnimShowControl(box, 16);
    EXPECT_EQ(Form->ControlCount(), children);
    EXPECT_EQ(box->ComponentCount(), 0);
    const auto first = std::find(box->Messages.begin(), box->Messages.end(), static_cast<UINT>(WM_SETREDRAW));
    ASSERT_NE(first, box->Messages.end());
    EXPECT_EQ(std::count(box->Messages.begin(), box->Messages.end(), static_cast<UINT>(WM_SETREDRAW)), 2);
    EXPECT_TRUE(IsWindowVisible(box->Handle()));
}

TEST_F(ControlPaint, DisabledLookMixesWithTheControlsColourWithoutACache)
{
    auto image = std::make_unique<TBitmap>();
    image->SetPixelFormat(pf24bit);
    image->SetSize(4, 4);
    image->Canvas()->Brush()->SetColor(clBlack);
    image->Canvas()->FillRect(TRect{0, 0, 4, 4});
    Form->SetColor(static_cast<TColor>(0xC8C8C8));
    ParentBgColor = sNoColor;
    PaintDisabledEffect(image.get(), 1, Form, TPoint{0, 0}, EmptyCacheInfo);
    EXPECT_EQ(GetPixel(image->Canvas()->Handle(), 2, 2), RGB(100, 100, 100));
}
