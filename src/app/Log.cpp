// Log files: append-only writes with the elapsed-time prefix.
#include "app/Log.h"

#include <cstdio>

#include "platform/Paths.h"

std::string FormatLogLine(uint32_t elapsedMs, const std::string& message) {
    return "{" + std::to_string(elapsedMs / 60000) + ":" + std::to_string(elapsedMs / 1000 % 60) +
           ":" + std::to_string(elapsedMs % 1000) + "} " + message;
}

TGameLog::TGameLog(std::string folder, std::string runLogName, Clock clock)
    : folder_(std::move(folder)), runLogName_(std::move(runLogName)), clock_(std::move(clock)) {
    startTick_ = clock_();
}

std::string TGameLog::RunLogPath() const {
    return JoinPath(folder_, runLogName_);
}

void TGameLog::StartRun() {
    std::remove(RunLogPath().c_str());
    startTick_ = clock_();
}

void TGameLog::WriteLog(const std::string& message, const std::string& fileName) noexcept {
    try {
        const std::string path = fileName.empty() ? RunLogPath() : JoinPath(folder_, fileName);
        const std::string line = FormatLogLine(clock_() - startTick_, message) + "\r\n";
        if (FILE* file = std::fopen(path.c_str(), "ab")) {
            std::fwrite(line.data(), 1, line.size(), file);
            std::fclose(file);
        }
    } catch (...) {
        // A log line that cannot be written is lost; the game goes on.
    }
}
