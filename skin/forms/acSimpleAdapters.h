// Adapters of simple standard controls that keep the control's own behaviour and replace only its
// painting: check boxes and radio buttons, scroll-bar and size-box controls, transparent panels.
#pragma once

#include "skin/forms/acSBUtils.h"

#include <string>

// An adapter that paints its whole window from a cache it prepares for each paint: the paint, the
// repaint, and the pass-on of a message that would draw by itself.
class TacCachePaintedWnd : public TacMainWnd {
public:
    using TacMainWnd::TacMainWnd;

protected:
    virtual void PrepareCache() = 0;
    void Paint(TMessage& message);
    // The control changes its state without drawing, then the adapter paints it.
    void RepaintAround(TMessage& message);
    void Repaint();
};

// Check boxes and radio buttons: the section over the parent's background, the state glyph of the
// skin's GLOBALINFO at the left, the caption beside it.
class TacCheckBoxWnd : public TacCachePaintedWnd {
public:
    using TacCachePaintedWnd::TacCachePaintedWnd;
    std::wstring ClassName() const override { return L"TacCheckBoxWnd"; }
    void WndProc(TMessage& message) override;

    // 0 unchecked, 1 checked, 2 indeterminate.
    int CheckState() const;
    // 2 pushed, 1 focused or hot, else 0.
    int GlyphState() const;
    bool IsCheckBoxStyle() const;
    // The GLOBALINFO image of the current check state; -1 when the skin lacks it.
    int GlyphMaskIndex() const;
    TSize GlyphSize() const;

protected:
    void PrepareCache() override;
};

// Push buttons: the section in the button's state over the parent's background, the caption centred.
// The steps are virtual so that bitmap buttons can add their glyph.
class TacBtnWnd : public TacCachePaintedWnd {
public:
    using TacCachePaintedWnd::TacCachePaintedWnd;
    std::wstring ClassName() const override { return L"TacBtnWnd"; }
    void WndProc(TMessage& message) override;

    // 2 pushed, 0 disabled, 1 focused, hot or default, else 0.
    int ButtonState() const;

protected:
    virtual void DrawButtonCaption();
    virtual void DrawGlyph() {}
    virtual TSize GlyphSize() const { return TSize{0, 0}; }
    virtual void DrawCaptionText(const TRect& r, UINT flags);
    virtual TRect CaptionRect();
    virtual int MaxTextWidth();
    TRect TextExtent();
    void PrepareCache() override;

private:
    void HoverCheck();
    bool MultiLine() const;
};

class TBitBtn;

// Buttons with a bitmap, its top-left pixel the transparent colour. A framework bit button places its
// glyph frame and caption together by its own Layout, Margin and Spacing; a system button
// (BS_BITMAP with BM_SETIMAGE) has its glyph right-aligned just left of the caption.
class TacBitBtnWnd : public TacBtnWnd {
public:
    using TacBtnWnd::TacBtnWnd;
    std::wstring ClassName() const override { return L"TacBitBtnWnd"; }

protected:
    void DrawGlyph() override;
    TSize GlyphSize() const override;
    TRect CaptionRect() override;
    int MaxTextWidth() override;

private:
    struct TGlyphPlaces {
        TPoint Glyph;
        TRect Text;
    };
    TBitBtn* OwnerButton() const;
    // Where the owner's glyph and caption go in the window, moved by (1, 1) when pushed.
    TGlyphPlaces PlaceGlyphAndText(const TBitBtn& button);
    void DrawOwnerGlyph(const TBitBtn& button);
    void DrawImageGlyph();
};

// Up-down controls: two halves in the section, each in its own state, with the scroll buttons' arrows.
class TacSpinWnd : public TacMainWnd {
public:
    using TacMainWnd::TacMainWnd;
    std::wstring ClassName() const override { return L"TacSpinWnd"; }
    void WndProc(TMessage& message) override;

    int LeftOffset = 0; // painting starts at this x
    bool ButtonHeld = false;
    int UpState = 0;    // 0 normal, 1 hot, 2 pressed
    int DownState = 0;

private:
    void UpdateStates();
    void PaintHalf(TBitmap* cache, const TCacheInfo& ci, const TRect& r, int state, const wchar_t* arrowSection);
    void Paint(TMessage& message);
    void Repaint();
};

// Scroll-bar and size-box controls: painted from the section, and always a bottom-right sizing grip
// to the hit test.
class TacSizerWnd : public TacCachePaintedWnd {
public:
    using TacCachePaintedWnd::TacCachePaintedWnd;
    std::wstring ClassName() const override { return L"TacSizerWnd"; }
    void WndProc(TMessage& message) override;

protected:
    void PrepareCache() override;
};

// Panels that show their parent: painted when asked to erase, and so printed before their own paint.
class TacTransPanelWnd : public TacMainWnd {
public:
    using TacMainWnd::TacMainWnd;
    std::wstring ClassName() const override { return L"TacTransPanelWnd"; }
    void WndProc(TMessage& message) override;

private:
    // The section over the parent's background into DC, whose origin is the window's top-left corner.
    void PaintBackground(HDC dc);
    void EraseInto(HDC given);
};
