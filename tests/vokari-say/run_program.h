// Runs vokari-say as a user would, for the command-line tests.
#pragma once

#include <string>
#include <vector>

#include "support/program_run.h"

namespace say_test {

using RunResult = program_runner::ProgramRun;

// Runs the built vokari-say.
inline RunResult run_say(const std::vector<std::string>& arguments, const std::string& input = "") {
    return program_runner::run_program(VOKARI_SAY_PROGRAM, arguments, input);
}

}  // namespace say_test
