// PNG decode and encode: TPNGObject against the system's imaging codecs (WIC), on the test-suite images
// and on generated photo-like 2000x1500 RGB and RGBA images.
#include "tools/bench/bench.h"

#include "png/pngimage.h"

#include <wincodec.h>

#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

// A COM interface pointer, released when it goes.
template <class I>
class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr()
    {
        if (p_)
            p_->Release();
    }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    I* operator->() const { return p_; }
    I* Get() const { return p_; }
    I** Out() { return &p_; }

private:
    I* p_ = nullptr;
};

void Check(HRESULT hr, const char* what)
{
    if (FAILED(hr))
        throw std::runtime_error(std::string(what) + " failed");
}

Bytes FileBytes(const std::wstring& path)
{
    TMemoryStream stream;
    stream.LoadFromFile(path);
    auto* p = static_cast<const std::uint8_t*>(stream.Memory());
    return Bytes(p, p + stream.Size());
}

std::wstring SuiteFolder()
{
    std::string dir = VELMORA_PNGSUITE_DIR;
    std::wstring path(dir.begin(), dir.end());
    for (auto& c : path)
        if (c == L'/')
            c = L'\\';
    return path;
}

std::vector<Bytes> SuiteImages()
{
    std::vector<Bytes> files;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((SuiteFolder() + L"\\*.png").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        throw std::runtime_error("no test-suite images");
    do
        files.push_back(FileBytes(SuiteFolder() + L"\\" + found.cFileName));
    while (FindNextFileW(search, &found));
    FindClose(search);
    return files;
}

std::unique_ptr<TPNGObject> DecodeOurs(const Bytes& file)
{
    TMemoryStream stream;
    stream.WriteBuffer(file.data(), std::int32_t(file.size()));
    stream.SetPosition(0);
    auto png = std::make_unique<TPNGObject>();
    png->LoadFromStream(&stream);
    return png;
}

std::size_t EncodeOurs(TPNGObject& png)
{
    TMemoryStream stream;
    png.SaveToStream(&stream);
    return std::size_t(stream.Size());
}

class Wic {
public:
    Wic()
    {
        Check(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                               reinterpret_cast<void**>(factory_.Out())),
              "creating the imaging factory");
    }

    // Decodes the first frame into memory in its own pixel format; returns the pixel count.
    std::size_t Decode(const Bytes& file, Bytes& pixels)
    {
        ComPtr<IWICStream> stream;
        Check(factory_->CreateStream(stream.Out()), "CreateStream");
        Check(stream->InitializeFromMemory(const_cast<BYTE*>(file.data()), DWORD(file.size())), "InitializeFromMemory");
        ComPtr<IWICBitmapDecoder> decoder;
        Check(factory_->CreateDecoderFromStream(stream.Get(), nullptr, WICDecodeMetadataCacheOnDemand, decoder.Out()),
              "CreateDecoderFromStream");
        ComPtr<IWICBitmapFrameDecode> frame;
        Check(decoder->GetFrame(0, frame.Out()), "GetFrame");
        UINT w = 0, h = 0;
        Check(frame->GetSize(&w, &h), "GetSize");
        WICPixelFormatGUID format;
        Check(frame->GetPixelFormat(&format), "GetPixelFormat");
        UINT stride = (BitsPerPixel(format) * w + 31) / 32 * 4;
        pixels.resize(std::size_t(stride) * h);
        Check(frame->CopyPixels(nullptr, stride, UINT(pixels.size()), pixels.data()), "CopyPixels");
        return std::size_t(w) * h;
    }

    // Encodes top-down rows of 24-bit BGR or 32-bit BGRA pixels as PNG; returns the file size.
    std::size_t Encode(const Bytes& pixels, UINT w, UINT h, bool alpha)
    {
        ComPtr<IStream> target;
        Check(CreateStreamOnHGlobal(nullptr, TRUE, target.Out()), "CreateStreamOnHGlobal");
        ComPtr<IWICBitmapEncoder> encoder;
        Check(factory_->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.Out()), "CreateEncoder");
        Check(encoder->Initialize(target.Get(), WICBitmapEncoderNoCache), "encoder Initialize");
        ComPtr<IWICBitmapFrameEncode> frame;
        Check(encoder->CreateNewFrame(frame.Out(), nullptr), "CreateNewFrame");
        Check(frame->Initialize(nullptr), "frame Initialize");
        Check(frame->SetSize(w, h), "SetSize");
        WICPixelFormatGUID format = alpha ? GUID_WICPixelFormat32bppBGRA : GUID_WICPixelFormat24bppBGR;
        Check(frame->SetPixelFormat(&format), "SetPixelFormat");
        UINT stride = ((alpha ? 32 : 24) * w + 31) / 32 * 4;
        Check(frame->WritePixels(h, stride, UINT(pixels.size()), const_cast<BYTE*>(pixels.data())), "WritePixels");
        Check(frame->Commit(), "frame Commit");
        Check(encoder->Commit(), "encoder Commit");
        STATSTG stat{};
        Check(target->Stat(&stat, STATFLAG_NONAME), "Stat");
        return std::size_t(stat.cbSize.QuadPart);
    }

private:
    UINT BitsPerPixel(const WICPixelFormatGUID& format)
    {
        ComPtr<IWICComponentInfo> info;
        Check(factory_->CreateComponentInfo(format, info.Out()), "CreateComponentInfo");
        ComPtr<IWICPixelFormatInfo> pixelInfo;
        Check(info->QueryInterface(IID_IWICPixelFormatInfo, reinterpret_cast<void**>(pixelInfo.Out())),
              "IWICPixelFormatInfo");
        UINT bits = 0;
        Check(pixelInfo->GetBitsPerPixel(&bits), "GetBitsPerPixel");
        return bits;
    }

    ComPtr<IWICImagingFactory> factory_;
};

// The image's pixels as top-down 24-bit BGR or 32-bit BGRA rows, what the system's encoder takes.
Bytes TopDownPixels(TPNGObject& png, bool alpha)
{
    TChunkIHDR* h = png.Header();
    std::size_t w = h->Width, stride = ((alpha ? 32 : 24) * w + 31) / 32 * 4;
    Bytes out(stride * h->Height);
    for (std::uint32_t y = 0; y < h->Height; ++y) {
        const std::uint8_t* src = h->RowAddress(int(y));
        std::uint8_t* dst = out.data() + stride * y;
        for (std::size_t x = 0; x < w; ++x) {
            std::memcpy(dst + x * (alpha ? 4 : 3), src + 3 * x, 3);
            if (alpha)
                dst[x * 4 + 3] = h->AlphaRow(int(y))[x];
        }
    }
    return out;
}

double Megapixels(std::size_t pixels)
{
    return double(pixels) / 1e6;
}

bench::Result DecodePhoto(const wchar_t* name)
{
    Bytes file = FileBytes(bench::DataPath(name));
    Wic wic;
    Bytes pixels;
    bench::Result r;
    r.megapixels = Megapixels(wic.Decode(file, pixels));
    r.ours = "TPNGObject";
    r.oursMs = bench::MedianMs(7, [&] { DecodeOurs(file); });
    r.theirs = "WIC";
    r.theirsMs = bench::MedianMs(7, [&] { wic.Decode(file, pixels); });
    return r;
}

bench::Result EncodePhoto(const wchar_t* name, bool alpha)
{
    auto png = DecodeOurs(FileBytes(bench::DataPath(name)));
    Bytes pixels = TopDownPixels(*png, alpha);
    UINT w = UINT(png->Width()), h = UINT(png->Height());
    Wic wic;
    std::size_t oursSize = 0, theirsSize = 0;
    bench::Result r;
    r.megapixels = Megapixels(std::size_t(w) * h);
    r.ours = "TPNGObject";
    r.oursMs = bench::MedianMs(5, [&] { oursSize = EncodeOurs(*png); });
    r.theirs = "WIC";
    r.theirsMs = bench::MedianMs(5, [&] { theirsSize = wic.Encode(pixels, w, h, alpha); });
    // The default filter set is Sub alone; the figure beside it is the same image with every filter kind
    // offered to the per-row choice, to show what the default costs in size.
    png->RowFilters = {TFilter::pfNone, TFilter::pfSub, TFilter::pfUp, TFilter::pfAverage, TFilter::pfPaeth};
    const std::size_t allKindsSize = EncodeOurs(*png);
    r.note = "files " + std::to_string(oursSize / 1024) + " KB (default filter Sub) and " +
             std::to_string(theirsSize / 1024) + " KB; with every filter kind " + std::to_string(allKindsSize / 1024) +
             " KB";
    return r;
}

constexpr int kSuiteRounds = 20;

} // namespace

VELMORA_BENCH(png_decode_suite_images)
{
    std::vector<Bytes> files = SuiteImages();
    Wic wic;
    Bytes pixels;
    std::size_t count = 0;
    for (const Bytes& f : files)
        count += wic.Decode(f, pixels);
    bench::Result r;
    r.megapixels = Megapixels(count * kSuiteRounds);
    r.ours = "TPNGObject";
    r.oursMs = bench::MedianMs(5, [&] {
        for (int i = 0; i < kSuiteRounds; ++i)
            for (const Bytes& f : files)
                DecodeOurs(f);
    });
    r.theirs = "WIC";
    r.theirsMs = bench::MedianMs(5, [&] {
        for (int i = 0; i < kSuiteRounds; ++i)
            for (const Bytes& f : files)
                wic.Decode(f, pixels);
    });
    r.note = std::to_string(files.size()) + " files x " + std::to_string(kSuiteRounds);
    return r;
}

VELMORA_BENCH(png_encode_suite_images)
{
    // Both encoders get 24-bit or 32-bit pixels of every image, the layouts the system's encoder takes.
    std::vector<std::unique_ptr<TPNGObject>> images;
    std::vector<Bytes> pixels;
    std::vector<bool> alphas;
    std::size_t count = 0;
    for (const Bytes& f : SuiteImages()) {
        auto png = DecodeOurs(f);
        if (png->Header()->DIBBitsPerPixel() != 24)
            continue;
        bool alpha = png->Header()->ImageAlpha != nullptr;
        pixels.push_back(TopDownPixels(*png, alpha));
        alphas.push_back(alpha);
        count += std::size_t(png->Width()) * png->Height();
        images.push_back(std::move(png));
    }
    Wic wic;
    bench::Result r;
    r.megapixels = Megapixels(count * kSuiteRounds);
    r.ours = "TPNGObject";
    r.oursMs = bench::MedianMs(5, [&] {
        for (int i = 0; i < kSuiteRounds; ++i)
            for (auto& png : images)
                EncodeOurs(*png);
    });
    r.theirs = "WIC";
    r.theirsMs = bench::MedianMs(5, [&] {
        for (int i = 0; i < kSuiteRounds; ++i)
            for (std::size_t k = 0; k < images.size(); ++k)
                wic.Encode(pixels[k], UINT(images[k]->Width()), UINT(images[k]->Height()), alphas[k]);
    });
    r.note = std::to_string(images.size()) + " RGB and RGBA files x " + std::to_string(kSuiteRounds);
    return r;
}

VELMORA_BENCH(png_decode_photo_rgb_2000x1500)
{
    return DecodePhoto(L"photo-rgb.png");
}

VELMORA_BENCH(png_decode_photo_rgba_2000x1500)
{
    return DecodePhoto(L"photo-rgba.png");
}

VELMORA_BENCH(png_encode_photo_rgb_2000x1500)
{
    return EncodePhoto(L"photo-rgb.png", false);
}

VELMORA_BENCH(png_encode_photo_rgba_2000x1500)
{
    return EncodePhoto(L"photo-rgba.png", true);
}
