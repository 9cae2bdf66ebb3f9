// The analyser dictionary's files: each listed, present and of the checksum
// its list gives, before the analyser opens any.
#include "reading/dictionary_files.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/platform.h"

namespace vokari {

namespace {

// The files the analyser opens; each must be listed.
const char* const kRequiredFiles[] = {"sys.dic", "unk.dic", "matrix.bin", "char.bin", "dicrc"};
constexpr std::size_t kChunk = 1 << 16;  // a multiple of 8

bool parse_line(const char* line, std::string& name, std::uint64_t& size, std::uint64_t& sum) {
    char file[64];
    unsigned long long file_size = 0, file_sum = 0;
    if (std::sscanf(line, "%63s %llu %16llx", file, &file_size, &file_sum) != 3) return false;
    name = file;
    size = file_size;
    sum = file_sum;
    return true;
}

std::string check_file(const std::string& folder, const std::string& name, std::uint64_t size, std::uint64_t sum) {
    const std::string path = folder + "/" + name;
    platform::ScopedFile file(platform::open_file(path.c_str(), "rb"));
    if (!file) return name + ": missing";
    std::vector<unsigned char> chunk(kChunk);
    std::uint64_t state = dictionary_sum_start(size);
    std::uint64_t seen = 0;
    for (;;) {
        const std::size_t got = std::fread(chunk.data(), 1, kChunk, file.get());
        if (got == 0) break;
        seen += got;
        if (seen > size) return name + ": longer than listed";
        state = dictionary_sum_update(state, chunk.data(), got);
    }
    if (seen != size) return name + ": size " + std::to_string(seen) + " instead of " + std::to_string(size);
    if (state != sum) return name + ": damaged (sum differs)";
    return std::string();
}

}  // namespace

std::uint64_t dictionary_sum_start(std::uint64_t size) { return 0x9E3779B97F4A7C15ull ^ size; }

namespace {

std::uint64_t mix(std::uint64_t state, std::uint64_t word) {
    state = (state ^ word) * 0x100000001B3ull;
    return state ^ (state >> 29);
}

}  // namespace

std::uint64_t dictionary_sum_update(std::uint64_t state, const unsigned char* bytes, std::size_t size) {
    std::size_t at = 0;
    // Where the machine's byte order is the sum's, whole words are read as
    // they lie: summing the dictionary is most of a voice's load time.
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
    for (; size - at >= 8; at += 8) {
        std::uint64_t word;
        std::memcpy(&word, bytes + at, 8);
        state = mix(state, word);
    }
#endif
    for (; at < size; at += 8) {
        std::uint64_t word = 0;
        const std::size_t take = size - at < 8 ? size - at : 8;
        for (std::size_t k = 0; k < take; ++k) word |= static_cast<std::uint64_t>(bytes[at + k]) << (8 * k);
        state = mix(state, word);
    }
    return state;
}

std::string check_dictionary_files(const std::string& folder) {
    const std::string list_path = folder + "/checksums";
    platform::ScopedFile list(platform::open_file(list_path.c_str(), "rb"));
    if (!list) return "no checksums file";
    bool listed[sizeof kRequiredFiles / sizeof *kRequiredFiles] = {};
    char line[256];
    int lines = 0;
    while (std::fgets(line, sizeof line, list.get()) != nullptr) {
        if (++lines > 64) return "checksums: too long";
        std::string name;
        std::uint64_t size = 0, sum = 0;
        if (!parse_line(line, name, size, sum)) return "checksums: unreadable line";
        std::size_t index = 0;
        while (index < sizeof kRequiredFiles / sizeof *kRequiredFiles && name != kRequiredFiles[index]) ++index;
        if (index == sizeof kRequiredFiles / sizeof *kRequiredFiles) continue;
        const std::string problem = check_file(folder, name, size, sum);
        if (!problem.empty()) return problem;
        listed[index] = true;
    }
    for (std::size_t i = 0; i < sizeof kRequiredFiles / sizeof *kRequiredFiles; ++i)
        if (!listed[i]) return std::string(kRequiredFiles[i]) + ": not listed in checksums";
    return std::string();
}

}  // namespace vokari
