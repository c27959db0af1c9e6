#include "rules/Level.h"

#include <gtest/gtest.h>

#include <tuple>

#include "core/KelException.h"
#include "rules/PlayState.h"

// Two types: "Sun" with 3 colours, "Pyramid" with 2.
static TFishkaTypes TwoTypes() {
    TFishkaTypes types(2);
    types[0].Name = "Sun";
    types[0].PieceCount = 3;
    types[0].ColorCount = 3;
    types[1].Name = "Pyramid";
    types[1].PieceCount = 2;
    types[1].ColorCount = 2;
    return types;
}

struct Loaded {
    TLevel Level;
    TLevelSetUp SetUp;
    std::vector<std::string> Problems;
};

static Loaded Load(const std::string& xml, bool showHints = true) {
    Loaded loaded;
    TKelParser document;
    document.LoadFromString(xml);
    TPlayState play;
    ClearPlayState(play);
    loaded.SetUp = ReadPuzzleLevel(document, "PuzzleLevel1.xml", TwoTypes(), showHints, play.Level,
                                   &loaded.Problems);
    loaded.Level = play.Level;
    return loaded;
}

static std::string Level(const std::string& mode, const std::string& rest = "") {
    return R"(<ChristmasLevel BackPicture="Back1.jpg" UnderFrag="UnderFrag.png" Music="theme.mo3">
<ActionClassicMode><LevelFishes><F Type="0" Color="1"/><F Color="2"/></LevelFishes>)" +
           mode + "</ActionClassicMode>" + rest + "</ChristmasLevel>";
}

TEST(LevelTest, BoardLinesDescribeRowsTwoLinesARow) {
    const Loaded first = Load(Level("<Board><l>0000000000000</l></Board>"));
    const Loaded second = Load(Level("<Board><l></l><l>0000000000000</l></Board>"));
    for (const Loaded* loaded : {&first, &second}) {
        for (int col = 1; col <= 13; ++col) EXPECT_TRUE(loaded->Level.Board.CellExists(col, 1));
        EXPECT_FALSE(loaded->Level.Board.CellExists(1, 2));
        EXPECT_TRUE(loaded->Problems.empty() ||
                    loaded->Problems[0].find("goal") != std::string::npos);
    }
    const Loaded rows = Load(Level("<Board><l/><l/><l>_0_0</l><l>0_0</l></Board>"));
    EXPECT_TRUE(rows.Level.Board.CellExists(1, 2));
    EXPECT_TRUE(rows.Level.Board.CellExists(2, 2));
    EXPECT_TRUE(rows.Level.Board.CellExists(3, 2));
    EXPECT_TRUE(rows.Level.Board.CellExists(4, 2));
    EXPECT_EQ(rows.Level.Board.Neighbour(2, 2, 2), (TCell{3, 2}));  // the table is built

    // A fourteenth column and a tenth row are refused, the rest of the line is kept.
    std::string lines = "<Board>";
    for (int i = 0; i < 19; ++i) lines += "<l>00000000000000</l>";
    const Loaded wide = Load(Level(lines + "</Board>"));
    EXPECT_TRUE(wide.Level.Board.CellExists(13, 9));
    EXPECT_EQ(wide.Problems.size(), 19u + 1u);  // 18 long lines, the 19th line, the goal
}

TEST(LevelTest, WinConditionFishesAndRates) {
    const Loaded loaded = Load(
        Level(R"(<WinCondition><CompleteFishes><a Type="1" Color="1"/><a/><a/><a/></CompleteFishes>
      <CompleteOn><l>1</l><l/><l>0001</l><l/><l/><l/><l/><l>00000000000001</l></CompleteOn></WinCondition>
      <GhostProb>0.25</GhostProb><BonusGemProb Cobra="3" Coin="1">0.5</BonusGemProb>
      <Pharaoh DecPerSecond="7" IncPerFish="12x"/><ShowHint>WBonusGemHint</ShowHint>
      <PopupScript><Show Name="A" Cow="3" Row="4"/><Show Name="B"/><Show Name="C"/></PopupScript>)"));
    const TLevel& level = loaded.Level;
    EXPECT_EQ(level.Goal, 4);
    EXPECT_EQ(level.CompleteOn, (std::vector<TCell>{{1, 1}, {4, 3}}));
    EXPECT_EQ(level.LevelFishes, (std::vector<TFishSpec>{{0, 0}, {0, 1}}));
    EXPECT_EQ(level.GhostProb, 0.25);
    EXPECT_EQ(level.BombProb, 0);
    EXPECT_EQ(level.BonusGemWeights, (std::vector<int32_t>{3, 0, 1}));
    EXPECT_EQ(level.DecPerSecond, 7);
    EXPECT_EQ(level.IncPerFish, 12);
    EXPECT_EQ(level.DownScarabPerSecond, 0);
    EXPECT_EQ(level.HintWindow, "WBonusGemHint");
    ASSERT_EQ(level.PopupWindows.size(), 3u);
    EXPECT_EQ(level.PopupWindows.back().Name, "A");  // shown first
    EXPECT_EQ(level.PopupWindows.back().Col, 3);
    EXPECT_EQ(level.PopupWindows.front().Name, "C");
    EXPECT_EQ(loaded.SetUp.BackgroundList,
              (std::vector<std::string>{"Back1.jpg", "UnderFrag.png"}));

    const Loaded quiet =
        Load(Level("<WinCondition><CompleteFishCount>10</CompleteFishCount></WinCondition>"
                   "<PopupScript><Show Name=\"A\"/></PopupScript>"),
             false);
    EXPECT_EQ(quiet.Level.Goal, 10);
    EXPECT_TRUE(quiet.Level.PopupWindows.empty());
    EXPECT_TRUE(quiet.Level.BonusGemWeights.empty());
    EXPECT_EQ(quiet.Level.DecPerSecond, 0);
}

TEST(LevelTest, ObjectsAndFixedPiecesOutsideTheModelAreSkipped) {
    const Loaded loaded = Load(Level(
        R"(<WinCondition><CompleteFishCount>5</CompleteFishCount></WinCondition>
      <BombPlaces><Bomb x="3" y="4"/><Bomb x="14" y="4"/><Bomb y="2"/></BombPlaces>
      <Scarabs><Scarab x="5" y="5" type="60"/><Scarab x="0" y="5" type="0"/><Scarab x="6" type="0"/></Scarabs>
      <Cobras><Cobra x="7" y="3"/></Cobras><Pyramids><Pyramid x="7" y="10"/></Pyramids>
      <PutFishes><PutFish x="2" y="2" Type="1" Color="2" Hier="13" Jump="true"/>
        <PutFish x="3" y="2" Hier="2" Ghost="true"/><PutFish x="4" y="2" Type="1" Color="3" Hier="1"/>
        <PutFish x="5" y="2" Type="7" Hier="1"/></PutFishes>)",
        R"(<LevelEffects><Effect Filename="efSand.xml" x="10" y="20" Name="sand" Visible="false"/>
      <SoundEffect Name="wind.ogg" Period="5000"/></LevelEffects>)"));
    const TLevel& level = loaded.Level;
    EXPECT_EQ(level.BombPlaces, (std::vector<TCell>{{3, 4}}));
    EXPECT_EQ(level.Board.Cell(5, 5).Kind, fkScarab60);
    EXPECT_TRUE(level.Board.Cell(5, 5).Pinned);
    EXPECT_EQ(level.Board.Cell(5, 5).Color, 100);
    EXPECT_EQ(loaded.SetUp.Scarabs, (std::vector<TCell>{{5, 5}}));
    EXPECT_EQ(loaded.SetUp.Cobras, (std::vector<TCell>{{7, 3}}));
    EXPECT_TRUE(loaded.SetUp.Pyramids.empty());
    ASSERT_EQ(loaded.SetUp.PutFishes.size(), 2u);
    const TPutFish& jump = loaded.SetUp.PutFishes[0];
    EXPECT_EQ(jump.Fish, (TFishSpec{1, 1}));
    EXPECT_TRUE(jump.Has[1] && !jump.Has[2] && jump.Has[3] && jump.Jump);
    EXPECT_EQ(loaded.SetUp.PutFishes[1].Fish, (TFishSpec{1, 1}));  // attributes carried over
    EXPECT_TRUE(loaded.SetUp.PutFishes[1].Ghost);
    ASSERT_EQ(loaded.SetUp.Effects.size(), 1u);
    EXPECT_EQ(loaded.SetUp.Effects[0].Position, (TPoint{10, 20}));
    EXPECT_FALSE(loaded.SetUp.Effects[0].Visible);
    ASSERT_EQ(loaded.SetUp.Sounds.size(), 1u);
    EXPECT_EQ(loaded.SetUp.Sounds[0].Period, 5000);
    EXPECT_EQ(loaded.Problems.size(), 6u);  // two bombs, a scarab, a pyramid, two put fish

    TLevel copy = level;
    PutFishes(copy.Board, loaded.SetUp.PutFishes);
    GiveObjectsAType(copy.Board);
    EXPECT_EQ(copy.Board.Cell(3, 2).Kind, fkGhost);
    EXPECT_TRUE(copy.Board.Cell(2, 2).JumpBall);
    EXPECT_EQ(copy.Board.Cell(5, 5).Type, 0);
    EXPECT_EQ(copy.Board.Cell(6, 6).Type, -1);
}

TEST(LevelTest, LevelEffectsReadLenientIntegersAndPlatformBooleans) {
    const Loaded loaded = Load(Level("", R"(<LevelEffects>
      <Effect Filename="a.xml" x="10px" y="2_0" Period="300ms" Visible="False" Scrollable="0"/>
      <Effect Filename="b.xml" x="-4" y="x" Visible="TRUE" Scrollable="1"/>
      <SoundEffect Name="wind.ogg" Period="5s" WorkPeriod="x" PausePeriod="7"/></LevelEffects>)"));
    ASSERT_EQ(loaded.SetUp.Effects.size(), 2u);
    const TLevelEffectSpec& first = loaded.SetUp.Effects[0];
    EXPECT_EQ(first.Position, (TPoint{10, 2}));
    EXPECT_EQ(first.Period, 300);
    EXPECT_FALSE(first.Visible);
    EXPECT_FALSE(first.Scrollable);
    const TLevelEffectSpec& second = loaded.SetUp.Effects[1];
    EXPECT_EQ(second.Position, (TPoint{-4, 0}));
    EXPECT_EQ(second.Period, 0);
    EXPECT_TRUE(second.Visible);
    EXPECT_TRUE(second.Scrollable);
    ASSERT_EQ(loaded.SetUp.Sounds.size(), 1u);
    const TLevelSoundSpec& wind = loaded.SetUp.Sounds[0];
    EXPECT_EQ(std::tuple(wind.Period, wind.WorkPeriod, wind.PausePeriod), std::tuple(5, 0, 7));

    // A boolean text the platform does not read is an error, as are missing coordinates.
    for (const char* effect : {R"(<Effect Filename="a.xml" x="1" y="1" Visible="yes"/>)",
                               R"(<Effect Filename="a.xml" x="1" y="1" Scrollable=""/>)",
                               R"(<Effect Filename="a.xml" y="1"/>)"})
        EXPECT_THROW(Load(Level("", std::string("<LevelEffects>") + effect + "</LevelEffects>")),
                     KelException)
            << effect;
}

TEST(LevelTest, ErrorsRaiseTheLoadersText) {
    const std::string broken[] = {
        "no elements",
        Level("<WinCondition><CompleteFishCount>ten</CompleteFishCount></WinCondition>"),
        Level("<Scarabs><Scarab x=\"1\" y=\"1\"/></Scarabs>"),
        Level("<PutFishes><PutFish x=\"1\" y=\"1\"/></PutFishes>"),
        Level("<PutFishes><PutFish x=\"1\" y=\"1\" Hier=\"1a\"/></PutFishes>"),
        Level("<WinCondition><CompleteOn><l/></CompleteOn></WinCondition>"),
        Level("<BonusGemProb Cobra=\"x\">0.1</BonusGemProb>"),
        R"(<ChristmasLevel><ActionClassicMode><LevelFishes><F Type="5" Color="1"/></LevelFishes></ActionClassicMode></ChristmasLevel>)",
        R"(<ChristmasLevel><ActionClassicMode/></ChristmasLevel>)",
        Level("", "<LevelEffects><Effect Filename=\"a.xml\" x=\"1\"/></LevelEffects>"),
    };
    for (const std::string& xml : broken) {
        try {
            Load(xml);
            ADD_FAILURE() << xml;
        } catch (const KelException& error) {
            EXPECT_STREQ(error.what(), "Exception error in TKelGameEngine.LoadPuzzleLevelFromXML!");
        }
    }
    EXPECT_NO_THROW(Load("<OtherLevel/>"));
}

TEST(LevelTest, GameParamsAndPathPoints) {
    const struct {
        const char* xml;
        bool downFall;
    } params[] = {{"<GamePlayParams><DownFall>true</DownFall></GamePlayParams>", true},
                  {"<GamePlayParams><DownFall>False</DownFall></GamePlayParams>", false},
                  {"<GamePlayParams><DownFall>1</DownFall></GamePlayParams>", true},
                  {"<GamePlayParams/>", false},
                  {"<Other><DownFall>true</DownFall></Other>", false}};
    for (const auto& c : params) {
        TKelParser document;
        document.LoadFromString(c.xml);
        EXPECT_EQ(ReadGameParams(document, "GameParams.xml").DownFall, c.downFall) << c.xml;
    }
    TKelParser bad;
    bad.LoadFromString("<GamePlayParams><DownFall>maybe</DownFall></GamePlayParams>");
    EXPECT_THROW(ReadGameParams(bad, "GameParams.xml"), KelException);

    // Acceleration: absent, complete, or an error when any of its four strict integers is
    // missing or not one.
    const struct {
        const char* attributes;
        bool valid;
        TAcceleration expected;
    } accelerations[] = {
        {R"(Max="400" Step="5" SparkleTime="-20" SparkleMax="3")", true, {400, 5, -20, 3}},
        {R"(Max="400" Step="5" SparkleTime="20")", false, {}},
        {R"(Step="5" SparkleTime="20" SparkleMax="3")", false, {}},
        {R"(Max="4x" Step="5" SparkleTime="20" SparkleMax="3")", false, {}},
        {R"(Max="400" Step="" SparkleTime="20" SparkleMax="3")", false, {}},
    };
    for (const auto& c : accelerations) {
        TKelParser document;
        document.LoadFromString(std::string("<GamePlayParams><Acceleration ") + c.attributes +
                                "/></GamePlayParams>");
        if (!c.valid) {
            EXPECT_THROW(ReadGameParams(document, "GameParams.xml"), KelException) << c.attributes;
            continue;
        }
        const TGameParams read = ReadGameParams(document, "GameParams.xml");
        EXPECT_TRUE(read.HasAcceleration);
        EXPECT_EQ(read.Acceleration, c.expected);
    }
    TKelParser without;
    without.LoadFromString("<GamePlayParams/>");
    EXPECT_FALSE(ReadGameParams(without, "GameParams.xml").HasAcceleration);

    TKelParser points;
    points.LoadFromString(R"(<PathPoints><p x="10" y="20" Big="true"/><p x="3"/></PathPoints>)");
    const auto path = ReadPathPoints(points);
    ASSERT_EQ(path.size(), 2u);
    EXPECT_EQ(path[0].Y, 20);
    EXPECT_TRUE(path[0].Big);
    EXPECT_EQ(path[1].Y, 0);
    TKelParser empty;
    empty.LoadFromString("");
    EXPECT_THROW(ReadPathPoints(empty), KelException);
}
