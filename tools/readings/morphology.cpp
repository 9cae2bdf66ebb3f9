#include "tools/readings/morphology.h"

#include <mecab.h>
#include <sys/stat.h>
#include <unistd.h>

#include <sstream>

namespace vokari {
namespace readings {

const char* const kDefaultDictionaryDir = "/var/lib/mecab/dic/ipadic-utf8";
const char* const kDictionaryPackage = "mecab-ipadic-utf8";

namespace {

// The comma-separated feature fields of a MeCab node.
std::vector<std::string> split_features(const char* feature) {
    std::vector<std::string> fields;
    std::string field;
    for (const char* p = feature; *p != '\0'; ++p) {
        if (*p == ',') {
            fields.push_back(field);
            field.clear();
        } else {
            field += *p;
        }
    }
    fields.push_back(field);
    return fields;
}

bool is_directory(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

std::unique_ptr<Morphology> Morphology::open(const std::string& dictionary_dir, std::string& error) {
    const std::string install_hint = "install the Debian package " + std::string(kDictionaryPackage) +
                                     " (apt-get install " + kDictionaryPackage + ")";
    if (!is_directory(dictionary_dir) || access((dictionary_dir + "/sys.dic").c_str(), R_OK) != 0) {
        error = "no MeCab dictionary at " + dictionary_dir + ": " + install_hint;
        return nullptr;
    }
    const std::string arguments = "-d " + dictionary_dir;
    mecab_t* tagger = mecab_new2(arguments.c_str());
    if (tagger == nullptr) {
        error = "MeCab cannot open the dictionary at " + dictionary_dir + " (" + mecab_strerror(nullptr) + "): " +
                install_hint;
        return nullptr;
    }
    const mecab_dictionary_info_t* info = mecab_dictionary_info(tagger);
    const std::string charset = info != nullptr ? info->charset : "";
    if (charset != "UTF-8" && charset != "utf-8" && charset != "utf8") {
        mecab_destroy(tagger);
        error = "the MeCab dictionary at " + dictionary_dir + " is not in UTF-8: " + install_hint;
        return nullptr;
    }
    return std::unique_ptr<Morphology>(new Morphology(tagger));
}

Morphology::~Morphology() { mecab_destroy(tagger_); }

std::vector<Word> Morphology::analyse(const std::string& line) {
    std::vector<Word> words;
    for (const mecab_node_t* node = mecab_sparse_tonode2(tagger_, line.data(), line.size()); node != nullptr;
         node = node->next) {
        if (node->stat == MECAB_BOS_NODE || node->stat == MECAB_EOS_NODE) continue;
        const std::vector<std::string> fields = split_features(node->feature);
        Word word;
        word.surface.assign(node->surface, node->length);
        word.pos = fields.size() > 0 ? fields[0] : "";
        word.pos_detail = fields.size() > 1 ? fields[1] : "";
        if (fields.size() > 7 && fields[7] != "*") word.reading = fields[7];
        words.push_back(std::move(word));
    }
    return words;
}

std::string Morphology::description() const {
    const mecab_dictionary_info_t* info = mecab_dictionary_info(tagger_);
    std::ostringstream text;
    text << "MeCab " << mecab_version() << " with " << (info ? info->filename : "?") << " (" << kDictionaryPackage
         << ", " << (info ? info->size : 0) << " words)";
    return text.str();
}

bool is_spoken_particle(const Word& word) {
    return word.pos == "助詞" && (word.surface == "は" || word.surface == "へ");
}

std::string spoken_reading(const std::vector<Word>& words) {
    std::string text;
    for (const Word& word : words) {
        if (is_spoken_particle(word))
            text += word.surface == "は" ? "ワ" : "エ";
        else
            text += word.reading.empty() ? word.surface : word.reading;
    }
    return text;
}

}  // namespace readings
}  // namespace vokari
