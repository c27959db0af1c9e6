// The install step's progress window.
#include "app/InstallWindow.h"

#include <algorithm>

namespace {

constexpr uint32_t Panel = 0x2A1E12, Border = 0xC9A24A, Caption = 0xF1DEB0, Status = 0xC8B48A,
                   BarBack = 0x140E08, BarFill = 0xD9A93C;
constexpr const char* FontEntry = "KelUnicode.xml";

uint32_t Blend(uint32_t under, uint32_t over, uint32_t alpha) {
    uint32_t out = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const uint32_t a = (under >> shift) & 0xFF, b = (over >> shift) & 0xFF;
        out |= ((a * (255 - alpha) + b * alpha) / 255) << shift;
    }
    return out;
}

}  // namespace

TInstallWindow::TInstallWindow(IDisplay& display, TFileFolder* shipped)
    : display_(display), pixels_(size_t(Width) * Height, Panel) {
    if (shipped) LoadFont(*shipped);
}

TInstallWindow::~TInstallWindow() {
    if (shown_) display_.HideProgress();
}

void TInstallWindow::LoadFont(TFileFolder& shipped) {
    // A damaged or missing font leaves the window without text: the install goes on.
    try {
        TMemoryStream* metrics = shipped.FindFile(FontEntry);
        if (!metrics) return;
        auto fonts = std::make_unique<TKelFontEngine>();
        const TKelFont* font = fonts->LoadFontFromStream(*metrics);
        if (!font || font->Picture.empty() || font->Height <= 0) return;
        TMemoryStream* sheet = shipped.FindFile(font->Picture);
        if (!sheet) return;
        sheet_ = TPngPicture::Decode({sheet->Memory(), sheet->Size()});
        if (!sheet_.HasAlpha()) return;
        fonts_ = std::move(fonts);
        font_ = font;
    } catch (const std::exception&) {
        font_ = nullptr;
    }
}

void TInstallWindow::Fill(int left, int top, int right, int bottom, uint32_t colour) {
    for (int y = std::max(top, 0); y <= std::min(bottom, Height - 1); ++y)
        for (int x = std::max(left, 0); x <= std::min(right, Width - 1); ++x)
            pixels_[size_t(y) * Width + size_t(x)] = colour;
}

void TInstallWindow::DrawText(const std::string& text, int left, int right, int top,
                              uint32_t colour) {
    if (!font_) return;
    const std::u32string wide(text.begin(), text.end());  // install texts are plain ASCII
    int x = left + std::max(0, (right - left - font_->TextWidth(wide)) / 2);
    for (char32_t c : wide) {
        const auto& descs = font_->Descs();
        const auto found = std::find_if(descs.begin(), descs.end(),
                                        [c](const TCharDesc& d) { return d.Code == int32_t(c); });
        if (found == descs.end()) {
            x += font_->Height / 3;
            continue;
        }
        const TCharDesc& d = *found;
        x += d.PreSpace;
        for (int gy = 0; gy < font_->Height; ++gy) {
            const int sy = d.SrcY + gy, py = top + gy;
            if (sy < 0 || sy >= sheet_.Height || py < 0 || py >= Height) continue;
            for (int gx = 0; gx < d.Width; ++gx) {
                const int sx = d.SrcX + gx, px = x + gx;
                if (sx < 0 || sx >= sheet_.Width || px < left || px > right) continue;
                const uint8_t alpha = sheet_.AlphaRow(sy)[sx];
                uint32_t& pixel = pixels_[size_t(py) * Width + size_t(px)];
                pixel = Blend(pixel, colour, alpha);
            }
        }
        x += d.Width + d.PostSpace;
        if (x > right) break;
    }
}

void TInstallWindow::Update(const std::string& status, int percent) {
    percent = std::clamp(percent, 0, 100);
    Fill(0, 0, Width - 1, Height - 1, Border);
    Fill(2, 2, Width - 3, Height - 3, Panel);
    DrawText("Installing game graphics ...", 10, Width - 11, 24, Caption);
    DrawText(status, 10, Width - 11, 64, Status);
    Fill(20, 108, Width - 21, 125, Border);
    Fill(22, 110, Width - 23, 123, BarBack);
    Fill(22, 110, 22 + (Width - 44) * percent / 100 - 1, 123, BarFill);
    display_.ShowProgress("Tervolin (" + std::to_string(percent) + "%)", pixels_.data(), Width,
                          Height);
    shown_ = true;
}
