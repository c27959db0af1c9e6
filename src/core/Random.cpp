// Random sources. Relies on the standard library only.
#include "core/Random.h"

uint64_t TKelRandom::Next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

int32_t TKelRandom::Random(int32_t range) {
    if (range <= 0) return 0;
    return static_cast<int32_t>(((Next() >> 32) * static_cast<uint64_t>(range)) >> 32);
}

double TKelRandom::RandomFloat() {
    return static_cast<double>(Next() >> 11) * 0x1.0p-53;
}

double TSequenceRandom::Next() {
    if (fractions_.empty()) return 0;
    const double fraction = fractions_[next_];
    next_ = (next_ + 1) % fractions_.size();
    return fraction < 0 ? 0 : fraction;
}

int32_t TSequenceRandom::Random(int32_t range) {
    if (range <= 0) return 0;
    const auto value = static_cast<int32_t>(Next() * range);
    return value >= range ? range - 1 : value;
}

double TSequenceRandom::RandomFloat() {
    return Next();
}
