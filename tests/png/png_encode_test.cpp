// The encoder's choices: each row's filter against a plain reading of the rule, the deflate window by the kind
// of image, and round trips of photo-like images. Built natively under the sanitizers and into png_tests.
#include "png/PngCore.h"
#include "tests/png/png_test_util.h"

#include <gtest/gtest.h>

#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <random>

using namespace pngtest;

namespace {

struct TLayout {
    int ColorType, Depth, Channels;
    int Bytes() const { return Channels * Depth / 8; }
};
const TLayout kGrey8{0, 8, 1}, kGreyAlpha8{4, 8, 2}, kRgb8{2, 8, 3}, kRgba8{6, 8, 4}, kRgb16{2, 16, 3},
    kRgba16{6, 16, 4};

// Unfiltered sample rows of a photo-like image: smooth colour plus a few levels of noise, as a camera gives.
// Sixteen-bit samples have zero low bytes, the only ones the DIB keeps.
Bytes PhotoSamples(int w, int h, const TLayout& l, unsigned seed = 7)
{
    std::mt19937 random(seed);
    Bytes rows;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            for (int c = 0; c < l.Channels; ++c) {
                double smooth = 120 + 90 * std::sin(x * 0.013 + c) * std::cos(y * 0.021 - c);
                int v = std::clamp(int(smooth) + int(random() % 9) - 4, 0, 255);
                rows += char(v);
                if (l.Depth == 16)
                    rows += char(0);
            }
    return rows;
}

// Unfiltered rows of a drawn image: flat bands with a repeating pattern.
Bytes DrawnSamples(int w, int h, const TLayout& l)
{
    Bytes rows;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            for (int c = 0; c < l.Channels; ++c) {
                rows += char(((x / 16 + y / 8) % 3) * 60 + c * 20 + ((x % 64) < 4 ? 100 : 0));
                if (l.Depth == 16)
                    rows += char(0);
            }
    return rows;
}

Bytes WithFilterBytes(const Bytes& samples, std::size_t rowSize)
{
    Bytes rows;
    for (std::size_t at = 0; at < samples.size(); at += rowSize)
        rows += char(0) + samples.substr(at, rowSize);
    return rows;
}

Bytes PngOf(const Bytes& samples, int w, int h, const TLayout& l, const Bytes& extra = Bytes())
{
    std::size_t rowSize = std::size_t(w) * std::size_t(l.Bytes());
    return Png(Ihdr(std::uint32_t(w), std::uint32_t(h), l.Depth, l.ColorType), WithFilterBytes(samples, rowSize),
               extra);
}

int Predict(int kind, int a, int b, int c)
{
    switch (kind) {
    case 1:
        return a;
    case 2:
        return b;
    case 3:
        return (a + b) / 2;
    case 4: {
        int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
        return pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
    }
    default:
        return 0;
    }
}

// The rule, read plainly: every kind of the set filters the row; one kind alone is used as it is; otherwise the
// kind with the most bytes equal to one of the two before them wins, the earliest on ties, None when none counts.
Bytes ReferenceFiltered(const Bytes& samples, std::size_t rowSize, std::size_t step, TFilters set)
{
    Bytes out, prev(rowSize, '\0');
    auto at = [](const Bytes& b, std::size_t i) { return int(std::uint8_t(b[i])); };
    for (std::size_t start = 0; start < samples.size(); start += rowSize) {
        Bytes row = samples.substr(start, rowSize), filtered[5];
        for (int k = 0; k < 5; ++k)
            for (std::size_t i = 0; i < rowSize; ++i) {
                int a = i >= step ? at(row, i - step) : 0, c = i >= step ? at(prev, i - step) : 0;
                filtered[k] += char(at(row, i) - Predict(k, a, at(prev, i), c));
            }
        int chosen = 0, kinds = 0, only = 0;
        for (int k = 0; k < 5; ++k)
            if (set.Contains(TFilter(k))) {
                ++kinds;
                only = k;
            }
        if (kinds == 1) {
            chosen = only;
        } else if (kinds > 1) {
            std::size_t best = 0;
            for (int k = 0; k < 5; ++k) {
                if (!set.Contains(TFilter(k)))
                    continue;
                std::size_t n = 0;
                for (std::size_t j = 2; j < rowSize; ++j)
                    n += filtered[k][j] == filtered[k][j - 1] || filtered[k][j] == filtered[k][j - 2];
                if (n > best) {
                    best = n;
                    chosen = k;
                }
            }
        }
        out += char(chosen) + filtered[chosen];
        prev = row;
    }
    return out;
}

// The window a saved PNG's zlib stream declares, in bytes.
std::size_t ZlibWindow(const Bytes& png)
{
    std::uint8_t cmf = std::uint8_t(ChunkData(png, "IDAT").at(0).at(0));
    return std::size_t(1) << ((cmf >> 4) + 8);
}

const TFilters kAllFilters{TFilter::pfNone, TFilter::pfSub, TFilter::pfUp, TFilter::pfAverage, TFilter::pfPaeth};

} // namespace

// ---- the filter of each row ----

struct TFilterCase {
    TLayout Layout;
    TFilters Set;
};

class PngEncodeFilters : public ::testing::TestWithParam<TFilterCase> {};

TEST_P(PngEncodeFilters, RowsAreFilteredAndChosenByTheRule)
{
    const TFilterCase& t = GetParam();
    const int w = 37, h = 9;
    std::size_t rowSize = std::size_t(w) * std::size_t(t.Layout.Bytes());
    // Photo rows, then drawn ones: the kinds win different rows.
    Bytes samples = PhotoSamples(w, h, t.Layout) + DrawnSamples(w, h, t.Layout);
    TPNGCore image;
    Load(image, PngOf(samples, w, 2 * h, t.Layout));
    image.RowFilters = t.Set;
    std::size_t step = std::size_t(std::max(1, t.Layout.Bytes()));
    EXPECT_EQ(DecompressIdat(Save(image)), ReferenceFiltered(samples, rowSize, step, t.Set));
}

INSTANTIATE_TEST_SUITE_P(
    LayoutsAndSets, PngEncodeFilters,
    ::testing::Values(TFilterCase{kRgb8, TFilters{TFilter::pfSub}}, TFilterCase{kRgb8, TFilters{TFilter::pfAverage}},
                      TFilterCase{kRgb8, TFilters{TFilter::pfPaeth}}, TFilterCase{kRgb8, kAllFilters},
                      TFilterCase{kRgba8, kAllFilters}, TFilterCase{kGrey8, kAllFilters},
                      TFilterCase{kGreyAlpha8, kAllFilters}, TFilterCase{kRgb16, kAllFilters},
                      TFilterCase{kRgba16, TFilters{TFilter::pfUp, TFilter::pfPaeth}},
                      TFilterCase{kRgba8, TFilters{TFilter::pfNone, TFilter::pfAverage}},
                      TFilterCase{kRgb8, TFilters{TFilter::pfSub, TFilter::pfUp}}, TFilterCase{kRgb8, TFilters{}}));

// ---- the deflate window ----

TEST(PngEncodeWindow, PhotoRowsAreDeflatedOverTheRowsAbove)
{
    TPNGCore image;
    Load(image, PngOf(PhotoSamples(1000, 40, kRgb8), 1000, 40, kRgb8));
    EXPECT_EQ(ZlibWindow(Save(image)), 8192u);
}

TEST(PngEncodeWindow, WidePhotoRowsStillReachTheRowBefore)
{
    // 3000 RGB pixels make rows of 9001 bytes with their filter byte.
    TPNGCore image;
    Load(image, PngOf(PhotoSamples(3000, 12, kRgb8), 3000, 12, kRgb8));
    EXPECT_EQ(ZlibWindow(Save(image)), 16384u);
}

TEST(PngEncodeWindow, DrawnImagesSmallImagesAndUnfilteredRowsKeepTheFullWindow)
{
    TPNGCore drawn;
    Load(drawn, PngOf(DrawnSamples(1000, 40, kRgb8), 1000, 40, kRgb8));
    EXPECT_EQ(ZlibWindow(Save(drawn)), 32768u);
    TPNGCore small;
    Load(small, PngOf(PhotoSamples(40, 40, kRgb8), 40, 40, kRgb8));
    EXPECT_EQ(ZlibWindow(Save(small)), 32768u);
    TPNGCore unfiltered;
    Load(unfiltered, PngOf(PhotoSamples(1000, 40, kRgb8), 1000, 40, kRgb8));
    unfiltered.RowFilters = TFilters{TFilter::pfNone};
    EXPECT_EQ(ZlibWindow(Save(unfiltered)), 32768u);
}

TEST(PngEncodeWindow, TheShortWindowWritesNoLargerPhotoFiles)
{
    // The same filtered rows deflated at the image's level with zlib's plain settings.
    Bytes samples = PhotoSamples(1000, 60, kRgba8);
    TPNGCore image;
    Load(image, PngOf(samples, 1000, 60, kRgba8));
    Bytes saved = Save(image);
    Bytes rows = DecompressIdat(saved);
    Bytes plain(compressBound(uLong(rows.size())), '\0');
    uLongf plainSize = uLongf(plain.size());
    compress2(reinterpret_cast<Bytef*>(plain.data()), &plainSize, reinterpret_cast<const Bytef*>(rows.data()),
              uLong(rows.size()), image.DeflateLevel);
    std::size_t ours = 0;
    for (const Bytes& d : ChunkData(saved, "IDAT"))
        ours += d.size();
    EXPECT_LE(ours, plainSize);
}

// ---- round trips ----

TEST(PngEncodeRoundTrip, PhotoImagesComeBackBitExactWithEveryFilterSetAndInterlace)
{
    for (const TLayout& l : {kRgb8, kRgba8, kRgb16, kGreyAlpha8}) {
        TPNGCore source;
        Load(source, PngOf(PhotoSamples(700, 30, l), 700, 30, l));
        for (TFilters set : {TFilters{TFilter::pfSub}, kAllFilters})
            for (int interlace : {0, 1}) {
                source.RowFilters = set;
                source.InterlaceMethod = std::uint8_t(interlace);
                TPNGCore again;
                Load(again, Save(source));
                Decoded a = Pixels(source), b = Pixels(again);
                ASSERT_EQ(a.Rgb, b.Rgb) << l.ColorType << "/" << l.Depth << " " << interlace;
                ASSERT_EQ(a.Alpha, b.Alpha) << l.ColorType << "/" << l.Depth << " " << interlace;
            }
    }
}

TEST(PngEncodeRoundTrip, EightBitColourWithGammaIsWrittenThroughTheInverseTable)
{
    for (const TLayout& l : {kRgb8, kRgba8}) {
        TPNGCore image;
        Load(image, PngOf(PhotoSamples(50, 4, l), 50, 4, l, Chunk("gAMA", BigEndian32(60000))));
        image.RowFilters = TFilters{TFilter::pfNone};
        Bytes rows = DecompressIdat(Save(image));
        const TChunkIHDR* h = image.HeaderOrNull();
        std::size_t rowSize = 50u * std::size_t(l.Channels);
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 50; ++x) {
                const std::uint8_t* bgr = h->RowAddress(y) + 3 * x;
                const char* png = rows.data() + std::size_t(y) * (rowSize + 1) + 1 + std::size_t(x) * l.Channels;
                ASSERT_EQ(std::uint8_t(png[0]), image.InverseGammaLUT[bgr[2]]) << x << "," << y;
                ASSERT_EQ(std::uint8_t(png[2]), image.InverseGammaLUT[bgr[0]]) << x << "," << y;
            }
    }
}
