// Fills the skin links (skin/core/sSkinLinks.h) with this layer's entries, the one place they are
// filled, and registers the provider's class with the form reader. The program calls it once at
// start-up, before the first skin manager is made.
#pragma once

void LinkSkinForms();
