// The text at the start of an RTF recipe, read without a rich-edit control. The search reads only a
// recipe's first characters, and loading each file into the hidden control costs far more than the
// reading itself.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// The first `characters` characters (or all, when fewer) of the text a rich-edit control shows for
// the document rtf: paragraphs end with "\r". Answers nothing for a document whose text this reader
// cannot give exactly as the control would (pictures, objects, fields, tables, lists, double-byte or
// symbol code pages, binary data, stray control bytes), so that the caller lets the control decide.
std::optional<std::wstring> RtfPrefixText(std::string_view rtf, size_t characters);
