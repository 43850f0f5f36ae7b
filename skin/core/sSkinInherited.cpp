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

TSkinTextIndex::TSkinTextIndex(const TMemIniFile& ini)
{
    const int count = ini.SectionCount();
    // Reserved at once: the lines point into the sections' maps, which must not move.
    sections_.reserve(static_cast<size_t>(count));
    std::vector<std::wstring> lowerKeys;
    for (int s = 0; s < count; ++s) {
        Section& section = sections_.emplace_back();
        section.name = ini.SectionName(s);
        byName_.emplace(AnsiLowerCase(section.name), static_cast<size_t>(s));
        const TStringList& lines = ini.SectionLines(s);
        section.lines.resize(static_cast<size_t>(lines.Count()));
        lowerKeys.resize(section.lines.size());
        for (int i = 0; i < lines.Count(); ++i) {
            const std::wstring& line = lines.StringAt(i);
            const size_t eq = line.find(L'=');
            Line& entry = section.lines[static_cast<size_t>(i)];
            entry.key = eq == std::wstring::npos ? line : line.substr(0, eq);
            lowerKeys[static_cast<size_t>(i)] = AnsiLowerCase(entry.key);
            if (eq != std::wstring::npos)
                section.values.emplace(lowerKeys[static_cast<size_t>(i)], line.substr(eq + 1)); // the first one wins
        }
        // A line without "=" is still asked for by its whole text, and may name a key of another line.
        for (size_t i = 0; i < section.lines.size(); ++i) {
            const auto it = section.values.find(lowerKeys[i]);
            section.lines[i].value = it == section.values.end() ? nullptr : &it->second;
        }
    }
}

const TSkinTextIndex::Section* TSkinTextIndex::Find(const std::wstring& name) const
{
    const auto it = byName_.find(AnsiLowerCase(name));
    return it == byName_.end() ? nullptr : &sections_[it->second];
}

const std::wstring* TSkinTextIndex::Value(const Section* section, const TSkinKey& key)
{
    if (!section)
        return nullptr;
    const auto it = section->values.find(key.lower);
    return it == section->values.end() ? nullptr : &it->second;
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
    static const TSkinKey kParentClass(L"PARENTCLASS");
    std::vector<std::wstring> upper{UpperCase(section)};
    const TSkinTextIndex::Section* current = text.Find(section);
    chain_.push_back(current);
    for (;;) {
        const std::wstring* parent = TSkinTextIndex::Value(current, kParentClass);
        if (!parent || parent->empty() || *parent == L"?")
            break;
        std::wstring upperParent = UpperCase(*parent);
        if (std::find(upper.begin(), upper.end(), upperParent) != upper.end())
            break;
        current = text.Find(*parent);
        chain_.push_back(current);
        upper.push_back(std::move(upperParent));
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
