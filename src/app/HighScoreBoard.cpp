#include "app/HighScoreBoard.h"

#include "app/GameWindows.h"
#include "app/PlayerProfiles.h"
#include "app/PlayersFile.h"
#include "app/UserFiles.h"
#include "app/screens/ScreenFlow.h"
#include "core/CoreError.h"
#include "core/KelException.h"
#include "ui/KelGrid.h"

namespace {

std::string TagText(const TKelXMLTag& tag, const char* name) {
    const TKelXMLTag* child = tag.FindTag(name);
    return child ? child->Text : std::string();
}

}  // namespace

void THighScoreBoard::Load() {
    highScoresDamaged_ = LoadHighScores(HighScoresPath(), highScores_) > 0;
}

std::string THighScoreBoard::HighScoresPath() const {
    return s_.UserPath("HighScores.dat");
}

void THighScoreBoard::LoadHighScoresWithPlayers() {
    Guarded("Exception error in TKelGameEngine.LoadPlayer!", [this] {
        highScoresDamaged_ = LoadHighScores(HighScoresPath(), highScores_) > 0;
        const TPlayersFile file = s_.Players->PlayersFile();
        if (!file.Exists()) {
            s_.Flow->ShowFirstPlayerDialog();
            return;
        }
        const auto document = file.Read();
        const TKelXMLTag* root = PlayersRoot(*document);
        if (!root) return;
        for (int i = 0; i < root->TagCount(); ++i) {
            const TKelXMLTag& player = *root->GetTag(i);
            const TKelXMLTag* state = player.FindTag("CurrentState");
            if (!state || !state->FindTag("CurrentScore") ||
                TagText(*state, "CurrentScore") == "0" ||
                TagText(*state, "AddToHighScore") != "true")
                continue;
            const TKelParserAttribute* name = player.FindAttribute("Name");
            if (!name) throw TKelCoreError("a player in progress without a name");
            const std::string mode = TagText(*state, "GameMode");
            THighScores& table =
                highScores_.Of(mode.empty() ? 0 : uint8_t(std::atoi(mode.c_str())));
            const size_t index = InsertHighScore(
                name->Value, ReadDecimal(TagText(*state, "CurrentScore"), "CurrentScore"), table);
            table[index].InProgress = true;
        }
    });
}

void THighScoreBoard::FillHighScores() {
    Guarded("Exception error in TKelGameEngine.FillHighScores!", [this] {
        TKelGrid* grid = s_.Windows->Grid("WHighScores_GHighScores");
        if (grid) grid->Clear();
        LoadHighScoresWithPlayers();
        if (!grid) return;
        const THighScores& table = highScores_.Of(s_.Play.Game.GameMode);
        for (size_t i = 0; i < table.size(); ++i)
            grid->AddCells("Text=\"" + std::to_string(i + 1) + "\";Text=\"" + table[i].Name +
                           "\";Text=\"" + std::to_string(table[i].Score) + "\";");
    });
}

bool THighScoreBoard::HighScoresEmpty() {
    return highScores_.Of(s_.Play.Game.GameMode).empty();
}

void THighScoreBoard::AddHighScore(const std::string& name, int32_t score) {
    InsertHighScore(name, score, highScores_.Of(s_.Play.Game.GameMode));
    s_.Files->SaveHighScoresFile();
}

void THighScoreBoard::ClearAddScore() {
    Guarded("Exception error in TKelGameEngine.ClearAddScore!", [this] {
        const TPlayersFile file = s_.Players->PlayersFile();
        if (!file.Exists()) return;
        s_.Play.Game.AddToHighScore = false;
        const auto document = file.Read();
        if (const TKelXMLTag* root = PlayersRoot(*document))
            for (int i = 0; i < root->TagCount(); ++i)
                if (const TKelXMLTag* state = root->GetTag(i)->FindTag("CurrentState"))
                    if (TKelXMLTag* add = state->FindTag("AddToHighScore")) add->SetText("false");
        s_.Files->WritePlayers(file, *document);
    });
}

void THighScoreBoard::ClearHighScores() {
    highScores_.Of(s_.Play.Game.GameMode).clear();
    ClearAddScore();
    s_.Files->SaveHighScoresFile();
    if (TKelGrid* grid = s_.Windows->Grid("WHighScores_GHighScores")) grid->Clear();
}
