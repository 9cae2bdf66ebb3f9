// A voice-data header that reaches up into the renderer: the layer check
// must refuse this tree.
#pragma once

#include "synth/renderer.h"
