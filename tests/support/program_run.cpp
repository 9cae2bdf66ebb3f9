#include "support/program_run.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>

extern char** environ;

namespace program_runner {
namespace fs = std::filesystem;
namespace {

std::string read_all(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace

ProgramRun run_program(const std::string& program, const std::vector<std::string>& arguments,
                       const std::string& input) {
    static std::atomic<int> runs{0};
    const fs::path base =
        fs::temp_directory_path() / ("vokari-run-" + std::to_string(getpid()) + "-" + std::to_string(runs++));
    const std::string in_path = base.string() + ".in", out_path = base.string() + ".out",
                      err_path = base.string() + ".err";
    std::ofstream(in_path, std::ios::binary) << input;

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, in_path.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    ProgramRun run;
    pid_t pid = 0;
    if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ) == 0) {
        int status = 0;
        while (waitpid(pid, &status, 0) < 0) {
        }
        if (WIFEXITED(status)) run.status = WEXITSTATUS(status);
    }
    posix_spawn_file_actions_destroy(&actions);
    run.out = read_all(out_path);
    run.err = read_all(err_path);
    for (const std::string& path : {in_path, out_path, err_path}) fs::remove(path);
    return run;
}

std::vector<std::pair<std::string, std::string>> snapshot(const std::string& folder) {
    std::vector<std::pair<std::string, std::string>> files;
    std::error_code ignored;
    for (fs::recursive_directory_iterator it(folder, ignored), end; it != end; it.increment(ignored)) {
        const std::string relative = fs::relative(it->path(), folder).string();
        files.emplace_back(relative, it->is_regular_file() ? read_all(it->path()) : std::string("<dir>"));
    }
    std::sort(files.begin(), files.end());
    return files;
}

}  // namespace program_runner
