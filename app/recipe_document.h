// The document of the main view as the store reads and writes it: load, save, and its paragraphs.
// The store sees only this interface; the rich-edit control behind it is one implementation.
#pragma once

#include "framework/WinApi.h"
#include "tools/recipe-writer/RecipeDocument.h"

#include <memory>
#include <string>
#include <vector>

class TRecipeDocument {
public:
    virtual ~TRecipeDocument() = default;
    // Replaces the document with the file's content: RTF when the file is RTF, else its plain text.
    // Raises EFOpenError when the file cannot be opened.
    virtual void LoadFromFile(const std::wstring& path) = 0;
    // Writes the whole document as RTF, overwriting the file. Raises EFCreateError when the file cannot
    // be created (for example when its folder is missing) and EWriteError when writing fails.
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
