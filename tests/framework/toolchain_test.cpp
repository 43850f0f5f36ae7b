// Proves the chain: real Win32 windows with Unicode text, zlib and libjpeg linked into a Windows
// executable and running under the test environment.
#include "tests/support/test_support.h"

#include <zlib.h>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>

extern "C" {
#include <jpeglib.h>
}

using namespace testsupport;

namespace {

TEST(Windows, CyrillicCaptionSurvivesTheRoundTrip)
{
    const std::wstring caption = L"Велмора: Избранное";
    HWND wnd = CreateWindowExW(0, L"STATIC", caption.c_str(), WS_OVERLAPPEDWINDOW, 10, 10, 300, 200, nullptr,
                               nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(wnd, nullptr);
    ShowWindow(wnd, SW_SHOWNOACTIVATE);
    PumpMessagesUntilIdle();

    wchar_t buffer[64] = {};
    ASSERT_EQ(GetWindowTextW(wnd, buffer, 64), static_cast<int>(caption.size()));
    EXPECT_EQ(caption, buffer);
    EXPECT_TRUE(DestroyWindow(wnd));
    EXPECT_FALSE(IsWindow(wnd));
}

TEST(Windows, CapturedClientPixelsShowTheBackgroundBrush)
{
    const COLORREF colour = RGB(200, 30, 60);
    HBRUSH brush = CreateSolidBrush(colour);
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = brush;
    wc.lpszClassName = L"VelmoraCaptureProbe";
    ASSERT_NE(RegisterClassW(&wc), 0);
    HWND wnd = CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP | WS_VISIBLE, 0, 0, 40, 30, nullptr, nullptr,
                               wc.hInstance, nullptr);
    ASSERT_NE(wnd, nullptr);
    Pixels24 pix = CaptureWindow(wnd);
    ASSERT_EQ(pix.width, 40);
    ASSERT_EQ(pix.height, 30);
    EXPECT_EQ(pix.At(0, 0), colour);
    EXPECT_EQ(pix.At(39, 29), colour);
    DestroyWindow(wnd);
    UnregisterClassW(wc.lpszClassName, wc.hInstance);
    DeleteObject(brush);
}

TEST_F(TempFolderTest, TemporaryFolderTakesCyrillicNames)
{
    std::wstring path = PathOf(L"Базы\\Супы\\Борщ.rcp");
    WriteFileBytes(path, "{\\rtf1 }");
    EXPECT_EQ(ReadFileBytes(path), "{\\rtf1 }");
}

TEST(Zlib, InflateRestoresDeflatedData)
{
    std::string original;
    for (int i = 0; i < 5000; ++i)
        original += "рецепт " + std::to_string(i * 7919 % 1000) + "\n";

    uLongf packedSize = compressBound(static_cast<uLong>(original.size()));
    std::string packed(packedSize, '\0');
    ASSERT_EQ(compress2(reinterpret_cast<Bytef*>(packed.data()), &packedSize,
                        reinterpret_cast<const Bytef*>(original.data()), static_cast<uLong>(original.size()), 9),
              Z_OK);
    packed.resize(packedSize);
    EXPECT_LT(packed.size(), original.size() / 2);

    z_stream z{};
    ASSERT_EQ(inflateInit(&z), Z_OK);
    std::string restored(original.size(), '\0');
    z.next_in = reinterpret_cast<Bytef*>(packed.data());
    z.avail_in = static_cast<uInt>(packed.size());
    z.next_out = reinterpret_cast<Bytef*>(restored.data());
    z.avail_out = static_cast<uInt>(restored.size());
    EXPECT_EQ(inflate(&z, Z_FINISH), Z_STREAM_END);
    inflateEnd(&z);
    EXPECT_EQ(restored, original);
}

// libjpeg reports fatal errors through error_exit, which must not return: jump back to the caller.
struct JpegError {
    jpeg_error_mgr mgr;
    std::jmp_buf jump;
};

void JpegErrorExit(j_common_ptr cinfo)
{
    std::longjmp(reinterpret_cast<JpegError*>(cinfo->err)->jump, 1);
}

bool DecodeJpeg(const std::string& data, Pixels24& out)
{
    jpeg_decompress_struct cinfo{};
    JpegError error{};
    cinfo.err = jpeg_std_error(&error.mgr);
    error.mgr.error_exit = JpegErrorExit;
    if (setjmp(error.jump)) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char*>(data.data()), static_cast<unsigned long>(data.size()));
    jpeg_read_header(&cinfo, TRUE);
    cinfo.out_color_space = JCS_RGB;
    jpeg_start_decompress(&cinfo);
    out.width = static_cast<int>(cinfo.output_width);
    out.height = static_cast<int>(cinfo.output_height);
    out.bgr.assign(static_cast<size_t>(out.width) * out.height * 3, 0);
    std::vector<unsigned char> row(static_cast<size_t>(out.width) * 3);
    while (cinfo.output_scanline < cinfo.output_height) {
        unsigned char* rows[1] = {row.data()};
        size_t y = cinfo.output_scanline;
        jpeg_read_scanlines(&cinfo, rows, 1);
        for (int x = 0; x < out.width; ++x) {
            out.bgr[(y * out.width + x) * 3] = row[x * 3 + 2];
            out.bgr[(y * out.width + x) * 3 + 1] = row[x * 3 + 1];
            out.bgr[(y * out.width + x) * 3 + 2] = row[x * 3];
        }
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return true;
}

int MaxDifference(const Pixels24& a, const Pixels24& b)
{
    int worst = 0;
    for (size_t i = 0; i < a.bgr.size(); ++i)
        worst = std::max(worst, std::abs(int(a.bgr[i]) - int(b.bgr[i])));
    return worst;
}

TEST(Jpeg, DecodeMatchesImageMagickOnAFileItWrote)
{
    Pixels24 mine;
    ASSERT_TRUE(DecodeJpeg(ReadFileBytes(TestDataPath(L"gradient.jpg")), mine));
    Pixels24 reference = LoadPpm(TestDataPath(L"gradient.ppm"));
    ASSERT_EQ(mine.width, reference.width);
    ASSERT_EQ(mine.height, reference.height);
    // Both decoders follow the same standard; their upsampling and IDCT may differ by a step or two.
    EXPECT_LE(MaxDifference(mine, reference), 4);
}

TEST(Jpeg, DecodeMatchesTheLibrarysOwnReferenceImage)
{
    std::wstring dir = Widen(JPEG_TESTIMAGES_DIR);
    Pixels24 mine;
    ASSERT_TRUE(DecodeJpeg(ReadFileBytes(dir + L"/testorig.jpg"), mine));
    Pixels24 reference = LoadPpm(dir + L"/testorig.ppm");
    ASSERT_EQ(mine.width, reference.width);
    ASSERT_EQ(mine.height, reference.height);
    EXPECT_LE(MaxDifference(mine, reference), 4);
}

TEST(Jpeg, TruncatedDataFailsWithoutEndingTheProcess)
{
    std::string data = ReadFileBytes(TestDataPath(L"gradient.jpg"));
    Pixels24 out;
    EXPECT_FALSE(DecodeJpeg(data.substr(0, 20), out));
    EXPECT_FALSE(DecodeJpeg(std::string(300, '\x55'), out));
}

} // namespace
