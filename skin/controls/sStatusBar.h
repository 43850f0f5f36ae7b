// The skinned status bar: the framework's status bar painted from the skin (section "STATUSBAR" by
// default): its background and frame, each panel from "STATUSPANELMASK" or between "DIVIDER" bars,
// the size grip from "GRIPIMAGE", and the texts in the section's colours.
#pragma once

#include "framework/ComCtrls.h"
#include "skin/core/sCommonData.h"

#include <memory>
#include <string>

class TsStatusBar : public TStatusBar {
    DECLARE_CLASS_NAME(TsStatusBar)
public:
    explicit TsStatusBar(TComponent* owner);
    ~TsStatusBar() override;

    void AfterConstruction() override;
    void Loaded() override;
    void WndProc(TMessage& message) override;

    TsCommonData* SkinData() const { return skinData_.get(); }
    // The bar has no frame of its own: the skinned frame stripes have no width.
    int BorderWidth() const { return 0; }

    // Brings the cache bitmap up to date when its look changed or the bar is partly hidden.
    void PrepareCache();
    // Paints the bar from its cache into DC, or into its own window DC when DC is 0.
    void PaintSkinned(HDC dc);
    // Where panel Index starts and ends in the bar (each panel is one pixel wider than its Width;
    // the last one ends at the bar's right edge).
    int PanelLeft(int index) const;
    int PanelRight(int index) const;

protected:
    void PaintWindow(HDC dc) override;

private:
    void DrawPanels();
    void DrawPanel(TStatusPanel* panel, const std::wstring& text, const TRect& r);
    void DrawDivider(const TRect& r);
    void DrawPanelText(const std::wstring& text, const TRect& r, UINT flags);
    void PaintGrip();
    // The cache to DC around the windowed children, then the windowless ones over it.
    void CopyCache(HDC dc);
    bool SkinCommand(TMessage& message);
    // The background mode of the bar's canvas: transparent over a skin, opaque without (0: as the
    // drawing surface has it).
    void SetCanvasBkMode(int mode);
    void EraseBackground(TMessage& message);
    void PaintFrame();
    void Print(TMessage& message);

    std::unique_ptr<TsCommonData> skinData_; // owned
    int canvasBkMode_ = 0;
};

// Makes TsStatusBar readable from form data.
void RegisterSkinStatusBarClasses();
