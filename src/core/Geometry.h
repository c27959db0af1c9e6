// Screen geometry shared by every layer: TPoint and TRect. Relies on nothing.
#pragma once

// A screen rectangle: Left and Top inclusive, Right and Bottom exclusive.
struct TRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    bool operator==(const TRect&) const = default;
};

struct TPoint {
    int X = 0, Y = 0;
    bool operator==(const TPoint&) const = default;
};

constexpr int ScreenWidth = 800;
constexpr int ScreenHeight = 600;
