// The program block: starts the process-wide state, creates the main window as the application's main
// form and runs the message loop.
#include "app/main.h"
#include "app/program_steps.h"
#include "framework/Startup.h"
#include "skin/forms/sSkinFormsLinks.h"

#include <windows.h>
#include <commctrl.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    int exitCode = 0;
    {
        // Process-wide state is prepared here, in its fixed order, and released in reverse when the
        // startup object goes after the message loop.
        TStartup startup;
        AddProgramStartupSteps(startup);
        startup.Start();

        // The skin core reaches menus, the dialogs hook and form providers through these links: they
        // are in place before the main window's skin manager is read.
        LinkSkinForms();
        InitApplication();
        RegisterAppClasses();
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
        DoneApplication();
    }
    return exitCode;
}
