// The voice translation dictionary: (search, replacement) pairs from the
// user's dictionary files, then the built-in pairs that fold sounds without
// samples (small kana, foreign-sound combinations, vu) into sounds with them.
// Only the spoken copy of a script is translated.
#include "translate/translation_dictionary.h"

#include <cstring>
#include <optional>
#include <vector>

#include "base/text_routines.h"
#include "voice_data/request_log.h"
#include "translate/repeated_replace.h"
#include "translate/translation_index.h"
#include "voice_data/config_text.h"
#include "voice_data/settings.h"

namespace vokari {

namespace {

// The built-in pairs in the order they apply: the two-kana pairs before the
// single small kana, so that "de" + small "i" becomes "de" rather than "de i",
// and "vu" + small "a" becomes "ba" before the last row turns every remaining
// "vu" into "bu".
const char* const kSystemPairs[][2] = {
    {"\x82\xc5\x82\xa1", "\x82\xc5"},          // de + small i     -> de
    {"\x82\xc5\x82\xe3", "\x82\xc5"},          // de + small yu    -> de
    {"\x82\xd3\x82\x9f", "\x82\xcd"},          // fu + small a     -> ha
    {"\x82\xd3\x82\xa1", "\x82\xd0"},          // fu + small i     -> hi
    {"\x82\xd3\x82\xa5", "\x82\xd6"},          // fu + small e     -> he
    {"\x82\xd3\x82\xa7", "\x82\xd9"},          // fu + small o     -> ho
    {"\x82\xc6\x82\xa3", "\x82\xc6"},          // to + small u     -> to
    {"\x83\x66\x83\x42", "\x82\xc5"},          // DE + small I     -> de
    {"\x83\x66\x83\x85", "\x82\xc5"},          // DE + small YU    -> de
    {"\x83\x74\x83\x40", "\x82\xcd"},          // FU + small A     -> ha
    {"\x83\x74\x83\x42", "\x82\xd0"},          // FU + small I     -> hi
    {"\x83\x74\x83\x46", "\x82\xd6"},          // FU + small E     -> he
    {"\x83\x74\x83\x48", "\x82\xd9"},          // FU + small O     -> ho
    {"\x83\x67\x83\x44", "\x82\xc6"},          // TO + small U     -> to
    {"\x83\x94\x83\x40", "\x82\xce"},          // VU + small A     -> ba
    {"\x83\x94\x83\x42", "\x82\xd1"},          // VU + small I     -> bi
    {"\x83\x94\x83\x46", "\x82\xd7"},          // VU + small E     -> be
    {"\x83\x94\x83\x48", "\x82\xda"},          // VU + small O     -> bo
    {"\x82\xc0\x82\xe1", "\x82\xb6\x82\xe1"},  // dji + small ya   -> ja
    {"\x82\xc0\x82\xe3", "\x82\xb6\x82\xe3"},  // dji + small yu   -> ju
    {"\x82\xc0\x82\xe5", "\x82\xb6\x82\xe5"},  // dji + small yo   -> jo
    {"\x83\x61\x83\x83", "\x82\xb6\x82\xe1"},  // DJI + small YA   -> ja
    {"\x83\x61\x83\x85", "\x82\xb6\x82\xe3"},  // DJI + small YU   -> ju
    {"\x83\x61\x83\x87", "\x82\xb6\x82\xe5"},  // DJI + small YO   -> jo
    {"\xc1\xde\xac", "\x82\xb6\x82\xe1"},      // half-width chi, voicing mark, small ya -> ja
    {"\xc1\xde\xad", "\x82\xb6\x82\xe3"},      // ... small yu -> ju
    {"\xc1\xde\xae", "\x82\xb6\x82\xe5"},      // ... small yo -> jo
    {"\x82\x9f", "\x82\xa0"},                  // small a -> a
    {"\x82\xa1", "\x82\xa2"},                  // small i -> i
    {"\x82\xa3", "\x82\xa4"},                  // small u -> u
    {"\x82\xa5", "\x82\xa6"},                  // small e -> e
    {"\x82\xa7", "\x82\xa8"},                  // small o -> o
    {"\x82\xec", "\x82\xed"},                  // small wa -> wa
    {"\x83\x40", "\x82\xa0"},                  // small A -> a
    {"\x83\x42", "\x82\xa2"},                  // small I -> i
    {"\x83\x44", "\x82\xa4"},                  // small U -> u
    {"\x83\x46", "\x82\xa6"},                  // small E -> e
    {"\x83\x48", "\x82\xa8"},                  // small O -> o
    {"\x83\x8e", "\x82\xed"},                  // small WA -> wa
    {"\xa7", "\x82\xa0"},                      // half-width small a -> a
    {"\xa8", "\x82\xa2"},                      // half-width small i -> i
    {"\xa9", "\x82\xa4"},                      // half-width small u -> u
    {"\xaa", "\x82\xa6"},                      // half-width small e -> e
    {"\xab", "\x82\xa8"},                      // half-width small o -> o
    {"\x83\x94", "\x83\x75"},                  // VU -> BU (katakana)
};

// The warning that says why a pair read from a file cannot be used, or
// nothing when it can.  Either kind would make the replacement loop run
// forever.
std::optional<LogLine> unusable_pair_warning(const TranslationPair& pair) {
    if (pair.search.empty()) return LogLine::PairSearchEmpty;
    if (contains_at_character_start(pair.replacement, pair.search)) return LogLine::PairContainsSearch;
    return std::nullopt;
}

// Replacements allowed per pair and text.  A pair shorter than its search
// text, or one whose replacements never form new matches, makes at most one
// replacement per byte; only a pair that keeps feeding itself comes near this.
std::size_t replacement_limit(const std::string& text) { return 16 * text.size() + 1024; }

}  // namespace

// name: a file name relative to the module directory.  Appends the file's pairs in line
// order and logs the path with "Done." or "Can't open file.", followed by a
// warning for each pair that was left out and one for a file saved as UTF-8.
DictionaryFileRead load_translation_file(const LoadedVoice& voice, TranslationDictionary& dictionary,
                                         const char* name) {
    const Settings& settings = voice.settings;
    DictionaryFileRead read;
    char path[kPathCapacity];
    if (!voice.module_path(path, name)) {
        // Too long for a path buffer: logged as a file that cannot be opened.
        log_line(settings, LogLine::FileUnreadable, {name});
        return read;
    }
    log_label(settings, LogLine::FileRead, {path});
    std::vector<TranslationPair> skipped;
    const ConfigFileRead file = for_each_config_line(path, [&](char* line) {
        auto split = split_key_value(line);
        if (!split) return;
        TranslationPair pair{std::move(split->key), std::move(split->value)};
        if (unusable_pair_warning(pair)) {
            skipped.push_back(std::move(pair));
        } else {
            dictionary.push_back(std::move(pair));
            ++read.pairs_added;
        }
    });
    read.opened = file.opened;
    read.utf8_text = file.utf8_text;
    read.pairs_skipped = skipped.size();
    log_rest(settings, file.opened ? LogLine::FileRead : LogLine::FileUnreadable);
    for (const TranslationPair& pair : skipped)
        log_line(settings, *unusable_pair_warning(pair), {pair.search, pair.replacement});
    if (file.utf8_text) log_line(settings, LogLine::Utf8File, {path});
    return read;
}

void add_system_pairs(const Settings& settings, TranslationDictionary& dictionary) {
    log_line(settings, LogLine::MakingSystemPairs);
    for (const auto& pair : kSystemPairs) dictionary.push_back(TranslationPair{pair[0], pair[1]});
    log_line(settings, LogLine::GroupDone);
}

// text: the spoken copy of a script, rewritten in place by every pair in
// order.  Each pair replaces the leftmost occurrence of its search text, a
// Shift_JIS character boundary, until none is left, as if every search began
// at the start of the text again.
void apply_translation(const Settings& settings, const TranslationDictionary& dictionary, std::string& text,
                       const TranslationIndex* index, std::vector<std::int32_t>* marks) {
    // With an index, the pairs that do not occur in the text as it stands are
    // skipped; they would leave it unchanged.
    const bool indexed = index != nullptr && index->active();
    const auto next = [&](std::size_t from) { return indexed ? index->next_occurring(dictionary, text, from) : from; };
    for (std::size_t n = next(0); n < dictionary.size(); n = next(n + 1)) {
        const TranslationPair& pair = dictionary[n];
        if (replace_repeatedly(text, pair.search, pair.replacement, MatchStart::CharacterBoundary,
                               replacement_limit(text), marks))
            continue;
        log_line(settings, LogLine::PairKeepsMatching, {pair.search});
    }
}

}  // namespace vokari
