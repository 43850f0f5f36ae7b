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
bool SameKey(std::wstring_view key, const std::wstring& lower)
{
    if (key.size() != lower.size())
        return false;
    for (size_t i = 0; i < key.size(); ++i) {
        wchar_t c = key[i];
        if (c >= 0x80)
            return AnsiLowerCase(std::wstring(key)) == lower;
        if (c >= L'A' && c <= L'Z')
            c = static_cast<wchar_t>(c + 32);
        if (c != lower[i])
            return false;
    }
    return true;
}

// AnsiLowerCase(a) == AnsiLowerCase(b), without copies when both are plain ASCII.
bool SameKeys(std::wstring_view a, std::wstring_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        wchar_t x = a[i], y = b[i];
        if (x >= 0x80 || y >= 0x80)
            return AnsiLowerCase(std::wstring(a)) == AnsiLowerCase(std::wstring(b));
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

const std::wstring_view* TSkinTextIndex::Find(const Section& section, const std::wstring& lowerKey)
{
    for (const auto& [line, value] : section.values)
        if (SameKey(section.lines[line].key, lowerKey))
            return &value; // the first one wins
    return nullptr;
}

size_t TSkinTextIndex::AddSection(const std::wstring& name, std::wstring lowerName)
{
    const size_t index = sections_.size();
    sections_.emplace_back().name = name;
    byName_.emplace(std::move(lowerName), index);
    return index;
}

TSkinTextIndex::TSkinTextIndex(const TMemIniFile& ini)
{
    const int count = ini.SectionCount();
    std::vector<RawLine> raw;
    for (int s = 0; s < count; ++s) {
        const std::wstring name = ini.SectionName(s);
        const size_t section = AddSection(name, AnsiLowerCase(name));
        const TStringList& lines = ini.SectionLines(s);
        for (int i = 0; i < lines.Count(); ++i) {
            // The index keeps its own copy of the line: the INI may change after.
            const std::wstring_view line = lines_.emplace_back(lines.StringAt(i));
            const size_t eq = line.find(L'=');
            RawLine& entry = raw.emplace_back();
            entry.section = section;
            entry.hasValue = eq != std::wstring_view::npos;
            entry.key = entry.hasValue ? line.substr(0, eq) : line;
            if (entry.hasValue)
                entry.value = line.substr(eq + 1);
        }
    }
    Finish(raw);
}

TSkinTextIndex::TSkinTextIndex(std::wstring text) : text_(std::move(text))
{
    Reading reading;
    size_t start = 0;
    while (start < text_.size()) {
        size_t end = text_.find_first_of(L"\r\n", start);
        if (end == std::wstring::npos) {
            AddLine(reading, start, text_.size());
            break;
        }
        AddLine(reading, start, end);
        start = end + 1;
        if (text_[end] == L'\r' && start < text_.size() && text_[start] == L'\n')
            ++start;
    }
    Finish(reading.raw);
}

// The line text_[first, end) as TMemIniFile::SetStrings reads it.
void TSkinTextIndex::AddLine(Reading& reading, size_t first, size_t end)
{
    const std::wstring_view line = TrimView(std::wstring_view(text_).substr(first, end - first));
    if (line.empty() || line.front() == L';')
        return;
    if (line.front() == L'[' && line.back() == L']') {
        const std::wstring name(line.substr(1, line.size() >= 2 ? line.size() - 2 : 0));
        std::wstring lower = AnsiLowerCase(name);
        const auto found = byName_.find(lower);
        reading.current = found != byName_.end() ? found->second : AddSection(name, std::move(lower));
        reading.inSection = true;
        return;
    }
    if (!reading.inSection)
        return;
    RawLine& entry = reading.raw.emplace_back();
    entry.section = reading.current;
    const size_t eq = line.find(L'=');
    if (eq == std::wstring_view::npos) {
        entry.key = line;
        return;
    }
    entry.hasValue = true;
    entry.key = TrimView(line.substr(0, eq));
    entry.value = TrimView(line.substr(eq + 1));
}

void TSkinTextIndex::Finish(const std::vector<RawLine>& raw)
{
    static const TSkinKey kParentClass(L"PARENTCLASS");
    // Each section's lines in the text's order, its vectors sized at once: the lines point into the
    // values, which must not move.
    std::vector<size_t> counts(sections_.size());
    for (const RawLine& line : raw)
        ++counts[line.section];
    for (size_t s = 0; s < sections_.size(); ++s) {
        sections_[s].lines.reserve(counts[s]);
        sections_[s].values.reserve(counts[s]);
    }
    std::vector<bool> bare(sections_.size());
    for (const RawLine& line : raw) {
        Section& section = sections_[line.section];
        const size_t i = section.lines.size();
        Line& entry = section.lines.emplace_back();
        entry.key = line.key;
        if (!line.hasValue) {
            bare[line.section] = true;
            continue;
        }
        // Each line is asked for by its key; of equal keys the first one's value counts.
        for (const auto& [at, value] : section.values)
            if (SameKeys(section.lines[at].key, entry.key)) {
                entry.value = &value;
                break;
            }
        if (!entry.value) {
            section.values.emplace_back(i, line.value);
            entry.value = &section.values.back().second;
        }
    }
    for (size_t s = 0; s < sections_.size(); ++s) {
        Section& section = sections_[s];
        // A line without "=" is asked for by its whole text, which may name the key of another line.
        if (bare[s])
            for (Line& entry : section.lines)
                if (!entry.value)
                    entry.value = Find(section, AnsiLowerCase(std::wstring(entry.key)));
        section.parent = Find(section, kParentClass.lower);
    }
    // The sections stay where they are from here on: they may point to each other.
    for (Section& section : sections_)
        if (section.parent)
            section.parentSection = Find(std::wstring(*section.parent));
}

const TSkinTextIndex::Section* TSkinTextIndex::Find(const std::wstring& name) const
{
    const auto it = byName_.find(AnsiLowerCase(name));
    return it == byName_.end() ? nullptr : &sections_[it->second];
}

const std::wstring_view* TSkinTextIndex::Value(const Section* section, const TSkinKey& key)
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

TInheritedReader::TInheritedReader(const TSkinTextIndex::Section& section)
{
    Follow(&section, section.name);
}

void TInheritedReader::Follow(const TSkinTextIndex& text, const std::wstring& section)
{
    Follow(text.Find(section), section);
}

// The chain as ParentChain walks it: a parent that names no section still ends it. A loop is told by
// the names as written, in upper case: the section as it was asked for, then each parent value.
void TInheritedReader::Follow(const TSkinTextIndex::Section* current, std::wstring_view asked)
{
    chain_.reserve(4);
    chain_.push_back(current);
    if (!current)
        return;
    for (;;) {
        const std::wstring_view* parent = current->parent;
        if (!parent || parent->empty() || *parent == L"?")
            break;
        // The names met so far: the one asked for and the parents of the sections before this one.
        bool met = SameUpperCase(asked, *parent);
        for (size_t i = 0; !met && i + 1 < chain_.size(); ++i)
            met = SameUpperCase(*chain_[i]->parent, *parent);
        if (met)
            break;
        current = current->parentSection;
        chain_.push_back(current);
        if (!current)
            break; // names no section: nothing to read there, and no parent of its own
    }
}

int TInheritedReader::Integer(const TSkinKey& key, int defaultValue) const
{
    for (const TSkinTextIndex::Section* section : chain_) {
        const std::wstring_view* found = TSkinTextIndex::Value(section, key);
        const int value = found ? StrToIntDef(*found, -1) : -1;
        if (value != -1)
            return value;
    }
    return defaultValue;
}

std::wstring TInheritedReader::String(const TSkinKey& key, const std::wstring& defaultValue) const
{
    for (const TSkinTextIndex::Section* section : chain_) {
        const std::wstring_view* found = TSkinTextIndex::Value(section, key);
        if (found && *found != L"?")
            return std::wstring(*found);
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
