// The beginning of an RTF recipe read without the rich-edit control: wherever the reader gives a
// text, it is the control's own text for that document, so the search finds exactly what it found
// through the control.
#include "tests/app/dialogs_support.h"

#include "app/rtf_prefix_text.h"
#include "framework/Classes.h"
#include "framework/RichEdit.h"
#include "framework/SysUtils.h"
#include "tests/support/test_support.h"

#include <richedit.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

constexpr size_t kWanted = 300;

class RtfPrefix : public DialogTest {
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        holder = Create<TForm>(Application);
        rich = Create<TRichEdit>(holder);
        rich->SetVisible(false);
        rich->SetParent(holder);
    }
    void TearDown() override
    {
        Free(holder);
        DialogTest::TearDown();
    }

    // The control's text for the whole document, up to the wanted length.
    std::wstring ControlText(const std::string& rtf)
    {
        TMemoryStream stream;
        stream.WriteBuffer(rtf.data(), static_cast<std::int32_t>(rtf.size()));
        stream.SetPosition(0);
        rich->LoadFromStream(&stream);
        const int length = std::min<int>(rich->GetTextLen(), static_cast<int>(kWanted));
        std::wstring text(static_cast<size_t>(length) + 1, L'\0');
        TEXTRANGEW range{{0, length}, text.data()};
        const auto got = SendMessageW(rich->Handle(), EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&range));
        text.resize(static_cast<size_t>(std::max<LRESULT>(got, 0)));
        return text;
    }

    // The reader's text, which must be the control's wherever the reader gives one.
    void ExpectControlText(const std::string& rtf, bool read)
    {
        const auto text = RtfPrefixText(rtf, kWanted);
        ASSERT_EQ(text.has_value(), read) << rtf;
        if (text) {
            EXPECT_EQ(*text, ControlText(rtf)) << rtf;
        }
    }

    TForm* holder = nullptr;
    TRichEdit* rich = nullptr;
};

const std::string kHeader = "{\\rtf1\\ansi\\ansicpg1252\\uc1\\deff0{\\fonttbl{\\f0\\fcharset204 Arial;}"
                            "{\\f1\\fcharset0 Tahoma;}}{\\colortbl;\\red0\\green0\\blue128;}"
                            "{\\*\\generator Writer 1.0;}\\pard ";

} // namespace

TEST_F(RtfPrefix, EveryRecipeOfTheSampleBaseReadsAsTheControlShowsIt)
{
    int recipes = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(std::filesystem::path(
             VELMORA_SAMPLE_BASE_DIR L"\\Bases"))) {
        if (entry.path().extension() != L".rcp")
            continue;
        ++recipes;
        ExpectControlText(testsupport::ReadFileBytes(entry.path().wstring()), true);
    }
    EXPECT_GT(recipes, 30);
}

TEST_F(RtfPrefix, CodePagesOfFontsUnicodeAndEscapesReadAsTheControlShowsThem)
{
    // Cyrillic through the font's charset although the document's code page is Western.
    ExpectControlText(kHeader + "\\f0 \\'cf\\'e5\\'eb\\'fc\\'ec\\'e5\\'ed\\'e8 \\'b8\\'a8\\par}", true);
    // An ANSI font reads in the document's code page.
    ExpectControlText(kHeader + "\\f1 caf\\'e9 \\'e0 la carte\\par}", true);
    // \uN with one and with no stand-in character, inside groups that change \ucN.
    ExpectControlText(kHeader + "\\f0 \\u1097?\\u1077? {\\uc0\\u1089\\u1090} {\\uc2\\u8212\\'97\\'97}x\\par}", true);
    // Escaped braces and backslashes, tabs, dashes and quotes, a line end after a backslash.
    ExpectControlText(kHeader + "\\f0 a\\{b\\}c\\\\d\\tab e\\emdash f\\endash g\\lquote h\\rquote\\ldblquote "
                                "i\\rdblquote\\bullet\\\nnext\\par}",
                      true);
    // Formatting words with parameters, nested groups and line breaks in the source.
    ExpectControlText(kHeader + "\\f0\\fs24\\cf1\\b bold\\b0 {\\i ital {\\ul under}} \\li-200\\fi200\r\nplain\\par\r\n"
                                "second\\par}",
                      true);
}

TEST_F(RtfPrefix, DocumentsTheReaderDoesNotCopyAreLeftToTheControl)
{
    // Pictures, fields and tables show what this reader does not reproduce.
    ExpectControlText(kHeader + "\\f0 a{\\pict\\wmetafile8 0102}b\\par}", false);
    ExpectControlText(kHeader + "\\f0 {\\field{\\*\\fldinst HYPERLINK x}{\\fldrslt link}}\\par}", false);
    ExpectControlText(kHeader + "\\trowd\\cellx1000 a\\cell\\row}", false);
    // A font the table does not describe, a double-byte charset, and no code page of the document's.
    ExpectControlText(kHeader + "\\f7 \\'e0\\par}", false);
    ExpectControlText("{\\rtf1\\ansi\\ansicpg932{\\fonttbl{\\f0\\fcharset128 MS;}}\\f0 \\'82\\'a0\\par}", false);
    ExpectControlText("{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset0 Arial;}}\\f0 \\'e0\\par}", false);
    // A cut document, which the control shows as its source, whether its cut lies inside or beyond
    // the wanted beginning.
    ExpectControlText(kHeader + "\\f0 cut here\\par", false);
    ExpectControlText(kHeader + "\\f0 " + std::string(400, 'x') + "{\\b cut", false);
    // Damaged documents: a cut escape, a stray control byte, no RTF at all.
    EXPECT_FALSE(RtfPrefixText(kHeader + "\\f0 \\'e", kWanted));
    EXPECT_FALSE(RtfPrefixText(kHeader + "\\f0 a\x01z", kWanted));
    EXPECT_FALSE(RtfPrefixText("plain text", kWanted));
}

TEST_F(RtfPrefix, OnlyTheWantedBeginningIsRead)
{
    std::string body;
    for (int i = 0; i < 500; ++i)
        body += "\\'e0\\'e1 ";
    const auto text = RtfPrefixText(kHeader + "\\f0 " + body + "\\par}", 10);
    ASSERT_TRUE(text);
    EXPECT_EQ(*text, L"аб аб аб а");
    // A document shorter than the wanted length is read whole.
    EXPECT_EQ(RtfPrefixText(kHeader + "\\f0 short\\par}", kWanted), std::wstring(L"short"));
}
