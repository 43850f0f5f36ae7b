// Reading a skin's INI text through the PARENTCLASS chain of its sections; needs no window.
#pragma once

#include <map>
#include <string>
#include <vector>

class TMemIniFile;

// Section followed by its PARENTCLASS ancestors. The chain ends at an empty or "?" parent, at a section
// naming itself, and at a section already in the chain (a loop), so every walk along it ends.
std::vector<std::wstring> ParentChain(TMemIniFile* ini, const std::wstring& section);

// Reads keys of one section through its PARENTCLASS chain. The chain and the values of its sections are
// taken from the INI once for all the keys of the section; keys compare as the INI compares them.
class TInheritedReader {
public:
    TInheritedReader(TMemIniFile* ini, const std::wstring& section);
    // A value that is not a number, and -1, count as absent.
    int Integer(const std::wstring& key, int defaultValue) const;
    // "?" counts as absent.
    std::wstring String(const std::wstring& key, const std::wstring& defaultValue) const;

private:
    std::vector<std::map<std::wstring, std::wstring>> chain_;
};

// Integer keys that fall back through PARENTCLASS; -1 counts as absent. A loop in the chain ends it.
int ReadInheritedInteger(TMemIniFile* ini, const std::wstring& section, const std::wstring& key, int defaultValue);
std::wstring ReadInheritedString(TMemIniFile* ini, const std::wstring& section, const std::wstring& key,
                                 const std::wstring& defaultValue);
