// The process-wide state the program block prepares before its main window, as a test environment.
#pragma once

#include "app/program_steps.h"
#include "framework/Startup.h"
#include "skin/forms/sSkinFormsLinks.h"

#include <gtest/gtest.h>

namespace apptest {

class ProgramStartSteps : public ::testing::Environment {
public:
    void SetUp() override
    {
        AddProgramStartupSteps(startup_);
        startup_.Start();
        LinkSkinForms();
    }
    void TearDown() override { startup_.Finish(); }

private:
    TStartup startup_;
};

} // namespace apptest
