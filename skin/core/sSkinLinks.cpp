#include "skin/core/sSkinLinks.h"

namespace {

TacSkinLinks gLinks;

} // namespace

void SetSkinLinks(const TacSkinLinks& links)
{
    gLinks = links;
}

const TacSkinLinks& SkinLinks()
{
    return gLinks;
}
