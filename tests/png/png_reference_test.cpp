// Decoding of the PNG test-suite images, pixel for pixel against ImageMagick's decode of the same files.
#include "png/PngCore.h"
#include "tests/png/png_test_util.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace pngtest;

namespace {

std::string RefPath(const std::string& name)
{
    return std::string(VELMORA_PNGREF_DIR) + "/" + name;
}

std::string Stem(const std::string& name)
{
    return name.substr(0, name.size() - 4);
}

class PngSuiteDecode : public ::testing::TestWithParam<std::string> {};

} // namespace

TEST_P(PngSuiteDecode, MatchesImageMagickBitForBit)
{
    TPNGCore image;
    Load(image, WithoutChunk(ReadFile(SuitePath(GetParam())), "gAMA"));
    ExpectMatchesReference(image, ReadFile(RefPath(Stem(GetParam()) + ".rgba")), GetParam(),
                           [](std::uint8_t v) { return v; });
}

TEST_P(PngSuiteDecode, Adam7DecodesToTheSamePixels)
{
    TPNGCore image;
    Load(image, ReadFile(RefPath(Stem(GetParam()) + "-adam7.png")));
    ASSERT_EQ(image.InterlaceMethod, 1);
    ExpectMatchesReference(image, ReadFile(RefPath(Stem(GetParam()) + ".rgba")), GetParam(),
                           [](std::uint8_t v) { return v; });
}

TEST_P(PngSuiteDecode, GammaIsAppliedAsTheFormulaSays)
{
    Bytes file = ReadFile(SuitePath(GetParam()));
    auto gamas = ChunkData(file, "gAMA");
    if (gamas.empty())
        GTEST_SKIP() << "no gAMA chunk";
    TPNGCore image;
    Load(image, file);
    auto* p = reinterpret_cast<const unsigned char*>(gamas[0].data());
    double value = double((std::uint32_t(p[0]) << 24) | (p[1] << 16) | (p[2] << 8) | p[3]);
    std::uint8_t lut[256];
    for (int i = 0; i < 256; ++i)
        lut[i] = std::uint8_t(std::lrint(255.0 * std::pow(i / 255.0, 1.0 / (value / 100000.0 * 2.2))));
    ExpectMatchesReference(image, ReadFile(RefPath(Stem(GetParam()) + ".rgba")), GetParam(),
                           [&](std::uint8_t v) { return lut[v]; });
}

TEST_P(PngSuiteDecode, ImageDataResplitDecodesAlike)
{
    Bytes file = ReadFile(SuitePath(GetParam()));
    Bytes stream;
    for (const Bytes& d : ChunkData(file, "IDAT"))
        stream += d;
    Bytes head, tail;
    std::size_t first = file.find("IDAT") - 4, last = file.rfind("IEND") - 4;
    head = file.substr(0, first);
    tail = file.substr(last);
    TPNGCore original, small, large;
    Load(original, file);
    Load(small, head + Idats(stream, 7) + tail);
    Load(large, head + Idats(stream) + tail);
    EXPECT_EQ(Pixels(small).Rgb, Pixels(original).Rgb);
    EXPECT_EQ(Pixels(large).Rgb, Pixels(original).Rgb);
    EXPECT_EQ(Pixels(large).Alpha, Pixels(original).Alpha);
}

INSTANTIATE_TEST_SUITE_P(Files, PngSuiteDecode, ::testing::ValuesIn(SuiteFiles()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                             std::string n = info.param.substr(0, info.param.size() - 4);
                             for (char& c : n)
                                 if (!std::isalnum(static_cast<unsigned char>(c)))
                                     c = '_';
                             return n;
                         });
