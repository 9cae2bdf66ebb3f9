// Every entry is checked against its file before anything is written, and a
// slot whose first entry is unusable falls back to the next one that names
// the same syllable; the bank is written once, all or nothing.
#include "oto_import.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <system_error>
#include <vector>

#include <unistd.h>

#include "audio_input.h"
#include "bank_build.h"
#include "folder_index.h"
#include "kana_alias.h"
#include "oto_ini.h"
#include "recording_checks.h"
#include "slot_analysis.h"
#include "syllables.h"

namespace voicebank {
namespace fs = std::filesystem;
namespace {

constexpr double kShortestCutMs = 20.0;  // less than this is no syllable

struct OtoSource {
    fs::path folder;    // where its WAV files are
    std::string label;  // its path relative to the bank, for messages
    OtoFile parsed;
};

struct Candidate {
    const OtoSource* source = nullptr;
    const OtoEntry* entry = nullptr;
    std::string where() const { return source->label + ":" + std::to_string(entry->line); }
};

long to_samples(double ms) { return std::lround(ms * kBankRate / 1000.0); }

std::string read_file(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The oto.ini files to read: the one of the sub-folder `subbank`, or the
// bank's own and those of all its sub-folders, in name order.
std::vector<fs::path> find_oto_files(const fs::path& bank, const std::string& subbank) {
    std::vector<fs::path> folders;
    if (!subbank.empty()) {
        folders.push_back(bank / subbank);
    } else {
        folders.push_back(bank);
        std::vector<fs::path> below;
        std::error_code failure;
        for (fs::recursive_directory_iterator it(bank, failure), end; !failure && it != end; it.increment(failure)) {
            std::error_code ignored;
            if (it->is_directory(ignored)) below.push_back(it->path());
        }
        std::sort(below.begin(), below.end());
        folders.insert(folders.end(), below.begin(), below.end());
    }
    std::vector<fs::path> files;
    for (const fs::path& folder : folders) {
        const std::string path = FolderIndex(folder.string()).find("oto.ini");
        if (!path.empty()) files.push_back(path);
    }
    return files;
}

class RecordingCache {
public:
    const AudioReadResult& get(const std::string& path) {
        auto it = recordings_.find(path);
        if (it == recordings_.end()) it = recordings_.emplace(path, read_recording(path)).first;
        return it->second;
    }

private:
    std::map<std::string, AudioReadResult> recordings_;
};

// The span [begin, end) of the entry's syllable in its file of
// `file_ms` milliseconds, or an error in words.
std::string check_regions(const OtoEntry& e, double file_ms, double& begin_ms, double& end_ms) {
    char text[200];
    begin_ms = e.offset_ms;
    end_ms = e.cutoff_ms >= 0.0 ? file_ms - e.cutoff_ms : e.offset_ms - e.cutoff_ms;
    if (e.offset_ms < 0.0 || e.consonant_ms < 0.0 || e.preutterance_ms < 0.0) {
        std::snprintf(text, sizeof text, "negative region (offset %g, consonant %g, preutterance %g ms)", e.offset_ms,
                      e.consonant_ms, e.preutterance_ms);
        return text;
    }
    const double half_sample_ms = 500.0 / kBankRate;
    if (e.offset_ms >= file_ms || end_ms > file_ms + half_sample_ms) {
        std::snprintf(text, sizeof text, "entry past the end of its file (%.1f ms long; the entry runs %.1f to %.1f ms)",
                      file_ms, begin_ms, end_ms);
        return text;
    }
    if (end_ms - begin_ms < kShortestCutMs) {
        std::snprintf(text, sizeof text, "cutoff at %.1f ms crosses or nearly meets the offset at %.1f ms", end_ms,
                      begin_ms);
        return text;
    }
    if (e.consonant_ms > end_ms - begin_ms || e.preutterance_ms >= end_ms - begin_ms) {
        std::snprintf(text, sizeof text, "crossing regions: consonant %g ms or preutterance %g ms past the cutoff (%.1f ms)",
                      e.consonant_ms, e.preutterance_ms, end_ms - begin_ms);
        return text;
    }
    return {};
}

// The sample of `slot` from candidate `c`, or false with `error` set.
bool build_sample(int slot, const Candidate& c, RecordingCache& cache, SlotSample& sample, std::string& error,
                  bool& left_out) {
    const FolderIndex folder(c.source->folder.string());
    std::string path = folder.find(c.entry->file);
    if (path.empty()) path = folder.find(c.entry->file_bytes);
    if (path.empty()) {
        error = c.entry->file + ": missing WAV file";
        return false;
    }
    const AudioReadResult& audio = cache.get(path);
    if (!audio.error.empty()) {
        error = c.entry->file + ": " + audio.error;
        return false;
    }
    double begin_ms = 0.0;
    double end_ms = 0.0;
    error = check_regions(*c.entry, audio.seconds * 1000.0, begin_ms, end_ms);
    if (!error.empty()) {
        error = c.entry->file + ": " + error;
        return false;
    }
    const long begin = std::min(to_samples(begin_ms), static_cast<long>(audio.samples.size()));
    const long end = std::clamp(to_samples(end_ms), begin, static_cast<long>(audio.samples.size()));
    const std::vector<float> cut(audio.samples.begin() + begin, audio.samples.begin() + end);
    if (audio.clipped) {
        error = c.entry->file + ": clipped (the recording reaches full scale and is cut off)";
        left_out = true;
        return false;
    }
    if (is_nearly_silent(cut)) {
        error = c.entry->file + ": silent or nearly silent between offset and cutoff (below -50 dBFS)";
        left_out = true;
        return false;
    }
    sample = analyse_marked_slot(slot, cut, to_samples(c.entry->consonant_ms), to_samples(c.entry->preutterance_ms));
    return true;
}

}  // namespace

int import_oto_bank(const Options& options) {
    const fs::path bank(options.source);
    if (!options.subbank.empty()) {
        std::error_code ignored;
        if (!fs::is_directory(bank / options.subbank, ignored)) {
            std::fprintf(stderr, "vokari-voicebank: no sub-folder %s in %s; nothing changed\n",
                         options.subbank.c_str(), options.source.c_str());
            return kExitFailed;
        }
    }
    const std::vector<fs::path> oto_files = find_oto_files(bank, options.subbank);
    if (oto_files.empty()) {
        std::fprintf(stderr, "vokari-voicebank: no oto.ini in %s; nothing changed\n",
                     (options.subbank.empty() ? bank : bank / options.subbank).string().c_str());
        return kExitFailed;
    }

    BuildReport report;
    std::vector<OtoSource> sources;
    sources.reserve(oto_files.size());
    for (const fs::path& file : oto_files) {
        OtoSource source;
        source.folder = file.parent_path();
        source.label = fs::relative(file, bank).generic_string();
        source.parsed = parse_oto_ini(read_file(file));
        std::printf("%s: %s, %zu entries\n", source.label.c_str(),
                    source.parsed.encoding.empty() ? "encoding unknown" : source.parsed.encoding.c_str(),
                    source.parsed.entries.size());
        for (const OtoProblem& problem : source.parsed.problems) {
            report.notes.push_back(source.label + ":" + std::to_string(problem.line) + ": " + problem.message);
        }
        sources.push_back(std::move(source));
    }

    // Candidates per slot: every plain entry in reading order, then every
    // phrase-start entry.  A repeated alias is listed and not used.
    std::vector<std::vector<Candidate>> plain(kSyllableCount), phrase_start(kSyllableCount);
    std::map<std::string, std::string> first_of_alias;
    std::vector<std::string> ignored;
    for (const OtoSource& source : sources) {
        for (const OtoEntry& entry : source.parsed.entries) {
            const Candidate candidate{&source, &entry};
            const auto seen = first_of_alias.emplace(entry.alias, candidate.where());
            if (!seen.second) {
                report.notes.push_back(candidate.where() + ": alias \"" + entry.alias + "\" again (first at " +
                                       seen.first->second + "); the first one is used");
                continue;
            }
            const AliasSlot alias = slot_of_alias(entry.alias);
            if (alias.kind == AliasKind::Other) {
                ignored.push_back("\"" + entry.alias + "\" (" + candidate.where() + ")");
            } else {
                (alias.kind == AliasKind::Plain ? plain : phrase_start)[alias.slot].push_back(candidate);
            }
        }
    }
    if (!ignored.empty()) {
        std::string examples;
        for (size_t i = 0; i < ignored.size() && i < 3; ++i) examples += (i ? ", " : "") + ignored[i];
        std::printf("%zu entries ignored (VCV or not a syllable of the bank), e.g. %s\n", ignored.size(),
                    examples.c_str());
    }

    // Progress on a terminal only: a log file gets the report alone.
    const bool show_progress = isatty(fileno(stderr)) != 0;
    RecordingCache cache;
    std::vector<SlotSample> samples;
    std::vector<std::string> names;
    for (int slot = 0; slot < kSyllableCount; ++slot) {
        std::vector<Candidate> candidates = plain[slot];
        candidates.insert(candidates.end(), phrase_start[slot].begin(), phrase_start[slot].end());
        const std::string syllable = std::string(kSyllables[slot].kana) + " " + kSyllables[slot].romaji;
        bool built = false;
        for (const Candidate& candidate : candidates) {
            if (show_progress) std::fprintf(stderr, "\rimporting %3d/%d %-16s", slot + 1, kSyllableCount, kSyllables[slot].romaji);
            SlotSample sample;
            std::string error;
            bool left_out = false;
            if (build_sample(slot, candidate, cache, sample, error, left_out)) {
                samples.push_back(std::move(sample));
                names.push_back(syllable + " (" + candidate.where() + ")");
                built = true;
                break;
            }
            (left_out ? report.left_out : report.notes).push_back(candidate.where() + ": " + error);
        }
        if (!built) report.empty.push_back(syllable);
    }
    if (show_progress) std::fprintf(stderr, "\r%40s\r", "");
    std::printf("%zu of %d slots mapped from %zu oto.ini file(s); %zu entries ignored\n", samples.size(),
                kSyllableCount, sources.size(), ignored.size());
    if (samples.empty()) {
        for (const std::string& note : report.notes) std::fprintf(stderr, "  %s\n", note.c_str());
        std::fprintf(stderr, "vokari-voicebank: no usable syllable in %s; nothing changed\n", options.source.c_str());
        return kExitFailed;
    }
    return tune_and_write(std::move(samples), std::move(names), report, options.speaker, options.module_dir);
}

}  // namespace voicebank
