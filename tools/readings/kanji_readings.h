// Last-resort readings of single kanji from kanjidic (the Debian package
// kanjidic): one reading for every kanji of JIS X 0208, so that no kanji of a
// script stays silent.
#pragma once

#include <map>
#include <string>

namespace vokari {
namespace readings {

// Reads the kanjidic file at `path` (EUC-JP).  Returns kanji -> hiragana
// reading (UTF-8): the first on reading the file lists, else the first kun
// reading without its okurigana.  Empty with `error` set when the file cannot
// be read.
std::map<std::string, std::string> read_kanjidic(const std::string& path, std::string& error);

}  // namespace readings
}  // namespace vokari
