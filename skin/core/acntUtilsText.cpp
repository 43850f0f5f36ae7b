// The window-free routines of the skin library's text unit: words split by delimiters, INI text held as
// split lines and directory names. The host build's skin reader and fuzzer use them too.
#include "skin/core/acntUtils.h"

#include "framework/SysUtils.h"

int FindWordStart(int n, const std::wstring& s, const TCharSet& delims)
{
    const int length = static_cast<int>(s.size());
    int i = 1;
    int count = 0;
    while (i <= length && count != n) {
        while (i <= length && delims.Contains(s[i - 1]))
            ++i;
        if (i <= length) {
            ++count;
            if (count == n)
                return i;
            while (i <= length && !delims.Contains(s[i - 1]))
                ++i;
        }
    }
    return 0;
}

std::wstring GetWordAt(int n, const std::wstring& s, const TCharSet& delims)
{
    const int start = FindWordStart(n, s, delims);
    if (start == 0)
        return {};
    size_t end = static_cast<size_t>(start - 1);
    while (end < s.size() && !delims.Contains(s[end]))
        ++end;
    return s.substr(static_cast<size_t>(start - 1), end - static_cast<size_t>(start - 1));
}

int CountWords(const std::wstring& s, const TCharSet& delims)
{
    int count = 0;
    size_t i = 0;
    while (i < s.size()) {
        while (i < s.size() && delims.Contains(s[i]))
            ++i;
        if (i < s.size()) {
            ++count;
            while (i < s.size() && !delims.Contains(s[i]))
                ++i;
        }
    }
    return count;
}

std::wstring RemoveChar(const std::wstring& s, wchar_t ch)
{
    std::wstring result;
    result.reserve(s.size());
    for (wchar_t c : s)
        if (c != ch)
            result += c;
    return result;
}

void SplitIniSections(const TStrings* lines, TStringList* sections)
{
    sections->Clear();
    sections->SetOwnsObjects(true);
    TStringList* current = nullptr;
    for (int i = 0; i < lines->Count(); ++i) {
        const std::wstring line = lines->Get(i);
        if (line.empty() || line[0] == L';')
            continue;
        if (line.size() >= 2 && line.front() == L'[' && line.back() == L']') {
            auto list = std::make_unique<TStringList>();
            try {
                sections->AddObject(line.substr(1, line.size() - 2), list.get());
                current = list.release();
            } catch (const Exception&) {
                // The new list goes with its unique_ptr; the line is ignored.
            }
        } else if (current) {
            current->Add(line);
        }
    }
}

std::wstring ReadSectionString(const TStrings*, const TStringList* sections, const std::wstring& section,
                               const std::wstring& defaultValue, const std::wstring& ident)
{
    const int k = sections->IndexOf(section);
    if (k < 0)
        return defaultValue;
    const auto* list = dynamic_cast<const TStringList*>(sections->GetObject(k));
    if (!list)
        return defaultValue;
    const int j = list->IndexOfName(ident);
    if (j < 0)
        return defaultValue;
    const std::wstring line = list->Get(j);
    return line.size() > ident.size() ? line.substr(ident.size() + 1) : std::wstring();
}

int ReadSectionInteger(const TStrings* lines, const TStringList* sections, const std::wstring& section,
                       int defaultValue, const std::wstring& ident)
{
    std::wstring s = ReadSectionString(lines, sections, section, L"", ident);
    if (s.size() > 2 && s[0] == L'0' && (s[1] == L'X' || s[1] == L'x'))
        s = L"$" + s.substr(2);
    return StrToIntDef(s, defaultValue);
}

std::wstring NormalizeDir(const std::wstring& dir)
{
    if (dir.empty())
        return {};
    if (dir.back() == L'\\')
        return dir;
    if (dir.back() == L'/')
        return dir.substr(0, dir.size() - 1) + L"\\";
    if (dir.size() == 1)
        return dir + L":\\";
    return dir + L"\\";
}
