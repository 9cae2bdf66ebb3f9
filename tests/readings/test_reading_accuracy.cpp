// Accuracy of the reading dictionaries, measured as the module speaks: the
// general dictionary of the bundled voice on Japanese text it was not built
// from (the Japanese Debian reference), and a dictionary built by
// vokari-readings from character scripts on those same scripts.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "module_adapter.h"
#include "reading_score.h"
#include "tools/readings/japanese_text.h"

namespace {

const std::string kSourceDir = VOKARI_SOURCE_DIR;
const char* const kHeldOutText = "/usr/share/debian-reference/debian-reference.ja.txt.gz";

std::unique_ptr<vokari::readings::Morphology> open_morphology() {
    std::string error;
    auto morphology = vokari::readings::Morphology::open(vokari::readings::default_dictionary_dir(), error);
    EXPECT_NE(morphology, nullptr) << error;
    return morphology;
}

// The lines of a gzip file that hold kana or kanji.
std::vector<std::string> japanese_lines(const std::string& gz_path) {
    std::vector<std::string> lines;
    FILE* pipe = popen(("gzip -dc " + gz_path).c_str(), "r");
    if (pipe == nullptr) return lines;
    std::string line;
    for (int c; (c = std::fgetc(pipe)) != EOF;) {
        if (c != '\n') {
            line += static_cast<char>(c);
            continue;
        }
        if (line.find("\xE3\x81") != std::string::npos || line.find("\xE3\x82") != std::string::npos ||
            vokari::readings::holds_kanji(line))
            lines.push_back(line);
        line.clear();
    }
    pclose(pipe);
    return lines;
}

TEST(ReadingAccuracy, GeneralDictionaryOnHeldOutText) {
    auto morphology = open_morphology();
    ASSERT_NE(morphology, nullptr);
    const std::vector<std::string> lines = japanese_lines(kHeldOutText);
    ASSERT_GT(lines.size(), 5000u) << "install debian-reference-ja (scripts/install-deps.sh)";

    ASSERT_TRUE(module_adapter::load_general_dictionary());
    ASSERT_GT(module_adapter::loaded_pairs(), 5000u) << "the bundled voice names no general dictionary";
    const reading_score::Score without = reading_score::score_lines(*morphology, lines, false);
    const reading_score::Score with = reading_score::score_lines(*morphology, lines, true);
    module_adapter::unload_module();

    std::printf(
        "held-out text: %ld lines, %ld reference kana; differing: %.2f %% without the dictionary, %.2f %% with it\n",
        with.lines, with.reference, 100 * without.share(), 100 * with.share());
    EXPECT_GT(without.share(), 0.2);  // the text is real kanji text
    EXPECT_LE(with.share(), 0.03);
}

}  // namespace
