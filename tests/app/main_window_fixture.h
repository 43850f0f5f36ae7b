// The main window on a program folder of its own: a small recipe base, icon themes, a registry key of
// its own for the settings, and scripted message boxes.
#pragma once

#include "app/main.h"
#include "tests/app/store_fixture.h"

#include <string>
#include <vector>

namespace apptest {

class MainWindowTest : public StoreTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Writes a recipe through the recipe writer, as the new-recipe dialog does.
    void WriteRecipe(const std::wstring& category, const std::wstring& name, const std::wstring& rating) const;
    // A theme folder whose icons are all of one colour (red in the low byte); names empty: every icon.
    void WriteTheme(const std::wstring& theme, COLORREF colour, const std::vector<std::wstring>& names = {}) const;
    void WriteSetting(const std::wstring& section, const std::wstring& name, const std::wstring& value);
    std::wstring ReadSetting(const std::wstring& section, const std::wstring& name);

    // Creates the main window on the folder and shows it (FormCreate, FormShow, FormActivate).
    TMainForm* Start();
    // Closes the window (it is freed) and starts a new one on the same folder and registry key.
    TMainForm* Restart();

    std::vector<std::wstring> ListCaptions() const;
    std::vector<std::wstring> TabTexts() const;
    std::vector<std::wstring> ViewLines() const;
    std::vector<bool> StarsVisible() const;
    // Types one character into the view, as the keyboard would.
    void TypeIntoView(wchar_t key);
    // Clicks a tab with the left button, through the native control.
    void ClickTab(int index);

    TMainForm* form = nullptr;
    std::unique_ptr<TRegistrySettings> settings;
    // What the application would have reported in its error box.
    std::vector<std::wstring> errors;
    std::wstring keyPath;
};

// The colour of an image list's image at its centre, drawn on white.
COLORREF ImageCentre(TCustomImageList* list, int index);

} // namespace apptest
