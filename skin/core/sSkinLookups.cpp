// Lookups in the loaded skin's arrays and the cached indexes of common sections and masks.
#include "skin/core/sSkinManager.h"
#include "skin/core/sVclUtils.h"

#include <vector>

namespace {

template <class F>
int NoThrow(F&& lookup)
{
    try {
        return lookup();
    } catch (...) {
        return -1;
    }
}

// Finds the first entry of Items whose names match, else walks up the PARENTCLASS chain. A chain that
// comes back to a section already seen ends the walk.
template <class Items, class Match>
int FindWithParents(const TsSkinManager* sm, const Items& items, int skinIndex, std::wstring section,
                    const std::wstring& key, Match match)
{
    if (!sm)
        return -1;
    std::vector<bool> seen(sm->Sections.size(), false);
    while (skinIndex >= 0 && !section.empty()) {
        for (size_t i = 0; i < items.size(); ++i)
            if (items[i].ClassName == section && items[i].PropertyName == key && match(items[i]))
                return static_cast<int>(i);
        if (static_cast<size_t>(skinIndex) >= sm->Sections.size() || seen[static_cast<size_t>(skinIndex)])
            return -1;
        seen[static_cast<size_t>(skinIndex)] = true;
        const std::wstring parent = sm->Sections[static_cast<size_t>(skinIndex)].ParentClass;
        if (parent.empty() || parent == section)
            return -1;
        skinIndex = FindSectionIndex(sm, parent);
        section = parent;
    }
    return -1;
}

int ImageCountOf(TsMaskData& mask)
{
    if (mask.ImageCount == 0)
        mask.ImageCount = 1;
    return mask.ImageCount;
}

int FirstPositive(int a, int b, int c)
{
    if (a > 0)
        return a;
    if (b > 0)
        return b;
    return c;
}

} // namespace

std::int32_t SkinColorToRGB(std::int32_t color)
{
    if (color < 0)
        return static_cast<std::int32_t>(GetSysColor(color & 0xFF));
    return color;
}

int FindSectionIndex(const TsSkinManager* sm, const std::wstring& name)
{
    return NoThrow([&] {
        if (!sm)
            return -1;
        for (size_t i = 0; i < sm->Sections.size(); ++i)
            if (sm->Sections[i].ClassName == name)
                return static_cast<int>(i);
        return -1;
    });
}

int FindMaskIndex(const TsSkinManager* sm, int skinIndex, const std::wstring& skinSection, const std::wstring& mask)
{
    return NoThrow([&] {
        if (!sm)
            return -1;
        return FindWithParents(sm, sm->Masks, skinIndex, skinSection, mask,
                               [](const TsMaskData&) { return true; });
    });
}

int FindMaskIndexNoParent(const TsSkinManager* sm, const std::wstring& skinSection, const std::wstring& mask)
{
    if (!sm || skinSection.empty())
        return -1;
    for (size_t i = 0; i < sm->Masks.size(); ++i)
        if (sm->Masks[i].ClassName == skinSection && sm->Masks[i].PropertyName == mask)
            return static_cast<int>(i);
    return -1;
}

int FindTextureIndex(const TsSkinManager* sm, int skinIndex, const std::wstring& skinSection,
                     const std::wstring& propName)
{
    return NoThrow([&] {
        if (!sm || sm->Masks.empty())
            return -1;
        return FindWithParents(sm, sm->Masks, skinIndex, skinSection, propName,
                               [](const TsMaskData& m) { return m.ImgType == itisaTexture; });
    });
}

int FindPatternIndex(const TsSkinManager* sm, int skinIndex, const std::wstring& skinSection,
                     const std::wstring& propName)
{
    return NoThrow([&] {
        if (!sm || sm->Patterns.empty())
            return -1;
        return FindWithParents(sm, sm->Patterns, skinIndex, skinSection, propName,
                               [](const TsPatternData&) { return true; });
    });
}

bool IsValidMaskIndex(const TsSkinManager* sm, int index)
{
    return sm && index >= 0 && static_cast<size_t>(index) < sm->Masks.size();
}

bool IsValidSectionIndex(const TsSkinManager* sm, int index)
{
    return sm && index >= 0 && static_cast<size_t>(index) < sm->Sections.size();
}

POINT GetMaskFrameSize(TsSkinManager* sm, int maskIndex)
{
    if (!IsValidMaskIndex(sm, maskIndex))
        return POINT{0, 0};
    TsMaskData& mask = sm->Masks[static_cast<size_t>(maskIndex)];
    if (mask.Bmp)
        return POINT{mask.Bmp->Width() / 3, mask.Bmp->Height() / 2};
    const int rows = mask.MaskType + 1 > 0 ? mask.MaskType + 1 : 1;
    return POINT{RectWidth(mask.R) / ImageCountOf(mask), RectHeight(mask.R) / rows};
}

int GetMaskBorderLeft(TsSkinManager* sm, int maskIndex)
{
    if (!IsValidMaskIndex(sm, maskIndex))
        return 0;
    TsMaskData& mask = sm->Masks[static_cast<size_t>(maskIndex)];
    return FirstPositive(mask.WL, mask.BorderWidth, RectWidth(mask.R) / (ImageCountOf(mask) * 3));
}

int GetMaskBorderRight(TsSkinManager* sm, int maskIndex)
{
    if (!IsValidMaskIndex(sm, maskIndex))
        return 0;
    TsMaskData& mask = sm->Masks[static_cast<size_t>(maskIndex)];
    const int count = mask.ImageCount == 0 ? 1 : mask.ImageCount;
    return FirstPositive(mask.WR, mask.BorderWidth, RectWidth(mask.R) / (count * 3));
}

int GetMaskBorderBottom(TsSkinManager* sm, int maskIndex)
{
    if (!IsValidMaskIndex(sm, maskIndex))
        return 0;
    const TsMaskData& mask = sm->Masks[static_cast<size_t>(maskIndex)];
    const int rows = mask.MaskType + 1 > 0 ? mask.MaskType + 1 : 1;
    return FirstPositive(mask.WB, mask.BorderWidth, RectHeight(mask.R) / (rows * 3));
}

namespace {

const TsGeneralData* GlobalSection(const TsSkinManager* sm)
{
    if (!sm)
        return nullptr;
    const int index = sm->ConstData.GlobalInfo;
    return IsValidSectionIndex(sm, index) ? &sm->Sections[static_cast<size_t>(index)] : nullptr;
}

} // namespace

std::int32_t GetGlobalColor(const TsSkinManager* sm)
{
    const TsGeneralData* g = GlobalSection(sm);
    return g ? SkinColorToRGB(g->Color) : static_cast<std::int32_t>(GetSysColor(COLOR_BTNFACE));
}

std::int32_t GetGlobalFontColor(const TsSkinManager* sm)
{
    const TsGeneralData* g = GlobalSection(sm);
    return g ? SkinColorToRGB(g->FontColor) : clFuchsia;
}

std::int32_t GetGlobalHotColor(const TsSkinManager* sm)
{
    const TsGeneralData* g = GlobalSection(sm);
    return g ? SkinColorToRGB(g->HotColor) : static_cast<std::int32_t>(GetSysColor(COLOR_WINDOW));
}


void TsSkinManager::ClearSkinArrays()
{
    while (!Masks.empty())
        Masks.pop_back();
    MasterBitmap.reset();
    while (!Patterns.empty())
        Patterns.pop_back();
    Sections.clear();
}

void TsSkinManager::UpdateCachedIndexes()
{
    TacCachedIndexes& c = ConstData;
    auto section = [&](const wchar_t* name) { return static_cast<std::int16_t>(FindSectionIndex(this, name)); };
    auto mask = [&](std::int16_t index, const wchar_t* name, const wchar_t* key) {
        return static_cast<std::int16_t>(FindMaskIndex(this, index, name, key));
    };
    c.GlobalInfo = section(L"GLOBALINFO");

    const wchar_t* tabs[4] = {L"TABTOP", L"TABBOTTOM", L"TABLEFT", L"TABRIGHT"};
    for (int i = 0; i < 4; ++i)
        c.Tab[i] = section(tabs[i]);
    for (int i = 0; i < 4; ++i)
        c.TabBorder[i] = mask(c.Tab[i], tabs[i], L"BORDERSMASK");

    const wchar_t* buttons[4] = {L"SCROLLBTNTOP", L"SCROLLBTNBOTTOM", L"SCROLLBTNLEFT", L"SCROLLBTNRIGHT"};
    for (int i = 0; i < 4; ++i)
        c.ScrollBtn[i] = section(buttons[i]);
    for (int i = 0; i < 4; ++i)
        c.ScrollBtnBorder[i] = mask(c.ScrollBtn[i], buttons[i], L"BORDERSMASK");
    for (int i = 0; i < 4; ++i)
        c.ScrollBtnPattern[i] = mask(c.ScrollBtn[i], buttons[i], L"PATTERN");
    for (int i = 0; i < 4; ++i)
        c.ScrollBtnHotPattern[i] = mask(c.ScrollBtn[i], buttons[i], L"HOTPATTERN");
    for (int i = 0; i < 4; ++i)
        c.ScrollBtnGlyph[i] = c.ScrollBtn[i] >= 0 ? mask(c.ScrollBtn[i], buttons[i], L"GLYPHMASK") : -1;

    c.ScrollSliderV = section(L"SCROLLSLIDERV");
    c.ScrollSliderH = section(L"SCROLLSLIDERH");
    c.SliderVBorder = mask(c.ScrollSliderV, L"SCROLLSLIDERV", L"BORDERSMASK");
    c.SliderHBorder = mask(c.ScrollSliderH, L"SCROLLSLIDERH", L"BORDERSMASK");
    c.SliderVGlyph = c.ScrollSliderV >= 0 ? mask(c.ScrollSliderV, L"SCROLLSLIDERV", L"GLYPHMASK") : -1;
    c.SliderHGlyph = c.ScrollSliderH >= 0 ? mask(c.ScrollSliderH, L"SCROLLSLIDERH", L"GLYPHMASK") : -1;
    c.SliderHPattern = mask(c.ScrollSliderH, L"SCROLLSLIDERH", L"PATTERN");
    c.SliderHHotPattern = mask(c.ScrollSliderH, L"SCROLLSLIDERH", L"HOTPATTERN");
    c.SliderVPattern = mask(c.ScrollSliderV, L"SCROLLSLIDERV", L"PATTERN");
    c.SliderVHotPattern = mask(c.ScrollSliderV, L"SCROLLSLIDERV", L"HOTPATTERN");

    const wchar_t* bars[4] = {L"SCROLLBAR1H", L"SCROLLBAR1V", L"SCROLLBAR2H", L"SCROLLBAR2V"};
    for (int i = 0; i < 4; ++i)
        c.ScrollBar[i] = section(bars[i]);
    for (int i = 0; i < 4; ++i)
        c.ScrollBarBorder[i] = mask(c.ScrollBar[i], bars[i], L"BORDERSMASK");
    for (int i = 0; i < 4; ++i)
        c.ScrollBarPattern[i] = mask(c.ScrollBar[i], bars[i], L"PATTERN");
    for (int i = 0; i < 4; ++i)
        c.ScrollBarHotPattern[i] = mask(c.ScrollBar[i], bars[i], L"HOTPATTERN");

    const wchar_t* checks[9] = {L"BOXCHECKED", L"BOXUNCHECKED", L"BOXGRAYED", L"RADIOCHECKED", L"RADIOUNCHECKED",
                                L"RADIOGRAYED", L"SMALLCHECKED", L"SMALLUNCHECKED", L"SMALLGRAYED"};
    for (int i = 0; i < 9; ++i)
        c.CheckBox[i] = c.GlobalInfo >= 0 ? mask(c.GlobalInfo, L"GLOBALINFO", checks[i]) : -1;

    c.ComboBtn = FindSectionIndex(this, L"COMBOBTN");
    c.ComboBtnBorder = FindMaskIndexNoParent(this, L"COMBOBTN", L"BORDERSMASK");
    c.ComboBtnPattern = FindTextureIndex(this, c.ComboBtn, L"COMBOBTN", L"PATTERN");
    c.ComboBtnHotPattern = FindTextureIndex(this, c.ComboBtn, L"COMBOBTN", L"HOTPATTERN");
    c.ComboBoxGlyph = FindMaskIndexNoParent(this, L"COMBOBOX", L"GLYPHMASK");
}

