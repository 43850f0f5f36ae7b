// The skin INI reader: turns "Options.dat" and the images it names into the manager's mask, pattern and
// section arrays.
#pragma once

#include "skin/core/sSkinInherited.h"

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
