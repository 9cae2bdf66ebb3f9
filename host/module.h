// One loaded life of the module: what `load` builds and `unload` ends.  The
// exported functions keep one Module; tests build as many as they need.
#pragma once

#include "reading/prosody_model.h"
#include "reading/text_reader.h"
#include "synth/wav_image.h"
#include "translate/translation_dictionary.h"
#include "translate/speech_plan.h"
#include "translate/translation_index.h"
#include "voice_data/loaded_voice.h"

namespace vokari {

struct Module {
    LoadedVoice voice;                  // module directory, settings, bank, effects
    TranslationDictionary dictionary;   // the user's pairs, then the built-in ones
    TranslationIndex dictionary_index;  // built from `dictionary` once it is complete
    WavImage image;                     // the last request's speech, maybe playing
    TextReader reader;                  // open when the voice names an analyser dictionary
    ProsodyModel prosody;               // open when the voice names a trained voice and the reader is open
    // With the reader open the built-in pairs wait here and fold the kana it
    // wrote (the analyser must see ファイル, not はイル); else they end `dictionary`.
    TranslationDictionary kana_pairs;
};

// What `module` speaks with, for the speech plan.
inline SpeechSources speech_sources(Module& module) {
    return SpeechSources{module.voice,  module.dictionary, &module.dictionary_index,
                         module.reader, module.kana_pairs, &module.prosody};
}

// `load` for one Module (the host's view of it is in include/vokari.h): a
// fresh loaded life, its image aside, which plays on.  Reads settings,
// dictionaries, samples, details and the host's message speed in their fixed
// order; memory running out half-way leaves what was loaded so far.
void load_module(Module& module, const char* block, long length);

// Writes the log's end line, stops playback and frees the samples and the
// image of `module`.
void unload_module(Module& module);

}  // namespace vokari
