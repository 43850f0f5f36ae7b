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

// Compares the image with the 16-bit RGBA reference (high bytes), colour through Map.
template <class Map>
void ExpectMatchesReference(const TPNGCore& image, const Bytes& ref, const std::string& name, Map map)
{
    Decoded d = Pixels(image);
    ASSERT_EQ(ref.size(), std::size_t(d.Width) * d.Height * 8) << name;
    const TChunkIHDR* h = image.HeaderOrNull();
    auto* trns = image.Chunks.FirstOfClass<TChunktRNS>();
    int mismatches = 0;
    for (std::size_t i = 0; i < d.Rgb.size() && mismatches < 5; ++i) {
        auto hi = [&](int c) { return std::uint8_t(ref[i * 8 + std::size_t(c) * 2]); };
        std::uint32_t want = PngRGB(map(hi(0)), map(hi(1)), map(hi(2)));
        std::uint8_t alpha = d.Alpha[i];
        if (h->ColorType == 3 && trns) {
            unsigned index = 0;
            int bits = h->DIBBitsPerPixel();
            int x = int(i % std::size_t(d.Width)), y = int(i / std::size_t(d.Width));
            std::size_t bit = std::size_t(x) * bits;
            index = (h->RowAddress(y)[bit >> 3] >> (8 - bits - (bit & 7))) & ((1u << bits) - 1);
            alpha = trns->AlphaValues[index];
        }
        bool keyed = (h->ColorType == 0 || h->ColorType == 2) && trns;
        bool alphaOk = keyed || alpha == hi(3);
        // A transparent pixel's colour is whatever the file holds; ImageMagick may report it otherwise.
        bool colourOk = d.Rgb[i] == want || (!keyed && hi(3) == 0);
        if (!alphaOk || !colourOk) {
            ++mismatches;
            ADD_FAILURE() << name << " pixel " << i << ": got " << std::hex << d.Rgb[i] << "/" << int(alpha)
                          << " want " << want << "/" << int(hi(3));
        }
    }
}

Bytes StripGamma(const Bytes& png)
{
    Bytes out = png.substr(0, 8);
    std::size_t pos = 8;
    while (pos + 12 <= png.size()) {
        auto* p = reinterpret_cast<const unsigned char*>(png.data() + pos);
        std::size_t length = (std::size_t(p[0]) << 24) | (p[1] << 16) | (p[2] << 8) | p[3];
        if (png.compare(pos + 4, 4, "gAMA") != 0)
            out += png.substr(pos, 12 + length);
        pos += 12 + length;
    }
    return out;
}

class PngSuiteDecode : public ::testing::TestWithParam<std::string> {};

} // namespace

TEST_P(PngSuiteDecode, MatchesImageMagickBitForBit)
{
    TPNGCore image;
    Load(image, StripGamma(ReadFile(SuitePath(GetParam()))));
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
