// The values of a skin text turned into mask fields and section records: the image values of the
// master bitmap and the counts of the "!" form, the sections with their inherited keys, GLOBALINFO and
// the common sections merged into a skin. Needs no window: the skin reader loads the pictures around it.
#pragma once

#include "skin/core/sMaskData.h"
#include "skin/core/sSkinInherited.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

class TStringList;

// What the masks are made for: the manager they are stored with (not used here) and who hears of a
// value whose counts had to be clamped (may be empty).
struct TacMaskMaker {
    TsSkinManager* Manager = nullptr; // not owned
    std::function<void(const TsMaskData& mask, const std::wstring& value)> Clamped;
};

// A value for a 16-bit field of a mask, stopped at the nearest end of the range.
std::int16_t ClampToShort(int value);
// Sets the image count and the mask type, clamped so that every mask has one image and one row at
// least.
void SetCounts(const TacMaskMaker& maker, TsMaskData& m, int imageCount, int maskType, const std::wstring& value);
// Border widths of a third of one state image.
void ThirdOfAFrame(TsMaskData& m);
// Border widths that a value leaves at zero: one border width for all, or a third of a frame.
void FillBorderWidths(TsMaskData& m);
TsMaskData NewMask(const TacMaskMaker& maker, const std::wstring& section, const std::wstring& key);

// Image values of the master bitmap: "@" glyph, "^" border, "~" texture and the older "#" form. A field
// that is not a number raises EConvertError.
TsMaskData GlyphMask(const TacMaskMaker& maker, const std::wstring& section, const std::wstring& key,
                     const std::wstring& v);
TsMaskData BorderMask(const TacMaskMaker& maker, const std::wstring& section, const std::wstring& key,
                      const std::wstring& v);
TsMaskData TextureMask(const TacMaskMaker& maker, const std::wstring& section, const std::wstring& key,
                       const std::wstring& v);
TsMaskData OldFormMask(const TacMaskMaker& maker, const std::wstring& section, const std::wstring& key,
                       const std::wstring& v);

// The "!" form: a bitmap of its own with its counts, image type and optionally its border widths.
struct TacOwnBitmapValue {
    std::wstring Name; // empty when the value names no BMP file
    int ImageCount = 0;
    int MaskType = 0;
    TacImgType ImgType = itisaBorder;
};
TacOwnBitmapValue ParseOwnBitmapValue(const std::wstring& v);
// The mask of a "!" value whose bitmap is Width x Height.
TsMaskData OwnBitmapMask(const TacMaskMaker& maker, const std::wstring& section, const std::wstring& key,
                         const std::wstring& v, const TacOwnBitmapValue& parsed, int width, int height);
// The file of a "!" value, or empty when it names no BMP file.
std::wstring OwnBitmapName(const std::wstring& v);

bool IsOldForm(std::wstring_view v);
// Whether the value names a BMP or a JPEG file, in any case.
bool NamesBitmap(std::wstring_view value);
bool NamesJpeg(std::wstring_view value);
// UpperCase(text) == upper, without a copy.
bool IsUpper(std::wstring_view text, const wchar_t* upper);
// A key of a section as the INI reads it (no parents), or the default.
std::wstring ReadText(const TSkinTextIndex& text, const std::wstring& section, const std::wstring& key,
                      const std::wstring& defaultValue);

// The gradient texts of a section parsed into its stops.
void ParseGradients(TsGeneralData& g);
// One section of the text with its keys inherited through PARENTCLASS; COLOR as written (a system
// colour is left for the caller to resolve).
TsGeneralData ReadSectionValues(const TSkinTextIndex::Section& section);
// GLOBALINFO's values; a shadow value that is not a number raises EConvertError.
void ReadGlobalInfo(const TSkinTextIndex& text, TsSkinData& data);
// Appends each section of the common text that the skin lacks, its keys taken from its parent section
// of the skin where the common text leaves them absent.
void MergeCommonSections(TsGeneralDataArray& sections, const TStringList* lines);
