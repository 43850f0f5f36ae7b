#include "skin/forms/sSkinFormsLinks.h"

#include "skin/core/sSkinManager.h"
#include "skin/forms/acCtrlAdapter.h"
#include "skin/forms/sSkinMenus.h"
#include "skin/forms/sSkinProvider.h"

void LinkSkinForms()
{
    TacSkinFormsLinks links;
    // Each unit of this layer fills in its own entries here.
    links.MakeSkinMenus = MakeSkinableMenus;
    links.PopupBitmap = MenuBackground;
    links.ProviderManager = ProviderManagerOf;
    links.RefreshProvider = RefreshProviderOf;
    links.ProviderFadeRegion = ProviderFadeRegionOf;
    SetMenuLineSourceFunc(ProviderMenuLineSource);
    SetMDIMainProviderFunc(MDIMainProviderOf);
    RegisterSkinProviderClasses();
    LinkCtrlAdapter();
    SetSkinFormsLinks(links);
}
