#include "skin/forms/sSkinFormsLinks.h"

#include "skin/core/sSkinManager.h"
#include "skin/forms/acComboAdapters.h"
#include "skin/forms/acCtrlAdapter.h"
#include "skin/forms/acDials.h"
#include "skin/forms/acGridAdapters.h"
#include "skin/forms/acMDIWnd.h"
#include "skin/forms/acSimpleAdapters.h"
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
    AdapterMakers().ComboBoxWnd = MakeComboBoxWnd;
    AdapterMakers().GridWnd = MakeGridWnd;
    AdapterMakers().GridEhWnd = MakeGridEhWnd;
    AdapterMakers().VirtualTreeViewWnd = MakeVirtualTreeViewWnd;
    LinkMDIClientAdapter();
    SetSkinFormsLinks(links);
}
