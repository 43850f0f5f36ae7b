// Switching skins as a person does: the skinned system menu of the main window lists the stored skin
// and the two packed skins of the skin directory, and each pick repaints the same windows in its
// colours, with a screenshot of each.
#include "tests/e2e/notebook_driver.h"
#include "tests/e2e/screenshot.h"

#include <gtest/gtest.h>

#include <array>

namespace {

using namespace e2e;

// The skins as "Available skins" lists them, sorted by name.
constexpr int kContrast = 0, kDusk = 1, kStored = 2;

struct Look {
    double brightness = 0; // mean of red, green and blue over the tool bar
    long yellow = 0;       // pure yellow pixels of the whole window (the high-contrast accents)
};

Look LookOf(const testsupport::Pixels24& toolBar, const testsupport::Pixels24& window)
{
    Look look;
    double sum = 0;
    for (size_t i = 0; i < toolBar.bgr.size(); ++i)
        sum += toolBar.bgr[i];
    look.brightness = toolBar.bgr.empty() ? 0 : sum / static_cast<double>(toolBar.bgr.size());
    for (size_t i = 0; i + 2 < window.bgr.size(); i += 3)
        look.yellow += window.bgr[i] < 40 && window.bgr[i + 1] > 230 && window.bgr[i + 2] > 230;
    return look;
}

class SkinSwitchTest : public NotebookTest {
protected:
    // Every window of the main form that a skin change repaints; none may be made anew.
    std::array<HWND, 6> Windows() const { return {MainWindow(), Tabs(), List(), View(), ToolBar(), StatusBar()}; }

    Look Seen(const std::wstring& shot)
    {
        const testsupport::Pixels24 window = Shot(MainWindow(), shot);
        return LookOf(CaptureWindowOnScreen(ToolBar()), window);
    }

    // What the change left on the screen is what painting the main window afresh shows: frame and
    // caption, menu line, tool bar, tabs, list, view and status bar all in the new skin.
    void ExpectAsPaintedAfresh(const std::wstring& shot)
    {
        HWND main = MainWindow();
        const testsupport::Pixels24 left = CaptureWindowOnScreen(main);
        RedrawWindow(main, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        Bot().WaitIdle(main);
        const testsupport::Pixels24 fresh = CaptureWindowOnScreen(main);
        EXPECT_EQ(left.DifferingPixels(fresh), 0) << "the change left the window unlike a fresh paint: "
                                                        << testsupport::Narrow(shot);
        if (left.DifferingPixels(fresh) != 0) {
            SaveBmp(left, ShotsFolder() + L"\\" + shot + L"-left.bmp");
            SaveBmp(fresh, ShotsFolder() + L"\\" + shot + L"-fresh.bmp");
        }
    }
};

TEST_F(SkinSwitchTest, TheSystemMenuSwitchesThroughAllThreeSkinsOnTheSameWindows)
{
    StartNotebook();
    const std::array<HWND, 6> windows = Windows();
    const Look stored = Seen(L"stored");

    PickSkin(kDusk);
    ExpectAsPaintedAfresh(L"dusk");
    const Look dusk = Seen(L"dusk");
    PickSkin(kContrast);
    ExpectAsPaintedAfresh(L"contrast");
    const Look contrast = Seen(L"contrast");
    PickSkin(kStored);
    ExpectAsPaintedAfresh(L"stored-again");
    const Look back = Seen(L"stored-again");

    EXPECT_GT(stored.brightness, dusk.brightness + 60) << "the dark skin darkens the tool bar";
    EXPECT_LT(contrast.brightness, stored.brightness - 60) << "the high-contrast skin's faces are black";
    EXPECT_GT(contrast.yellow, 100) << "the high-contrast skin draws its accents in yellow";
    EXPECT_EQ(stored.yellow, 0);
    EXPECT_EQ(dusk.yellow, 0);
    EXPECT_NEAR(back.brightness, stored.brightness, 8) << "the stored skin comes back as it was";
    for (HWND wnd : windows)
        EXPECT_TRUE(IsWindow(wnd)) << "a window was destroyed by a skin change";
    EXPECT_EQ(Windows(), windows);
}

} // namespace
