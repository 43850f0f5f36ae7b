// The main window's decisions that need no window: what the view holds and whether it may be saved or
// rated, list navigation, the star row, the tab list and the status texts.
#pragma once

#include "app/icon_theme.h"

#include <optional>
#include <string>
#include <vector>

// What the view shows. Saving and rating write the view's document over a recipe file, so they are
// allowed only while the view holds the recipe that was opened from the list.
class TRecipeViewState {
public:
    // A recipe of the list was opened (or its file had vanished and the view is empty).
    void OpenedFromList(const std::wstring& caption);
    // The information document, a search hit or nothing was put into the view.
    void ShowsOther();
    // A key was pressed in the view; returns whether the save commands may be enabled now.
    bool Edited();
    // The view was saved, the list refilled or the view cleared.
    void SaveDone() { edited_ = false; }

    bool CanSave() const { return fromList_ && edited_; }
    bool CanRate() const { return fromList_; }
    bool FromList() const { return fromList_; }
    const std::wstring& Caption() const { return caption_; }

private:
    bool fromList_ = false;
    bool edited_ = false;
    std::wstring caption_;
};

// Index "Назад" selects, or nothing when the selection is at the top (or there is none).
std::optional<int> PreviousIndex(int selected);
// Index "Далее" selects: the first item when none is selected, nothing at the last item.
std::optional<int> NextIndex(int selected, int recipeCount);

// How many stars a rating shows: 0..5, or nothing when the stars keep their state.
std::optional<int> StarsShown(int rating);

// The tab a right click makes current: the tab under the pointer, and tab 0 beside the tabs (as the
// skinned tab control does); nothing when there are no tabs.
std::optional<int> TabForRightClick(int tabAtPoint, int tabCount);

// One category tab: its name and its icon file (nothing for the fallback icon).
struct TCategoryTab {
    std::wstring Name;
    TIconSource Icon;
};
// The tabs of the categories of ProgramDir + "\Bases\", in listing order; a category's "icon.ico"
// only when icons from folders are on and the file exists.
std::vector<TCategoryTab> CategoryTabs(const std::wstring& programDir, bool iconsFromFolder);

// " В списке N рецептов", the status bar's count text.
std::wstring RecipeCountText(int recipeCount);
