// Text, INI-text and path routines of the skin library: words split by a set of delimiters, INI text held
// as split lines, directory names, the program's folder.
#pragma once

#include "framework/Classes.h"

#include <bitset>
#include <cstdint>
#include <memory>
#include <string>

class TIcon;

// A set of 8-bit delimiter characters; characters above 255 are never delimiters.
class TCharSet {
public:
    TCharSet() = default;
    TCharSet(std::initializer_list<wchar_t> chars)
    {
        for (wchar_t c : chars)
            Include(c);
    }
    void Include(wchar_t c)
    {
        if (c < 256)
            bits_.set(c);
    }
    bool Contains(wchar_t c) const { return c < 256 && bits_.test(c); }

private:
    std::bitset<256> bits_;
};

// Positions are 1-based; a word is a maximal run of characters outside Delims.
int FindWordStart(int n, const std::wstring& s, const TCharSet& delims);
std::wstring GetWordAt(int n, const std::wstring& s, const TCharSet& delims);
int CountWords(const std::wstring& s, const TCharSet& delims);
std::wstring RemoveChar(const std::wstring& s, wchar_t ch);

// Splits INI text into Sections: names are the text between the brackets, each object a TStringList
// (owned by Sections, which is made to own its objects) of the section's lines unchanged.
void SplitIniSections(const TStrings* lines, TStringList* sections);
std::wstring ReadSectionString(const TStrings* lines, const TStringList* sections, const std::wstring& section,
                               const std::wstring& defaultValue, const std::wstring& ident);
int ReadSectionInteger(const TStrings* lines, const TStringList* sections, const std::wstring& section,
                       int defaultValue, const std::wstring& ident);

// Dir with exactly one trailing backslash; a lone drive letter gets ":\".
std::wstring NormalizeDir(const std::wstring& dir);
// The folder of the running program, with its trailing backslash.
std::wstring ProgramFolder();
// The shell's icon for the file (Flags 0 for the large one, SHGFI_SMALLICON for the small one); null for a
// missing file, a failing shell call or an empty icon. The caller owns the icon.
std::unique_ptr<TIcon> LoadFileIcon(const std::wstring& fileName, unsigned flags);

// Published properties by name (through the framework's registry of published properties). A missing
// property answers false, nil or -1 and is never set; an element name the set type lacks raises.
bool HasProperty(const TPersistent* obj, const std::wstring& name);
TPersistent* GetObjectPropByName(const TPersistent* obj, const std::wstring& name);
std::int64_t GetOrdPropByName(const TPersistent* obj, const std::wstring& name);
void SetOrdPropByName(TPersistent* obj, const std::wstring& name, std::int64_t value);
// True when the set property holds the element of exactly that name.
bool SetPropHasElement(const TPersistent* obj, const std::wstring& propName, const std::wstring& elemName);
// Adds or removes one element of a set property by name; returns false.
bool ChangeSetPropElement(TPersistent* obj, const std::wstring& propName, const std::wstring& elemName, bool include);
