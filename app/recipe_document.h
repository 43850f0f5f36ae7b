// A recipe document: composing one in a rich-edit control line by line (as the new-recipe dialog and
// the recipe writer do), reading and writing ".rcp" files as RTF, and the document of the main view as
// the store reads and writes it. The store sees only TRecipeDocument; the rich-edit control behind it is
// one implementation.
#pragma once

#include "framework/WinApi.h"

#include <memory>
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

// Writes the control's whole document as RTF to path. The file is replaced only once its new copy is
// whole: on failure it stays as it was, false is returned and error holds the reason.
bool SaveRichEditRtf(HWND richEdit, const std::wstring& path, std::wstring& error);

// Reads an RTF (or plain text) file into the control, replacing its document. A document whose groups
// nest deeper than the control takes is refused: the control is left empty.
bool LoadRichEditFile(HWND richEdit, const std::wstring& path, std::wstring& error);

// The control's paragraphs, without their paragraph marks. Paragraphs, not display lines: a long name
// that wraps in a narrow window is still one line of the document.
std::vector<std::wstring> RichEditParagraphs(HWND richEdit);

} // namespace recipes

// How a recipe file that cannot be saved is reported: this, then its path and the reason.
extern const wchar_t kCannotSaveFile[]; // "Не могу сохранить файл: "

class TRecipeDocument {
public:
    virtual ~TRecipeDocument() = default;
    // Replaces the document with the file's content: RTF when the file is RTF, else its plain text.
    // Raises EFOpenError when the file cannot be opened (the document stays), EReadError when reading
    // fails and ENestingError when its groups nest deeper than the control takes (the document is left
    // empty). The messages name the file, for the user.
    virtual void LoadFromFile(const std::wstring& path) = 0;
    // Writes the whole document as RTF. The file is replaced only once its new copy is whole and on
    // disk, so a failure leaves it as it was. Raises EFCreateError when the new copy cannot be created
    // (for example when the folder is missing) and EWriteError when writing or replacing fails.
    virtual void SaveToFile(const std::wstring& path) = 0;
    virtual void Clear() = 0;
    // The document's lines: paragraphs, never wrapped display lines.
    virtual std::vector<std::wstring> Paragraphs() const = 0;
    // Replaces the text of one paragraph, keeping the character format found there; missing
    // paragraphs up to index are appended first.
    virtual void ReplaceParagraph(int index, const std::wstring& text) = 0;
};

// The document held by a rich-edit window (the Unicode rich-edit class the recipes are written with).
class TRichEditDocument : public TRecipeDocument {
public:
    explicit TRichEditDocument(HWND richEdit) : edit_(richEdit) {}

    void LoadFromFile(const std::wstring& path) override;
    void SaveToFile(const std::wstring& path) override;
    void Clear() override;
    std::vector<std::wstring> Paragraphs() const override;
    void ReplaceParagraph(int index, const std::wstring& text) override;

    HWND Handle() const { return edit_; }

protected:
    void SetHandle(HWND richEdit) { edit_ = richEdit; }

private:
    HWND edit_; // borrowed: the view, or the hidden document below, owns it
};

// A hidden rich-edit control with its document, for work that needs no visible view.
class THiddenRecipeDocument : public TRichEditDocument {
public:
    THiddenRecipeDocument();

private:
    recipes::HiddenRichEdit edit_; // owns the window
};
