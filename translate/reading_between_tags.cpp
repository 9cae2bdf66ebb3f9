// The reading between tags: each text run of the spoken copy is analysed and
// written again as the kana the voice says, its tags kept as they stand.
#include "translate/reading_between_tags.h"

#include <cstdint>

#include "base/shift_jis.h"
#include "reading/spoken_kana.h"
#include "base/script_syntax.h"
#include "translate/kana_tables.h"

namespace vokari {

namespace {

bool is_long_vowel_mark(const std::string& text, std::size_t at) {
    return fullwidth_long_vowel_marks.match(text.data(), static_cast<std::int32_t>(at),
                                            static_cast<std::int32_t>(text.size())) >= 0;
}

// The characters of silence that the scanner makes of an unspoken word: one
// per character, but for the marks that hold the sound before them.
std::int64_t silent_characters(const std::string& surface) {
    std::int64_t count = 0;
    for (std::size_t i = 0; i < surface.size();) {
        const std::size_t size = sjis_char_size(surface.data(), i, surface.size());
        if (!(size == 1 ? surface[i] == '-' : is_long_vowel_mark(surface, i))) ++count;
        i += size;
    }
    return count;
}

// A pause between runs: a word of its own that says nothing.
ReadWord pause_word(std::int64_t wait_ms) {
    ReadWord word;
    word.symbol = true;
    word.pause_ms = wait_ms;
    return word;
}

}  // namespace

bool read_in_context(const Settings& settings, TextReader& reader, std::string& script, std::vector<ReadWord>* words,
                     std::vector<SpokenMora>* morae) {
    // The scanner stops at a NUL; so does reading.
    const std::int32_t length = script_length(script);
    const char* text = script.data();
    std::string out;
    out.reserve(script.size() * 2);
    std::vector<ReadWord> run_words;
    auto read_run = [&](const ScriptToken& run) {
        run_words.clear();
        reader.analyse(text + run.pos, static_cast<std::size_t>(run.span), run_words);
        if (words == nullptr) return append_spoken_kana(run_words, out);
        append_spoken_kana(run_words, out, morae, words->size());
        for (ReadWord& word : run_words)
            if (word.symbol || word.pronunciation.empty())
                word.pause_ms = silent_characters(word.surface) * settings.talk_default_speed;
        words->insert(words->end(), run_words.begin(), run_words.end());
    };
    ScriptTokenizer tokens(text, length, settings.tag_prefix);
    ScriptToken token;
    std::int32_t read_to = length;
    bool voice_on = true;
    while (tokens.next(token)) {
        if (token.kind == TokenKind::Text) {
            read_run(token);
            continue;
        }
        if (words != nullptr && token.wait_ms > 0) words->push_back(pause_word(token.wait_ms));
        out.append(text + token.pos, static_cast<std::size_t>(token.span));
        // The scan ends at "e" and "n": what follows is never spoken, so it
        // is neither read nor counted.
        const bool ends_voice = token.kind == TokenKind::VoiceTag && !token.bracketed &&
                                (token.tag == kEndOfVoice || token.tag == kVoiceOff);
        if (ends_voice) {
            voice_on = token.tag == kEndOfVoice;
            read_to = token.end();
            break;
        }
    }
    out.append(text + read_to, script.size() - static_cast<std::size_t>(read_to));
    script.swap(out);
    return voice_on;
}

}  // namespace vokari
