#include "translate/context_reading.h"

#include <cstdint>
#include <cstring>

#include "base/shift_jis.h"
#include "reading/spoken_kana.h"
#include "translate/bracket_matcher.h"
#include "translate/script_tags.h"
#include "translate/time_math.h"
#include "translate/voice_tags.h"

namespace vokari {

namespace {

// Bytes of the tag whose marker ('\' or the tag prefix) is at text[pos], as
// the scanner steps over it.  A marker that starts no tag is one byte; a
// bracketed tag whose bracket never closes passes as its marker and name.
std::int32_t tag_span(const StringTable& bracketed, const StringTable& plain, bool script_tags, BracketMatcher& brackets,
                      const char* text, std::int32_t pos, std::int32_t length) {
    const TagMatch match = match_tag(bracketed, plain, text, pos, length);
    if (!match.found()) return 1;
    if (match.bracketed) {
        std::string argument;
        const std::int32_t span = brackets.extract(pos + match.name_length, argument);
        return span < 0 ? match.name_length + 1 : match.name_length + span;
    }
    if (script_tags) return use_plain_tag(match_script_tag(text, pos, length), text, pos, length).span;
    return match.name_length + 1;
}

}  // namespace

void read_in_context(const Settings& settings, TextReader& reader, std::string& script, std::vector<ReadWord>* words) {
    // The scanner stops at a NUL; so does reading.
    const void* nul = std::memchr(script.data(), '\0', script.size());
    const std::size_t size = nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - script.data()) : script.size();
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
            if (words != nullptr) words->insert(words->end(), run_words.begin(), run_words.end());
        }
    };
    std::int32_t pos = 0;
    while (pos < length) {
        const unsigned char b = static_cast<unsigned char>(text[pos]);
        std::int32_t tag = 0;
        if (b == '\\') tag = tag_span(script_bracket_tags, script_plain_tags, true, brackets, text, pos, length);
        else if (b == settings.tag_prefix) tag = tag_span(voice_bracket_tags, voice_plain_tags, false, brackets, text, pos, length);
        if (tag > 0) {
            if (tag > length - pos) tag = length - pos;
            flush(pos);
            out.append(text + pos, static_cast<std::size_t>(tag));
            pos += tag;
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
