// The last steps every build shares, whatever the samples came from: level
// and pitch corrections, leaving out what cannot be corrected, the report,
// and the all-or-nothing write of the bank.
#pragma once

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "corrections.h"
#include "slot_analysis.h"

namespace vokari {
namespace voicebank {

struct BuildReport {
    std::vector<std::string> left_out;   // "name: reason" of samples kept out of the bank
    std::vector<std::string> estimates;  // "name: what" of estimates that failed
    std::vector<std::string> empty;      // slots the bank has no sample for, by name
    std::vector<std::string> notes;      // anything else the user should see
};

// Where a tuned bank goes: a folder on disk, or files kept in memory.  False
// with `error` set (in words) when the bank could not be stored.
using BankSink =
    std::function<bool(const std::vector<SlotSample>& samples, const BankTuning& tuning, std::string& error)>;

// Tunes `samples` (`names[i]` names samples[i] for the user), leaves out
// every sample whose correction would pass the renderer's limits (retuning
// the rest), prints one line per slot to `out` and hands speaker `speaker`'s
// bank to `store`.  The report goes to `err`, left-out samples under a
// WARNING banner.  Returns the exit status: kExitBuilt,
// kExitBuiltWithWarnings, or kExitFailed when nothing usable is left or
// `store` fails (a module folder then holds its old bank).
int tune_and_store(std::vector<SlotSample> samples, std::vector<std::string> names, BuildReport& report, int speaker,
                   const BankSink& store, std::FILE* out, std::FILE* err);

}  // namespace voicebank
}  // namespace vokari
