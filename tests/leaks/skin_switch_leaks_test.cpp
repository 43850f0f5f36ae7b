// A form holding every skinned control and every control the adapters take over goes through a thousand
// skin changes; the process's GDI objects, menus and windows come back.
#include "framework/ComCtrls.h"
#include "framework/ExtCtrls.h"
#include "framework/Forms.h"
#include "framework/Menus.h"
#include "framework/RichEdit.h"
#include "framework/Splitter.h"
#include "framework/StdCtrls.h"
#include "skin/controls/sSplitter.h"
#include "skin/controls/sStatusBar.h"
#include "skin/controls/sTabControl.h"
#include "skin/controls/sToolBar.h"
#include "skin/controls/sUpDown.h"
#include "skin/core/sSkinManager.h"
#include "skin/forms/sSkinProvider.h"
#include "widgets/ASLink.h"
#include "widgets/AlPanel.h"

#include "tests/skin_core/test_skin.h"
#include "tests/support/live_objects.h"
#include "tests/support/test_support.h"

namespace {

class SkinSwitchLeaks : public testsupport::TempFolderTest {
protected:
    void SetUp() override
    {
        TempFolderTest::SetUp();
        ASSERT_EQ(DefaultManager(), nullptr);
        // Two folders of the generated test skin: a change of skin reads, indexes and repaints all the
        // same, and the run does not wait for the shipped skins' large images to be unpacked a thousand
        // times.
        testskin::WriteTestSkinFolder(Folder(), L"Dusk");
        testskin::WriteTestSkinFolder(Folder(), L"Contrast");
        Manager = Create<TsSkinManager>(nullptr);
        Manager->SetSkinDirectory(Folder());
        Manager->SetSkinName(L"Dusk");
        ASSERT_TRUE(Manager->SkinData()->Active);
        Form = Create<TForm>(Application);
        Form->SetBounds(20, 20, 760, 560);
        Form->SetCaption(L"Все элементы");
        MakeMenu();
        MakeSkinnedControls();
        MakeAdaptedControls();
        MakeWidgets();
        Form->Show();
        // What the hook does at the form's first activation: the provider takes the form and its adapter
        // every control it knows.
        Create<TsSkinProvider>(Form);
        SetForegroundWindow(Form->Handle());
        testsupport::PumpMessagesUntilIdle(500);
    }
    void TearDown() override
    {
        Free(Form);
        Free(Manager);
        testsupport::PumpMessagesUntilIdle(200);
        TempFolderTest::TearDown();
    }

    template <class T>
    T* Place(T* control, int x, int y, int width, int height, TWinControl* parent = nullptr)
    {
        control->SetParent(parent ? parent : Form);
        control->SetBounds(x, y, width, height);
        return control;
    }

    void MakeMenu()
    {
        auto* menu = Create<TMainMenu>(Form);
        for (const wchar_t* caption : {L"Файл", L"Правка"}) {
            auto* top = Create<TMenuItem>(Form);
            top->SetCaption(caption);
            for (const wchar_t* sub : {L"Открыть", L"-", L"Выход"}) {
                auto* item = Create<TMenuItem>(Form);
                item->SetCaption(sub);
                top->Add(item);
            }
            menu->Items()->Add(top);
        }
        Form->SetMenu(menu);
    }

    void MakeSkinnedControls()
    {
        auto* status = Create<TsStatusBar>(Form);
        status->SetParent(Form);
        status->Panels()->Add()->SetWidth(120);
        status->Panels()->Add()->SetWidth(120);
        auto* tools = Create<TsToolBar>(Form);
        tools->SetParent(Form);
        for (int i = 0; i < 3; ++i)
            Create<TToolButton>(Form)->SetParent(tools);
        auto* split = Create<TsSplitter>(Form);
        split->SetParent(Form);
        auto* tabs = Place(Create<TsTabControl>(Form), 10, 60, 300, 60);
        // More tabs than fit: the strip shows its skinned scroll arrows too.
        for (int i = 0; i < 12; ++i)
            tabs->Tabs()->Add(L"Вкладка " + std::to_wstring(i + 1));
        auto* number = Place(Create<TEdit>(Form), 320, 60, 60, 22);
        auto* arrows = Place(Create<TsUpDown>(Form), 380, 60, 16, 22);
        arrows->SetAssociate(number);
    }

    void MakeAdaptedControls()
    {
        Place(Create<TEdit>(Form), 10, 130, 140, 22)->SetText(L"Строка");
        auto* memo = Place(Create<TMemo>(Form), 160, 130, 150, 80);
        memo->SetScrollBars(ssBoth);
        auto* rich = Place(Create<TRichEdit>(Form), 320, 130, 150, 80);
        rich->SetScrollBars(ssVertical);
        auto* list = Place(Create<TListBox>(Form), 480, 130, 120, 80);
        auto* combo = Place(Create<TComboBox>(Form), 610, 130, 120, 22);
        for (int i = 0; i < 30; ++i) {
            memo->Lines()->Add(L"Строка памятки, достаточно длинная для полосы " + std::to_wstring(i));
            rich->Lines()->Add(L"Абзац " + std::to_wstring(i));
            list->Items()->Add(L"Пункт " + std::to_wstring(i));
            combo->Items()->Add(L"Выбор " + std::to_wstring(i));
        }
        auto* view = Place(Create<TListView>(Form), 10, 220, 300, 120);
        view->SetViewStyle(vsReport);
        for (const wchar_t* caption : {L"Название", L"Оценка"})
            view->Columns()->Add()->SetCaption(caption);
        for (int i = 0; i < 20; ++i)
            view->Items()->Add()->SetCaption(L"Рецепт " + std::to_wstring(i));
        auto* plainTabs = Place(Create<TTabControl>(Form), 320, 220, 200, 60);
        plainTabs->Tabs()->Add(L"Один");
        plainTabs->Tabs()->Add(L"Два");
        Place(Create<TTrackBar>(Form), 320, 290, 200, 30)->SetMax(10);
        Place(Create<TProgressBar>(Form), 320, 325, 200, 16)->SetPosition(40);
        auto* panel = Place(Create<TPanel>(Form), 530, 220, 200, 120);
        Place(Create<TEdit>(Form), 10, 10, 120, 22, panel);
        Place(Create<TButton>(Form), 10, 40, 100, 26, panel)->SetCaption(L"Кнопка");
        auto* label = Place(Create<TLabel>(Form), 10, 350, 120, 16);
        label->SetCaption(L"Надпись");
        Place(Create<TBevel>(Form), 140, 350, 100, 30);
        Place(Create<TImage>(Form), 250, 350, 40, 40);
        auto* plainStatus = Place(Create<TStatusBar>(Form), 10, 400, 300, 20);
        plainStatus->Panels()->Add()->SetWidth(100);
        auto* plainTools = Place(Create<TToolBar>(Form), 320, 400, 200, 30);
        Create<TToolButton>(Form)->SetParent(plainTools);
        auto* plainNumber = Place(Create<TEdit>(Form), 530, 400, 60, 22);
        Place(Create<TUpDown>(Form), 590, 400, 16, 22)->SetAssociate(plainNumber);
        Place(Create<TSplitter>(Form), 620, 400, 4, 60);
    }

    void MakeWidgets()
    {
        auto* aligning = Place(Create<TAligningPanel>(Form), 10, 430, 300, 60);
        Place(Create<TEdit>(Form), 10, 10, 100, 22, aligning);
        auto* link = Place(Create<TASLink>(Form), 320, 440, 150, 16);
        link->SetCaption(L"Ссылка");
    }

    TsSkinManager* Manager = nullptr; // owned by the test
    TForm* Form = nullptr;            // owned by the application
};

TEST_F(SkinSwitchLeaks, ThousandSkinChangesLeaveNothingBehind)
{
    const wchar_t* const skins[] = {L"Contrast", L"Dusk"};
    // Each change is painted before the next, as the skin menu's click is.
    const auto change = [&](int i) {
        Manager->SetSkinName(skins[i % 2]);
        ASSERT_TRUE(Manager->SkinData()->Active) << "skin " << i;
        UpdateWindow(Form->Handle());
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    };
    for (int i = 0; i < 4; ++i)
        change(i);
    testsupport::PumpMessagesUntilIdle(200);
    const auto before = testsupport::LiveObjects::Now();
    for (int i = 0; i < 1000; ++i)
        change(i);
    testsupport::PumpMessagesUntilIdle(200);
    EXPECT_TRUE(testsupport::LiveObjectsBackWithin(before));
}

} // namespace
