// The virtual tree adapter on a tree written for these tests: a custom control that paints its header
// through its two header events when its header asks for owner drawing, and its own colours otherwise.
// The adapter takes the events and the text colours while it skins the tree and gives them back after.
#include "tests/skin_controls/adapters_support.h"

#include "framework/FormData.h"
#include "framework/TypInfo.h"
#include "skin/core/acntUtils.h"
#include "skin/forms/acVirtualTree.h"
#include "tests/skin_core/test_skin.h"

using namespace adaptertest;

namespace {

constexpr TColor kOwnTextColor = RGB(0x12, 0x34, 0x56);
constexpr TColor kOwnHeaderColor = RGB(0x65, 0x43, 0x21);
constexpr TColor kOwnColor = RGB(0x9A, 0xBC, 0xDE);
constexpr int kHeaderHeight = 20;
constexpr int kColumnWidth = 80;
// The first column is the sorted one: its glyph sits near its right end.
constexpr int kSortGlyphX = kColumnWidth - 16;

class TTreeColors : public TPersistent {
    DECLARE_CLASS_NAME(TTreeColors)
public:
    TColor Compressed() const { return compressed_; }
    void SetCompressed(TColor v) { compressed_ = v; }
    TColor File() const { return file_; }
    void SetFile(TColor v) { file_ = v; }
    TColor Folder() const { return folder_; }
    void SetFolder(TColor v) { folder_ = v; }

private:
    TColor compressed_ = kOwnTextColor, file_ = kOwnTextColor, folder_ = kOwnTextColor;
};

enum THeaderOption { hoOwnerDraw, hoVisible, hoHotTrack };
using THeaderOptions = TSet<THeaderOption>;

class TTreeColumn : public TPersistent {
    DECLARE_CLASS_NAME(TTreeColumn)
public:
    explicit TTreeColumn(std::wstring text) : text_(std::move(text)) {}
    const std::wstring& Text() const { return text_; }

private:
    std::wstring text_;
};

class TTreeHeader : public TPersistent {
    DECLARE_CLASS_NAME(TTreeHeader)
public:
    THeaderOptions Options() const { return options_; }
    void SetOptions(THeaderOptions v) { options_ = v; }
    int Height() const { return kHeaderHeight; }
    void SetHeight(int) {}
    int SortDirection() const { return sortDirection_; }
    void SetSortDirection(int v) { sortDirection_ = v; }

private:
    THeaderOptions options_{hoVisible};
    int sortDirection_ = 0;
};

// A tree of another vendor as far as its header and colours go.
class TVirtualStringTree : public TCustomControl {
    DECLARE_CLASS_NAME(TVirtualStringTree)
public:
    explicit TVirtualStringTree(TComponent* owner) : TCustomControl(owner)
    {
        SetColor(kOwnColor);
        columns_.push_back(std::make_unique<TTreeColumn>(L"Рецепт"));
        columns_.push_back(std::make_unique<TTreeColumn>(L"Оценка"));
    }
    TTreeColors* VETColors() const { return colors_.get(); }
    TTreeHeader* Header() const { return header_.get(); }

    TacAdvancedHeaderPaintEvent OnAdvancedHeaderDraw;
    TacHeaderPaintQueryElementsEvent OnHeaderDrawQueryElements;

protected:
    void Paint() override
    {
        RECT client{};
        GetClientRect(Handle(), &client);
        HDC dc = Canvas()->Handle();
        Fill(dc, TRect{0, kHeaderHeight, client.right, client.bottom}, Color());
        int x = 0;
        for (const auto& column : columns_) {
            PaintHeaderPart(dc, column.get(), TRect{x, 0, x + kColumnWidth, kHeaderHeight});
            x += kColumnWidth;
        }
        PaintHeaderPart(dc, nullptr, TRect{x, 0, client.right, kHeaderHeight});
    }

private:
    void PaintHeaderPart(HDC dc, TTreeColumn* column, const TRect& r)
    {
        if (!header_->Options().Contains(hoOwnerDraw) || !OnAdvancedHeaderDraw || !OnHeaderDrawQueryElements) {
            Fill(dc, r, kOwnHeaderColor);
            return;
        }
        TacHeaderPaintInfo info;
        info.TargetCanvas = dc;
        info.Column = column;
        info.PaintRectangle = r;
        info.ShowSortGlyph = column && column == columns_.front().get();
        info.SortGlyphPos = TPoint{r.Left + kSortGlyphX, r.Top};
        std::uint32_t elements = 0;
        OnHeaderDrawQueryElements(header_.get(), info, elements);
        OnAdvancedHeaderDraw(header_.get(), info, elements);
    }
    static void Fill(HDC dc, const TRect& r, TColor color)
    {
        HBRUSH brush = CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(color)));
        const RECT rc = r.ToRECT();
        FillRect(dc, &rc, brush);
        DeleteObject(brush);
    }

    std::unique_ptr<TTreeColors> colors_ = std::make_unique<TTreeColors>();
    std::unique_ptr<TTreeHeader> header_ = std::make_unique<TTreeHeader>();
    std::vector<std::unique_ptr<TTreeColumn>> columns_;
};

// The same tree without any published property.
class TVirtualDrawTree : public TVirtualStringTree {
    DECLARE_CLASS_NAME(TVirtualDrawTree)
public:
    using TVirtualStringTree::TVirtualStringTree;
};

void RegisterTestTrees()
{
    RegisterFrameworkClasses();
    RegisterClass<TTreeColors>(L"TTreeColors", L"TPersistent");
    PublishOrd<TTreeColors>(L"TTreeColors", L"CompressedTextColor", &TTreeColors::Compressed, &TTreeColors::SetCompressed);
    PublishOrd<TTreeColors>(L"TTreeColors", L"FileTextColor", &TTreeColors::File, &TTreeColors::SetFile);
    PublishOrd<TTreeColors>(L"TTreeColors", L"FolderTextColor", &TTreeColors::Folder, &TTreeColors::SetFolder);
    RegisterClass<TTreeColumn>(L"TTreeColumn", L"TPersistent");
    PublishString<TTreeColumn>(L"TTreeColumn", L"Text", &TTreeColumn::Text);
    RegisterClass<TTreeHeader>(L"TTreeHeader", L"TPersistent");
    PublishSet<TTreeHeader, THeaderOption>(L"TTreeHeader", L"Options", &TTreeHeader::Options, &TTreeHeader::SetOptions,
                                           {L"hoOwnerDraw", L"hoVisible", L"hoHotTrack"});
    PublishOrd<TTreeHeader>(L"TTreeHeader", L"Height", &TTreeHeader::Height, &TTreeHeader::SetHeight);
    PublishOrd<TTreeHeader>(L"TTreeHeader", L"SortDirection", &TTreeHeader::SortDirection,
                            &TTreeHeader::SetSortDirection);
    RegisterClass<TVirtualStringTree>(L"TVirtualStringTree", L"TCustomControl");
    PublishObject<TVirtualStringTree>(L"TVirtualStringTree", L"VETColors", &TVirtualStringTree::VETColors);
    PublishObject<TVirtualStringTree>(L"TVirtualStringTree", L"Header", &TVirtualStringTree::Header);
    PublishEvent<TVirtualStringTree>(L"TVirtualStringTree", L"OnAdvancedHeaderDraw",
                                     &TVirtualStringTree::OnAdvancedHeaderDraw);
    PublishEvent<TVirtualStringTree>(L"TVirtualStringTree", L"OnHeaderDrawQueryElements",
                                     &TVirtualStringTree::OnHeaderDrawQueryElements);
    RegisterClass<TVirtualDrawTree>(L"TVirtualDrawTree", L"TCustomControl");
}

class VirtualTreeTest : public AdapterTest {
protected:
    void SetUp() override
    {
        AdapterTest::SetUp();
        RegisterTestTrees();
        Form = Create<TForm>(Application);
        Form->SetBounds(60, 60, 320, 240);
        Form->Show();
    }
    void TearDown() override
    {
        Adapter.reset();
        Free(Form);
        AdapterTest::TearDown();
    }
    template <class T>
    T* MakeTree()
    {
        auto* tree = Create<T>(Form);
        tree->SetParent(Form);
        tree->SetBounds(10, 10, 240, 140);
        Data = std::make_unique<TsCommonData>(nullptr, true);
        Data->FOwnerControl = tree;
        Data->FOwnerObj = tree;
        Adapter = MakeAdapter<TacVirtualTreeViewWnd>(tree->Handle(), true, L"EDIT", Manager, Data.get());
        return tree;
    }
    static COLORREF Pixel(TWinControl* tree, int x, int y)
    {
        return testsupport::CaptureWindow(tree->Handle(), false).At(x, y);
    }

    TForm* Form = nullptr;
    std::unique_ptr<TsCommonData> Data;
    TacAdapterPtr<TacVirtualTreeViewWnd> Adapter;
};

TEST_F(VirtualTreeTest, TheHeaderIsPaintedFromTheSkinThroughTheTreesEvents)
{
    auto* tree = MakeTree<TVirtualStringTree>();
    Adapter->PrepareSkinParams();
    EXPECT_TRUE(tree->Header()->Options().Contains(hoOwnerDraw));
    EXPECT_TRUE(static_cast<bool>(tree->OnAdvancedHeaderDraw));
    EXPECT_EQ(tree->VETColors()->File(), static_cast<TColor>(kEditHotFontColor));
    // The end of the first column, away from its text, and the empty strip after the last column.
    EXPECT_EQ(Pixel(tree, kColumnWidth - 3, 2), kHeaderColor);
    EXPECT_EQ(Pixel(tree, 2 * kColumnWidth + 30, kHeaderHeight / 2), kEditColor);
    EXPECT_EQ(Pixel(tree, 100, kHeaderHeight + 40), kEditColor);
}

TEST_F(VirtualTreeTest, RemovingTheAdapterGivesTheTreeItsColoursAndHeaderBack)
{
    auto* tree = MakeTree<TVirtualStringTree>();
    Adapter->PrepareSkinParams();
    Adapter.reset();
    EXPECT_FALSE(tree->Header()->Options().Contains(hoOwnerDraw));
    EXPECT_FALSE(static_cast<bool>(tree->OnAdvancedHeaderDraw));
    EXPECT_FALSE(static_cast<bool>(tree->OnHeaderDrawQueryElements));
    EXPECT_EQ(tree->VETColors()->Folder(), kOwnTextColor);
    EXPECT_EQ(Pixel(tree, kColumnWidth - 3, 2), static_cast<COLORREF>(kOwnHeaderColor));
    EXPECT_EQ(Pixel(tree, 100, kHeaderHeight + 40), static_cast<COLORREF>(kOwnColor));
}

TEST_F(VirtualTreeTest, RestoringClearsTheHeaderEventsEvenWhenAnotherHandlerTookThem)
{
    auto* tree = MakeTree<TVirtualStringTree>();
    Adapter->PrepareSkinParams();
    tree->OnAdvancedHeaderDraw = [](TPersistent*, TacHeaderPaintInfo&, std::uint32_t) {};
    Adapter->RestoreWindowParams();
    EXPECT_FALSE(static_cast<bool>(tree->OnAdvancedHeaderDraw));
}

TEST_F(VirtualTreeTest, AnAssignedHeaderEventIsLeftToItsOwnerWhileSkinned)
{
    auto* tree = MakeTree<TVirtualStringTree>();
    bool called = false;
    tree->OnHeaderDrawQueryElements = [&](TPersistent*, TacHeaderPaintInfo&, std::uint32_t& elements) {
        called = true;
        elements = 0;
    };
    Adapter->PrepareSkinParams();
    testsupport::CaptureWindow(tree->Handle(), false);
    EXPECT_TRUE(called);
}

TEST_F(VirtualTreeTest, ATreeWithoutThePublishedPropertiesIsSkinnedWithoutRaising)
{
    auto* tree = MakeTree<TVirtualDrawTree>();
    Adapter->PrepareSkinParams();
    EXPECT_FALSE(tree->Header()->Options().Contains(hoOwnerDraw));
    EXPECT_EQ(Pixel(tree, 100, kHeaderHeight + 40), kEditColor);
    Adapter.reset();
    EXPECT_TRUE(Errors.empty());
}

TEST_F(VirtualTreeTest, TheSortGlyphPointsUpForEveryDirectionButTheFirst)
{
    constexpr COLORREF kUp = RGB(0x11, 0xAA, 0x22), kDown = RGB(0xAA, 0x11, 0x22);
    std::string options = BarsSkinOptions();
    for (const auto& [section, file] :
         {std::pair{"[SCROLLBTNTOP]\r\n", "UP"}, std::pair{"[SCROLLBTNBOTTOM]\r\n", "DOWN"}}) {
        const std::size_t at = options.find(section);
        ASSERT_NE(at, std::string::npos);
        options.insert(at + strlen(section), std::string("GLYPHMASK=!") + file + ".BMP!3!1!2\r\n");
    }
    testsupport::WriteFileBytes(Folder() + L"\\SortedTree\\Options.dat", options);
    // Three frames of the arrow's colour over a black mask.
    for (const auto& [file, color] : {std::pair{L"UP.BMP", kUp}, std::pair{L"DOWN.BMP", kDown}}) {
        const COLORREF c = color;
        testsupport::WriteFileBytes(Folder() + L"\\SortedTree\\" + file,
                                    testskin::BitmapFile(21, 8, [c](int, int y) { return y < 4 ? c : RGB(0, 0, 0); }));
    }
    Manager->SetSkinName(L"SortedTree");
    ASSERT_TRUE(Manager->SkinData()->Active);
    auto* tree = MakeTree<TVirtualStringTree>();
    Adapter->PrepareSkinParams();
    EXPECT_EQ(Pixel(tree, kSortGlyphX + 3, kHeaderHeight / 2), kDown);
    tree->Header()->SetSortDirection(1);
    EXPECT_EQ(Pixel(tree, kSortGlyphX + 3, kHeaderHeight / 2), kUp);
}

} // namespace
