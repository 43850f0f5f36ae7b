#include "app/main_state.h"

#include "app/recipe_store.h"
#include "framework/SysUtils.h"

void TRecipeViewState::OpenedFromList(const std::wstring& caption)
{
    fromList_ = true;
    edited_ = false;
    caption_ = caption;
}

void TRecipeViewState::ShowsOther()
{
    fromList_ = false;
    edited_ = false;
    caption_.clear();
}

bool TRecipeViewState::Edited()
{
    if (fromList_)
        edited_ = true;
    return edited_;
}

std::optional<int> PreviousIndex(int selected)
{
    if (selected > 0)
        return selected - 1;
    return std::nullopt;
}

std::optional<int> NextIndex(int selected, int recipeCount)
{
    // Without a selection (-1) the first recipe is the next one.
    if (selected >= -1 && selected < recipeCount - 1)
        return selected + 1;
    return std::nullopt;
}

std::optional<int> StarsShown(int rating)
{
    if (rating >= 0 && rating <= 5)
        return rating;
    return std::nullopt;
}

std::optional<int> TabForRightClick(int tabAtPoint, int tabCount)
{
    if (tabCount <= 0)
        return std::nullopt;
    if (tabAtPoint < 0 || tabAtPoint >= tabCount)
        return 0;
    return tabAtPoint;
}

std::vector<TCategoryTab> CategoryTabs(const std::wstring& programDir, bool iconsFromFolder)
{
    std::vector<TCategoryTab> tabs;
    for (const std::wstring& name : ListFolderEntries(programDir + L"\\Bases\\")) {
        TCategoryTab tab{name, std::nullopt};
        const std::wstring icon = programDir + L"\\Bases\\" + name + L"\\icon.ico";
        if (iconsFromFolder && FileExists(icon))
            tab.Icon = icon;
        tabs.push_back(tab);
    }
    return tabs;
}

std::wstring RecipeCountText(int recipeCount)
{
    return L" В списке " + IntToStr(recipeCount) + L" рецептов";
}
