// The speech plan of one script, from the host's text to the timeline and the
// reply.
#include "translate/speech_plan.h"

#include "reading/accent_phrases.h"
#include "translate/accent_events.h"
#include "translate/reading_between_tags.h"
#include "translate/scanner.h"
#include "translate/wait_insertion.h"

namespace vokari {

bool read_script(const SpeechSources& sources, std::string& script, std::vector<ReadWord>* words) {
    apply_translation(sources.voice.settings, sources.dictionary, script, sources.dictionary_index);
    return !sources.reader.is_open() || read_in_context(sources.voice.settings, sources.reader, script, words);
}

// The reply keeps the host's text as it came: only the spoken copy is
// translated and read, and the kana the reader wrote are folded by the pairs
// held back for them.
SpeechPlan plan_speech(const SpeechSources& sources, const std::string& script, Timeline& timeline) {
    const Settings& settings = sources.voice.settings;
    SpeechPlan plan;
    plan.reply = script;
    std::string voice_text = script;
    const bool accent = sources.reader.is_open() && accent_is_on(settings.accent_depth);
    std::vector<ReadWord> words;
    read_script(sources, voice_text, accent ? &words : nullptr);
    if (sources.reader.is_open()) apply_translation(settings, sources.kana_pairs, voice_text);
    std::vector<KanaStart> kana_starts;
    plan.scan = scan_script(sources.voice, voice_text, timeline, accent ? &kana_starts : nullptr);
    if (accent) add_accent_events(timeline, kana_starts, accent_morae(words, settings.accent_depth));
    insert_waits(settings, plan.reply, plan.scan.total_ms, plan.scan.omit_text);
    return plan;
}

}  // namespace vokari
