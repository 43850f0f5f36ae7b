// The skin state of one skinned control, window adapter or form provider: its section and manager, the
// cached indexes, the cache bitmap of its background, hover and focus, and the handling of skin commands
// and window messages that every skinned control shares.
#pragma once

#include "framework/Controls.h"
#include "framework/Messages.h"
#include "skin/core/sConst.h"

#include <cstdint>
#include <memory>
#include <string>

class TsSkinManager;

// Control-type codes that the program uses.
inline constexpr int COC_TsToolBar = 54;
inline constexpr int COC_TsSplitter = 75;
inline constexpr int COC_TsMemo = 97;
inline constexpr int COC_TsTabControl = 143;
inline constexpr int COC_TsStatusBar = 151;
inline constexpr int COC_TsSkinProvider = 224;

// The section a control of type COC takes when its own is empty; empty for codes the table lacks (the
// owner's class name is used then).
std::wstring DefaultSectionOfCOC(int coc);
// Codes that never turn hot because the mouse is over them: 51-74, 110 and 141-161.
bool IsNoHoverCOC(int coc);

class TsCommonData : public TPersistent {
    DECLARE_CLASS_NAME(TsCommonData)
public:
    TsCommonData(TPersistent* owner, bool createCacheBmp);
    ~TsCommonData() override;

    const std::wstring& SkinSection() const { return skinSection_; }
    void SetSkinSection(const std::wstring& value);
    bool CustomFont() const { return customFont_; }
    void SetCustomFont(bool value);
    bool CustomColor() const { return customColor_; }
    void SetCustomColor(bool value);
    // The stored manager (nil stands for the default one).
    TsSkinManager* SkinManager() const { return skinManager_; }
    void SetSkinManager(TsSkinManager* value);
    // The stored manager, else the default manager; may be nil.
    TsSkinManager* GetSkinManager() const;

    bool Skinned(bool checkActive = false) const;
    void UpdateIndexes();
    void SetDefaultSection();
    // Called by the owner from its own Loaded.
    void Loaded();
    bool Updating() const;
    void SetUpdating(bool value) { FUpdating = value; }
    void BeginSkinUpdate();
    void EndSkinUpdate();
    void InitCacheBmp();
    void Invalidate();
    bool IsTransparent() const;
    bool ParentBgTransparent() const;
    bool NeedsParentBg() const;
    int CtrlSkinState() const;
    void GetParentCache(TCacheInfo& info) const;
    static void GetParentCacheHwnd(HWND wnd, TCacheInfo& info);
    // The background colour the control shows (what it answers to SkinCmdGetBgColor).
    TColor BgColor() const;

    // The section's record, nil while SkinIndex is not valid.
    const struct TsGeneralData* Section() const;
    // Takes the section's Color and FontColor unless CustomColor / CustomFont keep the control's own.
    void TakeSectionColors();
    // Forgets the stored manager without the re-indexing of SetSkinManager.
    void SetSkinManagerField(TsSkinManager* value) { skinManager_ = value; }

    TControl* OwnerControl() const { return FOwnerControl; }
    TPersistent* OwnerObject() const { return FOwnerObj; }
    TBitmap* CacheBmp() const { return FCacheBmp.get(); }

    bool FUpdating = false;
    std::int32_t BorderIndex = -1;
    std::int32_t SkinIndex = -1;
    std::int32_t Texture = -1;
    std::int32_t HotTexture = -1;
    void* HeldObject = nullptr; // stored for the sender; nothing here reads it
    bool ParentBgForced = false;
    bool BGChanged = true;
    bool PartlyHidden = true;
    TControl* FOwnerControl = nullptr;   // borrowed
    TPersistent* FOwnerObj = nullptr;    // borrowed
    std::unique_ptr<TBitmap> FCacheBmp; // owned
    std::int32_t COC = 0;
    bool FFocused = false;
    bool FMouseAbove = false;

private:
    bool OwnerDestroying() const;
    bool OwnerIsProvider() const;
    // Performs command 3 or 2 on the owner after its manager or section changed.
    void NotifyOwnerOfSkin(TsSkinManager* manager);

    std::wstring skinSection_;
    bool customFont_ = false;
    bool customColor_ = false;
    TsSkinManager* skinManager_ = nullptr; // borrowed
};

// True for owners whose colours follow the skin like an edit's.
bool IsEditControl(const TControl* control);

// The skin command handling every skinned control shares; True when it answered and the caller must not
// treat the message further. Only for SM_SKINCMD.
bool CommonSkinCommand(TMessage& message, TsCommonData* data);
// The handling of ordinary messages every skinned control shares (skin commands go to CommonSkinCommand).
bool CommonMessage(TMessage& message, TsCommonData* data);

// Puts the parent's background back into the selected transparent corners of the control's cache.
void UpdateCorners(TsCommonData* data, int state, int corners);
void UpdateCacheBorder(TsCommonData* data, int state);

// Copies Data's cache to DC (Dest's size, from Src's top-left), leaving out the child controls that
// paint themselves over it.
void CopyWinControlCache(TWinControl* control, TsCommonData* data, const TRect& src, int offsetY, int offsetX,
                         bool updateBorder, HDC dc, const TRect& dest);
// The same for the child windows of Wnd.
void CopyHwndCache(HWND wnd, TsCommonData* data, const TRect& src, int offsetY, int offsetX, bool updateBorder,
                   HDC dc, const TRect& dest);

// The skin state's published properties for form data (SkinSection, CustomColor, CustomFont,
// SkinManager); every skinned control's registration calls it.
void RegisterCommonDataClass();
