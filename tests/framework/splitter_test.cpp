// Splitter: a drag through the parent's window resizes the neighbour live (rsUpdate) or on release
// (line styles), within MinSize and the room the rest of the parent keeps, with AutoSnap collapsing.
#include "tests/framework/controls_support.h"

namespace {

class SplitterTest : public ControlsTest {
protected:
    void SetUp() override
    {
        ControlsTest::SetUp();
        list = Make<TColorPanel>();
        list->SetWidth(100);
        list->SetAlign(alLeft);
        list->SetColor(clGreen);
        splitter = Make<TSplitter>();
        splitter->SetWidth(5);
        splitter->SetAlign(alLeft);
        splitter->SetMinSize(30);
        splitter->SetResizeStyle(rsUpdate);
        splitter->OnMoved = [this](TObject*) { ++moved; };
        view = Make<TColorPanel>();
        view->SetAlign(alClient);
        view->SetColor(clWhite);
        testsupport::PumpMessagesUntilIdle();
    }
    // Mouse messages go to the form's window, which hands them to the windowless splitter.
    void Down(int x) { SendMessageW(form->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, 50)); }
    void Move(int x) { SendMessageW(form->Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, 50)); }
    void Up(int x) { SendMessageW(form->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(x, 50)); }
    TColorPanel* list = nullptr;
    TSplitter* splitter = nullptr;
    TColorPanel* view = nullptr;
    int moved = 0;
};

} // namespace

TEST_F(SplitterTest, UpdateStyleResizesTheNeighbourWhileDragging)
{
    ASSERT_EQ(splitter->Left(), 100);
    Down(102);
    EXPECT_EQ(splitter->ResizeControl(), list);
    Move(142);
    EXPECT_EQ(list->Width(), 140);
    EXPECT_EQ(splitter->Left(), 140);
    EXPECT_EQ(view->Left(), 145);
    EXPECT_EQ(view->Width(), 400 - 145);
    // The splitter moved under the pointer: later moves still count from the drag's start.
    Move(122);
    EXPECT_EQ(list->Width(), 120);
    EXPECT_EQ(moved, 0);
    Up(122);
    EXPECT_EQ(moved, 1);
    EXPECT_EQ(splitter->ResizeControl(), nullptr);
    // After the release the mouse moves nothing.
    Move(200);
    EXPECT_EQ(list->Width(), 120);
}

TEST_F(SplitterTest, MinSizeAutoSnapAndTheRoomOfTheRest)
{
    Down(102);
    Move(40); // 38 wide: still above MinSize
    EXPECT_EQ(list->Width(), 38);
    Move(20); // below MinSize: AutoSnap collapses the neighbour
    EXPECT_EQ(list->Width(), 0);
    Up(20);
    // The collapsed neighbour still touches the splitter: the next drag opens it again.
    ASSERT_EQ(splitter->Left(), 0);
    Down(2);
    EXPECT_EQ(splitter->ResizeControl(), list);
    Move(62);
    EXPECT_EQ(list->Width(), 60);
    Move(390); // the client control keeps MinSize
    EXPECT_EQ(list->Width(), 400 - 5 - 30);
    Up(390);

    splitter->SetAutoSnap(false);
    int start = splitter->Left() + 2;
    Down(start);
    Move(10);
    EXPECT_EQ(list->Width(), 30);
    Up(10);
    EXPECT_EQ(moved, 3);
}

TEST_F(SplitterTest, LineStyleResizesOnlyOnRelease)
{
    splitter->SetResizeStyle(rsPattern);
    Down(102);
    Move(162);
    EXPECT_EQ(list->Width(), 100);
    EXPECT_EQ(splitter->Left(), 100);
    Up(162);
    EXPECT_EQ(list->Width(), 160);
    EXPECT_EQ(splitter->Left(), 160);
    EXPECT_EQ(moved, 1);
    // The inverted line is gone: the splitter's old place shows the neighbour again.
    testsupport::Pixels24 shot = testsupport::CaptureWindow(form->Handle());
    EXPECT_EQ(shot.At(102, 50), Rgb(clGreen));
    EXPECT_EQ(shot.At(170, 50), Rgb(clWhite));
}

TEST_F(SplitterTest, TopSplitterResizesTheControlAboveAndARefusalKeepsTheSize)
{
    list->SetAlign(alTop);
    list->SetHeight(80);
    splitter->SetAlign(alTop);
    splitter->SetHeight(5);
    ASSERT_EQ(splitter->Top(), 80);
    splitter->OnCanResize = [](TObject*, int& newSize, bool& accept) { accept = newSize <= 150; };
    SendMessageW(form->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 82));
    SendMessageW(form->Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(50, 132));
    EXPECT_EQ(list->Height(), 130);
    SendMessageW(form->Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(50, 182));
    EXPECT_EQ(list->Height(), 130);
    SendMessageW(form->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(50, 182));
    EXPECT_EQ(view->Top(), 135);
}
