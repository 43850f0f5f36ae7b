#include "app/main_pictures.h"

#include "framework/System.h"

#include <cmath>
#include <numbers>
#include <vector>

void PaintStar(TBitmap* bitmap, int size)
{
    bitmap->SetPixelFormat(pf24bit);
    bitmap->SetSize(size, size);
    TCanvas* canvas = bitmap->Canvas();
    canvas->Brush()->SetColor(clBtnFace);
    canvas->FillRect(Rect(0, 0, size, size));
    std::vector<TPoint> points;
    const double centre = (size - 1) / 2.0;
    const double outer = size / 2.0;
    const double inner = outer * 0.45;
    for (int i = 0; i < 10; ++i) {
        const double angle = -std::numbers::pi / 2 + i * std::numbers::pi / 5;
        const double r = i % 2 == 0 ? outer : inner;
        points.push_back({static_cast<int>(std::lrint(centre + r * std::cos(angle))),
                          static_cast<int>(std::lrint(centre + r * std::sin(angle)))});
    }
    canvas->Brush()->SetColor(static_cast<TColor>(0x00C0FF)); // gold: red in the low byte
    canvas->Pen()->SetColor(static_cast<TColor>(0x0080C0));
    canvas->Polygon(points);
}

HICON MakeTemplateIcon(int size)
{
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(size) * size);
    // A sheet with a grey edge and a few grey lines of "text", the rest transparent.
    const int left = size / 6, right = size - size / 6 - 1, top = size / 10, bottom = size - size / 10 - 1;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            std::uint32_t pixel = 0;
            if (x >= left && x <= right && y >= top && y <= bottom) {
                const bool edge = x == left || x == right || y == top || y == bottom;
                const bool line = !edge && x > left + 1 && x < right - 1 && (y - top) % 3 == 0 && y > top + 2 &&
                                  y < bottom - 1;
                pixel = edge ? 0xFF808080u : line ? 0xFFA0A0A0u : 0xFFFFFFFFu;
            }
            pixels[y * size + x] = pixel;
        }
    }
    HICON icon = CreateIconFromPixels(size, size, pixels);
    if (!icon)
        throw EOutOfResources(L"Cannot create the template icon");
    return icon;
}
