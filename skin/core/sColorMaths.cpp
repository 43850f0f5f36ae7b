#include "skin/core/sColorMaths.h"

#include "skin/core/sSkinManager.h"

#include <algorithm>
#include <cmath>

namespace {

int Channel(std::int32_t color, int shift)
{
    return (color >> shift) & 0xFF;
}

// Round half to even, limited to a channel's range.
int ToChannel(double value)
{
    return static_cast<int>(std::nearbyint(std::clamp(value, 0.0, 255.0)));
}

std::int32_t FromChannels(int r, int g, int b)
{
    return r | (g << 8) | (b << 16);
}

} // namespace

std::int32_t ChangeSaturation(std::int32_t color, int percent)
{
    if (percent == 0)
        return color;
    const int rgb[3] = {Channel(color, 0), Channel(color, 8), Channel(color, 16)};
    const double avg = (rgb[0] + rgb[1] + rgb[2]) / 3.0;
    int out[3];
    for (int i = 0; i < 3; ++i)
        out[i] = ToChannel(std::nearbyint(rgb[i] + percent * ((avg - rgb[i]) / 100.0)));
    return FromChannels(out[0], out[1], out[2]);
}

std::int32_t ChangeHue(int degrees, std::int32_t color)
{
    color = SkinColorToRGB(color);
    const int r = Channel(color, 0), g = Channel(color, 8), b = Channel(color, 16);
    const int v = std::max({r, g, b});
    const int mn = std::min({r, g, b});
    if (v == 0 || v == mn)
        return color;
    const double s = static_cast<double>(v - mn) / v;
    const double k = 60.0 / (v - mn);
    double h;
    if (r == v)
        h = k * (g - b);
    else if (g == v)
        h = 120 + k * (b - r);
    else
        h = 240 + k * (r - g);
    if (h < 0)
        h += 360;
    int hue = static_cast<int>(std::nearbyint(degrees + h)) % 360;
    // A rotation backwards lands in the same circle of hues as the one forwards.
    if (hue < 0)
        hue += 360;
    const double sector6 = hue / 60.0;
    const int sector = static_cast<int>(sector6);
    const double f = sector6 - sector;
    const double p = std::clamp(v * (1 - s), 0.0, 255.0);
    const double q = std::clamp(v * (1 - f * s), 0.0, 255.0);
    const double t = std::clamp(v * (1 - (1 - f) * s), 0.0, 255.0);
    const double V = v;
    double rr, gg, bb;
    switch (sector) {
    case 0: rr = V, gg = t, bb = p; break;
    case 1: rr = q, gg = V, bb = p; break;
    case 2: rr = p, gg = V, bb = t; break;
    case 3: rr = p, gg = q, bb = V; break;
    case 4: rr = t, gg = p, bb = V; break;
    default: rr = V, gg = p, bb = q; break;
    }
    return FromChannels(ToChannel(rr), ToChannel(gg), ToChannel(bb));
}
