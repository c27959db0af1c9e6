// TPlayerProfiles: the players as the game uses them: the current player read from and saved to
// the players file, new players, renaming, deleting and the player list of "WChangePlayer".
// Relies on the game's services and the players file.
#pragma once

#include <string>

#include "app/GameServices.h"
#include "app/PlayersFile.h"

class TPlayerProfiles {
  public:
    explicit TPlayerProfiles(TGameServices& services) : s_(services) {}

    void LoadPlayer();
    void SavePlayerState();
    void MakeNewPlayersFile();
    bool AddNewPlayer(const std::string& name);
    void SelectPlayer(const std::string& name);
    bool RenamePlayer(const std::string& name);
    void DeletePlayer(const std::string& name);
    void FillPlayersGrid();
    std::string SelectedPlayer() const;
    TPlayersFile PlayersFile() const;

  private:
    TGameServices& s_;
};
