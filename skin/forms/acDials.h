// The hook that gives skinning to windows no form data asks for: framework forms at their first
// activation (a TacProvider and a TsSkinProvider, both owned by the form), the framework's message
// forms, system dialogs (a frame adapter and one adapter per child window) and popup-menu windows.
#pragma once

#include "framework/Forms.h"
#include "framework/WinApi.h"
#include "skin/forms/acSBUtils.h"

#include <memory>
#include <string>
#include <vector>

class TsSkinProvider;
class TsSkinManager;

class TacProvider : public TComponent {
    DECLARE_CLASS_NAME(TacProvider)
public:
    explicit TacProvider(TComponent* owner);
    ~TacProvider() override;

    // Gives Form its TsSkinProvider (owned by the form, never freed here).
    void CreateSkinProvider(TCustomForm* form);
    // Adapts a window the framework does not own; False when the dialog must keep the system look.
    bool AdaptDialog(HWND wnd);
    // Adapts every child window of Wnd not yet adapted, descendants before their parent; False when a
    // child refuses skinning.
    bool AdaptChildren(HWND wnd);
    bool AdaptChildWindow(HWND wnd);
    void InitDialogWnd(HWND wnd, TacAdapterPtr<>& adapter);

    std::uint8_t DialogKind = 0; // 0 none; 1, 2 or 3 from the child windows
    HWND DialogHandle = nullptr; // the adapted system window; nil for a form provider (not owned)
    TsSkinProvider* SkinProvider = nullptr; // the form's, borrowed
    TacAdapterPtr<> DialogWnd;               // the frame adapter of a system dialog
    std::vector<TacAdapterPtr<>> ChildWnds;  // adapters of the dialog's child windows, in creation order
};

// The window adapters the child table of a system dialog chooses.
enum TacChildAdapterKind : int {
    akNone, akStatic, akIcon, akTransPanel, akGroupBox, akCheckBox, akBtn, akComboBox, akEdit, akSizer,
    akListView, akSpin, akLink, akToolBar, akTreeView
};

// What the child table decides for one child window of a system dialog.
struct TacChildChoice {
    TacChildAdapterKind Kind = akNone;
    std::wstring Section;
    std::uint8_t DialogKind = 0; // 0 leaves the dialog's kind as it is
    bool FormSection = false;    // the dialog adapter takes the section "FORM"
    bool ComboList = false;      // counts towards the three lists of a kind-1 dialog
    bool Refuse = false;         // the whole dialog stays unskinned
};
// The first matching row of the table for a child of the lower-cased class, style and window size.
TacChildChoice ChooseDialogChild(const std::wstring& lowerClass, LONG_PTR style, int width, int height);

// The hook procedure the default manager installs for its thread.
LRESULT CALLBACK DialogsCBTProc(int code, WPARAM wParam, LPARAM lParam);
// True when it made a provider for Wnd.
bool AdaptActivatedWindow(HWND wnd);

// The providers the hook made, in creation order; slots of providers gone are nil. Nil while no hook is
// installed (the manager owns the list and frees what is left in it).
std::vector<TObject*>* ProviderList();
TacProvider* FindProviderByHandle(HWND wnd);
// The framework form (or MDI child) whose window is Wnd; forms without a window are not asked for one.
TCustomForm* FindFormByHandle(HWND wnd);
int VisibleDialogCount();
// Depth first over the descendants of Wnd; Name is compared with the lower-cased class name.
bool HasChildOfClass(HWND wnd, const std::wstring& name);
std::wstring GetWndClassName(HWND wnd);

// The popup-menu window adapters of the windows that exist now; ClearMenuWnds empties the list without
// freeing them (each frees itself with its window and leaves the list then).
std::vector<TacMainWnd*>& MenuWnds();
void ClearMenuWnds();
// Takes a menu-window adapter that goes out of the list.
void ForgetMenuWnd(TacMainWnd* adapter);

// The number of "combolbox" children adapted by the running scan.
extern int ComboListCount;
// The painting limits of kind-1 and kind-3 dialogs that the frame adapter reads.
extern TRect Kind1PaintRect;
HRGN Kind3Region();
