// A display for the graphics tests: a settable pixel format, refused depths, and a record of
// every presentation (its rectangles and a copy of the frame's rows).
#pragma once

#include <cstring>

#include "graphics/SurfEngine.h"
#include "platform/Platform.h"

class FakeDisplay : public IDisplay {
  public:
    explicit FakeDisplay(TPixelFormat format = {}) : Format(format) {}
    void ShowWindow(bool, int, int) override {}
    bool Open(bool fullScreen, int bitCount) override {
        OpenCalls.push_back(bitCount);
        for (int refused : RefusedDepths) {
            if (refused == bitCount) return false;
        }
        open = true;
        full = fullScreen;
        if (bitCount == 16) Format = {16, 0xF800, 0x07E0, 0x001F};
        return true;
    }
    void Close() override { open = false; }
    bool IsOpen() const override { return open; }
    bool IsFullScreen() const override { return full; }
    TPixelFormat PixelFormat() const override { return Format; }
    void Present(const uint8_t* frame, int pitch, const std::vector<TRect>& rects) override {
        Presented.push_back(rects);
        LastFrame = frame;
        LastPitch = pitch;
    }
    void SetCaption(const std::string&) override {}
    void ShowCursor(bool) override {}
    void ShowProgress(const std::string&, const uint32_t*, int, int) override {}
    void HideProgress() override {}

    TPixelFormat Format;
    std::vector<int> RefusedDepths, OpenCalls;
    std::vector<std::vector<TRect>> Presented;
    const uint8_t* LastFrame = nullptr;
    int LastPitch = 0;
    bool open = true, full = false;
};

inline TPixelFormat Format565() {
    return {16, 0xF800, 0x07E0, 0x001F};
}
inline TPixelFormat Format555() {
    return {16, 0x7C00, 0x03E0, 0x001F};
}

// Pixel access on a store surface: 32-bit pixels as their four bytes in a word, 16-bit as words.
inline uint32_t PixelAt(TSurfEngine& engine, const std::string& name, int x, int y) {
    TSurface* s = engine.FindSurface(name);
    const uint8_t* p =
        s->Bits + size_t(y) * s->Pitch + size_t(x) * engine.PixelFormat.BytesPerPixel();
    uint32_t v = 0;
    std::memcpy(&v, p, engine.PixelFormat.BytesPerPixel());
    return v;
}

inline void SetPixel(TSurfEngine& engine, const std::string& name, int x, int y, uint32_t v) {
    TSurface* s = engine.FindSurface(name);
    uint8_t* p = s->Bits + size_t(y) * s->Pitch + size_t(x) * engine.PixelFormat.BytesPerPixel();
    std::memcpy(p, &v, engine.PixelFormat.BytesPerPixel());
}

inline void FillSurface(TSurfEngine& engine, const std::string& name, uint32_t v) {
    TSurface* s = engine.FindSurface(name);
    for (int y = 0; y < s->Height; ++y) {
        for (int x = 0; x < s->Width; ++x) SetPixel(engine, name, x, y, v);
    }
}

inline std::vector<uint8_t> Contents(TSurfEngine& engine, const std::string& name) {
    TSurface* s = engine.FindSurface(name);
    std::vector<uint8_t> bytes;
    for (int y = 0; y < s->Height; ++y) {
        const uint8_t* row = s->Bits + size_t(y) * s->Pitch;
        bytes.insert(bytes.end(), row, row + size_t(s->Width) * engine.PixelFormat.BytesPerPixel());
    }
    return bytes;
}
