// Drawing scopes over a borrowed device context: state saved for one scope.
#pragma once

#include "framework/WinApi.h"

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
