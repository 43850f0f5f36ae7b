#include "skin/forms/sSkinFormsLinks.h"

#include "skin/core/sSkinLinks.h"
#include "skin/core/sSkinManager.h"
#include "skin/forms/acComboAdapters.h"
#include "skin/forms/acCtrlAdapter.h"
#include "skin/forms/acDialogWnd.h"
#include "skin/forms/acDials.h"
#include "skin/forms/acEditAdapters.h"
#include "skin/forms/acGridAdapters.h"
#include "skin/forms/acMDIWnd.h"
#include "skin/forms/acMenuWnd.h"
#include "skin/forms/acSimpleAdapters.h"
#include "skin/forms/acTextAdapters.h"
#include "skin/forms/acToolBarWnd.h"
#include "skin/forms/acVirtualTree.h"
#include "skin/forms/sSkinMenus.h"
#include "skin/forms/sSkinProvider.h"

namespace {

// A maker of the control adapter chooser for an adapter class of this layer.
template <class T>
TacAdapterPtr<> MakeAdapterOf(HWND wnd, TsSkinManager* manager, TsCommonData* data, const std::wstring& section)
{
    return MakeAdapter<T>(wnd, true, section, manager, data);
}

template <class T>
TacAdapterPtr<> MakeChildOf(HWND wnd, const std::wstring& section, TsSkinManager* manager)
{
    return MakeAdapter<T>(wnd, true, section, manager, nullptr);
}

// The adapter the dialog hook's child table chose for a child window of a system dialog.
TacAdapterPtr<> MakeDialogChild(TacChildAdapterKind kind, HWND wnd, const std::wstring& section,
                                TsSkinManager* manager)
{
    switch (kind) {
    case akStatic: return MakeChildOf<TacStaticWnd>(wnd, section, manager);
    case akIcon: return MakeChildOf<TacIconWnd>(wnd, section, manager);
    case akTransPanel: return MakeChildOf<TacTransPanelWnd>(wnd, section, manager);
    case akGroupBox: return MakeChildOf<TacGroupBoxWnd>(wnd, section, manager);
    case akCheckBox: return MakeChildOf<TacCheckBoxWnd>(wnd, section, manager);
    case akBtn:
        // A push button holding a picture: the plain button's paint covers the whole window, so only
        // the bitmap button's, which draws the picture, keeps it visible.
        if (SendMessageW(wnd, BM_GETIMAGE, IMAGE_BITMAP, 0))
            return MakeChildOf<TacBitBtnWnd>(wnd, section, manager);
        return MakeChildOf<TacBtnWnd>(wnd, section, manager);
    case akComboBox:
        // Combo boxes come with their own unit's maker; without it they keep the system's look.
        if (SkinLinks().ComboBoxWnd)
            return SkinLinks().ComboBoxWnd(wnd, manager, nullptr, section);
        return nullptr;
    case akEdit: return MakeChildOf<TacEditWnd>(wnd, section, manager);
    case akSizer: return MakeChildOf<TacSizerWnd>(wnd, section, manager);
    case akListView: return MakeChildOf<TacListViewWnd>(wnd, section, manager);
    case akSpin: {
        auto spin = MakeAdapter<TacSpinWnd>(wnd, true, section, manager, nullptr);
        spin->LeftOffset = 2;
        return TacAdapterPtr<>(spin.release());
    }
    case akLink: return MakeChildOf<TacLinkWnd>(wnd, section, manager);
    case akToolBar: return MakeChildOf<TacToolBarWnd>(wnd, section, manager);
    case akTreeView: return MakeChildOf<TacTreeViewWnd>(wnd, section, manager);
    case akNone: break;
    }
    return nullptr;
}

TacAdapterPtr<> MakeMenuWndOf(HWND wnd)
{
    return TacAdapterPtr<>(AdaptMenuWindow(wnd, DefaultManager()));
}

} // namespace

void LinkSkinForms()
{
    TacSkinLinks links;
    links.MakeSkinMenus = MakeSkinableMenus;
    links.DialogsCBTProc = DialogsCBTProc;
    links.ClearMenuWnds = ClearMenuWnds;
    links.PopupBitmap = MenuBackground;

    links.ProviderManager = ProviderManagerOf;
    links.RefreshProvider = RefreshProviderOf;
    links.ProviderFadeRegion = ProviderFadeRegionOf;
    links.MenuLineSource = ProviderMenuLineSource;
    links.MDIMainProvider = MDIMainProviderOf;
    links.MakeCtrlAdapter = MakeCtrlAdapter;
    links.MakeMDIClientAdapter = MakeMDIClientAdapter;

    links.MakeMenuWnd = MakeMenuWndOf;
    links.MakeDialogWnd = MakeDialogWnd;
    links.PrepareDialogFrame = PrepareDialogFrame;
    links.SetDialogSection = SetDialogSection;
    links.MakeChildAdapter = MakeDialogChild;

    links.BtnWnd = MakeAdapterOf<TacBtnWnd>;
    links.BitBtnWnd = MakeAdapterOf<TacBitBtnWnd>;
    links.TransPanelWnd = MakeAdapterOf<TacTransPanelWnd>;
    links.ComboBoxWnd = MakeComboBoxWnd;
    links.GridWnd = MakeGridWnd;
    links.GridEhWnd = MakeGridEhWnd;
    links.VirtualTreeViewWnd = MakeVirtualTreeViewWnd;
    SetSkinLinks(links);

    RegisterSkinProviderClasses();
}
