// Bitmaps: BMP files against ImageMagick's decode, row access, pixel formats, drawing.
#include "framework/Graphics.h"

#include "tests/framework/dib_surface.h"
#include "tests/framework/pixel_compare.h"

#include <cstring>

using namespace graphicstest;
using testsupport::LoadPpm;
using testsupport::Pixels24;

namespace {

struct BmpCase {
    const wchar_t* name;
    TPixelFormat format;
};

class BmpFiles : public ::testing::TestWithParam<BmpCase> {};

TEST_P(BmpFiles, DecodeMatchesImageMagickByteForByte)
{
    std::wstring name = GetParam().name;
    TBitmap bitmap;
    bitmap.LoadFromFile(DataFile(name + L".bmp"));
    EXPECT_EQ(bitmap.PixelFormat(), GetParam().format);
    Pixels24 expected = LoadPpm(DataFile(name + L".ppm"));
    Pixels24 actual = PixelsOf(bitmap);
    ASSERT_EQ(actual.width, expected.width);
    ASSERT_EQ(actual.height, expected.height);
    bool same = actual.bgr == expected.bgr;
    if (!same)
        KeepForInspection(actual, testsupport::Narrow(name));
    EXPECT_TRUE(same);
}

TEST_P(BmpFiles, SaveAndLoadKeepsDepthAndPixels)
{
    std::wstring name = GetParam().name;
    TBitmap bitmap;
    bitmap.LoadFromFile(DataFile(name + L".bmp"));
    TMemoryStream stream;
    bitmap.SaveToStream(&stream);
    stream.SetPosition(0);
    TBitmap again;
    again.LoadFromStream(&stream);
    EXPECT_EQ(again.PixelFormat(), bitmap.PixelFormat());
    EXPECT_EQ(PixelsOf(again).bgr, PixelsOf(bitmap).bgr);
    EXPECT_EQ(stream.Position(), stream.Size());
}

INSTANTIATE_TEST_SUITE_P(EveryDepth, BmpFiles,
                         ::testing::Values(BmpCase{L"bmp1", pf1bit}, BmpCase{L"bmp4", pf4bit}, BmpCase{L"bmp8", pf8bit},
                                           BmpCase{L"bmp24", pf24bit}, BmpCase{L"bmp32", pf32bit},
                                           BmpCase{L"bmp32v5", pf32bit}, BmpCase{L"nightshot_iso_100", pf24bit},
                                           BmpCase{L"vgl_6548_0026a", pf24bit}));

std::string FileBytes(const std::wstring& path) { return testsupport::ReadFileBytes(path); }

// The same picture stored top-down: negative height, rows in the other order.
std::string TopDownCopy(const std::string& bmp)
{
    std::string out = bmp;
    std::int32_t width, height;
    std::uint16_t bits;
    std::uint32_t offset;
    std::memcpy(&offset, bmp.data() + 10, 4);
    std::memcpy(&width, bmp.data() + 18, 4);
    std::memcpy(&height, bmp.data() + 22, 4);
    std::memcpy(&bits, bmp.data() + 28, 2);
    std::int32_t negative = -height;
    std::memcpy(out.data() + 22, &negative, 4);
    std::size_t stride = ((width * bits + 31) / 32) * 4;
    for (int y = 0; y < height; ++y)
        std::memcpy(out.data() + offset + y * stride, bmp.data() + offset + (height - 1 - y) * stride, stride);
    return out;
}

TEST(BmpFormat, TopDownFileReadsAsTheBottomUpOne)
{
    for (const wchar_t* name : {L"bmp24", L"bmp8", L"bmp1"}) {
        TMemoryStream stream;
        std::string bytes = TopDownCopy(FileBytes(DataFile(std::wstring(name) + L".bmp")));
        stream.WriteBuffer(bytes.data(), static_cast<std::int32_t>(bytes.size()));
        stream.SetPosition(0);
        TBitmap bitmap;
        bitmap.LoadFromStream(&stream);
        EXPECT_EQ(PixelsOf(bitmap).bgr, LoadPpm(DataFile(std::wstring(name) + L".ppm")).bgr) << name;
    }
}

TEST(BmpFormat, BitmapInsideALargerStreamIsReadFromTheCurrentPosition)
{
    std::string bytes = "PREFIX" + FileBytes(DataFile(L"bmp4.bmp"));
    TMemoryStream stream;
    stream.WriteBuffer(bytes.data(), static_cast<std::int32_t>(bytes.size()));
    stream.SetPosition(6);
    TBitmap bitmap;
    bitmap.LoadFromStream(&stream);
    EXPECT_EQ(PixelsOf(bitmap).bgr, LoadPpm(DataFile(L"bmp4.ppm")).bgr);
}

void ExpectInvalid(const std::string& bytes)
{
    TMemoryStream stream;
    if (!bytes.empty())
        stream.WriteBuffer(bytes.data(), static_cast<std::int32_t>(bytes.size()));
    stream.SetPosition(0);
    TBitmap bitmap;
    EXPECT_THROW(bitmap.LoadFromStream(&stream), EInvalidGraphic);
    EXPECT_TRUE(bitmap.Empty());
}

TEST(BmpFormat, DamagedFilesRaiseInvalidGraphic)
{
    std::string good = FileBytes(DataFile(L"bmp24.bmp"));
    ExpectInvalid("");
    ExpectInvalid("BM");
    ExpectInvalid("not a bitmap at all, just words");
    ExpectInvalid(good.substr(0, good.size() / 2));
    ExpectInvalid(good.substr(0, 40));
    std::string huge = good;
    std::int32_t big = 1 << 30;
    std::memcpy(huge.data() + 18, &big, 4);
    ExpectInvalid(huge);
    std::string badOffset = good;
    std::uint32_t offset = 0xFFFFFFF0u;
    std::memcpy(badOffset.data() + 10, &offset, 4);
    ExpectInvalid(badOffset);
    std::string rle = good;
    std::uint32_t compression = BI_RLE8;
    std::memcpy(rle.data() + 30, &compression, 4);
    ExpectInvalid(rle);
}

TEST(BmpFormat, ResourceBitmapLoadsByName)
{
    TBitmap bitmap;
    bitmap.LoadFromResourceName(GetModuleHandleW(nullptr), L"TEST_BITMAP");
    EXPECT_EQ(bitmap.PixelFormat(), pf4bit);
    EXPECT_EQ(PixelsOf(bitmap).bgr, LoadPpm(DataFile(L"bmp4.ppm")).bgr);
}

TEST(BmpFormat, MissingResourceRaises)
{
    TBitmap bitmap;
    EXPECT_THROW(bitmap.LoadFromResourceName(GetModuleHandleW(nullptr), L"NO_SUCH_BITMAP"), EInvalidGraphic);
}

TEST(ScanLines, RowsAreBottomUpWithAPositiveStrideBetweenThem)
{
    TBitmap bitmap;
    bitmap.SetPixelFormat(pf24bit);
    bitmap.SetSize(10, 5);
    EXPECT_EQ(bitmap.RowStride(), 32);
    auto* row0 = static_cast<std::uint8_t*>(bitmap.ScanLine(0));
    auto* row1 = static_cast<std::uint8_t*>(bitmap.ScanLine(1));
    EXPECT_EQ(row1 - row0, -32);
    EXPECT_EQ(static_cast<std::uint8_t*>(bitmap.ScanLine(4)) - row0, -4 * 32);
}

TEST(ScanLines, MemoryAndCanvasSeeTheSamePixels)
{
    TBitmap bitmap;
    bitmap.SetSize(6, 4);
    bitmap.Canvas()->Brush()->SetColor(clRed);
    bitmap.Canvas()->FillRect(Rect(0, 1, 6, 2));
    auto* row1 = static_cast<std::uint8_t*>(bitmap.ScanLine(1));
    EXPECT_EQ(row1[3 * 2 + 0], 0);
    EXPECT_EQ(row1[3 * 2 + 2], 255);
    auto* row3 = static_cast<std::uint8_t*>(bitmap.ScanLine(3));
    row3[3 * 5 + 0] = 255; // blue
    row3[3 * 5 + 1] = 0;
    row3[3 * 5 + 2] = 0;
    EXPECT_EQ(bitmap.Canvas()->Pixels(5, 3), clBlue);
    EXPECT_EQ(bitmap.Canvas()->Pixels(0, 0), clWhite);
}

TEST(ScanLines, RowOutsideTheBitmapRaises)
{
    TBitmap bitmap;
    EXPECT_THROW(bitmap.ScanLine(0), EInvalidGraphicOperation);
    bitmap.SetSize(3, 3);
    EXPECT_THROW(bitmap.ScanLine(3), EInvalidGraphicOperation);
    EXPECT_THROW(bitmap.ScanLine(-1), EInvalidGraphicOperation);
}

// Rows are looked up once per section: every way of giving the bitmap a new section must lead
// ScanLine to the new one, or pixel code would write into freed memory.
TEST(ScanLines, RowsFollowEveryNewSection)
{
    TBitmap bitmap;
    bitmap.SetSize(4, 4);
    auto writeBlueAt = [&](int x, int y) {
        auto* row = static_cast<std::uint8_t*>(bitmap.ScanLine(y));
        row[3 * x + 0] = 255;
        row[3 * x + 1] = 0;
        row[3 * x + 2] = 0;
        return bitmap.Canvas()->Pixels(x, y);
    };
    EXPECT_EQ(writeBlueAt(1, 1), clBlue);
    bitmap.SetSize(9, 7);
    EXPECT_EQ(writeBlueAt(8, 6), clBlue);
    bitmap.SetPixelFormat(pf32bit);
    auto* row = static_cast<std::uint8_t*>(bitmap.ScanLine(2));
    row[4 * 3 + 0] = 255;
    row[4 * 3 + 1] = row[4 * 3 + 2] = 0;
    EXPECT_EQ(bitmap.Canvas()->Pixels(3, 2), clBlue);
    bitmap.SetPixelFormat(pf24bit);
    EXPECT_EQ(writeBlueAt(0, 0), clBlue);

    TBitmap other;
    other.SetSize(5, 3);
    bitmap.SetHandle(other.ReleaseHandle());
    EXPECT_EQ(writeBlueAt(4, 2), clBlue);
    DeleteObject(bitmap.ReleaseHandle());
    bitmap.SetSize(2, 2);
    EXPECT_EQ(writeBlueAt(1, 0), clBlue);
}

TEST(ScanLines, ThirtyTwoBitRowsHoldFourBytesAPixel)
{
    TBitmap bitmap;
    bitmap.SetPixelFormat(pf32bit);
    bitmap.SetSize(3, 2);
    EXPECT_EQ(static_cast<std::uint8_t*>(bitmap.ScanLine(0)) - static_cast<std::uint8_t*>(bitmap.ScanLine(1)), 12);
}

// A bitmap of six pure colours side by side.
void PaintStripes(TBitmap& bitmap)
{
    static const TColor kColors[] = {clBlack, clWhite, clRed, clLime, clBlue, clYellow};
    bitmap.SetPixelFormat(pf24bit);
    bitmap.SetSize(12, 2);
    for (int i = 0; i < 6; ++i) {
        bitmap.Canvas()->Brush()->SetColor(kColors[i]);
        bitmap.Canvas()->FillRect(Rect(i * 2, 0, i * 2 + 2, 2));
    }
}

TEST(PixelFormats, PaletteFormatsKeepColoursTheyHold)
{
    for (TPixelFormat format : {pf8bit, pf4bit, pf32bit}) {
        TBitmap bitmap;
        PaintStripes(bitmap);
        Pixels24 before = PixelsOf(bitmap);
        bitmap.SetPixelFormat(format);
        EXPECT_EQ(bitmap.PixelFormat(), format);
        EXPECT_EQ(PixelsOf(bitmap).bgr, before.bgr) << format;
    }
}

TEST(PixelFormats, SixteenBitFormatsLayOutTheirChannelsAsNamed)
{
    struct Case {
        TPixelFormat format;
        std::uint16_t red, green;
    };
    for (Case c : {Case{pf15bit, 0x7C00, 0x03E0}, Case{pf16bit, 0xF800, 0x07E0}}) {
        TBitmap bitmap;
        bitmap.SetPixelFormat(c.format);
        bitmap.SetSize(2, 1);
        bitmap.Canvas()->SetPixel(0, 0, clRed);
        bitmap.Canvas()->SetPixel(1, 0, clLime);
        EXPECT_EQ(bitmap.PixelFormat(), c.format);
        auto* row = static_cast<const std::uint16_t*>(bitmap.ScanLine(0));
        EXPECT_EQ(row[0], c.red);
        EXPECT_EQ(row[1], c.green);
        TBitmap copy;
        copy.Assign(&bitmap);
        EXPECT_EQ(copy.PixelFormat(), c.format);
        EXPECT_EQ(copy.Canvas()->Pixels(1, 0), clLime);
    }
}

TEST(PixelFormats, OneBitKeepsBlackAndWhite)
{
    TBitmap bitmap;
    PaintStripes(bitmap);
    bitmap.SetPixelFormat(pf1bit);
    EXPECT_EQ(bitmap.Canvas()->Pixels(0, 0), clBlack);
    EXPECT_EQ(bitmap.Canvas()->Pixels(2, 0), clWhite);
    TBitmap back;
    back.Assign(&bitmap);
    back.SetPixelFormat(pf24bit);
    EXPECT_EQ(back.Canvas()->Pixels(3, 1), clWhite);
}

TEST(PixelFormats, EightBitBitmapHasAPalette)
{
    TBitmap bitmap;
    bitmap.SetPixelFormat(pf8bit);
    bitmap.SetSize(2, 2);
    HPALETTE palette = bitmap.Palette();
    ASSERT_NE(palette, nullptr);
    EXPECT_EQ(GetPaletteEntries(palette, 0, 0, nullptr), 256u);
    TBitmap truecolor;
    truecolor.SetSize(2, 2);
    EXPECT_EQ(truecolor.Palette(), nullptr);
}

TEST(PixelFormats, PaletteGivenToAPaletteBitmapColoursItsIndexes)
{
    TBitmap bitmap;
    bitmap.SetPixelFormat(pf8bit);
    bitmap.SetSize(2, 1);
    struct {
        LOGPALETTE head;
        PALETTEENTRY more[1];
    } lp{};
    lp.head.palVersion = 0x300;
    lp.head.palNumEntries = 2;
    lp.head.palPalEntry[0] = PALETTEENTRY{10, 20, 30, 0};
    lp.more[0] = PALETTEENTRY{200, 150, 100, 0};
    HPALETTE palette = CreatePalette(&lp.head);
    bitmap.SetPalette(palette);
    EXPECT_EQ(bitmap.Palette(), palette);
    auto* row = static_cast<std::uint8_t*>(bitmap.ScanLine(0));
    row[0] = 0;
    row[1] = 1;
    EXPECT_EQ(bitmap.Canvas()->Pixels(0, 0), RGBToColor(10, 20, 30));
    EXPECT_EQ(bitmap.Canvas()->Pixels(1, 0), RGBToColor(200, 150, 100));
}

TEST(Sizes, ResizingKeepsTheOverlapAndWhitensTheRest)
{
    TBitmap bitmap;
    bitmap.SetSize(4, 4);
    bitmap.Canvas()->Brush()->SetColor(clNavy);
    bitmap.Canvas()->FillRect(Rect(0, 0, 4, 4));
    bitmap.SetSize(8, 3);
    EXPECT_EQ(bitmap.Width(), 8);
    EXPECT_EQ(bitmap.Height(), 3);
    EXPECT_EQ(bitmap.Canvas()->Pixels(3, 2), clNavy);
    EXPECT_EQ(bitmap.Canvas()->Pixels(4, 0), clWhite);
    bitmap.SetWidth(0);
    EXPECT_TRUE(bitmap.Empty());
}

TEST(Sizes, AbsurdSizesRaise)
{
    TBitmap bitmap;
    EXPECT_THROW(bitmap.SetSize(100000, 100000), EInvalidGraphicOperation);
    EXPECT_THROW(bitmap.SetSize(-1, 5), EInvalidGraphicOperation);
}

TEST(Handles, ForeignDeviceBitmapIsTakenOverAndBecomesDibForRows)
{
    HDC screen = GetDC(nullptr);
    HBITMAP ddb = CreateCompatibleBitmap(screen, 5, 4);
    ReleaseDC(nullptr, screen);
    TBitmap bitmap;
    bitmap.SetHandle(ddb);
    EXPECT_EQ(bitmap.HandleType(), bmDDB);
    EXPECT_EQ(bitmap.Width(), 5);
    bitmap.Canvas()->Brush()->SetColor(clGreen);
    bitmap.Canvas()->FillRect(Rect(0, 0, 5, 4));
    bitmap.ScanLine(0);
    EXPECT_EQ(bitmap.HandleType(), bmDIB);
    EXPECT_EQ(bitmap.Canvas()->Pixels(2, 2), clGreen);
    HBITMAP released = bitmap.ReleaseHandle();
    EXPECT_TRUE(bitmap.Empty());
    EXPECT_NE(released, nullptr);
    DeleteObject(released);
}

TEST(Handles, ForeignSectionKeepsItsRowOrderForScanLines)
{
    for (bool topDown : {true, false}) {
        BITMAPINFO bi{};
        bi.bmiHeader.biSize = sizeof bi.bmiHeader;
        bi.bmiHeader.biWidth = 4;
        bi.bmiHeader.biHeight = topDown ? -3 : 3;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 24;
        void* bits = nullptr;
        HBITMAP section = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
        ASSERT_NE(section, nullptr);
        TBitmap bitmap;
        bitmap.SetHandle(section);
        EXPECT_EQ(bitmap.PixelFormat(), pf24bit);
        EXPECT_EQ(bitmap.Height(), 3);
        bitmap.Canvas()->SetPixel(1, 0, clRed);
        auto* top = static_cast<std::uint8_t*>(bitmap.ScanLine(0));
        auto* next = static_cast<std::uint8_t*>(bitmap.ScanLine(1));
        // Pixel code steps from row to row by ScanLine[1] - ScanLine[0], whichever way that goes.
        EXPECT_EQ(top, static_cast<std::uint8_t*>(bits) + (topDown ? 0 : 2 * bitmap.RowStride())) << topDown;
        EXPECT_EQ(next - top, topDown ? bitmap.RowStride() : -bitmap.RowStride()) << topDown;
        EXPECT_EQ(top[3 * 1 + 2], 255) << topDown;
        EXPECT_EQ(top[3 * 1 + 0], 0) << topDown;
    }
}

TEST(Copies, AssignCopiesPixelsIntoAnIndependentBitmap)
{
    TBitmap a;
    PaintStripes(a);
    a.SetTransparentColor(clRed);
    a.SetTransparent(true);
    TBitmap b;
    b.Assign(&a);
    EXPECT_EQ(PixelsOf(b).bgr, PixelsOf(a).bgr);
    EXPECT_TRUE(b.Transparent());
    EXPECT_EQ(b.TransparentColor(), clRed);
    b.Canvas()->SetPixel(0, 0, clWhite);
    EXPECT_EQ(a.Canvas()->Pixels(0, 0), clBlack);
}

TEST(Clipboard, BitmapTravelsThroughItsClipboardFormatAsAnIndependentCopy)
{
    TBitmap original;
    PaintStripes(original);
    UINT format = 0;
    HANDLE data = nullptr;
    HPALETTE palette = nullptr;
    original.SaveToClipboardFormat(format, data, palette);
    EXPECT_EQ(format, static_cast<UINT>(CF_BITMAP));
    ASSERT_NE(data, nullptr);
    EXPECT_NE(data, original.Handle());

    TBitmap pasted;
    pasted.LoadFromClipboardFormat(format, data, palette);
    // The clipboard keeps its own handle: the pasted bitmap must not depend on it.
    DeleteObject(data);
    EXPECT_EQ(PixelsOf(pasted).bgr, PixelsOf(original).bgr);
}

TEST(Clipboard, DataOfAnotherFormatRaisesInvalidGraphic)
{
    TBitmap bitmap;
    PaintStripes(bitmap);
    HGLOBAL text = GlobalAlloc(GMEM_MOVEABLE, 8);
    EXPECT_THROW(bitmap.LoadFromClipboardFormat(CF_UNICODETEXT, text, nullptr), EInvalidGraphic);
    EXPECT_THROW(bitmap.LoadFromClipboardFormat(CF_BITMAP, nullptr, nullptr), EInvalidGraphic);
    GlobalFree(text);
    EXPECT_EQ(bitmap.Width(), 12);
}

TEST(Drawing, TransparentBitmapLeavesItsKeyColourOut)
{
    TBitmap sprite;
    sprite.SetSize(4, 4);
    sprite.Canvas()->Brush()->SetColor(clFuchsia);
    sprite.Canvas()->FillRect(Rect(0, 0, 4, 4));
    sprite.Canvas()->Brush()->SetColor(clRed);
    sprite.Canvas()->FillRect(Rect(1, 1, 3, 3));
    EXPECT_EQ(sprite.TransparentMode(), tmAuto);
    EXPECT_EQ(sprite.TransparentColor(), clFuchsia);
    sprite.SetTransparent(true);

    TBitmap target;
    target.SetSize(8, 8);
    target.Canvas()->Draw(2, 2, &sprite);
    EXPECT_EQ(target.Canvas()->Pixels(2, 2), clWhite);
    EXPECT_EQ(target.Canvas()->Pixels(3, 3), clRed);
    EXPECT_EQ(target.Canvas()->Pixels(4, 4), clRed);
    EXPECT_EQ(target.Canvas()->Pixels(5, 5), clWhite);
}

TEST(Drawing, StretchDrawScalesToTheRectangle)
{
    TBitmap source;
    PaintStripes(source);
    TBitmap target;
    target.SetSize(24, 4);
    target.Canvas()->StretchDraw(Rect(0, 0, 24, 4), &source);
    EXPECT_EQ(target.Canvas()->Pixels(1, 1), clBlack);
    EXPECT_EQ(target.Canvas()->Pixels(9, 3), clRed);
    EXPECT_EQ(target.Canvas()->Pixels(23, 3), clYellow);
}

TEST(Drawing, ChangesThroughTheCanvasNotifyTheBitmap)
{
    TBitmap bitmap;
    bitmap.SetSize(2, 2);
    int changes = 0;
    bitmap.OnChange = [&](TObject*) { ++changes; };
    bitmap.Canvas()->FillRect(Rect(0, 0, 1, 1));
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(bitmap.Modified());
}

} // namespace
