// The icon themes and the categories' tab icons: present, loadable at the sizes the program asks for,
// and different between the themes.
#include "tests/app/sample_base.h"
#include "tests/support/test_support.h"

#include <cstring>

using namespace samplebase;
using testsupport::Narrow;

namespace {

class Icon {
public:
    Icon(const std::wstring& path, int size)
        : handle_(static_cast<HICON>(LoadImageW(nullptr, path.c_str(), IMAGE_ICON, size, size, LR_LOADFROMFILE))) {}
    ~Icon() {
        if (handle_ != nullptr) {
            DestroyIcon(handle_);
        }
    }
    Icon(const Icon&) = delete;
    Icon& operator=(const Icon&) = delete;
    HICON Handle() const { return handle_; } // owned

private:
    HICON handle_;
};

SIZE IconSize(HICON icon) {
    ICONINFO info{};
    SIZE size{0, 0};
    if (!GetIconInfo(icon, &info)) {
        return size;
    }
    BITMAP bm{};
    GetObjectW(info.hbmColor != nullptr ? info.hbmColor : info.hbmMask, sizeof(bm), &bm);
    size.cx = bm.bmWidth;
    size.cy = info.hbmColor != nullptr ? bm.bmHeight : bm.bmHeight / 2;
    if (info.hbmColor != nullptr) {
        DeleteObject(info.hbmColor);
    }
    DeleteObject(info.hbmMask);
    return size;
}

// Draws the icon on white and returns its pixels.
std::vector<std::uint32_t> Render(HICON icon, int size) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = size;
    bi.bmiHeader.biHeight = -size;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bmp = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    std::vector<std::uint32_t> pixels(static_cast<size_t>(size) * size);
    if (bmp != nullptr) {
        HGDIOBJ old = SelectObject(dc, bmp);
        std::memset(bits, 0xFF, pixels.size() * 4);
        DrawIconEx(dc, 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
        GdiFlush();
        std::memcpy(pixels.data(), bits, pixels.size() * 4);
        SelectObject(dc, old);
        DeleteObject(bmp);
    }
    DeleteDC(dc);
    return pixels;
}

int PaintedPixels(const std::vector<std::uint32_t>& pixels) {
    int count = 0;
    for (auto p : pixels) {
        count += (p & 0xFFFFFF) != 0xFFFFFF;
    }
    return count;
}

} // namespace

class ThemeIcons : public ::testing::TestWithParam<std::wstring> {};

TEST_P(ThemeIcons, EveryIconLoadsAt16And32Pixels) {
    for (const auto& name : ThemeIconNames()) {
        const std::wstring path = PathIn(L"Resource\\" + GetParam() + L"\\" + name + L".ico");
        for (int size : {16, 32}) {
            Icon icon(path, size);
            ASSERT_NE(icon.Handle(), nullptr) << Narrow(path) << " at " << size;
            const SIZE got = IconSize(icon.Handle());
            EXPECT_EQ(got.cx, size) << Narrow(path);
            EXPECT_EQ(got.cy, size) << Narrow(path);
            // A real picture, not an empty or fully transparent image.
            EXPECT_GT(PaintedPixels(Render(icon.Handle(), size)), size * size / 10) << Narrow(path) << " at " << size;
        }
    }
}

TEST_P(ThemeIcons, HoldsNoOtherFiles) {
    const auto files = ListNames(PathIn(L"Resource\\" + GetParam()), L"*.*", false);
    EXPECT_EQ(files.size(), ThemeIconNames().size());
}

INSTANTIATE_TEST_SUITE_P(BothThemes, ThemeIcons, ::testing::ValuesIn(ThemeNames()));

TEST(ThemeSwitch, EveryIconLooksDifferentInTheOtherTheme) {
    for (const auto& name : ThemeIconNames()) {
        for (int size : {16, 32}) {
            Icon first(PathIn(L"Resource\\" + ThemeNames()[0] + L"\\" + name + L".ico"), size);
            Icon second(PathIn(L"Resource\\" + ThemeNames()[1] + L"\\" + name + L".ico"), size);
            ASSERT_NE(first.Handle(), nullptr);
            ASSERT_NE(second.Handle(), nullptr);
            EXPECT_NE(Render(first.Handle(), size), Render(second.Handle(), size)) << Narrow(name) << " at " << size;
        }
    }
}

TEST(CategoryTabIcons, SomeCategoriesHaveOneAndItLoadsAt24Pixels) {
    int withIcon = 0;
    for (const auto& category : Categories()) {
        const std::wstring path = PathIn(L"Bases\\" + category + L"\\icon.ico");
        if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
            continue;
        }
        ++withIcon;
        Icon icon(path, 24);
        ASSERT_NE(icon.Handle(), nullptr) << Narrow(path);
        EXPECT_EQ(IconSize(icon.Handle()).cx, 24);
        EXPECT_GT(PaintedPixels(Render(icon.Handle(), 24)), 24 * 24 / 2);
    }
    EXPECT_GE(withIcon, 3);
    EXPECT_LT(withIcon, static_cast<int>(Categories().size())) << "some categories keep the fallback icon";
}
