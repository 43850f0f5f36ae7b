// PNG chunk framing and CRC, the chunk-class registry and the chunk classes other than image data.
#pragma once

#include "framework/Classes.h"
#include "png/PngErrors.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class TPNGCore;
class TChunk;

// The DIB header and colour table, laid out as Win32's BITMAPINFO so the glue can hand it to GDI.
struct TPngRGBQuad {
    std::uint8_t rgbBlue, rgbGreen, rgbRed, rgbReserved;
};
struct TPngBitmapInfoHeader {
    std::uint32_t biSize;
    std::int32_t biWidth;
    std::int32_t biHeight;
    std::uint16_t biPlanes;
    std::uint16_t biBitCount;
    std::uint32_t biCompression;
    std::uint32_t biSizeImage;
    std::int32_t biXPelsPerMeter;
    std::int32_t biYPelsPerMeter;
    std::uint32_t biClrUsed;
    std::uint32_t biClrImportant;
};
struct TPngBitmapInfo {
    TPngBitmapInfoHeader bmiHeader;
    TPngRGBQuad bmiColors[256];
};

// Colours as the framework's TColor holds them: 0x00BBGGRR.
using TPngColor = std::uint32_t;
constexpr TPngColor PngRGB(std::uint8_t r, std::uint8_t g, std::uint8_t b)
{
    return TPngColor(r) | (TPngColor(g) << 8) | (TPngColor(b) << 16);
}

// Pixel memory of the decoded image: a DIB section in the program, plain heap memory in the host build.
class TPngImageStorage {
public:
    virtual ~TPngImageStorage() = default;
    std::uint8_t* Bits = nullptr; // borrowed from the storage's own allocation
};

// Big-endian helpers and the standard CRC-32 of chunks.
std::uint32_t PngReadUInt32(const std::uint8_t* p);
void PngWriteUInt32(std::uint8_t* p, std::uint32_t value);
std::uint32_t PngCrc(std::uint32_t crc, const void* data, std::size_t size);

// Reads exactly Count bytes; a short read raises EPngUnexpectedEnd.
void PngReadExact(TStream* stream, void* buffer, std::int64_t count);
// Raises EPngUnexpectedEnd unless Count more bytes remain in the stream.
void PngRequireAvailable(TStream* stream, std::int64_t count);

// Bytes of Pixels pixels of a PNG row for the colour type and depth (0 for unknown colour types).
std::uint64_t PixelBytesFor(std::uint64_t pixels, int colorType, int bitDepth);

// Whole-buffer zlib helpers of compressed text. Inflate gives False (with the error text) for a damaged
// stream and for one that needs a preset dictionary; output stops at MaxOutput.
bool InflateChunkData(const std::uint8_t* input, std::size_t size, std::string& output, std::wstring& errorText,
                      std::size_t maxOutput = 64u << 20);
bool DeflateWholeBuffer(const std::uint8_t* input, std::size_t size, int level, std::string& output,
                        std::wstring& errorText);

// The chunk classes' factory: each chunk class registers its name and how to make one.
using TChunkFactory = std::unique_ptr<TChunk> (*)(TPNGCore* owner);
struct TChunkClass {
    std::string Name;
    TChunkFactory Create;
};
void AddChunkClass(const TChunkClass& chunkClass);
// The registered class for the 4-character name, else a plain TChunk; its name is then set to Name.
std::unique_ptr<TChunk> NewChunkForName(TPNGCore* owner, const std::string& name);
bool IsRegisteredChunkName(const std::string& name);

// A chunk: name and data. Each class knows how to load, save and copy its own chunk.
class TChunk : public TObject {
    DECLARE_CLASS_NAME(TChunk)
public:
    explicit TChunk(TPNGCore* owner, std::string name = std::string());
    ~TChunk() override = default;
    TChunk(const TChunk&) = delete;
    TChunk& operator=(const TChunk&) = delete;

    // A new, empty chunk of this chunk's class, owned by Owner (how images are copied).
    virtual std::unique_ptr<TChunk> NewInstance(TPNGCore* owner) const;
    virtual void Assign(const TChunk& source);
    virtual bool LoadFromStream(TStream* stream, const std::string& name, std::uint32_t size);
    virtual bool SaveToStream(TStream* stream);

    const std::string& Name() const { return name_; }
    void SetName(const std::string& name) { name_ = name; }
    TPNGCore* Owner() const { return owner_; }
    std::uint8_t* Data() { return data_.data(); }
    const std::uint8_t* Data() const { return data_.data(); }
    std::uint32_t DataSize() const { return std::uint32_t(data_.size()); }
    void SetDataSize(std::uint32_t size);
    void SetData(const void* data, std::size_t size);

protected:
    class TChunkIHDR& HeaderChunk() const;

private:
    TPNGCore* owner_; // borrowed: the image that owns this chunk
    std::string name_;
    std::vector<std::uint8_t> data_;
};

class TChunkIEND : public TChunk {
    DECLARE_CLASS_NAME(TChunkIEND)
public:
    explicit TChunkIEND(TPNGCore* owner) : TChunk(owner, "IEND") {}
    std::unique_ptr<TChunk> NewInstance(TPNGCore* owner) const override;
};

// The header; it owns the decoded image: the DIB pixels, its colour table and the alpha plane.
class TChunkIHDR : public TChunk {
    DECLARE_CLASS_NAME(TChunkIHDR)
public:
    explicit TChunkIHDR(TPNGCore* owner);
    ~TChunkIHDR() override;
    std::unique_ptr<TChunk> NewInstance(TPNGCore* owner) const override;
    void Assign(const TChunk& source) override;
    bool LoadFromStream(TStream* stream, const std::string& name, std::uint32_t size) override;
    bool SaveToStream(TStream* stream) override;

    // Frees earlier image data and makes a zero-filled DIB (and alpha plane) for the header values.
    void SetupImageData();
    void FreeImageData();
    // 16-bit grey and RGB images keep only each sample's high byte in the DIB, so their transparent colour
    // cannot be told from the pixels afterwards: the decoder marks the key pixels in a plane of their own
    // (the alpha plane, 0 for a pixel whose samples equal the key on all 16 bits, 255 elsewhere), and so
    // does a new transparent colour where gamma shows several samples alike.
    void SetupKeyPlane();
    bool HasKeyPlane() const { return ImageAlpha && (ColorType == 0 || ColorType == 2); }
    int DIBBitsPerPixel() const { return BitmapInfo.bmiHeader.biBitCount; }
    std::uint8_t* RowAddress(int row) const;
    std::uint8_t* AlphaRow(int row) const;
    TPngImageStorage* Storage() const { return storage_.get(); }

    bool HasColourTable = false;
    TPngBitmapInfo BitmapInfo{};
    std::int32_t DIBStride = 0;
    std::uint8_t* ImageData = nullptr;  // borrowed from the storage
    std::uint8_t* ImageAlpha = nullptr; // borrowed from alpha_; null without alpha or key plane
    std::uint32_t Width = 0;
    std::uint32_t Height = 0;
    std::uint8_t BitDepth = 0;
    std::uint8_t ColorType = 0;
    std::uint8_t CompressionMethod = 0;
    std::uint8_t FilterMethod = 0;
    std::uint8_t InterlaceMethod = 0;

private:
    std::unique_ptr<TPngImageStorage> storage_;
    std::unique_ptr<std::uint8_t[]> alpha_;
};

class TChunkPLTE : public TChunk {
    DECLARE_CLASS_NAME(TChunkPLTE)
public:
    explicit TChunkPLTE(TPNGCore* owner) : TChunk(owner, "PLTE") {}
    std::unique_ptr<TChunk> NewInstance(TPNGCore* owner) const override;
    void Assign(const TChunk& source) override;
    bool LoadFromStream(TStream* stream, const std::string& name, std::uint32_t size) override;
    bool SaveToStream(TStream* stream) override;
    // Raises EPngError ("Отсутствует палитра") for an index beyond the palette.
    TPngRGBQuad PaletteEntry(int index) const;

    int Count = 0;
};

class TChunktRNS : public TChunk {
    DECLARE_CLASS_NAME(TChunktRNS)
public:
    explicit TChunktRNS(TPNGCore* owner);
    std::unique_ptr<TChunk> NewInstance(TPNGCore* owner) const override;
    void Assign(const TChunk& source) override;
    bool LoadFromStream(TStream* stream, const std::string& name, std::uint32_t size) override;
    bool SaveToStream(TStream* stream) override;
    // The colour the DIB shows for the transparent sample (0 when there is none).
    TPngColor TransparentColor() const;
    // Makes Color the transparent colour, the one read back and saved: every pixel that shows it is left
    // out. A grey image keys the level nearest its red component, a palette image its first palette
    // entry of that colour (entry 0 when none has it).
    void SetTransparentColor(TPngColor color);
    // A 2-bit grey key as a 4-bit sample (0..3 become 0, 5, 10, 15), for an image written at 4 bits.
    void WidenTwoBitGreyKey();

    bool SimpleTransparency = false;
    std::uint8_t AlphaValues[256];
};

class TChunkgAMA : public TChunk {
    DECLARE_CLASS_NAME(TChunkgAMA)
public:
    explicit TChunkgAMA(TPNGCore* owner);
    std::unique_ptr<TChunk> NewInstance(TPNGCore* owner) const override;
    void Assign(const TChunk& source) override;
    bool LoadFromStream(TStream* stream, const std::string& name, std::uint32_t size) override;
    std::uint32_t Gamma();
    void SetGamma(std::uint32_t value);
};

class TChunktIME : public TChunk {
    DECLARE_CLASS_NAME(TChunktIME)
public:
    explicit TChunktIME(TPNGCore* owner) : TChunk(owner, "tIME") {}
    std::unique_ptr<TChunk> NewInstance(TPNGCore* owner) const override;
    void Assign(const TChunk& source) override;
    bool LoadFromStream(TStream* stream, const std::string& name, std::uint32_t size) override;
    bool SaveToStream(TStream* stream) override;

    std::uint16_t Year = 0;
    std::uint8_t Month = 0, Day = 0, Hour = 0, Minute = 0, Second = 0;
};

// Text chunks keep their bytes as stored (Latin-1 in the format).
class TChunktEXt : public TChunk {
    DECLARE_CLASS_NAME(TChunktEXt)
public:
    explicit TChunktEXt(TPNGCore* owner, std::string name = "tEXt") : TChunk(owner, std::move(name)) {}
    std::unique_ptr<TChunk> NewInstance(TPNGCore* owner) const override;
    void Assign(const TChunk& source) override;
    bool LoadFromStream(TStream* stream, const std::string& name, std::uint32_t size) override;
    bool SaveToStream(TStream* stream) override;

    std::string Keyword;
    std::string Text;
};

class TChunkzTXt : public TChunktEXt {
    DECLARE_CLASS_NAME(TChunkzTXt)
public:
    explicit TChunkzTXt(TPNGCore* owner) : TChunktEXt(owner, "zTXt") {}
    std::unique_ptr<TChunk> NewInstance(TPNGCore* owner) const override;
    bool LoadFromStream(TStream* stream, const std::string& name, std::uint32_t size) override;
    bool SaveToStream(TStream* stream) override;
};

// The image data chunk: the first one of a run decodes the whole run; saving encodes the DIB.
class TChunkIDAT : public TChunk {
    DECLARE_CLASS_NAME(TChunkIDAT)
public:
    explicit TChunkIDAT(TPNGCore* owner) : TChunk(owner, "IDAT") {}
    std::unique_ptr<TChunk> NewInstance(TPNGCore* owner) const override;
    bool LoadFromStream(TStream* stream, const std::string& name, std::uint32_t size) override;
    bool SaveToStream(TStream* stream) override;
};
