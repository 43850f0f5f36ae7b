// Loading a packed skin as the manager does: a file that is no container says so in a warning box.
#include "skin/core/acSkinPack.h"

#include "framework/SysUtils.h"
#include "skin/core/sVclUtils.h"

const wchar_t* const SZNotPackedFile = L"Loaded data is not packed Quorvel file";

bool ParsePackedSkin(TacSkinConvertor* convertor)
{
    if (!convertor->PackedData())
        return false;
    if (ReadPackedSkin(convertor))
        return true;
    ShowWarningBox(SZNotPackedFile);
    return false;
}

bool LoadPackedSkinFile(const std::wstring& fileName, std::unique_ptr<TacSkinConvertor>& convertor,
                        bool freeSource)
{
    if (!FileExists(fileName))
        return false;
    if (convertor)
        Clear(convertor.get());
    else
        convertor = std::make_unique<TacSkinConvertor>();
    auto source = std::make_unique<TMemoryStream>();
    source->LoadFromFile(fileName);
    convertor->SetOwnedSource(std::move(source));
    bool parsed = false;
    try {
        parsed = ParsePackedSkin(convertor.get());
    } catch (...) {
        if (freeSource)
            convertor->ReleaseSource();
        throw;
    }
    if (freeSource)
        convertor->ReleaseSource();
    return parsed;
}

