#include "skin/core/sLibraryResources.h"

#include "framework/Startup.h"
#include "framework/SysUtils.h"

#include <array>
#include <memory>

namespace {

bool gLongYearDates = false;
std::array<std::unique_ptr<TBitmap>, kLibraryBitmapCount> gBitmaps;
std::array<std::unique_ptr<TBitmap>, kFontGlyphCount> gGlyphs;

constexpr const wchar_t* kBitmapNames[kLibraryBitmapCount] = {L"SF", L"SR", L"SD", L"SE", L"SC"};
constexpr const wchar_t* kGlyphNames[kFontGlyphCount] = {L"PS", L"TTF", L"RASTER", L"UNKNOWN"};

void StartDateUtilities()
{
    wchar_t format[80]{};
    GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, format, 80);
    gLongYearDates = UpperCase(format).find(L"YYYY") != std::wstring::npos;
}

HBITMAP LoadResourceBitmap(const wchar_t* name)
{
    return static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
}

void StartLibraryBitmaps()
{
    for (auto& b : gBitmaps)
        b = std::make_unique<TBitmap>();
    // The first missing resource ends the loading; the rest stay empty.
    try {
        for (int i = 0; i < kLibraryBitmapCount; ++i) {
            HBITMAP h = LoadResourceBitmap(kBitmapNames[i]);
            if (!h)
                break;
            gBitmaps[static_cast<std::size_t>(i)]->SetHandle(h);
        }
    } catch (...) {
        // The bitmaps are decoration: a damaged one leaves the rest unloaded.
    }
}

void FinishLibraryBitmaps()
{
    for (auto& b : gBitmaps)
        b.reset();
}

void StartFontGlyphs()
{
    for (int i = 0; i < kFontGlyphCount; ++i) {
        auto b = std::make_unique<TBitmap>();
        try {
            if (HBITMAP h = LoadResourceBitmap(kGlyphNames[i]))
                b->SetHandle(h);
        } catch (...) {
            // A damaged glyph stays empty.
        }
        gGlyphs[static_cast<std::size_t>(i)] = std::move(b);
    }
}

void FinishFontGlyphs()
{
    for (auto& g : gGlyphs)
        g.reset();
}

} // namespace

bool LongYearDates() { return gLongYearDates; }

TBitmap* LibraryBitmap(int index)
{
    return index >= 0 && index < kLibraryBitmapCount ? gBitmaps[static_cast<std::size_t>(index)].get() : nullptr;
}

TBitmap* FontGlyph(int index)
{
    return index >= 0 && index < kFontGlyphCount ? gGlyphs[static_cast<std::size_t>(index)].get() : nullptr;
}

void AddDateUtilitiesStartupStep(TStartup& startup)
{
    startup.Add(TStartupOrder::DateUtilities, L"Date utilities", StartDateUtilities, nullptr);
}

void AddLibraryBitmapsStartupStep(TStartup& startup)
{
    startup.Add(TStartupOrder::LibraryBitmaps, L"Library bitmaps", StartLibraryBitmaps, FinishLibraryBitmaps);
}

void AddFontGlyphsStartupStep(TStartup& startup)
{
    startup.Add(TStartupOrder::FontGlyphs, L"Font glyphs", StartFontGlyphs, FinishFontGlyphs);
}
