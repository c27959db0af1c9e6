// Animated pictures: the segment notation, frame rectangles, timing and drawing.
#include "ui/KelMoving.h"

#include <algorithm>

#include "core/CoreError.h"
#include "core/KelParserText.h"

constexpr int64_t MaxEndTime = int64_t{1} << 40;

const TKelClass& TKelMoving::StaticClass() {
    static const TKelClass info =
        MakeKelClass<TKelMoving>("TKelMoving", &TKelInterfaceObject::StaticClass(), {});
    return info;
}

void TKelMoving::SetPicture(const std::string& picture) {
    std::vector<TSegment> segments;
    std::vector<std::string> fields;
    std::string field;
    const auto number = [&](size_t index) {
        int32_t value = 0;
        if (!TryStrToInt(Trim(fields[index]), value))
            throw TKelCoreError("[" + Name() + ".Picture] \"" + fields[index] +
                                "\" is not a whole number");
        return value;
    };
    for (char c : picture) {
        if (c != ':' && c != ';') {
            field += c;
            continue;
        }
        fields.push_back(field);
        field.clear();
        if (c == ':') continue;
        if (fields.size() >= 4) {
            TSegment segment;
            segment.Picture = fields[0];
            segment.Frames = std::max(1, number(1));
            segment.FrameTime = number(2);
            segment.Pause = number(3);
            segments.push_back(segment);
        }
        fields.clear();
    }
    int64_t end = 0;
    for (TSegment& segment : segments) {
        int width = 0, height = 0;
        PictureSize(segment.Picture, width, height);
        segment.FrameWidth = width / segment.Frames;
        segment.FrameHeight = height;
        // Kept within the range of the clock's values, so that the sum cannot overflow.
        end = std::clamp<int64_t>(end + segment.Pause + int64_t{segment.Frames} * segment.FrameTime,
                                  -MaxEndTime, MaxEndTime);
        segment.EndTime = end;
    }
    segments_ = std::move(segments);
    segment_ = frame_ = 0;
    TKelInterfaceObject::SetPicture(picture);
}

std::string TKelMoving::GetPictures() const {
    std::string names;
    for (const TSegment& segment : segments_)
        names += (names.empty() ? "" : "\r\n") + segment.Picture;
    return names;
}

void TKelMoving::FitToPicture() {
    if (AutoSize() != asPicture || segments_.empty()) return;
    const TSegment& first = segments_[0];
    if (first.FrameWidth > 0 && first.FrameHeight > 0)
        StoreSize(first.FrameWidth, first.FrameHeight);
}

void TKelMoving::AlignPicture() {
    if (segments_.empty()) return;
    const int frameWidth = segments_[0].FrameWidth, frameHeight = segments_[0].FrameHeight;
    if (frameWidth < 1 || frameHeight < 1) return;
    int left = 0, top = 0;
    if (PictureHAlign() == phaCenter) left = Width() / 2 - frameWidth / 2;
    if (PictureHAlign() == phaRight) left = Width() - frameWidth;
    if (PictureVAlign() == pvaCenter) top = Height() / 2 - frameHeight / 2;
    if (PictureVAlign() == pvaBottom) top = Height() - frameHeight;
    SetPictureOffset(left, top);
}

void TKelMoving::UpdateLayout() {
    SetPicture(Picture());
}

void TKelMoving::Tick(uint32_t milliseconds) {
    if (segments_.empty() || segments_.back().EndTime < 1) return;
    const int64_t t = milliseconds % segments_.back().EndTime;
    size_t index = 0;
    while (index + 1 < segments_.size() && segments_[index].EndTime < t) ++index;
    const TSegment& segment = segments_[index];
    const int64_t period = static_cast<int64_t>(segment.Frames) * segment.FrameTime;
    int64_t frame = 0;
    if (period >= 1) frame = segment.FrameTime < 1 ? t % period : (t % period) / segment.FrameTime;
    segment_ = static_cast<int>(index);
    frame_ = static_cast<int>(std::min<int64_t>(frame, segment.Frames - 1));
    RecordOldRect();
}

void TKelMoving::Draw() {
    if (segments_.empty()) return;
    const TSegment& segment = segments_[static_cast<size_t>(segment_)];
    if (IKelGraphic* host = Host())
        host->Draw(segment.Picture, "", BlendingMode, AbsLeft() + PictureLeft(),
                   AbsTop() + PictureTop(), 255, segment.FrameRect(frame_));
}
