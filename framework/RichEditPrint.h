// A rich-edit control's text laid out on printer pages by the framework itself: its paragraphs read as
// runs of one character format each, then wrapped and drawn line by line, a new page when one is full.
// Used where the rich-edit library's own EM_FORMATRANGE formats nothing (Wine's is an empty stub).
#pragma once

#include <windows.h>
#include <richedit.h>

#include <functional>
#include <string>
#include <vector>

struct TRichTextRun {
    std::wstring Text;
    CHARFORMAT2W Format;
};

struct TRichTextParagraph {
    std::vector<TRichTextRun> Runs; // an empty paragraph keeps one empty run for its line height
    PARAFORMAT2 Format;
};

// The control's paragraphs with their character and paragraph formats. The control's selection,
// scroll position and notifications are as before when it returns.
std::vector<TRichTextParagraph> RichEditParagraphs(HWND edit);

// Draws the paragraphs into area (device units of dc) from its top; newPage is called whenever the next
// line no longer fits and the page holds something. Returns the number of lines drawn.
int PrintRichTextPages(HDC dc, const RECT& area, const std::vector<TRichTextParagraph>& paragraphs,
                       const std::function<void()>& newPage);
