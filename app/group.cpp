#include "app/group.h"

void TNewGroupForm::DeclareBindings(TFormBindings& b)
{
    b.Handler(L"btOKClick", this, &TNewGroupForm::btOKClick);
    b.Handler(L"btCancelClick", this, &TNewGroupForm::btCancelClick);
    b.Field(L"Label1", &Label1);
    b.Field(L"Edit1", &Edit1);
    b.Field(L"btOK", &btOK);
    b.Field(L"btCancel", &btCancel);
}

void TNewGroupForm::btOKClick(TObject*)
{
    // The store refuses names that are not one plain folder name, so nothing lands outside Bases.
    Host->Store().CreateCategory(Edit1->Text());
    Close();
}

void TNewGroupForm::btCancelClick(TObject*)
{
    Close();
}
