// The list of skinned forms and the walk over the application's forms.
#include "tests/skin_forms/manager_support.h"
#include "tests/skin_core/test_skin.h"

#include "framework/Classes.h"

using namespace testskin;

namespace {

class SkinnedFormsList : public ManagerTest {
protected:
    TCustomForm* Fake(int n) { return reinterpret_cast<TCustomForm*>(static_cast<std::uintptr_t>(0x1000 * n)); }
    std::vector<TCustomForm*> Listed() const { return SkinnedForms(); }
};

TEST_F(SkinnedFormsList, RemovingAFormMovesTheLastIntoItsSlot)
{
    RegisterSkinnedForm(Fake(1));
    RegisterSkinnedForm(Fake(2));
    RegisterSkinnedForm(Fake(3));
    UnregisterSkinnedForm(Fake(1));
    EXPECT_EQ(Listed(), (std::vector<TCustomForm*>{Fake(3), Fake(2)}));
    UnregisterSkinnedForm(Fake(2));
    UnregisterSkinnedForm(Fake(3));
    EXPECT_TRUE(Listed().empty());
}

TEST_F(SkinnedFormsList, RemovingAFormThatIsNotListedKeepsTheOthers)
{
    RegisterSkinnedForm(Fake(1));
    RegisterSkinnedForm(Fake(2));
    UnregisterSkinnedForm(Fake(7));
    EXPECT_EQ(Listed(), (std::vector<TCustomForm*>{Fake(1), Fake(2)}));
    UnregisterSkinnedForm(Fake(1));
    UnregisterSkinnedForm(Fake(2));
    UnregisterSkinnedForm(Fake(2));
    EXPECT_TRUE(Listed().empty());
}

TEST_F(SkinnedFormsList, AFormListedTwiceLeavesNoTraceWhenRemoved)
{
    RegisterSkinnedForm(Fake(1));
    RegisterSkinnedForm(Fake(2));
    RegisterSkinnedForm(Fake(1));
    UnregisterSkinnedForm(Fake(1));
    EXPECT_EQ(Listed(), std::vector<TCustomForm*>{Fake(2)});
    UnregisterSkinnedForm(Fake(2));
}

TEST_F(SkinnedFormsList, AFormThatGoesWhileItIsToldEndsTheWalkSafely)
{
    TsSkinManager sm(nullptr);
    sm.SetSkinDirectory(Folder());
    WriteTestSkinFolder(Folder(), L"Flat");
    TListeningForm* first = Create<TListeningForm>(Application);
    TOwned<TListeningForm> second(Create<TListeningForm>(Application));
    // The form made last is told first; it frees the other form on the first command it hears.
    bool freed = false;
    second->WindowProc = [&](TMessage& m) {
        if (m.Msg == SM_SKINCMD && !freed) {
            freed = true;
            Free(first);
        }
        second->WndProc(m);
    };
    sm.SetSkinName(L"Flat");
    EXPECT_TRUE(freed);
    // The remaining form may hear a command again as the others move down, but it hears every one.
    const std::vector<WORD> heard = second->Log.Commands();
    ASSERT_FALSE(heard.empty());
    EXPECT_EQ(heard.front(), SkinCmdSkinChanged);
    EXPECT_EQ(heard.back(), SkinCmdRefresh);
    EXPECT_TRUE(sm.SkinData()->Active);
    second->WindowProc = TWndMethod(static_cast<TControl*>(second.get()), &TControl::WndProc);
}

} // namespace
