// An in-memory platform for tests: scripted events, a settable clock, recorded presentations,
// message boxes and links, an in-memory clipboard and registry. Audio is HeadlessAudio.
#pragma once

#include <deque>
#include <map>
#include <optional>

#include "platform/Platform.h"
#include "platform/RegistryFile.h"

class HeadlessDisplay : public IDisplay {
  public:
    void ShowWindow(bool fullScreen, int x, int y) override;
    bool Open(bool fullScreen, int bitCount) override;
    void Close() override { open_ = false; }
    bool IsOpen() const override { return open_; }
    bool IsFullScreen() const override { return fullScreen_; }
    TPixelFormat PixelFormat() const override { return format_; }
    void Present(const uint8_t* frame, int pitch, const std::vector<TRect>& rects) override;
    void SetCaption(const std::string& caption) override { Caption = caption; }
    void ShowCursor(bool visible) override { CursorVisible = visible; }
    void ShowProgress(const std::string& title, const uint32_t* pixels, int width,
                      int height) override {
        ProgressTitles.push_back(title);
        ProgressPicture.assign(pixels, pixels + size_t(width) * size_t(height));
        ProgressWidth = width;
        ProgressShown = true;
    }
    void HideProgress() override { ProgressShown = false; }

    // Depths that Open refuses, to exercise the fall-back paths.
    std::vector<int> RefusedDepths;
    bool WindowShown = false;
    std::vector<bool> WindowModes;  // full screen or not, at each ShowWindow
    TPoint WindowPosition;
    std::string Caption;
    bool CursorVisible = true;
    // The progress window: every title shown, the last picture, and whether it is open.
    std::vector<std::string> ProgressTitles;
    std::vector<uint32_t> ProgressPicture;
    int ProgressWidth = 0;
    bool ProgressShown = false;
    // Every non-empty presentation: its rectangles; and the screen as presented so far (black
    // until a rectangle of the frame is presented over it).
    std::vector<std::vector<TRect>> Presented;
    std::vector<uint8_t> LastFrame;

  private:
    bool open_ = false, fullScreen_ = false;
    TPixelFormat format_;
};

class HeadlessEvents : public IEvents {
  public:
    bool Poll(TEvent& event) override;
    void PostMessage(int message) override;
    void Push(const TEvent& event) { Script.push_back(event); }
    std::deque<TEvent> Script;
    std::deque<int> Messages;
};

class HeadlessSystem : public ISystem {
  public:
    uint32_t Ticks() override { return Now; }
    void Sleep(uint32_t milliseconds) override { Now += milliseconds; }
    uint64_t RandomSeed() override { return Seed; }
    bool MessageBox(const std::string& caption, const std::string& text) override;
    std::string ClipboardText() override { return Clipboard; }
    void SetClipboardText(const std::string& text) override { Clipboard = text; }
    bool OpenLink(const std::string& link) override;
    std::string RegistryValue(const std::string& key, const std::string& name) override;
    bool SetRegistryValue(const std::string& key, const std::string& name,
                          const std::string& value) override;
    int64_t FreeDiskMb(const std::string& path) override {
        FreeDiskPath = path;
        return FreeMb;
    }
    TMachineInfo MachineInfo() override { return Machine; }

    uint32_t Now = 10000000;
    uint64_t Seed = 1;
    std::string Clipboard;
    std::vector<std::pair<std::string, std::string>> MessageBoxes;
    std::vector<std::string> OpenedLinks;
    std::map<std::string, std::string> Registry;  // "key\name" -> value
    // When set, the registry values live in this file instead, as on the real platform.
    std::optional<TRegistryFile> RegistryFile;
    int64_t FreeMb = 1024;
    std::string FreeDiskPath;  // the path of the last free-space query
    TMachineInfo Machine{"Test OS", "Test Processor", 4096};
};
