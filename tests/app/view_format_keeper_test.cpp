// The view after a print that re-indents it: selection, paragraph indents, scroll position and the
// modified flag as they were.
#include "app/recipe_document.h"
#include "app/view_format_keeper.h"

#include <gtest/gtest.h>
#include <richedit.h>

#include <vector>

namespace {

class ViewFormatKeeperTest : public ::testing::Test {
protected:
    HWND View() const { return document.Handle(); }
    void SetText(const wchar_t* text)
    {
        SETTEXTEX set{ST_DEFAULT, 1200};
        SendMessageW(View(), EM_SETTEXTEX, reinterpret_cast<WPARAM>(&set), reinterpret_cast<LPARAM>(text));
    }
    void Select(LONG from, LONG to)
    {
        CHARRANGE r{from, to};
        SendMessageW(View(), EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&r));
    }
    CHARRANGE Selection() const
    {
        CHARRANGE r{};
        SendMessageW(View(), EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&r));
        return r;
    }
    void IndentAt(LONG position, LONG twips)
    {
        Select(position, position);
        PARAFORMAT2 f{};
        f.cbSize = sizeof(f);
        f.dwMask = PFM_STARTINDENT;
        f.dxStartIndent = twips;
        SendMessageW(View(), EM_SETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&f));
    }
    LONG IndentOf(LONG position)
    {
        Select(position, position);
        PARAFORMAT2 f{};
        f.cbSize = sizeof(f);
        SendMessageW(View(), EM_GETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&f));
        return f.dxStartIndent;
    }
    // What the print does to the view while the keeper watches.
    void Reindent()
    {
        Select(0, -1);
        PARAFORMAT2 f{};
        f.cbSize = sizeof(f);
        f.dwMask = PFM_STARTINDENT;
        f.dxStartIndent = 800;
        SendMessageW(View(), EM_SETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&f));
    }

    THiddenRecipeDocument document;
};

// Paragraph starts of "Борщ\rСвёкла\rКапуста\r\rВарить": 0, 5, 12, 20, 21.
const wchar_t* const kRecipe = L"Борщ\rСвёкла\rКапуста\r\rВарить";

} // namespace

TEST_F(ViewFormatKeeperTest, EveryParagraphGetsItsOwnIndentBack)
{
    SetText(kRecipe);
    const std::vector<std::pair<LONG, LONG>> indents{{0, 0}, {5, 300}, {12, 300}, {20, 0}, {21, 567}};
    for (const auto& [at, twips] : indents)
        IndentAt(at, twips);
    Select(6, 9);
    {
        TViewFormatKeeper keeper(View());
        Reindent();
        ASSERT_EQ(IndentOf(0), 800);
    }
    const CHARRANGE r = Selection();
    EXPECT_EQ(r.cpMin, 6);
    EXPECT_EQ(r.cpMax, 9);
    for (const auto& [at, twips] : indents)
        EXPECT_EQ(IndentOf(at), twips) << "the paragraph at " << at;
}

TEST_F(ViewFormatKeeperTest, UnmodifiedViewStaysUnmodifiedAndModifiedStaysModified)
{
    for (const BOOL modified : {FALSE, TRUE}) {
        SetText(kRecipe);
        SendMessageW(View(), EM_SETMODIFY, modified, 0);
        {
            TViewFormatKeeper keeper(View());
            Reindent();
        }
        EXPECT_EQ(SendMessageW(View(), EM_GETMODIFY, 0, 0) != 0, modified != 0);
    }
}

TEST_F(ViewFormatKeeperTest, EmptyViewKeepsItsCaret)
{
    SetText(L"");
    {
        TViewFormatKeeper keeper(View());
        Reindent();
    }
    EXPECT_EQ(IndentOf(0), 0);
    EXPECT_EQ(Selection().cpMin, 0);
    EXPECT_EQ(Selection().cpMax, 0);
}
