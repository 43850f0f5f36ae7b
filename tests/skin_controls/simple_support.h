// The simple adapters' tests: a skin with a colour per section, a parent window that counts its
// buttons' clicks, and the control's picture as it prints itself.
#pragma once

#include "framework/Graphics.h"
#include "skin/core/sSkinManager.h"
#include "skin/forms/acSBUtils.h"
#include "tests/skin_core/test_skin.h"
#include "tests/support/test_support.h"

#include <memory>
#include <string>
#include <vector>

namespace simpletest {

constexpr COLORREF kCheckBoxColor = RGB(0xD0, 0xE8, 0xC0);
constexpr COLORREF kSizeBoxColor = RGB(0x33, 0x66, 0xCC);
constexpr COLORREF kSpinColor = RGB(0x70, 0x30, 0xB0);
constexpr COLORREF kButtonColor = RGB(0xE0, 0xC0, 0xA0);
constexpr COLORREF kButtonHotColor = RGB(0x40, 0x90, 0x60);
constexpr COLORREF kStaticColor = RGB(0xA8, 0xD0, 0xF0);
constexpr COLORREF kGroupColor = RGB(0x90, 0x20, 0x20);
constexpr COLORREF kBarColor = RGB(0x20, 0x70, 0x70);
constexpr COLORREF kToolButtonColor = RGB(0xF0, 0xE0, 0x30);
constexpr COLORREF kToolButtonHotColor = RGB(0x30, 0x30, 0xF0);
constexpr COLORREF kParentColor = RGB(0x60, 0x60, 0x10);

// Clicks (BN_CLICKED and tool bar commands) the parent window heard.
extern int gClicks;

std::string Hex(COLORREF c);
// The test skin with a section of its own colour for each adapter (Options.dat first).
std::vector<testskin::PackEntry> SimpleSkinEntries();
COLORREF PixelAt(TBitmap* bmp, int x, int y);
std::unique_ptr<TBitmap> Bitmap24(int width, int height);

class SimpleAdapters : public testsupport::TempFolderTest {
protected:
    void SetUp() override;
    void TearDown() override;
    HWND Child(const wchar_t* cls, const wchar_t* text, DWORD style, int w, int h, DWORD exStyle = 0);
    // Writes the skin folder Name of the test's folder.
    void WriteSkin(const std::wstring& name, const std::vector<testskin::PackEntry>& entries);
    // The control's picture as it prints itself.
    std::unique_ptr<TBitmap> Print(HWND wnd, int w, int h);

    std::unique_ptr<TsSkinManager> sm;
    HWND parent = nullptr;
    TacAdapterPtr<> adapter;
};

} // namespace simpletest
