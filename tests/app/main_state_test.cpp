// The main window's decisions that need no window: what may be saved and rated, list navigation at
// its ends, the star row, right clicks beside the tabs and the category tabs' icons.
#include "app/main_state.h"

#include "framework/SysUtils.h"
#include "tests/app/store_fixture.h"

using namespace apptest;

TEST(RecipeView, EditsOfARecipeFromTheListMayBeSaved)
{
    TRecipeViewState view;
    EXPECT_FALSE(view.CanSave());
    view.OpenedFromList(L"Борщ");
    EXPECT_FALSE(view.CanSave());
    EXPECT_TRUE(view.CanRate());
    EXPECT_TRUE(view.Edited());
    EXPECT_TRUE(view.CanSave());
    EXPECT_EQ(view.Caption(), L"Борщ");
    view.SaveDone();
    EXPECT_FALSE(view.CanSave());
}

TEST(RecipeView, TheInformationDocumentOrASearchHitIsNeverSavedOrRated)
{
    TRecipeViewState view;
    view.OpenedFromList(L"Борщ");
    view.Edited();
    view.ShowsOther();
    EXPECT_FALSE(view.CanSave());
    EXPECT_FALSE(view.CanRate());
    EXPECT_FALSE(view.Edited());
    EXPECT_FALSE(view.CanSave());
}

TEST(RecipeView, OpeningARecipeFromTheListAgainAllowsSavingAgain)
{
    TRecipeViewState view;
    view.ShowsOther();
    view.OpenedFromList(L"Щи");
    EXPECT_TRUE(view.CanRate());
    EXPECT_TRUE(view.Edited());
    EXPECT_EQ(view.Caption(), L"Щи");
}

TEST(RecipeView, OpeningAnotherRecipeDropsThePendingEdit)
{
    TRecipeViewState view;
    view.OpenedFromList(L"Борщ");
    view.Edited();
    view.OpenedFromList(L"Щи");
    EXPECT_FALSE(view.CanSave());
}

TEST(ListNavigation, PreviousStopsAtTheFirstItem)
{
    EXPECT_EQ(PreviousIndex(3), 2);
    EXPECT_EQ(PreviousIndex(1), 0);
    EXPECT_FALSE(PreviousIndex(0).has_value());
    EXPECT_FALSE(PreviousIndex(-1).has_value());
}

TEST(ListNavigation, NextStopsAtTheLastItem)
{
    EXPECT_EQ(NextIndex(0, 3), 1);
    EXPECT_EQ(NextIndex(1, 3), 2);
    EXPECT_FALSE(NextIndex(2, 3).has_value());
    EXPECT_FALSE(NextIndex(0, 1).has_value());
    EXPECT_EQ(NextIndex(-1, 3), 0);
    EXPECT_EQ(NextIndex(-1, 1), 0);
    EXPECT_FALSE(NextIndex(-1, 0).has_value());
}

TEST(Stars, RatingsZeroToFiveShowThatManyAndOthersKeepTheRow)
{
    for (int n = 0; n <= 5; ++n)
        EXPECT_EQ(StarsShown(n), n);
    EXPECT_FALSE(StarsShown(7).has_value());
    EXPECT_FALSE(StarsShown(-1).has_value());
    EXPECT_EQ(StarsShown(ParseRating(L"x")), 0);
    EXPECT_EQ(StarsShown(ParseRating(L"")), 0);
}

TEST(TabClicks, ARightClickBesideTheTabsMeansTabZero)
{
    EXPECT_EQ(TabForRightClick(-1, 4), 0);
    EXPECT_EQ(TabForRightClick(4, 4), 0);
    EXPECT_EQ(TabForRightClick(2, 4), 2);
    EXPECT_FALSE(TabForRightClick(-1, 0).has_value());
}

TEST(StatusTexts, TheCountTextNamesTheNumberOfRecipes)
{
    EXPECT_EQ(RecipeCountText(0), L" В списке 0 рецептов");
    EXPECT_EQ(RecipeCountText(37), L" В списке 37 рецептов");
}

class TabsTest : public StoreTest {};

TEST_F(TabsTest, FolderIconsOnlyWhenSwitchedOnAndPresent)
{
    MakeCategory(L"Супы");
    MakeCategory(L"Салаты");
    WriteText(InCategory(L"Супы", L"icon.ico"), "ico");

    auto find = [](const std::vector<TCategoryTab>& tabs, const std::wstring& name) {
        return *std::find_if(tabs.begin(), tabs.end(), [&](const TCategoryTab& t) { return t.Name == name; });
    };
    const auto on = CategoryTabs(Folder(), true);
    ASSERT_EQ(on.size(), 2u);
    EXPECT_EQ(find(on, L"Супы").Icon, InCategory(L"Супы", L"icon.ico"));
    EXPECT_FALSE(find(on, L"Салаты").Icon.has_value());

    for (const TCategoryTab& tab : CategoryTabs(Folder(), false))
        EXPECT_FALSE(tab.Icon.has_value());
}

TEST_F(TabsTest, TabsFollowTheCategoryListing)
{
    for (const wchar_t* name : {L"b", L"a", L"Избранное"})
        MakeCategory(name);
    std::vector<std::wstring> names;
    for (const TCategoryTab& tab : CategoryTabs(Folder(), false))
        names.push_back(tab.Name);
    EXPECT_EQ(names, store->Categories());
}
