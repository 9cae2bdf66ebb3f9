// With the general dictionary loaded, every tag of a script acts as before:
// the tags reach the scanner byte for byte, they give the same control events,
// and the reply carries the same waits in the same places, each at least as
// long as before (only the added speech makes them longer).  Read in
// context, the same tags give the same control events and as many waits.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include "module_adapter.h"
#include "reading_test.h"
#include "tools/readings/japanese_text.h"
#include "tools/text/shift_jis.h"
#include "tools/readings/script_text.h"

namespace fs = std::filesystem;

namespace {

using namespace reading_test;

const std::string kSourceDir = VOKARI_SOURCE_DIR;

// The script of a request: its String or Argument0 header.
std::string script_of(const std::string& request) {
    for (const char* header : {"\nString: ", "\nArgument0: "}) {
        const std::size_t at = request.find(header);
        if (at == std::string::npos) continue;
        const std::size_t start = at + std::strlen(header);
        return request.substr(start, request.find("\r\n", start) - start);
    }
    return "";
}

struct Outcome {
    std::vector<std::string> text_between_waits;
    std::vector<long> waits;
    std::vector<std::string> controls;
};

// Loads a module folder holding `settings` and answers `request`.
Outcome answer(const fs::path& dir, const std::string& settings, const std::string& request) {
    std::ofstream(dir / "vokari.txt", std::ios::binary) << settings;
    EXPECT_TRUE(module_adapter::load_module(dir.string()));
    const std::string response = module_adapter::answer(request);
    Outcome outcome;
    outcome.controls = module_adapter::last_control_events();
    module_adapter::unload_module();
    static const std::regex wait(R"(\\_w\[(-?[0-9]+)\])");
    std::size_t from = 0;
    for (std::sregex_iterator m(response.begin(), response.end(), wait), end; m != end; ++m) {
        outcome.text_between_waits.push_back(response.substr(from, static_cast<std::size_t>(m->position()) - from));
        outcome.waits.push_back(std::stol((*m)[1]));
        from = static_cast<std::size_t>(m->position() + m->length());
    }
    outcome.text_between_waits.push_back(response.substr(from));
    return outcome;
}

TEST(TagsUnaffected, GoldenCasesAndTagsBeforeCounters) {
    const fs::path dir = fs::temp_directory_path() / ("vokari_tags_" + std::to_string(getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    fs::copy_file(kSourceDir + "/voices/default/reading.dic", dir / "reading.dic");
    ASSERT_TRUE(fs::exists(kSourceDir + "/voices/default/naist-jdic/checksums")) << "build vokari_reading_dictionary";
    fs::create_directory_symlink(kSourceDir + "/voices/default/naist-jdic", dir / "naist-jdic");

    std::vector<std::pair<std::string, std::string>> cases;  // name, request
    for (const auto& entry : fs::directory_iterator(kSourceDir + "/tests/golden"))
        if (entry.path().extension() == ".request")
            cases.push_back({entry.path().stem().string(), read_bytes(entry.path())});
    // Digits of tags right before counters and kanji words that begin with one.
    const std::string script =
        vokari::text::utf8_to_shift_jis(
            "\\0\\w3時\\1分かった\\_w[300]10分\\s[10]@s[120]1日\\0本当に\\w9時間@w日本は@s\\s1人")
            .shift_jis;
    cases.push_back(
        {"tags_before_counters", "EXECUTE MAKOTO/2.0\r\nCharset: Shift_JIS\r\nString: " + script + "\r\n\r\n"});
    ASSERT_GT(cases.size(), 20u);

    for (const auto& [name, request] : cases) {
        SCOPED_TRACE(name);
        const fs::path settings_file = kSourceDir + "/tests/golden/" + name + ".settings";
        const std::string settings = fs::exists(settings_file) ? read_bytes(settings_file) + "\n" : "";
        const Outcome plain = answer(dir, settings, request);
        const Outcome read = answer(dir, settings + "voice.translate.dic,reading.dic\n", request);
        EXPECT_EQ(read.text_between_waits, plain.text_between_waits);
        EXPECT_EQ(read.controls, plain.controls);
        ASSERT_EQ(read.waits.size(), plain.waits.size());
        for (std::size_t i = 0; i < plain.waits.size(); ++i) EXPECT_GE(read.waits[i], plain.waits[i]) << i;
        // Read in context: the same tags act, only the speech between them changes.
        const Outcome in_context = answer(dir, settings + "voice.reading.dic,naist-jdic\n", request);
        EXPECT_EQ(in_context.controls, plain.controls);
        EXPECT_EQ(in_context.waits.size(), plain.waits.size());

        // The tags as the scanner meets them, before and after translation.
        ASSERT_TRUE(module_adapter::load_module(dir.string()));
        const std::string voice = script_of(request);
        EXPECT_EQ(vokari::readings::tags_of(module_adapter::translate(voice), '@', true),
                  vokari::readings::tags_of(voice, '@', true));
        module_adapter::unload_module();
    }
    fs::remove_all(dir);
}

}  // namespace
