// JPEG decode of a 2000x1500 photo: TJPEGImage against the system's OLE picture loader.
#include "tools/bench/bench.h"

#include "framework/Jpeg.h"

#include <ocidl.h>
#include <olectl.h>

#include <cstring>
#include <stdexcept>
#include <vector>

namespace {

std::vector<std::uint8_t> FileBytes(const std::wstring& path)
{
    TMemoryStream stream;
    stream.LoadFromFile(path);
    auto* p = static_cast<const std::uint8_t*>(stream.Memory());
    return std::vector<std::uint8_t>(p, p + stream.Size());
}

void DecodeWithOle(const std::vector<std::uint8_t>& bytes)
{
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    std::memcpy(GlobalLock(memory), bytes.data(), bytes.size());
    GlobalUnlock(memory);
    IStream* stream = nullptr;
    if (FAILED(CreateStreamOnHGlobal(memory, TRUE, &stream)))
        throw std::runtime_error("CreateStreamOnHGlobal failed");
    IPicture* picture = nullptr;
    HRESULT hr = OleLoadPicture(stream, static_cast<LONG>(bytes.size()), FALSE, IID_IPicture,
                                reinterpret_cast<void**>(&picture));
    stream->Release();
    if (FAILED(hr) || !picture)
        throw std::runtime_error("OleLoadPicture failed");
    picture->Release();
}

} // namespace

VELMORA_BENCH(jpeg_decode_2000x1500)
{
    std::vector<std::uint8_t> bytes = FileBytes(bench::DataPath(L"photo.jpg"));
    bench::Result r;
    r.ours = "TJPEGImage";
    r.oursMs = bench::MedianMs(7, [&] {
        TMemoryStream stream;
        stream.WriteBuffer(bytes.data(), static_cast<std::int32_t>(bytes.size()));
        stream.SetPosition(0);
        TJPEGImage jpeg;
        jpeg.LoadFromStream(&stream);
        if (jpeg.Width() != 2000)
            throw std::runtime_error("unexpected width");
    });
    r.theirs = "OleLoadPicture";
    r.theirsMs = bench::MedianMs(7, [&] { DecodeWithOle(bytes); });
    return r;
}
