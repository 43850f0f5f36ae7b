#include "skin/core/sSkinManager.h"

#include "framework/FormData.h"
#include "framework/IniFiles.h"
#include "framework/SysUtils.h"
#include "skin/core/acSkinPack.h"
#include "skin/core/acntUtils.h"
#include "skin/core/sSkinReader.h"
#include "skin/core/sVclUtils.h"

#include <exception>

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
    std::vector<bool> seen(sm->gd.size(), false);
    while (skinIndex >= 0 && !section.empty()) {
        for (size_t i = 0; i < items.size(); ++i)
            if (items[i].ClassName == section && items[i].PropertyName == key && match(items[i]))
                return static_cast<int>(i);
        if (static_cast<size_t>(skinIndex) >= sm->gd.size() || seen[static_cast<size_t>(skinIndex)])
            return -1;
        seen[static_cast<size_t>(skinIndex)] = true;
        const std::wstring parent = sm->gd[static_cast<size_t>(skinIndex)].ParentClass;
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
        for (size_t i = 0; i < sm->gd.size(); ++i)
            if (sm->gd[i].ClassName == name)
                return static_cast<int>(i);
        return -1;
    });
}

int FindMaskIndex(const TsSkinManager* sm, int skinIndex, const std::wstring& skinSection, const std::wstring& mask)
{
    return NoThrow([&] {
        if (!sm)
            return -1;
        return FindWithParents(sm, sm->ma, skinIndex, skinSection, mask,
                               [](const TsMaskData&) { return true; });
    });
}

int FindMaskIndexNoParent(const TsSkinManager* sm, const std::wstring& skinSection, const std::wstring& mask)
{
    if (!sm || skinSection.empty())
        return -1;
    for (size_t i = 0; i < sm->ma.size(); ++i)
        if (sm->ma[i].ClassName == skinSection && sm->ma[i].PropertyName == mask)
            return static_cast<int>(i);
    return -1;
}

int FindTextureIndex(const TsSkinManager* sm, int skinIndex, const std::wstring& skinSection,
                     const std::wstring& propName)
{
    return NoThrow([&] {
        if (!sm || sm->ma.empty())
            return -1;
        return FindWithParents(sm, sm->ma, skinIndex, skinSection, propName,
                               [](const TsMaskData& m) { return m.ImgType == itisaTexture; });
    });
}

int FindPatternIndex(const TsSkinManager* sm, int skinIndex, const std::wstring& skinSection,
                     const std::wstring& propName)
{
    return NoThrow([&] {
        if (!sm || sm->pa.empty())
            return -1;
        return FindWithParents(sm, sm->pa, skinIndex, skinSection, propName,
                               [](const TsPatternData&) { return true; });
    });
}

bool IsValidMaskIndex(const TsSkinManager* sm, int index)
{
    return sm && index >= 0 && static_cast<size_t>(index) < sm->ma.size();
}

bool IsValidSectionIndex(const TsSkinManager* sm, int index)
{
    return sm && index >= 0 && static_cast<size_t>(index) < sm->gd.size();
}

POINT GetMaskFrameSize(TsSkinManager* sm, int maskIndex)
{
    if (!IsValidMaskIndex(sm, maskIndex))
        return POINT{0, 0};
    TsMaskData& mask = sm->ma[static_cast<size_t>(maskIndex)];
    if (mask.Bmp)
        return POINT{mask.Bmp->Width() / 3, mask.Bmp->Height() / 2};
    const int rows = mask.MaskType + 1 > 0 ? mask.MaskType + 1 : 1;
    return POINT{RectWidth(mask.R) / ImageCountOf(mask), RectHeight(mask.R) / rows};
}

int GetMaskBorderLeft(TsSkinManager* sm, int maskIndex)
{
    if (!IsValidMaskIndex(sm, maskIndex))
        return 0;
    TsMaskData& mask = sm->ma[static_cast<size_t>(maskIndex)];
    return FirstPositive(mask.WL, mask.BorderWidth, RectWidth(mask.R) / (ImageCountOf(mask) * 3));
}

int GetMaskBorderRight(TsSkinManager* sm, int maskIndex)
{
    if (!IsValidMaskIndex(sm, maskIndex))
        return 0;
    TsMaskData& mask = sm->ma[static_cast<size_t>(maskIndex)];
    const int count = mask.ImageCount == 0 ? 1 : mask.ImageCount;
    return FirstPositive(mask.WR, mask.BorderWidth, RectWidth(mask.R) / (count * 3));
}

int GetMaskBorderBottom(TsSkinManager* sm, int maskIndex)
{
    if (!IsValidMaskIndex(sm, maskIndex))
        return 0;
    const TsMaskData& mask = sm->ma[static_cast<size_t>(maskIndex)];
    const int rows = mask.MaskType + 1 > 0 ? mask.MaskType + 1 : 1;
    return FirstPositive(mask.WB, mask.BorderWidth, RectHeight(mask.R) / (rows * 3));
}

namespace {

const TsGeneralData* GlobalSection(const TsSkinManager* sm)
{
    if (!sm)
        return nullptr;
    const int index = sm->ConstData.GlobalInfo;
    return IsValidSectionIndex(sm, index) ? &sm->gd[static_cast<size_t>(index)] : nullptr;
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

// ---- TsSkinManager ----

namespace {

TsSkinManager* gDefaultManager = nullptr;

} // namespace

TsSkinManager* DefaultManager()
{
    return gDefaultManager;
}

TsSkinManager::TsSkinManager(TComponent* owner)
    : TComponent(owner), internalSkins_(std::make_unique<TsStoredSkins>(this)),
      commonSections_(std::make_unique<TStringList>()), animEffects_(std::make_unique<TacAnimEffects>())
{
    animEffects_->SetManager(this);
    if (!gDefaultManager)
        gDefaultManager = this;
}

TsSkinManager::~TsSkinManager()
{
    SetActive(false);
    animEffects_.reset();
    internalSkins_.reset();
    commonSections_.reset();
    ClearSkinArrays();
    if (gDefaultManager == this)
        gDefaultManager = nullptr;
}

void TsSkinManager::AfterConstruction()
{
    TComponent::AfterConstruction();
    if (skinDirectory_.empty())
        skinDirectory_ = L"c:\\Skins";
}

void TsSkinManager::Loaded()
{
    TComponent::Loaded();
    if (skinDirectory_.empty())
        skinDirectory_ = L"c:\\Skins";
    // The skin was loaded while SkinName was read; the change is announced once everything is read.
    if (active_ && !skinName_.empty())
        FinishSkinChange();
}

bool TsSkinManager::IsDefault() const
{
    return gDefaultManager == this;
}

std::wstring TsSkinManager::SkinInfo() const
{
    if (!skinData_.Active)
        return L"N/A";
    std::wstring text = FloatToStr(skinData_.Version);
    for (wchar_t& c : text)
        if (c == L',')
            c = L'.';
    return text;
}

void TsSkinManager::ClearSkinArrays()
{
    while (!ma.empty())
        ma.pop_back();
    MasterBitmap.reset();
    while (!pa.empty())
        pa.pop_back();
    gd.clear();
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

std::wstring TsSkinManager::ResolveSkinDirectory() const
{
    const std::wstring& dir = skinDirectory_;
    if (dir.rfind(L"..", 0) == 0) {
        std::wstring parent = ProgramFolder();
        if (!parent.empty())
            parent.pop_back();
        while (!parent.empty() && parent.back() != L'\\' && parent.back() != L'/')
            parent.pop_back();
        return parent + (dir.size() > 3 ? dir.substr(3) : std::wstring());
    }
    if (dir.rfind(L".\\", 0) == 0 || dir.rfind(L"./", 0) == 0)
        return ProgramFolder() + dir.substr(2);
    if (dir.find(L':') == std::wstring::npos && dir.find(L"\\\\") == std::wstring::npos)
        return ProgramFolder() + dir;
    return dir;
}

void TsSkinManager::SetSkinDirectory(const std::wstring& dir)
{
    if (dir == skinDirectory_)
        return;
    skinDirectory_ = dir;
    skinData_.SkinPath = ResolveSkinDirectory();
}

void TsSkinManager::SetCommonSections(const TStrings* lines)
{
    commonSections_->Clear();
    for (int i = 0; i < lines->Count(); ++i) {
        std::wstring line = lines->Get(i);
        if (!line.empty() && line[0] != L';')
            line = RemoveChar(line, L' ');
        commonSections_->Add(line);
    }
    SetSkinName(skinName_);
}

void TsSkinManager::SetActive(bool value)
{
    if (value == active_)
        return;
    active_ = value;
    if (active_) {
        SetSkinName(skinName_);
    } else {
        skinData_.Active = false;
        ClearSkinArrays();
        UpdateCachedIndexes();
    }
}

void TsSkinManager::SetSkinName(const std::wstring& name)
{
    skinName_ = name;
    if (!active_)
        return;
    skinData_.Active = false;
    try {
        packed_ = FileExists(NormalizeDir(skinDirectory_) + name + L".asz");
        if (packed_)
            LoadPackedSkin();
        else
            LoadSkinFromFolder();
    } catch (...) {
        // A skin that fails part-way leaves nothing half-built behind.
        ClearSkinArrays();
        UpdateCachedIndexes();
        throw;
    }
    if (!active_) {
        ClearSkinArrays();
        UpdateCachedIndexes();
        return;
    }
    FinishSkinChange();
}

void TsSkinManager::FinishSkinChange()
{
    UpdateCachedIndexes();
    skinData_.Active = true;
}

void TsSkinManager::LoadSkin(TMemIniFile* ini, TacSkinConvertor* convertor)
{
    TacSkinSource source{ini, convertor};
    LoadSkinMasks(this, source);
    LoadSkinPatterns(this, source);
    LoadSkinSections(this, source);
}

void TsSkinManager::LoadPackedSkin()
{
    std::unique_ptr<TacSkinConvertor> convertor;
    if (!LoadPackedSkinFile(NormalizeDir(skinDirectory_) + skinName_ + L".asz", convertor, true) ||
        !convertor->Options) {
        // Not a container after all: carry on as if the file were not there.
        packed_ = false;
        LoadSkinFromFolder();
        return;
    }
    TStringList lines;
    convertor->Options->SetPosition(0);
    lines.LoadFromStream(convertor->Options.get());
    TMemIniFile ini(L"");
    ini.SetStrings(&lines);
    skinData_.SkinPath = ResolveSkinDirectory() + L"\\";
    LoadSkin(&ini, convertor.get());
}

void TsSkinManager::LoadSkinFromFolder()
{
    const std::wstring folder = ResolveSkinDirectory() + L"\\" + skinName_ + L"\\";
    if (FileExists(folder + L"Options.dat")) {
        packed_ = false;
        TMemIniFile ini(folder + L"Options.dat");
        skinData_.SkinPath = folder;
        LoadSkin(&ini, nullptr);
        return;
    }
    skinData_.SkinPath.clear();
    int index = internalSkins_->IndexOfSkin(skinName_);
    if (index < 0) {
        if (internalSkins_->Count() == 0) {
            active_ = false;
            return;
        }
        index = 0;
        skinName_ = internalSkins_->Items(0)->Name();
    }
    TsStoredSkin* stored = internalSkins_->Items(index);
    if (stored->Data()->Size() == 0) {
        packed_ = false;
        LoadSkin(nullptr, nullptr);
        return;
    }
    packed_ = true;
    TacSkinConvertor convertor;
    convertor.LendSource(stored->Data());
    const bool parsed = ParsePackedSkin(&convertor);
    convertor.ReleaseSource();
    if (!parsed || !convertor.Options) {
        LoadSkin(nullptr, nullptr);
        return;
    }
    TStringList lines;
    convertor.Options->SetPosition(0);
    lines.LoadFromStream(convertor.Options.get());
    TMemIniFile ini(L"");
    ini.SetStrings(&lines);
    LoadSkin(&ini, &convertor);
}

void RegisterSkinManagerClasses()
{
    RegisterClass<TComponent>(L"TComponent", L"");
    RegisterStoredSkinClasses();
    RegisterClass<TsSkinManager>(L"TsSkinManager", L"TComponent")
        .Object(L"InternalSkins", &TsSkinManager::InternalSkins)
        .String(L"SkinDirectory", &TsSkinManager::SetSkinDirectory)
        .String(L"SkinName", &TsSkinManager::SetSkinName)
        .Bool(L"Active", &TsSkinManager::SetActive)
        .Custom(L"CommonSections",
                [](TsSkinManager* sm, const TFormValue& v, TFormReader& r) {
                    if (v.kind != TFormValue::vkList)
                        r.Error(v.line, L"List expected, found " + v.Describe());
                    TStringList lines;
                    for (const TFormValue& line : v.list)
                        lines.Add(TClassBuilder<TsSkinManager>::StringValue(line, r));
                    sm->SetCommonSections(&lines);
                })
        // Both describe the library and the loaded skin: values kept in form data are ignored.
        .Custom(L"SkinInfo", [](TsSkinManager*, const TFormValue&, TFormReader&) {})
        .Custom(L"Version", [](TsSkinManager*, const TFormValue&, TFormReader&) {});
}
