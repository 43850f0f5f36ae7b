// Forms (top-level windows streamed from form data), the application object with its hidden window and
// message loop, and the screen object with the program's forms, cursors and fonts.
#pragma once

#include "framework/Controls.h"
#include "framework/FormData.h"

#include <exception>
#include <memory>
#include <string>
#include <vector>

class TMainMenu;
class TMenu;
class TMenuItem;
class TPopupMenu;
class TCustomActionList;

enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum TBorderIcon { biSystemMenu, biMinimize, biMaximize, biHelp };
using TBorderIcons = TSet<TBorderIcon>;
enum TPosition {
    poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter, poDesktopCenter, poMainFormCenter,
    poOwnerFormCenter
};
enum TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
enum TWindowState { wsNormal, wsMinimized, wsMaximized };
enum TFormStateItem { fsCreating, fsVisible, fsShowing, fsModal, fsCreatedMDIChild, fsActivated };
using TFormState = TSet<TFormStateItem>;
enum TCloseAction { caNone, caHide, caFree, caMinimize };
enum TTileMode { tbHorizontal, tbVertical };

enum TScrollBarKind { sbHorizontal, sbVertical };

class TCustomForm;

// One of a form's own two scroll bars: how far the form's content reaches along one axis (Range) and how
// far it is scrolled (Position). The bar shows only while the content reaches past the client area.
class TControlScrollBar {
public:
    TControlScrollBar(TCustomForm* form, TScrollBarKind kind) : form_(form), kind_(kind) {}
    TScrollBarKind Kind() const { return kind_; }
    int Range() const { return range_; }
    // A range of the form's own; with AutoScroll the form works it out from its controls instead.
    void SetRange(int value);
    int Position() const { return position_; }
    // Scrolls the content: the controls move by the difference, within 0 .. Range - the client extent.
    void SetPosition(int value);
    bool Visible() const { return visible_; }
    void SetVisible(bool value);
    // The step of a click on an arrow.
    int Increment = 8;
    // The bar takes room on the window now.
    bool IsScrollBarVisible() const { return shown_; }
    // A WM_HSCROLL or WM_VSCROLL of this bar: the scroll code and the thumb's position.
    void ScrollMessage(int code, int thumbPos);

private:
    friend class TCustomForm;
    int MaxPosition() const { return range_ > page_ ? range_ - page_ : 0; }

    TCustomForm* form_; // not owned: the form that holds the bar
    TScrollBarKind kind_;
    int range_ = 0;
    int position_ = 0;
    int page_ = 0;       // the client extent along the bar at the last update
    bool visible_ = true;
    bool shown_ = false;
};

using TModalResult = int;
enum : TModalResult {
    mrNone = 0, mrOk = IDOK, mrCancel = IDCANCEL, mrAbort = IDABORT, mrRetry = IDRETRY, mrIgnore = IDIGNORE,
    mrYes = IDYES, mrNo = IDNO, mrAll = mrNo + 1, mrNoToAll = mrAll + 1, mrYesToAll = mrNoToAll + 1
};


using TCloseEvent = TEvent<TObject*, TCloseAction&>;
using TCloseQueryEvent = TEvent<TObject*, bool&>;
using TShortCutEvent = TEvent<TMessage&, bool&>;

class TCustomForm : public TWinControl, public IFormBindingsSource {
    DECLARE_CLASS_NAME(TCustomForm)
public:
    explicit TCustomForm(TComponent* owner);
    ~TCustomForm() override;

    // Reads the form's data compiled into the program (when there is any), then runs OnCreate.
    void AfterConstruction() override;
    // Hides the form and runs OnDestroy before anything is taken down.
    void BeforeDestruction() override;
    // A form lists the handlers and component fields its data may name.
    void DeclareBindings(TFormBindings& bindings) override { (void)bindings; }

    TFormBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TFormBorderStyle value);
    TBorderIcons BorderIcons() const { return borderIcons_; }
    void SetBorderIcons(TBorderIcons value);
    TPosition Position() const { return position_; }
    void SetPosition(TPosition value) { position_ = value; }
    TFormStyle FormStyle() const { return formStyle_; }
    void SetFormStyle(TFormStyle value);
    TWindowState WindowState();
    void SetWindowState(TWindowState value);
    // The form's icon (borrowed: the caller keeps it alive); none uses the application's.
    HICON Icon() const { return icon_; }
    void SetIcon(HICON value);
    TMainMenu* Menu() const { return menu_; }
    void SetMenu(TMainMenu* value);
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool value);
    // Multiple-document forms: an MDI main form (fsMDIForm) owns the system's MDI client window, in which
    // the MDI children (fsMDIChild) live. The children are listed in the client's order, the active one first.
    HWND ClientHandle() const { return clientHandle_; }
    int MDIChildCount() const;
    TCustomForm* MDIChildren(int index) const;
    TCustomForm* ActiveMDIChild() const;
    // The menu item whose submenu lists the MDI children (borrowed; set before the window is made).
    TMenuItem* WindowMenu() const { return windowMenu_; }
    void SetWindowMenu(TMenuItem* value);
    TTileMode TileMode = tbHorizontal;
    void Cascade();
    void Tile();
    void ArrangeIcons();
    void Next();
    void Previous();
    bool KeyPreview() const { return keyPreview_; }
    void SetKeyPreview(bool value) { keyPreview_ = value; }
    TFormState FormState;
    TCanvas* Canvas() const { return canvas_.get(); }
    // A margin of this width inside the frame, all round the client area.
    int BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(int value);
    // Scrolling: with AutoScroll a form whose controls reach past its client area shows scroll bars that
    // move them. Aligned controls keep their places and count for nothing.
    bool AutoScroll() const { return autoScroll_; }
    void SetAutoScroll(bool value);
    TControlScrollBar* HorzScrollBar() const { return horzScrollBar_.get(); }
    TControlScrollBar* VertScrollBar() const { return vertScrollBar_.get(); }
    // Moves every control by (DeltaX, DeltaY) and repaints the client area.
    void ScrollBy(int deltaX, int deltaY);
    // Works the ranges out again (under AutoScroll) and shows or hides the bars to suit.
    void UpdateScrollBars();
    // A translucent form: a layered window drawn with AlphaBlendValue as its opacity (255 opaque).
    bool AlphaBlend() const { return alphaBlend_; }
    void SetAlphaBlend(bool value);
    BYTE AlphaBlendValue() const { return alphaBlendValue_; }
    void SetAlphaBlendValue(int value);
    TRect ClientRect() override;
    // Lays the children out, then fits an auto-sized form around them.
    void Realign() override;

    void Show();
    void Hide() { SetVisible(false); }
    // Shows the form modally: other windows are disabled and a message loop runs until ModalResult
    // is set; then the previously active window is activated again.
    int ShowModal();
    void Close();
    bool CloseQuery();
    // Destroys the form once the messages now queued are handled.
    void Release();
    TModalResult ModalResult() const { return modalResult_; }
    void SetModalResult(TModalResult value) { modalResult_ = value; }
    bool Active() const { return active_; }

    // While its paints are held the form and every window in it draw nothing: the paints the system
    // asks of them are dropped, the windows left validated. Releasing the hold invalidates the whole
    // form, frame and children, and with updateNow paints it at once. Cheaper than WM_SETREDRAW,
    // which Wine carries out by hiding the form's windows and showing them again, each time working out
    // again where every window of the screen is drawn.
    void HoldPaints();
    void ReleasePaints(bool updateNow);
    bool PaintsHeld() const { return paintsHeld_; }

    TWinControl* ActiveControl() const { return activeControl_; }
    void SetActiveControl(TWinControl* control);
    // Called when one of the form's controls received the focus.
    void FocusControlChanged(TWinControl* control);
    void ControlDestroyed(TControl* control);
    void Notification(TComponent* component, TOperation operation) override;
    // Looks the shortcut up in the form's main menu, then in its action lists.
    virtual bool IsShortCut(TShortCut shortCut);

    TNotifyEvent OnCreate;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;
    TNotifyEvent OnDestroy;
    TNotifyEvent OnPaint;
    TShortCutEvent OnShortCut;

    void Dispatch(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void CreateWindowHandle(const TCreateParams& params) override;
    void DestroyWindowHandle() override;
    void CallDefaultWindowProc(TMessage& message) override;
    void PaintWindow(HDC dc) override;
    virtual void Activate() { OnActivate(this); }
    virtual void Deactivate() { OnDeactivate(this); }
    virtual void DoShow() { OnShow(this); }
    virtual void DoHide() { OnHide(this); }
    virtual void DoClose(TCloseAction& action) { OnClose(this, action); }
    void CloseModal();
    void AdjustSize();
    void Loaded() override;

    void WMActivate(TMessage& m);
    void WMClose(TMessage& m);
    void WMCommandForm(TMessage& m);
    void WMMenuItemMessage(TMessage& m);
    void WMInitMenuPopup(TMessage& m);
    void WMMDIActivate(TMessage& m);
    void WMSysCommand(TMessage& m);
    void CMShowingChangedForm(TMessage& m);
    void CMDialogKey(TMessage& m);
    void CMMenuChanged(TMessage& m);
    void WMScroll(TMessage& m);
    void CMControlListChange(TMessage& m);
    void WMNCCalcSize(TMessage& m);
    void WMNCPaint(TMessage& m);

private:
    void ApplyLayeredStyle();
    // The ranges as the controls reach, Leaving not counted (a control on its way out).
    void CalcAutoRange(TControl* leaving);
    void UpdateScrollBarsWithout(TControl* leaving);
    void PlaceOnShow();
    void ApplyStyle();
    void CreateMDIClient();
    // Takes the main menu's handle off the window before the window goes.
    void DetachMenuBar();
    // An MDI child's menu is merged into the main form's while the child is active, and taken out after.
    void MergeMenuIntoMain(bool active);
    bool IsActiveMDIChild() const;
    // The popup menus shown for this form's window: their commands come to the form.
    std::vector<TPopupMenu*> PopupsShownHere() const;
    void ApplyMDIChildParams(TCreateParams& params);

    TFormBorderStyle borderStyle_ = bsSizeable;
    TBorderIcons borderIcons_{biSystemMenu, biMinimize, biMaximize};
    TPosition position_ = poDesigned;
    TFormStyle formStyle_ = fsNormal;
    TWindowState windowState_ = wsNormal;
    HICON icon_ = nullptr;       // borrowed
    TMainMenu* menu_ = nullptr;  // not owned: a component of the form
    TMenuItem* windowMenu_ = nullptr; // not owned
    HWND clientHandle_ = nullptr;     // owned by the form's window: the system destroys it with the form
    bool autoSize_ = false;
    bool keyPreview_ = false;
    TModalResult modalResult_ = mrNone;
    bool active_ = false;
    bool everActivated_ = false;
    bool adjustingSize_ = false;
    bool paintsHeld_ = false;
    TWinControl* activeControl_ = nullptr; // not owned
    std::unique_ptr<TControlCanvas> canvas_;
    int borderWidth_ = 0;
    bool autoScroll_ = false;
    int updatingScrollBars_ = 0; // nested updates and scrolls in progress
    std::unique_ptr<TControlScrollBar> horzScrollBar_;
    std::unique_ptr<TControlScrollBar> vertScrollBar_;
    bool alphaBlend_ = false;
    BYTE alphaBlendValue_ = 255;
};

class TForm : public TCustomForm {
    DECLARE_CLASS_NAME(TForm)
public:
    explicit TForm(TComponent* owner) : TCustomForm(owner) {}
};

// The small window that shows a control's hint near the mouse.
class THintWindow : public TCustomControl {
    DECLARE_CLASS_NAME(THintWindow)
public:
    explicit THintWindow(TComponent* owner);
    void ActivateHint(const TRect& rect, const std::wstring& hint);
    void ReleaseHandle() { DestroyHandle(); }
    TRect CalcHintRect(int maxWidth, const std::wstring& hint);

protected:
    void CreateParams(TCreateParams& params) override;
    void Paint() override;
};

using TExceptionEvent = TEvent<TObject*, const Exception&>;
using TMessageEvent = TEvent<MSG&, bool&>;
using TIdleEvent = TEvent<TObject*, bool&>;
// A hook on the application window's messages: set Handled to stop the message there.
using TWindowHook = TEvent<TMessage&, bool&>;

class TApplication : public TComponent {
    DECLARE_CLASS_NAME(TApplication)
public:
    explicit TApplication(TComponent* owner);
    ~TApplication() override;
    // Makes the hidden application window.
    void AfterConstruction() override;

    HWND Handle() const { return handle_; }
    const std::wstring& Title() const { return title_; }
    void SetTitle(const std::wstring& value);
    HICON Icon() const { return icon_; }
    void SetIcon(HICON value) { icon_ = value; }
    TCustomForm* MainForm() const { return mainForm_; }
    bool ShowMainForm = true;

    // Creates a form owned by the application; the first one becomes the main form.
    template <class T>
    void CreateForm(T*& reference)
    {
        T* form = new T(this);
        reference = form;
        try {
            form->AfterConstruction();
        } catch (...) {
            reference = nullptr;
            Free(form);
            throw;
        }
        if (!mainForm_)
            mainForm_ = form;
    }

    void Run();
    void Terminate();
    bool Terminated() const { return terminated_; }
    // Handles every queued message, then returns.
    void ProcessMessages();
    // Handles one message, or idles and waits for one.
    void HandleMessage();
    bool ProcessMessage(MSG& msg);
    void Minimize();
    void Restore();

    // Reports the exception being handled (inside a catch block): OnException, or a native message box.
    void HandleException(TObject* sender);
    void ShowException(const Exception& e);
    TExceptionEvent OnException;
    TMessageEvent OnMessage;
    TIdleEvent OnIdle;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;

    void HookMainWindow(TWindowHook hook);
    void UnhookMainWindow(TWindowHook hook);

    // Hints.
    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool value);
    int HintPause = 500;
    int HintHidePause = 2500;
    THintWindow* HintWindow() const { return hintWindow_; }
    void CancelHint();
    void ActivateHint(const TPoint& cursorPos);

    // Shortcut pre-processing: the form with the focus (unless disabled by a modal form), then the main
    // form if it is enabled; each looks in its main menu, then its action lists.
    bool IsShortCut(const MSG& msg);
    // Idle work: action updates and mouse enter/leave tracking.
    void DoIdle();
    void DoMouseIdle();
    // The control under the mouse changed (from mouse messages).
    void NoteMouseControl(TControl* control);
    TControl* MouseControl() const { return mouseControl_; }
    void ControlDestroyed(TControl* control);
    void FormCreated(TCustomForm* form);
    void FormDestroyed(TCustomForm* form);

    void Notification(TComponent* component, TOperation operation) override;

private:
    static LRESULT CALLBACK AppWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
    void WndProc(TMessage& message);
    bool IsKeyMsg(MSG& msg);
    void ProcessMessageReporting(MSG& msg);

    HWND handle_ = nullptr; // owned
    std::wstring title_;
    HICON icon_ = nullptr; // borrowed
    TCustomForm* mainForm_ = nullptr;
    bool terminated_ = false;
    std::vector<TWindowHook> hooks_;
    TControl* mouseControl_ = nullptr; // not owned: cleared when it goes
    TControl* hintControl_ = nullptr;  // not owned
    THintWindow* hintWindow_ = nullptr; // owned as a component
    bool showHint_ = true;
    bool hintActive_ = false;
    bool runningIdle_ = false;
};

class TScreen : public TComponent {
    DECLARE_CLASS_NAME(TScreen)
public:
    explicit TScreen(TComponent* owner);
    ~TScreen() override;

    int FormCount() const;
    TForm* Forms(int index) const;
    int CustomFormCount() const { return static_cast<int>(customForms_.size()); }
    TCustomForm* CustomForms(int index) const;
    TForm* ActiveForm() const { return dynamic_cast<TForm*>(activeForm_); }
    TCustomForm* ActiveCustomForm() const { return activeForm_; }
    TWinControl* ActiveControl() const { return activeForm_ ? activeForm_->ActiveControl() : nullptr; }
    void SetActiveForm(TCustomForm* form) { activeForm_ = form; }

    HCURSOR Cursors(TCursor index) const;
    void SetCursors(TCursor index, HCURSOR cursor);
    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor value);
    TFont* MenuFont() const { return menuFont_.get(); }
    TFont* HintFont() const { return hintFont_.get(); }
    TFont* IconFont() const { return iconFont_.get(); }
    int Width() const { return GetSystemMetrics(SM_CXSCREEN); }
    int Height() const { return GetSystemMetrics(SM_CYSCREEN); }
    TRect WorkAreaRect() const;

    void AddForm(TCustomForm* form);
    void RemoveForm(TCustomForm* form);

private:
    std::vector<TCustomForm*> customForms_; // not owned
    TCustomForm* activeForm_ = nullptr;
    // The system's shared cursors or loaded ones; a standard cursor is loaded when first asked for.
    mutable std::vector<std::pair<TCursor, HCURSOR>> cursors_;
    mutable std::vector<std::pair<TCursor, const wchar_t*>> standardCursors_; // not loaded yet
    TCursor cursor_ = crDefault;
    std::unique_ptr<TFont> menuFont_;
    std::unique_ptr<TFont> hintFont_;
    std::unique_ptr<TFont> iconFont_;
};

extern TApplication* Application;
extern TScreen* Screen;

// Start-up and shutdown of the application and screen objects, called in the program's order.
void InitApplication();
void DoneApplication();
// Registers the framework's classes with the form reader (done by InitApplication).
void RegisterFrameworkClasses();
