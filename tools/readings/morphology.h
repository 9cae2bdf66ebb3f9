// In-context readings from MeCab with a Debian dictionary in UTF-8: every
// line is split into words with their part of speech and their reading.
#pragma once

#include <memory>
#include <string>
#include <vector>

struct mecab_t;

namespace vokari {
namespace readings {

struct Word {
    std::string surface;   // as written, UTF-8
    std::string pos;       // part of speech, e.g. the word class of particles
    std::string pos_detail;
    std::string reading;   // katakana as spelled; empty when the dictionary knows none
};

// The dictionary the builder uses unless told otherwise, and its package.
extern const char* const kDefaultDictionaryDir;
extern const char* const kDictionaryPackage;

class Morphology {
public:
    // Opens MeCab on the dictionary in `dictionary_dir`.  On failure returns
    // null and sets `error` to a message that names the package to install.
    static std::unique_ptr<Morphology> open(const std::string& dictionary_dir, std::string& error);
    ~Morphology();

    // The words of one line (UTF-8, without line breaks).
    std::vector<Word> analyse(const std::string& line);

    // What the dictionary calls itself, for the comment lines of the output.
    std::string description() const;

private:
    explicit Morphology(mecab_t* tagger) : tagger_(tagger) {}
    mecab_t* tagger_;
};

// The reading the words are spoken with: the reading of each word, the
// particles "ha" and "he" as they are said ("wa", "e"), the surface of words
// without a reading.  Katakana stays katakana.
std::string spoken_reading(const std::vector<Word>& words);
// True for the particles written "ha" / "he" but said "wa" / "e".
bool is_spoken_particle(const Word& word);

}  // namespace readings
}  // namespace vokari
