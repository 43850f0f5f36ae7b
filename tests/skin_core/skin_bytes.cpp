#include "tests/skin_core/skin_bytes.h"

#include "framework/IniFiles.h"
#include "skin/core/acSkinPack.h"
#include "skin/core/sSkinInherited.h"

#include <memory>

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
            return TSkinBytesResult::NotPacked;
        }
        ReadOptions(convertor.Options.get());
        for (const TacImageItem& item : convertor.Files)
            convertor.FindImage(item.Name);
    } catch (const Exception&) {
        return TSkinBytesResult::Damaged;
    }
    return TSkinBytesResult::Read;
}
