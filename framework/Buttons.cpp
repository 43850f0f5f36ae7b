#include "framework/Buttons.h"

#include "framework/Classes.h"

#include <algorithm>

TBitBtn::TBitBtn(TComponent* owner) : TButton(owner), glyph_(std::make_unique<TBitmap>()) {}

TBitBtn::~TBitBtn() = default;

void TBitBtn::GlyphChanged()
{
    if (HandleAllocated())
        Invalidate();
}

void TBitBtn::SetGlyph(TBitmap* value)
{
    if (value)
        glyph_->Assign(value);
    else
        glyph_ = std::make_unique<TBitmap>();
    GlyphChanged();
}

void TBitBtn::ReadGlyphData(const std::vector<std::uint8_t>& bytes)
{
    TMemoryStream stream;
    if (!bytes.empty())
        stream.WriteBuffer(bytes.data(), static_cast<std::int32_t>(bytes.size()));
    stream.SetPosition(0);
    glyph_->LoadFromStream(&stream);
    GlyphChanged();
}

void TBitBtn::SetNumGlyphs(int value)
{
    numGlyphs_ = std::clamp(value, 1, 4);
    GlyphChanged();
}

void TBitBtn::SetLayout(TButtonLayout value)
{
    layout_ = value;
    GlyphChanged();
}

void TBitBtn::SetMargin(int value)
{
    margin_ = std::max(value, -1);
    GlyphChanged();
}

void TBitBtn::SetSpacing(int value)
{
    spacing_ = std::max(value, -1);
    GlyphChanged();
}
