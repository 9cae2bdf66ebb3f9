// The prosody model's plan laid onto the reading step's own morae: each
// mora of a word takes the timing and pitch of the model's mora in its place.
#pragma once

#include <vector>

#include "reading/prosody_model.h"
#include "reading/spoken_kana.h"

namespace vokari {

// Copies `plan` onto `morae` (in order, each naming its word) word by word:
// a word whose morae the model counts otherwise keeps its morae untimed, as
// do words the plan does not know.
void time_morae(const ProsodyPlan& plan, std::vector<SpokenMora>& morae);

}  // namespace vokari
