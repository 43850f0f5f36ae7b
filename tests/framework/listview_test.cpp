// List view: items as the system list holds them, selection events on selection and deselection,
// views switched and windows made again without losing items or selection, colours, columns. Every
// behaviour holds alike whether the window holds the items or only their count (owner data).
#include "tests/framework/controls_support.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdint>
#include <utility>

using testsupport::CaptureWindow;
using testsupport::Pixels24;

namespace {

class ListViewTest : public ControlsTest, public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override
    {
        ControlsTest::SetUp();
        list = Make<TListView>();
        list->SetBounds(0, 0, 235, 300);
        list->SetReadOnly(true);
        list->SetOwnerData(GetParam());
        for (const wchar_t* caption : {L"Борщ", L"Пельмени", L"Щи"})
            list->Items()->Add()->SetCaption(caption);
        list->OnSelectItem = [this](TObject* sender, TListItem* item, bool selected) {
            EXPECT_EQ(sender, list);
            Log.push_back((item ? item->Caption() : L"(all)") + (selected ? L" +" : L" -"));
        };
        testsupport::PumpMessagesUntilIdle();
    }
    std::wstring NativeText(int index)
    {
        wchar_t buffer[128] = {};
        LVITEMW item{};
        item.pszText = buffer;
        item.cchTextMax = 128;
        SendMessageW(list->Handle(), LVM_GETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
        return buffer;
    }
    bool NativeSelected(int index)
    {
        return SendMessageW(list->Handle(), LVM_GETITEMSTATE, static_cast<WPARAM>(index), LVIS_SELECTED) != 0;
    }
    TListView* list = nullptr;
    std::vector<std::wstring> Log;
};

std::string ModeName(const ::testing::TestParamInfo<bool>& info)
{
    return info.param ? "OwnerData" : "SystemItems";
}

} // namespace

INSTANTIATE_TEST_SUITE_P(BothModes, ListViewTest, ::testing::Bool(), ModeName);

TEST_P(ListViewTest, ItemsAreSystemItemsAndFollowCaptionChangesAndDeletion)
{
    EXPECT_EQ(SendMessageW(list->Handle(), LVM_GETITEMCOUNT, 0, 0), 3);
    EXPECT_EQ(NativeText(1), L"Пельмени");
    list->Items()->Item(1)->SetCaption(L"Вареники");
    EXPECT_EQ(NativeText(1), L"Вареники");
    list->Items()->Delete(0);
    EXPECT_EQ(list->Items()->Count(), 2);
    EXPECT_EQ(NativeText(0), L"Вареники");
    EXPECT_EQ(list->Items()->Item(1)->Index(), 1);
    list->Items()->Clear();
    EXPECT_EQ(SendMessageW(list->Handle(), LVM_GETITEMCOUNT, 0, 0), 0);
    EXPECT_EQ(list->Selected(), nullptr);
    EXPECT_EQ(list->ItemIndex(), -1);
    EXPECT_THROW(list->Items()->Item(0), EListError);
}

TEST_P(ListViewTest, SelectItemRunsForSelectionAndForDeselection)
{
    TListItems* items = list->Items();
    list->SetSelected(items->Item(0));
    EXPECT_TRUE(NativeSelected(0));
    list->SetItemIndex(2);
    EXPECT_FALSE(NativeSelected(0));
    EXPECT_TRUE(NativeSelected(2));
    EXPECT_EQ(list->Selected(), items->Item(2));
    list->SetSelected(nullptr);
    EXPECT_EQ(list->ItemIndex(), -1);
    EXPECT_EQ(Log, (std::vector<std::wstring>{L"Борщ +", L"Борщ -", L"Щи +", L"Щи -"}));

    // A click on an item of the list view selects it through the system list.
    list->SetViewStyle(vsList);
    Log.clear();
    RECT r{};
    r.left = LVIR_BOUNDS;
    SendMessageW(list->Handle(), LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&r));
    // The item's text starts at its left edge; the rest of its column is not the item.
    Click(list->Handle(), r.left + 6, (r.top + r.bottom) / 2);
    EXPECT_EQ(list->ItemIndex(), 1);
    ASSERT_FALSE(Log.empty());
    EXPECT_EQ(Log.back(), L"Пельмени +");
}

TEST_P(ListViewTest, ClearingOrDestroyingASelectedListRunsNoSelectionEvent)
{
    list->SetItemIndex(1);
    Log.clear();
    list->Items()->Clear();
    list->Items()->Add()->SetCaption(L"Окрошка");
    list->SetItemIndex(0);
    EXPECT_EQ(Log, std::vector<std::wstring>{L"Окрошка +"});
    Log.clear();
    Free(list);
    list = nullptr;
    EXPECT_TRUE(Log.empty());
}

TEST_P(ListViewTest, SwitchingViewsAndNewWindowsKeepItemsAndSelection)
{
    list->SetItemIndex(1);
    Log.clear();
    for (TViewStyle style : {vsList, vsReport, vsSmallIcon, vsIcon, vsList}) {
        list->SetViewStyle(style);
        static const DWORD kViews[] = {LVS_ICON, LVS_SMALLICON, LVS_LIST, LVS_REPORT};
        EXPECT_EQ(GetWindowLongPtrW(list->Handle(), GWL_STYLE) & LVS_TYPEMASK, static_cast<LONG_PTR>(kViews[style]));
        EXPECT_EQ(SendMessageW(list->Handle(), LVM_GETITEMCOUNT, 0, 0), 3);
        EXPECT_EQ(list->ItemIndex(), 1);
    }
    // Read-only is a creation style: the window is made again with the same items and selection.
    HWND before = list->Handle();
    EXPECT_FALSE(GetWindowLongPtrW(before, GWL_STYLE) & LVS_EDITLABELS);
    list->SetReadOnly(false);
    EXPECT_NE(list->Handle(), before);
    EXPECT_TRUE(GetWindowLongPtrW(list->Handle(), GWL_STYLE) & LVS_EDITLABELS);
    EXPECT_EQ(GetWindowLongPtrW(list->Handle(), GWL_STYLE) & LVS_TYPEMASK, LVS_LIST);
    EXPECT_EQ(NativeText(2), L"Щи");
    EXPECT_TRUE(NativeSelected(1));
    EXPECT_EQ(list->Selected(), list->Items()->Item(1));
    EXPECT_TRUE(Log.empty());
}

TEST_P(ListViewTest, ColourAndFontColourReachTheSystemList)
{
    list->SetColor(clYellow);
    list->Font()->SetColor(clRed);
    EXPECT_EQ(static_cast<COLORREF>(SendMessageW(list->Handle(), LVM_GETBKCOLOR, 0, 0)), Rgb(clYellow));
    EXPECT_EQ(static_cast<COLORREF>(SendMessageW(list->Handle(), LVM_GETTEXTBKCOLOR, 0, 0)), Rgb(clYellow));
    EXPECT_EQ(static_cast<COLORREF>(SendMessageW(list->Handle(), LVM_GETTEXTCOLOR, 0, 0)), Rgb(clRed));
    Pixels24 shot = CaptureWindow(list->Handle());
    EXPECT_EQ(shot.At(shot.width - 5, shot.height - 5), Rgb(clYellow));
    // A new window gets them too.
    list->SetShowColumnHeaders(false);
    EXPECT_EQ(static_cast<COLORREF>(SendMessageW(list->Handle(), LVM_GETBKCOLOR, 0, 0)), Rgb(clYellow));
}

TEST_P(ListViewTest, ColumnsAndHeadersInReportView)
{
    TListColumn* name = list->Columns()->Add();
    name->SetCaption(L"Рецепт");
    name->SetWidth(120);
    list->Columns()->Add()->SetCaption(L"Раздел");
    list->SetViewStyle(vsReport);
    wchar_t text[64] = {};
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = text;
    column.cchTextMax = 64;
    ASSERT_TRUE(SendMessageW(list->Handle(), LVM_GETCOLUMNW, 0, reinterpret_cast<LPARAM>(&column)));
    EXPECT_STREQ(text, L"Рецепт");
    EXPECT_EQ(column.cx, 120);
    ASSERT_TRUE(SendMessageW(list->Handle(), LVM_GETCOLUMNW, 1, reinterpret_cast<LPARAM>(&column)));
    EXPECT_STREQ(text, L"Раздел");
    EXPECT_FALSE(SendMessageW(list->Handle(), LVM_GETCOLUMNW, 2, reinterpret_cast<LPARAM>(&column)));

    EXPECT_FALSE(GetWindowLongPtrW(list->Handle(), GWL_STYLE) & LVS_NOCOLUMNHEADER);
    list->SetShowColumnHeaders(false);
    EXPECT_TRUE(GetWindowLongPtrW(list->Handle(), GWL_STYLE) & LVS_NOCOLUMNHEADER);
    EXPECT_TRUE(SendMessageW(list->Handle(), LVM_GETCOLUMNW, 1, reinterpret_cast<LPARAM>(&column)));
}

TEST_P(ListViewTest, HotTrackingStylesAreTheSystemListsExtendedStyles)
{
    list->SetHotTrack(true);
    list->SetHotTrackStyles({htHandPoint, htUnderlineHot});
    auto ex = static_cast<DWORD>(SendMessageW(list->Handle(), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
    EXPECT_TRUE(ex & LVS_EX_TRACKSELECT);
    EXPECT_TRUE(ex & LVS_EX_ONECLICKACTIVATE);
    EXPECT_TRUE(ex & LVS_EX_UNDERLINEHOT);
    EXPECT_FALSE(ex & LVS_EX_UNDERLINECOLD);
}

TEST_P(ListViewTest, ImageListsAndImageIndexesReachTheSystemList)
{
    TImageList large(32, 32), small(16, 16);
    TBitmap picture;
    picture.SetSize(32, 32);
    large.Add(&picture, nullptr);
    list->SetLargeImages(&large);
    list->SetSmallImages(&small);
    list->Items()->Item(2)->SetImageIndex(0);
    HWND wnd = list->Handle();
    EXPECT_EQ(reinterpret_cast<HIMAGELIST>(SendMessageW(wnd, LVM_GETIMAGELIST, LVSIL_NORMAL, 0)), large.Handle());
    EXPECT_EQ(reinterpret_cast<HIMAGELIST>(SendMessageW(wnd, LVM_GETIMAGELIST, LVSIL_SMALL, 0)), small.Handle());
    LVITEMW item{};
    item.mask = LVIF_IMAGE;
    item.iItem = 2;
    SendMessageW(wnd, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(item.iImage, 0);
    // The lists belong to their owner: the list view's window going leaves them alive.
    list->SetReadOnly(false);
    EXPECT_TRUE(ImageList_GetImageCount(large.Handle()) == 1);
    list->SetLargeImages(nullptr);
    list->SetSmallImages(nullptr);
}

TEST_P(ListViewTest, ItemsAddedWhileUpdatingReachTheSystemListInOrderWithCaptionsAndImages)
{
    TListItems* items = list->Items();
    items->BeginUpdate();
    for (const wchar_t* caption : {L"Уха", L"Рагу"}) {
        TListItem* item = items->Add();
        item->SetCaption(caption);
        item->SetImageIndex(2);
        EXPECT_EQ(item->Index(), items->Count() - 1);
    }
    // Reading the selection inside the update sees every item, and selecting one runs the event.
    items->Item(4)->SetSelected(true);
    EXPECT_EQ(list->Selected(), items->Item(4));
    EXPECT_EQ(Log, std::vector<std::wstring>{L"Рагу +"});
    TListItem* late = items->Add();
    late->SetCaption(L"Плов");
    items->Insert(0)->SetCaption(L"Солянка");
    items->EndUpdate();

    ASSERT_EQ(SendMessageW(list->Handle(), LVM_GETITEMCOUNT, 0, 0), 7);
    const std::vector<std::wstring> expected{L"Солянка", L"Борщ", L"Пельмени", L"Щи", L"Уха", L"Рагу", L"Плов"};
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(NativeText(i), expected[static_cast<size_t>(i)]);
        EXPECT_EQ(items->Item(i)->Index(), i);
    }
    LVITEMW image{};
    image.mask = LVIF_IMAGE;
    image.iItem = 4;
    SendMessageW(list->Handle(), LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&image));
    EXPECT_EQ(image.iImage, 2);
    EXPECT_TRUE(NativeSelected(5));
    EXPECT_EQ(list->ItemIndex(), 5);

    // Clearing inside an update leaves nothing behind for its end.
    items->BeginUpdate();
    items->Add()->SetCaption(L"Каша");
    items->Clear();
    items->EndUpdate();
    EXPECT_EQ(SendMessageW(list->Handle(), LVM_GETITEMCOUNT, 0, 0), 0);
}

TEST_P(ListViewTest, TypedLettersSelectTheNextItemStartingWithThem)
{
    if (!GetParam())
        GTEST_SKIP() << "the system searches the items it holds itself";
    list->SetViewStyle(vsList);
    list->SetItemIndex(0);
    SetFocus(list->Handle());
    Log.clear();
    SendMessageW(list->Handle(), WM_CHAR, L'щ', 1);
    testsupport::PumpMessagesUntilIdle();
    EXPECT_EQ(list->ItemIndex(), 2);
    ASSERT_FALSE(Log.empty());
    EXPECT_EQ(Log.back(), L"Щи +");
}

TEST_P(ListViewTest, ARefillInTheListStyleFitsTheColumnsToTheWidestCaptionAsTheSystemDoes)
{
    // A second list of the other kind, both refilled as the main window refills its list (emptied,
    // large icons, the items, then the list style, in one update): both show columns of one width.
    auto* other = Make<TListView>();
    other->SetBounds(0, 300, 235, 300);
    other->SetOwnerData(!GetParam());
    TImageList small(16, 16);
    auto refill = [](TListView* view, std::initializer_list<const wchar_t*> captions) {
        view->Items()->BeginUpdate();
        view->Items()->Clear();
        view->SetViewStyle(vsIcon);
        for (const wchar_t* caption : captions)
            view->Items()->Add()->SetCaption(caption);
        view->SetViewStyle(vsList);
        view->Items()->EndUpdate();
    };
    auto width = [](TListView* view) { return SendMessageW(view->Handle(), LVM_GETCOLUMNWIDTH, 0, 0); };
    for (TListView* view : {list, other}) {
        view->SetSmallImages(&small);
        refill(view, {L"Пирог с капустой, яйцом и зелёным луком по-домашнему", L"Щи"});
    }
    EXPECT_GT(width(list), 200);
    EXPECT_EQ(width(list), width(other));
    for (TListView* view : {list, other})
        refill(view, {L"Уха", L"Щи"});
    EXPECT_EQ(width(list), width(other));
    for (TListView* view : {list, other})
        refill(view, {});
    EXPECT_EQ(width(list), width(other));
    for (TListView* view : {list, other})
        view->SetSmallImages(nullptr);
}

namespace {

// An image of the given size in 32-bit colour with an alpha channel that fades from its middle out, in
// a colour of its own: its edges blend with what the list draws it over.
HBITMAP AlphaImage(int size, int hue)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = size;
    info.bmiHeader.biHeight = size;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    auto* pixels = static_cast<std::uint32_t*>(bits);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const int dx = 2 * x - size + 1, dy = 2 * y - size + 1;
            const int alpha = std::max(0, 255 - (dx * dx + dy * dy) * 255 / (size * size));
            // Premultiplied, as icons with an alpha channel are stored.
            const int red = alpha * hue / 255, green = alpha * (255 - hue) / 255, blue = alpha / 2;
            pixels[y * size + x] = static_cast<std::uint32_t>((alpha << 24) | (red << 16) | (green << 8) | blue);
        }
    return bitmap;
}

class ListViewIconsTest : public ControlsTest {
protected:
    void SetUp() override
    {
        ControlsTest::SetUp();
        form->SetBounds(0, 0, 680, 320);
        for (auto [images, size] : {std::pair{&small, 16}, std::pair{&large, 32}}) {
            images->SetHandle(ImageList_Create(size, size, ILC_COLOR32 | ILC_MASK, 2, 2));
            for (int hue : {200, 40}) {
                HBITMAP image = AlphaImage(size, hue);
                ImageList_Add(images->Handle(), image, nullptr);
                DeleteObject(image);
            }
        }
        for (bool ownerData : {true, false}) {
            auto* list = Make<TListView>();
            list->SetBounds(ownerData ? 0 : 310, 0, 300, 240);
            list->SetReadOnly(true);
            list->SetOwnerData(ownerData);
            list->SetColor(static_cast<TColor>(RGB(230, 240, 200)));
            list->SetSmallImages(&small);
            list->SetLargeImages(&large);
            list->Items()->BeginUpdate();
            for (int i = 0; i < 40; ++i) {
                TListItem* item = list->Items()->Add();
                item->SetCaption(L"Рецепт " + std::to_wstring(i));
                // Items without an image and with one the list lacks are drawn as the system draws them.
                item->SetImageIndex(i % 7 == 6 ? -1 : i % 9 == 8 ? 5 : i % 3 == 2 ? 1 : 0);
            }
            list->Items()->EndUpdate();
            list->SetItemIndex(2);
            lists.push_back(list);
        }
        testsupport::PumpMessagesUntilIdle();
    }
    void TearDown() override
    {
        for (TListView* list : lists) {
            list->SetSmallImages(nullptr);
            list->SetLargeImages(nullptr);
        }
        ControlsTest::TearDown();
    }
    TImageList small{16, 16};
    TImageList large{32, 32};
    std::vector<TListView*> lists; // owner data first
};

} // namespace

// The owner-data list draws each image once per paint and copies it to the items showing it: its window
// shows the very pixels of a list whose window holds the items and draws every icon itself, selected
// with and without the focus, in every view that shows icons beside or above the captions.
TEST_F(ListViewIconsTest, AnOwnerDataListShowsItsIconsAsAListHoldingItsItems)
{
    for (TViewStyle view : {vsList, vsSmallIcon, vsIcon}) {
        for (TListView* list : lists) {
            list->SetViewStyle(view);
            list->Arrange();
        }
        for (bool focused : {false, true}) {
            // Another program's window may take the focus from the list on the shared screen: the pair is
            // shot again until both were shot as meant.
            std::vector<Pixels24> shots;
            for (int attempt = 0; attempt < 5 && shots.size() < lists.size(); ++attempt) {
                shots.clear();
                for (TListView* list : lists) {
                    SetFocus(focused ? list->Handle() : form->Handle());
                    RedrawWindow(list->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
                    testsupport::PumpMessagesUntilIdle();
                    shots.push_back(CaptureWindow(list->Handle()));
                    if ((GetFocus() == list->Handle()) != focused) {
                        shots.clear();
                        break;
                    }
                }
            }
            if (shots.size() < lists.size()) {
                ADD_FAILURE() << "the focus could not be kept for view " << view;
                continue;
            }
            EXPECT_EQ(shots[0].DifferingPixels(shots[1]), 0) << "view " << view << (focused ? ", focused" : "");
            // The icons are there: the selected item's differs from the background.
            RECT icon{};
            icon.left = LVIR_ICON;
            SendMessageW(lists[0]->Handle(), LVM_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&icon));
            EXPECT_NE(shots[0].At((icon.left + icon.right) / 2, (icon.top + icon.bottom) / 2), RGB(230, 240, 200));
        }
    }
}
