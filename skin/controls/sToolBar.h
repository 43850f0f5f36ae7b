// The skinned tool bar: the framework's tool bar whose background and buttons are painted from the skin
// sections "TOOLBAR" and "TOOLBUTTON" through the bar's custom-draw events, with its own hot button on
// bars that are not flat, and the painting of the buttons' glyphs.
#pragma once

#include "framework/ComCtrls.h"
#include "skin/core/sCommonData.h"
#include "skin/core/sControlPaint.h"

#include <cstdint>
#include <memory>

class TsToolBar : public TToolBar {
    DECLARE_CLASS_NAME(TsToolBar)
public:
    explicit TsToolBar(TComponent* owner);
    ~TsToolBar() override;

    void AfterConstruction() override;
    void Loaded() override;
    // Popup menus placed on the form go to the skin's menu painter while the bar is skinned.
    void Notification(TComponent* component, TOperation operation) override;
    void WndProc(TMessage& message) override;

    TsCommonData* SkinData() const { return skinData_.get(); }
    TsDisabledKind BtnDisabledKind() const { return btnDisabledKind_; }
    void SetBtnDisabledKind(TsDisabledKind value);
    // The hot button's index, -1 for none (bars that are not flat track it themselves).
    int HotButtonNo() const { return hotButtonNo_; }
    // The button whose drop-down menu is open.
    TToolButton* OpenDropButton() const { return openDropButton_; }

    // Hands the custom-draw events to the skinned painters while skinned and takes them back after.
    void HookCustomDraw();
    // The button at a client point, if it is one that can be pressed; -1 otherwise.
    int ButtonAtPoint(TPoint p);
    void RepaintToolButton(int index);
    void PrepareCache();
    void CopyCacheToDC(TPoint src, HDC dc, const TRect& dest);

    void DrawBackground(TToolBar* sender, const TRect& r, TCustomDrawStage stage, bool& defaultDraw);
    void DrawButton(TToolBar* sender, TToolButton* button, TCustomDrawState state, TCustomDrawStage stage,
                    TTBCustomDrawFlags& flags, bool& defaultDraw);

private:
    // The values the button painter shares with its steps.
    struct TButtonPaint {
        TBitmap* Bmp;       // the work bitmap
        TColor KeyColor;    // the glyph's transparent colour
        int SkinIndex;      // of "TOOLBUTTON"
        int State;          // 0 normal, 1 hot, 2 pressed
        TToolButton* Button;
        TCacheInfo CI;      // the bar's cache at the button's place
    };
    int ArrowWidth(const TToolButton* button) const;
    TRect CaptionRect(const TButtonPaint& p);
    void CopyToolButtonGlyph(TButtonPaint& p);
    void DrawDropDownArrow(TButtonPaint& p, TCustomDrawState state);
    // The client rectangle in window coordinates.
    TRect ClientInWindow();
    bool SkinCommand(TMessage& message);
    void HandleNotify(TMessage& message);
    void MouseMoved(const TMessage& message);
    void MouseLeft();
    void DropDownClosed();
    void PaintFrame();
    void Print(TMessage& message);

    std::unique_ptr<TsCommonData> skinData_; // owned
    TsDisabledKind btnDisabledKind_{dkBlended};
    int hotButtonNo_ = -1;
    TToolButton* openDropButton_ = nullptr; // not owned: one of the bar's buttons
};

// Makes TsToolBar readable from form data.
void RegisterSkinToolBarClasses();
