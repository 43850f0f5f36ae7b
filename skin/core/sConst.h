// Constants and small records shared by the whole skin library: the key colour, image kinds, bevels,
// the cached-background record, and the few process-wide values every painter reads.
#pragma once

#include "framework/Controls.h"
#include "framework/Graphics.h"
#include "skin/core/sMaskData.h" // the image kinds and bevels

#include <cstdint>

// The transparent key colour of skin images (clFuchsia) is also the value that means "no colour".
inline constexpr TColor sNoColor = clFuchsia;

// A parent's cached background with the asking control's offset in it.
struct TCacheInfo {
    TBitmap* Bmp = nullptr; // not owned
    std::int32_t X = -99;
    std::int32_t Y = -99;
    bool Ready = false;
};

// The empty cache info, {nil, -99, -99, False}, for painters that have no parent background. A constant,
// so no painter can spoil it for the others.
inline constexpr TCacheInfo EmptyCacheInfo{};

class TStartup;

// The reply to SkinCmdGetCache: the receiver fills it and the asker reads it right after the send.
extern TCacheInfo CacheReply;
// The colour a parent reports for SkinCmdGetBgColor; sNoColor except while one paint runs.
extern TColor ParentBgColor;
// The colour written into key-colour pixels when no parent cache is ready; sNoColor except while one
// paint runs.
extern TColor TransFillColor;
// The width of a horizontal scroll-bar arrow, read once at start-up.
extern int HScrollArrowWidth;

// Sets the values above at start-up (the first of the skin library's steps).
void AddSkinConstantsStartupStep(TStartup& startup);
