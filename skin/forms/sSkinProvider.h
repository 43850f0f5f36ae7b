// The form skin provider: takes over one form's window procedure and paints its caption, borders, title
// buttons and menu line from the skin, cuts its window region to the skin's corners and carries the
// skinned system menu.
#pragma once

#include "framework/Forms.h"
#include "framework/Menus.h"
#include "skin/core/sCommonData.h"
#include "skin/core/sSkinManager.h"
#include "skin/forms/acSBUtils.h"

#include <memory>
#include <string>
#include <vector>

class TsSkinProvider;
class TsMDIForm;
class TsSkinableMenus;
struct TacMenuLineSource;
class TsSystemMenu;
class TsTitleButtons;
class TsTitleButton;
class TsTitleIcon;
class TacScrollWnd;

enum TsGripMode { gmNone, gmRightBottom };
enum TsResizeMode { rmStandard, rmBorder };

// Hit codes of the provider beyond the system's: the buttons of a maximized MDI child in the main form's
// menu line, and the user's title buttons (kTitleButtonHit + index).
inline constexpr int HTMDICLOSE = 101;
inline constexpr int HTMDIMAX = 102;
inline constexpr int HTMDIMIN = 103;
inline constexpr int kTitleButtonHit = 1000;

// One caption button: its state (0 normal, 1 hot, 2 pressed), its image and its place in window
// coordinates.
struct TsCaptionButton {
    int State = 0;
    int ImageIndex = -1;
    TRect Rect{};
};

// The control adapter chooser as the provider uses it: adapters for the form's standard child controls.
class IacProviderCtrlAdapter {
public:
    virtual ~IacProviderCtrlAdapter() = default;
    // Adapts Control, or every child of the form when nil.
    virtual void AddAllItems(TWinControl* control) = 0;
    virtual void AddNewItem(TWinControl* control) = 0;
    virtual bool IsAdaptable(TWinControl* control) = 0;
    virtual void BroadcastToItems(TMessage& message) = 0;
};

class TsSkinProvider : public TComponent {
    DECLARE_CLASS_NAME(TsSkinProvider)
public:
    explicit TsSkinProvider(TComponent* owner);
    ~TsSkinProvider() override;
    void AfterConstruction() override;
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;

    // ---- Published properties ----
    TAlignment CaptionAlignment() const { return captionAlignment_; }
    void SetCaptionAlignment(TAlignment value);
    TsCommonData* SkinData() const { return skinData_.get(); }
    TsGripMode GripMode = gmNone;
    bool MakeSkinMenu = true;
    const std::wstring& MenuLineSkin() const { return menuLineSkin_; }
    void SetMenuLineSkin(const std::wstring& value) { menuLineSkin_ = value; }
    TsResizeMode ResizeMode = rmStandard;
    bool ScreenSnap = false;
    int SnapBuffer = 10;
    bool ShowAppIcon = true;
    TsTitleButtons* TitleButtons() const { return titleButtons_.get(); }
    void SetTitleButtons(TsTitleButtons* value);
    TsTitleIcon* TitleIcon() const { return titleIcon_.get(); }
    const std::wstring& TitleSkin() const { return titleSkin_; }
    void SetTitleSkin(const std::wstring& value);
    bool UseGlobalColor() const { return useGlobalColor_; }
    void SetUseGlobalColor(bool value);
    TEvent<TControl*, bool&, std::wstring&> OnSkinItem;

    // ---- Operations other units call ----
    TCustomForm* Form() const { return form_; }
    TsSystemMenu* SystemMenu() const { return systemMenu_; }
    IacProviderCtrlAdapter* Adapter() const { return adapter_.get(); }
    // The skinned scroll bars of a form with AutoScroll (nil while not skinned).
    TacScrollWnd* ScrollWnd() const { return scrollWnd_.get(); }
    // Puts the skinned scroll bars on a scrolling form while it is skinned, and gives it the system's
    // (flat) ones back while it is not.
    void UpdateScrollAdapter();
    // The MDI client support of an MDI main form (nil for other forms).
    TsMDIForm* MDIForm() const { return mdiForm_.get(); }
    void SetMDIForm(bool value);
    void RepaintFrame();
    // The frame is painted anew at the window's next update, with the system's own non-client paint
    // (a frame painted at once is painted again there when the system still has it to update).
    void InvalidateFrame();
    void UpdateRegionRects();
    void UpdateFormRegion(bool redraw);
    HRGN CreateFormRegion(int x, int y);
    static TsSkinProvider* ProviderOfMenuItem(TMenuItem* item);
    void ShowSystemMenu(int x, int y);
    void ProviderWndProc(TMessage& message);
    // The skin's button images after a skin change.
    void InitCaptionButtons();
    void PrepareForm();
    // The manager's effect this form is shown with where the system animates showing (DialogShow for a
    // dialog, FormShow otherwise); null for MDI children, parented forms and without a manager.
    const TacFormAnimation* ShowAnimation() const;

    // ---- Frame metrics (window coordinates) ----
    bool HasBorder() const;
    bool IsSizeable() const;
    bool IsMDIChild() const;
    bool IsIconic() const;
    bool IsMaximized() const;
    int SysBorderWidth() const;
    int SysBorderHeight() const;
    int CaptionHeight() const;
    int FormWidth() const;
    int FormHeight() const;
    int MenuHeight() const;
    bool MenuLineVisible() const;
    int MenuLineRows();
    int NonClientTopHeight() const;
    int ClientOffsetX() const;
    int ClientOffsetY() const;
    bool ShowIcon() const;
    int IconWidth() const;
    int IconHeight() const;
    TRect IconRect() const;
    int ButtonWidth(const TsCaptionButton& button) const;
    int ButtonHeight() const;
    int TitleButtonWidth(const TsTitleButton* button) const;
    int CaptionButtonCount() const;
    int ButtonsWidth() const;
    TPoint WindowOrigin() const;
    // Which standard buttons show and which commands are open now (the system menu's rules).
    bool VisibleMax() const;
    bool VisibleMin() const;
    bool VisibleClose() const;
    bool CanMaximize() const;
    bool CanMinimize() const;
    bool CanRestore() const;

    // ---- Painting, hit testing and button states ----
    void PaintFrame();
    void PaintNonClient(HDC dc);
    void PaintClientBackground(HDC dc, bool notify);
    void PaintCaptionButtons();
    void RepaintButton(int code);
    void PaintFormIcon();
    void SetHotButton(int code, bool repaint);
    void SetPressedButton(int code);
    // The frame painted and put on the window at once, without waiting for WM_NCPAINT.
    void RepaintFrameNow();
    // A menu-line item redrawn by its own draw handler (normal state) into the frame and put on the window.
    void DrawMenuItemNow(TMenuItem* item, const TRect& rect);
    int HitTest(const TMessage& message);
    int HotButton() const { return hotButton_; }
    // The record of a button code (nil for codes without one).
    TsCaptionButton* ButtonOfCode(int code);
    const TsCaptionButton& MinButton() const { return minButton_; }
    const TsCaptionButton& MaxButton() const { return maxButton_; }
    const TsCaptionButton& CloseButton() const { return closeButton_; }
    const TsCaptionButton& HelpButton() const { return helpButton_; }
    bool FormActive() const { return formActive_; }
    // The form's show animation runs: nothing paints over it meanwhile.
    bool ShowAnimating() const { return showAnimating_; }
    bool FramePainted() const { return framePainted_; }
    // The menu line changed since the frame was last painted in full.
    bool MenuDirty() const { return menuDirty_; }
    const std::vector<TRect>& CornerRects() const { return cornerRects_; }
    TBitmap* MenuLineBmp() const { return menuLineBmp_.get(); }
    int TitleButtonIndex() const { return titleButtonIndex_; }

    // ---- Multiple-document forms (sSkinProviderMDI.cpp) ----
    // The main form's active child, when it is maximized (MDI main forms only).
    TCustomForm* MaximizedActiveChild() const;
    // The main form shows the maximized child's buttons in its menu line.
    bool ShowsMDIChildButtons() const;
    int MDIButtonWidth() const;
    int MDIButtonHeight() const;
    const TsCaptionButton& MDIMinButton() const { return mdiMinButton_; }
    const TsCaptionButton& MDIMaxButton() const { return mdiMaxButton_; }
    const TsCaptionButton& MDICloseButton() const { return mdiCloseButton_; }
    void SuspendRedraw(bool alsoMain);
    void ResumeRedraw(bool alsoMain);
    // The main form's frame repainted at once (a child was minimized, maximized, restored or closed).
    static void RefreshMainFrame();

private:
    friend class TsSystemMenu;
    TsSkinManager* Manager() const { return skinData_->GetSkinManager(); }
    // The manager's menu painter, when the manager has one.
    TsSkinableMenus* Menus() const;
    bool IsDesigning() const { return HasState(csDesigning); }
    bool SkinnedNow() const;
    void SetFrameDirty() { skinData_->BGChanged = true; }
    void SendNcPaint();
    // The form's window is shown and drawing: false while a skin change holds its paints, whose end
    // paints the whole form again.
    bool OnScreen() const;
    void HookMenus(bool value);
    void HookComponentMenus(TComponent* owner, bool value);
    void PrepareMainMenu();
    void CreateAdapter();
    void UpdateSystemMenuItems();
    void RemoveSysMenuStyle();
    void RestoreSysMenuStyle();
    void ApplyGlobalColor();
    void GiveFormBack();
    bool FormBusy() const;
    void DefaultHandling(TMessage& message) { oldWndProc_(message); }
    // The form's own scroll bars (sSkinProviderScroll.cpp).
    void FreeScrollAdapter();
    void WMParentNotify(TMessage& message);
    void CMFloat(TMessage& message);
    int HorzScrollBarHeight() const;
    int VertScrollBarWidth() const;
    int FormBorderWidth() const;

    // Message handling (sSkinProviderMessages.cpp).
    bool HandleSkinCommand(TMessage& message);
    void SkinCommandWhileUnskinned(TMessage& message);
    void SkinChanged(TMessage& message);
    void SkinRemoved(TMessage& message);
    void SkinRefresh(TMessage& message);
    void DispatchSkinned(TMessage& message);
    void WMCreate(TMessage& message);
    bool InScrollBarsCorner(const TPoint& p) const;
    void PaintHeldControl(HDC dc, TControl* held);
    void PaintBorderlessStrips(HDC dc);
    void CMShowingChanged(TMessage& message);
    void WMSize(TMessage& message);
    void WMActivate(TMessage& message);
    void WMSetText(TMessage& message);
    void WMPaint(TMessage& message);
    void WMNCActivate(TMessage& message);
    void WMWindowPosChanged(TMessage& message);
    void WMGetMinMaxInfo(TMessage& message);
    void WMWindowPosChanging(TMessage& message);
    void WMSysCommand(TMessage& message);
    void WMNCHitTest(TMessage& message);
    void WMNCPaint(TMessage& message);
    void WMPrint(TMessage& message);

    // Mouse on the frame (sSkinProviderMouse.cpp).
    void WMNCLButtonDown(TMessage& message);
    void WMNCLButtonUp(TMessage& message);
    void WMNCLButtonDblClk(TMessage& message);
    void WMNCRButtonDown(TMessage& message);
    void WMNCRButtonUp(TMessage& message);
    void ReleaseMaxButton(TMessage& message);

    // Outline moving and sizing (sSkinProviderTracking.cpp).
    void StartTracking(int x, int y);
    bool TrackingActive() const;
    // WM_SYSCOMMAND SC_MOVE or SC_SIZE (with the edge in the command's low bits) captures the mouse for
    // an outline; one that no press on the frame sent starts it at the cursor.
    void StartTrackingCommand(bool moving, int sizeEdge);
    // A press on the frame with the hit code Code starts an outline drag at (X, Y).
    void DragOutlineFrom(TMessage& press, int code, int x, int y);
    void RememberEdge(int code);
    void TrackMouse();
    void StopTracking();
    // Draws the outline, or erases it when it is shown.
    void DrawTrackingOutline();
    void ReleaseTrackingDC();
    // Ends a drag without moving the form: the provider goes, or the form lost the mouse to another window.
    void CancelTracking();
    void WMCaptureChanged(TMessage& message);
    // The window rectangle where the form is placed: in its parent's client for a child window.
    TRect PlacedRect() const;
    // Where the outline of the placed rectangle lies on the screen.
    TPoint OutlineOffset();
    void SnapToWorkArea(WINDOWPOS& pos) const;

    // Multiple-document forms (sSkinProviderMDI.cpp).
    TsSkinProvider* LiveMainProvider() const;
    bool HiddenBehindMaximizedChild() const;
    void MainFrameChanged();
    void InitMDIChildButtons(bool fromForm, bool big);
    int MaskOfMDIRestore() const;
    void PaintMDIChildButtons();
    bool RepaintMDIButton(int code, const TsCaptionButton& button);
    void PaintMDIChildIcon();
    int MDIButtonHit(const TPoint& p);
    bool MDIButtonOpen(int code) const;
    void ReleaseMDIButton(int code, bool pressed);
    void MDIChildSysCommand(TMessage& message);
    void MDIChildRestore(TMessage& message, bool leaving);
    void MDICreate(TMessage& message);
    bool OpensUnderMaximizedChild() const;
    // CM_VISIBLECHANGED of an MDI child that has no window yet.
    void MDIChildShowing(const TMessage& message);
    void MaximizeIfCreatedSo();
    void WMMDIActivate(TMessage& message);
    void MDIChildGone();
    void EnterMDIMenuLoop();
    void ExitMDIMenuLoop();
    void PaintMDIIcons(TObject* sender);
    // The menu-loop icon form is forgotten when it is the component being freed.
    void ComponentFreed(TComponent* gone);
    // The provider goes: the icon form it paints goes with it, and a maximize it asked for at its
    // creation is dropped.
    void DropMDIState();
    // WM_PRINT of an MDI main form goes on to its MDI client, at the client's place in DC.
    void PrintMDIClient(HDC dc, LPARAM flags);

    // Frame painting steps (sSkinProviderFrame.cpp).
    int FrameHeight() const;
    // The skin has the bare frame under the caption kept, to paint the caption alone over it again.
    bool KeepsCaptionStrip() const;
    // The next frame paint only paints the caption over the kept strip.
    bool CaptionStripReusable() const;
    void MarkChildBackgroundsChanged();
    void PaintCaptionStrip(const TRect& strip);
    void PaintMenuLine();
    void PaintMDIArea();
    // Puts one paint of an MDI main form off while its menu line is dirty under a maximized child.
    bool DefersPaintForDirtyMenu();
    void UpdateMDIClient();
    void PaintCaptionText(int stripTop);
    // The form's OnPaint handler drawing on DC through the form's canvas.
    void RunFormOnPaint(HDC dc);
    void SaveButtonsBackground();
    void DrawButtonImage(const TsCaptionButton& button, int maskIndex, int state, bool enabled);
    void PaintTitleButtonGlyph(const TsTitleButton* button, bool pressed);
    int MaskOfMaxButton() const;
    int MaskOfMinButton() const;
    void BlitToWindow(const TRect& r);
    int TitleSectionIndex() const;

    TCustomForm* form_ = nullptr; // not owned: the owner form, nil in a second provider
    std::unique_ptr<TsCommonData> skinData_;
    TAlignment captionAlignment_ = taLeftJustify;
    std::wstring menuLineSkin_;
    std::wstring titleSkin_;
    bool useGlobalColor_ = true;
    std::unique_ptr<TsTitleButtons> titleButtons_;
    std::unique_ptr<TsTitleIcon> titleIcon_;

    std::vector<TRect> cornerRects_;
    bool regionChanged_ = true;
    int hotButton_ = 0;
    std::unique_ptr<TBitmap> buttonsCache_; // owned
    TPoint buttonsCacheOrigin_{};
    bool forceChildRepaint_ = false;
    bool framePainted_ = false;
    // The window and client sizes and the size type at the last repaint of the whole form with its
    // children while it stays shown: a WM_SIZE that reports the same (the one the system sends when a
    // window is first shown) finds everything painted already.
    struct TRepaintedSize {
        int width = -1, height = -1, clientWidth = -1, clientHeight = -1;
        WPARAM type = 0;
        bool operator==(const TRepaintedSize&) const = default;
    };
    TRepaintedSize repaintedSize_;
    TRepaintedSize CurrentSize(WPARAM type) const;
    int titleButtonIndex_ = -1;
    bool mdiSetupPending_ = false;
    bool menuPrepared_ = false;
    TsCaptionButton minButton_, maxButton_, closeButton_, helpButton_;
    TsCaptionButton mdiMinButton_, mdiMaxButton_, mdiCloseButton_;
    bool suspendRegion_ = false;
    bool showAnimating_ = false;
    std::unique_ptr<IacProviderCtrlAdapter> adapter_;
    TacAdapterPtr<TacScrollWnd> scrollWnd_;
    std::unique_ptr<TsMDIForm> mdiForm_;
    bool settingRegion_ = false;
    bool menuDirty_ = true;
    // A paint of the main frame was put off once for the dirty menu; the next one paints in full.
    bool menuPaintDeferred_ = false;
    TWndMethod oldWndProc_;
    TWndMethod ownWndProc_;
    bool formActive_ = true;
    std::unique_ptr<TBitmap> menuLineBmp_; // owned
    int menuLineCount_ = -1;
    TsSystemMenu* systemMenu_ = nullptr; // owned as a component of the provider
    std::unique_ptr<TBitmap> captionBmp_; // owned
    bool attached_ = false;
};

// The provider of the MDI main form, and the provider of the MDI child that is or is being maximized.
extern TsSkinProvider* MDIMainProvider;
extern TsSkinProvider* MaximizedChildProvider;

// The caption icon's size for a caption H pixels high: none below 9, then 8, 16 and 32.
int CaptionIconSize(int h);

// Registers TsSkinProvider with the form reader.
void RegisterSkinProviderClasses();

// The entries of the skin core's links that belong to the provider.
TsSkinManager* ProviderManagerOf(LRESULT provider);
void RefreshProviderOf(LRESULT provider);
HRGN ProviderFadeRegionOf(LRESULT provider);
// What the menu painter takes from a provider to draw menu-line items, and the MDI main form's provider.
bool ProviderMenuLineSource(LRESULT provider, TacMenuLineSource& source);
LRESULT MDIMainProviderOf();
