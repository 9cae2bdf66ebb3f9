// The MeCab tagger under the reading-dictionary builder, whichever the build
// links: the system's libmecab on the desktop, the reading step's own MeCab
// copy on Windows (which has no libmecab).  Both hand out the same C node
// and dictionary records.
#pragma once

#include <mecab.h>

#include <string>

namespace vokari {
namespace readings {

struct MecabTagger;

// Opens a tagger on the dictionary in `dictionary_dir`; null with MeCab's
// reason in `error` when it cannot.
MecabTagger* open_tagger(const std::string& dictionary_dir, std::string& error);
void close_tagger(MecabTagger* tagger);
// The nodes of `text`, valid until the next call; null when MeCab fails.
const mecab_node_t* parse_to_node(MecabTagger* tagger, const std::string& text);
const mecab_dictionary_info_t* tagger_dictionary(const MecabTagger* tagger);
const char* tagger_version();
// What to do when no dictionary is found: the package or folder it comes in.
std::string dictionary_hint();

}  // namespace readings
}  // namespace vokari
