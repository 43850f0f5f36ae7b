// Reading any bytes as a skin file through the window-free reader, as the manager would read them.
#pragma once

#include <cstddef>
#include <cstdint>

enum class TSkinBytesResult { NotPacked, Damaged, Read };

// Parses the bytes as a packed skin and reads its Options.dat through every section and key, inherited
// reads included, and builds the masks, sections and common sections of its values. Bytes without the container's magic are read as the text of Options.dat itself, so the
// INI reader is reached without the container too. The reader's own exceptions count as Damaged;
// anything else escapes.
TSkinBytesResult ReadSkinBytes(const std::uint8_t* data, std::size_t size);
