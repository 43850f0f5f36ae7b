#include "skin/core/sSkinInherited.h"

#include "framework/IniFiles.h"
#include "framework/SysUtils.h"

#include <algorithm>

std::vector<std::wstring> ParentChain(TMemIniFile* ini, const std::wstring& section)
{
    std::vector<std::wstring> chain{section};
    std::vector<std::wstring> upper{UpperCase(section)};
    for (;;) {
        const std::wstring parent = ini->ReadString(chain.back(), L"PARENTCLASS", L"?");
        if (parent.empty() || parent == L"?")
            break;
        std::wstring upperParent = UpperCase(parent);
        if (std::find(upper.begin(), upper.end(), upperParent) != upper.end())
            break;
        chain.push_back(parent);
        upper.push_back(std::move(upperParent));
    }
    return chain;
}

TSkinKey::TSkinKey(const std::wstring& key) : lower(AnsiLowerCase(key)) {}

namespace {

// AnsiLowerCase(key) == lower, without lowering a copy when the key is plain ASCII.
bool SameKey(const std::wstring& key, const std::wstring& lower)
{
    if (key.size() != lower.size())
        return false;
    for (size_t i = 0; i < key.size(); ++i) {
        wchar_t c = key[i];
        if (c >= 0x80)
            return AnsiLowerCase(key) == lower;
        if (c >= L'A' && c <= L'Z')
            c = static_cast<wchar_t>(c + 32);
        if (c != lower[i])
            return false;
    }
    return true;
}

// AnsiLowerCase(a) == AnsiLowerCase(b), without copies when both are plain ASCII.
bool SameKeys(const std::wstring& a, const std::wstring& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        wchar_t x = a[i], y = b[i];
        if (x >= 0x80 || y >= 0x80)
            return AnsiLowerCase(a) == AnsiLowerCase(b);
        if (x >= L'A' && x <= L'Z')
            x = static_cast<wchar_t>(x + 32);
        if (y >= L'A' && y <= L'Z')
            y = static_cast<wchar_t>(y + 32);
        if (x != y)
            return false;
    }
    return true;
}

} // namespace

const std::wstring* TSkinTextIndex::Find(const Section& section, const std::wstring& lowerKey)
{
    for (const auto& [line, value] : section.values)
        if (SameKey(section.lines[line].key, lowerKey))
            return &value; // the first one wins
    return nullptr;
}

size_t TSkinTextIndex::AddSection(const std::wstring& name)
{
    const size_t index = sections_.size();
    sections_.emplace_back().name = name;
    sections_.back().upperName = UpperCase(name);
    byName_.emplace(AnsiLowerCase(name), index);
    return index;
}

TSkinTextIndex::TSkinTextIndex(const TMemIniFile& ini)
{
    const int count = ini.SectionCount();
    std::vector<std::vector<RawLine>> raw(static_cast<size_t>(count));
    for (int s = 0; s < count; ++s) {
        AddSection(ini.SectionName(s));
        const TStringList& lines = ini.SectionLines(s);
        std::vector<RawLine>& out = raw[static_cast<size_t>(s)];
        out.resize(static_cast<size_t>(lines.Count()));
        for (int i = 0; i < lines.Count(); ++i) {
            const std::wstring& line = lines.StringAt(i);
            const size_t eq = line.find(L'=');
            RawLine& entry = out[static_cast<size_t>(i)];
            entry.hasValue = eq != std::wstring::npos;
            entry.key = entry.hasValue ? line.substr(0, eq) : line;
            if (entry.hasValue)
                entry.value = line.substr(eq + 1);
        }
    }
    Finish(raw);
}

TSkinTextIndex::TSkinTextIndex(const std::wstring& text)
{
    Reading reading;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find_first_of(L"\r\n", start);
        if (end == std::wstring::npos) {
            AddLine(reading, text, start, text.size());
            break;
        }
        AddLine(reading, text, start, end);
        start = end + 1;
        if (text[end] == L'\r' && start < text.size() && text[start] == L'\n')
            ++start;
    }
    Finish(reading.raw);
}

// The line text[first, end) as TMemIniFile::SetStrings reads it.
void TSkinTextIndex::AddLine(Reading& reading, const std::wstring& text, size_t first, size_t end)
{
    const std::wstring_view line = TrimView(std::wstring_view(text).substr(first, end - first));
    if (line.empty() || line.front() == L';')
        return;
    if (line.front() == L'[' && line.back() == L']') {
        const std::wstring name(line.substr(1, line.size() >= 2 ? line.size() - 2 : 0));
        const auto found = byName_.find(AnsiLowerCase(name));
        if (found != byName_.end()) {
            reading.current = found->second;
        } else {
            reading.current = AddSection(name);
            reading.raw.emplace_back();
        }
        reading.inSection = true;
        return;
    }
    if (!reading.inSection)
        return;
    RawLine& entry = reading.raw[reading.current].emplace_back();
    const size_t eq = line.find(L'=');
    if (eq == std::wstring_view::npos) {
        entry.key = line;
        return;
    }
    entry.hasValue = true;
    entry.key = TrimView(line.substr(0, eq));
    entry.value = TrimView(line.substr(eq + 1));
}

void TSkinTextIndex::Finish(std::vector<std::vector<RawLine>>& raw)
{
    static const TSkinKey kParentClass(L"PARENTCLASS");
    for (size_t s = 0; s < sections_.size(); ++s) {
        Section& section = sections_[s];
        std::vector<RawLine>& lines = raw[s];
        section.lines.resize(lines.size());
        // Reserved at once: the lines point into the values, which must not move.
        section.values.reserve(lines.size());
        bool bare = false;
        for (size_t i = 0; i < lines.size(); ++i) {
            Line& entry = section.lines[i];
            entry.key = std::move(lines[i].key);
            if (!lines[i].hasValue) {
                bare = true;
                continue;
            }
            // Each line is asked for by its key; of equal keys the first one's value counts.
            for (const auto& [line, value] : section.values)
                if (SameKeys(section.lines[line].key, entry.key)) {
                    entry.value = &value;
                    break;
                }
            if (!entry.value) {
                section.values.emplace_back(i, std::move(lines[i].value));
                entry.value = &section.values.back().second;
            }
        }
        // A line without "=" is asked for by its whole text, which may name the key of another line.
        if (bare)
            for (Line& entry : section.lines)
                if (!entry.value)
                    entry.value = Find(section, AnsiLowerCase(entry.key));
        section.parent = Find(section, kParentClass.lower);
        if (section.parent)
            section.upperParent = UpperCase(*section.parent);
    }
    // The sections stay where they are from here on: they may point to each other.
    for (Section& section : sections_)
        if (section.parent)
            section.parentSection = Find(*section.parent);
}

const TSkinTextIndex::Section* TSkinTextIndex::Find(const std::wstring& name) const
{
    const auto it = byName_.find(AnsiLowerCase(name));
    return it == byName_.end() ? nullptr : &sections_[it->second];
}

const std::wstring* TSkinTextIndex::Value(const Section* section, const TSkinKey& key)
{
    return section ? Find(*section, key.lower) : nullptr;
}

TInheritedReader::TInheritedReader(TMemIniFile* ini, const std::wstring& section)
    : own_(std::make_unique<TSkinTextIndex>(*ini))
{
    Follow(*own_, section);
}

TInheritedReader::TInheritedReader(const TSkinTextIndex& text, const std::wstring& section)
{
    Follow(text, section);
}

// The chain as ParentChain walks it: a parent that names no section still ends it.
void TInheritedReader::Follow(const TSkinTextIndex& text, const std::wstring& section)
{
    const TSkinTextIndex::Section* current = text.Find(section);
    chain_.push_back(current);
    if (!current)
        return;
    std::vector<const std::wstring*> upper{&current->upperName};
    const std::wstring upperSection = current->name == section ? std::wstring() : UpperCase(section);
    if (!upperSection.empty())
        upper.front() = &upperSection;
    for (;;) {
        const std::wstring* parent = current->parent;
        if (!parent || parent->empty() || *parent == L"?")
            break;
        const std::wstring& upperParent = current->upperParent;
        if (std::find_if(upper.begin(), upper.end(), [&](const std::wstring* u) { return *u == upperParent; }) !=
            upper.end())
            break;
        upper.push_back(&upperParent);
        current = current->parentSection;
        chain_.push_back(current);
        if (!current)
            break; // names no section: nothing to read there, and no parent of its own
    }
}

int TInheritedReader::Integer(const TSkinKey& key, int defaultValue) const
{
    for (const TSkinTextIndex::Section* section : chain_) {
        const std::wstring* found = TSkinTextIndex::Value(section, key);
        const int value = found ? StrToIntDef(*found, -1) : -1;
        if (value != -1)
            return value;
    }
    return defaultValue;
}

std::wstring TInheritedReader::String(const TSkinKey& key, const std::wstring& defaultValue) const
{
    for (const TSkinTextIndex::Section* section : chain_) {
        const std::wstring* found = TSkinTextIndex::Value(section, key);
        if (found && *found != L"?")
            return *found;
    }
    return defaultValue;
}

int ReadInheritedInteger(TMemIniFile* ini, const std::wstring& section, const std::wstring& key, int defaultValue)
{
    return TInheritedReader(ini, section).Integer(key, defaultValue);
}

std::wstring ReadInheritedString(TMemIniFile* ini, const std::wstring& section, const std::wstring& key,
                                 const std::wstring& defaultValue)
{
    return TInheritedReader(ini, section).String(key, defaultValue);
}
