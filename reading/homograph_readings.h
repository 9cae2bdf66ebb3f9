// Readings that only the words around decide, where the dictionary cannot:
// its entries for them share costs and connections, so the analysis always
// picks the same one.
#pragma once

#include <vector>

#include "reading/text_reader.h"

namespace vokari {

// Corrects the pronunciation of such words in `words`, one analysed piece.
void apply_context_readings(std::vector<ReadWord>& words);

}  // namespace vokari
