// The program starts on its working folder, shows its main window and ends when the window is closed.
#include "tests/e2e/program_fixture.h"

#include <gtest/gtest.h>

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

TEST_F(ProgramLifeTest, AltF4EndsTheProcess)
{
    StartProgram();
    ASSERT_TRUE(Bot().Activate(MainWindow()));
    Bot().PressShortcut({VK_MENU, VK_F4});
    ASSERT_TRUE(WaitForExit(10000)) << "the program is still running after Alt+F4";
    EXPECT_EQ(ExitCode(), 0u);
}

} // namespace
