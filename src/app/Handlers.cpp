// The published handlers: what the buttons and lists of the game's windows do beyond their own
// scripts, registered under the names the interface description calls with "ExecMethod".
// Showing and hiding windows is mostly the scripts' work; a handler does only its part.
#include "app/GameEngine.h"
#include "app/GameManifest.h"
#include "app/PlayerName.h"
#include "core/KelException.h"

namespace {

constexpr const char* MenuMusic = "vibe-eg6.mo3";

}  // namespace

void TKelGameEngine::Handler(const std::string& name, std::function<void()> body) {
    if (!IsPublishedHandler(name)) throw std::logic_error(name + " is not a published handler");
    handlers_[name] = body;
    interface_.RegisterHandler(name, std::move(body));
}

bool TKelGameEngine::ExecMethod(const std::string& name) {
    const auto found = handlers_.find(name);
    if (found == handlers_.end()) return false;
    found->second();
    return true;
}

std::string TKelGameEngine::CaptionOf(const std::string& object) const {
    if (!interface_.FindObject(object)) return {};
    return ValueToText(interface_.GetProperty(object, "Caption"));
}

int32_t TKelGameEngine::NumberProperty(const std::string& object,
                                       const std::string& property) const {
    if (!interface_.FindObject(object)) return 0;
    const TKelValue value = interface_.GetProperty(object, property);
    const int32_t* number = std::get_if<int32_t>(&value);
    return number ? *number : 0;
}

bool TKelGameEngine::Checked(const std::string& object) const {
    return NumberProperty(object, "Checked") != 0;
}

void TKelGameEngine::FocusObject(const std::string& formName, const std::string& objectName) {
    auto* form = dynamic_cast<TKelForm*>(interface_.FindObject(formName));
    if (!form) return;
    for (TKelFocusedObject* object : form->FocusList())
        object->SetFocused(object->Name() == objectName);
}

void TKelGameEngine::RegisterHandlers() {
    RegisterTitleHandlers();
    RegisterPlayHandlers();
    RegisterPlayerHandlers();
}

void TKelGameEngine::RegisterTitleHandlers() {
    TGame& game = play_.Game;
    Handler("WTitle_BStartGame_MouseUp", [this, &game] {
        interface_.ShowModal(game.CurrentLevel > 0 ? "WContinue" : "WSelectGameMode");
    });
    Handler("WContinue_BNewGame_MouseUp", [this, &game] {
        game.CurrentLevel = game.SelectedLevel = 0;
        interface_.ShowModal("WSelectGameMode");
    });
    Handler("WContinue_BPlaySaved_MouseUp", [this] {
        Guarded("Exception error in TKelGameEngine.WContinue_BPlaySaved_MouseUp!",
                [this] { ChangeGameState("LevelComplete"); });
    });
    Handler("WContinue_BCancel_MouseUp", [] {});
    Handler("WSelectGameMode_BAction_MouseUp", [this, &game] {
        game.GameMode = 0;
        StartFirstLevel();
    });
    Handler("WSelectGameMode_BRelax_MouseUp", [this, &game] {
        game.GameMode = 1;
        StartFirstLevel();
    });
    Handler("WTitle_BHighScores_MouseUp", [this, &game] {
        interface_.SetProperty("WHighScores_BViewAction", "Visible",
                               game.GameMode == 1 ? "true" : "false");
        interface_.SetProperty("WHighScores_BViewRelax", "Visible",
                               game.GameMode == 0 ? "true" : "false");
        FillHighScores();
    });
    Handler("WTitle_BChangePlayer_MouseUp", [this, &game] {
        FillPlayersGrid();
        game.NameBeforeChange = game.CurrentPlayerName;
        LoadPlayer();
    });
    Handler("WTitle_BQuit_MouseUp", [this] {
        SavePlayerState();
        closeRequested_ = true;
    });
    // "More games" leads to the project's web page (set when the game is configured).
    Handler("WTitle_LBrontelLink_MouseUp",
            [this] { platform_.System.OpenLink(TERVOLIN_HOMEPAGE); });
    Handler("AddLogoMouseUp", [this] { OpenLogoLink(); });
    Handler("WFileProblem_BClose_MouseUp", [this] {
        interface_.HideModal("WFileProblem");
        ShowNextFileProblem();
    });
    Handler("WType_BOK_MouseUp", [this, &game] {
        game.State = gsGame;
        screen_.DrawGameStateBackground();
    });
    Handler("WInstructions_TFPlay_BPlay_MouseUp", [this, &game] {
        instructions_.StopInstructionEffects();
        game.State = gsGame;
        screen_.DrawGameStateBackground();
        const std::string& hint = play_.Level.HintWindow;
        if (!hint.empty() && game.ShowHints) {
            interface_.ShowModal(hint);
            soundEvents_.ScheduleSoundEvent("HintAppear", -1, currentTick_);
        }
    });
    Handler("WInstructions_TFOk_BOk_MouseUp", [this, &game] {
        instructions_.StopInstructionEffects();
        game.State = gsPause;
        screen_.DrawGameStateBackground();
    });
    Handler("WInstructions_TFPage1_BPage2_MouseUp", [this] {
        instructions_.StopInstructionEffects();
        instructions_.StartInstructionEffetcs();
    });
    Handler("WInstructions_CBINstructionsOff_MouseUp", [this, &game] {
        game.ShowInstructions = !Checked("WInstructions_CBInstructionsOff");
        SavePlayerState();
    });
}

void TKelGameEngine::RegisterPlayHandlers() {
    TGame& game = play_.Game;
    auto openMenu = [this, &game] {
        if (game.State != gsGame || play_.Level.LevelDone) return;
        interface_.ShowModal("WGameMenu");
        PauseClock();
        game.ResumeState = game.State;
        game.State = gsPause;
        screen_.DrawGameStateBackground();
        redrawGrid_.FillRect(ScreenRect);
        DrawScreen();
    };
    Handler("WGame_BMenu_MouseUp", openMenu);
    Handler("WGame_BQuit_MouseUp", openMenu);
    Handler("WGame_BHelp_MouseUp", [this, &game] {
        game.ResumeState = game.State;
        game.State = gsPause;
        redrawGrid_.FillRect(ScreenRect);
    });
    Handler("WGame_BMize_MouseUp", [this, &game] {
        if (game.State == gsGame) PauseClock();
        ChangeWindowMode();
    });
    Handler("WGame_BUndo_MouseUp", [] {});
    Handler("WGameMenu_BResume_MouseUp", [this, &game] {
        game.State = game.ResumeState;
        screen_.DrawGameStateBackground();
        redrawGrid_.FillRect(ScreenRect);
        DrawScreen();
    });
    Handler("WGameMenu_BInstructions_MouseUp", [this, &game] {
        game.State = gsInstructions;
        instructions_.StartInstructionEffetcs();
    });
    Handler("WGameMenu_BQuit_MouseUp", [this] { closeRequested_ = true; });
    auto backToPlay = [this, &game] {
        if (TopForm() != "WGame") return;
        game.State = gsGame;
        redrawGrid_.FillRect(ScreenRect);
        DrawScreen();
    };
    Handler("WHelp_BClose_MouseUp", backToPlay);
    Handler("WQuit_BCancel_MouseUp", backToPlay);
    Handler("WExitToMainMenu_BOk_MouseUp", [this, &game] {
        // The unfinished newest level does not count as reached.
        if (game.SelectedLevel == game.CurrentLevel) --game.CurrentLevel;
        RestorePrevScore();
        SavePlayerState();
        interface_.HideModalList();
        interface_.ShowModal("WTitle");
        game.State = gsMenu;
        screen_.DrawGameStateBackground();
        redrawGrid_.FillRect(ScreenRect);
        soundEvents_.ChangeMusic(MenuMusic, 1000, 1000, 0, 0);
    });
    Handler("WGameOver_BOk_MouseUp", [this] { RestartLevel(); });
    Handler("WAbortLevel_BOk_MouseUp", [this] { RestartLevel(); });
    Handler("WBetweenLevels_BPlay_MouseUp", [this] {
        Guarded("Exception error in TKelGameEngine.WBetweenLevel_BPlay_MouseUp!",
                [this] { ChangeGameState("StartNewLevel"); });
    });
    Handler("WLevelComplete_BOk_MouseUp", [this] { NextLevel(); });
    Handler("WGameComplete_BOk_MouseUp", [this, &game] {
        std::string name = CleanPlayerName(CaptionOf("WGameComplete_EName"));
        if (name.empty()) name = "Player";
        options_.PlayerName = name;
        AddHighScore(name, game.Score);
        game.AddToHighScore = false;
        SavePlayerState();
        ExecMethod("WTitle_BHighScores_MouseUp");
        interface_.HideModalList();
        interface_.ShowModal("WTitle");
        interface_.ShowModal("WHighScores");
    });
    Handler("WAfterGameComplete_BOk_MouseUp", [this, &game] {
        interface_.HideModalList();
        interface_.ShowModal("WTitle");
        interface_.ShowModal("WHighScores");
        game.State = gsMenu;
        screen_.DrawGameStateBackground();
        redrawGrid_.FillRect(ScreenRect);
    });
}

void TKelGameEngine::RegisterPlayerHandlers() {
    TGame& game = play_.Game;
    Handler("WHighScores_BViewAction_MouseUp", [this, &game] {
        game.GameMode = 0;
        FillHighScores();
    });
    Handler("WHighScores_BViewRelax_MouseUp", [this, &game] {
        game.GameMode = 1;
        FillHighScores();
    });
    Handler("WHighScores_BClear_MouseUp", [this] {
        if (!HighScoresEmpty()) interface_.ShowModal("WClearHighScores");
    });
    Handler("WClearHighScores_BOk_MouseUp", [this] { ClearHighScores(); });
    Handler("WYourName_BOk_MouseUp", [this, &game] {
        const std::string name = CleanPlayerName(CaptionOf("WYourName_EYourName"));
        if (name.empty()) return;
        game.CurrentPlayerName = name;
        UpdateWelcomeCaption();
        MakeNewPlayersFile();
        interface_.HideTopModal();
    });
    Handler("WNewPlayer_BOk_MouseUp", [this, &game] {
        const std::string name = CleanPlayerName(CaptionOf("WNewPlayer_ENewPlayer"));
        if (name.empty()) return;
        if (AddNewPlayer(name)) {
            SelectPlayer(name);
            interface_.HideModalList();
            game.State = gsMenu;
            screen_.DrawGameStateBackground();
            interface_.ShowModal("WTitle");
        }
        SetCaption("WNewPlayer_ENewPlayer", "");
    });
    auto done = [this] {
        const std::string selection = SelectedPlayer();
        if (!selection.empty())
            SelectPlayer(selection);
        else
            ShowFirstPlayerDialog();
        LoadPlayer();
    };
    Handler("WChangePlayer_BDone_MouseUp", done);
    Handler("WChangePlayer_GPlayers_MouseDown", done);
    Handler("WChangePlayer_GPlayers_DblClick", [this, done] {
        done();
        interface_.HideTopModal();
    });
    Handler("WChangePlayer_BCancel_MouseUp", [this, &game] {
        game.CurrentPlayerName = game.NameBeforeChange;
        SelectPlayer(game.CurrentPlayerName);
        LoadPlayer();
    });
    Handler("WChangePlayer_BDelete_MouseUp", [this] {
        if (!SelectedPlayer().empty()) interface_.ShowModal("WDelete");
    });
    Handler("WDelete_BOk_MouseUp", [this, &game] {
        const std::string selection = SelectedPlayer();
        if (selection.empty()) return;
        DeletePlayer(selection);
        if (!game.CurrentPlayerName.empty()) {
            FillPlayersGrid();
            interface_.HideTopModal();
        } else {
            ShowFirstPlayerDialog();
        }
    });
    Handler("WChangePlayer_BRename_MouseUp", [this, &game] {
        // The caption's setter puts the caret after the last character.
        SetCaption("WRenamePlayer_EPlayerName", game.CurrentPlayerName);
        FocusObject("WRenamePlayer", "WRenamePlayer_EPlayerName");
    });
    Handler("WRenamePlayer_BOk_MouseUp", [this, &game] {
        const std::string name = CleanPlayerName(CaptionOf("WRenamePlayer_EPlayerName"));
        if (name.empty()) return;
        if (name == game.CurrentPlayerName) {
            interface_.HideTopModal();
            return;
        }
        if (game.NameBeforeChange == game.CurrentPlayerName) game.NameBeforeChange = name;
        if (RenamePlayer(name)) {
            FillPlayersGrid();
            interface_.HideTopModal();
        }
    });
    Handler("WOptions_BOk_MouseUp", [this] { ApplyOptionsWindow(); });
    Handler("WOptions_BCancel_MouseUp", [this] { ResetOptionsWindow(); });
    Handler("WOptions_SMusicVolume_Change", [this] { ApplyVolumeSlider(true); });
    Handler("WOptions_SSoundVolume_Change", [this] { ApplyVolumeSlider(false); });
    Handler("WLanguage_BOk_MouseUp", [this] { ChooseLanguage(); });
}
