#include "tests/skin_core/skin_bytes.h"

#include "framework/IniFiles.h"
#include "skin/core/acSkinPack.h"
#include "skin/core/sSkinInherited.h"
#include "skin/core/sSkinValues.h"

#include <cstdlib>
#include <memory>
#include <optional>

namespace {

// Keys every section is asked for, inherited as the reader asks for them.
const wchar_t* const kProbedKeys[] = {L"COLOR", L"BORDERSMASK", L"GLYPH", L"GRADIENTDATA", L"FONTCOLOR"};

void ReadOptions(TMemoryStream* options)
{
    TStringList lines;
    options->SetPosition(0);
    lines.LoadFromStream(options);
    TMemIniFile ini(L"");
    ini.SetStrings(&lines);
    TStringList sections, keys;
    ini.ReadSections(&sections);
    for (int s = 0; s < sections.Count(); ++s) {
        const std::wstring section = sections.Get(s);
        ini.ReadSection(section, &keys);
        const TInheritedReader inherited(&ini, section);
        for (int k = 0; k < keys.Count(); ++k) {
            inherited.String(keys.Get(k), L"");
            inherited.Integer(keys.Get(k), 0);
        }
        for (const wchar_t* key : kProbedKeys)
            ReadInheritedString(&ini, section, key, L"?");
    }
}

// The mask an image value makes, as the reader makes it (a "!" value for a bitmap of 90 x 40); none for
// other values. A field the reader refuses raises, as it ends the reader's load.
std::optional<TsMaskData> MaskOf(const TacMaskMaker& maker, const std::wstring& section, const std::wstring& key,
                                 const std::wstring& v)
{
    switch (v.empty() ? L' ' : v[0]) {
    case L'@':
        return GlyphMask(maker, section, key, v);
    case L'^':
        return BorderMask(maker, section, key, v);
    case L'~':
        return TextureMask(maker, section, key, v);
    case L'!':
        return OwnBitmapMask(maker, section, key, v, ParseOwnBitmapValue(v), 90, 40);
    default:
        if (IsOldForm(v))
            return OldFormMask(maker, section, key, v);
        return std::nullopt;
    }
}

// Every value of the text made into what the reader makes of it: the masks of the image values, the
// sections, GLOBALINFO, and the text merged once more as common sections. A mask that cannot be cut
// into frames would have a painter divide by zero: that is a fault, and ends the program at once.
void BuildValues(TMemoryStream* options)
{
    options->SetPosition(0);
    const std::wstring text = TStrings::ReadText(options);
    const TSkinTextIndex index(text);
    const TacMaskMaker maker;
    for (const TSkinTextIndex::Section& section : index.Sections())
        for (const TSkinTextIndex::Line& line : section.lines) {
            if (!line.value)
                continue;
            std::optional<TsMaskData> mask;
            try {
                mask = MaskOf(maker, section.name, std::wstring(line.key), std::wstring(*line.value));
            } catch (const Exception&) {
                continue;
            }
            if (mask && (mask->ImageCount < 1 || mask->MaskType < 0))
                std::abort();
        }
    TsSkinData data;
    try {
        ReadGlobalInfo(index, data);
    } catch (const Exception&) {
        // A damaged shadow value ends the load; the sections are still worth reading here.
    }
    TsGeneralDataArray sections;
    for (const TSkinTextIndex::Section& section : index.Sections())
        sections.push_back(ReadSectionValues(section));
    TStringList lines;
    lines.SetText(text);
    MergeCommonSections(sections, &lines);
}

} // namespace

TSkinBytesResult ReadSkinBytes(const std::uint8_t* data, std::size_t size)
{
    auto source = std::make_unique<TMemoryStream>();
    if (size > 0)
        source->WriteBuffer(data, static_cast<std::int32_t>(size));
    TacSkinConvertor convertor;
    convertor.SetOwnedSource(std::move(source));
    try {
        if (!ReadPackedSkin(&convertor)) {
            ReadOptions(convertor.PackedData());
            BuildValues(convertor.PackedData());
            return TSkinBytesResult::NotPacked;
        }
        ReadOptions(convertor.Options.get());
        BuildValues(convertor.Options.get());
        for (const TacImageItem& item : convertor.Files)
            convertor.FindImage(item.Name);
    } catch (const Exception&) {
        return TSkinBytesResult::Damaged;
    }
    return TSkinBytesResult::Read;
}
