// The window-free base: text routines, string lists, streams and INI text.
#include "framework/Classes.h"
#include "framework/IniFiles.h"
#include "framework/SysUtils.h"

#include "tests/support/test_support.h"

#include <limits>

using namespace testsupport;

namespace {

TEST(Text, StrToIntTakesDecimalAndBothHexadecimalForms)
{
    EXPECT_EQ(StrToInt(L" 42 "), 42);
    EXPECT_EQ(StrToInt(L"-7"), -7);
    EXPECT_EQ(StrToInt(L"$FF00FF"), 0xFF00FF);
    EXPECT_EQ(StrToInt(L"0x1f"), 31);
    EXPECT_EQ(StrToInt(L"$FFFFFFFF"), -1);
    EXPECT_THROW(StrToInt(L"12a"), EConvertError);
    EXPECT_THROW(StrToInt(L"0x"), EConvertError);
    EXPECT_THROW(StrToInt(L"99999999999"), EConvertError);
    EXPECT_EQ(StrToIntDef(L"", 5), 5);
}

// A skin's VERSION is read with this: a huge exponent ends as soon as the value stops changing.
TEST(Text, StrToFloatDefTakesHugeExponentsAtOnce)
{
    EXPECT_DOUBLE_EQ(StrToFloatDef(L"5.37", 0), 5.37);
    EXPECT_DOUBLE_EQ(StrToFloatDef(L"25e-1", 0), 2.5);
    EXPECT_EQ(StrToFloatDef(L"1e2000000000", 0), std::numeric_limits<double>::infinity());
    EXPECT_EQ(StrToFloatDef(L"-1e2000000000", 0), -std::numeric_limits<double>::infinity());
    EXPECT_EQ(StrToFloatDef(L"1e-2000000000", 7), 0.0);
    EXPECT_EQ(StrToFloatDef(L"0e2000000000", 7), 0.0);
    EXPECT_EQ(StrToFloatDef(L"1e99999999999", 7), 7.0);
}

TEST(Text, CaseRoutinesKeepTheirScope)
{
    EXPECT_EQ(UpperCase(L"form Борщ"), L"FORM Борщ");
    EXPECT_EQ(AnsiUpperCase(L"form Борщ"), L"FORM БОРЩ");
    EXPECT_TRUE(SameText(L"Избранное", L"ИЗБРАННОЕ"));
    EXPECT_FALSE(SameText(L"Избранное", L"Избранно"));
    EXPECT_TRUE(SameUpperCase(L"MasterBitmap", L"MASTERbitmap"));
    EXPECT_FALSE(SameUpperCase(L"Борщ", L"БОРЩ")); // as UpperCase: Latin letters only
    EXPECT_FALSE(SameUpperCase(L"FORM", L"FORMS"));
}

TEST(Text, FileNamePartsFollowTheLastDelimiter)
{
    EXPECT_EQ(ExtractFileName(L"C:\\Bases\\Супы\\Борщ.rcp"), L"Борщ.rcp");
    EXPECT_EQ(ExtractFilePath(L"C:\\Bases\\Супы\\Борщ.rcp"), L"C:\\Bases\\Супы\\");
    EXPECT_EQ(ExtractFileExt(L"C:\\a.b\\file"), L"");
    EXPECT_EQ(ExtractFileExt(L"photo.JPG"), L".JPG");
    EXPECT_EQ(ChangeFileExt(L"C:\\x\\Борщ.rcp", L".jpg"), L"C:\\x\\Борщ.jpg");
    EXPECT_EQ(ExtractFileDir(L"C:\\x\\y.txt"), L"C:\\x");
    EXPECT_EQ(ExtractFileDir(L"C:\\y.txt"), L"C:\\");
}

TEST(Text, Utf8RoundTripKeepsCyrillicAndSurrogates)
{
    std::wstring text = L"Велмора \U0001F372 ok";
    EXPECT_EQ(Utf8ToWide(WideToUtf8(text)), text);
    EXPECT_EQ(Utf8ToWide("a\xD0"), L"a\xFFFD");
}

TEST(StringList, SortedListFindsWithoutCaseAndIgnoresDuplicates)
{
    TStringList list;
    list.SetSorted(true);
    list.Add(L"Супы");
    list.Add(L"выпечка");
    list.Add(L"Десерты");
    list.Add(L"СУПЫ");
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list[0], L"выпечка");
    EXPECT_EQ(list[2], L"Супы");
    EXPECT_EQ(list.IndexOf(L"десерты"), 1);
    EXPECT_THROW(list.Insert(0, L"x"), EStringListError);
    EXPECT_THROW(list.Get(3), EStringListError);
}

TEST(StringList, TextSplitsAtEveryLineBreakKind)
{
    TStringList list;
    list.SetText(L"a\r\nb\nc\rd");
    ASSERT_EQ(list.Count(), 4);
    EXPECT_EQ(list[3], L"d");
    EXPECT_EQ(list.Text(), L"a\r\nb\r\nc\r\nd\r\n");
    list.SetText(L"KEY=value");
    EXPECT_EQ(list.IndexOfName(L"key"), 0);
    EXPECT_EQ(list.Values(L"Key"), L"value");
}

TEST(StringList, OwnedObjectsGoWithTheirStrings)
{
    struct Counted : TObject {
        explicit Counted(int& live) : live_(live) { ++live_; }
        ~Counted() override { --live_; }
        int& live_;
    };
    int live = 0;
    {
        TStringList list;
        list.SetOwnsObjects(true);
        list.AddObject(L"a", new Counted(live));
        list.AddObject(L"b", new Counted(live));
        list.Delete(0);
        EXPECT_EQ(live, 1);
    }
    EXPECT_EQ(live, 0);
}

TEST(Streams, ReadReturnsTheCountAndReadBufferRaisesOnAShortRead)
{
    TMemoryStream stream;
    stream.WriteBuffer("abcdef", 6);
    EXPECT_EQ(stream.Size(), 6);
    stream.SetPosition(4);
    char buffer[8] = {};
    EXPECT_EQ(stream.Read(buffer, 8), 2);
    EXPECT_EQ(std::string(buffer, 2), "ef");
    stream.SetPosition(3);
    EXPECT_THROW(stream.ReadBuffer(buffer, 4), EReadError);
}

TEST_F(TempFolderTest, FileStreamReportsMissingFilesAndWritesCyrillicNames)
{
    EXPECT_THROW(TFileStream(PathOf(L"нет.dat"), fmOpenRead), EFOpenError);
    {
        TFileStream file(PathOf(L"Рецепт.rcp"), fmCreate);
        file.WriteBuffer("{\\rtf1}", 7);
    }
    TMemoryStream copy;
    copy.LoadFromFile(PathOf(L"Рецепт.rcp"));
    EXPECT_EQ(std::string(static_cast<char*>(copy.Memory()), 7), "{\\rtf1}");
}

TEST_F(TempFolderTest, FindFirstSkipsFoldersUnlessAsked)
{
    WriteFileBytes(PathOf(L"Bases\\Супы\\Борщ.rcp"), "x");
    WriteFileBytes(PathOf(L"Bases\\lost.txt"), "x");
    std::vector<std::wstring> all;
    TSearchRec rec;
    for (int r = FindFirst(PathOf(L"Bases\\*.*"), faDirectory, rec); r == 0; r = FindNext(rec))
        all.push_back(rec.Name);
    FindClose(rec);
    // Asking for folders also gives plain files: only hidden, system and volume entries are left out.
    EXPECT_NE(std::find(all.begin(), all.end(), L"Супы"), all.end());
    EXPECT_NE(std::find(all.begin(), all.end(), L"lost.txt"), all.end());

    std::vector<std::wstring> files;
    for (int r = FindFirst(PathOf(L"Bases\\*.*"), 0, rec); r == 0; r = FindNext(rec))
        files.push_back(rec.Name);
    FindClose(rec);
    EXPECT_EQ(files, std::vector<std::wstring>{L"lost.txt"});
}

TEST(IniText, SectionsAndKeysCompareWithoutCaseAndKeepTheirOrder)
{
    TStringList text;
    text.SetText(L"; a comment\r\n[Form]\r\n  Color = 0xFF00FF\r\nCaption=Велмора\r\n\r\n[button]\r\nGlow=1\r\n"
                 L"Width=abc\r\nRatio=1.5\r\n[FORM]\r\nExtra=2\r\n");
    TMemIniFile ini(L"");
    ini.SetStrings(&text);
    EXPECT_EQ(ini.ReadInteger(L"FORM", L"color", 0), 0xFF00FF);
    EXPECT_EQ(ini.ReadString(L"form", L"CAPTION", L""), L"Велмора");
    EXPECT_EQ(ini.ReadInteger(L"BUTTON", L"Width", 7), 7);
    EXPECT_TRUE(ini.ReadBool(L"BUTTON", L"Glow", false));
    EXPECT_DOUBLE_EQ(ini.ReadFloat(L"BUTTON", L"Ratio", 0), 1.5);
    TStringList keys;
    ini.ReadSection(L"Form", &keys);
    ASSERT_EQ(keys.Count(), 3);
    EXPECT_EQ(keys[0], L"Color");
    EXPECT_EQ(keys[2], L"Extra");
    TStringList sections;
    ini.ReadSections(&sections);
    EXPECT_EQ(sections.Count(), 2);
}

} // namespace
