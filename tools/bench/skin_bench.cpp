// The skin-loading measurement: a generated packed skin of about 1 MB loaded from memory, against the
// floor of the same work done with plain calls: zlib inflate of the entries, a device-independent
// bitmap made of each image's pixels, and the text split into sections of keys and values.
#include "tools/bench/bench.h"
#include "tools/bench/profiler.h"

#include "framework/WinApi.h"
#include "skin/core/acSkinPack.h"
#include "skin/core/sSkinManager.h"

#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

struct Entry {
    std::string name;
    std::string bytes;
    std::string packed;
};

void PutInt32(std::string& out, std::int32_t value)
{
    for (int i = 0; i < 4; ++i)
        out += static_cast<char>((static_cast<std::uint32_t>(value) >> (8 * i)) & 0xFF);
}

// A 24-bit bottom-up BMP file: smooth gradients with some noise, which compress about as real skin
// images do.
std::string BitmapFile(int width, int height, unsigned seed)
{
    const int stride = (width * 3 + 3) & ~3;
    const std::int32_t imageSize = stride * height;
    std::string s = "BM";
    PutInt32(s, 54 + imageSize);
    PutInt32(s, 0);
    PutInt32(s, 54);
    PutInt32(s, 40);
    PutInt32(s, width);
    PutInt32(s, height);
    PutInt32(s, 1 | (24 << 16));
    PutInt32(s, 0);
    PutInt32(s, imageSize);
    PutInt32(s, 2835);
    PutInt32(s, 2835);
    PutInt32(s, 0);
    PutInt32(s, 0);
    for (int y = 0; y < height; ++y) {
        std::string row(static_cast<size_t>(stride), '\0');
        for (int x = 0; x < width * 3; ++x) {
            seed = seed * 1103515245u + 12345u;
            row[static_cast<size_t>(x)] = static_cast<char>(((x / 3 + y) % 256) ^ ((seed >> 16) & 0x3F));
        }
        s += row;
    }
    return s;
}

std::vector<Entry> MakeEntries()
{
    std::string options = "[GLOBALINFO]\r\nVERSION=6\r\n";
    for (int i = 0; i < 300; ++i)
        options += "[SECTION" + std::to_string(i) + "]\r\nCOLOR=" + std::to_string(i * 4099) +
                   "\r\nPARENTCLASS=SECTION0\r\nBORDERSMASK=^0000^0000^0090^0060^0000^0000^0000^0000^3^1^1^2\r\n"
                   "GRADIENTDATA=1;2;50;0;0;3;4;50;0;0\r\n" +
                   (i < 8 ? "GLYPHMASK=!IMAGE" + std::to_string(i) + ".BMP!3!1!0\r\n" : std::string());
    std::vector<Entry> entries{{"Options.dat", options, {}}};
    for (int i = 0; i < 8; ++i)
        entries.push_back({"IMAGE" + std::to_string(i) + ".BMP", BitmapFile(240, 200, 17u + i), {}});
    for (Entry& e : entries) {
        uLongf size = compressBound(static_cast<uLong>(e.bytes.size()));
        e.packed.resize(size);
        compress2(reinterpret_cast<Bytef*>(e.packed.data()), &size, reinterpret_cast<const Bytef*>(e.bytes.data()),
                  static_cast<uLong>(e.bytes.size()), 6);
        e.packed.resize(size);
    }
    return entries;
}

std::string Container(const std::vector<Entry>& entries)
{
    std::string out(kPackedSkinMagic, 4);
    PutInt32(out, static_cast<std::int32_t>(entries.size()));
    for (const Entry& e : entries) {
        PutInt32(out, static_cast<std::int32_t>(e.name.size()));
        out += e.name;
        PutInt32(out, static_cast<std::int32_t>(e.bytes.size()));
        out += e.packed;
    }
    return out;
}

// A DIB section holding the pixels of a BMP file, made with plain calls; null for another entry.
HBITMAP PlainBitmap(const std::string& file)
{
    if (file.size() < 54 || file.compare(0, 2, "BM") != 0)
        return nullptr;
    BITMAPFILEHEADER header;
    BITMAPINFOHEADER info;
    std::memcpy(&header, file.data(), sizeof(header));
    std::memcpy(&info, file.data() + sizeof(header), sizeof(info));
    BITMAPINFO bmi{};
    bmi.bmiHeader = info;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap && bits && header.bfOffBits + info.biSizeImage <= file.size())
        std::memcpy(bits, file.data() + header.bfOffBits, info.biSizeImage);
    return bitmap;
}

// The skin text read with plain calls as any reader must read it: decoded, split into lines, and the
// lines into sections of key and value.
struct PlainSection {
    std::wstring name;
    std::vector<std::pair<std::wstring, std::wstring>> values;
};

std::vector<PlainSection> PlainText(const std::string& bytes)
{
    const int length = MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring text(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(), length);
    std::vector<PlainSection> sections;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find_first_of(L"\r\n", start);
        if (end == std::wstring::npos)
            end = text.size();
        const std::wstring_view line(text.data() + start, end - start);
        if (!line.empty() && line.front() == L'[' && line.back() == L']') {
            sections.push_back({std::wstring(line.substr(1, line.size() - 2)), {}});
        } else if (const size_t eq = line.find(L'='); eq != std::wstring_view::npos && !sections.empty()) {
            sections.back().values.emplace_back(line.substr(0, eq), line.substr(eq + 1));
        }
        start = end + 1;
    }
    return sections;
}

} // namespace

VELMORA_BENCH(skin_load)
{
    const std::vector<Entry> entries = MakeEntries();
    const std::string container = Container(entries);

    // The floor unpacks every entry and makes the same bitmaps; it reads the text as well, since no load
    // of a skin can do without its sections and keys (the note gives the floor without that).
    auto floor = [&](bool readText) {
        std::string out;
        std::vector<HBITMAP> bitmaps;
        std::vector<PlainSection> text;
        for (const Entry& e : entries) {
            out.resize(e.bytes.size());
            uLongf size = static_cast<uLongf>(out.size());
            uncompress(reinterpret_cast<Bytef*>(out.data()), &size, reinterpret_cast<const Bytef*>(e.packed.data()),
                       static_cast<uLong>(e.packed.size()));
            if (HBITMAP bitmap = PlainBitmap(out))
                bitmaps.push_back(bitmap);
            else if (readText)
                text = PlainText(out);
        }
        // A reload frees the skin before: the floor frees its bitmaps as well.
        for (HBITMAP bitmap : bitmaps)
            DeleteObject(bitmap);
    };
    TsSkinManager sm;
    sm.SetSkinDirectory(L"Z:\\nonexistent-skin-dir");
    TsStoredSkin* stored = sm.InternalSkins()->Add();
    stored->SetName(L"Bench");
    stored->Data()->WriteBuffer(container.data(), static_cast<std::int32_t>(container.size()));

    // Ours and the floors take turns, so a load of the machine that changes during the run weighs on
    // all of them alike; each time is the median of its turns.
    bench::Result r;
    r.theirs = "plain inflate of the same entries, a DIB of each image and the text split into keys";
    std::vector<double> ours, theirs, withoutText;
    {
        bench::Profile profile("skin load");
        const int turns = std::getenv("VELMORA_BENCH_PROFILE") ? 100 : 15;
        for (int i = 0; i < turns; ++i) {
            theirs.push_back(bench::MedianMs(1, [&] { floor(true); }));
            withoutText.push_back(bench::MedianMs(1, [&] { floor(false); }));
            ours.push_back(bench::MedianMs(1, [&] { sm.SetSkinName(L"Bench"); }));
        }
    }
    auto median = [](std::vector<double>& times) {
        std::sort(times.begin(), times.end());
        return times[times.size() / 2];
    };
    r.oursMs = median(ours);
    r.theirsMs = median(theirs);
    const double plain = median(withoutText);
    r.ours = "packed skin of " + std::to_string(container.size()) + " bytes (" + std::to_string(sm.Sections.size()) +
             " sections, " + std::to_string(sm.Masks.size()) + " images) from memory";
    char note[96];
    std::snprintf(note, sizeof note, "floor without reading the text %.1f ms, ratio %.2f", plain,
                  plain > 0 ? r.oursMs / plain : 0.0);
    r.note = note;
    return r;
}
