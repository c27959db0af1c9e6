// The display on SDL2: one window, a renderer and one streaming texture holding the frame
// (XRGB8888, or RGB565 in 16-bit mode). Full screen is desktop full screen with the 800x600 frame
// scaled and letterboxed by an accelerated renderer with vsync; a window shows it 1:1 through
// SDL's software renderer, which copies only the changed areas.
#pragma once

#include <SDL2/SDL.h>

#include "platform/Platform.h"

class SdlDisplay : public IDisplay {
  public:
    explicit SdlDisplay(std::string caption);
    ~SdlDisplay() override;
    void ShowWindow(bool fullScreen, int x, int y) override;
    bool Open(bool fullScreen, int bitCount) override;
    void Close() override;
    bool IsOpen() const override { return texture_ != nullptr; }
    bool IsFullScreen() const override { return fullScreen_; }
    TPixelFormat PixelFormat() const override { return format_; }
    void Present(const uint8_t* frame, int pitch, const std::vector<TRect>& rects) override;
    void SetCaption(const std::string& caption) override;
    void ShowCursor(bool visible) override;
    SDL_Window* Window() const { return window_; }

  private:
    std::string caption_;
    SDL_Window* window_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* texture_ = nullptr;
    bool fullScreen_ = false;
    bool partialPresent_ = false;
    TPixelFormat format_;
};
