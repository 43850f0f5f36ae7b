// The program block: starts the process-wide state, creates the main window as the application's main
// form and runs the message loop.
#include "app/main.h"
#include "framework/Jpeg.h"
#include "framework/Startup.h"
#include "png/pngimage.h"

#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    OleInitialize(nullptr);
    int exitCode = 0;
    {
        // Process-wide state is prepared here, in its fixed order, and released in reverse when the
        // startup object goes after the message loop.
        TStartup startup;
        AddJpegStartupStep(startup);
        // PNG registers last and goes first at shutdown.
        AddPngStartupStep(startup);
        startup.Start();

        InitApplication();
        RegisterAppClasses();
        try {
            Application->SetTitle(L"Велмора 1.11");
            Application->CreateForm(MainForm);
            Application->Run();
        } catch (...) {
            Application->HandleException(Application);
            exitCode = 1;
        }
        DoneApplication();
    }
    OleUninitialize();
    return exitCode;
}
