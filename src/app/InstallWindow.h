// The small window the first start shows while it makes the working archive (before the game's
// own window exists): the title "Tervolin (N%)", the caption "Installing game graphics ...", the
// status text of the install job and a progress bar, 322 by 157 pixels, drawn in software with
// the plain font of the shipped archive (without text when that font cannot be read).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <memory>

#include "graphics/KelFont.h"
#include "graphics/KelFontEngine.h"
#include "platform/Platform.h"
#include "resources/FileFolder.h"
#include "resources/JpegPNG.h"

class TInstallWindow {
  public:
    static constexpr int Width = 322, Height = 157;

    // Reads the font from the shipped archive; nothing is shown before the first Update.
    TInstallWindow(IDisplay& display, TFileFolder* shipped);
    ~TInstallWindow();
    TInstallWindow(const TInstallWindow&) = delete;
    TInstallWindow& operator=(const TInstallWindow&) = delete;

    // Draws the window with the status and the bar at `percent` (clamped to 0..100) and shows it.
    void Update(const std::string& status, int percent);

    const std::vector<uint32_t>& Pixels() const { return pixels_; }

  private:
    void LoadFont(TFileFolder& shipped);
    void Fill(int left, int top, int right, int bottom, uint32_t colour);
    // The text centred between `left` and `right` with its top at `top`, cut at the edges.
    void DrawText(const std::string& text, int left, int right, int top, uint32_t colour);

    IDisplay& display_;
    std::vector<uint32_t> pixels_;
    std::unique_ptr<TKelFontEngine> fonts_;
    const TKelFont* font_ = nullptr;  // owned by fonts_; null without a usable font
    TPngPicture sheet_;
    bool shown_ = false;
};
