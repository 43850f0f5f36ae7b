// skinpack: packs a skin folder into an ".asz" container, unpacks one, and checks a skin through the
// real reader so that a broken skin fails the build.
#include "framework/IniFiles.h"
#include "framework/SysUtils.h"
#include "skin/core/acSkinPack.h"
#include "skin/core/sSkinManager.h"

#include <zlib.h>

#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <vector>

namespace {

int Usage()
{
    std::fputs("usage: skinpack pack FOLDER OUT.asz | unpack FILE.asz FOLDER | lint FOLDER-or-FILE.asz\n", stderr);
    return 2;
}

void Say(const std::wstring& text)
{
    std::printf("%s\n", WideToUtf8(text).c_str());
}

std::string ReadBytes(const std::wstring& path)
{
    TMemoryStream stream;
    stream.LoadFromFile(path);
    return std::string(static_cast<const char*>(stream.Memory()), static_cast<size_t>(stream.Size()));
}

void PutInt32(std::string& out, std::int32_t value)
{
    for (int i = 0; i < 4; ++i)
        out += static_cast<char>((static_cast<std::uint32_t>(value) >> (8 * i)) & 0xFF);
}

void AddEntry(std::string& out, const std::wstring& name, const std::string& bytes)
{
    std::string narrow;
    for (wchar_t c : name)
        narrow += static_cast<char>(c < 256 ? c : '?');
    uLongf size = compressBound(static_cast<uLong>(bytes.size()));
    std::string packed(size, '\0');
    if (compress2(reinterpret_cast<Bytef*>(packed.data()), &size, reinterpret_cast<const Bytef*>(bytes.data()),
                  static_cast<uLong>(bytes.size()), Z_BEST_COMPRESSION) != Z_OK)
        throw Exception(L"Cannot compress " + name);
    PutInt32(out, static_cast<std::int32_t>(narrow.size()));
    out += narrow;
    PutInt32(out, static_cast<std::int32_t>(bytes.size()));
    out.append(packed.data(), size);
}

// The image files Options.dat names, in the order of the text, each once.
std::vector<std::wstring> NamedImages(const std::wstring& folder)
{
    TMemIniFile ini(folder + L"Options.dat");
    TStringList sections, keys;
    ini.ReadSections(&sections);
    std::vector<std::wstring> names;
    std::set<std::wstring> seen;
    for (int s = 0; s < sections.Count(); ++s) {
        ini.ReadSection(sections[s], &keys);
        for (int k = 0; k < keys.Count(); ++k) {
            std::wstring v = ini.ReadString(sections[s], keys[k], L"");
            if (!v.empty() && v[0] == L'!')
                v = v.substr(1, v.find(L'!', 1) == std::wstring::npos ? std::wstring::npos : v.find(L'!', 1) - 1);
            const std::wstring upper = UpperCase(v);
            const bool image = upper.find(L".BMP") != std::wstring::npos || upper.find(L".JPG") != std::wstring::npos ||
                               upper.find(L".JPEG") != std::wstring::npos;
            if (image && v.find(L'#') == std::wstring::npos && FileExists(folder + v) && seen.insert(upper).second)
                names.push_back(v);
        }
    }
    return names;
}

int Pack(const std::wstring& folderArg, const std::wstring& out)
{
    const std::wstring folder = IncludeTrailingPathDelimiter(folderArg);
    const std::vector<std::wstring> images = NamedImages(folder);
    std::string bytes(kPackedSkinMagic, 4);
    PutInt32(bytes, static_cast<std::int32_t>(images.size() + 1));
    AddEntry(bytes, L"Options.dat", ReadBytes(folder + L"Options.dat"));
    for (const std::wstring& name : images)
        AddEntry(bytes, UpperCase(name), ReadBytes(folder + name));
    TMemoryStream stream;
    stream.WriteBuffer(bytes.data(), static_cast<std::int32_t>(bytes.size()));
    stream.SaveToFile(out);
    Say(L"packed " + IntToStr(static_cast<std::int64_t>(images.size() + 1)) + L" entries into " + out);
    return 0;
}

bool HasMagic(const std::wstring& file)
{
    const std::string bytes = ReadBytes(file);
    return bytes.size() >= 4 && std::memcmp(bytes.data(), kPackedSkinMagic, 4) == 0;
}

int Unpack(const std::wstring& file, const std::wstring& folderArg)
{
    if (!HasMagic(file)) {
        Say(file + L": not a packed skin");
        return 1;
    }
    std::unique_ptr<TacSkinConvertor> c;
    LoadPackedSkinFile(file, c, true);
    const std::wstring folder = IncludeTrailingPathDelimiter(folderArg);
    ForceDirectories(folder);
    // Entry names come from the file: one that would leave the folder is refused before anything is written.
    for (const TacImageItem& item : c->Files)
        if (!IsPlainFileName(item.Name)) {
            Say(file + L": entry name \"" + item.Name + L"\" is not a plain file name");
            return 1;
        }
    c->Options->SaveToFile(folder + L"Options.dat");
    for (const TacImageItem& item : c->Files)
        item.Data->SaveToFile(folder + item.Name);
    return 0;
}

const wchar_t* const kRequiredSections[] = {
    L"GLOBALINFO", L"FORM", L"PANEL", L"BUTTON", L"EDIT", L"TABTOP", L"SCROLLBTNTOP", L"SCROLLBTNBOTTOM",
    L"SCROLLBTNLEFT", L"SCROLLBTNRIGHT", L"SCROLLSLIDERH", L"SCROLLSLIDERV", L"SCROLLBAR1H", L"SCROLLBAR1V",
    L"SCROLLBAR2H", L"SCROLLBAR2V",
};

int CheckRanges(const TsSkinManager& sm)
{
    int problems = 0;
    auto percent = [&](const TsGeneralData& g, const wchar_t* key, int value) {
        if (value < 0 || value > 100) {
            Say(L"[" + g.ClassName + L"] " + key + L"=" + IntToStr(value) + L" is outside 0..100");
            ++problems;
        }
    };
    for (const TsGeneralData& g : sm.Sections) {
        percent(g, L"TRANSPARENCY", g.Transparency);
        percent(g, L"GRADIENTPERCENT", g.GradientPercent);
        percent(g, L"IMAGEPERCENT", g.ImagePercent);
        percent(g, L"HOTTRANSPARENCY", g.HotTransparency);
        percent(g, L"HOTGRADIENTPERCENT", g.HotGradientPercent);
        percent(g, L"HOTIMAGEPERCENT", g.HotImagePercent);
        percent(g, L"SHADOWTRANSPARENCY", g.ShadowTransparency);
        if (!g.ParentClass.empty() && g.ParentClass != g.ClassName && FindSectionIndex(&sm, g.ParentClass) < 0) {
            Say(L"[" + g.ClassName + L"] PARENTCLASS " + g.ParentClass + L" names no section");
            ++problems;
        }
    }
    for (const TsMaskData& m : sm.Masks)
        if (m.R.right < m.R.left || m.R.bottom < m.R.top || m.R.left < 0 || m.R.top < 0 || m.ImageCount < 1) {
            Say(L"[" + m.ClassName + L"] " + m.PropertyName + L" has an empty rectangle or no images");
            ++problems;
        }
    return problems;
}

int Lint(const std::wstring& path)
{
    TsSkinManager sm;
    std::wstring folder = ExcludeTrailingPathDelimiter(path);
    std::wstring name = ExtractFileName(folder);
    if (UpperCase(ExtractFileExt(folder)) == L".ASZ") {
        if (!HasMagic(folder)) {
            Say(path + L": not a packed skin");
            return 1;
        }
        name = ChangeFileExt(name, L"");
    } else if (!FileExists(folder + L"\\Options.dat")) {
        Say(path + L": no Options.dat");
        return 1;
    }
    sm.SetSkinDirectory(ExtractFileDir(folder));
    int reported = 0;
    sm.OnUnresolvedImage = [&](const std::wstring& section, const std::wstring& key, const std::wstring& value) {
        Say(path + L": [" + section + L"] " + key + L"=" + value + L" names no image");
        ++reported;
    };
    sm.OnClampedImage = [&](const std::wstring& section, const std::wstring& key, const std::wstring& value) {
        Say(path + L": [" + section + L"] " + key + L"=" + value +
            L" has an image count below 1 or a mask type below 0 (or beyond 16 bits); clamped");
        ++reported;
    };
    try {
        sm.SetSkinName(name);
    } catch (const Exception& e) {
        Say(path + L": " + e.Message());
        return 1;
    }
    if (!sm.Active() || sm.SkinName() != name) {
        Say(path + L": the skin did not load");
        return 1;
    }
    int problems = reported + CheckRanges(sm);
    for (const wchar_t* section : kRequiredSections)
        if (FindSectionIndex(&sm, section) < 0) {
            Say(path + L": section " + section + L" is missing");
            ++problems;
        }
    Say(path + L": " + IntToStr(static_cast<std::int64_t>(sm.Sections.size())) + L" sections, " +
        IntToStr(static_cast<std::int64_t>(sm.Masks.size())) + L" images, " + IntToStr(problems) + L" problems");
    return problems == 0 ? 0 : 1;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    try {
        const std::wstring command = argc > 1 ? argv[1] : L"";
        if (command == L"pack" && argc == 4)
            return Pack(argv[2], argv[3]);
        if (command == L"unpack" && argc == 4)
            return Unpack(argv[2], argv[3]);
        if (command == L"lint" && argc == 3)
            return Lint(argv[2]);
        return Usage();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "skinpack: %s\n", e.what());
        return 1;
    }
}
