// What the reading tests share: Shift_JIS and back, a file's bytes, a module
// folder with the bundled voice's analyser dictionary, and the script of an
// answer.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "tools/text/shift_jis.h"

namespace reading_test {

namespace fs = std::filesystem;

// The bundled voice and its analyser dictionary.
inline const fs::path kVoiceDir = fs::path(VOKARI_SOURCE_DIR) / "voices/default";
inline const fs::path kDictionary = kVoiceDir / "naist-jdic";

inline std::string sjis(const std::string& utf8) { return vokari::text::utf8_to_shift_jis(utf8).shift_jis; }
inline std::string utf8(const std::string& sjis) { return vokari::text::shift_jis_to_utf8(sjis).utf8; }

inline std::string read_bytes(const fs::path& path) {
    std::ostringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
}

// A module folder with the settings text `settings` and the analyser
// dictionary linked in as "naist-jdic", removed at the end.
struct Folder {
    fs::path dir = fs::temp_directory_path() / ("vokari_reading_" + std::to_string(getpid()));
    explicit Folder(const std::string& settings) {
        fs::remove_all(dir);
        fs::create_directories(dir);
        std::ofstream(dir / "vokari.txt", std::ios::binary) << settings;
        fs::create_directory_symlink(kDictionary, dir / "naist-jdic");
    }
    ~Folder() { fs::remove_all(dir); }
};

// The script of an answer: its Result header, "" when it has none.
inline std::string result_of(const std::string& response) {
    const std::size_t at = response.find("Result: ");
    return at == std::string::npos ? "" : response.substr(at + 8, response.find("\r\n", at) - at - 8);
}

}  // namespace reading_test
