// Keeps a rich-text view as the user sees it across a change of its paragraph format that only a
// print needs: the selection, the scroll position, each paragraph's first-line indent and the
// modified flag are put back when the keeper goes.
#pragma once

#include <windows.h>
#include <richedit.h>

#include <vector>

class TViewFormatKeeper {
public:
    explicit TViewFormatKeeper(HWND view);
    ~TViewFormatKeeper();
    TViewFormatKeeper(const TViewFormatKeeper&) = delete;
    TViewFormatKeeper& operator=(const TViewFormatKeeper&) = delete;

private:
    // One run of paragraphs that share a first-line indent (in twips), from Start up to the next run.
    struct TIndentRun {
        LONG Start;
        LONG Indent;
    };
    void ReadIndents();
    void WriteIndents() const;

    HWND view_; // not owned
    CHARRANGE selection_{};
    POINT scroll_{};
    BOOL modified_ = FALSE;
    std::vector<TIndentRun> runs_;
};
