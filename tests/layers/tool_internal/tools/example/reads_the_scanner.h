// A tool that reaches into the module: the layer check must refuse it.
#pragma once

#include "base/text_routines.h"
#include "vokari.h"
#include "translate/scanner.h"
