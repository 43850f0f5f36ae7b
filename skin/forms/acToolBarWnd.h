// The adapter of standard tool bars ("ToolbarWindow32") that nobody skins otherwise, such as the ones
// in the open-picture dialog: the bar's section as background, every button from "TOOLBUTTON" with its
// image and text.
#pragma once

#include "skin/forms/acSBUtils.h"

#include <commctrl.h>

#include <string>

class TacToolBarWnd : public TacMainWnd {
public:
    using TacMainWnd::TacMainWnd;
    std::wstring ClassName() const override { return L"TacToolBarWnd"; }
    void WndProc(TMessage& message) override;

    TRect ClientRect;    // client rectangle at the last cache preparation
    int BorderWidth = 0; // (window height - client height) / 2

    // 0 disabled, 2 pressed, 1 under the cursor, else 0.
    int ButtonState(int index, const TRect& r) const;

private:
    void PrepareCache();
    void Paint(TMessage& message);
    void PaintButton(TBitmap* bmp, int index);
    void PaintButtonImage(TBitmap* bmp, const TBBUTTON& button, const TRect& r, int state);
    void PaintButtonText(TBitmap* bmp, const TBBUTTON& button, const TRect& r, int state);
};
