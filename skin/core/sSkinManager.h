// The skin manager: the loaded skin's arrays, its global values, the cached indexes of common sections,
// skin selection (packed file, folder, stored skin) and the lookups every painter uses.
#pragma once

#include "framework/Classes.h"
#include "skin/core/sMaskData.h"
#include "skin/core/sStoredSkins.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

// Indexes of common sections and masks, recomputed after every skin change; -1 = absent.
struct TacCachedIndexes {
    std::int16_t GlobalInfo;
    std::int16_t Tab[4];               // TABTOP, TABBOTTOM, TABLEFT, TABRIGHT
    std::int16_t TabBorder[4];
    std::int16_t ScrollBtn[4];         // SCROLLBTNTOP, SCROLLBTNBOTTOM, SCROLLBTNLEFT, SCROLLBTNRIGHT
    std::int16_t ScrollBtnBorder[4];
    std::int16_t ScrollBtnPattern[4];
    std::int16_t ScrollBtnHotPattern[4];
    std::int16_t ScrollBtnGlyph[4];
    std::int16_t ScrollSliderV, ScrollSliderH;
    std::int16_t SliderVBorder, SliderHBorder;
    std::int16_t SliderVGlyph, SliderHGlyph;
    std::int16_t SliderHPattern, SliderHHotPattern, SliderVPattern, SliderVHotPattern;
    std::int16_t ScrollBar[4];         // SCROLLBAR1H, SCROLLBAR1V, SCROLLBAR2H, SCROLLBAR2V
    std::int16_t ScrollBarBorder[4];
    std::int16_t ScrollBarPattern[4];
    std::int16_t ScrollBarHotPattern[4];
    std::int16_t CheckBox[9];          // BOXCHECKED ... SMALLGRAYED of GLOBALINFO
    std::int32_t ComboBtn;
    std::int32_t ComboBtnBorder;
    std::int32_t ComboBtnPattern;
    std::int32_t ComboBtnHotPattern;
    std::int32_t ComboBoxGlyph;
};

// The skin's holder: the arrays, the global values and the cached indexes of the loaded skin, and the
// choice of where a named skin comes from. The first manager made is the default manager.
class TsSkinManager : public TComponent {
    DECLARE_CLASS_NAME(TsSkinManager)
public:
    explicit TsSkinManager(TComponent* owner = nullptr);
    ~TsSkinManager() override;

    void AfterConstruction() override;
    void Loaded() override;

    const std::wstring& SkinName() const { return skinName_; }
    // Stores the name and, when active, loads that skin. Damaged skins raise; the arrays are then empty.
    void SetSkinName(const std::wstring& name);
    const std::wstring& SkinDirectory() const { return skinDirectory_; }
    void SetSkinDirectory(const std::wstring& dir);
    bool Active() const { return active_; }
    void SetActive(bool value);
    TsStoredSkins* InternalSkins() const { return internalSkins_.get(); }
    void SetInternalSkins(TsStoredSkins* skins) { internalSkins_->Assign(skins); }
    TStringList* CommonSections() const { return commonSections_.get(); }
    void SetCommonSections(const TStrings* lines);
    TacAnimEffects* AnimEffects() const { return animEffects_.get(); }
    std::int32_t HueOffset() const { return hueOffset_; }
    std::int32_t Saturation() const { return saturation_; }
    bool IsDefault() const;
    // "N/A" while no skin is loaded, else the skin's VERSION with "." as the decimal separator.
    std::wstring SkinInfo() const;

    // The absolute skin directory, without a trailing separator.
    std::wstring ResolveSkinDirectory() const;
    void UpdateCachedIndexes();
    // Frees masks (last first), the master bitmap and the patterns, and empties the sections.
    void ClearSkinArrays();

    TsSkinData* SkinData() { return &skinData_; }
    const TsSkinData* SkinData() const { return &skinData_; }
    bool IsPacked() const { return packed_; }

    // The loaded skin, addressed by index; written only by the skin reader and the manager.
    TsMaskArray ma;
    TsPatternArray pa;
    TsGeneralDataArray gd;
    TacCachedIndexes ConstData{};
    std::unique_ptr<TBitmap> MasterBitmap; // owned

    // Reports image values the readers could not resolve (skinpack's lint listens); empty by default.
    std::function<void(const std::wstring& section, const std::wstring& key, const std::wstring& value)>
        OnUnresolvedImage;

private:
    void LoadPackedSkin();
    void LoadSkinFromFolder();
    void LoadSkin(class TMemIniFile* ini, class TacSkinConvertor* convertor);
    void FinishSkinChange();

    std::wstring skinName_;
    std::wstring skinDirectory_ = L"c:\\Skins";
    bool active_ = true;
    std::unique_ptr<TsStoredSkins> internalSkins_;
    std::unique_ptr<TStringList> commonSections_;
    std::unique_ptr<TacAnimEffects> animEffects_;
    TsSkinData skinData_;
    bool packed_ = false;
    std::int32_t hueOffset_ = 0;
    std::int32_t saturation_ = 0;
};

// The first manager made (nil when none exists); controls without a manager of their own use it.
TsSkinManager* DefaultManager();

// Makes TsSkinManager and the stored-skin classes readable from form data.
void RegisterSkinManagerClasses();

// Lookups; names are compared exactly, so callers pass upper-case names. None of them raises.
int FindSectionIndex(const TsSkinManager* sm, const std::wstring& name);
int FindMaskIndex(const TsSkinManager* sm, int skinIndex, const std::wstring& skinSection, const std::wstring& mask);
int FindMaskIndexNoParent(const TsSkinManager* sm, const std::wstring& skinSection, const std::wstring& mask);
int FindTextureIndex(const TsSkinManager* sm, int skinIndex, const std::wstring& skinSection,
                     const std::wstring& propName);
int FindPatternIndex(const TsSkinManager* sm, int skinIndex, const std::wstring& skinSection,
                     const std::wstring& propName);
bool IsValidMaskIndex(const TsSkinManager* sm, int index);
bool IsValidSectionIndex(const TsSkinManager* sm, int index);

POINT GetMaskFrameSize(TsSkinManager* sm, int maskIndex);
int GetMaskBorderLeft(TsSkinManager* sm, int maskIndex);
int GetMaskBorderRight(TsSkinManager* sm, int maskIndex);
int GetMaskBorderBottom(TsSkinManager* sm, int maskIndex);

std::int32_t GetGlobalColor(const TsSkinManager* sm);
std::int32_t GetGlobalFontColor(const TsSkinManager* sm);
std::int32_t GetGlobalHotColor(const TsSkinManager* sm);

// System colours (negative values) become their RGB value; others stay as they are.
std::int32_t SkinColorToRGB(std::int32_t color);
