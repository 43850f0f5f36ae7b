// libFuzzer entry point: loads any bytes as a PNG, then saves and copies what loaded. Codec errors are
// expected; anything else (a crash, a sanitizer report, a hang, a leak) is a bug.
#include "png/PngCore.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    TMemoryStream stream;
    stream.WriteBuffer(data, std::int32_t(size));
    stream.SetPosition(0);
    TPNGCore image;
    image.MaxImageBytes = 32u << 20; // keeps each run within the fuzzer's memory budget
    try {
        image.LoadFromStream(&stream);
    } catch (const Exception&) {
    }
    try {
        TPNGCore copy;
        copy.CopyFromPNG(image);
        TMemoryStream out;
        copy.SaveToStream(&out);
        for (int y = 0; y < copy.PngHeight() && y < 8; ++y)
            copy.WritePixelColor(y, y, copy.ReadPixelColor(y, y) ^ 0xFFFFFFu);
    } catch (const Exception&) {
    }
    return 0;
}
