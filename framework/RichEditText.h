// The few rich-edit messages that the framework's editor, the recipe documents and the recipe writer
// all send to a control they hold only by its window: its text, its selection, and file streams.
#pragma once

#include <windows.h>

#include <string>

// The control's whole text; paragraphs end with "\r".
std::wstring RichEditText(HWND edit);
void RichEditSelect(HWND edit, LONG start, LONG end);
// Replaces the selection; canUndo keeps the change on the control's undo list.
void RichEditReplaceSelection(HWND edit, const std::wstring& text, bool canUndo);

// The cookie of EM_STREAMIN / EM_STREAMOUT over an open file: Failed is set when the file could not
// be read or written in full.
struct TRichEditFile {
    HANDLE File;
    bool Failed = false;
};
DWORD CALLBACK RichEditReadFile(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* read);
DWORD CALLBACK RichEditWriteFile(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* written);
