// The skin-switch measurement: the main window on the sample base with three dialogs open, switched
// through the stored skin and the two packed skins of the skin directory, against repainting the same
// windows without a switch. No window may be made anew by a switch.
#include "tools/bench/bench.h"
#include "tools/bench/program_window.h"
#include "tools/bench/profiler.h"

#include "app/about.h"
#include "app/dialog_host.h"
#include "app/main_dialogs.h"
#include "app/new_recipes.h"
#include "app/search.h"
#include "skin/core/sSkinManager.h"

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

template <class T>
TForm* OpenDialog(TDialogHost* host)
{
    T* form = Create<T>(Application);
    form->Host = host;
    form->Show();
    bench::PumpMessages();
    return form;
}

std::vector<HWND> ShownTopWindows()
{
    std::vector<HWND> tops;
    for (HWND wnd : bench::ThreadWindows())
        if (!(GetWindowLongPtrW(wnd, GWL_STYLE) & WS_CHILD) && IsWindowVisible(wnd))
            tops.push_back(wnd);
    return tops;
}

} // namespace

VELMORA_BENCH(skin_switch)
{
    bench::ProgramWindow program(bench::WindowsPath(VELMORA_BENCH_SAMPLE_BASE));
    const std::unique_ptr<TDialogHost> host = MainFormHost(program.Main());
    std::vector<TForm*> dialogs{OpenDialog<TNewForm>(host.get()), OpenDialog<TSearchForm>(host.get()),
                                OpenDialog<TAboutForm>(host.get())};
    TsSkinManager* sm = DefaultManager();
    if (!sm)
        throw std::runtime_error("the main window made no skin manager");
    sm->SetSkinDirectory(bench::WindowsPath(VELMORA_BENCH_SKIN_DIRECTORY));
    const std::vector<HWND> tops = ShownTopWindows();
    const std::vector<HWND> before = bench::ThreadWindows();

    const std::wstring skins[] = {L"Dusk", L"Contrast", sm->SkinName()};
    int next = 0;
    bench::Result r;
    r.ours = "switch of " + std::to_string(tops.size()) + " windows (" + std::to_string(before.size()) +
             " with children)";
    {
        bench::Profile profile("skin switch");
        r.oursMs = bench::MedianMs(9, [&] {
            sm->SetSkinName(skins[next++ % 3]);
            for (HWND wnd : tops)
                RedrawWindow(wnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
            bench::PumpMessages();
        });
    }
    const bool allLoaded = sm->SkinData()->Active;
    r.theirs = "repainting them without a switch";
    r.theirsMs = bench::MedianMs(9, [&] {
        for (HWND wnd : tops)
            RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        bench::PumpMessages();
    });
    const bool sameWindows = bench::ThreadWindows() == before;
    for (auto it = dialogs.rbegin(); it != dialogs.rend(); ++it)
        Free(*it);
    if (!allLoaded)
        throw std::runtime_error("a skin of the skin directory did not load");
    if (!sameWindows)
        throw std::runtime_error("a switch made windows anew");
    r.note = "same window handles before and after";
    return r;
}
