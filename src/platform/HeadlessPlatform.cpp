// Headless platform for tests.
#include "platform/HeadlessPlatform.h"

#include <algorithm>
#include <cstring>

#include "platform/EventFactory.h"

void HeadlessDisplay::ShowWindow(bool fullScreen, int x, int y) {
    WindowShown = true;
    WindowModes.push_back(fullScreen);
    fullScreen_ = fullScreen;
    WindowPosition = {x, y};
}

bool HeadlessDisplay::Open(bool fullScreen, int bitCount) {
    open_ = false;
    if ((bitCount != 32 && bitCount != 16) ||
        std::find(RefusedDepths.begin(), RefusedDepths.end(), bitCount) != RefusedDepths.end())
        return false;
    fullScreen_ = fullScreen;
    format_ = bitCount == 32 ? TPixelFormat{32, 0x00FF0000, 0x0000FF00, 0x000000FF}
                             : TPixelFormat{16, 0xF800, 0x07E0, 0x001F};
    LastFrame.clear();  // a new display starts black
    open_ = true;
    return true;
}

void HeadlessDisplay::Present(const uint8_t* frame, int pitch, const std::vector<TRect>& rects) {
    if (!open_ || rects.empty()) return;
    Presented.push_back(rects);
    const size_t bytesPerPixel = size_t(format_.BitCount / 8);
    const size_t rowBytes = size_t(ScreenWidth) * bytesPerPixel;
    LastFrame.resize(rowBytes * ScreenHeight);
    for (const TRect& rect : rects) {
        const int left = std::max(rect.Left, 0), top = std::max(rect.Top, 0);
        const int right = std::min(rect.Right, ScreenWidth - 1);
        const int bottom = std::min(rect.Bottom, ScreenHeight - 1);
        if (right < left || bottom < top) continue;
        const size_t offset = size_t(left) * bytesPerPixel;
        const size_t bytes = size_t(right - left + 1) * bytesPerPixel;
        for (int y = top; y <= bottom; ++y)
            std::memcpy(LastFrame.data() + y * rowBytes + offset,
                        frame + size_t(y) * pitch + offset, bytes);
    }
}

bool HeadlessEvents::Poll(TEvent& event) {
    if (!Script.empty()) {
        event = Script.front();
        Script.pop_front();
        return true;
    }
    if (!Messages.empty()) {
        event = MessageEvent(Messages.front());
        Messages.pop_front();
        return true;
    }
    return false;
}

void HeadlessEvents::PostMessage(int message) {
    Messages.push_back(message);
}

bool HeadlessSystem::MessageBox(const std::string& caption, const std::string& text) {
    MessageBoxes.emplace_back(caption, text);
    return true;
}

bool HeadlessSystem::OpenLink(const std::string& link) {
    OpenedLinks.push_back(link);
    return true;
}

std::string HeadlessSystem::RegistryValue(const std::string& key, const std::string& name) {
    if (RegistryFile) return RegistryFile->Read(key, name);
    const auto value = Registry.find(key + "\\" + name);
    return value == Registry.end() ? "" : value->second;
}

bool HeadlessSystem::SetRegistryValue(const std::string& key, const std::string& name,
                                      const std::string& value) {
    if (RegistryFile) return RegistryFile->Write(key, name, value);
    Registry[key + "\\" + name] = value;
    return true;
}
