#include "png/PngChunks.h"

#include "png/PngCore.h"

#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <new>

std::uint32_t PngReadUInt32(const std::uint8_t* p)
{
    return (std::uint32_t(p[0]) << 24) | (std::uint32_t(p[1]) << 16) | (std::uint32_t(p[2]) << 8) | p[3];
}

void PngWriteUInt32(std::uint8_t* p, std::uint32_t value)
{
    p[0] = std::uint8_t(value >> 24);
    p[1] = std::uint8_t(value >> 16);
    p[2] = std::uint8_t(value >> 8);
    p[3] = std::uint8_t(value);
}

std::uint32_t PngCrc(std::uint32_t crc, const void* data, std::size_t size)
{
    auto* p = static_cast<const Bytef*>(data);
    while (size > 0) {
        uInt part = uInt(std::min<std::size_t>(size, 1u << 30));
        crc = std::uint32_t(crc32(crc, p, part));
        p += part;
        size -= part;
    }
    return crc;
}

void PngRequireAvailable(TStream* stream, std::int64_t count)
{
    // A stream that merely stops between chunks keeps the plain, empty end-of-data error; a chunk that
    // claims more bytes than the file holds is a damaged file and says so.
    if (count < 0 || stream->Size() - stream->Position() < count)
        RaiseCodecError<EPngUnexpectedEnd>(kPngResChunkBeyondEnd);
}

void PngReadExact(TStream* stream, void* buffer, std::int64_t count)
{
    auto* p = static_cast<std::uint8_t*>(buffer);
    while (count > 0) {
        std::int32_t part = std::int32_t(std::min<std::int64_t>(count, 1 << 30));
        std::int32_t got = stream->Read(p, part);
        if (got <= 0)
            RaiseCodecError<EPngUnexpectedEnd>(kPngResUnexpectedEnd);
        p += got;
        count -= got;
    }
}

std::uint64_t PixelBytesFor(std::uint64_t pixels, int colorType, int bitDepth)
{
    switch (colorType) {
    case 0:
    case 3:
        return (pixels * bitDepth + 7) / 8;
    case 2:
        return pixels * bitDepth * 3 / 8;
    case 4:
        return pixels * bitDepth * 2 / 8;
    case 6:
        return pixels * bitDepth * 4 / 8;
    default:
        return 0;
    }
}

// ---- whole-buffer zlib ----

namespace {

// zlib allocates through our own functions, so a failed allocation is reported as Z_MEM_ERROR.
voidpf ZAlloc(voidpf, uInt items, uInt size)
{
    return ::operator new(std::size_t(items) * size, std::nothrow);
}
void ZFree(voidpf, voidpf address)
{
    ::operator delete(address);
}

} // namespace

bool InflateChunkData(const std::uint8_t* input, std::size_t size, std::string& output, std::wstring& errorText,
                      std::size_t maxOutput)
{
    output.clear();
    z_stream z{};
    z.zalloc = ZAlloc;
    z.zfree = ZFree;
    int rc = inflateInit(&z);
    if (rc != Z_OK) {
        errorText = ZLIBErrorText(rc);
        return false;
    }
    z.next_in = const_cast<Bytef*>(input);
    z.avail_in = uInt(size);
    std::uint8_t window[4096];
    bool ok = false;
    for (;;) {
        z.next_out = window;
        z.avail_out = sizeof window;
        rc = inflate(&z, Z_NO_FLUSH);
        output.append(reinterpret_cast<const char*>(window), sizeof window - z.avail_out);
        if (rc == Z_STREAM_END) {
            ok = true;
            break;
        }
        // A stream cut short stops with Z_BUF_ERROR; one that asks for a preset dictionary (none can be
        // given) stops with Z_NEED_DICT and would give it again on every call; every other code but Z_OK is
        // damage.
        if (rc != Z_OK || output.size() > maxOutput) {
            errorText = rc == Z_OK ? ZLIBErrorText(Z_MEM_ERROR) : ZLIBErrorText(rc);
            break;
        }
    }
    inflateEnd(&z);
    if (!ok)
        output.clear();
    return ok;
}

bool DeflateWholeBuffer(const std::uint8_t* input, std::size_t size, int level, std::string& output,
                        std::wstring& errorText)
{
    output.clear();
    z_stream z{};
    z.zalloc = ZAlloc;
    z.zfree = ZFree;
    int rc = deflateInit(&z, std::clamp(level, 0, 9));
    if (rc != Z_OK) {
        errorText = ZLIBErrorText(rc);
        return false;
    }
    z.next_in = const_cast<Bytef*>(input);
    z.avail_in = uInt(size);
    std::uint8_t window[4096];
    for (;;) {
        z.next_out = window;
        z.avail_out = sizeof window;
        rc = deflate(&z, Z_FINISH);
        output.append(reinterpret_cast<const char*>(window), sizeof window - z.avail_out);
        if (rc == Z_STREAM_END)
            break;
        if (rc != Z_OK && rc != Z_BUF_ERROR) {
            errorText = ZLIBErrorText(rc);
            deflateEnd(&z);
            output.clear();
            return false;
        }
    }
    deflateEnd(&z);
    return true;
}

// ---- registry ----

namespace {

template <class T>
std::unique_ptr<TChunk> MakeChunk(TPNGCore* owner)
{
    return std::make_unique<T>(owner);
}

std::vector<TChunkClass>& ChunkRegistry()
{
    static std::vector<TChunkClass> registry = {
        {"IEND", MakeChunk<TChunkIEND>}, {"IHDR", MakeChunk<TChunkIHDR>}, {"IDAT", MakeChunk<TChunkIDAT>},
        {"PLTE", MakeChunk<TChunkPLTE>}, {"gAMA", MakeChunk<TChunkgAMA>}, {"tRNS", MakeChunk<TChunktRNS>},
        {"tIME", MakeChunk<TChunktIME>}, {"tEXt", MakeChunk<TChunktEXt>}, {"zTXt", MakeChunk<TChunkzTXt>},
    };
    return registry;
}

} // namespace

void AddChunkClass(const TChunkClass& chunkClass)
{
    ChunkRegistry().push_back(chunkClass);
}

bool IsRegisteredChunkName(const std::string& name)
{
    for (const auto& c : ChunkRegistry())
        if (c.Name == name)
            return true;
    return false;
}

std::unique_ptr<TChunk> NewChunkForName(TPNGCore* owner, const std::string& name)
{
    std::unique_ptr<TChunk> chunk;
    for (const auto& c : ChunkRegistry())
        if (c.Name == name) {
            chunk = c.Create(owner);
            break;
        }
    if (!chunk)
        chunk = std::make_unique<TChunk>(owner);
    chunk->SetName(name);
    return chunk;
}

// ---- TChunk ----

TChunk::TChunk(TPNGCore* owner, std::string name) : owner_(owner), name_(std::move(name)) {}

std::unique_ptr<TChunk> TChunk::NewInstance(TPNGCore* owner) const
{
    return std::make_unique<TChunk>(owner, name_);
}

void TChunk::SetDataSize(std::uint32_t size)
{
    data_.resize(size);
}

void TChunk::SetData(const void* data, std::size_t size)
{
    auto* p = static_cast<const std::uint8_t*>(data);
    data_.assign(p, p + size);
}

void TChunk::Assign(const TChunk& source)
{
    name_ = source.name_;
    data_ = source.data_;
}

TChunkIHDR& TChunk::HeaderChunk() const
{
    return *owner_->Header();
}

bool TChunk::LoadFromStream(TStream* stream, const std::string& name, std::uint32_t size)
{
    PngRequireAvailable(stream, std::int64_t(size) + 4);
    SetDataSize(size);
    if (size > 0)
        PngReadExact(stream, data_.data(), size);
    std::uint8_t stored[4];
    PngReadExact(stream, stored, 4);
    std::uint8_t nameBytes[4] = {};
    std::memcpy(nameBytes, name.data(), std::min<std::size_t>(4, name.size()));
    std::uint32_t crc = PngCrc(PngCrc(0, nullptr, 0), nameBytes, 4);
    crc = PngCrc(crc, data_.data(), data_.size());
    if (crc != PngReadUInt32(stored))
        RaiseCodecError<EPngInvalidCRC>(kPngResInvalidCRC);
    return true;
}

bool TChunk::SaveToStream(TStream* stream)
{
    std::uint8_t head[8];
    PngWriteUInt32(head, DataSize());
    std::memset(head + 4, ' ', 4);
    std::memcpy(head + 4, name_.data(), std::min<std::size_t>(4, name_.size()));
    stream->WriteBuffer(head, 8);
    if (!data_.empty())
        stream->WriteBuffer(data_.data(), std::int32_t(data_.size()));
    std::uint32_t crc = PngCrc(PngCrc(0, nullptr, 0), head + 4, 4);
    crc = PngCrc(crc, data_.data(), data_.size());
    std::uint8_t tail[4];
    PngWriteUInt32(tail, crc);
    stream->WriteBuffer(tail, 4);
    return true;
}

std::unique_ptr<TChunk> TChunkIEND::NewInstance(TPNGCore* owner) const
{
    return std::make_unique<TChunkIEND>(owner);
}

// ---- IHDR ----

namespace {

// The DIB's bits per pixel for a valid colour type and depth.
int DibBitsFor(int colorType, int bitDepth)
{
    if (colorType == 2 || colorType == 6)
        return 24;
    if (bitDepth == 2)
        return 4;
    if (bitDepth == 16)
        return 8;
    return bitDepth;
}

bool ValidCombination(int colorType, int bitDepth)
{
    switch (colorType) {
    case 0:
        return bitDepth == 1 || bitDepth == 2 || bitDepth == 4 || bitDepth == 8 || bitDepth == 16;
    case 3:
        return bitDepth == 1 || bitDepth == 2 || bitDepth == 4 || bitDepth == 8;
    case 2:
    case 4:
    case 6:
        return bitDepth == 8 || bitDepth == 16;
    default:
        return false;
    }
}

} // namespace

TChunkIHDR::TChunkIHDR(TPNGCore* owner) : TChunk(owner, "IHDR") {}

TChunkIHDR::~TChunkIHDR() = default;

std::unique_ptr<TChunk> TChunkIHDR::NewInstance(TPNGCore* owner) const
{
    return std::make_unique<TChunkIHDR>(owner);
}

void TChunkIHDR::FreeImageData()
{
    storage_.reset();
    alpha_.reset();
    ImageData = nullptr;
    ImageAlpha = nullptr;
}

void TChunkIHDR::SetupImageData()
{
    FreeImageData();
    BitmapInfo = TPngBitmapInfo{};
    DIBStride = 0;
    HasColourTable = false;
    // A header that never passed its checks (a copy of a rejected one) describes no pixels.
    if (!ValidCombination(ColorType, BitDepth) || Width > 65535 || Height > 65535) {
        Owner()->ImageStorageChanged();
        return;
    }
    int bits = DibBitsFor(ColorType, BitDepth);
    HasColourTable = bits <= 8;
    auto& h = BitmapInfo.bmiHeader;
    h.biSize = 40;
    h.biWidth = std::int32_t(Width);
    h.biHeight = std::int32_t(Height);
    h.biPlanes = 1;
    h.biBitCount = std::uint16_t(bits);
    std::uint64_t stride = (std::uint64_t(bits) * Width + 31) / 32 * 4;
    DIBStride = std::int32_t(stride);
    std::uint64_t bytes = stride * Height;
    std::uint64_t alphaBytes = (ColorType == 4 || ColorType == 6) ? std::uint64_t(Width) * Height : 0;
    TPNGCore* owner = Owner();
    if (bytes + alphaBytes > owner->MaxImageBytes || bytes + alphaBytes > SIZE_MAX / 2)
        RaiseCodecError<EPNGOutMemory>(kPngResOutMemory);
    if (bytes > 0) {
        storage_ = owner->CreateImageStorage(BitmapInfo, bytes);
        if (!storage_ || !storage_->Bits)
            RaiseCodecError<EPNGOutMemory>(kPngResOutMemory);
        ImageData = storage_->Bits;
    }
    if (alphaBytes > 0) {
        alpha_.reset(new (std::nothrow) std::uint8_t[std::size_t(alphaBytes)]());
        if (!alpha_)
            RaiseCodecError<EPNGOutMemory>(kPngResOutMemory);
        ImageAlpha = alpha_.get();
    }
    owner->ImageStorageChanged();
}

void TChunkIHDR::SetupKeyPlane()
{
    if (ImageAlpha || !ImageData)
        return;
    std::uint64_t bytes = std::uint64_t(Width) * Height;
    if (std::uint64_t(DIBStride) * Height + bytes > Owner()->MaxImageBytes)
        RaiseCodecError<EPNGOutMemory>(kPngResOutMemory);
    alpha_.reset(new (std::nothrow) std::uint8_t[std::size_t(bytes)]);
    if (!alpha_)
        RaiseCodecError<EPNGOutMemory>(kPngResOutMemory);
    std::memset(alpha_.get(), 255, std::size_t(bytes));
    ImageAlpha = alpha_.get();
}

std::uint8_t* TChunkIHDR::RowAddress(int row) const
{
    return ImageData + std::size_t(Height - 1 - std::uint32_t(row)) * std::size_t(DIBStride);
}

std::uint8_t* TChunkIHDR::AlphaRow(int row) const
{
    return ImageAlpha ? ImageAlpha + std::size_t(row) * Width : nullptr;
}

bool TChunkIHDR::LoadFromStream(TStream* stream, const std::string& name, std::uint32_t size)
{
    bool result = TChunk::LoadFromStream(stream, name, size);
    if (size < 13)
        RaiseCodecError<EPngInvalidIHDR>(kPngResInvalidIHDR);
    // The values are taken only once they all passed: a rejected header stays in the list (the loader
    // keeps what it read) and must not describe an image that cannot exist.
    const std::uint8_t* d = Data();
    std::uint32_t width = PngReadUInt32(d), height = PngReadUInt32(d + 4);
    if (width > 65535 || height > 65535)
        RaiseCodecError<EPNGSizeExceeds>(kPngResSizeExceeds);
    if (d[10] != 0)
        RaiseCodecError<EPNGUnknownCompression>(kPngResUnknownCompression);
    if (d[12] != 0 && d[12] != 1)
        RaiseCodecError<EPNGUnknownInterlace>(kPngResUnknownInterlace);
    // Combinations the format does not define have no DIB layout; they cannot be decoded.
    if (!ValidCombination(d[9], d[8]))
        RaiseCodecError<EPngInvalidIHDR>(kPngResInvalidIHDR);
    Width = width;
    Height = height;
    BitDepth = d[8];
    ColorType = d[9];
    CompressionMethod = d[10];
    FilterMethod = d[11];
    InterlaceMethod = d[12];
    Owner()->InterlaceMethod = InterlaceMethod;
    SetupImageData();
    return result;
}

bool TChunkIHDR::SaveToStream(TStream* stream)
{
    // The DIB holds 2-bit images at 4 bits per pixel, and so does the file written from it; a grey key
    // sample has to be widened the way the pixels were, or it would name another grey.
    if (BitDepth == 2) {
        BitDepth = 4;
        if (ColorType == 0)
            if (auto* trns = Owner()->Chunks.FirstOfClass<TChunktRNS>())
                trns->WidenTwoBitGreyKey();
    }
    InterlaceMethod = Owner()->InterlaceMethod;
    std::uint8_t d[13];
    PngWriteUInt32(d, Width);
    PngWriteUInt32(d + 4, Height);
    d[8] = BitDepth;
    d[9] = ColorType;
    d[10] = CompressionMethod;
    d[11] = FilterMethod;
    d[12] = InterlaceMethod;
    SetData(d, 13);
    return TChunk::SaveToStream(stream);
}

void TChunkIHDR::Assign(const TChunk& source)
{
    auto* src = dynamic_cast<const TChunkIHDR*>(&source);
    if (!src)
        RaiseCodecError<EPngError>(kPngResCannotAssignChunk);
    TChunk::Assign(source);
    Width = src->Width;
    Height = src->Height;
    BitDepth = src->BitDepth;
    ColorType = src->ColorType;
    CompressionMethod = src->CompressionMethod;
    FilterMethod = src->FilterMethod;
    InterlaceMethod = src->InterlaceMethod;
    SetupImageData();
    if (src->HasKeyPlane())
        SetupKeyPlane();
    if (ImageData && src->ImageData)
        std::memcpy(ImageData, src->ImageData, std::size_t(DIBStride) * Height);
    if (ImageAlpha && src->ImageAlpha)
        std::memcpy(ImageAlpha, src->ImageAlpha, std::size_t(Width) * Height);
    std::memcpy(BitmapInfo.bmiColors, src->BitmapInfo.bmiColors, sizeof BitmapInfo.bmiColors);
}

// ---- PLTE ----

std::unique_ptr<TChunk> TChunkPLTE::NewInstance(TPNGCore* owner) const
{
    return std::make_unique<TChunkPLTE>(owner);
}

bool TChunkPLTE::LoadFromStream(TStream* stream, const std::string& name, std::uint32_t size)
{
    bool result = TChunk::LoadFromStream(stream, name, size);
    if (size % 3 != 0 || size / 3 > 256)
        RaiseCodecError<EPNGInvalidPalette>(kPngResInvalidPalette);
    Count = int(size / 3);
    const std::uint8_t* gamma = Owner()->GammaLUT;
    TPngRGBQuad* table = HeaderChunk().BitmapInfo.bmiColors;
    const std::uint8_t* d = Data();
    for (int i = 0; i < Count; ++i)
        table[i] = TPngRGBQuad{gamma[d[3 * i + 2]], gamma[d[3 * i + 1]], gamma[d[3 * i]], 0};
    return result;
}

bool TChunkPLTE::SaveToStream(TStream* stream)
{
    const std::uint8_t* inverse = Owner()->InverseGammaLUT;
    const TPngRGBQuad* table = HeaderChunk().BitmapInfo.bmiColors;
    std::vector<std::uint8_t> d(std::size_t(Count) * 3);
    for (int i = 0; i < Count; ++i) {
        d[3 * i] = inverse[table[i].rgbRed];
        d[3 * i + 1] = inverse[table[i].rgbGreen];
        d[3 * i + 2] = inverse[table[i].rgbBlue];
    }
    SetData(d.data(), d.size());
    return TChunk::SaveToStream(stream);
}

void TChunkPLTE::Assign(const TChunk& source)
{
    auto* src = dynamic_cast<const TChunkPLTE*>(&source);
    if (!src)
        RaiseCodecError<EPngError>(kPngResCannotAssignChunk);
    Count = src->Count;
}

TPngRGBQuad TChunkPLTE::PaletteEntry(int index) const
{
    if (index < 0 || index >= Count)
        RaiseCodecError<EPngError>(kPngResMissingPalette);
    return HeaderChunk().BitmapInfo.bmiColors[index];
}

// ---- tRNS ----

namespace {

// The entries of the image's palette, the most a palette image's transparency chunk may have: other
// readers refuse or warn about a longer one.
std::uint32_t PaletteLength(const TPNGCore& owner)
{
    auto* plte = owner.Chunks.FirstOfClass<TChunkPLTE>();
    return plte ? std::uint32_t(plte->Count) : 0;
}

} // namespace

TChunktRNS::TChunktRNS(TPNGCore* owner) : TChunk(owner, "tRNS")
{
    std::memset(AlphaValues, 255, sizeof AlphaValues);
}

std::unique_ptr<TChunk> TChunktRNS::NewInstance(TPNGCore* owner) const
{
    return std::make_unique<TChunktRNS>(owner);
}

bool TChunktRNS::LoadFromStream(TStream* stream, const std::string& name, std::uint32_t size)
{
    bool result = TChunk::LoadFromStream(stream, name, size);
    if (size > 256)
        RaiseCodecError<EPNGInvalidPalette>(kPngResInvalidPalette);
    // Entries past the end of the palette read before the chunk name no colour: they are dropped, so that
    // they neither count towards the kind of transparency nor go back into a saved file (one whose palette
    // comes after it is cut when saved).
    if (HeaderChunk().ColorType == 3 && Owner()->Chunks.FirstOfClass<TChunkPLTE>() && size > PaletteLength(*Owner())) {
        size = PaletteLength(*Owner());
        SetDataSize(size);
    }
    std::memset(AlphaValues, 255, sizeof AlphaValues);
    if (size > 0)
        std::memcpy(AlphaValues, Data(), size);
    switch (HeaderChunk().ColorType) {
    case 0:
    case 2:
        SimpleTransparency = true;
        break;
    case 3: {
        // One fully transparent entry is a key colour; any partly transparent entry needs blending.
        int differing = 0;
        bool allZero = true;
        for (std::uint32_t i = 0; i < size; ++i)
            if (AlphaValues[i] != 255) {
                ++differing;
                allZero = allZero && AlphaValues[i] == 0;
            }
        SimpleTransparency = differing == 1 && allZero;
        break;
    }
    default:
        SimpleTransparency = false;
    }
    return result;
}

void TChunktRNS::WidenTwoBitGreyKey()
{
    if (DataSize() < 2)
        return;
    std::uint8_t sample = std::uint8_t(5 * (Data()[1] & 3));
    Data()[0] = 0;
    Data()[1] = sample;
    AlphaValues[0] = 0;
    AlphaValues[1] = sample;
}

bool TChunktRNS::SaveToStream(TStream* stream)
{
    if (HeaderChunk().ColorType == 3 && DataSize() > PaletteLength(*Owner()))
        SetDataSize(PaletteLength(*Owner()));
    if (DataSize() > 0 && DataSize() <= 256)
        std::memcpy(Data(), AlphaValues, DataSize());
    return TChunk::SaveToStream(stream);
}

void TChunktRNS::Assign(const TChunk& source)
{
    if (auto* src = dynamic_cast<const TChunktRNS*>(&source)) {
        std::memcpy(AlphaValues, src->AlphaValues, sizeof AlphaValues);
        SimpleTransparency = src->SimpleTransparency;
    }
    TChunk::Assign(source);
}

TPngColor TChunktRNS::TransparentColor() const
{
    const TChunkIHDR& h = HeaderChunk();
    const std::uint8_t* d = Data();
    const std::uint8_t* gamma = Owner()->GammaLUT;
    switch (h.ColorType) {
    case 0: {
        if (DataSize() < 2)
            return 0;
        unsigned sample = (unsigned(d[0]) << 8) | d[1];
        unsigned v;
        switch (h.BitDepth) {
        case 16:
            v = sample >> 8;
            break;
        case 2:
            v = 5 * (sample & 3); // 2-bit samples are stored 0, 5, 10, 15 in the 4-bit DIB
            break;
        default:
            v = sample & ((1u << h.BitDepth) - 1);
        }
        const TPngRGBQuad& q = h.BitmapInfo.bmiColors[v & 255];
        return PngRGB(q.rgbRed, q.rgbGreen, q.rgbBlue);
    }
    case 2: {
        if (DataSize() < 6)
            return 0;
        int o = h.BitDepth == 16 ? 0 : 1; // the DIB shows the high byte of 16-bit samples
        return PngRGB(gamma[d[o]], gamma[d[2 + o]], gamma[d[4 + o]]);
    }
    case 3: {
        auto* plte = Owner()->Chunks.FirstOfClass<TChunkPLTE>();
        for (std::uint32_t i = 0; i < DataSize(); ++i)
            if (AlphaValues[i] == 0) {
                if (!plte || int(i) >= plte->Count)
                    return 0;
                const TPngRGBQuad& q = h.BitmapInfo.bmiColors[i];
                return PngRGB(q.rgbRed, q.rgbGreen, q.rgbBlue);
            }
        return 0;
    }
    default:
        return 0;
    }
}

namespace {

// The grey sample whose level the image shows nearest to Red (the first of equals), as the file stores
// it: 2-bit levels sit at 0, 5, 10 and 15 of the DIB's table, 16-bit ones keep their high byte only.
unsigned GreyKeySample(const TChunkIHDR& h, std::uint8_t red)
{
    const int step = h.BitDepth == 2 ? 5 : 1;
    const int levels = 1 << h.DIBBitsPerPixel();
    const TPngRGBQuad* table = h.BitmapInfo.bmiColors;
    int best = 0;
    for (int v = 0; v < levels; v += step)
        if (std::abs(table[v].rgbRed - red) < std::abs(table[best].rgbRed - red))
            best = v;
    return h.BitDepth == 16 ? unsigned(best) << 8 : h.BitDepth == 2 ? unsigned(best / 5) : unsigned(best);
}

// The first palette entry of the colour, else 0. The colour table's unused entries past the palette are
// no colours of the image: a key there would leave out nothing and need a chunk longer than the palette.
int PaletteKeyIndex(const TChunkIHDR& h, std::uint32_t paletteLength, TPngColor color)
{
    for (int i = 0; i < int(std::min<std::uint32_t>(paletteLength, 256)); ++i) {
        const TPngRGBQuad& q = h.BitmapInfo.bmiColors[i];
        if (PngRGB(q.rgbRed, q.rgbGreen, q.rgbBlue) == (color & 0xFFFFFF))
            return i;
    }
    return 0;
}

// Whether the DIB cannot tell a new key's pixels by their value alone: 16-bit samples kept only their high
// byte, and gamma may show several samples alike. Such images keep the key in a plane of its own.
bool NeedsKeyPlane(const TChunkIHDR& h, const std::uint8_t* gamma)
{
    if (h.BitDepth < 8)
        return false;
    bool identity = true;
    for (int i = 0; i < 256 && identity; ++i)
        identity = gamma[i] == i;
    return h.BitDepth == 16 || !identity || h.HasKeyPlane();
}

// Marks in the key plane every pixel that shows Shown, so the image is drawn and saved with all of them
// left out, whatever sample each was read from.
void MarkPixelsShowing(TChunkIHDR& h, TPngColor shown)
{
    h.SetupKeyPlane();
    if (!h.ImageAlpha)
        return;
    for (std::uint32_t y = 0; y < h.Height; ++y) {
        const std::uint8_t* row = h.RowAddress(int(y));
        std::uint8_t* alpha = h.AlphaRow(int(y));
        for (std::uint32_t x = 0; x < h.Width; ++x) {
            TPngColor colour;
            if (h.ColorType == 2) {
                const std::uint8_t* p = row + 3 * std::size_t(x);
                colour = PngRGB(p[2], p[1], p[0]);
            } else {
                const TPngRGBQuad& q = h.BitmapInfo.bmiColors[row[x]];
                colour = PngRGB(q.rgbRed, q.rgbGreen, q.rgbBlue);
            }
            alpha[x] = colour == shown ? 0 : 255;
        }
    }
}

} // namespace

void TChunktRNS::SetTransparentColor(TPngColor color)
{
    TChunkIHDR& h = HeaderChunk();
    if (h.ColorType != 0 && h.ColorType != 2 && h.ColorType != 3)
        return; // grey+alpha and RGBA images carry their own alpha
    // The entries past the data stay opaque, as a loaded chunk has them: saving writes them back as data.
    std::memset(AlphaValues, 255, sizeof AlphaValues);
    SimpleTransparency = true;
    if (h.ColorType == 3) {
        const int index = PaletteKeyIndex(h, PaletteLength(*Owner()), color);
        AlphaValues[index] = 0;
        SetData(AlphaValues, std::size_t(index) + 1);
        return;
    }
    if (h.ColorType == 0) {
        const unsigned sample = GreyKeySample(h, std::uint8_t(color));
        const std::uint8_t d[2] = {std::uint8_t(sample >> 8), std::uint8_t(sample)};
        SetData(d, 2);
    } else {
        // The file holds the samples before gamma; a 16-bit sample has the DIB's byte as its high byte.
        const std::uint8_t* inverse = Owner()->InverseGammaLUT;
        const int o = h.BitDepth == 16 ? 0 : 1;
        std::uint8_t d[6] = {};
        d[o] = inverse[std::uint8_t(color)];
        d[2 + o] = inverse[std::uint8_t(color >> 8)];
        d[4 + o] = inverse[std::uint8_t(color >> 16)];
        SetData(d, 6);
    }
    std::memcpy(AlphaValues, Data(), DataSize());
    if (h.ImageData && NeedsKeyPlane(h, Owner()->GammaLUT))
        MarkPixelsShowing(h, TransparentColor());
}

// ---- gAMA ----

TChunkgAMA::TChunkgAMA(TPNGCore* owner) : TChunk(owner, "gAMA")
{
    SetGamma(1);
}

std::unique_ptr<TChunk> TChunkgAMA::NewInstance(TPNGCore* owner) const
{
    return std::make_unique<TChunkgAMA>(owner);
}

std::uint32_t TChunkgAMA::Gamma()
{
    if (DataSize() == 4)
        return PngReadUInt32(Data());
    SetGamma(1);
    return 1;
}

void TChunkgAMA::SetGamma(std::uint32_t value)
{
    std::uint8_t d[4];
    PngWriteUInt32(d, value);
    SetData(d, 4);
}

bool TChunkgAMA::LoadFromStream(TStream* stream, const std::string& name, std::uint32_t size)
{
    bool result = TChunk::LoadFromStream(stream, name, size);
    // A malformed chunk is ignored: reading it would turn nearly every level black.
    if (size != 4)
        return result;
    std::uint32_t value = PngReadUInt32(Data());
    if (value == 0)
        return result;
    TPNGCore* owner = Owner();
    double exponent = 1.0 / (double(value) / 100000.0 * 2.2);
    for (int i = 0; i < 256; ++i) {
        double x = i / 255.0;
        double y = x == 0.0 ? 0.0 : std::pow(x, exponent);
        long g = std::lrint(255.0 * y);
        g = std::clamp(g, 0L, 255L);
        owner->GammaLUT[i] = std::uint8_t(g);
        owner->InverseGammaLUT[g] = std::uint8_t(i);
    }
    return result;
}

void TChunkgAMA::Assign(const TChunk& source)
{
    auto* src = dynamic_cast<const TChunkgAMA*>(&source);
    if (!src)
        RaiseCodecError<EPngError>(kPngResCannotAssignChunk);
    TChunk::Assign(source);
}

// ---- tIME ----

std::unique_ptr<TChunk> TChunktIME::NewInstance(TPNGCore* owner) const
{
    return std::make_unique<TChunktIME>(owner);
}

bool TChunktIME::LoadFromStream(TStream* stream, const std::string& name, std::uint32_t size)
{
    bool result = TChunk::LoadFromStream(stream, name, size);
    if (size == 7) {
        const std::uint8_t* d = Data();
        Year = std::uint16_t((d[0] << 8) | d[1]);
        Month = d[2];
        Day = d[3];
        Hour = d[4];
        Minute = d[5];
        Second = d[6];
    }
    return result;
}

bool TChunktIME::SaveToStream(TStream* stream)
{
    std::uint8_t d[7] = {std::uint8_t(Year >> 8), std::uint8_t(Year), Month, Day, Hour, Minute, Second};
    SetData(d, 7);
    return TChunk::SaveToStream(stream);
}

void TChunktIME::Assign(const TChunk& source)
{
    TChunk::Assign(source);
    if (auto* src = dynamic_cast<const TChunktIME*>(&source)) {
        Year = src->Year;
        Month = src->Month;
        Day = src->Day;
        Hour = src->Hour;
        Minute = src->Minute;
        Second = src->Second;
    }
}

// ---- tEXt, zTXt ----

std::unique_ptr<TChunk> TChunktEXt::NewInstance(TPNGCore* owner) const
{
    return std::make_unique<TChunktEXt>(owner);
}

bool TChunktEXt::LoadFromStream(TStream* stream, const std::string& name, std::uint32_t size)
{
    bool result = TChunk::LoadFromStream(stream, name, size);
    // Short chunks are read too: "a" with its NUL and no text is a whole chunk, and one left unread
    // would be written back empty.
    if (size > 0) {
        auto* d = reinterpret_cast<const char*>(Data());
        const void* nul = std::memchr(d, 0, size);
        // Without a separator the whole chunk is the keyword.
        std::size_t keyLength = nul ? std::size_t(static_cast<const char*>(nul) - d) : size;
        Keyword.assign(d, keyLength);
        Text = keyLength < size ? std::string(d + keyLength + 1, size - keyLength - 1) : std::string();
    }
    return result;
}

bool TChunktEXt::SaveToStream(TStream* stream)
{
    std::string d = Keyword;
    d.push_back('\0');
    d += Text;
    SetData(d.data(), d.size());
    return TChunk::SaveToStream(stream);
}

void TChunktEXt::Assign(const TChunk& source)
{
    TChunk::Assign(source);
    if (auto* src = dynamic_cast<const TChunktEXt*>(&source)) {
        Keyword = src->Keyword;
        Text = src->Text;
    }
}

std::unique_ptr<TChunk> TChunkzTXt::NewInstance(TPNGCore* owner) const
{
    return std::make_unique<TChunkzTXt>(owner);
}

bool TChunkzTXt::LoadFromStream(TStream* stream, const std::string& name, std::uint32_t size)
{
    bool result = TChunktEXt::LoadFromStream(stream, name, size);
    if (size > 3) {
        Text.clear();
        std::size_t used = Keyword.size() + 2; // keyword, its NUL and the compression-method byte
        if (used < size) {
            std::string text;
            std::wstring error;
            if (InflateChunkData(Data() + used, size - used, text, error))
                Text = std::move(text);
        }
    }
    return result;
}

bool TChunkzTXt::SaveToStream(TStream* stream)
{
    if (Text.empty())
        Text.assign(1, ' ');
    std::string packed;
    std::wstring error;
    // A text that cannot be compressed leaves the chunk out of the file rather than the whole file unsaved.
    if (!DeflateWholeBuffer(reinterpret_cast<const std::uint8_t*>(Text.data()), Text.size(), Owner()->ZlibLevel(),
                            packed, error))
        return false;
    std::string d = Keyword;
    d.push_back('\0');
    d.push_back('\0');
    d += packed;
    SetData(d.data(), d.size());
    return TChunk::SaveToStream(stream);
}
