// The hosts a game script runs on: the headless driver on the game clock, as fast as it goes,
// and a real window on real time, its platform's events dispatched between passes. Relies on the
// headless driver, the game object, its snapshot and the PNG codec.
#pragma once

#include "app/HeadlessGame.h"
#include "app/ScriptRunner.h"

class THeadlessScriptHost : public IScriptHost {
  public:
    // Starts the game: start-up and the first activation.
    explicit THeadlessScriptHost(const THeadlessConfig& config);
    void Send(const TEvent& event) override { game_.Send(event); }
    TGameSnapshot Snapshot() override { return game_.Snapshot(); }
    std::string FindPressPoint(const std::string& name, TPoint& at) override {
        return ::FindPressPoint(game_.Engine(), name, at);
    }
    uint32_t Now() override { return game_.Now(); }
    void Pass() override { game_.Step(passMs_); }
    bool SaveFrame(const std::string& path) override { return game_.SaveFrame(path); }
    THeadlessGame& Game() { return game_; }

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
    void Send(const TEvent& event) override {
        if (!engine_.Closed()) engine_.Dispatch(event);
    }
    TGameSnapshot Snapshot() override { return TakeSnapshot(engine_); }
    std::string FindPressPoint(const std::string& name, TPoint& at) override {
        return ::FindPressPoint(engine_, name, at);
    }
    uint32_t Now() override { return platform_.System.Ticks(); }
    // Gives the processor back for a millisecond after the pass.
    void Pass() override;
    // The composed frame, "MemorySurface" of the surface store.
    bool SaveFrame(const std::string& path) override;

  private:
    Platform& platform_;
    TKelGameEngine& engine_;
};
