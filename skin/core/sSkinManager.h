// The skin manager: the loaded skin's arrays, its global values, the cached indexes of common sections,
// skin selection (packed file, folder, stored skin) and the lookups every painter uses.
#pragma once

#include "framework/Classes.h"
#include "framework/Events.h"
#include "framework/Graphics.h"
#include "framework/Messages.h"
#include "framework/Types.h"
#include "skin/core/sMaskData.h"
#include "skin/core/sStoredSkins.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

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

class TsSkinManager;
class TSkinTextIndex;
class TMenuItem;
class TPopupMenu;

// The menu painter a manager owns. The form-skinning layer makes it (see TacSkinLinks); the
// manager resets its border width, switches its menus on or off and shapes popup windows, and skinned
// controls hand it the popup menus they show (the tool bar's drop-down menus).
class IacSkinMenus {
public:
    virtual ~IacSkinMenus() = default;
    // -1 makes the painter measure the skin's menu border again on next use.
    virtual void SetSkinBorderWidth(int value) = 0;
    virtual void UpdateActive() = 0;
    virtual void SetPopupRegion(HWND wnd, TBitmap* background) = 0;
    // Gives the menu's items the painter's drawing (hook) or takes it back.
    virtual void HookPopupMenu(TPopupMenu*, bool) {}
};

// Menu options of the manager, read by the menu painter.
class TacMenuSupport : public TPersistent {
    DECLARE_CLASS_NAME(TacMenuSupport)
public:
    TacMenuSupport() : ExtraLineFont(std::make_unique<TFont>()) {}
    std::wstring IcoLineSkin;
    bool UseExtraLine = false;
    int ExtraLineWidth = 32;
    std::unique_ptr<TFont> ExtraLineFont; // owned
};

// Asked for the extra line of a popup whose first item is FirstItem.
using TacGetExtraLineData =
    TEvent<TMenuItem*, std::wstring& /*SkinSection*/, std::wstring& /*Caption*/, TBitmap*& /*Glyph*/,
           bool& /*LineVisible*/>;

enum TacSkinningRule { srStdForms, srStdDialogs, srThirdParty };
using TacSkinningRules = TSet<TacSkinningRule>;

// Which names ListSkinNames collects besides the stored skins.
enum TacSkinListKind { slFolders = 0, slPackedFiles = 1, slFoldersAndPackedFiles = 2 };

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
    // Stores the name and, when active, loads that skin and tells every window. A damaged skin raises
    // after the windows were told that no skin is loaded; a skin folder whose text cannot be read
    // raises before anything changed, the loaded skin and its name kept. While no skin is loaded yet,
    // a packed file or folder that fails is reported through the application's exception handler and
    // the search goes on (a folder of the name, then the stored skins); without an application it
    // raises as well.
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
    TacMenuSupport* MenuSupport() const { return menuSupport_.get(); }
    // The menu painter; nil when the form-skinning layer supplied none.
    IacSkinMenus* SkinableMenus() const { return menus_.get(); }
    std::int32_t HueOffset() const { return hueOffset_; }
    void SetHueOffset(std::int32_t value);
    std::int32_t Saturation() const { return saturation_; }
    void SetSaturation(std::int32_t value);
    bool SkinnedPopups() const { return skinnedPopups_; }
    void SetSkinnedPopups(bool value);
    TacSkinningRules SkinningRules = {srStdForms, srStdDialogs, srThirdParty};
    void SetSkinningRules(TacSkinningRules value) { SkinningRules = value; }
    bool IsDefault() const;
    void SetIsDefault(bool value);
    // "N/A" while no skin is loaded, else the skin's VERSION with "." as the decimal separator.
    std::wstring SkinInfo() const;
    static std::wstring Version() { return L"5.37"; }

    TNotifyEvent OnBeforeChange;
    TNotifyEvent OnAfterChange;
    TacGetExtraLineData OnGetMenuExtraLineData;

    // The absolute skin directory, without a trailing separator.
    std::wstring ResolveSkinDirectory() const;
    // The stored skins, then (kind permitting) the skin folders and packed files of the skin directory,
    // sorted; firstName gets the first stored skin, else the first name found on disk.
    void ListSkinNames(TStrings* list, TacSkinListKind kind, std::wstring& firstName) const;
    // The window that is hot now: the previous one hears SkinCmdControlExit, the new one SkinCmdControlEnter.
    void SetActiveControl(HWND wnd);
    HWND ActiveControl() const { return activeControl_; }

    void BroadcastSkinChanged();
    // True while the windows hear SkinCmdSkinChanged from BroadcastSkinChanged: the skin reads inactive
    // then, and the refresh that follows at once finishes the change.
    bool TellingOfChange() const { return tellingOfChange_; }
    // While RepaintSkinnedForms tells the windows to refresh, a number of that broadcast's own, else 0:
    // a window that hears the same round's refresh again (an adapted control hears it through its
    // form's adapter and through the broadcast to the form's children) has nothing more to do.
    std::uint32_t RefreshRound() const { return refreshRound_; }
    void BroadcastSkinRemoved();
    void RepaintSkinnedForms();
    void InstallDialogsHook();
    void RemoveDialogsHook();
    bool DialogsHookInstalled() const { return hookInstalled_; }
    // The application window's messages: True when the manager handled the message.
    bool AppHook(TMessage& message);

    void UpdateCachedIndexes();
    // Frees masks (last first), the master bitmap and the patterns, and empties the sections.
    void ClearSkinArrays();

    TsSkinData* SkinData() { return &skinData_; }
    const TsSkinData* SkinData() const { return &skinData_; }
    bool IsPacked() const { return packed_; }

    // The loaded skin, addressed by index; written only by the skin reader and the manager.
    TsMaskArray Masks;
    TsPatternArray Patterns;
    TsGeneralDataArray Sections;
    TacCachedIndexes ConstData{};
    std::unique_ptr<TBitmap> MasterBitmap; // owned

    // Reports image values the readers could not resolve (skinpack's lint listens); empty by default.
    std::function<void(const std::wstring& section, const std::wstring& key, const std::wstring& value)>
        OnUnresolvedImage;
    // Reports image values whose image count or mask type the readers had to clamp before any painter
    // could divide by them (skinpack's lint listens); empty by default.
    std::function<void(const std::wstring& section, const std::wstring& key, const std::wstring& value)>
        OnClampedImage;

private:
    std::wstring PackedSkinFile() const;
    // The folder of the skin name, with a trailing separator.
    std::wstring SkinFolder() const;
    // The skin text "Options.dat" in that folder.
    std::wstring SkinTextFile() const;
    // The text of the skin name's folder when the skin is a folder's (no packed file of its name),
    // else null. A text that cannot be read raises, before anything of the loaded skin is touched.
    std::unique_ptr<TSkinTextIndex> ReadFolderText() const;
    // The readers are given the text ReadFolderText read, or read the folder's text themselves.
    void LoadSelectedSkin(std::unique_ptr<TSkinTextIndex> folderText);
    bool PassesOverFailingSources() const;
    void LoadFirstSkinThatLoads();
    // Runs one source's load: False when it was no skin, or when it raised (the failure then reported
    // and whatever the source had read freed).
    bool LoadOrReport(const std::function<bool()>& load);
    // False when the file holds no container (the warning was shown) and nothing was read.
    bool LoadPackedSkin();
    // The folder's skin with the text given, else with its own text read now, else a stored skin.
    void LoadSkinFromFolder(std::unique_ptr<TSkinTextIndex> text);
    void LoadFolderSkin(std::unique_ptr<TSkinTextIndex> text);
    // The stored skin of the name, else the first stored skin under its own name; with none the
    // manager turns inactive.
    void LoadStoredSkin();
    void LoadSkin(class TMemIniFile* ini, class TacSkinConvertor* convertor);
    void ReloadForColours();
    void AppHookHandler(TMessage& message, bool& handled);
    void HookApplication();
    void UnhookApplication();
    bool RunTimeWithMainForm() const;

    std::wstring skinName_;
    std::wstring skinDirectory_ = L"c:\\Skins";
    bool active_ = true;
    std::unique_ptr<TsStoredSkins> internalSkins_;
    std::unique_ptr<IacSkinMenus> menus_;
    bool skinnedPopups_ = true;
    std::unique_ptr<TStringList> commonSections_;
    bool isDefaultFlag_ = false;
    std::unique_ptr<TacMenuSupport> menuSupport_;
    std::unique_ptr<TacAnimEffects> animEffects_;
    HWND activeControl_ = nullptr; // not owned
    bool hookInstalled_ = false;
    bool tellingOfChange_ = false;
    std::uint32_t refreshRound_ = 0;
    std::uint32_t lastRefreshRound_ = 0;
    bool appHooked_ = false;
    TsSkinData skinData_;
    bool packed_ = false;
    std::int32_t hueOffset_ = 0;
    std::int32_t saturation_ = 0;
};

// The first manager made (nil when none exists); controls without a manager of their own use it.
TsSkinManager* DefaultManager();

// True while the skin-changed broadcast runs (controls read it while they re-index).
bool SkinChanging();
// A control that re-indexed for the new skin, or repainted for a renamed section, ends the flag.
void ClearSkinChanging();
// True while the skin-removed broadcast runs (window adapters read it).
bool SkinRemoving();

// The dialogs hook while it is installed: its handle, and the objects it made, which the manager frees
// when it removes the hook. A slot is set to nil when its object goes away first. Nil when not installed.
HHOOK DialogsHookHandle();
std::vector<TObject*>* DialogsHookObjects();

// Turns the loaded skin's colours and image pixels by the manager's HueOffset, then moves them by its
// Saturation; run at the end of every load.
void ApplySkinColourSettings(TsSkinManager* sm);

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
