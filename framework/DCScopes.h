// Owned GDI handles and the drawing scopes over a device context: a saved DC, a selected object, a
// narrowed clip, a DC the system lends (the screen's or a window's) and a memory DC.
#pragma once

#include "framework/WinApi.h"

#include <exception>

// An owned GDI object: deleted when the owner goes; move-only.
template <class H>
class GdiObject {
public:
    GdiObject() = default;
    explicit GdiObject(H handle) : handle_(handle) {}
    GdiObject(GdiObject&& other) noexcept : handle_(other.Release()) {}
    GdiObject& operator=(GdiObject&& other) noexcept
    {
        Reset(other.Release());
        return *this;
    }
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;
    ~GdiObject() { Reset(); }

    H Get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    H Release()
    {
        H h = handle_;
        handle_ = nullptr;
        return h;
    }
    void Reset(H handle = nullptr)
    {
        if (handle_ && handle_ != handle)
            DeleteObject(handle_);
        handle_ = handle;
    }

private:
    H handle_ = nullptr;
};

// SaveDC for one scope: whatever the scope selects, clips or moves is undone when it ends.
class TSavedDC {
public:
    explicit TSavedDC(HDC dc) : dc_(dc), saved_(SaveDC(dc)) {}
    ~TSavedDC() { RestoreDC(dc_, saved_); }
    TSavedDC(const TSavedDC&) = delete;
    TSavedDC& operator=(const TSavedDC&) = delete;

private:
    HDC dc_; // borrowed
    int saved_;
};

// Selects an object into a DC for one scope and puts the DC's own object back when it ends; no object
// leaves the DC as it is.
class TSelectedObject {
public:
    TSelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), old_(object ? SelectObject(dc, object) : nullptr) {}
    ~TSelectedObject()
    {
        if (old_)
            SelectObject(dc_, old_);
    }
    TSelectedObject(const TSelectedObject&) = delete;
    TSelectedObject& operator=(const TSelectedObject&) = delete;

private:
    HDC dc_;      // borrowed
    HGDIOBJ old_; // borrowed: the DC's object before ours
};

// Narrows a DC's clipping to a rectangle (or to all but a rectangle) for one scope and gives the old
// clipping back. Only the clip is restored: objects selected meanwhile stay, so a canvas that selected
// them stays in step.
enum class TClipTo { Inside, Outside };

class TClipScope {
public:
    TClipScope(HDC dc, int left, int top, int right, int bottom, TClipTo to = TClipTo::Inside)
        : dc_(dc), saved_(CreateRectRgn(0, 0, 0, 0))
    {
        hadClip_ = GetClipRgn(dc_, saved_.Get()) == 1;
        if (to == TClipTo::Inside)
            IntersectClipRect(dc_, left, top, right, bottom);
        else
            ExcludeClipRect(dc_, left, top, right, bottom);
    }
    template <class R>
    TClipScope(HDC dc, const R& r, TClipTo to = TClipTo::Inside) : TClipScope(dc, r.Left, r.Top, r.Right, r.Bottom, to)
    {
    }
    ~TClipScope() { SelectClipRgn(dc_, hadClip_ ? saved_.Get() : nullptr); }
    TClipScope(const TClipScope&) = delete;
    TClipScope& operator=(const TClipScope&) = delete;

private:
    HDC dc_;                // borrowed
    GdiObject<HRGN> saved_; // owned: the clip before ours
    bool hadClip_ = false;
};

// A DC the system lends for one scope and takes back when it ends: the screen's (no window), a window's
// client area, or with TWindowDC its whole window. A DC the caller already holds is borrowed as it is.
class TScreenDC {
public:
    explicit TScreenDC(HWND wnd = nullptr, HDC given = nullptr)
        : wnd_(wnd), dc_(given ? given : GetDC(wnd)), own_(!given)
    {
    }
    ~TScreenDC()
    {
        if (own_ && dc_)
            ReleaseDC(wnd_, dc_);
    }
    TScreenDC(const TScreenDC&) = delete;
    TScreenDC& operator=(const TScreenDC&) = delete;
    HDC Get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

protected:
    struct WholeWindow {};
    TScreenDC(WholeWindow, HWND wnd, HDC given) : wnd_(wnd), dc_(given ? given : GetWindowDC(wnd)), own_(!given) {}

private:
    HWND wnd_;
    HDC dc_; // owned (released) unless given
    bool own_;
};

// The DC of a whole window, frame included (GetWindowDC), unless the message brought one.
class TWindowDC : public TScreenDC {
public:
    explicit TWindowDC(HWND wnd, HDC given = nullptr) : TScreenDC(WholeWindow{}, wnd, given) {}
};

// A memory DC compatible with another DC (nullptr: the screen), holding a bitmap of its own of the
// given size, a borrowed one, or whatever Select puts in; the DC's own bitmap goes back before the DC
// goes. BlitOnExit makes the end of the scope copy the bitmap to a target: the double buffer's final
// blit, skipped while an exception unwinds.
class TMemoryDC {
public:
    explicit TMemoryDC(HDC like = nullptr) : dc_(CreateCompatibleDC(like)) {}
    // The bitmap is made like `like`, so a window's DC gives a colour bitmap.
    TMemoryDC(HDC like, int width, int height)
        : dc_(CreateCompatibleDC(like)), bitmap_(CreateCompatibleBitmap(like, width, height)), width_(width),
          height_(height)
    {
        if (bitmap_)
            Select(bitmap_.Get());
    }
    explicit TMemoryDC(HBITMAP borrowed, HDC like = nullptr) : dc_(CreateCompatibleDC(like)) { Select(borrowed); }
    ~TMemoryDC()
    {
        if (!dc_)
            return;
        if (target_ && old_ && std::uncaught_exceptions() == exceptions_)
            BitBlt(target_, targetX_, targetY_, width_, height_, dc_, sourceX_, sourceY_, SRCCOPY);
        if (old_)
            SelectObject(dc_, old_);
        DeleteDC(dc_);
    }
    TMemoryDC(const TMemoryDC&) = delete;
    TMemoryDC& operator=(const TMemoryDC&) = delete;

    HDC Get() const { return dc_; }
    // False when the system had no DC or no bitmap to give.
    explicit operator bool() const { return dc_ != nullptr && old_ != nullptr; }
    // Selects a borrowed object; the DC's own is remembered the first time and put back at the end.
    void Select(HGDIOBJ object)
    {
        if (!dc_ || !object)
            return;
        HGDIOBJ previous = SelectObject(dc_, object);
        if (!old_)
            old_ = previous;
    }
    // The scope's end copies the bitmap (from the logical point source) to target at (x, y).
    void BlitOnExit(HDC target, int x, int y, POINT source = {0, 0})
    {
        target_ = target;
        targetX_ = x;
        targetY_ = y;
        sourceX_ = source.x;
        sourceY_ = source.y;
        exceptions_ = std::uncaught_exceptions();
    }

private:
    HDC dc_;                   // owned
    GdiObject<HBITMAP> bitmap_; // owned; empty when the bitmap is borrowed
    HGDIOBJ old_ = nullptr;    // borrowed: restored before the bitmap goes
    int width_ = 0;
    int height_ = 0;
    HDC target_ = nullptr; // borrowed
    int targetX_ = 0;
    int targetY_ = 0;
    int sourceX_ = 0;
    int sourceY_ = 0;
    int exceptions_ = 0;
};

// BeginPaint and EndPaint for one scope, only when the screen is painted. A paint into a DC that was
// given (a print, or a form painting itself into a bitmap) is no paint of the screen: BeginPaint would
// validate the repaint the window still owes the screen.
class TPaintScope {
public:
    TPaintScope(HWND wnd, bool screen) : wnd_(screen ? wnd : nullptr), dc_(wnd_ ? BeginPaint(wnd_, &ps_) : nullptr) {}
    ~TPaintScope()
    {
        if (wnd_)
            EndPaint(wnd_, &ps_);
    }
    TPaintScope(const TPaintScope&) = delete;
    TPaintScope& operator=(const TPaintScope&) = delete;
    // The screen's DC while the screen is painted, else nil.
    HDC DC() const { return dc_; }

private:
    HWND wnd_; // not owned; nil when no paint was begun
    PAINTSTRUCT ps_{};
    HDC dc_; // lent by BeginPaint
};
