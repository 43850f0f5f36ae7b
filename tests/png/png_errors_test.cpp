// Every codec failure: crafted and damaged files against the exception class and the exact message each
// must raise. Built natively under the sanitizers and into png_tests under Wine.
#include "png/PngCore.h"
#include "tests/png/png_test_util.h"

#include <gtest/gtest.h>

#include <functional>

using namespace pngtest;

namespace {

const Bytes kGrey1x1 = PlainRows(1, Bytes(1, '\x80'));
const std::wstring kNotPng = L"Это не PNG картинка";
const std::wstring kCannotLoad = L"PNG картинка не может быть загружена";
const std::wstring kZlib = L"Невозможно декомпрессировать картинку.\r\n Описание: ";
const std::wstring kBadPalette = L"PNG картинка содержит неверную палитру";
const std::wstring kChunkBeyondEnd = L"PNG картинка повреждена: блок данных длиннее файла";

struct TErrorCase {
    std::string Label;
    std::function<Bytes()> File;
    std::wstring ClassName;
    std::wstring Message;
};

Bytes WithHeaderByte(int index, char value)
{
    Bytes d = Ihdr(1, 1, 8, 0).substr(8, 13);
    d[std::size_t(index)] = value;
    return Png(Chunk("IHDR", d), kGrey1x1);
}

Bytes SplitByText()
{
    Bytes stream = Zlib(PlainRows(4, Bytes(4, '\x10')));
    return Signature() + Ihdr(4, 4, 8, 0) + Chunk("IDAT", stream.substr(0, 5)) + Chunk("tEXt", "a\0b") +
           Chunk("IDAT", stream.substr(5)) + Chunk("IEND", "");
}

Bytes DamagedZlibHeader()
{
    Bytes stream = Zlib(PlainRows(4, Bytes(4, '\x10')));
    stream[0] = '\x79'; // a header that fails its check
    return Signature() + Ihdr(4, 4, 8, 0) + Chunk("IDAT", stream) + Chunk("IEND", "");
}

Bytes Truncated(std::size_t dropped)
{
    Bytes png = Png(Ihdr(1, 1, 8, 0), kGrey1x1);
    return png.substr(0, png.size() - dropped);
}

std::vector<TErrorCase> Cases()
{
    std::vector<TErrorCase> cases = {
        {"WrongSignature",
         [] {
             Bytes png = Png(Ihdr(1, 1, 8, 0), kGrey1x1);
             png[1] = 'Q';
             return png;
         },
         L"EPNGInvalidFileHeader", L"Этот файл не является верной PNG картинкой"},
        {"EmptyFile", [] { return Bytes(); }, L"EPNGInvalidFileHeader", L"Этот файл не является верной PNG картинкой"},
        {"ImageDataCrc",
         [] {
             Bytes png = Png(Ihdr(1, 1, 8, 0), kGrey1x1);
             png[png.size() - 12 - 1] ^= 1; // last CRC byte of the IDAT
             return png;
         },
         L"EPngInvalidCRC", kNotPng},
        {"ShortHeader", [] { return Signature() + Chunk("IHDR", Bytes(12, '\0')) + Chunk("IEND", ""); },
         L"EPngInvalidIHDR", kCannotLoad},
        {"FourBitRgb", [] { return Png(Ihdr(1, 1, 4, 2), kGrey1x1); }, L"EPngInvalidIHDR", kCannotLoad},
        {"ColourTypeFive", [] { return Png(Ihdr(1, 1, 8, 5), kGrey1x1); }, L"EPngInvalidIHDR", kCannotLoad},
        {"SixteenBitPalette", [] { return Png(Ihdr(1, 1, 16, 3), kGrey1x1); }, L"EPngInvalidIHDR", kCannotLoad},
        {"ImageDataInterrupted", SplitByText, L"EPNGMissingMultipleIDAT", kCannotLoad},
        {"DamagedZlibHeader", DamagedZlibHeader, L"EPNGZLIBError", kZlib + L"data error (-3)"},
        {"PresetDictionaryInImageData",
         [] {
             return Signature() + Ihdr(4, 4, 8, 0) + Chunk("IDAT", Zlib(PlainRows(4, Bytes(4, '\x10')), 6, "dict")) +
                    Chunk("IEND", "");
         },
         L"EPNGZLIBError", kZlib + L"need dictionary (2)"},
        {"PaletteOf769Bytes", [] { return Png(Ihdr(1, 1, 8, 3), kGrey1x1, Chunk("PLTE", Bytes(769, '\1'))); },
         L"EPNGInvalidPalette", kBadPalette},
        {"PaletteOf257Entries", [] { return Png(Ihdr(1, 1, 8, 3), kGrey1x1, Chunk("PLTE", Bytes(771, '\1'))); },
         L"EPNGInvalidPalette", kBadPalette},
        {"PaletteOfFourBytes", [] { return Png(Ihdr(1, 1, 8, 3), kGrey1x1, Chunk("PLTE", Bytes(4, '\1'))); },
         L"EPNGInvalidPalette", kBadPalette},
        {"TransparencyOf257Bytes",
         [] {
             return Png(Ihdr(1, 1, 8, 3), kGrey1x1, Chunk("PLTE", Bytes(3, '\1')) + Chunk("tRNS", Bytes(257, '\0')));
         },
         L"EPNGInvalidPalette", kBadPalette},
        {"GammaBeforeHeader",
         [] {
             return Signature() + Chunk("gAMA", BigEndian32(45455)) + Ihdr(1, 1, 8, 0) + Idats(Zlib(kGrey1x1)) +
                    Chunk("IEND", "");
         },
         L"EPNGIHDRNotFirst", L"PNG картинка не поддерживается или повреждена"},
        {"Width65536", [] { return Png(Ihdr(65536, 1, 8, 0), kGrey1x1); }, L"EPNGSizeExceeds",
         L"PNG картинка имеет недопустимый размер"},
        {"NegativeHeight", [] { return Png(Ihdr(1, 0x80000000u, 8, 0), kGrey1x1); }, L"EPNGSizeExceeds",
         L"PNG картинка имеет недопустимый размер"},
        {"UnknownCriticalChunk", [] { return Png(Ihdr(1, 1, 8, 0), kGrey1x1, Chunk("XYZW", "x")); },
         L"EPNGUnknownCriticalChunk", L""},
        {"CompressionMethodOne", [] { return WithHeaderByte(10, 1); }, L"EPNGUnknownCompression", L""},
        {"InterlaceMethodTwo", [] { return WithHeaderByte(12, 2); }, L"EPNGUnknownInterlace", L""},
        {"EndMissing", [] { return Truncated(12); }, L"EPngUnexpectedEnd", L""},
        {"EndCut", [] { return Truncated(14); }, L"EPngUnexpectedEnd", kChunkBeyondEnd},
        {"ImageDataCut", [] { return Truncated(30); }, L"EPngUnexpectedEnd", L""},
        {"HeaderCut", [] { return Png(Ihdr(1, 1, 8, 0), kGrey1x1).substr(0, 20); }, L"EPngUnexpectedEnd", kChunkBeyondEnd},
        {"TextLengthBeyondTheFile",
         [] { return Signature() + Ihdr(1, 1, 8, 0) + BigEndian32(0x7FFFFFF0) + "tEXt" + "abc"; },
         L"EPngUnexpectedEnd", kChunkBeyondEnd},
        {"ImageDataLengthBeyondTheFile",
         [] { return Signature() + Ihdr(1, 1, 8, 0) + BigEndian32(0xFFFFFFFF) + "IDAT" + "abc"; },
         L"EPngUnexpectedEnd", kChunkBeyondEnd},
        {"HeaderAndEndOnly", [] { return Signature() + Ihdr(1, 1, 8, 0) + Chunk("IEND", ""); }, L"EPNGNoImageData",
         L""},
        {"LargestRgbaImage", [] { return Png(Ihdr(65535, 65535, 16, 6), kGrey1x1); }, L"EPNGOutMemory", L""},
        // Damaged files that come with the suite images.
        {"SuiteFileWithBadCrc", [] { return ReadFile(SuiteExtraPath("invalid-crc32.png")); }, L"EPngInvalidCRC",
         kNotPng},
        {"SuiteFileWithoutEnd", [] { return ReadFile(SuiteExtraPath("invalid-noend.png")); }, L"EPngUnexpectedEnd",
         L""},
        {"SuiteFileCutShort", [] { return ReadFile(SuiteExtraPath("invalid-trunc.png")); }, L"EPngUnexpectedEnd",
         kChunkBeyondEnd},
        {"SuiteFileWithBadZlib", [] { return ReadFile(SuiteExtraPath("invalid-zlib.png")); }, L"EPNGZLIBError",
         kZlib + L"data error (-3)"},
    };
    // Every single flipped bit of the header's CRC.
    for (int bit = 0; bit < 32; ++bit) {
        std::string label = "HeaderCrcBit";
        label += std::to_string(bit);
        cases.push_back({label,
                         [bit] {
                             Bytes png = Png(Ihdr(1, 1, 8, 0), kGrey1x1);
                             png[8 + 8 + 13 + std::size_t(bit / 8)] ^= char(1 << (bit % 8));
                             return png;
                         },
                         L"EPngInvalidCRC", kNotPng});
    }
    return cases;
}

class PngErrors : public ::testing::TestWithParam<TErrorCase> {};

} // namespace

TEST_P(PngErrors, RaisesItsClassWithItsMessage)
{
    const TErrorCase& c = GetParam();
    TPNGCore image;
    try {
        Load(image, c.File());
        FAIL() << "no exception";
    } catch (const Exception& e) {
        EXPECT_EQ(e.ClassName(), c.ClassName);
        EXPECT_EQ(e.Message(), c.Message);
    }
}

INSTANTIATE_TEST_SUITE_P(Files, PngErrors, ::testing::ValuesIn(Cases()),
                         [](const ::testing::TestParamInfo<TErrorCase>& info) { return info.param.Label; });

TEST(PngErrorsOutsideLoading, MissingHeaderPaletteEntryAndForeignAssign)
{
    TPNGCore empty;
    EXPECT_THROW(empty.Header(), EPNGHeaderNotPresent);
    TPNGCore image;
    Load(image, Png(Ihdr(1, 1, 8, 3), kGrey1x1, Chunk("PLTE", Bytes(6, '\1'))));
    auto* plte = image.Chunks.FirstOfClass<TChunkPLTE>();
    try {
        plte->PaletteEntry(2);
        FAIL();
    } catch (const EPngError& e) {
        EXPECT_EQ(e.Message(), L"Отсутствует палитра");
    }
    TChunktEXt text(&image);
    try {
        plte->Assign(text);
        FAIL();
    } catch (const EPngError& e) {
        EXPECT_EQ(e.Message(), L"");
    }
}

TEST(PngErrorsOutsideLoading, ChunksReadBeforeAFailureStayListed)
{
    Bytes png = Png(Ihdr(1, 1, 8, 3), kGrey1x1, Chunk("tEXt", Bytes("a\0b", 3)) + Chunk("PLTE", Bytes(4, '\1')));
    TPNGCore image;
    EXPECT_THROW(Load(image, png), EPNGInvalidPalette);
    ASSERT_EQ(image.Chunks.Count(), 3);
    EXPECT_EQ(image.Chunks.Item(2)->Name(), "PLTE");
}

TEST(PngErrorsOutsideLoading, WidthOf65535IsAccepted)
{
    TPNGCore image;
    EXPECT_NO_THROW(Load(image, Png(Ihdr(65535, 1, 1, 0), PlainRows(1, Bytes(8192, '\0')))));
    EXPECT_EQ(image.PngWidth(), 65535);
}

TEST(PngErrorsOutsideLoading, ImageBeyondTheMemoryLimitIsOutMemory)
{
    TPNGCore image;
    image.MaxImageBytes = 1 << 20;
    EXPECT_THROW(Load(image, Png(Ihdr(2000, 2000, 8, 6), kGrey1x1)), EPNGOutMemory);
}

TEST(PngErrorsOutsideLoading, SuiteFileUsingAMissingPaletteEntryLoadsAndReadsBlack)
{
    TPNGCore image;
    ASSERT_NO_THROW(Load(image, ReadFile(SuiteExtraPath("invalid-palette.png"))));
    ASSERT_EQ(image.Chunks.FirstOfClass<TChunkPLTE>()->Count, 255);
    EXPECT_EQ(image.ReadPixelColor(15, 15), 0u); // index 255
    EXPECT_NE(image.ReadPixelColor(14, 15), 0u);
}
