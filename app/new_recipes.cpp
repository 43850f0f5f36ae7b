#include "app/new_recipes.h"

#include "app/recipe_document.h"
#include "framework/SysUtils.h"

#include <algorithm>

const wchar_t kRecipeExistsText[] = L"Рецепт с таким названием уже существует";
const wchar_t kNoRecipeNameText[] = L"Введите, пожалуйста, название рецепта.";
const wchar_t kBadRecipeNameText[] = L"Под таким названием рецепт сохранить нельзя. Измените, пожалуйста, название.";
const wchar_t kBadCategoryText[] = L"В эту категорию рецепт сохранить нельзя. Выберите, пожалуйста, другую.";

void TNewForm::DeclareBindings(TFormBindings& b)
{
    b.Handler(L"FormActivate", this, &TNewForm::FormActivate);
    b.Handler(L"CategoryBoxChange", this, &TNewForm::CategoryBoxChange);
    b.Handler(L"NameRecipesExit", this, &TNewForm::NameRecipesExit);
    b.Handler(L"BrowseBtnClick", this, &TNewForm::BrowseBtnClick);
    b.Handler(L"buttonOKClick", this, &TNewForm::buttonOKClick);
    b.Field(L"CategoryBox", &CategoryBox);
    b.Field(L"NameRecipes", &NameRecipes);
    b.Field(L"Portions", &Portions);
    b.Field(L"RatingComboBox", &RatingComboBox);
    b.Field(L"Produkts", &Produkts);
    b.Field(L"Recipes", &Recipes);
    b.Field(L"Autor", &Autor);
    b.Field(L"FotoName", &FotoName);
    b.Field(L"BrowseBtn", &BrowseBtn);
    b.Field(L"RichEdit", &RichEdit);
    b.Field(L"buttonOK", &buttonOK);
    b.Field(L"buttonCancel", &buttonCancel);
    b.Field(L"OpenPictureDialog1", &OpenPictureDialog1);
}

void TNewForm::SetFieldColors(TColor color)
{
    for (TWinControl* c : std::initializer_list<TWinControl*>{Autor, NameRecipes, Portions, RatingComboBox, Produkts,
                                                              Recipes, FotoName})
        c->SetColor(color);
}

void TNewForm::FormActivate(TObject*)
{
    // The dialog is activated again when one of its own messages closes: the category chosen and the
    // fields typed must survive that.
    if (prepared_)
        return;
    prepared_ = true;
    CategoryBox->Clear();
    const std::vector<std::wstring> categories = Host->Store().Categories();
    for (const std::wstring& name : categories)
        CategoryBox->Items()->Add(name);
    CategoryBox->SetDropDownCount(std::min(static_cast<int>(categories.size()), 20));
    CategoryBox->SetText(L"Выберите категорию из этого списка");
    SetFieldColors(clBtnFace);
}

void TNewForm::CategoryBoxChange(TObject*)
{
    SetFieldColors(clWindow);
    FotoName->SetEnabled(true);
    Autor->SetEnabled(true);
    NameRecipes->SetEnabled(true);
    if (NameRecipes->CanFocus())
        NameRecipes->SetFocus();
    Portions->SetEnabled(true);
    RatingComboBox->SetEnabled(true);
    Produkts->SetEnabled(true);
    Recipes->SetEnabled(true);
}

std::optional<std::wstring> TNewForm::ChosenCategory()
{
    const int index = CategoryBox->ItemIndex();
    if (index < 0)
        return std::nullopt;
    return CategoryBox->Items()->Strings(index);
}

std::optional<std::wstring> TNewForm::RecipeFile(const std::wstring& category)
{
    const std::wstring name = NameRecipes->Text();
    // A typed name never leads out of its category: it must be one plain file name.
    if (!IsPlainFileName(name) || !IsPlainFileName(category))
        return std::nullopt;
    return Host->Store().CategoryFolder(category) + L"\\" + name + L".rcp";
}

std::optional<std::wstring> TNewForm::NameRefusal(const std::wstring& category)
{
    const std::wstring name = NameRecipes->Text();
    if (Trim(name).empty())
        return kNoRecipeNameText;
    if (!IsPlainFileName(name))
        return kBadRecipeNameText;
    if (!IsPlainFileName(category))
        return kBadCategoryText;
    return std::nullopt;
}

void TNewForm::NameRecipesExit(TObject*)
{
    // The box's text counts here, chosen or typed, as the name check has always read it.
    const auto file = RecipeFile(CategoryBox->Text());
    if (file && FileExists(*file))
        NameRecipes->SetText(kRecipeExistsText);
}

void TNewForm::BrowseBtnClick(TObject*)
{
    if (!OpenPictureDialog1->Execute())
        return;
    photoSource_ = OpenPictureDialog1->FileName();
    FotoName->SetText(ExtractFileName(photoSource_));
}

std::wstring TNewForm::PhotoSource()
{
    const std::wstring shown = FotoName->Text();
    if (!photoSource_.empty() && shown == ExtractFileName(photoSource_))
        return photoSource_;
    // A typed full path is taken as it is; a bare name is not looked for in whatever folder is current.
    const bool fullPath = shown.size() > 2 && ((shown[1] == L':' && shown[2] == L'\\') || shown.rfind(L"\\\\", 0) == 0);
    return fullPath ? shown : std::wstring();
}

void TNewForm::buttonOKClick(TObject*)
{
    const std::optional<std::wstring> category = ChosenCategory();
    std::optional<std::wstring> file;
    if (category) {
        if (const std::optional<std::wstring> refusal = NameRefusal(*category)) {
            // Nothing is saved; the user is told why and corrects the name where it was typed.
            Host->Dialogs().ShowWarning(*refusal);
            if (NameRecipes->CanFocus())
                NameRecipes->SetFocus();
            return;
        }
        file = RecipeFile(*category);
        // The category may have changed since the name was checked: an existing recipe is never
        // overwritten, the dialog stays open with the message in the name field.
        if (FileExists(*file)) {
            NameRecipes->SetText(kRecipeExistsText);
            return;
        }
    }
    recipes::RecipeFields fields;
    fields.name = NameRecipes->Text();
    fields.portions = Portions->Text();
    fields.rating = RatingComboBox->Text();
    fields.products = Produkts->Text();
    fields.method = Recipes->Text();
    fields.author = Autor->Text();
    recipes::ComposeRecipe(RichEdit->Handle(), fields);
    if (file)
        TRichEditDocument(RichEdit->Handle()).SaveToFile(*file);
    // Without a source of this dialog the store reports the photo as not found.
    if (!FotoName->Text().empty())
        Host->Store().AddRecipePhoto(PhotoSource(), category ? Host->Store().CategoryFolder(*category) : std::wstring(),
                                     fields.name);
    Host->SetRecipesChanged();
    Close();
}
