// The fixture base of the form-skinning tests: a fresh temporary folder for the test's skins and the
// exceptions that reached the application's handler during the test.
#pragma once

#include "tests/support/test_support.h"

#include <string>
#include <vector>

class SkinFormsTest : public testsupport::TempFolderTest {
protected:
    void SetUp() override;
    void TearDown() override;
    std::vector<std::wstring> Errors;
};
