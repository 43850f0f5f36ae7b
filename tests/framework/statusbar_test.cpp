// Status bar: panels as the system bar holds them, texts after a new window, owner-drawn panels,
// controls painted over the bar.
#include "tests/framework/controls_support.h"

#include <commctrl.h>

using testsupport::CaptureWindow;
using testsupport::Pixels24;

namespace {

class StatusBarTest : public ControlsTest {
protected:
    void SetUp() override
    {
        ControlsTest::SetUp();
        bar = Make<TStatusBar>();
        for (int width : {120, 110, 300})
            bar->Panels()->Add()->SetWidth(width);
        bar->Panels()->Items(2)->SetText(L" Рейтинг: ");
        testsupport::PumpMessagesUntilIdle();
    }
    std::wstring PartText(int part)
    {
        wchar_t buffer[256] = {};
        SendMessageW(bar->Handle(), SB_GETTEXTW, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(buffer));
        return buffer;
    }
    TStatusBar* bar = nullptr;
};

} // namespace

TEST_F(StatusBarTest, PanelsBecomeSystemPartsWithEdgesTextsAndBevels)
{
    EXPECT_EQ(bar->Top() + bar->Height(), form->ClientHeight());
    int edges[8] = {};
    ASSERT_EQ(SendMessageW(bar->Handle(), SB_GETPARTS, 8, reinterpret_cast<LPARAM>(edges)), 3);
    EXPECT_EQ(edges[0], 120);
    EXPECT_EQ(edges[1], 230);
    EXPECT_EQ(edges[2], -1);
    EXPECT_EQ(PartText(2), L" Рейтинг: ");

    bar->Panels()->Items(0)->SetText(L" Список доступных рецептов");
    bar->Panels()->Items(0)->SetBevel(pbRaised);
    EXPECT_EQ(PartText(0), L" Список доступных рецептов");
    LRESULT info = SendMessageW(bar->Handle(), SB_GETTEXTLENGTHW, 0, 0);
    EXPECT_NE(HIWORD(info) & SBT_POPOUT, 0);

    // A new width moves the later edges.
    bar->Panels()->Items(0)->SetWidth(200);
    SendMessageW(bar->Handle(), SB_GETPARTS, 8, reinterpret_cast<LPARAM>(edges));
    EXPECT_EQ(edges[1], 310);
}

TEST_F(StatusBarTest, PanelsTextsAndSimpleModeSurviveANewWindow)
{
    bar->Panels()->Items(1)->SetText(L"Оценка:");
    bar->SetSimpleText(L" В списке 7 рецептов");
    bar->SetSimplePanel(true);
    HWND before = bar->Handle();
    // In simple mode the bar answers every part with the simple text.
    EXPECT_EQ(PartText(0), L" В списке 7 рецептов");
    EXPECT_TRUE(GetWindowLongPtrW(before, GWL_STYLE) & SBARS_SIZEGRIP);
    bar->SetSizeGrip(false); // the grip is a creation style: the window is made again
    HWND after = bar->Handle();
    EXPECT_FALSE(IsWindow(before));
    EXPECT_FALSE(GetWindowLongPtrW(after, GWL_STYLE) & SBARS_SIZEGRIP);
    EXPECT_TRUE(SendMessageW(after, SB_ISSIMPLE, 0, 0));
    EXPECT_EQ(PartText(0), L" В списке 7 рецептов");
    bar->SetSimplePanel(false);
    EXPECT_FALSE(SendMessageW(after, SB_ISSIMPLE, 0, 0));
    EXPECT_EQ(PartText(1), L"Оценка:");
    EXPECT_EQ(PartText(2), L" Рейтинг: ");
    EXPECT_EQ(SendMessageW(after, SB_GETPARTS, 0, 0), 3);
}

TEST_F(StatusBarTest, ControlsOnTheBarArePaintedOverItsPanels)
{
    // The rating stars of the main window are windowless controls placed on the bar.
    std::vector<TColorShape*> stars;
    for (int i = 0; i < 3; ++i) {
        auto* star = Create<TColorShape>(form);
        star->SetBounds(240 + 10 * i, 4, 8, 8);
        star->SetColor(clRed);
        star->SetParent(bar);
        stars.push_back(star);
    }
    stars[1]->Hide();
    Pixels24 shot = CaptureWindow(bar->Handle());
    EXPECT_EQ(shot.At(244, 8), Rgb(clRed));
    EXPECT_EQ(shot.At(264, 8), Rgb(clRed));
    EXPECT_NE(shot.At(254, 8), Rgb(clRed));
    EXPECT_NE(shot.At(230, 8), Rgb(clRed));
    // The bar's own painting after a text change does not cover them.
    bar->Panels()->Items(2)->SetText(L" Рейтинг: 5");
    shot = CaptureWindow(bar->Handle());
    EXPECT_EQ(shot.At(244, 8), Rgb(clRed));
}

TEST_F(StatusBarTest, OwnerDrawnPanelIsPaintedByTheHandlerOnTheBarsCanvas)
{
    std::vector<TStatusPanel*> drawn;
    bar->OnDrawPanel = [&](TStatusBar* sender, TStatusPanel* panel, const TRect& rect) {
        drawn.push_back(panel);
        sender->Canvas()->Brush()->SetColor(clBlue);
        sender->Canvas()->FillRect(rect);
    };
    bar->Panels()->Items(1)->SetStyle(psOwnerDraw);
    Pixels24 shot = CaptureWindow(bar->Handle());
    ASSERT_FALSE(drawn.empty());
    EXPECT_EQ(drawn.back(), bar->Panels()->Items(1));
    EXPECT_EQ(shot.At(175, bar->ClientHeight() / 2), Rgb(clBlue));
    EXPECT_NE(shot.At(60, bar->ClientHeight() / 2), Rgb(clBlue));
}
