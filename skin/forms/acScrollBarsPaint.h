// Drawing of the skinned scroll bars: each bar composed in a bitmap of its own (track halves, arrows,
// thumb) and copied to the window in one blit, the corner between two bars, and the skin's metrics.
#pragma once

#include "skin/forms/acScrollBars.h"

class TBitmap;

// The arrow length the skin asks for (the larger of the system length and its arrow image), or
// SystemLength when the skin does not ask for one.
int SkinArrowLength(TsSkinManager* sm, int kind, int systemLength);
// The bar is enabled for the system and the adapter's control is not disabled.
bool ScrollBarEnabled(TacScrollWnd* adapter, const TacScrollBar* bar);
// The size grip is drawn in the corner between the bars.
bool GripShown(TacScrollWnd* adapter, HWND wnd);
// Paints a bar at R (window coordinates) into DC. HotPart is drawn pressed; Tracked tells that this
// window is the one under the mouse, HoverPart the part under it on this bar.
void DrawScrollBar(TacScrollWnd* adapter, TacScrollBar* bar, HDC dc, const TRect& r, int hotPart, bool tracked,
                   int hoverPart);
void DrawScrollCorner(TacScrollWnd* adapter, HWND wnd, HDC dc);
// The bar under a thumb drag, straight to the window DC: BarRect and ThumbPos in screen coordinates.
void DrawDraggedBar(TacScrollWnd* adapter, TacScrollBar* bar, const TRect& barRect, int thumbPos, int thumbSize);
