// The speech plan: what one script comes to before the host answers with it.
// The script is translated, read between its tags, scanned into a timeline
// with its accent, and the reply gets the waits that keep the host's text in
// step with the voice; the host only renders the timeline and sends the reply.
#pragma once

#include <string>
#include <vector>

#include "reading/prosody_model.h"
#include "reading/spoken_kana.h"
#include "reading/text_reader.h"
#include "translate/scan_result.h"
#include "translate/timeline.h"
#include "translate/translation_dictionary.h"
#include "translate/translation_index.h"
#include "voice_data/loaded_voice.h"

namespace vokari {

// What a loaded module speaks with.
struct SpeechSources {
    const LoadedVoice& voice;
    const TranslationDictionary& dictionary;  // the user's pairs, then the built-in ones
    const TranslationIndex* dictionary_index;
    TextReader& reader;                       // the reading step, when open
    const TranslationDictionary& kana_pairs;  // the built-in pairs held back for the reader's kana
    const ProsodyModel* prosody = nullptr;    // times the morae, when open
};

// The front half: rewrites `script` as it is read (translated, and with the
// reader open read in context); `words` receives the analysis of what was
// read, when given, and `morae` (with `words`) the morae written, each with
// where its kana stand in `script`.  False when the script silences itself
// (the voice tag "n"): nothing of it is spoken.
bool read_script(const SpeechSources& sources, std::string& script, std::vector<ReadWord>* words,
                 std::vector<SpokenMora>* morae = nullptr);

struct SpeechPlan {
    std::string reply;  // the script as the host shows it: its waits in, the voice-control tags out
    ScanResult scan;    // the speech's length (0: nothing to render), the sound file asked for
};

// The whole plan of `script` (the host's text, read up to its first NUL);
// `timeline` receives the speech of both speakers, the pitch accent in it.
SpeechPlan plan_speech(const SpeechSources& sources, const std::string& script, Timeline& timeline);

}  // namespace vokari
