#include "framework/RichEditText.h"

#include <richedit.h>

std::wstring RichEditText(HWND edit)
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

void RichEditSelect(HWND edit, LONG start, LONG end)
{
    CHARRANGE range{start, end};
    SendMessageW(edit, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
}

void RichEditReplaceSelection(HWND edit, const std::wstring& text, bool canUndo)
{
    SendMessageW(edit, EM_REPLACESEL, canUndo ? TRUE : FALSE, reinterpret_cast<LPARAM>(text.c_str()));
}

DWORD CALLBACK RichEditReadFile(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* read)
{
    auto* in = reinterpret_cast<TRichEditFile*>(cookie);
    DWORD done = 0;
    if (!ReadFile(in->File, buffer, static_cast<DWORD>(size), &done, nullptr)) {
        in->Failed = true;
        *read = 0;
        return 1;
    }
    *read = static_cast<LONG>(done);
    return 0;
}

DWORD CALLBACK RichEditWriteFile(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* written)
{
    auto* out = reinterpret_cast<TRichEditFile*>(cookie);
    DWORD done = 0;
    if (!WriteFile(out->File, buffer, static_cast<DWORD>(size), &done, nullptr) || done != static_cast<DWORD>(size)) {
        out->Failed = true;
        *written = 0;
        return 1;
    }
    *written = size;
    return 0;
}
