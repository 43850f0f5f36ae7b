// Categories made and removed by the user through the new-category dialog and the tab pop-up.
#include "tests/e2e/notebook_driver.h"

#include <gtest/gtest.h>

#include <algorithm>

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
        // The dialog opens with its name field focused: the name is typed without a click.
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

TEST_F(CategoryLifeTest, ANewCategoryListedFirstLeavesTheTabOnTheListedCategoryAndTheMoveTakesIt)
{
    const std::wstring name = L"Аперитивы";
    StartNotebook();
    std::vector<std::wstring> categories = TabCaptions(Tabs());
    ASSERT_GE(categories.size(), 2u);
    const std::wstring seen = categories[1];
    OpenCategory(seen);
    ASSERT_FALSE(ListItems().empty());
    const std::wstring recipe = ListItems().front();
    OpenRecipe(recipe);

    AskForCategory(name, L"dialog");
    ASSERT_TRUE(AnswerMessage(L"OK", L"created"));
    ASSERT_TRUE(WaitUntil([&] { return TabIndexOf(name) >= 0; }));
    ASSERT_LT(TabIndexOf(name), TabIndexOf(seen)) << "the new category lists before the one in view";
    EXPECT_TRUE(WaitUntil([&] { return CurrentTab(Tabs()) == TabIndexOf(seen); })) << "the tab names the list";
    EXPECT_EQ(ListItems(), RecipesOnDisk(seen));
    Shot(MainWindow(), L"rebuilt");

    // The move takes its recipe from the category in view.
    OpenRecipe(recipe);
    ChooseMenu(1, 3);
    HWND dialog = WaitForProgramWindow(L"TRemoveForm");
    ASSERT_NE(dialog, nullptr) << "no move dialog";
    HWND list = FindChildWindow(dialog, L"TListBox");
    ASSERT_NE(list, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return !ListBoxItems(list).empty(); }));
    const auto items = ListBoxItems(list);
    const auto target = std::find(items.begin(), items.end(), name);
    ASSERT_NE(target, items.end());
    const RECT r = ListBoxItemRect(list, static_cast<int>(target - items.begin()));
    Bot().Click(list, POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
    HWND ok = FindChildWindow(dialog, {}, L"ОК");
    ASSERT_NE(ok, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(ok) != FALSE; }));
    Bot().ClickCentre(ok);
    ASSERT_TRUE(WaitForWindowGone(dialog)) << "the move was refused";
    EXPECT_TRUE(WaitUntil([&] { return FileExists(RecipePath(name, recipe)); }));
    EXPECT_FALSE(FileExists(RecipePath(seen, recipe)));
}

} // namespace
