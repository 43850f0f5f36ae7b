// The theme dialog: lists the icon themes under Resource and makes the chosen one current.
#pragma once

#include "framework/Forms.h"
#include "framework/StdCtrls.h"

class TMainForm;

class TThemesForm : public TForm {
    DECLARE_CLASS_NAME(TThemesForm)
public:
    explicit TThemesForm(TComponent* owner);
    void DeclareBindings(TFormBindings& bindings) override;

    // The main window whose theme is set (MainForm unless given).
    TMainForm* Main = nullptr; // borrowed

    TListBox* ThemesList = nullptr;
    TButton* OKButton = nullptr;
    TButton* ApplyButton = nullptr;
    TButton* CancelButton = nullptr;

    void FormActivate(TObject* sender);
    // Writes the selected theme's name and reloads the main window's icons; nothing without a selection.
    void SetTheme();
    void OKButtonClick(TObject* sender);
    void ApplyButtonClick(TObject* sender);
    void CancelButtonClick(TObject* sender);
};

// Shows the theme dialog modally over the main window and frees it.
TModalResult ShowThemesDialog(TMainForm* main);
