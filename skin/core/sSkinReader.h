// The skin INI reader: turns "Options.dat" and the images it names into the manager's mask, pattern and
// section arrays.
#pragma once

#include <string>

class TMemIniFile;
class TacSkinConvertor;
class TsSkinManager;

// Where the readers take the text and the images from: the INI over the skin text (null for a stored
// skin without packed data) and, for a packed skin, its unpacked entries (else the skin path's files).
struct TacSkinSource {
    TMemIniFile* Ini = nullptr;
    TacSkinConvertor* Convertor = nullptr;
};

void LoadSkinMasks(TsSkinManager* sm, const TacSkinSource& source);
void LoadSkinPatterns(TsSkinManager* sm, const TacSkinSource& source);
void LoadSkinSections(TsSkinManager* sm, const TacSkinSource& source);

// Integer keys that fall back through PARENTCLASS; -1 counts as absent. A loop in the chain ends it.
int ReadInheritedInteger(TMemIniFile* ini, const std::wstring& section, const std::wstring& key, int defaultValue);
std::wstring ReadInheritedString(TMemIniFile* ini, const std::wstring& section, const std::wstring& key,
                                 const std::wstring& defaultValue);
