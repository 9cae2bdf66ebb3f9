// Script files as the builder reads them: the encoding of each file found out
// (UTF-8 or Shift_JIS), and the host's backslash tags and the module's
// voice-control tags taken out so that only the spoken words are analysed.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace vokari {
namespace readings {

struct ScriptFile {
    std::string path;
    std::vector<std::string> lines;  // UTF-8, tags removed, one spoken segment each
};

// Reads `bytes` (a whole file) as UTF-8 when it is valid UTF-8, else as
// Shift_JIS when it is valid Shift_JIS.  Otherwise returns false and sets
// `error` to a message naming the first byte offset that neither accepts.
// A UTF-8 byte-order mark is dropped.
bool decode_script(const std::string& bytes, std::string& utf8, std::string& error);

// Splits a decoded script into spoken segments: every backslash tag ends a
// segment (speaker switches, waits and line breaks separate what is said);
// voice-control tags starting with `tag_prefix` are removed without a break,
// so that a word and the particle after such a tag stay together.
std::vector<std::string> spoken_segments(const std::string& utf8, char tag_prefix);

// The tags of `text` in order, each as its bytes: backslash tags with their
// digit or bracketed argument, and voice-control tags.  With `shift_jis` the
// text is walked character by character, so that a trail byte equal to a
// backslash or the prefix is never taken for a tag.
std::vector<std::string> tags_of(const std::string& text, char tag_prefix, bool shift_jis);

}  // namespace readings
}  // namespace vokari
