// The reading step's dictionary loader fed damaged folders: the first input
// byte picks one of the small files of a copy of the bundled voice's
// dictionary, the rest replaces its content (cut short, changed, or anything
// else).  Opening must refuse it or work; it must never end the process.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "reading/text_reader.h"

namespace fs = std::filesystem;

namespace {

const char* const kFiles[] = {"checksums", "dicrc", "unk.dic", "char.bin"};

// A private folder: the big files linked, the small ones copied.
const fs::path& folder() {
    static const fs::path dir = [] {
        const fs::path source = fs::path(VOKARI_SOURCE_DIR) / "voices/default/naist-jdic";
        const fs::path made = fs::temp_directory_path() / "vokari_fuzz_reading_dictionary";
        fs::remove_all(made);
        fs::create_directories(made);
        for (const char* big : {"sys.dic", "matrix.bin"}) fs::create_symlink(source / big, made / big);
        for (const char* small : kFiles) fs::copy_file(source / small, made / small);
        return made;
    }();
    return dir;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const fs::path source = fs::path(VOKARI_SOURCE_DIR) / "voices/default/naist-jdic";
    const char* name = kFiles[data[0] % (sizeof kFiles / sizeof *kFiles)];
    std::ofstream(folder() / name, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data + 1), static_cast<std::streamsize>(size - 1));
    vokari::TextReader reader;
    if (reader.open(folder().string()).empty()) {
        std::vector<vokari::ReadWord> words;
        const std::string text = "\x8d\xa1\x93\xfa\x82\xcd\x82\x52\x8e\x9e";  // 今日は３時
        reader.analyse(text.data(), text.size(), words);
    }
    fs::copy_file(source / name, folder() / name, fs::copy_options::overwrite_existing);
    return 0;
}
