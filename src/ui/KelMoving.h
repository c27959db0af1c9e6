// TKelMoving: a frame-animated picture. Its Picture is a list of segments "name:frames:frame
// time:pause;" whose frames lie side by side in the named picture; the form's tick picks the
// segment and frame of the clock value. Relies on the interface objects (KelInterfaceObject).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ui/KelInterfaceObject.h"

class TKelMoving : public TKelInterfaceObject {
    KEL_CLASS(TKelMoving)

  public:
    struct TSegment {
        std::string Picture;
        int Frames = 1;  // at least 1
        int FrameTime = 0;
        int Pause = 0;
        int64_t EndTime = 0;  // the previous segment's end plus pause and frames times frame time
        int FrameWidth = 0;   // the picture's width divided by the frames
        int FrameHeight = 0;  // the picture's height

        TRect FrameRect(int k) const {
            return {k * FrameWidth, 0, (k + 1) * FrameWidth - 1, FrameHeight - 1};
        }
    };

    const std::vector<TSegment>& Segments() const { return segments_; }
    int CurrentSegment() const { return segment_; }
    int CurrentFrame() const { return frame_; }

    // Parses the segments; a field that is not a whole number raises TKelCoreError naming the
    // object and the property, and leaves the picture as it was.
    void SetPicture(const std::string& picture) override;
    std::string GetPictures() const override;
    void FitToPicture() override;
    void AlignPicture() override;
    void UpdateLayout() override;
    void Draw() override;
    // Picks the segment and frame of the clock value in milliseconds.
    void Tick(uint32_t milliseconds);

  private:
    std::vector<TSegment> segments_;
    int segment_ = 0, frame_ = 0;
};
