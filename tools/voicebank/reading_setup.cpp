// Turning on reading in a new module folder: its settings file and reading dictionary.
#include "reading_setup.h"

#include <filesystem>
#include <system_error>

#include "tools/text/program_path.h"
#include "tools/text/file_replacement.h"

namespace vokari {
namespace voicebank {
namespace fs = std::filesystem;

std::vector<std::string> reading_settings_lines() {
    return {"// Kanji, numbers and the particles ha/he are read aloud through the general",
            "// reading dictionary; a dictionary of your own goes in a line above it.",
            "voice.translate.dic,reading.dic"};
}

namespace {

bool present(const fs::path& path) {
    std::error_code ignored;
    return fs::exists(path, ignored);
}

}  // namespace

std::string set_up_reading(const std::string& module_dir, const std::vector<std::string>& voice_dirs) {
    const fs::path dir = fs::u8path(module_dir);
    if (present(dir / "vokari.txt")) return "";
    const std::string manual = "copy reading.dic from the release into " + module_dir +
                               " and write voice.translate.dic,reading.dic into its vokari.txt";
    std::string reason;
    if (!present(dir / "reading.dic")) {
        fs::path source;
        for (const std::string& voice : voice_dirs)
            if (present(fs::u8path(voice) / "reading.dic")) {
                source = fs::u8path(voice);
                break;
            }
        if (source.empty()) return "no reading dictionary found with vokari-voicebank; kanji stay silent: " + manual;
        if (!text::replace_file_with_copy((source / "reading.dic").u8string(), (dir / "reading.dic").u8string(),
                                          reason))
            return "cannot copy reading.dic into " + module_dir + ": " + reason + "; kanji stay silent: " + manual;
        for (const char* licence : {"READING-LICENSE.txt", "READING-LICENSE"})
            if (present(source / licence)) {
                text::replace_file_with_copy((source / licence).u8string(), (dir / "READING-LICENSE.txt").u8string(),
                                             reason);
                break;
            }
    }
    std::string settings = "// vokari.txt - settings of this voice, written by vokari-voicebank.\r\n";
    for (const std::string& line : reading_settings_lines()) settings += line + "\r\n";
    if (!text::replace_file((dir / "vokari.txt").u8string(), settings, reason))
        return "cannot write vokari.txt into " + module_dir + "; kanji stay silent: " + manual;
    return "vokari.txt written: kanji and numbers are read through reading.dic";
}

std::vector<std::string> bundled_voice_dirs(const char* argv0) {
    std::vector<std::string> dirs;
    std::error_code failure;
    fs::path program = text::running_program_path();
    if (program.empty() && argv0 != nullptr) program = fs::absolute(fs::u8path(argv0), failure);
    if (!program.empty()) {
        dirs.push_back(program.parent_path().u8string());
        dirs.push_back((program.parent_path() / "voices" / "default").u8string());
        // The release zip keeps the tools in a folder below the bundled voice.
        dirs.push_back(program.parent_path().parent_path().u8string());
    }
#ifdef VOKARI_BUNDLED_VOICE_DIR
    dirs.push_back(VOKARI_BUNDLED_VOICE_DIR);
#endif
    return dirs;
}

}  // namespace voicebank
}  // namespace vokari
