// The reading step's dictionary loader fed damaged folders: the first input
// byte picks one of the small files of a copy of the bundled voice's
// dictionary, the rest replaces its content (cut short, changed, or anything
// else).  Opening must refuse it or work; it must never end the process.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "reading/text_reader.h"

namespace fs = std::filesystem;

namespace {

const char* const kFiles[] = {"checksums", "dicrc", "unk.dic", "char.bin"};
constexpr std::size_t kFileCount = sizeof kFiles / sizeof *kFiles;

std::string read_file(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void write_file(const fs::path& path, const char* bytes, std::size_t size) {
    std::ofstream(path, std::ios::binary | std::ios::trunc).write(bytes, static_cast<std::streamsize>(size));
}

// The small files as the bundled voice has them, read once: restored with
// plain writes, since a kernel-side file copy can be cut short by the fuzzer's
// timer signal.
const std::string& original(std::size_t index) {
    static const std::vector<std::string> files = [] {
        const fs::path source = fs::path(VOKARI_SOURCE_DIR) / "voices/default/naist-jdic";
        std::vector<std::string> read;
        for (const char* small : kFiles) read.push_back(read_file(source / small));
        return read;
    }();
    return files[index];
}

// A private folder: the big files linked, the small ones written.
const fs::path& folder() {
    static const fs::path dir = [] {
        const fs::path source = fs::path(VOKARI_SOURCE_DIR) / "voices/default/naist-jdic";
        const fs::path made = fs::temp_directory_path() / "vokari_fuzz_reading_dictionary";
        fs::remove_all(made);
        fs::create_directories(made);
        for (const char* big : {"sys.dic", "matrix.bin"}) fs::create_symlink(source / big, made / big);
        for (std::size_t i = 0; i < kFileCount; ++i)
            write_file(made / kFiles[i], original(i).data(), original(i).size());
        return made;
    }();
    return dir;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::size_t index = data[0] % kFileCount;
    write_file(folder() / kFiles[index], reinterpret_cast<const char*>(data + 1), size - 1);
    vokari::TextReader reader;
    if (reader.open(folder().string()).empty()) {
        std::vector<vokari::ReadWord> words;
        const std::string text = "\x8d\xa1\x93\xfa\x82\xcd\x82\x52\x8e\x9e";  // 今日は３時
        reader.analyse(text.data(), text.size(), words);
    }
    write_file(folder() / kFiles[index], original(index).data(), original(index).size());
    return 0;
}
