// The photo window: the recipe's photo, the window sized to the picture.
#pragma once

#include "app/dialog_host.h"
#include "framework/ExtCtrls.h"
#include "framework/Forms.h"

class TFotoForm : public TForm {
    DECLARE_CLASS_NAME(TFotoForm)
public:
    explicit TFotoForm(TComponent* owner) : TForm(owner) {}
    void DeclareBindings(TFormBindings& b) override;

    TDialogHost* Host = nullptr; // borrowed

    void FormActivate(TObject* sender);

    // Loads the host's photo into the picture; false when it cannot be shown, the picture error then
    // having been reported through the application's handler.
    bool LoadPhoto();

    TImage* Foto = nullptr;
};
