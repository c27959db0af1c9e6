#include "app/screens/ScreenFlow.h"

#include "app/FrameParts.h"
#include "app/GameWindows.h"
#include "app/LevelLoader.h"
#include "app/PlayerProfiles.h"
#include "app/screens/InstructionsScreen.h"
#include "app/screens/LevelMapScreen.h"
#include "app/screens/PlaySession.h"
#include "app/screens/TitleScreen.h"
#include "core/KelException.h"
#include "core/SFunctions.h"

namespace {

constexpr const char* MenuMusic = "vibe-eg6.mo3";
// A game is complete once the level counter reaches this.
constexpr int32_t CompleteLevel = 42;

}  // namespace

TScreenFlow::TScreenFlow(TGameServices& services)
    : s_(services),
      title_(std::make_unique<TTitleScreen>(services)),
      instructions_(std::make_unique<TInstructionsScreen>(services)),
      play_(std::make_unique<TPlaySession>(services)),
      map_(std::make_unique<TLevelMapScreen>(services)) {}

TScreenFlow::~TScreenFlow() = default;

void TScreenFlow::RegisterHandlers() {
    title_->RegisterHandlers();
    instructions_->RegisterHandlers();
    play_->RegisterHandlers();
    map_->RegisterHandlers();
}

void TScreenFlow::Show(TGameState state) {
    s_.Play.Game.State = state;
    Arrange(state);
}

IScreen* TScreenFlow::Current() {
    // A state set from outside the flow (the level loader's instructions) is followed here.
    if (shown_ != s_.Play.Game.State) Arrange(s_.Play.Game.State);
    return stack_.Top();
}

void TScreenFlow::Arrange(TGameState state) {
    shown_ = state;
    switch (state) {
        case gsNone:
            stack_.Clear();
            break;
        case gsMenu:
            stack_.Clear();
            stack_.Push(*title_);
            break;
        case gsGame:
        case gsPause:
            if (stack_.Top() == instructions_.get()) stack_.Pop();
            if (stack_.Top() != play_.get()) {
                stack_.Clear();
                stack_.Push(*play_);
            }
            break;
        case gsInstructions:
            // Over the level they explain: from the game menu, or before the level starts.
            if (stack_.Top() != play_.get()) {
                stack_.Clear();
                stack_.Push(*play_);
            }
            stack_.Push(*instructions_);
            break;
        case gsBetweenLevels:
            stack_.Clear();
            stack_.Push(*map_);
            break;
    }
}

void TScreenFlow::DrawFrame() {
    // What changed in the windows since the last frame is presented again.
    TRects changed;
    s_.Interface.CollectDirtyRects(changed);
    for (const TRect& rect : changed) s_.Redraw.FillRect(rect);
    s_.Interface.ClearDirty();
    if (IScreen* screen = Current()) screen->Draw();
    s_.FrameRate.CountFrame();
}

void TScreenFlow::StartFirstLevel() {
    s_.Levels->StartFirstLevel(s_.Os.System.Ticks());
}

int32_t TScreenFlow::PlayedLevel() const {
    const TGame& game = s_.Play.Game;
    return game.SelectedLevel == game.CurrentLevel ? game.CurrentLevel : game.SelectedLevel + 1;
}

void TScreenFlow::UpdateScoreLabels() {
    s_.Windows->SetCaption("WGame_LScoreCount", std::to_string(s_.Play.Game.Score));
    s_.Windows->SetCaption("WGame_LLevelCount", std::to_string(PlayedLevel()));
}

void TScreenFlow::SavePrevScore() {
    s_.Play.Game.PrevScore = s_.Play.Game.Score;
}

void TScreenFlow::RestorePrevScore() {
    s_.Play.Game.Score = s_.Play.Game.PrevScore;
    UpdateScoreLabels();
}

void TScreenFlow::UpdateWelcomeCaption() {
    if (!s_.Interface.FindObject("WTitle_LWelcome") ||
        !s_.Interface.FindObject("WResource_LWelcome"))
        return;
    s_.Windows->SetCaption("WTitle_LWelcome", s_.Windows->CaptionOf("WResource_LWelcome") + " " +
                                                  s_.Play.Game.CurrentPlayerName);
}

void TScreenFlow::SetLevelLoadProgress(int percent) {
    auto* window = dynamic_cast<TKelForm*>(s_.Interface.FindObject("WLoadLevel"));
    if (!window || !s_.Surfaces || !s_.Os.Display.IsOpen()) return;
    s_.Interface.SetProperty("WLoadLevel_PBLoadLevel", "Position", std::to_string(percent));
    s_.Surfaces->DrawSurface("Background", "MemorySurface", 0, 0, nullptr);
    const bool shown = window->Visible();
    window->SetVisible(true);
    window->Draw();
    window->SetVisible(shown);
    std::vector<TRect> whole{ScreenRect};
    s_.Surfaces->PresentRects("MemorySurface", whole);
    s_.MarkWholeScreen();
}

void TScreenFlow::PauseClock() {
    if (clockPaused_) return;
    pauseStart_ = s_.Os.System.Ticks();
    clockPaused_ = true;
}

void TScreenFlow::ResumeClock() {
    if (!clockPaused_) return;
    const uint32_t pause = s_.Os.System.Ticks() - pauseStart_;
    TGame& game = s_.Play.Game;
    // Later than the clock would leave the level's time negative.
    const uint64_t moved = uint64_t(game.LevelStartTime) + pause;
    game.LevelStartTime = uint32_t(std::min<uint64_t>(moved, s_.Now));
    clockPaused_ = false;
}

void TScreenFlow::ChangeGameState(const std::string& name) {
    TGame& game = s_.Play.Game;
    if (name == "gsLoading") {
        s_.Sounds.ChangeMusic(s_.Play.Level.LevelMusic, 1000, 1000, 0, 0);
        s_.Levels->MakeColorFishesSurfaces(s_.Now);
        Show(gsGame);
        s_.Interface.ShowModal("WGame");
        s_.Screen->DrawGameStateBackground();
        s_.Players->SavePlayerState();
        // The hint button waits outside the screen until a hint is due.
        s_.Interface.SetProperty("WGame_BHint", "Left", "-719");
        s_.Interface.SetProperty("WGame_BHint", "Top", "519");
        UpdateScoreLabels();
        s_.MarkWholeScreen();
    } else if (name == "LevelComplete") {
        ShowLevelMap();
    } else if (name == "StartNewLevel") {
        StartNewLevel();
    }
}

void TScreenFlow::ShowLevelMap() {
    TGame& game = s_.Play.Game;
    Show(gsBetweenLevels);
    game.HoveredLevel = -1;
    s_.Screen->DrawGameStateBackground();
    s_.Redraw.FillRect(ScreenRect);
    s_.Interface.HideModalList();
    s_.Interface.ShowModal("WBetweenLevels");
    game.SelectedLevel = game.CurrentLevel;
    // The map's music starts at a random order of the module.
    s_.Sounds.ChangeMusic(MenuMusic, 1000, 1000, s_.Random.Random(10), 0);
    if (game.CurrentLevel >= CompleteLevel) {
        ShowGameComplete();
        game.CurrentLevel = game.SelectedLevel = CompleteLevel - 1;
        s_.Players->SavePlayerState();
    }
}

void TScreenFlow::ShowGameComplete() {
    TGame& game = s_.Play.Game;
    Show(gsMenu);
    s_.Interface.HideModalList();
    s_.Interface.ShowModal("WGameComplete");
    s_.Windows->SetCaption("WGameComplete_LYourScoreCount", std::to_string(game.Score));
    s_.Windows->SetCaption("WGameComplete_EName", game.CurrentPlayerName);
    s_.Sounds.ChangeMusic(MenuMusic, 1000, 1000, 0, 0);
}

void TScreenFlow::StartNewLevel() {
    TGame& game = s_.Play.Game;
    SavePrevScore();
    NextLevel();
    if (game.State == gsMenu) return;  // the game is complete
    s_.Levels->MakeColorFishesSurfaces(s_.Now);
    s_.Sounds.ChangeMusic(s_.Play.Level.LevelMusic, 1000, 1000, 0, 0);
    Show(gsGame);
    s_.Screen->DrawGameStateBackground();
    s_.Players->SavePlayerState();
    s_.MarkWholeScreen();
    s_.Interface.HideModalList();
    s_.Interface.ShowModal("WGame");
    UpdateScoreLabels();
    ShowLevelHint();
    game.LevelStartTime = s_.Os.System.Ticks();
}

void TScreenFlow::ShowLevelHint() {
    const TGame& game = s_.Play.Game;
    const std::string& hint = s_.Play.Level.HintWindow;
    if (hint.empty() || !game.ShowHints || game.SelectedLevel != game.CurrentLevel) return;
    s_.Interface.ShowModal(hint);
    s_.Sounds.ScheduleSoundEvent("HintAppear", -1, s_.Now);
}

void TScreenFlow::NextLevel() {
    Guarded("Exception error in TKelGameEngine.WLevelComplete_BOk_MouseUp!", [this] {
        TGame& game = s_.Play.Game;
        SavePrevScore();
        s_.Interface.HideModalList();
        game.SelectedCell = TCell{};
        const int32_t level = game.SelectedLevel + 1;
        if (game.SelectedLevel == game.CurrentLevel) {
            ++game.SelectedLevel;
            ++game.CurrentLevel;
        }
        const std::string entry = PuzzleLevelName(level);
        if (!s_.Archive->FindFile(entry)) {
            ShowGameComplete();
            return;
        }
        s_.Levels->LoadPuzzleLevelFromXML(entry, s_.Now);
        s_.Surfaces->DrawSurface(s_.Play.Level.BackPicture, "Background", 0, 0, nullptr);
        s_.MarkWholeScreen();
    });
}

void TScreenFlow::RestartLevel() {
    TGame& game = s_.Play.Game;
    RestorePrevScore();
    Show(gsGame);
    s_.Levels->LoadPuzzleLevelFromXML(PuzzleLevelName(PlayedLevel()), s_.Now);
    s_.Levels->MakeColorFishesSurfaces(s_.Now);
    s_.Sounds.ChangeMusic(s_.Play.Level.LevelMusic, 1000, 1000, 0, 0);
    s_.Interface.HideModalList();
    s_.Interface.ShowModal("WGame");
    s_.Screen->DrawGameStateBackground();
    UpdateScoreLabels();
    game.LevelStartTime = s_.Now;
    clockPaused_ = false;
}

void TScreenFlow::ShowFirstPlayerDialog() {
    s_.Interface.HideModalList();
    s_.Interface.ShowModal("WTitle");
    s_.Interface.ShowModal("WYourName");
    s_.Windows->SetCaption("WYourName_EYourName", "");
}

void TScreenFlow::AbandonLevel() {
    TGame& game = s_.Play.Game;
    if (game.State != gsGame && game.State != gsPause && game.State != gsInstructions) return;
    // The unfinished level counts neither its score nor, when it was the newest, as reached.
    game.Score = game.PrevScore;
    if (game.SelectedLevel == game.CurrentLevel) --game.CurrentLevel;
    s_.Players->SavePlayerState();
}
