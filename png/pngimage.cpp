#include "png/pngimage.h"

#include "framework/Startup.h"

#include <cstring>
#include <vector>

static_assert(sizeof(TPngBitmapInfoHeader) == sizeof(BITMAPINFOHEADER), "the DIB header must match Win32's");
static_assert(sizeof(TPngBitmapInfo) == sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD), "colour table layout");

namespace {

// The decoded image's pixels: a DIB section on a memory DC of its own.
class TDibStorage : public TPngImageStorage {
public:
    TDibStorage(const TPngBitmapInfo& info, std::uint64_t bytes) : dc_()
    {
        if (!dc_.Get())
            return;
        void* bits = nullptr;
        dib_.Reset(CreateDIBSection(dc_.Get(), reinterpret_cast<const BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits,
                                    nullptr, 0));
        if (!dib_ || !bits)
            return;
        std::memset(bits, 0, std::size_t(bytes));
        Bits = static_cast<std::uint8_t*>(bits);
    }
    HBITMAP Handle() const { return dib_.Get(); }

private:
    TMemoryDC dc_;              // created before the DIB, deleted after it
    GdiObject<HBITMAP> dib_;    // owned
};

const BITMAPINFO* Info(const TChunkIHDR& h)
{
    return reinterpret_cast<const BITMAPINFO*>(&h.BitmapInfo);
}

} // namespace

TPNGObject::TPNGObject() = default;

TPNGObject::~TPNGObject()
{
    // The header's DIB goes while this object's overrides are still in place.
    FreeChunks();
}

std::unique_ptr<TPngImageStorage> TPNGObject::CreateImageStorage(const TPngBitmapInfo& info, std::uint64_t bytes)
{
    if (bytes > 0x7FFFFFFFu)
        return nullptr;
    auto storage = std::make_unique<TDibStorage>(info, bytes);
    if (!storage->Bits)
        return nullptr;
    return storage;
}

void TPNGObject::ImageStorageChanged()
{
    palette_.Reset();
}

HBITMAP TPNGObject::DIBSection() const
{
    TChunkIHDR* h = HeaderOrNull();
    auto* storage = h ? dynamic_cast<TDibStorage*>(h->Storage()) : nullptr;
    return storage ? storage->Handle() : nullptr;
}

void TPNGObject::SetWidth(int)
{
    RaiseCodecError<EPngError>(kPngResCannotResize);
}

void TPNGObject::SetHeight(int)
{
    RaiseCodecError<EPngError>(kPngResCannotResize);
}

void TPNGObject::LoadFromStream(TStream* stream)
{
    TPNGCore::LoadFromStream(stream);
    Changed();
}

void TPNGObject::SaveToStream(TStream* stream)
{
    TPNGCore::SaveToStream(stream);
}

TColor TPNGObject::ReadPixel(int x, int y)
{
    return static_cast<TColor>(ReadPixelColor(x, y));
}

void TPNGObject::WritePixel(int x, int y, TColor value)
{
    WritePixelColor(x, y, static_cast<TPngColor>(ColorToRGB(value)));
}

HPALETTE TPNGObject::GetPalette()
{
    TChunkIHDR* h = HeaderOrNull();
    if (!h || (h->ColorType != 0 && h->ColorType != 3))
        return nullptr;
    if (!palette_) {
        struct {
            WORD version, count;
            PALETTEENTRY entries[256];
        } log{0x300, 256, {}};
        for (int i = 0; i < 256; ++i) {
            const TPngRGBQuad& q = h->BitmapInfo.bmiColors[i];
            log.entries[i] = PALETTEENTRY{q.rgbRed, q.rgbGreen, q.rgbBlue, 0};
        }
        palette_.Reset(CreatePalette(reinterpret_cast<const LOGPALETTE*>(&log)));
    }
    return palette_.Get();
}

void TPNGObject::Draw(TCanvas* canvas, const TRect& rect)
{
    TChunkIHDR* h = HeaderOrNull();
    // An image without pixels draws nothing: a paint must not fail.
    if (!h || !h->ImageData || rect.Width() <= 0 || rect.Height() <= 0)
        return;
    HDC dc = canvas->Handle();
    switch (TransparencyKind()) {
    case TPNGTransparencyKind::ptmBit:
        DrawKeyedDIB(dc, rect);
        break;
    case TPNGTransparencyKind::ptmPartial:
        DrawWithAlpha(dc, rect);
        break;
    default:
        SetStretchBltMode(dc, COLORONCOLOR);
        StretchDIBits(dc, rect.Left, rect.Top, rect.Width(), rect.Height(), 0, 0, int(h->Width), int(h->Height),
                      h->ImageData, Info(*h), DIB_RGB_COLORS, SRCCOPY);
    }
}

void TPNGObject::DrawKeyedDIB(HDC dc, const TRect& rect)
{
    TChunkIHDR* h = Header();
    int w = rect.Width(), ht = rect.Height();
    // The mask is made from the pixels themselves, not from their colour: another palette entry of the key's
    // colour, or a 16-bit sample that differs from the key in its low byte only, stays visible.
    int iw = int(h->Width), ih = int(h->Height);
    std::size_t maskStride = (std::size_t(iw) + 31) / 32 * 4;
    std::vector<std::uint8_t> maskBits(maskStride * std::size_t(ih));
    const TPngKeyTest isKey(*this);
    for (int y = 0; y < ih; ++y) {
        std::uint8_t* row = maskBits.data() + std::size_t(ih - 1 - y) * maskStride;
        for (int x = 0; x < iw; ++x)
            if (isKey(x, y))
                row[x >> 3] |= std::uint8_t(0x80 >> (x & 7));
    }
    struct {
        BITMAPINFOHEADER Header;
        RGBQUAD Colors[2];
    } maskInfo{{sizeof(BITMAPINFOHEADER), iw, ih, 1, 1, BI_RGB, 0, 0, 0, 2, 2}, {{0, 0, 0, 0}, {255, 255, 255, 0}}};
    GdiObject<HBITMAP> image(CreateCompatibleBitmap(dc, w, ht));
    GdiObject<HBITMAP> mask(CreateBitmap(w, ht, 1, 1, nullptr));
    GdiObject<HBITMAP> work(CreateCompatibleBitmap(dc, w, ht));
    if (!image || !mask || !work)
        return;
    TMemoryDC imageDC(dc), maskDC(dc), workDC(dc);
    imageDC.Select(image.Get());
    maskDC.Select(mask.Get());
    workDC.Select(work.Get());
    // Both are stretched the same way, so mask and image pick the same source pixels.
    SetStretchBltMode(imageDC.Get(), COLORONCOLOR);
    SetStretchBltMode(maskDC.Get(), COLORONCOLOR);
    StretchDIBits(imageDC.Get(), 0, 0, w, ht, 0, 0, iw, ih, h->ImageData, Info(*h), DIB_RGB_COLORS, SRCCOPY);
    StretchDIBits(maskDC.Get(), 0, 0, w, ht, 0, 0, iw, ih, maskBits.data(), reinterpret_cast<BITMAPINFO*>(&maskInfo),
                  DIB_RGB_COLORS, SRCCOPY);
    // Monochrome to colour: white (1) takes the background colour, black (0) the text colour.
    for (HDC target : {imageDC.Get(), workDC.Get()}) {
        SetBkColor(target, RGB(255, 255, 255));
        SetTextColor(target, RGB(0, 0, 0));
    }
    BitBlt(workDC.Get(), 0, 0, w, ht, dc, rect.Left, rect.Top, SRCCOPY);
    BitBlt(workDC.Get(), 0, 0, w, ht, maskDC.Get(), 0, 0, SRCAND);
    BitBlt(imageDC.Get(), 0, 0, w, ht, maskDC.Get(), 0, 0, 0x00220326); // image AND NOT mask
    BitBlt(workDC.Get(), 0, 0, w, ht, imageDC.Get(), 0, 0, SRCPAINT);
    BitBlt(dc, rect.Left, rect.Top, w, ht, workDC.Get(), 0, 0, SRCCOPY);
}

void TPNGObject::DrawWithAlpha(HDC dc, const TRect& rect)
{
    TChunkIHDR* h = Header();
    int w = int(h->Width), ht = int(h->Height);
    BITMAPINFOHEADER bi{};
    bi.biSize = sizeof bi;
    bi.biWidth = w;
    bi.biHeight = -ht;
    bi.biPlanes = 1;
    bi.biBitCount = 32;
    bi.biCompression = BI_RGB;
    TMemoryDC memory(dc);
    void* bits = nullptr;
    GdiObject<HBITMAP> section(
        memory.Get() ? CreateDIBSection(memory.Get(), reinterpret_cast<BITMAPINFO*>(&bi), DIB_RGB_COLORS, &bits, nullptr, 0)
                     : nullptr);
    if (!memory.Get() || !section || !bits)
        RaiseCodecError<EPNGOutMemory>(kPngResOutMemory);
    memory.Select(section.Get());
    BitBlt(memory.Get(), 0, 0, w, ht, dc, rect.Left, rect.Top, SRCCOPY);
    GdiFlush();

    auto* plte = Chunks.FirstOfClass<TChunkPLTE>();
    auto* trns = Chunks.FirstOfClass<TChunktRNS>();
    int paletteCount = h->ColorType == 3 ? (plte ? plte->Count : 0) : 256;
    int dibBits = h->DIBBitsPerPixel();
    auto* out = static_cast<std::uint8_t*>(bits);
    for (int y = 0; y < ht; ++y) {
        const std::uint8_t* src = h->RowAddress(y);
        const std::uint8_t* alphaRow = h->AlphaRow(y);
        std::uint8_t* dst = out + std::size_t(y) * std::size_t(w) * 4;
        for (int x = 0; x < w; ++x, dst += 4) {
            std::uint8_t b, g, r, a;
            if (dibBits == 24) {
                b = src[3 * x];
                g = src[3 * x + 1];
                r = src[3 * x + 2];
                a = alphaRow ? alphaRow[x] : 255;
            } else {
                std::size_t bit = std::size_t(x) * dibBits;
                unsigned index = (src[bit >> 3] >> (8 - dibBits - (bit & 7))) & ((1u << dibBits) - 1);
                if (int(index) < paletteCount) {
                    const TPngRGBQuad& q = h->BitmapInfo.bmiColors[index];
                    b = q.rgbBlue;
                    g = q.rgbGreen;
                    r = q.rgbRed;
                } else {
                    b = g = r = 0; // a missing palette entry draws black
                }
                a = alphaRow ? alphaRow[x] : (trns ? trns->AlphaValues[index] : 255);
            }
            dst[0] = std::uint8_t((a * b + (255 - a) * dst[0] + 255) >> 8);
            dst[1] = std::uint8_t((a * g + (255 - a) * dst[1] + 255) >> 8);
            dst[2] = std::uint8_t((a * r + (255 - a) * dst[2] + 255) >> 8);
        }
    }
    BitBlt(dc, rect.Left, rect.Top, w, ht, memory.Get(), 0, 0, SRCCOPY);
}

void TPNGObject::Assign(TPersistent* source)
{
    if (auto* png = dynamic_cast<TPNGObject*>(source)) {
        CopyFromPNG(*png);
        Changed();
    } else if (auto* bitmap = dynamic_cast<TBitmap*>(source)) {
        LoadFromBitmapHandle(bitmap->Handle(), bitmap->Transparent(), ColorToRGB(bitmap->TransparentColor()));
    } else {
        TGraphic::Assign(source);
    }
}

void TPNGObject::AssignTo(TPersistent* dest)
{
    if (auto* png = dynamic_cast<TPNGObject*>(dest)) {
        png->CopyFromPNG(*this);
        return;
    }
    auto* bitmap = dynamic_cast<TBitmap*>(dest);
    TChunkIHDR* h = HeaderOrNull();
    if (bitmap && h) {
        // The bitmap gets a section of the image's own depth, colour table and pixels: a device bitmap
        // converted to a palette depth afterwards would lose the image's colours.
        if (h->ImageData) {
            void* bits = nullptr;
            TScreenDC screen;
            GdiObject<HBITMAP> section(CreateDIBSection(screen.Get(), Info(*h), DIB_RGB_COLORS, &bits, nullptr, 0));
            if (!section || !bits)
                RaiseCodecError<EPNGOutMemory>(kPngResOutMemory);
            std::memcpy(bits, h->ImageData, std::size_t(h->DIBStride) * h->Height);
            bitmap->SetHandle(section.Release());
        } else {
            bitmap->SetSize(int(h->Width), int(h->Height));
        }
        if (TransparencyKind() == TPNGTransparencyKind::ptmBit) {
            bitmap->SetTransparentColor(TransparentColor());
            bitmap->SetTransparent(true);
        }
        return;
    }
    TGraphic::AssignTo(dest);
}

void TPNGObject::LoadFromBitmapHandle(HBITMAP bitmap, bool transparent, TColor color)
{
    BITMAP info{};
    if (!bitmap || GetObjectW(bitmap, sizeof info, &info) == 0)
        RaiseCodecError<EPNGOutMemory>(kPngResOutMemory);
    int bits = info.bmBitsPixel * info.bmPlanes;
    bool paletted = bits < 16;
    if (paletted && bits != 1 && bits != 4 && bits != 8)
        bits = 8;
    FreeChunks();
    auto* h = static_cast<TChunkIHDR*>(Chunks.Add(std::make_unique<TChunkIHDR>(this)));
    h->Width = std::uint32_t(info.bmWidth);
    h->Height = std::uint32_t(info.bmHeight < 0 ? -info.bmHeight : info.bmHeight);
    h->BitDepth = std::uint8_t(paletted ? bits : 8);
    h->ColorType = paletted ? 3 : 2;
    h->CompressionMethod = 0;
    h->FilterMethod = 0;
    h->InterlaceMethod = 0;
    InterlaceMethod = 0;
    h->SetupImageData();
    if (h->ImageData) {
        TScreenDC screen;
        GetDIBits(screen.Get(), bitmap, 0, h->Height, h->ImageData, reinterpret_cast<BITMAPINFO*>(&h->BitmapInfo),
                  DIB_RGB_COLORS);
    }
    if (paletted) {
        auto* plte = static_cast<TChunkPLTE*>(Chunks.Add(std::make_unique<TChunkPLTE>(this)));
        plte->Count = 1 << bits;
    }
    if (transparent) {
        auto* trns = static_cast<TChunktRNS*>(Chunks.Add(std::make_unique<TChunktRNS>(this)));
        trns->SetTransparentColor(static_cast<TPngColor>(ColorToRGB(color)));
    }
    Chunks.Add(std::make_unique<TChunkIDAT>(this));
    Chunks.Add(std::make_unique<TChunkIEND>(this));
    Changed();
}

void TPNGObject::SaveToClipboardFormat(UINT& format, HANDLE& data, HPALETTE& palette)
{
    TBitmap bitmap;
    bitmap.SetSize(Width(), Height());
    Draw(bitmap.Canvas(), TRect{0, 0, Width(), Height()});
    bitmap.SaveToClipboardFormat(format, data, palette);
}

void TPNGObject::LoadFromClipboardFormat(UINT format, HANDLE data, HPALETTE palette)
{
    TBitmap bitmap;
    bitmap.LoadFromClipboardFormat(format, data, palette);
    LoadFromBitmapHandle(bitmap.Handle(), false, 0);
}

void RegisterPngFormat()
{
    TPicture::RegisterFileFormat(L"PNG", L"Portable Network Graphics", GraphicClassOf<TPNGObject>());
}

void UnregisterPngFormat()
{
    TPicture::UnregisterGraphicClass(GraphicClassOf<TPNGObject>());
}

void AddPngStartupStep(TStartup& startup)
{
    startup.Add(TStartupOrder::PngFormat, L"PNG format", RegisterPngFormat, UnregisterPngFormat);
}
