// The form of the standard-control tests and their pixel and window searches.
#include "tests/framework/std_support.h"

#include <cstdlib>

namespace {

std::function<bool()> gWatcherAction;

} // namespace

void StdControlsTest::SetUp()
{
    ApplicationTest::SetUp();
    form = Create<TForm>(Application);
    form->SetColor(clSilver);
    form->Font()->SetName(L"Tahoma");
    form->Font()->SetHeight(-11);
    form->SetBounds(40, 40, 400, 300);
    form->SetClientWidth(360);
    form->SetClientHeight(260);
    form->Show();
    testsupport::PumpMessagesUntilIdle();
}

void StdControlsTest::TearDown()
{
    Free(form);
    testsupport::PumpMessagesUntilIdle();
    ApplicationTest::TearDown();
    EXPECT_TRUE(Errors.empty()) << testsupport::Narrow(Errors.empty() ? L"" : Errors[0]);
}

int CountColor(const testsupport::Pixels24& pixels, COLORREF color)
{
    int count = 0;
    for (int y = 0; y < pixels.height; ++y)
        for (int x = 0; x < pixels.width; ++x)
            if (pixels.At(x, y) == color)
                ++count;
    return count;
}

bool HasColorNear(const testsupport::Pixels24& pixels, COLORREF color, int tolerance)
{
    for (int y = 0; y < pixels.height; ++y)
        for (int x = 0; x < pixels.width; ++x) {
            COLORREF c = pixels.At(x, y);
            if (std::abs(GetRValue(c) - GetRValue(color)) <= tolerance &&
                std::abs(GetGValue(c) - GetGValue(color)) <= tolerance &&
                std::abs(GetBValue(c) - GetBValue(color)) <= tolerance)
                return true;
        }
    return false;
}

ModalWatcher::ModalWatcher(std::function<bool()> action)
{
    gWatcherAction = std::move(action);
    timer_ = SetTimer(nullptr, 0, 50, &ModalWatcher::Tick);
}

ModalWatcher::~ModalWatcher()
{
    if (timer_)
        KillTimer(nullptr, timer_);
    gWatcherAction = nullptr;
}

void CALLBACK ModalWatcher::Tick(HWND, UINT, UINT_PTR, DWORD)
{
    if (gWatcherAction && gWatcherAction())
        gWatcherAction = nullptr;
}

namespace {

struct WindowSearch {
    const wchar_t* name;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND wnd, LPARAM lParam)
{
    auto* s = reinterpret_cast<WindowSearch*>(lParam);
    wchar_t name[64] = {};
    GetClassNameW(wnd, name, 64);
    if (wcscmp(name, s->name) == 0 && IsWindowVisible(wnd)) {
        s->found = wnd;
        return FALSE;
    }
    return TRUE;
}

} // namespace

HWND FindThreadWindow(const wchar_t* className)
{
    WindowSearch search{className, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

TempFolder::TempFolder()
{
    wchar_t base[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, base);
    static int counter = 0;
    folder_ = std::wstring(base) + L"velmora-std-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
              std::to_wstring(++counter);
    CreateDirectoryW(folder_.c_str(), nullptr);
}

TempFolder::~TempFolder()
{
    testsupport::RemoveTree(folder_);
}
