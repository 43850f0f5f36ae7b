// Win32 headers for the whole program. windows.h turns many function names into macros (GetObject,
// DeleteFile, CopyFile, ...) that would rename the framework's own members in some units and not in
// others; the program calls the W functions by their full names, so those macros are removed here.
#pragma once

#ifdef _WIN32
#include <windows.h>

#undef GetObject
#undef DeleteFile
#undef CopyFile
#undef DrawText
#undef LoadBitmap
#undef LoadIcon
#undef LoadCursor
#undef GetMessage
#undef SendMessage
#undef PostMessage
#undef CreateWindow
#undef FindWindow
#undef GetClassName
#undef MessageBox
#undef CreateFont
#undef TextOut
#undef GetCurrentDirectory
#undef SetCurrentDirectory
#undef FindText
#undef ReplaceText
#undef GetUserName
#undef CreateDirectory
#undef RemoveDirectory
#undef MoveFile
#undef LoadString
#undef GetCharWidth
#undef GetTextMetrics
#undef EnumFonts
#undef StartDoc
#undef GetProp
#undef SetProp
#undef RemoveProp
#undef CreateDialog
#undef DialogBox
#undef ChooseColor
#undef ChooseFont
#undef PrintDlg
#undef UpdateResource
#undef DefWindowProc
#undef CallWindowProc
#undef RegisterClass
#undef UnregisterClass
#undef GetWindowLongPtr
#undef SetWindowLongPtr
#undef GetClassLongPtr
#undef SetClassLongPtr
#else
#include <cstdint>

// The host build of the window-free cores reads skin records, whose rectangles are Win32 rectangles.
struct RECT {
    std::int32_t left, top, right, bottom;
};
#endif
