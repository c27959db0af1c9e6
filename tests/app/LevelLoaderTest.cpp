// The level set-up of the game: board, objects, fixed pieces, ambient effects and sounds, and the
// pictures kept, loaded and released from one level to the next; and the cell pictures and
// effects the board presenter chooses.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/FishPictures.h"
#include "resources/JpegPNG.h"
#include "support/HeadlessGame.h"
#include "support/TestContent.h"

namespace {

std::string Jpeg(int width, int height) {
    TBitmap24 bitmap;
    bitmap.Width = width;
    bitmap.Height = height;
    bitmap.Bgr.assign(size_t(width) * height * 3, 90);
    const std::vector<uint8_t> bytes = EncodeJpeg(bitmap, 90);
    return std::string(bytes.begin(), bytes.end());
}

// Two types: Fish (three pieces, three colours) and Box (two pieces, two colours), whose piece
// pictures are coloured by the game.
const char* const Types = R"(<FishkaTypes>
  <FishkaType Name="Fish" PieceCount="3" FrameCount="1">
    <PieceOrder><Piece Num="1" Picture="FishA"/><Piece Num="2" Picture="FishB"/>
      <Piece Num="3" Picture="FishC"/></PieceOrder>
    <Colors><Color Hue="0"/><Color Hue="40"/><Color Hue="80"/></Colors>
    <DrawSequence><DrawPiece Num="1"/><DrawPiece Num="2"/><DrawPiece Num="3"/></DrawSequence>
  </FishkaType>
  <FishkaType Name="Box" PieceCount="2" FrameCount="1">
    <PieceOrder><Piece Num="1" Picture="BoxA"/><Piece Num="2" Picture="BoxB"/></PieceOrder>
    <Colors><Color/><Color/></Colors>
    <DrawSequence><DrawPiece Num="1"/><DrawPiece Num="2"/></DrawSequence>
  </FishkaType>
</FishkaTypes>)";

const char* const LevelOne =
    R"(<ChristmasLevel BackPicture="Sand.png" UnderFrag="Keep.png" Music="Nile.mo3">
  <ActionClassicMode>
    <Board><l>0000000</l><l>0000000</l><l>0000000</l><l>0000000</l><l>0000000</l><l>0000000</l></Board>
    <WinCondition><CompleteFishCount>10</CompleteFishCount></WinCondition>
    <LevelFishes><F Type="0" Color="3"/><F Type="1" Color="1"/></LevelFishes>
    <Scarabs><Scarab x="4" y="4" type="60"/></Scarabs>
    <Cobras><Cobra x="5" y="5"/></Cobras>
    <Pyramids><Pyramid x="6" y="5"/></Pyramids>
    <PutFishes>
      <PutFish x="3" y="3" Type="0" Color="3" Hier="13" Jump="true"/>
      <PutFish x="4" y="3" Hier="12" Ghost="true"/>
    </PutFishes>
  </ActionClassicMode>
  <LevelEffects>
    <Effect Filename="efSand.xml" x="10" y="20" Name="sand" Period="3000"/>
    <SoundEffect Name="wind.ogg" Period="5000" WorkPeriod="2000" PausePeriod="1000"/>
  </LevelEffects>
</ChristmasLevel>)";

const char* const LevelTwo = R"(<ChristmasLevel BackPicture="Sand.png" UnderFrag="Hex.png">
  <ActionClassicMode><Board><l>00</l></Board>
    <LevelFishes><F Type="1" Color="2"/></LevelFishes></ActionClassicMode>
</ChristmasLevel>)";

class LevelLoaderTest : public HeadlessGameTest {
  protected:
    LevelLoaderTest() {
        WriteArchive({{"FishkaTypes.xml", Types},
                      {"surfaces.dat", "Keep.png\r\nScarabBonus60.png\r\n"},
                      {"Sand.png", SolidPng(800, 600, 40, 40, 40)},
                      {"Keep.png", SolidPng(88, 73, 50, 50, 50)},
                      {"Hex.png", SolidPng(88, 73, 60, 60, 60)},
                      {"Glow.png", SolidPng(8, 8, 250, 250, 250)},
                      {"Back1.jpg", Jpeg(800, 600)},
                      {"ScarabBonus60.png", SolidPng(20, 10, 70, 70, 70)},
                      {"FishA.png", SolidPng(60, 60, 100, 100, 100)},
                      {"FishB.png", SolidPng(60, 60, 110, 110, 110)},
                      {"FishC.png", SolidPng(60, 60, 120, 120, 120)},
                      {"BoxA.png", SolidPng(50, 40, 130, 130, 130)},
                      {"BoxB.png", SolidPng(50, 40, 140, 140, 140)},
                      {"efCobraRotate.xml", OneParticleEffect("1", "Cobra.png")},
                      {"efJumpBall.xml", OneParticleEffect("1", "Ball.png")},
                      {"efSand.xml", OneParticleEffect("1", "Glow.png")},
                      {"PuzzleLevel1.xml", LevelOne},
                      {"PuzzleLevel2.xml", LevelTwo},
                      {"PuzzleLevel5.xml", "  "}});
    }
    bool HasSurface(TKelGameEngine& game, const std::string& name) const {
        return game.Services().Surfaces.get()->IndexOfSurface(name) >= 0;
    }
    bool Logged(const std::string& message) const {
        const auto messages = LogMessages();
        return std::find(messages.begin(), messages.end(), message) != messages.end();
    }
};

TEST_F(LevelLoaderTest, SetsUpBoardObjectsPiecesEffectsAndSounds) {
    auto game = StartGame();
    ASSERT_TRUE((*game->Services().Levels).LoadPuzzleLevelFromXML("PuzzleLevel1.xml", game->Services().Now));
    const TBoard& board = game->Services().Play.Level.Board;
    const TBoardView& view = game->Services().View;
    EXPECT_TRUE(board.CellExists(7, 3));
    EXPECT_FALSE(board.CellExists(8, 3));
    EXPECT_EQ(game->Services().Play.Level.Goal, 10);

    const TCellView& scarab = view.Cell(4, 4);
    EXPECT_EQ(scarab.SurfName, "ScarabBonus60.png");
    EXPECT_EQ(TPoint(scarab.PicWidth, scarab.PicHeight), (TPoint{20, 10}));
    EXPECT_EQ(board.Cell(4, 4).Type, 0);  // objects never count as empty cells
    ASSERT_TRUE(view.Cell(5, 5).Effect);
    EXPECT_EQ(view.Cell(5, 5).Effect->StartTime, game->Services().Now);
    EXPECT_EQ(view.Cell(5, 5).SurfName, "");
    EXPECT_FALSE(view.Cell(6, 5).Effect);  // the archive has no pyramid effect
    EXPECT_TRUE(Logged("Can not find file name efPyramid.xml in GameFolder"));

    EXPECT_TRUE(board.Cell(3, 3).JumpBall);
    const TCellView& jumper = view.Cell(3, 3);
    ASSERT_TRUE(jumper.Effect);
    EXPECT_EQ(jumper.EffectFile, JumpBallEffectFile);
    EXPECT_EQ(jumper.Effect->StartTime, game->Services().Now);
    EXPECT_EQ(jumper.SurfName, "Fish5c3");
    EXPECT_EQ(view.Cell(4, 3).SurfName, "Fish3cG");  // type and colour carried over
    // Every cell the set-up changed is marked for redrawing.
    for (TCell changed : {TCell{4, 4}, TCell{5, 5}, TCell{3, 3}, TCell{4, 3}})
        EXPECT_TRUE(TilesMarked(game->Services().Redraw, CellBox(changed.Col, changed.Row)))
            << changed.Col << "," << changed.Row;

    ASSERT_EQ(game->Services().LevelEffects.size(), 1u);
    const TPartEffect& sand = game->Services().LevelEffects[0];
    EXPECT_EQ(sand.Name, "sand");
    EXPECT_EQ(TPoint(sand.X, sand.Y), (TPoint{10, 20}));
    EXPECT_EQ(sand.Bounds, (TRect{5, 30, 794, 595}));
    EXPECT_EQ(sand.RepeatDelay, 3000);
    EXPECT_TRUE(sand.Active);
    // The passes advance it; after its one second it rests until its period comes round.
    const uint32_t start = game->Services().Now;
    bool done = false;
    system.Now = start + 1001;
    game->AppIdle(done);
    EXPECT_FALSE(game->Services().LevelEffects[0].Active);
    system.Now = start + 3001;
    game->AppIdle(done);
    EXPECT_TRUE(game->Services().LevelEffects[0].Active);
    EXPECT_EQ(game->Services().LevelEffects[0].Effect->StartTime, start + 3001);

    ASSERT_EQ(game->Services().Sounds.SoundEffects.size(), 1u);
    const TSoundEffect& wind = game->Services().Sounds.SoundEffects[0];
    EXPECT_EQ(wind.Name, "wind.ogg");
    EXPECT_TRUE(wind.Repeating);
    EXPECT_EQ(wind.Period, 5000);
    EXPECT_EQ(wind.WorkPeriod, 2000);
    EXPECT_EQ(wind.PausePeriod, 1000);

    EXPECT_EQ((*game->Services().Levels).BackgroundList,
              (std::vector<std::string>{"Sand.png", "Keep.png", "Glow.png"}));
    for (const char* picture : {"Sand.png", "Keep.png", "Glow.png"})
        EXPECT_TRUE(HasSurface(*game, picture)) << picture;
}

TEST_F(LevelLoaderTest, PicturesAreKeptLoadedAndReleasedBetweenLevels) {
    auto game = StartGame();
    (*game->Services().Levels).LoadPuzzleLevelFromXML("PuzzleLevel1.xml", game->Services().Now);
    TSurface* sand = game->Services().Surfaces.get()->FindSurface("Sand.png");
    ASSERT_TRUE(sand);
    sand->Bits[0] = 1;  // a mark that a reload would lose

    (*game->Services().Levels).LoadPuzzleLevelFromXML("PuzzleLevel2.xml", game->Services().Now);
    EXPECT_EQ(game->Services().Surfaces.get()->FindSurface("Sand.png")->Bits[0], 1);  // needed again: kept
    EXPECT_TRUE(HasSurface(*game, "Hex.png"));
    EXPECT_TRUE(HasSurface(*game, "Keep.png"));   // listed in surfaces.dat: never released
    EXPECT_FALSE(HasSurface(*game, "Glow.png"));  // only the first level needed it
    EXPECT_TRUE(game->Services().LevelEffects.empty());
    EXPECT_TRUE(game->Services().Sounds.SoundEffects.empty());
    EXPECT_FALSE(game->Services().View.Cell(5, 5).Effect);
    EXPECT_EQ(game->Services().Play.Level.LevelFishes, (std::vector<TFishSpec>{{1, 1}}));
}

TEST_F(LevelLoaderTest, MissingLevelsChangeNothingAndBrokenOnesReportTheirError) {
    auto game = StartGame();
    TLevelLoader& levels = (*game->Services().Levels);
    levels.LoadPuzzleLevelFromXML("PuzzleLevel1.xml", game->Services().Now);
    EXPECT_TRUE(levels.LoadPuzzleLevelFromXML("PuzzleLevel9.xml", game->Services().Now));
    EXPECT_EQ(game->Services().Play.Level.Goal, 10);
    EXPECT_EQ(game->Services().LevelEffects.size(), 1u);

    const struct {
        std::string Level, Logged;
    } cases[] = {
        {"<ChristmasLevel><ActionClassicMode><LevelFishes><F Color=\"1\"/></LevelFishes>"
         "<PutFishes><PutFish x=\"1\" y=\"1\"/></PutFishes></ActionClassicMode></ChristmasLevel>",
         "PutFish without Hier"},
        {"<ChristmasLevel><ActionClassicMode><LevelFishes><F Color=\"1\"/></LevelFishes>"
         "</ActionClassicMode><LevelEffects><Effect Filename=\"efBroken.xml\" x=\"1\" y=\"1\"/>"
         "</LevelEffects></ChristmasLevel>",
         "Error in LevelEffects tag in PuzzleLevel3.xml"},
    };
    for (const auto& c : cases) {
        WriteArchive({{"FishkaTypes.xml", Types},
                      {"efBroken.xml", "<ParticleEffect Name=\"B\"/>"},
                      {"PuzzleLevel3.xml", c.Level}});
        std::filesystem::remove_all(user.File("temp"));
        auto broken = StartGame();
        try {
            (*broken->Services().Levels).LoadPuzzleLevelFromXML("PuzzleLevel3.xml", broken->Services().Now);
            ADD_FAILURE() << c.Level;
        } catch (const KelException& error) {
            EXPECT_EQ(std::string(error.what()),
                      "Exception error in TKelGameEngine.LoadPuzzleLevelFromXML!");
        }
        // The cause is in the log beside the loader's text.
        EXPECT_TRUE(Logged(c.Logged)) << c.Logged;
        if (c.Logged.starts_with("Error in LevelEffects")) {
            EXPECT_TRUE(Logged("LevelEffects tag error!"));
        }
    }
}

TEST_F(LevelLoaderTest, AnEntryWithoutElementsLeavesTheRunningLevelAlone) {
    auto game = StartGame();
    TLevelLoader& levels = (*game->Services().Levels);
    levels.LoadPuzzleLevelFromXML("PuzzleLevel1.xml", game->Services().Now);
    EXPECT_THROW(levels.LoadPuzzleLevelFromXML("PuzzleLevel5.xml", game->Services().Now),
                 KelException);
    EXPECT_TRUE(Logged("PuzzleLevel5.xmlXML file does not has tags!"));
    const TBoard& board = game->Services().Play.Level.Board;
    EXPECT_TRUE(board.CellExists(7, 3));
    EXPECT_EQ(board.Cell(4, 4).Kind, fkScarab60);
    EXPECT_TRUE(board.Cell(3, 3).JumpBall);
    EXPECT_EQ(game->Services().Play.Level.Goal, 10);
    EXPECT_TRUE(game->Services().View.Cell(5, 5).Effect);
    EXPECT_EQ(game->Services().LevelEffects.size(), 1u);
    EXPECT_EQ(game->Services().Sounds.SoundEffects.size(), 1u);
    EXPECT_EQ(levels.BackgroundList,
              (std::vector<std::string>{"Sand.png", "Keep.png", "Glow.png"}));
}

TEST_F(LevelLoaderTest, CellPictureNamesFollowPiecesColourAndKind) {
    auto game = StartGame();
    game->Services().Surfaces.get()->CreateEmptySurface("Fish5c3", 30, 20);
    TFish& fish = game->Services().Play.Level.Board.Cell(2, 2);
    const TCellView& view = game->Services().View.Cell(2, 2);
    TBoardPresenter& presenter = (*game->Services().Presenter);
    const struct {
        int32_t Type;
        uint8_t Kind;
        std::array<bool, 4> Has;
        std::string Name;
        TPoint Size;
    } cases[] = {
        {0, fkNormal, {false, true, false, true}, "Fish5c3", {30, 20}},
        {0, fkGhost, {false, true, false, true}, "Fish5cG", {0, 0}},
        {1, fkNormal, {false, true, true, true}, "Box3c3", {0, 0}},  // piece 3 is not Box's
        {-1, fkNormal, {false, true, true, true}, "", {0, 0}},
        {0, fkScarab300, {}, "ScarabBonus300.png", {0, 0}},
    };
    for (const auto& c : cases) {
        fish.Type = c.Type;
        fish.Kind = c.Kind;
        fish.Has = c.Has;
        fish.Color = 2;
        presenter.StartCellEffect({2, 2}, JumpBallEffectFile, game->Services().Now);
        presenter.NameCellPicture(2, 2, game->Services().Now);
        EXPECT_EQ(view.SurfName, c.Name);
        EXPECT_EQ(TPoint(view.PicWidth, view.PicHeight), c.Size) << c.Name;
        // Objects do not show a jump ball.
        const bool object = c.Kind >= fkScarab0;
        EXPECT_EQ(bool(view.Effect), !object) << c.Name;
    }
    fish.Kind = fkCobra;
    presenter.StartCellEffect({2, 2}, JumpBallEffectFile, game->Services().Now);
    presenter.NameCellPicture(2, 2, game->Services().Now + 5);
    EXPECT_EQ(view.SurfName, "");
    ASSERT_TRUE(view.Effect);  // a cobra shows its own effect in place of the jump ball
    EXPECT_EQ(view.EffectFile, ObjectEffectFile(fkCobra));
    EXPECT_EQ(view.Effect->StartTime, game->Services().Now + 5);
    EXPECT_THROW(presenter.NameCellPicture(0, 2, game->Services().Now), KelException);
}

TEST_F(LevelLoaderTest, ANewGameStartsOnLevelOneWithItsPiecePictures) {
    auto game = StartGame();
    game->Services().Play.Game.Score = 500;
    game->Services().Play.Game.ShowInstructions = false;
    (*game->Services().Levels).StartFirstLevel(system.Now);
    EXPECT_EQ(game->Services().Play.Game.State, gsGame);
    EXPECT_EQ(game->Services().Play.Game.Score, 0);
    EXPECT_EQ(game->Services().Play.Game.CurrentLevel, 1);
    EXPECT_EQ(game->Services().Play.Game.SelectedLevel, 1);
    EXPECT_EQ(game->Services().Play.Game.LevelStartTime, system.Now);
    EXPECT_FALSE(HasSurface(*game, "Back1.jpg"));  // level 1 does not need it after loading
    // Pictures of the level's (type, colour) pairs only.
    for (const char* built : {"Fish1c3", "Fish7c3", "Box3c1"})
        EXPECT_TRUE(HasSurface(*game, built)) << built;
    for (const char* skipped : {"Fish7c1", "Box3c2"})
        EXPECT_FALSE(HasSurface(*game, skipped)) << skipped;
    EXPECT_EQ(game->Services().View.Cell(3, 3).PicWidth, 60);  // names and sizes taken again
    EXPECT_TRUE(TilesMarked(game->Services().Redraw, ScreenRect));

    auto again = StartGame();
    (*again->Services().Levels).StartFirstLevel(system.Now);
    EXPECT_EQ(again->Services().Play.Game.State, gsInstructions);
}

}  // namespace

#ifdef TERVOLIN_GAME_FOLDER
// The shipped levels, one after the other, as the game plays them: every picture they name is
// loaded, every piece picture they need is built and nothing is missing.
class ShippedLevelsTest : public HeadlessGameTest {};

TEST_F(ShippedLevelsTest, SetUpCompletelyOneAfterTheOther) {
    auto game = StartGame(TERVOLIN_GAME_FOLDER);
    ASSERT_FALSE(game->Closed());
    EXPECT_EQ(game->Services().Types.size(), 3u);
    EXPECT_GE(game->Services().PathPoints.size(), 42u);
    game->Services().Play.Game.ShowInstructions = false;
    (*game->Services().Levels).StartFirstLevel(game->Services().Now);
    ASSERT_EQ(game->Services().Play.Game.State, gsGame);
    for (int n = 1; game->Services().Archive.get()->FindFile(PuzzleLevelName(n)); ++n) {
        if (n > 1) {
            (*game->Services().Levels).LoadPuzzleLevelFromXML(PuzzleLevelName(n), game->Services().Now);
            (*game->Services().Levels).MakeColorFishesSurfaces(game->Services().Now);
        }
        EXPECT_GT(game->Services().Play.Level.Goal, 0) << n;
        for (const std::string& picture : (*game->Services().Levels).BackgroundList)
            EXPECT_GE(game->Services().Surfaces.get()->IndexOfSurface(picture), 0) << n << " " << picture;
        for (int col = 1; col <= BoardColumns; ++col)
            for (int row = 1; row <= BoardRows; ++row) {
                const TCellView& cell = game->Services().View.Cell(col, row);
                if (!cell.SurfName.empty()) {
                    EXPECT_GT(cell.PicWidth, 0) << n << " " << cell.SurfName;
                }
            }
        for (const TFishSpec& pair : game->Services().Play.Level.LevelFishes)
            EXPECT_GE(game->Services().Surfaces.get()->IndexOfSurface(
                          FishPictureName(game->Services().Types[size_t(pair.Type)], 7, pair.Color) +
                          "anime"),
                      0)
                << n;
    }
    for (const std::string& message : LogMessages())
        EXPECT_EQ(message.find("Can not find"), std::string::npos) << message;
}
#endif
