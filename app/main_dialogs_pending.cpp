// The dialogs until their forms exist: each one is cancelled at once.
#include "app/main_dialogs.h"

TModalResult ShowNewRecipeDialog(TMainForm*) { return mrCancel; }
TModalResult ShowMoveDialog(TMainForm*) { return mrCancel; }
TModalResult ShowRatingDialog(TMainForm*) { return mrCancel; }
TModalResult ShowNewCategoryDialog(TMainForm*) { return mrCancel; }
TModalResult ShowSearchDialog(TMainForm*) { return mrCancel; }
TModalResult ShowPhotoDialog(TMainForm*) { return mrCancel; }
TModalResult ShowAboutDialog(TMainForm*) { return mrCancel; }
