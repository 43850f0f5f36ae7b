#include "app/thema.h"

#include "app/icon_theme.h"
#include "app/settings.h"

TThemesForm::TThemesForm(TComponent* owner) : TForm(owner) {}

void TThemesForm::DeclareBindings(TFormBindings& b)
{
    b.Field(L"ThemesList", &ThemesList);
    b.Field(L"OKButton", &OKButton);
    b.Field(L"ApplyButton", &ApplyButton);
    b.Field(L"CancelButton", &CancelButton);
    b.Handler(L"FormActivate", this, &TThemesForm::FormActivate);
    b.Handler(L"OKButtonClick", this, &TThemesForm::OKButtonClick);
    b.Handler(L"ApplyButtonClick", this, &TThemesForm::ApplyButtonClick);
    b.Handler(L"CancelButtonClick", this, &TThemesForm::CancelButtonClick);
}

void TThemesForm::FormActivate(TObject*)
{
    ThemesList->Items()->Clear();
    if (!Main)
        return;
    for (const std::wstring& theme : ListThemes(Main->ProgramDir()))
        ThemesList->Items()->Add(theme);
}

void TThemesForm::SetTheme()
{
    const int index = ThemesList->ItemIndex();
    if (index < 0 || !Main)
        return;
    WriteThemeSetting(Main->Settings(), L"Name", ThemesList->Items()->Get(index));
    Main->SkinLoad();
}

void TThemesForm::OKButtonClick(TObject*)
{
    SetTheme();
    Close();
}

void TThemesForm::ApplyButtonClick(TObject*)
{
    SetTheme();
}

void TThemesForm::CancelButtonClick(TObject*)
{
    Close();
}

TModalResult ShowThemesDialog(IThemedWindow* main)
{
    TThemesForm* form = nullptr;
    Application->CreateForm(form);
    form->Main = main;
    TModalResult result = mrCancel;
    try {
        result = form->ShowModal();
    } catch (...) {
        Free(form);
        throw;
    }
    Free(form);
    return result;
}
