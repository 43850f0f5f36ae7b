// The packed skin container without any window: the convertor and the parsing of its bytes.
#include "skin/core/acSkinPack.h"

#include "framework/SysUtils.h"
#include "skin/core/ZLibEx.h"

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

void InflateEntry(TStream* source, std::int32_t size, TMemoryStream* target)
{
    if (size < 0 || size > Remaining(source) * kMaxInflateRatio + 64)
        throw EReadError(L"Packed skin states an impossible entry size");
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
            item.Data = std::make_unique<TMemoryStream>();
            InflateEntry(source, size, item.Data.get());
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

TacImageItem* TacSkinConvertor::FindImage(const std::wstring& upperName)
{
    for (auto& item : Files)
        if (UpperCase(item.Name) == upperName)
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
