// The bit button: a push button that carries a glyph of one to four state frames side by side, and how
// the glyph sits beside its caption. The system's button shows the caption; a skin adapter paints the
// glyph with it.
#pragma once

#include "framework/Graphics.h"
#include "framework/StdCtrls.h"

#include <cstdint>
#include <memory>
#include <vector>

enum TButtonLayout : std::uint8_t { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

class TBitBtn : public TButton {
    DECLARE_CLASS_NAME(TBitBtn)
public:
    explicit TBitBtn(TComponent* owner);
    ~TBitBtn() override;

    // The glyph's picture (owned); empty when the button has none.
    TBitmap* Glyph() const { return glyph_.get(); }
    void SetGlyph(TBitmap* value);
    // The glyph as form data holds it: the bytes of a BMP file.
    void ReadGlyphData(const std::vector<std::uint8_t>& bytes);
    // How many frames the glyph's width holds: normal, disabled, pressed, down (1 to 4).
    int NumGlyphs() const { return numGlyphs_; }
    void SetNumGlyphs(int value);
    TButtonLayout Layout() const { return layout_; }
    void SetLayout(TButtonLayout value);
    // Pixels between the edge and the glyph-and-caption block; -1 centres the block.
    int Margin() const { return margin_; }
    void SetMargin(int value);
    // Pixels between glyph and caption; -1 centres the caption in the room the glyph leaves.
    int Spacing() const { return spacing_; }
    void SetSpacing(int value);

private:
    void GlyphChanged();

    std::unique_ptr<TBitmap> glyph_;
    int numGlyphs_ = 1;
    TButtonLayout layout_ = blGlyphLeft;
    int margin_ = -1;
    int spacing_ = 4;
};
