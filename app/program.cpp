// The program block: starts the process-wide state, creates the main window as the application's main
// form and runs the message loop.
#include "app/main.h"
#include "app/program_steps.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    int exitCode = 0;
    {
        // Process-wide state is prepared here, in its fixed order, and released in reverse when the
        // start object goes after the message loop.
        TProgramStart start;
        try {
            Application->SetTitle(L"Велмора 1.11");
            // Every form's title bar shows the program's own icon (shared: the system frees it).
            Application->SetIcon(static_cast<HICON>(
                LoadImageW(GetModuleHandleW(nullptr), L"MAINICON", IMAGE_ICON, 0, 0, LR_DEFAULTSIZE | LR_SHARED)));
            Application->CreateForm(MainForm);
            Application->Run();
        } catch (...) {
            Application->HandleException(Application);
            exitCode = 1;
        }
    }
    return exitCode;
}
