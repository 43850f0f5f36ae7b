#include "app/remove.h"

void TRemoveForm::DeclareBindings(TFormBindings& b)
{
    b.Handler(L"FormShow", this, &TRemoveForm::FormShow);
    b.Handler(L"CategoryListClick", this, &TRemoveForm::CategoryListClick);
    b.Handler(L"OKButtonClick", this, &TRemoveForm::OKButtonClick);
    b.Handler(L"CalcelButtonClick", this, &TRemoveForm::CalcelButtonClick);
    b.Field(L"L1", &L1);
    b.Field(L"RecipeName", &RecipeName);
    b.Field(L"L2", &L2);
    b.Field(L"CategoryList", &CategoryList);
    b.Field(L"OKButton", &OKButton);
    b.Field(L"CalcelButton", &CalcelButton);
}

void TRemoveForm::FormShow(TObject*)
{
    OKButton->SetEnabled(false);
    L2->SetCaption(L"в категорию");
    if (const auto selected = Host->SelectedRecipe()) {
        RecipeName->SetCaption(*selected);
    } else {
        RecipeName->Font()->SetColor(clRed);
        RecipeName->SetCaption(L"Рецепт не выбран");
    }
    CategoryList->Items()->Clear();
    for (const std::wstring& name : Host->Store().Categories())
        CategoryList->Items()->Add(name);
}

void TRemoveForm::CategoryListClick(TObject*)
{
    const int index = CategoryList->ItemIndex();
    if (index < 0)
        return;
    const std::wstring name = CategoryList->Items()->Strings(index);
    if (Host->SelectedRecipe())
        OKButton->SetEnabled(true);
    L2->SetCaption(name.size() < 2 ? L"в категорию Не выбрана категория" : L"в категорию " + name);
}

void TRemoveForm::OKButtonClick(TObject*)
{
    const int index = CategoryList->ItemIndex();
    const auto selected = Host->SelectedRecipe();
    if (index < 0 || !selected)
        return;
    // The store copies first and deletes only what arrived; when the target category already holds the
    // recipe it reports that, and the dialog stays open for another choice.
    if (Host->Store().MoveRecipe(Host->CurrentCategory(), CategoryList->Items()->Strings(index), *selected) !=
        TMoveResult::Moved)
        return;
    Host->SetRecipesChanged();
    Close();
}

void TRemoveForm::CalcelButtonClick(TObject*)
{
    Close();
}
