// The main window's own small pictures: the rating star and the template icon that stands in for
// every icon a theme lacks.
#pragma once

#include "framework/Graphics.h"

// Paints a gold five-pointed star of size x size pixels on the button face colour.
void PaintStar(TBitmap* bitmap, int size);
// A plain sheet-of-paper icon of size x size pixels with an alpha channel; the caller owns it.
HICON MakeTemplateIcon(int size);
