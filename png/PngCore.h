// The window-free half of the PNG picture: the chunk list, gamma tables, encoding settings, loading and
// saving of the chunk sequence and per-pixel access. TPNGObject adds the DIB section and drawing.
#pragma once

#include "png/PngChunks.h"

#include <cstdint>
#include <memory>
#include <vector>

// Row filter kinds and the set of them the encoder may choose from.
enum class TFilter : std::uint8_t { pfNone = 0, pfSub = 1, pfUp = 2, pfAverage = 3, pfPaeth = 4 };
class TFilters {
public:
    constexpr TFilters() = default;
    constexpr TFilters(std::initializer_list<TFilter> kinds)
    {
        for (TFilter k : kinds)
            bits_ |= std::uint8_t(1u << unsigned(k));
    }
    constexpr bool Contains(TFilter k) const { return (bits_ >> unsigned(k)) & 1u; }
    constexpr bool Empty() const { return bits_ == 0; }
    constexpr int Count() const { return __builtin_popcount(bits_); }
    constexpr bool operator==(const TFilters&) const = default;

private:
    std::uint8_t bits_ = 0;
};

enum class TPNGTransparencyKind { ptmNone, ptmBit, ptmPartial };

class TPNGCore;

// Tells the pixels a bit-transparent image leaves out, with the header and the key looked up once: a
// whole image is asked pixel by pixel, and a crafted file may hold thousands of chunks.
class TPngKeyTest {
public:
    explicit TPngKeyTest(const TPNGCore& image);
    bool operator()(int x, int y) const;

private:
    const TChunkIHDR* header_ = nullptr; // the image's, borrowed; null when no pixel is a key
    const std::uint8_t* alphaValues_ = nullptr; // the tRNS entries of a palette image
    int kind_ = 0;                       // which test the image takes (see the constructor)
    int bits_ = 0;                       // bits per DIB pixel
    unsigned greyKey_ = 0;               // the DIB value of a grey key
    std::uint8_t rgbKey_[3] = {};        // blue, green, red of an RGB key as the DIB holds them
};

// The image's chunks, owned by it, in file order.
class TPNGList {
public:
    int Count() const { return int(items_.size()); }
    TChunk* Item(int index) const { return index >= 0 && index < Count() ? items_[index].get() : nullptr; }
    TChunk* Add(std::unique_ptr<TChunk> chunk);
    // Takes the chunk out of the list and hands it to the caller (null when it is not listed).
    std::unique_ptr<TChunk> Remove(TChunk* chunk);
    void Clear();
    template <class T>
    T* FirstOfClass() const
    {
        for (const auto& c : items_)
            if (auto* t = dynamic_cast<T*>(c.get()))
                return t;
        return nullptr;
    }

private:
    std::vector<std::unique_ptr<TChunk>> items_;
};

class TPNGCore {
public:
    TPNGCore();
    virtual ~TPNGCore();
    TPNGCore(const TPNGCore&) = delete;
    TPNGCore& operator=(const TPNGCore&) = delete;

    void LoadFromStream(TStream* stream);
    void SaveToStream(TStream* stream);
    void CopyFromPNG(const TPNGCore& source);
    void FreeChunks();
    void ResetGamma();

    // The first chunk when it is a header, else EPNGHeaderNotPresent.
    TChunkIHDR* Header() const;
    TChunkIHDR* HeaderOrNull() const;
    int PngWidth() const;
    int PngHeight() const;
    bool PngEmpty() const { return Chunks.Count() == 0; }
    TPNGTransparencyKind TransparencyKind() const;
    TPngColor TransparentColor() const;
    // Whether a bit-transparent image leaves this pixel out: the palette entry whose tRNS value is 0 (not
    // every entry of its colour), the grey sample named by tRNS, all 16 bits of a 16-bit key, the RGB
    // samples the file held before gamma.
    bool IsKeyPixel(int x, int y) const;
    // Address of image row Row (0 = top) in the bottom-up DIB.
    std::uint8_t* RowAddress(int row) const;

    // Pixel access in the DIB's own layout; outside the image reads give 0 and writes do nothing.
    TPngColor ReadPixelColor(int x, int y) const;
    void WritePixelColor(int x, int y, TPngColor color);

    int IdatLimit() const { return idatLimit_; }
    void SetIdatLimit(int value) { idatLimit_ = value < 65535 ? 65535 : value; }
    // DeflateLevel clamped to zlib's range.
    int ZlibLevel() const { return DeflateLevel > 9 ? 9 : DeflateLevel; }

    // Called by the header to make pixel memory of Bytes bytes; null when it cannot be had.
    virtual std::unique_ptr<TPngImageStorage> CreateImageStorage(const TPngBitmapInfo& info, std::uint64_t bytes);
    // Called after the header made new pixel memory (cached palette handles are stale then).
    virtual void ImageStorageChanged() {}

    std::uint8_t GammaLUT[256];
    std::uint8_t InverseGammaLUT[256];
    TFilters RowFilters{TFilter::pfSub};
    std::uint8_t DeflateLevel = 7;
    std::uint8_t InterlaceMethod = 0;
    // Pixel and alpha memory above this many bytes is refused with EPNGOutMemory.
    std::uint64_t MaxImageBytes = std::uint64_t(1) << 31;
    TPNGList Chunks;

private:
    int idatLimit_ = 65535;
};
