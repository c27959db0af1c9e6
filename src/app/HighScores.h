// The high-score tables, one per game mode, and the file "HighScores.dat" that keeps them: one
// shift-encoded line per entry, Action entries first. Games still in progress join the tables
// when they are shown but are never stored. Relies on the line encoding of CUnit.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct THighScore {
    std::string Name;
    int32_t Score = 0;
    bool InProgress = false;  // a player's unfinished game, not stored
};

using THighScores = std::vector<THighScore>;

struct THighScoreTables {
    THighScores Action, Relax;
    // The table of a game mode: Action for 0, Relax for any other.
    THighScores& Of(uint8_t mode) { return mode == 0 ? Action : Relax; }
};

// Puts the entry before the first smaller score (after equal ones); answers its index.
size_t InsertHighScore(const std::string& name, int32_t score, THighScores& table);

// Empties both tables and reads the lines of the text into them. A line whose score is not a
// whole number is left out. A line that names neither kind once decoded is read as it stands
// when it names one there: a high-score file written by hand in plain text. The answer is how
// many lines were left out (blank lines aside).
int ReadHighScores(const std::string& text, THighScoreTables& tables);
// ReadHighScores of the whole file; a missing or unreadable file leaves the tables empty.
int LoadHighScores(const std::string& fileName, THighScoreTables& tables);
// Writes the stored entries of both tables, replacing the file whole. False when it cannot be
// written.
bool SaveHighScores(const std::string& fileName, const THighScoreTables& tables);

// The text between `name="` and the next double quote in a line; empty when either is missing.
std::string LineAttribute(const std::string& line, const std::string& name);
