// Tab strip, up-down arrows, track bar and progress bar: their state as the system controls hold it
// and the events of clicks and keys.
#include "tests/framework/controls_support.h"

#include <commctrl.h>

namespace {

class TabControlTest : public ControlsTest {
protected:
    void SetUp() override
    {
        ControlsTest::SetUp();
        tabs = Make<TTabControl>();
        tabs->SetBounds(0, 0, 400, 120);
        for (const wchar_t* name : {L"Супы", L"Выпечка", L"Избранное"})
            tabs->Tabs()->Add(name);
        tabs->SetTabIndex(0);
        testsupport::PumpMessagesUntilIdle();
    }
    std::wstring NativeTab(int index)
    {
        wchar_t buffer[64] = {};
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = buffer;
        item.cchTextMax = 64;
        SendMessageW(tabs->Handle(), TCM_GETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
        return buffer;
    }
    TPoint TabCentre(int index)
    {
        RECT r{};
        SendMessageW(tabs->Handle(), TCM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
        return Point((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }
    TTabControl* tabs = nullptr;
};

} // namespace

TEST_F(TabControlTest, TabsAndIndexAreTheSystemsAndSurviveANewWindow)
{
    EXPECT_EQ(SendMessageW(tabs->Handle(), TCM_GETITEMCOUNT, 0, 0), 3);
    EXPECT_EQ(NativeTab(1), L"Выпечка");
    tabs->SetTabIndex(2);
    EXPECT_EQ(SendMessageW(tabs->Handle(), TCM_GETCURSEL, 0, 0), 2);
    tabs->Tabs()->Put(0, L"Салаты");
    EXPECT_EQ(NativeTab(0), L"Салаты");

    HWND before = tabs->Handle();
    tabs->SetTabPosition(tpBottom);
    EXPECT_NE(tabs->Handle(), before);
    EXPECT_TRUE(GetWindowLongPtrW(tabs->Handle(), GWL_STYLE) & TCS_BOTTOM);
    EXPECT_EQ(NativeTab(0), L"Салаты");
    EXPECT_EQ(NativeTab(2), L"Избранное");
    EXPECT_EQ(tabs->TabIndex(), 2);

    // Side tabs come in rows only.
    tabs->SetTabPosition(tpLeft);
    EXPECT_TRUE(tabs->MultiLine());
    EXPECT_THROW(tabs->SetMultiLine(false), EListError);
    tabs->Tabs()->Delete(1);
    EXPECT_EQ(SendMessageW(tabs->Handle(), TCM_GETITEMCOUNT, 0, 0), 2);
    EXPECT_EQ(NativeTab(1), L"Избранное");
    tabs->Tabs()->Clear();
    EXPECT_EQ(SendMessageW(tabs->Handle(), TCM_GETITEMCOUNT, 0, 0), 0);
    EXPECT_EQ(tabs->TabIndex(), -1);
}

TEST_F(TabControlTest, ClickAsksOnChangingFirstAndOnChangeSeesTheNewIndex)
{
    std::vector<std::wstring> log;
    bool allow = false;
    tabs->OnChanging = [&](TObject*, bool& allowChange) {
        log.push_back(L"changing " + std::to_wstring(tabs->TabIndex()));
        allowChange = allow;
    };
    tabs->OnChange = [&](TObject*) { log.push_back(L"change " + std::to_wstring(tabs->TabIndex())); };
    TPoint p = TabCentre(2);
    Click(tabs->Handle(), p.X, p.Y);
    EXPECT_EQ(tabs->TabIndex(), 0);
    allow = true;
    Click(tabs->Handle(), p.X, p.Y);
    EXPECT_EQ(tabs->TabIndex(), 2);
    EXPECT_EQ(log, (std::vector<std::wstring>{L"changing 0", L"changing 0", L"change 2"}));

    EXPECT_EQ(tabs->IndexOfTabAt(TabCentre(1).X, TabCentre(1).Y), 1);
    EXPECT_EQ(tabs->IndexOfTabAt(200, 100), -1); // the page area
    EXPECT_EQ(tabs->IndexOfTabAt(-5, 5), -1);
    TRect page = tabs->DisplayRect();
    EXPECT_GT(page.Top, TabCentre(0).Y);
}

TEST_F(ControlsTest, UpDownAsksBeforeMovingAndReportsTheArrow)
{
    auto* updown = Make<TUpDown>();
    updown->SetBounds(10, 10, 20, 40);
    updown->SetMin(0);
    updown->SetMax(5);
    updown->SetPosition(2);
    std::vector<std::wstring> log;
    bool allow = true;
    updown->OnChangingEx = [&](TObject*, bool& allowChange, short value, TUpDownDirection direction) {
        log.push_back(L"to " + std::to_wstring(value) + (direction == updUp ? L" up" : L" down"));
        allowChange = allowChange && allow;
    };
    updown->OnClick = [&](TObject*, TUDBtnType button) { log.push_back(button == btNext ? L"next" : L"prev"); };
    HWND wnd = updown->Handle();
    Click(wnd, 10, 5);
    EXPECT_EQ(updown->Position(), 3);
    Click(wnd, 10, 35);
    EXPECT_EQ(updown->Position(), 2);
    allow = false;
    Click(wnd, 10, 5);
    EXPECT_EQ(updown->Position(), 2);
    ASSERT_GE(log.size(), 5u);
    EXPECT_EQ(log[0], L"to 3 up");
    EXPECT_EQ(log[1], L"next");
    EXPECT_EQ(log[2], L"to 2 down");
    EXPECT_EQ(log[3], L"prev");
    EXPECT_EQ(log[4], L"to 3 up");
    EXPECT_EQ(log.size(), 5u);

    // The range survives a new window; positions outside it are held at its ends.
    updown->SetWrap(true);
    EXPECT_TRUE(GetWindowLongPtrW(updown->Handle(), GWL_STYLE) & UDS_WRAP);
    EXPECT_EQ(updown->Position(), 2);
    updown->SetPosition(9);
    EXPECT_EQ(updown->Position(), 5);
    int low = -1, high = -1;
    SendMessageW(updown->Handle(), UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low), reinterpret_cast<LPARAM>(&high));
    EXPECT_EQ(low, 0);
    EXPECT_EQ(high, 5);
}

TEST_F(ControlsTest, TrackBarReportsMovesByKeysAndHoldsPositionsInItsRange)
{
    auto* track = Make<TTrackBar>();
    track->SetMin(1);
    track->SetMax(5);
    track->SetPosition(1);
    track->SetTickMarks(tmTopLeft);
    std::vector<int> changes;
    track->OnChange = [&](TObject*) { changes.push_back(track->Position()); };
    HWND wnd = track->Handle();
    EXPECT_TRUE(GetWindowLongPtrW(wnd, GWL_STYLE) & TBS_TOP);
    EXPECT_EQ(SendMessageW(wnd, TBM_GETRANGEMIN, 0, 0), 1);
    EXPECT_EQ(SendMessageW(wnd, TBM_GETRANGEMAX, 0, 0), 5);
    SendMessageW(wnd, WM_KEYDOWN, VK_RIGHT, 0);
    SendMessageW(wnd, WM_KEYUP, VK_RIGHT, 0);
    EXPECT_EQ(track->Position(), 2);
    SendMessageW(wnd, WM_KEYDOWN, VK_END, 0);
    SendMessageW(wnd, WM_KEYUP, VK_END, 0);
    EXPECT_EQ(track->Position(), 5);
    EXPECT_EQ(changes, (std::vector<int>{2, 5}));
    track->SetPosition(9);
    EXPECT_EQ(track->Position(), 5);
    track->SetPosition(3);
    EXPECT_EQ(SendMessageW(wnd, TBM_GETPOS, 0, 0), 3);
    EXPECT_EQ(changes.back(), 3);
}

TEST_F(ControlsTest, ProgressBarKeepsItsRangeAndPosition)
{
    auto* progress = Make<TProgressBar>();
    EXPECT_EQ(progress->Max(), 100);
    progress->SetPosition(40);
    HWND wnd = progress->Handle();
    EXPECT_EQ(SendMessageW(wnd, PBM_GETPOS, 0, 0), 40);
    EXPECT_EQ(SendMessageW(wnd, PBM_GETRANGE, FALSE, 0), 100);
    progress->SetMax(30);
    EXPECT_EQ(progress->Position(), 30);
    EXPECT_EQ(SendMessageW(wnd, PBM_GETRANGE, FALSE, 0), 30);
    progress->SetPosition(-4);
    EXPECT_EQ(SendMessageW(wnd, PBM_GETPOS, 0, 0), 0);
}

namespace {

// A plain system edit, to hold the number of an up-down control.
class TBuddyEdit : public TWinControl {
    DECLARE_CLASS_NAME(TBuddyEdit)
public:
    explicit TBuddyEdit(TComponent* owner) : TWinControl(owner) { SetBounds(10, 10, 60, 22); }

protected:
    void CreateParams(TCreateParams& params) override
    {
        TWinControl::CreateParams(params);
        CreateSubClass(params, L"EDIT");
        params.Style |= WS_BORDER;
    }
};

} // namespace

TEST_F(ControlsTest, UpDownWritesItsPositionIntoTheAssociatedEditAndForgetsAnEditThatGoes)
{
    auto* edit = Make<TBuddyEdit>();
    auto* updown = Make<TUpDown>();
    updown->SetMax(2000);
    updown->SetPosition(1500);
    updown->SetAssociate(edit);
    EXPECT_EQ(reinterpret_cast<HWND>(SendMessageW(updown->Handle(), UDM_GETBUDDY, 0, 0)), edit->Handle());
    EXPECT_EQ(WindowText(edit->Handle()), L"1,500");
    updown->SetThousands(false);
    updown->SetPosition(1501);
    EXPECT_EQ(WindowText(edit->Handle()), L"1501");
    // The control sits beside the edit it serves.
    EXPECT_EQ(updown->Top(), edit->Top());

    Free(edit);
    EXPECT_EQ(updown->Associate(), nullptr);
    updown->SetPosition(7);
    EXPECT_EQ(updown->Position(), 7);
}

TEST_F(TabControlTest, ImagesReachTheSystemTabsAndALostListIsForgotten)
{
    auto images = std::make_unique<TImageList>(16, 16);
    TBitmap picture;
    picture.SetSize(16, 16);
    images->Add(&picture, nullptr);
    tabs->SetImages(images.get());
    EXPECT_EQ(reinterpret_cast<HIMAGELIST>(SendMessageW(tabs->Handle(), TCM_GETIMAGELIST, 0, 0)), images->Handle());
    TCITEMW item{};
    item.mask = TCIF_IMAGE;
    SendMessageW(tabs->Handle(), TCM_GETITEMW, 1, reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(item.iImage, 1);
    images.reset();
    EXPECT_EQ(tabs->Images(), nullptr);
}
