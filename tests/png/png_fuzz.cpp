// libFuzzer entry point: loads any bytes as a PNG, then copies what loaded, keys the copy on a colour it
// shows and saves it. Codec errors are expected; anything else (a crash, a sanitizer report, a hang, a
// leak) is a bug.
#include "png/PngCore.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace {

// A mutated chunk almost never keeps a valid CRC, and the loader stops at the first bad one, so the
// fuzzer would hardly reach past the chunk it changed. Most inputs get their CRCs made right first; an
// input whose last byte is odd keeps them as they are, so the checks themselves are fuzzed too.
void RepairCrcs(std::vector<std::uint8_t>& bytes)
{
    std::size_t pos = 8;
    while (pos + 12 <= bytes.size()) {
        std::uint64_t length = PngReadUInt32(&bytes[pos]);
        if (length > bytes.size() - pos - 12)
            return;
        std::size_t end = pos + 8 + std::size_t(length);
        PngWriteUInt32(&bytes[end], PngCrc(PngCrc(0, nullptr, 0), &bytes[pos + 4], std::size_t(length) + 4));
        pos = end + 4;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::vector<std::uint8_t> bytes(data, data + size);
    if (size > 0 && (data[size - 1] & 1) == 0)
        RepairCrcs(bytes);
    TMemoryStream stream;
    stream.WriteBuffer(bytes.data(), std::int32_t(bytes.size()));
    stream.SetPosition(0);
    TPNGCore image;
    image.MaxImageBytes = 32u << 20; // keeps each run within the fuzzer's memory budget
    bool loaded = false;
    try {
        image.LoadFromStream(&stream);
        loaded = true;
    } catch (const Exception&) {
    }
    TMemoryStream out;
    try {
        TPNGCore copy;
        copy.CopyFromPNG(image);
        if (auto* trns = copy.Chunks.FirstOfClass<TChunktRNS>())
            trns->SetTransparentColor(copy.ReadPixelColor(0, 0));
        copy.SaveToStream(&out);
        for (int y = 0; y < copy.PngHeight() && y < 8; ++y)
            copy.WritePixelColor(y, y, copy.ReadPixelColor(y, y) ^ 0xFFFFFFu);
    } catch (const Exception&) {
        loaded = false;
    }
    // What loaded and was written again must load again.
    if (loaded) {
        out.SetPosition(0);
        TPNGCore again;
        try {
            again.LoadFromStream(&out);
        } catch (const Exception&) {
            __builtin_trap();
        }
    }
    return 0;
}
