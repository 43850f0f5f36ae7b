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

    // Presses a key in an open pop-up menu until the menu shows the change (a key that reaches the menu
    // before its tracking loop reads input is lost).
    bool PressInMenu(HWND popup, WORD key)
    {
        const testsupport::Pixels24 before = CaptureWindowOnScreen(popup);
        for (int attempt = 0; attempt < 3; ++attempt) {
            Bot().PressKey(key);
            if (WaitUntil([&] { return before.DifferingPixels(CaptureWindowOnScreen(popup)) > 0; }, 2000))
                return true;
        }
        return false;
    }

    // Opens the system menu with a right click on the caption and picks skin `index` of its first item.
    void PickSkin(int index)
    {
        HWND main = MainWindow();
        ASSERT_TRUE(Bot().Activate(main));
        RECT window{};
        GetWindowRect(main, &window);
        const RECT client = ClientRectOnScreen(main);
        // A little below the top edge lies the caption, above the menu line and the client area.
        const POINT caption{(window.right - window.left) / 2 - (client.left - window.left), window.top + 12 - client.top};
        Bot().Click(main, caption, MouseButton::Right);
        HWND menu = WaitForTopWindow({ProcessId(), L"#32768", {}, true}, 5000);
        ASSERT_NE(menu, nullptr) << "no system menu";
        Bot().WaitIdle(menu);
        ASSERT_TRUE(PressInMenu(menu, VK_DOWN)) << "the first item is not selected";
        Bot().PressKey(VK_RIGHT);
        HWND list = nullptr;
        ASSERT_TRUE(WaitUntil([&] {
            for (HWND wnd : FindTopWindows({ProcessId(), L"#32768", {}, true}))
                if (wnd != menu)
                    list = wnd;
            return list != nullptr;
        })) << "\"Available skins\" opens no list";
        Bot().WaitIdle(list);
        // The list opens with its first skin selected; the menu's handle means nothing outside the
        // program, so the three entries are proven by picking each one and seeing its colours.
        for (int i = 0; i < index; ++i)
            ASSERT_TRUE(PressInMenu(list, VK_DOWN)) << "skin " << i + 1 << " is not selected";
        Bot().PressKey(VK_RETURN);
        ASSERT_TRUE(WaitForWindowGone(list, 5000)) << "the list of skins stays open";
        ASSERT_TRUE(WaitForWindowGone(menu, 5000)) << "the system menu stays open";
        Bot().WaitIdle(main);
    }

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
