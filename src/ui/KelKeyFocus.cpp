// Focus movement among the stops of a window.
#include "ui/KelKeyFocus.h"

#include <cstdint>
#include <cstdlib>
#include <limits>

namespace {

// Twice the centre, to stay in whole numbers.
TPoint Centre2(const TRect& rect) {
    return {rect.Left + rect.Right, rect.Top + rect.Bottom};
}

}  // namespace

int StepStop(int count, int from, int step) {
    if (count <= 0) return -1;
    if (from < 0 || from >= count) return 0;
    return ((from + step) % count + count) % count;
}

int StopInDirection(const std::vector<TRect>& stops, int from, TKeyDirection direction) {
    if (from < 0 || size_t(from) >= stops.size()) return -1;
    const TPoint origin = Centre2(stops[size_t(from)]);
    // The best stop within 45 degrees of the direction, else the best anywhere that way.
    int best = -1, bestWide = -1;
    int64_t bestScore = std::numeric_limits<int64_t>::max(), bestWideScore = bestScore;
    for (size_t i = 0; i < stops.size(); ++i) {
        if (int(i) == from) continue;
        const TPoint centre = Centre2(stops[i]);
        const int64_t dx = int64_t{centre.X} - origin.X, dy = int64_t{centre.Y} - origin.Y;
        const bool across = direction == TKeyDirection::Up || direction == TKeyDirection::Down;
        const bool back = direction == TKeyDirection::Left || direction == TKeyDirection::Up;
        const int64_t along = (across ? dy : dx) * (back ? -1 : 1);
        const int64_t aside = std::llabs(across ? dx : dy);
        if (along <= 0) continue;
        const int64_t score = along + 2 * aside;
        if (aside <= along && score < bestScore) best = int(i), bestScore = score;
        if (score < bestWideScore) bestWide = int(i), bestWideScore = score;
    }
    return best >= 0 ? best : bestWide;
}

int NearestStop(const std::vector<TRect>& stops, const TRect& area) {
    const TPoint origin = Centre2(area);
    int best = -1;
    int64_t bestDistance = std::numeric_limits<int64_t>::max();
    for (size_t i = 0; i < stops.size(); ++i) {
        const TPoint centre = Centre2(stops[i]);
        const int64_t dx = int64_t{centre.X} - origin.X, dy = int64_t{centre.Y} - origin.Y;
        const int64_t distance = dx * dx + dy * dy;
        if (distance < bestDistance) best = int(i), bestDistance = distance;
    }
    return best;
}
