// Adapters of simple standard controls that keep the control's own behaviour and replace only its
// painting: check boxes and radio buttons, scroll-bar and size-box controls, transparent panels.
#pragma once

#include "skin/forms/acSBUtils.h"

#include <string>

// Check boxes and radio buttons: the section over the parent's background, the state glyph of the
// skin's GLOBALINFO at the left, the caption beside it.
class TacCheckBoxWnd : public TacMainWnd {
public:
    using TacMainWnd::TacMainWnd;
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

private:
    void PrepareCache();
    void Paint(TMessage& message);
    // The control changes its state without drawing, then the adapter paints it.
    void RepaintAround(TMessage& message);
    void Repaint();
};

// Scroll-bar and size-box controls: painted from the section, and always a bottom-right sizing grip
// to the hit test.
class TacSizerWnd : public TacMainWnd {
public:
    using TacMainWnd::TacMainWnd;
    std::wstring ClassName() const override { return L"TacSizerWnd"; }
    void WndProc(TMessage& message) override;
};

// Panels that show their parent: painted when asked to erase.
class TacTransPanelWnd : public TacMainWnd {
public:
    using TacMainWnd::TacMainWnd;
    std::wstring ClassName() const override { return L"TacTransPanelWnd"; }
    void WndProc(TMessage& message) override;
};
