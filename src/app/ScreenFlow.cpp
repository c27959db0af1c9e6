// The flow between the game's screens on the game object's side: the named state changes (a new
// game loaded, a level won, the next level started from the map), the next level and the end of
// the game, the pause of the play clock, and the labels the game writes into its windows.
#include "app/GameEngine.h"
#include "app/LevelLoader.h"
#include "core/KelException.h"
#include "core/SFunctions.h"

namespace {

constexpr const char* MenuMusic = "vibe-eg6.mo3";
// A game is complete once the level counter reaches this.
constexpr int32_t CompleteLevel = 42;

}  // namespace

std::string TKelGameEngine::TopForm() const {
    const TKelForm* top = interface_.TopForm();
    return top ? top->Name() : std::string();
}

void TKelGameEngine::SetTopForm(const std::string& name) {
    interface_.HideModalList();
    interface_.ShowModal(name);
}

int32_t TKelGameEngine::PlayedLevel() const {
    const TGame& game = play_.Game;
    return game.SelectedLevel == game.CurrentLevel ? game.CurrentLevel : game.SelectedLevel + 1;
}

void TKelGameEngine::SetCaption(const std::string& object, const std::string& text) {
    interface_.SetProperty(object, "Caption", text);
}

void TKelGameEngine::UpdateScoreLabels() {
    SetCaption("WGame_LScoreCount", std::to_string(play_.Game.Score));
    SetCaption("WGame_LLevelCount", std::to_string(PlayedLevel()));
}

void TKelGameEngine::SavePrevScore() {
    play_.Game.PrevScore = play_.Game.Score;
}

void TKelGameEngine::RestorePrevScore() {
    play_.Game.Score = play_.Game.PrevScore;
    UpdateScoreLabels();
}

void TKelGameEngine::UpdateWelcomeCaption() {
    if (!interface_.FindObject("WTitle_LWelcome") || !interface_.FindObject("WResource_LWelcome"))
        return;
    SetCaption("WTitle_LWelcome",
               CaptionOf("WResource_LWelcome") + " " + play_.Game.CurrentPlayerName);
}

void TKelGameEngine::SetLevelLoadProgress(int percent) {
    auto* window = dynamic_cast<TKelForm*>(interface_.FindObject("WLoadLevel"));
    if (!window || !surfaceStore_ || !platform_.Display.IsOpen()) return;
    interface_.SetProperty("WLoadLevel_PBLoadLevel", "Position", std::to_string(percent));
    surfaceStore_->DrawSurface("Background", "MemorySurface", 0, 0, nullptr);
    const bool shown = window->Visible();
    window->SetVisible(true);
    window->Draw();
    window->SetVisible(shown);
    std::vector<TRect> whole{ScreenRect};
    surfaceStore_->PresentRects("MemorySurface", whole);
    MarkWholeScreen();
}

void TKelGameEngine::PauseClock() {
    if (clockPaused_) return;
    pauseStart_ = platform_.System.Ticks();
    clockPaused_ = true;
}

void TKelGameEngine::ResumeClock() {
    if (!clockPaused_) return;
    const uint32_t pause = platform_.System.Ticks() - pauseStart_;
    TGame& game = play_.Game;
    // Later than the clock would leave the level's time negative.
    const uint64_t moved = uint64_t(game.LevelStartTime) + pause;
    game.LevelStartTime = uint32_t(std::min<uint64_t>(moved, currentTick_));
    clockPaused_ = false;
}

void TKelGameEngine::ChangeGameState(const std::string& name) {
    TGame& game = play_.Game;
    if (name == "gsLoading") {
        soundEvents_.ChangeMusic(play_.Level.LevelMusic, 1000, 1000, 0, 0);
        levels_.MakeColorFishesSurfaces(currentTick_);
        game.State = gsGame;
        interface_.ShowModal("WGame");
        screen_.DrawGameStateBackground();
        SavePlayerState();
        // The hint button waits outside the screen until a hint is due.
        interface_.SetProperty("WGame_BHint", "Left", "-719");
        interface_.SetProperty("WGame_BHint", "Top", "519");
        UpdateScoreLabels();
        MarkWholeScreen();
    } else if (name == "LevelComplete") {
        ShowLevelMap();
    } else if (name == "StartNewLevel") {
        StartNewLevel();
    }
}

void TKelGameEngine::ShowLevelMap() {
    TGame& game = play_.Game;
    game.State = gsBetweenLevels;
    game.HoveredLevel = -1;
    screen_.DrawGameStateBackground();
    redrawGrid_.FillRect(ScreenRect);
    interface_.HideModalList();
    interface_.ShowModal("WBetweenLevels");
    game.SelectedLevel = game.CurrentLevel;
    // The map's music starts at a random order of the module.
    soundEvents_.ChangeMusic(MenuMusic, 1000, 1000, random_.Random(10), 0);
    if (game.CurrentLevel >= CompleteLevel) {
        ShowGameComplete();
        game.CurrentLevel = game.SelectedLevel = CompleteLevel - 1;
        SavePlayerState();
    }
}

void TKelGameEngine::ShowGameComplete() {
    TGame& game = play_.Game;
    game.State = gsMenu;
    interface_.HideModalList();
    interface_.ShowModal("WGameComplete");
    SetCaption("WGameComplete_LYourScoreCount", std::to_string(game.Score));
    SetCaption("WGameComplete_EName", game.CurrentPlayerName);
    soundEvents_.ChangeMusic(MenuMusic, 1000, 1000, 0, 0);
}

void TKelGameEngine::StartNewLevel() {
    TGame& game = play_.Game;
    SavePrevScore();
    NextLevel();
    if (game.State == gsMenu) return;  // the game is complete
    levels_.MakeColorFishesSurfaces(currentTick_);
    soundEvents_.ChangeMusic(play_.Level.LevelMusic, 1000, 1000, 0, 0);
    game.State = gsGame;
    screen_.DrawGameStateBackground();
    SavePlayerState();
    MarkWholeScreen();
    interface_.HideModalList();
    interface_.ShowModal("WGame");
    UpdateScoreLabels();
    ShowLevelHint();
    game.LevelStartTime = platform_.System.Ticks();
}

void TKelGameEngine::ShowLevelHint() {
    const TGame& game = play_.Game;
    const std::string& hint = play_.Level.HintWindow;
    if (hint.empty() || !game.ShowHints || game.SelectedLevel != game.CurrentLevel) return;
    interface_.ShowModal(hint);
    soundEvents_.ScheduleSoundEvent("HintAppear", -1, currentTick_);
}

void TKelGameEngine::NextLevel() {
    Guarded("Exception error in TKelGameEngine.WLevelComplete_BOk_MouseUp!", [this] {
        TGame& game = play_.Game;
        SavePrevScore();
        interface_.HideModalList();
        game.SelectedCell = TCell{};
        const int32_t level = game.SelectedLevel + 1;
        if (game.SelectedLevel == game.CurrentLevel) {
            ++game.SelectedLevel;
            ++game.CurrentLevel;
        }
        const std::string entry = PuzzleLevelName(level);
        if (!archive_->FindFile(entry)) {
            ShowGameComplete();
            return;
        }
        levels_.LoadPuzzleLevelFromXML(entry, currentTick_);
        surfaceStore_->DrawSurface(play_.Level.BackPicture, "Background", 0, 0, nullptr);
        MarkWholeScreen();
    });
}

void TKelGameEngine::RestartLevel() {
    TGame& game = play_.Game;
    RestorePrevScore();
    game.State = gsGame;
    levels_.LoadPuzzleLevelFromXML(PuzzleLevelName(PlayedLevel()), currentTick_);
    levels_.MakeColorFishesSurfaces(currentTick_);
    soundEvents_.ChangeMusic(play_.Level.LevelMusic, 1000, 1000, 0, 0);
    interface_.HideModalList();
    interface_.ShowModal("WGame");
    screen_.DrawGameStateBackground();
    UpdateScoreLabels();
    game.LevelStartTime = currentTick_;
    clockPaused_ = false;
}

void TKelGameEngine::ShowFirstPlayerDialog() {
    interface_.HideModalList();
    interface_.ShowModal("WTitle");
    interface_.ShowModal("WYourName");
    SetCaption("WYourName_EYourName", "");
}

void TKelGameEngine::AbandonLevel() {
    TGame& game = play_.Game;
    if (game.State != gsGame && game.State != gsPause && game.State != gsInstructions) return;
    // The unfinished level counts neither its score nor, when it was the newest, as reached.
    game.Score = game.PrevScore;
    if (game.SelectedLevel == game.CurrentLevel) --game.CurrentLevel;
    SavePlayerState();
}
