// The oto.ini reader on any file content, then the whole import of a CV bank
// whose oto.ini it is: a bank held in memory with a few synthetic recordings,
// so that every entry the reader lets through meets the alias, duplicate and
// cut rules and the bank writer.  Checks what the reader promises: entries
// only from a text of a known encoding, names in valid UTF-8, line numbers
// that exist and ascend.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "tools/text/utf8.h"
#include "tools/voicebank/bank_writer.h"
#include "tools/voicebank/kana_alias.h"
#include "tools/voicebank/oto_bank.h"
#include "tools/voicebank/oto_ini.h"
#include "support/fuzz_check.h"

using fuzz_support::require;

namespace {

std::size_t line_count(const std::string& bytes) {
    std::size_t lines = 1;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\n' || (bytes[i] == '\r' && (i + 1 == bytes.size() || bytes[i + 1] != '\n'))) ++lines;
    }
    return lines;
}

// 0.3 s of a voiced tone after 80 ms of noise: something the
// analysis can find a consonant, an onset and a period in.
vokari::voicebank::AudioReadResult make_recording(double period) {
    vokari::voicebank::AudioReadResult recording;
    const long noise = vokari::voicebank::kBankRate * 80 / 1000, voiced = vokari::voicebank::kBankRate * 3 / 10;
    std::uint32_t seed = 12345;
    for (long i = 0; i < noise; ++i) {
        seed = seed * 1103515245u + 12345u;
        recording.samples.push_back(0.05f * (static_cast<float>(seed >> 16 & 0x7fff) / 16384.0f - 1.0f));
    }
    for (long i = 0; i < voiced; ++i) {
        const double phase = 2.0 * M_PI * static_cast<double>(i) / period;
        recording.samples.push_back(static_cast<float>(0.3 * std::sin(phase) + 0.15 * std::sin(3 * phase)));
    }
    recording.seconds = static_cast<double>(recording.samples.size()) / vokari::voicebank::kBankRate;
    return recording;
}

// A bank of one folder: the oto.ini under test and recordings for the file
// names a hand-written oto.ini would use.  Names it does not hold read as
// broken files.
class MemoryBank : public vokari::voicebank::OtoBankFiles {
public:
    explicit MemoryBank(const std::string& oto) : oto_(oto) {}
    std::vector<std::string> sub_folders() const override { return {}; }
    bool is_folder(const std::string& folder) const override { return folder.empty(); }
    std::vector<std::string> file_names(const std::string& folder) const override {
        if (!folder.empty()) return {};
        std::vector<std::string> names{"oto.ini"};
        for (const auto& entry : recordings()) names.push_back(entry.first);
        return names;
    }
    std::string read(const std::string& path) const override { return path == "oto.ini" ? oto_ : std::string(); }
    vokari::voicebank::AudioReadResult recording(const std::string& path) const override {
        const auto found = recordings().find(path);
        if (found != recordings().end()) return found->second;
        vokari::voicebank::AudioReadResult missing;
        missing.error = "no such file";
        return missing;
    }
    std::string describe(const std::string& folder) const override { return folder.empty() ? "bank" : folder; }

private:
    static const std::map<std::string, vokari::voicebank::AudioReadResult>& recordings() {
        static const std::map<std::string, vokari::voicebank::AudioReadResult> held{
            {"a.wav", make_recording(180.0)},
            {"ka.wav", make_recording(200.0)},
            {"\xE3\x81\x8B.wav", make_recording(190.0)},  // か.wav
            {"s.wav", make_recording(400.0)},
        };
        return held;
    }
    std::string oto_;
};

// Importing is the slow part; a file with many entries tells the reader
// nothing more than its first lines do.
constexpr std::size_t kMaxImportedEntries = 8;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static std::FILE* sink = std::fopen("/dev/null", "w");
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const vokari::voicebank::OtoFile parsed = vokari::voicebank::parse_oto_ini(bytes);

    require(!parsed.encoding.empty() || parsed.entries.empty(), "entries from a text of no known encoding");
    const std::size_t lines = line_count(bytes);
    int previous = 0;
    for (const vokari::voicebank::OtoEntry& entry : parsed.entries) {
        require(entry.line > previous && static_cast<std::size_t>(entry.line) <= lines, "entry line out of order");
        previous = entry.line;
        require(!vokari::text::first_invalid_utf8(entry.file) && !vokari::text::first_invalid_utf8(entry.alias),
                "entry names not valid UTF-8");
        require(std::isfinite(entry.offset_ms) && std::isfinite(entry.consonant_ms) && std::isfinite(entry.cutoff_ms) &&
                    std::isfinite(entry.preutterance_ms) && std::isfinite(entry.overlap_ms),
                "a time that is not a number");
        const vokari::voicebank::AliasSlot slot = vokari::voicebank::slot_of_alias(entry.alias);
        require((slot.kind == vokari::voicebank::AliasKind::Other) == (slot.slot == -1) && slot.slot < 107,
                "alias slot out of range");
    }
    for (const vokari::voicebank::OtoProblem& problem : parsed.problems)
        require(problem.line >= 0 && static_cast<std::size_t>(problem.line) <= lines, "problem line out of range");

    if (parsed.entries.size() <= kMaxImportedEntries) {
        const MemoryBank bank(bytes);
        const vokari::voicebank::BankSink store = [](const std::vector<vokari::voicebank::SlotSample>& samples,
                                                     const vokari::voicebank::BankTuning& tuning, std::string&) {
            for (int speaker = 0; speaker < 2; ++speaker) vokari::voicebank::bank_files(speaker, samples, tuning);
            return true;
        };
        vokari::voicebank::import_oto_files(bank, "", 0, store, sink, sink);
    }
    return 0;
}
