#include "skin/core/sSkinReader.h"

#include "framework/Graphics.h"
#include "framework/IniFiles.h"
#include "framework/Jpeg.h"
#include "framework/SysUtils.h"
#include "skin/core/acSkinPack.h"
#include "skin/core/acntUtils.h"
#include "skin/core/sSkinInherited.h"
#include "skin/core/sSkinManager.h"
#include "skin/core/sSkinValues.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace {

const wchar_t* const kGlobalInfo = L"GLOBALINFO";

// ---- image values ----

// Masks made for the manager, whose lint hears of every value whose counts had to be clamped.
TacMaskMaker MakerOf(TsSkinManager* sm)
{
    TacMaskMaker maker;
    maker.Manager = sm;
    if (sm->OnClampedImage)
        maker.Clamped = [sm](const TsMaskData& m, const std::wstring& value) {
            sm->OnClampedImage(m.ClassName, m.PropertyName, value);
        };
    return maker;
}

void ReportUnresolved(TsSkinManager* sm, const std::wstring& section, const std::wstring& key,
                      const std::wstring& value)
{
    if (sm->OnUnresolvedImage)
        sm->OnUnresolvedImage(section, key, value);
}

// Every key of every indexed section, in the text's order, to Visit(section, key, value or null).
template <class TVisit>
void ForEachKey(const TSkinTextIndex& text, TVisit visit)
{
    for (const TSkinTextIndex::Section& section : text.Sections())
        for (const TSkinTextIndex::Line& line : section.lines)
            visit(section.name, line.key, line.value);
}


// The index the manager made for the whole load, or one made here for a reader called alone.
class SourceText {
public:
    explicit SourceText(const TacSkinSource& source)
        : own_(source.Text ? nullptr : std::make_unique<TSkinTextIndex>(*source.Ini)),
          text_(source.Text ? source.Text : own_.get())
    {
    }
    const TSkinTextIndex& operator*() const { return *text_; }

private:
    std::unique_ptr<TSkinTextIndex> own_;
    const TSkinTextIndex* text_;
};

// Every key of every section of an INI of the common sections, to Visit(section, key).
template <class TVisit>
void ForEachKey(TMemIniFile& ini, TVisit visit)
{
    TStringList sections, keys;
    ini.ReadSections(&sections);
    for (int s = 0; s < sections.Count(); ++s) {
        const std::wstring section = sections.Get(s);
        ini.ReadSection(section, &keys);
        for (int k = 0; k < keys.Count(); ++k)
            visit(section, keys.Get(k));
    }
}

// The master bitmap's key names no mask or pattern.
bool IsMasterBitmapKey(const std::wstring& section, std::wstring_view key)
{
    return IsUpper(section, kGlobalInfo) && IsUpper(key, L"MASTERBITMAP");
}

// ---- image files and entries ----

// A file name of the skin text: relative to the skin folder unless it holds a drive (":").
std::wstring SkinFilePath(const TsSkinManager* sm, const std::wstring& name)
{
    return name.find(L':') != std::wstring::npos ? name : sm->SkinData()->SkinPath + name;
}

// The picture of a plain BMP entry read straight into a bitmap: the last expected request takes the
// entry's own bitmap, any before it a copy of its pixels.
std::unique_ptr<TBitmap> TakeEntryBitmap(TacImageItem& item)
{
    if (item.PendingUses > 1) {
        --item.PendingUses;
        TBitmap& original = *item.Bitmap;
        auto copy = std::make_unique<TBitmap>();
        void* pixels = copy->NewPixels(original.Width(), original.Height(), original.PixelFormat());
        // The entry's section is bottom-up: its bottom row starts its memory.
        std::memcpy(pixels, original.ScanLine(original.Height() - 1),
                    static_cast<size_t>(original.RowStride()) * static_cast<size_t>(original.Height()));
        return copy;
    }
    item.PendingUses = 0;
    return std::unique_ptr<TBitmap>(item.Bitmap.release());
}

// The stream of an image: for a packed skin the entry whose upper-cased name equals EntryName, else
// the file FileName of the skin folder. Null when there is none.
template <class TImage>
std::unique_ptr<TImage> LoadImage(TsSkinManager* sm, const TacSkinSource& source, const std::wstring& entryName,
                                  const std::wstring& fileName)
{
    auto image = std::make_unique<TImage>();
    if (source.Convertor) {
        TacImageItem* item = source.Convertor->FindImage(entryName);
        if constexpr (std::is_same_v<TImage, TBitmap>) {
            if (item && item->Bitmap)
                return TakeEntryBitmap(*item);
        }
        if (!item || !item->Data)
            return nullptr;
        item->Data->SetPosition(0);
        image->LoadFromStream(item->Data.get());
        return image;
    }
    const std::wstring path = SkinFilePath(sm, fileName);
    if (!FileExists(path))
        return nullptr;
    image->LoadFromFile(path);
    return image;
}

// A bitmap file named by the common sections: always a file of the skin folder.
std::unique_ptr<TBitmap> LoadBitmapFile(TsSkinManager* sm, const std::wstring& name)
{
    const std::wstring path = SkinFilePath(sm, name);
    if (!FileExists(path))
        return nullptr;
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->LoadFromFile(path);
    return bitmap;
}


// "!FILE.BMP!count!masktype!type[!wl!wt!wr!wb]". The picture is looked for before the counts are read:
// a value whose picture is not there is skipped whatever its counts say, and only the counts of a
// picture that is there can fail the load.
void ReadOwnBitmapMask(TsSkinManager* sm, const TacSkinSource& source, const std::wstring& section,
                       const std::wstring& key, const std::wstring& v)
{
    const std::wstring name = OwnBitmapName(v);
    std::unique_ptr<TBitmap> bitmap = name.empty() ? nullptr : LoadImage<TBitmap>(sm, source, name, name);
    if (!bitmap || bitmap->Width() <= 0) {
        ReportUnresolved(sm, section, key, v);
        return;
    }
    const TacOwnBitmapValue parsed = ParseOwnBitmapValue(v);
    TsMaskData m = OwnBitmapMask(MakerOf(sm), section, key, v, parsed, bitmap->Width(), bitmap->Height());
    if (m.ImgType != itisaTexture)
        bitmap->SetPixelFormat(pf24bit);
    m.Bmp = std::move(bitmap);
    sm->Masks.push_back(std::move(m));
}

// A bitmap of three state images over one mask row, named by a plain file name.
TsMaskData PlainBitmapMask(TsSkinManager* sm, const std::wstring& section, const std::wstring& key,
                           std::unique_ptr<TBitmap> bitmap)
{
    TsMaskData m = NewMask(MakerOf(sm), UpperCase(section), UpperCase(key));
    bitmap->SetPixelFormat(pf24bit);
    m.MaskType = 1;
    m.ImageCount = 3;
    m.R = RECT{0, 0, bitmap->Width(), bitmap->Height()};
    m.WL = m.WR = ClampToShort(bitmap->Width() / 9);
    m.WT = m.WB = ClampToShort(bitmap->Height() / 6);
    m.Bmp = std::move(bitmap);
    return m;
}

void ReadPlainBitmapMask(TsSkinManager* sm, const TacSkinSource& source, const std::wstring& section,
                         const std::wstring& key, const std::wstring& v)
{
    std::unique_ptr<TBitmap> bitmap = LoadImage<TBitmap>(sm, source, UpperCase(v), v);
    if (!bitmap || bitmap->Width() <= 0) {
        ReportUnresolved(sm, section, key, v);
        return;
    }
    sm->Masks.push_back(PlainBitmapMask(sm, section, key, std::move(bitmap)));
}

// The entry name a mask value has LoadImage look for (see ReadMaskValue), or empty when it loads none.
std::wstring MaskImageName(std::wstring_view v)
{
    switch (v[0]) {
    case L'@':
    case L'^':
    case L'~':
        return {};
    case L'!':
        return OwnBitmapName(std::wstring(v));
    default:
        return !IsOldForm(v) && NamesBitmap(v) ? UpperCase(std::wstring(v)) : std::wstring();
    }
}

// Whether ReadMaskValue makes a mask of a value, or reports it unresolved: the other values are left
// alone, and need no copy.
bool IsMaskValue(std::wstring_view v)
{
    switch (v[0]) {
    case L'@':
    case L'^':
    case L'~':
    case L'!':
        return true;
    default:
        return IsOldForm(v) || NamesBitmap(v);
    }
}

// Appends the mask an image value of the skin text describes; JPEG values are the pattern reader's.
void ReadMaskValue(TsSkinManager* sm, const TacSkinSource& source, const std::wstring& section,
                   const std::wstring& key, const std::wstring& v)
{
    switch (v[0]) {
    case L'@':
        sm->Masks.push_back(GlyphMask(MakerOf(sm), section, key, v));
        return;
    case L'^':
        sm->Masks.push_back(BorderMask(MakerOf(sm), section, key, v));
        return;
    case L'~':
        sm->Masks.push_back(TextureMask(MakerOf(sm), section, key, v));
        return;
    case L'!':
        ReadOwnBitmapMask(sm, source, section, key, v);
        return;
    default:
        if (IsOldForm(v))
            sm->Masks.push_back(OldFormMask(MakerOf(sm), section, key, v));
        else if (NamesBitmap(v))
            ReadPlainBitmapMask(sm, source, section, key, v);
    }
}

std::wstring MasterBitmapName(const TSkinTextIndex& text)
{
    return ReadText(text, kGlobalInfo, L"MASTERBITMAP", L"");
}

void PrepareMasterBitmap(TBitmap* bitmap)
{
    bitmap->SetPixelFormat(pf24bit);
    bitmap->SetTransparent(true);
    bitmap->SetTransparentColor(clFuchsia);
    bitmap->SetHandleType(bmDIB);
}

// Tells each BMP entry read straight into a bitmap how often the mask reader is going to ask for it,
// so the last request can take the entry's bitmap itself.
void CountEntryBitmapUses(const TacSkinSource& source, const TSkinTextIndex& text)
{
    TacSkinConvertor* convertor = source.Convertor;
    const auto hasBitmap = [](const TacImageItem& item) { return item.Bitmap != nullptr; };
    if (!convertor || std::none_of(convertor->Files.begin(), convertor->Files.end(), hasBitmap))
        return;
    for (TacImageItem& item : convertor->Files)
        item.PendingUses = 0;
    auto count = [&](const std::wstring& name) {
        if (TacImageItem* item = convertor->FindImage(name); item && item->Bitmap)
            ++item->PendingUses;
    };
    if (const std::wstring master = MasterBitmapName(text); !master.empty())
        count(master);
    ForEachKey(text, [&](const std::wstring& section, std::wstring_view key, const std::wstring_view* value) {
        if (value && !value->empty() && !IsMasterBitmapKey(section, key))
            if (const std::wstring name = MaskImageName(*value); !name.empty())
                count(name);
    });
}

void ReadMasterBitmap(TsSkinManager* sm, const TacSkinSource& source, const TSkinTextIndex& text)
{
    sm->MasterBitmap = std::make_unique<TBitmap>();
    const std::wstring value = MasterBitmapName(text);
    if (!value.empty()) {
        std::unique_ptr<TBitmap> loaded = LoadImage<TBitmap>(sm, source, value, value);
        if (loaded)
            sm->MasterBitmap = std::move(loaded);
        else
            ReportUnresolved(sm, kGlobalInfo, L"MASTERBITMAP", value);
    }
    PrepareMasterBitmap(sm->MasterBitmap.get());
}

// ---- JPEG patterns ----

// A JPEG of 90,000 pixels or more stays a pattern; a smaller one becomes a texture mask of its own.
void AddJpeg(TsSkinManager* sm, std::unique_ptr<TJPEGImage> jpeg, const std::wstring& section,
             const std::wstring& key, bool alwaysPattern)
{
    const std::int64_t pixels = static_cast<std::int64_t>(jpeg->Width()) * jpeg->Height();
    if (alwaysPattern || pixels > 89999) {
        sm->Patterns.push_back(
            TsPatternData{std::shared_ptr<TJPEGImage>(std::move(jpeg)), UpperCase(section), UpperCase(key)});
        return;
    }
    auto bitmap = std::make_shared<TBitmap>();
    bitmap->Assign(jpeg.get());
    bitmap->SetPixelFormat(pf24bit);
    TsMaskData m = NewMask(MakerOf(sm), UpperCase(section), UpperCase(key));
    m.Bmp = std::move(bitmap);
    m.ImgType = itisaTexture;
    m.ImageCount = 1;
    sm->Masks.push_back(std::move(m));
}

void ReadPatternValue(TsSkinManager* sm, const TacSkinSource& source, const std::wstring& section,
                      const std::wstring& key, const std::wstring& value)
{
    if (!NamesJpeg(value))
        return;
    const std::wstring upper = UpperCase(value);
    std::unique_ptr<TJPEGImage> jpeg = LoadImage<TJPEGImage>(sm, source, upper, value);
    if (!jpeg || jpeg->Width() <= 0) {
        ReportUnresolved(sm, section, key, value);
        return;
    }
    AddJpeg(sm, std::move(jpeg), section, key, false);
}

// ---- stored skins spelled out in collections ----

bool IsPatternKey(const std::wstring& key)
{
    return key == L"PATTERN" || key == L"HOTPATTERN";
}

TsMaskData StoredMask(TsSkinManager* sm, const TsSkinImage* item)
{
    TsMaskData m = NewMask(MakerOf(sm), UpperCase(item->SectionName), UpperCase(item->PropertyName));
    if (!item->Name().empty()) {
        auto bitmap = std::make_shared<TBitmap>();
        bitmap->Assign(item->Image());
        bitmap->SetPixelFormat(pf24bit);
        m.R = RECT{0, 0, bitmap->Width(), bitmap->Height()};
        m.Bmp = std::move(bitmap);
    } else {
        m.R = RECT{item->Left, item->Top, item->Right, item->Bottom};
    }
    m.BorderWidth = ClampToShort(item->BorderWidth);
    // A stored image without a count is the usual three states over one mask row.
    if (item->ImageCount == 0)
        SetCounts(MakerOf(sm), m, 3, 1, {});
    else
        SetCounts(MakerOf(sm), m, item->ImageCount, item->MaskType,
                  L"ImageCount=" + IntToStr(item->ImageCount) + L", MaskType=" + IntToStr(item->MaskType));
    if (IsPatternKey(m.PropertyName)) {
        m.ImgType = itisaTexture;
        m.StretchMode = item->ImgType == itisaTexture ? ClampToShort(item->StretchMode) : 0;
    } else {
        m.ImgType = item->ImgType <= itisaGlyph ? item->ImgType : itisaBorder;
        m.StretchMode = ClampToShort(item->StretchMode);
    }
    m.WL = ClampToShort(item->WL);
    m.WT = ClampToShort(item->WT);
    m.WR = ClampToShort(item->WR);
    m.WB = ClampToShort(item->WB);
    FillBorderWidths(m);
    return m;
}

void ReadStoredMasks(TsSkinManager* sm, const TsStoredSkin* stored)
{
    sm->MasterBitmap = std::make_unique<TBitmap>();
    sm->MasterBitmap->Assign(stored->MasterBitmap());
    PrepareMasterBitmap(sm->MasterBitmap.get());
    const TsSkinImages* images = stored->Images();
    for (int i = 0; i < images->Count(); ++i)
        sm->Masks.push_back(StoredMask(sm, images->Items(i)));
}

void ReadStoredPatterns(TsSkinManager* sm, const TsStoredSkin* stored)
{
    const TsSkinPatterns* patterns = stored->Patterns();
    for (int i = 0; i < patterns->Count(); ++i) {
        const TsSkinPattern* item = patterns->Items(i);
        TJPEGImage* image = item->Image();
        // An item without a picture shares the picture of the first item of its name that has one.
        for (int j = 0; j < patterns->Count() && image->Empty(); ++j)
            if (patterns->Items(j)->Name() == item->Name() && !patterns->Items(j)->Image()->Empty())
                image = patterns->Items(j)->Image();
        auto jpeg = std::make_shared<TJPEGImage>();
        jpeg->Assign(image);
        sm->Patterns.push_back(
            TsPatternData{std::move(jpeg), UpperCase(item->SectionName), UpperCase(item->PropertyName)});
    }
}

// ---- the common sections: images ----

void ReadCommonMasks(TsSkinManager* sm)
{
    if (sm->CommonSections()->Count() == 0)
        return;
    TMemIniFile common(L"1.tmp");
    common.SetStrings(sm->CommonSections());
    ForEachKey(common, [&](const std::wstring& section, const std::wstring& key) {
        if (UpperCase(section) == kGlobalInfo)
            return;
        const std::wstring v = common.ReadString(section, key, L"-");
        const bool hash = v.find(L'#') != std::wstring::npos;
        if (sm->MasterBitmap && IsOldForm(v)) {
            sm->Masks.push_back(OldFormMask(MakerOf(sm), section, key, v));
        } else if ((!hash || !sm->MasterBitmap) && NamesBitmap(v)) {
            std::unique_ptr<TBitmap> bitmap = LoadBitmapFile(sm, v);
            if (bitmap && bitmap->Width() >= 1)
                sm->Masks.push_back(PlainBitmapMask(sm, section, key, std::move(bitmap)));
            else
                ReportUnresolved(sm, section, key, v);
        }
    });
}

void ReadCommonPatterns(TsSkinManager* sm)
{
    if (sm->CommonSections()->Count() == 0)
        return;
    TMemIniFile common(L"2.tmp");
    common.SetStrings(sm->CommonSections());
    ForEachKey(common, [&](const std::wstring& section, const std::wstring& key) {
        const std::wstring v = common.ReadString(section, key, L"-");
        if (!NamesJpeg(v))
            return;
        const std::wstring path = SkinFilePath(sm, v);
        auto jpeg = std::make_unique<TJPEGImage>();
        if (FileExists(path))
            jpeg->LoadFromFile(path);
        if (jpeg->Width() > 0)
            AddJpeg(sm, std::move(jpeg), section, key, true);
        else
            ReportUnresolved(sm, section, key, v);
    });
}


// "colour left top right bottom": exactly five words give the colour and its four outline colours;
// anything else gives colour 0 and no outlines.
void ReadFontColors(const std::wstring& text, std::int32_t& color, std::int32_t* outline[4])
{
    const TCharSet blank{L' '};
    color = 0;
    for (int i = 0; i < 4; ++i)
        *outline[i] = -1;
    if (CountWords(text, blank) != 5)
        return;
    color = StrToInt(GetWordAt(1, text, blank));
    for (int i = 0; i < 4; ++i)
        *outline[i] = StrToInt(GetWordAt(i + 2, text, blank));
}

void ReadStoredSection(const TsSkinGeneral* item, TsGeneralData& g)
{
    g.ClassName = item->SectionName;
    g.ParentClass = item->ParentClass;
    g.Color = item->Color;
    g.Bevel = item->Bevel;
    g.ShowFocus = item->ShowFocus;
    g.FadingEnabled = item->FadingEnabled;
    g.ShadowEnabled = item->ShadowEnabled;
    g.ShadowDontUse = item->ShadowDontUse;
    g.ShadowTransparency = item->ShadowTransparency;
    g.ShadowOffset = item->ShadowOffset;
    g.FadingIntervalIn = item->FadingIntervalIn;
    g.HotImagePercent = item->HotImagePercent;
    g.Transparency = item->Transparency;
    g.ShadowBlur = item->ShadowBlur;
    g.FadingIntervalOut = item->FadingIntervalOut;
    g.HotTransparency = item->HotTransparency;
    g.FadingIterations = item->FadingIterations;
    g.HotGradientPercent = item->HotGradientPercent;
    g.GradientPercent = item->GradientPercent;
    g.ImagePercent = item->ImagePercent;
    g.BorderColor2 = item->BorderColor2;
    g.HotColor = item->HotColor;
    g.ShadowColor = item->ShadowColor;
    g.BorderColor1 = item->BorderColor1;
    g.HotBevel = item->HotBevel;
    g.ReservedBoolean = item->ReservedBoolean;
    std::int32_t* outline[4] = {&g.TCLeft, &g.TCTop, &g.TCRight, &g.TCBottom};
    ReadFontColors(item->FontColor, g.FontColor, outline);
    std::int32_t* hotOutline[4] = {&g.HotTCLeft, &g.HotTCTop, &g.HotTCRight, &g.HotTCBottom};
    ReadFontColors(item->HotFontColor, g.HotFontColor, hotOutline);
    g.GradientData = item->GradientData;
    g.HotGradientData = item->HotGradientData;
    ParseGradients(g);
}


} // namespace

const TsStoredSkin* SelectedStoredSkin(const TsSkinManager* sm)
{
    const int index = sm->InternalSkins()->IndexOfSkin(sm->SkinName());
    return index < 0 ? nullptr : sm->InternalSkins()->Items(index);
}

void LoadSkinMasks(TsSkinManager* sm, const TacSkinSource& source)
{
    while (!sm->Masks.empty())
        sm->Masks.pop_back();
    sm->MasterBitmap.reset();
    if (!source.Ini && !source.Text) {
        if (!source.Stored)
            return;
        ReadStoredMasks(sm, source.Stored);
        ReadCommonMasks(sm);
        return;
    }
    const SourceText text(source);
    CountEntryBitmapUses(source, *text);
    ReadMasterBitmap(sm, source, *text);
    ForEachKey(*text, [&](const std::wstring& section, std::wstring_view key, const std::wstring_view* value) {
        if (value && !value->empty() && !IsMasterBitmapKey(section, key) && IsMaskValue(*value))
            ReadMaskValue(sm, source, section, std::wstring(key), std::wstring(*value));
    });
    ReadCommonMasks(sm);
}

void LoadSkinPatterns(TsSkinManager* sm, const TacSkinSource& source)
{
    while (!sm->Patterns.empty())
        sm->Patterns.pop_back();
    if (!source.Ini && !source.Text) {
        if (!source.Stored)
            return;
        ReadStoredPatterns(sm, source.Stored);
        ReadCommonPatterns(sm);
        return;
    }
    const SourceText text(source);
    ForEachKey(*text, [&](const std::wstring& section, std::wstring_view key, const std::wstring_view* value) {
        // An absent value reads as "-", which names no picture.
        if (value && !IsMasterBitmapKey(section, key) && NamesJpeg(*value))
            ReadPatternValue(sm, source, section, std::wstring(key), std::wstring(*value));
    });
    ReadCommonPatterns(sm);
}

void LoadSkinSections(TsSkinManager* sm, const TacSkinSource& source)
{
    TsSkinData& data = *sm->SkinData();
    if (!source.Ini && !source.Text) {
        const TsStoredSkin* stored = source.Stored;
        if (!stored)
            return;
        data.Version = stored->Version;
        data.Author = stored->Author;
        data.Description = stored->Description;
        data.Shadow1Color = stored->Shadow1Color;
        data.Shadow1Offset = stored->Shadow1Offset;
        data.Shadow1Blur = stored->Shadow1Blur;
        data.Shadow1Transparency = stored->Shadow1Transparency;
        data.BorderColor = stored->BorderColor;
        sm->Sections.clear();
        const TsSkinGenerals* generals = stored->GeneralData();
        for (int i = 0; i < generals->Count(); ++i) {
            sm->Sections.emplace_back();
            try {
                ReadStoredSection(generals->Items(i), sm->Sections.back());
            } catch (const Exception&) {
                // A damaged item keeps what was read of it; the others still count.
            }
        }
    } else {
        const SourceText text(source);
        ReadGlobalInfo(*text, data);
        sm->Sections.clear();
        sm->Sections.reserve((*text).Sections().size());
        for (const TSkinTextIndex::Section& section : (*text).Sections())
            sm->Sections.push_back(ReadSectionValues(section));
        // System colours are resolved as the text is read; the common sections keep theirs as written.
        for (TsGeneralData& g : sm->Sections)
            g.Color = SkinColorToRGB(g.Color);
    }
    MergeCommonSections(sm->Sections, sm->CommonSections());
}

void ReadBitmapEntriesStraight(TacSkinConvertor* convertor)
{
    convertor->MakeBitmap = [](const std::wstring& name, const TacBitmapLayout& layout,
                               void*& pixels) -> TacBitmapPtr {
        // An entry a pattern could ask for as a JPEG keeps its bytes for the JPEG reader.
        if (NamesJpeg(name))
            return nullptr;
        TacBitmapPtr bitmap(new TBitmap, TacBitmapDeleter{[](TBitmap* b) { delete b; }});
        pixels = bitmap->NewPixels(layout.Width, layout.Height, layout.BitCount == 32 ? pf32bit : pf24bit);
        return bitmap;
    };
}
