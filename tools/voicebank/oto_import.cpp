// The bank is read straight from its folder: oto.ini files when they are
// parsed, recordings only when an entry needs them.
#include "oto_import.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

#include "audio_input.h"
#include "bank_writer.h"
#include "oto_bank.h"

namespace vokari {
namespace voicebank {
namespace fs = std::filesystem;
namespace {

class FolderBank : public OtoBankFiles {
public:
    explicit FolderBank(const std::string& source) : source_(source), top_(fs::u8path(source)) {}

    std::vector<std::string> sub_folders() const override {
        std::vector<fs::path> below;
        std::error_code failure;
        for (fs::recursive_directory_iterator it(top_, failure), end; !failure && it != end; it.increment(failure)) {
            std::error_code ignored;
            if (it->is_directory(ignored)) below.push_back(it->path());
        }
        std::sort(below.begin(), below.end());
        std::vector<std::string> folders;
        for (const fs::path& folder : below) folders.push_back(fs::relative(folder, top_).generic_u8string());
        return folders;
    }

    bool is_folder(const std::string& folder) const override {
        std::error_code ignored;
        return fs::is_directory(at(folder), ignored);
    }

    std::vector<std::string> file_names(const std::string& folder) const override {
        std::vector<std::string> names;
        std::error_code failure;
        fs::directory_iterator it(at(folder), failure);
        if (failure) return names;
        for (const fs::directory_entry& entry : it) {
            std::error_code ignored;
            if (entry.is_regular_file(ignored)) names.push_back(entry.path().filename().u8string());
        }
        return names;
    }

    std::string read(const std::string& path) const override {
        std::ifstream in(at(path), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    AudioReadResult recording(const std::string& path) const override { return read_recording(at(path).u8string()); }

    std::string describe(const std::string& folder) const override {
        return folder.empty() ? source_ : at(folder).u8string();
    }

private:
    fs::path at(const std::string& relative) const { return relative.empty() ? top_ : top_ / fs::u8path(relative); }

    std::string source_;
    fs::path top_;
};

}  // namespace

int import_oto_bank(const Options& options) {
    const FolderBank bank(options.source);
    const BankSink to_module_dir = [&](const std::vector<SlotSample>& samples, const BankTuning& tuning,
                                       std::string& error) {
        return write_bank(options.module_dir, options.speaker, samples, tuning, error);
    };
    return import_oto_files(bank, options.subbank, options.speaker, to_module_dir, stdout, stderr);
}

}  // namespace voicebank
}  // namespace vokari
