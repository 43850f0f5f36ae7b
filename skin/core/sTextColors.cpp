// Skinned text, colour arithmetic, the glow and fade painters, the frame painters and the glyph layout.
#include "skin/core/sTextColors.h"

#include "skin/core/sCommonData.h"
#include "skin/core/sItemPainter.h"
#include "skin/core/sMaskData.h"
#include "skin/core/sPixels.h"
#include "skin/core/sSkinManager.h"
#include "skin/core/sVclUtils.h"

#include <algorithm>
#include <cmath>
#include <memory>

namespace {

// The library's Round: to nearest, ties to even, under the default rounding mode.
// lrint rounds half to even as nearbyint does, without saving and restoring the floating-point state.
int RoundEven(double value) { return static_cast<int>(std::lrint(value)); }

std::uint8_t RoundToByte(double value) { return ClampToByte(RoundEven(value)); }

void DrawCanvasText(TCanvas* canvas, const std::wstring& text, TRect r, UINT flags)
{
    DrawTextStr(canvas->Handle(), text, r, flags);
}

TRect Moved(TRect r, int dx, int dy) { return TRect{r.Left + dx, r.Top + dy, r.Right + dx, r.Bottom + dy}; }

} // namespace

// ---- Text ----

int DrawTextStr(HDC dc, const std::wstring& text, TRect& r, UINT flags)
{
    RECT rect = r.ToRECT();
    const int height = DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, flags);
    r = TRect{rect.left, rect.top, rect.right, rect.bottom};
    return height;
}

namespace {

// The outlines of the state, then the text in the state's font colour.
void DrawOutlinedText(TCanvas* canvas, const std::wstring& text, const TsGeneralData& gd, bool hot, UINT flags,
                      UINT textFlags, const TRect& r)
{
    const std::int32_t outlines[4] = {hot ? gd.HotTCLeft : gd.TCLeft, hot ? gd.HotTCTop : gd.TCTop,
                                      hot ? gd.HotTCRight : gd.TCRight, hot ? gd.HotTCBottom : gd.TCBottom};
    static constexpr int kShift[4][2] = {{-1, 0}, {0, -1}, {1, 0}, {0, 1}};
    for (int side = 0; side < 4; ++side) {
        if (outlines[side] == -1)
            continue;
        canvas->Font()->SetColor(outlines[side]);
        DrawCanvasText(canvas, text, Moved(r, kShift[side][0], kShift[side][1]), flags);
    }
    canvas->Font()->SetColor(hot ? gd.HotFontColor : gd.FontColor);
    DrawCanvasText(canvas, text, r, textFlags);
}

} // namespace

void WriteTextEx(TCanvas* canvas, const wchar_t* text, bool enabled, TsSkinManager* manager, bool hot, int skinIndex,
                 UINT flags, const TRect& r)
{
    if (!DefaultManager())
        return;
    TsSkinManager* sm = manager ? manager : DefaultManager();
    if (!IsValidSectionIndex(sm, skinIndex))
        return;
    canvas->Brush()->SetStyle(bsClear);
    if (!text)
        return;
    const TsGeneralData& gd = sm->Sections[static_cast<size_t>(skinIndex)];
    if (!enabled) {
        canvas->Font()->SetColor(MixColors(gd.FontColor, gd.Color, 0.4));
        DrawCanvasText(canvas, text, r, flags);
        return;
    }
    DrawOutlinedText(canvas, text, gd, hot, flags, flags, r);
}

void WriteTextByData(TCanvas* canvas, const wchar_t* text, bool enabled, bool hot, TsCommonData* commonData,
                     UINT flags, const TRect& r)
{
    if (!commonData)
        return;
    if (TControl* owner = commonData->OwnerControl())
        canvas->Font()->Assign(owner->Font());
    if (hot && commonData->SkinSection() == L"WEBBUTTON") {
        TFontStyles style = canvas->Font()->Style();
        style.Include(fsUnderline);
        canvas->Font()->SetStyle(style);
    }
    if (!text)
        return;
    canvas->Brush()->SetStyle(bsClear);
    // Everything is selected before the clipping is narrowed, so giving it back disturbs nothing.
    TClipScope clip(canvas->Handle(), r);
    const std::wstring s(text);
    TsSkinManager* sm = commonData->GetSkinManager();
    const bool skinned = sm && IsValidSectionIndex(sm, commonData->SkinIndex);
    if (!enabled) {
        try {
            if (skinned) {
                const TsGeneralData& gd = sm->Sections[static_cast<size_t>(commonData->SkinIndex)];
                canvas->Font()->SetColor(MixColors(gd.FontColor, gd.Color, 0.4));
            }
            DrawCanvasText(canvas, s, r, flags);
        } catch (...) {
            // A disabled text that cannot be drawn is left out; the control's paint goes on around it.
        }
        return;
    }
    if (skinned && !commonData->CustomFont())
        DrawOutlinedText(canvas, s, sm->Sections[static_cast<size_t>(commonData->SkinIndex)], hot, flags, flags | DT_NOCLIP,
                         r);
    else
        DrawCanvasText(canvas, s, r, flags | DT_NOCLIP);
}

std::wstring CutText(TCanvas* canvas, const std::wstring& text, int maxWidth)
{
    std::wstring result = maxWidth > 0 ? text : std::wstring();
    if (result.empty() || canvas->TextWidth(result) <= maxWidth)
        return result;
    while (!result.empty()) {
        if (canvas->TextWidth(result + L"...") <= maxWidth)
            break;
        // A surrogate pair is one character: never leave half of it behind.
        const size_t n = result.size();
        const bool pair = n >= 2 && IS_LOW_SURROGATE(result[n - 1]) && IS_HIGH_SURROGATE(result[n - 2]);
        result.erase(n - (pair ? 2 : 1));
    }
    if (!result.empty())
        result += L"...";
    return result;
}

// ---- Colour arithmetic ----

TColor MixColors(TColor color1, TColor color2, double factor)
{
    auto mix = [factor](int c1, int c2) { return RoundToByte(factor * (c1 - c2) + c2); };
    return RGBToColor(mix(ColorRed(color1), ColorRed(color2)), mix(ColorGreen(color1), ColorGreen(color2)),
                      mix(ColorBlue(color1), ColorBlue(color2)));
}

TColor ChangeSaturation(TColor color, int percent)
{
    if (percent == 0)
        return color;
    const int r = ColorRed(color), g = ColorGreen(color), b = ColorBlue(color);
    const double avg = (r + g + b) / 3.0;
    auto move = [avg, percent](int c) { return RoundToByte(c + percent * ((avg - c) / 100.0)); };
    return RGBToColor(move(r), move(g), move(b));
}

TColor ChangeHue(int degrees, TColor color)
{
    color = ColorToRGB(color);
    const int r = ColorRed(color), g = ColorGreen(color), b = ColorBlue(color);
    const int v = std::max({r, g, b});
    const int lowest = std::min({r, g, b});
    const double s = v == 0 ? 0.0 : static_cast<double>(v - lowest) / v;
    if (s == 0)
        return color;
    const double k = 60.0 / (v - lowest);
    double h;
    if (r == v)
        h = k * (g - b);
    else if (g == v)
        h = 120 + k * (b - r);
    else
        h = 240 + k * (r - g);
    if (h < 0)
        h += 360;
    // A turn backwards (a negative HueOffset) lands on the same wheel: -120 is 240, not an unknown sector.
    int hue = RoundEven(degrees + h) % 360;
    if (hue < 0)
        hue += 360;
    const double hs = hue / 60.0;
    const int sector = static_cast<int>(hs);
    const double f = hs - sector;
    const double vv = v;
    const double p = std::clamp(vv * (1 - s), 0.0, 255.0);
    const double q = std::clamp(vv * (1 - f * s), 0.0, 255.0);
    const double t = std::clamp(vv * (1 - (1 - f) * s), 0.0, 255.0);
    auto rgb = [](double cr, double cg, double cb) {
        return RGBToColor(RoundToByte(cr), RoundToByte(cg), RoundToByte(cb));
    };
    switch (sector) {
    case 0: return rgb(vv, t, p);
    case 1: return rgb(q, vv, p);
    case 2: return rgb(p, vv, t);
    case 3: return rgb(p, q, vv);
    case 4: return rgb(t, p, vv);
    default: return rgb(vv, p, q);
    }
}

// ---- Glow and fade ----

namespace {

// Concentric rounded rings on the mask, white outside and darker inwards down to the grey of the
// transparency, which then fills the middle.
void PaintShadowMask(TBitmap* mask, int width, int height, int rings, int corner, int transparency)
{
    HDC dc = mask->Canvas()->Handle();
    TSavedDC saved(dc);
    SelectObject(dc, GetStockObject(NULL_PEN));
    const int floorLevel = transparency * 255 / 100;
    int level = 255;
    auto roundRect = [dc, &level](int l, int t, int r, int b, int c) {
        GdiObject<HBRUSH> brush(CreateSolidBrush(RGB(level, level, level)));
        TSelectedObject select(dc, brush.Get());
        RoundRect(dc, l, t, r, b, c, c);
    };
    for (int u = 0; u <= rings; ++u) {
        roundRect(u, u, width - u, height - u, corner);
        level = floorLevel + RoundEven(static_cast<double>(255 - floorLevel) / (rings + 1) * (rings - u));
    }
    roundRect(rings, rings, width - rings, height - rings, rings);
}

} // namespace

void PaintShadowRect(TBitmap* bmp, TRect r, int transparency, int radius, int blur, TColor color)
{
    const int width = r.Width(), height = r.Height();
    if (!bmp || width <= 0 || height <= 0)
        return;
    // Above 100 % the grey levels would leave the byte and spill into the next channel.
    transparency = std::clamp(transparency, 0, 100);
    auto copy = CreateBmp24(width, height);
    auto mask = CreateBmp24(width, height);
    BitBlt(copy->Canvas()->Handle(), 0, 0, width, height, bmp->Canvas()->Handle(), r.Left, r.Top, SRCCOPY);
    const int rings = std::max(0, std::min({width / 2, height / 2, blur}));
    const int corner = std::max(0, std::min({width / 2, height / 2, radius}));
    PaintShadowMask(mask.get(), width, height, rings, corner, transparency);

    TPixelRows dst, m;
    if (BindPixelRows(copy.get(), pf24bit, dst) && BindPixelRows(mask.get(), pf24bit, m)) {
        const TColor rgb = ColorToRGB(color);
        const int c[3] = {ColorBlue(rgb), ColorGreen(rgb), ColorRed(rgb)};
        for (int y = 0; y < height; ++y) {
            std::uint8_t* d = dst.At(0, y);
            const std::uint8_t* mp = m.At(0, y);
            for (int i = 0; i < width * 3; ++i) {
                const int ch = c[i % 3];
                // c * 256 + m * (d - c) = c * (256 - m) + m * d stays at or above 0, so the shift is safe.
                d[i] = ClampToByte((ch * 256 + mp[i] * (d[i] - ch)) >> 8);
            }
        }
    }
    BitBlt(bmp->Canvas()->Handle(), r.Left, r.Top, width, height, copy->Canvas()->Handle(), 0, 0, SRCCOPY);
}

void SumBitmaps(TBitmap* dst, TBitmap* src1, TBitmap* src2, TBitmap* alphaBmp, std::uint16_t alpha)
{
    TPixelRows d, s1, s2, a;
    if (!BindPixelRows(src1, pf24bit, s1) || !BindPixelRows(src2, pf24bit, s2) || s1.Width != s2.Width ||
        s1.Height != s2.Height)
        return;
    // The destination and the weights are read and written at the sources' size: smaller ones would be
    // overrun.
    if (!BindPixelRows(dst, pf32bit, d) || d.Width < s1.Width || d.Height < s1.Height)
        return;
    const bool perPixel = alphaBmp != nullptr;
    if (perPixel && (!BindPixelRows(alphaBmp, pf24bit, a) || a.Width < s1.Width || a.Height < s1.Height))
        return;
    // Weights above 256 would make (s1 - s2) * w + s2 * 256 negative; 256 already gives Src1 itself.
    const int fixedWeight = std::min<int>(alpha, 256);
    for (int y = 0; y < s1.Height; ++y) {
        const std::uint8_t* p1 = s1.At(0, y);
        const std::uint8_t* p2 = s2.At(0, y);
        const std::uint8_t* pa = perPixel ? a.At(0, y) : nullptr;
        std::uint8_t* out = d.At(0, y);
        for (int x = 0; x < s1.Width; ++x, p1 += 3, p2 += 3, out += 4) {
            for (int ch = 0; ch < 3; ++ch) {
                const int w = perPixel ? pa[x * 3 + ch] : fixedWeight;
                out[ch] = ClampToByte(((p1[ch] - p2[ch]) * w + p2[ch] * 256) >> 8);
            }
        }
    }
}

// ---- Frames and fills ----

void CopyFrame(HDC dstDC, int x, int y, int width, int height, HDC srcDC, int srcX, int srcY, int borderWidth)
{
    const int bw = borderWidth;
    // Every stripe stays within the rectangle at X, Y: a frame drawn away from the origin must not
    // spill its right and bottom stripes beyond its own edges.
    BitBlt(dstDC, x, y, bw, height, srcDC, srcX, srcY, SRCCOPY);
    BitBlt(dstDC, x + bw, y, width - bw, bw, srcDC, srcX + bw, srcY, SRCCOPY);
    BitBlt(dstDC, x + width - bw, y + bw, bw, height - bw, srcDC, srcX + width - bw, srcY + bw, SRCCOPY);
    BitBlt(dstDC, x + bw, y + height - bw, width - 2 * bw, bw, srcDC, srcX + bw, srcY + height - bw, SRCCOPY);
}

void BevelFramePens(HDC dc, TRect& r, TColor lightColor, int& count, TColor darkColor)
{
    // Both colours go through ColorToRGB: a system colour handed to CreatePen as it is draws a wrong colour.
    GdiObject<HPEN> light(CreatePen(PS_SOLID, 1, ColorToColorRef(ColorToRGB(lightColor))));
    GdiObject<HPEN> dark(CreatePen(PS_SOLID, 1, ColorToColorRef(ColorToRGB(darkColor))));
    TSelectedObject brush(dc, GetStockObject(NULL_BRUSH));
    TSelectedObject pen(dc, light.Get());
    r.Right -= 1;
    r.Bottom -= 1;
    while (count > 0) {
        --count;
        SelectObject(dc, light.Get());
        const POINT lightLine[3] = {{r.Left, r.Bottom}, {r.Left, r.Top}, {r.Right, r.Top}};
        Polyline(dc, lightLine, 3);
        SelectObject(dc, dark.Get());
        const POINT darkLine[3] = {{r.Right, r.Top}, {r.Right, r.Bottom}, {r.Left - 1, r.Bottom}};
        Polyline(dc, darkLine, 3);
        r = TRect{r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1};
    }
    r.Right += 1;
    r.Bottom += 1;
}

void DrawDottedFrame(TCanvas* canvas, const TRect& r)
{
    for (int i = 0; i <= r.Width() / 3; ++i) {
        const int x = r.Left + 3 * i;
        canvas->SetPixel(x, r.Top, clBlack);
        canvas->SetPixel(x, r.Bottom, clBlack);
        canvas->SetPixel(x - 1, r.Top - 1, clWhite);
        canvas->SetPixel(x - 1, r.Bottom - 1, clWhite);
    }
    for (int i = 0; i <= r.Height() / 3; ++i) {
        const int y = r.Top + 3 * i;
        canvas->SetPixel(r.Left, y, clBlack);
        canvas->SetPixel(r.Right, y, clBlack);
        canvas->SetPixel(r.Left - 1, y - 1, clWhite);
        canvas->SetPixel(r.Right - 1, y - 1, clWhite);
    }
}

// ---- Glyph and caption layout ----

namespace {

// Margin and Spacing from the free space along the main axis (CS, glyph and text sizes along it).
void ResolveMarginAndSpacing(int cs, int glyph, int text, std::uint8_t alignment, int& margin, int& spacing)
{
    if (margin == -1 && spacing < 0) {
        margin = (cs - glyph - text) / 3;
        spacing = margin;
    } else if (margin == -1) {
        margin = alignment == gaCenter ? (cs - (glyph + spacing + text) + 1) / 2 : 2;
    } else if (spacing < 0) {
        spacing = (cs - (margin + glyph) - text) / 2;
    }
}

void PlaceAlongX(std::uint8_t layout, std::uint8_t alignment, int csX, int glyphX, int textX, int margin, int spacing,
                 int& glyphPos, int& textPos)
{
    if (layout == glGlyphLeft) {
        if (alignment == gaLeft) {
            glyphPos = margin;
            textPos = margin + glyphX + spacing;
        } else if (alignment == gaRight) {
            textPos = csX - margin - textX;
            glyphPos = textPos - spacing - glyphX;
        } else if (alignment == gaCenter) {
            glyphPos = (csX - textX - spacing - glyphX) / 2;
            textPos = glyphPos + spacing + glyphX;
        }
    } else {
        if (alignment == gaLeft) {
            glyphPos = margin + textX + spacing;
            textPos = margin;
        } else if (alignment == gaRight) {
            glyphPos = csX - margin - glyphX;
            textPos = glyphPos - spacing - textX;
        } else if (alignment == gaCenter) {
            textPos = (csX - textX - spacing - glyphX) / 2;
            glyphPos = textPos + spacing + textX;
        }
    }
}

} // namespace

void CalcGlyphTextLayout(const TRect& client, TPoint glyphSize, TPoint textSize, std::uint8_t layout,
                         std::uint8_t alignment, int margin, int spacing, TPoint& glyphPos, TRect& textBounds,
                         UINT biDiFlags)
{
    if (biDiFlags & DT_RIGHT) {
        if (layout == glGlyphLeft)
            layout = glGlyphRight;
        else if (layout == glGlyphRight)
            layout = glGlyphLeft;
    }
    const TPoint cs{client.Right - client.Left, client.Bottom - client.Top};
    textBounds = TRect{0, 0, textSize.X, textSize.Y};
    TPoint textPos{};
    const bool horizontal = layout == glGlyphLeft || layout == glGlyphRight;
    if (horizontal) {
        glyphPos.Y = (cs.Y - glyphSize.Y + 1) / 2;
        textPos.Y = (cs.Y - textSize.Y + 1) / 2;
    } else {
        glyphPos.X = (cs.X - glyphSize.X + 1) / 2;
        textPos.X = (cs.X - textSize.X + 1) / 2;
    }
    if (textSize.X == 0 || glyphSize.X == 0)
        spacing = 0;
    if (horizontal)
        ResolveMarginAndSpacing(cs.X, glyphSize.X, textSize.X, alignment, margin, spacing);
    else
        ResolveMarginAndSpacing(cs.Y, glyphSize.Y, textSize.Y, alignment, margin, spacing);

    if (horizontal) {
        PlaceAlongX(layout, alignment, cs.X, glyphSize.X, textSize.X, margin, spacing, glyphPos.X, textPos.X);
    } else if (layout == glGlyphTop) {
        glyphPos.Y = (cs.Y - glyphSize.Y - spacing - textSize.Y) / 2;
        textPos.Y = glyphPos.Y + glyphSize.Y + spacing;
    } else if (layout == glGlyphBottom) {
        const int t = (cs.Y - glyphSize.Y - spacing - textSize.Y) / 2 - margin;
        glyphPos.Y = cs.Y - margin - glyphSize.Y - t;
        textPos.Y = glyphPos.Y - spacing - textSize.Y;
    }
    glyphPos.X += client.Left;
    glyphPos.Y += client.Top;
    textBounds = Moved(textBounds, textPos.X + client.Left, textPos.Y + client.Top);
}
