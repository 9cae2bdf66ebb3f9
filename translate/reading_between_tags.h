// The reading step in the request path: the spoken copy's text between tags
// is read in context and replaced by the kana the voice says.  Tags are
// found with the scanner's own tables and pass through byte for byte, with
// their arguments.
#pragma once

#include <string>
#include <vector>

#include "reading/spoken_kana.h"
#include "reading/text_reader.h"
#include "voice_data/settings.h"

namespace vokari {

// Rewrites `script` in place; appends the analysis of every text run to
// `words` when it is given, and with `morae` too each mora written, with
// where it stands in the rewritten script.  Reading stops where the scan will
// stop, at the voice tag "e" or "n", and the rest passes unread.  False when
// it was "n", which silences the whole script.
bool read_in_context(const Settings& settings, TextReader& reader, std::string& script,
                     std::vector<ReadWord>* words = nullptr, std::vector<SpokenMora>* morae = nullptr);

}  // namespace vokari
