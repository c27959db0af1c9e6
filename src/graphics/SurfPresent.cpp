// Presentation of the frame's changed rectangles through the platform display, the visible
// region of the window, and the display set-up with its fall-back to 16 bits.
#include <algorithm>

#include "graphics/SurfEngine.h"

void TSurfEngine::CheckClipper() {
    // The platform shows the whole client area at all times: the region is the screen.
    ClipList = {WholeScreen()};
}

void TSurfEngine::ClipRedrawRects(std::vector<TRect>& rects) {
    if (ClipList.size() == 1 && ClipList[0] == WholeScreen()) return;
    std::vector<TRect> clipped;
    for (const TRect& visible : ClipList) {
        for (const TRect& r : rects) {
            const TRect part{std::max(r.Left, visible.Left), std::max(r.Top, visible.Top),
                             std::min(r.Right, visible.Right), std::min(r.Bottom, visible.Bottom)};
            if (!part.IsEmpty()) clipped.push_back(part);
        }
    }
    rects = std::move(clipped);
}

void TSurfEngine::PresentRects(const std::string& frameName, std::vector<TRect>& rects) {
    TSurface* frame = FindSurface(frameName);
    if (!Display || !frame || !frame->HasSurface()) return;
    // The display reads a whole screen of pixels from the frame.
    if (frame->Width < ScreenWidth || frame->Height < ScreenHeight) return;
    if (!Display->IsFullScreen()) ClipRedrawRects(rects);
    std::vector<TRect> shown;
    for (const TRect& r : rects) {
        if (r.Left < 0 || r.Right >= ScreenWidth || r.Top < 0 || r.Bottom >= ScreenHeight) continue;
        if (!r.IsEmpty()) shown.push_back(r);
    }
    if (!shown.empty()) Display->Present(frame->Bits, frame->Pitch, shown);
}

bool SetUpDisplay(IDisplay& display, int fullScreenMode, int bitCount, const TLogSink& log) {
    const bool fullScreen = fullScreenMode == 1;
    if (display.Open(fullScreen, bitCount)) return true;
    if (bitCount != 16 && display.Open(fullScreen, 16)) return true;
    display.Close();
    if (log) log("Error in init DirectX mode FullScreen=" + std::to_string(fullScreenMode));
    return false;
}
