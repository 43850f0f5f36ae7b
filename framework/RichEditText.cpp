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

bool TRtfGroupDepth::Feed(const char* bytes, size_t count)
{
    for (size_t i = 0; i < count && !tooDeep_; ++i) {
        // Both readings see every byte, so each keeps its own place in the document.
        const bool skippingFits = skipping_.Next(bytes[i]);
        const bool literalFits = literal_.Next(bytes[i]);
        tooDeep_ = !skippingFits || !literalFits;
    }
    return !tooDeep_;
}

namespace {

bool IsLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

} // namespace

bool TRtfGroupDepth::Reading::Next(char c)
{
    switch (state) {
    case State::Binary:
        if (--binaryLeft <= 0)
            state = State::Text;
        return true;
    case State::Escape:
        // A letter starts a control word; anything else is a control symbol: "\{", "\}" and "\\"
        // stand for the character itself.
        state = IsLetter(c) ? State::Word : State::Text;
        word.assign(IsLetter(c) ? 1 : 0, c);
        return true;
    case State::Word:
        return InWord(c);
    case State::Parameter:
        return InParameter(c);
    case State::Text:
        break;
    }
    if (c == '\\') {
        state = State::Escape;
    } else if (c == '{') {
        if (++depth > kMaxRtfGroupDepth)
            return false;
    } else if (c == '}' && depth > 0) {
        --depth;
    }
    return true;
}

bool TRtfGroupDepth::Reading::InWord(char c)
{
    if (IsLetter(c)) {
        if (word.size() < 8)
            word += c;
        return true;
    }
    if (IsDigit(c) || c == '-') {
        negative = c == '-';
        parameter = negative ? 0 : c - '0';
        state = State::Parameter;
        return true;
    }
    return EndWord(c);
}

bool TRtfGroupDepth::Reading::InParameter(char c)
{
    if (!IsDigit(c))
        return EndWord(c);
    if (parameter < 1'000'000'000'000LL)
        parameter = parameter * 10 + (c - '0');
    return true;
}

bool TRtfGroupDepth::Reading::EndWord(char delimiter)
{
    state = State::Text;
    if (skipsBinary && word == "bin" && !negative && parameter > 0) {
        binaryLeft = parameter;
        state = State::Binary;
    }
    word.clear();
    parameter = 0;
    negative = false;
    // A space belongs to the word as its delimiter; any other byte is already the next one of the
    // text (or the first of the binary data).
    return delimiter == ' ' || Next(delimiter);
}

DWORD CALLBACK RichEditReadFile(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* read)
{
    auto* in = reinterpret_cast<TRichEditFile*>(cookie);
    DWORD done = 0;
    if (!ReadFile(in->File, buffer, static_cast<DWORD>(size), &done, nullptr)) {
        in->Failed = true;
        in->Error = GetLastError();
        *read = 0;
        return 1;
    }
    // The control never sees a group deeper than it takes: the stream ends before that piece, and
    // what came before is still complete groups of limited depth.
    if (in->Rtf && !in->Groups.Feed(reinterpret_cast<const char*>(buffer), done)) {
        in->TooDeep = true;
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
        out->Error = GetLastError();
        *written = 0;
        return 1;
    }
    *written = size;
    return 0;
}
