// Constants and small records shared by the whole skin library: the key colour, image kinds, bevels,
// the cached-background record.
#pragma once

#include "framework/Graphics.h"

#include <cstdint>

// The transparent key colour of skin images (clFuchsia) is also the value that means "no colour".
inline constexpr TColor sNoColor = clFuchsia;

enum TacImgType : std::uint8_t { itisaBorder = 0, itisaTexture = 1, itisaGlyph = 2 };

enum TsControlBevel : std::uint8_t { cbNone = 0, cbRaisedSoft, cbLoweredSoft, cbRaisedHard, cbLoweredHard };

// A parent's cached background with the asking control's offset in it.
struct TCacheInfo {
    TBitmap* Bmp = nullptr; // not owned
    std::int32_t X = -99;
    std::int32_t Y = -99;
    bool Ready = false;
};

// The empty cache info, {nil, -99, -99, False}.
inline constexpr TCacheInfo EmptyCI{};
