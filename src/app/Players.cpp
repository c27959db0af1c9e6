// The players and high scores as the screen flow uses them, kept in memory for the session: the
// current player is named by the first-player dialog, the player list shows that player and the
// high-score tables start empty. The players file and "HighScores.dat" take their place.
#include "app/GameEngine.h"
#include "ui/KelGrid.h"

void TKelGameEngine::LoadPlayer() {
    if (play_.Game.CurrentPlayerName.empty()) ShowFirstPlayerDialog();
    UpdateWelcomeCaption();
}

void TKelGameEngine::SavePlayerState() {}

void TKelGameEngine::MakeNewPlayersFile() {}

bool TKelGameEngine::AddNewPlayer(const std::string&) {
    return true;
}

void TKelGameEngine::SelectPlayer(const std::string& name) {
    play_.Game.CurrentPlayerName = name;
    UpdateWelcomeCaption();
}

bool TKelGameEngine::RenamePlayer(const std::string& name) {
    play_.Game.CurrentPlayerName = name;
    UpdateWelcomeCaption();
    return true;
}

void TKelGameEngine::DeletePlayer(const std::string& name) {
    if (name == play_.Game.CurrentPlayerName) play_.Game.CurrentPlayerName.clear();
}

void TKelGameEngine::FillPlayersGrid() {
    auto* grid = dynamic_cast<TKelGrid*>(interface_.FindObject("WChangePlayer_GPlayers"));
    if (!grid) return;
    grid->Clear();
    if (!play_.Game.CurrentPlayerName.empty())
        grid->AddCells("Text=\"" + play_.Game.CurrentPlayerName + "\";");
}

std::string TKelGameEngine::SelectedPlayer() const {
    const auto* grid =
        dynamic_cast<const TKelGrid*>(interface_.FindObject("WChangePlayer_GPlayers"));
    return grid ? grid->SelectedText() : std::string();
}

void TKelGameEngine::FillHighScores() {
    if (auto* grid = dynamic_cast<TKelGrid*>(interface_.FindObject("WHighScores_GHighScores")))
        grid->Clear();
}

bool TKelGameEngine::HighScoresEmpty() const {
    return true;
}

void TKelGameEngine::AddHighScore(const std::string&, int32_t) {}

void TKelGameEngine::ClearHighScores() {
    FillHighScores();
}
