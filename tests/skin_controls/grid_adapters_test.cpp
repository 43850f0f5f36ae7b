// Grid adapters on a real grid written for these tests: a custom control that paints its title row and
// its cells from published properties, so the skin's colours show as pixels, and come back when the
// adapter goes. Properties a grid lacks are skipped.
#include "tests/skin_controls/adapters_support.h"

#include "framework/FormData.h"
#include "framework/TypInfo.h"
#include "skin/core/acntUtils.h"
#include "skin/core/sSkinLinks.h"
#include "skin/forms/acCtrlAdapter.h"
#include "skin/forms/acGridAdapters.h"

using namespace adaptertest;

namespace {

constexpr int kTitleHeight = 16;
constexpr TColor kOwnFixedColor = RGB(0x11, 0x22, 0x33);
constexpr TColor kOwnTitleFontColor = RGB(0x44, 0x55, 0x66);
constexpr TColor kOwnColor = RGB(0x77, 0x88, 0x99);
constexpr COLORREF kGlobalColor = RGB(0xE0, 0xE0, 0xE0);
constexpr COLORREF kGlobalFontColor = RGB(0x20, 0x20, 0x20);

enum TTestGridOption { goFixedRows, goRowSelect, goEditing };
using TTestGridOptions = TSet<TTestGridOption>;

// A grid: its title row in FixedColor, its cells in Color.
class TTestGrid : public TCustomControl {
    DECLARE_CLASS_NAME(TTestGrid)
public:
    explicit TTestGrid(TComponent* owner)
        : TCustomControl(owner), titleFont_(std::make_unique<TFont>()), fixedFont_(std::make_unique<TFont>())
    {
        SetColor(kOwnColor);
        titleFont_->SetColor(kOwnTitleFontColor);
        fixedFont_->SetColor(kOwnTitleFontColor);
    }
    TColor FixedColor() const { return fixedColor_; }
    void SetFixedColor(TColor value)
    {
        fixedColor_ = value;
        if (HandleAllocated())
            InvalidateRect(Handle(), nullptr, TRUE);
    }
    TFont* TitleFont() const { return titleFont_.get(); }
    TFont* FixedFont() const { return fixedFont_.get(); }
    int DataSource() const { return 0; }
    void SetDataSource(int) {}
    TTestGridOptions Options() const { return options_; }
    void SetOptions(TTestGridOptions value) { options_ = value; }

protected:
    void Paint() override
    {
        RECT r{};
        GetClientRect(Handle(), &r);
        HDC dc = Canvas()->Handle();
        FillDC(dc, TRect{0, 0, r.right, kTitleHeight}, fixedColor_);
        FillDC(dc, TRect{0, kTitleHeight, r.right, r.bottom}, Color());
    }
    static void FillDC(HDC dc, const TRect& r, TColor color)
    {
        HBRUSH brush = CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(color)));
        const RECT rc = r.ToRECT();
        FillRect(dc, &rc, brush);
        DeleteObject(brush);
    }

private:
    TColor fixedColor_ = kOwnFixedColor;
    std::unique_ptr<TFont> titleFont_;
    std::unique_ptr<TFont> fixedFont_;
    TTestGridOptions options_;
};

// The same grid under the name of a grid that keeps its fixed font.
class TDBAdvGrid : public TTestGrid {
    DECLARE_CLASS_NAME(TDBAdvGrid)
public:
    using TTestGrid::TTestGrid;
};

// A grid without published colours of its own.
class TPlainGrid : public TTestGrid {
    DECLARE_CLASS_NAME(TPlainGrid)
public:
    using TTestGrid::TTestGrid;
};

// A column of a grid that keeps its header font per column.
class TTestColumn : public TCollectionItem {
    DECLARE_CLASS_NAME(TTestColumn)
public:
    explicit TTestColumn(TCollection* collection) : TCollectionItem(collection)
    {
        headerFont_->SetColor(kOwnTitleFontColor);
    }
    TFont* HeaderFont() const { return headerFont_.get(); }
    TFont* Font() const { return font_.get(); }
    TColor Color() const { return color_; }
    void SetColor(TColor value) { color_ = value; }

private:
    std::unique_ptr<TFont> headerFont_ = std::make_unique<TFont>();
    std::unique_ptr<TFont> font_ = std::make_unique<TFont>();
    TColor color_ = kOwnColor;
};

// A grid of columns, without a title font or a fixed font of its own.
class TColumnGrid : public TTestGrid {
    DECLARE_CLASS_NAME(TColumnGrid)
public:
    explicit TColumnGrid(TComponent* owner) : TTestGrid(owner) { columns_.Add(); }
    TCollection* Columns() const { return &columns_; }
    TTestColumn* Column(int index) const { return static_cast<TTestColumn*>(columns_.Items(index)); }

private:
    mutable TCollection columns_{MakeCollectionItem<TTestColumn>, this};
};

void RegisterTestGrids()
{
    RegisterFrameworkClasses();
    RegisterClass<TTestGrid>(L"TTestGrid", L"TCustomControl");
    PublishOrd<TTestGrid>(L"TTestGrid", L"FixedColor", &TTestGrid::FixedColor, &TTestGrid::SetFixedColor);
    PublishObject<TTestGrid>(L"TTestGrid", L"TitleFont", &TTestGrid::TitleFont);
    PublishObject<TTestGrid>(L"TTestGrid", L"FixedFont", &TTestGrid::FixedFont);
    PublishOrd<TTestGrid>(L"TTestGrid", L"DataSource", &TTestGrid::DataSource, &TTestGrid::SetDataSource);
    PublishSet<TTestGrid, TTestGridOption>(L"TTestGrid", L"OptionsEh", &TTestGrid::Options, &TTestGrid::SetOptions,
                                           {L"goFixedRows", L"goRowSelect", L"goEditing"});
    RegisterClass<TDBAdvGrid>(L"TDBAdvGrid", L"TTestGrid");
    // Registered under the custom control: none of the grid's properties are published for it.
    RegisterClass<TPlainGrid>(L"TPlainGrid", L"TCustomControl");
    RegisterClass<TTestColumn>(L"TTestColumn", L"TPersistent");
    PublishObject<TTestColumn>(L"TTestColumn", L"HeaderFont", &TTestColumn::HeaderFont);
    PublishObject<TTestColumn>(L"TTestColumn", L"Font", &TTestColumn::Font);
    PublishOrd<TTestColumn>(L"TTestColumn", L"Color", &TTestColumn::Color, &TTestColumn::SetColor);
    RegisterClass<TColumnGrid>(L"TColumnGrid", L"TCustomControl");
    PublishObject<TColumnGrid>(L"TColumnGrid", L"Columns", &TColumnGrid::Columns);
}

class GridAdaptersTest : public AdapterTest {
protected:
    void SetUp() override
    {
        AdapterTest::SetUp();
        RegisterTestGrids();
        Form = Create<TForm>(Application);
        Form->SetBounds(60, 60, 320, 240);
        Form->Show();
    }
    void TearDown() override
    {
        Free(Form);
        AdapterTest::TearDown();
    }
    template <class T>
    T* MakeGrid()
    {
        auto* grid = Create<T>(Form);
        grid->SetParent(Form);
        grid->SetBounds(10, 10, 200, 120);
        Data = std::make_unique<TsCommonData>(nullptr, true);
        Data->FOwnerControl = grid;
        Data->FOwnerObj = grid;
        return grid;
    }
    // A pixel of the grid's client area in a fresh paint.
    static COLORREF CellPixel(TWinControl* grid, int y)
    {
        const testsupport::Pixels24 shot = testsupport::CaptureWindow(grid->Handle(), false);
        return shot.At(shot.width / 2, y);
    }

    TForm* Form = nullptr;
    std::unique_ptr<TsCommonData> Data;
};

TEST_F(GridAdaptersTest, GridPaintsItsTitleRowAndCellsInTheSkinsColoursAndGetsItsOwnBack)
{
    auto* grid = MakeGrid<TTestGrid>();
    EXPECT_EQ(CellPixel(grid, kTitleHeight / 2), static_cast<COLORREF>(kOwnFixedColor));
    {
        auto adapter = MakeAdapter<TacGridWnd>(grid->Handle(), true, L"EDIT", Manager, Data.get());
        EXPECT_EQ(adapter->SavedFixedColor, kOwnFixedColor);
        adapter->PrepareSkinParams();
        EXPECT_EQ(CellPixel(grid, kTitleHeight / 2), kGlobalColor);
        EXPECT_EQ(CellPixel(grid, kTitleHeight + 20), kEditColor);
        EXPECT_EQ(grid->TitleFont()->Color(), static_cast<TColor>(kGlobalFontColor));
        EXPECT_EQ(grid->FixedFont()->Color(), static_cast<TColor>(kGlobalFontColor));
    }
    EXPECT_EQ(grid->FixedColor(), kOwnFixedColor);
    EXPECT_EQ(grid->TitleFont()->Color(), kOwnTitleFontColor);
    EXPECT_EQ(grid->FixedFont()->Color(), kOwnTitleFontColor);
    EXPECT_EQ(CellPixel(grid, kTitleHeight / 2), static_cast<COLORREF>(kOwnFixedColor));
    EXPECT_EQ(CellPixel(grid, kTitleHeight + 20), static_cast<COLORREF>(kOwnColor));
}

TEST_F(GridAdaptersTest, AGridNamedTDBAdvGridKeepsItsFixedFont)
{
    auto* grid = MakeGrid<TDBAdvGrid>();
    auto adapter = MakeAdapter<TacGridWnd>(grid->Handle(), true, L"EDIT", Manager, Data.get());
    adapter->PrepareSkinParams();
    EXPECT_EQ(grid->FixedFont()->Color(), kOwnTitleFontColor);
    EXPECT_EQ(grid->TitleFont()->Color(), static_cast<TColor>(kGlobalFontColor));
}

TEST_F(GridAdaptersTest, AGridWithoutThePropertiesIsSkinnedWithoutRaising)
{
    auto* grid = MakeGrid<TPlainGrid>();
    EXPECT_FALSE(HasProperty(grid, L"FixedColor"));
    auto adapter = MakeAdapter<TacGridWnd>(grid->Handle(), true, L"EDIT", Manager, Data.get());
    adapter->PrepareSkinParams();
    EXPECT_EQ(adapter->SavedFixedColor, -1);
    EXPECT_EQ(grid->FixedColor(), kOwnFixedColor);
    EXPECT_EQ(CellPixel(grid, kTitleHeight + 20), kEditColor);
    adapter.reset();
    EXPECT_EQ(grid->FixedColor(), kOwnFixedColor);
    EXPECT_TRUE(Errors.empty());
}

// No title font to save: restoring leaves the columns' header fonts a real colour, while their fonts
// and colours come back.
TEST_F(GridAdaptersTest, AGridWithoutATitleFontGivesItsColumnsNoMissingColour)
{
    auto* grid = MakeGrid<TColumnGrid>();
    TTestColumn* column = grid->Column(0);
    {
        auto adapter = MakeAdapter<TacGridWnd>(grid->Handle(), true, L"EDIT", Manager, Data.get());
        EXPECT_EQ(adapter->SavedTitleFontColor, -1);
        adapter->PrepareSkinParams();
        EXPECT_EQ(column->HeaderFont()->Color(), static_cast<TColor>(kGlobalFontColor));
        EXPECT_EQ(column->Color(), static_cast<TColor>(kEditColor));
    }
    EXPECT_NE(column->HeaderFont()->Color(), static_cast<TColor>(-1));
    EXPECT_EQ(column->Font()->Color(), grid->Font()->Color());
    EXPECT_EQ(column->Color(), kOwnColor);
}

TEST_F(GridAdaptersTest, ThumbPositionOnAGridOverADataSourceCountsRowsFromOne)
{
    auto* grid = MakeGrid<TTestGrid>();
    SetWindowLongPtrW(grid->Handle(), GWL_STYLE, GetWindowLongPtrW(grid->Handle(), GWL_STYLE) | WS_VSCROLL);
    SCROLLINFO si{};
    si.cbSize = sizeof(si);
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    si.nMax = 100;
    si.nPage = 10;
    si.nPos = 5;
    SetScrollInfo(grid->Handle(), SB_VERT, &si, FALSE);
    auto adapter = MakeAdapter<TacGridWnd>(grid->Handle(), true, L"EDIT", Manager, Data.get());
    SendMessageW(grid->Handle(), WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 5), 0);
    EXPECT_EQ(GetScrollPos(grid->Handle(), SB_VERT), 6);
}

TEST_F(GridAdaptersTest, TheChooserGivesAGridWithGridOptionsTheEhAdapter)
{
    auto* grid = MakeGrid<TTestGrid>();
    auto* provider = Create<TsSkinProvider>(Form);
    {
        TacSkinLinks links = SkinLinks();
        links.GridEhWnd = MakeGridEhWnd;
        SetSkinLinks(links);
    }
    {
        TacCtrlAdapter chooser(provider);
        EXPECT_TRUE(chooser.IsAdaptable(grid));
        chooser.AddItem(grid, L"EDIT");
        ASSERT_EQ(chooser.Count(), 1);
        EXPECT_NE(dynamic_cast<TacGridEhWnd*>(chooser.GetItem(0)->WndAdapter.get()), nullptr);
    }
    {
        TacSkinLinks links = SkinLinks();
        links.GridEhWnd = nullptr;
        SetSkinLinks(links);
    }
    EXPECT_FALSE(TacCtrlAdapter(provider).IsAdaptable(MakeGrid<TPlainGrid>()));
}

// ---- The property helpers ----

struct ElementCase {
    const char* name;
    TTestGridOptions before;
    const wchar_t* element;
    bool include;
    TTestGridOptions after;
};

class SetElementTest : public GridAdaptersTest, public ::testing::WithParamInterface<ElementCase> {};

TEST_P(SetElementTest, ChangeSetPropElementAddsOrRemovesOneElementByName)
{
    auto* grid = MakeGrid<TTestGrid>();
    grid->SetOptions(GetParam().before);
    EXPECT_FALSE(ChangeSetPropElement(grid, L"OptionsEh", GetParam().element, GetParam().include));
    EXPECT_EQ(grid->Options(), GetParam().after);
    EXPECT_EQ(SetPropHasElement(grid, L"OptionsEh", GetParam().element), GetParam().after.Contains(goRowSelect) &&
                                                                               std::wstring(GetParam().element) ==
                                                                                   L"goRowSelect");
}

INSTANTIATE_TEST_SUITE_P(
    Elements, SetElementTest,
    ::testing::Values(ElementCase{"IncludeIntoEmpty", {}, L"goRowSelect", true, {goRowSelect}},
                      ElementCase{"IncludePresentChangesNothing", {goRowSelect}, L"goRowSelect", true, {goRowSelect}},
                      ElementCase{"ExcludeLast", {goFixedRows, goRowSelect}, L"goRowSelect", false, {goFixedRows}},
                      ElementCase{"ExcludeFirst", {goRowSelect, goEditing}, L"goRowSelect", false, {goEditing}},
                      ElementCase{"ExcludeAlone", {goRowSelect}, L"goRowSelect", false, {}},
                      ElementCase{"ExcludeAbsent", {goEditing}, L"goRowSelect", false, {goEditing}}),
    [](const ::testing::TestParamInfo<ElementCase>& info) { return info.param.name; });

TEST_F(GridAdaptersTest, MissingPropertiesAnswerNothingAndAreNotSet)
{
    auto* grid = MakeGrid<TTestGrid>();
    EXPECT_FALSE(HasProperty(grid, L"NoSuchColor"));
    EXPECT_EQ(GetOrdPropByName(grid, L"NoSuchColor"), -1);
    EXPECT_EQ(GetObjectPropByName(grid, L"NoSuchFont"), nullptr);
    EXPECT_FALSE(SetPropHasElement(grid, L"NoSuchOptions", L"goEditing"));
    SetOrdPropByName(grid, L"NoSuchColor", 5);
    EXPECT_FALSE(ChangeSetPropElement(grid, L"NoSuchOptions", L"goEditing", true));
    // Names of properties are found without case, as the form reader finds them.
    EXPECT_EQ(GetOrdPropByName(grid, L"fixedcolor"), kOwnFixedColor);
    EXPECT_THROW(ChangeSetPropElement(grid, L"OptionsEh", L"goFlying", true), EConvertError);
}

} // namespace
