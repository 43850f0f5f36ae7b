// The edit family of window adapters: windows with a framed, scrolled client area (edits, list boxes,
// list views with their column header, tree views) get their frame and scroll bars from the skin and
// paint their client area in the skin's colours.
#pragma once

#include "skin/forms/acScrollBars.h"

struct TsMaskData;

// Every message passes here before the scroll adapter's procedure.
class TacBaseWnd : public TacScrollWnd {
public:
    using TacScrollWnd::TacScrollWnd;
    std::wstring ClassName() const override { return L"TacBaseWnd"; }
    void WndProc(TMessage& message) override;
};

class TacEditWnd : public TacBaseWnd {
public:
    using TacBaseWnd::TacBaseWnd;
    std::wstring ClassName() const override { return L"TacEditWnd"; }

    // With a zero handle only the object is made.
    void Create() override;
    void StoreWindowParams() override;
    void RestoreWindowParams() override;
    void PrepareSkinParams() override;
    void WndProc(TMessage& message) override;

    TColor ListColor = clWindow;  // fill of a drop-down list
    TColor ListFrameColor = 0;    // outline of that list

protected:
    // PrepareSkinParams unless it ran already.
    void PrepareOnce();
    // The skin commands of the edit family; True when answered (not passed on).
    bool EditSkinCommand(TMessage& message);
    // The frame from the cache and the scroll bars into the window DC (or DC); the bars' result.
    LRESULT PaintFrame(HDC dc);
    void WMNCPaint(TMessage& message);
    void WMPrint(TMessage& message);
    // Moves the DC's origin past the frame and clips it to the client part inside the frame and the
    // shown scroll bars, where a printed window's own painting goes. The caller saves the DC around it.
    void ClipToPrintedClient(HDC dc);
    // The framework control the adapter's skin data belongs to, if it is a windowed control.
    TWinControl* OwnerWinControl() const;
};

class TacListViewWnd : public TacEditWnd {
public:
    using TacEditWnd::TacEditWnd;
    ~TacListViewWnd() override;
    std::wstring ClassName() const override { return L"TacListViewWnd"; }

    void Create() override;
    void StoreWindowParams() override;
    void RestoreWindowParams() override;
    void PrepareSkinParams() override;
    void WndProc(TMessage& message) override;

    // The header's window procedure while hooked: finds its list view's adapter through the window binding.
    static LRESULT CALLBACK HeaderWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
    // LVM_GETVIEW mapped: 0 icon, 1 report, 2 small icon, 3 list.
    int ViewStyle() const;

    HWND HeaderWnd = nullptr;         // not owned
    WNDPROC HeaderDefProc = nullptr;  // the header's own procedure
    int PressedColumn = -1;
    bool HeaderPressed = false;
    int HeaderLineHeight = 0;

private:
    void HookHeader(HWND header);
    void UnhookHeader();
    LRESULT HeaderMessage(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
    void PaintHeader(HDC dc);
    void PaintHeaderItem(HDC dc, int index, const TRect& r);
    const TsMaskData* SortArrow(int fmt) const;
    void PaintColumnImage(HDC dc, int index, int fmt, bool pressed, int height, TRect& text);
    void ThumbScroll(TMessage& message);
};

class TacTreeViewWnd : public TacEditWnd {
public:
    using TacEditWnd::TacEditWnd;
    std::wstring ClassName() const override { return L"TacTreeViewWnd"; }

    void RestoreWindowParams() override {}
    void PrepareSkinParams() override;
    void WndProc(TMessage& message) override;
};
