// Icon themes: the folders under Resource, the icon file of every image-list place, and which places
// take a theme file and which the template icon.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

// Tool-bar icons (32 x 32) by image index.
extern const std::array<const wchar_t*, 12> kToolBarIconNames;
// Menu icons (16 x 16) by image index.
extern const std::array<const wchar_t*, 14> kMenuIconNames;

// ProgramDir + "\Resource\" + theme + "\".
std::wstring ThemeFolder(const std::wstring& programDir, const std::wstring& themeName);
// The entries of ProgramDir + "\Resource\" as the theme dialog lists them.
std::vector<std::wstring> ListThemes(const std::wstring& programDir);

// One image-list place: the theme's icon file, or nothing for the template icon.
using TIconSource = std::optional<std::wstring>;

// Every icon the main window loads from a theme.
struct TThemeIcons {
    std::array<TIconSource, 12> ToolBar;
    std::array<TIconSource, 14> Menu;
    TIconSource RecipeLarge; // tb_new: large icon of every recipe, and the tool bar's place 12
    TIconSource SearchHit;   // tb_find: icon of every search hit
    TIconSource RecipeSmall; // ls_doc: small icon of every recipe
};

// Resolves a theme's files; every file that is missing falls back to the template, so a partial or
// missing theme never stops the start.
TThemeIcons ResolveThemeIcons(const std::wstring& programDir, const std::wstring& themeName);
