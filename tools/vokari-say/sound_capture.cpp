// The reserved sound file's life: reservation, interrupt clean-up, hand-over.
#include "tools/vokari-say/sound_capture.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace vokari_say {
namespace {

// The file to remove when a signal ends the program; empty when none.
char g_pending_path[4096];

void remove_pending_and_reraise(int signal_number) {
    if (g_pending_path[0] != '\0') unlink(g_pending_path);
    ::signal(signal_number, SIG_DFL);
    ::raise(signal_number);
}

void watch_for_interrupts(const std::string& path) {
    std::snprintf(g_pending_path, sizeof g_pending_path, "%s", path.c_str());
    for (int signal_number : {SIGINT, SIGTERM, SIGHUP}) ::signal(signal_number, remove_pending_and_reraise);
}

void stop_watching() { g_pending_path[0] = '\0'; }

bool copy_file(const std::string& from, const std::string& to, std::string& error) {
    std::FILE* in = std::fopen(from.c_str(), "rb");
    std::FILE* out = in ? std::fopen(to.c_str(), "wb") : nullptr;
    if (out == nullptr) {
        error = "cannot write " + to + ": " + std::strerror(errno);
        if (in) std::fclose(in);
        return false;
    }
    char buffer[65536];
    size_t got;
    bool ok = true;
    while ((got = std::fread(buffer, 1, sizeof buffer, in)) > 0) ok = ok && std::fwrite(buffer, 1, got, out) == got;
    ok = std::fclose(out) == 0 && ok && !std::ferror(in);
    std::fclose(in);
    if (!ok) error = "cannot write " + to + ": " + std::strerror(errno);
    return ok;
}

}  // namespace

SoundCapture::~SoundCapture() { discard(); }

bool SoundCapture::reserve(const std::string& module_dir, std::string& error) {
    // The module splits its sound-file request at commas, directory included.
    if (module_dir.find(',') != std::string::npos) {
        error = "the module directory's path holds a comma, which the module's sound-file output cannot take: " +
                module_dir;
        return false;
    }
    for (int attempt = 0; attempt < 100; ++attempt) {
        name_ = "vokari-say-" + std::to_string(getpid()) + "-" + std::to_string(attempt) + ".wav";
        path_ = module_dir + "/" + name_;
        const int fd = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
        if (fd >= 0) {
            ::close(fd);
            watch_for_interrupts(path_);
            return true;
        }
        if (errno != EEXIST) break;
    }
    error = "cannot create a file in the module directory " + module_dir + " (the module writes sound files only there): " +
            std::strerror(errno);
    name_.clear();
    path_.clear();
    return false;
}

std::string SoundCapture::request_tag(char prefix, bool silent) const {
    return std::string(1, prefix) + (silent ? "wavouts[" : "wavout[") + name_ + "]";
}

bool SoundCapture::written() const {
    struct stat info;
    return !path_.empty() && stat(path_.c_str(), &info) == 0 && info.st_size > 0;
}

bool SoundCapture::move_to(const std::string& destination, std::string& error) {
    if (std::rename(path_.c_str(), destination.c_str()) != 0) {
        if (errno != EXDEV) {
            error = "cannot write " + destination + ": " + std::strerror(errno);
            return false;
        }
        if (!copy_file(path_, destination, error)) return false;
        discard();
    }
    path_.clear();
    stop_watching();
    return true;
}

void SoundCapture::discard() {
    if (path_.empty()) return;
    unlink(path_.c_str());
    path_.clear();
    stop_watching();
}

}  // namespace vokari_say
