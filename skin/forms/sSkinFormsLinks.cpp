#include "skin/forms/sSkinFormsLinks.h"

#include "framework/FormData.h"
#include "skin/core/sSkinManager.h"
#include "skin/forms/acDials.h"
#include "skin/forms/sSkinMenus.h"
#include "skin/forms/sSkinProvider.h"

void LinkSkinForms()
{
    TacSkinFormsLinks links;
    // Each unit of this layer fills in its own entries here.
    links.ProviderManager = ProviderManagerOf;
    links.RefreshProvider = RefreshProviderOf;
    links.ProviderFadeRegion = ProviderFadeRegionOf;
    // The provider becomes readable from form data once the framework's own classes are; the program
    // links this layer before it makes its application object, and its form data holds no provider.
    if (FindClassInfo(L"TComponent"))
        RegisterSkinProviderClasses();
    links.MakeSkinMenus = MakeSkinableMenus;
    links.PopupBitmap = MenuBackground;
    links.DialogsCBTProc = DialogsCBTProc;
    links.ClearMenuWnds = ClearMenuWnds;
    SetSkinFormsLinks(links);
}
