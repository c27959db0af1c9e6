// check-data reports every problem of the piece types and the levels of an archive.
#include <gtest/gtest.h>

#include "resources/FileFolder.h"
#include "support/RunTool.h"
#include "support/TempFolder.h"

TEST(CheckLevelsTest, ReportsEveryProblemWithItsFile) {
    TempFolder folder;
    TFileFolder archive = TFileFolder::CreateEmpty(folder.File("game.zxc"));
    auto add = [&](const std::string& name, const std::string& text) {
        archive.AddFile(name, 1, TMemoryStream(text));
    };
    add("FishkaTypes.xml", R"(<FishkaTypes><FishkaType Name="Sun" PieceCount="3">
        <Colors><Color/><Color/></Colors><DrawSequence><DrawPiece Num="5"/></DrawSequence></FishkaType></FishkaTypes>)");
    add("PuzzleLevel1.xml",
        R"(<ChristmasLevel><ActionClassicMode><Board><l>---0-0-0-0-0-0</l></Board>
        <WinCondition><CompleteFishCount>0</CompleteFishCount></WinCondition>
        <LevelFishes><F Type="0" Color="1"/><F Type="0" Color="3"/></LevelFishes></ActionClassicMode></ChristmasLevel>)");
    add("PuzzleLevel2.xml",
        R"(<ChristmasLevel><ActionClassicMode><LevelFishes/></ActionClassicMode></ChristmasLevel>)");
    add("PuzzleLevel4.xml", "<ChristmasLevel/>");  // after the gap: never loaded by the game
    add("PathPoints.xml", R"(<PathPoints><p x="1" y="2"/></PathPoints>)");
    archive.Save();

    const ToolResult result = RunTool({"check-data", folder.File("game.zxc")});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.out,
              "FishkaTypes.xml: FishkaType \"Sun\": DrawPiece Num 5 is not 1 to 3\n"
              "PuzzleLevel1.xml: Board line 1 is longer than 13\n"
              "PuzzleLevel1.xml: the goal 0 is not positive\n"
              "PuzzleLevel1.xml: LevelFishes names type 0 colour 3, which does not exist\n"
              "PuzzleLevel2.xml: the goal 0 is not positive\n"
              "PuzzleLevel2.xml: LevelFishes has no valid entry\n"
              "PuzzleLevel2.xml: Exception error in TKelGameEngine.LoadPuzzleLevelFromXML!\n"
              "PathPoints.xml: 1 points; the level map needs 42\n");
}

TEST(CheckLevelsTest, FontsOfAGameArchiveMustLoadWithTheirPictures) {
    TempFolder folder;
    TFileFolder archive = TFileFolder::CreateEmpty(folder.File("game.zxc"));
    archive.AddFile(
        "KelUnicode.xml", 1,
        TMemoryStream(std::string(
            R"(<F Name="KelUnicode" Height="9" Picture="KelUnicode.png" Metrics="63:0:0:0:5:1,65:5:0:0:5:1"/>)")));
    archive.AddFile("Lithos.xml", 1,
                    TMemoryStream(std::string(R"(<F Name="Lithos" Metrics="65:0:0"/>)")));
    archive.AddFile("Tervolin.li", 1,
                    TMemoryStream(std::string("<KelInterface><p>AB</p></KelInterface>")));
    archive.Save();
    const ToolResult result = RunTool({"check-data", folder.File("game.zxc")});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.out.find("KelUnicode.xml: its picture KelUnicode.png is missing\n"),
              std::string::npos);
    EXPECT_NE(result.out.find("KelUnicode.xml: no glyphs for \"B\"\n"), std::string::npos);
    EXPECT_NE(result.out.find("Lithos.xml: "), std::string::npos);
    EXPECT_NE(result.out.find("Lithos-Bold.xml: the font is missing\n"), std::string::npos);
    EXPECT_NE(result.out.find("LithosSmall-Bold.xml: the font is missing\n"), std::string::npos);
}

TEST(CheckLevelsTest, LevelsNeedTheirPicturesEffectsAndScarabs) {
    TempFolder folder;
    TFileFolder archive = TFileFolder::CreateEmpty(folder.File("game.zxc"));
    auto add = [&](const std::string& name, const std::string& text) {
        archive.AddFile(name, 1, TMemoryStream(text));
    };
    add("FishkaTypes.xml", R"(<FishkaTypes><FishkaType Name="Sun" PieceCount="1">
        <Colors><Color/></Colors></FishkaType></FishkaTypes>)");
    add("Back.jpg", "not a picture");
    add("efSand.xml",
        R"(<ParticleEffect Name="Sand"><Functions/><Morphs/><Particles><Particle Name="P"/></Particles>
        <ParticleSystems><ParticleSystem Name="S" Template="P"><Resource>Grain.png</Resource>
        </ParticleSystem></ParticleSystems></ParticleEffect>)");
    add("PuzzleLevel1.xml",
        R"(<ChristmasLevel BackPicture="Back.jpg" UnderFrag="Hex.png"><ActionClassicMode>
        <Board><l>0</l><l/><l>--0</l></Board>
        <WinCondition><CompleteFishCount>5</CompleteFishCount></WinCondition>
        <LevelFishes><F Type="0" Color="1"/></LevelFishes>
        <Scarabs><Scarab x="2" y="2" type="300"/></Scarabs><Cobras><Cobra x="3" y="3"/></Cobras>
        </ActionClassicMode><LevelEffects><Effect Filename="efSand.xml" x="1" y="1"/>
        </LevelEffects></ChristmasLevel>)");
    archive.Save();

    const ToolResult result = RunTool({"check-data", folder.File("game.zxc")});
    EXPECT_EQ(result.exitCode, 1);
    // The decoder's own words follow the picture's name.
    const std::string cells =
        "PuzzleLevel1.xml: Board cell (1, 1) lies outside the visible board\n";
    ASSERT_EQ(result.out.compare(0, cells.size(), cells), 0) << result.out;
    const std::string rest = result.out.substr(cells.size());
    const std::string decoding = "PuzzleLevel1.xml: picture Back.jpg: JPEG: ";
    ASSERT_EQ(rest.compare(0, decoding.size(), decoding), 0) << result.out;
    EXPECT_EQ(rest.substr(rest.find('\n') + 1),
              "PuzzleLevel1.xml: picture Hex.png is not in the archive\n"
              "PuzzleLevel1.xml: effect efCobraRotate.xml is not in the archive\n"
              "efSand.xml: picture Grain.png is not in the archive\n"
              "PuzzleLevel1.xml: picture ScarabBonus300.png is not in the archive\n");
}
