// Screenshots of the program as a person sees it.
#include "tests/e2e/screenshot.h"

#include <algorithm>
#include <unordered_set>

#ifndef VELMORA_SHOTS_DIR
#error "VELMORA_SHOTS_DIR must name the folder for screenshots"
#endif

namespace e2e {

using testsupport::Pixels24;

Pixels24 CaptureScreen(RECT area)
{
    RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    RECT clipped{};
    Pixels24 out;
    if (!IntersectRect(&clipped, &area, &screen))
        return out;
    out.width = clipped.right - clipped.left;
    out.height = clipped.bottom - clipped.top;

    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = out.width;
    bi.bmiHeader.biHeight = -out.height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 24;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC screenDc = GetDC(nullptr);
    HDC memDc = CreateCompatibleDC(screenDc);
    HBITMAP dib = CreateDIBSection(screenDc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memDc, dib);
    BitBlt(memDc, 0, 0, out.width, out.height, screenDc, clipped.left, clipped.top, SRCCOPY);
    GdiFlush();
    const size_t stride = (static_cast<size_t>(out.width) * 3 + 3) & ~size_t{3};
    out.bgr.resize(static_cast<size_t>(out.width) * out.height * 3);
    for (int y = 0; y < out.height; ++y)
        std::copy_n(static_cast<const std::uint8_t*>(bits) + y * stride, static_cast<size_t>(out.width) * 3,
                    out.bgr.begin() + static_cast<std::ptrdiff_t>(y) * out.width * 3);
    SelectObject(memDc, old);
    DeleteObject(dib);
    DeleteDC(memDc);
    ReleaseDC(nullptr, screenDc);
    return out;
}

Pixels24 CaptureWindowOnScreen(HWND wnd)
{
    RECT rc{};
    GetWindowRect(wnd, &rc);
    return CaptureScreen(rc);
}

bool SaveBmp(const Pixels24& pixels, const std::wstring& path)
{
    const DWORD stride = (static_cast<DWORD>(pixels.width) * 3 + 3) & ~DWORD{3};
    const DWORD imageSize = stride * static_cast<DWORD>(pixels.height);
    BITMAPFILEHEADER fh{};
    BITMAPINFOHEADER ih{};
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof(fh) + sizeof(ih);
    fh.bfSize = fh.bfOffBits + imageSize;
    ih.biSize = sizeof(ih);
    ih.biWidth = pixels.width;
    ih.biHeight = pixels.height;
    ih.biPlanes = 1;
    ih.biBitCount = 24;
    ih.biCompression = BI_RGB;
    ih.biSizeImage = imageSize;

    std::string bytes(reinterpret_cast<const char*>(&fh), sizeof(fh));
    bytes.append(reinterpret_cast<const char*>(&ih), sizeof(ih));
    std::string row(stride, '\0');
    for (int y = pixels.height - 1; y >= 0; --y) {
        std::copy_n(pixels.bgr.begin() + static_cast<std::ptrdiff_t>(y) * pixels.width * 3,
                    static_cast<size_t>(pixels.width) * 3, row.begin());
        bytes += row;
    }
    try {
        testsupport::WriteFileBytes(path, bytes);
    } catch (const std::exception&) {
        return false;
    }
    return true;
}

std::wstring ShotsFolder()
{
    std::wstring dir = testsupport::Widen(VELMORA_SHOTS_DIR);
    std::replace(dir.begin(), dir.end(), L'/', L'\\');
    return dir;
}

Pixels24 Screenshot(HWND wnd, const std::wstring& name)
{
    Pixels24 shot = CaptureWindowOnScreen(wnd);
    SaveBmp(shot, ShotsFolder() + L"\\" + name + L".bmp");
    return shot;
}

void WaitPainted(Robot& robot, HWND top)
{
    const auto owesPaint = [](HWND wnd) { return GetUpdateRect(wnd, nullptr, FALSE) != FALSE; };
    WaitUntil(
        [&] {
            if (owesPaint(top))
                return false;
            for (HWND child : FindChildWindows(top, {}))
                if (IsWindowVisible(child) && owesPaint(child))
                    return false;
            return true;
        },
        5000);
    robot.WaitIdle(top);
}

Pixels24 Crop(const Pixels24& pixels, int width, int height)
{
    Pixels24 out;
    out.width = std::clamp(width, 0, pixels.width);
    out.height = std::clamp(height, 0, pixels.height);
    out.bgr.resize(static_cast<size_t>(out.width) * out.height * 3);
    for (int y = 0; y < out.height; ++y)
        std::copy_n(pixels.bgr.begin() + static_cast<std::ptrdiff_t>(y) * pixels.width * 3,
                    static_cast<size_t>(out.width) * 3, out.bgr.begin() + static_cast<std::ptrdiff_t>(y) * out.width * 3);
    return out;
}

size_t CountColours(const Pixels24& pixels)
{
    std::unordered_set<std::uint32_t> colours;
    for (size_t i = 0; i + 2 < pixels.bgr.size(); i += 3)
        colours.insert(pixels.bgr[i] | (pixels.bgr[i + 1] << 8) | (static_cast<std::uint32_t>(pixels.bgr[i + 2]) << 16));
    return colours.size();
}

} // namespace e2e
