// The records of a loaded skin: sections (TsGeneralData), images (TsMaskData), JPEG patterns
// (TsPatternData) and the skin's global values (TsSkinData). Needs no window.
#pragma once

#include "framework/WinApi.h"
#include "skin/core/sGradient.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class TBitmap;
class TJPEGImage;
class TsSkinManager;

enum TacImgType : std::uint8_t { itisaBorder = 0, itisaTexture = 1, itisaGlyph = 2 };

enum TsControlBevel : std::uint8_t { cbNone = 0, cbRaisedSoft, cbLoweredSoft, cbRaisedHard, cbLoweredHard };

struct TsGeneralData {
    std::wstring ParentClass;
    std::wstring ClassName;
    std::int32_t Color = 0xFFFFFF;
    TsControlBevel Bevel = cbNone;
    std::int32_t FontColor = 0;
    std::int32_t TCLeft = -1, TCTop = -1, TCRight = -1, TCBottom = -1;
    std::int32_t HotFontColor = 0;
    std::int32_t HotTCLeft = -1, HotTCTop = -1, HotTCRight = -1, HotTCBottom = -1;
    bool ReservedBoolean = false;
    std::int32_t ShadowBlur = 6;
    std::int32_t ShadowColor = 0;
    bool ShadowDontUse = false;
    bool ShadowEnabled = false;
    std::int32_t ShadowOffset = 3;
    std::int32_t ShadowTransparency = 50;
    std::int32_t Transparency = 0;
    std::int32_t GradientPercent = 0;
    std::wstring GradientData = L" ";
    TsGradArray GradientArray;
    std::int32_t ImagePercent = 0;
    bool ShowFocus = false;
    bool FadingEnabled = false;
    std::int32_t FadingIntervalIn = 5;
    std::int32_t FadingIntervalOut = 5;
    std::int32_t FadingIterations = 5;
    std::int32_t HotColor = 0xFFFFFF;
    std::int32_t HotTransparency = 0;
    TsControlBevel HotBevel = cbNone;
    std::int32_t HotGradientPercent = 0;
    std::wstring HotGradientData;
    TsGradArray HotGradientArray;
    std::int32_t HotImagePercent = 0;
    std::int32_t BorderColor1 = 0;
    std::int32_t BorderColor2 = 0;
};

// One skin image: a bitmap of its own, or (Bmp null) the rectangle R of the manager's master bitmap.
struct TsMaskData {
    std::shared_ptr<TBitmap> Bmp; // owned by this entry alone
    std::wstring ClassName;
    std::wstring PropertyName;
    RECT R{0, 0, 0, 0};
    std::int16_t ImageCount = 0;
    std::int16_t MaskType = 0;
    std::int16_t BorderWidth = 0;
    std::int16_t StretchMode = 0;
    TacImgType ImgType = itisaBorder;
    TsSkinManager* Manager = nullptr; // not owned
    std::int16_t WL = 0, WT = 0, WR = 0, WB = 0;
};

// How many state images lie side by side in a mask and how many rows it has, never below one: the
// reader keeps masks so, and whoever cuts a mask into frames divides by these, not by the raw fields.
inline int MaskFrames(const TsMaskData& m) { return m.ImageCount > 0 ? m.ImageCount : 1; }
inline int MaskRows(const TsMaskData& m) { return m.MaskType > 0 ? m.MaskType + 1 : 1; }

// A large JPEG texture kept as JPEG.
struct TsPatternData {
    std::shared_ptr<TJPEGImage> Img; // owned by this entry alone
    std::wstring ClassName;
    std::wstring PropertyName;
};

using TsGeneralDataArray = std::vector<TsGeneralData>;
using TsMaskArray = std::vector<TsMaskData>;
using TsPatternArray = std::vector<TsPatternData>;

// The loaded skin's global values.
struct TsSkinData {
    std::wstring SkinPath; // the skin folder followed by "\"; empty for an internal skin
    bool Active = false;   // loaded: False while a skin is being loaded or removed
    double Version = 0;
    std::wstring Author;
    std::wstring Description;
    std::int32_t Shadow1Color = 0;
    std::int32_t Shadow1Offset = 0;
    std::int32_t Shadow1Blur = 0;
    std::int32_t Shadow1Transparency = 0;
    std::int32_t Reserved = 0;
    std::int32_t BorderColor = 0xFF00FF; // the key colour: none
    std::int32_t BISpace = 0;
};
