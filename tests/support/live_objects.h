// Counters of the test process's live GDI objects, menus and windows, and a check that they came back.
#pragma once

#include <gtest/gtest.h>

#include <string>

namespace testsupport {

// GetGuiResources answers 0 under Wine, so these count by asking about every handle value Wine hands out.
int CountGdiObjects();
int CountMenus();
// Top-level, child and message-only windows of this process.
int CountWindows();

struct LiveObjects {
    int Gdi = 0;
    int Menus = 0;
    int Windows = 0;

    static LiveObjects Now();
    std::string Describe() const;
};

// Succeeds when no count of Now() is more than Slack above Before's.
::testing::AssertionResult LiveObjectsBackWithin(const LiveObjects& before, int slack = 5);

} // namespace testsupport
