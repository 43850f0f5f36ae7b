// The skinned status bar: its section, the dividers between panels or the panel mask, the grip, the
// texts in the section's font colour, the stars over it, rebuilding the cache when it is due, skin
// changes and removal, and the plain bar without a manager.
#include "tests/skin_controls/bars_support.h"

#include "framework/ExtCtrls.h"
#include "framework/FormData.h"
#include "skin/controls/sStatusBar.h"
#include "skin/core/sMessages.h"

#include <commctrl.h>

namespace {

using namespace barskin;

class StatusBar : public BarsTest {
protected:
    TsStatusBar* MakeBar(std::initializer_list<int> widths, bool sizeGrip = false)
    {
        auto* bar = Create<TsStatusBar>(Form);
        bar->SetParent(Form);
        bar->SetSizeGrip(sizeGrip);
        for (int w : widths)
            bar->Panels()->Add()->SetWidth(w);
        Form->Show();
        testsupport::PumpMessagesUntilIdle(500);
        return bar;
    }
    // The bar's rectangle in the form's client area.
    static TRect Area(TControl* c) { return c->BoundsRect(); }
    static int MidY(TControl* c) { return c->Top() + c->Height() / 2; }
};

} // namespace

TEST_F(StatusBar, PaintsItsSectionWithDividersBetweenPanelsButNotAfterTheLast)
{
    MakeManager();
    TsStatusBar* bar = MakeBar({80, 90, 50});
    ASSERT_TRUE(bar->SkinData()->Skinned());
    const auto shot = Shot();
    EXPECT_EQ(shot.At(bar->Left() + 30, bar->Top() + 2), kStatusColor);
    // A divider ends one pixel inside each panel that has a neighbour to its right.
    for (int i = 0; i < 2; ++i)
        EXPECT_EQ(shot.At(bar->PanelRight(i) - 2, MidY(bar)), kDividerColor) << i;
    const int lastRight = bar->Left() + bar->Width();
    EXPECT_EQ(CountColor(shot, TRect{bar->PanelLeft(2) + 2, bar->Top(), lastRight, bar->Top() + bar->Height()},
                         kDividerColor),
              0);
}

TEST_F(StatusBar, ABarOfOnePanelHasNoDivider)
{
    MakeManager();
    TsStatusBar* bar = MakeBar({80});
    EXPECT_EQ(CountColor(Shot(), Area(bar), kDividerColor), 0);
    EXPECT_GT(CountColor(Shot(), Area(bar), kStatusColor), bar->Width() * bar->Height() / 2);
}

TEST_F(StatusBar, APanelMaskFramesEveryPanelAndReplacesTheDividers)
{
    MakeManager();
    TsStatusBar* bar = MakeBar({80, 90, 50});
    bar->SkinData()->SetSkinSection(L"MASKEDBAR");
    const auto shot = Shot();
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(shot.At(bar->PanelLeft(i) + 5, MidY(bar)), kPanelMaskColor) << i;
    EXPECT_EQ(CountColor(shot, Area(bar), kDividerColor), 0);
    // Between the panels' frames the bar's own background shows.
    EXPECT_EQ(shot.At(bar->PanelRight(0), bar->Top()), kStatusColor);
}

TEST_F(StatusBar, PanelTextIsWrittenInTheSectionFontColour)
{
    MakeManager();
    TsStatusBar* bar = MakeBar({150, 90});
    const TRect first{bar->Left(), bar->Top(), bar->Left() + bar->PanelRight(0), bar->Top() + bar->Height()};
    EXPECT_EQ(CountColor(Shot(), first, kStatusFont), 0);
    bar->Panels()->Items(0)->SetText(L"WWWW MMMM");
    EXPECT_TRUE(bar->SkinData()->BGChanged); // the new text reached the window: the cache is stale
    EXPECT_GT(CountColor(Shot(), first, kStatusFont), 20);
    EXPECT_FALSE(bar->SkinData()->BGChanged);
}

TEST_F(StatusBar, SimpleTextIsWrittenAcrossTheBar)
{
    MakeManager();
    TsStatusBar* bar = MakeBar({80, 90});
    bar->SetSimplePanel(true);
    bar->SetSimpleText(L"WWWW MMMM WWWW");
    const auto shot = Shot();
    EXPECT_GT(CountColor(shot, Area(bar), kStatusFont), 20);
    EXPECT_EQ(CountColor(shot, Area(bar), kDividerColor), 0);
}

TEST_F(StatusBar, TheGripImageSitsInTheBottomRightCorner)
{
    MakeManager();
    TsStatusBar* bar = MakeBar({80}, true);
    const auto shot = Shot();
    const int right = bar->Left() + bar->Width(), bottom = bar->Top() + bar->Height();
    EXPECT_EQ(shot.At(right - kGripFrameWidth, bottom - kGripHeight), kGripColor);
    EXPECT_EQ(shot.At(right - 1, bottom - 1), kGripColor);
    EXPECT_NE(shot.At(right - kGripFrameWidth - 1, bottom - kGripHeight - 1), kGripColor);
}

TEST_F(StatusBar, StarImagesOnTheBarAreDrawnOverTheSkin)
{
    MakeManager();
    TsStatusBar* bar = MakeBar({80, 90, 150});
    auto* star = Create<TImage>(Form);
    TBitmap* picture = star->Picture()->Bitmap();
    picture->SetPixelFormat(pf24bit);
    picture->SetSize(10, 10);
    picture->Canvas()->Brush()->SetColor(clRed);
    picture->Canvas()->FillRect(TRect{0, 0, 10, 10});
    star->SetBounds(200, 6, 10, 10);
    star->SetParent(bar);
    const auto shot = Shot();
    EXPECT_EQ(shot.At(bar->Left() + 205, bar->Top() + 10), RGB(255, 0, 0));
    EXPECT_EQ(shot.At(bar->Left() + 215, bar->Top() + 10), kStatusColor);
}

TEST_F(StatusBar, ABarPartlyOutsideItsParentRebuildsItsCacheAtEveryPaint)
{
    MakeManager();
    TsStatusBar* bar = MakeBar({80});
    Shot();
    EXPECT_FALSE(bar->SkinData()->PartlyHidden);
    // A mark in the cache survives a paint while the cache is up to date...
    TCanvas* cache = bar->SkinData()->CacheBmp()->Canvas();
    SetPixel(cache->Handle(), 40, 5, RGB(1, 2, 3));
    bar->PrepareCache();
    EXPECT_EQ(GetPixel(cache->Handle(), 40, 5), RGB(1, 2, 3));

    // ...and is painted over at every paint once the bar reaches outside its parent.
    bar->SetAlign(alNone);
    bar->SetBounds(-20, 10, 200, 22);
    Shot();
    EXPECT_TRUE(bar->SkinData()->PartlyHidden);
    cache = bar->SkinData()->CacheBmp()->Canvas(); // the cache has the new size
    SetPixel(cache->Handle(), 40, 5, RGB(1, 2, 3));
    bar->PrepareCache();
    EXPECT_EQ(GetPixel(cache->Handle(), 40, 5), kStatusColor);
}

TEST_F(StatusBar, ASkinChangeRepaintsTheBarInTheNewSkin)
{
    MakeManager();
    TsStatusBar* bar = MakeBar({80, 90});
    EXPECT_EQ(Shot().At(bar->Left() + 30, bar->Top() + 3), kStatusColor);
    Manager->SetSkinName(L"Bars2");
    testsupport::PumpMessagesUntilIdle(300);
    EXPECT_EQ(Shot().At(bar->Left() + 30, bar->Top() + 3), kStatusColor2);
}

TEST_F(StatusBar, RemovingTheSkinRecreatesTheWindowAndPaintsThePlainBar)
{
    MakeManager();
    TsStatusBar* bar = MakeBar({80, 90});
    EXPECT_GT(CountColor(Shot(), Area(bar), kStatusColor), 100);
    Manager->SetActive(false);
    testsupport::PumpMessagesUntilIdle(300);
    EXPECT_FALSE(bar->SkinData()->Skinned());
    EXPECT_TRUE(bar->HandleAllocated());
    EXPECT_EQ(bar->SkinData()->CacheBmp()->Width(), 0);
    EXPECT_EQ(CountColor(Shot(), Area(bar), kStatusColor), 0);
}

TEST_F(StatusBar, WithoutAManagerTheBarLooksLikeThePlainStatusBar)
{
    TsStatusBar* bar = MakeBar({80, 90});
    bar->Panels()->Items(0)->SetText(L"Рейтинг");
    auto* plain = Create<TStatusBar>(Form);
    plain->SetParent(Form);
    plain->SetSizeGrip(false);
    plain->Panels()->Add()->SetWidth(80);
    plain->Panels()->Add()->SetWidth(90);
    plain->Panels()->Items(0)->SetText(L"Рейтинг");
    testsupport::PumpMessagesUntilIdle(300);
    ASSERT_EQ(bar->Width(), plain->Width());
    const auto shot = Shot();
    int differing = 0;
    for (int y = 0; y < bar->Height(); ++y)
        for (int x = 0; x < bar->Width(); ++x)
            differing += shot.At(bar->Left() + x, bar->Top() + y) != shot.At(plain->Left() + x, plain->Top() + y);
    EXPECT_EQ(differing, 0);
}

TEST_F(StatusBar, SkinCommandsOfAnotherManagerAreLeftToTheStandardHandling)
{
    MakeManager();
    TsStatusBar* bar = MakeBar({80});
    Shot();
    TMessage m = MakeSkinCmd(SkinCmdSkinRemoved, 12345);
    bar->WindowProc(m);
    EXPECT_TRUE(bar->SkinData()->Skinned());
    EXPECT_EQ(QuerySkinCmd(bar, SkinCmdIsSkinned), true);
}

TEST_F(StatusBar, AnOwnerDrawnPanelPaintsIntoTheCacheThroughTheBarsCanvas)
{
    MakeManager();
    TsStatusBar* bar = MakeBar({80, 90});
    TRect drawnAt;
    bar->OnDrawPanel = [bar, &drawnAt](TStatusBar*, TStatusPanel*, const TRect& r) {
        drawnAt = r;
        bar->Canvas()->Brush()->SetColor(clBlue);
        bar->Canvas()->FillRect(TRect{r.Left + 2, r.Top + 2, r.Left + 12, r.Top + 8});
    };
    bar->Panels()->Items(1)->SetStyle(psOwnerDraw);
    bar->Invalidate();
    bar->SkinData()->BGChanged = true;
    const auto shot = Shot();
    EXPECT_EQ(drawnAt.Left, bar->PanelLeft(1) + 1);
    EXPECT_EQ(shot.At(bar->Left() + drawnAt.Left + 5, bar->Top() + drawnAt.Top + 4), RGB(0, 0, 255));
    EXPECT_EQ(bar->Canvas()->HandleAllocated(), false); // the canvas was handed back
}

TEST_F(StatusBar, RightToLeftPanelTextStandsAtThePanelsRightEnd)
{
    MakeManager();
    auto* bar = Create<skincontrols::TRightToLeft<TsStatusBar>>(Form);
    bar->SetParent(Form);
    bar->SetSizeGrip(false);
    bar->Panels()->Add()->SetWidth(300);
    bar->Panels()->Add()->SetWidth(90);
    bar->Panels()->Items(0)->SetText(L"WW");
    Form->Show();
    const auto shot = Shot();
    const int middle = bar->PanelRight(0) / 2;
    EXPECT_EQ(CountColor(shot, TRect{bar->Left(), bar->Top(), bar->Left() + middle, bar->Top() + bar->Height()},
                         kStatusFont),
              0);
    EXPECT_GT(CountColor(shot, TRect{bar->Left() + middle, bar->Top(), bar->Left() + bar->PanelRight(0),
                                     bar->Top() + bar->Height()},
                         kStatusFont),
              5);
}

class StatusBarSkinCommand : public StatusBar, public ::testing::WithParamInterface<WORD> {};

// Text an owner-drawn panel writes straight through the canvas's DC leaves the skin around its letters.
TEST_P(StatusBarSkinCommand, LeavesTheCanvasWritingTransparently)
{
    MakeManager();
    TsStatusBar* bar = MakeBar({80, 90});
    bar->OnDrawPanel = [bar](TStatusBar*, TStatusPanel*, const TRect& r) {
        HDC dc = bar->Canvas()->Handle();
        SetBkColor(dc, RGB(0, 0, 255));
        TextOutW(dc, r.Left + 2, r.Top + 1, L"    ", 4);
    };
    bar->Panels()->Items(1)->SetStyle(psOwnerDraw);
    TMessage m = MakeSkinCmd(GetParam(), reinterpret_cast<LPARAM>(Manager));
    bar->WindowProc(m);
    bar->SkinData()->BGChanged = true;
    bar->Invalidate();
    EXPECT_EQ(CountColor(Shot(), Area(bar), RGB(0, 0, 255)), 0);
}

INSTANTIATE_TEST_SUITE_P(LoadedAndRefreshed, StatusBarSkinCommand,
                         ::testing::Values(SkinCmdSkinChanged, SkinCmdRefresh));

TEST_F(StatusBar, PrintingTheBarDrawsItsSkinnedLook)
{
    MakeManager();
    TsStatusBar* bar = MakeBar({80, 90});
    Shot();
    TBitmap target;
    target.SetPixelFormat(pf24bit);
    target.SetSize(bar->Width(), bar->Height());
    bar->Perform(WM_PRINT, reinterpret_cast<WPARAM>(target.Canvas()->Handle()), PRF_CLIENT);
    EXPECT_EQ(GetPixel(target.Canvas()->Handle(), 30, 3), kStatusColor);
    EXPECT_EQ(GetPixel(target.Canvas()->Handle(), bar->PanelRight(0) - 2, bar->Height() / 2), kDividerColor);
}

// Printing is no paint of the screen: it draws what the screen shows and leaves an owed repaint owed.
TEST_F(StatusBar, PrintingMatchesTheScreenAndLeavesAnOwedRepaintOwed)
{
    MakeManager();
    TsStatusBar* bar = MakeBar({80, 90}, true);
    const auto shot = Shot();
    InvalidateRect(bar->Handle(), nullptr, FALSE);
    TBitmap target;
    target.SetPixelFormat(pf24bit);
    target.SetSize(bar->Width(), bar->Height());
    bar->Perform(WM_PRINT, reinterpret_cast<WPARAM>(target.Canvas()->Handle()), PRF_CLIENT);
    EXPECT_TRUE(GetUpdateRect(bar->Handle(), nullptr, FALSE));
    int differing = 0;
    for (int y = 0; y < bar->Height(); ++y)
        for (int x = 0; x < bar->Width(); ++x)
            differing += GetPixel(target.Canvas()->Handle(), x, y) != shot.At(bar->Left() + x, bar->Top() + y);
    EXPECT_EQ(differing, 0);
}

TEST_F(StatusBar, FormDataNamesTheBarAndItsSkinSection)
{
    MakeManager();
    RegisterSkinStatusBarClasses();
    const char* text = "object Root: TForm\n"
                       "  object Bar: TsStatusBar\n"
                       "    SkinData.SkinSection = 'maskedbar'\n"
                       "    Panels = <\n"
                       "      item\n"
                       "        Width = 60\n"
                       "      end>\n"
                       "  end\n"
                       "end\n";
    TFormReader(Form, L"bar.form").Read(ParseFormData(text, L"bar.form"));
    auto* bar = dynamic_cast<TsStatusBar*>(Form->FindComponent(L"Bar"));
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->SkinData()->SkinSection(), L"MASKEDBAR");
    EXPECT_TRUE(bar->SkinData()->Skinned());
    EXPECT_EQ(bar->Panels()->Count(), 1);
}
