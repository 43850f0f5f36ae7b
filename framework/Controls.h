// Controls: the base of everything visible (TControl), controls with a window of their own
// (TWinControl, over our window class or a native one), windowless controls (TGraphicControl),
// self-painted windowed controls (TCustomControl), and the canvas over a control's device context.
#pragma once

#include "framework/Classes.h"
#include "framework/Graphics.h"
#include "framework/Messages.h"
#include "framework/Types.h"

#include <memory>
#include <string>
#include <vector>

class TWinControl;
class TCustomForm;
class TPopupMenu;

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };
enum TAnchorKind { akLeft, akTop, akRight, akBottom };
using TAnchors = TSet<TAnchorKind>;
enum TMouseButton { mbLeft, mbRight, mbMiddle };
// Horizontal placement of a control's text.
enum TAlignment { taLeftJustify, taRightJustify, taCenter };
// Which way a control's text reads and its parts are aligned; only a system with a Middle-East locale
// honours the right-to-left modes.
enum TBiDiMode { bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly };
enum TShiftStateItem { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using TShiftState = TSet<TShiftStateItem>;

// What a control is able to do, fixed by its class.
enum TControlStyleItem {
    csAcceptsControls, csCaptureMouse, csDesignInteractive, csClickEvents, csFramed, csSetCaption, csOpaque,
    csDoubleClicks, csFixedWidth, csFixedHeight, csNoDesignVisible, csReplicatable, csNoStdEvents,
    csDisplayDragImage, csReflector, csActionClient, csMenuEvents, csNeedsBorderPaint, csParentBackground
};
using TControlStyle = TSet<TControlStyleItem>;

// What a control is doing now.
enum TControlStateItem {
    csLButtonDown, csClicked, csPalette, csReadingState, csAlignmentNeeded, csFocusing, csCreating, csPaintCopy,
    csCustomPaint, csDestroyingHandle, csDocking
};
using TControlState = TSet<TControlStateItem>;

// Cursors: negative numbers are the framework's standard cursors (Screen.Cursors).
using TCursor = int;
enum : TCursor {
    crDefault = 0, crNone = -1, crArrow = -2, crCross = -3, crIBeam = -4, crSizeNESW = -6, crSizeNS = -7,
    crSizeNWSE = -8, crSizeWE = -9, crUpArrow = -10, crHourGlass = -11, crDrag = -12, crNoDrop = -13,
    crHSplit = -14, crVSplit = -15, crMultiDrag = -16, crSQLWait = -17, crNo = -18, crAppStart = -19,
    crHelp = -20, crHandPoint = -21, crSizeAll = -22
};

// Shortcuts: a virtual key with scShift, scCtrl and scAlt.
using TShortCut = WORD;
enum : TShortCut { scShift = 0x2000, scCtrl = 0x4000, scAlt = 0x8000, scNone = 0 };

using TMouseEvent = TEvent<TObject*, TMouseButton, TShiftState, int, int>;
using TMouseMoveEvent = TEvent<TObject*, TShiftState, int, int>;
using TKeyEvent = TEvent<TObject*, WORD&, TShiftState>;
using TKeyPressEvent = TEvent<TObject*, wchar_t&>;

// The shift state of a key or mouse message.
TShiftState KeysToShiftState(WPARAM keys);
TShiftState KeyDataToShiftState(LPARAM keyData);

class TSizeConstraints : public TPersistent {
    DECLARE_CLASS_NAME(TSizeConstraints)
public:
    int MinWidth() const { return minWidth_; }
    int MinHeight() const { return minHeight_; }
    int MaxWidth() const { return maxWidth_; }
    int MaxHeight() const { return maxHeight_; }
    void SetMinWidth(int v) { minWidth_ = v; Changed(); }
    void SetMinHeight(int v) { minHeight_ = v; Changed(); }
    void SetMaxWidth(int v) { maxWidth_ = v; Changed(); }
    void SetMaxHeight(int v) { maxHeight_ = v; Changed(); }
    // 0 means no limit.
    void Apply(int& width, int& height) const;
    void Assign(TPersistent* source) override;
    TNotifyEvent OnChange;

private:
    void Changed() { OnChange(this); }
    int minWidth_ = 0, minHeight_ = 0, maxWidth_ = 0, maxHeight_ = 0;
};

class TControl : public TComponent {
    DECLARE_CLASS_NAME(TControl)
public:
    explicit TControl(TComponent* owner);
    ~TControl() override;

    // ---- Messages ----
    // Every message to the control goes through WindowProc (WndProc unless someone replaced it).
    TWndMethod WindowProc;
    virtual void WndProc(TMessage& message);
    // Calls the handler the control's class has for the message, else DefaultHandler.
    virtual void Dispatch(TMessage& message);
    virtual void DefaultHandler(TMessage& message);
    // Sends a message through WindowProc; works whether or not the control has a window.
    LRESULT Perform(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);

    // ---- Place ----
    TWinControl* Parent() const { return parent_; }
    virtual void SetParent(TWinControl* parent);
    void SetParentComponent(TComponent* parent) override;
    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetLeft(int v) { SetBounds(v, top_, width_, height_); }
    void SetTop(int v) { SetBounds(left_, v, width_, height_); }
    void SetWidth(int v) { SetBounds(left_, top_, v, height_); }
    void SetHeight(int v) { SetBounds(left_, top_, width_, v); }
    virtual void SetBounds(int left, int top, int width, int height);
    TRect BoundsRect() const { return Bounds(left_, top_, width_, height_); }
    void SetBoundsRect(const TRect& r) { SetBounds(r.Left, r.Top, r.Width(), r.Height()); }
    virtual TRect ClientRect();
    int ClientWidth() { return ClientRect().Width(); }
    int ClientHeight() { return ClientRect().Height(); }
    void SetClientWidth(int v);
    void SetClientHeight(int v);
    // The screen position of the client area's top left corner.
    virtual TPoint ClientOrigin();
    TPoint ClientToScreen(const TPoint& p) { TPoint o = ClientOrigin(); return {p.X + o.X, p.Y + o.Y}; }
    TPoint ScreenToClient(const TPoint& p) { TPoint o = ClientOrigin(); return {p.X - o.X, p.Y - o.Y}; }
    TAlign Align() const { return align_; }
    void SetAlign(TAlign value);
    TAnchors Anchors() const { return anchors_; }
    void SetAnchors(TAnchors value);
    TSizeConstraints* Constraints() const { return constraints_.get(); }
    void BringToFront();
    void SendToBack();

    // ---- State ----
    // The stored flag, not the window's style: WM_SETREDRAW clears WS_VISIBLE while a window is hidden
    // from painting only.
    bool Visible() const { return visible_; }
    void SetVisible(bool value);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    // Visible, with every parent up to a shown form.
    virtual bool Showing() const;
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value);
    TColor Color() const { return color_; }
    void SetColor(TColor value);
    bool ParentColor() const { return parentColor_; }
    void SetParentColor(bool value);
    TFont* Font() const { return font_.get(); }
    void SetFont(TFont* value) { font_->Assign(value); }
    bool ParentFont() const { return parentFont_; }
    void SetParentFont(bool value);
    std::wstring Text();
    void SetText(const std::wstring& value);
    std::wstring Caption() { return Text(); }
    void SetCaption(const std::wstring& value) { SetText(value); }
    const std::wstring& Hint() const { return hint_; }
    void SetHint(const std::wstring& value) { hint_ = value; }
    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool value);
    bool ParentShowHint() const { return parentShowHint_; }
    void SetParentShowHint(bool value);
    TBiDiMode BiDiMode() const { return biDiMode_; }
    void SetBiDiMode(TBiDiMode value);
    // The control takes its parent's mode, now and whenever the parent's changes.
    bool ParentBiDiMode() const { return parentBiDiMode_; }
    void SetParentBiDiMode(bool value);
    // Left and right parts swap places (bdRightToLeft on a Middle-East system).
    virtual bool UseRightToLeftAlignment() const;
    // Text reads right to left (any right-to-left mode on a Middle-East system).
    virtual bool UseRightToLeftReading() const;
    // DrawText flags for this control's mode: DT_LEFT and DT_RIGHT swapped under right-to-left alignment
    // (a centred text stays centred), DT_RTLREADING added under right-to-left reading.
    UINT DrawTextBiDiModeFlags(UINT flags) const;
    UINT DrawTextBiDiModeFlagsReadingOnly() const;
    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor value);
    TPopupMenu* PopupMenu() const { return popupMenu_; }
    void SetPopupMenu(TPopupMenu* value);
    TControlStyle ControlStyle;
    TControlState ControlState;
    bool MouseCapture();
    void SetMouseCapture(bool value);

    // ---- Painting ----
    virtual void Invalidate();
    virtual void Update();
    virtual void Repaint();
    void Refresh() { Repaint(); }

    // ---- Events ----
    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TNotifyEvent OnResize;
    TMouseEvent OnMouseDown;
    TMouseMoveEvent OnMouseMove;
    TMouseEvent OnMouseUp;
    virtual void Click();

    void Loaded() override;

protected:
    friend class TWinControl;
    virtual void SetTextBuf(const std::wstring& value);
    virtual std::wstring GetTextBuf();
    virtual void Resize() { OnResize(this); }
    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseMove(TShiftState shift, int x, int y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    // Asks the parent to lay out its aligned and anchored children again.
    void RequestAlign();
    // Where the control is asked to be within its parent (anchors keep their distances from it).
    void UpdateAnchorRules();
    void FontChanged(TObject* sender);
    void InvalidateControl(bool isVisible, bool isOpaque);
    // Sends CM_ message Msg to every child (windowed controls override it).
    virtual void NotifyControls(UINT msg) { (void)msg; }

    // Message handlers.
    void WMLButtonDown(TMessage& m);
    void WMLButtonDblClk(TMessage& m);
    void WMRButtonDown(TMessage& m);
    void WMMButtonDown(TMessage& m);
    void WMLButtonUp(TMessage& m);
    void WMRButtonUp(TMessage& m);
    void WMMButtonUp(TMessage& m);
    void WMMouseMove(TMessage& m);
    void WMContextMenu(TMessage& m);
    void CMEnabledChanged(TMessage& m);
    void CMVisibleChanged(TMessage& m);
    void CMFontChanged(TMessage& m);
    void CMColorChanged(TMessage& m);
    void CMParentFontChanged(TMessage& m);
    void CMParentColorChanged(TMessage& m);
    void CMParentShowHintChanged(TMessage& m);
    void CMParentBiDiModeChanged(TMessage& m);
    void CMSysColorChange(TMessage& m);
    void CMTextChanged(TMessage& m);
    void CMHitTest(TMessage& m);
    void CMMouseEnter(TMessage& m);
    void CMMouseLeave(TMessage& m);

    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    TWinControl* parent_ = nullptr; // not owned: the parent keeps this control in its list
    std::wstring text_; // the text while the control has no window

private:
    void DoMouseDown(TMessage& m, TMouseButton button, TShiftState extra);
    void DoMouseUp(TMessage& m, TMouseButton button);

    TAlign align_ = alNone;
    TAnchors anchors_{akLeft, akTop};
    std::unique_ptr<TSizeConstraints> constraints_;
    bool visible_ = true;
    bool enabled_ = true;
    TColor color_ = clWindow;
    bool parentColor_ = false;
    std::unique_ptr<TFont> font_;
    bool parentFont_ = true;
    std::wstring hint_;
    bool showHint_ = false;
    bool parentShowHint_ = true;
    TBiDiMode biDiMode_ = bdLeftToRight;
    bool parentBiDiMode_ = true;
    TCursor cursor_ = crDefault;
    TPopupMenu* popupMenu_ = nullptr; // not owned: a free notification clears it
    // Distances kept by anchors: the control's rectangle and its parent's client size when last placed.
    TRect anchorRect_;
    TSize anchorParentSize_;
    bool anchorRulesSet_ = false;
    friend void AlignChildren(TWinControl* parent);
};

// The parameters a windowed control is created with (CreateParams fills them).
struct TCreateParams {
    std::wstring Caption;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    int X = 0, Y = 0, Width = 0, Height = 0;
    HWND WndParent = nullptr;
    void* Param = nullptr;
    WNDCLASSEXW WindowClass{};
    std::wstring WinClassName;
};

class TWinControl : public TControl {
    DECLARE_CLASS_NAME(TWinControl)
public:
    explicit TWinControl(TComponent* owner);
    ~TWinControl() override;

    // ---- Window ----
    // The window, created on first use (with the parents' windows).
    HWND Handle();
    bool HandleAllocated() const { return handle_ != nullptr; }
    void HandleNeeded();
    // Destroys the window and makes it again with the current parameters, keeping the children.
    void RecreateWnd();
    // The window procedure of the class the window was made from (DefWindowProc for ours).
    WNDPROC DefWndProc() const { return defWndProc_; }
    void DefaultHandler(TMessage& message) override;
    void WndProc(TMessage& message) override;
    void Dispatch(TMessage& message) override;
    // The parent's window for a control whose parent is not a framework control.
    HWND ParentWindow() const { return parentWindow_; }
    void SetParentWindow(HWND value);

    // ---- Children ----
    int ControlCount() const { return static_cast<int>(controls_.size()); }
    TControl* Controls(int index) const;
    void InsertControl(TControl* control);
    void RemoveControl(TControl* control);
    bool ContainsControl(TControl* control) const;
    // The visible, enabled child at a client point (windowless ones only unless allowWinControls).
    TControl* ControlAtPos(const TPoint& pos, bool allowDisabled, bool allowWinControls = false);
    // Lays the aligned and anchored children out again.
    virtual void Realign();
    void DisableAlign() { ++alignDisabled_; }
    void EnableAlign();
    // The client rectangle children are aligned in.
    virtual TRect AlignRect() { return ClientRect(); }

    // ---- Painting ----
    // Paints into a memory bitmap first and copies it to the screen in one go (own painting only).
    bool DoubleBuffered() const { return doubleBuffered_; }
    void SetDoubleBuffered(bool value) { doubleBuffered_ = value; }
    // Paints windowless children into DC (all of them, or those above First).
    void PaintControls(HDC dc, TControl* first);
    // Paints the control, its windowless and windowed children into DC at (x, y).
    void PaintTo(HDC dc, int x, int y);
    void Invalidate() override;
    void Update() override;
    void Repaint() override;

    // ---- Focus and keyboard ----
    bool TabStop() const { return tabStop_; }
    void SetTabStop(bool value);
    int TabOrder() const;
    void SetTabOrder(int value);
    virtual bool CanFocus();
    bool Focused();
    virtual void SetFocus();
    // Windowed children in tab order.
    void GetTabOrderList(std::vector<TWinControl*>& list);
    // The next (or previous) tab stop among this control's children after Current.
    TWinControl* FindNextControl(TWinControl* current, bool goForward, bool checkTabStop, bool checkParent);
    void SelectNext(TWinControl* current, bool goForward, bool checkTabStop);

    TKeyEvent OnKeyDown;
    TKeyEvent OnKeyUp;
    TKeyPressEvent OnKeyPress;
    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;

    bool Showing() const override { return showing_; }
    TRect ClientRect() override;
    TPoint ClientOrigin() override;
    void SetBounds(int left, int top, int width, int height) override;
    void SetParent(TWinControl* parent) override;
    void BeforeDestruction() override;

protected:
    friend class TControl;
    friend class TApplication;
    friend LRESULT CALLBACK FrameworkWndProc(HWND, UINT, WPARAM, LPARAM);

    virtual void CreateParams(TCreateParams& params);
    // Makes the window class a superclass of a native class ("EDIT", "SysListView32"): the native
    // procedure becomes DefWndProc and the class is registered under this control's class name.
    void CreateSubClass(TCreateParams& params, const wchar_t* nativeClassName);
    virtual void CreateWnd();
    virtual void CreateWindowHandle(const TCreateParams& params);
    virtual void CreateHandle();
    virtual void DestroyWnd();
    // Destroys the window itself (an MDI child asks its MDI client to).
    virtual void DestroyWindowHandle();
    virtual void DestroyHandle();
    // The window class's own procedure (or the frame and child procedures of multiple-document forms).
    virtual void CallDefaultWindowProc(TMessage& message);
    virtual void PaintWindow(HDC dc);
    // Called after the window exists and before children are made.
    virtual void CreateWindowChildren() {}
    void UpdateShowing();
    void UpdateChildrenShowing();
    virtual void UpdateControlState();
    void SetTextBuf(const std::wstring& value) override;
    std::wstring GetTextBuf() override;
    void NotifyControls(UINT msg) override;
    virtual void AlignControls(TControl* control, TRect& rect);
    virtual void KeyDown(WORD& key, TShiftState shift) { OnKeyDown(this, key, shift); }
    virtual void KeyUp(WORD& key, TShiftState shift) { OnKeyUp(this, key, shift); }
    virtual void KeyPress(wchar_t& key) { OnKeyPress(this, key); }
    // Mouse messages over a windowless child go to it; True when one took the message.
    bool IsControlMouseMsg(TMessage& message);
    // The brush the background is erased with.
    HBRUSH BrushHandle();

    // Message handlers.
    void WMPaint(TMessage& m);
    void WMEraseBkgnd(TMessage& m);
    void WMSize(TMessage& m);
    void WMMove(TMessage& m);
    void WMWindowPosChanged(TMessage& m);
    void WMCommand(TMessage& m);
    void WMNotify(TMessage& m);
    void WMReflected(TMessage& m);
    void WMCtlColor(TMessage& m);
    void WMSetFocus(TMessage& m);
    void WMKillFocus(TMessage& m);
    void WMKeyDown(TMessage& m);
    void WMKeyUp(TMessage& m);
    void WMChar(TMessage& m);
    void WMSetCursor(TMessage& m);
    void WMNCDestroy(TMessage& m);
    void WMSysColorChange(TMessage& m);
    void CMShowingChanged(TMessage& m);
    void CMWinVisibleChanged(TMessage& m);
    void CMWinEnabledChanged(TMessage& m);
    void CMWinFontChanged(TMessage& m);
    void CMWinColorChanged(TMessage& m);
    void CMBiDiModeChanged(TMessage& m);
    // Whether the window already draws with the font (a new colour keeps the handle, so a window
    // told the same font again would lay out its text anew for nothing).
    virtual bool HasFont(HFONT font);
    void CMRecreateWnd(TMessage& m);
    void CMEnter(TMessage& m);
    void CMExit(TMessage& m);
    void CNKeyDown(TMessage& m);
    void CNChar(TMessage& m);
    void CMBroadcast(TMessage& m);

    HWND handle_ = nullptr; // owned: destroyed by DestroyHandle
    WNDPROC defWndProc_ = DefWindowProcW;

private:
    void CreateChildHandles();
    HFONT FontHandle();
    void PaintBuffered(HDC dc, const RECT& area);

    std::vector<TControl*> controls_; // not owned: children remove themselves
    std::vector<TWinControl*> tabList_; // not owned: the windowed children in tab order
    TControl* captureControl_ = nullptr; // the windowless child that holds the mouse
    HWND parentWindow_ = nullptr;
    bool showing_ = false;
    bool tabStop_ = false;
    bool doubleBuffered_ = false;
    int alignDisabled_ = 0;
    bool recreating_ = false;
    GdiObject<HBRUSH> brush_; // owned
    TColor brushColor_ = clNone;
};

// A windowless control, painted by its parent.
class TGraphicControl : public TControl {
    DECLARE_CLASS_NAME(TGraphicControl)
public:
    explicit TGraphicControl(TComponent* owner);
    ~TGraphicControl() override;
    TCanvas* Canvas() const { return canvas_.get(); }
    void Dispatch(TMessage& message) override;

protected:
    virtual void Paint() {}
    void WMPaint(TMessage& m);

private:
    std::unique_ptr<TCanvas> canvas_;
};

// A canvas over a control's device context: its own window DC, or the parent's clipped to the control
// for a windowless control; the paint DC instead while the control paints.
class TControlCanvas : public TCanvas {
    DECLARE_CLASS_NAME(TControlCanvas)
public:
    TControlCanvas() = default;
    ~TControlCanvas() override;
    TControl* Control() const { return control_; }
    void SetControl(TControl* value);
    // Gives the window DC back (the next drawing gets a new one).
    void FreeHandle();

protected:
    void CreateHandle() override;

private:
    TControl* control_ = nullptr; // not owned
    HDC windowDC_ = nullptr;      // owned while bound: released by FreeHandle
    HWND windowDCWnd_ = nullptr;
};

// A windowed control that paints itself on its Canvas.
class TCustomControl : public TWinControl {
    DECLARE_CLASS_NAME(TCustomControl)
public:
    explicit TCustomControl(TComponent* owner);
    ~TCustomControl() override;
    TCanvas* Canvas() const { return canvas_.get(); }

protected:
    virtual void Paint() {}
    void PaintWindow(HDC dc) override;

private:
    std::unique_ptr<TControlCanvas> canvas_;
};

// The system's locale is a Middle-East one, the only kind where controls and menus read right to left.
bool SysLocaleMiddleEast();
// The form a control sits on (nullptr when it has none).
TCustomForm* GetParentForm(TControl* control);
// The framework control of a window (nullptr for windows of others).
TWinControl* FindControl(HWND wnd);
// The window belongs to a form whose paints are held (see TCustomForm::HoldPaints).
bool PaintsHeldFor(HWND wnd);
// The window is shown and its paints reach the screen: visible, and its form does not hold them.
bool PaintsShown(HWND wnd);
// A paint message to a window whose form holds its paints is answered here, without drawing: the
// window's update region is validated (WM_PAINT), the frame left as it is (WM_NCPAINT), the background
// reported erased (WM_ERASEBKGND on the window's own DC). Paints into a DC of someone else's (a memory
// bitmap) go through. True when the message was answered; result holds the answer then.
bool DropHeldPaint(HWND wnd, UINT msg, WPARAM wParam, LRESULT& result);
// The deepest control at a screen point: windowed, or a windowless child of one.
TControl* FindDragTarget(const TPoint& pos, bool allowDisabled);
// The one window procedure of every framework window: finds the control through the window binding.
LRESULT CALLBACK FrameworkWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
