#include "rules/FishkaTypes.h"

#include <gtest/gtest.h>

#include "core/KelException.h"

static TFishkaTypes Load(const std::string& xml, std::vector<std::string>* problems = nullptr) {
    TKelParser document;
    document.LoadFromString(xml);
    TFishkaTypes types;
    ReadFishkaTypes(document, types, problems);
    return types;
}

TEST(FishkaTypesTest, ReadsTypesPiecesColoursAndDrawSteps) {
    const TFishkaTypes types = Load(R"(<?xml version="1.0"?>
<FishkaTypes>
  <FishkaType Name="Sun" PieceCount="3" FrameCount="16" MakeImages="false">
    <PieceOrder><Piece Num="1" Picture="SunBig"/><Piece Num="3" Picture="SunSmall"/></PieceOrder>
    <Colors>
      <Color Hue="10" Saturation="-20" Lightnes="30" ImagePostFix="Red"/>
      <Note/>
      <Color Hue="200"/>
    </Colors>
    <DrawSequence>
      <DrawPiece Num="1" Rect="0 0	64 72"/>
      <Pause/>
      <DrawPiece Num="2"/>
    </DrawSequence>
  </FishkaType>
  <FishkaType Name="Cartouche" PieceCount="2" MakeImages="False"/>
</FishkaTypes>)");
    ASSERT_EQ(types.size(), 2u);
    const TFishkaType& sun = types[0];
    EXPECT_EQ(sun.Name, "Sun");
    EXPECT_EQ(sun.PieceCount, 3);
    EXPECT_EQ(sun.FrameCount, 16);
    EXPECT_FALSE(sun.MakeImages);
    EXPECT_EQ(sun.Pictures[1], "SunBig");
    EXPECT_EQ(sun.Pictures[2], "");
    EXPECT_EQ(sun.Pictures[3], "SunSmall");
    EXPECT_EQ(sun.ColorCount, 3);  // the Note child counts and leaves its slot at zero
    EXPECT_EQ(sun.Colors[0].Saturation, -20);
    EXPECT_EQ(sun.Colors[0].Lightness, 30);
    EXPECT_EQ(sun.Colors[0].PostFix, "Red");
    EXPECT_EQ(sun.Colors[1].Hue, 0);
    EXPECT_EQ(sun.Colors[2].Hue, 200);
    ASSERT_EQ(sun.DrawSequence.size(), 3u);
    EXPECT_EQ(sun.DrawSequence[0].X2, 64);
    EXPECT_EQ(sun.DrawSequence[0].Y2, 72);
    EXPECT_EQ(sun.DrawSequence[1].Num, 0);  // another name still occupies an entry
    EXPECT_EQ(sun.DrawSequence[1].X1, 0);
    EXPECT_EQ(sun.DrawSequence[2].X1, -1);  // no Rect
    EXPECT_TRUE(types[1].MakeImages);       // only the exact "false" turns images off
    EXPECT_EQ(types[1].Frames(), 1);
    EXPECT_TRUE(ValidFishkaColor(types, 0, 2));
    EXPECT_FALSE(ValidFishkaColor(types, 0, 3));
    EXPECT_FALSE(ValidFishkaColor(types, 1, 0));
    EXPECT_FALSE(ValidFishkaColor(types, 2, 0));
    EXPECT_FALSE(ValidFishkaColor(types, -1, 0));
}

TEST(FishkaTypesTest, ValuesOutsideTheModelAreSkippedOrRefused) {
    std::vector<std::string> problems;
    const TFishkaTypes types = Load(R"(<FishkaTypes><FishkaType Name="A" PieceCount="2">
      <PieceOrder><Piece Num="0" Picture="x"/><Piece Num="4" Picture="y"/><Piece Num="2" Picture="z"/></PieceOrder>
      <Colors><Color/><Color/><Color/><Color/><Color/><Color/><Color/><Color/><Color Hue="9"/></Colors>
      <DrawSequence><DrawPiece Num="40"/><DrawPiece Num="1"/></DrawSequence>
    </FishkaType></FishkaTypes>)",
                                    &problems);
    ASSERT_EQ(types.size(), 1u);
    EXPECT_EQ(types[0].Pictures[2], "z");
    EXPECT_EQ(types[0].ColorCount, 8);
    ASSERT_EQ(types[0].DrawSequence.size(), 1u);
    EXPECT_EQ(types[0].DrawSequence[0].Num, 1);
    EXPECT_EQ(problems.size(), 4u);

    const char* refused[] = {
        R"(<FishkaTypes><FishkaType Name="A" PieceCount="1"/><FishkaType Name="B" PieceCount="4"/></FishkaTypes>)",
        R"(<FishkaTypes><FishkaType Name="A" PieceCount="1"/><FishkaType Name="B" PieceCount="two"/></FishkaTypes>)",
        R"(<FishkaTypes><FishkaType Name="A" PieceCount="1"/><FishkaType Name="B" PieceCount="0"/></FishkaTypes>)",
        R"(<FishkaTypes><FishkaType Name="A" PieceCount="1"/><FishkaType Name="B" PieceCount="1"><DrawSequence><DrawPiece Num="1" Rect="1 2 3"/></DrawSequence></FishkaType></FishkaTypes>)",
    };
    for (const char* xml : refused) {
        TKelParser document;
        document.LoadFromString(xml);
        TFishkaTypes partial;
        EXPECT_THROW(ReadFishkaTypes(document, partial), KelException) << xml;
        EXPECT_EQ(partial.size(), 1u) << xml;  // types before the error stay
    }
}

TEST(FishkaTypesTest, OtherRootsLoadNothingAndEmptyDocumentsFail) {
    EXPECT_TRUE(Load("<Types><FishkaType Name=\"A\" PieceCount=\"1\"/></Types>").empty());
    EXPECT_THROW(Load("no elements here"), KelException);
}

TEST(FishkaTypesTest, FullnessCountsOnlyTheTypesPieces) {
    TFishkaTypes types(2);
    types[0].PieceCount = 2;
    types[1].PieceCount = 3;
    const struct {
        int32_t Type;
        std::array<bool, 4> Pieces;
        bool Full;
    } cases[] = {
        {0, {false, true, true, false}, true},  // piece 3 is not one of type 0's
        {0, {false, true, false, true}, false},
        {1, {false, true, true, false}, false},
        {1, {false, true, true, true}, true},
        {-1, {false, true, true, true}, false},  // an empty cell
        {7, {false, true, true, true}, false},   // no such type
    };
    for (const auto& c : cases) {
        TFish fish;
        fish.Type = c.Type;
        fish.Has = c.Pieces;
        EXPECT_EQ(FullFishka(fish, types), c.Full) << c.Type;
        EXPECT_FALSE(FullMakeFishka(fish, types)) << c.Type;  // nothing pending
        fish.Will = c.Pieces;
        EXPECT_EQ(FullMakeFishka(fish, types), c.Full) << c.Type;
    }
}
