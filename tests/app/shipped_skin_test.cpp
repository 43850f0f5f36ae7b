// The program's own skin as the main window's form data carries it: the stored skin loads while the
// form is read, every section and image the painters ask for is there, every image value of the text
// resolves, and no key of the text is one that nobody reads.
#include "skin/core/sSkinManager.h"

#include "framework/FormData.h"
#include "framework/Forms.h"
#include "framework/IniFiles.h"
#include "framework/SysUtils.h"
#include "skin/core/acSkinPack.h"
#include "skin/core/sMaskPainter.h"
#include "tests/app/painted_names.h"
#include "tests/support/test_support.h"

#include <set>
#include <string>
#include <vector>

using namespace skinasset;

namespace {

const TFormObject* FindChild(const TFormObject& parent, const std::wstring& name)
{
    for (const TFormObject& child : parent.children) {
        if (child.name == name)
            return &child;
        if (const TFormObject* found = FindChild(child, name))
            return found;
    }
    return nullptr;
}

enum class ValueForm { Other, OwnImage, MasterGlyph, MasterTexture, Jpeg };

ValueForm FormOf(const std::wstring& value)
{
    if (value.empty())
        return ValueForm::Other;
    switch (value[0]) {
    case L'!':
        return ValueForm::OwnImage;
    case L'@':
        return ValueForm::MasterGlyph;
    case L'~':
        return ValueForm::MasterTexture;
    default:
        break;
    }
    const std::wstring upper = UpperCase(value);
    return upper.find(L".JPG") != std::wstring::npos ? ValueForm::Jpeg : ValueForm::Other;
}

struct SkinValue {
    std::wstring section, key, value;
};

class ShippedSkin : public testsupport::TempFolderTest {
protected:
    void SetUp() override
    {
        TempFolderTest::SetUp();
        RegisterFrameworkClasses();
        RegisterSkinManagerClasses();
        ReadManager(L"");
        ASSERT_NE(sm, nullptr);
        ASSERT_EQ(sm->InternalSkins()->Count(), 1);
        ReadText(sm->InternalSkins()->Items(0)->Data());
    }

    // Reads only the manager, as the main window reads it, under a bare owner; a skin directory given
    // takes the place of the form data's.
    void ReadManager(const std::wstring& skinDirectory)
    {
        std::string data;
        std::wstring fileName;
        ASSERT_TRUE(FindFormResource(L"TMainForm", data, fileName));
        const TFormObject form = ParseFormData(data, fileName);
        const TFormObject* managerData = FindChild(form, L"sSkinManager1");
        ASSERT_NE(managerData, nullptr);
        TFormObject holder;
        holder.name = L"Holder";
        holder.className = L"TComponent";
        holder.children.push_back(*managerData);
        for (TFormProperty& property : holder.children[0].properties)
            if (property.name == L"SkinDirectory" && !skinDirectory.empty())
                property.value.text = skinDirectory;
        // The manager read before goes first, so that this one is the default manager, as the main
        // window's is.
        root.reset();
        root.reset(Create<TComponent>(nullptr));
        TFormReader(root.get(), fileName).Read(holder);
        sm = dynamic_cast<TsSkinManager*>(root->FindComponent(L"sSkinManager1"));
    }

    // The skin text inside the stored skin's container, and its values in the order of the text.
    void ReadText(TMemoryStream* packed)
    {
        TacSkinConvertor convertor;
        convertor.LendSource(packed);
        ASSERT_TRUE(ParsePackedSkin(&convertor));
        convertor.ReleaseSource();
        ASSERT_NE(convertor.Options, nullptr);
        TStringList lines;
        convertor.Options->SetPosition(0);
        lines.LoadFromStream(convertor.Options.get());
        text.SetStrings(&lines);
        TStringList sectionNames, keys;
        text.ReadSections(&sectionNames);
        for (int s = 0; s < sectionNames.Count(); ++s) {
            sections.push_back(sectionNames[s]);
            text.ReadSection(sectionNames[s], &keys);
            for (int k = 0; k < keys.Count(); ++k)
                values.push_back({sectionNames[s], keys[k], text.ReadString(sectionNames[s], keys[k], L"")});
        }
        imageFiles = convertor.ImageCount;
    }

    int CountValues(ValueForm form) const
    {
        int n = 0;
        for (const SkinValue& v : values)
            n += FormOf(v.value) == form ? 1 : 0;
        return n;
    }

    TOwned<TComponent> root;
    TsSkinManager* sm = nullptr;
    TMemIniFile text{L""};
    std::vector<std::wstring> sections;
    std::vector<SkinValue> values;
    int imageFiles = 0;
};

// ---- loading from the form data ----

TEST_F(ShippedSkin, StoredSkinLoadsWhileTheFormIsRead)
{
    EXPECT_TRUE(sm->Active());
    EXPECT_EQ(sm->SkinName(), L"Office2007 (internal)");
    EXPECT_EQ(sm->InternalSkins()->Items(0)->Name(), L"Office2007 (internal)");
    EXPECT_TRUE(sm->IsPacked());
    EXPECT_TRUE(sm->SkinData()->Active);
    EXPECT_EQ(sm->SkinData()->SkinPath, L"");
    EXPECT_EQ(sm->SkinDirectory(), L"c:\\Skins");
    // The form's stored "5.27" is ignored: the value describes the skin that is loaded.
    EXPECT_EQ(sm->SkinInfo(), L"6");
    EXPECT_EQ(sm, DefaultManager());
}

// A skin directory holding a skin of the stored skin's name that cannot be read does not keep the
// main window from being made: each failing source is told once, in the words a switch to it raises,
// and the search goes on down to the stored skin.
TEST_F(ShippedSkin, UnreadableSkinOfTheStoredNameIsToldOnceAndTheStoredSkinLoads)
{
    const std::wstring name = sm->SkinName();
    const std::wstring text = PathOf(name + L"\\Options.dat");
    const std::wstring packed = PathOf(name + L".asz");
    TMemoryStream* stored = sm->InternalSkins()->Items(0)->Data();
    const std::string cut(static_cast<const char*>(stored->Memory()), static_cast<size_t>(stored->Size() / 2));
    struct Told {
        std::vector<std::wstring> messages;
        Told() { Application->OnException = [this](TObject*, const Exception& e) { messages.push_back(e.Message()); }; }
        ~Told() { Application->OnException = nullptr; }
    } told;
    struct Case {
        bool held, hollow, damaged;
    };
    for (const Case c : {Case{true, false, false}, Case{false, true, false}, Case{false, false, true},
                         Case{true, false, true}}) {
        testsupport::RemoveTree(PathOf(name));
        DeleteFileW(packed.c_str());
        ASSERT_TRUE(!c.hollow || ForceDirectories(text));
        if (c.held)
            testsupport::WriteFileBytes(text, "[FORM]\r\n");
        if (c.damaged)
            testsupport::WriteFileBytes(packed, cut);
        const HANDLE held =
            c.held ? CreateFileW(text.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr) : nullptr;
        ASSERT_NE(held, INVALID_HANDLE_VALUE);
        told.messages.clear();
        ReadManager(Folder());
        ASSERT_NE(sm, nullptr);
        EXPECT_EQ(sm->SkinName(), name);
        EXPECT_TRUE(sm->IsPacked());
        EXPECT_EQ(sm->SkinData()->SkinPath, L"");
        EXPECT_EQ(sm->Sections.size(), sections.size());
        const bool folderFails = c.held || c.hollow;
        ASSERT_EQ(told.messages.size(), static_cast<size_t>(c.damaged + folderFails));
        EXPECT_TRUE(!folderFails || told.messages.back().find(text) != std::wstring::npos)
            << testsupport::Narrow(told.messages.back());
        std::wstring raised;
        try {
            sm->SetSkinName(name);
        } catch (const Exception& e) {
            raised = e.Message();
        }
        EXPECT_EQ(raised, told.messages.front());
        if (held)
            CloseHandle(held);
    }
    // A manager made in code, at its first load: past the damaged file, the folder of the name, now
    // readable, is the skin.
    TsSkinManager first;
    first.SetSkinDirectory(Folder());
    first.SetInternalSkins(sm->InternalSkins());
    told.messages.clear();
    first.SetSkinName(name);
    EXPECT_EQ(told.messages.size(), 1u);
    EXPECT_FALSE(first.IsPacked());
    EXPECT_EQ(first.SkinData()->SkinPath, PathOf(name + L"\\"));
    EXPECT_GE(FindSectionIndex(&first, L"FORM"), 0);
}

TEST_F(ShippedSkin, MenuOptionsComeFromTheFormData)
{
    TacMenuSupport* menus = sm->MenuSupport();
    EXPECT_EQ(menus->IcoLineSkin, L"ICOLINE");
    EXPECT_FALSE(menus->UseExtraLine);
    EXPECT_EQ(menus->ExtraLineFont->Name(), L"MS Sans Serif");
    EXPECT_EQ(menus->ExtraLineFont->Height(), -11);
}

TEST_F(ShippedSkin, SectionsMasksAndPatternsAreCounted)
{
    EXPECT_EQ(sm->Sections.size(), sections.size());
    // PAPER.JPG is large enough to stay a JPEG pattern; FLECK.JPG is small and becomes an image.
    EXPECT_EQ(CountValues(ValueForm::Jpeg), 2);
    EXPECT_EQ(sm->Patterns.size(), 1u);
    const int images = CountValues(ValueForm::OwnImage) + CountValues(ValueForm::MasterGlyph) +
                       CountValues(ValueForm::MasterTexture) + 1;
    EXPECT_EQ(static_cast<int>(sm->Masks.size()), images);
    // The container holds the master bitmap, every image file once, and the two JPEG files.
    std::set<std::wstring> files = {L"MASTER.BMP"};
    for (const SkinValue& v : values)
        if (FormOf(v.value) == ValueForm::OwnImage)
            files.insert(v.value.substr(1, v.value.find(L'!', 1) - 1));
        else if (FormOf(v.value) == ValueForm::Jpeg)
            files.insert(v.value);
    EXPECT_EQ(imageFiles, static_cast<int>(files.size()));
    ASSERT_NE(sm->MasterBitmap, nullptr);
    EXPECT_GT(sm->MasterBitmap->Width(), 0);
}

TEST_F(ShippedSkin, EveryImageValueResolvesToAnImage)
{
    for (const SkinValue& v : values) {
        switch (FormOf(v.value)) {
        case ValueForm::OwnImage:
        case ValueForm::MasterGlyph:
        case ValueForm::MasterTexture: {
            const int index = FindMaskIndexNoParent(sm, v.section, v.key);
            ASSERT_TRUE(IsValidMaskIndex(sm, index)) << "[" << testsupport::Narrow(v.section) << "] "
                                                     << testsupport::Narrow(v.key);
            const TsMaskData& mask = sm->Masks[static_cast<size_t>(index)];
            const TBitmap* source = mask.Bmp ? mask.Bmp.get() : sm->MasterBitmap.get();
            EXPECT_LE(mask.R.right, source->Width()) << testsupport::Narrow(v.key);
            EXPECT_LE(mask.R.bottom, source->Height()) << testsupport::Narrow(v.key);
            EXPECT_GT(mask.R.right - mask.R.left, 0);
            break;
        }
        case ValueForm::Jpeg: {
            const int pattern = FindPatternIndex(sm, FindSectionIndex(sm, v.section), v.section, v.key);
            const int texture = FindTextureIndex(sm, FindSectionIndex(sm, v.section), v.section, v.key);
            EXPECT_TRUE(pattern >= 0 || texture >= 0) << testsupport::Narrow(v.value);
            break;
        }
        case ValueForm::Other:
            break;
        }
    }
}

// ---- what the painters ask for ----

TEST_F(ShippedSkin, EverySectionThePaintersLookUpExists)
{
    for (const std::wstring& name : PaintedSections())
        EXPECT_GE(FindSectionIndex(sm, name), 0) << testsupport::Narrow(name);
}

TEST_F(ShippedSkin, NoSectionOrKeyIsOneNobodyReads)
{
    for (const std::wstring& name : sections)
        EXPECT_TRUE(PaintedSections().count(name) || OptionalSections().count(name))
            << "[" << testsupport::Narrow(name) << "] is read by no painter";
    for (const SkinValue& v : values) {
        const bool global = v.section == L"GLOBALINFO";
        const bool known = SectionValueKeys().count(v.key) ||
                           (global ? GlobalValueKeys().count(v.key) || GlobalImageKeys().count(v.key)
                                   : SectionImageKeys().count(v.key) != 0);
        EXPECT_TRUE(known) << "[" << testsupport::Narrow(v.section) << "] " << testsupport::Narrow(v.key);
        // Names are compared exactly by every lookup: the text writes them in capitals.
        EXPECT_EQ(v.key, UpperCase(v.key));
    }
}

TEST_F(ShippedSkin, CachedIndexesOfTheCommonSectionsAreFound)
{
    const TacCachedIndexes& c = sm->ConstData;
    EXPECT_GE(c.GlobalInfo, 0);
    // The tab painter takes an index of 0 for "no tab sections".
    for (int i = 0; i < 4; ++i) {
        EXPECT_GT(c.Tab[i], 0) << i;
        EXPECT_GE(c.TabBorder[i], 0) << i;
        EXPECT_GE(c.ScrollBtn[i], 0) << i;
        EXPECT_GE(c.ScrollBtnBorder[i], 0) << i;
        EXPECT_GE(c.ScrollBtnGlyph[i], 0) << i;
        EXPECT_GE(c.ScrollBar[i], 0) << i;
    }
    EXPECT_GE(c.ScrollSliderV, 0);
    EXPECT_GE(c.ScrollSliderH, 0);
    EXPECT_GE(c.SliderVBorder, 0);
    EXPECT_GE(c.SliderHBorder, 0);
    EXPECT_GE(c.SliderVGlyph, 0);
    EXPECT_GE(c.SliderHGlyph, 0);
    for (int i = 0; i < 9; ++i)
        EXPECT_GE(c.CheckBox[i], 0) << i;
    EXPECT_GE(c.ComboBtn, 0);
    EXPECT_GE(c.ComboBtnBorder, 0);
    EXPECT_GE(c.ComboBoxGlyph, 0);
    // Each scroll button has its own arrow.
    EXPECT_EQ(std::set<int>(std::begin(c.ScrollBtnGlyph), std::end(c.ScrollBtnGlyph)).size(), 4u);
}

TEST_F(ShippedSkin, CaptionButtonsAndCheckMarksAreInGlobalInfo)
{
    for (const std::wstring& key : GlobalImageKeys())
        EXPECT_GE(FindMaskIndexNoParent(sm, L"GLOBALINFO", key), 0) << testsupport::Narrow(key);
    for (const wchar_t* key : {L"TITLEBAR", L"BORDERSMASK"})
        EXPECT_GE(FindMaskIndexNoParent(sm, L"FORM", key), 0) << testsupport::Narrow(key);
    EXPECT_GE(FindMaskIndexNoParent(sm, L"STATUSBAR", L"STATUSPANELMASK"), 0);
    EXPECT_GE(FindMaskIndexNoParent(sm, L"MAINMENU", L"BORDERSMASK"), 0);
}

// ---- the images' geometry ----

// Images of their own are measured in two ways: by the frame painter (width / count, height / (mask
// type + 1)) and by the caption and grip code (width / 3, height / 2). They must agree.
TEST_F(ShippedSkin, OwnImagesAreThreeFramesOverTheirMasks)
{
    for (size_t i = 0; i < sm->Masks.size(); ++i) {
        const TsMaskData& m = sm->Masks[i];
        if (!m.Bmp || m.ImgType == itisaTexture)
            continue;
        const POINT frame = GetMaskFrameSize(sm, static_cast<int>(i));
        EXPECT_EQ(frame.x, (m.R.right - m.R.left) / m.ImageCount) << testsupport::Narrow(m.ClassName);
        EXPECT_EQ(frame.y, (m.R.bottom - m.R.top) / (m.MaskType + 1)) << testsupport::Narrow(m.ClassName);
        EXPECT_LT(m.WL + m.WR, frame.x) << testsupport::Narrow(m.ClassName);
        EXPECT_LE(m.WT + m.WB, frame.y) << testsupport::Narrow(m.ClassName);
    }
}

// The key colour in a frame's corners is what the window and popup regions leave out.
TEST_F(ShippedSkin, WindowFramesHaveRoundedTopCorners)
{
    for (const wchar_t* section : {L"FORM", L"FORMTITLE", L"MAINMENU"}) {
        const int index = FindMaskIndexNoParent(sm, section, L"BORDERSMASK");
        ASSERT_GE(index, 0);
        const TsMaskData& m = sm->Masks[static_cast<size_t>(index)];
        const int frameWidth = (m.R.right - m.R.left) / m.ImageCount;
        for (int state = 0; state < m.ImageCount; ++state) {
            const int left = state * frameWidth;
            TCanvas* canvas = m.Bmp->Canvas();
            EXPECT_EQ(canvas->Pixels(left, 0), clFuchsia) << testsupport::Narrow(section);
            EXPECT_EQ(canvas->Pixels(left + frameWidth - 1, 0), clFuchsia) << testsupport::Narrow(section);
            // The top edge between the corners and the left edge below them are drawn.
            EXPECT_NE(canvas->Pixels(left + frameWidth / 2, 0), clFuchsia) << testsupport::Narrow(section);
            EXPECT_NE(canvas->Pixels(left, m.WT), clFuchsia) << testsupport::Narrow(section);
        }
    }
    // The window's bottom corners are square.
    const int form = FindMaskIndexNoParent(sm, L"FORM", L"BORDERSMASK");
    const TsMaskData& m = sm->Masks[static_cast<size_t>(form)];
    EXPECT_NE(m.Bmp->Canvas()->Pixels(0, (m.R.bottom - m.R.top) / 2 - 1), clFuchsia);
}

// A frame painted over a background keeps the background in its middle and draws its outline.
TEST_F(ShippedSkin, ButtonFrameLeavesItsMiddleToTheBackground)
{
    const int index = FindMaskIndexNoParent(sm, L"BUTTON", L"BORDERSMASK");
    ASSERT_GE(index, 0);
    TBitmap bmp;
    bmp.SetPixelFormat(pf24bit);
    bmp.SetSize(75, 23);
    const TColor background = static_cast<TColor>(0x3080C0);
    bmp.Canvas()->Brush()->SetColor(background);
    for (int state = 0; state < 3; ++state) {
        bmp.Canvas()->FillRect(TRect{0, 0, 75, 23});
        DrawSkinRect(&bmp, TRect{0, 0, 75, 23}, true, EmptyCacheInfo, sm->Masks[static_cast<size_t>(index)], state,
                     true);
        // Exactly: the see-through pixels of the frame are white over a white mask.
        EXPECT_EQ(bmp.Canvas()->Pixels(37, 11), background) << state;
        EXPECT_EQ(bmp.Canvas()->Pixels(5, 11), background) << state;
        // The outline on the left edge, half way down, is the skin's and not the background.
        EXPECT_NE(bmp.Canvas()->Pixels(0, 11), background) << state;
    }
}

TEST_F(ShippedSkin, CloseButtonTurnsWarmWhenHot)
{
    const int index = FindMaskIndexNoParent(sm, L"GLOBALINFO", L"BICONCLOSE");
    ASSERT_GE(index, 0);
    const TsMaskData& m = sm->Masks[static_cast<size_t>(index)];
    const POINT frame = GetMaskFrameSize(sm, index);
    auto redPixels = [&](int state) {
        TBitmap bmp;
        bmp.SetPixelFormat(pf24bit);
        bmp.SetSize(frame.x, frame.y);
        bmp.Canvas()->Brush()->SetColor(clWhite);
        bmp.Canvas()->FillRect(TRect{0, 0, frame.x, frame.y});
        DrawSkinGlyph(&bmp, TPoint{0, 0}, state, m, 1);
        int red = 0;
        for (int y = 0; y < frame.y; ++y)
            for (int x = 0; x < frame.x; ++x) {
                const TColor c = bmp.Canvas()->Pixels(x, y);
                red += GetRValue(c) > GetBValue(c) + 60 ? 1 : 0;
            }
        return red;
    };
    EXPECT_EQ(redPixels(0), 0);
    EXPECT_GT(redPixels(1), frame.x * frame.y / 3);
}

} // namespace
