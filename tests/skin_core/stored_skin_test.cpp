// Stored skins: streamed in form data and read back unchanged, loaded while the form is read, or spelled
// out in collections; and the animation settings that hang off the manager.
#include "skin/core/sSkinManager.h"

#include "framework/FormData.h"
#include "framework/Graphics.h"
#include "framework/Jpeg.h"
#include "tests/skin_core/message_box_watcher.h"
#include "tests/skin_core/test_skin.h"
#include "tests/support/test_support.h"

#include <string>
#include <vector>

using namespace testskin;

namespace {

std::string Hex(const std::string& bytes)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : bytes) {
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

std::vector<std::uint8_t> AsBytes(const std::string& s)
{
    return std::vector<std::uint8_t>(s.begin(), s.end());
}

class StoredSkins : public testsupport::TempFolderTest {
protected:
    void SetUp() override
    {
        TempFolderTest::SetUp();
        RegisterSkinManagerClasses();
    }
    // Reads a form holding one manager whose body is Body; returns the manager.
    TsSkinManager* ReadForm(const std::wstring& body)
    {
        root.reset(Create<TComponent>(nullptr));
        const std::wstring text = L"object Root: TComponent\r\n  object Skins: TsSkinManager\r\n    SkinDirectory = '" +
                                  Folder() + L"'\r\n" + body + L"  end\r\nend\r\n";
        TFormReader reader(root.get(), L"test.frm");
        reader.Read(ParseFormData(testsupport::Narrow(text), L"test.frm"));
        return dynamic_cast<TsSkinManager*>(root->FindComponent(L"Skins"));
    }
    TOwned<TComponent> root;
};

TEST_F(StoredSkins, PackedDataSurvivesFormDataByteForByte)
{
    const std::string packed = BuildContainer(TestSkinEntries());
    TsSkinManager writer;
    writer.SetActive(false);
    TsStoredSkin* skin = writer.InternalSkins()->Add();
    skin->SetName(L"Office2007 (internal)");
    skin->Author = L"Автор 'o'";
    skin->Version = 6.5;
    skin->ReadData(AsBytes(packed));
    TsStoredSkin* empty = writer.InternalSkins()->Add();
    empty->SetName(L"Empty");

    TsSkinManager* sm = ReadForm(L"    InternalSkins = " + StoredSkinsToFormData(writer.InternalSkins(), L"    ") +
                                 L"\r\n    SkinName = 'Office2007 (internal)'\r\n");
    ASSERT_NE(sm, nullptr);
    ASSERT_EQ(sm->InternalSkins()->Count(), 2);
    const TsStoredSkin* read = sm->InternalSkins()->Items(0);
    EXPECT_EQ(read->WriteData(), AsBytes(packed));
    EXPECT_EQ(read->Author, L"Автор 'o'");
    EXPECT_DOUBLE_EQ(read->Version, 6.5);
    EXPECT_EQ(read->BorderColor, clFuchsia);
    EXPECT_EQ(sm->InternalSkins()->Items(1)->Data()->Size(), 0);
    EXPECT_EQ(sm->InternalSkins()->Owner(), sm);
}

TEST_F(StoredSkins, SkinNameLoadsTheStoredSkinWhileTheFormIsRead)
{
    const std::string packed = BuildContainer(TestSkinEntries());
    TsSkinManager* sm = ReadForm(L"    InternalSkins = <\r\n      item\r\n        Name = 'Office2007 (internal)'\r\n"
                                 L"        Data = {" + testsupport::Widen(Hex(packed)) + L"}\r\n      end>\r\n"
                                 L"    SkinName = 'Office2007 (internal)'\r\n");
    ASSERT_NE(sm, nullptr);
    // Had the name come before the stored skins, nothing would have matched and skinning would be off.
    EXPECT_TRUE(sm->Active());
    EXPECT_EQ(sm->SkinName(), L"Office2007 (internal)");
    EXPECT_TRUE(sm->IsPacked());
    EXPECT_TRUE(sm->SkinData()->Active);
    EXPECT_GE(sm->ConstData.GlobalInfo, 0);
    EXPECT_EQ(sm->SkinData()->SkinPath, L"");
    EXPECT_EQ(sm->SkinInfo(), L"6.5");
    EXPECT_EQ(sm->Patterns.size(), 1u);
    // The stored skin keeps its data after the load.
    EXPECT_EQ(sm->InternalSkins()->Items(0)->WriteData(), AsBytes(packed));
}

TEST_F(StoredSkins, SkinWithoutDataLoadsFromItsCollections)
{
    const std::string bitmap = Hex(FlatBitmapFile(60, 20, RGB(10, 20, 30)));
    const std::string jpeg = Hex(FlatJpegFile(320, 300, RGB(200, 100, 50)));
    const std::string master = Hex(MasterBitmapFile());
    TsSkinManager* sm = ReadForm(
        L"    InternalSkins = <\r\n      item\r\n        Name = 'Spelled'\r\n        Version = 5\r\n"
        L"        Shadow1Blur = 3\r\n"
        L"        MasterBitmap = {" + testsupport::Widen(master) + L"}\r\n"
        L"        Images = <\r\n"
        L"          item\r\n            Name = 'own'\r\n            Image = {" + testsupport::Widen(bitmap) + L"}\r\n"
        L"            SectionName = 'button'\r\n            PropertyName = 'bordersmask'\r\n"
        L"            ImageCount = 3\r\n            MaskType = 1\r\n            ImgType = 2\r\n          end\r\n"
        L"          item\r\n            SectionName = 'PANEL'\r\n            PropertyName = 'PATTERN'\r\n"
        L"            Left = 40\r\n            Right = 56\r\n            Bottom = 16\r\n            StretchMode = 2\r\n"
        L"          end>\r\n"
        L"        Patterns = <\r\n"
        L"          item\r\n            Name = 'wood'\r\n            Image = {" + testsupport::Widen(jpeg) + L"}\r\n"
        L"            SectionName = 'FORM'\r\n            PropertyName = 'PATTERN'\r\n          end\r\n"
        L"          item\r\n            Name = 'wood'\r\n            Image = {}\r\n"
        L"            SectionName = 'EDIT'\r\n            PropertyName = 'PATTERN'\r\n          end>\r\n"
        L"        GeneralData = <\r\n"
        L"          item\r\n            SectionName = 'PANEL'\r\n            Color = 255\r\n"
        L"            FontColor = '5 1 2 3 4'\r\n            HotFontColor = '5 1 2'\r\n"
        L"            GradientData = '1;2;50;0;0'\r\n          end\r\n"
        L"          item\r\n            SectionName = 'BUTTON'\r\n            ParentClass = 'PANEL'\r\n"
        L"            GradientData = 'x;y;z;0;0'\r\n            Color = 7\r\n          end>\r\n"
        L"        Data = {}\r\n      end>\r\n"
        L"    SkinName = 'Spelled'\r\n");
    ASSERT_NE(sm, nullptr);
    EXPECT_FALSE(sm->IsPacked());
    EXPECT_EQ(sm->SkinData()->Shadow1Blur, 3);

    ASSERT_EQ(sm->MasterBitmap->Width(), kMasterWidth);
    EXPECT_EQ(sm->MasterBitmap->TransparentColor(), clFuchsia);
    const int own = FindMaskIndexNoParent(sm, L"BUTTON", L"BORDERSMASK");
    ASSERT_GE(own, 0);
    const TsMaskData& m = sm->Masks[static_cast<size_t>(own)];
    ASSERT_TRUE(m.Bmp);
    EXPECT_EQ(m.R.right, 60);
    EXPECT_EQ(m.ImgType, itisaGlyph);
    EXPECT_EQ(m.WL, 6); // 60 div (3 x 3)
    const int pattern = FindMaskIndexNoParent(sm, L"PANEL", L"PATTERN");
    ASSERT_GE(pattern, 0);
    const TsMaskData& p = sm->Masks[static_cast<size_t>(pattern)];
    EXPECT_FALSE(p.Bmp);
    EXPECT_EQ(p.R.right, 56);
    // A count of 0 means three states over a mask row; the PATTERN key makes a texture whose stretch
    // mode is kept only when the item itself was a texture.
    EXPECT_EQ(p.ImageCount, 3);
    EXPECT_EQ(p.MaskType, 1);
    EXPECT_EQ(p.ImgType, itisaTexture);
    EXPECT_EQ(p.StretchMode, 0);

    ASSERT_EQ(sm->Patterns.size(), 2u);
    EXPECT_EQ(sm->Patterns[1].ClassName, L"EDIT");
    EXPECT_EQ(sm->Patterns[1].Img->Width(), 320); // shares the picture of the first "wood"

    const int panel = FindSectionIndex(sm, L"PANEL");
    ASSERT_GE(panel, 0);
    const TsGeneralData& g = sm->Sections[static_cast<size_t>(panel)];
    EXPECT_EQ(g.Color, 255);
    EXPECT_EQ(g.FontColor, 5);
    EXPECT_EQ(g.TCLeft, 1);
    EXPECT_EQ(g.TCBottom, 4);
    EXPECT_EQ(g.HotFontColor, 0);
    EXPECT_EQ(g.HotTCLeft, -1);
    EXPECT_EQ(g.GradientArray.size(), 1u);
    // A damaged item keeps what was read before the damage.
    const int button = FindSectionIndex(sm, L"BUTTON");
    ASSERT_GE(button, 0);
    EXPECT_EQ(sm->Sections[static_cast<size_t>(button)].Color, 7);
    EXPECT_EQ(FindMaskIndex(sm, button, L"BUTTON", L"PATTERN"), pattern);
}

TEST_F(StoredSkins, StoredNameIsFoundOnlyInItsOwnCase)
{
    TsSkinManager sm;
    sm.SetSkinDirectory(Folder());
    sm.InternalSkins()->Add()->SetName(L"First");
    TsStoredSkin* second = sm.InternalSkins()->Add();
    second->SetName(L"Office2007 (internal)");
    const std::string packed = BuildContainer(TestSkinEntries());
    second->ReadData(AsBytes(packed));
    EXPECT_EQ(sm.InternalSkins()->IndexOfSkin(L"office2007 (internal)"), -1);
    // An unknown name takes the first stored skin and its name.
    sm.SetSkinName(L"office2007 (internal)");
    EXPECT_EQ(sm.SkinName(), L"First");
    EXPECT_TRUE(sm.Active());
}

TEST_F(StoredSkins, DataWithAWrongMagicWarnsAndFallsBackToTheCollections)
{
    TsSkinManager sm;
    sm.SetSkinDirectory(Folder());
    TsStoredSkin* stored = sm.InternalSkins()->Add();
    stored->SetName(L"Odd");
    const std::string data = BuildContainer(TestSkinEntries(), 0, "ASzF");
    stored->ReadData(AsBytes(data));
    stored->GeneralData()->Add()->SectionName = L"FORM";
    MessageBoxWatcher watcher;
    sm.SetSkinName(L"Odd");
    const SeenBox box = watcher.Wait();
    EXPECT_TRUE(box.found);
    EXPECT_EQ(box.text, L"Loaded data is not packed Quorvel file");
    EXPECT_TRUE(sm.Active());
    EXPECT_EQ(FindSectionIndex(&sm, L"FORM"), 0);
    EXPECT_EQ(sm.Sections.size(), 1u);
    // The data was only lent to the reader: the stored skin still holds all of it.
    EXPECT_EQ(stored->WriteData(), AsBytes(data));
}

TEST_F(StoredSkins, CopyingSectionsRaisesTheAssignmentError)
{
    TsSkinManager sm;
    TsStoredSkin* a = sm.InternalSkins()->Add();
    TsStoredSkin* b = sm.InternalSkins()->Add();
    a->GeneralData()->Add()->SectionName = L"FORM";
    EXPECT_THROW(b->SetGeneralData(a->GeneralData()), EConvertError);
    a->Images()->Add()->SectionName = L"FORM";
    b->SetImages(a->Images());
    EXPECT_EQ(b->Images()->Items(0)->SectionName, L"FORM");
}

// A root whose handlers the manager's events name in form data.
class TSkinEventsRoot : public TComponent, public IFormBindingsSource {
    DECLARE_CLASS_NAME(TSkinEventsRoot)
public:
    explicit TSkinEventsRoot(TComponent* owner) : TComponent(owner) {}
    void DeclareBindings(TFormBindings& b) override
    {
        b.Handler(L"SkinBefore", this, &TSkinEventsRoot::SkinBefore);
        b.Handler(L"SkinAfter", this, &TSkinEventsRoot::SkinAfter);
        b.Handler(L"ExtraLine", this, &TSkinEventsRoot::ExtraLine);
    }
    void SkinBefore(TObject*) { Heard += L"before "; }
    void SkinAfter(TObject*) { Heard += L"after"; }
    void ExtraLine(TMenuItem*, std::wstring& section, std::wstring& caption, TBitmap*&, bool& visible)
    {
        section = L"MENUEXTRA";
        caption = L"Велмора";
        visible = true;
    }
    std::wstring Heard;
};

TEST_F(StoredSkins, MenuExtraLineHandlerComesFromFormData)
{
    RegisterClass<TSkinEventsRoot>(L"TSkinEventsRoot", L"TComponent");
    TOwned<TSkinEventsRoot> host(Create<TSkinEventsRoot>(nullptr));
    const std::wstring text = L"object Root: TSkinEventsRoot\r\n  object Skins: TsSkinManager\r\n"
                              L"    Active = False\r\n    OnGetMenuExtraLineData = ExtraLine\r\n  end\r\nend\r\n";
    TFormReader reader(host.get(), L"test.frm");
    reader.Read(ParseFormData(testsupport::Narrow(text), L"test.frm"));
    auto* sm = dynamic_cast<TsSkinManager*>(host->FindComponent(L"Skins"));
    ASSERT_NE(sm, nullptr);
    ASSERT_TRUE(sm->OnGetMenuExtraLineData);
    std::wstring section, caption;
    TBitmap* glyph = nullptr;
    bool visible = false;
    sm->OnGetMenuExtraLineData(nullptr, section, caption, glyph, visible);
    EXPECT_EQ(section, L"MENUEXTRA");
    EXPECT_EQ(caption, L"Велмора");
    EXPECT_TRUE(visible);
}

TEST_F(StoredSkins, EffectsRulesAndChangeEventsComeFromFormData)
{
    RegisterClass<TSkinEventsRoot>(L"TSkinEventsRoot", L"TComponent");
    const TacBtnEvents before = ButtonEventsOfDefaultManager();
    TOwned<TSkinEventsRoot> host(Create<TSkinEventsRoot>(nullptr));
    const std::wstring text =
        L"object Root: TSkinEventsRoot\r\n  object Skins: TsSkinManager\r\n"
        L"    AnimEffects.DialogShow.Time = 250\r\n    AnimEffects.DialogShow.Active = False\r\n"
        L"    AnimEffects.FormShow.Time = 40\r\n    AnimEffects.PageChange.Active = False\r\n"
        L"    AnimEffects.SkinChanging.Time = 0\r\n    AnimEffects.Buttons.Events = [beMouseEnter, beMouseUp]\r\n"
        L"    SkinningRules = [srStdForms]\r\n"
        L"    OnBeforeChange = SkinBefore\r\n    OnAfterChange = SkinAfter\r\n"
        L"    SkinDirectory = '" + Folder() + L"'\r\n    SkinName = 'None'\r\n  end\r\nend\r\n";
    TFormReader reader(host.get(), L"test.frm");
    reader.Read(ParseFormData(testsupport::Narrow(text), L"test.frm"));
    auto* sm = dynamic_cast<TsSkinManager*>(host->FindComponent(L"Skins"));
    ASSERT_NE(sm, nullptr);
    const TacAnimEffects* effects = sm->AnimEffects();
    EXPECT_EQ(effects->DialogShow()->Time, 250);
    EXPECT_FALSE(effects->DialogShow()->Active);
    EXPECT_EQ(effects->FormShow()->Time, 40);
    EXPECT_TRUE(effects->FormShow()->Active);
    EXPECT_FALSE(effects->PageChange()->Active);
    EXPECT_EQ(effects->SkinChanging()->Time, 0);
    EXPECT_EQ(effects->Buttons()->OwnEvents(), (TacBtnEvents{beMouseEnter, beMouseUp}));
    EXPECT_EQ(sm->SkinningRules, TacSkinningRules{srStdForms});
    // The events were read before the name, so its selection was heard.
    EXPECT_EQ(host->Heard, L"before after");
    ButtonEventsOfDefaultManager() = before;
}

TEST_F(StoredSkins, AnimationTimeBeyondAWordIsAReadError)
{
    EXPECT_THROW(ReadForm(L"    AnimEffects.FormShow.Time = 65536\r\n"), EReadError);
    EXPECT_THROW(ReadForm(L"    AnimEffects.Buttons.Events = [beMouseWheel]\r\n"), EReadError);
}

TEST(AnimEffects, DefaultsAndButtonEventsOfAnotherManager)
{
    TsSkinManager first;
    TsSkinManager second;
    ASSERT_TRUE(first.IsDefault());
    EXPECT_EQ(first.AnimEffects()->DialogShow()->Time, 100);
    EXPECT_EQ(first.AnimEffects()->SkinChanging()->Time, 100);
    EXPECT_EQ(first.AnimEffects()->FormShow()->Time, 0);
    EXPECT_TRUE(first.AnimEffects()->PageChange()->Active);
    const TacBtnEvents all = ButtonEventsOfDefaultManager();
    second.AnimEffects()->Buttons()->SetEvents(TacBtnEvents{beMouseDown});
    EXPECT_EQ(ButtonEventsOfDefaultManager(), all);
    first.AnimEffects()->Buttons()->SetEvents(TacBtnEvents{beMouseEnter});
    EXPECT_EQ(ButtonEventsOfDefaultManager(), TacBtnEvents{beMouseEnter});
    first.AnimEffects()->Buttons()->SetEvents(all);
}

} // namespace
