// Image data: inflating the IDAT run into the header's DIB and alpha plane, and encoding them back.
#include "png/PngChunks.h"
#include "png/PngCore.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <new>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

struct TAdam7Pass {
    int RowStart, ColumnStart, RowStep, ColumnStep;
};
constexpr TAdam7Pass kAdam7[7] = {{0, 0, 8, 8}, {0, 4, 8, 8}, {4, 0, 8, 4}, {0, 2, 4, 4},
                                  {2, 0, 4, 2}, {0, 1, 2, 2}, {1, 0, 2, 1}};

int PixelStepFor(int colorType, int bitDepth)
{
    switch (colorType) {
    case 0:
        return bitDepth == 16 ? 2 : 1;
    case 2:
        return bitDepth * 3 / 8;
    case 4:
        return bitDepth / 4;
    case 6:
        return bitDepth / 2;
    default:
        return 1;
    }
}

std::uint8_t PaethPredictor(int a, int b, int c)
{
    int p = a + b - c;
    int pa = p > a ? p - a : a - p;
    int pb = p > b ? p - b : b - p;
    int pc = p > c ? p - c : c - p;
    if (pa <= pb && pa <= pc)
        return std::uint8_t(a);
    return std::uint8_t(pb <= pc ? b : c);
}

#if defined(__SSE2__)
// Paeth over whole pixels of Step bytes (3, 4, 6 or 8) at once: the bytes of one pixel do not depend on
// each other, only on the pixel to their left, so a pixel's channels go through the predictor together.
// Loads and stores take whole 4- or 8-byte words: the row buffers have room past their end, and the
// bytes beyond the pixel go back unchanged (their predictions are masked to zero).
inline __m128i Abs16(__m128i v)
{
    return _mm_max_epi16(v, _mm_sub_epi16(_mm_setzero_si128(), v));
}

inline __m128i Select(__m128i mask, __m128i yes, __m128i no)
{
    return _mm_or_si128(_mm_and_si128(mask, yes), _mm_andnot_si128(mask, no));
}

template <std::size_t Word>
inline __m128i LoadWord(const std::uint8_t* p)
{
    if constexpr (Word == 4) {
        std::int32_t v;
        std::memcpy(&v, p, 4);
        return _mm_cvtsi32_si128(v);
    } else {
        return _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p));
    }
}

template <std::size_t Word>
inline void StoreWord(std::uint8_t* p, __m128i v)
{
    if constexpr (Word == 4) {
        std::int32_t w = _mm_cvtsi128_si32(v);
        std::memcpy(p, &w, 4);
    } else {
        _mm_storel_epi64(reinterpret_cast<__m128i*>(p), v);
    }
}

template <std::size_t Step>
void UndoPaethPixels(std::uint8_t* row, const std::uint8_t* prev, std::size_t size)
{
    constexpr std::size_t Word = Step <= 4 ? 4 : 8;
    alignas(16) std::int16_t lanes[8] = {};
    for (std::size_t k = 0; k < Step; ++k)
        lanes[k] = -1;
    const __m128i keep = _mm_load_si128(reinterpret_cast<const __m128i*>(lanes));
    const __m128i zero = _mm_setzero_si128();
    __m128i a = zero, c = zero;
    for (std::size_t i = 0; i + Step <= size; i += Step) {
        __m128i b = _mm_unpacklo_epi8(LoadWord<Word>(prev + i), zero);
        __m128i raw = LoadWord<Word>(row + i);
        __m128i pa = _mm_sub_epi16(b, c); // p - a
        __m128i pb = _mm_sub_epi16(a, c); // p - b
        __m128i pc = Abs16(_mm_add_epi16(pa, pb));
        pa = Abs16(pa);
        pb = Abs16(pb);
        __m128i smallest = _mm_min_epi16(pc, _mm_min_epi16(pa, pb));
        __m128i nearest = Select(_mm_cmpeq_epi16(smallest, pa), a, Select(_mm_cmpeq_epi16(smallest, pb), b, c));
        nearest = _mm_and_si128(nearest, keep);
        __m128i x = _mm_add_epi8(raw, _mm_packus_epi16(nearest, nearest));
        StoreWord<Word>(row + i, x);
        a = _mm_unpacklo_epi8(x, zero);
        c = b;
    }
}
#endif

// Paeth for any pixel width, a byte at a time.
void UndoPaethBytes(std::uint8_t* row, const std::uint8_t* prev, std::size_t size, std::size_t s)
{
    for (std::size_t i = 0; i < std::min(s, size); ++i)
        row[i] = std::uint8_t(row[i] + prev[i]);
    for (std::size_t i = s; i < size; ++i)
        row[i] = std::uint8_t(row[i] + PaethPredictor(row[i - s], prev[i], prev[i - s]));
}

void UndoPaeth(std::uint8_t* row, const std::uint8_t* prev, std::size_t size, std::size_t s)
{
#if defined(__SSE2__)
    switch (s) {
    case 3:
        return UndoPaethPixels<3>(row, prev, size);
    case 4:
        return UndoPaethPixels<4>(row, prev, size);
    case 6:
        return UndoPaethPixels<6>(row, prev, size);
    case 8:
        return UndoPaethPixels<8>(row, prev, size);
    default:
        break;
    }
#endif
    UndoPaethBytes(row, prev, size, s);
}

void UndoRowFilter(std::uint8_t* row, const std::uint8_t* prev, std::size_t size, int step, std::uint8_t type)
{
    std::size_t s = std::size_t(step);
    switch (type) {
    case 1:
        for (std::size_t i = s; i < size; ++i)
            row[i] = std::uint8_t(row[i] + row[i - s]);
        break;
    case 2:
        for (std::size_t i = 0; i < size; ++i)
            row[i] = std::uint8_t(row[i] + prev[i]);
        break;
    case 3:
        for (std::size_t i = 0; i < std::min(s, size); ++i)
            row[i] = std::uint8_t(row[i] + prev[i] / 2);
        for (std::size_t i = s; i < size; ++i)
            row[i] = std::uint8_t(row[i] + ((prev[i] + row[i - s]) >> 1));
        break;
    case 4:
        UndoPaeth(row, prev, size, s);
        break;
    default:
        break; // None, and unknown types leave the row as stored
    }
}

// Where a row's pixels go: the DIB row, its alpha row, and which columns (first, step, count).
struct TRowTarget {
    std::uint8_t* Dib;
    std::uint8_t* Alpha;
    int X0;
    int Dx;
    std::uint32_t Count;
    const std::uint8_t* Gamma; // null for the identity table
    const std::uint8_t* Key;   // the tRNS samples whose pixels the key plane marks, or null
};

// Packed pixels (1, 2, 4, 8 bits) into the packed DIB; Map turns a sample into the DIB's value.
void CopyPacked(const std::uint8_t* src, const TRowTarget& t, int depth, int dibDepth, const std::uint8_t* map)
{
    if (t.Dx == 1 && depth == dibDepth && !map) {
        std::memcpy(t.Dib, src, (std::size_t(t.Count) * depth + 7) / 8);
        return;
    }
    unsigned mask = (1u << depth) - 1;
    for (std::uint32_t i = 0; i < t.Count; ++i) {
        std::size_t bit = std::size_t(i) * depth;
        unsigned v = (src[bit >> 3] >> (8 - depth - (bit & 7))) & mask;
        if (map)
            v = map[v];
        std::size_t x = std::size_t(t.X0) + std::size_t(i) * t.Dx;
        std::size_t dbit = x * dibDepth;
        t.Dib[dbit >> 3] |= std::uint8_t(v << (8 - dibDepth - (dbit & 7)));
    }
}

// Whether C samples of S bytes each are the tRNS key, whose samples are always 16 bits (8-bit ones in
// the low byte).
template <int C, int S>
bool IsKeySample(const std::uint8_t* p, const std::uint8_t* key)
{
    if constexpr (S == 2) {
        return std::memcmp(p, key, C * S) == 0;
    } else {
        for (int c = 0; c < C; ++c)
            if (p[c] != key[2 * c + 1])
                return false;
        return true;
    }
}

// C channels of S bytes each: grey (1), grey+alpha (2), RGB (3), RGBA (4); only the high byte is kept.
template <int C, int S>
void CopyColour(const std::uint8_t* src, const TRowTarget& t)
{
    for (std::uint32_t i = 0; i < t.Count; ++i) {
        const std::uint8_t* p = src + std::size_t(i) * C * S;
        std::size_t x = std::size_t(t.X0) + std::size_t(i) * t.Dx;
        if constexpr (C <= 2) {
            t.Dib[x] = p[0];
        } else if (t.Gamma) {
            std::uint8_t* d = t.Dib + 3 * x;
            d[0] = t.Gamma[p[2 * S]];
            d[1] = t.Gamma[p[S]];
            d[2] = t.Gamma[p[0]];
        } else {
            std::uint8_t* d = t.Dib + 3 * x;
            d[0] = p[2 * S];
            d[1] = p[S];
            d[2] = p[0];
        }
        if constexpr (C == 2 || C == 4)
            t.Alpha[x] = p[(C - 1) * S];
        else if (t.Key)
            t.Alpha[x] = IsKeySample<C, S>(p, t.Key) ? 0 : 255;
    }
}

const std::uint8_t kGrey2Map[4] = {0, 5, 10, 15};

void CopyRow(const std::uint8_t* src, const TRowTarget& t, int colorType, int depth)
{
    switch (colorType) {
    case 0:
        if (depth == 16)
            CopyColour<1, 2>(src, t);
        else
            CopyPacked(src, t, depth, depth == 2 ? 4 : depth, depth == 2 ? kGrey2Map : nullptr);
        break;
    case 3:
        CopyPacked(src, t, depth, depth == 2 ? 4 : depth, nullptr);
        break;
    case 2:
        depth == 16 ? CopyColour<3, 2>(src, t) : CopyColour<3, 1>(src, t);
        break;
    case 4:
        depth == 16 ? CopyColour<2, 2>(src, t) : CopyColour<2, 1>(src, t);
        break;
    case 6:
        depth == 16 ? CopyColour<4, 2>(src, t) : CopyColour<4, 1>(src, t);
        break;
    default:
        break;
    }
}

class TZInflate {
public:
    TZInflate()
    {
        int rc = inflateInit(&z);
        if (rc != Z_OK)
            RaiseZlibError(rc);
    }
    ~TZInflate() { inflateEnd(&z); }
    TZInflate(const TZInflate&) = delete;
    TZInflate& operator=(const TZInflate&) = delete;
    z_stream z{};
};

// The zlib stream running across consecutive IDAT chunks, read straight into row buffers.
class TIdatReader {
public:
    TIdatReader(TStream* stream, const std::string& name, std::uint32_t size) : stream_(stream)
    {
        PngRequireAvailable(stream, std::int64_t(size) + 4);
        crc_ = PngCrc(PngCrc(0, nullptr, 0), name.data(), 4);
        endPos_ = stream->Position() + size;
    }

    // Fills Count bytes unless the zlib stream ends first; returns the bytes produced.
    std::size_t Read(std::uint8_t* buffer, std::size_t count)
    {
        z_stream& z = inflate_.z;
        z.next_out = buffer;
        z.avail_out = uInt(count);
        while (z.avail_out > 0 && !ended_) {
            if (z.avail_in == 0)
                FillInput();
            int rc = inflate(&z, Z_NO_FLUSH);
            if (rc == Z_STREAM_END)
                ended_ = true;
            else if (rc != Z_OK)
                RaiseZlibError(rc);
        }
        return count - z.avail_out;
    }

    // Moves past what is left of the current chunk (trailing bytes are tolerated) and checks its CRC.
    void Finish()
    {
        std::int64_t left = endPos_ - stream_->Position();
        while (left > 0) {
            std::int64_t part = std::min<std::int64_t>(left, sizeof input_);
            PngReadExact(stream_, input_, part);
            crc_ = PngCrc(crc_, input_, std::size_t(part));
            left -= part;
        }
        CheckCrc();
    }

private:
    void CheckCrc()
    {
        std::uint8_t stored[4];
        PngReadExact(stream_, stored, 4);
        if (PngReadUInt32(stored) != crc_)
            RaiseCodecError<EPngInvalidCRC>(kPngResInvalidCRC);
    }

    void FillInput()
    {
        // Empty IDAT chunks are passed over: the data goes on in the next one.
        while (stream_->Position() >= endPos_) {
            CheckCrc();
            std::uint8_t head[8];
            PngReadExact(stream_, head, 8);
            if (std::memcmp(head + 4, "IDAT", 4) != 0)
                RaiseCodecError<EPNGMissingMultipleIDAT>(kPngResMissingMultipleIDAT);
            std::uint32_t length = PngReadUInt32(head);
            PngRequireAvailable(stream_, std::int64_t(length) + 4);
            crc_ = PngCrc(PngCrc(0, nullptr, 0), head + 4, 4);
            endPos_ = stream_->Position() + length;
        }
        std::int64_t part = std::min<std::int64_t>(endPos_ - stream_->Position(), sizeof input_);
        PngReadExact(stream_, input_, part);
        crc_ = PngCrc(crc_, input_, std::size_t(part));
        inflate_.z.next_in = input_;
        inflate_.z.avail_in = uInt(part);
    }

    TStream* stream_;
    TZInflate inflate_;
    std::uint32_t crc_ = 0;
    std::int64_t endPos_ = 0;
    bool ended_ = false;
    std::uint8_t input_[65535];
};

// Two row buffers of RowSize + 1 bytes: the current row and the previous one. Each has a few bytes more
// at its end for the filters that read and write whole words.
class TRowBuffers {
public:
    static constexpr std::size_t kSlack = 16;
    explicit TRowBuffers(std::size_t rowBytes)
        : size_(rowBytes + 1 + kSlack), a_(new (std::nothrow) std::uint8_t[size_]()),
          b_(new (std::nothrow) std::uint8_t[size_]())
    {
        if (!a_ || !b_)
            RaiseCodecError<EPNGOutMemory>(kPngResOutMemory);
    }
    std::uint8_t* Current() { return a_.get(); }
    std::uint8_t* Previous() { return b_.get(); }
    void Swap() { std::swap(a_, b_); }
    void ZeroPrevious() { std::memset(b_.get(), 0, size_); }

private:
    std::size_t size_;
    std::unique_ptr<std::uint8_t[]> a_, b_;
};

void PrepareGreyPalette(TChunkIHDR& h, const std::uint8_t* gamma)
{
    int bits = h.DIBBitsPerPixel();
    int top = (1 << bits) - 1;
    for (int n = 0; n <= top; ++n) {
        std::uint8_t g = gamma[n * 255 / top];
        h.BitmapInfo.bmiColors[n] = TPngRGBQuad{g, g, g, 0};
    }
}

struct TGeometry {
    std::uint32_t Width, Height;
    int ColorType, Depth, Step;
};

// Decodes rows r = first, first + rowStep, ... of one pass (or of the plain image); false when data ran out.
bool DecodeRows(TIdatReader& reader, TRowBuffers& rows, TChunkIHDR& h, const TGeometry& g, const TAdam7Pass& pass,
                const std::uint8_t* gamma, const std::uint8_t* key)
{
    std::uint32_t columns = (g.Width + pass.ColumnStep - pass.ColumnStart - 1) / pass.ColumnStep;
    if (g.Width <= std::uint32_t(pass.ColumnStart))
        return true;
    std::size_t rowSize = std::size_t(PixelBytesFor(columns, g.ColorType, g.Depth));
    if (rowSize == 0)
        return true;
    rows.ZeroPrevious();
    for (std::uint32_t r = pass.RowStart; r < g.Height; r += pass.RowStep) {
        std::uint8_t* cur = rows.Current();
        if (reader.Read(cur, rowSize + 1) < rowSize + 1)
            return false;
        UndoRowFilter(cur + 1, rows.Previous() + 1, rowSize, g.Step, cur[0]);
        if (h.ImageData) {
            TRowTarget t{h.RowAddress(int(r)), h.AlphaRow(int(r)), pass.ColumnStart, pass.ColumnStep, columns, gamma,
                         key};
            CopyRow(cur + 1, t, g.ColorType, g.Depth);
        }
        rows.Swap();
    }
    return true;
}

// The transparent sample of a grey or RGB image whose DIB cannot tell the key's pixels (16-bit samples
// lose their low byte, gamma may show two samples alike), with the header's key plane made ready for it;
// null for every other image.
const std::uint8_t* PlaneKey(TChunkIHDR& h, TPNGCore* owner, bool gamma)
{
    const bool sixteen = h.BitDepth == 16 && (h.ColorType == 0 || h.ColorType == 2);
    const bool rgbUnderGamma = h.BitDepth == 8 && h.ColorType == 2 && gamma;
    if ((!sixteen && !rgbUnderGamma) || !h.ImageData)
        return nullptr;
    auto* trns = owner->Chunks.FirstOfClass<TChunktRNS>();
    if (!trns || trns->DataSize() < (h.ColorType == 0 ? 2u : 6u))
        return nullptr;
    h.SetupKeyPlane();
    return trns->Data();
}

} // namespace

std::unique_ptr<TChunk> TChunkIDAT::NewInstance(TPNGCore* owner) const
{
    return std::make_unique<TChunkIDAT>(owner);
}

bool TChunkIDAT::LoadFromStream(TStream* stream, const std::string& name, std::uint32_t size)
{
    TChunkIHDR& h = HeaderChunk();
    TPNGCore* owner = Owner();
    if (h.HasColourTable && (h.ColorType == 0 || h.ColorType == 4))
        PrepareGreyPalette(h, owner->GammaLUT);
    TGeometry g{h.Width, h.Height, h.ColorType, h.BitDepth, PixelStepFor(h.ColorType, h.BitDepth)};
    TIdatReader reader(stream, name, size);
    TRowBuffers rows(std::size_t(PixelBytesFor(g.Width, g.ColorType, g.Depth)));
    // Most images carry no gamma: their colour samples are copied without a table.
    bool identity = true;
    for (int i = 0; i < 256 && identity; ++i)
        identity = owner->GammaLUT[i] == i;
    const std::uint8_t* gamma = identity ? nullptr : owner->GammaLUT;
    const std::uint8_t* key = PlaneKey(h, owner, gamma != nullptr);
    if (owner->InterlaceMethod == 1) {
        for (const TAdam7Pass& pass : kAdam7)
            if (!DecodeRows(reader, rows, h, g, pass, gamma, key))
                break;
    } else {
        DecodeRows(reader, rows, h, g, TAdam7Pass{0, 0, 1, 1}, gamma, key);
    }
    reader.Finish();
    return true;
}

// ---- encoding ----

namespace {

// How the image data is deflated: the image's level, with the window and strategy suited to its rows.
struct TDeflateSettings {
    int Level;
    int WindowBits;
    int Strategy;
};

class TZDeflate {
public:
    explicit TZDeflate(const TDeflateSettings& s)
    {
        int rc = deflateInit2(&z, s.Level, Z_DEFLATED, s.WindowBits, 8, s.Strategy);
        if (rc != Z_OK)
            RaiseZlibError(rc);
    }
    ~TZDeflate() { deflateEnd(&z); }
    TZDeflate(const TZDeflate&) = delete;
    TZDeflate& operator=(const TZDeflate&) = delete;
    z_stream z{};
};

// Deflates rows straight into IDAT chunks of IdatLimit bytes.
class TIdatWriter {
public:
    TIdatWriter(TStream* stream, const TDeflateSettings& settings, int limit)
        : stream_(stream), deflate_(settings), limit_(std::size_t(limit))
    {
        out_.reset(new (std::nothrow) std::uint8_t[limit_]);
        if (!out_)
            RaiseCodecError<EPNGOutMemory>(kPngResOutMemory);
        ResetOutput();
    }

    void Write(const std::uint8_t* bytes, std::size_t count)
    {
        z_stream& z = deflate_.z;
        z.next_in = const_cast<Bytef*>(bytes);
        z.avail_in = uInt(count);
        while (z.avail_in > 0) {
            int rc = deflate(&z, Z_NO_FLUSH);
            if (rc != Z_OK)
                RaiseZlibError(rc);
            if (z.avail_out == 0) {
                WriteChunk(limit_);
                ResetOutput();
            }
        }
    }

    void Finish()
    {
        z_stream& z = deflate_.z;
        for (;;) {
            int rc = deflate(&z, Z_FINISH);
            if (rc == Z_STREAM_END)
                break;
            if (rc != Z_OK && rc != Z_BUF_ERROR)
                RaiseZlibError(rc);
            std::size_t produced = limit_ - z.avail_out;
            if (produced > 0)
                WriteChunk(produced);
            ResetOutput();
        }
        std::size_t produced = limit_ - z.avail_out;
        if (produced > 0)
            WriteChunk(produced);
    }

private:
    void ResetOutput()
    {
        deflate_.z.next_out = out_.get();
        deflate_.z.avail_out = uInt(limit_);
    }

    void WriteChunk(std::size_t length)
    {
        std::uint8_t head[8];
        PngWriteUInt32(head, std::uint32_t(length));
        std::memcpy(head + 4, "IDAT", 4);
        stream_->WriteBuffer(head, 8);
        stream_->WriteBuffer(out_.get(), std::int32_t(length));
        std::uint8_t tail[4];
        PngWriteUInt32(tail, PngCrc(PngCrc(PngCrc(0, nullptr, 0), head + 4, 4), out_.get(), length));
        stream_->WriteBuffer(tail, 4);
    }

    TStream* stream_;
    TZDeflate deflate_;
    std::size_t limit_;
    std::unique_ptr<std::uint8_t[]> out_;
};

struct TRowSource {
    const std::uint8_t* Dib;
    const std::uint8_t* Alpha;
    int X0;
    int Dx;
    std::uint32_t Count;
    const std::uint8_t* Inverse;
    bool IdentityInverse;    // the table changes nothing, so plain rows may skip it
    const std::uint8_t* Key; // the tRNS samples when Alpha is the header's key plane, or null
};

void ConvertPacked(std::uint8_t* out, const TRowSource& s, int depth, std::size_t rowSize)
{
    if (s.Dx == 1) {
        std::memcpy(out, s.Dib, rowSize);
        return;
    }
    std::memset(out, 0, rowSize);
    unsigned mask = (1u << depth) - 1;
    for (std::uint32_t i = 0; i < s.Count; ++i) {
        std::size_t x = std::size_t(s.X0) + std::size_t(i) * s.Dx;
        std::size_t sbit = x * depth;
        unsigned v = (s.Dib[sbit >> 3] >> (8 - depth - (sbit & 7))) & mask;
        std::size_t bit = std::size_t(i) * depth;
        out[bit >> 3] |= std::uint8_t(v << (8 - depth - (bit & 7)));
    }
}

template <int C, int S>
void SetKeySample(std::uint8_t* p, const std::uint8_t* key)
{
    for (int c = 0; c < C; ++c)
        if constexpr (S == 2) {
            p[2 * c] = key[2 * c];
            p[2 * c + 1] = key[2 * c + 1];
        } else {
            p[c] = key[2 * c + 1];
        }
}

template <int C, int S>
void ConvertColour(std::uint8_t* out, const TRowSource& s)
{
    for (std::uint32_t i = 0; i < s.Count; ++i) {
        std::uint8_t* p = out + std::size_t(i) * C * S;
        std::size_t x = std::size_t(s.X0) + std::size_t(i) * s.Dx;
        if constexpr (C <= 2) {
            p[0] = s.Dib[x];
        } else {
            const std::uint8_t* d = s.Dib + 3 * x;
            p[0] = s.Inverse[d[2]];
            p[S] = s.Inverse[d[1]];
            p[2 * S] = s.Inverse[d[0]];
        }
        if constexpr (C == 2 || C == 4)
            p[(C - 1) * S] = s.Alpha[x];
        if constexpr (S == 2)
            for (int c = 0; c < C; ++c)
                p[2 * c + 1] = 0;
        // The low bytes (or the samples gamma showed alike) are gone: the key pixels get the key back
        // whole, and no other pixel may become it.
        if constexpr (C == 1 || C == 3)
            if (s.Key) {
                if (s.Alpha[x] == 0)
                    SetKeySample<C, S>(p, s.Key);
                else if (IsKeySample<C, S>(p, s.Key))
                    p[C * S - 1] ^= 1;
            }
    }
}

// The common case of a plain 8-bit RGB or RGBA row with no gamma to undo: blue, green, red swapped into
// place, alpha beside them.
template <int C>
void ConvertRgbPlain(std::uint8_t* out, const TRowSource& s)
{
    const std::uint8_t* d = s.Dib;
    for (std::uint32_t i = 0; i < s.Count; ++i, d += 3, out += C) {
        out[0] = d[2];
        out[1] = d[1];
        out[2] = d[0];
        if constexpr (C == 4)
            out[3] = s.Alpha[i];
    }
}

void ConvertRow(std::uint8_t* out, const TRowSource& s, int colorType, int depth, std::size_t rowSize)
{
    bool plainRgb = depth == 8 && s.Dx == 1 && s.IdentityInverse && !s.Key;
    switch (colorType) {
    case 0:
        if (depth == 16)
            ConvertColour<1, 2>(out, s);
        else if (depth == 8 && s.Key)
            ConvertColour<1, 1>(out, s);
        else
            ConvertPacked(out, s, depth, rowSize);
        break;
    case 3:
        ConvertPacked(out, s, depth, rowSize);
        break;
    case 2:
        if (plainRgb)
            ConvertRgbPlain<3>(out, s);
        else
            depth == 16 ? ConvertColour<3, 2>(out, s) : ConvertColour<3, 1>(out, s);
        break;
    case 4:
        depth == 16 ? ConvertColour<2, 2>(out, s) : ConvertColour<2, 1>(out, s);
        break;
    case 6:
        if (plainRgb)
            ConvertRgbPlain<4>(out, s);
        else
            depth == 16 ? ConvertColour<4, 2>(out, s) : ConvertColour<4, 1>(out, s);
        break;
    default:
        std::memset(out, 0, rowSize);
    }
}

// The filters of one row: x the raw row, p the previous raw row, s the pixel step; each writes RowSize bytes.
// They are plain loops over whole rows (the first pixel apart) so the compiler can widen them.
void FilterSub(std::uint8_t* o, const std::uint8_t* x, std::size_t size, std::size_t s)
{
    std::size_t head = std::min(s, size);
    std::memcpy(o, x, head);
    for (std::size_t i = head; i < size; ++i)
        o[i] = std::uint8_t(x[i] - x[i - s]);
}

void FilterUp(std::uint8_t* o, const std::uint8_t* x, const std::uint8_t* p, std::size_t size)
{
    for (std::size_t i = 0; i < size; ++i)
        o[i] = std::uint8_t(x[i] - p[i]);
}

void FilterAverage(std::uint8_t* o, const std::uint8_t* x, const std::uint8_t* p, std::size_t size, std::size_t s)
{
    std::size_t head = std::min(s, size);
    for (std::size_t i = 0; i < head; ++i)
        o[i] = std::uint8_t(x[i] - p[i] / 2);
    for (std::size_t i = head; i < size; ++i)
        o[i] = std::uint8_t(x[i] - ((x[i - s] + p[i]) >> 1));
}

void FilterPaeth(std::uint8_t* o, const std::uint8_t* x, const std::uint8_t* p, std::size_t size, std::size_t s)
{
    // Left of the first pixel a and c are 0, so the predictor is b.
    std::size_t head = std::min(s, size);
    for (std::size_t i = 0; i < head; ++i)
        o[i] = std::uint8_t(x[i] - p[i]);
    for (std::size_t i = head; i < size; ++i) {
        int a = x[i - s], b = p[i], c = p[i - s];
        int pa = b > c ? b - c : c - b;
        int pb = a > c ? a - c : c - a;
        int ac = a + b - 2 * c;
        int pc = ac < 0 ? -ac : ac;
        int predicted = (pa <= pb && pa <= pc) ? a : (pb <= pc ? b : c);
        o[i] = std::uint8_t(x[i] - predicted);
    }
}

// Positions j >= 2 whose byte equals one of the two before it: the measure by which rows choose a filter.
std::size_t RepeatedNeighbours(const std::uint8_t* o, std::size_t size)
{
    std::size_t n = 0;
    for (std::size_t j = 2; j < size; ++j)
        n += (o[j] == o[j - 1]) | (o[j] == o[j - 2]);
    return n;
}

// Filters raw rows with the kinds of RowFilters and picks one per row. Every buffer holds the filter byte
// before its row, so the chosen one goes to the deflater in one piece; the raw rows are the None output.
class TRowFilterer {
public:
    TRowFilterer(std::size_t rowSize, int step, TFilters filters) : size_(rowSize), step_(std::size_t(step)), filters_(filters)
    {
        for (auto& raw : raw_)
            raw = Allocate(0);
        for (int k = 1; k < 5; ++k)
            if (filters.Contains(TFilter(k)))
                out_[k] = Allocate(std::uint8_t(k));
    }

    // Where the next raw row goes (RowSize bytes).
    std::uint8_t* Raw() { return raw_[0].get() + 1; }

    // Filters the raw row; returns the chosen filter byte followed by its RowSize bytes. The raw row
    // becomes the previous row for the next call.
    const std::uint8_t* Filter()
    {
        const std::uint8_t* x = Raw();
        const std::uint8_t* p = raw_[1].get() + 1;
        if (filters_.Contains(TFilter::pfSub))
            FilterSub(out_[1].get() + 1, x, size_, step_);
        if (filters_.Contains(TFilter::pfUp))
            FilterUp(out_[2].get() + 1, x, p, size_);
        if (filters_.Contains(TFilter::pfAverage))
            FilterAverage(out_[3].get() + 1, x, p, size_, step_);
        if (filters_.Contains(TFilter::pfPaeth))
            FilterPaeth(out_[4].get() + 1, x, p, size_, step_);
        int kind = Choose();
        std::swap(raw_[0], raw_[1]);
        return kind == 0 ? raw_[1].get() : out_[kind].get();
    }

private:
    std::unique_ptr<std::uint8_t[]> Allocate(std::uint8_t kind) const
    {
        std::unique_ptr<std::uint8_t[]> b(new (std::nothrow) std::uint8_t[size_ + 1]());
        if (!b)
            RaiseCodecError<EPNGOutMemory>(kPngResOutMemory);
        b[0] = kind;
        return b;
    }

    int Choose() const
    {
        if (filters_.Empty() || filters_ == TFilters{TFilter::pfNone})
            return 0;
        if (filters_.Count() == 1)
            for (int k = 1; k < 5; ++k)
                if (filters_.Contains(TFilter(k)))
                    return k;
        int best = 0;
        std::size_t bestCount = 0;
        for (int k = 0; k < 5; ++k) {
            if (!filters_.Contains(TFilter(k)))
                continue;
            std::size_t n = RepeatedNeighbours((k == 0 ? raw_[0].get() : out_[k].get()) + 1, size_);
            if (n > bestCount) {
                bestCount = n;
                best = k;
            }
        }
        return best;
    }

    std::size_t size_;
    std::size_t step_;
    TFilters filters_;
    std::unique_ptr<std::uint8_t[]> raw_[2]; // the current raw row, then the previous one (zero at first)
    std::unique_ptr<std::uint8_t[]> out_[5];
};

bool IsIdentity(const std::uint8_t* table)
{
    for (int i = 0; i < 256; ++i)
        if (table[i] != i)
            return false;
    return true;
}

// The share of positions in Sub-filtered sample rows that repeat one of the two bytes before them: near 1
// for drawn graphics (flat areas, repeated patterns), a third or so for photographs, whose residuals are noise.
double SampleRepeatShare(const TChunkIHDR& h, const TRowSource& plain, int colorType, int depth, std::size_t rowSize)
{
    constexpr std::uint32_t kSamples = 8;
    std::unique_ptr<std::uint8_t[]> raw(new (std::nothrow) std::uint8_t[rowSize]);
    std::unique_ptr<std::uint8_t[]> sub(new (std::nothrow) std::uint8_t[rowSize]);
    if (!raw || !sub)
        RaiseCodecError<EPNGOutMemory>(kPngResOutMemory);
    std::size_t step = std::size_t(PixelStepFor(colorType, depth)), repeats = 0, positions = 0;
    for (std::uint32_t k = 0; k < kSamples; ++k) {
        auto r = int(std::uint64_t(h.Height) * (2 * k + 1) / (2 * kSamples));
        TRowSource s = plain;
        s.Dib = h.RowAddress(r);
        s.Alpha = h.AlphaRow(r);
        ConvertRow(raw.get(), s, colorType, depth, rowSize);
        FilterSub(sub.get(), raw.get(), rowSize, step);
        repeats += RepeatedNeighbours(sub.get(), rowSize);
        positions += rowSize - 2;
    }
    return double(repeats) / double(positions);
}

// The image's DeflateLevel always; the window and strategy follow the rows. In filtered photographs the far
// matches deflate finds are a few bytes long and cost about what they save, while searching the whole
// 32 KB window for them is most of the encoding time: such images get a window of the rows just above (at
// least 8 KB, and always the whole row before) and the strategy zlib offers for filtered data, which codes
// short matches as literals. Drawn graphics repeat over many rows and keep the full window.
TDeflateSettings DeflateSettingsFor(const TChunkIHDR& h, const TPNGCore& owner, const TRowSource& plain, int depth,
                                    std::size_t rowSize)
{
    TDeflateSettings full{owner.ZlibLevel(), 15, Z_DEFAULT_STRATEGY};
    bool filtered = !owner.RowFilters.Empty() && owner.RowFilters != TFilters{TFilter::pfNone};
    std::uint64_t dataBytes = std::uint64_t(rowSize + 1) * h.Height;
    if (!filtered || !h.ImageData || rowSize < 3 || dataBytes <= (1u << 13))
        return full;
    if (SampleRepeatShare(h, plain, h.ColorType, depth, rowSize) >= 0.5)
        return full;
    int bits = 13;
    while (bits < 15 && (std::size_t(1) << bits) < rowSize + 1)
        ++bits;
    return TDeflateSettings{owner.ZlibLevel(), bits, Z_FILTERED};
}

} // namespace

bool TChunkIDAT::SaveToStream(TStream* stream)
{
    TChunkIHDR& h = HeaderChunk();
    TPNGCore* owner = Owner();
    int depth = h.BitDepth == 2 ? 4 : h.BitDepth; // 2-bit images are written at the DIB's 4 bits
    int colorType = h.ColorType;
    std::size_t fullRow = std::size_t(PixelBytesFor(h.Width, colorType, depth));
    const std::uint8_t* key = nullptr;
    if (h.HasKeyPlane() && h.BitDepth >= 8)
        if (auto* trns = owner->Chunks.FirstOfClass<TChunktRNS>(); trns && trns->DataSize() >= (colorType == 0 ? 2u : 6u))
            key = trns->Data();
    bool identityInverse = IsIdentity(owner->InverseGammaLUT);
    const TRowSource plainRows{nullptr, nullptr, 0, 1, h.Width, owner->InverseGammaLUT, identityInverse, key};
    TIdatWriter writer(stream, DeflateSettingsFor(h, *owner, plainRows, depth, fullRow), owner->IdatLimit());
    int step = PixelStepFor(colorType, depth);
    bool interlaced = owner->InterlaceMethod == 1;
    const TAdam7Pass plain{0, 0, 1, 1};
    const TAdam7Pass* passes = interlaced ? kAdam7 : &plain;
    int passCount = interlaced ? 7 : 1;
    for (int p = 0; p < passCount && h.ImageData; ++p) {
        const TAdam7Pass& pass = passes[p];
        if (h.Width <= std::uint32_t(pass.ColumnStart))
            continue;
        std::uint32_t columns = (h.Width + pass.ColumnStep - pass.ColumnStart - 1) / pass.ColumnStep;
        std::size_t rowSize = std::size_t(PixelBytesFor(columns, colorType, depth));
        if (rowSize == 0)
            continue;
        TRowFilterer filterer(rowSize, step, owner->RowFilters);
        for (std::uint32_t r = pass.RowStart; r < h.Height; r += pass.RowStep) {
            TRowSource s{h.RowAddress(int(r)), h.AlphaRow(int(r)), pass.ColumnStart, pass.ColumnStep, columns,
                         owner->InverseGammaLUT, identityInverse, key};
            ConvertRow(filterer.Raw(), s, colorType, depth, rowSize);
            writer.Write(filterer.Filter(), rowSize + 1);
        }
    }
    writer.Finish();
    return true;
}
