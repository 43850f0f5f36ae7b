// The rich-text editor over the system's Unicode rich-edit class: paragraphs as lines, RTF files
// with a plain-text fallback, character and paragraph attributes, search and printing.
#pragma once

#include "framework/StdCtrls.h"

#include <richedit.h>

#include <memory>
#include <string>

class TCustomRichEdit;

enum TAttributeType { atSelected, atDefaultText };

// Character attributes of the selection (or of the text typed next) or of the default text.
class TTextAttributes : public TPersistent {
    DECLARE_CLASS_NAME(TTextAttributes)
public:
    TTextAttributes(TCustomRichEdit* editor, TAttributeType type) : editor_(editor), type_(type) {}

    std::wstring Name() const;
    void SetName(const std::wstring& value);
    // In points.
    int Size() const;
    void SetSize(int value);
    TColor Color() const;
    void SetColor(TColor value);
    TFontStyles Style() const;
    void SetStyle(TFontStyles value);
    std::uint8_t Charset() const;
    void SetCharset(std::uint8_t value);

    // Takes a font's or other attributes' name, size, colour, style and character set.
    void Assign(TPersistent* source) override;

private:
    CHARFORMAT2W Get() const;
    void Set(CHARFORMAT2W format) const;

    TCustomRichEdit* editor_; // not owned: the editor owns its attributes
    TAttributeType type_;
};

// Paragraph attributes of the paragraphs the selection touches. Indents are in points: FirstIndent
// is where a paragraph's first line starts, LeftIndent where its following lines start relative to
// the first line.
class TParaAttributes : public TPersistent {
    DECLARE_CLASS_NAME(TParaAttributes)
public:
    explicit TParaAttributes(TCustomRichEdit* editor) : editor_(editor) {}

    int FirstIndent() const;
    void SetFirstIndent(int value);
    int LeftIndent() const;
    void SetLeftIndent(int value);
    int RightIndent() const;
    void SetRightIndent(int value);
    TAlignment Alignment() const;
    void SetAlignment(TAlignment value);

private:
    PARAFORMAT2 Get() const;
    void Set(PARAFORMAT2 format) const;

    TCustomRichEdit* editor_; // not owned
};

enum TSearchType { stWholeWord, stMatchCase };
using TSearchTypes = TSet<TSearchType>;

// FindText over a document's text already read (from position 0; a beginning that reaches one
// character past the searched range gives the same answer as the whole text).
int FindTextIn(const std::wstring& text, const std::wstring& searchStr, int startPos, int length,
               TSearchTypes options);

class TCustomRichEdit : public TCustomEdit {
    DECLARE_CLASS_NAME(TCustomRichEdit)
public:
    explicit TCustomRichEdit(TComponent* owner);
    ~TCustomRichEdit() override;

    // The document's paragraphs (not its wrapped display lines).
    TStrings* Lines() const { return lines_.get(); }
    void SetLines(TStrings* value) { lines_->Assign(value); }
    TTextAttributes* SelAttributes() const { return selAttributes_.get(); }
    TTextAttributes* DefAttributes() const { return defAttributes_.get(); }
    TParaAttributes* Paragraph() const { return paragraph_.get(); }

    // Files and streams are RTF unless PlainText is set. Loading detects RTF by its signature and
    // reads anything else (or RTF the control cannot read) as plain text. RTF whose groups nest deeper
    // than the control takes is never given to it: ENestingError, and the control is left empty.
    bool PlainText() const { return plainText_; }
    void SetPlainText(bool value) { plainText_ = value; }
    void LoadFromFile(const std::wstring& fileName);
    void LoadFromStream(TStream* stream);
    void SaveToFile(const std::wstring& fileName);
    void SaveToStream(TStream* stream);

    // The whole document as the control counts characters: paragraphs end with a single CR.
    std::wstring DocumentText();
    std::wstring SelText();
    void SetSelText(const std::wstring& value);
    int GetTextLen();

    // The first position at or after startPos, within length characters (negative: to the end), where
    // searchStr occurs; -1 when it does not. A whole word is bounded by the text's ends or by
    // characters that are neither letters nor digits, in any alphabet.
    int FindText(const std::wstring& searchStr, int startPos, int length, TSearchTypes options);

    // Prints the document on the framework's printer with the job title caption; raises EPrinter
    // when there is no printer.
    void Print(const std::wstring& caption);

    TScrollStyle ScrollBars() const { return scrollBars_; }
    void SetScrollBars(TScrollStyle value);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool value);
    bool HideSelection() const { return hideSelection_; }
    void SetHideSelection(bool value);

    void Dispatch(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    const wchar_t* NativeClassName() const override { return L"RichEdit20W"; }
    // A font the control is given goes to the whole text, so it is given only when its face, size or
    // style changed: a new colour alone must leave a document's own faces and sizes as they are.
    bool HasFont(HFONT font) override;

private:
    friend class TTextAttributes;
    friend class TParaAttributes;
    // The background takes Color; the default text (and with wholeText all text) takes Font's colour
    // and character set.
    void ApplyColors(bool wholeText);
    // False when the control reports an error in the data.
    bool StreamIn(const std::string& bytes, UINT format);
    std::string StreamOut(UINT format);

    std::unique_ptr<TStrings> lines_;
    std::unique_ptr<TTextAttributes> selAttributes_;
    std::unique_ptr<TTextAttributes> defAttributes_;
    std::unique_ptr<TParaAttributes> paragraph_;
    std::string savedRtf_; // the document while the window is recreated
    TFont::TShape textShape_; // the font the window was last given
    TScrollStyle scrollBars_ = ssBoth;
    bool plainText_ = false;
    bool wordWrap_ = true;
    bool hideSelection_ = true;
};

class TRichEdit : public TCustomRichEdit {
    DECLARE_CLASS_NAME(TRichEdit)
public:
    explicit TRichEdit(TComponent* owner) : TCustomRichEdit(owner) {}
};
