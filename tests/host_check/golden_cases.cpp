// The golden-case runner (file format in tests/golden/README.md).
#include "golden_cases.h"

#include <dirent.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "case_directory.h"
#include "host_module.h"
#include "support/text_files.h"
#include "support/fixture_voice.h"

namespace host_check {

namespace {

const std::string kRequestExtension = ".request";

std::vector<std::string> case_names(const std::string& golden_dir) {
    std::vector<std::string> names;
    if (DIR* directory = opendir(golden_dir.c_str())) {
        while (dirent* entry = readdir(directory)) {
            const std::string file = entry->d_name;
            if (file.size() > kRequestExtension.size() &&
                file.compare(file.size() - kRequestExtension.size(), kRequestExtension.size(), kRequestExtension) == 0)
                names.push_back(file.substr(0, file.size() - kRequestExtension.size()));
        }
        closedir(directory);
    }
    std::sort(names.begin(), names.end());
    return names;
}

bool read_text(const std::string& path, std::string& text) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return false;
    std::fclose(file);
    const std::vector<std::uint8_t> bytes = fixture::read_file(path);
    text.assign(bytes.begin(), bytes.end());
    return true;
}

// The lines of a .settings file, without their line ends.
std::vector<std::string> settings_lines(const std::string& text) {
    std::vector<std::string> lines;
    std::string line;
    for (char c : text) {
        if (c == '\n') {
            lines.push_back(line);
            line.clear();
        } else if (c != '\r') {
            line += c;
        }
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

std::string trimmed(const std::string& text) {
    const std::size_t begin = text.find_first_not_of(" \t\r\n");
    if (begin == std::string::npos) return std::string();
    return text.substr(begin, text.find_last_not_of(" \t\r\n") - begin + 1);
}

void keep_actual(const std::string& name, const std::string& bytes) {
    fixture::make_directory("golden-actual");
    fixture::write_text("golden-actual/" + name, bytes);
}

void run_case(const std::string& library, const std::string& base, const std::string& name, Report& report) {
    std::string request;
    std::string expected_response;
    std::string settings_text;
    std::string expected_fnv;
    std::string expected_log;
    read_text(base + ".request", request);
    if (!report.check(read_text(base + ".response", expected_response), name, "no .response file")) return;
    read_text(base + ".settings", settings_text);
    const bool wants_fnv = read_text(base + ".wav.fnv1a", expected_fnv);
    const bool wants_log = read_text(base + ".log", expected_log);

    std::vector<std::string> lines = settings_lines(settings_text);
    if (wants_log) lines.push_back("log, vokari.log");
    HostModule module;
    if (!report.check(module.open(library), name, module.error())) return;
    CaseDirectory directory(lines);
    module.load(directory.module_path());
    const Response response = module.request(request);
    if (!report.check(response.bytes == expected_response, name + " response",
                      difference(expected_response, response.bytes)))
        keep_actual(name + ".response", response.bytes);
    if (wants_fnv) {
        const std::string wav = directory.file("out.wav");
        const std::string actual = fixture::fnv1a_hex(std::vector<std::uint8_t>(wav.begin(), wav.end()));
        if (!report.check(
                !wav.empty() && actual == trimmed(expected_fnv), name + " out.wav",
                "FNV-1a " + actual + " of " + std::to_string(wav.size()) + " bytes, expected " + trimmed(expected_fnv)))
            keep_actual(name + ".wav.fnv1a", actual + "\n");
    }
    // The log as it stands after the request, before unload adds its end line.
    if (wants_log) {
        const std::string log = fixture::normalised_log(directory.file("vokari.log"), directory.module_path());
        if (!report.check(log == expected_log, name + " log", difference(expected_log, log)))
            keep_actual(name + ".log", log);
    }
    module.unload();
    module.close();
}

}  // namespace

void run_golden_cases(const std::string& library_path, const std::string& golden_dir, Report& report) {
    const std::vector<std::string> names = case_names(golden_dir);
    report.check(!names.empty(), "golden cases found", "no .request files in " + golden_dir);
    for (const std::string& name : names) run_case(library_path, golden_dir + "/" + name, name, report);
}

}  // namespace host_check
