// The search over all recipes: whole words in Cyrillic, case ignored, only the beginning of a recipe,
// the progress positions, the hits of same-named recipes in different categories, and a scan closed
// whatever fails inside it.
#include "tests/app/dialogs_support.h"

#include "app/recipe_search.h"
#include "framework/SysUtils.h"

#include <stdexcept>
#include <string>
#include <vector>

namespace {

class Search : public DialogTest {
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        holder = Create<TForm>(Application);
        richFind = Create<TRichEdit>(holder);
        richFind->SetVisible(false);
        richFind->SetParent(holder);
    }
    void TearDown() override
    {
        Free(holder);
        DialogTest::TearDown();
    }
    void WriteRecipe(const std::wstring& category, const std::wstring& name, const std::wstring& products)
    {
        DialogTest::WriteRecipe(category, name, products);
    }

    std::vector<TSearchHit> Find(const std::wstring& word)
    {
        std::vector<TSearchHit> hits;
        TRecipeSearch search(*richFind);
        search.SearchText = [&] { return word; };
        search.OnHit = [&](const TSearchHit& hit) { hits.push_back(hit); };
        search.SearchAll(Folder());
        return hits;
    }

    std::vector<std::wstring> Captions(const std::wstring& word)
    {
        std::vector<std::wstring> captions;
        for (const TSearchHit& hit : Find(word))
            captions.push_back(hit.Caption);
        return captions;
    }

    static std::string Utf8(const std::wstring& text) { return apptest::Utf8(text); }

    TForm* holder = nullptr;
    TRichEdit* richFind = nullptr;
};

using Names = std::vector<std::wstring>;

} // namespace

TEST_F(Search, FindsAWholeCyrillicWordWhateverItsCase)
{
    MakeCategory(L"Супы");
    WriteRecipe(L"Супы", L"Борщ украинский", L"Свёкла, капуста");
    EXPECT_EQ(Captions(L"борщ"), Names{L"Борщ украинский"});
    EXPECT_EQ(Captions(L"УКРАИНСКИЙ"), Names{L"Борщ украинский"});
    EXPECT_EQ(Captions(L"свёкла"), Names{L"Борщ украинский"});
}

TEST_F(Search, TheStartOfALongerWordIsNoHit)
{
    MakeCategory(L"Супы");
    WriteRecipe(L"Супы", L"Борщевой суп", L"Свёкла");
    WriteRecipe(L"Супы", L"Щи", L"Капустный лист");
    EXPECT_TRUE(Captions(L"Борщ").empty());
    EXPECT_TRUE(Captions(L"Капуст").empty());
    EXPECT_TRUE(Captions(L"уп").empty());
    EXPECT_EQ(Captions(L"суп"), Names{L"Борщевой суп"});
}

TEST_F(Search, OnlyTheFirst255CharactersAreSearched)
{
    MakeCategory(L"Супы");
    const std::wstring filler(300, L'ж');
    WriteRecipe(L"Супы", L"Поздний", L"мука " + filler + L" шафран");
    WriteRecipe(L"Супы", L"Ранний", L"шафран " + filler);
    EXPECT_EQ(Captions(L"мука"), Names{L"Поздний"});
    EXPECT_EQ(Captions(L"шафран"), Names{L"Ранний"});
}

TEST_F(Search, SameNameInTwoCategoriesGivesTwoHitsEachWithItsOwnFile)
{
    MakeCategory(L"Супы");
    MakeCategory(L"Избранное");
    WriteRecipe(L"Супы", L"Уха", L"Окунь");
    WriteRecipe(L"Избранное", L"Уха", L"Окунь");
    const std::vector<TSearchHit> hits = Find(L"окунь");
    ASSERT_EQ(hits.size(), 2u);
    EXPECT_EQ(hits[0].Caption, L"Уха");
    EXPECT_EQ(hits[1].Caption, L"Уха");
    EXPECT_NE(hits[0].Path, hits[1].Path);
    for (const TSearchHit& hit : hits)
        EXPECT_TRUE(hit.Path == InCategory(L"Супы", L"Уха.rcp") || hit.Path == InCategory(L"Избранное", L"Уха.rcp"))
            << Utf8(hit.Path);
}

TEST_F(Search, PlainTextRecipesAreSearchedToo)
{
    MakeCategory(L"Разное");
    WriteText(InCategory(L"Разное", L"Заметка.rcp"), "Salt and pepper\r\n");
    EXPECT_EQ(Captions(L"PEPPER"), Names{L"Заметка"});
}

TEST_F(Search, ProgressRunsToOneHundredThenStartsAgainAndStartsFromZeroForEveryCategory)
{
    MakeCategory(L"Много");
    for (int i = 0; i < 103; ++i)
        WriteText(InCategory(L"Много", L"r" + IntToStr(1000 + i) + L".rcp"), "x");
    MakeCategory(L"Мало");
    WriteText(InCategory(L"Мало", L"a.rcp"), "x");
    std::vector<int> positions;
    TRecipeSearch search(*richFind);
    search.OnProgress = [&](int p) { positions.push_back(p); };
    search.FillFindList(InCategory(L"Много", L""), InCategory(L"Много", L"*.rcp"));
    ASSERT_EQ(positions.size(), 104u);
    for (int i = 0; i <= 100; ++i)
        EXPECT_EQ(positions[static_cast<size_t>(i)], i);
    EXPECT_EQ(positions[101], 0); // the 102nd file
    EXPECT_EQ(positions[102], 1);
    EXPECT_EQ(positions[103], 0); // the end of the category
    positions.clear();
    search.FillFindList(InCategory(L"Мало", L""), InCategory(L"Мало", L"*.rcp"));
    EXPECT_EQ(positions, (std::vector<int>{0, 0}));
}

TEST_F(Search, TheSearchTextIsAskedForEveryFile)
{
    MakeCategory(L"Супы");
    WriteRecipe(L"Супы", L"Борщ", L"Свёкла");
    WriteRecipe(L"Супы", L"Щи", L"Капуста");
    int asked = 0;
    TRecipeSearch search(*richFind);
    search.SearchText = [&] {
        ++asked;
        return std::wstring(L"щи");
    };
    std::vector<std::wstring> hits;
    search.OnHit = [&](const TSearchHit& hit) { hits.push_back(hit.Caption); };
    search.SearchAll(Folder());
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(hits, Names{L"Щи"});
}

TEST_F(Search, WithoutBasesNothingIsSearched)
{
    RemoveDir(Bases());
    int events = 0;
    TRecipeSearch search(*richFind);
    search.OnProgress = [&](int) { ++events; };
    search.OnHit = [&](const TSearchHit&) { ++events; };
    search.SearchAll(Folder());
    EXPECT_EQ(events, 0);
}

TEST_F(Search, ARecipeThatCannotBeOpenedIsPassedOver)
{
    MakeCategory(L"Супы");
    WriteRecipe(L"Супы", L"Борщ", L"Свёкла");
    WriteRecipe(L"Супы", L"Щи", L"Свёкла");
    HANDLE locked = CreateFileW(InCategory(L"Супы", L"Борщ.rcp").c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(locked, INVALID_HANDLE_VALUE);
    const Names found = Captions(L"свёкла");
    CloseHandle(locked);
    EXPECT_EQ(found, Names{L"Щи"});
}

TEST_F(Search, RecipesNestedDeeperThanTheControlTakesAreNoHitAndTheSearchGoesOn)
{
    MakeCategory(L"Супы");
    WriteRecipe(L"Супы", L"Борщ", L"Свёкла");
    WriteText(InCategory(L"Супы", L"Бездонный.rcp"), apptest::NestedRtf(100000, false));
    EXPECT_EQ(Captions(L"свёкла"), Names{L"Борщ"});
}

TEST_F(Search, ALongRecipeIsFoundExactlyAsWhenItIsLoadedWhole)
{
    MakeCategory(L"Длинные");
    // Numbered words with Cyrillic letters and escapes of every kind, well past the searched range.
    std::wstring products;
    for (int i = 0; i < 3000; ++i)
        products += (i % 3 ? L"щ" : L"Ёж") + IntToStr(i) + (i % 7 ? L" " : L", ");
    WriteRecipe(L"Длинные", L"Очень длинный", products);
    const std::wstring file = InCategory(L"Длинные", L"Очень длинный.rcp");
    ASSERT_GT(testsupport::ReadFileBytes(file).size(), 16000u);

    TRecipeSearch search(*richFind);
    std::vector<bool> whole, beginning;
    std::vector<std::wstring> words;
    for (int i = 0; i < 120; ++i)
        words.push_back((i % 3 ? L"щ" : L"Ёж") + IntToStr(i));
    richFind->LoadFromFile(file);
    const int wholeLength = richFind->GetTextLen();
    for (const std::wstring& word : words)
        whole.push_back(search.Matches(word));
    search.LoadBeginning(file);
    EXPECT_LT(richFind->GetTextLen(), wholeLength / 4);
    for (const std::wstring& word : words)
        beginning.push_back(search.Matches(word));
    EXPECT_EQ(beginning, whole);
    // The range really ends inside the list: early words are found, later ones are not.
    EXPECT_TRUE(whole.front());
    EXPECT_FALSE(whole.back());
}

namespace {

// Kernel handles of this process, counted by asking about every value the system hands out (an open
// scan keeps its folder's handle).
int CountKernelHandles()
{
    int count = 0;
    DWORD flags = 0;
    for (ULONG_PTR value = 4; value < 0x10000; value += 4)
        if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags))
            ++count;
    return count;
}

// A failure while a category is being scanned: in reading a recipe (the search text is asked for
// then), in reporting a hit and in moving the progress bar.
struct ScanFailure {
    const char* Name;
    void (*Break)(TRecipeSearch&);
};

const ScanFailure kScanFailures[] = {
    {"ReadingARecipe",
     [](TRecipeSearch& s) { s.SearchText = []() -> std::wstring { throw std::runtime_error("no memory left"); }; }},
    {"ReportingAHit", [](TRecipeSearch& s) { s.OnHit = [](const TSearchHit&) { throw EOutOfResources(L"list"); }; }},
    {"MovingTheProgress", [](TRecipeSearch& s) { s.OnProgress = [](int) { throw EOutOfResources(L"bar"); }; }},
};

class SearchFailure : public Search, public ::testing::WithParamInterface<ScanFailure> {};

} // namespace

TEST_P(SearchFailure, ClosesTheScanOfTheCategory)
{
    MakeCategory(L"Супы");
    WriteRecipe(L"Супы", L"Борщ", L"Свёкла");
    WriteRecipe(L"Супы", L"Щи", L"Свёкла");
    TRecipeSearch search(*richFind);
    search.SearchText = [] { return std::wstring(L"свёкла"); };
    // A first search and a first exception make what the system keeps for good once a process first
    // reads such files or unwinds through its frames.
    search.FillFindList(InCategory(L"Супы", L""), InCategory(L"Супы", L"*.rcp"));
    try {
        throw std::runtime_error("first");
    } catch (const std::exception&) {
    }
    GetParam().Break(search);
    const int before = CountKernelHandles();
    EXPECT_ANY_THROW(search.FillFindList(InCategory(L"Супы", L""), InCategory(L"Супы", L"*.rcp")));
    EXPECT_EQ(CountKernelHandles(), before);
}

INSTANTIATE_TEST_SUITE_P(Search, SearchFailure, ::testing::ValuesIn(kScanFailures),
                         [](const ::testing::TestParamInfo<ScanFailure>& info) { return info.param.Name; });
