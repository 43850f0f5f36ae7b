#include "skin/forms/sSkinFormsLinks.h"

#include "skin/core/sSkinManager.h"

void LinkSkinForms()
{
    TacSkinFormsLinks links;
    // Each unit of this layer fills in its own entries here.
    SetSkinFormsLinks(links);
}
