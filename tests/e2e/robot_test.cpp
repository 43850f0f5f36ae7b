// The robot's input reaches windows as a person's would: checked on windows of the test itself, where
// every message can be seen.
#include "tests/e2e/robot.h"
#include "tests/e2e/screenshot.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

using e2e::Robot;
using e2e::WaitUntil;

struct Seen {
    std::vector<UINT> messages;
    POINT lastDown{-1, -1};
    int leftDowns = 0;
    int rightDowns = 0;
    std::vector<WPARAM> sysKeys;
};

Seen* g_seen = nullptr;

LRESULT CALLBACK TargetProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (g_seen) {
        switch (msg) {
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
            (msg == WM_LBUTTONDOWN ? g_seen->leftDowns : g_seen->rightDowns)++;
            g_seen->lastDown = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            break;
        case WM_SYSKEYDOWN:
            g_seen->sysKeys.push_back(wParam);
            break;
        default:
            break;
        }
    }
    if (msg == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(wnd, &ps);
        RECT rc;
        GetClientRect(wnd, &rc);
        HBRUSH brush = CreateSolidBrush(RGB(200, 30, 60));
        FillRect(dc, &rc, brush);
        DeleteObject(brush);
        EndPaint(wnd, &ps);
        return 0;
    }
    return DefWindowProcW(wnd, msg, wParam, lParam);
}

class RobotInputTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_seen = &seen_;
        WNDCLASSW wc{};
        wc.lpfnWndProc = TargetProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.lpszClassName = L"RobotTarget";
        RegisterClassW(&wc);
        wnd_ = CreateWindowExW(0, L"RobotTarget", L"Цель", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 400, 300,
                               nullptr, nullptr, wc.hInstance, nullptr);
        ASSERT_NE(wnd_, nullptr);
        edit_ = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, 10, 10, 300, 24,
                                wnd_, nullptr, wc.hInstance, nullptr);
        testsupport::PumpMessagesUntilIdle();
    }

    void TearDown() override
    {
        DestroyWindow(wnd_);
        g_seen = nullptr;
        testsupport::PumpMessagesUntilIdle();
    }

    Seen seen_;
    HWND wnd_ = nullptr;
    HWND edit_ = nullptr;
    Robot bot_{GetCurrentProcess()};
};

TEST_F(RobotInputTest, ClickArrivesAtTheClientPoint)
{
    ASSERT_TRUE(bot_.Activate(wnd_));
    bot_.Click(wnd_, {250, 150});
    ASSERT_TRUE(WaitUntil([&] { return seen_.leftDowns == 1; }, 5000));
    EXPECT_EQ(seen_.lastDown.x, 250);
    EXPECT_EQ(seen_.lastDown.y, 150);

    bot_.Click(wnd_, {40, 200}, e2e::MouseButton::Right);
    ASSERT_TRUE(WaitUntil([&] { return seen_.rightDowns == 1; }, 5000));
    EXPECT_EQ(seen_.lastDown.x, 40);
    EXPECT_EQ(seen_.lastDown.y, 200);
}

TEST_F(RobotInputTest, PointerEndsWhereItWasMoved)
{
    bot_.MoveTo(wnd_, {123, 77});
    POINT expected{123, 77};
    ClientToScreen(wnd_, &expected);
    POINT at{};
    ASSERT_TRUE(WaitUntil([&] { return GetCursorPos(&at) && at.x == expected.x && at.y == expected.y; }, 5000))
        << "pointer at " << at.x << "," << at.y;
}

TEST_F(RobotInputTest, CyrillicTextIsTypedIntoTheFocusedEdit)
{
    ASSERT_TRUE(bot_.Activate(wnd_));
    bot_.Click(edit_, {5, 5});
    ASSERT_TRUE(WaitUntil([&] { return GetFocus() == edit_; }, 5000));
    const std::wstring text = L"Щи да каша — пища наша 1";
    bot_.TypeText(text);
    wchar_t buf[128] = {};
    ASSERT_TRUE(WaitUntil([&] {
        GetWindowTextW(edit_, buf, 128);
        return text == buf;
    }, 5000)) << testsupport::Narrow(buf);
}

TEST_F(RobotInputTest, ShortcutArrivesAsSystemKeysWhileAltIsHeld)
{
    ASSERT_TRUE(bot_.Activate(wnd_));
    bot_.PressShortcut({VK_MENU, VK_F4});
    ASSERT_TRUE(WaitUntil([&] {
        return std::find(seen_.sysKeys.begin(), seen_.sysKeys.end(), WPARAM{VK_F4}) != seen_.sysKeys.end();
    }, 5000));
    // Alt+F4 closes a window that handles nothing itself.
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(wnd_); }, 5000));
}

TEST(ScreenCapture, ShowsTheWindowAsPainted)
{
    WNDCLASSW wc{};
    wc.lpfnWndProc = TargetProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"RobotTarget";
    RegisterClassW(&wc);
    HWND wnd = CreateWindowExW(WS_EX_TOPMOST, L"RobotTarget", L"", WS_POPUP | WS_VISIBLE, 50, 60, 200, 100, nullptr,
                               nullptr, wc.hInstance, nullptr);
    ASSERT_NE(wnd, nullptr);
    testsupport::PumpMessagesUntilIdle();
    auto shot = e2e::CaptureWindowOnScreen(wnd);
    DestroyWindow(wnd);
    ASSERT_EQ(shot.width, 200);
    ASSERT_EQ(shot.height, 100);
    EXPECT_EQ(shot.At(0, 0), RGB(200, 30, 60));
    EXPECT_EQ(shot.At(199, 99), RGB(200, 30, 60));
    EXPECT_EQ(e2e::CountColours(shot), 1u);
}

} // namespace
