// The manager's hue and saturation settings, applied to every colour of a skin as it is loaded.
#include "skin/core/sSkinManager.h"

#include "skin/core/sTextColors.h"

#include <algorithm>
#include <functional>

namespace {

using ColourChange = std::function<std::int32_t(std::int32_t)>;

void ChangeBitmapPixels(TBitmap* bmp, const ColourChange& change)
{
    if (!bmp || bmp->Empty())
        return;
    if (bmp->PixelFormat() != pf24bit)
        bmp->SetPixelFormat(pf24bit);
    for (int y = 0; y < bmp->Height(); ++y) {
        auto* row = static_cast<std::uint8_t*>(bmp->ScanLine(y));
        for (int x = 0; x < bmp->Width(); ++x) {
            std::uint8_t* px = row + 3 * x;
            const std::int32_t color = px[2] | (px[1] << 8) | (px[0] << 16);
            // The key colour marks transparent pixels, and greys have no hue to move.
            if (color == clFuchsia || (px[0] == px[1] && px[1] == px[2]))
                continue;
            const std::int32_t changed = change(color);
            px[2] = static_cast<std::uint8_t>(changed & 0xFF);
            px[1] = static_cast<std::uint8_t>((changed >> 8) & 0xFF);
            px[0] = static_cast<std::uint8_t>((changed >> 16) & 0xFF);
        }
    }
}

void ChangeUnlessAbsent(std::int32_t& color, const ColourChange& change)
{
    if (color != -1)
        color = change(color);
}

size_t WordCount(const std::wstring& text, wchar_t separator)
{
    size_t count = 1;
    for (wchar_t c : text)
        if (c == separator)
            ++count;
    return count;
}

void ChangeSection(TsGeneralData& g, const ColourChange& change)
{
    g.Color = change(g.Color);
    g.HotColor = change(g.HotColor);
    for (std::int32_t* c : {&g.FontColor, &g.TCLeft, &g.TCTop, &g.TCRight, &g.TCBottom, &g.HotFontColor,
                            &g.HotTCLeft, &g.HotTCTop, &g.HotTCRight, &g.HotTCBottom})
        ChangeUnlessAbsent(*c, change);
    const size_t stops = std::min(WordCount(g.GradientData, L';') / 5, g.GradientArray.size());
    for (size_t i = 0; i < stops; ++i) {
        g.GradientArray[i].Color1 = change(g.GradientArray[i].Color1);
        g.GradientArray[i].Color2 = change(g.GradientArray[i].Color2);
    }
    for (TsGradStop& stop : g.HotGradientArray) {
        stop.Color1 = change(stop.Color1);
        stop.Color2 = change(stop.Color2);
    }
}

void ApplyColourChange(TsSkinManager* sm, const ColourChange& change)
{
    ChangeBitmapPixels(sm->MasterBitmap.get(), change);
    for (TsMaskData& mask : sm->Masks)
        ChangeBitmapPixels(mask.Bmp.get(), change);
    for (TsGeneralData& g : sm->Sections)
        ChangeSection(g, change);
    TsSkinData* data = sm->SkinData();
    data->Shadow1Color = change(data->Shadow1Color);
    // The key colour stands for "no border" and stays so.
    if (data->BorderColor != clFuchsia)
        data->BorderColor = change(data->BorderColor);
}

} // namespace

void ApplySkinColourSettings(TsSkinManager* sm)
{
    if (sm->HueOffset() != 0) {
        const int degrees = sm->HueOffset();
        ApplyColourChange(sm, [degrees](std::int32_t c) { return ChangeHue(degrees, c); });
    }
    if (sm->Saturation() != 0) {
        const int percent = (-sm->Saturation()) % 101;
        ApplyColourChange(sm, [percent](std::int32_t c) { return ChangeSaturation(c, percent); });
    }
}
