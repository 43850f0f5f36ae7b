#include "skin/forms/sSkinFormsLinks.h"

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
        if (SendMessageW(wnd, BM_GETIMAGE, IMAGE_BITMAP, 0))
            return MakeChildOf<TacBitBtnWnd>(wnd, section, manager);
        return MakeChildOf<TacBtnWnd>(wnd, section, manager);
    case akComboBox:
        // Combo boxes come with their own unit's maker; without it they keep the system's look.
        if (AdapterMakers().ComboBoxWnd)
            return AdapterMakers().ComboBoxWnd(wnd, manager, nullptr, section);
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
    TacSkinFormsLinks links;
    // Each unit of this layer fills in its own entries here.
    links.MakeSkinMenus = MakeSkinableMenus;
    links.PopupBitmap = MenuBackground;
    links.ProviderManager = ProviderManagerOf;
    links.RefreshProvider = RefreshProviderOf;
    links.ProviderFadeRegion = ProviderFadeRegionOf;
    links.DialogsCBTProc = DialogsCBTProc;
    links.ClearMenuWnds = ClearMenuWnds;
    SetMenuLineSourceFunc(ProviderMenuLineSource);
    SetMDIMainProviderFunc(MDIMainProviderOf);
    RegisterSkinProviderClasses();
    LinkCtrlAdapter();
    AdapterMakers().BtnWnd = MakeAdapterOf<TacBtnWnd>;
    AdapterMakers().TransPanelWnd = MakeAdapterOf<TacTransPanelWnd>;
    AdapterMakers().BitBtnWnd = MakeAdapterOf<TacBitBtnWnd>;
    DialsSeams().MakeMenuWnd = MakeMenuWndOf;
    DialsSeams().MakeChildAdapter = MakeDialogChild;
    DialsSeams().MakeDialogWnd = MakeDialogWnd;
    DialsSeams().PrepareDialogFrame = PrepareDialogFrame;
    DialsSeams().SetDialogSection = SetDialogSection;
    AdapterMakers().ComboBoxWnd = MakeComboBoxWnd;
    AdapterMakers().GridWnd = MakeGridWnd;
    AdapterMakers().GridEhWnd = MakeGridEhWnd;
    AdapterMakers().VirtualTreeViewWnd = MakeVirtualTreeViewWnd;
    LinkMDIClientAdapter();
    SetSkinFormsLinks(links);
}
