#include "tests/skin_controls/simple_support.h"

#include "framework/Forms.h"
#include "framework/Startup.h"
#include "skin/core/sConst.h"
#include "skin/core/sMessages.h"
#include "skin/core/sPixels.h"
#include "skin/forms/sSkinFormsLinks.h"
#include "tests/skin_core/test_skin.h"

#include <commctrl.h>

namespace simpletest {

int gClicks = 0;

namespace {

LRESULT CALLBACK ParentProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_COMMAND && (HIWORD(wParam) == BN_CLICKED || lParam != 0))
        ++gClicks;
    if (msg == WM_ERASEBKGND) {
        RECT r;
        GetClientRect(wnd, &r);
        HBRUSH brush = CreateSolidBrush(kParentColor);
        FillRect(reinterpret_cast<HDC>(wParam), &r, brush);
        DeleteObject(brush);
        return 1;
    }
    return DefWindowProcW(wnd, msg, wParam, lParam);
}

const wchar_t* ParentClass()
{
    static const wchar_t* const name = [] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = ParentProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = L"VelmoraAdapterParent";
        RegisterClassExW(&wc);
        return L"VelmoraAdapterParent";
    }();
    return name;
}

std::string Section(const char* name, COLORREF color, COLORREF hot)
{
    return std::string("[") + name + "]\r\nCOLOR=" + Hex(color) + "\r\nHOTCOLOR=" + Hex(hot) + "\r\nFONTCOLOR=0x000000\r\n";
}

} // namespace

std::string Hex(COLORREF c)
{
    char text[16];
    snprintf(text, sizeof text, "0x%06lX", static_cast<unsigned long>(c));
    return text;
}

COLORREF PixelAt(TBitmap* bmp, int x, int y)
{
    const auto* p = static_cast<const std::uint8_t*>(bmp->ScanLine(y)) + x * 3;
    return RGB(p[2], p[1], p[0]);
}

std::unique_ptr<TBitmap> Bitmap24(int width, int height)
{
    auto bmp = std::make_unique<TBitmap>();
    bmp->SetPixelFormat(pf24bit);
    bmp->SetHandleType(bmDIB);
    bmp->SetSize(width, height);
    return bmp;
}

std::vector<testskin::PackEntry> SimpleSkinEntries()
{
    auto entries = testskin::TestSkinEntries();
    entries[0].bytes += Section("CHECKBOX", kCheckBoxColor, kCheckBoxColor) +
                        Section("PUSHBTN", kButtonColor, kButtonHotColor) + Section("SPIN", kSpinColor, kSpinColor) +
                        Section("SIZEBOX", kSizeBoxColor, kSizeBoxColor) +
                        Section("LABEL", kStaticColor, kStaticColor) + Section("GROUPBOX", kGroupColor, kGroupColor) +
                        Section("TOOLBAR", kBarColor, kBarColor) +
                        Section("TOOLBUTTON", kToolButtonColor, kToolButtonHotColor);
    return entries;
}

void SimpleAdapters::WriteSkin(const std::wstring& name, const std::vector<testskin::PackEntry>& entries)
{
    for (const auto& e : entries)
        testsupport::WriteFileBytes(Folder() + L"\\" + name + L"\\" + testsupport::Widen(e.name), e.bytes);
}

void SimpleAdapters::SetUp()
{
    TempFolderTest::SetUp();
    WriteSkin(L"Simple", SimpleSkinEntries());
    sm = std::make_unique<TsSkinManager>(nullptr);
    sm->SetSkinDirectory(Folder());
    sm->SetSkinName(L"Simple");
    ASSERT_TRUE(sm->SkinData()->Active);
    gClicks = 0;
    parent = CreateWindowExW(WS_EX_TOOLWINDOW, ParentClass(), L"", WS_POPUP | WS_VISIBLE, 600, 600, 200, 100, nullptr,
                             nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(parent, nullptr);
}

void SimpleAdapters::TearDown()
{
    adapter.reset();
    if (IsWindow(parent))
        DestroyWindow(parent);
    sm.reset();
    TempFolderTest::TearDown();
}

HWND SimpleAdapters::Child(const wchar_t* cls, const wchar_t* text, DWORD style, int w, int h, DWORD exStyle)
{
    return CreateWindowExW(exStyle, cls, text, WS_CHILD | WS_VISIBLE | style, 0, 0, w, h, parent, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
}

std::unique_ptr<TBitmap> SimpleAdapters::Print(HWND wnd, int w, int h)
{
    auto bmp = Bitmap24(w, h);
    SendMessageW(wnd, WM_PRINT, reinterpret_cast<WPARAM>(bmp->Canvas()->Handle()), PRF_CLIENT);
    return bmp;
}

} // namespace simpletest
