// JPEG decoding and encoding over libjpeg. libjpeg reports errors by calling a function that must
// not return; ours jumps back out of libjpeg (no C++ exception may cross its C frames) and the
// C++ side raises EJPEG. Only trivially destructible locals live between setjmp and longjmp.
#include "framework/Jpeg.h"

#include "framework/Startup.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>

extern "C" {
#include <jpeglib.h>
#include <jerror.h>
}

namespace {

// Larger pictures than this are refused before any memory is taken for them.
constexpr std::int64_t kMaxPixels = 64 * 1024 * 1024;
constexpr int kMaxSide = 32768;

struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void OnError(j_common_ptr cinfo)
{
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, err->message);
    std::longjmp(err->jump, 1);
}

// Warnings about damaged data would give a partly grey picture without a word; they are errors here.
void OnMessage(j_common_ptr cinfo, int level)
{
    if (level >= 0)
        return;
    int code = cinfo->err->msg_code;
    if (code == JWRN_JPEG_EOF || code == JWRN_HIT_MARKER || code == JWRN_MUST_RESYNC || code == JWRN_HUFF_BAD_CODE ||
        code == JWRN_NOT_SEQUENTIAL || code == JWRN_BOGUS_PROGRESSION)
        OnError(cinfo);
}

void OutputNothing(j_common_ptr) {}

void InitErrors(ErrorManager& err)
{
    jpeg_std_error(&err.pub);
    err.pub.error_exit = OnError;
    err.pub.emit_message = OnMessage;
    err.pub.output_message = OutputNothing;
    err.message[0] = 0;
}

[[noreturn]] void RaiseJpeg(const char* message)
{
    throw EJPEG(L"JPEG error: " + Utf8ToWide(message));
}

struct Decoder {
    jpeg_decompress_struct cinfo;
    ErrorManager err;
};

bool DecodeHeader(Decoder& d, const std::uint8_t* data, std::size_t size)
{
    if (setjmp(d.err.jump))
        return false;
    jpeg_mem_src(&d.cinfo, const_cast<unsigned char*>(data), static_cast<unsigned long>(size));
    jpeg_read_header(&d.cinfo, TRUE);
    if (d.cinfo.jpeg_color_space == JCS_CMYK || d.cinfo.jpeg_color_space == JCS_YCCK)
        d.cinfo.out_color_space = JCS_CMYK;
    else
        d.cinfo.out_color_space = JCS_EXT_BGR;
    jpeg_calc_output_dimensions(&d.cinfo);
    return true;
}

// CMYK as Adobe writes it (inverted) or as the standard says, turned into blue, green, red.
void CmykToBgr(const std::uint8_t* cmyk, std::uint8_t* bgr, unsigned width, bool inverted)
{
    for (unsigned x = 0; x < width; ++x, cmyk += 4, bgr += 3) {
        unsigned c = cmyk[0], m = cmyk[1], y = cmyk[2], k = cmyk[3];
        if (!inverted) {
            c = 255 - c;
            m = 255 - m;
            y = 255 - y;
            k = 255 - k;
        }
        bgr[0] = static_cast<std::uint8_t>((y * k + 127) / 255);
        bgr[1] = static_cast<std::uint8_t>((m * k + 127) / 255);
        bgr[2] = static_cast<std::uint8_t>((c * k + 127) / 255);
    }
}

bool DecodePixels(Decoder& d, std::uint8_t* const* rows, std::uint8_t* cmykRow)
{
    if (setjmp(d.err.jump))
        return false;
    jpeg_start_decompress(&d.cinfo);
    while (d.cinfo.output_scanline < d.cinfo.output_height) {
        std::uint8_t* row = rows[d.cinfo.output_scanline];
        JSAMPROW target = cmykRow ? cmykRow : row;
        jpeg_read_scanlines(&d.cinfo, &target, 1);
        if (cmykRow)
            CmykToBgr(cmykRow, row, d.cinfo.output_width, d.cinfo.saw_Adobe_marker);
    }
    jpeg_finish_decompress(&d.cinfo);
    return true;
}

struct Encoder {
    jpeg_compress_struct cinfo;
    ErrorManager err;
    unsigned char* out;
    unsigned long outSize;
};

bool Encode(Encoder& e, std::uint8_t* const* rows, int width, int height, int quality)
{
    if (setjmp(e.err.jump))
        return false;
    jpeg_mem_dest(&e.cinfo, &e.out, &e.outSize);
    e.cinfo.image_width = static_cast<JDIMENSION>(width);
    e.cinfo.image_height = static_cast<JDIMENSION>(height);
    e.cinfo.input_components = 3;
    e.cinfo.in_color_space = JCS_EXT_BGR;
    jpeg_set_defaults(&e.cinfo);
    jpeg_set_quality(&e.cinfo, quality, TRUE);
    jpeg_start_compress(&e.cinfo, TRUE);
    while (e.cinfo.next_scanline < e.cinfo.image_height) {
        JSAMPROW row = rows[e.cinfo.next_scanline];
        jpeg_write_scanlines(&e.cinfo, &row, 1);
    }
    jpeg_finish_compress(&e.cinfo);
    return true;
}

// Decodes a whole file into a new 24-bit bitmap; raises EJPEG for bad data.
std::unique_ptr<TBitmap> Decode(const std::vector<std::uint8_t>& data, bool& grayscale)
{
    if (data.empty())
        throw EJPEG(L"JPEG error: the image holds no data");
    Decoder d{};
    InitErrors(d.err);
    d.cinfo.err = &d.err.pub;
    jpeg_create_decompress(&d.cinfo);
    struct Destroy {
        Decoder& d;
        ~Destroy() { jpeg_destroy_decompress(&d.cinfo); }
    } destroy{d};

    if (!DecodeHeader(d, data.data(), data.size()))
        RaiseJpeg(d.err.message);
    int width = static_cast<int>(d.cinfo.output_width);
    int height = static_cast<int>(d.cinfo.output_height);
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide ||
        static_cast<std::int64_t>(width) * height > kMaxPixels)
        throw EJPEG(L"JPEG error: the image is too large");
    grayscale = d.cinfo.jpeg_color_space == JCS_GRAYSCALE;

    auto bitmap = std::make_unique<TBitmap>();
    try {
        bitmap->SetPixelFormat(pf24bit);
        bitmap->SetSize(width, height);
    } catch (const Exception&) {
        throw EJPEG(L"JPEG error: not enough memory for an image of " + std::to_wstring(width) + L" x " +
                    std::to_wstring(height) + L" pixels");
    }
    std::vector<std::uint8_t*> rows(static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y)
        rows[y] = static_cast<std::uint8_t*>(bitmap->ScanLine(y));
    std::vector<std::uint8_t> cmyk;
    if (d.cinfo.out_color_space == JCS_CMYK)
        cmyk.resize(static_cast<std::size_t>(width) * 4);
    if (!DecodePixels(d, rows.data(), cmyk.empty() ? nullptr : cmyk.data()))
        RaiseJpeg(d.err.message);
    return bitmap;
}

} // namespace

TJPEGImage::TJPEGImage() = default;
TJPEGImage::~TJPEGImage() = default;

void TJPEGImage::LoadFromData(std::vector<std::uint8_t> data)
{
    bool grayscale = false;
    std::unique_ptr<TBitmap> bitmap = Decode(data, grayscale);
    data_ = std::move(data);
    bitmap_ = std::move(bitmap);
    grayscale_ = grayscale;
    Changed();
}

void TJPEGImage::LoadFromStream(TStream* stream)
{
    std::int64_t left = stream->Size() - stream->Position();
    if (left < 0 || left > 512LL * 1024 * 1024)
        throw EJPEG(L"JPEG error: the image is too large");
    std::vector<std::uint8_t> data(static_cast<std::size_t>(left));
    if (left > 0)
        stream->ReadBuffer(data.data(), static_cast<std::int32_t>(left));
    LoadFromData(std::move(data));
}

void TJPEGImage::SaveToStream(TStream* stream)
{
    if (!data_.empty())
        stream->WriteBuffer(data_.data(), static_cast<std::int32_t>(data_.size()));
}

void TJPEGImage::Draw(TCanvas* canvas, const TRect& rect)
{
    if (bitmap_)
        canvas->StretchDraw(rect, bitmap_.get());
}

void TJPEGImage::Assign(TPersistent* source)
{
    if (!source) {
        data_.clear();
        bitmap_.reset();
        Changed();
        return;
    }
    if (auto* jpeg = dynamic_cast<TJPEGImage*>(source)) {
        if (jpeg == this)
            return;
        quality_ = jpeg->quality_;
        if (jpeg->data_.empty()) {
            Assign(nullptr);
            return;
        }
        auto bitmap = std::make_unique<TBitmap>();
        bitmap->Assign(jpeg->bitmap_.get());
        data_ = jpeg->data_;
        bitmap_ = std::move(bitmap);
        grayscale_ = jpeg->grayscale_;
        Changed();
        return;
    }
    if (auto* bitmap = dynamic_cast<TBitmap*>(source)) {
        if (bitmap->Empty()) {
            Assign(nullptr);
            return;
        }
        TBitmap bgr;
        bgr.Assign(bitmap);
        bgr.SetPixelFormat(pf24bit);
        std::vector<std::uint8_t*> rows(static_cast<std::size_t>(bgr.Height()));
        for (int y = 0; y < bgr.Height(); ++y)
            rows[y] = static_cast<std::uint8_t*>(bgr.ScanLine(y));
        Encoder e{};
        InitErrors(e.err);
        e.cinfo.err = &e.err.pub;
        jpeg_create_compress(&e.cinfo);
        bool ok = Encode(e, rows.data(), bgr.Width(), bgr.Height(), quality_);
        jpeg_destroy_compress(&e.cinfo);
        std::vector<std::uint8_t> data;
        if (ok)
            data.assign(e.out, e.out + e.outSize);
        std::free(e.out);
        if (!ok)
            RaiseJpeg(e.err.message);
        LoadFromData(std::move(data));
        return;
    }
    TGraphic::Assign(source);
}

void TJPEGImage::AssignTo(TPersistent* dest)
{
    if (auto* bitmap = dynamic_cast<TBitmap*>(dest)) {
        bitmap->Assign(bitmap_.get());
        return;
    }
    TGraphic::AssignTo(dest);
}

void RegisterJpegFormats()
{
    TPicture::RegisterFileFormat(L"jpeg", L"JPEG Image File", GraphicClassOf<TJPEGImage>());
    TPicture::RegisterFileFormat(L"jpg", L"JPEG Image File", GraphicClassOf<TJPEGImage>());
}

void UnregisterJpegFormats() { TPicture::UnregisterGraphicClass(GraphicClassOf<TJPEGImage>()); }

void AddJpegStartupStep(TStartup& startup)
{
    startup.Add(TStartupOrder::JpegFormats, L"JPEG formats", RegisterJpegFormats, UnregisterJpegFormats);
}
