// Every entry is checked against its file before anything is stored, and a
// slot whose first entry is unusable falls back to the next one that names
// the same syllable; the bank is stored once, all or nothing.
#include "oto_bank.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include <unistd.h>

#include "command_line.h"
#include "folder_index.h"
#include "kana_alias.h"
#include "oto_ini.h"
#include "recording_checks.h"
#include "slot_analysis.h"
#include "syllables.h"

namespace vokari {
namespace voicebank {
namespace {

constexpr double kShortestCutMs = 20.0;  // less than this is no syllable

struct OtoSource {
    std::string folder;  // where its WAV files are, relative to the bank
    std::string label;   // the oto.ini's path relative to the bank, for messages
    FolderIndex files;   // the files of `folder`, found in any letter case
    OtoFile parsed;
};

struct Candidate {
    const OtoSource* source = nullptr;
    const OtoEntry* entry = nullptr;
    std::string where() const { return source->label + ":" + std::to_string(entry->line); }
};

long to_samples(double ms) { return std::lround(ms * kBankRate / 1000.0); }

// `a` and `b` joined into one relative path ("" stands for the top).
std::string join(const std::string& a, const std::string& b) {
    if (a.empty()) return b;
    if (b.empty()) return a;
    return a + "/" + b;
}

// `folder` without "." parts, empty parts and "x/.." pairs, relative to the
// bank's top folder.
std::string normal_folder(const std::string& folder) {
    std::string normal = std::filesystem::path(folder).lexically_normal().generic_string();
    const std::size_t first = normal.find_first_not_of('/'), last = normal.find_last_not_of('/');
    normal = first == std::string::npos ? "" : normal.substr(first, last - first + 1);
    return normal == "." ? "" : normal;
}

// The folders whose oto.ini files are read: the sub-folder `subbank`, or
// the bank's own and all its sub-folders, in the bank's order.
std::vector<std::string> folders_to_read(const OtoBankFiles& bank, const std::string& subbank) {
    if (!subbank.empty()) return {normal_folder(subbank)};
    std::vector<std::string> folders{""};
    const std::vector<std::string> below = bank.sub_folders();
    folders.insert(folders.end(), below.begin(), below.end());
    return folders;
}

class RecordingCache {
public:
    explicit RecordingCache(const OtoBankFiles& bank) : bank_(bank) {}

    const AudioReadResult& get(const std::string& path) {
        auto it = recordings_.find(path);
        if (it == recordings_.end()) it = recordings_.emplace(path, bank_.recording(path)).first;
        return it->second;
    }

private:
    const OtoBankFiles& bank_;
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
        std::snprintf(text, sizeof text,
                      "entry past the end of its file (%.1f ms long; the entry runs %.1f to %.1f ms)", file_ms,
                      begin_ms, end_ms);
        return text;
    }
    if (end_ms - begin_ms < kShortestCutMs) {
        std::snprintf(text, sizeof text, "cutoff at %.1f ms crosses or nearly meets the offset at %.1f ms", end_ms,
                      begin_ms);
        return text;
    }
    if (e.consonant_ms > end_ms - begin_ms || e.preutterance_ms >= end_ms - begin_ms) {
        std::snprintf(text, sizeof text,
                      "crossing regions: consonant %g ms or preutterance %g ms past the cutoff (%.1f ms)",
                      e.consonant_ms, e.preutterance_ms, end_ms - begin_ms);
        return text;
    }
    return {};
}

// The sample of `slot` from candidate `c`, or false with `error` set.
bool build_sample(int slot, const Candidate& c, RecordingCache& cache, SlotSample& sample, std::string& error,
                  bool& left_out) {
    std::string name = c.source->files.find_name(c.entry->file);
    if (name.empty()) name = c.source->files.find_name(c.entry->file_bytes);
    if (name.empty()) {
        error = c.entry->file + ": missing WAV file";
        return false;
    }
    const AudioReadResult& audio = cache.get(join(c.source->folder, name));
    if (!audio.error.empty()) {
        error = "the recording " + c.entry->file + " " + audio.error;
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

int import_oto_files(const OtoBankFiles& bank, const std::string& subbank, int speaker, const BankSink& store,
                     std::FILE* out, std::FILE* err) {
    if (!subbank.empty() && !bank.is_folder(normal_folder(subbank))) {
        std::fprintf(err, "vokari-voicebank: no sub-folder %s in %s; nothing changed\n", subbank.c_str(),
                     bank.describe("").c_str());
        return kExitFailed;
    }
    std::vector<OtoSource> sources;
    for (const std::string& folder : folders_to_read(bank, subbank)) {
        const std::vector<std::string> names = bank.file_names(folder);
        const std::string oto_name = FolderIndex(names).find_name("oto.ini");
        if (oto_name.empty()) continue;
        OtoSource source{folder, join(folder, oto_name), FolderIndex(names), {}};
        sources.push_back(std::move(source));
    }
    if (sources.empty()) {
        std::fprintf(err, "vokari-voicebank: no oto.ini in %s; nothing changed\n", bank.describe(subbank).c_str());
        return kExitFailed;
    }

    BuildReport report;
    for (OtoSource& source : sources) {
        source.parsed = parse_oto_ini(bank.read(source.label));
        std::fprintf(out, "%s: %s, %zu entries\n", source.label.c_str(),
                     source.parsed.encoding.empty() ? "encoding unknown" : source.parsed.encoding.c_str(),
                     source.parsed.entries.size());
        for (const OtoProblem& problem : source.parsed.problems) {
            report.notes.push_back(source.label + ":" + std::to_string(problem.line) + ": " + problem.message);
        }
    }

    // Candidates per slot: every plain entry in reading order, then every
    // phrase-start entry.  A repeated alias is not used: within one oto.ini
    // it is a mistake named by line; across sub-banks (one pitch of a bank
    // repeating another's aliases) it is how banks are made, and is summed
    // up per sub-bank after the real problems.
    std::vector<std::vector<Candidate>> plain(kSyllableCount), phrase_start(kSyllableCount);
    std::map<std::string, Candidate> first_of_alias;
    std::vector<std::string> ignored;
    std::vector<std::string> repeated_across;
    for (const OtoSource& source : sources) {
        std::size_t repeats = 0;
        std::string example;
        for (const OtoEntry& entry : source.parsed.entries) {
            const Candidate candidate{&source, &entry};
            const auto seen = first_of_alias.emplace(entry.alias, candidate);
            if (!seen.second) {
                const Candidate& first = seen.first->second;
                if (first.source == &source) {
                    report.notes.push_back(candidate.where() + ": alias \"" + entry.alias + "\" again (first at " +
                                           first.where() + "); the first one is used");
                } else if (repeats++ == 0) {
                    example = "\"" + entry.alias + "\" (first at " + first.where() + ")";
                }
                continue;
            }
            const AliasSlot alias = slot_of_alias(entry.alias);
            if (alias.kind == AliasKind::Other) {
                ignored.push_back("\"" + entry.alias + "\" (" + candidate.where() + ")");
            } else {
                (alias.kind == AliasKind::Plain ? plain : phrase_start)[alias.slot].push_back(candidate);
            }
        }
        if (repeats > 0)
            repeated_across.push_back(source.label + ": " + std::to_string(repeats) +
                                      (repeats == 1 ? " alias" : " aliases") +
                                      " already given by an earlier oto.ini, not used; e.g. " + example);
    }
    if (!ignored.empty()) {
        std::string examples;
        for (size_t i = 0; i < ignored.size() && i < 3; ++i) examples += (i ? ", " : "") + ignored[i];
        std::fprintf(out, "%zu entries ignored (VCV or not a syllable of the bank), e.g. %s\n", ignored.size(),
                     examples.c_str());
    }

    // Progress on a terminal only: a log file gets the report alone.
    const bool show_progress = isatty(fileno(err)) != 0;
    RecordingCache cache(bank);
    std::vector<SlotSample> samples;
    std::vector<std::string> names;
    for (int slot = 0; slot < kSyllableCount; ++slot) {
        std::vector<Candidate> candidates = plain[slot];
        candidates.insert(candidates.end(), phrase_start[slot].begin(), phrase_start[slot].end());
        const std::string syllable = std::string(kSyllables[slot].kana) + " " + kSyllables[slot].romaji;
        bool built = false;
        for (const Candidate& candidate : candidates) {
            if (show_progress)
                std::fprintf(err, "\rimporting %3d/%d %-16s", slot + 1, kSyllableCount, kSyllables[slot].romaji);
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
    if (show_progress) std::fprintf(err, "\r%40s\r", "");
    report.notes.insert(report.notes.end(), repeated_across.begin(), repeated_across.end());
    std::fprintf(out, "%zu of %d slots mapped from %zu oto.ini file(s); %zu entries ignored\n", samples.size(),
                 kSyllableCount, sources.size(), ignored.size());
    if (samples.empty()) {
        for (const std::string& note : report.notes) std::fprintf(err, "  %s\n", note.c_str());
        std::fprintf(err, "vokari-voicebank: no usable syllable in %s; nothing changed\n", bank.describe("").c_str());
        return kExitFailed;
    }
    return tune_and_store(std::move(samples), std::move(names), report, speaker, store, out, err);
}

}  // namespace voicebank
}  // namespace vokari
