// The play state's text.
#include "app/PlayDump.h"

#include <array>
#include <cstdarg>
#include <cstdio>

namespace {

std::string Pieces(const std::array<bool, 4>& pieces) {
    std::string digits;
    for (int i = 1; i <= 3; ++i)
        if (pieces[size_t(i)]) digits += char('0' + i);
    return digits.empty() ? "-" : digits;
}

// Appends one formatted line (the lines are short).
__attribute__((format(printf, 2, 3))) void Append(std::string& text, const char* format, ...) {
    char line[256];
    va_list values;
    va_start(values, format);
    std::vsnprintf(line, sizeof line, format, values);
    va_end(values);
    text += line;
}

}  // namespace

std::string PlayDump(const TPlayState& play, uint32_t now) {
    const TGame& game = play.Game;
    const TLevel& level = play.Level;
    const std::string selected =
        game.SelectedCell.IsNone()
            ? "none"
            : std::to_string(game.SelectedCell.Col) + "," + std::to_string(game.SelectedCell.Row);
    std::string text;
    Append(text, "t=%lld score=%d progress=%.3f goal=%d mood=%d state=%d done=%d selected=%s\n",
           static_cast<long long>(int64_t(now) - int64_t(game.LevelStartTime)), game.Score,
           level.Progress, level.Goal, game.Mood, game.MoodState, level.LevelDone ? 1 : 0,
           selected.c_str());
    for (int row = 1; row <= BoardRows; ++row) {
        for (int col = 1; col <= BoardColumns; ++col) {
            if (!level.Board.CellExists(col, row)) continue;
            const TFish& fish = level.Board.Cell(col, row);
            Append(text,
                   "cell %d,%d kind=%d type=%d color=%d has=%s will=%s extras=%d jump=%d "
                   "falling=%d\n",
                   col, row, fish.Kind, fish.Type, fish.Color, Pieces(fish.Has).c_str(),
                   Pieces(fish.Will).c_str(), fish.Extras, fish.JumpBall ? 1 : 0,
                   fish.Falling ? 1 : 0);
        }
    }
    text += "end\n";
    return text;
}
