// The end of a level on the game object's side: won (the celebration, whose end leaves the
// level) or lost (the frame frozen under the game-over window), and the angry Pharaoh's drain
// of the finish bar that loses it.
#include <algorithm>

#include "app/GameEngine.h"
#include "core/KelException.h"

void TKelGameEngine::LevelComplete(uint32_t now) {
    Guarded("Exception error in TKelGameEngine.LevelComplete!", [&] {
        // Once only: the celebration runs, or the bar is already gone (without the
        // celebration's file nothing else would stop the quiet passes from coming back here).
        if (IndexOfScreenEffect(screenEffects_, "LevelComplete1") >= 0 ||
            !play_.Level.ShowFinishBar)
            return;
        SavePlayerStat();
        TGame& game = play_.Game;
        game.AddToHighScore = true;
        game.Mood = 858;
        CreateLevelCompleteEffect(now);
        soundEvents_.StopAllMusic();
        soundEvents_.ScheduleSoundEvent("LevelComplete", -1, now);
        soundEvents_.ScheduleSoundEvent("LevelCompletePharaohScream", -1, now);
        game.State = gsGame;
        play_.Level.ShowFinishBar = false;
        // The whole bar, wherever its light last ended.
        redrawGrid_.FillRect({19, 100, 108, 505});
    });
}

void TKelGameEngine::CreateLevelCompleteEffect(uint32_t now) {
    Guarded("Exception error in TKelGameEngine.CreateLevelCompleteEffect!", [&] {
        CreateKelEffectFromFile(
            screenEffects_, EffectSources(),
            {.Name = "LevelComplete1",
             .File = "efLevelComplete.xml",
             .CallbackArg = "LevelComplete",
             .OnEnd = [this](const std::string& state) { ChangeGameState(state); }},
            now);
    });
}

void TKelGameEngine::LoseLevel() {
    Guarded("Exception error in TKelGameEngine.LoseLevel!", [&] {
        SavePlayerStat();
        surfaceStore_->DrawSurface("MemorySurface", "Background", 0, 0, nullptr);
        play_.Game.State = gsPause;
        screen_.DrawGameStateBackground();
        interface_.ShowModal("WGameOver");
        MarkWholeScreen();
        soundEvents_.StopAllMusic();
        soundEvents_.ScheduleSoundEvent("LevelFailed", -1, currentTick_);
    });
}

void TKelGameEngine::DrainFinishBar(uint32_t now) {
    if (play_.Game.MoodState != 0 || play_.Game.State != gsGame || !PlayWindowOnTop()) return;
    const int32_t dt = int32_t(std::max<int64_t>(0, int64_t(now) - int64_t(previousTick_)));
    if (rules_.DrainBar(now, dt)) LoseLevel();
}

void TKelGameEngine::SavePlayerStat() {
    Guarded("Exception error in TKelGameEngine.SavePlayerStat!", [this] {
        const TGame& game = play_.Game;
        // The level's play time without its pauses.
        const int64_t d =
            std::max<int64_t>(0, int64_t(currentTick_) - int64_t(game.LevelStartTime));
        const std::string time = " in " + std::to_string(d / 60000) + " min. " +
                                 std::to_string((d / 1000) % 60) + " sec.";
        const std::string player = "Player " + game.CurrentPlayerName;
        const std::string level = std::to_string(game.CurrentLevel);
        log_.WriteLog(play_.Level.LevelDone
                          ? player + " have finished level " + level + time + " Score in level " +
                                std::to_string(game.Score - game.PrevScore)
                          : player + " lose level " + level + time,
                      "Stat.log");
    });
}
