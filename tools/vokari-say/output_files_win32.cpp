// Output files on Windows, checked and written through the C library (whose
// narrow names are UTF-8 in these programs).
#include "tools/vokari-say/output_files.h"

#include <windows.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "tools/text/file_replacement.h"

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
    std::string reason;
    if (text::replace_file(path, bytes, reason)) return true;
    error = "cannot write " + path + ": " + reason;
    return false;
}

}  // namespace say
}  // namespace vokari
