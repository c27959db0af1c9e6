// Decides which error messages are shown to the player. A message is shown once; the same text
// again within the quiet period is only counted, so a fault that repeats every pass cannot bury
// the game under dialogs. The count is reported when the text is next shown.
#pragma once

#include <cstdint>
#include <map>
#include <string>

class TErrorReporter {
  public:
    explicit TErrorReporter(uint32_t quietMs = 10000) : quietMs_(quietMs) {}
    // True when the message is to be shown now. `suppressedBefore` gets the
    // number of identical messages suppressed since it was last shown.
    bool ShouldShow(const std::string& message, uint32_t now, int& suppressedBefore);

  private:
    struct TSeen {
        uint32_t ShownAt = 0;
        int Suppressed = 0;
    };
    uint32_t quietMs_;
    std::map<std::string, TSeen> seen_;
};
