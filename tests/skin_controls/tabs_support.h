// The application, a skin of flat colours written by the tests, and a form with a manager for the
// tests of the skinned tab strip and up-down arrows.
#pragma once

#include "framework/Forms.h"
#include "skin/core/sSkinManager.h"

#include "tests/skin_controls/skin_controls_support.h"
#include "tests/support/test_support.h"

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

class TControl;

namespace tabskin {

// Every state frame and every part of the skin has a colour of its own, so a pixel tells which part
// painted it.
constexpr COLORREF kPage = RGB(0x30, 0xA0, 0x30);       // PAGECONTROL
constexpr COLORREF kTabNormal = RGB(0xC0, 0x40, 0x40);  // TABTOP frame 0
constexpr COLORREF kTabHot = RGB(0xE0, 0x80, 0x20);     // TABTOP frame 1
constexpr COLORREF kTabActive = RGB(0x40, 0x40, 0xC0);  // TABTOP frame 2
constexpr COLORREF kBtnNormal = RGB(0x80, 0x80, 0x80);  // SCROLLBTN... frame 0
constexpr COLORREF kBtnHot = RGB(0xA0, 0xC0, 0xE0);     // frame 1
constexpr COLORREF kBtnPressed = RGB(0x20, 0x60, 0x20); // frame 2
constexpr COLORREF kArrow = RGB(0x10, 0x10, 0x10);      // GLYPHMASK, all frames
constexpr COLORREF kFormColor = RGB(0xF0, 0xE0, 0x10);  // the form under the controls

// The same skin with other colours for its tabs: a skin change shows in them.
constexpr COLORREF kOtherTabNormal = RGB(0x10, 0x90, 0x90);
constexpr COLORREF kOtherTabActive = RGB(0x90, 0x10, 0x90);

// The captions' colour in the page sections of the other positions (PAGECONTROL writes in black).
constexpr COLORREF kEdgePageFont = RGB(0xF0, 0x10, 0xF0);

// Writes Folder\Name\Options.dat and its master bitmap. With TabsFirst the tab section is the skin's
// first section; Other gives the tabs the other colours; without Tabs the skin has no tab sections.
void WriteSkin(const std::wstring& folder, const std::wstring& name, bool tabsFirst = false, bool other = false,
               bool tabs = true);

} // namespace tabskin

// Pixels of a control as it paints itself into a bitmap of its size.
testsupport::Pixels24 PaintedPixels(TControl* control);
// How many pixels of R (clipped to the picture) have exactly Color.
int CountColor(const testsupport::Pixels24& pixels, const TRect& r, COLORREF color);

// Each test: a fresh folder holding the skins "Flat", "Other", "TabsFirst" and "PagesOnly", a default manager with
// "Flat" loaded, and a visible form of kFormColor.
class SkinnedControlsTest : public skincontrols::SkinnedTest {
    // Before the set-up and after the tear-down: the test sees the skin core without the forms layer.
    skincontrols::WithoutFormsLayer unlinked_;

protected:
    void SetUp() override;
    void TearDown() override;

    TForm* Form = nullptr;            // owned by the application
};

// Each test: the same form and no manager at all.
class UnskinnedControlsTest : public ::testing::Test {
    // Before the set-up and after the tear-down: the test sees the skin core without the forms layer.
    skincontrols::WithoutFormsLayer unlinked_;

protected:
    void SetUp() override;
    void TearDown() override;

    std::vector<std::wstring> Errors;
    TForm* Form = nullptr; // owned by the application
};
