// Splitting lines into words with their readings through MeCab.
#include "tools/readings/morphology.h"

#include <unistd.h>

#include <cctype>
#include <sstream>

#include "tools/readings/mecab_tagger.h"
#include "tools/text/shift_jis.h"
#include "tools/text/utf8.h"

namespace vokari {
namespace readings {

const char* const kDictionaryPackage = "mecab-ipadic-utf8";

namespace {

// The comma-separated feature fields of a MeCab node.
std::vector<std::string> split_features(const std::string& feature) {
    std::vector<std::string> fields;
    std::istringstream text(feature);
    for (std::string field; std::getline(text, field, ',');) fields.push_back(field);
    return fields;
}

std::string lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// Shift_JIS text from the dictionary as UTF-8; what does not decode (never
// in a well-made dictionary) is left out rather than passed on as bytes.
std::string from_shift_jis(const std::string& bytes) {
    const text::ShiftJisDecoding decoded = text::shift_jis_to_utf8(bytes);
    return decoded.ok ? decoded.utf8 : std::string();
}


}  // namespace

std::unique_ptr<Morphology> Morphology::open(const std::string& dictionary_dir, std::string& error) {
    if (access((dictionary_dir + "/sys.dic").c_str(), R_OK) != 0) {
        error = "no MeCab dictionary at " + dictionary_dir + ": " + dictionary_hint();
        return nullptr;
    }
    std::string reason;
    MecabTagger* tagger = open_tagger(dictionary_dir, reason);
    if (tagger == nullptr) {
        error = "MeCab cannot open the dictionary at " + dictionary_dir + " (" + reason + "): " + dictionary_hint();
        return nullptr;
    }
    const mecab_dictionary_info_t* info = tagger_dictionary(tagger);
    const std::string charset = lower(info != nullptr && info->charset != nullptr ? info->charset : "");
    const bool utf8 = charset == "utf-8" || charset == "utf8";
    const bool shift_jis = charset == "shift_jis" || charset == "shift-jis" || charset == "sjis" || charset == "cp932";
    if (!utf8 && !shift_jis) {
        close_tagger(tagger);
        error = "the MeCab dictionary at " + dictionary_dir + " is in " + (charset.empty() ? "no known" : charset) +
                " text, neither UTF-8 nor Shift_JIS: " + dictionary_hint();
        return nullptr;
    }
    std::string name = dictionary_dir;
    while (name.size() > 1 && (name.back() == '/' || name.back() == '\\')) name.pop_back();
    name = name.substr(name.find_last_of("/\\") + 1);
    return std::unique_ptr<Morphology>(new Morphology(tagger, shift_jis, name));
}

Morphology::~Morphology() { close_tagger(tagger_); }

// The words of `text`, in the dictionary's own encoding, appended to `words`
// in UTF-8.
void Morphology::analyse_native(const std::string& text, std::vector<Word>& words) {
    for (const mecab_node_t* node = parse_to_node(tagger_, text); node != nullptr; node = node->next) {
        if (node->stat == MECAB_BOS_NODE || node->stat == MECAB_EOS_NODE) continue;
        const std::string feature = shift_jis_ ? from_shift_jis(node->feature) : node->feature;
        const std::vector<std::string> fields = split_features(feature);
        Word word;
        word.surface.assign(node->surface, node->length);
        if (shift_jis_) word.surface = from_shift_jis(word.surface);
        word.pos = fields.size() > 0 ? fields[0] : "";
        word.pos_detail = fields.size() > 1 ? fields[1] : "";
        if (fields.size() > 7 && fields[7] != "*") word.reading = fields[7];
        words.push_back(std::move(word));
    }
}

std::vector<Word> Morphology::analyse(const std::string& line) {
    std::vector<Word> words;
    if (!shift_jis_) {
        analyse_native(line, words);
        return words;
    }
    const text::ShiftJisEncoding whole = text::utf8_to_shift_jis(line);
    if (whole.ok) {
        analyse_native(whole.shift_jis, words);
        return words;
    }
    // Characters without a Shift_JIS form split the line: the pieces between
    // them are read on their own, the characters themselves are no words.
    std::string piece;
    for (std::size_t pos = 0; pos < line.size();) {
        const std::size_t length = text::utf8_step(line, pos);
        const text::ShiftJisEncoding one = text::utf8_to_shift_jis(line.substr(pos, length));
        if (one.ok) {
            piece += one.shift_jis;
        } else if (!piece.empty()) {
            analyse_native(piece, words);
            piece.clear();
        }
        pos += length;
    }
    if (!piece.empty()) analyse_native(piece, words);
    return words;
}

std::string Morphology::description() const {
    const mecab_dictionary_info_t* info = tagger_dictionary(tagger_);
    std::ostringstream text;
    // A Shift_JIS dictionary is named by its folder alone, so that the same
    // dictionary gives the same bytes on every system.
    if (shift_jis_)
        text << "MeCab with the dictionary " << dictionary_name_ << " (" << (info ? info->size : 0) << " words)";
    else
        text << "MeCab " << tagger_version() << " with " << (info ? info->filename : "?") << " (" << kDictionaryPackage
             << ", " << (info ? info->size : 0) << " words)";
    return text.str();
}

bool is_spoken_particle(const Word& word) {
    return word.pos == "助詞" && (word.surface == "は" || word.surface == "へ");
}

std::string spoken_reading(const std::vector<Word>& words) {
    std::string text;
    for (const Word& word : words) {
        if (is_spoken_particle(word)) text += word.surface == "は" ? "ワ" : "エ";
        else text += word.reading.empty() ? word.surface : word.reading;
    }
    return text;
}

}  // namespace readings
}  // namespace vokari
