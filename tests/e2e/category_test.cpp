// Categories made and removed by the user through the new-category dialog and the tab pop-up.
#include "tests/e2e/notebook_driver.h"

#include <gtest/gtest.h>

namespace {

using namespace e2e;

class CategoryLifeTest : public NotebookTest {
protected:
    // Types a name into the new-category dialog and presses its "ОК".
    void AskForCategory(const std::wstring& name, const std::wstring& shot)
    {
        ClickToolButton(L"Группа");
        HWND dialog = WaitForProgramWindow(L"TNewGroupForm");
        ASSERT_NE(dialog, nullptr) << "no new-category dialog";
        HWND edit = FindChildWindow(dialog, L"TEdit");
        ASSERT_NE(edit, nullptr);
        Bot().ClickCentre(edit);
        Bot().TypeText(name);
        ASSERT_TRUE(WaitUntil([&] { return WindowCaption(edit) == name; }));
        Shot(dialog, shot);
        HWND ok = FindChildWindow(dialog, {}, L"ОК");
        ASSERT_NE(ok, nullptr);
        Bot().ClickCentre(ok);
    }
};

TEST_F(CategoryLifeTest, ACategoryMadeInTheDialogGetsAFolderAndATabAndGoesAgain)
{
    const std::wstring name = L"Соленья";
    StartNotebook();
    AskForCategory(name, L"dialog");
    ASSERT_TRUE(AnswerMessage(L"OK", L"created"));
    EXPECT_TRUE(FolderExists(CategoryPath(name)));
    ASSERT_TRUE(WaitUntil([&] { return TabIndexOf(name) >= 0; }));
    EXPECT_EQ(TabCaptions(Tabs()), CategoriesOnDisk());
    Shot(MainWindow(), L"created");

    ClickTab(TabIndexOf(name), MouseButton::Right);
    ChooseLastPopupItem();
    ASSERT_TRUE(AnswerMessage(L"&Да", L"first-yes"));
    ASSERT_TRUE(AnswerMessage(L"&Да", L"second-yes"));
    EXPECT_TRUE(WaitUntil([&] { return !FolderExists(CategoryPath(name)); }));
    EXPECT_TRUE(WaitUntil([&] { return TabIndexOf(name) < 0; }));
}

TEST_F(CategoryLifeTest, ANameLeadingOutOfTheBaseIsRefused)
{
    StartNotebook();
    const auto before = CategoriesOnDisk();
    AskForCategory(L"..\\Наружу", L"dialog");
    ASSERT_TRUE(AnswerMessage(L"OK", L"refused"));
    EXPECT_FALSE(FolderExists(BasePath(L"Наружу")));
    EXPECT_EQ(CategoriesOnDisk(), before);
}

} // namespace
