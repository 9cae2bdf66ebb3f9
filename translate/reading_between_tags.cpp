#include "translate/reading_between_tags.h"

#include <cstdint>
#include <cstring>

#include "base/shift_jis.h"
#include "reading/spoken_kana.h"
#include "base/bracket_matcher.h"
#include "translate/kana_tables.h"
#include "translate/script_tags.h"
#include "translate/time_math.h"
#include "translate/voice_tags.h"

namespace vokari {

namespace {

// A tag as the scanner steps over it: its bytes from the marker ('\' or the
// tag prefix) and the pause it asks for.
struct TagStep {
    std::int32_t span = 0;  // 0: no tag starts here
    std::int64_t wait_ms = 0;
};

// A bracketed tag whose bracket never closes passes as its marker and name;
// `argument` is left empty then.
std::int32_t bracket_span(BracketMatcher& brackets, std::int32_t pos, std::int32_t name_length, std::string& argument) {
    const std::int32_t span = brackets.extract(pos + name_length, argument);
    if (span >= 0) return name_length + span;
    argument.clear();
    return name_length + 1;
}

TagStep script_tag_step(BracketMatcher& brackets, const char* text, std::int32_t pos, std::int32_t length) {
    TagStep step;
    const ScriptTagMatch match = match_script_tag(text, pos, length);
    if (!match.found()) {
        step.span = 1;
    } else if (match.bracketed) {
        std::string argument;
        step.span = bracket_span(brackets, pos, match.name_length, argument);
        if (match.tag->wait_ms_per_unit != 0) step.wait_ms = bracket_tag_wait_ms(*match.tag, argument);
    } else {
        const PlainTagUse use = use_plain_tag(match, text, pos, length);
        step.span = use.span;
        if (use.pauses) step.wait_ms = use.wait_ms;
    }
    return step;
}

TagStep voice_tag_step(BracketMatcher& brackets, const char* text, std::int32_t pos, std::int32_t length) {
    TagStep step;
    const TagMatch match = match_tag(voice_bracket_tags, voice_plain_tags, text, pos, length);
    std::string argument;
    if (!match.found()) step.span = 1;
    else if (match.bracketed) step.span = bracket_span(brackets, pos, match.name_length, argument);
    else step.span = match.name_length + 1;
    return step;
}

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

void read_in_context(const Settings& settings, TextReader& reader, std::string& script, std::vector<ReadWord>* words) {
    // The scanner stops at a NUL; so does reading.
    const void* nul = std::memchr(script.data(), '\0', script.size());
    const std::size_t size =
        nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - script.data()) : script.size();
    const std::int32_t length = saturate_to_int32(static_cast<std::int64_t>(size));
    const char* text = script.data();
    BracketMatcher brackets(text, length);
    std::string out;
    out.reserve(script.size() * 2);
    std::vector<ReadWord> run_words;
    std::int32_t run_start = 0;
    auto flush = [&](std::int32_t end) {
        if (end > run_start) {
            run_words.clear();
            reader.analyse(text + run_start, static_cast<std::size_t>(end - run_start), run_words);
            append_spoken_kana(run_words, out);
            if (words == nullptr) return;
            for (ReadWord& word : run_words)
                if (word.symbol || word.pronunciation.empty())
                    word.pause_ms = silent_characters(word.surface) * settings.talk_default_speed;
            words->insert(words->end(), run_words.begin(), run_words.end());
        }
    };
    std::int32_t pos = 0;
    while (pos < length) {
        const unsigned char b = static_cast<unsigned char>(text[pos]);
        TagStep tag;
        if (b == '\\') tag = script_tag_step(brackets, text, pos, length);
        else if (b == settings.tag_prefix) tag = voice_tag_step(brackets, text, pos, length);
        if (tag.span > 0) {
            if (tag.span > length - pos) tag.span = length - pos;
            flush(pos);
            if (words != nullptr && tag.wait_ms > 0) words->push_back(pause_word(tag.wait_ms));
            out.append(text + pos, static_cast<std::size_t>(tag.span));
            pos += tag.span;
            run_start = pos;
            continue;
        }
        pos += starts_script_pair(b) && pos + 1 < length ? 2 : 1;
    }
    flush(length);
    out.append(text + length, script.size() - static_cast<std::size_t>(length));
    script.swap(out);
}

}  // namespace vokari
