// libFuzzer entry point: reads any bytes as a skin file (packed container, inflate stream, INI text, and
// the masks and sections built from its values).
// The reader's exceptions are expected; anything else (a crash, a sanitizer report, a hang, a leak, a
// foreign exception) is a bug.
#include "tests/skin_core/skin_bytes.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // Skins are kilobytes to a few megabytes; larger inputs only slow the search down.
    if (size > (4u << 20))
        return 0;
    ReadSkinBytes(data, size);
    return 0;
}
