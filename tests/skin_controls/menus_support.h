// The application and the skin every menu test runs with: the test skin plus the menu sections, a
// form with a main menu and a popup menu, and pixel reads of bitmaps.
#pragma once

#include "framework/Forms.h"
#include "framework/Menus.h"
#include "skin/core/sSkinManager.h"
#include "skin/forms/sSkinMenus.h"

#include "tests/support/test_support.h"

#include <memory>
#include <string>

namespace menutest {

// Colours of the menu sections (red in the low byte, as skins write them).
constexpr COLORREF kMenuBg = RGB(0xC0, 0xD0, 0xE0);       // MAINMENU and its border image
constexpr COLORREF kItem = RGB(0xF0, 0xF0, 0xD0);         // MENUITEM
constexpr COLORREF kItemHot = RGB(0x30, 0x50, 0x90);      // MENUITEM hot
constexpr COLORREF kItemText = RGB(0x10, 0x10, 0x10);     // MENUITEM font
constexpr COLORREF kItemHotText = RGB(0xFF, 0xFF, 0x00);  // MENUITEM hot font
constexpr COLORREF kIcoLine = RGB(0x90, 0xB0, 0x90);      // ICOLINE
constexpr COLORREF kExtraLine = RGB(0x60, 0x20, 0x80);    // EXTRALINE
constexpr COLORREF kExtraText = RGB(0xFF, 0xFF, 0xFF);    // EXTRALINE font
constexpr COLORREF kDivider = RGB(0x20, 0x80, 0x20);      // DIVIDERV border image
constexpr COLORREF kToolbar = RGB(0xA0, 0x40, 0x40);      // TOOLBAR
constexpr COLORREF kCheck = RGB(0x00, 0x00, 0xC0);        // GLOBALINFO CHECK, frame 0
constexpr COLORREF kLine = RGB(0x50, 0x50, 0x50);         // what the fake provider's menu line holds
constexpr COLORREF kLineText = RGB(0x00, 0xFF, 0x00);     // MENULINE font
constexpr int kMenuBorder = 3;

// Writes the menu test skin "Menus" into Folder.
void WriteMenuSkin(const std::wstring& folder);
COLORREF Pixel(TBitmap* bmp, int x, int y);
// Some pixel of the rectangle has the colour.
bool AnyPixel(TBitmap* bmp, const TRect& r, COLORREF color);
std::unique_ptr<TBitmap> Bitmap24(int width, int height, COLORREF fill);

// A form that answers the provider question with Provider.
class TMenuForm : public TForm {
    DECLARE_CLASS_NAME(TMenuForm)
public:
    explicit TMenuForm(TComponent* owner) : TForm(owner) {}
    LRESULT Provider = 0;
    void Dispatch(TMessage& m) override;
};

// Each test: a fresh folder, a form with menus, and a manager that loads the skin (hooking the menus).
class MenuTest : public testsupport::TempFolderTest {
protected:
    void SetUp() override;
    void TearDown() override;
    // Loads the skin; the painter hooks every menu of the application.
    void LoadSkin();
    TMenuItem* AddItem(TMenuItem* parent, const std::wstring& caption, const std::wstring& name = L"");
    TsSkinableMenus* Menus() const { return static_cast<TsSkinableMenus*>(sm->SkinableMenus()); }

    TMenuForm* form = nullptr; // owned by the application
    TMainMenu* mainMenu = nullptr;
    TPopupMenu* popup = nullptr;
    TMenuItem* fileItem = nullptr;
    TMenuItem* openItem = nullptr;
    std::unique_ptr<TsSkinManager> sm;
};

} // namespace menutest
