// The program as its program block starts it: at its first activation the main window gets its form
// skinning from the hook, owned by the window, and closing it frees everything the hook made.
#include "skin/core/sMessages.h"
#include "skin/core/sSkinManager.h"
#include "skin/forms/acDials.h"
#include "skin/forms/sSkinProvider.h"
#include "tests/app/main_window_fixture.h"

namespace {

template <class T>
int CountOwned(TComponent* owner)
{
    int count = 0;
    for (int i = 0; i < owner->ComponentCount(); ++i)
        if (dynamic_cast<T*>(owner->Components(i)))
            ++count;
    return count;
}

class ProgramActivation : public apptest::MainWindowTest {};

TEST_F(ProgramActivation, MainWindowHasItsProviderAfterActivation)
{
    TMainForm* main = Start();
    ASSERT_NE(main, nullptr);
    HWND wnd = main->Handle();
    SetForegroundWindow(wnd);
    testsupport::PumpMessagesUntilIdle(500);
    ASSERT_NE(DialogsHookHandle(), nullptr);
    EXPECT_EQ(CountOwned<TacProvider>(main), 1);
    EXPECT_EQ(CountOwned<TsSkinProvider>(main), 1);
    auto* provider = dynamic_cast<TsSkinProvider*>(reinterpret_cast<TObject*>(SendSkinCmd(wnd, SkinCmdGetProvider, 0)));
    ASSERT_NE(provider, nullptr);
    EXPECT_EQ(provider->Owner(), main);
    EXPECT_TRUE(QuerySkinCmdHwnd(wnd, SkinCmdIsSkinned));
    // Once more: nothing is added.
    SetForegroundWindow(GetDesktopWindow());
    SetForegroundWindow(wnd);
    testsupport::PumpMessagesUntilIdle(300);
    EXPECT_EQ(CountOwned<TsSkinProvider>(main), 1);
}

TEST_F(ProgramActivation, ClosingTheMainWindowRemovesTheHookAndItsList)
{
    TMainForm* main = Start();
    SetForegroundWindow(main->Handle());
    testsupport::PumpMessagesUntilIdle(500);
    ASSERT_NE(ProviderList(), nullptr);
    main = Restart();
    // The restarted window is a new first activation with a new manager and a new hook.
    SetForegroundWindow(main->Handle());
    testsupport::PumpMessagesUntilIdle(500);
    EXPECT_NE(DialogsHookHandle(), nullptr);
    EXPECT_EQ(CountOwned<TacProvider>(main), 1);
    EXPECT_EQ(CountOwned<TsSkinProvider>(main), 1);
}

} // namespace
