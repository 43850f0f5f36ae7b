#include "tests/png/png_test_util.h"

#include <zlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

namespace pngtest {

Bytes BigEndian32(std::uint32_t v)
{
    return Bytes{char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
}

Bytes Chunk(const std::string& name, const Bytes& data)
{
    Bytes body = name + data;
    uLong crc = crc32(0, reinterpret_cast<const Bytef*>(body.data()), uInt(body.size()));
    return BigEndian32(std::uint32_t(data.size())) + body + BigEndian32(std::uint32_t(crc));
}

Bytes Signature()
{
    return Bytes("\x89PNG\r\n\x1a\n", 8);
}

Bytes PlainRows(int height, const Bytes& row)
{
    Bytes out;
    for (int y = 0; y < height; ++y)
        out += char(0) + row;
    return out;
}

Bytes Ihdr(std::uint32_t width, std::uint32_t height, int depth, int colorType, int interlace)
{
    Bytes d = BigEndian32(width) + BigEndian32(height);
    d += char(depth);
    d += char(colorType);
    d += char(0);
    d += char(0);
    d += char(interlace);
    return Chunk("IHDR", d);
}

Bytes Zlib(const Bytes& data, int level, const Bytes& dictionary)
{
    z_stream z{};
    deflateInit(&z, level);
    if (!dictionary.empty())
        deflateSetDictionary(&z, reinterpret_cast<const Bytef*>(dictionary.data()), uInt(dictionary.size()));
    Bytes out(deflateBound(&z, uLong(data.size())) + 64, '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    z.avail_in = uInt(data.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = uInt(out.size());
    deflate(&z, Z_FINISH);
    out.resize(z.total_out);
    deflateEnd(&z);
    return out;
}

Bytes Idats(const Bytes& stream, std::size_t pieceSize)
{
    if (pieceSize == 0)
        return Chunk("IDAT", stream);
    Bytes out;
    for (std::size_t i = 0; i < stream.size(); i += pieceSize)
        out += Chunk("IDAT", stream.substr(i, pieceSize));
    return out;
}

Bytes Png(const Bytes& ihdr, const Bytes& rawRows, const Bytes& extraChunks, std::size_t pieceSize)
{
    return Signature() + ihdr + extraChunks + Idats(Zlib(rawRows), pieceSize) + Chunk("IEND", Bytes());
}

std::string FormatName(const TFormat& f)
{
    static const char* const kKinds[] = {"Grey", "", "Rgb", "Palette", "GreyAlpha", "", "Rgba"};
    return kKinds[f.ColorType] + std::to_string(f.Depth);
}

Bytes KeyedPng(const TFormat& f, bool gamma)
{
    Bytes trns = Chunk("tRNS", Bytes(f.ColorType == 2 ? 6 : f.ColorType == 0 ? 2 : 1, '\0'));
    return VariedPng(f, 13, 11, 0, trns, gamma ? Chunk("gAMA", BigEndian32(20000)) : Bytes());
}

std::vector<TKeyRow> KeyRows()
{
    std::vector<TKeyRow> rows;
    for (const TFormat& f : kKeyFormats)
        for (bool gamma : {false, true})
            rows.push_back({f, gamma, false});
    rows.push_back({{3, 1}, false, true});
    rows.push_back({{3, 2}, true, true});
    return rows;
}

std::string KeyRowName(const TKeyRow& row)
{
    return FormatName(row.Format) + (row.Gamma ? "Gamma" : "") + (row.Black ? "Black" : "");
}

Bytes VariedPng(const TFormat& f, int w, int h, int interlace, const Bytes& extra, const Bytes& beforePalette)
{
    std::mt19937 random(unsigned(f.ColorType * 100 + f.Depth));
    Bytes plte;
    if (f.ColorType == 3) {
        Bytes entries;
        for (int i = 0; i < (1 << f.Depth); ++i)
            entries += Bytes{char(i * 37), char(i * 11), char(255 - i)};
        plte = Chunk("PLTE", entries);
    }
    // Filtered rows are written as filter 0 whatever the image; Adam7 needs one row run per pass.
    Bytes rows;
    auto addRows = [&](int width, int height) {
        std::size_t size = std::size_t(PixelBytesFor(std::uint64_t(width), f.ColorType, f.Depth));
        for (int y = 0; y < height; ++y) {
            rows += char(0);
            for (std::size_t i = 0; i < size; ++i)
                rows += char(random());
        }
    };
    if (interlace == 0) {
        addRows(w, h);
    } else {
        const int rs[] = {0, 0, 4, 0, 2, 0, 1}, cs[] = {0, 4, 0, 2, 0, 1, 0}, rd[] = {8, 8, 8, 4, 4, 2, 2},
                  cd[] = {8, 8, 4, 4, 2, 2, 1};
        for (int p = 0; p < 7; ++p) {
            int pw = w > cs[p] ? (w - cs[p] + cd[p] - 1) / cd[p] : 0;
            int ph = h > rs[p] ? (h - rs[p] + rd[p] - 1) / rd[p] : 0;
            if (pw > 0)
                addRows(pw, ph);
        }
    }
    return Png(Ihdr(std::uint32_t(w), std::uint32_t(h), f.Depth, f.ColorType, interlace), rows,
               beforePalette + plte + extra);
}

void Load(TPNGCore& image, const Bytes& bytes)
{
    TMemoryStream stream;
    stream.WriteBuffer(bytes.data(), std::int32_t(bytes.size()));
    stream.SetPosition(0);
    image.LoadFromStream(&stream);
}

Bytes Save(TPNGCore& image)
{
    TMemoryStream stream;
    image.SaveToStream(&stream);
    return Bytes(static_cast<const char*>(stream.Memory()), std::size_t(stream.Size()));
}

namespace {

template <class F>
void ForEachChunk(const Bytes& png, F f)
{
    std::size_t pos = 8;
    while (pos + 12 <= png.size()) {
        auto* p = reinterpret_cast<const unsigned char*>(png.data() + pos);
        std::size_t length = (std::size_t(p[0]) << 24) | (p[1] << 16) | (p[2] << 8) | p[3];
        f(png.substr(pos + 4, 4), png.substr(pos + 8, length));
        pos += 12 + length;
    }
}

} // namespace

std::vector<std::string> ChunkNames(const Bytes& png)
{
    std::vector<std::string> names;
    ForEachChunk(png, [&](const std::string& n, const Bytes&) { names.push_back(n); });
    return names;
}

std::vector<Bytes> ChunkData(const Bytes& png, const std::string& name)
{
    std::vector<Bytes> all;
    ForEachChunk(png, [&](const std::string& n, const Bytes& d) {
        if (n == name)
            all.push_back(d);
    });
    return all;
}

Bytes WithoutChunk(const Bytes& png, const std::string& name)
{
    Bytes out = png.substr(0, 8);
    std::size_t pos = 8;
    ForEachChunk(png, [&](const std::string& n, const Bytes& d) {
        if (n != name)
            out += png.substr(pos, 12 + d.size());
        pos += 12 + d.size();
    });
    return out;
}

Bytes DecompressIdat(const Bytes& png)
{
    Bytes stream;
    for (const Bytes& d : ChunkData(png, "IDAT"))
        stream += d;
    z_stream z{};
    inflateInit(&z);
    z.next_in = reinterpret_cast<Bytef*>(stream.data());
    z.avail_in = uInt(stream.size());
    Bytes out;
    char buffer[16384];
    int rc = Z_OK;
    while (rc == Z_OK) {
        z.next_out = reinterpret_cast<Bytef*>(buffer);
        z.avail_out = sizeof buffer;
        rc = inflate(&z, Z_NO_FLUSH);
        out.append(buffer, sizeof buffer - z.avail_out);
    }
    inflateEnd(&z);
    return out;
}

Bytes ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot open " + path);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string SuitePath(const std::string& name)
{
    return std::string(VELMORA_PNGSUITE_DIR) + "/" + name;
}

std::string SuiteExtraPath(const std::string& name)
{
    return std::string(VELMORA_PNGSUITE_DIR) + "/../" + name;
}

std::vector<std::string> SuiteFiles()
{
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(std::filesystem::u8path(std::string(VELMORA_PNGSUITE_DIR))))
        if (e.path().extension() == ".png")
            names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

Decoded Pixels(const TPNGCore& image)
{
    Decoded d;
    d.Width = image.PngWidth();
    d.Height = image.PngHeight();
    const TChunkIHDR* h = image.HeaderOrNull();
    for (int y = 0; y < d.Height; ++y)
        for (int x = 0; x < d.Width; ++x) {
            d.Rgb.push_back(image.ReadPixelColor(x, y));
            d.Alpha.push_back(h && h->ImageAlpha ? h->AlphaRow(y)[x] : 255);
        }
    return d;
}

} // namespace pngtest
