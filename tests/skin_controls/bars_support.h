// The skin the bar tests paint with (flat colours, one per element and state), the application around
// the tests, and a form to place the bars on.
#pragma once

#include "framework/Forms.h"
#include "skin/core/sSkinManager.h"

#include "tests/skin_controls/skin_controls_support.h"
#include "tests/support/test_support.h"

#include <string>
#include <vector>

namespace barskin {

// Colours of the skin "Bars" (COLORREF, red in the low byte).
constexpr COLORREF kFormColor = RGB(0xC0, 0xC0, 0xC0);
constexpr COLORREF kStatusColor = RGB(0x30, 0x90, 0x30);
constexpr COLORREF kStatusFont = RGB(0xFF, 0xFF, 0x00);
constexpr COLORREF kDividerColor = RGB(0x10, 0x10, 0x80);
constexpr COLORREF kPanelMaskColor = RGB(0x90, 0x30, 0x90);
constexpr COLORREF kGripColor = RGB(0xF0, 0x80, 0x00);
constexpr COLORREF kToolBarColor = RGB(0x60, 0x60, 0xA0);
// TOOLBUTTON frames: normal, hot, pressed.
constexpr COLORREF kButtonColors[3] = {RGB(0x20, 0x60, 0x20), RGB(0x20, 0xC0, 0xC0), RGB(0x80, 0x20, 0x20)};
constexpr COLORREF kButtonFont = RGB(0xFF, 0xFF, 0xFF);
constexpr COLORREF kArrowColors[3] = {RGB(0x00, 0x00, 0xFF), RGB(0x00, 0xFF, 0x00), RGB(0xFF, 0x00, 0x00)};
// SPLITTER frames: normal, hot, pressed.
constexpr COLORREF kSplitterColors[3] = {RGB(0x40, 0x40, 0x40), RGB(0xA0, 0xA0, 0x00), RGB(0xE0, 0x30, 0x30)};
// The status bar colour of the second skin, "Bars2".
constexpr COLORREF kStatusColor2 = RGB(0x90, 0x40, 0x10);

constexpr int kArrowFrameWidth = 7, kArrowHeight = 4;
constexpr int kGripFrameWidth = 6, kGripHeight = 6;

// Writes Folder\Bars\ (and Folder\Bars2\, whose status bar has another colour).
void WriteSkins(const std::wstring& folder);

} // namespace barskin

// Each test: the application's exceptions collected, the skin "Bars" in a fresh default manager (unless
// the test asks for none) and a shown form to put the bars on.
class BarsTest : public skincontrols::SkinnedTest {
protected:
    void SetUp() override;
    void TearDown() override;
    void MakeManager();
    // Reads the controls' Loaded the way the form reader does.
    static void LoadControl(TComponent* control);
    // The form's client pixels.
    testsupport::Pixels24 Shot();
    // How many pixels of R (form client coordinates) have exactly Color.
    static int CountColor(const testsupport::Pixels24& shot, const TRect& r, COLORREF color);

    TForm* Form = nullptr;            // owned by the application
};
