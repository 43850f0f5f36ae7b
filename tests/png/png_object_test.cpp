// TPNGObject over the DIB: drawing with and without transparency, conversion to and from TBitmap, and the
// picture-format registry.
#include "framework/Startup.h"
#include "png/pngimage.h"
#include "tests/png/png_test_util.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace pngtest;

namespace {

const COLORREF kBackground = RGB(40, 90, 200);

std::unique_ptr<TPNGObject> LoadPng(const Bytes& bytes)
{
    auto png = std::make_unique<TPNGObject>();
    TMemoryStream stream;
    stream.WriteBuffer(bytes.data(), std::int32_t(bytes.size()));
    stream.SetPosition(0);
    png->LoadFromStream(&stream);
    return png;
}

// A 24-bit bitmap filled with one colour.
std::unique_ptr<TBitmap> Surface(int w, int h, COLORREF colour)
{
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetPixelFormat(pf24bit);
    bitmap->SetSize(w, h);
    HBRUSH brush = CreateSolidBrush(colour);
    RECT r{0, 0, w, h};
    FillRect(bitmap->Canvas()->Handle(), &r, brush);
    DeleteObject(brush);
    return bitmap;
}

COLORREF PixelOf(TBitmap& bitmap, int x, int y)
{
    GdiFlush();
    auto* row = static_cast<const std::uint8_t*>(bitmap.ScanLine(y));
    return RGB(row[3 * x + 2], row[3 * x + 1], row[3 * x]);
}

int Distance(COLORREF a, COLORREF b)
{
    return std::max({std::abs(int(GetRValue(a)) - int(GetRValue(b))), std::abs(int(GetGValue(a)) - int(GetGValue(b))),
                     std::abs(int(GetBValue(a)) - int(GetBValue(b)))});
}

std::string RefPath(const std::string& name)
{
    return std::string(VELMORA_PNGREF_DIR) + "/" + name;
}

// Draws the image at its own size over the background and counts the pixels drawn wrong: those that show
// the key must show the background, every other pixel its own colour.
int WronglyKeyedPixels(TPNGObject& png, TColor key)
{
    int w = png.Width(), h = png.Height();
    auto surface = Surface(w, h, kBackground);
    png.Draw(surface->Canvas(), TRect{0, 0, w, h});
    int wrong = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            COLORREF colour = COLORREF(png.ReadPixel(x, y));
            wrong += PixelOf(*surface, x, y) != (colour == COLORREF(key) ? kBackground : colour);
        }
    return wrong;
}

class PngDrawOverBackground : public ::testing::TestWithParam<std::string> {};
class PngSetTransparentColor : public ::testing::TestWithParam<TKeyRow> {};

} // namespace

TEST_P(PngDrawOverBackground, MatchesImageMagickFlatten)
{
    std::string stem = GetParam().substr(0, GetParam().size() - 4);
    auto png = LoadPng(ReadFile(RefPath(stem + ".png")));
    Bytes flat = ReadFile(RefPath(stem + ".flat"));
    int w = png->Width(), h = png->Height();
    ASSERT_EQ(flat.size(), std::size_t(w) * h * 3);
    auto surface = Surface(w, h, kBackground);
    png->Draw(surface->Canvas(), TRect{0, 0, w, h});
    int worst = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const auto* p = reinterpret_cast<const std::uint8_t*>(flat.data()) + (std::size_t(y) * w + x) * 3;
            worst = std::max(worst, Distance(PixelOf(*surface, x, y), RGB(p[0], p[1], p[2])));
        }
    // Blending rounds through a shift by 8 and keeps the high byte of 16-bit alpha.
    EXPECT_LE(worst, 2) << GetParam();
}

INSTANTIATE_TEST_SUITE_P(Files, PngDrawOverBackground, ::testing::ValuesIn(SuiteFiles()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                             std::string n = info.param.substr(0, info.param.size() - 4);
                             for (char& c : n)
                                 if (!std::isalnum(static_cast<unsigned char>(c)))
                                     c = '_';
                             return n;
                         });

TEST_P(PngSetTransparentColor, TheColourSetIsReadSavedAndLeftOut)
{
    const TKeyRow& row = GetParam();
    auto png = LoadPng(KeyedPng(row.Format, row.Gamma));
    png->Chunks.FirstOfClass<TChunktRNS>()->SetTransparentColor(KeyColourOf(row, *png));
    // A colour no palette entry has keys entry 0, pure blue in KeyedPng.
    const TColor key = row.Black ? TColor(PngRGB(0, 0, 255)) : png->ReadPixel(kKeyX, kKeyY);
    EXPECT_EQ(png->TransparentColor(), key);
    EXPECT_EQ(WronglyKeyedPixels(*png, key), 0);
    const Bytes saved = Save(*png);
    EXPECT_EQ(Save(*png), saved);
    if (row.Format.ColorType == 3) {
        EXPECT_LE(ChunkData(saved, "tRNS").at(0).size(), ChunkData(saved, "PLTE").at(0).size() / 3);
    }
    auto again = LoadPng(saved);
    EXPECT_EQ(again->TransparentColor(), key);
    EXPECT_EQ(Pixels(*again).Rgb, Pixels(*png).Rgb);
    EXPECT_EQ(WronglyKeyedPixels(*again, key), 0);
}

INSTANTIATE_TEST_SUITE_P(Formats, PngSetTransparentColor, ::testing::ValuesIn(KeyRows()),
                         [](const ::testing::TestParamInfo<TKeyRow>& info) { return KeyRowName(info.param); });

TEST(PngObjectDraw, PartialTransparencyIsNotStretched)
{
    Bytes rows;
    for (int y = 0; y < 2; ++y)
        rows += Bytes("\0", 1) + Bytes("\xff\0\0\x80\xff\0\0\x80", 8);
    auto png = LoadPng(Png(Ihdr(2, 2, 8, 6), rows));
    auto surface = Surface(8, 8, RGB(0, 0, 255));
    png->Draw(surface->Canvas(), TRect{1, 1, 7, 7});
    EXPECT_LE(Distance(PixelOf(*surface, 1, 1), RGB(128, 0, 127)), 1);
    EXPECT_EQ(PixelOf(*surface, 4, 4), RGB(0, 0, 255));
    EXPECT_EQ(PixelOf(*surface, 0, 0), RGB(0, 0, 255));
}

TEST(PngObjectDraw, KeyedImageIsStretchedAndKeepsTheBackgroundUnderTheKey)
{
    // Grey 2-bit: white (3) is the key, black (0) is drawn.
    Bytes rows = Bytes("\0\xc0", 2) + Bytes("\0\xc0", 2);
    auto png = LoadPng(Png(Ihdr(2, 2, 2, 0), rows, Chunk("tRNS", Bytes("\0\3", 2))));
    EXPECT_TRUE(png->Transparent());
    auto surface = Surface(8, 8, RGB(10, 200, 30));
    png->Draw(surface->Canvas(), TRect{0, 0, 8, 8});
    EXPECT_EQ(PixelOf(*surface, 1, 1), RGB(10, 200, 30)); // key pixel, stretched to the left half
    EXPECT_EQ(PixelOf(*surface, 3, 6), RGB(10, 200, 30));
    EXPECT_EQ(PixelOf(*surface, 5, 1), RGB(0, 0, 0));
    EXPECT_EQ(PixelOf(*surface, 7, 7), RGB(0, 0, 0));
}

TEST(PngObjectDraw, KeyLeavesOutItsSamplesNotItsColour)
{
    // Palette entries 0 and 1 share a colour and only entry 0 is transparent; the 16-bit grey key 0x8012
    // leaves out its own pixel, not the one that differs in the low byte; under gamma the RGB key 254 leaves
    // out its own pixel, not the white one that gamma shows alike.
    Bytes plte = Chunk("PLTE", Bytes("\x11\x22\x33\x11\x22\x33", 6));
    auto palette = LoadPng(Png(Ihdr(2, 1, 8, 3), Bytes("\0\0\1", 3), plte + Chunk("tRNS", Bytes("\0", 1))));
    auto grey = LoadPng(Png(Ihdr(2, 1, 16, 0), Bytes("\0\x80\x12\x80\x13", 5), Chunk("tRNS", Bytes("\x80\x12", 2))));
    auto rgb = LoadPng(Png(Ihdr(2, 1, 8, 2), Bytes("\0\xfe\xfe\xfe\xff\xff\xff", 7),
                           Chunk("gAMA", BigEndian32(100000)) + Chunk("tRNS", Bytes("\0\xfe\0\xfe\0\xfe", 6))));
    for (TPNGObject* png : {palette.get(), grey.get(), rgb.get()}) {
        auto surface = Surface(4, 2, kBackground);
        png->Draw(surface->Canvas(), TRect{0, 0, 4, 2});
        EXPECT_EQ(PixelOf(*surface, 1, 1), kBackground);
        EXPECT_NE(PixelOf(*surface, 3, 1), kBackground);
    }
}

TEST(PngObjectDraw, OpaqueImageIsStretched)
{
    Bytes rows = Bytes("\0\xff\0\0\0\0\xff", 7);
    auto png = LoadPng(Png(Ihdr(2, 1, 8, 2), rows));
    auto surface = Surface(10, 4, RGB(1, 1, 1));
    png->Draw(surface->Canvas(), TRect{0, 0, 10, 4});
    EXPECT_EQ(PixelOf(*surface, 2, 3), RGB(255, 0, 0));
    EXPECT_EQ(PixelOf(*surface, 8, 0), RGB(0, 0, 255));
}

TEST(PngObjectDraw, MissingPaletteEntryDrawsBlackAndEmptyImageDrawsNothing)
{
    Bytes plte = Chunk("PLTE", Bytes("\xff\xff\xff", 3));
    auto png = LoadPng(Png(Ihdr(2, 1, 8, 3), Bytes("\0\0\5", 3), plte + Chunk("tRNS", Bytes("\x80", 1))));
    auto surface = Surface(2, 1, RGB(200, 200, 200));
    EXPECT_NO_THROW(png->Draw(surface->Canvas(), TRect{0, 0, 2, 1}));
    EXPECT_LE(Distance(PixelOf(*surface, 1, 0), RGB(0, 0, 0)), 0);
    TPNGObject empty;
    EXPECT_NO_THROW(empty.Draw(surface->Canvas(), TRect{0, 0, 2, 1}));
    EXPECT_TRUE(empty.Empty());
    EXPECT_EQ(empty.Width(), 0);
}

TEST(PngObject, ResizingRaisesPngError)
{
    TPNGObject png;
    EXPECT_THROW(png.SetWidth(5), EPngError);
    EXPECT_THROW(png.SetHeight(5), EPngError);
}

TEST(PngObject, AssignToBitmapAndBackKeepsPixelsAndKey)
{
    auto png = LoadPng(Png(Ihdr(3, 1, 8, 2), Bytes("\0\x10\x20\x30\xff\0\0\1\2\3", 10),
                           Chunk("tRNS", Bytes("\0\xff\0\0\0\0", 6))));
    TBitmap bitmap;
    bitmap.Assign(png.get());
    EXPECT_EQ(bitmap.Width(), 3);
    EXPECT_EQ(PixelOf(bitmap, 0, 0), RGB(0x10, 0x20, 0x30));
    EXPECT_TRUE(bitmap.Transparent());
    EXPECT_EQ(ColorToRGB(bitmap.TransparentColor()), TColor(RGB(255, 0, 0)));
    TPNGObject back;
    back.Assign(&bitmap);
    EXPECT_EQ(back.ReadPixel(0, 0), TColor(RGB(0x10, 0x20, 0x30)));
    EXPECT_EQ(back.ReadPixel(2, 0), TColor(RGB(1, 2, 3)));
    EXPECT_TRUE(back.Transparent());
    TPNGObject again;
    TMemoryStream stream;
    back.SaveToStream(&stream);
    stream.SetPosition(0);
    again.LoadFromStream(&stream);
    EXPECT_EQ(again.ReadPixel(1, 0), TColor(RGB(255, 0, 0)));
    EXPECT_EQ(again.TransparentColor(), TColor(RGB(255, 0, 0)));
    EXPECT_EQ(WronglyKeyedPixels(again, TColor(RGB(255, 0, 0))), 0);
}

TEST(PngObject, AssignToBitmapKeepsTheDepthAndEveryColour)
{
    const std::pair<const char*, TPixelFormat> cases[] = {
        {"basn3p08.png", pf8bit}, {"basn3p01.png", pf1bit}, {"basn0g02.png", pf4bit},
        {"basn0g16.png", pf8bit}, {"basn2c16.png", pf24bit}, {"basn4a08.png", pf8bit}};
    for (const auto& [name, format] : cases) {
        auto png = LoadPng(ReadFile(SuitePath(name)));
        TBitmap bitmap;
        bitmap.Assign(png.get());
        EXPECT_EQ(bitmap.PixelFormat(), format) << name;
        ASSERT_EQ(bitmap.Width(), png->Width());
        HDC dc = bitmap.Canvas()->Handle();
        int wrong = 0;
        for (int y = 0; y < png->Height(); ++y)
            for (int x = 0; x < png->Width(); ++x)
                wrong += GetPixel(dc, x, y) != COLORREF(png->ReadPixel(x, y));
        EXPECT_EQ(wrong, 0) << name;
    }
}

TEST(PngObject, AssignFromPngCopiesEverything)
{
    auto png = LoadPng(ReadFile(SuitePath("basn6a08.png")));
    TPNGObject copy;
    copy.Assign(png.get());
    EXPECT_EQ(copy.ReadPixel(17, 9), png->ReadPixel(17, 9));
    EXPECT_NE(copy.DIBSection(), png->DIBSection());
}

TEST(PngObjectRegistry, LoadFromFileOfPngInAnyCaseGivesAPngObject)
{
    TStartup startup;
    AddPngStartupStep(startup);
    startup.Start();
    testsupport::TempFolderTest::SetUpTestSuite();
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    for (const wchar_t* ext : {L".png", L".PNG", L".Png"}) {
        std::wstring path = std::wstring(temp) + L"velmora-png-test" + ext;
        testsupport::WriteFileBytes(path, ReadFile(SuitePath("basn2c08.png")));
        TPicture picture;
        picture.LoadFromFile(path);
        EXPECT_NE(dynamic_cast<TPNGObject*>(picture.Graphic()), nullptr);
        EXPECT_EQ(picture.Width(), 32);
        DeleteFileW(path.c_str());
    }
    EXPECT_NE(TPicture::GraphicFilter(nullptr).find(L"Portable Network Graphics"), std::wstring::npos);
    startup.Finish();
    EXPECT_EQ(TPicture::FileFormatOf(L"png"), nullptr);
}
