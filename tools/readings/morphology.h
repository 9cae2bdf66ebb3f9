// In-context readings from MeCab: every line is split into words with their
// part of speech and their reading.  The dictionary is a Debian one in UTF-8
// or the bundled voice's analyser dictionary in Shift_JIS; the words come
// back in UTF-8 either way.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>


namespace vokari {
namespace readings {

struct Word {
    std::string surface;  // as written, UTF-8
    std::string pos;      // part of speech, e.g. the word class of particles
    std::string pos_detail;
    std::string reading;  // katakana as spelled; empty when the dictionary knows none
};

// The dictionary the builder uses unless told otherwise (the Debian package
// kDictionaryPackage on the desktop, the zip's naist-jdic on Windows).
extern const char* const kDictionaryPackage;
std::string default_dictionary_dir();

struct MecabTagger;

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
    Morphology(MecabTagger* tagger, bool shift_jis, std::string dictionary_name)
        : tagger_(tagger), shift_jis_(shift_jis), dictionary_name_(std::move(dictionary_name)) {}
    void analyse_native(const std::string& text, std::vector<Word>& words);
    MecabTagger* tagger_;
    bool shift_jis_;               // the dictionary's text is code page 932
    std::string dictionary_name_;  // its folder's name, for a Shift_JIS dictionary
};

// The reading the words are spoken with: the reading of each word, the
// particles "ha" and "he" as they are said ("wa", "e"), the surface of words
// without a reading.  Katakana stays katakana.
std::string spoken_reading(const std::vector<Word>& words);
// True for the particles written "ha" / "he" but said "wa" / "e".
bool is_spoken_particle(const Word& word);

}  // namespace readings
}  // namespace vokari
