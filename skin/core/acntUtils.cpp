#include "skin/core/acntUtils.h"

#include "framework/Graphics.h"
#include "framework/SysUtils.h"
#include "framework/TypInfo.h"

#include <algorithm>

#include <shellapi.h>

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

std::wstring ProgramFolder()
{
    return IncludeTrailingPathDelimiter(ApplicationFolder());
}

std::unique_ptr<TIcon> LoadFileIcon(const std::wstring& fileName, unsigned flags)
{
    if (!FileExists(fileName))
        return nullptr;
    SHFILEINFOW info{};
    if (!SHGetFileInfoW(fileName.c_str(), 0, &info, sizeof(info), flags | SHGFI_ICON) || !info.hIcon)
        return nullptr;
    auto icon = std::make_unique<TIcon>();
    icon->SetHandle(info.hIcon);
    if (icon->Empty())
        return nullptr;
    return icon;
}

// ---- Published properties by name ----

namespace {

const TPropInfo* PropOfKind(const TPersistent* obj, const std::wstring& name, std::initializer_list<TPropKind> kinds)
{
    const TPropInfo* info = obj ? GetPropInfo(obj, name) : nullptr;
    if (!info)
        return nullptr;
    for (TPropKind kind : kinds)
        if (info->Kind == kind)
            return info;
    return nullptr;
}

// The set's elements as text: names joined by commas, in element order.
std::wstring SetToText(const TPropInfo& info, std::int64_t value)
{
    std::wstring text;
    for (std::size_t bit = 0; bit < info.Elements.size() && bit < 32; ++bit)
        if (value & (std::int64_t{1} << bit))
            text += (text.empty() ? L"" : L",") + info.Elements[bit];
    return text;
}

std::int64_t TextToSet(const TPropInfo& info, const std::wstring& text)
{
    std::int64_t value = 0;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find(L',', start);
        if (end == std::wstring::npos)
            end = text.size();
        const std::wstring name = Trim(text.substr(start, end - start));
        if (!name.empty()) {
            auto it = std::find_if(info.Elements.begin(), info.Elements.end(),
                                   [&](const std::wstring& e) { return SameText(e, name); });
            if (it == info.Elements.end())
                throw EConvertError(L"Invalid property element: " + name);
            value |= std::int64_t{1} << (it - info.Elements.begin());
        }
        start = end + 1;
    }
    return value;
}

} // namespace

bool HasProperty(const TPersistent* obj, const std::wstring& name)
{
    return obj && GetPropInfo(obj, name) != nullptr;
}

TPersistent* GetObjectPropByName(const TPersistent* obj, const std::wstring& name)
{
    const TPropInfo* info = PropOfKind(obj, name, {pkObject});
    return info ? info->GetObject(obj) : nullptr;
}

std::int64_t GetOrdPropByName(const TPersistent* obj, const std::wstring& name)
{
    const TPropInfo* info = PropOfKind(obj, name, {pkOrdinal, pkSet});
    return info ? info->GetOrd(obj) : -1;
}

void SetOrdPropByName(TPersistent* obj, const std::wstring& name, std::int64_t value)
{
    if (const TPropInfo* info = PropOfKind(obj, name, {pkOrdinal, pkSet}))
        info->SetOrd(obj, value);
}

bool SetPropHasElement(const TPersistent* obj, const std::wstring& propName, const std::wstring& elemName)
{
    const TPropInfo* info = PropOfKind(obj, propName, {pkSet});
    if (!info)
        return false;
    const std::int64_t value = info->GetOrd(obj);
    for (std::size_t bit = 0; bit < info->Elements.size() && bit < 32; ++bit)
        if ((value & (std::int64_t{1} << bit)) && info->Elements[bit] == elemName)
            return true;
    return false;
}

bool ChangeSetPropElement(TPersistent* obj, const std::wstring& propName, const std::wstring& elemName, bool include)
{
    const TPropInfo* info = PropOfKind(obj, propName, {pkSet});
    if (!info)
        return false;
    std::wstring text = SetToText(*info, info->GetOrd(obj));
    if (include) {
        // A plain substring test, as the element list is text here.
        if (text.find(elemName) == std::wstring::npos) {
            text += L"," + elemName;
            info->SetOrd(obj, TextToSet(*info, text));
        }
        return false;
    }
    for (const std::wstring& cut : {L"," + elemName, elemName + L",", elemName}) {
        const std::size_t at = text.find(cut);
        if (at != std::wstring::npos) {
            text.erase(at, cut.size());
            info->SetOrd(obj, TextToSet(*info, text));
            break;
        }
    }
    return false;
}
