// The voice-bank builder's runs in the page: recordings as the browser
// decoded them go in; the output and report as vokari-voicebank prints them
// and the module-directory files it would have written come out.  Both
// builds (recordings named by syllable, CV banks) leave them here for the
// page to take through web_build_*.
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>

#include "audio_input.h"
#include "bank_build.h"

namespace web {

// Forgets the last run's output and files, then runs `body` with two memory
// streams for its output and its report.  Returns what `body` returns.
int run_builder(const std::function<int(std::FILE* out, std::FILE* err)>& body);

// A sink that keeps speaker `speaker`'s tuned bank as the files of a module
// directory.
vokari::voicebank::BankSink keep_bank_files(int speaker);

// Lets go of the last run's output and files.
void forget_run();

// Records `status` and the usage message `error` as a run that made nothing.
int refuse_run(int status, const char* error);

// A recording as the browser decoded it: `frame_count` frames of `channels`
// interleaved channels at `rate` Hz as recorded (for the clipping check and
// the length), and `mono_count` mono samples at the bank's rate.  An `error`
// that is not empty marks a file the browser could not decode.
vokari::voicebank::AudioReadResult browser_recording(const float* frames, int frame_count, int channels, double rate,
                                                     const float* mono, int mono_count, const char* error);

}  // namespace web
