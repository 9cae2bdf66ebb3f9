// Runs vokari-say as a user would, for the command-line tests.
#pragma once

#include <string>
#include <vector>

namespace say_test {

struct RunResult {
    int exit_status = -1;  // the program's exit status; -1 when it did not exit normally
    std::string out;       // everything it wrote to standard output
    std::string err;       // everything it wrote to standard error
};

// Runs `program` with `arguments`, feeding `input` to its standard input, and
// waits for it to end.
RunResult run_program(const std::string& program, const std::vector<std::string>& arguments,
                      const std::string& input = "");

// Runs the built vokari-say.
RunResult run_say(const std::vector<std::string>& arguments, const std::string& input = "");

}  // namespace say_test
