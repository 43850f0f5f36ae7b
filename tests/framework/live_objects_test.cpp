// The tests' counters of live objects see every object this process makes and frees, and nothing else.
#include "tests/support/live_objects.h"

#include <windows.h>

#include <vector>

using namespace testsupport;

namespace {

TEST(LiveObjects, CountsEveryBrushAndBitmapMadeAndDeleted)
{
    // The first screen DC stays in the system's cache of DCs.
    HDC screen = GetDC(nullptr);
    ReleaseDC(nullptr, screen);
    const int before = CountGdiObjects();
    std::vector<HGDIOBJ> made;
    for (int i = 0; i < 100; ++i)
        made.push_back(CreateSolidBrush(RGB(i, 0, 0)));
    screen = GetDC(nullptr);
    for (int i = 0; i < 20; ++i)
        made.push_back(CreateCompatibleBitmap(screen, 4 + i, 4));
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(CountGdiObjects(), before + 120);
    for (HGDIOBJ object : made)
        DeleteObject(object);
    EXPECT_EQ(CountGdiObjects(), before);
}

TEST(LiveObjects, CountsMenusWhicheverTheirNesting)
{
    const int before = CountMenus();
    HMENU bar = CreateMenu();
    for (int i = 0; i < 9; ++i)
        AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(CreatePopupMenu()), L"Раздел");
    EXPECT_EQ(CountMenus(), before + 10);
    // A menu takes its submenus with it.
    DestroyMenu(bar);
    EXPECT_EQ(CountMenus(), before);
}

TEST(LiveObjects, CountsTopLevelChildAndMessageOnlyWindows)
{
    // While a thread has a top-level window it has an input-method window too: the anchor keeps it.
    HWND anchor = CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPED, 0, 0, 5, 5, nullptr, nullptr, nullptr, nullptr);
    const int before = CountWindows();
    HWND top = CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPED, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
    HWND child = CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 5, 5, top, nullptr, nullptr, nullptr);
    CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 5, 5, child, nullptr, nullptr, nullptr);
    HWND hidden = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 5, 5, HWND_MESSAGE, nullptr, nullptr, nullptr);
    EXPECT_EQ(CountWindows(), before + 4);
    DestroyWindow(top);
    DestroyWindow(hidden);
    EXPECT_EQ(CountWindows(), before);
    DestroyWindow(anchor);
}

TEST(LiveObjects, GrowthBeyondTheSlackFailsAndNamesTheCounts)
{
    const LiveObjects before = LiveObjects::Now();
    std::vector<HBRUSH> made;
    for (int i = 0; i < 6; ++i)
        made.push_back(CreateSolidBrush(RGB(0, i, 0)));
    const ::testing::AssertionResult grown = LiveObjectsBackWithin(before, 5);
    EXPECT_FALSE(grown);
    EXPECT_NE(std::string(grown.message()).find("GDI objects"), std::string::npos);
    DeleteObject(made.back());
    made.pop_back();
    EXPECT_TRUE(LiveObjectsBackWithin(before, 5));
    for (HBRUSH brush : made)
        DeleteObject(brush);
}

} // namespace
