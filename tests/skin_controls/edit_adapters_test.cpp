// The edit family on real windows: an EDIT, a rich edit, a framework memo, a report list view with its
// header and a tree view take their frame, bars and colours from the skin and give them back.
#include "tests/skin_controls/adapters_support.h"

#include "framework/ComCtrls.h"
#include "framework/DCScopes.h"
#include "framework/ImgList.h"
#include "framework/StdCtrls.h"
#include "skin/core/sConst.h"
#include "skin/core/sMessages.h"
#include "skin/core/sItemPainter.h"
#include "skin/forms/acEditAdapters.h"
#include "tests/skin_core/test_skin.h"

#include <commctrl.h>

#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <string>

using namespace adaptertest;

namespace {

class EditAdaptersTest : public AdapterTest {
protected:
    HWND CreateControl(const wchar_t* cls, DWORD style, int width = 200, int height = 150)
    {
        HWND wnd = CreateWindowExW(WS_EX_CLIENTEDGE, cls, L"", WS_CHILD | WS_VISIBLE | style, 20, 20, width, height,
                                   Host, nullptr, GetModuleHandleW(nullptr), nullptr);
        EXPECT_NE(wnd, nullptr);
        return wnd;
    }
    static int Edge(HWND wnd)
    {
        RECT wr{};
        GetWindowRect(wnd, &wr);
        POINT origin{0, 0};
        ClientToScreen(wnd, &origin);
        return origin.x - wr.left;
    }
    // The pixel straight from the window DC, without a new paint.
    static COLORREF ScreenPixel(HWND wnd, int x, int y)
    {
        HDC dc = GetWindowDC(wnd);
        const COLORREF c = GetPixel(dc, x, y);
        ReleaseDC(wnd, dc);
        return c;
    }
    void FillLines(HWND edit, int count)
    {
        std::wstring text;
        for (int i = 0; i < count; ++i)
            text += L"строка " + std::to_wstring(i) + L"\r\n";
        SendMessageW(edit, EM_SETSEL, 0, -1);
        SendMessageW(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
    }
};

TEST_F(EditAdaptersTest, EditFrameIsPaintedFromTheSkinAndItsBarTakesTheSkinColours)
{
    HWND edit = CreateControl(L"EDIT", ES_MULTILINE | WS_VSCROLL);
    auto adapter = MakeAdapter<TacEditWnd>(edit, true, L"EDIT", Manager, nullptr);
    FillLines(edit, 40);
    const int edge = Edge(edit);
    ASSERT_GT(edge, 0);
    EXPECT_EQ(adapter->LeftEdge, edge);
    const testsupport::Pixels24 shot = testsupport::CaptureWindow(edit, true);
    EXPECT_EQ(shot.At(0, 0), kEditColor);
    EXPECT_EQ(shot.At(edge - 1, 75), kEditColor);
    EXPECT_EQ(shot.At(199, 149), kEditColor);
    const int thick = GetSystemMetrics(SM_CXVSCROLL);
    EXPECT_EQ(shot.At(200 - edge - thick / 2, edge + HScrollArrowWidth / 2), kArrowColor);
}

TEST_F(EditAdaptersTest, TextAddedToTheEditRepaintsTheSkinnedBarAtOnce)
{
    HWND edit = CreateControl(L"EDIT", ES_MULTILINE | WS_VSCROLL | ES_AUTOVSCROLL);
    auto adapter = MakeAdapter<TacEditWnd>(edit, true, L"EDIT", Manager, nullptr);
    testsupport::CaptureWindow(edit, true);
    FillLines(edit, 60); // the caret ends at the bottom: the thumb is at the end of the track
    const int edge = Edge(edit);
    const int thick = GetSystemMetrics(SM_CXVSCROLL);
    const int x = 200 - edge - thick / 2;
    EXPECT_EQ(ScreenPixel(edit, x, 150 - edge - HScrollArrowWidth - 3), kThumbColor);
    EXPECT_EQ(ScreenPixel(edit, x, edge + HScrollArrowWidth + 3), kTrack1Color);
}

TEST_F(EditAdaptersTest, RichEditGetsTheSkinnedFrameAndBar)
{
    ASSERT_NE(LoadLibraryW(L"riched20.dll"), nullptr);
    HWND rich = CreateControl(L"RichEdit20W", ES_MULTILINE | WS_VSCROLL);
    auto adapter = MakeAdapter<TacEditWnd>(rich, true, L"EDIT", Manager, nullptr);
    FillLines(rich, 40);
    const int edge = Edge(rich);
    const testsupport::Pixels24 shot = testsupport::CaptureWindow(rich, true);
    EXPECT_EQ(shot.At(0, 75), kEditColor);
    const int thick = GetSystemMetrics(SM_CXVSCROLL);
    EXPECT_EQ(shot.At(200 - edge - thick / 2, 150 - edge - HScrollArrowWidth / 2), kArrowColor);
}

TEST_F(EditAdaptersTest, FrameworkMemoTakesTheSectionColoursAndGetsItsOwnBack)
{
    auto* form = Create<TForm>(Application);
    form->SetBounds(60, 60, 300, 220);
    auto* memo = Create<TMemo>(form);
    memo->SetParent(form);
    memo->SetBounds(10, 10, 200, 120);
    memo->SetColor(clWindow);
    memo->Font()->SetColor(clWindowText);
    form->Show();
    TsCommonData data(nullptr, true);
    data.FOwnerControl = memo;
    data.FOwnerObj = memo;
    {
        auto adapter = MakeAdapter<TacEditWnd>(memo->Handle(), true, L"EDIT", Manager, &data);
        testsupport::CaptureWindow(memo->Handle(), true);
        EXPECT_EQ(memo->Color(), static_cast<TColor>(kEditColor));
        EXPECT_EQ(memo->Font()->Color(), static_cast<TColor>(kEditHotFontColor));
        EXPECT_EQ(SendSkinCmd(memo->Handle(), SkinCmdGetSkinIndex, 0), data.SkinIndex + 1);
    }
    EXPECT_EQ(memo->Color(), clWindow);
    EXPECT_EQ(memo->Font()->Color(), clWindowText);
    Free(form);
}

class ListViewAdapterTest : public EditAdaptersTest {
protected:
    void MakeList(DWORD view = LVS_REPORT)
    {
        List = CreateControl(WC_LISTVIEWW, view | LVS_SHOWSELALWAYS, 240, 160);
        for (int i = 0; i < 2; ++i) {
            LVCOLUMNW col{};
            col.mask = LVCF_TEXT | LVCF_WIDTH;
            col.cx = 80;
            std::wstring name = i == 0 ? L"Рецепт" : L"Оценка";
            col.pszText = name.data();
            SendMessageW(List, LVM_INSERTCOLUMNW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&col));
        }
        for (int i = 0; i < 60; ++i) {
            std::wstring text = L"Рецепт " + std::to_wstring(i);
            LVITEMW item{};
            item.mask = LVIF_TEXT;
            item.iItem = i;
            item.pszText = text.data();
            SendMessageW(List, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
        }
        Header = reinterpret_cast<HWND>(SendMessageW(List, LVM_GETHEADER, 0, 0));
        HeaderProcBefore = Header ? reinterpret_cast<WNDPROC>(GetWindowLongPtrW(Header, GWLP_WNDPROC)) : nullptr;
        BkBefore = static_cast<COLORREF>(SendMessageW(List, LVM_GETBKCOLOR, 0, 0));
        Adapter = MakeAdapter<TacListViewWnd>(List, true, L"EDIT", Manager, nullptr);
    }

    HWND List = nullptr;
    HWND Header = nullptr;
    WNDPROC HeaderProcBefore = nullptr;
    COLORREF BkBefore = 0;
    TacAdapterPtr<TacListViewWnd> Adapter;
};

TEST_F(ListViewAdapterTest, ReportViewHeaderIsHookedAndPaintedFromTheSkin)
{
    MakeList();
    ASSERT_NE(Header, nullptr);
    EXPECT_EQ(Adapter->HeaderWnd, Header);
    EXPECT_NE(reinterpret_cast<WNDPROC>(GetWindowLongPtrW(Header, GWLP_WNDPROC)), HeaderProcBefore);
    const testsupport::Pixels24 shot = testsupport::CaptureWindow(Header, false);
    ASSERT_GT(shot.height, 4);
    // Inside the first column away from its text, and in the empty strip after the last column.
    EXPECT_EQ(shot.At(78, 1), kHeaderColor);
    EXPECT_EQ(shot.At(shot.width - 3, shot.height / 2), kHeaderColor);
}

TEST_F(ListViewAdapterTest, ListTakesTheSectionColoursAndDetachGivesBackColoursAndHeader)
{
    MakeList();
    testsupport::CaptureWindow(List, true);
    EXPECT_EQ(static_cast<COLORREF>(SendMessageW(List, LVM_GETBKCOLOR, 0, 0)), kEditColor);
    EXPECT_EQ(static_cast<COLORREF>(SendMessageW(List, LVM_GETTEXTCOLOR, 0, 0)), kEditFontColor);
    Adapter.reset();
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrW(Header, GWLP_WNDPROC)), HeaderProcBefore);
    EXPECT_EQ(static_cast<COLORREF>(SendMessageW(List, LVM_GETBKCOLOR, 0, 0)), BkBefore);
    EXPECT_EQ(AdapterOfWindow(List), nullptr);
}

TEST_F(ListViewAdapterTest, ThumbDragInReportViewScrollsByWholeItems)
{
    MakeList();
    testsupport::CaptureWindow(List, true);
    RECT screen{};
    GetWindowRect(List, &screen);
    const int edge = Edge(List);
    const int thick = GetSystemMetrics(SM_CXVSCROLL);
    TRect bar;
    GetVScrollRect(Adapter.get(), List, bar);
    int size = 0, pos = 0;
    ThumbMetrics(Adapter->VertBar.get(), bar, size, pos);
    const int x = screen.right - edge - thick / 2;
    SendMessageW(List, WM_NCLBUTTONDOWN, HTVSCROLL, MAKELPARAM(x, pos + size / 2));
    POINT to{x, pos + size / 2 + 30};
    ScreenToClient(List, &to);
    SendMessageW(List, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(to.x, to.y));
    const int sent = LastScrollPosSent();
    SendMessageW(List, WM_LBUTTONUP, 0, MAKELPARAM(to.x, to.y));
    EXPECT_GT(sent, 0);
    EXPECT_EQ(SendMessageW(List, LVM_GETTOPINDEX, 0, 0), sent);
}

TEST_F(ListViewAdapterTest, ListDestroyedUnderItsAdapterLeavesNothingBehind)
{
    MakeList();
    DestroyWindow(List);
    EXPECT_TRUE(Adapter->Detached);
    EXPECT_EQ(Adapter->HeaderWnd, nullptr);
    Adapter.reset();
}

// A printed list view's header stays inside the client part: columns wider than the list do not run
// over the vertical bar and the frame.
TEST_F(ListViewAdapterTest, PrintedHeaderStopsAtTheVerticalBar)
{
    MakeList();
    for (int i = 0; i < 2; ++i)
        SendMessageW(List, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(i), MAKELPARAM(200, 0));
    testsupport::CaptureWindow(List, true);
    ASSERT_TRUE(Adapter->VertBar && Adapter->VertBar->Shown);
    RECT r{};
    GetWindowRect(List, &r);
    const int width = r.right - r.left, height = r.bottom - r.top;
    const testsupport::Pixels24 shot = testsupport::DrawnPixels(width, height, nullptr, [&](HDC dc) {
        SendMessageW(List, WM_PRINT, reinterpret_cast<WPARAM>(dc), PRF_NONCLIENT | PRF_CLIENT);
    });
    const int edge = Edge(List);
    const int y = edge + 2;
    EXPECT_EQ(shot.At(edge + 150, y), kHeaderColor);
    const int barLeft = width - edge - GetSystemMetrics(SM_CXVSCROLL);
    for (int x = barLeft; x < width; ++x)
        EXPECT_NE(shot.At(x, y), kHeaderColor) << "x " << x;
}

// A header whose font is not the canvas's: its captions are drawn in the header's font, as wide as that
// font measures them (the sort arrow and the right alignment are placed by that width).
TEST_F(ListViewAdapterTest, HeaderCaptionsAreDrawnInTheHeadersOwnFont)
{
    MakeList();
    const GdiObject<HFONT> font = LargeFont(20);
    SendMessageW(List, WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), TRUE);
    ASSERT_EQ(reinterpret_cast<HFONT>(SendMessageW(Header, WM_GETFONT, 0, 0)), font.Get());
    SendMessageW(List, LVM_SETCOLUMNWIDTH, 0, MAKELPARAM(200, 0));
    const testsupport::Pixels24 shot = testsupport::CaptureWindow(Header, false);
    const auto [first, last] = InkColumns(shot, TRect{2, 2, 196, shot.height - 2}, kHeaderColor);
    ASSERT_GE(first, 0);
    EXPECT_NEAR(last - first + 1, InkWidth(font.Get(), L"Рецепт"), 1);
}

// What the edit prints of its client asks the window for its owned windows, not for its children.
LPARAM gPrintClientFlags = -1;
int gPrints = 0, gPaints = 0;
WNDPROC gEditProc = nullptr;
LRESULT CALLBACK RecordingEditProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_PRINTCLIENT)
        gPrintClientFlags = lParam;
    gPrints += msg == WM_PRINT ? 1 : 0;
    gPaints += msg == WM_PAINT ? 1 : 0;
    return CallWindowProcW(gEditProc, wnd, msg, wParam, lParam);
}

TEST_F(EditAdaptersTest, PrintedClientIsAskedForWithTheClientAndOwnedFlags)
{
    HWND edit = CreateControl(L"EDIT", ES_MULTILINE);
    gEditProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RecordingEditProc)));
    gPrintClientFlags = -1;
    {
        auto adapter = MakeAdapter<TacEditWnd>(edit, true, L"EDIT", Manager, nullptr);
        testsupport::DrawnPixels(200, 150, nullptr, [&](HDC dc) {
            SendMessageW(edit, WM_PRINT, reinterpret_cast<WPARAM>(dc), PRF_NONCLIENT | PRF_CLIENT);
        });
    }
    EXPECT_EQ(gPrintClientFlags, PRF_CLIENT | PRF_OWNED);
    DestroyWindow(edit);
}

// The print goes on to the edit's own procedure as a print, and the edit paints its client once: inside
// the frame, not a second time over it.
TEST_F(EditAdaptersTest, PrintReachesTheEditsOwnProcedureWhichPaintsOnce)
{
    HWND edit = CreateControl(L"EDIT", ES_MULTILINE);
    gEditProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RecordingEditProc)));
    auto adapter = MakeAdapter<TacEditWnd>(edit, true, L"EDIT", Manager, nullptr);
    testsupport::CaptureWindow(edit, true);
    gPrints = gPaints = 0;
    testsupport::DrawnPixels(200, 150, nullptr, [&](HDC dc) {
        SendMessageW(edit, WM_PRINT, reinterpret_cast<WPARAM>(dc), PRF_NONCLIENT | PRF_CLIENT);
    });
    EXPECT_EQ(gPrints, 1);
    EXPECT_EQ(gPaints, 1);
    adapter.reset();
    DestroyWindow(edit);
}

TEST_F(EditAdaptersTest, TreeViewTakesTheSectionsHotColourAsBackground)
{
    HWND tree = CreateControl(WC_TREEVIEWW, TVS_HASLINES);
    auto adapter = MakeAdapter<TacTreeViewWnd>(tree, true, L"EDIT", Manager, nullptr);
    testsupport::CaptureWindow(tree, true);
    EXPECT_EQ(static_cast<COLORREF>(SendMessageW(tree, TVM_GETBKCOLOR, 0, 0)), kEditHotColor);
}

TEST_F(EditAdaptersTest, ZeroHandleMakesOnlyTheObject)
{
    auto adapter = MakeAdapter<TacEditWnd>(nullptr, true, L"EDIT", Manager, nullptr);
    EXPECT_EQ(adapter->AdaptedWnd, nullptr);
    EXPECT_EQ(adapter->HorzBar, nullptr);
}

} // namespace

namespace {

constexpr COLORREF kSortArrowColor = RGB(0x11, 0x22, 0xEE);
constexpr COLORREF kColumnImageColor = RGB(0x00, 0x80, 0xFF);
constexpr int kArrowFrameWidth = 7, kArrowHeight = 4;

// The bars skin whose scroll buttons carry an arrow glyph: three frames of one colour over a black mask.
class SortedHeaderTest : public EditAdaptersTest {
protected:
    void SetUp() override
    {
        EditAdaptersTest::SetUp();
        std::string options = BarsSkinOptions();
        for (const char* section : {"[SCROLLBTNTOP]\r\n", "[SCROLLBTNBOTTOM]\r\n"}) {
            const std::size_t at = options.find(section);
            ASSERT_NE(at, std::string::npos);
            options.insert(at + strlen(section), "GLYPHMASK=!ARROW.BMP!3!1!2\r\n");
        }
        testsupport::WriteFileBytes(Folder() + L"\\Sorted\\Options.dat", options);
        testsupport::WriteFileBytes(Folder() + L"\\Sorted\\ARROW.BMP",
                                    testskin::BitmapFile(3 * kArrowFrameWidth, 2 * kArrowHeight, [](int, int y) {
                                        return y < kArrowHeight ? kSortArrowColor : RGB(0, 0, 0);
                                    }));
        Manager->SetSkinName(L"Sorted");
        ASSERT_TRUE(Manager->SkinData()->Active);
    }
};

} // namespace

// The sorted column shows the scroll button's arrow after its text, and a column with an image shows
// the image at its left with the text moved past it; the unsorted column has no arrow.
TEST_F(SortedHeaderTest, SortArrowAndColumnImageTakeTheirPlacesAndTheTextMoves)
{
    auto* form = Create<TForm>(Application);
    form->SetBounds(40, 40, 360, 220);
    auto images = std::make_unique<TImageList>(16, 16);
    TBitmap picture;
    picture.SetPixelFormat(pf24bit);
    picture.SetSize(16, 16);
    FillDC(picture.Canvas()->Handle(), TRect{0, 0, 16, 16}, static_cast<TColor>(kColumnImageColor));
    images->Add(&picture, nullptr);
    auto* list = Create<TListView>(form);
    list->SetParent(form);
    list->SetBounds(10, 10, 320, 160);
    list->SetViewStyle(vsReport);
    list->SetSmallImages(images.get());
    for (const wchar_t* caption : {L"Рецепт", L"Оценка"}) {
        TListColumn* column = list->Columns()->Add();
        column->SetCaption(caption);
        column->SetWidth(140);
    }
    list->Columns()->Items(0)->SetImageIndex(0);
    form->Show();
    HWND header = reinterpret_cast<HWND>(SendMessageW(list->Handle(), LVM_GETHEADER, 0, 0));
    ASSERT_NE(header, nullptr);
    HDITEMW item{};
    item.mask = HDI_FORMAT;
    SendMessageW(header, HDM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    item.fmt |= HDF_SORTDOWN;
    SendMessageW(header, HDM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    // The control's own skin data, as the adapter chooser gives it: the column images are the control's.
    TsCommonData data(nullptr, true);
    data.FOwnerControl = list;
    data.FOwnerObj = list;
    auto adapter = MakeAdapter<TacListViewWnd>(list->Handle(), true, L"EDIT", Manager, &data);
    ASSERT_EQ(adapter->HeaderWnd, header);

    const testsupport::Pixels24 shot = testsupport::CaptureWindow(header, false);
    const int mid = shot.height / 2;
    EXPECT_EQ(shot.At(4 + 8, mid), kColumnImageColor);
    // The text starts past the image (at 4 + its width), and ends where the header's font measures it.
    int firstText = -1;
    for (int x = 4 + 16; x < 140 && firstText < 0; ++x)
        for (int y = 2; y < shot.height - 2 && firstText < 0; ++y)
            if (shot.At(x, y) != kHeaderColor && shot.At(x, y) != kSortArrowColor)
                firstText = x;
    ASSERT_GE(firstText, 4 + 16);
    EXPECT_LE(firstText, 4 + 16 + 3);
    HDC dc = GetDC(header);
    SIZE extent{};
    {
        TSelectedObject font(dc, reinterpret_cast<HFONT>(SendMessageW(header, WM_GETFONT, 0, 0)));
        GetTextExtentPoint32W(dc, L"Рецепт", 6, &extent);
    }
    ReleaseDC(header, dc);
    const int arrowLeft = 4 + 16 + extent.cx + 5 + 6;
    const int arrowTop = (shot.height - kArrowHeight) / 2;
    EXPECT_EQ(shot.At(arrowLeft + kArrowFrameWidth / 2, arrowTop + 1), kSortArrowColor);
    EXPECT_NE(shot.At(arrowLeft - 2, arrowTop + 1), kSortArrowColor);
    int arrowPixels = 0;
    for (int x = 140; x < shot.width; ++x)
        for (int y = 0; y < shot.height; ++y)
            arrowPixels += shot.At(x, y) == kSortArrowColor ? 1 : 0;
    EXPECT_EQ(arrowPixels, 0);
    adapter.reset();
    Free(form);
}
