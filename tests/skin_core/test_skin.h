// A small skin made by code for the skin tests: its Options.dat text, its images (flat colours with
// key-colour corners), its folder and its packed form.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace testskin {

// One entry of a packed container: its stored name and its unpacked bytes.
struct PackEntry {
    std::string name;
    std::string bytes;
};

// A container in the "ASzf" layout with each entry deflated by zlib; StatedSizeDelta is added to every
// stated size (to build lying containers).
std::string BuildContainer(const std::vector<PackEntry>& entries, int statedSizeDelta = 0,
                           const char* magic = "ASzf");

// The transparent key colour of skin images.
constexpr COLORREF kKeyColor = RGB(255, 0, 255);

// The master bitmap: flat rectangles, one per image value of the skin text that lies in it, each with
// the key colour in its four corner pixels; white elsewhere.
constexpr int kMasterWidth = 64;
constexpr int kMasterHeight = 56;
COLORREF MasterPixel(int x, int y);
constexpr COLORREF kBoxColor = RGB(0x30, 0x60, 0xA0);    // GLOBALINFO BOXCHECKED (0,0)-(39,13)
constexpr COLORREF kFormColor = RGB(0x80, 0x40, 0x20);   // FORM BORDERSMASK (0,13)-(30,43)
constexpr COLORREF kPanelColor = RGB(0x20, 0xC0, 0x20);  // PANEL PATTERN (40,0)-(56,16)
constexpr COLORREF kScrollColor = RGB(0x60, 0x60, 0x60); // SCROLLBTNTOP BORDERSMASK (0,43)-(30,53)

// Own bitmaps and JPEG textures of the skin, each of one flat colour (bitmaps with key-colour corners).
constexpr int kButtonWidth = 90, kButtonHeight = 40;     // "BUTTON.BMP", the "!" value of BUTTON
constexpr COLORREF kButtonColor = RGB(0x40, 0x80, 0xC0);
constexpr int kEditWidth = 45, kEditHeight = 30;         // "Edit.bmp", the plain value of EDIT
constexpr COLORREF kEditColor = RGB(0xE0, 0xF0, 0xFF);
constexpr COLORREF kPatternColor = RGB(0x20, 0x40, 0xC0); // "FORMBG.JPG", 300 x 300: a pattern of FORM
constexpr COLORREF kTextureColor = RGB(0xC0, 0x60, 0x20); // "SMALL.JPG", 299 x 300: a texture of BUTTON

// Image files made by code: a 24-bit BMP of one colour with key-colour corners, and a JPEG of one colour.
std::string FlatBitmapFile(int width, int height, COLORREF color);
// A 24-bit BMP file whose pixels come from Pixel(x, y).
std::string BitmapFile(int width, int height, const std::function<COLORREF(int, int)>& pixel);
std::string FlatJpegFile(int width, int height, COLORREF color);
// A BMP file written field by field, so a test decides its layout: 8 bits (a grey palette), 24 or 32
// bits, rows bottom-up or top-down, CraftedPixel's colours; Tail follows the pixels.
std::string CraftedBitmapFile(int width, int height, int bits, bool topDown, const std::string& tail = "");
COLORREF CraftedPixel(int x, int y, int bits);
std::string MasterBitmapFile();

// The Options.dat text of the test skin: GLOBALINFO with flat colours, sections with parents, and image
// values of every form (master-bitmap columns, the older form, own bitmaps, JPEG files).
std::string TestSkinOptions();
// The test skin's entries: Options.dat first, then the images it names.
std::vector<PackEntry> TestSkinEntries();

// Writes the skin folder Folder\Name\ with Options.dat and its images.
void WriteTestSkinFolder(const std::wstring& folder, const std::wstring& name);

} // namespace testskin
