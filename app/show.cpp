#include "app/show.h"

void TFotoForm::DeclareBindings(TFormBindings& b)
{
    b.Handler(L"FormActivate", this, &TFotoForm::FormActivate);
    b.Field(L"Foto", &Foto);
}

void TFotoForm::FormActivate(TObject*)
{
    // The picture registry chooses the format by the file's extension; an unreadable photo raises the
    // picture error, which the application reports.
    Foto->Picture()->LoadFromFile(Host->PhotoPath());
    Foto->SetAutoSize(true);
}
