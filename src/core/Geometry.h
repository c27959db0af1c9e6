// Screen geometry shared by every layer: TPoint and TRect. Relies on nothing.
#pragma once

// A rectangle of pixels with all four edges inclusive: Right and Bottom are the last column and
// row that belong to it, so (0, 0, 799, 599) is the whole 800x600 screen and (x, y, x, y) is the
// single pixel (x, y). Every rectangle of the engine (redraw lists, presentation, drawing, effect
// bounds) uses this convention. Right < Left or Bottom < Top is an empty rectangle.
struct TRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    int Width() const { return Right - Left + 1; }
    int Height() const { return Bottom - Top + 1; }
    bool IsEmpty() const { return Right < Left || Bottom < Top; }
    bool operator==(const TRect&) const = default;
};

struct TPoint {
    int X = 0, Y = 0;
    bool operator==(const TPoint&) const = default;
};

constexpr int ScreenWidth = 800;
constexpr int ScreenHeight = 600;
// The whole screen.
constexpr TRect ScreenRect{0, 0, ScreenWidth - 1, ScreenHeight - 1};
