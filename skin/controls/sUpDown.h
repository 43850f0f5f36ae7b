// The skinned up-down control: the standard arrows painted from the default manager's scroll-button
// sections, with their own hover and pressed look and a disabled look for an arrow at its limit.
#pragma once

#include "framework/ComCtrls.h"
#include "skin/core/sControlPaint.h"

#include <cstdint>
#include <string>

class TsSkinManager;

class TsUpDown : public TCustomUpDown {
    DECLARE_CLASS_NAME(TsUpDown)
public:
    explicit TsUpDown(TComponent* owner);

    // 0 none, 1 / 2 the first / second arrow hot, 3 / 4 the first / second arrow pressed.
    std::uint8_t DrawingState() const { return drawingState_; }
    void SetDrawingState(std::uint8_t value);
    bool Pressed() const { return pressed_; }
    bool ShowInaccessibility() const { return showInaccessibility_; }
    void SetShowInaccessibility(bool value);
    TsDisabledKind DisabledKind() const { return disabledKind_; }
    void SetDisabledKind(TsDisabledKind value);
    const std::wstring& ButtonSkin() const { return buttonSkin_; }
    void SetButtonSkin(const std::wstring& value);

    // True when the arrows are painted from the skin: a default manager with a loaded skin that has
    // both scroll-button sections of the orientation.
    bool SkinPainted() const;
    // The first arrow: (0, 0, Width, Height div 2) upright, (0, 0, Width div 2, Height) lying.
    TRect FirstHalf() const;

    void WndProc(TMessage& message) override;

protected:
    // Button numbers: 0 top, 1 left, 2 bottom, 3 right.
    void PaintButton(TBitmap* bmp, int n);

private:
    void WMPaint(TMessage& m);
    void WMNCHitTest(TMessage& m);
    void WMLButtonDown(TMessage& m);
    void WMLButtonUp(TMessage& m);
    void SkinCommand(TMessage& m);
    // Position has reached the limit of the first (or second) arrow.
    bool FirstAtLimit();
    bool SecondAtLimit();
    bool AtLimit(int n);
    void PressHotArrow();

    bool pressed_ = false;
    std::uint8_t drawingState_ = 0;
    bool showInaccessibility_ = true;
    TsDisabledKind disabledKind_{dkBlended};
    std::wstring buttonSkin_;
};

// Makes TsUpDown readable from form data.
void RegisterUpDownClasses();
