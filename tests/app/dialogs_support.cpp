#include "tests/app/dialogs_support.h"

#include "app/recipe_document.h"
#include "framework/Jpeg.h"
#include "framework/SysUtils.h"
#include "widgets/ASLink.h"
#include "widgets/AlPanel.h"

void TTestHost::ShowFoundRecipe(const std::wstring& path)
{
    Shown.push_back(path);
    view_.Clear();
    if (FileExists(path))
        view_.LoadFromFile(path);
}

void DialogTest::SetUp()
{
    StoreTest::SetUp();
    host = std::make_unique<TTestHost>(*store, dialogs);
    Application->OnException = [this](TObject*, const Exception& e) { Errors.push_back(e.Message()); };
}

void DialogTest::TearDown()
{
    for (auto it = opened_.rbegin(); it != opened_.rend(); ++it)
        Free(*it);
    Pump();
    Application->OnException = nullptr;
    host.reset();
    StoreTest::TearDown();
}

void DialogTest::Pump()
{
    MSG msg;
    for (int i = 0; i < 1000 && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE); ++i)
        Application->ProcessMessage(msg);
}

void DialogTest::KeepScreenshot(TCustomForm* form, const std::wstring& name)
{
    CreateDirectoryW(testsupport::TestDataPath(L"screens").c_str(), nullptr);
    testsupport::CaptureWindow(form->Handle(), true).SavePpm(testsupport::TestDataPath(L"screens\\" + name + L".ppm"));
}

void DialogTest::WriteRecipe(const std::wstring& category, const std::wstring& name, const std::wstring& products,
                             const std::wstring& rating)
{
    THiddenRecipeDocument writer;
    recipes::ComposeRecipe(writer.Handle(), {name, L"2", rating, products, L"Варить.", L""});
    writer.SaveToFile(InCategory(category, name + L".rcp"));
}
