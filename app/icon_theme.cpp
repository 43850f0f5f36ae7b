#include "app/icon_theme.h"

#include "app/recipe_store.h"
#include "framework/SysUtils.h"

const std::array<const wchar_t*, 12> kToolBarIconNames = {
    L"tb_exit", L"tb_prev", L"tb_next",  L"tb_update", L"tb_print", L"tb_about",
    L"tb_new",  L"tb_favor", L"tb_find", L"tb_pict",   L"tb_group", L"tb_save",
};

const std::array<const wchar_t*, 14> kMenuIconNames = {
    L"mn_new",  L"mn_favor", L"mn_info",  L"mn_print", L"mn_exit", L"mn_copy", L"mn_delete",
    L"mn_icon", L"mn_list",  L"mn_about", L"mn_rating", L"mn_move", L"mn_skin", L"mn_base",
};

namespace {

TIconSource IconIn(const std::wstring& folder, const wchar_t* name)
{
    std::wstring file = folder + name + L".ico";
    if (FileExists(file))
        return file;
    return std::nullopt;
}

} // namespace

std::wstring ThemeFolder(const std::wstring& programDir, const std::wstring& themeName)
{
    return programDir + L"\\Resource\\" + themeName + L"\\";
}

std::vector<std::wstring> ListThemes(const std::wstring& programDir)
{
    return ListFolderEntries(programDir + L"\\Resource\\");
}

TThemeIcons ResolveThemeIcons(const std::wstring& programDir, const std::wstring& themeName)
{
    const std::wstring folder = ThemeFolder(programDir, themeName);
    TThemeIcons icons;
    for (size_t i = 0; i < kToolBarIconNames.size(); ++i)
        icons.ToolBar[i] = IconIn(folder, kToolBarIconNames[i]);
    for (size_t i = 0; i < kMenuIconNames.size(); ++i)
        icons.Menu[i] = IconIn(folder, kMenuIconNames[i]);
    icons.RecipeLarge = IconIn(folder, L"tb_new");
    icons.SearchHit = IconIn(folder, L"tb_find");
    icons.RecipeSmall = IconIn(folder, L"ls_doc");
    return icons;
}
