// The one environment of the skinned controls' program: the skin library's process-wide steps, the
// application with a main form (skin changes freeze and thaw skinned forms through it), the common
// controls the adapters skin, and the links of the form-skinning layer, so that managers own the menu
// painter and the window adapters; and the fixtures' way to do without that layer.
#include "tests/skin_controls/skin_controls_support.h"

#include "framework/Forms.h"
#include "framework/Startup.h"
#include "skin/core/sConst.h"
#include "skin/core/sMessages.h"
#include "skin/core/sPixels.h"
#include "skin/core/sSkinForms.h"
#include "skin/forms/sSkinFormsLinks.h"
#include "skin/forms/sSkinMenus.h"

#include <gtest/gtest.h>

#include <commctrl.h>

namespace {

class SkinnedControlsEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        AddSkinConstantsStartupStep(startup_);
        AddSkinMessageStartupStep(startup_);
        AddThemeApiStartupStep(startup_);
        AddPixelAccessStartupStep(startup_);
        AddSkinMenusStartupStep(startup_);
        startup_.Start();
        InitApplication();
        LinkSkinForms();
        INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_BAR_CLASSES | ICC_UPDOWN_CLASS | ICC_LINK_CLASS};
        InitCommonControlsEx(&icc);
        TForm* main = nullptr;
        Application->CreateForm(main);
    }
    void TearDown() override
    {
        DoneApplication();
        startup_.Finish();
    }

private:
    TStartup startup_;
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new SkinnedControlsEnvironment);

} // namespace

namespace skincontrols {

WithoutFormsLayer::WithoutFormsLayer() : saved_(SkinLinks())
{
    SetSkinLinks(TacSkinLinks{});
}

WithoutFormsLayer::~WithoutFormsLayer()
{
    SetSkinLinks(saved_);
}

void SkinnedTest::SetUp()
{
    TempFolderTest::SetUp();
    Application->OnException = [this](TObject*, const Exception& e) { Errors.push_back(e.Message()); };
    // A test that left its manager behind would skin this one's windows.
    ASSERT_EQ(DefaultManager(), nullptr);
}

void SkinnedTest::LoadSkin(const std::wstring& name, const TacSkinningRules* rules)
{
    Manager = Create<TsSkinManager>(nullptr);
    if (rules)
        Manager->SkinningRules = *rules;
    Manager->SetSkinDirectory(Folder());
    Manager->SetSkinName(name);
    ASSERT_TRUE(Manager->SkinData()->Active) << testsupport::Narrow(name);
}

void SkinnedTest::TearDown()
{
    Free(Manager);
    testsupport::PumpMessagesUntilIdle(200);
    Application->OnException = nullptr;
    EXPECT_TRUE(Errors.empty()) << (Errors.empty() ? "" : testsupport::Narrow(Errors.front()));
    TempFolderTest::TearDown();
}

} // namespace skincontrols
