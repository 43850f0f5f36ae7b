// The skinned form's own system menu (the six window commands and the list of available skins), the
// custom caption icon and the user's title buttons.
#pragma once

#include "framework/Menus.h"

#include <memory>
#include <string>

class TsSkinProvider;
class TCustomForm;

// The skin a menu caption names: access-key marks dropped, doubled ampersands kept as one.
std::wstring SkinNameOfCaption(const std::wstring& caption);

class TsSystemMenu : public TPopupMenu {
    DECLARE_CLASS_NAME(TsSystemMenu)
public:
    explicit TsSystemMenu(TsSkinProvider* provider);

    // Shows and enables the commands for the form's border, icons and state.
    void UpdateItems();
    // Puts "Available skins" with one radio item per skin the manager can load at the top (nothing when
    // it lists none).
    void BuildSkinList();
    // Removes the skin list left by the previous showing, with its sub-items.
    void RemoveSkinList();
    void SkinItemClick(TObject* sender);

    bool VisibleClose() const;
    bool VisibleMax() const;
    bool VisibleMin() const;
    bool CanMaximize() const;
    bool CanMinimize() const;
    bool CanMove() const;
    bool CanRestore() const;
    bool CanSize() const;

    TsSkinProvider* Provider = nullptr; // the owner
    TCustomForm* Form = nullptr;        // the provider's form
    TMenuItem* ItemRestore = nullptr;   // the items are owned by the menu
    TMenuItem* ItemMove = nullptr;
    TMenuItem* ItemSize = nullptr;
    TMenuItem* ItemMinimize = nullptr;
    TMenuItem* ItemMaximize = nullptr;
    TMenuItem* ItemClose = nullptr;

private:
    TMenuItem* MakeItem(const wchar_t* name, const wchar_t* caption, void (TsSystemMenu::*click)(TObject*));
    void RestoreClick(TObject* sender);
    void MoveClick(TObject* sender);
    void SizeClick(TObject* sender);
    void MinimizeClick(TObject* sender);
    void MaximizeClick(TObject* sender);
    void CloseClick(TObject* sender);
    void SendCommand(WPARAM command);
    bool IsMDIChild() const;
};

// A custom caption icon; a size of 0 follows the caption's height.
class TsTitleIcon : public TPersistent {
    DECLARE_CLASS_NAME(TsTitleIcon)
public:
    TsTitleIcon();
    TBitmap* Glyph() const { return glyph_.get(); }
    void SetGlyph(TBitmap* value) { glyph_->Assign(value); }
    int Height = 0;
    int Width = 0;

private:
    std::unique_ptr<TBitmap> glyph_;
};

class TsTitleButton : public TCollectionItem {
    DECLARE_CLASS_NAME(TsTitleButton)
public:
    explicit TsTitleButton(TCollection* collection);
    std::wstring DisplayName() const override { return name_; }
    const std::wstring& Name() const { return name_; }
    void SetName(const std::wstring& value);
    TBitmap* Glyph() const { return glyph_.get(); }
    void SetGlyph(TBitmap* value);
    bool Enabled = true;
    bool UseSkinData = true;
    TMouseEvent OnMouseUp;
    TMouseEvent OnMouseDown;

    // Kept by the frame painter: state (0 normal, 1 hot, 2 pressed), image and place in window coordinates.
    int State = 0;
    int ImageIndex = -1;
    TRect Rect{};

    void MouseDown(int x, int y) { OnMouseDown(this, mbLeft, TShiftState{}, x, y); }
    void MouseUp(int x, int y) { OnMouseUp(this, mbLeft, TShiftState{}, x, y); }

private:
    std::wstring name_ = L"TsTitleButton";
    std::unique_ptr<TBitmap> glyph_;
};

class TsTitleButtons : public TCollection {
    DECLARE_CLASS_NAME(TsTitleButtons)
public:
    explicit TsTitleButtons(TsSkinProvider* owner);
    ~TsTitleButtons() override;
    TsSkinProvider* GetOwner() const { return owner_; }
    TsTitleButton* Items(int index) const { return static_cast<TsTitleButton*>(TCollection::Items(index)); }
    TsTitleButton* Add() { return static_cast<TsTitleButton*>(TCollection::Add()); }

private:
    TsSkinProvider* owner_; // not owned: the provider owns this collection
};
