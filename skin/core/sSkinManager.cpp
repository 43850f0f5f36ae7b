#include "skin/core/sSkinManager.h"

#include "framework/FormData.h"
#include "framework/Forms.h"
#include "framework/IniFiles.h"
#include "framework/SysUtils.h"
#include "skin/core/acntUtils.h"
#include "skin/core/acSkinPack.h"
#include "skin/core/sMessages.h"
#include "skin/core/sSkinLinks.h"
#include "skin/core/sSkinReader.h"

namespace {

TsSkinManager* gDefaultManager = nullptr;
bool gSkinChanging = false;
bool gSkinRemoving = false;

// Sets a flag for the length of a broadcast; an exception on the way does not leave it set.
class FlagScope {
public:
    explicit FlagScope(bool& flag) : flag_(flag) { flag_ = true; }
    ~FlagScope() { flag_ = false; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

private:
    bool& flag_;
};

// The skin text of a packed skin, indexed straight from its lines: the readers need no INI of it.
std::unique_ptr<TSkinTextIndex> ReadOptionsStream(TacSkinConvertor& convertor)
{
    convertor.Options->SetPosition(0);
    return std::make_unique<TSkinTextIndex>(TStrings::ReadText(convertor.Options.get()));
}

// The whole skin text of a skin folder. A text that cannot be opened (held by another program, a
// folder in its place) or read to its end raises with a message naming it, as a damaged packed skin
// does: read as an empty text, it would load as a skin without a single section.
std::unique_ptr<TSkinTextIndex> ReadOptionsFile(const std::wstring& fileName)
{
    TMemoryStream bytes;
    try {
        bytes.LoadFromFile(fileName);
    } catch (const EFOpenError&) {
        throw;
    } catch (const EStreamError& e) {
        throw EReadError(L"Cannot read file \"" + fileName + L"\". " + e.Message());
    }
    return std::make_unique<TSkinTextIndex>(TStrings::ReadText(&bytes));
}

// Whether anything, a file or a folder, stands under the name.
bool PathTaken(const std::wstring& path)
{
    return FileExists(path) || DirectoryExists(path);
}

void LoadSkinText(TsSkinManager* sm, const TSkinTextIndex* text, TacSkinConvertor* convertor)
{
    TacSkinSource source{nullptr, convertor, text ? nullptr : SelectedStoredSkin(sm), text};
    LoadSkinMasks(sm, source);
    LoadSkinPatterns(sm, source);
    LoadSkinSections(sm, source);
    ApplySkinColourSettings(sm);
}

} // namespace

TsSkinManager* DefaultManager()
{
    return gDefaultManager;
}

bool SkinChanging()
{
    return gSkinChanging;
}

void ClearSkinChanging()
{
    gSkinChanging = false;
}

bool SkinRemoving()
{
    return gSkinRemoving;
}

TsSkinManager::TsSkinManager(TComponent* owner)
    : TComponent(owner), internalSkins_(std::make_unique<TsStoredSkins>(this)),
      commonSections_(std::make_unique<TStringList>()), menuSupport_(std::make_unique<TacMenuSupport>()),
      animEffects_(std::make_unique<TacAnimEffects>())
{
    animEffects_->SetManager(this);
    isDefaultFlag_ = gDefaultManager == nullptr;
    if (!gDefaultManager) {
        gDefaultManager = this;
        if (IsNTFamily())
            HookApplication();
    }
    if (SkinLinks().MakeSkinMenus)
        menus_ = SkinLinks().MakeSkinMenus(this);
}

TsSkinManager::~TsSkinManager()
{
    try {
        SetActive(false);
    } catch (...) {
        // Destruction goes on: the windows were told what could be told.
    }
    // Whatever state the manager was left in, its hook procedure must not outlive it.
    RemoveDialogsHook();
    animEffects_.reset();
    internalSkins_.reset();
    menus_.reset();
    commonSections_.reset();
    menuSupport_.reset();
    ClearSkinArrays();
    // The manager that hooked the application window unhooks it, even when it is no longer the default
    // one: a hook left behind would call into a destroyed object.
    UnhookApplication();
    if (gDefaultManager == this)
        gDefaultManager = nullptr;
}

void TsSkinManager::AfterConstruction()
{
    TComponent::AfterConstruction();
    if (skinDirectory_.empty())
        skinDirectory_ = L"c:\\Skins";
}

void TsSkinManager::Loaded()
{
    TComponent::Loaded();
    if (skinDirectory_.empty())
        skinDirectory_ = L"c:\\Skins";
    if (menuSupport_->IcoLineSkin.empty())
        menuSupport_->IcoLineSkin = L"ICOLINE";
    // The skin was loaded while SkinName was read; now the form and its controls exist to hear of it.
    if (active_ && !skinName_.empty())
        BroadcastSkinChanged();
}

bool TsSkinManager::IsDefault() const
{
    return gDefaultManager == this;
}

void TsSkinManager::SetIsDefault(bool value)
{
    if (!value && gDefaultManager) {
        isDefaultFlag_ = gDefaultManager == this;
        return;
    }
    isDefaultFlag_ = true;
    TsSkinManager* previous = gDefaultManager;
    if (previous != this) {
        // One dialogs hook and one application-window hook serve the process: the previous default
        // manager gives them up before this one takes them.
        if (previous) {
            previous->RemoveDialogsHook();
            previous->UnhookApplication();
        }
        gDefaultManager = this;
        if (IsNTFamily())
            HookApplication();
    }
    if (!active_) {
        BroadcastSkinRemoved();
    } else {
        BroadcastSkinChanged();
    }
}

std::wstring TsSkinManager::SkinInfo() const
{
    if (!skinData_.Active)
        return L"N/A";
    std::wstring text = FloatToStr(skinData_.Version);
    for (wchar_t& c : text)
        if (c == L',')
            c = L'.';
    return text;
}

std::wstring TsSkinManager::ResolveSkinDirectory() const
{
    const std::wstring& dir = skinDirectory_;
    if (dir.rfind(L"..", 0) == 0) {
        std::wstring parent = ProgramFolder();
        if (!parent.empty())
            parent.pop_back();
        while (!parent.empty() && parent.back() != L'\\' && parent.back() != L'/')
            parent.pop_back();
        return parent + (dir.size() > 3 ? dir.substr(3) : std::wstring());
    }
    if (dir.rfind(L".\\", 0) == 0 || dir.rfind(L"./", 0) == 0)
        return ProgramFolder() + dir.substr(2);
    if (dir.find(L':') == std::wstring::npos && dir.find(L"\\\\") == std::wstring::npos)
        return ProgramFolder() + dir;
    return dir;
}

void TsSkinManager::SetSkinDirectory(const std::wstring& dir)
{
    if (dir == skinDirectory_)
        return;
    skinDirectory_ = dir;
    skinData_.SkinPath = ResolveSkinDirectory();
}

void TsSkinManager::SetCommonSections(const TStrings* lines)
{
    commonSections_->Clear();
    for (int i = 0; i < lines->Count(); ++i) {
        std::wstring line = lines->Get(i);
        if (!line.empty() && line[0] != L';')
            line = RemoveChar(line, L' ');
        commonSections_->Add(line);
    }
    SetSkinName(skinName_);
}

void TsSkinManager::SetActive(bool value)
{
    if (value == active_)
        return;
    active_ = value;
    if (active_) {
        SetSkinName(skinName_);
        return;
    }
    if (!HasState(csLoading)) {
        BroadcastSkinRemoved();
    } else {
        // No window has heard of the skin yet, but the dialogs hook came with it when SkinName was
        // read: left behind, it would outlive the manager and keep any other from hooking.
        RemoveDialogsHook();
        ClearSkinArrays();
    }
    skinData_.Active = false;
    UpdateCachedIndexes();
}

void TsSkinManager::SetSkinnedPopups(bool value)
{
    if (value == skinnedPopups_)
        return;
    skinnedPopups_ = value;
    if (value && menus_ && IsDefault())
        menus_->UpdateActive();
}

void TsSkinManager::SetHueOffset(std::int32_t value)
{
    if (value == hueOffset_)
        return;
    hueOffset_ = value;
    ReloadForColours();
}

void TsSkinManager::SetSaturation(std::int32_t value)
{
    if (value == saturation_)
        return;
    saturation_ = value;
    ReloadForColours();
}

// The colour settings apply while a skin is read: the same skin is read again and repainted, without
// a skin-changed broadcast (the indexes stay what they were).
void TsSkinManager::ReloadForColours()
{
    if (!skinData_.Active)
        return;
    // A skin text that cannot be read now leaves the skin as it is.
    std::unique_ptr<TSkinTextIndex> folderText = ReadFolderText();
    try {
        LoadSelectedSkin(std::move(folderText));
    } catch (...) {
        skinData_.Active = false;
        BroadcastSkinRemoved();
        throw;
    }
    skinData_.Active = true;
    if (!HasState(csLoading) && !HasState(csReading))
        RepaintSkinnedForms();
}

void TsSkinManager::SetSkinName(const std::wstring& name)
{
    // Name may be skinName_ itself (a reload of the same skin).
    const std::wstring previous = skinName_;
    skinName_ = name;
    if (!active_)
        return;
    const bool passOver = PassesOverFailingSources();
    // A skin folder's text is read before anything changes: one that cannot be read fails the load
    // and leaves the active skin, and the name it is known by, as they were.
    std::unique_ptr<TSkinTextIndex> folderText;
    try {
        if (!passOver)
            folderText = ReadFolderText();
    } catch (...) {
        skinName_ = previous;
        throw;
    }
    OnBeforeChange(this);
    skinData_.Active = false;
    try {
        if (passOver)
            LoadFirstSkinThatLoads();
        else
            LoadSelectedSkin(std::move(folderText));
    } catch (...) {
        // A skin that fails part-way leaves nothing half-built behind, and no window keeps indexes
        // into arrays that no longer hold what they pointed at.
        BroadcastSkinRemoved();
        throw;
    }
    if (!active_)
        BroadcastSkinRemoved();
    else
        BroadcastSkinChanged();
    OnAfterChange(this);
}

// Only a manager with a skin has one to keep. Without one (its form being read, its first load) a
// failing source would leave the program with no skin at all, or, while the form is read, with no main
// window: the failure is told to the user and the next source is tried. With no application to tell
// it through (a tool, a test that made none), the failure goes to the caller as before.
bool TsSkinManager::PassesOverFailingSources() const
{
    return !skinData_.Active && Application;
}

// Where the skin comes from is decided here, once: a packed file beside the folders first, then a
// folder of its own, then the skins stored in form data (the loaders fall back in that order).
void TsSkinManager::LoadSelectedSkin(std::unique_ptr<TSkinTextIndex> folderText)
{
    packed_ = FileExists(PackedSkinFile());
    if (packed_ && LoadPackedSkin())
        return;
    packed_ = false;
    LoadSkinFromFolder(std::move(folderText));
}

// The same order of search, each packed file or folder that fails reported and passed over; the stored
// skins, the program's own, fail as they always do.
void TsSkinManager::LoadFirstSkinThatLoads()
{
    packed_ = FileExists(PackedSkinFile());
    if (packed_ && LoadOrReport([this] { return LoadPackedSkin(); }))
        return;
    packed_ = false;
    const std::wstring text = SkinTextFile();
    if (PathTaken(text) && LoadOrReport([&] {
            LoadFolderSkin(ReadOptionsFile(text));
            return true;
        }))
        return;
    LoadStoredSkin();
}

bool TsSkinManager::LoadOrReport(const std::function<bool()>& load)
{
    try {
        return load();
    } catch (...) {
        // Nothing the failed source read stays for the next one to be mixed with.
        ClearSkinArrays();
        Application->HandleException(this);
        return false;
    }
}

std::wstring TsSkinManager::SkinFolder() const
{
    return ResolveSkinDirectory() + L"\\" + skinName_ + L"\\";
}

std::wstring TsSkinManager::SkinTextFile() const
{
    return SkinFolder() + L"Options.dat";
}

std::unique_ptr<TSkinTextIndex> TsSkinManager::ReadFolderText() const
{
    const std::wstring text = SkinTextFile();
    if (FileExists(PackedSkinFile()) || !PathTaken(text))
        return nullptr;
    return ReadOptionsFile(text);
}

// The packed file of the skin name. A relative skin directory is the program's, as for skin folders,
// not whatever folder the process happens to work in.
std::wstring TsSkinManager::PackedSkinFile() const
{
    return NormalizeDir(ResolveSkinDirectory()) + skinName_ + L".asz";
}

bool TsSkinManager::RunTimeWithMainForm() const
{
    return Application && Application->MainForm();
}

void TsSkinManager::BroadcastSkinChanged()
{
    // Forms stopped here are started again by RepaintSkinnedForms, which skips both while loading.
    const bool freeze = RunTimeWithMainForm() && !HasState(csLoading);
    if (freeze)
        FreezeSkinnedForms(this);
    if (menus_)
        menus_->SetSkinBorderWidth(-1);
    skinData_.Active = false;
    try {
        FlagScope changing(gSkinChanging);
        FlagScope telling(tellingOfChange_);
        UpdateCachedIndexes();
        TMessage message = MakeSkinCmd(SkinCmdSkinChanged, reinterpret_cast<LPARAM>(this));
        BroadcastToAppForms(message);
    } catch (...) {
        // No form is left holding its paints.
        if (freeze)
            ThawSkinnedForms(this, false);
        throw;
    }
    skinData_.Active = true;
    if (IsDefault() && !hookInstalled_)
        InstallDialogsHook();
    RepaintSkinnedForms();
}

void TsSkinManager::BroadcastSkinRemoved()
{
    FlagScope removing(gSkinRemoving);
    RemoveDialogsHook();
    skinData_.Active = false;
    TMessage message = MakeSkinCmd(SkinCmdSkinRemoved, reinterpret_cast<LPARAM>(this));
    try {
        BroadcastToAppForms(message);
    } catch (...) {
        ClearSkinArrays();
        UpdateCachedIndexes();
        throw;
    }
    ClearSkinArrays();
    UpdateCachedIndexes();
}

void TsSkinManager::RepaintSkinnedForms()
{
    TMessage before = MakeSkinCmd(SkinCmdBeforeRepaint, reinterpret_cast<LPARAM>(this));
    BroadcastToAppForms(before);
    const bool freeze = !HasState(csLoading) && RunTimeWithMainForm();
    if (freeze)
        FreezeSkinnedForms(this);
    TMessage refresh = MakeSkinCmd(SkinCmdRefresh, reinterpret_cast<LPARAM>(this));
    // A round of its own (never 0), the one before given back at the end.
    const std::uint32_t outerRound = refreshRound_;
    lastRefreshRound_ = lastRefreshRound_ + 1 == 0 ? 1 : lastRefreshRound_ + 1;
    refreshRound_ = lastRefreshRound_;
    try {
        BroadcastToAppForms(refresh);
    } catch (...) {
        refreshRound_ = outerRound;
        if (freeze)
            ThawSkinnedForms(this, false);
        throw;
    }
    refreshRound_ = outerRound;
    if (freeze)
        ThawSkinnedForms(this, true);
}

void TsSkinManager::LoadSkin(TMemIniFile* ini, TacSkinConvertor* convertor)
{
    // The text is indexed once for the three readers.
    const std::unique_ptr<TSkinTextIndex> text = ini ? std::make_unique<TSkinTextIndex>(*ini) : nullptr;
    LoadSkinText(this, text.get(), convertor);
}

bool TsSkinManager::LoadPackedSkin()
{
    auto convertor = std::make_unique<TacSkinConvertor>();
    ReadBitmapEntriesStraight(convertor.get());
    // Not a container after all (the warning was shown): the search goes on as if the file were not there.
    if (!LoadPackedSkinFile(PackedSkinFile(), convertor, true) || !convertor->Options)
        return false;
    const std::unique_ptr<TSkinTextIndex> text = ReadOptionsStream(*convertor);
    skinData_.SkinPath = ResolveSkinDirectory() + L"\\";
    LoadSkinText(this, text.get(), convertor.get());
    return true;
}

void TsSkinManager::LoadSkinFromFolder(std::unique_ptr<TSkinTextIndex> text)
{
    const std::wstring options = SkinTextFile();
    if (text)
        LoadFolderSkin(std::move(text));
    else if (PathTaken(options))
        LoadFolderSkin(ReadOptionsFile(options));
    else
        LoadStoredSkin();
}

void TsSkinManager::LoadFolderSkin(std::unique_ptr<TSkinTextIndex> text)
{
    packed_ = false;
    skinData_.SkinPath = SkinFolder();
    LoadSkinText(this, text.get(), nullptr);
}

void TsSkinManager::LoadStoredSkin()
{
    skinData_.SkinPath.clear();
    int index = internalSkins_->IndexOfSkin(skinName_);
    if (index < 0) {
        if (internalSkins_->Count() == 0) {
            active_ = false;
            return;
        }
        index = 0;
        skinName_ = internalSkins_->Items(0)->Name();
    }
    TsStoredSkin* stored = internalSkins_->Items(index);
    if (stored->Data()->Size() == 0) {
        packed_ = false;
        LoadSkin(nullptr, nullptr);
        return;
    }
    packed_ = true;
    TacSkinConvertor convertor;
    ReadBitmapEntriesStraight(&convertor);
    convertor.LendSource(stored->Data());
    const bool parsed = ParsePackedSkin(&convertor);
    convertor.ReleaseSource();
    if (!parsed || !convertor.Options) {
        LoadSkin(nullptr, nullptr);
        return;
    }
    const std::unique_ptr<TSkinTextIndex> storedText = ReadOptionsStream(convertor);
    LoadSkinText(this, storedText.get(), &convertor);
}

void RegisterSkinManagerClasses()
{
    RegisterClass<TComponent>(L"TComponent", L"");
    RegisterStoredSkinClasses();
    // The menu options, read from form data as "MenuSupport.IcoLineSkin", "MenuSupport.ExtraLineFont.Name".
    using TMenusBuilder = TClassBuilder<TacMenuSupport>;
    TMenusBuilder menus = RegisterClass<TacMenuSupport>(L"TacMenuSupport", L"TPersistent");
    menus.Custom(L"IcoLineSkin", [](TacMenuSupport* m, const TFormValue& v, TFormReader& r) {
        m->IcoLineSkin = TMenusBuilder::StringValue(v, r);
    });
    menus.Custom(L"UseExtraLine", [](TacMenuSupport* m, const TFormValue& v, TFormReader& r) {
        m->UseExtraLine = TMenusBuilder::BoolValue(v, r);
    });
    menus.Custom(L"ExtraLineWidth", [](TacMenuSupport* m, const TFormValue& v, TFormReader& r) {
        m->ExtraLineWidth = TMenusBuilder::IntValue(v, r);
    });
    menus.Info().AddObject(L"ExtraLineFont", [](TPersistent* o) -> TPersistent* {
        return static_cast<TacMenuSupport*>(o)->ExtraLineFont.get();
    });
    RegisterClass<TsSkinManager>(L"TsSkinManager", L"TComponent")
        .Object(L"InternalSkins", &TsSkinManager::InternalSkins)
        .Object(L"MenuSupport", &TsSkinManager::MenuSupport)
        .String(L"SkinDirectory", &TsSkinManager::SetSkinDirectory)
        .String(L"SkinName", &TsSkinManager::SetSkinName)
        .Bool(L"Active", &TsSkinManager::SetActive)
        .Bool(L"SkinnedPopups", &TsSkinManager::SetSkinnedPopups)
        .Int(L"HueOffset", &TsSkinManager::SetHueOffset)
        .Int(L"Saturation", &TsSkinManager::SetSaturation)
        .Bool(L"IsDefault", &TsSkinManager::SetIsDefault)
        .Object(L"AnimEffects", &TsSkinManager::AnimEffects)
        .Set(L"SkinningRules", &TsSkinManager::SetSkinningRules,
             std::vector<std::pair<std::wstring, TacSkinningRule>>{
                 {L"srStdForms", srStdForms}, {L"srStdDialogs", srStdDialogs}, {L"srThirdParty", srThirdParty}})
        .Event(L"OnBeforeChange", &TsSkinManager::OnBeforeChange)
        .Event(L"OnAfterChange", &TsSkinManager::OnAfterChange)
        .Event(L"OnGetMenuExtraLineData", &TsSkinManager::OnGetMenuExtraLineData)
        .Custom(L"CommonSections",
                [](TsSkinManager* sm, const TFormValue& v, TFormReader& r) {
                    if (v.kind != TFormValue::vkList)
                        r.Error(v.line, L"List expected, found " + v.Describe());
                    TStringList lines;
                    for (const TFormValue& line : v.list)
                        lines.Add(TClassBuilder<TsSkinManager>::StringValue(line, r));
                    sm->SetCommonSections(&lines);
                })
        // Both describe the library and the loaded skin: values kept in form data are ignored.
        .Custom(L"SkinInfo", [](TsSkinManager*, const TFormValue&, TFormReader&) {})
        .Custom(L"Version", [](TsSkinManager*, const TFormValue&, TFormReader&) {});
}
