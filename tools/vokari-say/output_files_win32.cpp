// Output files on Windows, checked and written through the C library (whose
// narrow names are UTF-8 in these programs).
#include "tools/vokari-say/output_files.h"

#include <windows.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "tools/windows/system_message.h"

namespace vokari {
namespace say {

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
    const std::string partial = path + ".partial" + std::to_string(GetCurrentProcessId());
    std::FILE* file = std::fopen(partial.c_str(), "wb");
    int failure = file == nullptr ? errno : 0;
    // Flushed before closing: wine's msvcrt forgets a failed flush by the
    // time fclose returns.
    if (failure == 0 && (std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size() || std::fflush(file) != 0))
        failure = errno ? errno : EIO;
    if (file != nullptr && std::fclose(file) != 0 && failure == 0) failure = errno;
    if (failure == 0 && !MoveFileExA(partial.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        error = "cannot write " + path + ": " + windows::system_message(GetLastError());
        DeleteFileA(partial.c_str());
        return false;
    }
    if (failure != 0) {
        error = "cannot write " + path + ": " + std::strerror(failure);
        DeleteFileA(partial.c_str());
    }
    return failure == 0;
}

}  // namespace say
}  // namespace vokari
