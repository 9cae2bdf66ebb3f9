// Finding the metadata lists of a RIFF file that would make libsndfile's
// header parser loop forever, before the file is handed to it.
#pragma once

#include <string>

namespace vokari {
namespace voicebank {

// True when `bytes`, a RIFF, RIFX or RF64 file, hold anywhere a LIST or INFO
// chunk with an entry whose length, added to what precedes it in the list,
// passes 4 GiB.  libsndfile
// (1.2) adds such a length in 32 bits, takes the wrapped sum for a short
// entry and jumps back by it, over and over.  Every place is looked at, not
// only where a clean walk of the chunks would go, because libsndfile also
// resynchronises on damaged chunk headers.
bool has_looping_list_chunk(const std::string& bytes);

}  // namespace voicebank
}  // namespace vokari
