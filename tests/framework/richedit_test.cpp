// The rich-text editor: a document composed line by line survives saving and loading with its
// paragraphs, fonts, sizes and colours; files that are not RTF load as text; paragraphs are
// lines; search finds whole Cyrillic words in any case within a range; printing without a printer
// fails clearly.
#include "framework/Printers.h"
#include "framework/RichEdit.h"
#include "framework/RichEditPrint.h"
#include "framework/RichEditText.h"

#include "tests/framework/std_support.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

using testsupport::CaptureWindow;
using testsupport::Pixels24;

namespace {

class RichEdits : public StdControlsTest {
protected:
    void SetUp() override
    {
        StdControlsTest::SetUp();
        rich = Add<TRichEdit>(10, 10, 300, 200);
    }
    TempFolder temp;
    TRichEdit* rich = nullptr;
};

struct TextRun {
    const wchar_t* face;
    int size;
    TColor color;
};

// Appends a paragraph (the caret goes to the end first) and types text there with the attributes.
void AppendLine(TRichEdit* rich, const std::wstring& text, const TextRun& run, bool first = false)
{
    int end = rich->GetTextLen();
    rich->SetSelStart(end);
    if (!first)
        rich->SetSelText(L"\r");
    rich->SetSelStart(rich->GetTextLen());
    if (run.face)
        rich->SelAttributes()->SetName(run.face);
    rich->SelAttributes()->SetSize(run.size);
    rich->SelAttributes()->SetColor(run.color);
    rich->SetSelText(text);
}

// The attributes of the character at a position.
TextRun AttributesAt(TRichEdit* rich, int position, std::wstring& face)
{
    rich->SetSelStart(position);
    rich->SetSelLength(1);
    face = rich->SelAttributes()->Name();
    return TextRun{nullptr, rich->SelAttributes()->Size(), rich->SelAttributes()->Color()};
}

std::string Utf8(const std::wstring& text)
{
    return testsupport::Narrow(text);
}

} // namespace

TEST_F(RichEdits, ComposedDocumentReloadsWithTheSameParagraphsFontsSizesAndColours)
{
    rich->Paragraph()->SetLeftIndent(-10);
    rich->Paragraph()->SetFirstIndent(10);
    const std::vector<std::pair<std::wstring, TextRun>> lines = {
        {L"Борщ украинский", {L"Arial", 12, TColor(0x800000)}},
        {L"4", {L"Arial", 12, clWhite}},
        {L"Необходимые продукты:", {L"Tahoma", 10, TColor(0x000080)}},
        {L"свёкла, капуста", {nullptr, 10, TColor(0x008000)}},
        {L"Способ приготовления:", {nullptr, 10, TColor(0x000080)}},
        {L"Варить 2 часа.", {nullptr, 10, TColor(0x333333)}},
        {L"", {nullptr, 10, TColor(0x333333)}},
        {L"Автор: бабушка", {nullptr, 10, TColor(0x008080)}},
    };
    for (size_t i = 0; i < lines.size(); ++i)
        AppendLine(rich, lines[i].first, lines[i].second, i == 0);
    ASSERT_EQ(rich->Lines()->Count(), static_cast<int>(lines.size()));

    std::wstring file = temp.Path(L"Борщ.rcp");
    rich->SaveToFile(file);
    std::string bytes = testsupport::ReadFileBytes(file);
    ASSERT_EQ(bytes.compare(0, 5, "{\\rtf"), 0);
    // The indents, in points, hold for every paragraph appended after they were set.
    rich->SetSelStart(0);
    EXPECT_EQ(rich->Paragraph()->FirstIndent(), 10);
    EXPECT_EQ(rich->Paragraph()->LeftIndent(), -10);
    rich->SetSelStart(rich->GetTextLen());
    EXPECT_EQ(rich->Paragraph()->FirstIndent(), 10);
    EXPECT_EQ(rich->Paragraph()->LeftIndent(), -10);

    auto* other = Add<TRichEdit>(10, 10, 100, 100);
    other->LoadFromFile(file);
    ASSERT_EQ(other->Lines()->Count(), static_cast<int>(lines.size()));
    std::wstring text = other->DocumentText();
    int position = 0;
    std::wstring lastFace = L"Arial";
    for (size_t i = 0; i < lines.size(); ++i) {
        const auto& [expected, run] = lines[i];
        EXPECT_EQ(other->Lines()->Get(static_cast<int>(i)), expected) << "line " << i;
        if (!expected.empty()) {
            std::wstring face;
            TextRun got = AttributesAt(other, position, face);
            EXPECT_EQ(got.size, run.size) << "line " << i;
            EXPECT_EQ(ColorToRGB(got.color), ColorToRGB(run.color)) << "line " << i;
            // Lines without a face of their own keep the face of the line before.
            if (run.face)
                lastFace = run.face;
            EXPECT_EQ(face, lastFace) << "line " << i;
        }
        position += static_cast<int>(expected.size()) + 1;
    }
    EXPECT_FALSE(other->Modified());
}

TEST_F(RichEdits, LinesAreParagraphsNotWrappedDisplayLines)
{
    rich->SetWidth(60);
    EXPECT_EQ(rich->Lines()->Count(), 0);
    rich->Lines()->Add(L"Очень длинное название рецепта, которое переносится");
    rich->Lines()->Add(L"");
    rich->Lines()->Add(L"третья");
    EXPECT_GT(SendMessageW(rich->Handle(), EM_GETLINECOUNT, 0, 0), 3);
    ASSERT_EQ(rich->Lines()->Count(), 3);
    EXPECT_EQ(rich->Lines()->Get(1), L"");
    rich->Lines()->Put(1, L"5");
    EXPECT_EQ(rich->Lines()->Get(1), L"5");
    EXPECT_EQ(rich->Lines()->Get(2), L"третья");
    rich->Lines()->Insert(0, L"первая");
    EXPECT_EQ(rich->Lines()->Get(0), L"первая");
    EXPECT_EQ(rich->Lines()->Count(), 4);
    rich->Lines()->Delete(3);
    EXPECT_EQ(rich->Lines()->Count(), 3);
    EXPECT_EQ(rich->Lines()->Get(2), L"5");
    rich->Lines()->Delete(0);
    EXPECT_EQ(rich->Lines()->Get(0), L"Очень длинное название рецепта, которое переносится");
    EXPECT_THROW(rich->Lines()->Get(5), EStringListError);
    rich->Lines()->Clear();
    EXPECT_EQ(rich->Lines()->Count(), 0);
}

TEST_F(RichEdits, FileThatIsNotRtfLoadsAsPlainText)
{
    std::wstring file = temp.Path(L"plain.rcp");
    testsupport::WriteFileBytes(file, Utf8(L"Блины\r\n3\nМука, молоко"));
    rich->LoadFromFile(file);
    ASSERT_EQ(rich->Lines()->Count(), 3);
    EXPECT_EQ(rich->Lines()->Get(0), L"Блины");
    EXPECT_EQ(rich->Lines()->Get(1), L"3");
    EXPECT_EQ(rich->Lines()->Get(2), L"Мука, молоко");

    // An empty file is an empty document; a missing one is the file-open error.
    testsupport::WriteFileBytes(temp.Path(L"empty.rcp"), "");
    rich->LoadFromFile(temp.Path(L"empty.rcp"));
    EXPECT_EQ(rich->Lines()->Count(), 0);
    EXPECT_THROW(rich->LoadFromFile(temp.Path(L"missing.rcp")), EFOpenError);

    // PlainText saves the text itself.
    rich->Lines()->Add(L"Щи");
    rich->Lines()->Add(L"2");
    rich->SetPlainText(true);
    rich->SaveToFile(temp.Path(L"out.txt"));
    EXPECT_EQ(testsupport::ReadFileBytes(temp.Path(L"out.txt")), Utf8(L"Щи\r\n2\r\n"));
}

TEST_F(RichEdits, DocumentSurvivesANewWindow)
{
    rich->Lines()->Add(L"Окрошка");
    rich->SetSelStart(0);
    rich->SetSelLength(3);
    rich->SelAttributes()->SetColor(clRed);
    rich->SetScrollBars(ssVertical);
    ASSERT_EQ(rich->Lines()->Count(), 1);
    EXPECT_EQ(rich->Lines()->Get(0), L"Окрошка");
    rich->SetSelStart(0);
    rich->SetSelLength(1);
    EXPECT_EQ(ColorToRGB(rich->SelAttributes()->Color()), ColorToRGB(clRed));
}

TEST_F(RichEdits, FindTextFindsWholeCyrillicWordsInAnyCaseWithinTheRange)
{
    rich->Lines()->Add(L"Суп-пюре из тыквы");
    rich->Lines()->Add(L"Тыквенный пирог, ТЫКВА и мёд");
    std::wstring text = rich->DocumentText();
    TSearchTypes whole{stWholeWord};
    int tykvy = static_cast<int>(text.find(L"тыквы"));
    int tykva = static_cast<int>(text.find(L"ТЫКВА"));

    // Case does not matter; a word that only starts a longer word is not found.
    EXPECT_EQ(rich->FindText(L"ТЫКВЫ", 0, 255, whole), tykvy);
    EXPECT_EQ(rich->FindText(L"тыква", 0, 255, whole), tykva);
    EXPECT_EQ(rich->FindText(L"тыкв", 0, 255, whole), -1);
    EXPECT_EQ(rich->FindText(L"тыкв", 0, 255, {}), tykvy);
    // Hyphens and the line end bound words.
    EXPECT_EQ(rich->FindText(L"суп", 0, 255, whole), 0);
    EXPECT_EQ(rich->FindText(L"пюре", 0, 255, whole), 4);
    EXPECT_EQ(rich->FindText(L"мёд", 0, 255, whole), static_cast<int>(text.find(L"мёд")));
    // Match case.
    EXPECT_EQ(rich->FindText(L"тыква", 0, 255, {stWholeWord, stMatchCase}), -1);
    EXPECT_EQ(rich->FindText(L"ТЫКВА", 0, 255, {stWholeWord, stMatchCase}), tykva);
    // The range: from a start position, and only hits that end inside it.
    EXPECT_EQ(rich->FindText(L"тыквы", tykvy + 1, 255, whole), -1);
    EXPECT_EQ(rich->FindText(L"тыква", 0, tykva + 4, whole), -1);
    EXPECT_EQ(rich->FindText(L"тыква", 0, tykva + 5, whole), tykva);
    EXPECT_EQ(rich->FindText(L"", 0, 255, whole), -1);
}

TEST_F(RichEdits, FindTextLooksOnlyAtTheFirst255Characters)
{
    std::wstring filler(300, L'ж');
    rich->Lines()->Add(L"Пирог");
    rich->Lines()->Add(filler);
    rich->Lines()->Add(L"секрет");
    EXPECT_EQ(rich->FindText(L"секрет", 0, 255, {stWholeWord}), -1);
    EXPECT_GT(rich->FindText(L"секрет", 0, 1000, {stWholeWord}), 300);
    EXPECT_EQ(rich->FindText(L"пирог", 0, 255, {stWholeWord}), 0);
}

TEST_F(RichEdits, ColorAndFontColorPaintTheView)
{
    rich->SetColor(clYellow);
    rich->Font()->SetColor(clBlue);
    rich->Lines()->Add(L"ЖЖЖЖЖЖЖЖ");
    testsupport::PumpMessagesUntilIdle();
    Pixels24 shot = CaptureWindow(rich->Handle());
    EXPECT_GT(CountColor(shot, Rgb(clYellow)), shot.width * shot.height / 2);
    EXPECT_TRUE(HasColorNear(shot, Rgb(clBlue), 40));
}

// A skin changes the view's font colour: the recipe shown keeps its own faces and sizes, and the
// text takes the colour. A new face is the control's to give to the whole text.
TEST_F(RichEdits, NewFontColourLeavesTheDocumentsFacesAndSizes)
{
    AppendLine(rich, L"Борщ", {L"Arial", 14, clMaroon}, true);
    AppendLine(rich, L"Свёкла", {L"Tahoma", 9, clNavy});
    rich->SetModified(false);
    rich->Font()->SetColor(clGreen);
    std::wstring face;
    TextRun first = AttributesAt(rich, 0, face);
    EXPECT_EQ(face, L"Arial");
    EXPECT_EQ(first.size, 14);
    EXPECT_EQ(ColorToRGB(first.color), ColorToRGB(clGreen));
    TextRun second = AttributesAt(rich, 5, face);
    EXPECT_EQ(face, L"Tahoma");
    EXPECT_EQ(second.size, 9);
    EXPECT_FALSE(rich->Modified());

    rich->Font()->SetName(L"Courier New");
    AttributesAt(rich, 0, face);
    EXPECT_EQ(face, L"Courier New");
    AttributesAt(rich, 5, face);
    EXPECT_EQ(face, L"Courier New");
}

TEST_F(RichEdits, EditingSetsModifiedAndSelectAllCopiesTheWholeText)
{
    rich->Lines()->Add(L"Квас");
    rich->SetModified(false);
    rich->SetFocus();
    SendMessageW(rich->Handle(), WM_CHAR, L'!', 1);
    EXPECT_TRUE(rich->Modified());
    rich->SelectAll();
    EXPECT_EQ(rich->SelText(), rich->DocumentText());
    rich->CopyToClipboard();
    ASSERT_TRUE(OpenClipboard(nullptr));
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    std::wstring copied = data ? static_cast<const wchar_t*>(GlobalLock(data)) : L"";
    if (data)
        GlobalUnlock(data);
    CloseClipboard();
    EXPECT_NE(copied.find(L"Квас"), std::wstring::npos);
    rich->Clear();
    EXPECT_EQ(rich->GetTextLen(), 0);
}

TEST_F(RichEdits, PrintWithoutAPrinterRaisesAClearErrorAndLeavesNothingOpen)
{
    if (Printer()->Printers()->Count() > 0)
        GTEST_SKIP() << "a printer is installed here";
    rich->Lines()->Add(L"Рецепт");
    try {
        rich->Print(L"Рецепт");
        FAIL() << "printing succeeded without a printer";
    } catch (const EPrinter& e) {
        EXPECT_FALSE(e.Message().empty());
    }
    EXPECT_FALSE(Printer()->Printing());
    // The view is still usable.
    EXPECT_EQ(rich->Lines()->Get(0), L"Рецепт");
}

TEST_F(RichEdits, SelectionAttributesCarryStyleAndCharacterSet)
{
    rich->Lines()->Add(L"Жирный курсив");
    rich->SetSelStart(0);
    rich->SetSelLength(6);
    rich->SelAttributes()->SetStyle({fsBold, fsItalic});
    rich->SelAttributes()->SetCharset(RUSSIAN_CHARSET);
    rich->SelAttributes()->SetName(L"Tahoma");
    rich->SelAttributes()->SetSize(14);
    rich->SetSelStart(1);
    rich->SetSelLength(1);
    EXPECT_TRUE(rich->SelAttributes()->Style().Contains(fsBold));
    EXPECT_TRUE(rich->SelAttributes()->Style().Contains(fsItalic));
    EXPECT_FALSE(rich->SelAttributes()->Style().Contains(fsUnderline));
    EXPECT_EQ(rich->SelAttributes()->Charset(), RUSSIAN_CHARSET);
    EXPECT_EQ(rich->SelAttributes()->Size(), 14);
    // A font assigned to the selection brings all of its attributes.
    TFont font;
    font.SetName(L"Arial");
    font.SetSize(9);
    font.SetColor(clGreen);
    font.SetStyle({fsUnderline});
    rich->SetSelStart(7);
    rich->SetSelLength(6);
    rich->SelAttributes()->Assign(&font);
    rich->SetSelStart(8);
    rich->SetSelLength(1);
    EXPECT_EQ(rich->SelAttributes()->Name(), L"Arial");
    EXPECT_EQ(rich->SelAttributes()->Size(), 9);
    EXPECT_EQ(ColorToRGB(rich->SelAttributes()->Color()), ColorToRGB(clGreen));
    EXPECT_TRUE(rich->SelAttributes()->Style().Contains(fsUnderline));
    EXPECT_FALSE(rich->SelAttributes()->Style().Contains(fsBold));
}

TEST_F(RichEdits, HiddenEditorSearchesSavedDocumentsOneAfterAnother)
{
    // Three saved documents; a hidden editor loads each and keeps those that hold the word.
    const std::vector<std::wstring> names = {L"Щи", L"Пирог с капустой", L"Капустник"};
    for (const auto& name : names) {
        rich->Lines()->Clear();
        rich->Lines()->Add(name);
        rich->Lines()->Add(L"3");
        rich->SaveToFile(temp.Path(name + L".rcp"));
    }
    auto* hidden = Add<TRichEdit>(0, 0, 50, 50);
    hidden->Hide();
    std::vector<std::wstring> hits;
    for (const auto& name : names) {
        hidden->LoadFromFile(temp.Path(name + L".rcp"));
        if (hidden->FindText(L"КАПУСТОЙ", 0, 255, {stWholeWord}) != -1)
            hits.push_back(name);
    }
    EXPECT_EQ(hits, std::vector<std::wstring>{L"Пирог с капустой"});
    EXPECT_FALSE(IsWindowVisible(hidden->Handle()));
}

TEST_F(RichEdits, DamagedRtfNeverLeavesThePreviousDocumentInTheView)
{
    rich->Lines()->Add(L"Прежний рецепт");
    std::string binary = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 ";
    for (int i = 0; i < 64; ++i)
        binary += static_cast<char>((i * 37) & 0xFF);
    const std::vector<std::string> damaged = {
        "{\\rtf1\\ansi \\u1065?\\u1080? \\par \\u1041?", // cut off before its end
        "{\\rtf",                                      // only the signature
        binary,                                        // a header and then bytes of no meaning
    };
    for (size_t i = 0; i < damaged.size(); ++i) {
        std::wstring file = temp.Path(L"damaged" + std::to_wstring(i) + L".rcp");
        testsupport::WriteFileBytes(file, damaged[i]);
        rich->Lines()->Clear();
        rich->Lines()->Add(L"Прежний рецепт");
        EXPECT_NO_THROW(rich->LoadFromFile(file)) << i;
        EXPECT_EQ(rich->DocumentText().find(L"Прежний"), std::wstring::npos) << i;
    }
    // RTF the control reports as broken is shown as the text it is, like any file that is not RTF.
    rich->LoadFromFile(temp.Path(L"damaged0.rcp"));
    EXPECT_EQ(rich->Lines()->Get(0), L"{\\rtf1\\ansi \\u1065?\\u1080? \\par \\u1041?");
}

TEST_F(RichEdits, DocumentsNestedDeeperThanTheControlTakesAreNeverGivenToIt)
{
    auto nested = [](int depth) { return "{\\rtf1 " + std::string(depth - 1, '{') + "x" + std::string(depth, '}'); };
    auto times = [](const std::string& part, int n) {
        std::string out;
        while (n-- > 0)
            out += part;
        return out;
    };
    const struct {
        const char* what;
        std::string rtf;
        bool refused;
    } cases[] = {
        {"as deep as the control is given", nested(kMaxRtfGroupDepth), false},
        {"one deeper", nested(kMaxRtfGroupDepth + 1), true},
        {"100,000 deep", nested(100000), true},
        {"escaped braces and braces as characters", "{\\rtf1 " + times("\\{\\'7b", 40) + "}", false},
        {"an escaped backslash before each brace", "{\\rtf1 " + times("\\\\{", 30) + times("}", 31), true},
        // The control counts braces among binary data; a reader of RTF sees the closing ones as data.
        {"braces in binary data", "{\\rtf1\\bin40 " + std::string(40, '{') + "x}", true},
        {"closing braces in binary data", "{\\rtf1\\bin30 " + std::string(30, '}') + nested(kMaxRtfGroupDepth), true},
    };
    for (const auto& c : cases) {
        TRtfGroupDepth bytes;
        for (char b : c.rtf)
            bytes.Feed(&b, 1);
        EXPECT_EQ(bytes.TooDeep(), c.refused) << c.what << ", read byte by byte";
        rich->Lines()->Add(L"Прежний рецепт");
        testsupport::WriteFileBytes(temp.Path(L"nested.rcp"), c.rtf);
        if (c.refused)
            EXPECT_THROW(rich->LoadFromFile(temp.Path(L"nested.rcp")), ENestingError) << c.what;
        else
            EXPECT_NO_THROW(rich->LoadFromFile(temp.Path(L"nested.rcp"))) << c.what;
        EXPECT_EQ(rich->DocumentText().find(L"Прежний"), std::wstring::npos) << c.what;
    }
}

namespace {

// A white 24-bit page of the given size in a memory DC; Inked counts the pixels drawn on it.
class PaperDC {
public:
    PaperDC(int width, int height) : width_(width), height_(height)
    {
        BITMAPINFO bi{};
        bi.bmiHeader.biSize = sizeof bi.bmiHeader;
        bi.bmiHeader.biWidth = width;
        bi.bmiHeader.biHeight = -height;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        bitmap_ = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
        bits_ = static_cast<std::uint32_t*>(bits);
        dc_ = CreateCompatibleDC(nullptr);
        old_ = SelectObject(dc_, bitmap_);
        std::fill_n(bits_, static_cast<size_t>(width) * height, 0xFFFFFFu);
    }
    ~PaperDC()
    {
        SelectObject(dc_, old_);
        DeleteDC(dc_);
        DeleteObject(bitmap_);
    }
    HDC Dc() const { return dc_; }
    int Inked(int top, int bottom) const
    {
        GdiFlush();
        int n = 0;
        for (int y = std::max(0, top); y < std::min(bottom, height_); ++y)
            for (int x = 0; x < width_; ++x)
                n += (bits_[static_cast<size_t>(y) * width_ + x] & 0xFFFFFFu) != 0xFFFFFFu ? 1 : 0;
        return n;
    }

private:
    int width_, height_;
    HBITMAP bitmap_;
    HGDIOBJ old_;
    HDC dc_;
    std::uint32_t* bits_ = nullptr;
};

} // namespace

TEST_F(RichEdits, PrintedPagesAreLaidOutFromTheParagraphsRunsAndKeepTheSelection)
{
    AppendLine(rich, L"Бефстроганов", {L"Arial", 14, clBlack}, true);
    AppendLine(rich, L"Мясо нарезать брусочками поперёк волокон, обжарить на сильном огне.", {L"Arial", 10, clRed});
    AppendLine(rich, L"", {L"Arial", 10, clBlack});
    AppendLine(rich, L"Подавать горячим.", {L"Arial", 10, clBlack});
    rich->SetSelStart(0);
    rich->SetSelLength(3);
    rich->SelAttributes()->SetStyle(TFontStyles{fsBold});
    rich->SetSelStart(2);
    rich->SetSelLength(4);

    const auto paragraphs = RichEditParagraphs(rich->Handle());
    EXPECT_EQ(rich->SelStart(), 2);
    EXPECT_EQ(rich->SelLength(), 4);
    ASSERT_EQ(paragraphs.size(), 4u);
    ASSERT_EQ(paragraphs[0].Runs.size(), 2u) << "the bold start is a run of its own";
    EXPECT_EQ(paragraphs[0].Runs[0].Text, L"Беф");
    EXPECT_TRUE(paragraphs[0].Runs[0].Format.dwEffects & CFE_BOLD);
    EXPECT_EQ(paragraphs[0].Runs[1].Text, L"строганов");
    EXPECT_EQ(paragraphs[0].Runs[1].Format.yHeight, 14 * 20);
    ASSERT_EQ(paragraphs[1].Runs.size(), 1u);
    EXPECT_EQ(paragraphs[1].Runs[0].Format.crTextColor, static_cast<COLORREF>(clRed));
    EXPECT_TRUE(paragraphs[2].Runs.size() == 1 && paragraphs[2].Runs[0].Text.empty());

    // A narrow page wraps the long paragraph; a short one needs more pages.
    PaperDC paper(200, 400);
    int pages = 1;
    const int lines = PrintRichTextPages(paper.Dc(), RECT{0, 0, 200, 400}, paragraphs, [&] { ++pages; });
    EXPECT_GT(lines, 5);
    EXPECT_EQ(pages, 1);
    EXPECT_GT(paper.Inked(0, 30), 0);
    EXPECT_EQ(paper.Inked(200, 400), 0);
    PaperDC small(200, 40);
    pages = 1;
    EXPECT_EQ(PrintRichTextPages(small.Dc(), RECT{0, 0, 200, 40}, paragraphs, [&] { ++pages; }), lines);
    EXPECT_GT(pages, 2);
}
