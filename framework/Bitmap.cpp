// Bitmaps: DIB sections with row access, pixel-format conversion and BMP files.
#include "framework/Graphics.h"

#include <algorithm>
#include <cstring>
#include <span>

namespace {

// The largest side and pixel count a bitmap may have: far beyond any skin or photo, well within
// 32-bit address space for a 32-bit picture.
constexpr int kMaxSide = 32768;
constexpr std::int64_t kMaxPixels = 64 * 1024 * 1024;

int BitsOf(TPixelFormat format)
{
    switch (format) {
    case pf1bit: return 1;
    case pf4bit: return 4;
    case pf8bit: return 8;
    case pf15bit:
    case pf16bit: return 16;
    case pf24bit: return 24;
    case pf32bit: return 32;
    default: return 0;
    }
}

TPixelFormat FormatOfBits(int bits)
{
    switch (bits) {
    case 1: return pf1bit;
    case 4: return pf4bit;
    case 8: return pf8bit;
    case 16: return pf15bit;
    case 24: return pf24bit;
    case 32: return pf32bit;
    default: return pfCustom;
    }
}

int StrideOf(int width, int bits) { return ((width * bits + 31) / 32) * 4; }

// The colour tables a palette bitmap starts with: black and white; the sixteen VGA colours; the
// 6x6x6 colour cube, a grey ramp and the VGA colours.
std::vector<RGBQUAD> DefaultColorTable(int bits)
{
    static const std::uint32_t kVga[16] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
                                           0x008080, 0xC0C0C0, 0x808080, 0xFF0000, 0x00FF00, 0xFFFF00,
                                           0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
    auto quad = [](std::uint32_t rgb) {
        return RGBQUAD{static_cast<BYTE>(rgb & 0xFF), static_cast<BYTE>((rgb >> 8) & 0xFF),
                       static_cast<BYTE>(rgb >> 16), 0};
    };
    std::vector<RGBQUAD> table;
    if (bits == 1) {
        table = {quad(0), quad(0xFFFFFF)};
    } else if (bits == 4) {
        for (std::uint32_t c : kVga)
            table.push_back(quad(c));
    } else if (bits == 8) {
        for (std::uint32_t c : kVga)
            table.push_back(quad(c));
        for (int r = 0; r < 6; ++r)
            for (int g = 0; g < 6; ++g)
                for (int b = 0; b < 6; ++b)
                    table.push_back(quad((r * 51u) << 16 | (g * 51u) << 8 | b * 51u));
        for (int i = 1; table.size() < 256; ++i) {
            std::uint32_t v = static_cast<std::uint32_t>(i * 255 / 25);
            table.push_back(quad(v << 16 | v << 8 | v));
        }
    }
    return table;
}

struct DibHeader {
    BITMAPINFOHEADER header;
    RGBQUAD colors[256];
};

// The masks of pf16bit rows (5-6-5); 16-bit rows without masks are 5-5-5, pf15bit.
constexpr DWORD kMasks565[3] = {0xF800, 0x07E0, 0x001F};

// Sixteen-bit pixels come in two layouts; the section's masks tell which.
TPixelFormat FormatOfSection(const DIBSECTION& ds)
{
    if (ds.dsBmih.biBitCount == 16 && ds.dsBmih.biCompression == BI_BITFIELDS && ds.dsBitfields[1] == kMasks565[1])
        return pf16bit;
    return FormatOfBits(ds.dsBmih.biBitCount);
}

HBITMAP CreateSection(int width, int height, int bits, const std::vector<RGBQUAD>& table, void** pixels,
                      bool rgb565 = false)
{
    DibHeader info{};
    info.header.biSize = sizeof(BITMAPINFOHEADER);
    info.header.biWidth = width;
    info.header.biHeight = height;
    info.header.biPlanes = 1;
    info.header.biBitCount = static_cast<WORD>(bits);
    info.header.biCompression = BI_RGB;
    info.header.biClrUsed = static_cast<DWORD>(table.size());
    std::copy(table.begin(), table.end(), info.colors);
    if (bits == 16 && rgb565) {
        info.header.biCompression = BI_BITFIELDS;
        std::memcpy(info.colors, kMasks565, sizeof kMasks565);
    }
    HBITMAP bmp = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, pixels, nullptr, 0);
    if (!bmp)
        throw EOutOfResources(L"Out of system resources");
    return bmp;
}

void CheckSize(int width, int height)
{
    if (width < 0 || height < 0 || width > kMaxSide || height > kMaxSide ||
        static_cast<std::int64_t>(width) * height > kMaxPixels)
        throw EInvalidGraphicOperation(L"Bitmap size is out of range");
}

[[noreturn]] void InvalidBitmap() { throw EInvalidGraphic(L"Bitmap image is not valid"); }

template <class T>
T ReadAt(std::span<const std::uint8_t> data, std::size_t offset)
{
    if (offset > data.size() || data.size() - offset < sizeof(T))
        InvalidBitmap();
    T value;
    std::memcpy(&value, data.data() + offset, sizeof(T));
    return value;
}

std::vector<std::uint8_t> ReadRest(TStream* stream)
{
    std::int64_t left = stream->Size() - stream->Position();
    if (left <= 0)
        InvalidBitmap();
    if (left > 1024LL * 1024 * 1024)
        throw EInvalidGraphic(L"Bitmap image is too large");
    std::vector<std::uint8_t> data(static_cast<std::size_t>(left));
    stream->ReadBuffer(data.data(), static_cast<std::int32_t>(left));
    return data;
}

// The first pixel of the picture's bottom row (startScan 0) or top row, as 32-bit colour.
bool FirstPixelOfRow(HBITMAP bitmap, const DIBSECTION& ds, bool bottom, std::uint32_t& pixel)
{
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = ds.dsBm.bmWidth;
    bi.bmiHeader.biHeight = ds.dsBm.bmHeight;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    std::vector<std::uint32_t> row(static_cast<std::size_t>(ds.dsBm.bmWidth));
    TScreenDC screen;
    UINT scan = bottom ? 0 : static_cast<UINT>(ds.dsBm.bmHeight - 1);
    int got = GetDIBits(screen.Get(), bitmap, scan, 1, row.data(), &bi, DIB_RGB_COLORS);
    pixel = row.empty() ? 0 : row[0];
    return got == 1;
}

// Whether the first row in a section's memory is the picture's top row. The section's own header
// cannot be trusted for this (the system may report a top-down section's height as positive), so
// the first byte in memory is changed for a moment and GDI is asked which row changed with it.
bool SectionIsTopDown(HBITMAP bitmap, const DIBSECTION& ds)
{
    if (ds.dsBmih.biHeight < 0)
        return true;
    if (ds.dsBm.bmHeight < 2 || !ds.dsBm.bmBits)
        return false;
    GdiFlush();
    auto* first = static_cast<std::uint8_t*>(ds.dsBm.bmBits);
    std::uint32_t bottomBefore, topBefore, bottomAfter, topAfter;
    if (!FirstPixelOfRow(bitmap, ds, true, bottomBefore) || !FirstPixelOfRow(bitmap, ds, false, topBefore))
        return false;
    std::uint8_t saved = *first;
    *first = static_cast<std::uint8_t>(saved ^ 0xFF);
    bool read = FirstPixelOfRow(bitmap, ds, true, bottomAfter) && FirstPixelOfRow(bitmap, ds, false, topAfter);
    *first = saved;
    // When neither row shows the change (a palette of equal colours), the order cannot matter to
    // anyone reading colours; the usual bottom-up order is kept.
    return read && bottomAfter == bottomBefore && topAfter != topBefore;
}

} // namespace

// TBitmapCanvas

void TBitmapCanvas::CreateHandle()
{
    if (dc_)
        return;
    dc_ = CreateCompatibleDC(nullptr);
    if (!dc_)
        throw EOutOfResources(L"Out of system resources");
    if (HBITMAP bmp = bitmap_->Handle())
        oldBitmap_ = SelectObject(dc_, bmp);
    if (bitmap_->palette_) {
        oldPalette_ = SelectPalette(dc_, bitmap_->palette_.Get(), TRUE);
        RealizePalette(dc_);
    }
    SetHandle(dc_);
}

void TBitmapCanvas::FreeContext()
{
    if (!dc_)
        return;
    SetHandle(nullptr);
    if (oldBitmap_)
        SelectObject(dc_, oldBitmap_);
    if (oldPalette_)
        SelectPalette(dc_, oldPalette_, TRUE);
    DeleteDC(dc_);
    dc_ = nullptr;
    oldBitmap_ = nullptr;
    oldPalette_ = nullptr;
}

// TBitmap

TBitmap::TBitmap() = default;

TBitmap::~TBitmap()
{
    // The canvas's DC must let the bitmap go before the bitmap is deleted.
    canvas_.reset();
}

TCanvas* TBitmap::Canvas()
{
    if (!canvas_) {
        canvas_ = std::make_unique<TBitmapCanvas>(this);
        canvas_->OnChange = [this](TObject*) { Changed(); };
    }
    return canvas_.get();
}

void TBitmap::DetachCanvas()
{
    if (canvas_)
        canvas_->FreeContext();
}

void TBitmap::Changed()
{
    TGraphic::Changed();
}

HBITMAP TBitmap::Handle()
{
    if (!handle_ && width_ > 0 && height_ > 0)
        Recreate(width_, height_, pixelFormat_, handleType_, false);
    return handle_.Get();
}

void TBitmap::TakeHandle(HBITMAP value)
{
    DetachCanvas();
    palette_.Reset();
    handle_.Reset(value);
    rows_ = {};
    width_ = height_ = 0;
    topDown_ = false;
    if (!value)
        return;
    DIBSECTION ds{};
    int got = GetObjectW(value, sizeof ds, &ds);
    if (got == sizeof ds) {
        handleType_ = bmDIB;
        topDown_ = SectionIsTopDown(value, ds);
        width_ = ds.dsBmih.biWidth;
        height_ = std::abs(ds.dsBmih.biHeight);
        pixelFormat_ = FormatOfSection(ds);
    } else if (got >= static_cast<int>(sizeof(BITMAP))) {
        handleType_ = bmDDB;
        width_ = ds.dsBm.bmWidth;
        height_ = ds.dsBm.bmHeight;
        pixelFormat_ = ds.dsBm.bmBitsPixel == 1 ? pf1bit : pfDevice;
    }
}

void TBitmap::SetHandle(HBITMAP value)
{
    if (value == handle_.Get())
        return;
    TakeHandle(value);
    Changed();
}

HBITMAP TBitmap::ReleaseHandle()
{
    DetachCanvas();
    palette_.Reset();
    topDown_ = false;
    width_ = height_ = 0;
    rows_ = {};
    return handle_.Release();
}

void TBitmap::Reset()
{
    DetachCanvas();
    handle_.Reset();
    rows_ = {};
    palette_.Reset();
    topDown_ = false;
    width_ = height_ = 0;
}

// Makes a new handle of the given size and kind; with keepPicture the old picture is copied in
// (GDI maps the colours), the rest is white.
void TBitmap::Recreate(int width, int height, TPixelFormat format, TBitmapHandleType type, bool keepPicture)
{
    CheckSize(width, height);
    DetachCanvas();
    if (width == 0 || height == 0) {
        Reset();
        width_ = width;
        height_ = height;
        pixelFormat_ = format;
        handleType_ = type;
        return;
    }
    GdiObject<HBITMAP> made;
    if (type == bmDDB || format == pfDevice) {
        TScreenDC screen;
        made.Reset(format == pf1bit ? CreateBitmap(width, height, 1, 1, nullptr)
                                    : CreateCompatibleBitmap(screen.Get(), width, height));
        if (!made)
            throw EOutOfResources(L"Out of system resources");
        if (format != pf1bit)
            format = pfDevice;
        type = bmDDB;
    } else {
        int bits = BitsOf(format);
        if (bits == 0) {
            format = pf24bit;
            bits = 24;
        }
        void* pixels = nullptr;
        std::vector<RGBQUAD> table;
        // A palette bitmap of the same depth keeps its own colours.
        if (bits <= 8 && handle_ && pixelFormat_ == format && handleType_ == bmDIB) {
            table.resize(256);
            TMemoryDC old(handle_.Get());
            table.resize(GetDIBColorTable(old.Get(), 0, 256, table.data()));
        }
        if (bits <= 8 && table.empty())
            table = DefaultColorTable(bits);
        made.Reset(CreateSection(width, height, bits, table, &pixels, format == pf16bit));
    }
    {
        TMemoryDC dest(made.Get());
        PatBlt(dest.Get(), 0, 0, width, height, WHITENESS);
        if (keepPicture && handle_) {
            TMemoryDC source(handle_.Get());
            BitBlt(dest.Get(), 0, 0, std::min(width, width_), std::min(height, height_), source.Get(), 0, 0, SRCCOPY);
        }
    }
    DetachCanvas();
    handle_ = std::move(made);
    rows_ = {};
    palette_.Reset();
    topDown_ = false;
    width_ = width;
    height_ = height;
    pixelFormat_ = format;
    handleType_ = type;
}

void TBitmap::SetSize(int width, int height)
{
    if (width == width_ && height == height_)
        return;
    Recreate(width, height, pixelFormat_, handleType_, true);
    Changed();
}

void TBitmap::SetPixelFormat(TPixelFormat value)
{
    if (value == pixelFormat_ || value == pfCustom)
        return;
    Recreate(width_, height_, value, value == pfDevice ? bmDDB : bmDIB, true);
    Changed();
}

void TBitmap::SetHandleType(TBitmapHandleType value)
{
    if (value == handleType_)
        return;
    TPixelFormat format = value == bmDDB ? pfDevice : pixelFormat_ == pfDevice ? pf24bit : pixelFormat_;
    Recreate(width_, height_, format, value, true);
    Changed();
}

int TBitmap::RowStride() const { return StrideOf(width_, BitsOf(pixelFormat_)); }

void* TBitmap::ScanLine(int row)
{
    if (row < 0 || row >= height_ || width_ <= 0)
        throw EInvalidGraphicOperation(L"Scan line index out of range");
    if (handleType_ != bmDIB)
        SetHandleType(bmDIB);
    Handle();
    if (!rows_.Bits) {
        // A section's memory stays where it is for the life of its handle, so it is looked up once.
        DIBSECTION ds{};
        if (GetObjectW(handle_.Get(), sizeof ds, &ds) != sizeof ds || !ds.dsBm.bmBits)
            throw EInvalidGraphicOperation(L"Scan line index out of range");
        rows_ = {static_cast<std::uint8_t*>(ds.dsBm.bmBits), ds.dsBm.bmWidthBytes};
    }
    // Drawing through GDI may still be queued; the caller reads and writes memory directly.
    GdiFlush();
    auto* bits = rows_.Bits;
    int stride = rows_.Stride;
    int line = topDown_ ? row : height_ - 1 - row;
    return bits + static_cast<std::ptrdiff_t>(line) * stride;
}

HPALETTE TBitmap::GetPalette()
{
    if (palette_ || BitsOf(pixelFormat_) > 8 || BitsOf(pixelFormat_) == 0 || !Handle())
        return palette_.Get();
    RGBQUAD table[256];
    UINT count;
    {
        DetachCanvas();
        TMemoryDC dc(handle_.Get());
        count = GetDIBColorTable(dc.Get(), 0, 256, table);
    }
    if (count == 0)
        return nullptr;
    std::vector<std::uint8_t> buffer(sizeof(LOGPALETTE) + 256 * sizeof(PALETTEENTRY));
    auto* lp = reinterpret_cast<LOGPALETTE*>(buffer.data());
    lp->palVersion = 0x300;
    lp->palNumEntries = static_cast<WORD>(count);
    for (UINT i = 0; i < count; ++i)
        lp->palPalEntry[i] = PALETTEENTRY{table[i].rgbRed, table[i].rgbGreen, table[i].rgbBlue, 0};
    palette_.Reset(CreatePalette(lp));
    return palette_.Get();
}

void TBitmap::SetPalette(HPALETTE value)
{
    // A palette bitmap takes the palette's colours as its colour table; the palette is owned.
    if (value && handle_ && handleType_ == bmDIB && BitsOf(pixelFormat_) <= 8 && BitsOf(pixelFormat_) > 0) {
        PALETTEENTRY entries[256];
        UINT count = GetPaletteEntries(value, 0, 256, entries);
        RGBQUAD table[256];
        for (UINT i = 0; i < count; ++i)
            table[i] = RGBQUAD{entries[i].peBlue, entries[i].peGreen, entries[i].peRed, 0};
        DetachCanvas();
        TMemoryDC dc(handle_.Get());
        SetDIBColorTable(dc.Get(), 0, count, table);
    }
    DetachCanvas();
    palette_.Reset(value);
    Changed();
}

TColor TBitmap::TransparentColor()
{
    if (transparentMode_ == tmFixed && transparentColor_ != clDefault)
        return transparentColor_;
    if (Empty())
        return clDefault;
    return Canvas()->Pixels(0, height_ - 1);
}

void TBitmap::SetTransparentColor(TColor value)
{
    if (value == transparentColor_ && transparentMode_ == tmFixed)
        return;
    transparentColor_ = value;
    transparentMode_ = value == clDefault ? tmAuto : tmFixed;
    Changed();
}

void TBitmap::SetTransparentMode(TTransparentMode value)
{
    if (value == transparentMode_)
        return;
    if (value == tmAuto)
        SetTransparentColor(clDefault);
    else
        SetTransparentColor(TransparentColor());
}

void TBitmap::Assign(TPersistent* source)
{
    if (!source) {
        Reset();
        Changed();
        return;
    }
    auto* other = dynamic_cast<TBitmap*>(source);
    if (!other) {
        TGraphic::Assign(source);
        return;
    }
    if (other == this)
        return;
    Reset();
    pixelFormat_ = other->pixelFormat_;
    handleType_ = other->handleType_;
    if (!other->Empty()) {
        if (HBITMAP sourceHandle = other->Handle()) {
            other->DetachCanvas();
            UINT flags = other->handleType_ == bmDIB ? LR_CREATEDIBSECTION : 0;
            HBITMAP copy = static_cast<HBITMAP>(CopyImage(sourceHandle, IMAGE_BITMAP, 0, 0, flags));
            if (!copy)
                throw EOutOfResources(L"Out of system resources");
            TakeHandle(copy);
            // CopyImage may hand back another depth; keep the source's.
            if (pixelFormat_ != other->pixelFormat_ && other->pixelFormat_ != pfCustom)
                Recreate(width_, height_, other->pixelFormat_, other->handleType_, true);
        }
    } else {
        width_ = other->width_;
        height_ = other->height_;
    }
    SetTransparent(other->Transparent());
    transparentColor_ = other->transparentColor_;
    transparentMode_ = other->transparentMode_;
    Changed();
}

void TBitmap::Draw(TCanvas* canvas, const TRect& rect)
{
    if (Empty())
        return;
    HDC source = Canvas()->Handle();
    HDC dest = canvas->Handle();
    if (Transparent()) {
        COLORREF key = ColorToColorRef(TransparentColor());
        TransparentBlt(dest, rect.Left, rect.Top, rect.Width(), rect.Height(), source, 0, 0, width_, height_, key);
        return;
    }
    int oldMode = SetStretchBltMode(dest, COLORONCOLOR);
    StretchBlt(dest, rect.Left, rect.Top, rect.Width(), rect.Height(), source, 0, 0, width_, height_,
               canvas->CopyMode());
    SetStretchBltMode(dest, oldMode);
}

// BMP files

void TBitmap::LoadFromStream(TStream* stream)
{
    // A stream in memory (a skin's unpacked images) is read where it lies, without a copy.
    std::vector<std::uint8_t> copy;
    std::span<const std::uint8_t> data;
    auto* memory = dynamic_cast<TCustomMemoryStream*>(stream);
    const bool inPlace = memory && memory->Memory();
    if (inPlace) {
        const std::int64_t at = memory->Position();
        const std::int64_t left = memory->Size() - at;
        if (left <= 0)
            InvalidBitmap();
        data = std::span<const std::uint8_t>(static_cast<const std::uint8_t*>(memory->Memory()) + at,
                                             static_cast<std::size_t>(left));
    } else {
        copy = ReadRest(stream);
        data = copy;
    }
    auto file = ReadAt<BITMAPFILEHEADER>(data, 0);
    if (file.bfType != 0x4D42)
        InvalidBitmap();
    LoadDib(data, sizeof(BITMAPFILEHEADER), file.bfOffBits, true);
    if (inPlace)
        memory->SetPosition(memory->Size()); // read to its end, as a copy would have

}

void TBitmap::LoadFromResourceName(HINSTANCE instance, const std::wstring& name)
{
    HRSRC res = FindResourceW(instance, name.c_str(), MAKEINTRESOURCEW(2));
    HGLOBAL loaded = res ? LoadResource(instance, res) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes)
        throw EInvalidGraphic(L"Bitmap resource " + name + L" not found");
    auto* p = static_cast<const std::uint8_t*>(bytes);
    std::vector<std::uint8_t> data(p, p + SizeofResource(instance, res));
    LoadDib(data, 0, 0, false);
}

// Reads a packed DIB: the info header at infoOffset, the colour table after it, the pixels at
// bitsOffset (or right after the colour table).
void TBitmap::LoadDib(std::span<const std::uint8_t> data, std::size_t infoOffset, std::size_t bitsOffset, bool hasBitsOffset)
{
    auto headerSize = ReadAt<DWORD>(data, infoOffset);
    int width, height, bits;
    DWORD compression = BI_RGB, colorsUsed = 0;
    std::size_t tableOffset = infoOffset + headerSize;
    std::size_t quadSize = 4;
    if (headerSize == sizeof(BITMAPCOREHEADER)) {
        auto core = ReadAt<BITMAPCOREHEADER>(data, infoOffset);
        width = core.bcWidth;
        height = core.bcHeight;
        bits = core.bcBitCount;
        quadSize = 3;
    } else if (headerSize >= sizeof(BITMAPINFOHEADER) && headerSize <= 1024) {
        auto info = ReadAt<BITMAPINFOHEADER>(data, infoOffset);
        width = info.biWidth;
        height = info.biHeight;
        bits = info.biBitCount;
        compression = info.biCompression;
        colorsUsed = info.biClrUsed;
        if (info.biPlanes != 1)
            InvalidBitmap();
    } else {
        InvalidBitmap();
    }
    if (compression == BI_BITFIELDS && bits == 32) {
        // Only the usual layout (red high, blue low) is read: it is BI_RGB with alpha masked out.
        std::size_t maskOffset = headerSize == sizeof(BITMAPINFOHEADER) ? tableOffset : infoOffset + 40;
        if (ReadAt<DWORD>(data, maskOffset) != 0xFF0000 || ReadAt<DWORD>(data, maskOffset + 4) != 0xFF00 ||
            ReadAt<DWORD>(data, maskOffset + 8) != 0xFF)
            throw EInvalidGraphic(L"Unsupported bitmap format");
        if (headerSize == sizeof(BITMAPINFOHEADER))
            tableOffset += 12;
    } else if (compression != BI_RGB) {
        throw EInvalidGraphic(L"Unsupported bitmap format");
    }
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32)
        throw EInvalidGraphic(L"Unsupported bitmap format");
    bool topDown = height < 0;
    if (height == INT32_MIN)
        InvalidBitmap();
    height = std::abs(height);
    if (width <= 0 || height == 0 || width > kMaxSide || height > kMaxSide ||
        static_cast<std::int64_t>(width) * height > kMaxPixels)
        InvalidBitmap();

    std::vector<RGBQUAD> table;
    if (bits <= 8) {
        std::size_t count = colorsUsed == 0 || colorsUsed > (1u << bits) ? (1u << bits) : colorsUsed;
        for (std::size_t i = 0; i < count; ++i) {
            std::size_t at = tableOffset + i * quadSize;
            if (at + 3 > data.size())
                InvalidBitmap();
            table.push_back(RGBQUAD{data[at], data[at + 1], data[at + 2], 0});
        }
        if (!hasBitsOffset)
            bitsOffset = tableOffset + count * quadSize;
    } else if (!hasBitsOffset) {
        bitsOffset = tableOffset;
    }
    int stride = StrideOf(width, bits);
    std::size_t needed = static_cast<std::size_t>(stride) * height;
    // The last row may lack its padding in files written by careless tools.
    std::size_t lastRowBytes = (static_cast<std::size_t>(width) * bits + 7) / 8;
    if (bitsOffset > data.size() || data.size() - bitsOffset < needed - (stride - lastRowBytes))
        InvalidBitmap();

    void* pixels = nullptr;
    GdiObject<HBITMAP> made(CreateSection(width, height, bits, table, &pixels));
    auto* dest = static_cast<std::uint8_t*>(pixels);
    const std::uint8_t* src = data.data() + bitsOffset;
    std::size_t available = data.size() - bitsOffset;
    for (int y = 0; y < height; ++y) {
        // The section is bottom-up: its first row in memory is the picture's last.
        int fileRow = topDown ? height - 1 - y : y;
        std::size_t at = static_cast<std::size_t>(fileRow) * stride;
        std::size_t count = std::min<std::size_t>(stride, available - at);
        std::memcpy(dest + static_cast<std::size_t>(y) * stride, src + at, count);
    }
    Reset();
    handle_ = std::move(made);
    width_ = width;
    height_ = height;
    pixelFormat_ = FormatOfBits(bits);
    handleType_ = bmDIB;
    Changed();
}

void TBitmap::SaveToStream(TStream* stream)
{
    if (Empty())
        return;
    HBITMAP source = Handle();
    DetachCanvas();
    int bits = BitsOf(pixelFormat_);
    if (handleType_ != bmDIB || bits == 0 || bits == 16)
        bits = bits == 1 ? 1 : 24;
    std::vector<RGBQUAD> table(bits <= 8 ? (1u << bits) : 0);
    int stride = StrideOf(width_, bits);
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(stride) * height_);
    DibHeader info{};
    info.header.biSize = sizeof(BITMAPINFOHEADER);
    info.header.biWidth = width_;
    info.header.biHeight = height_;
    info.header.biPlanes = 1;
    info.header.biBitCount = static_cast<WORD>(bits);
    info.header.biCompression = BI_RGB;
    int rows = GetDIBits(TScreenDC().Get(), source, 0, height_, pixels.data(), reinterpret_cast<BITMAPINFO*>(&info),
                         DIB_RGB_COLORS);
    if (rows != height_)
        throw EInvalidGraphic(L"Bitmap image is not valid");
    std::copy(info.colors, info.colors + table.size(), table.begin());

    BITMAPFILEHEADER file{};
    std::size_t tableBytes = table.size() * sizeof(RGBQUAD);
    file.bfType = 0x4D42;
    file.bfOffBits = static_cast<DWORD>(sizeof file + sizeof(BITMAPINFOHEADER) + tableBytes);
    file.bfSize = static_cast<DWORD>(file.bfOffBits + pixels.size());
    info.header.biSizeImage = static_cast<DWORD>(pixels.size());
    info.header.biClrUsed = static_cast<DWORD>(table.size());
    info.header.biXPelsPerMeter = info.header.biYPelsPerMeter = 0;
    stream->WriteBuffer(&file, sizeof file);
    stream->WriteBuffer(&info.header, sizeof info.header);
    if (tableBytes)
        stream->WriteBuffer(table.data(), static_cast<std::int32_t>(tableBytes));
    stream->WriteBuffer(pixels.data(), static_cast<std::int32_t>(pixels.size()));
}

void TBitmap::LoadFromClipboardFormat(UINT format, HANDLE data, HPALETTE palette)
{
    if (format != CF_BITMAP || !data)
        throw EInvalidGraphic(L"Unsupported clipboard format");
    HBITMAP copy = static_cast<HBITMAP>(CopyImage(data, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (!copy)
        throw EOutOfResources(L"Out of system resources");
    TakeHandle(copy);
    (void)palette;
    Changed();
}

void TBitmap::SaveToClipboardFormat(UINT& format, HANDLE& data, HPALETTE& palette)
{
    format = CF_BITMAP;
    HBITMAP source = Handle();
    DetachCanvas();
    data = source ? CopyImage(source, IMAGE_BITMAP, 0, 0, 0) : nullptr;
    palette = nullptr;
}
