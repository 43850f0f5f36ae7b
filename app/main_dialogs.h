// The main window's modal dialogs. Each one is created, shown modally and freed; it reaches the main
// window through MainForm and reports back through its state (RecipesChanged, PhotoPath, the counters).
#pragma once

#include "framework/Forms.h"

#include <memory>

class TDialogHost;
class TMainForm;

// What a dialog sees of the main window; the main window outlives it.
std::unique_ptr<TDialogHost> MainFormHost(TMainForm* main);

// New recipe: sets RecipesChanged to 1 when the list must be refilled.
TModalResult ShowNewRecipeDialog(TMainForm* main);
// Move the selected recipe to another category: sets RecipesChanged to 1 when it moved.
TModalResult ShowMoveDialog(TMainForm* main);
// Rate the selected recipe (through TMainForm::RateSelectedRecipe).
TModalResult ShowRatingDialog(TMainForm* main);
// New category (the main window rebuilds the tabs afterwards whatever the result).
TModalResult ShowNewCategoryDialog(TMainForm* main);
// Search every category; a chosen hit goes into the view through TMainForm::ShowSearchHit.
TModalResult ShowSearchDialog(TMainForm* main);
// The photo of PhotoPath; a photo that cannot be shown is reported and opens no window.
TModalResult ShowPhotoDialog(TMainForm* main);
// The program information with the counters.
TModalResult ShowAboutDialog(TMainForm* main);
