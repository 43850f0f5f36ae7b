// The host form of the common-control tests.
#include "tests/framework/controls_support.h"

void ControlsTest::SetUp()
{
    ApplicationTest::SetUp();
    form = Create<THostForm>(Application);
    form->SetBounds(20, 20, 300, 200);
    form->SetClientWidth(400);
    form->SetClientHeight(300);
    form->Show();
    testsupport::PumpMessagesUntilIdle();
}

void ControlsTest::TearDown()
{
    Free(form);
    testsupport::PumpMessagesUntilIdle();
    ApplicationTest::TearDown();
    EXPECT_TRUE(Errors.empty()) << testsupport::Narrow(Errors.front());
}

void ControlsTest::Click(HWND wnd, int x, int y)
{
    SendMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    SendMessageW(wnd, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

std::wstring WindowText(HWND wnd)
{
    wchar_t buffer[512] = {};
    GetWindowTextW(wnd, buffer, 512);
    return buffer;
}
