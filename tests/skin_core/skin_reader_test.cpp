// The skin reader: image values of the master bitmap, sections with inherited keys, common sections.
#include "skin/core/sSkinManager.h"
#include "skin/core/sSkinReader.h"
#include "skin/core/sVclUtils.h"

#include "framework/IniFiles.h"
#include "tests/skin_core/test_skin.h"
#include "tests/support/test_support.h"

#include <string>
#include <vector>

namespace {

class SkinReader : public ::testing::Test {
protected:
    void Load(const std::string& text)
    {
        TStringList lines;
        lines.SetText(testsupport::Widen(text));
        ini.SetStrings(&lines);
        TacSkinSource source{&ini, nullptr, nullptr};
        LoadSkinMasks(&sm, source);
        LoadSkinPatterns(&sm, source);
        LoadSkinSections(&sm, source);
        sm.UpdateCachedIndexes();
    }
    const TsGeneralData& Section(const wchar_t* name)
    {
        const int i = FindSectionIndex(&sm, name);
        EXPECT_GE(i, 0) << testsupport::Narrow(name);
        return sm.Sections.at(static_cast<size_t>(i < 0 ? 0 : i));
    }
    const TsMaskData& Mask(const wchar_t* section, const wchar_t* key)
    {
        const int i = FindMaskIndex(&sm, FindSectionIndex(&sm, section), section, key);
        EXPECT_GE(i, 0);
        return sm.Masks.at(static_cast<size_t>(i < 0 ? 0 : i));
    }
    TsSkinManager sm;
    TMemIniFile ini{L""};
};

TEST_F(SkinReader, GlyphValueFillsTheFixedColumns)
{
    Load("[GLOBALINFO]\nCHECK=@0124@0000@0163@0013@3@0\n");
    const TsMaskData& m = Mask(L"GLOBALINFO", L"CHECK");
    EXPECT_EQ(m.R.left, 124);
    EXPECT_EQ(m.R.top, 0);
    EXPECT_EQ(m.R.right, 163);
    EXPECT_EQ(m.R.bottom, 13);
    EXPECT_EQ(m.ImageCount, 3);
    EXPECT_EQ(m.MaskType, 0);
    EXPECT_EQ(m.ImgType, itisaGlyph);
    EXPECT_FALSE(m.Bmp);
    EXPECT_EQ(m.Manager, &sm);
}

TEST_F(SkinReader, BorderValueReadsWidthsAndFallsBackToBorderWidth)
{
    Load("[BUTTON]\n"
         "BORDERSMASK=^0173^0017^0180^0024^0001^0002^0003^0004^1^0^1^1\n"
         "FRAME=^0000^0000^0090^0060^0000^0000^0000^0000^3^1^1^2\n"
         "PLAIN=^0000^0000^0090^0060^0000^0000^0000^0000^3^1^1^0\n");
    const TsMaskData& b = Mask(L"BUTTON", L"BORDERSMASK");
    EXPECT_EQ(b.WL, 1);
    EXPECT_EQ(b.WT, 2);
    EXPECT_EQ(b.WR, 3);
    EXPECT_EQ(b.WB, 4);
    EXPECT_EQ(b.StretchMode, 1);
    EXPECT_EQ(b.BorderWidth, 1);
    EXPECT_EQ(b.ImgType, itisaBorder);
    const TsMaskData& f = Mask(L"BUTTON", L"FRAME");
    EXPECT_EQ(f.WL, 2);
    EXPECT_EQ(f.WB, 2);
    const TsMaskData& p = Mask(L"BUTTON", L"PLAIN");
    EXPECT_EQ(p.WL, 10); // 90 div (3 x 3)
    EXPECT_EQ(p.WT, 10); // 60 div (2 x 3)
}

TEST_F(SkinReader, TextureValueReadsStretchAndOptionalMaskType)
{
    Load("[PANEL]\nPATTERN=~0040~0000~0056~0016~02\nHOTPATTERN=~0040~0000~0056~0016~01~1\n");
    const TsMaskData& t = Mask(L"PANEL", L"PATTERN");
    EXPECT_EQ(t.StretchMode, 2);
    EXPECT_EQ(t.MaskType, 0);
    EXPECT_EQ(t.ImageCount, 1);
    EXPECT_EQ(t.ImgType, itisaTexture);
    EXPECT_EQ(Mask(L"PANEL", L"HOTPATTERN").MaskType, 1);
    EXPECT_GE(FindTextureIndex(&sm, FindSectionIndex(&sm, L"PANEL"), L"PANEL", L"PATTERN"), 0);
}

TEST_F(SkinReader, OldFormUpperCasesNamesAndReadsWords)
{
    Load("[Edit]\nBordersMask=#x (0,10,30,40) (3,-2,0,4)\nPattern=#y (1,2,3,4) (0,1)\n");
    const int i = FindMaskIndexNoParent(&sm, L"EDIT", L"BORDERSMASK");
    ASSERT_GE(i, 0);
    const TsMaskData& m = sm.Masks[static_cast<size_t>(i)];
    EXPECT_EQ(m.R.top, 10);
    EXPECT_EQ(m.R.bottom, 40);
    EXPECT_EQ(m.ImageCount, 3);
    EXPECT_EQ(m.MaskType, 0);
    EXPECT_EQ(m.StretchMode, 4);
    EXPECT_EQ(m.WL, 3); // 30 div (3 x 3)
    const int p = FindMaskIndexNoParent(&sm, L"EDIT", L"PATTERN");
    ASSERT_GE(p, 0);
    EXPECT_EQ(sm.Masks[static_cast<size_t>(p)].ImageCount, 1);
    EXPECT_EQ(sm.Masks[static_cast<size_t>(p)].ImgType, itisaTexture);
    EXPECT_EQ(sm.Masks[static_cast<size_t>(p)].StretchMode, 0);
}

// Values no frame can be cut by: every painter divides a mask by its image count and its rows, so the
// reader keeps them at one image and one row at least, and the 16-bit fields saturate instead of
// wrapping round to 0 or -1. Each clamped value is reported.
struct HostileCounts {
    const char* value;
    int imageCount;
    int maskType;
};

class SkinReaderCounts : public SkinReader, public ::testing::WithParamInterface<HostileCounts> {};

TEST_P(SkinReaderCounts, MaskCountsAreClampedAndReported)
{
    std::vector<std::wstring> clamped;
    sm.OnClampedImage = [&](const std::wstring& section, const std::wstring& key, const std::wstring&) {
        clamped.push_back(section + L"/" + key);
    };
    Load(std::string("[A]\nM=") + GetParam().value + "\n");
    const TsMaskData& m = Mask(L"A", L"M");
    EXPECT_EQ(m.ImageCount, GetParam().imageCount);
    EXPECT_EQ(m.MaskType, GetParam().maskType);
    EXPECT_EQ(clamped, std::vector<std::wstring>{L"A/M"});
    EXPECT_EQ(GetMaskFrameSize(&sm, 0).x, RectWidth(m.R) / GetParam().imageCount);
    EXPECT_EQ(GetMaskFrameSize(&sm, 0).y, RectHeight(m.R) / (GetParam().maskType + 1));
}

INSTANTIATE_TEST_SUITE_P(
    Values, SkinReaderCounts,
    ::testing::Values(HostileCounts{"@0000@0000@0030@0012@0@0", 1, 0},
                      HostileCounts{"^0000^0000^0030^0012^0000^0000^0000^0000^0^0^1^0", 1, 0},
                      HostileCounts{"#x (0,0,30,12) (0,-1)", 1, 0},
                      HostileCounts{"#x (0,0,30000,12000) (65536,65535)", 32767, 32766},
                      HostileCounts{"#x (0,0,30000,12000) (-65535,1)", 1, 1}));

TEST_F(SkinReader, UsableCountsAreNotReported)
{
    int clamped = 0;
    sm.OnClampedImage = [&](const std::wstring&, const std::wstring&, const std::wstring&) { ++clamped; };
    Load("[A]\nG=@0124@0000@0163@0013@3@0\nP=~0040~0000~0056~0016~01~1\nO=#x (0,0,30,12) (3,1)\n");
    EXPECT_EQ(sm.Masks.size(), 3u);
    EXPECT_EQ(clamped, 0);
}

TEST_F(SkinReader, OtherValuesAreNotImages)
{
    Load("[A]\nCOLOR=255\nGRADIENTDATA=1;2;3;4;5\nNAME=#\n");
    EXPECT_TRUE(sm.Masks.empty());
}

TEST_F(SkinReader, FixedColumnHoldingALetterRaises)
{
    EXPECT_THROW(Load("[A]\nM=@01x4@0000@0163@0013@3@0\n"), EConvertError);
}

TEST_F(SkinReader, SectionsInheritThroughParentClass)
{
    Load("[PANEL]\nCOLOR=255\nFONTCOLOR=7\nSHOWFOCUS=True\n"
         "[BUTTON]\nPARENTCLASS=PANEL\nCOLOR=-1\n"
         "[ALONE]\nCOLOR=-1\n");
    EXPECT_EQ(Section(L"BUTTON").Color, 255);
    EXPECT_EQ(Section(L"BUTTON").FontColor, 7);
    EXPECT_TRUE(Section(L"BUTTON").ShowFocus);
    EXPECT_EQ(Section(L"BUTTON").ParentClass, L"PANEL");
    EXPECT_EQ(Section(L"ALONE").Color, 0xFFFFFF);
    EXPECT_EQ(Section(L"ALONE").ShadowBlur, 6);
    EXPECT_EQ(Section(L"ALONE").TCLeft, -1);
    EXPECT_EQ(Section(L"ALONE").GradientData, L" ");
    EXPECT_TRUE(Section(L"ALONE").GradientArray.empty());
}

TEST_F(SkinReader, ShadowColorIsNotInherited)
{
    Load("[P]\nSHADOWCOLOR=9\nSHADOWOFFSET=8\n[C]\nPARENTCLASS=P\n");
    EXPECT_EQ(Section(L"C").ShadowColor, 0);
    EXPECT_EQ(Section(L"C").ShadowOffset, 8);
}

TEST_F(SkinReader, SelfParentAndLoopsEndInDefaults)
{
    Load("[SELF]\nPARENTCLASS=SELF\nFONTCOLOR=3\n"
         "[A]\nPARENTCLASS=B\n[B]\nPARENTCLASS=C\n[C]\nPARENTCLASS=A\n");
    EXPECT_EQ(Section(L"SELF").FontColor, 3);
    EXPECT_EQ(Section(L"SELF").Color, 0xFFFFFF);
    EXPECT_EQ(Section(L"A").Color, 0xFFFFFF);
    EXPECT_EQ(Section(L"B").FadingIterations, 5);
    EXPECT_EQ(FindMaskIndex(&sm, FindSectionIndex(&sm, L"A"), L"A", L"BORDERSMASK"), -1);
}

TEST_F(SkinReader, MasksAndPatternsFollowTheParentChain)
{
    Load("[FORM]\nBORDERSMASK=^0000^0000^0090^0060^0000^0000^0000^0000^3^1^1^0\n"
         "[PANEL]\nPARENTCLASS=FORM\n[BUTTON]\nPARENTCLASS=PANEL\n");
    const int form = FindMaskIndexNoParent(&sm, L"FORM", L"BORDERSMASK");
    ASSERT_GE(form, 0);
    EXPECT_EQ(FindMaskIndex(&sm, FindSectionIndex(&sm, L"BUTTON"), L"BUTTON", L"BORDERSMASK"), form);
    EXPECT_EQ(FindMaskIndexNoParent(&sm, L"BUTTON", L"BORDERSMASK"), -1);
    EXPECT_EQ(FindMaskIndex(&sm, -1, L"BUTTON", L"BORDERSMASK"), -1);
    EXPECT_EQ(FindMaskIndex(&sm, 0, L"", L"BORDERSMASK"), -1);
    EXPECT_EQ(FindTextureIndex(&sm, FindSectionIndex(&sm, L"BUTTON"), L"BUTTON", L"BORDERSMASK"), -1);
}

TEST_F(SkinReader, LookupsCompareNamesExactly)
{
    Load("[Form]\nCOLOR=1\n");
    EXPECT_EQ(FindSectionIndex(&sm, L"FORM"), -1);
    EXPECT_EQ(FindSectionIndex(&sm, L"Form"), 0);
    EXPECT_EQ(FindSectionIndex(nullptr, L"Form"), -1);
}

TEST_F(SkinReader, GlobalInfoFillsSkinData)
{
    Load(testskin::TestSkinOptions());
    const TsSkinData& d = *sm.SkinData();
    EXPECT_DOUBLE_EQ(d.Version, 6.5);
    EXPECT_EQ(d.Author, L"Test");
    EXPECT_EQ(d.Description, L"Flat colours");
    EXPECT_EQ(d.Shadow1Offset, 4);
    EXPECT_EQ(d.Shadow1Blur, -1);
    EXPECT_EQ(d.BISpace, 2);
    EXPECT_EQ(d.BorderColor, 0x808080);
    EXPECT_EQ(GetGlobalColor(&sm), 0xE0E0E0);
    EXPECT_EQ(GetGlobalFontColor(&sm), 0x202020);
    const TsGeneralData& form = Section(L"FORM");
    ASSERT_EQ(form.GradientArray.size(), 2u);
    EXPECT_EQ(form.GradientArray[1].Color2, 0x00FF00);
    EXPECT_EQ(Section(L"BUTTON").Color, 0xC0C0C0);
    EXPECT_EQ(Section(L"BUTTON").FontColor, 255);
}

TEST_F(SkinReader, BadShadowValueRaises)
{
    EXPECT_THROW(Load("[GLOBALINFO]\nSHADOW1BLUR=soft\n"), EConvertError);
}

TEST_F(SkinReader, CommonSectionsAddOnlyNewSectionsAndCopyTheirParent)
{
    TStringList common;
    common.SetText(L"[PANEL]\nCOLOR=1\n[NEWPANEL]\nPARENTCLASS=panel\nCOLOR=0x10\n[LONE]\nFONTCOLOR=5\n");
    sm.CommonSections()->Assign(&common);
    Load("[PANEL]\nCOLOR=255\nFONTCOLOR=9\nSHOWFOCUS=TRUE\nHOTGRADIENTDATA=1;2;3;4;5\n");
    EXPECT_EQ(Section(L"PANEL").Color, 255);
    const TsGeneralData& n = Section(L"NEWPANEL");
    EXPECT_EQ(n.ParentClass, L"PANEL");
    EXPECT_EQ(n.Color, 0x10);
    EXPECT_EQ(n.FontColor, 9);
    EXPECT_TRUE(n.ShowFocus);
    EXPECT_EQ(n.HotGradientArray.size(), 1u);
    const TsGeneralData& lone = Section(L"LONE");
    EXPECT_EQ(lone.ParentClass, L"-1");
    EXPECT_EQ(lone.FontColor, 5);
    EXPECT_EQ(lone.Color, 0xFFFFFF);
}

// As -1 for a number, "?" is absent for a gradient text or a Boolean.
TEST_F(SkinReader, CommonSectionsTakeMinusOneAsAbsent)
{
    TStringList common;
    common.SetText(L"[NEWPANEL]\nPARENTCLASS=PANEL\nCOLOR=-1\nFONTCOLOR=-1\nTCLEFT=-1\nSHADOWBLUR=7\n"
                   L"SHOWFOCUS=?\nGRADIENTDATA=?\nHOTGRADIENTDATA=?\n"
                   L"[LONE]\nCOLOR=-1\nTRANSPARENCY=-1\nGRADIENTDATA=?\nHOTGRADIENTDATA=?\n");
    sm.CommonSections()->Assign(&common);
    Load("[PANEL]\nCOLOR=255\nFONTCOLOR=9\nTCLEFT=4\nSHOWFOCUS=TRUE\nGRADIENTDATA=1;2;3;4;5\n"
         "HOTGRADIENTDATA=6;7;8;9;10\n");
    const TsGeneralData& n = Section(L"NEWPANEL");
    EXPECT_EQ(n.Color, 255);
    EXPECT_EQ(n.FontColor, 9);
    EXPECT_EQ(n.TCLeft, 4);
    EXPECT_EQ(n.ShadowBlur, 7);
    EXPECT_TRUE(n.ShowFocus);
    EXPECT_EQ(n.GradientData, L"1;2;3;4;5");
    EXPECT_EQ(n.HotGradientData, L"6;7;8;9;10");
    EXPECT_EQ(n.HotGradientArray.size(), 1u);
    const TsGeneralData& lone = Section(L"LONE");
    EXPECT_EQ(lone.Color, 0xFFFFFF);
    EXPECT_EQ(lone.Transparency, 0);
    EXPECT_EQ(lone.GradientData, L" ");
    EXPECT_EQ(lone.HotGradientData, L"");
    EXPECT_TRUE(lone.GradientArray.empty());
}

// The manager indexes a skin's text straight from its bytes; the index must read every key as the INI
// over the same text reads it: trimming, comments, merged sections, the first of equal keys, lines
// without "=", and parents that loop or name nothing.
TEST(SkinTextIndex, ReadsTheTextAsTheIniReadsIt)
{
    const std::wstring text = L"ORPHAN=1\r\n[Button]\r\n  Color = 12 \r\n; COLOR=99\rcolor=13\n"
                              L"PARENTCLASS=Base\nBARE LINE\nFORMULA=a=b\n\n[base]\nFONTCOLOR=7\nColor=5\n"
                              L"PARENTCLASS=LOOP\n[LOOP]\nPARENTCLASS=button\nSHADOWBLUR=-1\n[BUTTON]\n"
                              L"HOTCOLOR=3\nbare line=x\n[]\nEMPTY=1\n[NOPARENT]\nPARENTCLASS=MISSING\nCOLOR=?\n";
    TStringList lines;
    lines.SetText(text);
    TMemIniFile ini(L"");
    ini.SetStrings(&lines);
    const TSkinTextIndex fromIni(ini);
    const TSkinTextIndex fromText(text);
    ASSERT_EQ(fromText.Sections().size(), fromIni.Sections().size());
    for (size_t s = 0; s < fromIni.Sections().size(); ++s) {
        const TSkinTextIndex::Section& a = fromIni.Sections()[s];
        const TSkinTextIndex::Section& b = fromText.Sections()[s];
        EXPECT_EQ(b.name, a.name);
        ASSERT_EQ(b.lines.size(), a.lines.size()) << testsupport::Narrow(a.name);
        for (size_t i = 0; i < a.lines.size(); ++i) {
            const std::wstring key(a.lines[i].key);
            EXPECT_EQ(b.lines[i].key, key);
            const std::wstring read = ini.ReadString(a.name, key, L"<none>");
            EXPECT_EQ(a.lines[i].value ? std::wstring(*a.lines[i].value) : L"<none>", read) << testsupport::Narrow(key);
            EXPECT_EQ(b.lines[i].value ? std::wstring(*b.lines[i].value) : L"<none>", read) << testsupport::Narrow(key);
        }
    }
    for (const wchar_t* section : {L"BUTTON", L"base", L"LOOP", L"NOPARENT", L"MISSING"})
        for (const wchar_t* key : {L"COLOR", L"FONTCOLOR", L"SHADOWBLUR", L"HOTCOLOR", L"FORMULA", L"BARE LINE"}) {
            const TInheritedReader expected(&ini, section), actual(fromText, section);
            EXPECT_EQ(actual.Integer(key, -7), expected.Integer(key, -7));
            EXPECT_EQ(actual.String(key, L"-"), expected.String(key, L"-"));
        }
    EXPECT_EQ(TInheritedReader(fromText, L"button").Integer(L"COLOR", 0), 12);
    EXPECT_EQ(TInheritedReader(fromText, L"button").Integer(L"FONTCOLOR", 0), 7);
    EXPECT_EQ(TInheritedReader(fromText, L"button").String(L"FORMULA", L""), L"a=b");
}

} // namespace
