// Test helpers for the PNG codec: building PNG files chunk by chunk, loading them, and reading test files.
#pragma once

#include "png/PngCore.h"

#include <cstdint>
#include <string>
#include <vector>

namespace pngtest {

using Bytes = std::string;

Bytes BigEndian32(std::uint32_t v);
// One framed chunk with a correct CRC.
Bytes Chunk(const std::string& name, const Bytes& data);
Bytes Signature();
Bytes Ihdr(std::uint32_t width, std::uint32_t height, int depth, int colorType, int interlace = 0);
// A zlib stream of Data at the given level (optionally with a preset dictionary).
Bytes Zlib(const Bytes& data, int level = 6, const Bytes& dictionary = Bytes());
// Splits a zlib stream into IDAT chunks of at most PieceSize bytes (0: one chunk).
Bytes Idats(const Bytes& zlibStream, std::size_t pieceSize = 0);
// A complete PNG: signature, IHDR, extra chunks, IDATs of the raw (filtered) rows, IEND.
Bytes Png(const Bytes& ihdr, const Bytes& rawRows, const Bytes& extraChunks = Bytes(), std::size_t pieceSize = 0);

// Loads bytes into the image; exceptions pass on.
void Load(TPNGCore& image, const Bytes& bytes);
Bytes Save(TPNGCore& image);
// The chunk names of a saved PNG, in order.
std::vector<std::string> ChunkNames(const Bytes& png);
// The data of every chunk named Name.
std::vector<Bytes> ChunkData(const Bytes& png, const std::string& name);

// Reads a whole file (narrow UTF-8 path; under Wine a "Z:" path).
Bytes ReadFile(const std::string& path);
std::string SuitePath(const std::string& name);
std::vector<std::string> SuiteFiles();

// All pixels of the image as 0x00BBGGRR colours plus alpha (255 without an alpha plane), top row first.
struct Decoded {
    int Width = 0, Height = 0;
    std::vector<std::uint32_t> Rgb;
    std::vector<std::uint8_t> Alpha;
};
Decoded Pixels(const TPNGCore& image);

} // namespace pngtest
