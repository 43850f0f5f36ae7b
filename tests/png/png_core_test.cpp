// The codec core: chunk framing and errors, chunk classes, decoding and encoding. Built natively under the
// sanitizers and into png_tests under Wine.
#include "png/PngCore.h"
#include "tests/png/png_test_util.h"

#include <gtest/gtest.h>

#include <zlib.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <functional>
#include <random>

using namespace pngtest;

namespace {

Bytes Rgb8Image(int w, int h)
{
    Bytes rows;
    for (int y = 0; y < h; ++y) {
        rows += char(0);
        for (int x = 0; x < w; ++x) {
            rows += char(x * 7 + y);
            rows += char(y * 5);
            rows += char(x ^ y);
        }
    }
    return Png(Ihdr(std::uint32_t(w), std::uint32_t(h), 8, 2), rows);
}

const Bytes kGrey1x1 = PlainRows(1, Bytes(1, '\x80'));

} // namespace

// ---- chunk classes ----

TEST(PngChunks, RejectedHeaderLeftInTheListHoldsNoImage)
{
    // Found by the fuzzer: a header that failed its checks stayed listed with its undefined depth and
    // colour type, and copying the image made a 78-bit pixel layout from them.
    Bytes d = BigEndian32(32) + BigEndian32(35152) + Bytes("\x4e\x47\x0d\0\0", 5);
    TPNGCore image;
    EXPECT_THROW(Load(image, Signature() + Chunk("IHDR", d) + Chunk("IEND", "")), EPNGUnknownCompression);
    ASSERT_EQ(image.Chunks.Count(), 1);
    TPNGCore copy;
    copy.CopyFromPNG(image);
    EXPECT_EQ(copy.Header()->ImageData, nullptr);
    EXPECT_EQ(copy.ReadPixelColor(1, 1), 0u);
    copy.WritePixelColor(1, 1, 0xFFFFFF);
    EXPECT_NO_THROW(Save(copy));
}

TEST(PngChunks, PaletteTransparencyWithOneZeroIsAKey)
{
    Bytes plte = Chunk("PLTE", Bytes("\xff\0\0\0\xff\0\0\0\xff", 9));
    TPNGCore image;
    Load(image, Png(Ihdr(1, 1, 8, 3), kGrey1x1, plte + Chunk("tRNS", Bytes("\xff\0", 2))));
    EXPECT_EQ(image.TransparencyKind(), TPNGTransparencyKind::ptmBit);
    EXPECT_EQ(image.TransparentColor(), PngRGB(0, 255, 0));
    Load(image, Png(Ihdr(1, 1, 8, 3), kGrey1x1, plte + Chunk("tRNS", Bytes("\xff\x80", 2))));
    EXPECT_EQ(image.TransparencyKind(), TPNGTransparencyKind::ptmPartial);
    Load(image, Png(Ihdr(1, 1, 8, 3), kGrey1x1, plte + Chunk("tRNS", Bytes("\0\0", 2))));
    EXPECT_EQ(image.TransparencyKind(), TPNGTransparencyKind::ptmPartial);
    // Entries past the palette's end name no colour: the chunk is cut to the palette, and saved so.
    Load(image, Png(Ihdr(1, 1, 8, 3), kGrey1x1, plte + Chunk("tRNS", Bytes("\xff\0\xff\0", 4))));
    EXPECT_EQ(image.TransparencyKind(), TPNGTransparencyKind::ptmBit);
    EXPECT_EQ(image.TransparentColor(), PngRGB(0, 255, 0));
    EXPECT_EQ(ChunkData(Save(image), "tRNS").at(0), Bytes("\xff\0\xff", 3));
    Load(image, Png(Ihdr(1, 1, 8, 3), kGrey1x1, Chunk("tRNS", Bytes("\xff\0\xff\0", 4)) + plte));
    EXPECT_EQ(ChunkData(Save(image), "tRNS").at(0), Bytes("\xff\0\xff", 3));
}

TEST(PngChunks, EmptyTransparencyChunkLoadsAndSaves)
{
    // Found by the fuzzer: an empty tRNS copied from a null data block.
    TPNGCore image;
    Load(image, Png(Ihdr(2, 2, 8, 6), PlainRows(2, Bytes(8, '\1')), Chunk("tRNS", "")));
    EXPECT_EQ(image.TransparencyKind(), TPNGTransparencyKind::ptmPartial);
    EXPECT_EQ(ChunkData(Save(image), "tRNS").at(0), "");
}

TEST(PngChunks, GreyKeyIsTheColourTheDibShows)
{
    TPNGCore image;
    Load(image, Png(Ihdr(4, 1, 2, 0), PlainRows(1, Bytes(1, '\x1b')), Chunk("tRNS", Bytes("\0\3", 2))));
    EXPECT_EQ(image.TransparencyKind(), TPNGTransparencyKind::ptmBit);
    EXPECT_EQ(image.TransparentColor(), PngRGB(255, 255, 255));
    EXPECT_EQ(image.ReadPixelColor(3, 0), PngRGB(255, 255, 255));
    Load(image, Png(Ihdr(1, 1, 16, 2), PlainRows(1, Bytes("\x12\x34\x56\x78\x9a\xbc", 6)),
                    Chunk("tRNS", Bytes("\x12\x34\x56\x78\x9a\xbc", 6))));
    EXPECT_EQ(image.TransparentColor(), image.ReadPixelColor(0, 0));
}

// Which pixels a bit-transparent image leaves out, judged on the samples rather than the colours shown.
struct TKeyCase {
    const char* Label;
    Bytes File;
    std::vector<bool> Keyed; // per pixel of the one row
};

class PngKeyPixels : public ::testing::TestWithParam<TKeyCase> {};

TEST_P(PngKeyPixels, OnlyTheKeySamplesAreLeftOut)
{
    const TKeyCase& c = GetParam();
    TPNGCore image;
    Load(image, c.File);
    ASSERT_EQ(image.TransparencyKind(), TPNGTransparencyKind::ptmBit);
    for (std::size_t x = 0; x < c.Keyed.size(); ++x)
        EXPECT_EQ(image.IsKeyPixel(int(x), 0), c.Keyed[x]) << "pixel " << x;
    // Written and read again (the DIB keeps no low bytes), the same pixels are left out.
    TPNGCore again;
    Load(again, Save(image));
    for (std::size_t x = 0; x < c.Keyed.size(); ++x)
        EXPECT_EQ(again.IsKeyPixel(int(x), 0), c.Keyed[x]) << "pixel " << x << " after saving";
}

INSTANTIATE_TEST_SUITE_P(
    Images, PngKeyPixels,
    ::testing::Values(
        // The samples differ from the key 0x8012 in their low byte only, and in the high byte only.
        TKeyCase{"SixteenBitGrey",
                 Png(Ihdr(4, 1, 16, 0), PlainRows(1, Bytes("\x80\x12\x80\x13\x80\x00\x81\x12", 8)),
                     Chunk("tRNS", Bytes("\x80\x12", 2))),
                 {true, false, false, false}},
        TKeyCase{"SixteenBitRgb",
                 Png(Ihdr(3, 1, 16, 2),
                     PlainRows(1, Bytes("\x10\x01\x20\x02\x30\x03"
                                        "\x10\x01\x20\x02\x30\x04"
                                        "\x10\x00\x20\x00\x30\x00",
                                        18)),
                     Chunk("tRNS", Bytes("\x10\x01\x20\x02\x30\x03", 6))),
                 {true, false, false}},
        TKeyCase{"SixteenBitGreyInterlaced",
                 Png(Ihdr(4, 1, 16, 0, 1),
                     Bytes("\0\x80\x12", 3) + Bytes("\0\x80\x12", 3) + Bytes("\0\x80\x13\x81\x12", 5),
                     Chunk("tRNS", Bytes("\x80\x12", 2))),
                 {true, false, true, false}},
        // Entries 0 and 2 have the same colour; only entry 0 is transparent.
        TKeyCase{"PaletteEntryNotItsColour",
                 Png(Ihdr(3, 1, 8, 3), PlainRows(1, Bytes("\0\1\2", 3)),
                     Chunk("PLTE", Bytes("\x11\x22\x33\x44\x55\x66\x11\x22\x33", 9)) +
                         Chunk("tRNS", Bytes("\0", 1))),
                 {true, false, false}},
        TKeyCase{"EightBitGrey", Png(Ihdr(3, 1, 8, 0), PlainRows(1, Bytes("\x40\x41\x40", 3)),
                                      Chunk("tRNS", Bytes("\0\x40", 2))),
                 {true, false, true}},
        // Gamma shows both 254 and 255 as 255: white must stay visible.
        TKeyCase{"EightBitRgbUnderGamma",
                 Png(Ihdr(2, 1, 8, 2), PlainRows(1, Bytes("\xfe\xfe\xfe\xff\xff\xff", 6)),
                     Chunk("gAMA", BigEndian32(100000)) + Chunk("tRNS", Bytes("\0\xfe\0\xfe\0\xfe", 6))),
                 {true, false}},
        TKeyCase{"EightBitRgb",
                 Png(Ihdr(3, 1, 8, 2), PlainRows(1, Bytes("\x10\x20\x30\x10\x20\x31\x10\x20\x30", 9)),
                     Chunk("tRNS", Bytes("\0\x10\0\x20\0\x30", 6))),
                 {true, false, true}}),
    [](const ::testing::TestParamInfo<TKeyCase>& info) { return std::string(info.param.Label); });

TEST(PngChunks, TwoBitGreyKeySurvivesASaveAtFourBits)
{
    // The image is written at the DIB's 4 bits, so the stored key sample must follow the pixels.
    TPNGCore image;
    Load(image, Png(Ihdr(4, 1, 2, 0), PlainRows(1, Bytes(1, '\x1b')), Chunk("tRNS", Bytes("\0\2", 2))));
    EXPECT_EQ(image.TransparentColor(), PngRGB(170, 170, 170));
    Bytes saved = Save(image);
    EXPECT_EQ(ChunkData(saved, "tRNS").at(0), Bytes("\0\x0a", 2));
    EXPECT_EQ(image.TransparentColor(), PngRGB(170, 170, 170));
    TPNGCore again;
    Load(again, saved);
    EXPECT_EQ(again.TransparentColor(), PngRGB(170, 170, 170));
    EXPECT_EQ(again.ReadPixelColor(2, 0), again.TransparentColor());
    EXPECT_EQ(Save(again), saved);
}

TEST(PngChunks, TimeChunkOfWrongSizeLeavesTheDate)
{
    for (std::size_t size : {6u, 8u}) {
        TPNGCore image;
        Load(image, Png(Ihdr(1, 1, 8, 0), kGrey1x1, Chunk("tIME", Bytes(size, '\5'))));
        auto* t = image.Chunks.FirstOfClass<TChunktIME>();
        ASSERT_NE(t, nullptr);
        EXPECT_EQ(t->Year, 0);
        EXPECT_EQ(t->Second, 0);
    }
}

TEST(PngChunks, SavedTimeReloadsAndCopiesKeepIt)
{
    TPNGCore image;
    Load(image, Png(Ihdr(1, 1, 8, 0), kGrey1x1, Chunk("tIME", Bytes("\x07\xea\x0c\x08\x0d\x1e\x3b", 7))));
    TPNGCore copy;
    copy.CopyFromPNG(image);
    auto* t = copy.Chunks.FirstOfClass<TChunktIME>();
    EXPECT_EQ(t->Year, 2026);
    EXPECT_EQ(t->Second, 59);
    TPNGCore again;
    Load(again, Save(copy));
    auto* t2 = again.Chunks.FirstOfClass<TChunktIME>();
    EXPECT_EQ(t2->Year, 2026);
    EXPECT_EQ(t2->Month, 12);
    EXPECT_EQ(t2->Minute, 30);
}

TEST(PngChunks, TextWithoutSeparatorIsAllKeyword)
{
    TPNGCore image;
    Load(image, Png(Ihdr(1, 1, 8, 0), kGrey1x1,
                    Chunk("tEXt", "Title") + Chunk("tEXt", Bytes("Author\0Ann", 10)) + Chunk("zTXt", "Comment")));
    auto* first = dynamic_cast<TChunktEXt*>(image.Chunks.Item(1));
    auto* second = dynamic_cast<TChunktEXt*>(image.Chunks.Item(2));
    auto* third = dynamic_cast<TChunkzTXt*>(image.Chunks.Item(3));
    EXPECT_EQ(first->Keyword, "Title");
    EXPECT_EQ(first->Text, "");
    EXPECT_EQ(second->Keyword, "Author");
    EXPECT_EQ(second->Text, "Ann");
    ASSERT_NE(third, nullptr);
    EXPECT_EQ(third->Keyword, "Comment");
    EXPECT_EQ(third->Text, "");
}

TEST(PngChunks, ShortTextChunksAreWrittenBackAlike)
{
    Bytes extra = Chunk("tEXt", Bytes("a\0", 2)) + Chunk("tEXt", Bytes("c\0d", 3));
    TPNGCore image;
    Load(image, Png(Ihdr(1, 1, 8, 0), kGrey1x1, extra));
    EXPECT_EQ(dynamic_cast<TChunktEXt*>(image.Chunks.Item(1))->Keyword, "a");
    EXPECT_NE(Save(image).find(extra), Bytes::npos);
}

TEST(PngChunks, DamagedCompressedTextLoadsEmpty)
{
    TPNGCore image;
    EXPECT_NO_THROW(Load(image, Png(Ihdr(1, 1, 8, 0), kGrey1x1, Chunk("zTXt", Bytes("key\0\0garbage!", 13)))));
    auto* z = image.Chunks.FirstOfClass<TChunkzTXt>();
    EXPECT_EQ(z->Keyword, "key");
    EXPECT_EQ(z->Text, "");
}

TEST(PngChunks, CompressedTextNeedingAPresetDictionaryLoadsEmptyAndTheImageStillLoads)
{
    // No dictionary can be given to a text chunk: the text is lost, not the picture.
    TPNGCore image;
    EXPECT_NO_THROW(
        Load(image, Png(Ihdr(1, 1, 8, 0), kGrey1x1, Chunk("zTXt", Bytes("key\0\0", 5) + Zlib("text", 6, "dict")))));
    auto* z = image.Chunks.FirstOfClass<TChunkzTXt>();
    ASSERT_NE(z, nullptr);
    EXPECT_EQ(z->Keyword, "key");
    EXPECT_EQ(z->Text, "");
    EXPECT_NE(image.Chunks.FirstOfClass<TChunkIDAT>(), nullptr);
}

TEST(PngChunks, LongCompressedTextSurvivesASaveAndLoad)
{
    std::mt19937 random(7);
    std::string text;
    for (int i = 0; i < 3000; ++i)
        text += char('a' + random() % 26);
    TPNGCore image;
    Load(image, Png(Ihdr(1, 1, 8, 0), kGrey1x1, Chunk("zTXt", Bytes("Comment\0\0", 9) + Zlib(text))));
    EXPECT_EQ(image.Chunks.FirstOfClass<TChunkzTXt>()->Text, text);
    Bytes saved = Save(image);
    EXPECT_GT(ChunkData(saved, "zTXt").at(0).size(), 256u);
    TPNGCore again;
    Load(again, saved);
    EXPECT_EQ(again.Chunks.FirstOfClass<TChunkzTXt>()->Text, text);
}

TEST(PngChunks, UnknownAncillaryChunksAndTextAreWrittenBackByteIdentical)
{
    Bytes extra = Chunk("tEXt", Bytes("Title\0Soup", 10)) + Chunk("prVt", Bytes("\0\1\2\3 private", 12)) +
                  Chunk("tIME", Bytes("\x07\xea\x0c\x08\x0d\x1e\x3b", 7)) + Chunk("gAMA", BigEndian32(100000));
    TPNGCore image;
    Load(image, Png(Ihdr(2, 2, 8, 0), PlainRows(2, "ab"), extra));
    Bytes saved = Save(image);
    EXPECT_NE(saved.find(extra), Bytes::npos);
}

TEST(PngChunks, ChromaticityIsDropped)
{
    TPNGCore image;
    Load(image, Png(Ihdr(1, 1, 8, 0), kGrey1x1, Chunk("cHRM", Bytes(32, '\1'))));
    EXPECT_EQ(ChunkNames(Save(image)), (std::vector<std::string>{"IHDR", "IDAT", "IEND"}));
}

TEST(PngChunks, GammaFollowsTheFormula)
{
    TPNGCore image;
    Load(image, Png(Ihdr(3, 1, 8, 2), PlainRows(1, Bytes("\x40\x80\xc0\x10\x20\x30\xff\0\x01", 9)),
                    Chunk("gAMA", BigEndian32(100000))));
    for (int i = 0; i < 256; ++i) {
        double expected = std::nearbyint(255.0 * std::pow(i / 255.0, 1.0 / 2.2));
        ASSERT_EQ(image.GammaLUT[i], int(expected)) << i;
    }
    auto g = image.GammaLUT;
    EXPECT_EQ(image.ReadPixelColor(0, 0), PngRGB(g[0x40], g[0x80], g[0xc0]));
    EXPECT_EQ(image.ReadPixelColor(2, 0), PngRGB(255, 0, g[1]));
}

TEST(PngChunks, PaletteColoursGoThroughGammaOnce)
{
    TPNGCore image;
    Load(image, Png(Ihdr(2, 1, 8, 3), Bytes("\0\0\1", 3),
                    Chunk("gAMA", BigEndian32(100000)) + Chunk("PLTE", Bytes("\x40\x80\xc0\x10\x20\x30", 6))));
    auto g = image.GammaLUT;
    EXPECT_EQ(image.ReadPixelColor(0, 0), PngRGB(g[0x40], g[0x80], g[0xc0]));
    EXPECT_EQ(image.ReadPixelColor(1, 0), PngRGB(g[0x10], g[0x20], g[0x30]));
    // The palette is written back through the inverse table: the file's colours come out again.
    EXPECT_EQ(ChunkData(Save(image), "PLTE").at(0), Bytes("\x40\x80\xc0\x10\x20\x30", 6));
}

TEST(PngChunks, MalformedGammaIsIgnored)
{
    for (const Bytes& data : {Bytes(3, '\1'), Bytes(5, '\1'), BigEndian32(0)}) {
        TPNGCore image;
        Load(image, Png(Ihdr(1, 1, 8, 2), PlainRows(1, "\x40\x80\xc0"), Chunk("gAMA", data)));
        EXPECT_EQ(image.ReadPixelColor(0, 0), PngRGB(0x40, 0x80, 0xc0));
    }
}

TEST(PngChunks, EmptyPaletteIsAccepted)
{
    TPNGCore image;
    Load(image, Png(Ihdr(1, 1, 8, 3), kGrey1x1, Chunk("PLTE", "")));
    EXPECT_EQ(image.Chunks.FirstOfClass<TChunkPLTE>()->Count, 0);
    EXPECT_EQ(image.ReadPixelColor(0, 0), 0u); // index beyond the palette reads black
}

// ---- decoding ----

TEST(PngDecode, ImageDataInManySmallChunksDecodesAlike)
{
    Bytes rows;
    for (int y = 0; y < 9; ++y) {
        rows += char(y % 5);
        for (int x = 0; x < 33; ++x)
            rows += char(x * 31 + y * 17);
    }
    TPNGCore one, many;
    Load(one, Png(Ihdr(11, 9, 8, 2), rows));
    Load(many, Png(Ihdr(11, 9, 8, 2), rows, Bytes(), 1));
    Decoded a = Pixels(one), b = Pixels(many);
    EXPECT_EQ(a.Rgb, b.Rgb);
    TPNGCore withEmpty;
    Bytes stream = Zlib(rows);
    Load(withEmpty, Signature() + Ihdr(11, 9, 8, 2) + Chunk("IDAT", stream.substr(0, 3)) + Chunk("IDAT", "") +
                        Chunk("IDAT", stream.substr(3)) + Chunk("IEND", ""));
    EXPECT_EQ(Pixels(withEmpty).Rgb, a.Rgb);
}

TEST(PngDecode, FilterTypeFiveLeavesTheRowAsStored)
{
    TPNGCore image;
    Load(image, Png(Ihdr(3, 1, 8, 0), Bytes("\5\x10\x20\x30", 4)));
    EXPECT_EQ(image.ReadPixelColor(1, 0), PngRGB(0x20, 0x20, 0x20));
}

TEST(PngDecode, EveryFilterTypeIsUndone)
{
    // Row 0 plain, row 1 each filter type applied by hand to the same values.
    const std::uint8_t prev[6] = {10, 20, 30, 40, 50, 60};
    const std::uint8_t want[6] = {15, 27, 33, 200, 7, 99};
    auto paeth = [](int a, int b, int c) {
        int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
        return pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
    };
    for (int type = 1; type <= 4; ++type) {
        Bytes rows = char(0) + Bytes(reinterpret_cast<const char*>(prev), 6) + char(type);
        for (int i = 0; i < 6; ++i) {
            int a = i >= 3 ? want[i - 3] : 0, b = prev[i], c = i >= 3 ? prev[i - 3] : 0;
            int pred = type == 1 ? a : type == 2 ? b : type == 3 ? (a + b) / 2 : paeth(a, b, c);
            rows += char(want[i] - pred);
        }
        TPNGCore image;
        Load(image, Png(Ihdr(2, 2, 8, 2), rows));
        EXPECT_EQ(image.ReadPixelColor(0, 1), PngRGB(15, 27, 33)) << type;
        EXPECT_EQ(image.ReadPixelColor(1, 1), PngRGB(200, 7, 99)) << type;
    }
}

TEST(PngDecode, TwoBitGreyWhiteIsWhite)
{
    TPNGCore image;
    Load(image, Png(Ihdr(4, 1, 2, 0), PlainRows(1, Bytes(1, '\x1b'))));
    EXPECT_EQ(image.Header()->DIBBitsPerPixel(), 4);
    EXPECT_EQ(image.ReadPixelColor(0, 0), PngRGB(0, 0, 0));
    EXPECT_EQ(image.ReadPixelColor(1, 0), PngRGB(85, 85, 85));
    EXPECT_EQ(image.ReadPixelColor(2, 0), PngRGB(170, 170, 170));
    EXPECT_EQ(image.ReadPixelColor(3, 0), PngRGB(255, 255, 255));
}

TEST(PngDecode, ZlibStreamEndingEarlyLeavesMissingRowsZero)
{
    Bytes rows = PlainRows(2, "\x11\x22\x33\x44\x55\x66\x77\x88");
    TPNGCore image;
    EXPECT_NO_THROW(Load(image, Png(Ihdr(2, 4, 8, 6), rows)));
    EXPECT_EQ(image.ReadPixelColor(0, 1), PngRGB(0x11, 0x22, 0x33));
    EXPECT_EQ(image.ReadPixelColor(0, 3), 0u);
    EXPECT_EQ(image.Header()->AlphaRow(3)[0], 0);
}

TEST(PngDecode, TrailingBytesAfterTheImageDataAreTolerated)
{
    Bytes stream = Zlib(kGrey1x1) + "trailing";
    TPNGCore image;
    EXPECT_NO_THROW(Load(image, Signature() + Ihdr(1, 1, 8, 0) + Chunk("IDAT", stream) + Chunk("IDAT", "more") +
                                    Chunk("IEND", "")));
    EXPECT_EQ(image.ReadPixelColor(0, 0), PngRGB(0x80, 0x80, 0x80));
}

TEST(PngDecode, Adam7OfWidthOneSkipsPassesBeyondTheWidth)
{
    // Width 1, height 3: only passes 1 (row 0), 5 (row 2)... of column 0 carry pixels.
    Bytes rows = Bytes("\0\x10", 2) + Bytes("\0\x30", 2) + Bytes("\0\x20", 2);
    TPNGCore image;
    Load(image, Png(Ihdr(1, 3, 8, 0, 1), rows));
    EXPECT_EQ(image.ReadPixelColor(0, 0), PngRGB(0x10, 0x10, 0x10));
    EXPECT_EQ(image.ReadPixelColor(0, 1), PngRGB(0x20, 0x20, 0x20));
    EXPECT_EQ(image.ReadPixelColor(0, 2), PngRGB(0x30, 0x30, 0x30));
}

TEST(PngDecode, PixelsOutsideTheImageReadZero)
{
    TPNGCore image;
    Load(image, Rgb8Image(400, 12));
    EXPECT_EQ(image.ReadPixelColor(300, 10), PngRGB(std::uint8_t(300 * 7 + 10), 50, std::uint8_t(300 ^ 10)));
    EXPECT_EQ(image.ReadPixelColor(400, 0), 0u);
    EXPECT_EQ(image.ReadPixelColor(-1, 0), 0u);
    image.WritePixelColor(400, 0, 0xFFFFFF);
}

TEST(PngDecode, WritePixelUsesTheDibLayout)
{
    TPNGCore grey;
    Load(grey, Png(Ihdr(3, 1, 8, 4), PlainRows(1, Bytes("\x10\xff\x20\xff\x30\xff", 6))));
    grey.WritePixelColor(1, 0, PngRGB(200, 200, 200));
    EXPECT_EQ(grey.ReadPixelColor(0, 0), PngRGB(0x10, 0x10, 0x10));
    EXPECT_EQ(grey.ReadPixelColor(1, 0), PngRGB(200, 200, 200));
    EXPECT_EQ(grey.ReadPixelColor(2, 0), PngRGB(0x30, 0x30, 0x30));
    TPNGCore two;
    Load(two, Png(Ihdr(4, 1, 2, 0), PlainRows(1, Bytes(1, '\0'))));
    two.WritePixelColor(2, 0, PngRGB(250, 250, 250));
    EXPECT_EQ(two.ReadPixelColor(2, 0), PngRGB(255, 255, 255));
    EXPECT_EQ(two.ReadPixelColor(3, 0), 0u);
    TPNGCore palette;
    Load(palette, Png(Ihdr(2, 1, 8, 3), PlainRows(1, Bytes(2, '\0')), Chunk("PLTE", Bytes("\0\0\0\xff\0\0", 6))));
    palette.WritePixelColor(1, 0, PngRGB(250, 250, 250)); // the nearest of the two real entries
    EXPECT_EQ(palette.ReadPixelColor(1, 0), PngRGB(255, 0, 0));
}

// ---- encoding ----

TEST(PngEncode, DefaultFiltersWriteSubOnEveryRow)
{
    TPNGCore image;
    Load(image, Rgb8Image(10, 6));
    Bytes raw = DecompressIdat(Save(image));
    ASSERT_EQ(raw.size(), 6u * 31);
    for (int y = 0; y < 6; ++y)
        EXPECT_EQ(raw[std::size_t(y) * 31], 1);
}

TEST(PngEncode, NoRepeatsChooseNoneEvenWhenNotInTheSet)
{
    TPNGCore image;
    Bytes row;
    for (int x = 0; x < 4; ++x)
        row += Bytes{char(x * 50), char(x * 50 + 90), char(x * 50 + 200)};
    // Sub and Up outputs of this single row have no equal neighbours one or two apart.
    Load(image, Png(Ihdr(4, 1, 8, 2), PlainRows(1, Bytes("\x00\x5a\xc8\x01\x8c\x03\x9f\x11\x2f\x2c\xee\x07", 12))));
    image.RowFilters = TFilters{TFilter::pfSub, TFilter::pfUp};
    Bytes raw = DecompressIdat(Save(image));
    EXPECT_EQ(raw[0], 0);
}

TEST(PngEncode, LongDataIsSplitAtTheIdatLimit)
{
    std::mt19937 random(3);
    Bytes rows;
    for (int y = 0; y < 200; ++y) {
        rows += char(0);
        for (int x = 0; x < 600; ++x)
            rows += char(random());
    }
    TPNGCore image;
    Load(image, Png(Ihdr(200, 200, 8, 2), rows));
    image.SetIdatLimit(100);
    EXPECT_EQ(image.IdatLimit(), 65535);
    auto idats = ChunkData(Save(image), "IDAT");
    ASSERT_GE(idats.size(), 2u);
    for (std::size_t i = 0; i + 1 < idats.size(); ++i)
        EXPECT_EQ(idats[i].size(), 65535u);
    EXPECT_LT(idats.back().size(), 65535u);
}

TEST(PngEncode, HeightZeroWritesOneEmptyZlibStream)
{
    TPNGCore image;
    Load(image, Signature() + Ihdr(5, 0, 8, 2) + Idats(Zlib("")) + Chunk("IEND", ""));
    Bytes saved = Save(image);
    auto idats = ChunkData(saved, "IDAT");
    ASSERT_EQ(idats.size(), 1u);
    EXPECT_EQ(DecompressIdat(saved), "");
}

TEST(PngEncode, DeflateLevelOutsideZlibRangeIsClamped)
{
    TPNGCore image;
    Load(image, Rgb8Image(8, 8));
    image.DeflateLevel = 200;
    TPNGCore again;
    Load(again, Save(image));
    EXPECT_EQ(Pixels(again).Rgb, Pixels(image).Rgb);
}


TEST(PngEncode, EveryFormatFilterSetAndInterlaceRoundTrips)
{
    const TFilters sets[] = {TFilters{}, TFilters{TFilter::pfNone}, TFilters{TFilter::pfSub}, TFilters{TFilter::pfUp},
                             TFilters{TFilter::pfAverage}, TFilters{TFilter::pfPaeth},
                             TFilters{TFilter::pfNone, TFilter::pfSub, TFilter::pfUp, TFilter::pfAverage, TFilter::pfPaeth}};
    for (const TFormat& f : kFormats)
        for (int interlace : {0, 1}) {
            TPNGCore source;
            Load(source, VariedPng(f, 13, 11, interlace));
            for (const TFilters& filters : sets)
                for (int saveInterlace : {0, 1}) {
                    TPNGCore copy;
                    copy.CopyFromPNG(source);
                    copy.RowFilters = filters;
                    copy.InterlaceMethod = std::uint8_t(saveInterlace);
                    TPNGCore again;
                    Load(again, Save(copy));
                    Decoded a = Pixels(source), b = Pixels(again);
                    ASSERT_EQ(a.Rgb, b.Rgb) << f.ColorType << "/" << f.Depth << " " << interlace << saveInterlace;
                    ASSERT_EQ(a.Alpha, b.Alpha) << f.ColorType << "/" << f.Depth;
                }
        }
}

TEST(PngDecode, Adam7DecodesLikeThePlainImage)
{
    for (const TFormat& f : kFormats) {
        TPNGCore plain;
        Load(plain, VariedPng(f, 21, 14, 0));
        TPNGCore interlaced;
        plain.InterlaceMethod = 1;
        Load(interlaced, Save(plain));
        EXPECT_EQ(Pixels(interlaced).Rgb, Pixels(plain).Rgb) << f.ColorType << "/" << f.Depth;
        EXPECT_EQ(Pixels(interlaced).Alpha, Pixels(plain).Alpha);
    }
}

TEST(PngEncode, SixteenBitRgbaUsesTheInverseGammaTableInterlacedToo)
{
    Bytes gama = Chunk("gAMA", BigEndian32(100000));
    for (int interlace : {0, 1}) {
        TPNGCore image;
        Load(image, VariedPng(TFormat{6, 16}, 9, 9, 0, gama));
        image.InterlaceMethod = std::uint8_t(interlace);
        TPNGCore again;
        Load(again, Save(image));
        // Decoding applies the gamma table again; equal pixels mean the encoder undid it on the way out.
        Decoded a = Pixels(image), b = Pixels(again);
        int differing = 0;
        for (std::size_t i = 0; i < a.Rgb.size(); ++i)
            differing += a.Rgb[i] != b.Rgb[i];
        EXPECT_LT(differing, int(a.Rgb.size()) / 4) << interlace;
    }
}

TEST(PngEncode, CopiesKeepBothGammaTables)
{
    TPNGCore image;
    Load(image, Rgb8Image(4, 4).substr(0, 33) + Chunk("gAMA", BigEndian32(60000)) + Rgb8Image(4, 4).substr(33));
    TPNGCore copy;
    copy.CopyFromPNG(image);
    EXPECT_EQ(0, std::memcmp(copy.GammaLUT, image.GammaLUT, 256));
    EXPECT_EQ(0, std::memcmp(copy.InverseGammaLUT, image.InverseGammaLUT, 256));
    EXPECT_EQ(Save(copy), Save(image));
}

// ---- the test-suite files ----

TEST(PngSuite, EveryFileLoadsOrFailsWithACodecError)
{
    auto files = SuiteFiles();
    ASSERT_GT(files.size(), 30u);
    for (const auto& name : files) {
        TPNGCore image;
        try {
            Load(image, ReadFile(SuitePath(name)));
            TPNGCore again;
            Load(again, Save(image));
            EXPECT_EQ(Pixels(again).Rgb, Pixels(image).Rgb) << name;
        } catch (const Exception& e) {
            EXPECT_EQ(name.rfind("x", 0), 0u) << name << ": " << e.what();
        }
    }
}

TEST(PngSuite, InputsFoundByTheFuzzerFailCleanly)
{
    int count = 0;
    for (const auto& e : std::filesystem::directory_iterator(std::filesystem::u8path(std::string(VELMORA_PNGCRASH_DIR)))) {
        TPNGCore image;
        try {
            Load(image, ReadFile(e.path().string()));
            TPNGCore copy;
            copy.CopyFromPNG(image);
            Save(copy);
            for (int y = 0; y < copy.PngHeight() && y < 8; ++y)
                copy.WritePixelColor(y, y, copy.ReadPixelColor(y, y) ^ 0xFFFFFFu);
        } catch (const Exception&) {
        }
        ++count;
    }
    EXPECT_GT(count, 0);
}
