#include "skin/core/sGradient.h"

#include "framework/Graphics.h"
#include "framework/SysUtils.h"
#include "skin/core/acntUtils.h"
#include "skin/core/sPixels.h"
#include "skin/core/sVclUtils.h"

#include <algorithm>
#include <cmath>
#include <string_view>

// ---- The painter ----

namespace {

struct TChannels {
    float R, G, B;
};

TChannels ChannelsOf(std::int32_t color)
{
    const auto c = static_cast<std::uint32_t>(color);
    return TChannels{static_cast<float>(c & 0xFF), static_cast<float>((c >> 8) & 0xFF),
                     static_cast<float>((c >> 16) & 0xFF)};
}

std::uint8_t RoundedByte(double value) { return ClampToByte(static_cast<int>(std::lrint(value))); }

void PutChannels(std::uint8_t* p, double r, double g, double b)
{
    p[0] = RoundedByte(b);
    p[1] = RoundedByte(g);
    p[2] = RoundedByte(r);
}

// Bands from top to bottom; each band's last row is the next band's first, which takes the next
// band's first colour. The colour steps are summed in single precision, row after row.
void PaintVertical(const TPixelRows& rows, const TRect& r, const TsGradArray& stops)
{
    const int last = r.Bottom - 1;
    int y = r.Top;
    for (size_t i = 0; i < stops.size(); ++i) {
        const int s = y;
        y = stops[i].Percent * r.Height() / 100 + s;
        y = i + 1 == stops.size() ? last : std::min(y, last);
        const int steps = y - s;
        if (steps <= 0)
            continue;
        const TChannels c1 = ChannelsOf(stops[i].Color1), c2 = ChannelsOf(stops[i].Color2);
        const TChannels inc{(c2.R - c1.R) / steps, (c2.G - c1.G) / steps, (c2.B - c1.B) / steps};
        TChannels c = c1;
        for (int row = s; row <= y; ++row) {
            for (int x = r.Left; x < r.Right; ++x)
                PutChannels(rows.At(x, row), c.R, c.G, c.B);
            c.R += inc.R;
            c.G += inc.G;
            c.B += inc.B;
        }
    }
}

void PaintHorizontal(const TPixelRows& rows, const TRect& r, const TsGradArray& stops)
{
    const int last = r.Right - 1;
    for (int row = r.Top; row < r.Bottom; ++row) {
        int x = r.Left;
        for (size_t i = 0; i < stops.size(); ++i) {
            const int j = x;
            x = static_cast<int>(std::lrint(stops[i].Percent * r.Width() / 100.0 + j));
            x = i + 1 == stops.size() ? last : std::min(x, last);
            const int steps = x - j;
            if (steps <= 0)
                continue;
            const TChannels c1 = ChannelsOf(stops[i].Color1), c2 = ChannelsOf(stops[i].Color2);
            for (int k = 0; k <= steps; ++k)
                PutChannels(rows.At(j + k, row), c1.R + k * double(c2.R - c1.R) / steps,
                            c1.G + k * double(c2.G - c1.G) / steps, c1.B + k * double(c2.B - c1.B) / steps);
        }
    }
}

TRIVERTEX Vertex(int x, int y, std::int32_t color)
{
    const auto c = static_cast<std::uint32_t>(color);
    TRIVERTEX v{};
    v.x = x;
    v.y = y;
    v.Red = static_cast<COLOR16>((c & 0xFF) << 8);
    v.Green = static_cast<COLOR16>(((c >> 8) & 0xFF) << 8);
    v.Blue = static_cast<COLOR16>(((c >> 16) & 0xFF) << 8);
    v.Alpha = 0;
    return v;
}

// Four triangles meeting in the centre, the corners and the centre coloured by the stops in turn.
void PaintTriangles(TBitmap* bmp, const TRect& r, const TsGradArray& stops)
{
    const TPoint points[5] = {{r.Left, r.Top},
                              {r.Left + r.Width() / 2, r.Top + r.Height() / 2},
                              {r.Right, r.Top},
                              {r.Right, r.Bottom},
                              {r.Left, r.Bottom}};
    TRIVERTEX vertices[5];
    std::int32_t color = stops[0].Color1;
    for (size_t k = 0; k < 5; ++k) {
        if (k < stops.size())
            color = stops[k].Color1;
        vertices[k] = Vertex(points[k].X, points[k].Y, color);
    }
    GRADIENT_TRIANGLE triangles[4] = {{0, 1, 2}, {1, 2, 3}, {0, 1, 4}, {4, 1, 3}};
    GradientFill(bmp->Canvas()->Handle(), vertices, 5, triangles, 4, GRADIENT_FILL_TRIANGLE);
}

} // namespace

void PaintGradient(TBitmap* bmp, TRect r, const TsGradArray& stops)
{
    if (!bmp || stops.empty())
        return;
    r.Right = std::min(r.Right, bmp->Width());
    r.Bottom = std::min(r.Bottom, bmp->Height());
    r.Left = std::max(r.Left, 0);
    r.Top = std::max(r.Top, 0);
    if (r.IsEmpty())
        return;
    const int mode = stops[0].Mode;
    if (mode == 2) {
        PaintTriangles(bmp, r, stops);
        return;
    }
    TPixelRows rows;
    if ((mode != 0 && mode != 1) || !BindPixelRows(bmp, pf24bit, rows))
        return;
    try {
        if (mode == 0)
            PaintVertical(rows, r, stops);
        else
            PaintHorizontal(rows, r, stops);
    } catch (...) {
        // A gradient cut short leaves the rest of the rectangle as it was.
    }
}
