// Accuracy of the reading step: the morae the module says (what
// vokari-say --reading prints) against hand-checked readings of everyday
// lines and against Open JTalk's reading of held-out technical text (the
// Japanese Debian reference, by line number; scripts/make-reading-references.py).
// The baseline is today's bundled general dictionary alone.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "module_adapter.h"
#include "reading_test.h"
#include "reading_score.h"
#include "reading/spoken_kana.h"
#include "tools/text/shift_jis.h"

namespace fs = std::filesystem;

namespace {

using namespace reading_test;

const fs::path kSource = VOKARI_SOURCE_DIR;
const fs::path kDictionary = kSource / "voices/default/naist-jdic";
const char* const kTechnicalText = "/usr/share/debian-reference/debian-reference.ja.txt.gz";

using Morae = std::vector<std::string>;

struct Case {
    std::string script;  // Shift_JIS
    Morae reference;     // Shift_JIS tokens
};

struct Tally {
    long distance = 0, reference = 0;
    double percent() const {
        return reference == 0 ? 0.0 : 100.0 * static_cast<double>(distance) / static_cast<double>(reference);
    }
};


Morae split_spaces(const std::string& text) {
    Morae tokens;
    std::istringstream in(text);
    for (std::string token; in >> token;) tokens.push_back(token);
    return tokens;
}

// "<key>\t<morae>" lines, '#' lines skipped.
std::vector<std::pair<std::string, std::string>> read_table(const fs::path& path) {
    std::vector<std::pair<std::string, std::string>> rows;
    std::ifstream file(path);
    for (std::string line; std::getline(file, line);) {
        const std::size_t tab = line.find('\t');
        if (line.empty() || line[0] == '#' || tab == std::string::npos) continue;
        rows.push_back({line.substr(0, tab), line.substr(tab + 1)});
    }
    return rows;
}

std::vector<Case> conversation() {
    std::vector<Case> cases;
    for (const auto& [line, morae] : read_table(kSource / "tests/readings/accuracy/conversation.tsv"))
        cases.push_back({sjis(line), split_spaces(sjis(morae))});
    return cases;
}

// Without the blanks at either end, no-break spaces (U+00A0) among them, as
// the references were made.
std::string trimmed(std::string line) {
    for (bool cut = true; cut;) {
        cut = false;
        for (const std::string blank : {" ", "\t", "\r", "\xC2\xA0"}) {
            if (line.compare(0, blank.size(), blank) == 0) line.erase(0, blank.size()), cut = true;
            if (line.size() >= blank.size() && line.compare(line.size() - blank.size(), blank.size(), blank) == 0)
                line.erase(line.size() - blank.size()), cut = true;
        }
    }
    return line;
}

std::vector<Case> technical() {
    std::map<long, std::string> wanted;
    for (const auto& [number, morae] : read_table(kSource / "tests/readings/accuracy/technical.tsv"))
        wanted[std::stol(number)] = morae;
    std::vector<Case> cases;
    FILE* pipe = popen((std::string("gzip -dc ") + kTechnicalText).c_str(), "r");
    if (pipe == nullptr) return cases;
    std::string line;
    long number = 1;
    for (int c; (c = std::fgetc(pipe)) != EOF;) {
        if (c != '\n') {
            line += static_cast<char>(c);
            continue;
        }
        const auto found = wanted.find(number++);
        if (found != wanted.end()) cases.push_back({sjis(trimmed(line)), split_spaces(sjis(found->second))});
        line.clear();
    }
    pclose(pipe);
    return cases;
}

Morae module_reading(const std::string& script) {
    const std::string response =
        module_adapter::answer("GET Reading SAORI/1.0\r\nCharset: Shift_JIS\r\nArgument0: " + script + "\r\n\r\n");
    const std::size_t at = response.find("Result: ");
    return at == std::string::npos ? Morae()
                                   : split_spaces(response.substr(at + 8, response.find("\r\n", at) - at - 8));
}

// The step's reading and the general dictionary's, over `cases`.
std::pair<Tally, Tally> measure(const std::vector<Case>& cases) {
    const fs::path dir = fs::temp_directory_path() / ("vokari_accuracy_" + std::to_string(getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    fs::create_directory_symlink(kDictionary, dir / "naist-jdic");
    fs::copy_file(kSource / "voices/default/reading.dic", dir / "reading.dic");
    Tally step, baseline;

    std::ofstream(dir / "vokari.txt", std::ios::binary) << "voice.reading.dic,naist-jdic\n";
    EXPECT_TRUE(module_adapter::load_module(dir.string()));
    for (const Case& c : cases) {
        step.distance += reading_score::edit_distance(module_reading(c.script), c.reference);
        step.reference += static_cast<long>(c.reference.size());
    }
    module_adapter::unload_module();

    std::ofstream(dir / "vokari.txt", std::ios::binary) << "voice.translate.dic,reading.dic\n";
    EXPECT_TRUE(module_adapter::load_module(dir.string()));
    for (const Case& c : cases) {
        baseline.distance +=
            reading_score::edit_distance(vokari::split_morae(module_adapter::translate(c.script)), c.reference);
        baseline.reference += static_cast<long>(c.reference.size());
    }
    module_adapter::unload_module();
    fs::remove_all(dir);
    return {step, baseline};
}

TEST(ContextReadingAccuracy, ConversationAndHeldOutTechnicalText) {
    ASSERT_TRUE(fs::exists(kDictionary / "checksums")) << "build the target vokari_reading_dictionary first";
    const std::vector<Case> lines = conversation();
    ASSERT_GE(lines.size(), 150u);
    const std::vector<Case> text = technical();
    ASSERT_GE(text.size(), 250u) << "install debian-reference-ja (scripts/install-deps.sh)";

    const auto [spoken, spoken_baseline] = measure(lines);
    const auto [held_out, held_out_baseline] = measure(text);
    std::printf("conversation: %zu lines, %ld morae; differing %.2f %% (general dictionary alone: %.2f %%)\n",
                lines.size(), spoken.reference, spoken.percent(), spoken_baseline.percent());
    std::printf("technical text: %zu lines, %ld morae; differing %.2f %% (general dictionary alone: %.2f %%)\n",
                text.size(), held_out.reference, held_out.percent(), held_out_baseline.percent());
    EXPECT_LE(spoken.percent(), 1.0);
    EXPECT_LE(held_out.percent(), 1.0);
}

}  // namespace
