// On Windows the builder reads with the module's own analyser and, unless
// told otherwise, with the analyser dictionary the release zip carries
// (naist-jdic beside tools\).
#include <filesystem>
#include <system_error>

// The reading step's MeCab copy is compiled under a namespace of its own
// (reading/frontend/forced_include.h); its header is read the same way.
#define MeCab VokariMeCab
#include "tools/readings/mecab_tagger.h"
#undef MeCab

#include "tools/readings/morphology.h"
#include "tools/text/program_path.h"

namespace vokari {
namespace readings {

std::string default_dictionary_dir() {
    const std::filesystem::path dir = text::running_program_path().parent_path();
    // tools\vokari-readings.exe in the zip; the dictionary one folder up.
    std::error_code failure;
    if (std::filesystem::is_directory(dir / "naist-jdic", failure)) return (dir / "naist-jdic").u8string();
    return dir.empty() ? "naist-jdic" : (dir.parent_path() / "naist-jdic").u8string();
}

std::string dictionary_hint() {
    return "it is the folder naist-jdic of the release zip, beside its tools folder; name it with --mecab-dic";
}

struct MecabTagger {
    VokariMeCab::Tagger* tagger;
};

MecabTagger* open_tagger(const std::string& dictionary_dir, std::string& error) {
    // Arguments one by one: a folder name may hold blanks.
    std::string program = "vokari-readings", option = "-d", dir = dictionary_dir;
    char* argv[] = {&program[0], &option[0], &dir[0], nullptr};
    VokariMeCab::Tagger* tagger = VokariMeCab::createTagger(3, argv);
    if (tagger == nullptr) {
        error = VokariMeCab::getLastError();
        return nullptr;
    }
    return new MecabTagger{tagger};
}

void close_tagger(MecabTagger* tagger) {
    delete tagger->tagger;
    delete tagger;
}

const mecab_node_t* parse_to_node(MecabTagger* tagger, const std::string& text) {
    return tagger->tagger->parseToNode(text.data(), text.size());
}

const mecab_dictionary_info_t* tagger_dictionary(const MecabTagger* tagger) {
    return tagger->tagger->dictionary_info();
}

const char* tagger_version() { return VokariMeCab::Tagger::version(); }

}  // namespace readings
}  // namespace vokari
