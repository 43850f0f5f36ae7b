// The one table of links through which the skin engine reaches the form-skinning layer: the menu
// painter, the dialogs hook, form providers and the window adapters one unit of that layer makes for
// another. The layer fills the whole table once at start-up (LinkSkinForms); every entry may be empty,
// and each caller then does without what the entry would have given, as its comment says.
#pragma once

#include "framework/WinApi.h"

#include <memory>
#include <string>

class TBitmap;
class TObject;
class TsCommonData;
class TsSkinManager;
class TsSkinProvider;
class TacMainWnd;
class TacProvider;
class IacSkinMenus;
class IacProviderCtrlAdapter;
struct TacAdapterDeleter;
struct TacMenuLineSource;
enum TacChildAdapterKind : int;

struct TacSkinLinks {
    // An owned window adapter, freed through its own Free (TacAdapterPtr<> of the layer).
    using TAdapter = std::unique_ptr<TacMainWnd, TacAdapterDeleter>;
    using TAdapterMaker = TAdapter (*)(HWND wnd, TsSkinManager* manager, TsCommonData* data,
                                       const std::wstring& section);

    // ---- The manager ----
    // The menu painter a manager owns; without it the manager goes without skinned menus.
    std::unique_ptr<IacSkinMenus> (*MakeSkinMenus)(TsSkinManager* owner) = nullptr;
    // The hook the default manager installs for its thread; without it dialogs keep the system look.
    HOOKPROC DialogsCBTProc = nullptr;
    // Empties the hook's list of popup-menu window adapters (they free themselves with their windows).
    void (*ClearMenuWnds)() = nullptr;
    // The cached background of the popup being shown, or nil.
    TBitmap* (*PopupBitmap)() = nullptr;

    // ---- Form providers, as a form answers SkinCmdGetProvider ----
    // Its manager (nil: the form is taken for another manager's), and its refresh: the region anew and
    // the frame left to be painted at the form's next update.
    TsSkinManager* (*ProviderManager)(LRESULT provider) = nullptr;
    void (*RefreshProvider)(LRESULT provider) = nullptr;
    // Prepares the provider's frame for a fade and answers a copy of the form's window region (the
    // caller owns it), or 0.
    HRGN (*ProviderFadeRegion)(LRESULT provider) = nullptr;
    // What the menu painter reads of a provider to draw menu-line items; without it (or when it answers
    // False) menu-line items are not painted.
    bool (*MenuLineSource)(LRESULT provider, TacMenuLineSource& source) = nullptr;
    // The provider of the application's MDI main form, or 0 (also when the entry is empty).
    LRESULT (*MDIMainProvider)() = nullptr;
    // The control adapter chooser of a provider; without it the form's standard controls get no adapters.
    std::unique_ptr<IacProviderCtrlAdapter> (*MakeCtrlAdapter)(TsSkinProvider* provider) = nullptr;
    // The adapter on an MDI main form's client window; without it the MDI client stays unadapted.
    std::unique_ptr<TObject> (*MakeMDIClientAdapter)(HWND clientWnd, TsSkinProvider* provider) = nullptr;

    // ---- The dialogs hook: without an entry the dialog keeps the system's look of that part ----
    // The popup-menu window adapter, section "MAINMENU", default manager, attached.
    TAdapter (*MakeMenuWnd)(HWND wnd) = nullptr;
    // The frame adapter of a system dialog (section "DIALOG", default manager), and its preparation
    // after the children are adapted.
    TAdapter (*MakeDialogWnd)(HWND wnd, TacProvider* provider) = nullptr;
    void (*PrepareDialogFrame)(TacMainWnd* dialogWnd) = nullptr;
    void (*SetDialogSection)(TacMainWnd* dialogWnd, const std::wstring& section) = nullptr;
    // A child adapter of the given kind, repaint True, attached.
    TAdapter (*MakeChildAdapter)(TacChildAdapterKind kind, HWND wnd, const std::wstring& section,
                                 TsSkinManager* manager) = nullptr;

    // ---- Adapters the control adapter chooser makes; a control whose maker is empty gets none ----
    TAdapterMaker BtnWnd = nullptr;
    TAdapterMaker BitBtnWnd = nullptr;
    TAdapterMaker TransPanelWnd = nullptr;
    TAdapterMaker ComboBoxWnd = nullptr;
    TAdapterMaker GridWnd = nullptr;
    TAdapterMaker GridEhWnd = nullptr;
    TAdapterMaker VirtualTreeViewWnd = nullptr;
};

// Replaces the whole table (start-up; tests put stand-ins in and take them out again).
void SetSkinLinks(const TacSkinLinks& links);
const TacSkinLinks& SkinLinks();
