// The prosody model's plan laid onto the reading step's own morae: each
// mora of a word takes the timing and pitch of the model's mora in its place.
#pragma once

#include <vector>

#include "reading/prosody_model.h"
#include "reading/spoken_kana.h"

namespace vokari {

// The model's plan of a script, one sentence (up to 。！？) at a time: each
// sentence's contour around its own mean, the sentences one after another
// with the model's leading silence between them, the morae naming their
// words in `words`.  Sentences the model cannot plan have no morae in it.
ProsodyPlan plan_sentences(const ProsodyModel& model, const std::vector<ReadWord>& words, double tempo, double range);

// Copies `plan` onto `morae` (in order, each naming its word) word by word:
// a word whose morae the model counts otherwise keeps its morae untimed, as
// do words the plan does not know.
void time_morae(const ProsodyPlan& plan, std::vector<SpokenMora>& morae);

}  // namespace vokari
