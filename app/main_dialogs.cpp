// The main window's dialogs: each one is created with the main window as its host, shown modally and
// freed when it closes.
#include "app/main_dialogs.h"

#include "app/about.h"
#include "app/dialog_host.h"
#include "app/group.h"
#include "app/main.h"
#include "app/new_recipes.h"
#include "app/remove.h"
#include "app/search.h"
#include "app/set_rating.h"
#include "app/show.h"

namespace {

// What the dialogs see of the main window.
class TMainFormHost : public TDialogHost {
public:
    explicit TMainFormHost(TMainForm* main) : main_(main) {}

    TRecipeStore& Store() override { return main_->Store(); }
    std::optional<std::wstring> SelectedRecipe() override { return main_->SelectedCaption(); }
    // The category whose recipes the list shows: the recipe a command names lives there.
    std::wstring CurrentCategory() override { return main_->Store().Category(); }
    void RateSelectedRecipe(int rating) override { main_->RateSelectedRecipe(rating); }
    void ShowFoundRecipe(const std::wstring& path) override { main_->ShowSearchHit(path); }
    std::wstring PhotoPath() override { return main_->PhotoPath; }
    int StartCount() override { return main_->Counters().StartCount; }
    int ViewCount() override { return main_->Counters().ViewCount; }
    void SetRecipesChanged() override { main_->RecipesChanged = 1; }
    TStoreDialogs& Dialogs() override { return main_->StoreDialogs(); }
    TCustomImageList* FindListImages() override { return main_->FindListImage(); }

private:
    TMainForm* main_; // borrowed: the main window outlives its dialogs
};

template <class T>
TModalResult ShowDialog(TMainForm* main)
{
    TMainFormHost host(main);
    TOwned<T> form(Create<T>(Application));
    form->Host = &host;
    return form->ShowModal();
}

} // namespace

std::unique_ptr<TDialogHost> MainFormHost(TMainForm* main)
{
    return std::make_unique<TMainFormHost>(main);
}

TModalResult ShowNewRecipeDialog(TMainForm* main) { return ShowDialog<TNewForm>(main); }
TModalResult ShowMoveDialog(TMainForm* main) { return ShowDialog<TRemoveForm>(main); }
TModalResult ShowRatingDialog(TMainForm* main) { return ShowDialog<TRatingForm>(main); }
TModalResult ShowNewCategoryDialog(TMainForm* main) { return ShowDialog<TNewGroupForm>(main); }
TModalResult ShowSearchDialog(TMainForm* main) { return ShowDialog<TSearchForm>(main); }
TModalResult ShowPhotoDialog(TMainForm* main)
{
    TMainFormHost host(main);
    TOwned<TFotoForm> form(Create<TFotoForm>(Application));
    form->Host = &host;
    // A photo that cannot be shown is reported before its window opens, so no empty window stands
    // behind the report.
    if (!form->LoadPhoto())
        return mrCancel;
    return form->ShowModal();
}
TModalResult ShowAboutDialog(TMainForm* main) { return ShowDialog<TAboutForm>(main); }
