// The common controls: status bar with panels, tool bar with windowless tool buttons, tab strip,
// up-down arrows, track bar, progress bar and list view, each over the system's own control.
#pragma once

#include "framework/Controls.h"
#include "framework/ImgList.h"

#include <memory>
#include <string>
#include <vector>

class TPopupMenu;
class TBasicAction;
class TActionLink;

// ---- Custom drawing ----

enum TCustomDrawStage { cdPrePaint, cdPostPaint, cdPreErase, cdPostErase };
enum TCustomDrawStateItem {
    cdsSelected, cdsGrayed, cdsDisabled, cdsChecked, cdsFocused, cdsDefault, cdsHot, cdsMarked, cdsIndeterminate
};
using TCustomDrawState = TSet<TCustomDrawStateItem>;
// The item state bits of a custom-draw notification as a state set.
TCustomDrawState CustomDrawStateFromItemState(UINT itemState);

// ---- Status bar ----

class TStatusBar;

enum TStatusPanelStyle { psText, psOwnerDraw };
enum TStatusPanelBevel { pbNone, pbLowered, pbRaised };

class TStatusPanel : public TCollectionItem {
    DECLARE_CLASS_NAME(TStatusPanel)
public:
    explicit TStatusPanel(TCollection* collection) : TCollectionItem(collection) {}
    int Width() const { return width_; }
    void SetWidth(int value);
    const std::wstring& Text() const { return text_; }
    void SetText(const std::wstring& value);
    TStatusPanelStyle Style() const { return style_; }
    void SetStyle(TStatusPanelStyle value);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment value);
    TStatusPanelBevel Bevel() const { return bevel_; }
    void SetBevel(TStatusPanelBevel value);
    void Assign(TPersistent* source) override;

private:
    int width_ = 50;
    std::wstring text_;
    TStatusPanelStyle style_ = psText;
    TAlignment alignment_ = taLeftJustify;
    TStatusPanelBevel bevel_ = pbLowered;
};

class TStatusPanels : public TCollection {
    DECLARE_CLASS_NAME(TStatusPanels)
public:
    explicit TStatusPanels(TStatusBar* bar);
    TStatusPanel* Add() { return static_cast<TStatusPanel*>(TCollection::Add()); }
    TStatusPanel* Items(int index) const { return static_cast<TStatusPanel*>(TCollection::Items(index)); }

protected:
    void Update(TCollectionItem* item) override;

private:
    TStatusBar* bar_; // not owned: the bar owns this collection
};

using TDrawPanelEvent = TEvent<TStatusBar*, TStatusPanel*, const TRect&>;

class TStatusBar : public TWinControl {
    DECLARE_CLASS_NAME(TStatusBar)
public:
    explicit TStatusBar(TComponent* owner);
    ~TStatusBar() override;

    TStatusPanels* Panels() const { return panels_.get(); }
    bool SimplePanel() const { return simplePanel_; }
    void SetSimplePanel(bool value);
    const std::wstring& SimpleText() const { return simpleText_; }
    void SetSimpleText(const std::wstring& value);
    bool SizeGrip() const { return sizeGrip_; }
    void SetSizeGrip(bool value);
    // Bound to the panel's drawing surface while OnDrawPanel runs.
    TCanvas* Canvas() const { return canvas_.get(); }
    TDrawPanelEvent OnDrawPanel;

    // Sends the panels' edges, texts and styles to the window.
    void UpdatePanels();
    void UpdatePanel(int index);

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void Dispatch(TMessage& message) override;
    virtual void DrawPanel(TStatusPanel* panel, const TRect& rect);

private:
    void CNDrawItem(TMessage& m);
    void SendSimpleText();

    std::unique_ptr<TStatusPanels> panels_;
    std::unique_ptr<TControlCanvas> canvas_;
    bool simplePanel_ = false;
    std::wstring simpleText_;
    bool sizeGrip_ = true;
};

// ---- Tool bar ----

class TToolBar;

enum TToolButtonStyle { tbsButton, tbsCheck, tbsDropDown, tbsSeparator, tbsDivider };
enum TTBCustomDrawFlag { tbNoEdges, tbHiliteHotTrack, tbNoOffset, tbNoMark, tbNoEtchedEffect };
using TTBCustomDrawFlags = TSet<TTBCustomDrawFlag>;
enum TEdgeBorder { ebLeft, ebTop, ebRight, ebBottom };
using TEdgeBorders = TSet<TEdgeBorder>;
enum TEdgeStyle { esNone, esRaised, esLowered };

// The notice a tool bar posts to itself when the drop-down menu of one of its buttons has closed.
constexpr UINT CN_DROPDOWNCLOSED = WM_USER + 0x1000;

// A button of a tool bar: windowless, placed where the system's tool bar shows it, so that mouse
// events over it are its own.
class TToolButton : public TGraphicControl {
    DECLARE_CLASS_NAME(TToolButton)
public:
    explicit TToolButton(TComponent* owner);
    ~TToolButton() override;

    TToolBar* ToolBar() const { return toolBar_; }
    // The position among the bar's buttons (and in the system's tool bar), -1 off a bar.
    int Index() const;
    TToolButtonStyle Style() const { return style_; }
    void SetStyle(TToolButtonStyle value);
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int value);
    // A check button's pressed state; the system's check state is read back on every click.
    bool Down();
    void SetDown(bool value);
    TPopupMenu* DropdownMenu() const { return dropdownMenu_; }
    void SetDropdownMenu(TPopupMenu* value);
    TBasicAction* Action() const;
    void SetAction(TBasicAction* value);
    void Click() override;
    void Notification(TComponent* component, TOperation operation) override;

protected:
    void Dispatch(TMessage& message) override;

private:
    friend class TToolBar;
    void CMVisibleChanged(TMessage& m);
    void CMEnabledChanged(TMessage& m);
    void CMTextChanged(TMessage& m);
    BYTE NativeState();

    TToolBar* toolBar_ = nullptr; // not owned: the bar is the parent
    TToolButtonStyle style_ = tbsButton;
    int imageIndex_ = -1;
    bool down_ = false;
    TPopupMenu* dropdownMenu_ = nullptr; // not owned: a free notification clears it
    std::unique_ptr<TActionLink> actionLink_;
};

using TTBAdvancedCustomDrawEvent = TEvent<TToolBar*, const TRect&, TCustomDrawStage, bool&>;
using TTBAdvancedCustomDrawBtnEvent =
    TEvent<TToolBar*, TToolButton*, TCustomDrawState, TCustomDrawStage, TTBCustomDrawFlags&, bool&>;

class TToolBar : public TWinControl {
    DECLARE_CLASS_NAME(TToolBar)
public:
    explicit TToolBar(TComponent* owner);
    ~TToolBar() override;

    int ButtonCount() const { return static_cast<int>(buttons_.size()); }
    TToolButton* Buttons(int index) const;
    int ButtonWidth() const { return buttonWidth_; }
    void SetButtonWidth(int value);
    int ButtonHeight() const { return buttonHeight_; }
    void SetButtonHeight(int value);
    bool Flat() const { return flat_; }
    void SetFlat(bool value);
    bool List() const { return list_; }
    void SetList(bool value);
    bool ShowCaptions() const { return showCaptions_; }
    void SetShowCaptions(bool value);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool value);
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool value);
    int BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(int value);
    TEdgeBorders EdgeBorders() const { return edgeBorders_; }
    void SetEdgeBorders(TEdgeBorders value);
    TEdgeStyle EdgeInner() const { return edgeInner_; }
    void SetEdgeInner(TEdgeStyle value);
    TEdgeStyle EdgeOuter() const { return edgeOuter_; }
    void SetEdgeOuter(TEdgeStyle value);
    // The image lists are followed through change links: a list that goes clears its link.
    TCustomImageList* Images() const { return imagesLink_->Sender(); }
    void SetImages(TCustomImageList* value) { SetImageList(imagesLink_.get(), value); }
    TCustomImageList* HotImages() const { return hotImagesLink_->Sender(); }
    void SetHotImages(TCustomImageList* value) { SetImageList(hotImagesLink_.get(), value); }
    TCustomImageList* DisabledImages() const { return disabledImagesLink_->Sender(); }
    void SetDisabledImages(TCustomImageList* value) { SetImageList(disabledImagesLink_.get(), value); }
    // Bound to the drawing surface while the custom-draw events run.
    TCanvas* Canvas() const { return canvas_.get(); }

    TTBAdvancedCustomDrawEvent OnAdvancedCustomDraw;
    TTBAdvancedCustomDrawBtnEvent OnAdvancedCustomDrawButton;

    // The button whose system button is at Index (its data names it).
    TToolButton* ButtonOfNative(int index);
    void WndProc(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void Dispatch(TMessage& message) override;
    // The drop-down menu of Button opens under it; True when one opened.
    virtual bool CheckMenuDropdown(TToolButton* button);

private:
    friend class TToolButton;
    void InsertButton(TToolButton* button);
    void RemoveButton(TToolButton* button);
    // Rebuilds the system's buttons from the list (after changes of order, style or captions).
    void RecreateButtons();
    void UpdateButtonState(TToolButton* button);
    // Places the windowless buttons over the system's buttons and fits the bar's height.
    void UpdateButtonBounds();
    void ImageListChange(TObject* sender);
    void SetImageList(TChangeLink* link, TCustomImageList* value);
    void SendImageLists();
    int EdgeWidth(TEdgeBorder side) const;
    void CNNotify(TMessage& m);
    void CNCommand(TMessage& m);
    void CNDropdownClosed(TMessage& m);
    void WMNCCalcSize(TMessage& m);
    void WMNCPaint(TMessage& m);
    void WMPaint(TMessage& m);
    void WMSize(TMessage& m);
    void CMControlListChange(TMessage& m);
    LRESULT CustomDraw(NMTBCUSTOMDRAW& draw);
    LRESULT CustomDrawBar(NMTBCUSTOMDRAW& draw);
    LRESULT CustomDrawButton(NMTBCUSTOMDRAW& draw);
    TBBUTTON NativeButton(int index, const std::wstring& caption);

    std::vector<TToolButton*> buttons_; // not owned: the buttons are components of the form
    std::unique_ptr<TControlCanvas> canvas_;
    std::unique_ptr<TChangeLink> imagesLink_;
    std::unique_ptr<TChangeLink> hotImagesLink_;
    std::unique_ptr<TChangeLink> disabledImagesLink_;
    int buttonWidth_ = 23;
    int buttonHeight_ = 22;
    bool flat_ = false;
    bool list_ = false;
    bool showCaptions_ = false;
    bool transparent_ = false;
    bool autoSize_ = false;
    int borderWidth_ = 0;
    TEdgeBorders edgeBorders_{ebTop};
    TEdgeStyle edgeInner_ = esRaised;
    TEdgeStyle edgeOuter_ = esLowered;
    bool updatingButtons_ = false;
    bool placingButtons_ = false;
};

// ---- Tab strip ----

class TTabControl;

enum TTabPosition { tpTop, tpBottom, tpLeft, tpRight };
using TTabChangingEvent = TEvent<TObject*, bool&>;

// The tabs of a tab strip: kept here and in the system's control, so that they survive a new window.
class TTabStrings : public TStrings {
    DECLARE_CLASS_NAME(TTabStrings)
public:
    explicit TTabStrings(TTabControl* control) : control_(control) {}
    std::wstring Get(int index) const override;
    int GetCount() const override { return static_cast<int>(items_.size()); }
    TObject* GetObject(int index) const override;
    void Put(int index, const std::wstring& s) override;
    void PutObject(int index, TObject* object) override;
    void Insert(int index, const std::wstring& s) override;
    void Delete(int index) override;
    void Clear() override;

private:
    friend class TTabControl;
    struct Item {
        std::wstring text;
        TObject* object;
    };
    void CheckIndex(int index) const;
    void SendItem(int index, bool insert) const;

    TTabControl* control_;
    std::vector<Item> items_;
};

class TTabControl : public TWinControl {
    DECLARE_CLASS_NAME(TTabControl)
public:
    explicit TTabControl(TComponent* owner);
    ~TTabControl() override;

    TStrings* Tabs() const { return tabs_.get(); }
    void SetTabs(TStrings* value) { tabs_->Assign(value); }
    // -1 when no tab is selected.
    int TabIndex();
    void SetTabIndex(int value);
    TTabPosition TabPosition() const { return tabPosition_; }
    void SetTabPosition(TTabPosition value);
    bool MultiLine() const { return multiLine_; }
    void SetMultiLine(bool value);
    TCustomImageList* Images() const { return imagesLink_->Sender(); }
    void SetImages(TCustomImageList* value);
    // The tab at a client point, -1 when there is none.
    int IndexOfTabAt(int x, int y);
    // The client rectangle less the tabs: where pages or the tab's content go.
    TRect DisplayRect();

    TNotifyEvent OnChange;
    TTabChangingEvent OnChanging;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void Dispatch(TMessage& message) override;
    virtual bool CanChange();
    virtual void Change();

private:
    friend class TTabStrings;
    void CNNotify(TMessage& m);
    void ImageListChange(TObject* sender);

    std::unique_ptr<TTabStrings> tabs_;
    std::unique_ptr<TChangeLink> imagesLink_;
    TTabPosition tabPosition_ = tpTop;
    bool multiLine_ = false;
    int tabIndex_ = -1; // kept while the control has no window
};

// ---- Up-down arrows ----

enum TUDOrientation { udHorizontal, udVertical };
enum TUDAlignButton { udLeft, udRight };
enum TUDBtnType { btNext, btPrev };
enum TUpDownDirection { updNone, updUp, updDown };
using TUDClickEvent = TEvent<TObject*, TUDBtnType>;
using TUDChangingEvent = TEvent<TObject*, bool&>;
using TUDChangingEventEx = TEvent<TObject*, bool&, short, TUpDownDirection>;

class TCustomUpDown : public TWinControl {
    DECLARE_CLASS_NAME(TCustomUpDown)
public:
    explicit TCustomUpDown(TComponent* owner);

    int Min() const { return min_; }
    void SetMin(int value);
    int Max() const { return max_; }
    void SetMax(int value);
    int Position();
    void SetPosition(int value);
    int Increment() const { return increment_; }
    void SetIncrement(int value);
    TUDOrientation Orientation() const { return orientation_; }
    void SetOrientation(TUDOrientation value);
    TUDAlignButton AlignButton() const { return alignButton_; }
    void SetAlignButton(TUDAlignButton value);
    bool Wrap() const { return wrap_; }
    void SetWrap(bool value);
    bool ArrowKeys() const { return arrowKeys_; }
    void SetArrowKeys(bool value);
    bool Thousands() const { return thousands_; }
    void SetThousands(bool value);
    TWinControl* Associate() const { return associate_; }
    void SetAssociate(TWinControl* value);
    void Notification(TComponent* component, TOperation operation) override;

    TUDClickEvent OnClick;
    TUDChangingEvent OnChanging;
    TUDChangingEventEx OnChangingEx;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void Dispatch(TMessage& message) override;
    virtual bool CanChange();
    virtual bool DoCanChange(short newValue, int delta);
    virtual void Click(TUDBtnType button);

private:
    void CNNotify(TMessage& m);
    void CNScroll(TMessage& m);
    void SendRange();

    int min_ = 0;
    int max_ = 100;
    int position_ = 0;
    int increment_ = 1;
    TUDOrientation orientation_ = udVertical;
    TUDAlignButton alignButton_ = udRight;
    bool wrap_ = false;
    bool arrowKeys_ = true;
    bool thousands_ = true;
    TWinControl* associate_ = nullptr; // not owned: a free notification clears it
    TUDBtnType lastButton_ = btNext;
    bool changeRefused_ = false;
};

class TUpDown : public TCustomUpDown {
    DECLARE_CLASS_NAME(TUpDown)
public:
    explicit TUpDown(TComponent* owner) : TCustomUpDown(owner) {}
};

// ---- Track bar and progress bar ----

enum TTrackBarOrientation { trHorizontal, trVertical };
enum TTickMark { tmBottomRight, tmTopLeft, tmBoth };
enum TTickStyle { tsNone, tsAuto, tsManual };

class TTrackBar : public TWinControl {
    DECLARE_CLASS_NAME(TTrackBar)
public:
    explicit TTrackBar(TComponent* owner);

    int Min() const { return min_; }
    void SetMin(int value);
    int Max() const { return max_; }
    void SetMax(int value);
    int Position();
    void SetPosition(int value);
    TTickMark TickMarks() const { return tickMarks_; }
    void SetTickMarks(TTickMark value);
    TTickStyle TickStyle() const { return tickStyle_; }
    void SetTickStyle(TTickStyle value);
    TTrackBarOrientation Orientation() const { return orientation_; }
    void SetOrientation(TTrackBarOrientation value);
    TNotifyEvent OnChange;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void Dispatch(TMessage& message) override;
    virtual void Changed();

private:
    void CNScroll(TMessage& m);

    int min_ = 0;
    int max_ = 10;
    int position_ = 0;
    TTickMark tickMarks_ = tmBottomRight;
    TTickStyle tickStyle_ = tsAuto;
    TTrackBarOrientation orientation_ = trHorizontal;
};

class TProgressBar : public TWinControl {
    DECLARE_CLASS_NAME(TProgressBar)
public:
    explicit TProgressBar(TComponent* owner);

    int Min() const { return min_; }
    void SetMin(int value);
    int Max() const { return max_; }
    void SetMax(int value);
    int Position();
    void SetPosition(int value);

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;

private:
    int min_ = 0;
    int max_ = 100;
    int position_ = 0;
};

// ---- List view ----

class TListView;
class TListItems;

enum TViewStyle { vsIcon, vsSmallIcon, vsList, vsReport };
enum THotTrackStyle { htHandPoint, htUnderlineCold, htUnderlineHot };
using THotTrackStyles = TSet<THotTrackStyle>;

class TListItem : public TPersistent {
    DECLARE_CLASS_NAME(TListItem)
public:
    explicit TListItem(TListItems* owner) : owner_(owner) {}
    TListItems* Owner() const { return owner_; }
    TListView* ListView() const;
    int Index() const;
    const std::wstring& Caption() const { return caption_; }
    void SetCaption(const std::wstring& value);
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int value);
    bool Selected() const;
    void SetSelected(bool value);
    bool Focused() const;
    void SetFocused(bool value);
    void* Data = nullptr;
    void Delete();

private:
    friend class TListItems;
    friend class TListView;
    // Shows a changed field in the view's window, if it has one and the item is in it: an owner-data
    // view redraws the item and asks for it again; any other gets the field in `item` by `message`.
    void ShowInView(UINT message, LVITEMW& item);

    TListItems* owner_;
    std::wstring caption_;
    int imageIndex_ = -1;
    // The selection while the list view has no window.
    bool selected_ = false;
    // Where the item last stood: a refill asks each new item for its index, and a search from the
    // front for every one of thousands of items made filling the list quadratic.
    mutable int indexHint_ = -1;
};

class TListItems : public TPersistent {
    DECLARE_CLASS_NAME(TListItems)
public:
    explicit TListItems(TListView* owner) : owner_(owner) {}
    ~TListItems() override;
    TListItems(const TListItems&) = delete;
    TListItems& operator=(const TListItems&) = delete;

    TListView* Owner() const { return owner_; }
    int Count() const { return static_cast<int>(items_.size()); }
    TListItem* Item(int index) const;
    TListItem* operator[](int index) const { return Item(index); }
    TListItem* Add();
    TListItem* Insert(int index);
    void Delete(int index);
    void Clear();
    int IndexOf(const TListItem* item) const;
    void BeginUpdate();
    void EndUpdate();

private:
    friend class TListView;
    friend class TListItem;
    void SendItem(int index);
    // Items added at the end while updating reach the window at EndUpdate in one message each, with
    // their caption and image (an owner-data window takes only their new count); anything that reads
    // or moves the window's items sends them first.
    void SendPending();
    bool IsPending(const TListItem* item) const;
    // An owner-data window needs no items to switch views or arrange: they wait for EndUpdate.
    bool Deferred() const;
    int pending_ = 0;

    TListView* owner_;
    std::vector<std::unique_ptr<TListItem>> items_;
    int updateCount_ = 0;
};

class TListColumn : public TCollectionItem {
    DECLARE_CLASS_NAME(TListColumn)
public:
    explicit TListColumn(TCollection* collection) : TCollectionItem(collection) {}
    const std::wstring& Caption() const { return caption_; }
    void SetCaption(const std::wstring& value);
    int Width() const { return width_; }
    void SetWidth(int value);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment value);
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int value);

private:
    std::wstring caption_;
    int width_ = 50;
    TAlignment alignment_ = taLeftJustify;
    int imageIndex_ = -1;
};

class TListColumns : public TCollection {
    DECLARE_CLASS_NAME(TListColumns)
public:
    explicit TListColumns(TListView* owner);
    TListColumn* Add() { return static_cast<TListColumn*>(TCollection::Add()); }
    TListColumn* Items(int index) const { return static_cast<TListColumn*>(TCollection::Items(index)); }

protected:
    void Update(TCollectionItem* item) override;

private:
    TListView* owner_; // not owned: the list view owns this collection
};

using TLVSelectItemEvent = TEvent<TObject*, TListItem*, bool>;

class TListView : public TWinControl {
    DECLARE_CLASS_NAME(TListView)
public:
    explicit TListView(TComponent* owner);
    ~TListView() override;

    TListItems* Items() const { return items_.get(); }
    TListColumns* Columns() const { return columns_.get(); }
    TViewStyle ViewStyle() const { return viewStyle_; }
    void SetViewStyle(TViewStyle value);
    // The first selected item, nullptr when none.
    TListItem* Selected();
    void SetSelected(TListItem* value);
    int ItemIndex();
    void SetItemIndex(int value);
    bool ShowColumnHeaders() const { return showColumnHeaders_; }
    void SetShowColumnHeaders(bool value);
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool value);
    bool HotTrack() const { return hotTrack_; }
    void SetHotTrack(bool value);
    THotTrackStyles HotTrackStyles() const { return hotTrackStyles_; }
    void SetHotTrackStyles(THotTrackStyles value);
    TCustomImageList* LargeImages() const { return largeLink_->Sender(); }
    void SetLargeImages(TCustomImageList* value) { SetImageList(largeLink_.get(), value); }
    TCustomImageList* SmallImages() const { return smallLink_->Sender(); }
    void SetSmallImages(TCustomImageList* value) { SetImageList(smallLink_.get(), value); }
    // Arranges the items again after a change of view or of the window's size.
    void Arrange();
    // The window holds only the number of the items and asks for each one's caption and image when it
    // draws it, so that thousands of items reach it in one message; the items stay the same objects.
    bool OwnerData() const { return ownerData_; }
    void SetOwnerData(bool value);

    TLVSelectItemEvent OnSelectItem;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void Dispatch(TMessage& message) override;

private:
    friend class TListItems;
    friend class TListItem;
    friend class TListColumns;
    void CNNotify(TMessage& m);
    void CMColorChanged(TMessage& m);
    void CMFontChanged(TMessage& m);
    void SendColors();
    void SendExStyles();
    void SendColumns();
    void SendImageLists();
    void ImageListChange(TObject* sender);
    void SetImageList(TChangeLink* link, TCustomImageList* value);
    TListItem* ItemOfNative(int index);
    // Owner data: the window's count of items, the selection kept where it stood when an item is
    // inserted before it, and the list view's column width.
    void SendItemCount(int insertedAt);
    void FitListColumns();
    // The answers to the window's questions: an item's caption and image, the item a typed prefix finds.
    void GetDisplayInfo(LPARAM info);
    int FindItem(LPARAM find);
    // Owner data: while the window paints, it is told of an image index past the list's images, so it
    // lays the item out with its icon but draws none, and each icon is copied after its item from one
    // drawing of that image in that state per paint, drawn as the system draws it. The system's drawing
    // of an image makes device contexts and bitmaps each time, which costs far more than the copy.
    LRESULT CustomDraw(LPARAM draw);
    HIMAGELIST ShownImages() const;
    bool CopiesIcon(int index) const;
    void CopyIcon(HDC dc, int index);
    struct TPaintIcon {
        int image;
        UINT style;
        int width;
        int height;
        std::unique_ptr<TMemoryDC> picture;
    };
    std::vector<TPaintIcon> paintIcons_;
    bool copyingIcons_ = false;

    std::unique_ptr<TListItems> items_;
    std::unique_ptr<TListColumns> columns_;
    std::unique_ptr<TChangeLink> largeLink_;
    std::unique_ptr<TChangeLink> smallLink_;
    TViewStyle viewStyle_ = vsIcon;
    bool showColumnHeaders_ = true;
    bool readOnly_ = false;
    bool hotTrack_ = false;
    THotTrackStyles hotTrackStyles_;
    bool clearing_ = false;
    bool restoring_ = false;
    bool ownerData_ = false;
    bool listFitPending_ = false;
};

// Registers the common controls with the form reader.
void RegisterComCtrlClasses();
