// The program starts as its program block starts it: the start-up steps, the links of the form-skinning
// layer, then the main window, whose form data makes the skin manager and loads the stored skin.
#include "app/program_steps.h"
#include "skin/core/sSkinManager.h"
#include "tests/app/main_window_fixture.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

int IndexOf(TComponent* owner, const std::wstring& name)
{
    for (int i = 0; i < owner->ComponentCount(); ++i)
        if (owner->Components(i)->Name() == name)
            return i;
    return -1;
}

class ProgramStart : public apptest::MainWindowTest {};

TEST_F(ProgramStart, MainWindowStartsWithItsSkinManagerActive)
{
    WriteRecipe(L"Супы", L"Борщ", L"5");
    TMainForm* main = Start();
    ASSERT_NE(main, nullptr);
    auto* sm = dynamic_cast<TsSkinManager*>(main->FindComponent(L"sSkinManager1"));
    ASSERT_NE(sm, nullptr);
    EXPECT_EQ(sm, DefaultManager());
    EXPECT_TRUE(sm->Active());
    EXPECT_EQ(sm->SkinName(), L"Office2007 (internal)");
    EXPECT_TRUE(sm->SkinData()->Active);
    EXPECT_GE(FindSectionIndex(sm, L"FORM"), 0);
    EXPECT_TRUE(IsWindowVisible(main->Handle()));
    EXPECT_FALSE(ListCaptions().empty());
}

TEST_F(ProgramStart, SkinManagerIsMadeAfterTheSkinnedControls)
{
    TMainForm* main = Start();
    const int manager = IndexOf(main, L"sSkinManager1");
    ASSERT_GE(manager, 0);
    for (const wchar_t* control : {L"StatusBar", L"ToolBar1", L"sTabControl", L"Splitter1"}) {
        const int index = IndexOf(main, control);
        ASSERT_GE(index, 0) << testsupport::Narrow(control);
        EXPECT_LT(index, manager) << testsupport::Narrow(control);
    }
}

TEST_F(ProgramStart, ClosingTheMainWindowLeavesNoDefaultManager)
{
    Start();
    ASSERT_NE(DefaultManager(), nullptr);
    Free(form);
    form = nullptr;
    EXPECT_EQ(DefaultManager(), nullptr);
    // A second start makes a manager again and loads the same skin.
    TMainForm* again = Start();
    ASSERT_NE(again, nullptr);
    ASSERT_NE(DefaultManager(), nullptr);
    EXPECT_EQ(DefaultManager()->SkinName(), L"Office2007 (internal)");
}

TEST(ProgramSteps, SkinLibraryStepsRunBeforeThePngFormatInTheirOrder)
{
    TStartup startup;
    AddProgramStartupSteps(startup);
    const std::vector<std::wstring> names = startup.Names();
    const std::vector<std::wstring> expected = {
        L"Skin constants", L"Skin command message", L"Date utilities", L"JPEG formats",
        L"Menu background", L"Program icons and skinned forms", L"Visual styles entries", L"Shell folders", L"Library bitmaps",
        L"Font glyphs", L"Pixel access", L"PNG format"};
    EXPECT_EQ(names, expected);
}

} // namespace
