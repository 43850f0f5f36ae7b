// The category strip of the running program when its tabs do not fit: its own arrows at the strip's
// edge reach the hidden tabs, and go once the window is wide enough for every tab.
#include "tests/e2e/notebook_driver.h"

#include <gtest/gtest.h>

namespace {

using namespace e2e;

class TabStripTest : public NotebookTest {
protected:
    // Categories of the user's own beside the sample ones: more than the window's default width holds.
    void AddCategories(int count)
    {
        const wchar_t* const names[] = {L"Соусы", L"Гарниры", L"Закуски", L"Каши", L"Заготовки"};
        for (int i = 0; i < count; ++i)
            ASSERT_TRUE(CreateDirectoryW(CategoryPath(names[i]).c_str(), nullptr));
    }
    HWND Scroller() const { return FindChildWindow(Tabs(), L"TsUpDown"); }
    // The window's rectangle in the tab control's client coordinates.
    RECT InTabs(HWND wnd) const
    {
        RECT r{};
        GetWindowRect(wnd, &r);
        MapWindowPoints(nullptr, Tabs(), reinterpret_cast<POINT*>(&r), 2);
        return r;
    }
    int TabsWidth() const
    {
        RECT client{};
        GetClientRect(Tabs(), &client);
        return client.right;
    }
};

TEST_F(TabStripTest, TabsBeyondTheWindowAreReachedThroughTheOwnArrowsAtTheStripsEdge)
{
    ASSERT_NO_FATAL_FAILURE(AddCategories(2));
    StartNotebook();
    const int last = static_cast<int>(TabCaptions(Tabs()).size()) - 1;
    // The system gives no rectangle for a tab that starts beyond the strip: the last one is cut.
    const RECT lastTab = TabRect(Tabs(), last);
    ASSERT_TRUE(lastTab.right == 0 || lastTab.right > TabsWidth()) << "the tabs fit: nothing to scroll";
    ASSERT_TRUE(WaitUntil([&] { return Scroller() != nullptr; })) << "no arrows on an overflowing strip";
    HWND arrows = Scroller();
    EXPECT_EQ(FindChildWindow(Tabs(), L"msctls_updown32"), nullptr) << "the system's arrows are left";
    const RECT r = InTabs(arrows);
    EXPECT_EQ(r.right, TabsWidth());
    EXPECT_EQ(r.top, 0);
    Shot(MainWindow(), L"arrows");

    const int before = TabRect(Tabs(), 1).left;
    Bot().Click(arrows, POINT{(r.right - r.left) * 3 / 4, (r.bottom - r.top) / 2});
    EXPECT_TRUE(WaitUntil([&] { return TabRect(Tabs(), 1).left < before; })) << "the right arrow does not scroll";
}

TEST_F(TabStripTest, TheRightArrowReachesTheLastTabEvenWhenTabsStartBeyondTheStrip)
{
    ASSERT_NO_FATAL_FAILURE(AddCategories(5));
    StartNotebook();
    ASSERT_TRUE(WaitUntil([&] { return Scroller() != nullptr; })) << "no arrows on an overflowing strip";
    HWND arrows = Scroller();
    const RECT r = InTabs(arrows);
    const int last = static_cast<int>(TabCaptions(Tabs()).size()) - 1;
    auto lastShown = [&] {
        const RECT tab = TabRect(Tabs(), last);
        return tab.right > tab.left && tab.right <= r.left;
    };
    for (int click = 0; click <= last && !lastShown(); ++click)
        Bot().Click(arrows, POINT{(r.right - r.left) * 3 / 4, (r.bottom - r.top) / 2});
    EXPECT_TRUE(lastShown()) << "the last tab stays out of reach";
    Shot(MainWindow(), L"last");
}

TEST_F(TabStripTest, WideningTheWindowUntilEveryTabFitsRemovesTheArrows)
{
    ASSERT_NO_FATAL_FAILURE(AddCategories(5));
    StartNotebook();
    ASSERT_TRUE(WaitUntil([&] { return Scroller() != nullptr; })) << "no arrows on an overflowing strip";
    RECT frame{};
    GetWindowRect(MainWindow(), &frame);
    SetWindowPos(MainWindow(), nullptr, 0, frame.top, GetSystemMetrics(SM_CXSCREEN), frame.bottom - frame.top,
                 SWP_NOZORDER);
    Bot().WaitIdle(MainWindow());
    const int last = static_cast<int>(TabCaptions(Tabs()).size()) - 1;
    const RECT lastTab = TabRect(Tabs(), last);
    ASSERT_GT(lastTab.right, 0) << "the screen is too narrow for every tab";
    ASSERT_LE(lastTab.right, TabsWidth());
    EXPECT_TRUE(WaitUntil([&] { return Scroller() == nullptr; })) << "the arrows stay although every tab fits";
    Shot(MainWindow(), L"wide");
}

} // namespace
