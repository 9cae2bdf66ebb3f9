// The speech plan of one script, from the host's text to the timeline and the
// reply.
#include "translate/speech_plan.h"

#include <cstdint>
#include <utility>

#include "reading/accent_phrases.h"
#include "reading/timed_morae.h"
#include "translate/mora_events.h"
#include "translate/reading_between_tags.h"
#include "translate/scanner.h"
#include "translate/wait_insertion.h"

namespace vokari {

bool read_script(const SpeechSources& sources, std::string& script, std::vector<ReadWord>* words,
                 std::vector<SpokenMora>* morae) {
    apply_translation(sources.voice.settings, sources.dictionary, script, sources.dictionary_index);
    return !sources.reader.is_open() || read_in_context(sources.voice.settings, sources.reader, script, words, morae);
}

// The reply keeps the host's text as it came: only the spoken copy is
// translated and read, and the kana the reader wrote are folded by the pairs
// held back for them.  The reader notes where each mora's kana start, and
// the fold carries those marks along with the bytes (a rewritten kana keeps
// the mark of the first it replaced), so the scanner meets each mora by its
// place in the text it speaks, whatever the pairs and tags did around it.
SpeechPlan plan_speech(const SpeechSources& sources, const std::string& script, Timeline& timeline) {
    const Settings& settings = sources.voice.settings;
    SpeechPlan plan;
    plan.reply = script;
    std::string voice_text = script;
    const bool timed = sources.reader.is_open() && sources.prosody != nullptr && sources.prosody->is_open();
    const bool with_morae = timed || (sources.reader.is_open() && accent_is_on(settings.accent_depth));
    std::vector<ReadWord> words;
    std::vector<SpokenMora> morae;
    read_script(sources, voice_text, with_morae ? &words : nullptr, with_morae ? &morae : nullptr);
    if (!with_morae) {
        if (sources.reader.is_open()) apply_translation(settings, sources.kana_pairs, voice_text);
        plan.scan = scan_script(sources.voice, voice_text, timeline);
    } else {
        // The model's melody replaces the step accent.
        ProsodyPlan prosody;
        if (timed) {
            prosody = plan_sentences(*sources.prosody, words, settings.prosody_tempo, settings.prosody_range);
            time_morae(prosody, morae);
        } else {
            set_accent(words, morae, settings.accent_depth);
        }
        std::vector<std::int32_t> mora_at(voice_text.size(), -1);
        for (std::size_t m = 0; m < morae.size(); ++m)
            mora_at[static_cast<std::size_t>(morae[m].at)] = static_cast<std::int32_t>(m);
        apply_translation(settings, sources.kana_pairs, voice_text, nullptr, &mora_at);
        MoraStream stream(morae, std::move(mora_at));
        stream.set_melody(prosody.log_f0, prosody.frame_ms);
        plan.scan = scan_script(sources.voice, voice_text, timeline, &stream);
        stream.add_to(timeline);
    }
    insert_waits(settings, plan.reply, plan.scan.total_ms, plan.scan.omit_text);
    return plan;
}

}  // namespace vokari
