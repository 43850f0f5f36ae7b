// The program starts on its working folder, shows its main window and ends when the window is closed.
#include "tests/e2e/program_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace {

using namespace e2e;

class ProgramLifeTest : public ProgramTest {};

TEST_F(ProgramLifeTest, MainWindowShowsCaptionedVelmora)
{
    StartProgram();
    ASSERT_NE(MainWindow(), nullptr);
    EXPECT_EQ(WindowClass(MainWindow()), kMainFormClass);
    EXPECT_EQ(WindowCaption(MainWindow()), L"Велмора");
    EXPECT_TRUE(IsWindowVisible(MainWindow()));
    // The task-bar title belongs to the program's hidden application window.
    HWND application = FindTopWindow({ProcessId(), L"TApplication", {}, false});
    ASSERT_NE(application, nullptr);
    EXPECT_EQ(WindowCaption(application), L"Велмора 1.11");

    RECT rc{};
    GetWindowRect(MainWindow(), &rc);
    auto shot = Shot(MainWindow(), L"started");
    EXPECT_EQ(shot.width, rc.right - rc.left);
    EXPECT_EQ(shot.height, rc.bottom - rc.top);
    EXPECT_TRUE(FileExists(ShotsFolder() + L"\\ProgramLifeTest-MainWindowShowsCaptionedVelmora-started.bmp"));
}

// Pixels of the program icon's green cover inside a rectangle of a picture.
int CoverPixels(const testsupport::Pixels24& shot, RECT area)
{
    int n = 0;
    for (int y = std::max(0L, area.top); y < std::min<LONG>(shot.height, area.bottom); ++y)
        for (int x = std::max(0L, area.left); x < std::min<LONG>(shot.width, area.right); ++x) {
            const COLORREF c = shot.At(x, y);
            n += std::abs(GetRValue(c) - 0x2f) < 24 && std::abs(GetGValue(c) - 0x6b) < 24 &&
                 std::abs(GetBValue(c) - 0x3a) < 24;
        }
    return n;
}

TEST_F(ProgramLifeTest, TheTitleBarShowsTheProgramsOwnIcon)
{
    // The executable carries the icon under the name the system and the forms look for.
    HMODULE exe = LoadLibraryExW(testsupport::Widen(VELMORA_PROGRAM_EXE).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(exe, nullptr);
    EXPECT_NE(FindResourceW(exe, L"MAINICON", RT_GROUP_ICON), nullptr);
    FreeLibrary(exe);

    StartProgram();
    const auto shot = Shot(MainWindow(), L"title");
    // The icon sits at the left of the title bar, above the client area.
    POINT client{0, 0};
    ClientToScreen(MainWindow(), &client);
    RECT window{};
    GetWindowRect(MainWindow(), &window);
    const RECT title{0, 0, 48, client.y - window.top};
    EXPECT_GT(CoverPixels(shot, title), 10) << "no icon in the title bar";
}

TEST_F(ProgramLifeTest, AltF4EndsTheProcess)
{
    StartProgram();
    ASSERT_TRUE(Bot().Activate(MainWindow()));
    Bot().PressShortcut({VK_MENU, VK_F4});
    ASSERT_TRUE(WaitForExit(10000)) << "the program is still running after Alt+F4";
    EXPECT_EQ(ExitCode(), 0u);
}

} // namespace
