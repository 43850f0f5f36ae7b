// Composes a recipe document in a rich-edit control, line by line as the new-recipe dialog does, and
// saves the control's whole text as an RTF ".rcp" file.
#pragma once

#include "framework/WinApi.h"

#include <string>
#include <vector>

namespace recipes {

// What the new-recipe dialog collects; every field is free text, several lines allowed in products
// and method.
struct RecipeFields {
    std::wstring name;
    std::wstring portions;
    std::wstring rating;
    std::wstring products;
    std::wstring method;
    std::wstring author;
};

// The rich-edit window class the documents are composed in and shown by (the Unicode twin of the
// first rich-edit class, so Cyrillic survives whatever the ANSI code page is).
const wchar_t* RecipeRichEditClass();

// Loads the rich-edit library once; false when it cannot be loaded.
bool LoadRichEditLibrary();

// A hidden rich-edit control that lives as long as this object.
class HiddenRichEdit {
public:
    HiddenRichEdit();
    ~HiddenRichEdit();
    HiddenRichEdit(const HiddenRichEdit&) = delete;
    HiddenRichEdit& operator=(const HiddenRichEdit&) = delete;

    HWND Handle() const { return wnd_; } // owned
    bool Valid() const { return wnd_ != nullptr; }

private:
    HWND wnd_ = nullptr;
};

// Empties the control and builds the recipe document in it: the name, the rating line, the optional
// portions line, the product and method sections and the optional author line, each with its font,
// size and colour.
void ComposeRecipe(HWND richEdit, const RecipeFields& fields);

// Writes the control's whole document as RTF to path (overwriting it). On failure returns false and
// puts the reason into error.
bool SaveRichEditRtf(HWND richEdit, const std::wstring& path, std::wstring& error);

// Reads an RTF (or plain text) file into the control, replacing its document.
bool LoadRichEditFile(HWND richEdit, const std::wstring& path, std::wstring& error);

// The control's paragraphs, without their paragraph marks. Paragraphs, not display lines: a long name
// that wraps in a narrow window is still one line of the document.
std::vector<std::wstring> RichEditParagraphs(HWND richEdit);

} // namespace recipes
