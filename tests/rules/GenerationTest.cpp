#include <gtest/gtest.h>

#include <optional>
#include <tuple>

#include "support/PlayRulesFixture.h"

using GenerationTest = PlayRulesTest;

TEST_F(GenerationTest, TenSmartChoicesCompleteANeighbourThenTheListIsDrawnAtRandom) {
    // (4, 3) lacks piece 3: the smart choice weighs it 100 against 10 for the others; with the
    // draws at one half it picks piece 3, the plain random choice piece 2.
    Put({4, 3}, 0, 0, "12");
    play_.Game.SmartCount = 10;
    for (int made = 1; made <= 11; ++made) {
        rules_.MakeNewFallDownFish({4, 4}, now_);
        const TFish& fish = Cell({4, 4});
        EXPECT_EQ(Pieces(fish.Has), made <= 10 ? "3" : "2") << made;
        EXPECT_TRUE(fish.Falling);
        EXPECT_EQ(std::tuple(fish.FallY, fish.FallSpeed), std::tuple(0, 0.0));
    }
    EXPECT_EQ(play_.Game.SmartCount, 0);
}

TEST_F(GenerationTest, CanCompleteNamesThePieceANeighbourOrItsPartnerLacks) {
    struct Case {
        const char* Name;
        const char* Neighbour;
        std::vector<std::pair<TCell, const char*>> Others;  // type 0, colour 0
        std::optional<int> Piece;
    };
    const Case cases[] = {
        {"two pieces", "13", {}, 2},
        {"all three", "123", {}, std::nullopt},
        {"none", "", {}, std::nullopt},
        {"one, partner beside it", "1", {{{6, 3}, "3"}}, 2},
        {"one, partner sharing its piece", "1", {{{6, 3}, "1"}}, std::nullopt},
        {"one, no partner", "1", {}, std::nullopt},
        // The generated cell's neighbours count too, when near the neighbour.
        {"one, partner beside the generated cell", "2", {{{4, 5}, "1"}}, 3},
        {"one, partner not near it", "2", {{{3, 5}, "1"}}, std::nullopt},
    };
    // The neighbour (5, 4) of the generated cell (4, 4); (4, 5) is not near (5, 4).
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        Shape(3, 9, 2, 7);
        Put({5, 4}, 0, 0, c.Neighbour);
        for (const auto& [cell, pieces] : c.Others) Put(cell, 0, 0, pieces);
        const std::optional<TCompletion> answer = rules_.CanComplete({5, 4}, {4, 4});
        ASSERT_EQ(answer.has_value(), c.Piece.has_value());
        if (answer) {
            EXPECT_EQ(std::tuple(answer->Piece, answer->Type, answer->Color),
                      std::tuple(*c.Piece, 0, 0));
        }
    }
}

TEST_F(GenerationTest, OnlyTypeZeroMakesGhostsAndOnlyPieceOneCarriesAGem) {
    play_.Level.GhostProb = 0.5;
    play_.Level.BonusGemProb = 0.5;
    struct Case {
        int Type;
        double Draw;  // every random draw answers this fraction
        uint8_t Kind;
        const char* Pieces;
        uint8_t Extras;
    };
    const Case cases[] = {
        {0, 0.0, fkGhost, "1", feBonusGem},
        {1, 0.0, fkNormal, "1", feBonusGem},
        {0, 0.4, fkGhost, "2", 0},  // piece 2: no gem whatever the draw
        {0, 0.6, fkNormal, "2", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Type * 10 + c.Draw);
        play_.Level.LevelFishes = {{c.Type, 0}};
        TSequenceRandom random({c.Draw});
        TPlayRules rules({play_, types_, params_, random, out_});
        rules.MakeNewFallDownFish({4, 4}, now_);
        const TFish& fish = Cell({4, 4});
        EXPECT_EQ(std::tuple(fish.Type, int(fish.Kind), Pieces(fish.Has), int(fish.Extras)),
                  std::tuple(c.Type, int(c.Kind), std::string(c.Pieces), int(c.Extras)));
    }
}

TEST_F(GenerationTest, PiecesATypeLacksAreNeverGenerated) {
    // "Moon" has two pieces; a neighbour showing both would ask for piece 3.
    play_.Level.LevelFishes = {{1, 0}};
    Put({4, 3}, 1, 0, "12");
    play_.Game.SmartCount = 50;
    for (double draw : {0.0, 0.5, 0.99}) {
        TSequenceRandom random({draw});
        TPlayRules rules({play_, types_, params_, random, out_});
        const TNewFishka made = rules.SmartGenerateFishType({4, 4});
        EXPECT_TRUE(made.Piece == 1 || made.Piece == 2) << draw;
    }
}

TEST_F(GenerationTest, FillingPutsTheBoardAboveTheScreenColumnByColumn) {
    Cell({6, 5}).Kind = fkScarab0;
    rules_.FillBoxByFishes();
    for (int col = 1; col <= BoardColumns; ++col) {
        for (int row = 1; row <= BoardRows; ++row) {
            const TFish& fish = Cell({col, row});
            if (col == 6 && row == 5) {
                EXPECT_FALSE(fish.Falling);  // objects keep their place
                continue;
            }
            ASSERT_TRUE(fish.Falling);  // also cells outside the shape
            EXPECT_EQ(fish.Type, 0);
            EXPECT_EQ(fish.FallY, 73 * (row - 9) + 44 - 32 - 73 * col);
        }
    }
}
