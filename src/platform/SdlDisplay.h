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
    void ShowProgress(const std::string& title, const uint32_t* pixels, int width,
                      int height) override;
    void HideProgress() override;
    SDL_Window* Window() const { return window_; }
    // The window's icon: width x height pixels of 0xAARRGGBB, row by row.
    void SetIcon(int width, int height, std::vector<uint32_t> argb);

  private:
    void ApplyIcon();

    std::string caption_;
    SDL_Window* window_ = nullptr;
    SDL_Window* progress_ = nullptr;  // the small window shown before the main one
    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* texture_ = nullptr;
    bool fullScreen_ = false;
    bool partialPresent_ = false;
    TPixelFormat format_;
    int iconWidth_ = 0, iconHeight_ = 0;
    std::vector<uint32_t> icon_;
};
