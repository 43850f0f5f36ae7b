// The ordered start-up and shutdown steps.
#include "framework/Startup.h"

#include <algorithm>

TStartup::~TStartup()
{
    try {
        Finish();
    } catch (...) {
        // A finish step that fails at exit has nobody left to report to.
    }
}

void TStartup::Add(TStartupOrder order, const std::wstring& name, TStep start, TStep finish)
{
    steps_.push_back(Step{order, name, start, finish});
}

std::vector<TStartup::Step> TStartup::Ordered() const
{
    std::vector<Step> ordered = steps_;
    std::stable_sort(ordered.begin(), ordered.end(),
                     [](const Step& a, const Step& b) { return static_cast<int>(a.order) < static_cast<int>(b.order); });
    return ordered;
}

std::vector<std::wstring> TStartup::Names() const
{
    std::vector<std::wstring> names;
    for (const Step& s : Ordered())
        names.push_back(s.name);
    return names;
}

void TStartup::Start()
{
    if (started_ > 0)
        return;
    running_ = Ordered();
    try {
        for (const Step& s : running_) {
            if (s.start)
                s.start();
            ++started_;
        }
    } catch (...) {
        Finish();
        throw;
    }
}

void TStartup::Finish()
{
    while (started_ > 0) {
        const Step& s = running_[--started_];
        if (s.finish)
            s.finish();
    }
    running_.clear();
}
