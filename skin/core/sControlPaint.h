// Painting whole controls: the graphic children of a skinned parent over its cache, a control and its
// children printed into a bitmap, the fade from a control's old image to its new one, and the disabled
// look of a control image.
#pragma once

#include "framework/Controls.h"
#include "skin/core/sConst.h"

#include <cstdint>

// The borderless window shown over a control while it fades.
class TOutputWindow : public TCustomControl {
    DECLARE_CLASS_NAME(TOutputWindow)
public:
    explicit TOutputWindow(TComponent* owner);

protected:
    void CreateParams(TCreateParams& params) override;
    void WndProc(TMessage& message) override;
};

// Paints the visible graphic children of Parent over DC at Offset, each over the parent's cache.
void PaintControls(HDC dc, TWinControl* parent, TPoint offset);
// Prints Control and its windowed children into Bitmap.
void PaintControlToBitmap(TBitmap* bitmap, TControl* control);
// Fades from the control's current screen image to its new one over Time milliseconds (at once for
// Time 7 and below).
void AnimShowControl(TControl* control, std::uint16_t time);
// How many blended frames a fade of Time milliseconds draws before its final copy (0 for Time <= 7), and
// the alpha of frame I.
int FadeStepCount(std::uint16_t time);
int FadeAlpha(std::uint16_t time, int step);
// One frame of the fade into the 32-bit Work: every pixel of the old image weighing Alpha / 256 against
// the new one.
void BlendFadeFrame(TBitmap* work, TBitmap* oldImage, TBitmap* newImage, int alpha);

// How a disabled control or button is dimmed: mixed into the background, greyed, or both.
enum TsDisabledKindItem { dkBlended, dkGrayed };
using TsDisabledKind = TSet<TsDisabledKindItem>;
// The flags PaintDisabledEffect takes for a disabled kind: 1 blends with the background, 2 greys.
std::uint8_t DisabledKindFlags(TsDisabledKind kind);

// PaintDisabledEffect with the colour of Control as the fallback.
void PaintDisabledEffect(TBitmap* bmp, std::uint8_t flags, TWinControl* control, TPoint offset, const TCacheInfo& ci);
