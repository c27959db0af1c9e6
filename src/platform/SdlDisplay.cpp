// SDL2 display: window, renderer and the streaming frame texture.
#include "platform/SdlDisplay.h"

#include <algorithm>
#include <vector>

SdlDisplay::SdlDisplay(std::string caption) : caption_(std::move(caption)) {}

SdlDisplay::~SdlDisplay() {
    HideProgress();
    Close();
    if (window_) SDL_DestroyWindow(window_);
}

void SdlDisplay::ShowWindow(bool fullScreen, int x, int y) {
    // A negative position centres the window.
    if (x < 0 || y < 0) x = y = int(SDL_WINDOWPOS_CENTERED);
    if (!window_) {
        window_ = SDL_CreateWindow(caption_.c_str(), x, y, ScreenWidth, ScreenHeight,
                                   SDL_WINDOW_HIDDEN | SDL_WINDOW_ALLOW_HIGHDPI);
        if (!window_) return;
        ApplyIcon();
    }
    SDL_SetWindowFullscreen(window_, fullScreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
    if (!fullScreen) {
        SDL_SetWindowSize(window_, ScreenWidth, ScreenHeight);
        SDL_SetWindowPosition(window_, x, y);
    }
    fullScreen_ = fullScreen;
    SDL_ShowWindow(window_);
    SDL_RaiseWindow(window_);
}

bool SdlDisplay::Open(bool fullScreen, int bitCount) {
    Close();
    if (bitCount != 32 && bitCount != 16) return false;
    if (!window_) {
        ShowWindow(fullScreen, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
        if (!window_) return false;
    } else if (fullScreen != fullScreen_) {
        int x = 0, y = 0;
        SDL_GetWindowPosition(window_, &x, &y);
        ShowWindow(fullScreen, x, y);
    }
    // In a window the frame is shown 1:1, and SDL's software renderer hands it to the window with
    // one copy, without a GL context and its threads (with a software GL driver, as on a virtual
    // X server, those cost several times the frame's composition at every present). Full screen
    // scales the frame, on the GPU.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, fullScreen ? "1" : "0");
    if (fullScreen) renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_PRESENTVSYNC);
    if (!renderer_) renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
    if (!renderer_) return false;
    SDL_RendererInfo info{};
    partialPresent_ = !fullScreen && SDL_GetRendererInfo(renderer_, &info) == 0 &&
                      (info.flags & SDL_RENDERER_SOFTWARE) != 0;
    SDL_RenderSetLogicalSize(renderer_, ScreenWidth, ScreenHeight);
    const Uint32 pixelFormat = bitCount == 32 ? SDL_PIXELFORMAT_RGB888 : SDL_PIXELFORMAT_RGB565;
    texture_ = SDL_CreateTexture(renderer_, pixelFormat, SDL_TEXTUREACCESS_STREAMING, ScreenWidth,
                                 ScreenHeight);
    if (!texture_) {
        Close();
        return false;
    }
    format_ = bitCount == 32 ? TPixelFormat{32, 0x00FF0000, 0x0000FF00, 0x000000FF}
                             : TPixelFormat{16, 0xF800, 0x07E0, 0x001F};
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    SDL_RenderClear(renderer_);
    SDL_RenderPresent(renderer_);
    return true;
}

void SdlDisplay::Close() {
    if (texture_) SDL_DestroyTexture(texture_);
    if (renderer_) SDL_DestroyRenderer(renderer_);
    texture_ = nullptr;
    renderer_ = nullptr;
}

void SdlDisplay::Present(const uint8_t* frame, int pitch, const std::vector<TRect>& rects) {
    if (!texture_ || rects.empty()) return;
    const int bytesPerPixel = format_.BitCount / 8;
    std::vector<SDL_Rect> areas;
    for (const TRect& rect : rects) {
        const int left = std::max(rect.Left, 0), top = std::max(rect.Top, 0);
        const int right = std::min(rect.Right, ScreenWidth - 1);
        const int bottom = std::min(rect.Bottom, ScreenHeight - 1);
        if (right < left || bottom < top) continue;
        const SDL_Rect area{left, top, right - left + 1, bottom - top + 1};
        SDL_UpdateTexture(texture_, &area, frame + area.y * pitch + area.x * bytesPerPixel, pitch);
        areas.push_back(area);
    }
    if (areas.empty()) return;
    if (partialPresent_) {
        // The software renderer draws straight into the window's surface, which keeps what was
        // drawn before, and the frame is shown 1:1: only the changed areas are copied.
        for (const SDL_Rect& area : areas) SDL_RenderCopy(renderer_, texture_, &area, &area);
    } else {
        SDL_RenderClear(renderer_);
        SDL_RenderCopy(renderer_, texture_, nullptr, nullptr);
    }
    SDL_RenderPresent(renderer_);
}

void SdlDisplay::SetCaption(const std::string& caption) {
    caption_ = caption;
    if (window_) SDL_SetWindowTitle(window_, caption.c_str());
}

void SdlDisplay::ShowProgress(const std::string& title, const uint32_t* pixels, int width,
                              int height) {
    if (width <= 0 || height <= 0) return;
    if (!progress_) {
        progress_ = SDL_CreateWindow(title.c_str(), int(SDL_WINDOWPOS_CENTERED),
                                     int(SDL_WINDOWPOS_CENTERED), width, height, SDL_WINDOW_SHOWN);
        if (!progress_) return;  // no window: the work goes on without one
    }
    SDL_SetWindowTitle(progress_, title.c_str());
    if (SDL_Surface* surface = SDL_GetWindowSurface(progress_)) {
        SDL_ConvertPixels(std::min(width, surface->w), std::min(height, surface->h),
                          SDL_PIXELFORMAT_XRGB8888, pixels, width * 4, surface->format->format,
                          surface->pixels, surface->pitch);
        SDL_UpdateWindowSurface(progress_);
    }
    SDL_PumpEvents();
}

void SdlDisplay::HideProgress() {
    if (progress_) SDL_DestroyWindow(progress_);
    progress_ = nullptr;
}

void SdlDisplay::SetIcon(int width, int height, std::vector<uint32_t> argb) {
    if (width <= 0 || height <= 0 || argb.size() != size_t(width) * size_t(height)) return;
    iconWidth_ = width;
    iconHeight_ = height;
    icon_ = std::move(argb);
    ApplyIcon();
}

void SdlDisplay::ApplyIcon() {
    if (!window_ || icon_.empty()) return;
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(
        icon_.data(), iconWidth_, iconHeight_, 32, iconWidth_ * 4, SDL_PIXELFORMAT_ARGB8888);
    if (!surface) return;
    SDL_SetWindowIcon(window_, surface);  // the window keeps its own copy
    SDL_FreeSurface(surface);
}

void SdlDisplay::ShowCursor(bool visible) {
    SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE);
}
