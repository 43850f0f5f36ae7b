// The root of the window adapters: an object that takes over the window procedure of one existing window
// (through the window property "ACSBSC") and paints it from the skin, with the operations adapters share.
#pragma once

#include "framework/Controls.h"
#include "framework/DCScopes.h"
#include "framework/Messages.h"
#include "framework/WindowBinding.h"
#include "skin/core/sConst.h"

#include <cstdint>
#include <memory>
#include <string>

class TsSkinManager;
class TsCommonData;

class TacMainWnd;

// Set by the dialog hook while it adapts the children of a system dialog; adapters copy it at creation.
extern bool AdaptingDialog;

// Set by the control adapter chooser while it removes all adapters of a form at once: adapters freed
// meanwhile leave their windows hooked unless a skin removal is in progress.
bool AdaptersBeingRemoved();
void SetAdaptersBeingRemoved(bool value);

void HookWindow(TacMainWnd* adapter, HWND wnd);

// Calls the flat scroll-bar entry Name ("InitializeFlatSB", "UninitializeFlatSB") of the common controls
// for a window, looked up by name: the 32-bit import library lacks them, and a system without them has no
// flat scroll bars to switch.
void CallFlatSB(const char* name, HWND wnd);

class TacMainWnd : public TObject {
public:
    // Stores the arguments; Create (the second phase, run by MakeAdapter) attaches to the window.
    TacMainWnd(HWND wnd, bool repaint, const std::wstring& skinSection, TsSkinManager* skinManager,
               TsCommonData* commonData);
    ~TacMainWnd() override;
    TacMainWnd(const TacMainWnd&) = delete;
    TacMainWnd& operator=(const TacMainWnd&) = delete;
    std::wstring ClassName() const override { return L"TacMainWnd"; }

    // Slot 0: takes the skin data, switches visual styles off (unless the section is "DIALOG") and hooks
    // the window. Runs once, after the constructor, so that overrides of the other slots take part.
    virtual void Create();
    // Slot 1: records the window's own colours and fonts; called once by Create.
    virtual void StoreWindowParams() {}
    // Slot 2: puts them back; called on detaching, on Destroy and when the skin is removed.
    virtual void RestoreWindowParams() {}
    // Slot 3.
    virtual void PrepareSkinParams() { SkinParamsSet = true; }
    // Slot 4: every message of the window comes here.
    virtual void WndProc(TMessage& message);
    // The window-side half of freeing: gives the window back (unless already done) and lets go of owned
    // data. Run by Free before the object goes, while overrides still dispatch.
    virtual void Destroy();

    // Frees the adapter: at once, or, while one of its messages is still on the stack, when the outermost
    // one returns. Owners free adapters only through this (TacAdapterPtr does).
    void Free();

    // Passes a message to whatever handled the window before; queries answer through LParam.
    LRESULT CallPrevWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM& lParam);
    // The window procedure the hook installs: counts the messages on the stack, calls slot 4 and keeps
    // every exception inside.
    void MainWndProc(TMessage& message);
    TWndMethod Method() { return TWndMethod(this, &TacMainWnd::MainWndProc); }
    // The shared procedure of directly subclassed windows: finds the adapter by its property.
    static LRESULT CALLBACK AdapterWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);

    // True when the window was adapted with a framework control or form in between (WindowProc chain).
    bool HookedThroughFramework() const { return static_cast<bool>(savedWindowProc_); }
    // True while the adapter holds the window (its procedure or the control's WindowProc).
    bool Hooked() const { return previousWndProc_ || savedWindowProc_; }
    // The window's procedure before direct subclassing, or null.
    WNDPROC PreviousWndProc() const { return previousWndProc_; }
    // The framework control (or provider's form) whose WindowProc carries the adapter, else nil.
    TWinControl* HookedControl() const;

    // Repaint flag and section given at creation.
    bool CreateRepaint = false;
    std::wstring CreateSection;

    bool InDialog = false;
    std::wstring Caption;
    TRect WindowBounds;
    TSize WndSize;
    TPoint ParentOffset;
    TRect ParentRect;
    HWND ParentHandle = nullptr;              // not owned
    HWND AdaptedWnd = nullptr;                // not owned
    TsSkinManager* SkinManager = nullptr;     // borrowed
    TsCommonData* SkinData = nullptr;         // owned when OwnsSkinData
    bool Detached = false;
    bool SkinParamsSet = false;
    TColor SavedColor = 0;                    // left to descendants (the edit family's saved colours)
    TColor SavedFontColor = 0;
    bool Released = false;
    bool OwnsSkinData = false;

    // The manager whose commands this adapter follows: the given one, else its common data's.
    TsSkinManager* Manager() const;
    // True when the adapter paints: its common data has an active manager.
    bool SkinActive() const;

protected:
    // The last step of Create: hooks the window (the scroll adapters also set up their bars).
    virtual void AttachWindow() { HookWindow(this, AdaptedWnd); }
    // Whether Create switches the window's visual styles off (a section other than "DIALOG" given).
    virtual bool ThemeOffAtCreate() const { return true; }
    // The skin commands the base answers; True when the message must not be passed on.
    bool HandleSkinCommand(TMessage& message);
    // Passes on a WM_PRINT whose Painted parts (PRF_ flags) the adapter has printed itself: the window's
    // own procedure still hears the print, but is no longer asked for those parts, so nothing is
    // painted twice.
    void PassPrintOn(TMessage& message, LPARAM painted);
    friend void HookWindow(TacMainWnd* adapter, HWND wnd);
    friend void UnhookWindow(HWND wnd, bool freeIt, bool frameMode, TacMainWnd*& adapter);

private:
    // Gives the window its previous procedure back if it still runs through this adapter, and takes the
    // adapter out of the window's chain of adapters.
    void RestoreWindowProc();
    // The adapter bound to the window right above this one, or with SubclassedOnly the nearest above it
    // that subclassed the window directly; nil when none.
    TacMainWnd* AdapterAbove(bool subclassedOnly) const;

    std::unique_ptr<TsCommonData> ownSkinData_; // the data made when none was given
    TWinControl* hookedControl_ = nullptr;      // borrowed: the control whose WindowProc carries us
    TWndMethod savedWindowProc_;                // the control's or form's previous WindowProc
    WNDPROC previousWndProc_ = nullptr;         // the window's previous procedure (direct subclassing)
    bool subclassed_ = false;                   // the window's procedure is AdapterWndProc through us
    TacMainWnd* previousAdapter_ = nullptr;     // borrowed: the adapter bound to the window before this one
    std::uint32_t refreshRound_ = 0;            // the manager's refresh round last heard (see RefreshRound)
    TMessageDepth depth_;
};

// Frees adapters through TacMainWnd::Free.
struct TacAdapterDeleter {
    void operator()(TacMainWnd* adapter) const
    {
        if (adapter)
            adapter->Free();
    }
};
template <class T = TacMainWnd>
using TacAdapterPtr = std::unique_ptr<T, TacAdapterDeleter>;

// Makes an adapter of class T and attaches it (T's constructor, then its slot 0).
template <class T, class... Args>
TacAdapterPtr<T> MakeAdapter(Args&&... args)
{
    TacAdapterPtr<T> adapter(new T(std::forward<Args>(args)...));
    adapter->Create();
    return adapter;
}

// The adapter of a window, or nil.
TacMainWnd* AdapterOfWindow(HWND wnd);

void HookWindow(TacMainWnd* adapter, HWND wnd);
// Gives the window back; with FreeIt the adapter is freed and Adapter becomes nil.
void UnhookWindow(HWND wnd, bool freeIt, bool frameMode, TacMainWnd*& adapter);
// FrameMode: a new non-client calculation (SetWindowPos with the frame changed); else WM_NCPAINT.
void RefreshFrame(HWND wnd, bool frameMode);
// Wraps SetWindowTheme: visual styles off (" ", " ") or back on (nil, nil); nothing without uxtheme.
void SetWindowThemeOff(HWND wnd);
void SetWindowThemeDefault(HWND wnd);

void GetWndPosInfo(HWND wnd, HWND& parentHandle, TRect& windowBounds, TPoint& offset, TSize& size,
                   TRect& parentRect);
// The same on the adapter's own fields.
void GetWndPosInfo(TacMainWnd* adapter);
// Takes the adapter's place afresh and has its window paint the cache again over a new background.
void RepaintAdapterCache(TacMainWnd* adapter);

// Paints the window's skin section into the common data's cache bitmap (with BorderMode and a skin border
// colour: clWindow framed with that colour).
// The parent's cache as a window placed by its window rectangle (ParentOffset) reads it: with its origin at
// the parent's window corner. Every parent's cache covers its whole window; a form names the place of its
// client area in it for controls placed in client coordinates, which a window's offset already holds.
void GetParentCacheOfWindow(HWND wnd, TCacheInfo& ci);
void PaintAdapterCache(TsCommonData* commonData, HWND wnd, bool borderMode);
// Lets the parent's background show through the transparent corners of the border image.
void PaintTransparentCorners(TsCommonData* commonData, int state, TacMainWnd* adapter);

// One skin element of an adapter (section SkinIndex with its border mask BorderIndex) into R of Bmp in
// State, the parent's background taken from CI at Offset.
void PaintAdapterElement(TsSkinManager* sm, int skinIndex, int borderIndex, TBitmap* bmp, TPoint offset, TRect r,
                         int state, TCacheInfo ci, int texture = -1, int hotTexture = -1);

// BeginPaint and EndPaint around an adapter's paint of the screen. A paint into a DC that the message
// brings (a print, or a form painting itself into a bitmap) is no paint of the screen: the repaint the
// window still owes the screen stays owed.
class TAdapterPaint : public TPaintScope {
public:
    TAdapterPaint(HWND wnd, const TMessage& message)
        : TPaintScope(wnd, message.Msg == WM_PAINT && !message.WParam), given_(reinterpret_cast<HDC>(message.WParam))
    {
    }
    // The DC the message brings, or nil when the screen is painted.
    HDC Given() const { return given_; }

private:
    HDC given_; // borrowed from the message
};

// The window text as the adapter keeps it.
std::wstring GetWndText(HWND wnd);
