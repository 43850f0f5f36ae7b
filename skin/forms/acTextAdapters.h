// Adapters of the controls that show text or a picture over their parent: static texts, static icons,
// link windows and group boxes. They paint the section over the parent's background and draw the
// content themselves, keeping the control's own behaviour.
#pragma once

#include "skin/forms/acSBUtils.h"

#include <string>

// Static text: the section, then the caption in the system's message font.
class TacStaticWnd : public TacMainWnd {
public:
    using TacMainWnd::TacMainWnd;
    std::wstring ClassName() const override { return L"TacStaticWnd"; }
    void WndProc(TMessage& message) override;

protected:
    // What the control shows over the section, drawn into the cache.
    virtual void PaintContent();
    void Repaint();

private:
    void Paint(TMessage& message);
    void RepaintAround(TMessage& message);
};

// Static icons: the section, then the control's icon at the top left.
class TacIconWnd : public TacStaticWnd {
public:
    using TacStaticWnd::TacStaticWnd;
    std::wstring ClassName() const override { return L"TacIconWnd"; }

protected:
    void PaintContent() override;
};

// Link windows paint themselves; the adapter only answers the skin's questions about them.
class TacLinkWnd : public TacStaticWnd {
public:
    using TacStaticWnd::TacStaticWnd;
    std::wstring ClassName() const override { return L"TacLinkWnd"; }
    void WndProc(TMessage& message) override;

protected:
    void PaintContent() override {}
};

// Group boxes: the parent's background, the section below half the caption band, the caption in it.
class TacGroupBoxWnd : public TacMainWnd {
public:
    using TacMainWnd::TacMainWnd;
    std::wstring ClassName() const override { return L"TacGroupBoxWnd"; }
    void WndProc(TMessage& message) override;

    // The caption band at the top: its text area from x 6, and the band's height.
    TRect CaptionBand();

private:
    void PrepareCache();
    void PaintTo(HDC dc);
    // Given DC, or the window's DC when none is given.
    void PaintFrameOnly(HDC given);
    void ChangeSilently(TMessage& message);
};
