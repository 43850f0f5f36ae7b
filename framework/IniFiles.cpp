// INI-style settings in memory.
#include "framework/IniFiles.h"

#include "framework/SysUtils.h"

int TCustomIniFile::ReadInteger(const std::wstring& section, const std::wstring& ident, int defaultValue)
{
    std::wstring s = ReadString(section, ident, L"");
    return StrToIntDef(s, defaultValue);
}

void TCustomIniFile::WriteInteger(const std::wstring& section, const std::wstring& ident, int value)
{
    WriteString(section, ident, IntToStr(value));
}

bool TCustomIniFile::ReadBool(const std::wstring& section, const std::wstring& ident, bool defaultValue)
{
    return ReadInteger(section, ident, defaultValue ? 1 : 0) != 0;
}

void TCustomIniFile::WriteBool(const std::wstring& section, const std::wstring& ident, bool value)
{
    WriteString(section, ident, value ? L"1" : L"0");
}

double TCustomIniFile::ReadFloat(const std::wstring& section, const std::wstring& ident, double defaultValue)
{
    return StrToFloatDef(ReadString(section, ident, L""), defaultValue);
}

void TCustomIniFile::WriteFloat(const std::wstring& section, const std::wstring& ident, double value)
{
    WriteString(section, ident, FloatToStr(value));
}

bool TCustomIniFile::SectionExists(const std::wstring& section)
{
    TStringList keys;
    ReadSection(section, &keys);
    return keys.Count() > 0;
}

bool TCustomIniFile::ValueExists(const std::wstring& section, const std::wstring& ident)
{
    TStringList keys;
    ReadSection(section, &keys);
    return keys.IndexOf(ident) >= 0;
}

TMemIniFile::TMemIniFile(const std::wstring& fileName) : TCustomIniFile(fileName)
{
    if (fileName.empty())
        return;
    TStringList lines;
    try {
        lines.LoadFromFile(fileName);
    } catch (const EStreamError&) {
        return; // no file yet: an empty INI that UpdateFile may create
    }
    SetStrings(&lines);
}

TMemIniFile::~TMemIniFile() = default;

TMemIniFile::Section* TMemIniFile::FindSection(const std::wstring& name) const
{
    auto it = byName_.find(AnsiLowerCase(name));
    return it == byName_.end() ? nullptr : it->second;
}

TMemIniFile::Section* TMemIniFile::AddSection(const std::wstring& name)
{
    sections_.push_back(std::make_unique<Section>());
    sections_.back()->name = name;
    byName_.emplace(AnsiLowerCase(name), sections_.back().get());
    return sections_.back().get();
}

int TMemIniFile::Section::IndexOfKey(const std::wstring& ident)
{
    if (keysStale) {
        keys.clear();
        for (int i = 0; i < values.Count(); ++i) {
            std::wstring line = values.Get(i);
            size_t eq = line.find(L'=');
            if (eq != std::wstring::npos)
                keys.emplace(AnsiLowerCase(line.substr(0, eq)), i); // the first of equal keys wins
        }
        keysStale = false;
    }
    auto it = keys.find(AnsiLowerCase(ident));
    return it == keys.end() ? -1 : it->second;
}

void TMemIniFile::Clear()
{
    sections_.clear();
    byName_.clear();
}

void TMemIniFile::SetStrings(const TStrings* list)
{
    Clear();
    Section* current = nullptr;
    const auto* plain = dynamic_cast<const TStringList*>(list);
    std::wstring copy;
    for (int i = 0; i < list->Count(); ++i) {
        // A skin's text has thousands of lines: each is trimmed by its bounds, and copied once.
        if (!plain)
            copy = list->Get(i);
        const std::wstring& text = plain ? plain->StringAt(i) : copy;
        const std::wstring_view line = TrimView(text);
        if (line.empty() || line.front() == L';')
            continue;
        if (line.front() == L'[' && line.back() == L']') {
            std::wstring name(line.substr(1, line.size() >= 2 ? line.size() - 2 : 0));
            current = FindSection(name);
            if (!current)
                current = AddSection(name);
            continue;
        }
        if (!current)
            continue;
        current->keysStale = true;
        const size_t eq = line.find(L'=');
        if (eq == std::wstring_view::npos) {
            current->values.Add(std::wstring(line));
            continue;
        }
        // Keys and values are trimmed around the "=", as the file's author spaced them for reading.
        const std::wstring_view key = TrimView(line.substr(0, eq)), value = TrimView(line.substr(eq + 1));
        std::wstring pair;
        pair.reserve(key.size() + 1 + value.size());
        pair.append(key).append(1, L'=').append(value);
        current->values.Add(pair);
    }
}

void TMemIniFile::GetStrings(TStrings* list) const
{
    list->BeginUpdate();
    list->Clear();
    for (size_t i = 0; i < sections_.size(); ++i) {
        list->Add(L"[" + sections_[i]->name + L"]");
        for (int k = 0; k < sections_[i]->values.Count(); ++k)
            list->Add(sections_[i]->values.Get(k));
        if (i + 1 < sections_.size())
            list->Add(L"");
    }
    list->EndUpdate();
}

std::wstring TMemIniFile::ReadString(const std::wstring& section, const std::wstring& ident,
                                     const std::wstring& defaultValue)
{
    Section* s = FindSection(section);
    if (!s)
        return defaultValue;
    int i = s->IndexOfKey(ident);
    return i < 0 ? defaultValue : s->values.ValueFromIndex(i);
}

void TMemIniFile::WriteString(const std::wstring& section, const std::wstring& ident, const std::wstring& value)
{
    Section* s = FindSection(section);
    if (!s)
        s = AddSection(section);
    int i = s->IndexOfKey(ident);
    if (i < 0) {
        s->values.Add(ident + L"=" + value);
        s->keysStale = true;
    } else {
        s->values.Put(i, s->values.Names(i) + L"=" + value);
    }
}

void TMemIniFile::ReadSection(const std::wstring& section, TStrings* strings)
{
    strings->BeginUpdate();
    strings->Clear();
    if (Section* s = FindSection(section))
        for (int i = 0; i < s->values.Count(); ++i) {
            std::wstring line = s->values.Get(i);
            size_t eq = line.find(L'=');
            strings->Add(eq == std::wstring::npos ? line : line.substr(0, eq));
        }
    strings->EndUpdate();
}

void TMemIniFile::ReadSections(TStrings* strings)
{
    strings->BeginUpdate();
    strings->Clear();
    for (auto& s : sections_)
        strings->Add(s->name);
    strings->EndUpdate();
}

void TMemIniFile::ReadSectionValues(const std::wstring& section, TStrings* strings)
{
    strings->BeginUpdate();
    strings->Clear();
    if (Section* s = FindSection(section))
        strings->AddStrings(&s->values);
    strings->EndUpdate();
}

void TMemIniFile::EraseSection(const std::wstring& section)
{
    for (auto it = sections_.begin(); it != sections_.end(); ++it)
        if (SameText((*it)->name, section)) {
            byName_.erase(AnsiLowerCase((*it)->name));
            sections_.erase(it);
            return;
        }
}

void TMemIniFile::DeleteKey(const std::wstring& section, const std::wstring& ident)
{
    if (Section* s = FindSection(section)) {
        int i = s->IndexOfKey(ident);
        if (i >= 0) {
            s->values.Delete(i);
            s->keysStale = true;
        }
    }
}

bool TMemIniFile::ValueExists(const std::wstring& section, const std::wstring& ident)
{
    Section* s = FindSection(section);
    return s && s->IndexOfKey(ident) >= 0;
}

void TMemIniFile::UpdateFile()
{
    TStringList lines;
    GetStrings(&lines);
    lines.SaveToFile(FileName());
}
