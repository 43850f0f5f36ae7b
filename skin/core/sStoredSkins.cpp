#include "skin/core/sStoredSkins.h"

#include "framework/FormData.h"
#include "framework/SysUtils.h"
#include "skin/core/sSkinManager.h"

#include <cstdio>
#include <type_traits>

// ---- TsSkinImage, TsSkinPattern ----

TsSkinImage::TsSkinImage(TCollection* collection)
    : TCollectionItem(collection), image_(std::make_unique<TBitmap>())
{
}

void TsSkinImage::Assign(TPersistent* source)
{
    auto* other = dynamic_cast<TsSkinImage*>(source);
    if (!other) {
        TCollectionItem::Assign(source);
        return;
    }
    name_ = other->name_;
    image_->Assign(other->image_.get());
    SectionName = other->SectionName;
    PropertyName = other->PropertyName;
    MaskType = other->MaskType;
    ImageCount = other->ImageCount;
    Top = other->Top;
    Left = other->Left;
    Right = other->Right;
    Bottom = other->Bottom;
    BorderWidth = other->BorderWidth;
    StretchMode = other->StretchMode;
    ImgType = other->ImgType;
    WR = other->WR;
    WT = other->WT;
    WL = other->WL;
    WB = other->WB;
}

TsSkinPattern::TsSkinPattern(TCollection* collection)
    : TCollectionItem(collection), image_(std::make_unique<TJPEGImage>())
{
}

void TsSkinPattern::Assign(TPersistent* source)
{
    auto* other = dynamic_cast<TsSkinPattern*>(source);
    if (!other) {
        TCollectionItem::Assign(source);
        return;
    }
    name_ = other->name_;
    if (!other->image_->Empty())
        image_->Assign(other->image_.get());
    else
        image_ = std::make_unique<TJPEGImage>();
    SectionName = other->SectionName;
    PropertyName = other->PropertyName;
}

// ---- TsStoredSkin ----

TsStoredSkin::TsStoredSkin(TCollection* collection)
    : TCollectionItem(collection), images_(std::make_unique<TsSkinImages>(this)),
      generalData_(std::make_unique<TsSkinGenerals>(this)), patterns_(std::make_unique<TsSkinPatterns>(this)),
      masterBitmap_(std::make_unique<TBitmap>()), data_(std::make_unique<TMemoryStream>())
{
}

TsStoredSkin::~TsStoredSkin()
{
    // Images, Patterns, GeneralData, MasterBitmap and the data stream, in this order.
    images_.reset();
    patterns_.reset();
    generalData_.reset();
    masterBitmap_.reset();
    data_.reset();
}

void TsStoredSkin::ReadData(const std::vector<std::uint8_t>& bytes)
{
    data_->Clear();
    if (!bytes.empty())
        data_->WriteBuffer(bytes.data(), static_cast<std::int32_t>(bytes.size()));
    data_->SetPosition(0);
}

std::vector<std::uint8_t> TsStoredSkin::WriteData() const
{
    const auto* begin = static_cast<const std::uint8_t*>(data_->Memory());
    if (!begin)
        return {};
    return std::vector<std::uint8_t>(begin, begin + data_->Size());
}

void TsStoredSkin::Assign(TPersistent* source)
{
    auto* other = dynamic_cast<TsStoredSkin*>(source);
    if (!other) {
        TCollectionItem::Assign(source);
        return;
    }
    name_ = other->name_;
    images_->Assign(other->images_.get());
    generalData_->Assign(other->generalData_.get());
    patterns_->Assign(other->patterns_.get());
    masterBitmap_->Assign(other->masterBitmap_.get());
    ReadData(other->WriteData());
    Version = other->Version;
    Description = other->Description;
    Author = other->Author;
    Shadow1Offset = other->Shadow1Offset;
    Shadow1Color = other->Shadow1Color;
    Shadow1Blur = other->Shadow1Blur;
    Shadow1Transparency = other->Shadow1Transparency;
    BorderColor = other->BorderColor;
}

int TsStoredSkins::IndexOfSkin(const std::wstring& name) const
{
    for (int i = 0; i < Count(); ++i)
        if (Items(i)->Name() == name)
            return i;
    return -1;
}

namespace {

// A form-data string: printable ASCII between quotes, every other character as #code.
std::wstring FormString(const std::wstring& s)
{
    std::wstring out;
    bool quoted = false;
    for (wchar_t c : s) {
        const bool plain = c >= 32 && c < 127;
        if (plain != quoted) {
            out += L'\'';
            quoted = plain;
        }
        if (!plain) {
            out += L'#' + std::to_wstring(static_cast<unsigned>(c));
            continue;
        }
        if (c == L'\'')
            out += L'\'';
        out += c;
    }
    if (quoted || out.empty())
        out += quoted ? L"'" : L"''";
    return out;
}

std::wstring FormFloat(double value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.17g", value);
    std::wstring out;
    for (const char* p = text; *p; ++p)
        out += static_cast<wchar_t>(*p);
    if (out.find_first_of(L".eEn") == std::wstring::npos)
        out += L".0";
    return out;
}

} // namespace

std::wstring StoredSkinsToFormData(const TsStoredSkins* skins, const std::wstring& indent)
{
    std::wstring out = L"<";
    for (int i = 0; i < skins->Count(); ++i) {
        const TsStoredSkin* s = skins->Items(i);
        const std::wstring in = indent + L"    ";
        out += L"\r\n" + indent + L"  item\r\n";
        out += in + L"Name = " + FormString(s->Name()) + L"\r\n";
        out += in + L"Version = " + FormFloat(s->Version) + L"\r\n";
        out += in + L"Description = " + FormString(s->Description) + L"\r\n";
        out += in + L"Author = " + FormString(s->Author) + L"\r\n";
        out += in + L"Shadow1Offset = " + IntToStr(s->Shadow1Offset) + L"\r\n";
        out += in + L"Shadow1Color = " + IntToStr(s->Shadow1Color) + L"\r\n";
        out += in + L"Shadow1Blur = " + IntToStr(s->Shadow1Blur) + L"\r\n";
        out += in + L"Shadow1Transparency = " + IntToStr(s->Shadow1Transparency) + L"\r\n";
        out += in + L"BorderColor = " + IntToStr(s->BorderColor) + L"\r\n";
        // "Data" is always written, also when empty.
        out += in + L"Data = {";
        const std::vector<std::uint8_t> bytes = s->WriteData();
        for (size_t b = 0; b < bytes.size(); ++b) {
            if (b % 64 == 0 && b > 0)
                out += L"\r\n" + in + L"  ";
            out += IntToHex(bytes[b], 2);
        }
        out += L"}\r\n" + indent + L"  end";
    }
    out += L">";
    return out;
}

// ---- reading from form data ----

namespace {

template <class V>
V FormFieldValue(const TFormValue& v, TFormReader& r)
{
    if constexpr (std::is_same_v<V, std::wstring>) {
        return TClassBuilder<TPersistent>::StringValue(v, r);
    } else if constexpr (std::is_same_v<V, bool>) {
        return TClassBuilder<TPersistent>::BoolValue(v, r);
    } else if constexpr (std::is_same_v<V, double>) {
        if (v.kind == TFormValue::vkFloat)
            return v.number;
        return static_cast<double>(TClassBuilder<TPersistent>::IntValue(v, r));
    } else if constexpr (std::is_same_v<V, TsControlBevel>) {
        const int value = TClassBuilder<TPersistent>::IntValue(v, r);
        return value >= cbNone && value <= cbLoweredHard ? static_cast<TsControlBevel>(value) : cbNone;
    } else if constexpr (std::is_same_v<V, TacImgType>) {
        const int value = TClassBuilder<TPersistent>::IntValue(v, r);
        return value >= itisaBorder && value <= itisaGlyph ? static_cast<TacImgType>(value) : itisaBorder;
    } else {
        static_assert(std::is_same_v<V, std::int32_t>);
        return TClassBuilder<TPersistent>::IntValue(v, r);
    }
}

// A published field that is stored plainly.
template <class T, class V>
void FormField(TClassBuilder<T>& builder, const wchar_t* name, V T::*member)
{
    builder.Custom(name, [member](T* o, const TFormValue& v, TFormReader& r) { o->*member = FormFieldValue<V>(v, r); });
}

// A picture given as the bytes of its file.
template <class T, class TImage>
void FormPicture(TClassBuilder<T>& builder, const wchar_t* name, TImage* (T::*getter)() const)
{
    builder.Custom(name, [getter](T* o, const TFormValue& v, TFormReader& r) { ReadFormPicture((o->*getter)(), v, r); });
}

} // namespace

void ReadFormPicture(TGraphic* image, const TFormValue& v, TFormReader& r)
{
    std::vector<std::uint8_t> bytes;
    if (v.kind == TFormValue::vkBinary)
        bytes = v.bytes;
    else if (v.kind == TFormValue::vkFile)
        bytes = r.LoadFile(v.text, v.line);
    else
        r.Error(v.line, L"Binary data expected, found " + v.Describe());
    if (bytes.empty()) {
        image->Assign(nullptr);
        return;
    }
    TMemoryStream stream;
    stream.WriteBuffer(bytes.data(), static_cast<std::int32_t>(bytes.size()));
    stream.SetPosition(0);
    image->LoadFromStream(&stream);
}

void RegisterStoredSkinClasses()
{
    RegisterClass<TPersistent>(L"TPersistent", L"");
    RegisterClass<TCollectionItem>(L"TCollectionItem", L"TPersistent");

    auto image = RegisterClass<TsSkinImage>(L"TsSkinImage", L"TCollectionItem");
    image.String(L"Name", &TsSkinImage::SetName);
    FormPicture(image, L"Image", &TsSkinImage::Image);
    FormField(image, L"SectionName", &TsSkinImage::SectionName);
    FormField(image, L"PropertyName", &TsSkinImage::PropertyName);
    FormField(image, L"MaskType", &TsSkinImage::MaskType);
    FormField(image, L"ImageCount", &TsSkinImage::ImageCount);
    FormField(image, L"Top", &TsSkinImage::Top);
    FormField(image, L"Left", &TsSkinImage::Left);
    FormField(image, L"Right", &TsSkinImage::Right);
    FormField(image, L"Bottom", &TsSkinImage::Bottom);
    FormField(image, L"BorderWidth", &TsSkinImage::BorderWidth);
    FormField(image, L"StretchMode", &TsSkinImage::StretchMode);
    FormField(image, L"ImgType", &TsSkinImage::ImgType);
    FormField(image, L"WR", &TsSkinImage::WR);
    FormField(image, L"WT", &TsSkinImage::WT);
    FormField(image, L"WL", &TsSkinImage::WL);
    FormField(image, L"WB", &TsSkinImage::WB);

    auto pattern = RegisterClass<TsSkinPattern>(L"TsSkinPattern", L"TCollectionItem");
    pattern.String(L"Name", &TsSkinPattern::SetName);
    FormPicture(pattern, L"Image", &TsSkinPattern::Image);
    FormField(pattern, L"SectionName", &TsSkinPattern::SectionName);
    FormField(pattern, L"PropertyName", &TsSkinPattern::PropertyName);

    auto general = RegisterClass<TsSkinGeneral>(L"TsSkinGeneral", L"TCollectionItem");
    FormField(general, L"Name", &TsSkinGeneral::Name);
    FormField(general, L"ShowFocus", &TsSkinGeneral::ShowFocus);
    FormField(general, L"FadingEnabled", &TsSkinGeneral::FadingEnabled);
    FormField(general, L"ShadowEnabled", &TsSkinGeneral::ShadowEnabled);
    FormField(general, L"ShadowDontUse", &TsSkinGeneral::ShadowDontUse);
    FormField(general, L"ShadowTransparency", &TsSkinGeneral::ShadowTransparency);
    FormField(general, L"ShadowOffset", &TsSkinGeneral::ShadowOffset);
    FormField(general, L"FadingIntervalIn", &TsSkinGeneral::FadingIntervalIn);
    FormField(general, L"HotImagePercent", &TsSkinGeneral::HotImagePercent);
    FormField(general, L"Transparency", &TsSkinGeneral::Transparency);
    FormField(general, L"ShadowBlur", &TsSkinGeneral::ShadowBlur);
    FormField(general, L"FadingIntervalOut", &TsSkinGeneral::FadingIntervalOut);
    FormField(general, L"HotTransparency", &TsSkinGeneral::HotTransparency);
    FormField(general, L"FadingIterations", &TsSkinGeneral::FadingIterations);
    FormField(general, L"HotFontColor", &TsSkinGeneral::HotFontColor);
    FormField(general, L"HotGradientPercent", &TsSkinGeneral::HotGradientPercent);
    FormField(general, L"GradientPercent", &TsSkinGeneral::GradientPercent);
    FormField(general, L"ImagePercent", &TsSkinGeneral::ImagePercent);
    FormField(general, L"HotGradientData", &TsSkinGeneral::HotGradientData);
    FormField(general, L"GradientData", &TsSkinGeneral::GradientData);
    FormField(general, L"ParentClass", &TsSkinGeneral::ParentClass);
    FormField(general, L"BorderColor2", &TsSkinGeneral::BorderColor2);
    FormField(general, L"HotColor", &TsSkinGeneral::HotColor);
    FormField(general, L"ShadowColor", &TsSkinGeneral::ShadowColor);
    FormField(general, L"Color", &TsSkinGeneral::Color);
    FormField(general, L"BorderColor1", &TsSkinGeneral::BorderColor1);
    FormField(general, L"Bevel", &TsSkinGeneral::Bevel);
    FormField(general, L"HotBevel", &TsSkinGeneral::HotBevel);
    FormField(general, L"SectionName", &TsSkinGeneral::SectionName);
    FormField(general, L"FontColor", &TsSkinGeneral::FontColor);
    FormField(general, L"ReservedBoolean", &TsSkinGeneral::ReservedBoolean);

    auto stored = RegisterClass<TsStoredSkin>(L"TsStoredSkin", L"TCollectionItem");
    stored.Object(L"Images", &TsStoredSkin::Images)
        .String(L"Name", &TsStoredSkin::SetName)
        .Object(L"GeneralData", &TsStoredSkin::GeneralData)
        .Object(L"Patterns", &TsStoredSkin::Patterns)
        .Binary(L"Data", &TsStoredSkin::ReadData);
    FormPicture(stored, L"MasterBitmap", &TsStoredSkin::MasterBitmap);
    FormField(stored, L"Version", &TsStoredSkin::Version);
    FormField(stored, L"Description", &TsStoredSkin::Description);
    FormField(stored, L"Author", &TsStoredSkin::Author);
    FormField(stored, L"Shadow1Offset", &TsStoredSkin::Shadow1Offset);
    FormField(stored, L"Shadow1Color", &TsStoredSkin::Shadow1Color);
    FormField(stored, L"Shadow1Blur", &TsStoredSkin::Shadow1Blur);
    FormField(stored, L"Shadow1Transparency", &TsStoredSkin::Shadow1Transparency);
    FormField(stored, L"BorderColor", &TsStoredSkin::BorderColor);

    // The animation settings, read as "AnimEffects.DialogShow.Time", "AnimEffects.Buttons.Events".
    RegisterClass<TacFormAnimation>(L"TacFormAnimation", L"TPersistent")
        .Custom(L"Time",
                [](TacFormAnimation* a, const TFormValue& v, TFormReader& r) {
                    const int value = TClassBuilder<TacFormAnimation>::IntValue(v, r);
                    if (value < 0 || value > 0xFFFF)
                        r.Error(v.line, L"Integer out of range");
                    a->Time = static_cast<std::uint16_t>(value);
                })
        .Custom(L"Active", [](TacFormAnimation* a, const TFormValue& v, TFormReader& r) {
            a->Active = TClassBuilder<TacFormAnimation>::BoolValue(v, r);
        });
    RegisterClass<TacBtnEffects>(L"TacBtnEffects", L"TPersistent")
        .Set(L"Events", &TacBtnEffects::SetEvents,
             std::vector<std::pair<std::wstring, TacBtnEvent>>{{L"beMouseEnter", beMouseEnter},
                                                                {L"beMouseLeave", beMouseLeave},
                                                                {L"beMouseDown", beMouseDown},
                                                                {L"beMouseUp", beMouseUp}});
    RegisterClass<TacAnimEffects>(L"TacAnimEffects", L"TPersistent")
        .Object(L"Buttons", &TacAnimEffects::Buttons)
        .Object(L"DialogShow", &TacAnimEffects::DialogShow)
        .Object(L"FormShow", &TacAnimEffects::FormShow)
        .Object(L"SkinChanging", &TacAnimEffects::SkinChanging)
        .Object(L"PageChange", &TacAnimEffects::PageChange);
}

// ---- animation settings ----

void TacFormAnimation::Assign(TPersistent* source)
{
    auto* other = dynamic_cast<TacFormAnimation*>(source);
    if (!other) {
        TPersistent::Assign(source);
        return;
    }
    Time = other->Time;
    Active = other->Active;
}

TacBtnEvents& ButtonEventsOfDefaultManager()
{
    static TacBtnEvents events{beMouseEnter, beMouseLeave, beMouseDown, beMouseUp};
    return events;
}

TacBtnEffects::TacBtnEffects() : events_{beMouseEnter, beMouseLeave, beMouseDown, beMouseUp} {}

void TacBtnEffects::SetEvents(TacBtnEvents value)
{
    if (value == events_)
        return;
    events_ = value;
    if (Manager && Manager == DefaultManager())
        ButtonEventsOfDefaultManager() = value;
}

TacAnimEffects::TacAnimEffects()
    : buttons_(std::make_unique<TacBtnEffects>()), dialogShow_(std::make_unique<TacDialogShow>()),
      formShow_(std::make_unique<TacFormShow>()), skinChanging_(std::make_unique<TacSkinChanging>()),
      pageChange_(std::make_unique<TacPageChange>())
{
}

void TacAnimEffects::SetManager(TsSkinManager* manager)
{
    manager_ = manager;
    buttons_->Manager = manager;
}
