// The random source effects draw from: the caller injects it (core's IRandom), so a test can
// replay an effect exactly.
#pragma once

#include "core/Random.h"

// A uniform number in [0, 1) from the source; 0 when there is no source.
inline float FxRandom(IRandom* source) {
    if (!source) return 0.0f;
    const float r = float(source->RandomFloat());
    return r < 1.0f ? r : 0.99999994f;  // a double just below 1 can round up to 1 as a float
}
