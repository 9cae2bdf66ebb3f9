// posix_spawn with standard input, output and error redirected to files, so
// that no pipe can fill up and block either side.
#include "run_program.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "support/fixture_voice.h"

extern char** environ;

namespace say_test {
namespace {

std::string file_text(const std::string& path) {
    const std::vector<std::uint8_t> bytes = fixture::read_file(path);
    return std::string(bytes.begin(), bytes.end());
}

}  // namespace

RunResult run_program(const std::string& program, const std::vector<std::string>& arguments,
                      const std::string& input) {
    const std::string directory = fixture::temp_directory("say-run");
    const std::string in_path = directory + "/in", out_path = directory + "/out", err_path = directory + "/err";
    fixture::write_text(in_path, input);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, in_path.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    RunResult result;
    pid_t pid = 0;
    if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ) == 0) {
        int status = 0;
        while (waitpid(pid, &status, 0) < 0) {
        }
        if (WIFEXITED(status)) result.exit_status = WEXITSTATUS(status);
    }
    posix_spawn_file_actions_destroy(&actions);
    result.out = file_text(out_path);
    result.err = file_text(err_path);
    fixture::remove_tree(directory);
    return result;
}

RunResult run_say(const std::vector<std::string>& arguments, const std::string& input) {
    return run_program(VOKARI_SAY_PROGRAM, arguments, input);
}

}  // namespace say_test
