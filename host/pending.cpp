// Temporary placeholders so that the tree links while this area is being
// written.  Delete each function as its real implementation lands.
#include <cstring>

#include "host/entry_points.h"
#include "host/request.h"
#include "host/request_log.h"
#include "host/translation_dictionary.h"

namespace vokari {
std::vector<TranslationPair> translation_dictionary;
void load_translation_file(const char*) {}
void add_system_pairs() {}
void apply_translation(std::string&) {}
}  // namespace vokari
