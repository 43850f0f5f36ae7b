// The skin names that the painters of the skinned controls and of form skinning read: sections they
// look up, the keys of a section's values, and the image keys they ask for. A skin key outside these
// lists is read by nobody, which in a hand-written skin text means a misspelling.
#pragma once

#include <set>
#include <string>

namespace skinasset {

// Sections the program's painters look up; a skin for this program has every one of them.
const std::set<std::wstring>& PaintedSections();
// Sections some painter looks up only as a fallback or for kinds of control this program has not got.
const std::set<std::wstring>& OptionalSections();
// The values of a section (colours, percentages, gradients, ...), as the section reader reads them.
const std::set<std::wstring>& SectionValueKeys();
// The values of GLOBALINFO besides its section values.
const std::set<std::wstring>& GlobalValueKeys();
// Image keys of GLOBALINFO: check marks, caption buttons, the size grip.
const std::set<std::wstring>& GlobalImageKeys();
// Image keys of the other sections.
const std::set<std::wstring>& SectionImageKeys();

} // namespace skinasset
