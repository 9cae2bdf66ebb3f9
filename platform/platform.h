// Platform layer: the only place that knows which operating system the module
// runs on.  On Windows every function is a thin wrapper around the Win32 call
// named in its comment; on Linux it is a small substitute that behaves the way
// the module expects the Windows call (or the Windows C runtime) to behave.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>

namespace vokari {
namespace platform {

// --- global memory blocks (GlobalAlloc(GMEM_FIXED) / GlobalFree) -----------
// A fixed block: the handle is the address of the bytes.
void* global_alloc(std::size_t bytes);  // null on failure
void global_free(void* block);          // null is ignored

// --- clocks -----------------------------------------------------------------
// Milliseconds since an arbitrary start, wrapping at 2^32 (GetTickCount).
std::uint32_t tick_count();

// Local date "MM/DD/YY" and time "HH:MM:SS" (8 characters each + NUL).
void local_date_time(char date[9], char time[9]);

// --- files ------------------------------------------------------------------
// fopen with the Windows C runtime's behaviour on every system:
//  - a backslash separator in `path` is a directory separator (on Linux it is
//    mapped to '/'; a 0x5C that is the trail byte of a Shift_JIS character is
//    left alone);
//  - text mode ("rt", "wt", "a+" without 'b') turns CR LF into LF on reading,
//    ends the stream at a byte 0x1A, and turns LF into CR LF on writing; a
//    text file opened for reading and writing ("a+") loses a final 0x1A;
//  - opening a directory fails.
// Close the stream with std::fclose.
std::FILE* open_file(const char* path, const char* mode);

// Closes a stream of open_file when it goes out of scope, also when memory
// runs out while the stream is read: no file handle stays open in the host.
struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using ScopedFile = std::unique_ptr<std::FILE, FileCloser>;

// CopyFileA(from, to, FALSE): copies, overwriting `to`.  True on success.
bool copy_file(const char* from, const char* to);

// DeleteFileA(path).  True on success.
bool delete_file(const char* path);

// The path as the operating system wants it (backslash separators mapped on
// Linux, unchanged on Windows).  Used by tools and tests.
void native_path(const char* path, char* out, std::size_t out_size);

// --- sound player (PlaySoundA) ---------------------------------------------
// A player plays a complete in-memory WAV image asynchronously and stops it
// again.  The real backend is chosen at first use.  set_player is a seam on
// purpose: tests and fuzzers install their own player (one that records every
// call, or plays nothing), and so could a front end with a sound device of its
// own.
struct Player {
    const char* name;
    // PlaySoundA(image, NULL, SND_ASYNC|SND_NODEFAULT|SND_MEMORY|SND_NOWAIT).
    // `image` stays alive and unchanged until purge() has returned.
    void (*play_memory)(const std::uint8_t* image, std::size_t bytes);
    // PlaySoundA(NULL, NULL, SND_PURGE): stops at once whatever is playing.
    void (*purge)();
};

// The player the module uses; never null.
const Player* current_player();
// Installs `player` (null restores the default backend).
void set_player(const Player* player);
// A player that plays nothing.
const Player* null_player();

}  // namespace platform
}  // namespace vokari
