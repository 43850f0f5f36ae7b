// The skinned tab strip: its tabs live in the system's tab control, but while a skin is active the
// control paints the page, the tabs and their captions itself, selects tabs on its own so that the
// change notice comes before the selection moves, and scrolls its tab row with its own arrows.
#pragma once

#include "framework/ComCtrls.h"

#include <memory>
#include <string>
#include <vector>

class TsCommonData;
class TsCustomTabControl;
class TsUpDown;
class TStringList;

enum TTabStyle { tsTabs, tsButtons, tsFlatButtons };
using TsDrawTabEvent = TEvent<TsCustomTabControl*, int /*TabIndex*/, const TRect&, bool /*Active*/>;
using TTabGetImageEvent = TEvent<TObject*, int /*TabIndex*/, int& /*ImageIndex*/>;

// The tab list: every operation reads or writes the system's control.
class TsTabStrings : public TStrings {
    DECLARE_CLASS_NAME(TsTabStrings)
public:
    explicit TsTabStrings(TsCustomTabControl* control) : control_(control) {}
    std::wstring Get(int index) const override;
    int GetCount() const override;
    TObject* GetObject(int index) const override;
    void Put(int index, const std::wstring& s) override;
    void PutObject(int index, TObject* object) override;
    void Insert(int index, const std::wstring& s) override;
    void Delete(int index) override;
    void Clear() override;

protected:
    void SetUpdateState(bool updating) override;

private:
    HWND Wnd() const;
    // Captions of a control that reads right to left are sent and read with the reading flag.
    UINT ReadingFlag() const;
    // The layout after a change, with the layout flag set around it while skinned.
    void Changed() const;

    TsCustomTabControl* control_; // not owned: the control owns this list
};

// One tab as it is painted, in display order.
struct TsTabInfo {
    std::wstring Caption;
    int TabIndex = -1;
    int ImageIndex = -1;
    TRect R;
    int Width = 0;
    int Height = 0;
    int Row = 0;
    bool Placed = false;
};

class TsCustomTabControl : public TWinControl {
    DECLARE_CLASS_NAME(TsCustomTabControl)
public:
    explicit TsCustomTabControl(TComponent* owner);
    ~TsCustomTabControl() override;

    void AfterConstruction() override;
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;

    // The saved list while the window is being made again (or cannot be made yet), else the live list.
    TStrings* GetTabs() const;
    TStrings* Tabs() const { return GetTabs(); }
    void SetTabs(TStrings* value);
    // Skinned: the stored index (0 with no tabs); otherwise the system's selection (-1 for none).
    int GetTabIndex();
    int TabIndex() { return GetTabIndex(); }
    void SetTabIndex(int value) { ApplyTabIndex(value); }
    // The tab under a client point: -1 outside the client area and off the tabs.
    int TabIndexAtPoint(int x, int y);

    TTabPosition TabPosition() const { return tabPosition_; }
    void SetTabPosition(TTabPosition value);
    // The side the tabs stand on: right-to-left alignment mirrors left and right tabs, and the painted
    // tabs, the page and the hit tests all follow the system's control there.
    TTabPosition TabSide() const;
    TTabStyle Style() const { return style_; }
    void SetStyle(TTabStyle value);
    bool MultiLine() const { return multiLine_; }
    void SetMultiLine(bool value);
    bool ScrollOpposite() const { return scrollOpposite_; }
    void SetScrollOpposite(bool value);
    bool RaggedRight() const { return raggedRight_; }
    void SetRaggedRight(bool value);
    bool OwnerDraw() const { return ownerDraw_; }
    void SetOwnerDraw(bool value);
    bool HotTrack() const { return hotTrack_; }
    void SetHotTrack(bool value);
    int TabHeight() const { return tabHeight_; }
    void SetTabHeight(int value);
    int TabWidth() const { return tabWidth_; }
    void SetTabWidth(int value);
    TCustomImageList* Images() const;
    void SetImages(TCustomImageList* value);
    TCanvas* Canvas() const;

    TsCommonData* SkinData() const { return skinData_.get(); }
    // Skinned: a manager with an active skin and a valid section for the control.
    bool Skinned() const;
    // The section the page is painted with: SkinSection, with BOTTOM, LEFT or RIGHT for those positions.
    std::wstring PageSection() const;
    const std::vector<TsTabInfo>& TabInfos() const { return tabInfos_; }
    // The own arrows of the tab row, nil when the row needs none.
    TsUpDown* Scroller() const { return scroller_; }
    // The rectangle a tab in display position Position is painted in.
    TRect GetTabRect(int position) const;
    // The display position of the current tab, -1 when none.
    int CurrentPosition() const;
    // Rebuilds the tab infos from the system's control and stacks their rows.
    void UpdateTabInfos();

    TNotifyEvent OnChange;
    TTabChangingEvent OnChanging;
    TsDrawTabEvent OnDrawTab;
    TTabGetImageEvent OnGetImageIndex;

protected:
    friend class TsTabStrings;

    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void WndProc(TMessage& message) override;
    void KeyDown(WORD& key, TShiftState shift) override;

    virtual void ApplyTabIndex(int index);
    virtual bool CanShowTab(int index);
    virtual void DrawTab(int index, const TRect& rect, bool active);
    virtual int GetImageIndex(int index);
    virtual void PaintTab(int position, bool active);
    virtual void PaintTabsBackground(const struct TCacheInfo& parentCache);
    virtual bool CanScrollTab(int index);
    virtual bool CanChange();
    virtual void Change();

    // After every change of the tabs, their images or their size.
    void TabsChanged();

private:
    bool Reading() const;
    bool SideTabs() const { return tabPosition_ == tpLeft || tabPosition_ == tpRight; }
    void RestackRows();
    void ImageListChange(TObject* sender);
    void SendImageList();
    void SendItemSize();

    // Messages.
    void SkinCommand(TMessage& m);
    void CNNotify(TMessage& m);
    void WMSize(TMessage& m);
    void WMLButtonDown(TMessage& m);
    void WMHScroll(TMessage& m);
    bool SkinnedMessage(TMessage& m);
    void RedrawAll(bool withFrame);

    // Painting (sTabControlPaint.cpp).
    void PaintSkinned(HDC dc);
    void PaintCache();
    TRect PageRect();
    void PaintCaption(const TsTabInfo& info, const TRect& r, bool active, int sectionIndex);
    void PaintSideCaption(const TsTabInfo& info, TRect r, bool active, int sectionIndex);

    // The own arrows (sTabControlPaint.cpp).
    void UpdateScroller();
    void FreeScroller();
    void DestroyNativeArrows();
    void ScrollerClick(TObject* sender, TUDBtnType button);

    // Keys and accelerators.
    int TabAtPaintedPoint(const TPoint& p) const;
    bool SelectByKey(WORD key);
    bool SelectByAccelerator(wchar_t ch);

    std::unique_ptr<TsCommonData> skinData_;
    std::unique_ptr<TControlCanvas> canvas_;
    std::unique_ptr<TChangeLink> imagesLink_;
    mutable std::unique_ptr<TStringList> savedTabs_; // the tabs while the window is made again
    int savedTabIndex_ = -1;
    TTabPosition tabPosition_ = tpTop;
    TTabStyle style_ = tsTabs;
    bool multiLine_ = false;
    bool multiSelect_ = false;
    bool scrollOpposite_ = false;
    bool raggedRight_ = false;
    bool ownerDraw_ = false;
    bool hotTrack_ = false;
    int tabHeight_ = 0;
    int tabWidth_ = 0;
    std::unique_ptr<TsTabStrings> tabs_;
    bool updating_ = false;
    int storedTabIndex_ = 0;
    std::vector<TsTabInfo> tabInfos_;
    bool layouting_ = false;
    bool sizing_ = false;
    TsUpDown* scroller_ = nullptr; // owned as a component of this control
};

class TsTabControl : public TsCustomTabControl {
    DECLARE_CLASS_NAME(TsTabControl)
public:
    explicit TsTabControl(TComponent* owner) : TsCustomTabControl(owner) {}
};

// Makes TsTabControl readable from form data.
void RegisterTabControlClasses();
