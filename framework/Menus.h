// Menus over real Win32 menus: menu items (caption, shortcut, check marks, groups, breaks, owner
// drawing, actions), main menus of forms, popup menus with the hidden window that receives their
// commands, and shortcut text.
#pragma once

#include "framework/ActnList.h"
#include "framework/Controls.h"
#include "framework/ImgList.h"

#include <memory>
#include <string>
#include <vector>

class TMenu;
class TCustomForm;

enum TMenuBreak { mbNone, mbBreak, mbBarBreak };
enum TOwnerDrawStateItem {
    odSelected, odGrayed, odDisabled, odChecked, odFocused, odDefault, odHotLight, odInactive, odNoAccel,
    odNoFocusRect, odReserved1, odReserved2, odComboBoxEdit
};
using TOwnerDrawState = TSet<TOwnerDrawStateItem>;
enum TFindItemKind { fkCommand, fkHandle, fkShortCut };
enum TPopupAlignment { paLeft, paRight, paCenter };
enum TMenuAnimation { maLeftToRight, maRightToLeft, maTopToBottom, maBottomToTop, maNone };
using TMenuAnimations = TSet<TMenuAnimation>;

using TMenuMeasureItemEvent = TEvent<TObject*, TCanvas*, int&, int&>;
using TAdvancedMenuDrawItemEvent = TEvent<TObject*, TCanvas*, TRect, TOwnerDrawState>;

TShortCut ShortCut(WORD key, TShiftState shift);
// "Ctrl+S", "Del", "Ins", "Shift+F3"; empty for no shortcut.
std::wstring ShortCutToText(TShortCut shortCut);
// The inverse of ShortCutToText; 0 for text it does not know.
TShortCut TextToShortCut(const std::wstring& text);

class TMenuItem : public TComponent {
    DECLARE_CLASS_NAME(TMenuItem)
public:
    explicit TMenuItem(TComponent* owner);
    ~TMenuItem() override;

    const std::wstring& Caption() const { return caption_; }
    void SetCaption(const std::wstring& value);
    TShortCut ShortCut() const { return shortCut_; }
    void SetShortCut(TShortCut value);
    bool Checked() const { return checked_; }
    void SetChecked(bool value);
    bool RadioItem() const { return radioItem_; }
    void SetRadioItem(bool value);
    bool AutoCheck() const { return autoCheck_; }
    void SetAutoCheck(bool value) { autoCheck_ = value; }
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value);
    bool Visible() const { return visible_; }
    void SetVisible(bool value);
    bool Default() const { return default_; }
    void SetDefault(bool value);
    TMenuBreak Break() const { return break_; }
    void SetBreak(TMenuBreak value);
    int GroupIndex() const { return groupIndex_; }
    void SetGroupIndex(int value);
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int value);
    // The item's own picture (empty unless given); it wins over the menu's image list.
    TBitmap* Bitmap();
    void SetBitmap(TBitmap* value);
    const std::wstring& Hint() const { return hint_; }
    void SetHint(const std::wstring& value) { hint_ = value; }
    TBasicAction* Action() const { return link_ ? link_->Action() : nullptr; }
    void SetAction(TBasicAction* value);
    bool IsLine() const { return caption_ == L"-"; }

    int Count() const { return static_cast<int>(items_.size()); }
    TMenuItem* Items(int index) const;
    TMenuItem* Parent() const { return parent_; }
    int MenuIndex() const;
    void SetMenuIndex(int value);
    int IndexOf(TMenuItem* item) const;
    void Add(TMenuItem* item);
    void Insert(int index, TMenuItem* item);
    void Delete(int index);
    void Remove(TMenuItem* item);
    void Clear();
    TMenuItem* Find(const std::wstring& caption) const;
    void SetParentComponent(TComponent* parent) override;

    // The item's command number (WM_COMMAND) and, for an item with sub-items, its menu.
    UINT Command() const { return command_; }
    HMENU Handle();
    TMenu* GetParentMenu() const;

    // OnClick, or the action; a radio item with AutoCheck checks itself.
    virtual void Click();
    // As Click; False when nothing handled it (no OnClick and no action handler).
    bool ClickHandled();

    TNotifyEvent OnClick;
    TMenuMeasureItemEvent OnMeasureItem;
    TAdvancedMenuDrawItemEvent OnAdvancedDrawItem;

    // Owner drawing, from WM_MEASUREITEM and WM_DRAWITEM of the window that shows the menu.
    void DispatchMeasure(MEASUREITEMSTRUCT& measure);
    void DispatchDraw(DRAWITEMSTRUCT& draw);
    // The item behind a menu's item data, if it is a live item of one of that form's menus or of a
    // popup menu (nullptr for others' data).
    static TMenuItem* FromItemData(ULONG_PTR data, TCustomForm* form);

    void Loaded() override;

protected:
    friend class TMenu;
    friend class TMenuActionLink;
    virtual void MeasureItem(TCanvas* canvas, int& width, int& height);
    virtual void AdvancedDrawItem(TCanvas* canvas, const TRect& rect, TOwnerDrawState state, bool topLevel);
    void DrawDefault(TCanvas* canvas, const TRect& rect, TOwnerDrawState state, bool topLevel);
    // The item's picture from its menu's image list, if it has one.
    bool HasImage() const;
    bool IsOwnerDrawn() const;
    TSize ImageSize() const;
    void DrawImage(TCanvas* canvas, const TRect& rect) const;
    // Rebuilds this item's place in its parent's menu and tells the menu.
    void MenuChanged(bool rebuild);
    void RebuildHandle();
    // The list of sub-items changed.
    void ChildrenChanged();
    void InsertInto(HMENU menu, UINT position);
    std::vector<TMenuItem*> VisibleItems() const;
    std::wstring MenuText() const;
    void TurnSiblingsOff();

    TMenu* menu_ = nullptr; // not owned: set on the root item of a menu

private:
    std::wstring caption_;
    TShortCut shortCut_ = 0;
    bool checked_ = false;
    bool radioItem_ = false;
    bool autoCheck_ = false;
    bool enabled_ = true;
    bool visible_ = true;
    bool default_ = false;
    TMenuBreak break_ = mbNone;
    int groupIndex_ = 0;
    int imageIndex_ = -1;
    std::wstring hint_;
    std::unique_ptr<TActionLink> link_;
    std::unique_ptr<TBitmap> bitmap_; // made on first use
    std::vector<TMenuItem*> items_; // owned with the owner: destroyed with this item
    TMenuItem* parent_ = nullptr;   // not owned
    HMENU handle_ = nullptr;        // owned: destroyed with the item
    UINT command_ = 0;
};

class TMenu : public TComponent {
    DECLARE_CLASS_NAME(TMenu)
public:
    explicit TMenu(TComponent* owner);
    ~TMenu() override;

    TMenuItem* Items() const { return items_; }
    HMENU Handle() { return items_->Handle(); }
    // The image list of the items' ImageIndex (not owned: a list that goes clears it).
    TCustomImageList* Images() const { return imagesLink_->Sender(); }
    void SetImages(TCustomImageList* value);
    bool OwnerDraw() const { return ownerDraw_; }
    TBiDiMode BiDiMode() const { return biDiMode_; }
    void SetBiDiMode(TBiDiMode value) { biDiMode_ = value; }
    // Switching rebuilds every item, owner-drawn or not.
    void SetOwnerDraw(bool value);
    // The window that receives the menu's messages.
    virtual HWND WindowHandle() const { return windowHandle_; }
    void SetWindowHandle(HWND value);

    TMenuItem* FindItem(UINT value, TFindItemKind kind);
    bool DispatchCommand(WORD command);
    bool DispatchPopup(HMENU menu);
    // Clicks the enabled, visible item with this shortcut; True when a handler ran.
    bool IsShortCut(TShortCut shortCut);
    bool ContainsItem(const TMenuItem* item) const;

    TNotifyEvent OnChange;
    virtual void MenuChanged(TMenuItem* source, bool rebuild);

    // Merging, as multiple-document forms do with the active child's menu: while OTHER is merged, this
    // menu's bar shows OTHER's top-level items too. Each takes the place of this menu's items of its
    // GroupIndex, or goes among them in the order of group indexes. Unmerge (or OTHER going) brings
    // this menu's own items back. One menu at a time is merged; Merge(nullptr) unmerges it.
    void Merge(TMenu* other);
    void Unmerge(TMenu* other);
    TMenu* Merged() const { return merged_; }
    TMenu* MergedInto() const { return mergedInto_; }
    // The top-level items the bar shows, in their order, the merged menu's included; visible ones only.
    std::vector<TMenuItem*> BarItems() const;
    // Rebuilds the bar after a merge or a change of the merged menu.
    void BarChanged();
    // The position of an item's entry in this menu's bar (the system's entries counted), -1 when absent.
    int BarPosition(const TMenuItem* item);

protected:
    virtual bool IsPopup() const = 0;

private:
    friend class TMenuItem;
    TMenuItem* items_; // owned as a component
    std::unique_ptr<TChangeLink> imagesLink_; // its Sender is the image list
    void ImagesChanged(TObject* sender);
    void RebuildAll();
    bool ownerDraw_ = false;
    TBiDiMode biDiMode_ = bdLeftToRight;
    HWND windowHandle_ = nullptr; // borrowed
    TMenu* merged_ = nullptr;     // not owned: the menu merged into this one's bar
    TMenu* mergedInto_ = nullptr; // not owned: the menu whose bar this one is merged into
};

class TMainMenu : public TMenu {
    DECLARE_CLASS_NAME(TMainMenu)
public:
    explicit TMainMenu(TComponent* owner) : TMenu(owner) {}
    void MenuChanged(TMenuItem* source, bool rebuild) override;

protected:
    bool IsPopup() const override { return false; }
};

class TPopupMenu : public TMenu {
    DECLARE_CLASS_NAME(TPopupMenu)
public:
    explicit TPopupMenu(TComponent* owner);
    ~TPopupMenu() override;

    // Shows the menu at a screen point; returns when the menu closes (its command is posted).
    virtual void Popup(int x, int y);
    TComponent* PopupComponent() const { return popupComponent_; }
    void SetPopupComponent(TComponent* value) { popupComponent_ = value; }
    bool AutoPopup() const { return autoPopup_; }
    void SetAutoPopup(bool value) { autoPopup_ = value; }
    TPopupAlignment Alignment() const { return alignment_; }
    void SetAlignment(TPopupAlignment value) { alignment_ = value; }
    TMenuAnimations MenuAnimation() const { return animation_; }
    void SetMenuAnimation(TMenuAnimations value) { animation_ = value; }
    // The window that receives the popup's commands and owner-draw messages: the one set (a form's),
    // else the popup list's.
    HWND WindowHandle() const override;

    TNotifyEvent OnPopup;

protected:
    bool IsPopup() const override { return true; }

private:
    TComponent* popupComponent_ = nullptr; // not owned
    bool autoPopup_ = true;
    TPopupAlignment alignment_ = paLeft;
    TMenuAnimations animation_;
};

// The hidden window that receives the commands and owner-draw messages of every popup menu.
class TPopupList {
public:
    TPopupList();
    ~TPopupList();
    TPopupList(const TPopupList&) = delete;
    TPopupList& operator=(const TPopupList&) = delete;

    HWND Window();
    void Add(TPopupMenu* menu);
    void Remove(TPopupMenu* menu);
    int Count() const { return static_cast<int>(menus_.size()); }
    TPopupMenu* Menus(int index) const { return menus_[static_cast<size_t>(index)]; }

private:
    static LRESULT CALLBACK WndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
    void HandleMessage(TMessage& m);
    std::vector<TPopupMenu*> menus_; // not owned
    HWND window_ = nullptr;          // owned
};

// The process's popup list (made on first use, freed by DoneApplication).
TPopupList* PopupList();

// Hands a WM_MEASUREITEM or WM_DRAWITEM of an owner-drawn menu item to its TMenuItem (found as
// FromItemData finds it for Form), when Accept takes that item or no Accept is given. True, with the
// message's result set, when an item handled it.
bool DispatchMenuItemMessage(TMessage& m, TCustomForm* form, bool (*accept)(const TMenuItem*, const void*) = nullptr,
                             const void* context = nullptr);
void FreePopupList();

// A named item with its caption and click handler, added at the end of the menu that owns it.
TMenuItem* AddMenuItem(TMenu* menu, const wchar_t* name, const wchar_t* caption, TNotifyEvent onClick);
