// A small skin made by code for the skin tests: its Options.dat text, its folder and its packed form.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace testskin {

// One entry of a packed container: its stored name and its unpacked bytes.
struct PackEntry {
    std::string name;
    std::string bytes;
};

// A container in the "ASzf" layout with each entry deflated by zlib; StatedSizeDelta is added to every
// stated size (to build lying containers).
std::string BuildContainer(const std::vector<PackEntry>& entries, int statedSizeDelta = 0,
                           const char* magic = "ASzf");

// The Options.dat text of the test skin: GLOBALINFO with flat colours, sections with parents, and
// image values of the master-bitmap forms.
std::string TestSkinOptions();
// The test skin's entries (Options.dat first).
std::vector<PackEntry> TestSkinEntries();

// Writes the skin folder Folder\Name\ with Options.dat and its images.
void WriteTestSkinFolder(const std::wstring& folder, const std::wstring& name);

} // namespace testskin
