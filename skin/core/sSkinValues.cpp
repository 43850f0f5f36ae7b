#include "skin/core/sSkinValues.h"

#include "framework/Classes.h"
#include "framework/SysUtils.h"
#include "skin/core/acntUtils.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace {

const wchar_t* const kGlobalInfo = L"GLOBALINFO";

// Wide enough for any rectangle a "#" value can give.
std::int64_t Width(const RECT& r) { return std::int64_t{r.right} - r.left; }
std::int64_t Height(const RECT& r) { return std::int64_t{r.bottom} - r.top; }

std::int16_t ClampToShort64(std::int64_t value)
{
    return static_cast<std::int16_t>(std::clamp<std::int64_t>(value, INT16_MIN, INT16_MAX));
}

int Field(const std::wstring& value, int start, int count)
{
    return StrToInt(Copy(value, start, count));
}

RECT FixedColumnRect(const std::wstring& v)
{
    return RECT{Field(v, 2, 4), Field(v, 7, 4), Field(v, 12, 4), Field(v, 17, 4)};
}

// Whether the value holds the upper-case text in any case (UpperCase's letters), without a copy: every
// key of a skin is asked whether it names an image.
bool HoldsUpper(std::wstring_view value, const wchar_t* upper)
{
    const size_t n = std::char_traits<wchar_t>::length(upper);
    for (size_t i = 0; i + n <= value.size(); ++i) {
        size_t k = 0;
        for (; k < n; ++k) {
            wchar_t c = value[i + k];
            if (c >= L'a' && c <= L'z')
                c = static_cast<wchar_t>(c - 32);
            if (c != upper[k])
                break;
        }
        if (k == n)
            return true;
    }
    return false;
}

// ---- sections ----

bool IsTrue(const std::wstring& s)
{
    return UpperCase(s) == L"TRUE";
}

TsControlBevel ToBevel(int value)
{
    return value >= cbNone && value <= cbLoweredHard ? static_cast<TsControlBevel>(value) : cbNone;
}

struct IntKey {
    const wchar_t* key;
    std::int32_t TsGeneralData::*field;
    std::int32_t defaultValue;
};

// The integer keys that are read through PARENTCLASS, in reading order (COLOR and SHADOWCOLOR apart).
const IntKey kIntKeys[] = {
    {L"SHADOWBLUR", &TsGeneralData::ShadowBlur, 6},
    {L"SHADOWOFFSET", &TsGeneralData::ShadowOffset, 3},
    {L"SHADOWTRANSPARENCY", &TsGeneralData::ShadowTransparency, 50},
    {L"FONTCOLOR", &TsGeneralData::FontColor, 0},
    {L"TCLEFT", &TsGeneralData::TCLeft, -1},
    {L"TCTOP", &TsGeneralData::TCTop, -1},
    {L"TCRIGHT", &TsGeneralData::TCRight, -1},
    {L"TCBOTTOM", &TsGeneralData::TCBottom, -1},
    {L"HOTFONTCOLOR", &TsGeneralData::HotFontColor, 0},
    {L"HOTTCLEFT", &TsGeneralData::HotTCLeft, -1},
    {L"HOTTCTOP", &TsGeneralData::HotTCTop, -1},
    {L"HOTTCRIGHT", &TsGeneralData::HotTCRight, -1},
    {L"HOTTCBOTTOM", &TsGeneralData::HotTCBottom, -1},
    {L"TRANSPARENCY", &TsGeneralData::Transparency, 0},
    {L"GRADIENTPERCENT", &TsGeneralData::GradientPercent, 0},
    {L"IMAGEPERCENT", &TsGeneralData::ImagePercent, 0},
    {L"FADINGINTERVALIN", &TsGeneralData::FadingIntervalIn, 5},
    {L"FADINGINTERVALOUT", &TsGeneralData::FadingIntervalOut, 5},
    {L"FADINGITERATIONS", &TsGeneralData::FadingIterations, 5},
    {L"HOTCOLOR", &TsGeneralData::HotColor, 0xFFFFFF},
    {L"HOTTRANSPARENCY", &TsGeneralData::HotTransparency, 0},
    {L"HOTGRADIENTPERCENT", &TsGeneralData::HotGradientPercent, 0},
    {L"HOTIMAGEPERCENT", &TsGeneralData::HotImagePercent, 0},
    {L"BORDERCOLOR1", &TsGeneralData::BorderColor1, 0},
    {L"BORDERCOLOR2", &TsGeneralData::BorderColor2, 0},
};

struct BoolKey {
    const wchar_t* key;
    bool TsGeneralData::*field;
};

const BoolKey kBoolKeys[] = {
    {L"SHADOWENABLED", &TsGeneralData::ShadowEnabled},
    {L"RESERVEDBOOLEAN", &TsGeneralData::ReservedBoolean},
    {L"SHOWFOCUS", &TsGeneralData::ShowFocus},
    {L"FADINGENABLED", &TsGeneralData::FadingEnabled},
};

// The keys a section is read with, lowered once for all the sections of all the skins.
struct SectionKeys {
    TSkinKey parentClass{L"PARENTCLASS"}, color{L"COLOR"}, bevel{L"BEVEL"}, shadowColor{L"SHADOWCOLOR"},
        hotBevel{L"HOTBEVEL"}, gradientData{L"GRADIENTDATA"}, hotGradientData{L"HOTGRADIENTDATA"};
    std::vector<TSkinKey> ints, bools;
    SectionKeys()
    {
        for (const IntKey& k : kIntKeys)
            ints.emplace_back(k.key);
        for (const BoolKey& k : kBoolKeys)
            bools.emplace_back(k.key);
    }
};

const SectionKeys& Keys()
{
    static const SectionKeys keys;
    return keys;
}

// ---- the common sections merged into every skin ----

class CommonText {
public:
    explicit CommonText(const TStringList* lines) : lines_(lines) { SplitIniSections(lines, &sections_); }
    int Count() const { return sections_.Count(); }
    std::wstring Name(int i) const { return sections_.Get(i); }
    bool Has(const std::wstring& section, const std::wstring& key) const
    {
        return ReadSectionString(lines_, &sections_, section, kAbsent, key) != kAbsent;
    }
    // The text given for the key: as -1 does for a number, "?" counts as absent for a text or a Boolean.
    std::optional<std::wstring> Given(const std::wstring& section, const std::wstring& key) const
    {
        std::wstring value = ReadSectionString(lines_, &sections_, section, kAbsent, key);
        if (value == kAbsent || value == L"?")
            return std::nullopt;
        return value;
    }
    std::wstring String(const std::wstring& section, const std::wstring& key) const
    {
        return ReadSectionString(lines_, &sections_, section, L"", key);
    }
    int Integer(const std::wstring& section, const std::wstring& key, int def) const
    {
        return ReadSectionInteger(lines_, &sections_, section, def, key);
    }

private:
    static constexpr const wchar_t* kAbsent = L"\x1F";
    const TStringList* lines_;
    TStringList sections_;
};

// Sections by upper-case name, the first of each name: the parent a common section inherits from.
using SectionsByName = std::unordered_map<std::wstring, std::size_t>;

void MergeCommonSection(TsGeneralDataArray& sections, const SectionsByName& byUpperName, const CommonText& text,
                        const std::wstring& name)
{
    TsGeneralData g; // the reader's defaults
    const std::wstring parent = text.Has(name, L"PARENTCLASS") ? UpperCase(text.String(name, L"PARENTCLASS")) : L"-1";
    if (const auto found = byUpperName.find(parent); found != byUpperName.end())
        g = sections[found->second];
    g.ClassName = name;
    g.ParentClass = parent;
    // As everywhere in skin values, -1 (or a value that is no number) counts as absent.
    auto integer = [&](const wchar_t* key, std::int32_t& field) {
        if (const int value = text.Integer(name, key, -1); value != -1)
            field = value;
    };
    integer(L"COLOR", g.Color);
    integer(L"SHADOWCOLOR", g.ShadowColor);
    for (const IntKey& k : kIntKeys)
        integer(k.key, g.*k.field);
    std::int32_t bevel = g.Bevel, hotBevel = g.HotBevel;
    integer(L"BEVEL", bevel);
    integer(L"HOTBEVEL", hotBevel);
    g.Bevel = ToBevel(bevel);
    g.HotBevel = ToBevel(hotBevel);
    for (const BoolKey& k : kBoolKeys)
        if (const auto value = text.Given(name, k.key))
            g.*k.field = IsTrue(*value);
    if (auto value = text.Given(name, L"GRADIENTDATA"))
        g.GradientData = std::move(*value);
    if (auto value = text.Given(name, L"HOTGRADIENTDATA"))
        g.HotGradientData = std::move(*value);
    g.GradientArray.clear();
    g.HotGradientArray.clear();
    ParseGradients(g);
    sections.push_back(std::move(g));
}

} // namespace

// The fields of a mask are 16 bits wide: a larger value stops at the nearest end instead of wrapping
// round (65536 images would be none at all).
std::int16_t ClampToShort(int value)
{
    return ClampToShort64(value);
}

// Every painter cuts a mask into ImageCount frames and MaskType + 1 rows: a count below one image or
// a negative mask type is made one image and no mask rows here, once, so that no painter divides by
// zero or by a negative row count. The lint hears of every value that needed it.
void SetCounts(const TacMaskMaker& maker, TsMaskData& m, int imageCount, int maskType, const std::wstring& value)
{
    const int count = std::clamp(imageCount, 1, int{INT16_MAX});
    const int type = std::clamp(maskType, 0, INT16_MAX - 1);
    if ((count != imageCount || type != maskType) && maker.Clamped)
        maker.Clamped(m, value);
    m.ImageCount = ClampToShort(count);
    m.MaskType = ClampToShort(type);
}

// Border widths of a third of one state image. A count of 0 (or rows of 0) counts as 1, so no value
// of a skin can divide by zero.
void ThirdOfAFrame(TsMaskData& m)
{
    const int count = m.ImageCount > 0 ? m.ImageCount : 1;
    const int rows = m.MaskType + 1 > 0 ? m.MaskType + 1 : 1;
    m.WL = m.WR = ClampToShort64(Width(m.R) / (count * 3));
    m.WT = m.WB = ClampToShort64(Height(m.R) / (rows * 3));
}

// Border widths that a value leaves at zero: one border width for all, or a third of a frame.
void FillBorderWidths(TsMaskData& m)
{
    if (m.WL + m.WT + m.WR + m.WB != 0)
        return;
    if (m.BorderWidth != 0) {
        m.WL = m.WT = m.WR = m.WB = m.BorderWidth;
        return;
    }
    ThirdOfAFrame(m);
}

TsMaskData NewMask(const TacMaskMaker& maker, const std::wstring& section, const std::wstring& key)
{
    TsMaskData m;
    m.ClassName = section;
    m.PropertyName = key;
    m.Manager = maker.Manager;
    return m;
}

TsMaskData GlyphMask(const TacMaskMaker& maker, const std::wstring& section, const std::wstring& key, const std::wstring& v)
{
    TsMaskData m = NewMask(maker, section, key);
    m.R = FixedColumnRect(v);
    SetCounts(maker, m, Field(v, 22, 1), Field(v, 24, 1), v);
    m.ImgType = itisaGlyph;
    return m;
}

TsMaskData BorderMask(const TacMaskMaker& maker, const std::wstring& section, const std::wstring& key, const std::wstring& v)
{
    TsMaskData m = NewMask(maker, section, key);
    m.R = FixedColumnRect(v);
    m.WL = ClampToShort(Field(v, 22, 4));
    m.WT = ClampToShort(Field(v, 27, 4));
    m.WR = ClampToShort(Field(v, 32, 4));
    m.WB = ClampToShort(Field(v, 37, 4));
    SetCounts(maker, m, Field(v, 42, 1), Field(v, 44, 1), v);
    m.StretchMode = ClampToShort(Field(v, 46, 1));
    m.BorderWidth = ClampToShort(Field(v, 48, 1));
    m.ImgType = itisaBorder;
    FillBorderWidths(m);
    return m;
}

TsMaskData TextureMask(const TacMaskMaker& maker, const std::wstring& section, const std::wstring& key, const std::wstring& v)
{
    TsMaskData m = NewMask(maker, section, key);
    m.R = FixedColumnRect(v);
    m.StretchMode = ClampToShort(Field(v, 22, 2));
    SetCounts(maker, m, 1, v.size() >= 25 ? Field(v, 25, 1) : 0, v);
    m.ImgType = itisaTexture;
    return m;
}

// "name (left,top,right,bottom) (count,masktype[,borderwidth[,stretchmode]])"
TsMaskData OldFormMask(const TacMaskMaker& maker, const std::wstring& section, const std::wstring& key, const std::wstring& v)
{
    const TCharSet words{L' ', L'(', L')'};
    const TCharSet parts{L' ', L','};
    TsMaskData m = NewMask(maker, UpperCase(section), UpperCase(key));
    const std::wstring rect = GetWordAt(2, v, words);
    m.R = RECT{StrToInt(GetWordAt(1, rect, parts)), StrToInt(GetWordAt(2, rect, parts)),
               StrToInt(GetWordAt(3, rect, parts)), StrToInt(GetWordAt(4, rect, parts))};
    const std::wstring counts = GetWordAt(3, v, words);
    const int subWords = CountWords(counts, parts);
    SetCounts(maker, m, StrToInt(GetWordAt(1, counts, parts)), StrToInt(GetWordAt(2, counts, parts)), v);
    m.BorderWidth = subWords >= 3 ? ClampToShort(std::max(0, StrToInt(GetWordAt(3, counts, parts)))) : 0;
    if (m.PropertyName == L"PATTERN" || m.PropertyName == L"HOTPATTERN") {
        m.ImgType = itisaTexture;
        m.StretchMode = 0;
    } else {
        m.ImgType = itisaBorder;
        m.StretchMode = subWords >= 4 ? ClampToShort(StrToInt(GetWordAt(4, counts, parts))) : 1;
    }
    FillBorderWidths(m);
    return m;
}

bool IsOldForm(std::wstring_view v)
{
    return v.find(L'#') != std::wstring::npos && v != L"#";
}

bool NamesBitmap(std::wstring_view value)
{
    return HoldsUpper(value, L".BMP");
}

bool NamesJpeg(std::wstring_view value)
{
    return HoldsUpper(value, L".JPG") || HoldsUpper(value, L".JPEG");
}

// UpperCase(text) == upper, without a copy.
bool IsUpper(std::wstring_view text, const wchar_t* upper)
{
    return text.size() == std::char_traits<wchar_t>::length(upper) && HoldsUpper(text, upper);
}

// A key of a section as the INI reads it (no parents), or the default.
std::wstring ReadText(const TSkinTextIndex& text, const std::wstring& section, const std::wstring& key,
                      const std::wstring& defaultValue)
{
    const std::wstring_view* value = TSkinTextIndex::Value(text.Find(section), TSkinKey(key));
    return value ? std::wstring(*value) : defaultValue;
}

// The file of a "!" value, or empty when it names no BMP file.
std::wstring OwnBitmapName(const std::wstring& v)
{
    std::wstring name = GetWordAt(1, v, TCharSet{L'!'});
    return name.find(L".BMP") == std::wstring::npos ? std::wstring() : name;
}

// "!FILE.BMP!count!masktype!type[!wl!wt!wr!wb]": the words before the picture is looked for.
TacOwnBitmapValue ParseOwnBitmapValue(const std::wstring& v)
{
    const TCharSet bang{L'!'};
    TacOwnBitmapValue parsed;
    parsed.Name = OwnBitmapName(v);
    parsed.ImageCount = StrToInt(GetWordAt(2, v, bang));
    parsed.MaskType = StrToInt(GetWordAt(3, v, bang));
    const int type = StrToInt(GetWordAt(4, v, bang));
    // Image types the reader does not know are drawn as borders.
    parsed.ImgType = type == itisaTexture ? itisaTexture : type == itisaGlyph ? itisaGlyph : itisaBorder;
    return parsed;
}

TsMaskData OwnBitmapMask(const TacMaskMaker& maker, const std::wstring& section, const std::wstring& key,
                         const std::wstring& v, const TacOwnBitmapValue& parsed, int width, int height)
{
    const TCharSet bang{L'!'};
    TsMaskData m = NewMask(maker, section, key);
    m.ImgType = parsed.ImgType;
    SetCounts(maker, m, parsed.ImageCount, parsed.MaskType, v);
    m.R = RECT{0, 0, width, height};
    if (CountWords(v, bang) < 5) {
        ThirdOfAFrame(m);
    } else {
        m.WL = ClampToShort(StrToInt(GetWordAt(5, v, bang)));
        m.WT = ClampToShort(StrToInt(GetWordAt(6, v, bang)));
        m.WR = ClampToShort(StrToInt(GetWordAt(7, v, bang)));
        m.WB = ClampToShort(StrToInt(GetWordAt(8, v, bang)));
    }
    return m;
}

void ParseGradients(TsGeneralData& g)
{
    if (g.GradientData != L" ")
        ParseGradientData(g.GradientData, g.GradientArray);
    if (g.HotGradientData != L" ")
        ParseGradientData(g.HotGradientData, g.HotGradientArray);
}

TsGeneralData ReadSectionValues(const TSkinTextIndex::Section& section)
{
    const SectionKeys& keys = Keys();
    const std::wstring& name = section.name;
    const TInheritedReader inherited(section);
    TsGeneralData g;
    g.ClassName = name;
    const std::wstring_view* parent = TSkinTextIndex::Value(&section, keys.parentClass);
    g.ParentClass = parent ? std::wstring(*parent) : std::wstring();
    g.Color = inherited.Integer(keys.color, 0xFFFFFF);
    g.Bevel = ToBevel(inherited.Integer(keys.bevel, 0));
    const std::wstring_view* shadowColor = TSkinTextIndex::Value(&section, keys.shadowColor);
    g.ShadowColor = shadowColor ? StrToIntDef(*shadowColor, 0) : 0;
    for (size_t i = 0; i < std::size(kIntKeys); ++i)
        g.*kIntKeys[i].field = inherited.Integer(keys.ints[i], kIntKeys[i].defaultValue);
    for (size_t i = 0; i < std::size(kBoolKeys); ++i)
        g.*kBoolKeys[i].field = IsTrue(inherited.String(keys.bools[i], L"FALSE"));
    g.HotBevel = ToBevel(inherited.Integer(keys.hotBevel, 0));
    g.GradientData = inherited.String(keys.gradientData, L" ");
    g.HotGradientData = inherited.String(keys.hotGradientData, L"");
    ParseGradients(g);
    return g;
}

void ReadGlobalInfo(const TSkinTextIndex& text, TsSkinData& data)
{
    auto read = [&](const wchar_t* key, const wchar_t* defaultValue) {
        return ReadText(text, kGlobalInfo, key, defaultValue);
    };
    data.Version = StrToFloatDef(read(L"VERSION", L""), 0);
    data.Author = read(L"AUTHOR", L"");
    data.Description = read(L"DESCRIPTION", L"");
    data.Shadow1Color = StrToIntDef(read(L"SHADOW1COLOR", L""), 0);
    data.Shadow1Offset = StrToInt(read(L"SHADOW1OFFSET", L"0"));
    data.Shadow1Blur = StrToInt(read(L"SHADOW1BLUR", L"-1"));
    data.Shadow1Transparency = StrToInt(read(L"SHADOW1TRANSPARENCY", L"0"));
    data.BISpace = StrToIntDef(read(L"BISPACE", L""), 0);
    data.BorderColor = StrToIntDef(read(L"BORDERCOLOR", L""), 0);
}

void MergeCommonSections(TsGeneralDataArray& sections, const TStringList* lines)
{
    if (lines->Count() == 0)
        return;
    CommonText text(lines);
    // Looked up by name, not searched: a text of thousands of sections would otherwise take minutes.
    std::unordered_set<std::wstring> names;
    SectionsByName byUpperName;
    auto index = [&](std::size_t i) {
        names.insert(sections[i].ClassName);
        byUpperName.emplace(UpperCase(sections[i].ClassName), i);
    };
    for (std::size_t i = 0; i < sections.size(); ++i)
        index(i);
    for (int i = 0; i < text.Count(); ++i) {
        const std::wstring name = text.Name(i);
        if (names.count(name))
            continue;
        MergeCommonSection(sections, byUpperName, text, name);
        index(sections.size() - 1);
    }
}
