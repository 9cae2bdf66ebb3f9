// vokari-readings: writes a reading dictionary for the module's translation
// step from Japanese text, with MeCab's in-context readings.
//
//   vokari-readings -o reading.dic SCRIPT_FILE_OR_FOLDER...
//   vokari-readings --general --kanjidic /usr/share/edict/kanjidic -o general.dic TEXTS...
//
// Exit status: 0 written; 1 nothing written (bad usage, no dictionary, output
// exists, no script text, write failure); 2 written, but some script files
// could not be read.
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "tools/readings/common_words.h"
#include "tools/readings/japanese_text.h"
#include "tools/readings/kanji_readings.h"
#include "tools/readings/morphology.h"
#include "tools/readings/reading_dictionary.h"
#include "tools/readings/script_files.h"
#include "tools/readings/script_text.h"
#include "tools/text/file_replacement.h"
#include "tools/text/shift_jis.h"

using namespace vokari::readings;

namespace {

struct Options {
    bool general = false;
    bool force = false;
    std::string output;
    std::string kanjidic;
    std::string common_words;
    std::string mecab_dictionary = default_dictionary_dir();
    std::vector<std::string> sources;  // descriptions for the comment lines
    std::vector<std::string> inputs;
    BuildOptions build;
    bool min_count_given = false;
};

const char* const kUsage =
    "usage: vokari-readings [options] -o OUTPUT.dic INPUT...\n"
    "  INPUT                 script files or folders (UTF-8 or Shift_JIS, found out per file)\n"
    "  -o, --output FILE     the dictionary to write (Shift_JIS, CR LF)\n"
    "  --force               replace OUTPUT if it exists\n"
    "  --general             a general dictionary: every counter, kana before the particle\n"
    "                        は/へ where the texts show it is the particle\n"
    "  --kanjidic FILE       end with one pair per kanji of the file (e.g. /usr/share/edict/kanjidic)\n"
    "  --common-words FILE   add the common words of an EDICT file (e.g. /usr/share/edict/edict)\n"
    "                        that the texts do not show, with the forms of verbs and adjectives\n"
    "  --min-count N         write only forms seen N times or more (1; 2 with --general)\n"
    "  --tag-prefix C        the voice-control tag prefix of the scripts (@)\n"
    "  --mecab-dic DIR       the MeCab dictionary, in UTF-8 or Shift_JIS (";
const char* const kUsageEnd =
    ")\n"
    "  --source TEXT         a comment line saying where the input comes from (repeatable)\n";

std::string usage() { return kUsage + default_dictionary_dir() + kUsageEnd; }

bool parse_options(int argc, char** argv, Options& options, std::string& error) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const auto value = [&](std::string& out) {
            if (i + 1 >= argc) {
                error = arg + " needs a value";
                return false;
            }
            out = argv[++i];
            return true;
        };
        std::string text;
        if (arg == "-o" || arg == "--output") {
            if (!value(options.output)) return false;
        } else if (arg == "--force") {
            options.force = true;
        } else if (arg == "--general") {
            options.general = true;
        } else if (arg == "--kanjidic") {
            if (!value(options.kanjidic)) return false;
        } else if (arg == "--common-words") {
            if (!value(options.common_words)) return false;
        } else if (arg == "--mecab-dic") {
            if (!value(options.mecab_dictionary)) return false;
        } else if (arg == "--source") {
            if (!value(text)) return false;
            options.sources.push_back(text);
        } else if (arg == "--min-count") {
            if (!value(text)) return false;
            char* end = nullptr;
            const long n = std::strtol(text.c_str(), &end, 10);
            if (*end != '\0' || n < 1 || n > 1000000) {
                error = "--min-count takes a whole number from 1 to 1000000, not \"" + text + "\"";
                return false;
            }
            options.build.min_count = n;
            options.min_count_given = true;
        } else if (arg == "--tag-prefix") {
            if (!value(text)) return false;
            if (text.size() != 1) {
                error = "--tag-prefix takes one byte, not \"" + text + "\"";
                return false;
            }
            options.build.tag_prefix = text[0];
        } else if (arg == "-h" || arg == "--help") {
            std::cout << usage();
            std::exit(0);
        } else if (!arg.empty() && arg[0] == '-') {
            error = "unknown option " + arg;
            return false;
        } else {
            options.inputs.push_back(arg);
        }
    }
    if (options.output.empty()) error = "no output file given (-o)";
    else if (options.inputs.empty()) error = "no input files given";
    if (options.general && !options.min_count_given) options.build.min_count = 2;
    return error.empty();
}

bool read_file(const std::string& path, std::string& bytes) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return false;
    std::ostringstream content;
    content << file.rdbuf();
    bytes = content.str();
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    std::string error;
    if (!parse_options(argc, argv, options, error)) {
        std::cerr << "vokari-readings: " << error << "\n" << usage();
        return 1;
    }
    if (!options.force && access(options.output.c_str(), F_OK) == 0) {
        std::cerr << "vokari-readings: " << options.output << " exists; give --force to replace it\n";
        return 1;
    }
    // The dictionary is written beside its final name and renamed, so its
    // folder must take new files; checked before the long analysis.
    const std::string parent = std::filesystem::u8path(options.output).parent_path().u8string();
    const std::string folder = parent.empty() ? "." : parent;
    if (access(folder.c_str(), W_OK) != 0) {
        std::cerr << "vokari-readings: cannot write into " << folder << " (" << std::strerror(errno)
                  << "); nothing written\n";
        return 1;
    }
    std::unique_ptr<Morphology> morphology = Morphology::open(options.mecab_dictionary, error);
    if (!morphology) {
        std::cerr << "vokari-readings: " << error << "\n";
        return 1;
    }
    std::map<std::string, std::string> fallback;
    if (!options.kanjidic.empty()) {
        fallback = read_kanjidic(options.kanjidic, error);
        if (fallback.empty()) {
            std::cerr << "vokari-readings: " << error << "\n";
            return 1;
        }
        // A kanji standing alone is a word of its own (雨 あめ, 空 そら): the
        // reading MeCab gives it as a common word wins over kanjidic's first
        // reading, which is mostly the one used in compounds.
        for (auto& [kanji, reading] : fallback) {
            const std::vector<Word> words = morphology->analyse(kanji);
            if (words.size() == 1 && words[0].pos_detail != "固有名詞" && is_all_kana(words[0].reading))
                reading = katakana_to_hiragana(words[0].reading);
        }
    }

    std::map<std::string, std::string> common;
    if (!options.common_words.empty()) {
        common = read_common_words(options.common_words, error);
        if (common.empty()) {
            std::cerr << "vokari-readings: " << error << "\n";
            return 1;
        }
    }

    FoundFiles found = find_script_files(options.inputs, options.output);
    const std::vector<std::string>& files = found.scripts;
    ReadingCounts counts;
    std::size_t skipped = 0, read = 0, lines = 0;
    for (std::size_t f = 0; f < files.size(); ++f) {
        std::string bytes, text;
        if (!read_file(files[f], bytes)) {
            std::cerr << "vokari-readings: " << files[f] << ": cannot be read; skipped\n";
            ++skipped;
            continue;
        }
        if (!decode_script(bytes, text, error)) {
            if (!is_script_name(files[f], options.inputs)) {
                ++found.other_files;  // a host's data file found in the folder, not a script
                continue;
            }
            std::cerr << "vokari-readings: " << files[f] << ": " << error << "; skipped\n";
            ++skipped;
            continue;
        }
        for (const std::string& segment : spoken_segments(text, options.build.tag_prefix)) {
            const std::vector<Word> words = morphology->analyse(segment);
            counts.add_line(words);
            counts.add_kana_particles(words, segment);
            ++lines;
        }
        ++read;
        if (files.size() >= 50 && (f + 1) % 100 == 0)
            std::cerr << "vokari-readings: " << f + 1 << " of " << files.size() << " files read\n";
    }
    const std::string summary = skipped_summary(found);
    if (!summary.empty()) std::cerr << "vokari-readings: " << summary << "\n";
    if (lines == 0) {
        std::cerr << "vokari-readings: no script text found in";
        for (const std::string& input : options.inputs) std::cerr << " " << input;
        std::cerr << " (" << read << " script files read); nothing written\n";
        return 1;
    }

    std::vector<std::string> counters;
    if (options.general) counters = known_counters();
    else counters.assign(counts.counters_used().begin(), counts.counters_used().end());
    std::vector<Pair> tail;
    // The general texts must show a kana particle form often and nearly
    // always as the particle; an author's own texts, every time it occurs.
    tail = options.general ? counts.reliable_kana_particles(5, 0.95) : counts.reliable_kana_particles(1, 1.0);
    std::size_t rejected = 0;
    // The texts' own readings first; common words fill in what they lack.
    std::map<std::string, ReadingCounts::Entry> words = counts.best(options.build.min_count);
    for (const auto& [form, reading] : common) words.emplace(form, ReadingCounts::Entry{reading, 0, 0});
    const std::vector<Pair> pairs = order_pairs(words, counters, fallback, tail, options.build, rejected);

    // Every longer search must come before the shorter ones it contains, or a
    // shorter pair would take its text first.
    const auto conflict = first_order_conflict(pairs);
    if (conflict.first < pairs.size()) {
        std::cerr << "vokari-readings: internal error: \"" << pairs[conflict.first].search << "\" would apply before \""
                  << pairs[conflict.second].search << "\", which contains it; nothing written\n";
        return 1;
    }

    std::string out;
    std::size_t written = 0, unconvertible = 0;
    const auto comment = [&out](const std::string& line) { out += "// " + line + "\r\n"; };
    out += std::string(kOwnOutputFirstLine) + (options.general ? " (general)." : ".") + "\r\n";
    comment("Readings from " + morphology->description() + ".");
    for (const std::string& source : options.sources) comment("From: " + source);
    if (options.sources.empty())
        comment("From " + std::to_string(read) + " script files, " + std::to_string(lines) + " lines.");
    if (!options.common_words.empty()) comment("Common words from EDICT (EDRDG, CC BY-SA 3.0).");
    if (!options.kanjidic.empty()) comment("Last-resort readings of single kanji from kanjidic (EDRDG, CC BY-SA 3.0).");
    comment("Longer searches come before the shorter ones they contain; edit a reading after the comma.");
    std::string body;
    for (const Pair& pair : pairs) {
        const auto search = vokari::text::utf8_to_shift_jis(pair.search);
        const auto replacement = vokari::text::utf8_to_shift_jis(pair.replacement);
        if (!search.ok || !replacement.ok) {
            ++unconvertible;
            continue;
        }
        body += search.shift_jis + "," + replacement.shift_jis + "\r\n";
        ++written;
    }
    comment(std::to_string(written) + " pairs.");
    out += body;
    std::string reason;
    if (!vokari::text::replace_file(options.output, out, reason)) {
        std::cerr << "vokari-readings: cannot write " << options.output << ": " << reason << "\n";
        return 1;
    }
    std::cerr << "vokari-readings: " << options.output << ": " << written << " pairs, " << out.size() << " bytes from "
              << read << " files (" << lines << " lines)";
    if (rejected + unconvertible > 0)
        std::cerr << "; left out " << rejected << " pairs that could touch tags and " << unconvertible
                  << " without Shift_JIS";
    std::cerr << "\n";
    if (skipped > 0) {
        std::cerr << "vokari-readings: " << skipped << " input file(s) skipped\n";
        return 2;
    }
    return 0;
}
