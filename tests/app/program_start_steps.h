// The process-wide state the program block prepares before its main window, as a test environment.
#pragma once

#include "app/program_steps.h"

#include <gtest/gtest.h>

#include <memory>

namespace apptest {

class ProgramStartSteps : public ::testing::Environment {
public:
    // The test program makes its application itself.
    void SetUp() override { start_ = std::make_unique<TProgramStart>(false); }
    void TearDown() override { start_.reset(); }

private:
    std::unique_ptr<TProgramStart> start_;
};

} // namespace apptest
