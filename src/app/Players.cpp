// The players as the game object uses them: the current player read from and saved to the
// players file, new players, renaming, deleting and the player list of "WChangePlayer".
#include "app/GameEngine.h"
#include "app/PlayersFile.h"
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

TPlayersFile TKelGameEngine::PlayersFile() const {
    return TPlayersFile(UserPath("players.dat"));
}

TKelGrid* TKelGameEngine::Grid(const std::string& name) const {
    return dynamic_cast<TKelGrid*>(interface_.FindObject(name));
}

void TKelGameEngine::LoadPlayer() {
    Guarded("Exception error in TKelGameEngine.LoadPlayer!", [this] {
        TGame& game = play_.Game;
        const TPlayersFile file = PlayersFile();
        std::string kept;
        const auto document = file.Exists() ? ReadPlayersOrSetAside(file, kept) : nullptr;
        if (!document) {
            game.CurrentPlayerName.clear();
            interface_.ShowModal("WYourName");
            SetCaption("WYourName_EYourName", "");
            game.ShowInstructions = game.ShowHints = true;
            game.AddToHighScore = false;
            interface_.SetProperty("WOptions_CBHintsOff", "Checked", "false");
            // Over the first player's dialog: why the players are gone, and where they are kept.
            if (!kept.empty())
                ShowFileProblem("WResource_LFileDamagedTitle", "WResource_LPlayersDamaged", kept);
            return;
        }
        if (const TKelXMLTag* root = PlayersRoot(*document)) {
            if (CurrentPlayerIndex(*root) == -1) {
                game.CurrentPlayerName.clear();
                interface_.ShowModal("WYourName");
                SetCaption("WYourName_EYourName", "");
                return;
            }
            if (const TKelXMLTag* player = root->GetTag(CurrentPlayerChild(*root))) {
                ReadPlayerState(*player, game, int32_t(pathPoints_.size()) - 1);
                UpdateWelcomeCaption();
            }
        }
        interface_.SetProperty("WOptions_CBHintsOff", "Checked", game.ShowHints ? "false" : "true");
        interface_.SetProperty("WInstructions_CBInstructionsOff", "Checked",
                               game.ShowInstructions ? "false" : "true");
    });
}

void TKelGameEngine::SavePlayerState() {
    const TGame& game = play_.Game;
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
        WritePlayers(file, *document);
    });
}

void TKelGameEngine::MakeNewPlayersFile() {
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
        root->AddTag("Player")->AddAttribute("Name", play_.Game.CurrentPlayerName);
        WritePlayers(file, document);
    });
}

bool TKelGameEngine::AddNewPlayer(const std::string& name) {
    const TPlayersFile file = PlayersFile();
    if (!file.Exists()) return false;
    return Guarded("Exception error in TKelGameEngine.AddNewPlayer!", [&] {
        const auto document = file.Read();
        if (TKelXMLTag* root = PlayersRoot(*document)) {
            if (FindPlayer(*root, name)) {
                interface_.ShowModal("WPlayerExist");
                return false;
            }
            root->AddTag("Player")->AddAttribute("Name", name);
            if (TKelGrid* grid = Grid(PlayersGrid)) {
                grid->AddCells("Text=\"" + name + "\";");
                grid->SetPosition(CurrentPlayerIndex(*root));
            }
        }
        WritePlayers(file, *document);
        return true;
    });
}

void TKelGameEngine::SelectPlayer(const std::string& name) {
    const TPlayersFile file = PlayersFile();
    if (!file.Exists()) return;
    Guarded("Exception error in TKelGameEngine.SelectPlayer!", [&] {
        const auto document = file.Read();
        if (TKelXMLTag* root = PlayersRoot(*document)) {
            const int index = IndexOfPlayer(*root, name);
            if (index >= 0) {
                play_.Game.CurrentPlayerName = name;
                SetAttribute(*root, "CurrentPlayer", std::to_string(index));
            }
        }
        UpdateWelcomeCaption();
        WritePlayers(file, *document);
    });
    LoadPlayer();
}

bool TKelGameEngine::RenamePlayer(const std::string& name) {
    const TPlayersFile file = PlayersFile();
    if (!file.Exists()) return true;
    const bool renamed = Guarded("Exception error in TKelGameEngine.RenamePlayer!", [&] {
        const auto document = file.Read();
        TKelXMLTag* root = PlayersRoot(*document);
        if (root && CurrentPlayerIndex(*root) != -1) {
            if (FindPlayer(*root, name)) {
                interface_.ShowModal("WPlayerExist");
                return false;
            }
            // The player the game took as current, also when the index is out of range.
            if (TKelXMLTag* player = root->GetTag(CurrentPlayerChild(*root)))
                SetAttribute(*player, "Name", name);
        }
        UpdateWelcomeCaption();
        WritePlayers(file, *document);
        return true;
    });
    if (renamed) LoadPlayer();
    return renamed;
}

void TKelGameEngine::DeletePlayer(const std::string& name) {
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
            play_.Game.CurrentPlayerName = name ? name->Value : "";
            SetAttribute(*root, "CurrentPlayer", "0");
        }
        WritePlayers(file, *document);
    });
}

void TKelGameEngine::FillPlayersGrid() {
    const TPlayersFile file = PlayersFile();
    if (!file.Exists()) return;
    Guarded("Exception error in TKelGameEngine.FillPlayersGrid!", [&] {
        const auto document = file.Read();
        TKelGrid* grid = Grid(PlayersGrid);
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

std::string TKelGameEngine::SelectedPlayer() const {
    const TKelGrid* grid = Grid(PlayersGrid);
    return grid ? grid->SelectedText() : std::string();
}
