#include "png/PngCore.h"

#include <cstring>
#include <new>

namespace {

const std::uint8_t kSignature[8] = {137, 80, 78, 71, 13, 10, 26, 10};

class THeapImageStorage : public TPngImageStorage {
public:
    explicit THeapImageStorage(std::size_t bytes) : bits_(new (std::nothrow) std::uint8_t[bytes]()) { Bits = bits_.get(); }

private:
    std::unique_ptr<std::uint8_t[]> bits_;
};

// The value of pixel X in a packed (1, 4 or 8 bits per pixel) DIB row.
unsigned PackedValue(const std::uint8_t* row, int x, int bits)
{
    std::size_t bit = std::size_t(x) * bits;
    return (row[bit >> 3] >> (8 - bits - (bit & 7))) & ((1u << bits) - 1);
}

} // namespace

TChunk* TPNGList::Add(std::unique_ptr<TChunk> chunk)
{
    items_.push_back(std::move(chunk));
    return items_.back().get();
}

std::unique_ptr<TChunk> TPNGList::Remove(TChunk* chunk)
{
    for (auto it = items_.rbegin(); it != items_.rend(); ++it)
        if (it->get() == chunk) {
            std::unique_ptr<TChunk> taken = std::move(*it);
            items_.erase(std::next(it).base());
            return taken;
        }
    return nullptr;
}

void TPNGList::Clear()
{
    // Later chunks may refer to the header while they go, so the header goes last.
    while (!items_.empty())
        items_.pop_back();
}

TPNGCore::TPNGCore()
{
    ResetGamma();
}

TPNGCore::~TPNGCore()
{
    FreeChunks();
}

void TPNGCore::ResetGamma()
{
    for (int i = 0; i < 256; ++i) {
        GammaLUT[i] = std::uint8_t(i);
        InverseGammaLUT[i] = std::uint8_t(i);
    }
}

void TPNGCore::FreeChunks()
{
    ResetGamma();
    Chunks.Clear();
}

std::unique_ptr<TPngImageStorage> TPNGCore::CreateImageStorage(const TPngBitmapInfo&, std::uint64_t bytes)
{
    auto storage = std::make_unique<THeapImageStorage>(std::size_t(bytes));
    if (!storage->Bits)
        return nullptr;
    return storage;
}

TChunkIHDR* TPNGCore::HeaderOrNull() const
{
    return dynamic_cast<TChunkIHDR*>(Chunks.Item(0));
}

TChunkIHDR* TPNGCore::Header() const
{
    TChunkIHDR* h = HeaderOrNull();
    if (!h)
        RaiseCodecError<EPNGHeaderNotPresent>(kPngResHeaderNotPresent);
    return h;
}

int TPNGCore::PngWidth() const
{
    TChunkIHDR* h = HeaderOrNull();
    return h ? int(h->Width) : 0;
}

int TPNGCore::PngHeight() const
{
    TChunkIHDR* h = HeaderOrNull();
    return h ? int(h->Height) : 0;
}

std::uint8_t* TPNGCore::RowAddress(int row) const
{
    return Header()->RowAddress(row);
}

TPNGTransparencyKind TPNGCore::TransparencyKind() const
{
    TChunkIHDR* h = HeaderOrNull();
    if (!h)
        return TPNGTransparencyKind::ptmNone;
    auto* trns = Chunks.FirstOfClass<TChunktRNS>();
    switch (h->ColorType) {
    case 0:
    case 2:
        return trns ? TPNGTransparencyKind::ptmBit : TPNGTransparencyKind::ptmNone;
    case 3:
        if (!trns)
            return TPNGTransparencyKind::ptmNone;
        return trns->SimpleTransparency ? TPNGTransparencyKind::ptmBit : TPNGTransparencyKind::ptmPartial;
    case 4:
    case 6:
        return TPNGTransparencyKind::ptmPartial;
    default:
        return TPNGTransparencyKind::ptmNone;
    }
}

TPngColor TPNGCore::TransparentColor() const
{
    auto* trns = Chunks.FirstOfClass<TChunktRNS>();
    return trns && HeaderOrNull() ? trns->TransparentColor() : 0;
}

namespace {

enum : int { kNoKey, kKeyPlane, kPaletteKey, kGreyKey, kRgbKey };

} // namespace

TPngKeyTest::TPngKeyTest(const TPNGCore& image)
{
    TChunkIHDR* h = image.HeaderOrNull();
    auto* trns = image.Chunks.FirstOfClass<TChunktRNS>();
    if (!h || !trns || !h->ImageData)
        return;
    bits_ = h->DIBBitsPerPixel();
    const std::uint8_t* d = trns->Data();
    if (h->HasKeyPlane()) {
        // Made while the file's own samples were known: 16-bit keys, and keys under gamma.
        kind_ = kKeyPlane;
    } else if (h->ColorType == 3 && bits_ <= 8) {
        kind_ = kPaletteKey;
        alphaValues_ = trns->AlphaValues;
    } else if (h->ColorType == 0 && bits_ <= 8 && trns->DataSize() >= 2) {
        kind_ = kGreyKey;
        const unsigned sample = (unsigned(d[0]) << 8) | d[1];
        greyKey_ = h->BitDepth == 16  ? sample >> 8
                   : h->BitDepth == 2 ? 5 * (sample & 3)
                                      : sample & ((1u << h->BitDepth) - 1);
    } else if (h->ColorType == 2 && bits_ == 24 && trns->DataSize() >= 6) {
        // Without a key plane the DIB holds the file's samples (the high bytes of 16-bit ones).
        kind_ = kRgbKey;
        const int o = h->BitDepth == 16 ? 0 : 1;
        rgbKey_[0] = d[4 + o];
        rgbKey_[1] = d[2 + o];
        rgbKey_[2] = d[o];
    }
    if (kind_ != kNoKey)
        header_ = h;
}

bool TPngKeyTest::operator()(int x, int y) const
{
    if (!header_ || x < 0 || y < 0 || std::uint32_t(x) >= header_->Width || std::uint32_t(y) >= header_->Height)
        return false;
    const std::uint8_t* row = header_->RowAddress(y);
    switch (kind_) {
    case kKeyPlane: return header_->AlphaRow(y)[x] == 0;
    case kPaletteKey: return alphaValues_[PackedValue(row, x, bits_)] == 0;
    case kGreyKey: return PackedValue(row, x, bits_) == greyKey_;
    case kRgbKey: return std::memcmp(row + 3 * std::size_t(x), rgbKey_, 3) == 0;
    default: return false;
    }
}

bool TPNGCore::IsKeyPixel(int x, int y) const
{
    return TPngKeyTest(*this)(x, y);
}

void TPNGCore::LoadFromStream(TStream* stream)
{
    FreeChunks();
    std::uint8_t signature[8];
    if (stream->Read(signature, 8) != 8 || std::memcmp(signature, kSignature, 8) != 0)
        RaiseCodecError<EPNGInvalidFileHeader>(kPngResInvalidFileHeader);
    bool hasImageData = false;
    for (;;) {
        std::uint8_t head[8];
        PngReadExact(stream, head, 8);
        std::uint32_t length = PngReadUInt32(head);
        std::string name(reinterpret_cast<const char*>(head + 4), 4);
        if (Chunks.Count() == 0 && name != "IHDR")
            RaiseCodecError<EPNGIHDRNotFirst>(kPngResIHDRNotFirst);
        if (name == "cHRM" || (name == "IDAT" && hasImageData)) {
            PngRequireAvailable(stream, std::int64_t(length) + 4);
            stream->Seek(std::int64_t(length) + 4, TSeekOrigin::soCurrent);
            continue;
        }
        if (!IsRegisteredChunkName(name) && (head[4] & 0x20) == 0)
            RaiseCodecError<EPNGUnknownCriticalChunk>(kPngResUnknownCriticalChunk);
        TChunk* chunk = Chunks.Add(NewChunkForName(this, name));
        if (name == "IDAT")
            hasImageData = true;
        if (!chunk->LoadFromStream(stream, name, length) || name == "IEND")
            break;
    }
    if (!hasImageData)
        RaiseCodecError<EPNGNoImageData>(kPngResNoImageData);
}

void TPNGCore::SaveToStream(TStream* stream)
{
    stream->WriteBuffer(kSignature, 8);
    for (int i = 0; i < Chunks.Count(); ++i)
        Chunks.Item(i)->SaveToStream(stream);
}

void TPNGCore::CopyFromPNG(const TPNGCore& source)
{
    if (&source == this)
        return;
    InterlaceMethod = source.InterlaceMethod;
    SetIdatLimit(source.IdatLimit());
    DeflateLevel = source.DeflateLevel;
    RowFilters = source.RowFilters;
    MaxImageBytes = source.MaxImageBytes;
    FreeChunks();
    for (int i = 0; i < source.Chunks.Count(); ++i) {
        const TChunk* from = source.Chunks.Item(i);
        TChunk* to = Chunks.Add(from->NewInstance(this));
        to->Assign(*from);
    }
    // The colour table and DIB already hold gamma-corrected values; saving needs the same tables.
    std::memcpy(GammaLUT, source.GammaLUT, sizeof GammaLUT);
    std::memcpy(InverseGammaLUT, source.InverseGammaLUT, sizeof InverseGammaLUT);
}

TPngColor TPNGCore::ReadPixelColor(int x, int y) const
{
    TChunkIHDR* h = HeaderOrNull();
    if (!h || !h->ImageData || x < 0 || y < 0 || std::uint32_t(x) >= h->Width || std::uint32_t(y) >= h->Height)
        return 0;
    const std::uint8_t* row = h->RowAddress(y);
    int bits = h->DIBBitsPerPixel();
    if (bits == 24) {
        const std::uint8_t* p = row + 3 * std::size_t(x);
        return PngRGB(p[2], p[1], p[0]);
    }
    unsigned v = PackedValue(row, x, bits);
    if (h->ColorType == 3) {
        auto* plte = Chunks.FirstOfClass<TChunkPLTE>();
        if (!plte || int(v) >= plte->Count)
            return 0;
    }
    // The colour table already holds gamma-corrected colours.
    const TPngRGBQuad& q = h->BitmapInfo.bmiColors[v];
    return PngRGB(q.rgbRed, q.rgbGreen, q.rgbBlue);
}

void TPNGCore::WritePixelColor(int x, int y, TPngColor color)
{
    TChunkIHDR* h = HeaderOrNull();
    if (!h || !h->ImageData || x < 0 || y < 0 || std::uint32_t(x) >= h->Width || std::uint32_t(y) >= h->Height)
        return;
    std::uint8_t* row = h->RowAddress(y);
    int r = int(color & 255), g = int((color >> 8) & 255), b = int((color >> 16) & 255);
    int bits = h->DIBBitsPerPixel();
    if (bits == 24) {
        std::uint8_t* p = row + 3 * std::size_t(x);
        p[0] = std::uint8_t(b);
        p[1] = std::uint8_t(g);
        p[2] = std::uint8_t(r);
        return;
    }
    int entries = 1 << bits;
    if (h->ColorType == 3) {
        auto* plte = Chunks.FirstOfClass<TChunkPLTE>();
        entries = plte ? plte->Count : 0;
    }
    if (entries == 0)
        return;
    // Only entries the image really has are candidates (2-bit grey uses 0, 5, 10 and 15).
    int step = (h->ColorType != 3 && h->BitDepth == 2) ? 5 : 1;
    int best = 0;
    long bestDistance = -1;
    for (int i = 0; i < entries; i += step) {
        const TPngRGBQuad& q = h->BitmapInfo.bmiColors[i];
        long dr = q.rgbRed - r, dg = q.rgbGreen - g, db = q.rgbBlue - b;
        long distance = dr * dr + dg * dg + db * db;
        if (bestDistance < 0 || distance < bestDistance) {
            bestDistance = distance;
            best = i;
        }
    }
    std::size_t bit = std::size_t(x) * bits;
    int shift = 8 - bits - int(bit & 7);
    unsigned mask = ((1u << bits) - 1) << shift;
    row[bit >> 3] = std::uint8_t((row[bit >> 3] & ~mask) | ((unsigned(best) << shift) & mask));
}
