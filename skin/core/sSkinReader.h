// The skin INI reader: turns "Options.dat" and the images it names into the manager's mask, pattern and
// section arrays.
#pragma once

#include "skin/core/sSkinInherited.h"

#include <string>

class TMemIniFile;
class TacSkinConvertor;
class TsSkinManager;
class TsStoredSkin;

// Where the readers take the text and the images from, decided once when the skin is loaded: the INI
// over the skin text and, for a packed skin, its unpacked entries (else the skin path's files); or,
// without a text, the stored skin spelled out in collections (none: nothing to read).
struct TacSkinSource {
    TMemIniFile* Ini = nullptr;
    TacSkinConvertor* Convertor = nullptr;
    const TsStoredSkin* Stored = nullptr;
    // The text indexed once for the whole load: without an INI the readers take it alone, with an INI
    // and without it they index the INI themselves.
    const TSkinTextIndex* Text = nullptr;
};

// The stored skin of the manager's skin name, or null.
const TsStoredSkin* SelectedStoredSkin(const TsSkinManager* sm);

// Has the convertor inflate plain BMP entries straight into bitmaps, which the mask reader then takes,
// instead of keeping their bytes to be read again; set before the container is parsed. The entries'
// bitmaps go to the masks of the one load that follows.
void ReadBitmapEntriesStraight(TacSkinConvertor* convertor);

void LoadSkinMasks(TsSkinManager* sm, const TacSkinSource& source);
void LoadSkinPatterns(TsSkinManager* sm, const TacSkinSource& source);
void LoadSkinSections(TsSkinManager* sm, const TacSkinSource& source);
