#include "app/program_steps.h"

#include "framework/Jpeg.h"
#include "framework/Startup.h"
#include "png/pngimage.h"
#include "skin/core/sConst.h"
#include "skin/core/sLibraryResources.h"
#include "skin/core/sMessages.h"
#include "skin/core/sPixels.h"
#include "skin/core/sShellFolders.h"
#include "skin/core/sSkinForms.h"

void AddProgramStartupSteps(TStartup& startup)
{
    // The empty cache record, the no-colour value and the scroll-arrow width come first, then the skin
    // command message and the picture formats; the shell-folder step also starts OLE, which the
    // rich-edit view needs.
    AddSkinConstantsStartupStep(startup);
    AddSkinMessageStartupStep(startup);
    AddDateUtilitiesStartupStep(startup);
    AddJpegStartupStep(startup);
    AddSkinnedFormsStartupStep(startup);
    AddThemeApiStartupStep(startup);
    AddShellFoldersStartupStep(startup);
    AddLibraryBitmapsStartupStep(startup);
    AddFontGlyphsStartupStep(startup);
    AddPixelAccessStartupStep(startup);
    // PNG registers last and goes first at shutdown.
    AddPngStartupStep(startup);
}
