// Renders SVG pictures with librsvg and cairo into TPngPicture (colour not premultiplied, alpha
// separate), for the data builder: whole pictures, chosen layers of a picture (elements named by
// id), and animation strips rendered frame by frame from one picture with a transform per frame
// described by a small text recipe. The same source always gives the same pixels.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "resources/JpegPNG.h"

// Where one frame's picture goes: rotated (degrees) and scaled about the frame's centre, then
// moved, and drawn with the given opacity (0..1).
struct TSvgTransform {
    double Rotate = 0, Scale = 1, Dx = 0, Dy = 0, Opacity = 1;
};

class TSvgPicture {
  public:
    // Throws TPictureError when the bytes are not an SVG document librsvg can read.
    explicit TSvgPicture(std::span<const uint8_t> bytes);
    ~TSvgPicture();
    TSvgPicture(const TSvgPicture&) = delete;
    TSvgPicture& operator=(const TSvgPicture&) = delete;

    // The document's own size in pixels (width and height attributes, else the view box).
    int Width() const { return width_; }
    int Height() const { return height_; }

    // Draws the listed layers ("#id"; an empty list draws the whole document) in order, the
    // document's viewport fitted to width x height, into the area (x, y, width, height) of the
    // picture. Throws TPictureError for an unknown layer.
    void Render(TPngPicture& target, int x, int y, int width, int height,
                const std::vector<std::string>& layers, const TSvgTransform& transform) const;

  private:
    struct THandle;
    std::unique_ptr<THandle> handle_;
    int width_ = 0, height_ = 0;
};

// A blank picture with alpha, every pixel transparent black.
TPngPicture BlankPicture(int width, int height);

// One cyclic motion of a strip: base + amplitude * sin(2 pi * cycles * frame / frames), so that
// frame 0 shows the base value and the last frame leads smoothly back to the first.
struct TStripMotion {
    double Base = 0, Amplitude = 0, Cycles = 1;
    double At(int frame, int frames) const;
};

// What a recipe asks for: strips of several layers and still pictures, all of frame size
// (Width x Height), from one source picture.
struct TStripOutput {
    std::string Entry;
    std::vector<std::string> Layers;
    bool Still = false;  // one frame (frame 0) instead of a strip
};

struct TStripRecipe {
    std::string Source;
    int Frames = 1;
    int Width = 0, Height = 0;
    TStripMotion Rotate, Scale{1, 0, 1}, Dx, Dy, Opacity{1, 0, 1};
    double Spin = 0;  // degrees turned evenly over the strip, added to Rotate
    std::vector<TStripOutput> Outputs;

    TSvgTransform FrameTransform(int frame) const;
};

// Reads a recipe: one directive a line, '#' starts a comment.
//   source NAME.svg             the picture, beside the recipe
//   frames N                    frames per strip (1..256)
//   size W H                    frame size in pixels (1..1024)
//   rotate|scale|dx|dy|opacity BASE [AMPLITUDE [CYCLES]]
//   spin DEGREES                turned evenly over the strip (for pictures with that symmetry)
//   strip ENTRY LAYER...        a strip of every frame side by side (layers by element id)
//   still ENTRY LAYER...        frame 0 alone
// Throws std::runtime_error naming the line for anything else.
TStripRecipe ParseStripRecipe(const std::string& text);

// Every frame of the output's layers side by side (one frame for a still).
TPngPicture RenderStripOutput(const TSvgPicture& picture, const TStripRecipe& recipe,
                              const TStripOutput& output);
