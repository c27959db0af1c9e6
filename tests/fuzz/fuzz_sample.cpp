// Fuzz target: arbitrary bytes handed to the sample loader, then a short render of every
// playback the result allows.
#include <cstddef>
#include <cstdint>

#include "platform/Mixer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Mixer mixer;
    uint32_t sample = mixer.LoadSample(data, size, 2);
    if (sample) {
        mixer.PlaySample(sample, 100);
        mixer.PlaySample(sample, 100);
        mixer.PlaySample(sample, 50);
        float out[2 * 512];
        mixer.Render(out, 512);
    }
    return 0;
}
