// fopen on Linux with the Windows C runtime's behaviour, so that every file the
// module reads or writes has the same bytes on both systems:
//  - backslash separators are mapped (native_path);
//  - a directory cannot be opened as a file;
//  - text mode (no 'b' in the mode) turns CR LF into LF and ends the stream at
//    a byte 0x1A when reading, and turns LF into CR LF when writing; opened for
//    reading and writing ("a+", "r+"), a text file loses a final byte 0x1A.
// Text streams are glibc cookie streams over a plain file descriptor.
#include <cerrno>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/platform.h"

namespace vokari {
namespace platform {

namespace {

constexpr unsigned char kEndOfText = 0x1A;

struct OpenMode {
    int flags = 0;            // open(2) flags
    bool text = true;         // no 'b' in the mode
    char stdio_mode[3] = {};  // "r", "w+", ... for fdopen / fopencookie
};

// Reads an fopen mode: 'r', 'w' or 'a', then any of '+', 'b', 't'.
bool parse_mode(const char* mode, OpenMode& out) {
    bool update = false;
    switch (mode[0]) {
    case 'r': out.flags = 0; break;
    case 'w': out.flags = O_CREAT | O_TRUNC; break;
    case 'a': out.flags = O_CREAT | O_APPEND; break;
    default: return false;
    }
    for (const char* p = mode + 1; *p; ++p) {
        if (*p == '+') update = true;
        else if (*p == 'b') out.text = false;
        else if (*p != 't') return false;
    }
    if (update) out.flags |= O_RDWR;
    else out.flags |= mode[0] == 'r' ? O_RDONLY : O_WRONLY;
    out.stdio_mode[0] = mode[0];
    out.stdio_mode[1] = update ? '+' : '\0';
    return true;
}

struct TextFile {
    int fd;
    bool at_end_of_text = false;  // a 0x1A was met; cleared by a seek
};

// Reads raw bytes into `buffer` and translates them in place.  A CR at the end
// of the raw bytes peeks at the next byte of the file and puts it back when it
// is not LF, so the descriptor's position always matches what was returned.
ssize_t read_text(void* cookie, char* buffer, std::size_t size) {
    TextFile& file = *static_cast<TextFile*>(cookie);
    if (file.at_end_of_text || size == 0) return 0;
    ssize_t got;
    do {
        got = ::read(file.fd, buffer, size);
    } while (got < 0 && errno == EINTR);
    if (got <= 0) return got;
    const std::size_t raw = static_cast<std::size_t>(got);
    std::size_t in = 0;
    std::size_t out = 0;
    while (in < raw) {
        const char byte = buffer[in];
        if (static_cast<unsigned char>(byte) == kEndOfText) {
            ::lseek(file.fd, -static_cast<off_t>(raw - in), SEEK_CUR);
            file.at_end_of_text = true;
            break;
        }
        if (byte != '\r') {
            buffer[out++] = byte;
            ++in;
            continue;
        }
        if (in + 1 < raw) {
            const bool pair = buffer[in + 1] == '\n';
            buffer[out++] = pair ? '\n' : '\r';
            in += pair ? 2 : 1;
            continue;
        }
        char next = 0;
        const ssize_t peeked = ::read(file.fd, &next, 1);
        if (peeked == 1 && next != '\n') ::lseek(file.fd, -1, SEEK_CUR);
        buffer[out++] = peeked == 1 && next == '\n' ? '\n' : '\r';
        ++in;
    }
    return static_cast<ssize_t>(out);
}

bool write_all(int fd, const char* bytes, std::size_t size) {
    while (size > 0) {
        const ssize_t put = ::write(fd, bytes, size);
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) return false;
        bytes += put;
        size -= static_cast<std::size_t>(put);
    }
    return true;
}

// Writes `buffer` with every LF turned into CR LF.  Returns `size`, or 0 when
// the file could not take all of it.
ssize_t write_text(void* cookie, const char* buffer, std::size_t size) {
    TextFile& file = *static_cast<TextFile*>(cookie);
    char translated[8192];
    std::size_t used = 0;
    for (std::size_t i = 0; i < size; ++i) {
        if (used + 2 > sizeof translated) {
            if (!write_all(file.fd, translated, used)) return 0;
            used = 0;
        }
        if (buffer[i] == '\n') translated[used++] = '\r';
        translated[used++] = buffer[i];
    }
    if (!write_all(file.fd, translated, used)) return 0;
    return static_cast<ssize_t>(size);
}

// Positions are raw file offsets, as the Windows C runtime reports them.
int seek_text(void* cookie, off64_t* offset, int whence) {
    TextFile& file = *static_cast<TextFile*>(cookie);
    const off_t position = ::lseek(file.fd, static_cast<off_t>(*offset), whence);
    if (position < 0) return -1;
    file.at_end_of_text = false;
    *offset = position;
    return 0;
}

int close_text(void* cookie) {
    TextFile* file = static_cast<TextFile*>(cookie);
    const int result = ::close(file->fd);
    delete file;
    return result;
}

// A text file opened for reading and writing loses a final byte 0x1A, so that
// what is appended is not hidden behind it; the position returns to the start.
// True when the file was shortened.
bool drop_final_end_of_text(int fd) {
    const off_t last = ::lseek(fd, -1, SEEK_END);
    unsigned char byte = 0;
    const bool dropped = last >= 0 && ::read(fd, &byte, 1) == 1 && byte == kEndOfText && ::ftruncate(fd, last) == 0;
    ::lseek(fd, 0, SEEK_SET);
    return dropped;
}

}  // namespace

// path: Windows-style path; mode: fopen mode ("rt", "rb", "wt", "wb", "a+"...).
// Returns an open stream (close with std::fclose) or null.
std::FILE* open_file(const char* path, const char* mode) {
    OpenMode parsed;
    if (path == nullptr || mode == nullptr || !parse_mode(mode, parsed)) {
        errno = EINVAL;
        return nullptr;
    }
    std::vector<char> mapped(std::strlen(path) + 1);
    native_path(path, mapped.data(), mapped.size());
    const int fd = ::open(mapped.data(), parsed.flags | O_CLOEXEC, 0666);
    if (fd < 0) return nullptr;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
        ::close(fd);
        errno = EISDIR;
        return nullptr;
    }
    // From here on nothing may throw: the descriptor would stay open.
    if (!parsed.text) {
        char binary_mode[8] = {};
        std::snprintf(binary_mode, sizeof binary_mode, "%sb", parsed.stdio_mode);
        std::FILE* stream = ::fdopen(fd, binary_mode);
        if (stream == nullptr) ::close(fd);
        return stream;
    }
    if ((parsed.flags & O_ACCMODE) == O_RDWR) drop_final_end_of_text(fd);
    TextFile* file = nullptr;
    try {
        file = new TextFile{fd};
    } catch (const std::bad_alloc&) {
        ::close(fd);
        errno = ENOMEM;
        return nullptr;
    }
    const cookie_io_functions_t functions = {read_text, write_text, seek_text, close_text};
    std::FILE* stream = ::fopencookie(file, parsed.stdio_mode, functions);
    if (stream == nullptr) close_text(file);
    return stream;
}

}  // namespace platform
}  // namespace vokari
