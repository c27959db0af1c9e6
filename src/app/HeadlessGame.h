// THeadlessGame: the whole game on the headless platform, driven on the game clock. Tests, the
// tool and the game's scripted mode use it to play without a window: each pass advances the
// clock by the pass length, delivers the input due by then and runs one pass of the main loop,
// so a run with the same configuration and input gives the same frames and logs. Relies on
// TKelGameEngine, the headless platform and the PNG codec.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "app/GameEngine.h"
#include "platform/HeadlessAudio.h"
#include "platform/HeadlessPlatform.h"

struct THeadlessConfig {
    std::string DataFolder;  // holds game.zxc and the plain files beside it
    std::string UserFolder;  // saves, options, logs and the working archive
    uint64_t Seed = 1;       // the random source's seed, set before start-up
    uint32_t PassMs = 10;    // game-clock milliseconds per pass
    // Registry values in the user folder's "registry.ini", as the game in a window keeps them,
    // rather than in memory for this run only.
    bool RegistryInUserFolder = false;
};

class THeadlessGame {
  public:
    explicit THeadlessGame(const THeadlessConfig& config);

    // Start-up and the first activation, as when the window is shown for the first time.
    void Start();
    // Runs passes until `ms` milliseconds of game clock have passed or the game closed.
    void Step(uint32_t ms);
    // Runs passes until `done` answers true (checked before each pass), the game closed or
    // `limitMs` of game clock have passed; answers whether `done` answered true.
    bool RunUntil(const std::function<bool()>& done, uint32_t limitMs);

    // Input delivered before the first pass whose clock reaches `at` (now when `at` is 0 or
    // past), in the order given.
    void Input(const TEvent& event, uint32_t at = 0);
    void MouseMove(int x, int y, uint32_t at = 0);
    void MouseDown(int x, int y, TMouseButton button, TShiftState shift = 0, uint32_t at = 0);
    void MouseUp(int x, int y, TMouseButton button, TShiftState shift = 0, uint32_t at = 0);
    void Wheel(int x, int y, int delta, TShiftState shift = 0, uint32_t at = 0);
    void KeyDown(int key, TShiftState shift = 0, uint32_t at = 0);
    void KeyUp(int key, TShiftState shift = 0, uint32_t at = 0);
    void TypeChar(uint32_t character, uint32_t at = 0);
    void Activate(bool active, uint32_t at = 0);
    void Close(uint32_t at = 0);

    // Writes the frame last presented as an 800x600 PNG file; false when nothing was presented
    // yet or the file cannot be written.
    bool SaveFrame(const std::string& path) const;

    uint32_t Now() const { return system_.Now; }
    TKelGameEngine& Engine() { return *game_; }
    HeadlessDisplay& Display() { return display_; }
    HeadlessAudio& Audio() { return audio_; }
    HeadlessSystem& System() { return system_; }

  private:
    void RunPass();

    uint32_t passMs_;
    HeadlessDisplay display_;
    HeadlessEvents events_;
    HeadlessAudio audio_;
    HeadlessSystem system_;
    Platform platform_{display_, events_, audio_, system_};
    std::unique_ptr<TKelGameEngine> game_;
    std::multimap<uint32_t, TEvent> input_;  // by the clock value it is due at
};

// The 800x600 frame of a display in its pixel format (32-bit XRGB or 16-bit 565) as a PNG
// picture.
TPngPicture FrameToPicture(const std::vector<uint8_t>& frame, const TPixelFormat& format);
