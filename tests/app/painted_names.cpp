#include "tests/app/painted_names.h"

namespace skinasset {

const std::set<std::wstring>& PaintedSections()
{
    static const std::set<std::wstring> names = {
        // Windows and their frames, menus.
        L"GLOBALINFO", L"FORM", L"FORMTITLE", L"DIALOG", L"MDIAREA", L"MENULINE", L"MAINMENU", L"MENUITEM",
        L"ICOLINE", L"EXTRALINE", L"DIVIDERV",
        // The main window's skinned controls.
        L"TOOLBAR", L"TOOLBUTTON", L"STATUSBAR", L"SPLITTER", L"PAGECONTROL", L"PAGECONTROLBOTTOM",
        L"PAGECONTROLLEFT", L"PAGECONTROLRIGHT", L"TABTOP", L"TABBOTTOM", L"TABLEFT", L"TABRIGHT",
        // Scroll bars and up-down buttons.
        L"SCROLLBTNTOP", L"SCROLLBTNBOTTOM", L"SCROLLBTNLEFT", L"SCROLLBTNRIGHT", L"SCROLLSLIDERV",
        L"SCROLLSLIDERH", L"SCROLLBAR1H", L"SCROLLBAR1V", L"SCROLLBAR2H", L"SCROLLBAR2V",
        // Standard controls of forms and system dialogs, by their adapters' sections.
        L"EDIT", L"BUTTON", L"COLHEADER", L"COMBOBOX", L"COMBOBTN", L"CHECKBOX", L"RADIOBUTTON", L"GROUPBOX",
        L"PANEL", L"PANEL_LOW", L"BAR", L"SPEEDBUTTON", L"SPEEDBUTTON_SMALL", L"TABSHEET",
    };
    return names;
}

const std::set<std::wstring>& OptionalSections()
{
    static const std::set<std::wstring> names = {
        L"DIVIDER",  // status bar panels without a STATUSPANELMASK
        L"TRACKBAR", // menu separators without DIVIDERV
        L"BARTITLE", L"DRAGBAR", L"GAUGE", L"WEBBUTTON",
    };
    return names;
}

const std::set<std::wstring>& SectionValueKeys()
{
    static const std::set<std::wstring> names = {
        L"PARENTCLASS", L"COLOR", L"BEVEL", L"FONTCOLOR", L"TCLEFT", L"TCTOP", L"TCRIGHT", L"TCBOTTOM",
        L"HOTFONTCOLOR", L"HOTTCLEFT", L"HOTTCTOP", L"HOTTCRIGHT", L"HOTTCBOTTOM", L"RESERVEDBOOLEAN",
        L"SHADOWBLUR", L"SHADOWCOLOR", L"SHADOWENABLED", L"SHADOWOFFSET", L"SHADOWTRANSPARENCY",
        L"TRANSPARENCY", L"GRADIENTPERCENT", L"GRADIENTDATA", L"IMAGEPERCENT", L"SHOWFOCUS", L"FADINGENABLED",
        L"FADINGINTERVALIN", L"FADINGINTERVALOUT", L"FADINGITERATIONS", L"HOTCOLOR", L"HOTTRANSPARENCY",
        L"HOTBEVEL", L"HOTGRADIENTPERCENT", L"HOTGRADIENTDATA", L"HOTIMAGEPERCENT", L"BORDERCOLOR1",
        L"BORDERCOLOR2",
    };
    return names;
}

const std::set<std::wstring>& GlobalValueKeys()
{
    static const std::set<std::wstring> names = {
        L"VERSION", L"AUTHOR", L"DESCRIPTION", L"SHADOW1COLOR", L"SHADOW1OFFSET", L"SHADOW1BLUR",
        L"SHADOW1TRANSPARENCY", L"BISPACE", L"BORDERCOLOR", L"MASTERBITMAP",
    };
    return names;
}

const std::set<std::wstring>& GlobalImageKeys()
{
    static const std::set<std::wstring> names = {
        L"BOXCHECKED", L"BOXUNCHECKED", L"BOXGRAYED", L"RADIOCHECKED", L"RADIOUNCHECKED", L"RADIOGRAYED",
        L"SMALLCHECKED", L"SMALLUNCHECKED", L"SMALLGRAYED", L"CHECK", L"GRIPIMAGE", L"TITLEBUTTON",
        L"BICONCLOSE", L"BICONMAX", L"BICONMIN", L"BICONHELP", L"BICONNORM",
        L"SICONCLOSE", L"SICONMAX", L"SICONMIN", L"SICONHELP", L"SICONNORM",
    };
    return names;
}

const std::set<std::wstring>& SectionImageKeys()
{
    static const std::set<std::wstring> names = {
        L"BORDERSMASK", L"GLYPHMASK", L"PATTERN", L"HOTPATTERN", L"TITLEBAR", L"STATUSPANELMASK",
        L"SLIDERCHANNEL", L"IMGTOPLEFT", L"IMGTOPRIGHT", L"IMGBTMLEFT", L"IMGBTMRIGHT",
        // A form section may carry its own caption buttons and grip when GLOBALINFO has none.
        L"GRIPIMAGE", L"BICONCLOSE", L"BICONMAX", L"BICONMIN", L"BICONHELP", L"BICONNORM",
    };
    return names;
}

} // namespace skinasset
