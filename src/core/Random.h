// IRandom: the source of randomness that rules and effects take from their caller, so tests can
// run them with a fixed seed or fixed values. TKelRandom is the seeded generator the game uses;
// TSequenceRandom answers a given sequence, for tests. Relies on the standard library only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class IRandom {
  public:
    virtual ~IRandom() = default;
    // A uniform whole number from 0 to range - 1; 0 when range is 0 or less.
    virtual int32_t Random(int32_t range) = 0;
    // A uniform real number from 0 (included) to 1 (excluded).
    virtual double RandomFloat() = 0;
};

// A small, fast generator (splitmix64); the same seed gives the same numbers on every machine.
class TKelRandom : public IRandom {
  public:
    explicit TKelRandom(uint64_t seed = 0) : state_(seed) {}
    void SetSeed(uint64_t seed) { state_ = seed; }
    int32_t Random(int32_t range) override;
    double RandomFloat() override;

  private:
    uint64_t Next();
    uint64_t state_;
};

// Answers the given fractions (each from 0 to below 1) in turn, starting again after the last:
// RandomFloat gives the fraction, Random(range) the fraction times range, rounded down. With no
// fractions every answer is 0.
class TSequenceRandom : public IRandom {
  public:
    explicit TSequenceRandom(std::vector<double> fractions) : fractions_(std::move(fractions)) {}
    int32_t Random(int32_t range) override;
    double RandomFloat() override;

  private:
    double Next();
    std::vector<double> fractions_;
    size_t next_ = 0;
};
