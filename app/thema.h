// The theme dialog: lists the icon themes under Resource and makes the chosen one current.
#pragma once

#include "framework/Forms.h"
#include "framework/StdCtrls.h"

#include <string>

class TSettingsStorage;

// What the theme dialog uses of the window whose icons it themes (the main window).
class IThemedWindow {
public:
    virtual ~IThemedWindow() = default;
    // The folder whose Resource subfolder holds the icon themes.
    virtual const std::wstring& ProgramDir() const = 0;
    // Where the chosen theme's name is written.
    virtual TSettingsStorage& Settings() = 0;
    // Reads the settings again and loads the chosen theme's icons.
    virtual void SkinLoad() = 0;
};

class TThemesForm : public TForm {
    DECLARE_CLASS_NAME(TThemesForm)
public:
    explicit TThemesForm(TComponent* owner);
    void DeclareBindings(TFormBindings& bindings) override;

    // The window whose theme is set; given before the dialog is shown.
    IThemedWindow* Main = nullptr; // borrowed

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
TModalResult ShowThemesDialog(IThemedWindow* main);
