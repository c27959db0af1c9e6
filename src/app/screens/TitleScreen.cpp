// The title's handlers: starting or continuing a game, the players, the high scores, the options,
// the language, the extra title buttons and the file-problem notice.
#include "app/screens/TitleScreen.h"

#include "app/FrameParts.h"
#include "app/GameWindows.h"
#include "app/HighScoreBoard.h"
#include "app/LanguageChoice.h"
#include "app/OptionsWindow.h"
#include "app/PlayerName.h"
#include "app/PlayerProfiles.h"
#include "app/UserFiles.h"
#include "app/screens/ScreenFlow.h"
#include "core/KelException.h"

void TTitleScreen::Draw() {
    DrawBackgroundByGrid(s_);
    s_.Interface.DrawAll();
    DrawCursor(s_);
}

void TTitleScreen::RegisterHandlers() {
    THandlers& h = s_.Handlers;
    TGame& game = s_.Play.Game;
    h.Register("WTitle_BStartGame_MouseUp", [this, &game] {
        s_.Interface.ShowModal(game.CurrentLevel > 0 ? "WContinue" : "WSelectGameMode");
    });
    h.Register("WContinue_BNewGame_MouseUp", [this, &game] {
        game.CurrentLevel = game.SelectedLevel = 0;
        s_.Interface.ShowModal("WSelectGameMode");
    });
    h.Register("WContinue_BPlaySaved_MouseUp", [this] {
        Guarded("Exception error in TKelGameEngine.WContinue_BPlaySaved_MouseUp!",
                [this] { s_.Flow->ChangeGameState("LevelComplete"); });
    });
    h.Register("WContinue_BCancel_MouseUp", [] {});
    h.Register("WSelectGameMode_BAction_MouseUp", [this, &game] {
        game.GameMode = 0;
        s_.Flow->StartFirstLevel();
    });
    h.Register("WSelectGameMode_BRelax_MouseUp", [this, &game] {
        game.GameMode = 1;
        s_.Flow->StartFirstLevel();
    });
    h.Register("WTitle_BHighScores_MouseUp", [this, &game] {
        s_.Interface.SetProperty("WHighScores_BViewAction", "Visible",
                                 game.GameMode == 1 ? "true" : "false");
        s_.Interface.SetProperty("WHighScores_BViewRelax", "Visible",
                                 game.GameMode == 0 ? "true" : "false");
        s_.HighScores->FillHighScores();
    });
    h.Register("WTitle_BChangePlayer_MouseUp", [this, &game] {
        s_.Players->FillPlayersGrid();
        game.NameBeforeChange = game.CurrentPlayerName;
        s_.Players->LoadPlayer();
    });
    h.Register("WTitle_BQuit_MouseUp", [this] {
        s_.Players->SavePlayerState();
        s_.CloseRequested = true;
    });
    // "More games" leads to the project's web page (set when the game is configured).
    h.Register("WTitle_LBrontelLink_MouseUp", [this] { s_.Os.System.OpenLink(TERVOLIN_HOMEPAGE); });
    h.Register("AddLogoMouseUp", [this] { s_.Windows->OpenLogoLink(); });
    h.Register("WFileProblem_BClose_MouseUp", [this] {
        s_.Interface.HideModal("WFileProblem");
        s_.Files->ShowNextFileProblem();
    });
    RegisterPlayerHandlers();
    RegisterSettingsHandlers();
}

void TTitleScreen::RegisterPlayerHandlers() {
    THandlers& h = s_.Handlers;
    TGame& game = s_.Play.Game;
    h.Register("WHighScores_BViewAction_MouseUp", [this, &game] {
        game.GameMode = 0;
        s_.HighScores->FillHighScores();
    });
    h.Register("WHighScores_BViewRelax_MouseUp", [this, &game] {
        game.GameMode = 1;
        s_.HighScores->FillHighScores();
    });
    h.Register("WHighScores_BClear_MouseUp", [this] {
        if (!s_.HighScores->HighScoresEmpty()) s_.Interface.ShowModal("WClearHighScores");
    });
    h.Register("WClearHighScores_BOk_MouseUp", [this] { s_.HighScores->ClearHighScores(); });
    h.Register("WYourName_BOk_MouseUp", [this, &game] {
        const std::string name = CleanPlayerName(s_.Windows->CaptionOf("WYourName_EYourName"));
        if (name.empty()) return;
        game.CurrentPlayerName = name;
        s_.Flow->UpdateWelcomeCaption();
        s_.Players->MakeNewPlayersFile();
        s_.Interface.HideTopModal();
    });
    h.Register("WNewPlayer_BOk_MouseUp", [this, &game] {
        const std::string name = CleanPlayerName(s_.Windows->CaptionOf("WNewPlayer_ENewPlayer"));
        if (name.empty()) return;
        if (s_.Players->AddNewPlayer(name)) {
            s_.Players->SelectPlayer(name);
            s_.Interface.HideModalList();
            s_.Flow->Show(gsMenu);
            s_.Screen->DrawGameStateBackground();
            s_.Interface.ShowModal("WTitle");
        }
        s_.Windows->SetCaption("WNewPlayer_ENewPlayer", "");
    });
    auto done = [this] {
        const std::string selection = s_.Players->SelectedPlayer();
        if (!selection.empty())
            s_.Players->SelectPlayer(selection);
        else
            s_.Flow->ShowFirstPlayerDialog();
        s_.Players->LoadPlayer();
    };
    h.Register("WChangePlayer_BDone_MouseUp", done);
    h.Register("WChangePlayer_GPlayers_MouseDown", done);
    h.Register("WChangePlayer_GPlayers_DblClick", [this, done] {
        done();
        s_.Interface.HideTopModal();
    });
    h.Register("WChangePlayer_BCancel_MouseUp", [this, &game] {
        game.CurrentPlayerName = game.NameBeforeChange;
        s_.Players->SelectPlayer(game.CurrentPlayerName);
        s_.Players->LoadPlayer();
    });
    h.Register("WChangePlayer_BDelete_MouseUp", [this] {
        if (!s_.Players->SelectedPlayer().empty()) s_.Interface.ShowModal("WDelete");
    });
    h.Register("WDelete_BOk_MouseUp", [this, &game] {
        const std::string selection = s_.Players->SelectedPlayer();
        if (selection.empty()) return;
        s_.Players->DeletePlayer(selection);
        if (!game.CurrentPlayerName.empty()) {
            s_.Players->FillPlayersGrid();
            s_.Interface.HideTopModal();
        } else {
            s_.Flow->ShowFirstPlayerDialog();
        }
    });
    h.Register("WChangePlayer_BRename_MouseUp", [this, &game] {
        // The caption's setter puts the caret after the last character.
        s_.Windows->SetCaption("WRenamePlayer_EPlayerName", game.CurrentPlayerName);
        s_.Windows->FocusObject("WRenamePlayer", "WRenamePlayer_EPlayerName");
    });
    h.Register("WRenamePlayer_BOk_MouseUp", [this, &game] {
        const std::string name =
            CleanPlayerName(s_.Windows->CaptionOf("WRenamePlayer_EPlayerName"));
        if (name.empty()) return;
        if (name == game.CurrentPlayerName) {
            s_.Interface.HideTopModal();
            return;
        }
        if (game.NameBeforeChange == game.CurrentPlayerName) game.NameBeforeChange = name;
        if (s_.Players->RenamePlayer(name)) {
            s_.Players->FillPlayersGrid();
            s_.Interface.HideTopModal();
        }
    });
}

void TTitleScreen::RegisterSettingsHandlers() {
    THandlers& h = s_.Handlers;
    h.Register("WOptions_BOk_MouseUp", [this] { s_.OptionsWindow->ApplyOptionsWindow(); });
    h.Register("WOptions_BCancel_MouseUp", [this] { s_.OptionsWindow->ResetOptionsWindow(); });
    h.Register("WOptions_SMusicVolume_Change",
               [this] { s_.OptionsWindow->ApplyVolumeSlider(true); });
    h.Register("WOptions_SSoundVolume_Change",
               [this] { s_.OptionsWindow->ApplyVolumeSlider(false); });
    h.Register("WLanguage_BOk_MouseUp", [this] { s_.Language->ChooseLanguage(); });
}
