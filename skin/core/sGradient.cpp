#include "skin/core/sGradient.h"

#include "framework/SysUtils.h"
#include "skin/core/acntUtils.h"

void ParseGradientData(const std::wstring& data, TsGradArray& stops)
{
    stops.clear();
    if (data.empty())
        return;
    const TCharSet delims{L';'};
    const int n = CountWords(data, delims) / 5;
    stops.resize(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        TsGradStop& stop = stops[static_cast<size_t>(i)];
        stop.Color1 = StrToInt(GetWordAt(5 * i + 1, data, delims));
        stop.Color2 = StrToInt(GetWordAt(5 * i + 2, data, delims));
        const int percent = StrToInt(GetWordAt(5 * i + 3, data, delims));
        stop.Percent = static_cast<std::uint8_t>(static_cast<unsigned>(percent < 100 ? percent : 100) & 0xFF);
        stop.Mode = StrToInt(GetWordAt(5 * i + 4, data, delims));
    }
}
