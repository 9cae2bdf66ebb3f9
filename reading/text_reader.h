// The reading step's analyser: reads plain script text (no tags) in context
// with MeCab and the NAIST-jdic dictionary of the voice, and gives each word
// with its pronunciation and the accent data that the dictionary carries.
// One per loaded life; not shared between threads.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace vokari {

// One word of the analysis, Shift_JIS throughout.
struct ReadWord {
    std::string surface;        // the word as analysed (ASCII made full-width, digits read as kanji);
                                // the author's own bytes where it says nothing
    std::string pronunciation;  // katakana, "ー" for a held vowel; empty: not read
    std::string base_form;      // the dictionary form of a conjugated word (空い: 空く)
    bool symbol = false;        // punctuation and other signs: said as nothing
    int accent_type = 0;        // the dictionary's accent nucleus (0: flat)
    int mora_count = 0;
    std::string chain_rule;     // how the accent joins the next word ("C1", "F2@1/P1" …)
    bool joins_next = false;    // the next word belongs to the same accent phrase
    std::int64_t pause_ms = 0;  // the silence that an unspoken word or a wait tag makes
    // The analysis's grammar, as the prosody model's labels want it: the
    // part of speech with its three subgroups, the conjugation type and form
    // ("*" where the analysis has none; empty for bytes it never saw).
    std::string part_of_speech[4];
    std::string conjugation_type;
    std::string conjugation_form;
};

class TextReader {
public:
    TextReader();
    ~TextReader();
    TextReader(const TextReader&) = delete;
    TextReader& operator=(const TextReader&) = delete;

    // Opens the dictionary folder `folder` (a native path) after checking its
    // files; returns "" on success, else why it is not used.
    std::string open(const std::string& folder);
    void close();
    bool is_open() const;

    // Analyses text[0, length), which holds no tags; appends its words.  Any
    // bytes: what is no Shift_JIS text (control bytes, broken pairs) becomes
    // a symbol word of its own bytes, unread.
    void analyse(const char* text, std::size_t length, std::vector<ReadWord>& words);

private:
    struct Engine;
    void analyse_piece(const std::string& piece, std::vector<ReadWord>& words);
    std::unique_ptr<Engine> engine_;
};

// Longest piece of text handed to the analyser at once, in bytes: its word
// buffers are fixed at 1024 bytes, and a piece may double when its ASCII is
// made full-width.
constexpr std::size_t kReadingPieceBytes = 240;

}  // namespace vokari
