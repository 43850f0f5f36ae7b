#include "tests/skin_core/test_skin.h"

#include "framework/Graphics.h"
#include "framework/Jpeg.h"
#include "tests/support/test_support.h"

#include <zlib.h>

#include <functional>
#include <stdexcept>

namespace testskin {

namespace {

void PutInt32(std::string& out, std::int32_t value)
{
    for (int i = 0; i < 4; ++i)
        out += static_cast<char>((static_cast<std::uint32_t>(value) >> (8 * i)) & 0xFF);
}

std::string Deflate(const std::string& bytes)
{
    uLongf size = compressBound(static_cast<uLong>(bytes.size()));
    std::string out(size, '\0');
    if (compress2(reinterpret_cast<Bytef*>(out.data()), &size, reinterpret_cast<const Bytef*>(bytes.data()),
                  static_cast<uLong>(bytes.size()), Z_BEST_COMPRESSION) != Z_OK)
        throw std::runtime_error("compress2 failed");
    out.resize(size);
    return out;
}

struct Region {
    RECT r;
    COLORREF color;
};

const Region kRegions[] = {
    {{0, 0, 39, 13}, kBoxColor},
    {{0, 13, 30, 43}, kFormColor},
    {{40, 0, 56, 16}, kPanelColor},
    {{0, 43, 30, 53}, kScrollColor},
};

bool IsCorner(const RECT& r, int x, int y)
{
    return (x == r.left || x == r.right - 1) && (y == r.top || y == r.bottom - 1);
}

std::string Bytes(TGraphic* graphic)
{
    TMemoryStream stream;
    graphic->SaveToStream(&stream);
    return std::string(static_cast<const char*>(stream.Memory()), static_cast<size_t>(stream.Size()));
}

void Paint(TBitmap& bitmap, int width, int height, const std::function<COLORREF(int, int)>& pixel)
{
    bitmap.SetPixelFormat(pf24bit);
    bitmap.SetSize(width, height);
    for (int y = 0; y < height; ++y) {
        auto* row = static_cast<std::uint8_t*>(bitmap.ScanLine(y));
        for (int x = 0; x < width; ++x) {
            const COLORREF c = pixel(x, y);
            row[3 * x] = GetBValue(c);
            row[3 * x + 1] = GetGValue(c);
            row[3 * x + 2] = GetRValue(c);
        }
    }
}

} // namespace

std::string BuildContainer(const std::vector<PackEntry>& entries, int statedSizeDelta, const char* magic)
{
    std::string out(magic, 4);
    PutInt32(out, static_cast<std::int32_t>(entries.size()));
    for (const PackEntry& e : entries) {
        PutInt32(out, static_cast<std::int32_t>(e.name.size()));
        out += e.name;
        PutInt32(out, static_cast<std::int32_t>(e.bytes.size()) + statedSizeDelta);
        out += Deflate(e.bytes);
    }
    return out;
}

COLORREF MasterPixel(int x, int y)
{
    for (const Region& region : kRegions)
        if (x >= region.r.left && x < region.r.right && y >= region.r.top && y < region.r.bottom)
            return IsCorner(region.r, x, y) ? kKeyColor : region.color;
    return RGB(255, 255, 255);
}

std::string FlatBitmapFile(int width, int height, COLORREF color)
{
    TBitmap bitmap;
    const RECT all{0, 0, width, height};
    Paint(bitmap, width, height, [&](int x, int y) { return IsCorner(all, x, y) ? kKeyColor : color; });
    return Bytes(&bitmap);
}

std::string BitmapFile(int width, int height, const std::function<COLORREF(int, int)>& pixel)
{
    TBitmap bitmap;
    Paint(bitmap, width, height, pixel);
    return Bytes(&bitmap);
}

std::string FlatJpegFile(int width, int height, COLORREF color)
{
    TBitmap bitmap;
    Paint(bitmap, width, height, [&](int, int) { return color; });
    TJPEGImage jpeg;
    jpeg.SetCompressionQuality(95);
    jpeg.Assign(&bitmap);
    return Bytes(&jpeg);
}

COLORREF CraftedPixel(int x, int y, int bits)
{
    if (bits == 8) {
        const auto grey = static_cast<BYTE>((x * 7 + y * 11) & 0xFF);
        return RGB(grey, grey, grey);
    }
    return RGB((x * 7) & 0xFF, (y * 11) & 0xFF, ((x + y) * 5) & 0xFF);
}

std::string CraftedBitmapFile(int width, int height, int bits, bool topDown, const std::string& tail)
{
    const int stride = (width * bits + 31) / 32 * 4;
    const int tableBytes = bits == 8 ? 256 * 4 : 0;
    const int offBits = 54 + tableBytes;
    std::string s = "BM";
    PutInt32(s, offBits + stride * height);
    PutInt32(s, 0);
    PutInt32(s, offBits);
    PutInt32(s, 40);
    PutInt32(s, width);
    PutInt32(s, topDown ? -height : height);
    PutInt32(s, 1 | (bits << 16));
    PutInt32(s, 0);
    PutInt32(s, stride * height);
    PutInt32(s, 2835);
    PutInt32(s, 2835);
    PutInt32(s, 0);
    PutInt32(s, 0);
    for (int i = 0; i < tableBytes / 4; ++i)
        s += std::string{static_cast<char>(i), static_cast<char>(i), static_cast<char>(i), '\0'};
    for (int row = 0; row < height; ++row) {
        const int y = topDown ? row : height - 1 - row;
        std::string line(static_cast<size_t>(stride), '\0');
        for (int x = 0; x < width; ++x) {
            const COLORREF c = CraftedPixel(x, y, bits);
            if (bits == 8) {
                line[static_cast<size_t>(x)] = static_cast<char>(GetRValue(c));
                continue;
            }
            const size_t at = static_cast<size_t>(x) * static_cast<size_t>(bits / 8);
            line[at] = static_cast<char>(GetBValue(c));
            line[at + 1] = static_cast<char>(GetGValue(c));
            line[at + 2] = static_cast<char>(GetRValue(c));
        }
        s += line;
    }
    return s + tail;
}

std::string MasterBitmapFile()
{
    TBitmap bitmap;
    Paint(bitmap, kMasterWidth, kMasterHeight, MasterPixel);
    return Bytes(&bitmap);
}

std::string TestSkinOptions()
{
    return "[GLOBALINFO]\r\n"
           "VERSION=6.5\r\n"
           "AUTHOR=Test\r\n"
           "DESCRIPTION=Flat colours\r\n"
           "COLOR=0xE0E0E0\r\n"
           "FONTCOLOR=0x202020\r\n"
           "HOTCOLOR=0xFFFFFF\r\n"
           "BISPACE=2\r\n"
           "BORDERCOLOR=0x808080\r\n"
           "SHADOW1OFFSET=4\r\n"
           "MASTERBITMAP=MASTER.BMP\r\n"
           "BOXCHECKED=@0000@0000@0039@0013@3@0\r\n"
           "[FORM]\r\n"
           "COLOR=0xC0C0C0\r\n"
           "BORDERSMASK=^0000^0013^0030^0043^0003^0003^0003^0003^3^1^1^0\r\n"
           "GRADIENTDATA=0xFF0000;0x0000FF;50;0;0;0x0000FF;0x00FF00;50;0;0\r\n"
           "PATTERN=FORMBG.JPG\r\n"
           "[PANEL]\r\n"
           "PARENTCLASS=FORM\r\n"
           "FONTCOLOR=255\r\n"
           "PATTERN=~0040~0000~0056~0016~01\r\n"
           "[BUTTON]\r\n"
           "PARENTCLASS=PANEL\r\n"
           "COLOR=-1\r\n"
           "SHOWFOCUS=true\r\n"
           "BORDERSMASK=!BUTTON.BMP!3!1!0\r\n"
           "HOTPATTERN=SMALL.JPG\r\n"
           "[SCROLLBTNTOP]\r\n"
           "BORDERSMASK=#btn (0,43,30,53) (3,1,2)\r\n"
           "GLYPHMASK=@0030@0043@0039@0049@3@1\r\n"
           "[EDIT]\r\nCOLOR=0xFFFFFF\r\nBORDERSMASK=Edit.bmp\r\n"
           "[SCROLLBTNBOTTOM]\r\nPARENTCLASS=SCROLLBTNTOP\r\n"
           "[SCROLLBTNLEFT]\r\nPARENTCLASS=SCROLLBTNTOP\r\n"
           "[SCROLLBTNRIGHT]\r\nPARENTCLASS=SCROLLBTNTOP\r\n"
           "[SCROLLSLIDERH]\r\nCOLOR=0xA0A0A0\r\n"
           "[SCROLLSLIDERV]\r\nCOLOR=0xA0A0A0\r\n"
           "[SCROLLBAR1H]\r\nCOLOR=0xF0F0F0\r\n"
           "[SCROLLBAR1V]\r\nCOLOR=0xF0F0F0\r\n"
           "[SCROLLBAR2H]\r\nCOLOR=0xF0F0F0\r\n"
           "[SCROLLBAR2V]\r\nCOLOR=0xF0F0F0\r\n"
           "[TABTOP]\r\n"
           "PARENTCLASS=TABTOP\r\n"
           "BORDERSMASK=^0000^0013^0030^0043^0000^0000^0000^0000^3^1^1^2\r\n";
}

std::vector<PackEntry> TestSkinEntries()
{
    return {
        {"Options.dat", TestSkinOptions()},
        {"MASTER.BMP", MasterBitmapFile()},
        {"BUTTON.BMP", FlatBitmapFile(kButtonWidth, kButtonHeight, kButtonColor)},
        {"Edit.bmp", FlatBitmapFile(kEditWidth, kEditHeight, kEditColor)},
        {"FORMBG.JPG", FlatJpegFile(300, 300, kPatternColor)},
        {"SMALL.JPG", FlatJpegFile(299, 300, kTextureColor)},
    };
}

void WriteTestSkinFolder(const std::wstring& folder, const std::wstring& name)
{
    for (const PackEntry& e : TestSkinEntries())
        testsupport::WriteFileBytes(folder + L"\\" + name + L"\\" + testsupport::Widen(e.name), e.bytes);
}

} // namespace testskin
