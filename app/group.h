// The new-category dialog: one name, created as a folder of Bases.
#pragma once

#include "app/dialog_host.h"
#include "framework/Forms.h"
#include "framework/StdCtrls.h"

class TNewGroupForm : public TForm {
    DECLARE_CLASS_NAME(TNewGroupForm)
public:
    explicit TNewGroupForm(TComponent* owner) : TForm(owner) {}
    void DeclareBindings(TFormBindings& b) override;

    TDialogHost* Host = nullptr; // borrowed: the main window outlives its dialogs

    void btOKClick(TObject* sender);
    void btCancelClick(TObject* sender);

    TLabel* Label1 = nullptr;
    TEdit* Edit1 = nullptr;
    TButton* btOK = nullptr;
    TButton* btCancel = nullptr;
};
