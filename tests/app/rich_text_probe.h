// Reads back what a rich-edit document holds: the character format at the start of a paragraph and
// its indents.
#pragma once

#include "app/recipe_document.h"

#include <richedit.h>

#include <string>
#include <vector>

namespace samplebase {

struct LineLook {
    std::wstring face;
    LONG twips = 0;
    COLORREF colour = 0;
    LONG startIndent = 0;
    LONG offset = 0;
};

// The look of the first character of paragraph index (or of its paragraph mark when it is empty),
// measured in paragraph units, not display lines.
inline LineLook LookOfLine(HWND edit, const std::vector<std::wstring>& lines, size_t index) {
    LONG start = 0;
    for (size_t i = 0; i < index && i < lines.size(); ++i) {
        start += static_cast<LONG>(lines[i].size()) + 1;
    }
    SendMessageW(edit, EM_SETSEL, static_cast<WPARAM>(start), start + 1);
    CHARFORMAT2W cf{};
    cf.cbSize = sizeof(cf);
    SendMessageW(edit, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf));
    PARAFORMAT2 pf{};
    pf.cbSize = sizeof(pf);
    SendMessageW(edit, EM_GETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&pf));
    return {cf.szFaceName, cf.yHeight, cf.crTextColor, pf.dxStartIndent, pf.dxOffset};
}

// The look of the character at a text position.
inline LineLook LookAt(HWND edit, LONG position) {
    SendMessageW(edit, EM_SETSEL, static_cast<WPARAM>(position), position + 1);
    CHARFORMAT2W cf{};
    cf.cbSize = sizeof(cf);
    SendMessageW(edit, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf));
    return {cf.szFaceName, cf.yHeight, cf.crTextColor, 0, 0};
}

} // namespace samplebase
