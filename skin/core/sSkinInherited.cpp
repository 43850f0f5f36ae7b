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

TInheritedReader::TInheritedReader(TMemIniFile* ini, const std::wstring& section)
{
    TStringList lines;
    for (const std::wstring& name : ParentChain(ini, section)) {
        ini->ReadSectionValues(name, &lines);
        std::map<std::wstring, std::wstring>& values = chain_.emplace_back();
        for (int i = 0; i < lines.Count(); ++i) {
            const std::wstring line = lines.Get(i);
            const size_t eq = line.find(L'=');
            if (eq != std::wstring::npos)
                values.emplace(AnsiLowerCase(line.substr(0, eq)), line.substr(eq + 1)); // the first one wins
        }
    }
}

int TInheritedReader::Integer(const std::wstring& key, int defaultValue) const
{
    const std::wstring lower = AnsiLowerCase(key);
    for (const auto& values : chain_) {
        const auto it = values.find(lower);
        const int value = it == values.end() ? -1 : StrToIntDef(it->second, -1);
        if (value != -1)
            return value;
    }
    return defaultValue;
}

std::wstring TInheritedReader::String(const std::wstring& key, const std::wstring& defaultValue) const
{
    const std::wstring lower = AnsiLowerCase(key);
    for (const auto& values : chain_) {
        const auto it = values.find(lower);
        if (it != values.end() && it->second != L"?")
            return it->second;
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
