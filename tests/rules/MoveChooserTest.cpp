// The moves a board offers the bot: which merges the rules accept and how the bot ranks them.
#include <tuple>

#include "support/PlayRulesFixture.h"
#include "rules/MoveChooser.h"

namespace {

using MoveChooserTest = PlayRulesTest;

TEST_F(MoveChooserTest, AMergeNeedsTheSameKindColourAndNoSharedPiece) {
    struct Case {
        const char* what;
        int type, colour;
        const char* pieces;
        uint8_t kind;
        bool allowed;
    };
    // Into a Sun of colour 0 showing piece 1.
    const Case cases[] = {
        {"the missing pieces", 0, 0, "23", fkNormal, true},
        {"a shared piece", 0, 0, "12", fkNormal, false},
        {"another colour", 0, 1, "2", fkNormal, false},
        {"a ghost of another colour", 0, 1, "2", fkGhost, true},
        {"another type", 1, 0, "2", fkNormal, false},
        {"a pyramid", 0, 0, "2", fkPyramid, false},
        {"a coin", 0, 0, "2", fkCoin, false},
    };
    TFish to;
    to.Type = 0;
    to.Has[1] = true;
    for (const Case& c : cases) {
        TFish from;
        from.Type = c.type;
        from.Color = uint8_t(c.colour);
        from.Kind = c.kind;
        for (const char* piece = c.pieces; *piece; ++piece) from.Has[size_t(*piece - '0')] = true;
        EXPECT_EQ(MergeAllowed(from, to, types_), c.allowed) << c.what;
    }
}

TEST_F(MoveChooserTest, CompletionsComeFirstThenMovesThatLeaveOneNextMove) {
    Put({5, 4}, 0, 0, "12");
    Put({6, 4}, 0, 0, "3");  // completes (5, 4)
    Put({8, 4}, 0, 1, "1");
    Put({8, 5}, 0, 1, "2");
    Put({8, 6}, 0, 1, "3");  // with (8, 5) holding 1 and 2, the next move completes it
    const std::vector<TChosenMove> moves = RankMerges(play_.Level, types_);
    ASSERT_GE(moves.size(), 4u);
    for (size_t i = 0; i < 2; ++i) {
        EXPECT_GE(moves[i].Worth, 1000);
        EXPECT_TRUE(moves[i].From.Col == 5 || moves[i].From.Col == 6);
    }
    // Then the moves after which (8, 5) or (8, 6) completes next, then plain gathering.
    EXPECT_GE(moves[2].Worth, 300);
    EXPECT_LT(moves[2].Worth, 1000);
    EXPECT_LT(moves.back().Worth, 300);
    TKelRandom random(1);
    const TChosenMove chosen = ChooseMove(play_.Level, types_, random);
    EXPECT_EQ(chosen.Kind, TChosenMove::Merge);
    EXPECT_GE(chosen.Worth, 1000);
}

TEST_F(MoveChooserTest, WithoutMergesAPyramidIsClickedElseARefusedMoveIsTried) {
    TKelRandom random(1);
    ASSERT_FALSE(rules_.AnyMoveLeft());
    Cell({7, 5}).Kind = fkCoin;  // inert: never worth a click
    TChosenMove move = ChooseMove(play_.Level, types_, random);
    EXPECT_EQ(move.Kind, TChosenMove::Merge);
    EXPECT_EQ(move.Worth, -1);
    EXPECT_TRUE(play_.Level.Board.Adjacent(move.From, move.To));

    Cell({4, 3}).Kind = fkPyramid;
    move = ChooseMove(play_.Level, types_, random);
    EXPECT_EQ(move.Kind, TChosenMove::Object);
    EXPECT_EQ(move.From, (TCell{4, 3}));
}

TEST_F(MoveChooserTest, MovesGoFromTheSelectedCellToItsNeighbours) {
    // Column 13 is never a right-hand neighbour: (13, 4) may move into (12, 4), not back.
    Shape(11, 13, 2, 7);
    Put({13, 4}, 0, 0, "1");
    Put({12, 4}, 0, 0, "23");
    const std::vector<TChosenMove> moves = RankMerges(play_.Level, types_);
    ASSERT_EQ(moves.size(), 1u);
    EXPECT_EQ(std::tuple(moves[0].From, moves[0].To), std::tuple(TCell{13, 4}, TCell{12, 4}));
}

}  // namespace
