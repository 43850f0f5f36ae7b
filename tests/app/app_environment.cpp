// The one environment of the program's test executables: the process starts as the program block starts
// it (the common controls, the picture formats, the skin library's steps and the links of the form
// skinning, then the application with the program's classes registered for its form data), and finishes
// in reverse after the last test.
#include "app/program_steps.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class ProgramEnvironment : public ::testing::Environment {
public:
    void SetUp() override { start_ = std::make_unique<TProgramStart>(); }
    void TearDown() override { start_.reset(); }

private:
    std::unique_ptr<TProgramStart> start_;
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new ProgramEnvironment);

} // namespace
