// Module directories for host_check, built with the test fixture voice.
#include "case_directory.h"

#include <cstdio>

#include "support/fixture_voice.h"

namespace host_check {

CaseDirectory::CaseDirectory(const std::vector<std::string>& settings_lines)
    : native_(fixture::temp_directory("host")), module_path_(native_) {
    for (char& c : module_path_)
        if (c == '\\') c = '/';
    fixture::VoiceOptions options;
    options.settings_lines = settings_lines;
    fixture::make_voice(native_, options);
}

CaseDirectory::~CaseDirectory() { fixture::remove_tree(native_); }

std::string CaseDirectory::file(const std::string& name) const {
    const std::vector<std::uint8_t> bytes = fixture::read_file(module_path_ + "/" + name);
    return std::string(bytes.begin(), bytes.end());
}

bool CaseDirectory::has_file(const std::string& name) const {
    std::FILE* stream = std::fopen((module_path_ + "/" + name).c_str(), "rb");
    if (stream != nullptr) std::fclose(stream);
    return stream != nullptr;
}

}  // namespace host_check
