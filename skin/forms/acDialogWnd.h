// The frame adapter of the system's dialogs and the framework's message dialogs that the dialog hook
// adapts: caption with icon and text, borders, the title buttons, the size grip, the window region
// from the skin's border images, the client background, and a skinned system menu.
#pragma once

#include "framework/Menus.h"
#include "skin/forms/acScrollBars.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class TacProvider;
class TacDialogWnd;

// One title button: its state (0 normal, 1 hot, 2 pressed), its glyph's mask index (-1 none) and its
// place in window coordinates.
struct TacTitleButton {
    int State = 0;
    int ImageIndex = -1;
    TRect Rect{};
};

// The dialog's system menu, drawn by the skin's menu painter: the six window commands.
class TacSystemMenu : public TPopupMenu {
    DECLARE_CLASS_NAME(TacSystemMenu)
public:
    explicit TacSystemMenu(TacDialogWnd* dialog);

    // Shows and enables the commands for the dialog's frame, buttons and state.
    void UpdateItems();

    TacDialogWnd* Dialog = nullptr; // the owner
    TMenuItem* miRestore = nullptr; // the items are owned by the menu
    TMenuItem* miMove = nullptr;
    TMenuItem* miSize = nullptr;
    TMenuItem* miMinimize = nullptr;
    TMenuItem* miMaximize = nullptr;
    TMenuItem* miClose = nullptr;

private:
    TMenuItem* MakeItem(const wchar_t* name, const wchar_t* caption, void (TacSystemMenu::*click)(TObject*));
    void Command(WPARAM command);
    void RestoreClick(TObject*);
    void MoveClick(TObject*) { Command(SC_MOVE); }
    void SizeClick(TObject*) { Command(SC_SIZE); }
    void MinimizeClick(TObject*) { Command(SC_MINIMIZE); }
    void MaximizeClick(TObject*);
    void CloseClick(TObject*) { Command(SC_CLOSE); }
};

class TacDialogWnd : public TacScrollWnd {
public:
    TacDialogWnd(HWND wnd, bool repaint, const std::wstring& skinSection, TsSkinManager* skinManager,
                 TsCommonData* commonData);
    ~TacDialogWnd() override;
    std::wstring ClassName() const override { return L"TacDialogWnd"; }

    void Create() override;
    void WndProc(TMessage& message) override;
    // Gives a dialog that stays its caption buttons and its rectangle back.
    void Destroy() override;

    // Reads the styles, the frame kind, the icon and the caption font, then takes WS_SYSMENU away so
    // the system draws no caption buttons of its own. Run after the children are adapted.
    void PrepareFrame();
    // The title buttons' glyphs for the current skin and frame kind.
    void UpdateButtonImages();

    // Measures read from the window's styles and the system metrics.
    int BorderWidth() const;
    int BorderHeight() const;
    int CaptionHeight() const;
    int TitleAreaHeight() const;
    TPoint ClientOffset() const;
    int ButtonWidth(const TacTitleButton& button) const;
    int ButtonHeight(const TacTitleButton& button) const;
    int ButtonsBlockWidth() const;
    bool MaxAllowed() const;
    bool MinAllowed() const;
    bool Restorable() const;
    bool HasSysMenu() const { return (SavedStyle & WS_SYSMENU) != 0; }
    // The top left of the size grip of a sizing frame, where it is painted and where it answers.
    TPoint GripPoint() const;

    // The title element under a point relative to the window; hit codes, 0 when the dialog decides.
    int HitTest(TPoint p);
    // The title button under X within the caption band, counted from the right as the layout places
    // them; HTCAPTION when none is there.
    int TitleButtonAt(int x) const;
    void SetHotButton(int code);
    // The button of a hit code, nil for none.
    TacTitleButton* ButtonOfCode(int code);
    // The rectangles cut out of the window region (the key-colour runs of the border images' corners).
    void BuildCornerRects();
    void UpdateRegion(bool redraw);
    // The frame and client background in the cache, when the background changed.
    void PaintFrameCache();
    void ShowSystemMenu(int x, int y);

    std::vector<TRect> CornerRects;
    int HotButton = 0;
    bool DlgActive = true;
    bool ChildrenScanned = false;
    TacTitleButton MinButton, MaxButton, CloseButton, HelpButton;
    HICON Icon = nullptr;                 // the dialog's, borrowed
    std::unique_ptr<TFont> CaptionFont;   // the system's caption font
    LONG_PTR SavedStyle = 0;
    LONG_PTR SavedExStyle = 0;
    bool RegionDirty = true;
    // Until the frame is prepared (after the hook's first scan of the children) the system paints it
    // and no later scan runs: one would count the children before the first scan does.
    bool FramePrepared = false;
    TRect DlgRect{};
    int DlgWidth = 0;
    int DlgHeight = 0;
    std::uint8_t FrameKind = 1;           // 0 modal frame, 2 no frame, 3 sizing frame
    std::unique_ptr<TBitmap> ButtonsBackdrop; // the caption under the title buttons
    std::unique_ptr<TacSystemMenu> SystemMenu;
    TacProvider* Provider = nullptr;      // the dialog's provider, the owner
    GdiObject<HBRUSH> BackgroundBrush;    // answered to WM_CTLCOLORDLG, made once
    // The command of the system menu's item chosen last, still on its way to the dialog; 0 for none.
    WORD PendingMenuCommand = 0;

    // True while an adapter sets a window region: the WM_NCPAINT that causes must not set it again.
    inline static bool SettingRegion = false;
    // True between the press of a title button and its release.
    inline static bool ButtonPressed = false;

private:
    void RefreshPosition();
    void PaintCaption();
    void PaintIcon();
    void LayOutButtons();
    void DrawButton(TacTitleButton& button, int code, bool toWindow);
    int ButtonImageOf(int code) const;
    bool ButtonEnabled(int code) const;
    void PaintNonClient();
    static void CopyFrameParts(HDC dc, HDC src, int w, int h, const TRect& edges, int sideTop);
    void PaintClient(TMessage& message);
    void Activation(TMessage& message);
    void ButtonUp(TMessage& message);
    void ButtonDown(TMessage& message);
    void DoubleClick(TMessage& message);
    bool SkinCommand(TMessage& message);
    bool MenuMessage(TMessage& message);
    void PassToScroll(TMessage& message);
    void CommonTail(TMessage& message);
    void Command(WPARAM command);
};

// The hook's seams: the frame adapter made for a dialog, its preparation and its section.
TacAdapterPtr<> MakeDialogWnd(HWND wnd, TacProvider* provider);
void PrepareDialogFrame(TacMainWnd* dialogWnd);
void SetDialogSection(TacMainWnd* dialogWnd, const std::wstring& section);
