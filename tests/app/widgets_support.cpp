#include "tests/app/widgets_support.h"

#include "widgets/ASLink.h"
#include "widgets/AlPanel.h"

TForm* MakeHostForm(int clientWidth, int clientHeight, TColor color)
{
    auto* form = Create<TForm>(Application);
    form->SetBounds(30, 30, 100, 100);
    form->SetClientWidth(clientWidth);
    form->SetClientHeight(clientHeight);
    form->SetColor(color);
    form->Show();
    PumpApplication();
    return form;
}

void PumpApplication()
{
    MSG msg;
    for (int i = 0; i < 1000 && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE); ++i)
        Application->ProcessMessage(msg);
    testsupport::PumpMessagesUntilIdle(200);
}
