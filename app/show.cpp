#include "app/show.h"

void TFotoForm::DeclareBindings(TFormBindings& b)
{
    b.Handler(L"FormActivate", this, &TFotoForm::FormActivate);
    b.Field(L"Foto", &Foto);
}

void TFotoForm::FormActivate(TObject*)
{
    // A photo that cannot be shown (damaged, or gone since it was found) leaves no empty window.
    if (!LoadPhoto())
        Close();
}

bool TFotoForm::LoadPhoto()
{
    // The picture registry chooses the format by the file's extension.
    try {
        Foto->Picture()->LoadFromFile(Host->PhotoPath());
    } catch (const Exception&) {
        Application->HandleException(this);
        return false;
    }
    Foto->SetAutoSize(true);
    return true;
}
