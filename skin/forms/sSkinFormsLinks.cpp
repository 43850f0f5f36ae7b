#include "skin/forms/sSkinFormsLinks.h"

#include "skin/core/sSkinManager.h"
#include "skin/forms/sSkinMenus.h"

void LinkSkinForms()
{
    TacSkinFormsLinks links;
    // Each unit of this layer fills in its own entries here.
    links.MakeSkinMenus = MakeSkinableMenus;
    links.PopupBitmap = MenuBackground;
    SetSkinFormsLinks(links);
}
