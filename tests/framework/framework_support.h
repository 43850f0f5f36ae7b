// What every test of the framework's program shares: the application it runs in (made once, with the
// test controls' classes registered for form data), and the fixture base that collects the exceptions
// reaching the application's handler.
#pragma once

#include "framework/Forms.h"

#include "tests/support/test_support.h"

#include <string>
#include <vector>

// Lets every posted message through the application's own message handling.
void PumpApplication();
COLORREF Rgb(TColor color);

// Collects the exceptions that reach Application.HandleException during a test.
class ApplicationTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    std::vector<std::wstring> Errors;
};
