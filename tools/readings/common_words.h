// Everyday vocabulary from EDICT (the Debian package edict): the words it
// marks as common, with the forms that verbs and adjectives take in a script
// (遊ぶ: 遊ば 遊び 遊ぶ 遊べ 遊ぼ 遊ん; 晴れる: 晴れ; 楽しい: 楽し).
#pragma once

#include <map>
#include <string>

namespace vokari {
namespace readings {

// Reads the EDICT file at `path` (EUC-JP).  Returns written form -> hiragana
// reading (UTF-8) for the common entries whose headword holds kanji, the
// first common reading of a headword winning.  Empty with `error` set when
// the file cannot be read.
std::map<std::string, std::string> read_common_words(const std::string& path, std::string& error);

}  // namespace readings
}  // namespace vokari
