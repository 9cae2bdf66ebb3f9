// Running the project's programs from tests as a user runs them: each
// argument passed as one, standard input from a file, and standard output and
// error caught in files, so that no pipe can fill up and block either side.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace program_runner {

struct ProgramRun {
    int status = -1;  // exit status; -1 when the program did not exit normally
    std::string out;  // what it printed to stdout
    std::string err;  // what it printed to stderr
};

// Runs `program` with `arguments`, feeding it `input`, and waits for it to end.
ProgramRun run_program(const std::string& program, const std::vector<std::string>& arguments,
                       const std::string& input = "");

// Every file under `folder` with its bytes, by relative path, for checking
// that a folder was left as it was.
std::vector<std::pair<std::string, std::string>> snapshot(const std::string& folder);

}  // namespace program_runner
