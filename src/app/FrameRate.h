// The frame-rate figures of the main loop: frames composed in the current second, the rate of
// the last full second and the running average of all seconds sampled. Relies on nothing.
#pragma once

#include <cstdint>
#include <string>

class TFrameRate {
  public:
    // The first second starts at `now`.
    void Start(uint32_t now) { secondStart_ = now; }
    void CountFrame() { ++framesThisSecond_; }
    // Takes a sample when more than a second has passed since the last one; true when it did.
    bool Update(uint32_t now);

    int FramesThisSecond() const { return framesThisSecond_; }
    int CurrentFps() const { return currentFps_; }
    double AverageFps() const { return averageFps_; }
    int Samples() const { return samples_; }

  private:
    uint32_t secondStart_ = 0;
    int framesThisSecond_ = 0;
    int currentFps_ = 0;
    double averageFps_ = 0;
    int samples_ = 0;
};

// General float format with three significant digits: 59.9, 60, 7.25.
std::string FormatGeneral3(double value);
