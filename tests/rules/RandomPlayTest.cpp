// Thousands of random clicks, keys and hovers on random boards with random seeds: the rules never
// fail, never leave a cell in a state no rule could give it, and the board always comes to rest.
#include <gtest/gtest.h>

#include <algorithm>

#include "support/PlayRulesFixture.h"

namespace {

// Every cell holds only pieces of its type (and merges towards them), a kind of cell the rules know
// and, for objects, a type; a message naming the first cell that does not.
std::string ImpossibleCell(const TPlayState& play, const TFishkaTypes& types) {
    for (int col = 1; col <= BoardColumns; ++col) {
        for (int row = 1; row <= BoardRows; ++row) {
            const TFish& fish = play.Level.Board.Cell(col, row);
            const std::string where = std::to_string(col) + "," + std::to_string(row);
            if (fish.Kind > fkCoin) return where + " has kind " + std::to_string(fish.Kind);
            if (fish.Kind >= fkScarab0 && fish.Type == -1) return where + " is an empty object";
            if (fish.Type == -1) continue;
            if (fish.Type < 0 || size_t(fish.Type) >= types.size())
                return where + " has type " + std::to_string(fish.Type);
            const int pieces = types[size_t(fish.Type)].PieceCount;
            for (int i = pieces + 1; i <= 3; ++i)
                if (fish.Has[size_t(i)] || (fish.MergeTime > 0 && fish.Will[size_t(i)]))
                    return where + " has a piece its type lacks";
            if (fish.Kind <= fkGhost && fish.Color >= types[size_t(fish.Type)].ColorCount)
                return where + " has colour " + std::to_string(fish.Color);
        }
    }
    return "";
}

bool Quiet(const TPlayState& play) {
    for (int col = 1; col <= BoardColumns; ++col) {
        for (int row = 1; row <= BoardRows; ++row) {
            const TFish& fish = play.Level.Board.Cell(col, row);
            if (fish.MergeTime > 0 || fish.RemoveTime > 0 || fish.Falling) return false;
            if (play.Level.Board.CellExists(col, row) && fish.Type == -1) return false;
        }
    }
    return true;
}

// A complete fishka always breaks: none is left at rest.
bool CompleteAtRest(const TPlayState& play, const TFishkaTypes& types) {
    for (int col = 1; col <= BoardColumns; ++col)
        for (int row = 1; row <= BoardRows; ++row)
            if (play.Level.Board.CellExists(col, row) &&
                FullFishka(play.Level.Board.Cell(col, row), types))
                return true;
    return false;
}

}  // namespace

class RandomPlayTest : public PlayRulesTest {
  protected:
    // A random shape with a few objects, a random list of fishkas and random probabilities.
    void RandomLevel(TKelRandom& dice) {
        TBoard& board = play_.Level.Board;
        for (int col = 1; col <= BoardColumns; ++col) {
            for (int row = 1; row <= BoardRows; ++row) {
                board.SetCellExists(col, row,
                                    col >= 3 && col <= 12 && row <= 8 && dice.RandomFloat() < 0.8);
                TFish& fish = Cell({col, row});
                fish = TFish{};
                if (!board.CellExists(col, row) || dice.RandomFloat() > 0.05) continue;
                const uint8_t kinds[] = {fkScarab0, fkScarab60, fkCobra, fkPyramid, fkCoin};
                fish.Kind = kinds[dice.Random(5)];
                fish.Type = 0;
                fish.Pinned = fish.Kind <= fkScarab300;
            }
        }
        board.CountLevelNeighbours();
        TLevel& level = play_.Level;
        level.LevelFishes.clear();
        for (int n = dice.Random(4) + 1; n > 0; --n)
            level.LevelFishes.push_back({dice.Random(2), dice.Random(2)});
        level.GhostProb = dice.RandomFloat() * 0.3;
        level.BombProb = dice.RandomFloat() * 0.2;
        level.BonusGemProb = dice.RandomFloat() * 0.2;
        level.Goal = dice.Random(30) + 1;
        level.Progress = 0;
        level.LevelDone = false;
        params_.DownFall = dice.Random(4) != 0;
        play_.Game = TGame{};
        play_.Game.SmartCount = dice.Random(12);
    }
};

TEST_F(RandomPlayTest, RandomInputNeverBreaksTheBoardAndTheBoardComesToRest) {
    int moves = 0;
    for (uint64_t seed = 1; seed <= 40; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        TKelRandom dice(seed * 7919);
        TKelRandom rulesRandom(seed);
        TPlayRules rules({play_, types_, params_, rulesRandom, out_});
        RandomLevel(dice);
        rules.FillBoxByFishes();
        uint32_t now = Start;
        TCell cell;
        for (int input = 0; input < 250; ++input) {
            // Mostly next to the previous cell, so that many inputs are moves.
            if (dice.Random(3) == 0)
                cell = {dice.Random(15) - 1, dice.Random(11) - 1};
            else
                cell = {cell.Col + dice.Random(3) - 1, cell.Row + dice.Random(3) - 1};
            switch (dice.Random(6)) {
                case 0:
                    rules.HoverUpdate(cell, now);
                    break;
                case 1:
                    play_.Game.KeyCursor = cell;
                    rules.PressSpaceInGamePlay(now);
                    break;
                default:
                    rules.ClickOnCell(cell, now);
                    break;
            }
            for (int passes = dice.Random(30); passes > 0; --passes) {
                const int32_t dt = dice.Random(40) + 1;
                now += uint32_t(dt);
                rules.TickGamePlayTimer(now, true);
                rules.TickBoxMovePiecesTimer(now, dt);
                const std::string impossible = ImpossibleCell(play_, types_);
                ASSERT_EQ(impossible, "") << "after input " << input;
            }
        }
        const uint32_t stop = now + 30000;
        while (!Quiet(play_) && now < stop) {
            now += 10;
            rules.TickGamePlayTimer(now, true);
            rules.TickBoxMovePiecesTimer(now, 10);
        }
        EXPECT_TRUE(Quiet(play_));
        EXPECT_FALSE(CompleteAtRest(play_, types_));
        moves += int(std::count_if(out_.Sounds.begin(), out_.Sounds.end(), [](const auto& sound) {
            return sound.first == "Insert" || sound.first == "FullSphere";
        }));
        out_.Effects.clear();
        out_.Sounds.clear();
    }
    // The input does play: many moves were accepted.
    EXPECT_GT(moves, 300);
}
