#include "tests/framework/framework_support.h"

#include "tests/framework/controls_support.h"
#include "tests/framework/forms_support.h"

namespace {

// One application for the whole program; the window-free tests do not mind it.
class ApplicationEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        InitApplication();
        RegisterClass<TDemoPanel>(L"TDemoPanel", L"TCustomControl");
        RegisterClass<TDemoShape>(L"TDemoShape", L"TGraphicControl");
        RegisterClass<TDemoEdit>(L"TDemoEdit", L"TWinControl");
        RegisterClass<TDemoBroadcaster>(L"TDemoBroadcaster", L"TComponent");
        RegisterClass<TColorShape>(L"TColorShape", L"TGraphicControl");
        RegisterClass<TColorPanel>(L"TColorPanel", L"TCustomControl");
    }
    void TearDown() override { DoneApplication(); }
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new ApplicationEnvironment);

} // namespace

void PumpApplication()
{
    MSG msg;
    for (int i = 0; i < 1000 && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE); ++i)
        Application->ProcessMessage(msg);
}

COLORREF Rgb(TColor color)
{
    return static_cast<COLORREF>(ColorToRGB(color));
}

void ApplicationTest::SetUp()
{
    Application->OnException = [this](TObject*, const Exception& e) { Errors.push_back(e.Message()); };
}

void ApplicationTest::TearDown()
{
    Application->OnException = nullptr;
    PumpApplication();
}
