// Output files: written in place with open(2), which follows symbolic links;
// on Windows through the C library (whose narrow names are UTF-8 in these
// programs), beside the old file and then over it.
#include "tools/vokari-say/output_files.h"

#ifdef _WIN32
#include <windows.h>

#include <cstdio>

#include "tools/text/file_replacement.h"
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <cerrno>
#include <cstring>

namespace vokari {
namespace say {

#ifdef _WIN32
std::string why_not_writable(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return std::strerror(EISDIR);
        // Windows refuses to write a read-only file; an administrator's
        // process must refuse as well, not overwrite it.
        if ((attributes & FILE_ATTRIBUTE_READONLY) != 0) return "the file is read-only";
        std::FILE* file = std::fopen(path.c_str(), "ab");
        if (file == nullptr) return std::strerror(errno);
        std::fclose(file);
        return "";
    }
    HANDLE created = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (created == INVALID_HANDLE_VALUE) {
        const DWORD code = GetLastError();
        return code == ERROR_PATH_NOT_FOUND ? std::strerror(ENOENT) : std::strerror(EACCES);
    }
    CloseHandle(created);
    DeleteFileA(path.c_str());
    return "";
}

bool write_output_file(const std::string& path, const std::string& bytes, std::string& error) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
        error = "cannot write " + path + ": the file is read-only";
        return false;
    }
    // Written beside and moved over the old file: a full disk leaves the
    // old file whole and no partial one.
    std::string reason;
    if (text::replace_file(path, bytes, reason)) return true;
    error = "cannot write " + path + ": " + reason;
    return false;
}

#else
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

#endif

}  // namespace say
}  // namespace vokari
