#include "app/recipe_document.h"

#include "framework/SysUtils.h"
#include "tools/recipe-writer/RecipeDocument.h"

#include <richedit.h>

namespace {

struct FileStream {
    HANDLE file;
    bool failed;
};

DWORD CALLBACK ReadChunk(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* read)
{
    auto* in = reinterpret_cast<FileStream*>(cookie);
    DWORD done = 0;
    if (!ReadFile(in->file, buffer, static_cast<DWORD>(size), &done, nullptr)) {
        in->failed = true;
        *read = 0;
        return 1;
    }
    *read = static_cast<LONG>(done);
    return 0;
}

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

std::wstring WholeText(HWND edit)
{
    GETTEXTLENGTHEX length{GTL_DEFAULT | GTL_PRECISE | GTL_NUMCHARS, 1200};
    const auto count = SendMessageW(edit, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&length), 0);
    if (count <= 0)
        return {};
    std::wstring text(static_cast<size_t>(count) + 1, L'\0');
    GETTEXTEX get{};
    get.cb = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    get.flags = GT_DEFAULT;
    get.codepage = 1200;
    const auto got = SendMessageW(edit, EM_GETTEXTEX, reinterpret_cast<WPARAM>(&get),
                                  reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(got > 0 ? got : 0));
    return text;
}

void Select(HWND edit, LONG start, LONG end)
{
    CHARRANGE range{start, end};
    SendMessageW(edit, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
}

void ReplaceSelection(HWND edit, const std::wstring& text)
{
    SendMessageW(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
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
    FileStream in{file.Get(), false};
    EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&in), 0, ReadChunk};
    SendMessageW(edit_, EM_STREAMIN, format, reinterpret_cast<LPARAM>(&stream));
    if (in.failed)
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
    const std::wstring whole = WholeText(edit_);
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
        Select(edit_, end, end);
        ReplaceSelection(edit_, std::wstring(static_cast<size_t>(index - paragraph), L'\r') + text);
        return;
    }
    LONG end = start;
    while (end < static_cast<LONG>(whole.size()) && whole[static_cast<size_t>(end)] != L'\r')
        ++end;
    Select(edit_, start, end);
    ReplaceSelection(edit_, text);
}

THiddenRecipeDocument::THiddenRecipeDocument() : TRichEditDocument(nullptr)
{
    if (!edit_.Valid())
        throw EOutOfResources(L"Cannot create the recipe document window");
    SetHandle(edit_.Handle());
}
