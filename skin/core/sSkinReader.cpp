#include "skin/core/sSkinReader.h"

#include "framework/Graphics.h"
#include "framework/IniFiles.h"
#include "framework/Jpeg.h"
#include "framework/SysUtils.h"
#include "skin/core/acSkinPack.h"
#include "skin/core/acntUtils.h"
#include "skin/core/sSkinInherited.h"
#include "skin/core/sSkinManager.h"
#include "skin/core/sVclUtils.h"

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

int Field(const std::wstring& value, int start, int count)
{
    return StrToInt(Copy(value, start, count));
}

std::int16_t Short(int value)
{
    return static_cast<std::int16_t>(value);
}

// Border widths of a third of one state image. A count of 0 (or rows of 0) counts as 1, so no value
// of a skin can divide by zero.
void ThirdOfAFrame(TsMaskData& m)
{
    const int count = m.ImageCount > 0 ? m.ImageCount : 1;
    const int rows = m.MaskType + 1 > 0 ? m.MaskType + 1 : 1;
    m.WL = m.WR = Short(RectWidth(m.R) / (count * 3));
    m.WT = m.WB = Short(RectHeight(m.R) / (rows * 3));
}

// Border widths that a value leaves at zero: one border width for all, or a third of a frame.
void FillBorderWidths(TsMaskData& m)
{
    if (m.WL + m.WT + m.WR + m.WB != 0)
        return;
    if (m.BorderWidth != 0) {
        m.WL = m.WT = m.WR = m.WB = m.BorderWidth;
        return;
    }
    ThirdOfAFrame(m);
}

RECT FixedColumnRect(const std::wstring& v)
{
    return RECT{Field(v, 2, 4), Field(v, 7, 4), Field(v, 12, 4), Field(v, 17, 4)};
}

TsMaskData NewMask(TsSkinManager* sm, const std::wstring& section, const std::wstring& key)
{
    TsMaskData m;
    m.ClassName = section;
    m.PropertyName = key;
    m.Manager = sm;
    return m;
}

TsMaskData GlyphMask(TsSkinManager* sm, const std::wstring& section, const std::wstring& key, const std::wstring& v)
{
    TsMaskData m = NewMask(sm, section, key);
    m.R = FixedColumnRect(v);
    m.ImageCount = Short(Field(v, 22, 1));
    m.MaskType = Short(Field(v, 24, 1));
    m.ImgType = itisaGlyph;
    return m;
}

TsMaskData BorderMask(TsSkinManager* sm, const std::wstring& section, const std::wstring& key, const std::wstring& v)
{
    TsMaskData m = NewMask(sm, section, key);
    m.R = FixedColumnRect(v);
    m.WL = Short(Field(v, 22, 4));
    m.WT = Short(Field(v, 27, 4));
    m.WR = Short(Field(v, 32, 4));
    m.WB = Short(Field(v, 37, 4));
    m.ImageCount = Short(Field(v, 42, 1));
    m.MaskType = Short(Field(v, 44, 1));
    m.StretchMode = Short(Field(v, 46, 1));
    m.BorderWidth = Short(Field(v, 48, 1));
    m.ImgType = itisaBorder;
    FillBorderWidths(m);
    return m;
}

TsMaskData TextureMask(TsSkinManager* sm, const std::wstring& section, const std::wstring& key, const std::wstring& v)
{
    TsMaskData m = NewMask(sm, section, key);
    m.R = FixedColumnRect(v);
    m.StretchMode = Short(Field(v, 22, 2));
    m.MaskType = v.size() >= 25 ? Short(Field(v, 25, 1)) : 0;
    m.ImageCount = 1;
    m.ImgType = itisaTexture;
    return m;
}

// "name (left,top,right,bottom) (count,masktype[,borderwidth[,stretchmode]])"
TsMaskData OldFormMask(TsSkinManager* sm, const std::wstring& section, const std::wstring& key, const std::wstring& v)
{
    const TCharSet words{L' ', L'(', L')'};
    const TCharSet parts{L' ', L','};
    TsMaskData m = NewMask(sm, UpperCase(section), UpperCase(key));
    const std::wstring rect = GetWordAt(2, v, words);
    m.R = RECT{StrToInt(GetWordAt(1, rect, parts)), StrToInt(GetWordAt(2, rect, parts)),
               StrToInt(GetWordAt(3, rect, parts)), StrToInt(GetWordAt(4, rect, parts))};
    const std::wstring counts = GetWordAt(3, v, words);
    const int subWords = CountWords(counts, parts);
    m.ImageCount = Short(std::max(1, StrToInt(GetWordAt(1, counts, parts))));
    m.MaskType = Short(std::max(0, StrToInt(GetWordAt(2, counts, parts))));
    m.BorderWidth = subWords >= 3 ? Short(std::max(0, StrToInt(GetWordAt(3, counts, parts)))) : 0;
    if (m.PropertyName == L"PATTERN" || m.PropertyName == L"HOTPATTERN") {
        m.ImgType = itisaTexture;
        m.StretchMode = 0;
    } else {
        m.ImgType = itisaBorder;
        m.StretchMode = subWords >= 4 ? Short(StrToInt(GetWordAt(4, counts, parts))) : 1;
    }
    FillBorderWidths(m);
    return m;
}

bool IsOldForm(std::wstring_view v)
{
    return v.find(L'#') != std::wstring::npos && v != L"#";
}

// Whether the value holds the upper-case text in any case (UpperCase's letters), without a copy: every
// key of a skin is asked whether it names an image.
bool HoldsUpper(std::wstring_view value, const wchar_t* upper)
{
    const size_t n = std::char_traits<wchar_t>::length(upper);
    for (size_t i = 0; i + n <= value.size(); ++i) {
        size_t k = 0;
        for (; k < n; ++k) {
            wchar_t c = value[i + k];
            if (c >= L'a' && c <= L'z')
                c = static_cast<wchar_t>(c - 32);
            if (c != upper[k])
                break;
        }
        if (k == n)
            return true;
    }
    return false;
}

bool NamesBitmap(std::wstring_view value)
{
    return HoldsUpper(value, L".BMP");
}

bool NamesJpeg(std::wstring_view value)
{
    return HoldsUpper(value, L".JPG") || HoldsUpper(value, L".JPEG");
}

// UpperCase(text) == upper, without a copy.
bool IsUpper(std::wstring_view text, const wchar_t* upper)
{
    return text.size() == std::char_traits<wchar_t>::length(upper) && HoldsUpper(text, upper);
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

// A key of a section as the INI reads it (no parents), or the default.
std::wstring ReadText(const TSkinTextIndex& text, const std::wstring& section, const std::wstring& key,
                      const std::wstring& defaultValue)
{
    const std::wstring_view* value = TSkinTextIndex::Value(text.Find(section), TSkinKey(key));
    return value ? std::wstring(*value) : defaultValue;
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

// The file of a "!" value, or empty when it names no BMP file.
std::wstring OwnBitmapName(const std::wstring& v)
{
    std::wstring name = GetWordAt(1, v, TCharSet{L'!'});
    return name.find(L".BMP") == std::wstring::npos ? std::wstring() : name;
}

// "!FILE.BMP!count!masktype!type[!wl!wt!wr!wb]"
void ReadOwnBitmapMask(TsSkinManager* sm, const TacSkinSource& source, const std::wstring& section,
                       const std::wstring& key, const std::wstring& v)
{
    const TCharSet bang{L'!'};
    const std::wstring name = OwnBitmapName(v);
    if (name.empty()) {
        ReportUnresolved(sm, section, key, v);
        return;
    }
    TsMaskData m = NewMask(sm, section, key);
    m.ImageCount = Short(StrToInt(GetWordAt(2, v, bang)));
    m.MaskType = Short(StrToInt(GetWordAt(3, v, bang)));
    const int type = StrToInt(GetWordAt(4, v, bang));
    // Image types the reader does not know are drawn as borders.
    m.ImgType = type == itisaTexture ? itisaTexture : type == itisaGlyph ? itisaGlyph : itisaBorder;
    std::unique_ptr<TBitmap> bitmap = LoadImage<TBitmap>(sm, source, name, name);
    if (!bitmap || bitmap->Width() <= 0) {
        ReportUnresolved(sm, section, key, v);
        return;
    }
    if (m.ImgType != itisaTexture)
        bitmap->SetPixelFormat(pf24bit);
    m.R = RECT{0, 0, bitmap->Width(), bitmap->Height()};
    if (CountWords(v, bang) < 5) {
        ThirdOfAFrame(m);
    } else {
        m.WL = Short(StrToInt(GetWordAt(5, v, bang)));
        m.WT = Short(StrToInt(GetWordAt(6, v, bang)));
        m.WR = Short(StrToInt(GetWordAt(7, v, bang)));
        m.WB = Short(StrToInt(GetWordAt(8, v, bang)));
    }
    m.Bmp = std::move(bitmap);
    sm->Masks.push_back(std::move(m));
}

// A bitmap of three state images over one mask row, named by a plain file name.
TsMaskData PlainBitmapMask(TsSkinManager* sm, const std::wstring& section, const std::wstring& key,
                           std::unique_ptr<TBitmap> bitmap)
{
    TsMaskData m = NewMask(sm, UpperCase(section), UpperCase(key));
    bitmap->SetPixelFormat(pf24bit);
    m.MaskType = 1;
    m.ImageCount = 3;
    m.R = RECT{0, 0, bitmap->Width(), bitmap->Height()};
    m.WL = m.WR = Short(bitmap->Width() / 9);
    m.WT = m.WB = Short(bitmap->Height() / 6);
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
        sm->Masks.push_back(GlyphMask(sm, section, key, v));
        return;
    case L'^':
        sm->Masks.push_back(BorderMask(sm, section, key, v));
        return;
    case L'~':
        sm->Masks.push_back(TextureMask(sm, section, key, v));
        return;
    case L'!':
        ReadOwnBitmapMask(sm, source, section, key, v);
        return;
    default:
        if (IsOldForm(v))
            sm->Masks.push_back(OldFormMask(sm, section, key, v));
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
    TsMaskData m = NewMask(sm, UpperCase(section), UpperCase(key));
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
    TsMaskData m = NewMask(sm, UpperCase(item->SectionName), UpperCase(item->PropertyName));
    if (!item->Name().empty()) {
        auto bitmap = std::make_shared<TBitmap>();
        bitmap->Assign(item->Image());
        bitmap->SetPixelFormat(pf24bit);
        m.R = RECT{0, 0, bitmap->Width(), bitmap->Height()};
        m.Bmp = std::move(bitmap);
    } else {
        m.R = RECT{item->Left, item->Top, item->Right, item->Bottom};
    }
    m.ImageCount = Short(item->ImageCount);
    m.MaskType = Short(item->MaskType);
    m.BorderWidth = Short(item->BorderWidth);
    if (m.ImageCount == 0) {
        m.MaskType = 1;
        m.ImageCount = 3;
    }
    if (IsPatternKey(m.PropertyName)) {
        m.ImgType = itisaTexture;
        m.StretchMode = item->ImgType == itisaTexture ? Short(item->StretchMode) : 0;
    } else {
        m.ImgType = item->ImgType <= itisaGlyph ? item->ImgType : itisaBorder;
        m.StretchMode = Short(item->StretchMode);
    }
    m.WL = Short(item->WL);
    m.WT = Short(item->WT);
    m.WR = Short(item->WR);
    m.WB = Short(item->WB);
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
            sm->Masks.push_back(OldFormMask(sm, section, key, v));
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

// ---- sections ----

bool IsTrue(const std::wstring& s)
{
    return UpperCase(s) == L"TRUE";
}

TsControlBevel ToBevel(int value)
{
    return value >= cbNone && value <= cbLoweredHard ? static_cast<TsControlBevel>(value) : cbNone;
}

struct IntKey {
    const wchar_t* key;
    std::int32_t TsGeneralData::*field;
    std::int32_t defaultValue;
};

// The integer keys that are read through PARENTCLASS, in reading order (COLOR and SHADOWCOLOR apart).
const IntKey kIntKeys[] = {
    {L"SHADOWBLUR", &TsGeneralData::ShadowBlur, 6},
    {L"SHADOWOFFSET", &TsGeneralData::ShadowOffset, 3},
    {L"SHADOWTRANSPARENCY", &TsGeneralData::ShadowTransparency, 50},
    {L"FONTCOLOR", &TsGeneralData::FontColor, 0},
    {L"TCLEFT", &TsGeneralData::TCLeft, -1},
    {L"TCTOP", &TsGeneralData::TCTop, -1},
    {L"TCRIGHT", &TsGeneralData::TCRight, -1},
    {L"TCBOTTOM", &TsGeneralData::TCBottom, -1},
    {L"HOTFONTCOLOR", &TsGeneralData::HotFontColor, 0},
    {L"HOTTCLEFT", &TsGeneralData::HotTCLeft, -1},
    {L"HOTTCTOP", &TsGeneralData::HotTCTop, -1},
    {L"HOTTCRIGHT", &TsGeneralData::HotTCRight, -1},
    {L"HOTTCBOTTOM", &TsGeneralData::HotTCBottom, -1},
    {L"TRANSPARENCY", &TsGeneralData::Transparency, 0},
    {L"GRADIENTPERCENT", &TsGeneralData::GradientPercent, 0},
    {L"IMAGEPERCENT", &TsGeneralData::ImagePercent, 0},
    {L"FADINGINTERVALIN", &TsGeneralData::FadingIntervalIn, 5},
    {L"FADINGINTERVALOUT", &TsGeneralData::FadingIntervalOut, 5},
    {L"FADINGITERATIONS", &TsGeneralData::FadingIterations, 5},
    {L"HOTCOLOR", &TsGeneralData::HotColor, 0xFFFFFF},
    {L"HOTTRANSPARENCY", &TsGeneralData::HotTransparency, 0},
    {L"HOTGRADIENTPERCENT", &TsGeneralData::HotGradientPercent, 0},
    {L"HOTIMAGEPERCENT", &TsGeneralData::HotImagePercent, 0},
    {L"BORDERCOLOR1", &TsGeneralData::BorderColor1, 0},
    {L"BORDERCOLOR2", &TsGeneralData::BorderColor2, 0},
};

struct BoolKey {
    const wchar_t* key;
    bool TsGeneralData::*field;
};

const BoolKey kBoolKeys[] = {
    {L"SHADOWENABLED", &TsGeneralData::ShadowEnabled},
    {L"RESERVEDBOOLEAN", &TsGeneralData::ReservedBoolean},
    {L"SHOWFOCUS", &TsGeneralData::ShowFocus},
    {L"FADINGENABLED", &TsGeneralData::FadingEnabled},
};

void ParseGradients(TsGeneralData& g)
{
    if (g.GradientData != L" ")
        ParseGradientData(g.GradientData, g.GradientArray);
    if (g.HotGradientData != L" ")
        ParseGradientData(g.HotGradientData, g.HotGradientArray);
}

// The keys a section is read with, lowered once for all the sections of all the skins.
struct SectionKeys {
    TSkinKey parentClass{L"PARENTCLASS"}, color{L"COLOR"}, bevel{L"BEVEL"}, shadowColor{L"SHADOWCOLOR"},
        hotBevel{L"HOTBEVEL"}, gradientData{L"GRADIENTDATA"}, hotGradientData{L"HOTGRADIENTDATA"};
    std::vector<TSkinKey> ints, bools;
    SectionKeys()
    {
        for (const IntKey& k : kIntKeys)
            ints.emplace_back(k.key);
        for (const BoolKey& k : kBoolKeys)
            bools.emplace_back(k.key);
    }
};

const SectionKeys& Keys()
{
    static const SectionKeys keys;
    return keys;
}

TsGeneralData ReadSection(const TSkinTextIndex::Section& section)
{
    const SectionKeys& keys = Keys();
    const std::wstring& name = section.name;
    const TInheritedReader inherited(section);
    TsGeneralData g;
    g.ClassName = name;
    const std::wstring_view* parent = TSkinTextIndex::Value(&section, keys.parentClass);
    g.ParentClass = parent ? std::wstring(*parent) : std::wstring();
    g.Color = SkinColorToRGB(inherited.Integer(keys.color, 0xFFFFFF));
    g.Bevel = ToBevel(inherited.Integer(keys.bevel, 0));
    const std::wstring_view* shadowColor = TSkinTextIndex::Value(&section, keys.shadowColor);
    g.ShadowColor = shadowColor ? StrToIntDef(*shadowColor, 0) : 0;
    for (size_t i = 0; i < std::size(kIntKeys); ++i)
        g.*kIntKeys[i].field = inherited.Integer(keys.ints[i], kIntKeys[i].defaultValue);
    for (size_t i = 0; i < std::size(kBoolKeys); ++i)
        g.*kBoolKeys[i].field = IsTrue(inherited.String(keys.bools[i], L"FALSE"));
    g.HotBevel = ToBevel(inherited.Integer(keys.hotBevel, 0));
    g.GradientData = inherited.String(keys.gradientData, L" ");
    g.HotGradientData = inherited.String(keys.hotGradientData, L"");
    ParseGradients(g);
    return g;
}

void ReadGlobalInfo(const TSkinTextIndex& text, TsSkinData& data)
{
    auto read = [&](const wchar_t* key, const wchar_t* defaultValue) {
        return ReadText(text, kGlobalInfo, key, defaultValue);
    };
    data.Version = StrToFloatDef(read(L"VERSION", L""), 0);
    data.Author = read(L"AUTHOR", L"");
    data.Description = read(L"DESCRIPTION", L"");
    data.Shadow1Color = StrToIntDef(read(L"SHADOW1COLOR", L""), 0);
    data.Shadow1Offset = StrToInt(read(L"SHADOW1OFFSET", L"0"));
    data.Shadow1Blur = StrToInt(read(L"SHADOW1BLUR", L"-1"));
    data.Shadow1Transparency = StrToInt(read(L"SHADOW1TRANSPARENCY", L"0"));
    data.BISpace = StrToIntDef(read(L"BISPACE", L""), 0);
    data.BorderColor = StrToIntDef(read(L"BORDERCOLOR", L""), 0);
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

// ---- the common sections merged into every skin ----

class CommonText {
public:
    explicit CommonText(TStringList* lines) : lines_(lines) { SplitIniSections(lines, &sections_); }
    int Count() const { return sections_.Count(); }
    std::wstring Name(int i) const { return sections_.Get(i); }
    bool Has(const std::wstring& section, const std::wstring& key) const
    {
        return ReadSectionString(lines_, &sections_, section, kAbsent, key) != kAbsent;
    }
    std::wstring String(const std::wstring& section, const std::wstring& key) const
    {
        return ReadSectionString(lines_, &sections_, section, L"", key);
    }
    int Integer(const std::wstring& section, const std::wstring& key, int def) const
    {
        return ReadSectionInteger(lines_, &sections_, section, def, key);
    }

private:
    static constexpr const wchar_t* kAbsent = L"\x1F";
    TStringList* lines_;
    TStringList sections_;
};

void MergeCommonSection(TsSkinManager* sm, const CommonText& text, const std::wstring& name)
{
    TsGeneralData g; // the reader's defaults
    const std::wstring parent = text.Has(name, L"PARENTCLASS") ? UpperCase(text.String(name, L"PARENTCLASS")) : L"-1";
    for (const TsGeneralData& s : sm->Sections)
        if (UpperCase(s.ClassName) == parent) {
            g = s;
            break;
        }
    g.ClassName = name;
    g.ParentClass = parent;
    auto integer = [&](const wchar_t* key, std::int32_t& field) {
        if (text.Has(name, key))
            field = text.Integer(name, key, field);
    };
    integer(L"COLOR", g.Color);
    integer(L"SHADOWCOLOR", g.ShadowColor);
    for (const IntKey& k : kIntKeys)
        integer(k.key, g.*k.field);
    std::int32_t bevel = g.Bevel, hotBevel = g.HotBevel;
    integer(L"BEVEL", bevel);
    integer(L"HOTBEVEL", hotBevel);
    g.Bevel = ToBevel(bevel);
    g.HotBevel = ToBevel(hotBevel);
    for (const BoolKey& k : kBoolKeys)
        if (text.Has(name, k.key))
            g.*k.field = IsTrue(text.String(name, k.key));
    if (text.Has(name, L"GRADIENTDATA"))
        g.GradientData = text.String(name, L"GRADIENTDATA");
    if (text.Has(name, L"HOTGRADIENTDATA"))
        g.HotGradientData = text.String(name, L"HOTGRADIENTDATA");
    g.GradientArray.clear();
    g.HotGradientArray.clear();
    ParseGradients(g);
    sm->Sections.push_back(std::move(g));
}

void MergeCommonSections(TsSkinManager* sm)
{
    if (sm->CommonSections()->Count() == 0)
        return;
    CommonText text(sm->CommonSections());
    for (int i = 0; i < text.Count(); ++i) {
        const std::wstring name = text.Name(i);
        if (FindSectionIndex(sm, name) < 0)
            MergeCommonSection(sm, text, name);
    }
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
            sm->Sections.push_back(ReadSection(section));
    }
    MergeCommonSections(sm);
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
