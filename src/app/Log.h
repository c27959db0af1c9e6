// The game's plain-text logs: the run log, the statistics log and the surface report. Each line
// is "{minutes:seconds:milliseconds} message" with the time since the start, ended by CR LF.
// Lines are appended; logging never throws into the game.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "core/KelException.h"

// "{m:s:ms} " + message, without the line end, for t milliseconds since the start.
std::string FormatLogLine(uint32_t elapsedMs, const std::string& message);

class TGameLog {
  public:
    using Clock = std::function<uint32_t()>;
    // Logs live in `folder`; `runLogName` is the run log's file name (AppName + ".log").
    TGameLog(std::string folder, std::string runLogName, Clock clock);
    // Deletes the run log left by an earlier run and takes the start tick.
    void StartRun();
    // Appends one line to `fileName` (the run log when empty). I/O errors are swallowed.
    void WriteLog(const std::string& message, const std::string& fileName = "") noexcept;
    uint32_t StartTick() const { return startTick_; }
    std::string RunLogPath() const;

  private:
    std::string folder_, runLogName_;
    Clock clock_;
    uint32_t startTick_ = 0;
};
