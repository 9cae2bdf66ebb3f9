// The file written beside and renamed over the target, for every tool.
#include "tools/text/file_replacement.h"

#ifdef _WIN32
#include <process.h>
#else
#include <unistd.h>
#endif

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <system_error>

namespace vokari {
namespace text {
namespace {
namespace fs = std::filesystem;

std::string beside(const std::string& path) {
#ifdef _WIN32
    return path + ".part" + std::to_string(_getpid());
#else
    return path + ".part" + std::to_string(getpid());
#endif
}

// Fills the file beside with `fill` (which gives the reason of a failure),
// then moves it over `path`; std::filesystem's rename replaces an older file
// on Windows too.
bool replace_through(const std::string& path, const std::function<std::string(const std::string&)>& fill,
                     std::string& reason) {
    const std::string temporary = beside(path);
    reason = fill(temporary);
    std::error_code failure;
    if (reason.empty()) fs::rename(fs::u8path(temporary), fs::u8path(path), failure);
    if (failure) reason = failure.message();
    if (reason.empty()) return true;
    fs::remove(fs::u8path(temporary), failure);
    return false;
}

}  // namespace

bool replace_file(const std::string& path, const std::string& bytes, std::string& reason) {
    return replace_through(
        path,
        [&](const std::string& temporary) -> std::string {
            std::FILE* file = std::fopen(temporary.c_str(), "wb");
            if (file == nullptr) return std::strerror(errno);
            // Flushed before closing: some C libraries (wine's msvcrt) forget a
            // failed flush by the time fclose returns.
            int failure = 0;
            if (std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size() || std::fflush(file) != 0)
                failure = errno ? errno : EIO;
            if (std::fclose(file) != 0 && failure == 0) failure = errno ? errno : EIO;
            return failure == 0 ? "" : std::strerror(failure);
        },
        reason);
}

bool replace_file_with_copy(const std::string& from, const std::string& path, std::string& reason) {
    return replace_through(
        path,
        [&](const std::string& temporary) -> std::string {
            std::error_code failure;
            fs::copy_file(fs::u8path(from), fs::u8path(temporary), fs::copy_options::overwrite_existing, failure);
            return failure ? failure.message() : "";
        },
        reason);
}

}  // namespace text
}  // namespace vokari
