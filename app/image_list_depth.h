// Rebuilding an image list in 32-bit colour, so that the alpha channel of the icons added to it is
// kept rather than flattened against the list's background.
#pragma once

#include "framework/WinApi.h"

#include <commctrl.h>

// Makes a new image list of the same image size with ILC_COLOR32 (plus ILC_MASK when the list is
// masked, as its owner knows), growing by growBy, and copies the images of list into it in order.
// Returns the new list; list itself is left as it was, for its owner to replace. A null list gives
// null. Raises EInvalidOperation ("Неверный ImageList") when the new list cannot be made.
HIMAGELIST ConvertTo32BitImageList(HIMAGELIST list, bool masked, int growBy = 4);
