// The menu painter: owner-draws the application's menus in the current skin, keeps one cached background
// of the popup being shown, and shapes popup windows after the skin's menu border.
#pragma once

class TStartup;

#include "framework/Controls.h"
#include "framework/Events.h"
#include "framework/Graphics.h"
#include "framework/Menus.h"
#include "skin/core/sSkinManager.h"

#include <memory>
#include <string>
#include <vector>

class TMainMenu;
class TPopupMenu;

// Title item, separator, ordinary popup item, menu-line item.
enum TsMenuItemType { smCaption, smDivider, smNormal, smTopLine };

// Called after the painter drew an item, to draw over it.
using TsMenuManagerDrawItemEvent = TEvent<TObject*, TCanvas*, TRect, TOwnerDrawState, TsMenuItemType>;

// What the menu-line painter reads of a form's provider: the band of the frame bitmap behind the menu
// line and where the line sits in the window. The provider unit answers it for the providers it made.
struct TacMenuLineSource {
    TBitmap* MenuLineBmp = nullptr; // not owned
    int CaptionHeight = 0;
    int SysBorderHeight = 0;
    int FullBorderHeight = 0;
    TCustomForm* Form = nullptr; // not owned: the provider's form
};

class TsSkinableMenus : public TPersistent, public IacSkinMenus {
    DECLARE_CLASS_NAME(TsSkinableMenus)
public:
    explicit TsSkinableMenus(TsSkinManager* manager);
    ~TsSkinableMenus() override;

    int Margin = 3;
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment value);
    int BevelWidth = 0;
    // The width of the popup window's border that the painter repaints from the background.
    int BorderWidth = 3;
    TFont* CaptionFont() const { return captionFont_.get(); }
    void SetCaptionFont(TFont* value);
    // The skin's menu border: -1 makes the next read measure it again.
    int SkinBorderWidth();
    void SetSkinBorderWidth(int value) override { skinBorderWidth_ = value; }
    int Spacing = 6;
    TsMenuManagerDrawItemEvent OnDrawItem;

    bool Active() const { return active_; }
    void SetActive(bool value);
    // Menus are hooked while the manager's skin is loaded.
    void UpdateActive() override;
    TsSkinManager* Owner() const { return owner_; }

    void HookComponentMenus(TComponent* component, bool hook);
    void HookMainMenu(TMainMenu* menu, bool hook);
    void HookSubItems(TMenuItem* item, bool hook);
    void HookPopupMenu(TPopupMenu* menu, bool hook) override;
    void HookItem(TMenuItem* item, bool hook);

    // The handlers put into menu items.
    void DrawPopupItem(TObject* sender, TCanvas* canvas, TRect r, TOwnerDrawState state);
    void DrawMainMenuItem(TObject* sender, TCanvas* canvas, TRect r, TOwnerDrawState state);
    void MeasurePopupItem(TObject* sender, TCanvas* canvas, int& width, int& height);
    void MeasureMainMenuItem(TObject* sender, TCanvas* canvas, int& width, int& height);

    // Paints the background of the popup whose first item is FirstItem (W x H) once, and shapes Wnd.
    void PrepareMenuBackground(TMenuItem* firstItem, int width, HWND wnd, int height);
    void SetPopupRegion(HWND wnd, TBitmap* background) override;
    int ItemHeight(TCanvas* canvas, TMenuItem* item);
    // Sizes of a popup computed from its items, for when its window is not at hand.
    int PopupHeight(TMenuItem* item);
    int PopupWidth(TCanvas* canvas, TMenuItem* item);
    void DrawSeparator(TCanvas* canvas, const TRect& r, TBitmap* background);
    void DrawTitleItem(TCanvas* canvas, const TRect& r, TMenuItem* item);
    // The width of the extra line of the current popup (0 when it is not shown).
    int ExtraLineOffset() const;
    // The region cut-outs of the current popup.
    const std::vector<TRect>& CornerRects() const { return cornerRects_; }

private:
    void AssignPopupHandlers(TMenuItem* item);
    void RemovePopupHandlers(TMenuItem* item);
    void HookPopupItems(TMenuItem* item, bool hook);
    void FetchExtraLineData(TMenuItem* firstItem, bool measuring);
    void SelectMenuFont(TCanvas* canvas, TMenuItem* item, bool ownerCharset);
    void PaintExtraLine(int height);
    void RepaintPopupBorder(HWND wnd, TMenuItem* item, const TRect& r, int col);
    void FillColumnBelow(TCanvas* canvas, TMenuItem* item, const TRect& r);
    void DrawNormalItem(TCanvas* canvas, const TRect& r, TMenuItem* item, TOwnerDrawState state, int col);
    void DrawItemCheck(TBitmap* bmp, TMenuItem* item, TOwnerDrawState state);
    void DrawItemGlyph(TBitmap* bmp, TMenuItem* item, bool rightToLeft);
    void DrawItemTexts(TBitmap* bmp, TMenuItem* item, TOwnerDrawState state, bool rightToLeft, int col);

    TAlignment alignment_ = taLeftJustify;
    std::unique_ptr<TFont> captionFont_; // owned
    int skinBorderWidth_ = 0;
    std::vector<TRect> cornerRects_;
    bool active_ = false;
    TsSkinManager* owner_ = nullptr; // not owned; nil once destruction starts
    bool regionBusy_ = false;
    bool unhookingAll_ = false; // the painter is going: every menu it may have hooked is given back
};

// The popup background cache, one for the whole application.
TBitmap* MenuBackground();
// Forgets the cached background (and the popup it belonged to, with its extra line's state).
void ClearMenuCache();
// The menu-line item last drawn hot and its rectangle in window coordinates, kept until it is drawn in
// its normal state again; the frame clears it when another button of the form turns hot.
struct TacPendingMenuLineItem {
    TMenuItem* Item = nullptr; // not owned: compared with the form's items before it is used
    TRect Rect{};
};
TacPendingMenuLineItem& PendingMenuLineItem();
// Frees the cached background only; the extra line's state of the current popup stays.
void FreeMenuBackground();
// A maximized MDI child of the application's MDI main form shows its icon on the main form's menu line.
bool IsChildIconShown();
// Set while a skinned popup is being measured or shown; the popup-menu window adapter reads and clears it.
bool SkinnedPopupOpen();
void SetSkinnedPopupOpen(bool value);
// The type of the item measured or drawn last.
TsMenuItemType CurrentItemType();
// Drops the unit's state at shutdown: the cache and the extra-line texts.
void FinalizeSkinMenus();
// The shutdown step that runs FinalizeSkinMenus, between the JPEG formats and the skinned forms.
void AddSkinMenusStartupStep(TStartup& startup);

// The factories the manager reaches through the form-skinning layer's entries.
std::unique_ptr<IacSkinMenus> MakeSkinableMenus(TsSkinManager* owner);
