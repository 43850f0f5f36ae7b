// Skins stored in the manager (travelling in form data: a packed container in "Data", or the skin spelled
// out as collections of sections, images and JPEG patterns) and the animation settings of skin changes.
#pragma once

#include "framework/Classes.h"
#include "framework/FormData.h"
#include "framework/Graphics.h"
#include "framework/Jpeg.h"
#include "skin/core/sConst.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class TsSkinManager;

// The published twin of a skin image (TsMaskData).
class TsSkinImage : public TCollectionItem {
    DECLARE_CLASS_NAME(TsSkinImage)
public:
    explicit TsSkinImage(TCollection* collection);
    const std::wstring& Name() const { return name_; }
    void SetName(const std::wstring& value)
    {
        if (value != name_)
            name_ = value;
    }
    TBitmap* Image() const { return image_.get(); }
    void SetImage(TBitmap* value) { image_->Assign(value); }
    void Assign(TPersistent* source) override;

    std::wstring SectionName;
    std::wstring PropertyName;
    std::int32_t MaskType = 0;
    std::int32_t ImageCount = 0;
    std::int32_t Top = 0, Left = 0, Right = 0, Bottom = 0;
    std::int32_t BorderWidth = 0;
    std::int32_t StretchMode = 0;
    TacImgType ImgType = itisaBorder;
    std::int32_t WR = 0, WT = 0, WL = 0, WB = 0;

private:
    std::wstring name_;
    std::unique_ptr<TBitmap> image_; // owned, made empty
};

// A JPEG texture of a stored skin.
class TsSkinPattern : public TCollectionItem {
    DECLARE_CLASS_NAME(TsSkinPattern)
public:
    explicit TsSkinPattern(TCollection* collection);
    const std::wstring& Name() const { return name_; }
    void SetName(const std::wstring& value)
    {
        if (value != name_)
            name_ = value;
    }
    TJPEGImage* Image() const { return image_.get(); }
    void SetImage(TJPEGImage* value) { image_->Assign(value); }
    void Assign(TPersistent* source) override;

    std::wstring SectionName;
    std::wstring PropertyName;

private:
    std::wstring name_;
    std::unique_ptr<TJPEGImage> image_; // owned, made empty
};

// One section of a stored skin. Its Assign is the inherited one: copying a section raises the
// assignment error, so a non-empty GeneralData cannot be assigned.
class TsSkinGeneral : public TCollectionItem {
    DECLARE_CLASS_NAME(TsSkinGeneral)
public:
    explicit TsSkinGeneral(TCollection* collection) : TCollectionItem(collection) {}

    std::wstring Name;
    bool ShowFocus = false, FadingEnabled = false, ShadowEnabled = false, ShadowDontUse = false;
    std::int32_t ShadowTransparency = 0, ShadowOffset = 0, FadingIntervalIn = 0, HotImagePercent = 0;
    std::int32_t Transparency = 0, ShadowBlur = 0, FadingIntervalOut = 0, HotTransparency = 0;
    std::int32_t FadingIterations = 0;
    std::wstring HotFontColor; // "colour left top right bottom"
    std::int32_t HotGradientPercent = 0, GradientPercent = 0, ImagePercent = 0;
    std::wstring HotGradientData, GradientData, ParentClass;
    TColor BorderColor2 = 0, HotColor = 0, ShadowColor = 0, Color = 0, BorderColor1 = 0;
    TsControlBevel Bevel = cbNone, HotBevel = cbNone;
    std::wstring SectionName;
    std::wstring FontColor; // "colour left top right bottom"
    bool ReservedBoolean = false;
};

// A collection whose items are of class T and whose owner is the object that made it.
template <class T>
class TsOwnedCollection : public TCollection {
public:
    explicit TsOwnedCollection(TPersistent* owner) : TCollection(&MakeCollectionItem<T>, owner) {}
    T* Add() { return static_cast<T*>(TCollection::Add()); }
    T* Items(int index) const { return static_cast<T*>(TCollection::Items(index)); }
};

class TsSkinImages : public TsOwnedCollection<TsSkinImage> {
    DECLARE_CLASS_NAME(TsSkinImages)
public:
    using TsOwnedCollection::TsOwnedCollection;
};

class TsSkinPatterns : public TsOwnedCollection<TsSkinPattern> {
    DECLARE_CLASS_NAME(TsSkinPatterns)
public:
    using TsOwnedCollection::TsOwnedCollection;
};

class TsSkinGenerals : public TsOwnedCollection<TsSkinGeneral> {
    DECLARE_CLASS_NAME(TsSkinGenerals)
public:
    using TsOwnedCollection::TsOwnedCollection;
};

// A stored skin; Data holds a packed container, empty when the skin is spelled out in the collections.
class TsStoredSkin : public TCollectionItem {
    DECLARE_CLASS_NAME(TsStoredSkin)
public:
    explicit TsStoredSkin(TCollection* collection);
    ~TsStoredSkin() override;

    const std::wstring& Name() const { return name_; }
    void SetName(const std::wstring& value)
    {
        if (value != name_)
            name_ = value;
    }
    TsSkinImages* Images() const { return images_.get(); }
    TsSkinGenerals* GeneralData() const { return generalData_.get(); }
    TsSkinPatterns* Patterns() const { return patterns_.get(); }
    TBitmap* MasterBitmap() const { return masterBitmap_.get(); }
    void SetImages(TsSkinImages* value) { images_->Assign(value); }
    void SetGeneralData(TsSkinGenerals* value) { generalData_->Assign(value); }
    void SetPatterns(TsSkinPatterns* value) { patterns_->Assign(value); }
    void SetMasterBitmap(TBitmap* value) { masterBitmap_->Assign(value); }

    TMemoryStream* Data() const { return data_.get(); }
    // The "Data" property of form data: read replaces the stream's content, write gives it whole.
    void ReadData(const std::vector<std::uint8_t>& bytes);
    std::vector<std::uint8_t> WriteData() const;

    void Assign(TPersistent* source) override;

    double Version = 0;
    std::wstring Description;
    std::wstring Author;
    std::int32_t Shadow1Offset = 0;
    TColor Shadow1Color = 0;
    std::int32_t Shadow1Blur = -1;
    std::int32_t Shadow1Transparency = 0;
    TColor BorderColor = clFuchsia;

private:
    std::unique_ptr<TsSkinImages> images_;
    std::wstring name_;
    std::unique_ptr<TsSkinGenerals> generalData_;
    std::unique_ptr<TsSkinPatterns> patterns_;
    std::unique_ptr<TBitmap> masterBitmap_;
    std::unique_ptr<TMemoryStream> data_;
};

class TsStoredSkins : public TsOwnedCollection<TsStoredSkin> {
    DECLARE_CLASS_NAME(TsStoredSkins)
public:
    using TsOwnedCollection::TsOwnedCollection;
    // The first item whose Name equals Name exactly; -1 when none.
    int IndexOfSkin(const std::wstring& name) const;
};

// Writes the stored skins as the form-data value of a collection property ("< item ... end >"): names,
// global values and the "Data" bytes, so that reading it back gives the same containers byte for byte.
std::wstring StoredSkinsToFormData(const TsStoredSkins* skins, const std::wstring& indent);

// Reads a picture property given as the bytes of its file (inline or a file compiled into the program);
// an empty value empties the picture.
void ReadFormPicture(TGraphic* image, const TFormValue& value, TFormReader& reader);

// Makes the stored-skin classes readable from form data (images and patterns as binary picture files).
void RegisterStoredSkinClasses();

// ---- animation settings ----

class TacFormAnimation : public TPersistent {
    DECLARE_CLASS_NAME(TacFormAnimation)
public:
    TacFormAnimation() = default;
    std::uint16_t Time = 0; // milliseconds
    bool Active = true;
    void Assign(TPersistent* source) override;
};

class TacFormShow : public TacFormAnimation {
    DECLARE_CLASS_NAME(TacFormShow)
};
class TacPageChange : public TacFormAnimation {
    DECLARE_CLASS_NAME(TacPageChange)
};
class TacDialogShow : public TacFormAnimation {
    DECLARE_CLASS_NAME(TacDialogShow)
public:
    TacDialogShow() { Time = 100; }
};
class TacSkinChanging : public TacFormAnimation {
    DECLARE_CLASS_NAME(TacSkinChanging)
public:
    TacSkinChanging() { Time = 100; }
};

enum TacBtnEvent { beMouseEnter, beMouseLeave, beMouseDown, beMouseUp };
using TacBtnEvents = TSet<TacBtnEvent>;

// The button events that animate, for every control of the default manager.
TacBtnEvents& ButtonEventsOfDefaultManager();

class TacBtnEffects : public TPersistent {
    DECLARE_CLASS_NAME(TacBtnEffects)
public:
    TacBtnEffects();
    TacBtnEvents Events() const { return ButtonEventsOfDefaultManager(); }
    // Stored here when it differs; copied to the unit-level set only when Manager is the default manager.
    void SetEvents(TacBtnEvents value);
    TacBtnEvents OwnEvents() const { return events_; }
    TsSkinManager* Manager = nullptr; // not owned

private:
    TacBtnEvents events_;
};

class TacAnimEffects : public TPersistent {
    DECLARE_CLASS_NAME(TacAnimEffects)
public:
    TacAnimEffects();
    TacBtnEffects* Buttons() const { return buttons_.get(); }
    TacDialogShow* DialogShow() const { return dialogShow_.get(); }
    TacFormShow* FormShow() const { return formShow_.get(); }
    TacSkinChanging* SkinChanging() const { return skinChanging_.get(); }
    TacPageChange* PageChange() const { return pageChange_.get(); }
    // Also the manager of Buttons.
    void SetManager(TsSkinManager* manager);
    TsSkinManager* Manager() const { return manager_; }

private:
    std::unique_ptr<TacBtnEffects> buttons_;
    std::unique_ptr<TacDialogShow> dialogShow_;
    std::unique_ptr<TacFormShow> formShow_;
    std::unique_ptr<TacSkinChanging> skinChanging_;
    std::unique_ptr<TacPageChange> pageChange_;
    TsSkinManager* manager_ = nullptr; // not owned
};
