// Counting live objects by probing handle values: Wine keeps GDI objects and menus in tables indexed by
// the handle's low word, and answers for a value with the high word 0 whatever the entry's generation.
// Values with another high word name one generation only: probing them too would count an object twice.
#include "tests/support/live_objects.h"

#include <windows.h>

#include <sstream>

namespace testsupport {

namespace {

constexpr ULONG_PTR kFirstHandle = 0x20;
constexpr ULONG_PTR kLastHandle = 0xFFFF;

bool OfThisProcess(HWND wnd)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(wnd, &pid);
    return pid == GetCurrentProcessId();
}

BOOL CALLBACK CountChild(HWND, LPARAM count)
{
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}

BOOL CALLBACK CountTopLevel(HWND wnd, LPARAM count)
{
    if (OfThisProcess(wnd)) {
        ++*reinterpret_cast<int*>(count);
        EnumChildWindows(wnd, CountChild, count);
    }
    return TRUE;
}

} // namespace

int CountGdiObjects()
{
    int count = 0;
    for (ULONG_PTR h = kFirstHandle; h <= kLastHandle; ++h)
        if (GetObjectType(reinterpret_cast<HGDIOBJ>(h)) != 0)
            ++count;
    return count;
}

int CountMenus()
{
    int count = 0;
    // Menus share the table of windows, whose handles are even.
    for (ULONG_PTR h = kFirstHandle; h <= kLastHandle; h += 2)
        if (IsMenu(reinterpret_cast<HMENU>(h)))
            ++count;
    return count;
}

int CountWindows()
{
    int count = 0;
    EnumWindows(CountTopLevel, reinterpret_cast<LPARAM>(&count));
    // Message-only windows are not top-level windows to EnumWindows.
    for (HWND wnd = FindWindowExW(HWND_MESSAGE, nullptr, nullptr, nullptr); wnd;
         wnd = FindWindowExW(HWND_MESSAGE, wnd, nullptr, nullptr))
        CountTopLevel(wnd, reinterpret_cast<LPARAM>(&count));
    return count;
}

LiveObjects LiveObjects::Now()
{
    return {CountGdiObjects(), CountMenus(), CountWindows()};
}

std::string LiveObjects::Describe() const
{
    std::ostringstream out;
    out << Gdi << " GDI objects, " << Menus << " menus, " << Windows << " windows";
    return out.str();
}

::testing::AssertionResult LiveObjectsBackWithin(const LiveObjects& before, int slack)
{
    const LiveObjects now = LiveObjects::Now();
    if (now.Gdi <= before.Gdi + slack && now.Menus <= before.Menus + slack && now.Windows <= before.Windows + slack)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "live objects grew from " << before.Describe() << " to "
                                         << now.Describe() << " (allowed: " << slack << " more of each)";
}

} // namespace testsupport
