// The application of the common-control tests and the host form.
#include "tests/controls/controls_support.h"

namespace {

class ApplicationEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        InitApplication();
        RegisterClass<TColorShape>(L"TColorShape", L"TGraphicControl");
        RegisterClass<TColorPanel>(L"TColorPanel", L"TCustomControl");
    }
    void TearDown() override { DoneApplication(); }
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new ApplicationEnvironment);

} // namespace

void ControlsTest::SetUp()
{
    Application->OnException = [this](TObject*, const Exception& e) { Errors.push_back(e.Message()); };
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
    Application->OnException = nullptr;
    EXPECT_TRUE(Errors.empty()) << testsupport::Narrow(Errors.front());
}

void ControlsTest::Click(HWND wnd, int x, int y)
{
    SendMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    SendMessageW(wnd, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

COLORREF Rgb(TColor color)
{
    return static_cast<COLORREF>(ColorToRGB(color));
}

std::wstring WindowText(HWND wnd)
{
    wchar_t buffer[512] = {};
    GetWindowTextW(wnd, buffer, 512);
    return buffer;
}
