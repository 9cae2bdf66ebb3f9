// The one reader of sample files.
#include "voice_data/sample_file.h"

#include <climits>
#include <cstdio>
#include <new>

#include "platform/platform.h"

namespace vokari {

namespace {

constexpr std::uint8_t kSilentByte = 0xFF;

// Gives `data` the first `bytes` bytes that `file` yields after `skip` bytes.
// Leaves `data` empty and returns false when the stream gives fewer bytes
// or the buffer cannot be had.
bool read_all(std::FILE* file, long skip, std::int32_t bytes, std::vector<std::uint8_t>& data) {
    data.clear();
    if (skip > 0 && std::fseek(file, skip, SEEK_SET) != 0) return false;
    try {
        data.resize(static_cast<std::size_t>(bytes));
    } catch (const std::bad_alloc&) {
        return false;
    }
    if (bytes > 0 && std::fread(data.data(), 1, data.size(), file) != data.size()) {
        std::vector<std::uint8_t>().swap(data);
        return false;
    }
    return true;
}

// `data` becomes `bytes` silent bytes, then takes whatever the file at `path`
// gives after its first `skip` bytes.
void read_over_silence(const char* path, long skip, std::int32_t bytes, std::vector<std::uint8_t>& data) {
    data.assign(static_cast<std::size_t>(bytes), kSilentByte);
    std::FILE* file = platform::open_file(path, "rb");
    if (file == nullptr) return;
    if (std::fseek(file, skip, SEEK_SET) == 0 && bytes > 0) std::fread(data.data(), 1, data.size(), file);
    std::fclose(file);
}

}  // namespace

long file_length(const char* path) {
    std::FILE* file = platform::open_file(path, "rb");
    if (!file) return -1;
    long length = -1;
    if (std::fseek(file, 0, SEEK_END) == 0) length = std::ftell(file);
    std::fclose(file);
    return length;
}

bool read_sample_file(const char* path, long length, long header_bytes, std::vector<std::uint8_t>& data,
                      MissingBytes missing) {
    const long sample_bytes = length - header_bytes;
    const bool measurable = sample_bytes >= 0 && sample_bytes <= INT32_MAX;
    if (missing == MissingBytes::Silence) {
        if (!measurable) return false;
        read_over_silence(path, header_bytes, static_cast<std::int32_t>(sample_bytes), data);
        return true;
    }
    bool loaded = false;
    if (measurable) {
        if (std::FILE* file = platform::open_file(path, "rb")) {
            loaded = read_all(file, header_bytes, static_cast<std::int32_t>(sample_bytes), data);
            std::fclose(file);
        }
    }
    if (!loaded) std::vector<std::uint8_t>().swap(data);
    return loaded;
}

}  // namespace vokari
