// Test helpers for the PNG codec: building PNG files chunk by chunk, loading them, and reading test files.
#pragma once

#include "png/PngCore.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace pngtest {

using Bytes = std::string;

Bytes BigEndian32(std::uint32_t v);
// One framed chunk with a correct CRC.
Bytes Chunk(const std::string& name, const Bytes& data);
Bytes Signature();
// Rows of Height copies of Row, each with filter byte 0.
Bytes PlainRows(int height, const Bytes& row);
Bytes Ihdr(std::uint32_t width, std::uint32_t height, int depth, int colorType, int interlace = 0);
// A zlib stream of Data at the given level (optionally with a preset dictionary).
Bytes Zlib(const Bytes& data, int level = 6, const Bytes& dictionary = Bytes());
// Splits a zlib stream into IDAT chunks of at most PieceSize bytes (0: one chunk).
Bytes Idats(const Bytes& zlibStream, std::size_t pieceSize = 0);
// A complete PNG: signature, IHDR, extra chunks, IDATs of the raw (filtered) rows, IEND.
Bytes Png(const Bytes& ihdr, const Bytes& rawRows, const Bytes& extraChunks = Bytes(), std::size_t pieceSize = 0);

// Every colour type and depth, and those a transparent colour applies to (grey, RGB, palette).
struct TFormat {
    int ColorType, Depth;
};
inline const TFormat kFormats[] = {{0, 1}, {0, 2}, {0, 4}, {0, 8}, {0, 16}, {2, 8}, {2, 16}, {3, 1}, {3, 2},
                                   {3, 4}, {3, 8}, {4, 8}, {4, 16}, {6, 8}, {6, 16}};
inline const TFormat kKeyFormats[] = {{0, 1}, {0, 2}, {0, 4}, {0, 8}, {0, 16}, {2, 8}, {2, 16}, {3, 2}, {3, 8}};
std::string FormatName(const TFormat& f);
// An image with varied samples (and alpha) in that layout; Extra goes after the palette, BeforePalette
// (gAMA) before it.
Bytes VariedPng(const TFormat& f, int w, int h, int interlace, const Bytes& extra = Bytes(),
                const Bytes& beforePalette = Bytes());
// A 13 x 11 VariedPng whose transparent colour is the sample 0 (palette entry 0), with a gAMA chunk that
// shows many dark samples alike when Gamma is set. Its pixel (kKeyX, kKeyY) shows neither black nor
// entry 0 in any of kKeyFormats.
Bytes KeyedPng(const TFormat& f, bool gamma);
inline constexpr int kKeyX = 6, kKeyY = 2;
// The transparent colours the tests set on KeyedPng: the colour of pixel (kKeyX, kKeyY) in every key
// format, with and without gamma; and black on short palettes that have no black entry, while the unused
// colour-table entries past their end are black.
struct TKeyRow {
    TFormat Format;
    bool Gamma;
    bool Black;
};
std::vector<TKeyRow> KeyRows();
std::string KeyRowName(const TKeyRow& row);
inline TPngColor KeyColourOf(const TKeyRow& row, const TPNGCore& image)
{
    return row.Black ? 0 : image.ReadPixelColor(kKeyX, kKeyY);
}

// Loads bytes into the image; exceptions pass on.
void Load(TPNGCore& image, const Bytes& bytes);
Bytes Save(TPNGCore& image);
// The chunk names of a saved PNG, in order.
std::vector<std::string> ChunkNames(const Bytes& png);
// The data of every chunk named Name.
std::vector<Bytes> ChunkData(const Bytes& png, const std::string& name);
// The image data of a saved PNG: its IDAT chunks joined and inflated (the filtered rows).
Bytes DecompressIdat(const Bytes& png);
// The file with every chunk named Name left out.
Bytes WithoutChunk(const Bytes& png, const std::string& name);

// Reads a whole file (narrow UTF-8 path; under Wine a "Z:" path).
Bytes ReadFile(const std::string& path);
std::string SuitePath(const std::string& name);
// Files that come with the suite images but lie beside its folder (the damaged ones among them).
std::string SuiteExtraPath(const std::string& name);
std::vector<std::string> SuiteFiles();

// All pixels of the image as 0x00BBGGRR colours plus alpha (255 without an alpha plane), top row first.
struct Decoded {
    int Width = 0, Height = 0;
    std::vector<std::uint32_t> Rgb;
    std::vector<std::uint8_t> Alpha;
};
Decoded Pixels(const TPNGCore& image);

// Compares the image with the 16-bit RGBA reference (high bytes), colour through Map.
template <class Map>
inline void ExpectMatchesReference(const TPNGCore& image, const Bytes& ref, const std::string& name, Map map)
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

} // namespace pngtest
