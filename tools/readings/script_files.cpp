// Choosing the files of a folder that hold script text.
#include "tools/readings/script_files.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <set>
#include <system_error>

#include "vokari_settings_text.h"

// Names are UTF-8 (on Windows too, where a plain std::string path would be
// taken in the system's code page): u8path in, u8string out.
namespace fs = std::filesystem;

namespace vokari {
namespace readings {

const char* const kOwnOutputFirstLine = "// Reading dictionary written by vokari-readings";

namespace {

std::string lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

bool is_folder(const fs::path& path) {
    std::error_code error;
    return fs::is_directory(path, error);
}

// The file names, in lower case, that the settings file of `dir` names as
// dictionaries ("voice.translate.dic,NAME"), read as the module reads them,
// with the bundled ones.
std::set<std::string> named_dictionaries(const fs::path& dir) {
    std::set<std::string> names = {"dictionary.txt", "reading.dic"};
    for (std::string name : setting_values(read_settings_text(dir.u8string().c_str()), "voice.translate.dic")) {
        std::replace(name.begin(), name.end(), '\\', '/');
        names.insert(lower(name));
    }
    return names;
}

bool is_module_folder(const fs::path& dir) {
    std::error_code error;
    return fs::exists(dir / "vokari.dll", error) || fs::exists(dir / "vokari.txt", error);
}

// A voice folder holds details.txt or WAV samples.
bool is_sample_folder(const fs::path& dir) {
    std::error_code error;
    if (fs::exists(dir / "details.txt", error)) return true;
    for (fs::directory_iterator it(dir, error), end; !error && it != end; it.increment(error))
        if (lower(it->path().extension().u8string()) == ".wav") return true;
    return false;
}

bool is_binary_name(const std::string& extension) {
    static const std::set<std::string> binary = {".wav", ".dll", ".exe", ".zip", ".png", ".jpg", ".jpeg", ".bmp",
                                                 ".gif", ".ico", ".ogg", ".mp3", ".pdf", ".lnk", ".so"};
    return binary.count(extension) > 0;
}

bool is_own_output(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::string first(std::char_traits<char>::length(kOwnOutputFirstLine), '\0');
    in.read(&first[0], static_cast<std::streamsize>(first.size()));
    return in && first == kOwnOutputFirstLine;
}

struct Walker {
    FoundFiles& found;
    fs::path output;

    void walk(const fs::path& dir) {
        std::error_code error;
        std::vector<fs::path> entries;
        for (fs::directory_iterator it(dir, error), end; !error && it != end; it.increment(error))
            if (it->path().filename().u8string()[0] != '.') entries.push_back(it->path());
        if (error) {
            found.scripts.push_back(dir.u8string());  // reported as unreadable by the reader
            return;
        }
        std::sort(entries.begin(), entries.end());
        const bool module = is_module_folder(dir);
        const std::set<std::string> dictionaries = module ? named_dictionaries(dir) : std::set<std::string>{};
        for (const fs::path& entry : entries) {
            const std::string name = lower(entry.filename().u8string());
            if (is_folder(entry)) {
                if (is_sample_folder(entry) || (name == "examples" && fs::exists(dir / "guide.md", error)))
                    ++found.sample_folders;
                else walk(entry);
                continue;
            }
            if (!output.empty() && fs::equivalent(entry, output, error)) {
                ++found.earlier_output;
            } else if (is_binary_name(lower(entry.extension().u8string()))) {
                if (name == "vokari.dll") ++found.module_files;
                else ++found.other_files;
            } else if (module && (name == "vokari.txt" || name == "vokari.log" || name == "guide.md" ||
                                  name.find("license") != std::string::npos || dictionaries.count(name) > 0)) {
                ++found.module_files;
            } else if (is_own_output(entry)) {
                ++found.earlier_output;
            } else {
                found.scripts.push_back(entry.u8string());
            }
        }
    }
};

std::string counted(std::size_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

}  // namespace

FoundFiles find_script_files(const std::vector<std::string>& inputs, const std::string& output) {
    FoundFiles found;
    Walker walker{found, output.empty() ? fs::path() : fs::u8path(output)};
    for (const std::string& input : inputs) {
        // A voice folder given by mistake holds no scripts: its details.txt
        // is tuning numbers.  (A character's own folder may hold WAVs.)
        const fs::path path = fs::u8path(input);
        std::error_code error;
        if (is_folder(path) && fs::exists(path / "details.txt", error) && !is_module_folder(path))
            ++found.sample_folders;
        else if (is_folder(path)) walker.walk(path);
        else found.scripts.push_back(input);
    }
    return found;
}

bool is_script_name(const std::string& file, const std::vector<std::string>& inputs) {
    if (std::find(inputs.begin(), inputs.end(), file) != inputs.end()) return true;
    const std::string extension = lower(fs::u8path(file).extension().u8string());
    return extension == ".txt" || extension == ".dic";
}

std::string skipped_summary(const FoundFiles& found) {
    std::vector<std::string> parts;
    if (found.module_files > 0)
        parts.push_back(counted(found.module_files, "file of the module (settings, dictionaries, licences, guide, DLL)",
                                "files of the module (settings, dictionaries, licences, guide, DLL)"));
    if (found.sample_folders > 0)
        parts.push_back(counted(found.sample_folders, "voice or example folder", "voice and example folders"));
    if (found.other_files > 0)
        parts.push_back(
            counted(found.other_files, "WAV or other file that is not text", "WAVs and other files that are not text"));
    if (found.earlier_output > 0)
        parts.push_back(counted(found.earlier_output, "dictionary it wrote before", "dictionaries it wrote before"));
    if (parts.empty()) return "";
    std::string line = "not read as scripts: ";
    for (std::size_t i = 0; i < parts.size(); ++i) line += (i == 0 ? "" : ", ") + parts[i];
    return line;
}

}  // namespace readings
}  // namespace vokari
