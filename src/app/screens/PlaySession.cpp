// The play session: the board's input and play timers, the tutorial popups, the windows over play
// (the game menu, help, the confirmations) and the end of a level.
#include "app/screens/PlaySession.h"

#include <algorithm>

#include "app/FrameParts.h"
#include "app/GameWindows.h"
#include "app/HighScoreBoard.h"
#include "app/OptionsWindow.h"
#include "app/PlayerName.h"
#include "app/PlayerProfiles.h"
#include "app/TutorialArrow.h"
#include "app/screens/ScreenFlow.h"
#include "core/KelException.h"

namespace {

constexpr const char* MenuMusic = "vibe-eg6.mo3";

// The area the mouse finds cells in; points outside clear the hover state.
constexpr TRect MouseBoardArea{2, 8, 847, 665};
// What a click on the board redraws.
constexpr TRect ClickRedrawArea{2, 8, 799, 599};

bool Inside(TPoint point, const TRect& rect) {
    return point.X >= rect.Left && point.X <= rect.Right && point.Y >= rect.Top &&
           point.Y <= rect.Bottom;
}

}  // namespace

bool TPlaySession::PlayWindowOnTop() const {
    return s_.Windows->TopForm() == "WGame";
}

bool TPlaySession::TutorialPopupOnTop() const {
    const std::vector<TPopupWindow>& popups = s_.Play.Level.PopupWindows;
    return !popups.empty() && s_.Windows->TopForm() == popups.back().Name;
}

bool TPlaySession::BoardTakesKeys() const {
    return s_.Play.Game.State == gsGame && (PlayWindowOnTop() || TutorialPopupOnTop());
}

bool TPlaySession::HoverOnPiece() const {
    const TCell hover = s_.Play.Game.HoverCell;
    if (!s_.Play.Level.Board.CellExists(hover.Col, hover.Row)) return false;
    const TFish& fish = s_.Play.Level.Board.Cell(hover.Col, hover.Row);
    return fish.Kind == fkNormal && fish.Type != -1;
}

bool TPlaySession::HandleEvent(const TEvent& event) {
    switch (event.Kind) {
        case TEventKind::MouseDown:
            BoardMouseDown(event);
            return true;
        case TEventKind::MouseMove:
            BoardMouseMove(s_.Now);
            return true;
        case TEventKind::KeyDown:
            PlayKeyDown(event.Key);
            return true;
        default:
            return false;
    }
}

void TPlaySession::Update(uint32_t now) {
    if (s_.Play.Game.State != gsGame) return;
    s_.Screen->AnimateCells(now);
    if (PlayWindowOnTop()) {
        s_.Flow->ResumeClock();
        TickPlayTimers(now);
    } else if (TutorialPopupOnTop()) {
        // A tutorial popup is part of play: the board goes on filling and merging under it, so
        // the cell it points at holds what it describes.
        TickPlayTimers(now);
    }
    DrainFinishBar(now);
}

void TPlaySession::DrawBoardLayers() {
    const TEffectCanvas canvas = s_.Canvas();
    s_.Screen->DrawFinishBar(canvas);
    DrawKelScreenEffects(canvas, "MemorySurface", s_.LevelEffects);
    s_.Screen->DrawLevelBox(canvas);
    s_.Screen->DrawFlyingPieces(canvas);
    s_.Screen->DrawArrowCursor(canvas, s_.Play.Game);
    if (HoverOnPiece()) s_.Screen->DrawMouseOverEffects(canvas);
}

void TPlaySession::Draw() {
    const TEffectCanvas canvas = s_.Canvas();
    DrawBackgroundByGrid(s_);
    if (s_.Play.Game.State == gsGame) {
        DrawBoardLayers();
        s_.Screen->DrawPharaoh(canvas, s_.Windows->TopForm());
        DrawKelScreenEffects(canvas, "MemorySurface", s_.ScreenEffects);
    } else {
        s_.Screen->DrawFinishBar(canvas);
        DrawKelScreenEffects(canvas, "MemorySurface", s_.ScreenEffects);
        s_.Screen->DrawPharaoh(canvas, s_.Windows->TopForm());
    }
    s_.Interface.DrawAll();
    DrawCursor(s_);
}

void TPlaySession::BoardMouseDown(const TEvent& event) {
    TGame& game = s_.Play.Game;
    if (game.State != gsGame || s_.Play.Level.LevelDone) return;
    if (event.Button == TMouseButton::mbLeft) {
        LeftMouseDownInGamePlayBox({event.X, event.Y});
        if (game.KeyCursorTime > 0) game.KeyCursorTime = -1;  // a click hides the cursor
    } else if (event.Button == TMouseButton::mbRight && PlayWindowOnTop()) {
        s_.Rules->RightMouseDownInGamePlay(FoundMoouseOverFish({event.X, event.Y}), s_.Now);
        game.SelectedCell = TCell{};
        s_.Redraw.FillRect(ClickRedrawArea);
    }
}

void TPlaySession::LeftMouseDownInGamePlayBox(TPoint point) {
    if (!Inside(point, MouseBoardArea) || s_.Play.Level.LevelDone) return;
    const TCell cell = FoundMoouseOverFish(point);
    // Under another window the board takes only the click that closes the tutorial popup
    // pointing at this cell.
    bool takes = PlayWindowOnTop();
    if (!takes) {
        const std::string top = s_.Windows->TopForm();
        takes = s_.Rules->PopupScriptRightClick(cell, top);
        if (takes) s_.Interface.HideModal(top);
    }
    if (takes) {
        const bool object = s_.Play.Level.Board.CellExists(cell.Col, cell.Row) &&
                            s_.Play.Level.Board.Cell(cell.Col, cell.Row).Kind >= fkScarab0 &&
                            s_.Play.Level.Board.Cell(cell.Col, cell.Row).Kind <= fkPyramid;
        s_.Rules->ClickOnCell(cell, s_.Now);
        if (object) return;  // objects redraw what they change themselves
    }
    s_.Redraw.FillRect(ClickRedrawArea);
}

void TPlaySession::BoardMouseMove(uint32_t now) {
    if (s_.Play.Game.State != gsGame) return;
    Guarded(
        [this] {
            return "Exception error in TKelGameEngine.MouseMove! " +
                   std::to_string(int(s_.Play.Game.State));
        },
        [&] {
            TGame& game = s_.Play.Game;
            if (!Inside(s_.MousePos, MouseBoardArea)) {
                game.HoverCell = TCell{};
                game.HoverStart = 0;
                game.PreviewGroup.clear();
                return;
            }
            const TCell cell = FoundMoouseOverFish(s_.MousePos);
            if (cell == game.HoverCell) return;
            s_.Rules->HoverUpdate(cell, now);
            s_.Redraw.FillRect(MouseBoardArea);
        });
}

void TPlaySession::PlayKeyDown(int key) {
    TGame& game = s_.Play.Game;
    TCell& cursor = game.KeyCursor;
    const TCell before = cursor;
    switch (key) {
        case vk::Left:
            cursor.Col = cursor.Col > 1 ? cursor.Col - 1 : cursor.Col;
            break;
        case vk::Right:
            cursor.Col = cursor.Col < BoardColumns ? cursor.Col + 1 : cursor.Col;
            break;
        case vk::Up:
            cursor.Row = cursor.Row > 1 ? cursor.Row - 1 : cursor.Row;
            break;
        case vk::Down:
            cursor.Row = cursor.Row < BoardRows ? cursor.Row + 1 : cursor.Row;
            break;
        case vk::Space:
            if (game.KeyCursorTime <= 0) return;
            PressSpaceInGamePlay();
            game.KeyCursorTime = int32_t(s_.Now);
            s_.MarkWholeScreen();
            return;
        case vk::Delete:
            game.SelectedCell = TCell{};
            s_.MarkWholeScreen();
            return;
        default:
            return;
    }
    if (!(cursor == before))
        Guarded("Exception error in TKelGameEngine.!",
                [&] { s_.Rules->HoverUpdate(cursor, s_.Now); });
    game.KeyCursorTime = int32_t(s_.Now);
    s_.MarkWholeScreen();
}

void TPlaySession::PressSpaceInGamePlay() {
    if (s_.Play.Level.LevelDone) return;
    // Under a tutorial popup Space acts as a click does: only on the cell the popup names, which
    // closes it.
    bool takes = PlayWindowOnTop();
    if (!takes && TutorialPopupOnTop()) {
        const std::string top = s_.Windows->TopForm();
        takes = s_.Rules->PopupScriptRightClick(s_.Play.Game.KeyCursor, top);
        if (takes) s_.Interface.HideModal(top);
    }
    if (takes) s_.Rules->PressSpaceInGamePlay(s_.Now);
    s_.Redraw.FillRect(ClickRedrawArea);
}

void TPlaySession::TickPlayTimers(uint32_t now) {
    const int32_t dt = int32_t(std::max<int64_t>(0, int64_t(now) - int64_t(s_.PreviousTick)));
    // The Pharaoh's mood changes only while the play window is on top, never under a popup.
    s_.Rules->TickGamePlayTimer(now, PlayWindowOnTop());
    ShowTutorialPopup(now);
    s_.Rules->TickBoxMovePiecesTimer(now, dt);
}

void TPlaySession::ShowTutorialPopup(uint32_t now) {
    const TPopupWindow* popup = s_.Rules->PopupToShow(now);
    if (!popup || s_.Interface.Shown(popup->Name)) return;
    const auto* window =
        dynamic_cast<const TKelInterfaceObject*>(s_.Interface.FindObject(popup->Name));
    if (!window) return;
    const TTutorialLayout layout =
        LayOutTutorialPopup({popup->Col, popup->Row}, window->Width(), window->Height());
    s_.Interface.SetProperty(popup->Name, "Left", std::to_string(layout.Window.X));
    s_.Interface.SetProperty(popup->Name, "Top", std::to_string(layout.Window.Y));
    s_.Interface.ShowModal(popup->Name);
}

void TPlaySession::LevelComplete(uint32_t now) {
    Guarded("Exception error in TKelGameEngine.LevelComplete!", [&] {
        // Once only: the celebration runs, or the bar is already gone (without the
        // celebration's file nothing else would stop the quiet passes from coming back here).
        if (IndexOfScreenEffect(s_.ScreenEffects, "LevelComplete1") >= 0 ||
            !s_.Play.Level.ShowFinishBar)
            return;
        SavePlayerStat();
        TGame& game = s_.Play.Game;
        game.AddToHighScore = true;
        game.Mood = 858;
        CreateLevelCompleteEffect(now);
        s_.Sounds.StopAllMusic();
        s_.Sounds.ScheduleSoundEvent("LevelComplete", -1, now);
        s_.Sounds.ScheduleSoundEvent("LevelCompletePharaohScream", -1, now);
        s_.Flow->Show(gsGame);
        s_.Play.Level.ShowFinishBar = false;
        // The whole bar, wherever its light last ended.
        s_.Redraw.FillRect({19, 100, 108, 505});
    });
}

void TPlaySession::CreateLevelCompleteEffect(uint32_t now) {
    Guarded("Exception error in TKelGameEngine.CreateLevelCompleteEffect!", [&] {
        CreateKelEffectFromFile(
            s_.ScreenEffects, s_.EffectSources(),
            {.Name = "LevelComplete1",
             .File = "efLevelComplete.xml",
             .CallbackArg = "LevelComplete",
             .OnEnd = [this](const std::string& state) { s_.Flow->ChangeGameState(state); }},
            now);
    });
}

void TPlaySession::LoseLevel() {
    Guarded("Exception error in TKelGameEngine.LoseLevel!", [&] {
        SavePlayerStat();
        // The board as it stood, without the Pharaoh, the effects and the windows, stays frozen
        // under the game-over window.
        DrawBackgroundByGrid(s_);
        DrawBoardLayers();
        s_.Surfaces->DrawSurface("MemorySurface", "Background", 0, 0, nullptr);
        s_.Flow->Show(gsPause);
        s_.Screen->DrawGameStateBackground();
        s_.Interface.ShowModal("WGameOver");
        s_.MarkWholeScreen();
        s_.Sounds.StopAllMusic();
        s_.Sounds.ScheduleSoundEvent("LevelFailed", -1, s_.Now);
    });
}

void TPlaySession::DrainFinishBar(uint32_t now) {
    if (s_.Play.Game.MoodState != 0 || s_.Play.Game.State != gsGame || !PlayWindowOnTop()) return;
    const int32_t dt = int32_t(std::max<int64_t>(0, int64_t(now) - int64_t(s_.PreviousTick)));
    if (s_.Rules->DrainBar(now, dt)) LoseLevel();
}

void TPlaySession::SavePlayerStat() {
    Guarded("Exception error in TKelGameEngine.SavePlayerStat!", [this] {
        const TGame& game = s_.Play.Game;
        // The level's play time without its pauses.
        const int64_t d = std::max<int64_t>(0, int64_t(s_.Now) - int64_t(game.LevelStartTime));
        const std::string time = " in " + std::to_string(d / 60000) + " min. " +
                                 std::to_string((d / 1000) % 60) + " sec.";
        const std::string player = "Player " + game.CurrentPlayerName;
        const std::string level = std::to_string(game.CurrentLevel);
        s_.Log.WriteLog(s_.Play.Level.LevelDone
                            ? player + " have finished level " + level + time + " Score in level " +
                                  std::to_string(game.Score - game.PrevScore)
                            : player + " lose level " + level + time,
                        "Stat.log");
    });
}

void TPlaySession::RegisterHandlers() {
    THandlers& h = s_.Handlers;
    TGame& game = s_.Play.Game;
    h.Register("WType_BOK_MouseUp", [this, &game] {
        s_.Flow->Show(gsGame);
        s_.Screen->DrawGameStateBackground();
    });
    auto openMenu = [this, &game] {
        if (game.State != gsGame || s_.Play.Level.LevelDone) return;
        s_.Interface.ShowModal("WGameMenu");
        s_.Flow->PauseClock();
        game.ResumeState = game.State;
        s_.Flow->Show(gsPause);
        s_.Screen->DrawGameStateBackground();
        s_.Redraw.FillRect(ScreenRect);
        s_.Flow->DrawFrame();
    };
    h.Register("WGame_BMenu_MouseUp", openMenu);
    h.Register("WGame_BQuit_MouseUp", openMenu);
    h.Register("WGame_BHelp_MouseUp", [this, &game] {
        game.ResumeState = game.State;
        s_.Flow->Show(gsPause);
        s_.Redraw.FillRect(ScreenRect);
    });
    h.Register("WGame_BMize_MouseUp", [this, &game] {
        if (game.State == gsGame) s_.Flow->PauseClock();
        s_.OptionsWindow->ChangeWindowMode();
    });
    h.Register("WGame_BUndo_MouseUp", [] {});
    h.Register("WGameMenu_BResume_MouseUp", [this, &game] {
        s_.Flow->Show(game.ResumeState);
        s_.Screen->DrawGameStateBackground();
        s_.Redraw.FillRect(ScreenRect);
        s_.Flow->DrawFrame();
    });
    h.Register("WGameMenu_BInstructions_MouseUp", [this, &game] {
        s_.Flow->Show(gsInstructions);
        s_.Instructions->StartInstructionEffects();
    });
    h.Register("WGameMenu_BQuit_MouseUp", [this] { s_.CloseRequested = true; });
    auto backToPlay = [this, &game] {
        if (s_.Windows->TopForm() != "WGame") return;
        s_.Flow->Show(gsGame);
        s_.Redraw.FillRect(ScreenRect);
        s_.Flow->DrawFrame();
    };
    h.Register("WHelp_BClose_MouseUp", backToPlay);
    h.Register("WQuit_BCancel_MouseUp", backToPlay);
    h.Register("WExitToMainMenu_BOk_MouseUp", [this, &game] {
        // The unfinished newest level does not count as reached.
        if (game.SelectedLevel == game.CurrentLevel) --game.CurrentLevel;
        s_.Flow->RestorePrevScore();
        s_.Players->SavePlayerState();
        s_.Interface.HideModalList();
        s_.Interface.ShowModal("WTitle");
        s_.Flow->Show(gsMenu);
        s_.Screen->DrawGameStateBackground();
        s_.Redraw.FillRect(ScreenRect);
        s_.Sounds.ChangeMusic(MenuMusic, 1000, 1000, 0, 0);
    });
    h.Register("WGameOver_BOk_MouseUp", [this] { s_.Flow->RestartLevel(); });
    h.Register("WAbortLevel_BOk_MouseUp", [this] { s_.Flow->RestartLevel(); });
    h.Register("WLevelComplete_BOk_MouseUp", [this] { s_.Flow->NextLevel(); });
    h.Register("WGameComplete_BOk_MouseUp", [this, &game] {
        std::string name = CleanPlayerName(s_.Windows->CaptionOf("WGameComplete_EName"));
        if (name.empty()) name = "Player";
        s_.Options.PlayerName = name;
        s_.HighScores->AddHighScore(name, game.Score);
        game.AddToHighScore = false;
        s_.Players->SavePlayerState();
        s_.Handlers.Exec("WTitle_BHighScores_MouseUp");
        s_.Interface.HideModalList();
        s_.Interface.ShowModal("WTitle");
        s_.Interface.ShowModal("WHighScores");
    });
    h.Register("WAfterGameComplete_BOk_MouseUp", [this, &game] {
        s_.Interface.HideModalList();
        s_.Interface.ShowModal("WTitle");
        s_.Interface.ShowModal("WHighScores");
        s_.Flow->Show(gsMenu);
        s_.Screen->DrawGameStateBackground();
        s_.Redraw.FillRect(ScreenRect);
    });
}
