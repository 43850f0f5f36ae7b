#include "skin/core/sSkinReader.h"

#include "framework/IniFiles.h"
#include "framework/SysUtils.h"
#include "skin/core/acSkinPack.h"
#include "skin/core/acntUtils.h"
#include "skin/core/sSkinManager.h"
#include "skin/core/sVclUtils.h"

#include <set>

namespace {

const wchar_t* const kGlobalInfo = L"GLOBALINFO";

// ---- inherited reads ----

// The PARENTCLASS of Section, or empty when it has none, names itself or leads back into the chain.
std::wstring NextParent(TMemIniFile* ini, const std::wstring& section, std::set<std::wstring>& seen)
{
    seen.insert(UpperCase(section));
    const std::wstring parent = ini->ReadString(section, L"PARENTCLASS", L"?");
    if (parent.empty() || parent == L"?" || seen.count(UpperCase(parent)))
        return {};
    return parent;
}

// ---- image values ----

int Field(const std::wstring& value, int start, int count)
{
    return StrToInt(Copy(value, start, count));
}

std::int16_t Short(int value)
{
    return static_cast<std::int16_t>(value);
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
    const int count = m.ImageCount > 0 ? m.ImageCount : 1;
    const int rows = m.MaskType + 1 > 0 ? m.MaskType + 1 : 1;
    m.WL = m.WR = Short(RectWidth(m.R) / (count * 3));
    m.WT = m.WB = Short(RectHeight(m.R) / (rows * 3));
}

RECT FixedColumnRect(const std::wstring& v)
{
    return RECT{Field(v, 2, 4), Field(v, 7, 4), Field(v, 12, 4), Field(v, 17, 4)};
}

TsMaskData NewMask(TsSkinManager* sm, const std::wstring& section, const std::wstring& key)
{
    TsMaskData m;
    m.ClassName = section;
    m.PropertyName = key;
    m.Manager = sm;
    return m;
}

TsMaskData GlyphMask(TsSkinManager* sm, const std::wstring& section, const std::wstring& key, const std::wstring& v)
{
    TsMaskData m = NewMask(sm, section, key);
    m.R = FixedColumnRect(v);
    m.ImageCount = Short(Field(v, 22, 1));
    m.MaskType = Short(Field(v, 24, 1));
    m.ImgType = itisaGlyph;
    return m;
}

TsMaskData BorderMask(TsSkinManager* sm, const std::wstring& section, const std::wstring& key, const std::wstring& v)
{
    TsMaskData m = NewMask(sm, section, key);
    m.R = FixedColumnRect(v);
    m.WL = Short(Field(v, 22, 4));
    m.WT = Short(Field(v, 27, 4));
    m.WR = Short(Field(v, 32, 4));
    m.WB = Short(Field(v, 37, 4));
    m.ImageCount = Short(Field(v, 42, 1));
    m.MaskType = Short(Field(v, 44, 1));
    m.StretchMode = Short(Field(v, 46, 1));
    m.BorderWidth = Short(Field(v, 48, 1));
    m.ImgType = itisaBorder;
    FillBorderWidths(m);
    return m;
}

TsMaskData TextureMask(TsSkinManager* sm, const std::wstring& section, const std::wstring& key, const std::wstring& v)
{
    TsMaskData m = NewMask(sm, section, key);
    m.R = FixedColumnRect(v);
    m.StretchMode = Short(Field(v, 22, 2));
    m.MaskType = v.size() >= 25 ? Short(Field(v, 25, 1)) : 0;
    m.ImageCount = 1;
    m.ImgType = itisaTexture;
    return m;
}

// "name (left,top,right,bottom) (count,masktype[,borderwidth[,stretchmode]])"
TsMaskData OldFormMask(TsSkinManager* sm, const std::wstring& section, const std::wstring& key, const std::wstring& v)
{
    const TCharSet words{L' ', L'(', L')'};
    const TCharSet parts{L' ', L','};
    TsMaskData m = NewMask(sm, UpperCase(section), UpperCase(key));
    const std::wstring rect = GetWordAt(2, v, words);
    m.R = RECT{StrToInt(GetWordAt(1, rect, parts)), StrToInt(GetWordAt(2, rect, parts)),
               StrToInt(GetWordAt(3, rect, parts)), StrToInt(GetWordAt(4, rect, parts))};
    const std::wstring counts = GetWordAt(3, v, words);
    const int subWords = CountWords(counts, parts);
    m.ImageCount = Short(std::max(1, StrToInt(GetWordAt(1, counts, parts))));
    m.MaskType = Short(std::max(0, StrToInt(GetWordAt(2, counts, parts))));
    m.BorderWidth = subWords >= 3 ? Short(std::max(0, StrToInt(GetWordAt(3, counts, parts)))) : 0;
    if (m.PropertyName == L"PATTERN" || m.PropertyName == L"HOTPATTERN") {
        m.ImgType = itisaTexture;
        m.StretchMode = 0;
    } else {
        m.ImgType = itisaBorder;
        m.StretchMode = subWords >= 4 ? Short(StrToInt(GetWordAt(4, counts, parts))) : 1;
    }
    FillBorderWidths(m);
    return m;
}

bool IsOldForm(const std::wstring& v)
{
    return v.find(L'#') != std::wstring::npos && v != L"#";
}

// Appends the mask an image value describes in the master bitmap; values naming separate image files
// wait for the bitmap reader.
void ReadMaskValue(TsSkinManager* sm, const std::wstring& section, const std::wstring& key, const std::wstring& v)
{
    switch (v[0]) {
    case L'@':
        sm->ma.push_back(GlyphMask(sm, section, key, v));
        return;
    case L'^':
        sm->ma.push_back(BorderMask(sm, section, key, v));
        return;
    case L'~':
        sm->ma.push_back(TextureMask(sm, section, key, v));
        return;
    case L'!':
        return;
    default:
        if (IsOldForm(v))
            sm->ma.push_back(OldFormMask(sm, section, key, v));
    }
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

void ParseGradients(TsGeneralData& g)
{
    if (g.GradientData != L" ")
        ParseGradientData(g.GradientData, g.GradientArray);
    if (g.HotGradientData != L" ")
        ParseGradientData(g.HotGradientData, g.HotGradientArray);
}

TsGeneralData ReadSection(TMemIniFile* ini, const std::wstring& name)
{
    TsGeneralData g;
    g.ClassName = name;
    g.ParentClass = ini->ReadString(name, L"PARENTCLASS", L"");
    g.Color = SkinColorToRGB(ReadInheritedInteger(ini, name, L"COLOR", 0xFFFFFF));
    g.Bevel = ToBevel(ReadInheritedInteger(ini, name, L"BEVEL", 0));
    g.ShadowColor = ini->ReadInteger(name, L"SHADOWCOLOR", 0);
    for (const IntKey& k : kIntKeys)
        g.*k.field = ReadInheritedInteger(ini, name, k.key, k.defaultValue);
    for (const BoolKey& k : kBoolKeys)
        g.*k.field = IsTrue(ReadInheritedString(ini, name, k.key, L"FALSE"));
    g.HotBevel = ToBevel(ReadInheritedInteger(ini, name, L"HOTBEVEL", 0));
    g.GradientData = ReadInheritedString(ini, name, L"GRADIENTDATA", L" ");
    g.HotGradientData = ReadInheritedString(ini, name, L"HOTGRADIENTDATA", L"");
    ParseGradients(g);
    return g;
}

void ReadGlobalInfo(TMemIniFile* ini, TsSkinData& data)
{
    data.Version = ini->ReadFloat(kGlobalInfo, L"VERSION", 0);
    data.Author = ini->ReadString(kGlobalInfo, L"AUTHOR", L"");
    data.Description = ini->ReadString(kGlobalInfo, L"DESCRIPTION", L"");
    data.Shadow1Color = ini->ReadInteger(kGlobalInfo, L"SHADOW1COLOR", 0);
    data.Shadow1Offset = StrToInt(ini->ReadString(kGlobalInfo, L"SHADOW1OFFSET", L"0"));
    data.Shadow1Blur = StrToInt(ini->ReadString(kGlobalInfo, L"SHADOW1BLUR", L"-1"));
    data.Shadow1Transparency = StrToInt(ini->ReadString(kGlobalInfo, L"SHADOW1TRANSPARENCY", L"0"));
    data.BISpace = ini->ReadInteger(kGlobalInfo, L"BISPACE", 0);
    data.BorderColor = ini->ReadInteger(kGlobalInfo, L"BORDERCOLOR", 0);
}

// ---- the common sections merged into every skin ----

class CommonText {
public:
    explicit CommonText(TStringList* lines) : lines_(lines) { SplitIniSections(lines, &sections_); }
    int Count() const { return sections_.Count(); }
    std::wstring Name(int i) const { return sections_.Get(i); }
    bool Has(const std::wstring& section, const std::wstring& key) const
    {
        return ReadSectionString(lines_, &sections_, section, kAbsent, key) != kAbsent;
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
    TStringList* lines_;
    TStringList sections_;
};

void MergeCommonSection(TsSkinManager* sm, const CommonText& text, const std::wstring& name)
{
    TsGeneralData g; // the reader's defaults
    const std::wstring parent = text.Has(name, L"PARENTCLASS") ? UpperCase(text.String(name, L"PARENTCLASS")) : L"-1";
    for (const TsGeneralData& s : sm->gd)
        if (UpperCase(s.ClassName) == parent) {
            g = s;
            break;
        }
    g.ClassName = name;
    g.ParentClass = parent;
    auto integer = [&](const wchar_t* key, std::int32_t& field) {
        if (text.Has(name, key))
            field = text.Integer(name, key, field);
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
        if (text.Has(name, k.key))
            g.*k.field = IsTrue(text.String(name, k.key));
    if (text.Has(name, L"GRADIENTDATA"))
        g.GradientData = text.String(name, L"GRADIENTDATA");
    if (text.Has(name, L"HOTGRADIENTDATA"))
        g.HotGradientData = text.String(name, L"HOTGRADIENTDATA");
    g.GradientArray.clear();
    g.HotGradientArray.clear();
    ParseGradients(g);
    sm->gd.push_back(std::move(g));
}

void MergeCommonSections(TsSkinManager* sm)
{
    if (sm->CommonSections()->Count() == 0)
        return;
    CommonText text(sm->CommonSections());
    for (int i = 0; i < text.Count(); ++i) {
        const std::wstring name = text.Name(i);
        if (FindSectionIndex(sm, name) < 0)
            MergeCommonSection(sm, text, name);
    }
}

void ReadCommonMasks(TsSkinManager* sm)
{
    if (!sm->MasterBitmap || sm->CommonSections()->Count() == 0)
        return;
    TMemIniFile common(L"1.tmp");
    common.SetStrings(sm->CommonSections());
    TStringList sections, keys;
    common.ReadSections(&sections);
    for (int s = 0; s < sections.Count(); ++s) {
        const std::wstring section = sections.Get(s);
        if (UpperCase(section) == kGlobalInfo)
            continue;
        common.ReadSection(section, &keys);
        for (int k = 0; k < keys.Count(); ++k) {
            const std::wstring v = common.ReadString(section, keys.Get(k), L"-");
            if (IsOldForm(v))
                sm->ma.push_back(OldFormMask(sm, section, keys.Get(k), v));
        }
    }
}

} // namespace

int ReadInheritedInteger(TMemIniFile* ini, const std::wstring& section, const std::wstring& key, int defaultValue)
{
    std::set<std::wstring> seen;
    std::wstring current = section;
    while (!current.empty()) {
        const int value = ini->ReadInteger(current, key, -1);
        if (value != -1)
            return value;
        current = NextParent(ini, current, seen);
    }
    return defaultValue;
}

std::wstring ReadInheritedString(TMemIniFile* ini, const std::wstring& section, const std::wstring& key,
                                 const std::wstring& defaultValue)
{
    std::set<std::wstring> seen;
    std::wstring current = section;
    while (!current.empty()) {
        const std::wstring value = ini->ReadString(current, key, L"?");
        if (value != L"?")
            return value;
        current = NextParent(ini, current, seen);
    }
    return defaultValue;
}

void LoadSkinMasks(TsSkinManager* sm, const TacSkinSource& source)
{
    while (!sm->ma.empty())
        sm->ma.pop_back();
    sm->MasterBitmap.reset();
    if (!source.Ini)
        return;
    TStringList sections, keys;
    source.Ini->ReadSections(&sections);
    for (int s = 0; s < sections.Count(); ++s) {
        const std::wstring section = sections.Get(s);
        source.Ini->ReadSection(section, &keys);
        for (int k = 0; k < keys.Count(); ++k) {
            const std::wstring key = keys.Get(k);
            if (UpperCase(section) == kGlobalInfo && UpperCase(key) == L"MASTERBITMAP")
                continue;
            const std::wstring value = source.Ini->ReadString(section, key, L"");
            if (!value.empty())
                ReadMaskValue(sm, section, key, value);
        }
    }
    ReadCommonMasks(sm);
}

void LoadSkinPatterns(TsSkinManager* sm, const TacSkinSource&)
{
    while (!sm->pa.empty())
        sm->pa.pop_back();
}

void LoadSkinSections(TsSkinManager* sm, const TacSkinSource& source)
{
    TsSkinData& data = *sm->SkinData();
    if (!source.Ini) {
        const int index = sm->InternalSkins()->IndexOfSkin(sm->SkinName());
        if (index < 0)
            return;
        const TsStoredSkin* stored = sm->InternalSkins()->Items(index);
        data.Version = stored->Version;
        data.Author = stored->Author;
        data.Description = stored->Description;
        data.Shadow1Color = stored->Shadow1Color;
        data.Shadow1Offset = stored->Shadow1Offset;
        data.Shadow1Blur = stored->Shadow1Blur;
        data.Shadow1Transparency = stored->Shadow1Transparency;
        data.BorderColor = stored->BorderColor;
        sm->gd.clear();
    } else {
        ReadGlobalInfo(source.Ini, data);
        sm->gd.clear();
        TStringList sections;
        source.Ini->ReadSections(&sections);
        for (int s = 0; s < sections.Count(); ++s)
            sm->gd.push_back(ReadSection(source.Ini, sections.Get(s)));
    }
    MergeCommonSections(sm);
}
