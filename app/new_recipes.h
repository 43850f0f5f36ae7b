// The new-recipe dialog: a category, the recipe's fields and an optional photo; the recipe is composed
// in a hidden rich-edit control and saved into the category with the photo beside it.
#pragma once

#include "app/dialog_host.h"
#include "framework/Dialogs.h"
#include "framework/Forms.h"
#include "framework/RichEdit.h"
#include "framework/StdCtrls.h"

extern const wchar_t kRecipeExistsText[]; // "Рецепт с таким названием уже существует"
// Why OK saves nothing yet: no name, a name no file can have, a category no recipe can be saved in.
extern const wchar_t kNoRecipeNameText[];
extern const wchar_t kBadRecipeNameText[];
extern const wchar_t kBadCategoryText[];

class TNewForm : public TForm {
    DECLARE_CLASS_NAME(TNewForm)
public:
    explicit TNewForm(TComponent* owner) : TForm(owner) {}
    void DeclareBindings(TFormBindings& b) override;

    TDialogHost* Host = nullptr; // borrowed

    void FormActivate(TObject* sender);
    void CategoryBoxChange(TObject* sender);
    void NameRecipesExit(TObject* sender);
    void BrowseBtnClick(TObject* sender);
    void buttonOKClick(TObject* sender);

    // The file the photo is copied from: the file chosen in this dialog while the photo field still
    // shows its name, else the photo field's text when it is a full path; empty otherwise.
    std::wstring PhotoSource();

    TComboBox* CategoryBox = nullptr;
    TEdit* NameRecipes = nullptr;
    TEdit* Portions = nullptr;
    TComboBox* RatingComboBox = nullptr;
    TMemo* Produkts = nullptr;
    TMemo* Recipes = nullptr;
    TEdit* Autor = nullptr;
    TEdit* FotoName = nullptr;
    TButton* BrowseBtn = nullptr;
    TRichEdit* RichEdit = nullptr;
    TButton* buttonOK = nullptr;
    TButton* buttonCancel = nullptr;
    TOpenPictureDialog* OpenPictureDialog1 = nullptr;

private:
    // The chosen category entry, or nothing when the box holds only typed text.
    std::optional<std::wstring> ChosenCategory();
    // The recipe file the name field leads to in the category, or nothing when the name cannot be a
    // file name of its own.
    std::optional<std::wstring> RecipeFile(const std::wstring& category);
    // What the user is told when the name field cannot name a recipe of the category; nothing when it
    // can, and then RecipeFile gives the file.
    std::optional<std::wstring> NameRefusal(const std::wstring& category);
    void SetFieldColors(TColor color);

    std::wstring photoSource_; // the file chosen with the browse button in this dialog
    bool prepared_ = false;    // the category box was filled at the dialog's first activation
};
