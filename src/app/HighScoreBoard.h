// THighScoreBoard: the high scores as the game shows and keeps them: the stored tables with the
// players' games in progress added, the grid of "WHighScores", the end of a game and the
// clearing. Relies on the game's services and the high-score tables.
#pragma once

#include <cstdint>
#include <string>

#include "app/GameServices.h"
#include "app/HighScores.h"

class THighScoreBoard {
  public:
    explicit THighScoreBoard(TGameServices& services) : s_(services) {}

    std::string HighScoresPath() const;
    // The stored tables, read at start-up; true when lines of the file did not read.
    void Load();
    void LoadHighScoresWithPlayers();
    void FillHighScores();
    bool HighScoresEmpty();
    // Enters a finished game into the table of the game mode and stores the tables.
    void AddHighScore(const std::string& name, int32_t score);
    // Takes every player's game in progress out of the high scores.
    void ClearAddScore();
    void ClearHighScores();

    const THighScoreTables& Tables() const { return highScores_; }
    // Lines of the file did not read: its original is kept before the first rewrite.
    bool& Damaged() { return highScoresDamaged_; }

  private:
    TGameServices& s_;
    THighScoreTables highScores_;
    bool highScoresDamaged_ = false;
};
