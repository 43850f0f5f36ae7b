// The application the dialog tests run in, a main window stand-in the dialogs talk to, and the
// fixture that gives each test its own program folder.
#pragma once

#include "app/dialog_host.h"
#include "framework/Forms.h"
#include "tests/app/store_fixture.h"

#include <optional>
#include <string>
#include <vector>

// What the main window would hold: the store, the list's selection, the current tab, the view.
class TTestHost : public TDialogHost {
public:
    TTestHost(TRecipeStore& store, TStoreDialogs& dialogs) : store_(store), dialogs_(dialogs) {}

    TRecipeStore& Store() override { return store_; }
    std::optional<std::wstring> SelectedRecipe() override { return Selected; }
    std::wstring CurrentCategory() override { return Category; }
    void RateSelectedRecipe(int rating) override { store_.RateRecipe(view_, rating, Selected.value_or(L"")); }
    void ShowFoundRecipe(const std::wstring& path) override;
    std::wstring PhotoPath() override { return Photo; }
    int StartCount() override { return Starts; }
    int ViewCount() override { return Views; }
    void SetRecipesChanged() override { ++RecipesChanged; }
    TStoreDialogs& Dialogs() override { return dialogs_; }

    std::optional<std::wstring> Selected;
    std::wstring Category;
    std::wstring Photo;
    int Starts = 0;
    int Views = 0;
    int RecipesChanged = 0;
    std::vector<std::wstring> Shown;
    THiddenRecipeDocument& ViewDocument() { return view_; }

private:
    TRecipeStore& store_;
    TStoreDialogs& dialogs_;
    THiddenRecipeDocument view_;
};

class DialogTest : public apptest::StoreTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Creates a dialog of class T bound to the host, shows it without a modal loop and lets it settle.
    template <class T>
    T* Open()
    {
        auto* form = Create<T>(Application);
        form->Host = host.get();
        opened_.push_back(form);
        form->Show();
        Pump();
        return form;
    }
    // Writes a picture of the whole dialog beside the test data, for a person to look at.
    void KeepScreenshot(TCustomForm* form, const std::wstring& name);
    // Writes a recipe composed as the new-recipe dialog composes it.
    void WriteRecipe(const std::wstring& category, const std::wstring& name, const std::wstring& products,
                     const std::wstring& rating = L"4");
    static void Pump();

    std::unique_ptr<TTestHost> host;
    std::vector<std::wstring> Errors;

private:
    std::vector<TComponent*> opened_;
};
