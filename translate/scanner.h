// The script scanner and everything that reads a script: kana conversion, the
// host's script tags, the module's voice-control tags, and the insertion of
// wait tags into the reply.
#pragma once

#include <cstdint>
#include <string>

namespace vokari {

// Per-request voice state reset by reset_request_state(): the size of one
// pitch step of the voice-control tags, in steps of the factor 1.014546.
extern double pitch_step_size;   // 1.0
// Set by the voice-control tag "o" during the scan; read by insert_waits.
extern bool omit_text;
// Per-request sound-file wish, set by "wavout[" / "wavouts[": the path and its
// options, and whether the speech is saved without being played.
extern std::string wav_output_spec;
extern int wav_output_silent;

// Scans the (translated) voice text into `timeline` and returns the total
// duration in milliseconds; 0 means nothing is to be rendered.  The total is
// kept in 64 bits (held within +-2^61), so that a script whose own pauses run
// past the 32-bit range still gets the waits that its characters need.
std::int64_t scan_script(const std::string& text);

// Inserts "\_w[n]" wait tags into `script` (the untranslated reply) and removes
// the voice-control tags from it.  total_ms: what scan_script returned.
void insert_waits(std::string& script, std::int64_t total_ms);

// `text` + `p` points at a '['; `end` is the text's length.  Returns the byte
// count from '[' through its matching ']' and stores the bytes between them in
// `out`, or returns -1.  (A scan of many tags uses one BracketMatcher for the
// whole text instead.)
int extract_tag_argument(const char* text, int p, int end, std::string& out);

}  // namespace vokari
