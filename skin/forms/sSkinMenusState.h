// The menu painter's state shared by its measuring and drawing halves: one set for the whole
// application (GUI thread only), and the small questions both halves ask of a menu item.
#pragma once

#include "framework/Menus.h"
#include "skin/forms/sSkinMenus.h"

#include <memory>
#include <string>

class TCustomForm;

namespace menustate {

extern std::unique_ptr<TBitmap> MenuBackground; // the whole current popup window, or nil
extern TMenuItem* CachedFirstItem;              // compared only, never read: it may be gone
extern bool ExtraLineFetched;
extern bool ExtraLineFetching;
extern bool ExtraLineVisible;
extern std::wstring ExtraLineSection;
extern std::wstring ExtraLineCaption;
extern std::unique_ptr<TBitmap> ExtraLineGlyph;
extern TsMenuItemType CurrentItemType;
extern int IcoLineWidth;
extern bool SkinnedPopupOpen;

// Index 0 of the item's parent.
TMenuItem* FirstItemOf(TMenuItem* item);
// A caption whose first and last characters are "-".
bool IsTitleItem(const TMenuItem* item);
bool IsTopMainMenuItem(TMenuItem* item);
// Some item up to and including this one starts a new column.
bool InLaterColumn(TMenuItem* item);
// The item's own bitmap, else its menu's image list, else 16 x 16.
TSize MenuGlyphSize(TMenuItem* item);
TCustomForm* GetOwnerForm(TMenuItem* item);
// The canvas's DC with its font selected, for direct text calls.
HDC SelectedFontDC(TCanvas* canvas);

} // namespace menustate
