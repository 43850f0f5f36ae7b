#include "tests/skin_forms/provider_support.h"


#include <cstdio>

namespace {

void PutInt(std::string& out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

} // namespace

namespace providerskin {

COLORREF ButtonColor(ButtonKind kind, int state)
{
    const int k = static_cast<int>(kind);
    return RGB(0x10 + k * 0x18, 0x40 + state * 0x40, 0xF0 - k * 0x10);
}

std::string BitmapFile(int width, int height, const std::function<COLORREF(int, int)>& pixel)
{
    const int stride = (width * 3 + 3) & ~3;
    std::string out = "BM";
    PutInt(out, static_cast<std::uint32_t>(54 + stride * height), 4);
    PutInt(out, 0, 4);
    PutInt(out, 54, 4);
    PutInt(out, 40, 4);
    PutInt(out, static_cast<std::uint32_t>(width), 4);
    PutInt(out, static_cast<std::uint32_t>(height), 4);
    PutInt(out, 1, 2);
    PutInt(out, 24, 2);
    PutInt(out, 0, 4);
    PutInt(out, static_cast<std::uint32_t>(stride * height), 4);
    PutInt(out, 2835, 4);
    PutInt(out, 2835, 4);
    PutInt(out, 0, 4);
    PutInt(out, 0, 4);
    for (int y = height - 1; y >= 0; --y) {
        std::string row;
        for (int x = 0; x < width; ++x) {
            const COLORREF c = pixel(x, y);
            row += static_cast<char>(GetBValue(c));
            row += static_cast<char>(GetGValue(c));
            row += static_cast<char>(GetRValue(c));
        }
        row.resize(static_cast<size_t>(stride), '\0');
        out += row;
    }
    return out;
}

namespace {

// Three states side by side over a black mask of the same size below them.
std::string ButtonFile(ButtonKind kind, int w, int h)
{
    return BitmapFile(w * 3, h * 2, [&](int x, int y) { return y < h ? ButtonColor(kind, x / w) : RGB(0, 0, 0); });
}

// Two states (inactive, active) of a border kBorderWidth wide with three key-colour pixels in each corner.
std::string BorderFile()
{
    const int f = kBorderFrame;
    return BitmapFile(f * 2, f, [&](int x, int y) {
        const int fx = x % f;
        const int cx = fx < f / 2 ? fx : f - 1 - fx;
        const int cy = y < f / 2 ? y : f - 1 - y;
        if (cx + cy <= 1)
            return RGB(255, 0, 255);
        return x < f ? kBorderInactive : kBorderActive;
    });
}

std::string Hex(COLORREF c)
{
    char text[16];
    std::snprintf(text, sizeof(text), "0x%06X", static_cast<unsigned>(c));
    return text;
}

std::string Options(bool beta)
{
    std::string s = "[GLOBALINFO]\r\nVERSION=6\r\nCOLOR=" + Hex(kGlobalColor) +
                    "\r\nFONTCOLOR=0x000000\r\nHOTCOLOR=0xFFFFFF\r\nBISPACE=2\r\n"
                    "BICONCLOSE=!CLOSE.BMP!3!1!2\r\nBICONMAX=!MAX.BMP!3!1!2\r\nBICONMIN=!MIN.BMP!3!1!2\r\n"
                    "BICONNORM=!NORM.BMP!3!1!2\r\nBICONHELP=!HELP.BMP!3!1!2\r\nTITLEBUTTON=!TITLEBTN.BMP!3!1!2\r\n"
                    "GRIPIMAGE=!GRIP.BMP!3!1!2\r\n";
    if (!beta)
        s += "SICONCLOSE=!SCLOSE.BMP!3!1!2\r\nSICONMAX=!SMAX.BMP!3!1!2\r\nSICONMIN=!SMIN.BMP!3!1!2\r\n";
    const COLORREF form = beta ? kBetaFormColor : kFormColor;
    s += "[FORM]\r\nCOLOR=" + Hex(form) + "\r\nHOTCOLOR=" + Hex(form) +
         "\r\nBORDERSMASK=!BORDER.BMP!2!0!0!4!4!4!4\r\n";
    s += "[FORMTITLE]\r\nCOLOR=" + Hex(kTitleInactive) + "\r\nHOTCOLOR=" + Hex(beta ? kBetaTitleActive : kTitleActive) +
         "\r\nFONTCOLOR=0xC0C0C0\r\nHOTFONTCOLOR=" + Hex(kTitleText) + "\r\n";
    s += "[MENULINE]\r\nCOLOR=0xA0A0A0\r\nHOTCOLOR=0xA0A0A0\r\n";
    s += "[DIALOG]\r\nCOLOR=" + Hex(kDialogColor) + "\r\nHOTCOLOR=" + Hex(kDialogColor) +
         "\r\nBORDERSMASK=!BORDER.BMP!2!0!0!4!4!4!4\r\n";
    s += "[BUTTON]\r\nCOLOR=" + Hex(kDialogButtonColor) + "\r\nHOTCOLOR=" + Hex(kDialogButtonColor) +
         "\r\nFONTCOLOR=0x000000\r\n";
    s += "[CHECKBOX]\r\nCOLOR=" + Hex(kDialogColor) + "\r\nHOTCOLOR=" + Hex(kDialogColor) + "\r\nFONTCOLOR=0x000000\r\n";
    return s;
}

void Write(const std::wstring& path, const std::string& bytes)
{
    testsupport::WriteFileBytes(path, bytes);
}

} // namespace

void WriteSkin(const std::wstring& folder, const std::wstring& name, bool beta, const SkinEdits& edits)
{
    const std::wstring dir = folder + L"\\" + name + L"\\";
    std::string options = Options(beta);
    for (const auto& [text, replacement] : edits)
        options.replace(options.find(text), text.size(), replacement);
    Write(dir + L"Options.dat", options);
    Write(dir + L"CLOSE.BMP", ButtonFile(bkClose, kBigButtonWidth, kBigButtonHeight));
    Write(dir + L"MAX.BMP", ButtonFile(bkMax, kBigButtonWidth, kBigButtonHeight));
    Write(dir + L"MIN.BMP", ButtonFile(bkMin, kBigButtonWidth, kBigButtonHeight));
    Write(dir + L"NORM.BMP", ButtonFile(bkNorm, kBigButtonWidth, kBigButtonHeight));
    Write(dir + L"HELP.BMP", ButtonFile(bkHelp, kBigButtonWidth, kBigButtonHeight));
    Write(dir + L"TITLEBTN.BMP", ButtonFile(bkTitle, kBigButtonWidth, kBigButtonHeight));
    Write(dir + L"SCLOSE.BMP", ButtonFile(bkSmallClose, kSmallButtonWidth, kSmallButtonHeight));
    Write(dir + L"SMAX.BMP", ButtonFile(bkSmallMax, kSmallButtonWidth, kSmallButtonHeight));
    Write(dir + L"SMIN.BMP", ButtonFile(bkSmallMin, kSmallButtonWidth, kSmallButtonHeight));
    Write(dir + L"GRIP.BMP", BitmapFile(30, 20, [](int, int y) { return y < 10 ? kGripColor : RGB(0, 0, 0); }));
    Write(dir + L"BORDER.BMP", BorderFile());
}

void WriteSkinStub(const std::wstring& folder, const std::wstring& name)
{
    Write(folder + L"\\" + name + L"\\Options.dat", "[GLOBALINFO]\r\nVERSION=6\r\n");
}

} // namespace providerskin

bool TLoggingForm::HasReceived(UINT msg) const
{
    for (UINT m : Received)
        if (m == msg)
            return true;
    return false;
}

void ProviderTest::SetUp()
{
    SkinFormsTest::SetUp();
    ASSERT_EQ(DefaultManager(), nullptr);
    providerskin::WriteSkin(Folder(), L"Alpha", false);
    providerskin::WriteSkin(Folder(), L"Beta", true);
    Manager = Create<TsSkinManager>(nullptr);
    Manager->SkinningRules = Rules;
    Manager->SetSkinDirectory(Folder());
    Manager->SetSkinName(L"Alpha");
    ASSERT_TRUE(Manager->SkinData()->Active);
    Form = Create<TLoggingForm>(Application);
    Form->SetCaption(L"Тест");
    Form->SetBounds(100, 100, 320, 220);
    Form->Show();
    Wnd = Form->Handle();
    SetForegroundWindow(Wnd);
    testsupport::PumpMessagesUntilIdle(500);
}

void ProviderTest::TearDown()
{
    Free(Form);
    Free(Manager);
    testsupport::PumpMessagesUntilIdle(200);
    EXPECT_TRUE(Errors.empty()) << (Errors.empty() ? "" : testsupport::Narrow(Errors.front()));
    SkinFormsTest::TearDown();
}

TsSkinProvider* ProviderTest::Attach()
{
    auto* provider = Create<TsSkinProvider>(Form);
    SetForegroundWindow(Wnd);
    SendMessageW(Wnd, WM_NCACTIVATE, TRUE, 0);
    RedrawWindow(Wnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    testsupport::PumpMessagesUntilIdle(500);
    return provider;
}

RECT ProviderTest::WindowRect() const
{
    RECT r;
    GetWindowRect(Wnd, &r);
    return r;
}

LPARAM ProviderTest::ScreenPoint(int x, int y) const
{
    const RECT r = WindowRect();
    return MAKELPARAM(r.left + x, r.top + y);
}

int ProviderTest::HitTest(int x, int y) const
{
    return static_cast<int>(SendMessageW(Wnd, WM_NCHITTEST, 0, ScreenPoint(x, y)));
}

testsupport::Pixels24 ProviderTest::Printed() const
{
    const RECT wr = WindowRect();
    HDC screen = GetDC(nullptr);
    testsupport::Pixels24 pix =
        testsupport::DrawnPixels(wr.right - wr.left, wr.bottom - wr.top, screen, [this](HDC memory) {
            SendMessageW(Wnd, WM_PRINT, reinterpret_cast<WPARAM>(memory), PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND);
        });
    ReleaseDC(nullptr, screen);
    return pix;
}

testsupport::Pixels24 ProviderTest::OnScreen() const
{
    return testsupport::CaptureWindow(Wnd, true);
}

void ProviderTest::Keep(const testsupport::Pixels24& pixels, const std::wstring& name) const
{
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    pixels.SavePpm(testsupport::Widen(info->name()) + L"_" + name + L".ppm");
}

namespace {

struct MenuWatch {
    std::function<void()> Action;
    bool Seen = false;
    int Ticks = 0;
};
MenuWatch* gWatch = nullptr;

void CALLBACK MenuTimer(HWND, UINT, UINT_PTR id, DWORD)
{
    if (!gWatch)
        return;
    HWND popup = FindWindowW(L"#32768", nullptr);
    if (popup && IsWindowVisible(popup)) {
        gWatch->Seen = true;
        KillTimer(nullptr, id);
        if (gWatch->Action)
            gWatch->Action();
        EndMenu();
        return;
    }
    if (++gWatch->Ticks > 40)
        KillTimer(nullptr, id);
}

} // namespace

bool WhileMenuOpen(const std::function<void()>& open, const std::function<void()>& action)
{
    MenuWatch watch;
    watch.Action = action;
    gWatch = &watch;
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, MenuTimer);
    open();
    testsupport::PumpMessagesUntilIdle(300);
    KillTimer(nullptr, timer);
    gWatch = nullptr;
    return watch.Seen;
}

void DragCaptionBy(HWND wnd, int x, int y, int dx, int dy)
{
    SetCursorPos(x, y);
    SendMessageW(wnd, WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(x, y));
    SetCursorPos(x + dx, y + dy);
    SendMessageW(wnd, WM_MOUSEMOVE, 0, 0);
    SendMessageW(wnd, WM_LBUTTONUP, 0, 0);
    testsupport::PumpMessagesUntilIdle(200);
}
