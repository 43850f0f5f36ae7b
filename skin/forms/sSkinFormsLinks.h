// Hands the skin core the entries it reaches of the form-skinning layer (menus, the dialogs hook,
// form providers). The program calls it once at start-up, before the first skin manager is made.
#pragma once

void LinkSkinForms();
