// The one environment of the form-skinning program: the skin library's process-wide steps with the
// skinned forms' step, the application with a main form (the tests' forms are others), and the links of
// the form-skinning layer.
#include "tests/skin_forms/skin_forms_support.h"

#include "framework/Forms.h"
#include "framework/Startup.h"
#include "skin/core/sConst.h"
#include "skin/core/sMessages.h"
#include "skin/core/sPixels.h"
#include "skin/core/sSkinForms.h"
#include "skin/forms/sSkinFormsLinks.h"

namespace {

class ApplicationEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        AddSkinConstantsStartupStep(startup_);
        AddSkinMessageStartupStep(startup_);
        AddPixelAccessStartupStep(startup_);
        AddSkinnedFormsStartupStep(startup_);
        startup_.Start();
        InitApplication();
        LinkSkinForms();
        // The first form made is the main form; the tests' forms are others.
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

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new ApplicationEnvironment);

} // namespace

void SkinFormsTest::SetUp()
{
    TempFolderTest::SetUp();
    Application->OnException = [this](TObject*, const Exception& e) { Errors.push_back(e.Message()); };
}

void SkinFormsTest::TearDown()
{
    Application->OnException = nullptr;
    testsupport::PumpMessagesUntilIdle(200);
    TempFolderTest::TearDown();
}
