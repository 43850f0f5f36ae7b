#include "app/recipe_document.h"

#include "framework/RichEditText.h"
#include "framework/SysUtils.h"
#include "tools/recipe-writer/RecipeDocument.h"

#include <richedit.h>

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
        throw EFOpenError(L"Cannot open file \"" + path + L"\". " + SysErrorMessage(GetLastError()));
    const WPARAM format = DetectFormat(file.Get());
    // A stream the control gives up on must not leave the previous document behind it.
    Clear();
    TRichEditFile in{file.Get()};
    EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&in), 0, RichEditReadFile};
    SendMessageW(edit_, EM_STREAMIN, format, reinterpret_cast<LPARAM>(&stream));
    if (in.Failed)
        throw EReadError(L"Cannot read file \"" + path + L"\"");
}

void TRichEditDocument::SaveToFile(const std::wstring& path)
{
    // The file is opened here first so that a missing folder reports as a creation error, as every
    // other file the program writes does.
    {
        FileHandle probe(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                     nullptr));
        if (!probe.Valid())
            throw EFCreateError(L"Cannot create file \"" + path + L"\". " + SysErrorMessage(GetLastError()));
    }
    std::wstring error;
    if (!recipes::SaveRichEditRtf(edit_, path, error))
        throw EWriteError(error);
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
