// The move dialog: the selected recipe of the current category goes to the category chosen here.
#pragma once

#include "app/dialog_host.h"
#include "framework/Forms.h"
#include "framework/StdCtrls.h"

class TRemoveForm : public TForm {
    DECLARE_CLASS_NAME(TRemoveForm)
public:
    explicit TRemoveForm(TComponent* owner) : TForm(owner) {}
    void DeclareBindings(TFormBindings& b) override;

    TDialogHost* Host = nullptr; // borrowed

    void FormShow(TObject* sender);
    void CategoryListClick(TObject* sender);
    void OKButtonClick(TObject* sender);
    void CalcelButtonClick(TObject* sender);

    TLabel* L1 = nullptr;
    TLabel* RecipeName = nullptr;
    TLabel* L2 = nullptr;
    TListBox* CategoryList = nullptr;
    TButton* OKButton = nullptr;
    TButton* CalcelButton = nullptr;
};
