// The MeCab tagger through the system's libmecab (the desktop build).
#include "tools/readings/mecab_tagger.h"

#include "tools/readings/morphology.h"

namespace vokari {
namespace readings {

std::string default_dictionary_dir() { return "/var/lib/mecab/dic/ipadic-utf8"; }

std::string dictionary_hint() {
    return "install the Debian package " + std::string(kDictionaryPackage) + " (apt-get install " + kDictionaryPackage +
           ")";
}

struct MecabTagger {
    mecab_t* mecab;
};

MecabTagger* open_tagger(const std::string& dictionary_dir, std::string& error) {
    // Arguments one by one: a folder name may hold blanks.
    std::string program = "vokari-readings", option = "-d", dir = dictionary_dir;
    char* argv[] = {&program[0], &option[0], &dir[0], nullptr};
    const int argc = 3;
    mecab_t* mecab = mecab_new(argc, argv);
    if (mecab == nullptr) {
        // mecab_new empties the library's last error as it gives up; opening
        // the model alone fails for the same reason and keeps it.
        if (mecab_model_t* model = mecab_model_new(argc, argv)) mecab_model_destroy(model);
        error = mecab_strerror(nullptr);
        return nullptr;
    }
    return new MecabTagger{mecab};
}

void close_tagger(MecabTagger* tagger) {
    mecab_destroy(tagger->mecab);
    delete tagger;
}

const mecab_node_t* parse_to_node(MecabTagger* tagger, const std::string& text) {
    return mecab_sparse_tonode2(tagger->mecab, text.data(), text.size());
}

const mecab_dictionary_info_t* tagger_dictionary(const MecabTagger* tagger) {
    return mecab_dictionary_info(tagger->mecab);
}

const char* tagger_version() { return mecab_version(); }

}  // namespace readings
}  // namespace vokari
