// Where the keys move the focus among the objects of a window that take it ("stops"), given their
// screen rectangles in reading order: Tab steps through the list, the arrows go to the nearest
// stop in their direction, and a focus that vanished (its object hidden) goes to the nearest stop.
#pragma once

#include <vector>

#include "core/Geometry.h"

enum class TKeyDirection { Left, Right, Up, Down };

// The stop `step` places after `from` (negative: before), wrapping round; the first stop when
// `from` is -1. -1 when there are no stops.
int StepStop(int count, int from, int step);

// The stop whose centre lies beyond the centre of stop `from` in the direction, the nearest when
// distance across the direction counts double, preferring those within 45 degrees of it; -1 when
// none lies that way.
int StopInDirection(const std::vector<TRect>& stops, int from, TKeyDirection direction);

// The stop whose centre is nearest to the centre of `area`; -1 when there are no stops.
int NearestStop(const std::vector<TRect>& stops, const TRect& area);
