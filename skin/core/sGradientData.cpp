// The parser of a section's GRADIENTDATA text; needs no window, so the host build's skin reader and
// fuzzer reach it too.
#include "skin/core/sGradient.h"

#include "framework/SysUtils.h"

#include <string_view>
#include <vector>

void ParseGradientData(const std::wstring& data, TsGradArray& stops)
{
    stops.clear();
    if (data.empty())
        return;
    // The words between runs of ';', split in one pass: five make a stop.
    std::vector<std::wstring_view> words;
    for (size_t i = 0; i < data.size();) {
        while (i < data.size() && data[i] == L';')
            ++i;
        const size_t start = i;
        while (i < data.size() && data[i] != L';')
            ++i;
        if (i > start)
            words.push_back(std::wstring_view(data).substr(start, i - start));
    }
    const size_t n = words.size() / 5;
    stops.resize(n);
    for (size_t i = 0; i < n; ++i) {
        TsGradStop& stop = stops[i];
        stop.Color1 = StrToInt(words[5 * i]);
        stop.Color2 = StrToInt(words[5 * i + 1]);
        const int percent = StrToInt(words[5 * i + 2]);
        stop.Percent = static_cast<std::uint8_t>(static_cast<unsigned>(percent < 100 ? percent : 100) & 0xFF);
        stop.Mode = StrToInt(words[5 * i + 3]);
    }
}
