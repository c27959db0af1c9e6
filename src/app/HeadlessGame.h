// THeadlessGame: the whole game on the headless platform, driven on the game clock, and the one
// way tests, the tool and the game's scripted mode reach a game: input as a player gives it,
// passes, and a snapshot of what there is to see. Each pass advances the clock by the pass
// length, delivers the input due by then and runs one pass of the main loop, so a run with the
// same configuration and input gives the same frames and logs. Relies on TKelGameEngine, the
// game snapshot, the headless platform, the event factories and the PNG codec.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "app/GameEngine.h"
#include "app/GameSnapshot.h"
#include "platform/EventFactory.h"
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
    // The window mode of this run (0 window, 1 full screen); none: the stored option.
    std::optional<int> FullScreen = std::nullopt;
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

    // Input that goes to the game at once, at the clock of the last pass.
    void Send(const TEvent& event);
    // A press and release of the button, with the button's flag in the press's shift state as
    // the platform reports them.
    void Click(int x, int y, TMouseButton button = TMouseButton::mbLeft);
    // A left click at the centre of the widget `name` of a shown window; empty when it was
    // pressed, else why it cannot be.
    std::string Press(const std::string& name);
    // The key down and up.
    void Key(int key, TShiftState shift = 0);
    // Each character of the UTF-32 text typed.
    void Type(const std::u32string& text);

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

    // What there is to see now.
    TGameSnapshot Snapshot() { return TakeSnapshot(*game_); }

    // Starts level `number` from the archive's entry `entry` as a new game does, without the
    // instructions, and shows the play window.
    void StartLevel(int32_t number, const std::string& entry);
    // The play state to set up before a level starts or between passes: the game mode, the
    // hints, a board posed for a picture.
    TPlayState& SetUpPlay() { return game_->Services().Play; }
    // Seeds the random source of play (the pieces that fall in).
    void SeedPlay(uint64_t seed) { game_->Services().PlayRandom.SetSeed(seed); }
    // The working archive, to add a level made by a test or a tool; none before start-up.
    TFileFolder* Archive() { return game_->Services().Archive.get(); }

    uint32_t Now() const { return system_.Now; }
    // The game object itself, for the tests of its parts that a player cannot reach.
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
