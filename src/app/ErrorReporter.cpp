// Error message suppression by text and time.
#include "app/ErrorReporter.h"

bool TErrorReporter::ShouldShow(const std::string& message, uint32_t now, int& suppressedBefore) {
    suppressedBefore = 0;
    auto [entry, isNew] = seen_.try_emplace(message);
    TSeen& seen = entry->second;
    if (!isNew && int32_t(now - seen.ShownAt) < int32_t(quietMs_)) {
        ++seen.Suppressed;
        return false;
    }
    suppressedBefore = seen.Suppressed;
    seen = {now, 0};
    return true;
}
