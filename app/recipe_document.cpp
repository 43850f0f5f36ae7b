#include "app/recipe_document.h"

#include "framework/RichEditText.h"
#include "framework/SysUtils.h"

#include <richedit.h>

#include <cstring>
#include <string>

namespace recipes {
namespace {

constexpr COLORREF kNavy = RGB(0x00, 0x00, 0x80);
constexpr COLORREF kWhite = RGB(0xFF, 0xFF, 0xFF);
constexpr COLORREF kMaroon = RGB(0x80, 0x00, 0x00);
constexpr COLORREF kGreen = RGB(0x00, 0x80, 0x00);
constexpr COLORREF kDarkGrey = RGB(0x33, 0x33, 0x33);
constexpr COLORREF kOlive = RGB(0x80, 0x80, 0x00);

// Rich-edit paragraph indents are in twips; the document's indents are given in points.
constexpr LONG kTwipsPerPoint = 20;

CHARFORMAT2W EmptyCharFormat() {
    CHARFORMAT2W cf;
    std::memset(&cf, 0, sizeof(cf));
    cf.cbSize = sizeof(cf);
    return cf;
}

void SetFace(CHARFORMAT2W& cf, const wchar_t* face) {
    cf.dwMask |= CFM_FACE | CFM_CHARSET;
    wcsncpy(cf.szFaceName, face, LF_FACESIZE - 1);
    cf.bCharSet = RUSSIAN_CHARSET;
}

void SetSize(CHARFORMAT2W& cf, int points) {
    cf.dwMask |= CFM_SIZE;
    cf.yHeight = points * kTwipsPerPoint;
}

void SetColour(CHARFORMAT2W& cf, COLORREF colour) {
    cf.dwMask |= CFM_COLOR;
    cf.dwEffects &= ~CFE_AUTOCOLOR;
    cf.crTextColor = colour;
}

// Sets the attributes the next inserted text gets (the caret is an empty selection).
void SetCaretFormat(HWND edit, CHARFORMAT2W cf) {
    SendMessageW(edit, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf));
}

void CaretToEnd(HWND edit) {
    SendMessageW(edit, EM_SETSEL, static_cast<WPARAM>(-1), -1);
}

void Insert(HWND edit, const std::wstring& text) {
    SendMessageW(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
}

// Starts a new paragraph at the end of the document and leaves the caret in it.
void AppendLine(HWND edit) {
    CaretToEnd(edit);
    Insert(edit, L"\r");
    CaretToEnd(edit);
}

// Memo text holds CR LF line ends; the rich edit takes a CR as its paragraph mark.
std::wstring ParagraphText(const std::wstring& text) {
    std::wstring out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') {
            continue;
        }
        out += text[i] == L'\n' ? L'\r' : text[i];
    }
    return out;
}

void InsertWith(HWND edit, const std::wstring& text, CHARFORMAT2W cf) {
    SetCaretFormat(edit, cf);
    Insert(edit, ParagraphText(text));
}

CHARFORMAT2W Format(const wchar_t* face, int points, COLORREF colour) {
    CHARFORMAT2W cf = EmptyCharFormat();
    if (face != nullptr) {
        SetFace(cf, face);
    }
    SetSize(cf, points);
    SetColour(cf, colour);
    return cf;
}

// The document's base look before any recipe text: the form's regular Tahoma, not the control's
// built-in system font.
void SetDefaultFormat(HWND edit) {
    CHARFORMAT2W cf = Format(L"Tahoma", 8, RGB(0, 0, 0));
    cf.dwMask |= CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT;
    cf.dwEffects = 0;
    SendMessageW(edit, EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&cf));
    SendMessageW(edit, EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&cf));
}

// The first line starts 10 points in; following lines of a paragraph start 10 points left of it.
void SetDocumentIndents(HWND edit) {
    PARAFORMAT2 pf;
    std::memset(&pf, 0, sizeof(pf));
    pf.cbSize = sizeof(pf);
    pf.dwMask = PFM_STARTINDENT | PFM_OFFSET;
    pf.dxStartIndent = 10 * kTwipsPerPoint;
    pf.dxOffset = -10 * kTwipsPerPoint;
    SendMessageW(edit, EM_SETSEL, 0, -1);
    SendMessageW(edit, EM_SETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&pf));
    CaretToEnd(edit);
}

std::wstring LastErrorText(const wchar_t* what, const std::wstring& path) {
    return std::wstring(what) + L" " + path + L" (error " + std::to_wstring(GetLastError()) + L")";
}

} // namespace

const wchar_t* RecipeRichEditClass() {
    return L"RichEdit20W";
}

bool LoadRichEditLibrary() {
    static HMODULE library = LoadLibraryW(L"riched20.dll");
    return library != nullptr;
}

HiddenRichEdit::HiddenRichEdit() {
    if (!LoadRichEditLibrary()) {
        return;
    }
    wnd_ = CreateWindowExW(0, RecipeRichEditClass(), L"", WS_POPUP | ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL, 0, 0,
                           400, 300, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (wnd_ != nullptr) {
        // Recipes may be longer than the control's default limit of 32K characters.
        SendMessageW(wnd_, EM_EXLIMITTEXT, 0, 16 * 1024 * 1024);
    }
}

HiddenRichEdit::~HiddenRichEdit() {
    if (wnd_ != nullptr) {
        DestroyWindow(wnd_);
    }
}

void ComposeRecipe(HWND edit, const RecipeFields& fields) {
    SetWindowTextW(edit, L"");
    SetDefaultFormat(edit);
    SetDocumentIndents(edit);

    InsertWith(edit, fields.name, Format(L"Arial", 12, kNavy));

    // The rating digit is white: readers find it in line 1, the reader of the view does not see it.
    AppendLine(edit);
    if (!fields.rating.empty()) {
        InsertWith(edit, fields.rating, Format(L"Arial", 12, kWhite));
    } else {
        SetCaretFormat(edit, Format(L"Arial", 12, kWhite));
    }

    if (!fields.portions.empty()) {
        AppendLine(edit);
        InsertWith(edit, L"Количество порций : ", Format(L"Tahoma", 10, kMaroon));
        InsertWith(edit, fields.portions, Format(nullptr, 10, kGreen));
    }

    AppendLine(edit);
    InsertWith(edit, L"Необходимые продукты:", Format(L"Tahoma", 10, kMaroon));
    AppendLine(edit);
    InsertWith(edit, fields.products, Format(nullptr, 10, kGreen));
    AppendLine(edit);
    InsertWith(edit, L"Способ приготовления:", Format(nullptr, 10, kMaroon));
    AppendLine(edit);
    InsertWith(edit, fields.method, Format(nullptr, 10, kDarkGrey));
    AppendLine(edit);

    if (!fields.author.empty()) {
        AppendLine(edit);
        InsertWith(edit, L"Автор: ", Format(nullptr, 10, kOlive));
        InsertWith(edit, fields.author, Format(nullptr, 10, kOlive));
    }
}

namespace {

// Writes the control's document as RTF to a new file that replaces path once it is whole.
TWholeFileResult WriteRichEditRtf(HWND edit, const std::wstring& path) {
    return WriteFileWhole(path, [edit](void* file) {
        TRichEditFile writer{static_cast<HANDLE>(file)};
        EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&writer), 0, RichEditWriteFile};
        SendMessageW(edit, EM_STREAMOUT, SF_RTF, reinterpret_cast<LPARAM>(&stream));
        if (!writer.Failed && stream.dwError == 0) {
            return true;
        }
        SetLastError(writer.Error != 0 ? writer.Error : ERROR_WRITE_FAULT);
        return false;
    });
}

} // namespace

bool SaveRichEditRtf(HWND edit, const std::wstring& path, std::wstring& error) {
    const TWholeFileResult result = WriteRichEditRtf(edit, path);
    if (result.Succeeded()) {
        return true;
    }
    SetLastError(result.Error);
    error = LastErrorText(result.Step == TWholeFileResult::Create ? L"cannot create" : L"cannot write", path);
    return false;
}

bool LoadRichEditFile(HWND edit, const std::wstring& path, std::wstring& error) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        error = LastErrorText(L"cannot open", path);
        return false;
    }
    TRichEditFile reader{file};
    EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&reader), 0, RichEditReadFile};
    SendMessageW(edit, EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&stream));
    CloseHandle(file);
    if (reader.TooDeep) {
        SetWindowTextW(edit, L"");
        error = L"groups nest deeper than " + std::to_wstring(kMaxRtfGroupDepth) + L" levels in " + path;
        return false;
    }
    if (stream.dwError != 0) {
        error = L"cannot read " + path;
        return false;
    }
    return true;
}


std::vector<std::wstring> RichEditParagraphs(HWND edit) {
    std::vector<std::wstring> lines(1);
    const std::wstring text = RichEditText(edit);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'\r' || text[i] == L'\n') {
            if (text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') {
                ++i;
            }
            lines.emplace_back();
        } else {
            lines.back() += text[i];
        }
    }
    return lines;
}

} // namespace recipes

const wchar_t kCannotSaveFile[] = L"Не могу сохранить файл: ";

namespace {

// Owns an open file handle for the length of one load or save.
class FileHandle {
public:
    explicit FileHandle(HANDLE file) : file_(file) {}
    ~FileHandle()
    {
        if (Valid())
            CloseHandle(file_);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    bool Valid() const { return file_ != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return file_; }

private:
    HANDLE file_;
};

constexpr wchar_t kCannotRead[] = L"Не могу прочитать файл: ";

// The first bytes decide the stream format: an RTF header is read as RTF; anything else is shown as
// plain text, UTF-16 when it starts with a byte-order mark, else in the ANSI code page.
WPARAM DetectFormat(HANDLE file)
{
    char head[5] = {};
    DWORD got = 0;
    ReadFile(file, head, sizeof(head), &got, nullptr);
    SetFilePointer(file, 0, nullptr, FILE_BEGIN);
    if (got == 5 && std::string(head, 5) == "{\\rtf")
        return SF_RTF;
    if (got >= 2 && static_cast<unsigned char>(head[0]) == 0xFF && static_cast<unsigned char>(head[1]) == 0xFE)
        return SF_TEXT | SF_UNICODE;
    return SF_TEXT;
}

} // namespace

void TRichEditDocument::LoadFromFile(const std::wstring& path)
{
    FileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid())
        throw EFOpenError(kCannotRead + path + L"\n" + SysErrorMessage(GetLastError()));
    const WPARAM format = DetectFormat(file.Get());
    // A stream the control gives up on must not leave the previous document behind it.
    Clear();
    TRichEditFile in{file.Get()};
    in.Rtf = (format & SF_RTF) != 0;
    EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&in), 0, RichEditReadFile};
    SendMessageW(edit_, EM_STREAMIN, format, reinterpret_cast<LPARAM>(&stream));
    // What came before the failure is no recipe: nothing of it stays to be taken for one.
    if (in.TooDeep) {
        Clear();
        throw ENestingError(kCannotRead + path + L"\nГруппы оформления в нём вложены слишком глубоко.");
    }
    if (in.Failed) {
        Clear();
        throw EReadError(kCannotRead + path + L"\n" + SysErrorMessage(in.Error));
    }
}

void TRichEditDocument::SaveToFile(const std::wstring& path)
{
    const bool existed = GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
    const TWholeFileResult result = recipes::WriteRichEditRtf(edit_, path);
    if (result.Succeeded())
        return;
    const std::wstring report = kCannotSaveFile + path + L"\n" + SysErrorMessage(result.Error);
    // A missing folder or a name the folder refuses is a creation error, as for every other file the
    // program writes; once the new copy was begun, the report says that the file itself is untouched.
    if (result.Step == TWholeFileResult::Create)
        throw EFCreateError(report);
    throw EWriteError(report + (existed ? L"\nФайл остался прежним." : L"\nФайл не создан."));
}

void TRichEditDocument::Clear()
{
    SetWindowTextW(edit_, L"");
}

std::vector<std::wstring> TRichEditDocument::Paragraphs() const
{
    return recipes::RichEditParagraphs(edit_);
}

void TRichEditDocument::ReplaceParagraph(int index, const std::wstring& text)
{
    if (index < 0)
        return;
    // Paragraph marks count as one character each in the control's positions, as in its text.
    const std::wstring whole = RichEditText(edit_);
    LONG start = 0;
    int paragraph = 0;
    for (size_t i = 0; i < whole.size() && paragraph < index; ++i) {
        if (whole[i] == L'\r') {
            ++paragraph;
            start = static_cast<LONG>(i + 1);
        }
    }
    if (paragraph < index) {
        const LONG end = static_cast<LONG>(whole.size());
        RichEditSelect(edit_, end, end);
        RichEditReplaceSelection(edit_, std::wstring(static_cast<size_t>(index - paragraph), L'\r') + text, false);
        return;
    }
    LONG end = start;
    while (end < static_cast<LONG>(whole.size()) && whole[static_cast<size_t>(end)] != L'\r')
        ++end;
    RichEditSelect(edit_, start, end);
    RichEditReplaceSelection(edit_, text, false);
}

THiddenRecipeDocument::THiddenRecipeDocument() : TRichEditDocument(nullptr)
{
    if (!edit_.Valid())
        throw EOutOfResources(L"Cannot create the recipe document window");
    SetHandle(edit_.Handle());
}
