// Output files written with open(2), which follows symbolic links.
#include "tools/vokari-say/output_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace vokari {
namespace say {

std::string why_not_writable(const std::string& path) {
    struct stat info;
    if (::stat(path.c_str(), &info) == 0) {
        if (S_ISDIR(info.st_mode)) return std::strerror(EISDIR);
        const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
        if (fd < 0) return std::strerror(errno);
        ::close(fd);
        return "";
    }
    if (errno != ENOENT) return std::strerror(errno);
    if (::lstat(path.c_str(), &info) == 0) return "symbolic link to a file that does not exist";
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) return std::strerror(errno);
    ::close(fd);
    ::unlink(path.c_str());
    return "";
}

bool write_output_file(const std::string& path, const std::string& bytes, std::string& error) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    int failure = fd < 0 ? errno : 0;
    for (size_t done = 0; failure == 0 && done < bytes.size();) {
        const ssize_t wrote = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (wrote > 0) done += static_cast<size_t>(wrote);
        else if (errno != EINTR) failure = errno;
    }
    if (fd >= 0 && ::close(fd) != 0 && failure == 0) failure = errno;
    if (failure != 0) error = "cannot write " + path + ": " + std::strerror(failure);
    return failure == 0;
}

}  // namespace say
}  // namespace vokari
