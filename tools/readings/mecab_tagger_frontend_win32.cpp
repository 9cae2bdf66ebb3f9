// On Windows the builder reads with the module's own analyser and, unless
// told otherwise, with the analyser dictionary the release zip carries
// (naist-jdic beside tools\).
#include <windows.h>

// The reading step's MeCab copy is compiled under a namespace of its own
// (reading/frontend/forced_include.h); its header is read the same way.
#define MeCab VokariMeCab
#include "tools/readings/mecab_tagger.h"
#undef MeCab

#include "tools/readings/morphology.h"

namespace vokari {
namespace readings {

std::string default_dictionary_dir() {
    char path[MAX_PATH * 4];
    const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    if (length == 0 || length >= sizeof path) return "naist-jdic";
    std::string dir(path, length);
    dir = dir.substr(0, dir.find_last_of("\\/"));
    // tools\vokari-readings.exe in the zip; the dictionary one folder up.
    const std::string beside = dir + "\\naist-jdic", above = dir + "\\..\\naist-jdic";
    const DWORD attributes = GetFileAttributesA(beside.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return beside;
    return above;
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
