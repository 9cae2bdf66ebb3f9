// The one reader of sample files: the mu-law bytes that follow a file's
// header, for the phoneme bank, the sound effects and a sound file read back.
#pragma once

#include <cstdint>
#include <vector>

namespace vokari {

// Length of the file at `path` in bytes (binary), or -1 when it cannot be
// opened or measured.
long file_length(const char* path);

// What a sample read does with bytes the file does not give.
enum class MissingBytes {
    Fail,     // the read fails and `data` is left empty
    Silence,  // they stay silent (0xFF): `data` always has its full size
};

// Reads the bytes of the file at `path` (`length` bytes in all) that follow
// its first `header_bytes` bytes into `data`.  With MissingBytes::Fail: false,
// with `data` empty, when the file is shorter than its header, cannot be read
// in full, or the buffer cannot be had.  With MissingBytes::Silence: `data`
// gets length - header_bytes bytes (0xFF where the file gives none) and the
// result is true unless the file is shorter than its header.
bool read_sample_file(const char* path, long length, long header_bytes, std::vector<std::uint8_t>& data,
                      MissingBytes missing = MissingBytes::Fail);

}  // namespace vokari
