// The packed skin container without any window: the convertor and the parsing of its bytes.
#include "skin/core/acSkinPack.h"

#include "framework/SysUtils.h"
#include "skin/core/ZLibEx.h"

#include <algorithm>
#include <cstring>

namespace {

// Deflate cannot expand data by more than this factor; a stated size beyond it is a lie that would
// otherwise size a huge buffer.
constexpr std::int64_t kMaxInflateRatio = 1032;
constexpr std::int32_t kMaxNameLength = 1024;

std::int64_t Remaining(TStream* stream)
{
    return stream->Size() - stream->Position();
}

std::int32_t ReadInt32(TStream* stream, const wchar_t* what)
{
    std::int32_t value = 0;
    if (stream->Read(&value, 4) != 4)
        throw EReadError(std::wstring(L"Packed skin is cut short in its ") + what);
    return value;
}

// Entry names are 8-bit characters; each byte becomes the character of the same code (Latin-1), so a
// name survives unpacking and packing unchanged.
std::wstring ReadName(TStream* stream, std::int32_t length)
{
    if (length < 0 || length > kMaxNameLength || length > Remaining(stream))
        throw EReadError(L"Packed skin has an entry name of invalid length");
    std::string bytes(static_cast<size_t>(length), '\0');
    stream->ReadBuffer(bytes.data(), length);
    std::wstring name;
    for (unsigned char c : bytes)
        name += static_cast<wchar_t>(c);
    return name;
}

void CheckEntrySize(TStream* source, std::int32_t size)
{
    if (size < 0 || size > Remaining(source) * kMaxInflateRatio + 64)
        throw EReadError(L"Packed skin states an impossible entry size");
}

void InflateEntry(TStream* source, std::int32_t size, TMemoryStream* target)
{
    CheckEntrySize(source, size);
    TZDecompressionStream inflater(source);
    if (size > 0) {
        // The entry's size is known: the stream takes it at once and the inflater writes straight into
        // it, instead of growing it step by step through a copy buffer.
        target->SetSize(size);
        inflater.ReadBuffer(target->Memory(), size);
    }
    inflater.FinishStream();
    target->SetPosition(0);
}

// The file and info headers of a BMP file.
constexpr std::int32_t kBmpHeaderSize = 54;

std::uint32_t Le32(const unsigned char* p)
{
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

std::uint16_t Le16(const unsigned char* p)
{
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

// Whether the headers of an entry of Size bytes describe a plain BMP file (see TacBitmapLayout) whose
// pixel rows fill the entry exactly; anything else is read as before, bytes first.
bool PlainBitmapLayout(const unsigned char* head, std::int64_t size, TacBitmapLayout& layout)
{
    if (size < kBmpHeaderSize || head[0] != 'B' || head[1] != 'M' || Le32(head + 10) != kBmpHeaderSize ||
        Le32(head + 14) != 40 || Le16(head + 26) != 1 || Le32(head + 30) != 0)
        return false;
    const auto width = static_cast<std::int32_t>(Le32(head + 18));
    const auto height = static_cast<std::int32_t>(Le32(head + 22));
    const int bits = Le16(head + 28);
    // Sides and pixel count within what a bitmap may have at all.
    if ((bits != 24 && bits != 32) || width <= 0 || height <= 0 || width > 32768 || height > 32768 ||
        static_cast<std::int64_t>(width) * height > 64 * 1024 * 1024)
        return false;
    const std::int64_t stride = (static_cast<std::int64_t>(width) * bits + 31) / 32 * 4;
    if (size - kBmpHeaderSize != stride * height)
        return false;
    layout = TacBitmapLayout{width, height, bits};
    return true;
}

// A BMP entry: its headers are inflated first; a plain picture then goes straight into the bitmap the
// convertor's MakeBitmap gives for it, anything else into the entry's bytes after the headers. Damaged
// data raises as InflateEntry's, and a bitmap begun is freed on the way out.
void InflateBitmapEntry(TacSkinConvertor* convertor, TStream* source, std::int32_t size, TacImageItem& item)
{
    CheckEntrySize(source, size);
    TZDecompressionStream inflater(source);
    unsigned char head[kBmpHeaderSize];
    const std::int32_t headBytes = std::min(size, kBmpHeaderSize);
    inflater.ReadBuffer(head, headBytes);
    TacBitmapLayout layout;
    void* pixels = nullptr;
    TacBitmapPtr bitmap;
    if (PlainBitmapLayout(head, size, layout))
        bitmap = convertor->MakeBitmap(item.Name, layout, pixels);
    if (bitmap && pixels) {
        inflater.ReadBuffer(pixels, size - headBytes);
        inflater.FinishStream();
        item.Bitmap = std::move(bitmap);
        return;
    }
    bitmap.reset();
    auto data = std::make_unique<TMemoryStream>();
    if (size > 0) {
        data->SetSize(size);
        std::memcpy(data->Memory(), head, static_cast<size_t>(headBytes));
        inflater.ReadBuffer(static_cast<unsigned char*>(data->Memory()) + headBytes, size - headBytes);
    }
    inflater.FinishStream();
    data->SetPosition(0);
    item.Data = std::move(data);
}

void ParseEntries(TacSkinConvertor* convertor, TStream* source)
{
    const std::int32_t count = ReadInt32(source, L"entry count");
    // An entry takes at least 4 + 4 + 8 bytes (two lengths and the smallest zlib stream).
    if (count < 0 || count > Remaining(source) / 16 + 1)
        throw EReadError(L"Packed skin states an impossible number of entries");
    for (std::int32_t i = 0; i < count; ++i) {
        const std::int32_t nameLength = ReadInt32(source, L"entry header");
        const std::wstring name = ReadName(source, nameLength);
        const std::int32_t size = ReadInt32(source, L"entry header");
        if (UpperCase(name) == L"OPTIONS.DAT") {
            if (convertor->Options)
                throw EReadError(L"Packed skin holds more than one Options.dat");
            auto options = std::make_unique<TMemoryStream>();
            InflateEntry(source, size, options.get());
            convertor->Options = std::move(options);
        } else {
            TacImageItem item;
            item.Name = name;
            item.IsBitmap = UpperCase(ExtractFileExt(name)) == L".BMP";
            if (item.IsBitmap && convertor->MakeBitmap) {
                InflateBitmapEntry(convertor, source, size, item);
            } else {
                item.Data = std::make_unique<TMemoryStream>();
                InflateEntry(source, size, item.Data.get());
            }
            convertor->Files.push_back(std::move(item));
        }
    }
    if (!convertor->Options)
        throw EReadError(L"Packed skin holds no Options.dat");
    convertor->ImageCount = static_cast<int>(convertor->Files.size());
}

} // namespace

TacSkinConvertor::~TacSkinConvertor()
{
    Clear(this);
}

void TacSkinConvertor::SetOwnedSource(std::unique_ptr<TMemoryStream> source)
{
    ownedSource_ = std::move(source);
    source_ = ownedSource_.get();
}

void TacSkinConvertor::LendSource(TMemoryStream* source)
{
    ownedSource_.reset();
    source_ = source;
}

void TacSkinConvertor::ReleaseSource()
{
    ownedSource_.reset();
    source_ = nullptr;
}

namespace {

// UpperCase(name) == upper, without the copy.
bool IsUpperOf(const std::wstring& name, const std::wstring& upper)
{
    if (name.size() != upper.size())
        return false;
    for (size_t i = 0; i < name.size(); ++i) {
        wchar_t c = name[i];
        if (c >= L'a' && c <= L'z')
            c = static_cast<wchar_t>(c - 32);
        if (c != upper[i])
            return false;
    }
    return true;
}

} // namespace

TacImageItem* TacSkinConvertor::FindImage(const std::wstring& upperName)
{
    for (auto& item : Files)
        if (IsUpperOf(item.Name, upperName))
            return &item;
    return nullptr;
}

void Clear(TacSkinConvertor* convertor)
{
    while (!convertor->Files.empty())
        convertor->Files.pop_back();
    convertor->ImageCount = 0;
    convertor->Options.reset();
    convertor->ReleaseSource();
}

bool ReadPackedSkin(TacSkinConvertor* convertor)
{
    TMemoryStream* source = convertor->PackedData();
    if (!source)
        return false;
    source->SetPosition(0);
    char magic[4] = {};
    if (source->Read(magic, 4) != 4 || std::memcmp(magic, kPackedSkinMagic, 4) != 0) {
        // Only the entries go: a lent source stays with its owner.
        convertor->Files.clear();
        convertor->ImageCount = 0;
        convertor->Options.reset();
        return false;
    }
    try {
        ParseEntries(convertor, source);
    } catch (...) {
        convertor->Files.clear();
        convertor->ImageCount = 0;
        convertor->Options.reset();
        throw;
    }
    return true;
}
