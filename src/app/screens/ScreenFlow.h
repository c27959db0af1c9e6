// TScreenFlow: the flow between the game's screens. It owns the four screens and the stack that
// shows them, and moves between them by the game state it is given: the title (with its player,
// high-score, options and language windows), the instructions over the play session, the play
// session, paused or not, and the level map. It also holds the flow's steps shared by the
// screens: a new game loaded, a level won, the next level, the end of the game, the pause of the
// play clock and the labels the game writes into its windows. Relies on the game's services.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "app/GameServices.h"
#include "app/screens/Screen.h"

class TTitleScreen;
class TInstructionsScreen;
class TPlaySession;
class TLevelMapScreen;

class TScreenFlow {
  public:
    explicit TScreenFlow(TGameServices& services);
    ~TScreenFlow();

    // The screens register the published handlers of their windows.
    void RegisterHandlers();
    // The game state changes and the stack shows its screen.
    void Show(TGameState state);
    // The screen of the game state on top of the stack (none before the game starts).
    IScreen* Current();
    // Composes the frame of the pass into "MemorySurface": what the screen on top shows.
    void DrawFrame();

    TTitleScreen& Title() { return *title_; }
    TInstructionsScreen& Instructions() { return *instructions_; }
    TPlaySession& Play() { return *play_; }
    TLevelMapScreen& LevelMap() { return *map_; }

    // A state change by name: "gsLoading", "LevelComplete", "StartNewLevel"; others do nothing.
    void ChangeGameState(const std::string& name);
    // The play clock stands still while paused; resuming moves the level's start forward by the
    // pause, never past the clock.
    void PauseClock();
    void ResumeClock();
    bool ClockPaused() const { return clockPaused_; }
    void UpdateScoreLabels();
    void UpdateWelcomeCaption();
    // Shows the level-loading window with its bar at `percent`, presented at once.
    void SetLevelLoadProgress(int percent);

    int32_t PlayedLevel() const;
    void SavePrevScore();
    void RestorePrevScore();
    void StartFirstLevel();
    void ShowLevelMap();
    void ShowGameComplete();
    void StartNewLevel();
    void ShowLevelHint();
    void NextLevel();
    void RestartLevel();
    void ShowFirstPlayerDialog();
    // Closing the window during a level gives it up: its score and, when newest, the level.
    void AbandonLevel();

  private:
    void Arrange(TGameState state);

    TGameServices& s_;
    std::unique_ptr<TTitleScreen> title_;
    std::unique_ptr<TInstructionsScreen> instructions_;
    std::unique_ptr<TPlaySession> play_;
    std::unique_ptr<TLevelMapScreen> map_;
    TScreenStack stack_;
    TGameState shown_ = gsNone;
    bool clockPaused_ = false;
    uint32_t pauseStart_ = 0;
};
