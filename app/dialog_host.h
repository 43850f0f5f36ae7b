// What the recipe dialogs see of the main window: the store, the selected recipe, the view, the photo
// and the counters, the message boxes, and the flag through which they ask for the recipe list to be
// refilled.
#pragma once

#include "app/recipe_document.h"
#include "app/recipe_store.h"
#include "framework/ImgList.h"

#include <optional>
#include <string>

class TDialogHost {
public:
    virtual ~TDialogHost() = default;
    virtual TRecipeStore& Store() = 0;
    // The caption of the main list's selected recipe; nothing without a selection.
    virtual std::optional<std::wstring> SelectedRecipe() = 0;
    // The name of the category of the current tab.
    virtual std::wstring CurrentCategory() = 0;
    // Writes the rating digit into the recipe the main view holds, when it holds the selected one.
    virtual void RateSelectedRecipe(int rating) = 0;
    // Clears the main view and shows the file there when it exists; the list, the tabs, the stars,
    // the photo button and the view counter stay as they are.
    virtual void ShowFoundRecipe(const std::wstring& path) = 0;
    // The photo the photo window shows.
    virtual std::wstring PhotoPath() = 0;
    virtual int StartCount() = 0;
    virtual int ViewCount() = 0;
    // The main list must be refilled when the dialog has closed.
    virtual void SetRecipesChanged() = 0;
    // The message boxes the dialogs tell the user with (the store's own).
    virtual TStoreDialogs& Dialogs() = 0;
    // The one-icon image list of the search hits (none: the hits show no icon).
    virtual TCustomImageList* FindListImages() { return nullptr; }
};
