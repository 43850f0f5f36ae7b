// Where the generated sample base is, and small readers the checks of its files share.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace samplebase {

// The generated base folder (Windows path, no trailing backslash) and a path below it.
std::wstring BasePath();
std::wstring PathIn(const std::wstring& relative);

// Names in a folder matching pattern ("*.*", "*.rcp"), "." and ".." left out; folders only on request.
std::vector<std::wstring> ListNames(const std::wstring& folder, const std::wstring& pattern, bool foldersOnly);

// The category folder names under Bases.
std::vector<std::wstring> Categories();

// Every icon file name (without ".ico") a theme must hold: tool bar, menu and recipe list icons.
const std::vector<std::wstring>& ThemeIconNames();

// The two themes of the base.
const std::vector<std::wstring>& ThemeNames();

std::string ReadBytes(const std::wstring& path);

} // namespace samplebase
