// TNullInterfaceHost: an interface host for running descriptions without a screen (the data
// checker, the fuzz targets): it draws and plays nothing, its screen is 800 x 600, and a
// picture's size is what the owner's function answers. Relies on the interface and font host
// interfaces.
#pragma once

#include <functional>
#include <string>

#include "core/Geometry.h"
#include "graphics/KelFontEngine.h"
#include "ui/KelInterface.h"

class TNullInterfaceHost : public IKelGraphic, public IKelFontHost {
  public:
    // `pictureSize` answers a picture's width and height.
    explicit TNullInterfaceHost(std::function<TPoint(const std::string&)> pictureSize)
        : pictureSize_(std::move(pictureSize)) {}

    void GetPictureSize(int& width, int& height, const std::string& picture) override;
    void GetScreenSize(int& width, int& height) override;

    void Draw(const std::string&, const std::string&, TBlendingMode, int, int, uint8_t,
              const std::optional<TRect>&) override {}
    void DrawBumpMap(const std::string&, const std::string&, int, int) override {}
    void DrawRect(const std::string&, const TRect&, uint32_t, uint8_t, bool) override {}
    void ExtDraw(const std::string&, int) override {}
    void DrawColoredAlpha(const std::string&, const std::string&, int, int, uint32_t,
                          uint8_t) override {}
    void PlaySound(const std::string&) override {}
    void PostFormDraw(const std::string&) override {}
    void LowExtDraw(const std::string&, const TRect&, const std::string&, int, int, uint32_t,
                    uint8_t) override {}

  private:
    std::function<TPoint(const std::string&)> pictureSize_;
};
