// Multi-stop gradients of skin sections: the parsed stops, the parser of the GRADIENTDATA text and the painter.
#pragma once

#include "framework/Types.h"

#include <cstdint>
#include <string>
#include <vector>

struct TsGradStop {
    std::int32_t Color1 = 0;   // colour at the start of the band, red in the low byte
    std::int32_t Color2 = 0;   // colour at the end of the band
    std::uint8_t Percent = 0;  // the band's share of the rectangle
    std::int32_t Mode = 0;     // of the first stop: 0 vertical, 1 horizontal, 2 four triangles
    std::int32_t Reserved = 0;
};

using TsGradArray = std::vector<TsGradStop>;

class TBitmap;

// Parses "color1;color2;percent;mode;reserved" groups; words after the last whole group are ignored.
// A word that is not an integer raises EConvertError.
void ParseGradientData(const std::wstring& data, TsGradArray& stops);
// Paints the stops into R (cut to the bitmap) of a 24-bit bitmap in the first stop's mode; no stops, an
// unknown mode or another pixel format paint nothing.
void PaintGradient(TBitmap* bmp, TRect r, const TsGradArray& stops);
