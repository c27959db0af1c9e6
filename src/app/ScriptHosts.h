// The hosts a game script runs on: the headless driver on the game clock, as fast as it goes,
// and a real window on real time, its platform's events dispatched between passes. Relies on the
// headless driver, the game object and the PNG codec.
#pragma once

#include <optional>

#include "app/HeadlessGame.h"
#include "app/ScriptRunner.h"

class THeadlessScriptHost : public IScriptHost {
  public:
    // Starts the game (start-up and the first activation) in the given window mode (0 window,
    // 1 full screen; none: the stored option).
    explicit THeadlessScriptHost(const THeadlessConfig& config,
                                 std::optional<int> fullScreen = std::nullopt);
    TKelGameEngine& Engine() override { return game_.Engine(); }
    uint32_t Now() override { return game_.Now(); }
    void Pass() override { game_.Step(passMs_); }
    bool SaveFrame(const std::string& path) override { return game_.SaveFrame(path); }

  private:
    THeadlessGame game_;
    uint32_t passMs_;
};

class TWindowScriptHost : public IScriptHost {
  public:
    TWindowScriptHost(Platform& platform, TKelGameEngine& engine)
        : platform_(platform), engine_(engine) {}
    // Start-up, then passes until the window's first activation has started the game, for at
    // most 10 seconds.
    void Start();
    TKelGameEngine& Engine() override { return engine_; }
    uint32_t Now() override { return platform_.System.Ticks(); }
    // Gives the processor back for a millisecond after the pass.
    void Pass() override;
    // The composed frame, "MemorySurface" of the surface store.
    bool SaveFrame(const std::string& path) override;

  private:
    Platform& platform_;
    TKelGameEngine& engine_;
};
