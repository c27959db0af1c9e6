// The moves a board offers: which merges the rules accept, how the bot ranks them, and the
// renewal of a board that accepts none.
#include "PlayRulesFixture.h"
#include "rules/MoveChooser.h"

namespace {

class MoveChooserTest : public PlayRulesTest {
  protected:
    // Every cell a Moon showing piece 1: no two fishkas can merge.
    MoveChooserTest() {
        for (int col = 1; col <= BoardColumns; ++col)
            for (int row = 1; row <= BoardRows; ++row) Put({col, row}, 1, 0, "1");
    }
};

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
    EXPECT_FALSE(AnyMerge(play_.Level, types_));
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

TEST_F(MoveChooserTest, AJumpBallReachesAMatchAnywhere) {
    Put({3, 2}, 0, 0, "1").JumpBall = true;
    Put({9, 7}, 0, 0, "2");
    EXPECT_TRUE(AnyMerge(play_.Level, types_));
    Cell({3, 2}).JumpBall = false;
    EXPECT_FALSE(AnyMerge(play_.Level, types_));
}

TEST_F(MoveChooserTest, ADeadBoardIsRenewedOnceQuietAfterAMove) {
    auto renewed = [this] {
        int count = 0;
        for (int col = 1; col <= BoardColumns; ++col)
            for (int row = 1; row < BoardRows; ++row)
                if (Cell({col, row}).Type == 0) {  // the level's list holds only Suns
                    EXPECT_TRUE(Cell({col, row}).Falling);
                    ++count;
                }
        return count;
    };
    now_ = Start;
    play_.Game.MoveMade = false;
    RunUntil(Start + 1000);
    EXPECT_EQ(renewed(), 0) << "no move made: the board waits";

    play_.Game.MoveMade = true;
    RunUntil(now_ + 10);
    EXPECT_EQ(renewed(), 3);
    EXPECT_EQ(play_.Game.DebugText, "No move left: fishkas renewed");
    EXPECT_TRUE(play_.Game.MoveMade) << "looked at again once they land";
    EXPECT_EQ(play_.Game.SmartCount, 10) << "renewals do not use up the check's count";
}

TEST_F(MoveChooserTest, ABoardWithAMergeIsLeftAlone) {
    Put({5, 4}, 1, 0, "1");
    Put({6, 4}, 1, 0, "2");
    now_ = Start;
    play_.Game.MoveMade = true;
    RunUntil(Start + 1000);
    EXPECT_NE(play_.Game.DebugText, "No move left: fishkas renewed");
    EXPECT_EQ(Cell({5, 4}).Type, 1);
    EXPECT_EQ(Cell({6, 4}).Type, 1);
}

}  // namespace
