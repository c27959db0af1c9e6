#include "app/PlayerProfiles.h"

#include "app/GameWindows.h"
#include "app/HighScoreBoard.h"
#include "app/PlayersFile.h"
#include "app/UserFiles.h"
#include "app/screens/ScreenFlow.h"
#include "core/KelException.h"
#include "ui/KelGrid.h"

namespace {

constexpr const char* PlayersGrid = "WChangePlayer_GPlayers";

void SetAttribute(TKelXMLTag& tag, const std::string& name, const std::string& value) {
    if (TKelParserAttribute* attribute = tag.FindAttribute(name))
        attribute->SetValue(value);
    else
        tag.AddAttribute(name, value);
}

}  // namespace

TPlayersFile TPlayerProfiles::PlayersFile() const {
    return TPlayersFile(s_.UserPath("players.dat"));
}

void TPlayerProfiles::LoadPlayer() {
    Guarded("Exception error in TKelGameEngine.LoadPlayer!", [this] {
        TGame& game = s_.Play.Game;
        const TPlayersFile file = PlayersFile();
        std::string kept;
        const auto document = file.Exists() ? s_.Files->ReadPlayersOrSetAside(file, kept) : nullptr;
        if (!document) {
            game.CurrentPlayerName.clear();
            s_.Interface.ShowModal("WYourName");
            s_.Windows->SetCaption("WYourName_EYourName", "");
            game.ShowInstructions = game.ShowHints = true;
            game.AddToHighScore = false;
            s_.Interface.SetProperty("WOptions_CBHintsOff", "Checked", "false");
            // Over the first player's dialog: why the players are gone, and where they are kept.
            if (!kept.empty())
                s_.Files->ShowFileProblem("WResource_LFileDamagedTitle",
                                          "WResource_LPlayersDamaged", kept);
            return;
        }
        if (const TKelXMLTag* root = PlayersRoot(*document)) {
            if (CurrentPlayerIndex(*root) == -1) {
                game.CurrentPlayerName.clear();
                s_.Interface.ShowModal("WYourName");
                s_.Windows->SetCaption("WYourName_EYourName", "");
                return;
            }
            if (const TKelXMLTag* player = root->GetTag(CurrentPlayerChild(*root))) {
                ReadPlayerState(*player, game, int32_t(s_.PathPoints.size()) - 1);
                s_.Flow->UpdateWelcomeCaption();
            }
        }
        s_.Interface.SetProperty("WOptions_CBHintsOff", "Checked",
                                 game.ShowHints ? "false" : "true");
        s_.Interface.SetProperty("WInstructions_CBInstructionsOff", "Checked",
                                 game.ShowInstructions ? "false" : "true");
    });
}

void TPlayerProfiles::SavePlayerState() {
    const TGame& game = s_.Play.Game;
    const TPlayersFile file = PlayersFile();
    if (!file.Exists() || game.CurrentPlayerName.empty()) return;
    Guarded("Exception error in TKelGameEngine.SavePlayerState!", [&] {
        const auto document = file.Read();
        if (const TKelXMLTag* root = PlayersRoot(*document))
            for (int i = 0; i < root->TagCount(); ++i) {
                TKelXMLTag& player = *root->GetTag(i);
                const TKelParserAttribute* name = player.FindAttribute("Name");
                if (player.Name == "Player" && name && name->Value == game.CurrentPlayerName)
                    WritePlayerState(player, game);
            }
        s_.Files->WritePlayers(file, *document);
    });
}

void TPlayerProfiles::MakeNewPlayersFile() {
    Guarded("TKelGameEngine.MakeNewPlayersFile!", [this] {
        const TPlayersFile file = PlayersFile();
        // A file that still holds players is kept beside the new one: reaching the first-player
        // dialog with a list that could not be read must not cost every player their game.
        if (file.Exists()) {
            try {
                const auto old = file.Read();
                const TKelXMLTag* root = PlayersRoot(*old);
                if (root && root->FindTag("Player")) file.Backup();
            } catch (const std::exception&) {
                file.Backup();  // unreadable now, perhaps not for a person
            }
        }
        TKelParser document;
        TKelXMLTag* root = document.AddTag("PlayersListXML");
        root->AddAttribute("CurrentPlayer", "0");
        root->AddTag("Player")->AddAttribute("Name", s_.Play.Game.CurrentPlayerName);
        s_.Files->WritePlayers(file, document);
    });
}

bool TPlayerProfiles::AddNewPlayer(const std::string& name) {
    const TPlayersFile file = PlayersFile();
    if (!file.Exists()) return false;
    return Guarded("Exception error in TKelGameEngine.AddNewPlayer!", [&] {
        const auto document = file.Read();
        if (TKelXMLTag* root = PlayersRoot(*document)) {
            if (FindPlayer(*root, name)) {
                s_.Interface.ShowModal("WPlayerExist");
                return false;
            }
            root->AddTag("Player")->AddAttribute("Name", name);
            if (TKelGrid* grid = s_.Windows->Grid(PlayersGrid)) {
                grid->AddCells("Text=\"" + name + "\";");
                grid->SetPosition(CurrentPlayerIndex(*root));
            }
        }
        s_.Files->WritePlayers(file, *document);
        return true;
    });
}

void TPlayerProfiles::SelectPlayer(const std::string& name) {
    const TPlayersFile file = PlayersFile();
    if (!file.Exists()) return;
    Guarded("Exception error in TKelGameEngine.SelectPlayer!", [&] {
        const auto document = file.Read();
        if (TKelXMLTag* root = PlayersRoot(*document)) {
            const int index = IndexOfPlayer(*root, name);
            if (index >= 0) {
                s_.Play.Game.CurrentPlayerName = name;
                SetAttribute(*root, "CurrentPlayer", std::to_string(index));
            }
        }
        s_.Flow->UpdateWelcomeCaption();
        s_.Files->WritePlayers(file, *document);
    });
    LoadPlayer();
}

bool TPlayerProfiles::RenamePlayer(const std::string& name) {
    const TPlayersFile file = PlayersFile();
    if (!file.Exists()) return true;
    const bool renamed = Guarded("Exception error in TKelGameEngine.RenamePlayer!", [&] {
        const auto document = file.Read();
        TKelXMLTag* root = PlayersRoot(*document);
        if (root && CurrentPlayerIndex(*root) != -1) {
            if (FindPlayer(*root, name)) {
                s_.Interface.ShowModal("WPlayerExist");
                return false;
            }
            // The player the game took as current, also when the index is out of range.
            if (TKelXMLTag* player = root->GetTag(CurrentPlayerChild(*root)))
                SetAttribute(*player, "Name", name);
        }
        s_.Flow->UpdateWelcomeCaption();
        s_.Files->WritePlayers(file, *document);
        return true;
    });
    if (renamed) LoadPlayer();
    return renamed;
}

void TPlayerProfiles::DeletePlayer(const std::string& name) {
    const TPlayersFile file = PlayersFile();
    if (!file.Exists()) return;
    Guarded("Exception error in TKelGameEngine.DeletePlayer!", [&] {
        const auto document = file.Read();
        if (TKelXMLTag* root = PlayersRoot(*document)) {
            const int index = IndexOfPlayer(*root, name);
            if (index < 0) return;
            root->DeleteTag(index);
            // The first player left becomes current, in the file and in the game alike (the
            // list's selection still names the player just deleted).
            const TKelXMLTag* first = root->GetTag(0);
            const TKelParserAttribute* name = first ? first->FindAttribute("Name") : nullptr;
            s_.Play.Game.CurrentPlayerName = name ? name->Value : "";
            SetAttribute(*root, "CurrentPlayer", "0");
        }
        s_.Files->WritePlayers(file, *document);
    });
}

void TPlayerProfiles::FillPlayersGrid() {
    const TPlayersFile file = PlayersFile();
    if (!file.Exists()) return;
    Guarded("Exception error in TKelGameEngine.FillPlayersGrid!", [&] {
        const auto document = file.Read();
        TKelGrid* grid = s_.Windows->Grid(PlayersGrid);
        if (!grid) return;
        grid->Clear();
        const TKelXMLTag* root = PlayersRoot(*document);
        if (!root) return;
        for (int i = 0; i < root->TagCount(); ++i)
            if (const TKelParserAttribute* name = root->GetTag(i)->FindAttribute("Name"))
                grid->AddCells("Text=\"" + name->Value + "\";");
        grid->SetPosition(CurrentPlayerIndex(*root));
    });
}

std::string TPlayerProfiles::SelectedPlayer() const {
    const TKelGrid* grid = s_.Windows->Grid(PlayersGrid);
    return grid ? grid->SelectedText() : std::string();
}
