// Colour arithmetic of the skin library: moving a colour's saturation and hue (the manager's
// HueOffset and Saturation settings). Colours hold red in the low byte.
#pragma once

#include <cstdint>

// Percent 0 returns Color; 100 gives its grey; negative values push the channels away from grey.
std::int32_t ChangeSaturation(std::int32_t color, int percent);
// Rotates the hue by Degrees (either direction); greys come back unchanged. System colours are
// turned into their RGB value first.
std::int32_t ChangeHue(int degrees, std::int32_t color);
