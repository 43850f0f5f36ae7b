#include "app/program_steps.h"

#include "app/main.h"
#include "framework/Forms.h"
#include "framework/Jpeg.h"
#include "png/pngimage.h"
#include "skin/core/sConst.h"
#include "skin/core/sLibraryResources.h"
#include "skin/core/sMessages.h"
#include "skin/core/sPixels.h"
#include "skin/core/sShellFolders.h"
#include "skin/core/sSkinForms.h"
#include "skin/forms/sSkinFormsLinks.h"
#include "skin/forms/sSkinMenus.h"

#include <windows.h>
#include <commctrl.h>

void AddProgramStartupSteps(TStartup& startup)
{
    // The empty cache record, the no-colour value and the scroll-arrow width come first, then the skin
    // command message and the picture formats; the shell-folder step also starts OLE, which the
    // rich-edit view needs.
    AddSkinConstantsStartupStep(startup);
    AddSkinMessageStartupStep(startup);
    AddDateUtilitiesStartupStep(startup);
    AddJpegStartupStep(startup);
    AddSkinMenusStartupStep(startup);
    AddSkinnedFormsStartupStep(startup);
    AddThemeApiStartupStep(startup);
    AddShellFoldersStartupStep(startup);
    AddLibraryBitmapsStartupStep(startup);
    AddFontGlyphsStartupStep(startup);
    AddPixelAccessStartupStep(startup);
    // PNG registers last and goes first at shutdown.
    AddPngStartupStep(startup);
}

TProgramStart::TProgramStart(bool withApplication) : withApplication_(withApplication)
{
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    AddProgramStartupSteps(startup_);
    startup_.Start();
    // The skin core reaches menus, the dialogs hook and form providers through these links: they are
    // in place before the main window's skin manager is read.
    LinkSkinForms();
    if (!withApplication_)
        return;
    InitApplication();
    RegisterAppClasses();
}

TProgramStart::~TProgramStart()
{
    if (withApplication_)
        DoneApplication();
    startup_.Finish();
}
