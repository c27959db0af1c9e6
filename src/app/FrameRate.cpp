// Frame-rate sampling.
#include "app/FrameRate.h"

#include <cstdio>

bool TFrameRate::Update(uint32_t now) {
    if (int32_t(now - secondStart_) <= 1000) return false;
    secondStart_ = now;
    currentFps_ = framesThisSecond_;
    averageFps_ = (samples_ * averageFps_ + currentFps_) / (samples_ + 1);
    ++samples_;
    framesThisSecond_ = 0;
    return true;
}

std::string FormatGeneral3(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3g", value);
    return text;
}
