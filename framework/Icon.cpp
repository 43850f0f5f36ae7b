// Icons: .ico files with several images, the best fit for a requested size, and icon handles.
#include "framework/Graphics.h"

#include <algorithm>
#include <cstring>
#include <tuple>

namespace {

#pragma pack(push, 1)
struct IconDir {
    WORD reserved;
    WORD type;
    WORD count;
};
struct IconDirEntry {
    BYTE width;
    BYTE height;
    BYTE colorCount;
    BYTE reserved;
    WORD planes;
    WORD bitCount;
    DWORD bytesInRes;
    DWORD imageOffset;
};
#pragma pack(pop)

constexpr std::uint8_t kPngSignature[8] = {137, 80, 78, 71, 13, 10, 26, 10};

[[noreturn]] void InvalidIcon() { throw EInvalidGraphic(L"Icon image is not valid"); }

// The depth of an image: the directory's word when set, else the image's own header.
int ImageBitCount(const std::vector<std::uint8_t>& data, const IconDirEntry& e)
{
    if (e.bitCount)
        return e.bitCount;
    const std::uint8_t* image = data.data() + e.imageOffset;
    if (e.bytesInRes >= 8 && std::memcmp(image, kPngSignature, 8) == 0)
        return 32;
    if (e.bytesInRes >= sizeof(BITMAPINFOHEADER)) {
        BITMAPINFOHEADER h;
        std::memcpy(&h, image, sizeof h);
        return h.biBitCount;
    }
    if (e.colorCount)
        return e.colorCount <= 2 ? 1 : e.colorCount <= 16 ? 4 : 8;
    return 0;
}

// A bitmap image (not PNG) must hold everything its header promises: header, colour table, the
// colour rows and the mask rows; the system's icon maker trusts the header and would read past the
// image (or past the file) otherwise. Some writers leave the mask out of 32-bit images, whose alpha
// channel says everything: those are accepted and given an all-opaque mask.
// Returns the mask bytes to append (0 for a complete image), or -1 for an image that is not valid.
std::int64_t MissingMaskBytes(const std::uint8_t* image, std::size_t size)
{
    if (size < sizeof(BITMAPINFOHEADER))
        return -1;
    BITMAPINFOHEADER h;
    std::memcpy(&h, image, sizeof h);
    if (h.biSize < sizeof h || h.biSize > size || h.biPlanes != 1)
        return -1;
    int bits = h.biBitCount;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return -1;
    if (h.biCompression != BI_RGB && !(h.biCompression == BI_BITFIELDS && (bits == 16 || bits == 32)))
        return -1;
    // The height counts the colour rows and the mask rows.
    std::int64_t width = h.biWidth, height = h.biHeight / 2;
    if (width < 1 || width > 1024 || height < 1 || height > 1024)
        return -1;
    std::int64_t colors = bits <= 8 ? (h.biClrUsed ? h.biClrUsed : (1u << bits)) : h.biClrUsed;
    if (colors > 256)
        return -1;
    std::int64_t masks = h.biCompression == BI_BITFIELDS && h.biSize == sizeof h ? 12 : 0;
    std::int64_t colorEnd = h.biSize + masks + colors * 4 + ((width * bits + 31) / 32) * 4 * height;
    std::int64_t full = colorEnd + ((width + 31) / 32) * 4 * height;
    auto have = static_cast<std::int64_t>(size);
    if (have >= full)
        return 0;
    return bits == 32 && have >= colorEnd ? full - have : -1;
}

} // namespace

TIcon::TIcon() : requestedWidth_(GetSystemMetrics(SM_CXICON)), requestedHeight_(GetSystemMetrics(SM_CYICON)) {}

TIcon::~TIcon() { Clear(); }

void TIcon::Clear()
{
    if (icon_)
        DestroyIcon(icon_);
    icon_ = nullptr;
    data_.clear();
    entries_.clear();
    width_ = height_ = bitCount_ = 0;
}

HICON TIcon::Handle() { return icon_; }

void TIcon::SetHandle(HICON value)
{
    if (value == icon_)
        return;
    Clear();
    icon_ = value;
    if (value) {
        ICONINFO info{};
        if (GetIconInfo(value, &info)) {
            // GetIconInfo hands over copies of the icon's bitmaps.
            GdiObject<HBITMAP> colour(info.hbmColor), mask(info.hbmMask);
            BITMAP bm{};
            HBITMAP sized = info.hbmColor ? info.hbmColor : info.hbmMask;
            GetObjectW(sized, sizeof bm, &bm);
            width_ = bm.bmWidth;
            height_ = info.hbmColor ? bm.bmHeight : bm.bmHeight / 2;
            bitCount_ = info.hbmColor ? bm.bmBitsPixel : 1;
        }
    }
    Changed();
}

HICON TIcon::ReleaseHandle()
{
    HICON h = icon_;
    icon_ = nullptr;
    Clear();
    return h;
}

void TIcon::SetSize(int width, int height)
{
    if (width <= 0 || height <= 0 || (width == requestedWidth_ && height == requestedHeight_))
        return;
    requestedWidth_ = width;
    requestedHeight_ = height;
    if (!entries_.empty()) {
        ChooseImage();
        Changed();
    }
}

void TIcon::LoadFromStream(TStream* stream)
{
    std::int64_t left = stream->Size() - stream->Position();
    if (left < static_cast<std::int64_t>(sizeof(IconDir)) || left > 64 * 1024 * 1024)
        InvalidIcon();
    std::vector<std::uint8_t> data(static_cast<std::size_t>(left));
    stream->ReadBuffer(data.data(), static_cast<std::int32_t>(left));

    IconDir dir;
    std::memcpy(&dir, data.data(), sizeof dir);
    if (dir.reserved != 0 || dir.type != 1 || dir.count == 0 ||
        data.size() < sizeof dir + static_cast<std::size_t>(dir.count) * sizeof(IconDirEntry))
        InvalidIcon();
    std::vector<Entry> entries;
    for (int i = 0; i < dir.count; ++i) {
        IconDirEntry e;
        std::memcpy(&e, data.data() + sizeof dir + i * sizeof e, sizeof e);
        if (e.imageOffset > data.size() || e.bytesInRes > data.size() - e.imageOffset || e.bytesInRes < 8)
            InvalidIcon();
        const std::uint8_t* image = data.data() + e.imageOffset;
        std::int64_t missingMask = 0;
        if (std::memcmp(image, kPngSignature, 8) != 0 && (missingMask = MissingMaskBytes(image, e.bytesInRes)) < 0)
            InvalidIcon();
        entries.push_back(Entry{e.width ? e.width : 256, e.height ? e.height : 256, ImageBitCount(data, e),
                                e.imageOffset, e.bytesInRes, static_cast<std::size_t>(missingMask)});
    }
    Clear();
    data_ = std::move(data);
    entries_ = std::move(entries);
    try {
        ChooseImage();
    } catch (...) {
        Clear();
        throw;
    }
    Changed();
}

// Picks the image nearest the requested size (a larger one before an equally distant smaller one,
// since shrinking looks better than enlarging), the deepest of those, and makes its handle.
void TIcon::ChooseImage()
{
    auto key = [&](const Entry& e) {
        int distance = std::abs(e.width - requestedWidth_) + std::abs(e.height - requestedHeight_);
        bool smaller = e.width < requestedWidth_;
        return std::make_tuple(distance, smaller, -e.bitCount);
    };
    auto best = std::min_element(entries_.begin(), entries_.end(),
                                 [&](const Entry& a, const Entry& b) { return key(a) < key(b); });
    const std::uint8_t* image = data_.data() + best->offset;
    std::vector<std::uint8_t> completed;
    if (best->missingMask > 0) {
        completed.assign(image, image + best->size);
        completed.resize(best->size + best->missingMask, 0);
        image = completed.data();
    }
    HICON made = CreateIconFromResourceEx(const_cast<PBYTE>(image), static_cast<DWORD>(best->size + best->missingMask),
                                          TRUE, 0x00030000, best->width, best->height, LR_DEFAULTCOLOR);
    if (!made)
        InvalidIcon();
    if (icon_)
        DestroyIcon(icon_);
    icon_ = made;
    width_ = best->width;
    height_ = best->height;
    bitCount_ = best->bitCount;
}

void TIcon::Assign(TPersistent* source)
{
    auto* other = dynamic_cast<TIcon*>(source);
    if (!source) {
        Clear();
        Changed();
        return;
    }
    if (!other) {
        TGraphic::Assign(source);
        return;
    }
    if (other == this)
        return;
    Clear();
    requestedWidth_ = other->requestedWidth_;
    requestedHeight_ = other->requestedHeight_;
    if (!other->data_.empty()) {
        data_ = other->data_;
        entries_ = other->entries_;
        ChooseImage();
    } else if (other->icon_) {
        icon_ = CopyIcon(other->icon_);
        width_ = other->width_;
        height_ = other->height_;
        bitCount_ = other->bitCount_;
    }
    Changed();
}

void TIcon::Draw(TCanvas* canvas, const TRect& rect)
{
    if (!icon_)
        return;
    DrawIconEx(canvas->Handle(), rect.Left, rect.Top, icon_, rect.Width(), rect.Height(), 0, nullptr, DI_NORMAL);
}

void TIcon::SaveToStream(TStream* stream)
{
    if (!data_.empty()) {
        stream->WriteBuffer(data_.data(), static_cast<std::int32_t>(data_.size()));
        return;
    }
    if (!icon_)
        return;
    std::vector<std::uint8_t> file = EncodeHandle();
    stream->WriteBuffer(file.data(), static_cast<std::int32_t>(file.size()));
}

// An .ico file of one 32-bit image (with its AND mask) from the handle.
std::vector<std::uint8_t> TIcon::EncodeHandle()
{
    ICONINFO info{};
    if (!GetIconInfo(icon_, &info))
        InvalidIcon();
    GdiObject<HBITMAP> color(info.hbmColor), mask(info.hbmMask);
    int w = width_, h = height_;
    BITMAPINFOHEADER bih{};
    bih.biSize = sizeof bih;
    bih.biWidth = w;
    bih.biHeight = h;
    bih.biPlanes = 1;
    bih.biBitCount = 32;
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(w) * h * 4);
    int maskStride = ((w + 31) / 32) * 4;
    std::vector<std::uint8_t> maskBits(static_cast<std::size_t>(maskStride) * h);
    TScreenDC screen;
    if (color)
        GetDIBits(screen.Get(), color.Get(), 0, h, pixels.data(), reinterpret_cast<BITMAPINFO*>(&bih), DIB_RGB_COLORS);
    struct {
        BITMAPINFOHEADER h;
        RGBQUAD c[2];
    } mi{};
    mi.h = bih;
    mi.h.biBitCount = 1;
    GetDIBits(screen.Get(), mask.Get(), 0, h, maskBits.data(), reinterpret_cast<BITMAPINFO*>(&mi), DIB_RGB_COLORS);

    BITMAPINFOHEADER stored = bih;
    stored.biHeight = h * 2;
    std::size_t imageSize = sizeof stored + pixels.size() + maskBits.size();
    IconDir dir{0, 1, 1};
    IconDirEntry entry{static_cast<BYTE>(w >= 256 ? 0 : w), static_cast<BYTE>(h >= 256 ? 0 : h), 0, 0, 1, 32,
                       static_cast<DWORD>(imageSize), sizeof dir + sizeof entry};
    std::vector<std::uint8_t> file(sizeof dir + sizeof entry + imageSize);
    std::uint8_t* p = file.data();
    std::memcpy(p, &dir, sizeof dir);
    std::memcpy(p + sizeof dir, &entry, sizeof entry);
    p += sizeof dir + sizeof entry;
    std::memcpy(p, &stored, sizeof stored);
    std::memcpy(p + sizeof stored, pixels.data(), pixels.size());
    std::memcpy(p + sizeof stored + pixels.size(), maskBits.data(), maskBits.size());
    return file;
}

HICON CreateIconFromPixels(int width, int height, const std::vector<std::uint32_t>& pixels)
{
    if (width <= 0 || height <= 0 || pixels.size() < static_cast<std::size_t>(width) * height)
        return nullptr;
    BITMAPV5HEADER header{};
    header.bV5Size = sizeof(header);
    header.bV5Width = width;
    header.bV5Height = -height;
    header.bV5Planes = 1;
    header.bV5BitCount = 32;
    header.bV5Compression = BI_BITFIELDS;
    header.bV5RedMask = 0x00FF0000;
    header.bV5GreenMask = 0x0000FF00;
    header.bV5BlueMask = 0x000000FF;
    header.bV5AlphaMask = 0xFF000000;
    void* bits = nullptr;
    GdiObject<HBITMAP> colour(CreateDIBSection(TScreenDC().Get(), reinterpret_cast<BITMAPINFO*>(&header),
                                               DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!colour || !bits)
        return nullptr;
    std::memcpy(bits, pixels.data(), static_cast<std::size_t>(width) * height * sizeof(std::uint32_t));
    GdiObject<HBITMAP> mask(CreateBitmap(width, height, 1, 1, nullptr));
    if (!mask)
        return nullptr;
    {
        TMemoryDC dc(mask.Get());
        PatBlt(dc.Get(), 0, 0, width, height, BLACKNESS);
    }
    ICONINFO info{TRUE, 0, 0, mask.Get(), colour.Get()};
    return CreateIconIndirect(&info);
}
