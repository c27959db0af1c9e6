// The data builder (library and "build-data") and the data checker ("check-data").
#include "content/DataBuilder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "support/ArchiveBytes.h"
#include "support/RunTool.h"

namespace fs = std::filesystem;

class DataBuilderTest : public ScratchFolderTest {
  protected:
    void Source(const std::string& relative, const std::string& content) {
        const fs::path path = folder / "data" / relative;
        fs::create_directories(path.parent_path());
        WriteBytes(path, std::vector<uint8_t>(content.begin(), content.end()));
    }
    std::string BuildError() {
        try {
            BuildData(PathOf("data"), PathOf("game.zxc"));
        } catch (const std::runtime_error& error) {
            return error.what();
        }
        return "";
    }
};

TEST_F(DataBuilderTest, PacksArchiveAndEffectFilesByBaseNameInPathOrder) {
    Source("archive/sub/a.png", "png");
    Source("archive/b.xml", "<b/>");
    Source("archive/Z/deep/c.ogg", "");
    Source("archive/.keep", "");
    Source("archive/.hidden/d.xml", "hidden");
    Source("archive/sub/.e.swp", "swap");
    Source("other/f.xml", "not in the archive");
    Source("effects/efB.xml", "<ParticleEffect/>");
    BuildData(PathOf("data"), PathOf("game.zxc"));

    TFileFolder archive = TFileFolder::Open(PathOf("game.zxc"));
    ASSERT_EQ(archive.LastError(), "");
    const struct {
        const char* name;
        const char* data;
    } expected[] = {{"c.ogg", ""},
                    {"b.xml", "<b/>"},
                    {"a.png", "png"},  // Z/, b.xml, sub/, then the effects
                    {"efB.xml", "<ParticleEffect/>"}};
    ASSERT_EQ(archive.Count(), int(std::size(expected)));
    for (int i = 0; i < archive.Count(); ++i) {
        EXPECT_EQ(archive.Entry(i).Name, expected[i].name);
        EXPECT_EQ(archive.Entry(i).EntryTag, 1);
        EXPECT_EQ(archive.FindFile(expected[i].name)->ToString(), expected[i].data);
    }

    // Same sources, same bytes; the tool gives what the library gives.
    const std::vector<uint8_t> first = ReadBytes(folder / "game.zxc");
    const ToolResult tool = RunTool({"build-data", PathOf("data"), PathOf("tool.zxc")});
    ASSERT_EQ(tool.exitCode, 0) << tool.err;
    EXPECT_EQ(ReadBytes(folder / "tool.zxc"), first);
}

TEST_F(DataBuilderTest, RefusesNamesTheArchiveCannotHoldAndWritesNothing) {
    const struct {
        std::vector<std::pair<std::string, std::string>> sources;
        std::vector<std::string> mentioned;
    } cases[] = {
        {{{"archive/x/Pic.png", "1"}, {"archive/y/pic.PNG", "2"}},
         {"build-data step archive: duplicate entry name", "x/Pic.png", "y/pic.PNG"}},
        {{{"archive/" + std::string(33, 'n'), ""}}, {"longer than 32", std::string(33, 'n')}},
        // An effect file named like an entry of the archive folder.
        {{{"archive/efA.xml", "1"}, {"effects/EFA.xml", "2"}},
         {"build-data step effects: entry EFA.xml of EFA.xml is already in the archive"}},
    };
    for (const auto& c : cases) {
        fs::remove_all(folder / "data");
        for (const auto& [path, content] : c.sources) Source(path, content);
        const std::string error = BuildError();
        for (const std::string& text : c.mentioned)
            EXPECT_NE(error.find(text), std::string::npos) << error;
        EXPECT_FALSE(fs::exists(folder / "game.zxc"));
    }
    fs::remove_all(folder / "data");
    EXPECT_NE(BuildError().find("not a data folder"), std::string::npos);
    const ToolResult tool = RunTool({"build-data", PathOf("data"), PathOf("game.zxc")});
    EXPECT_EQ(tool.exitCode, 1);
}

TEST_F(DataBuilderTest, NoArchiveSourcesGiveTheEmptyArchive) {
    fs::create_directories(folder / "data");
    BuildData(PathOf("data"), PathOf("game.zxc"));
    EXPECT_EQ(ReadBytes(folder / "game.zxc"),
              (std::vector<uint8_t>{0x39, 0x30, 0x00, 0x00, 0x00, 0x00, 0xFF, 0xFF}));
}

class CheckDataTest : public ScratchFolderTest {};

TEST_F(CheckDataTest, ReportsEveryProblemOnItsOwnLine) {
    const struct {
        const char* what;
        std::vector<uint8_t> bytes;
        int exitCode;
        std::string out;
    } cases[] = {
        {"sound archive",
         ArchiveBytes().Header(2).Dir("a.xml", 0, 2).Dir("b.png", 2, 1).Text("abc").bytes, 0, ""},
        {"empty archive", ArchiveBytes().Header(0).bytes, 0, ""},
        {"does not open", ArchiveBytes().U16(1).U16(0).U16(0).U16(0xFFFF).bytes, 1,
         "Cannot open FileFolder (broked label)\n"},
        {"bad entries",
         ArchiveBytes()
             .Header(5)
             .Dir("ok.xml", 0, 2)
             .Dir("cut.png", 1, 5)
             .Dir("OK.XML", 0, 1)
             .Dir("", 0, 0)
             .Dir("neg.ogg", 0, -4)
             .Text("abc")
             .bytes,
         1,
         "cut.png: Cannot load file (wrong file size)\n"
         "neg.ogg: Cannot load file (wrong file size)\n"
         "OK.XML: duplicate entry name, only the first one is read\n"
         "entry 3 has no name\n"},
    };
    for (const auto& c : cases) {
        WriteBytes(folder / "game.zxc", c.bytes);
        const ToolResult result = RunTool({"check-data", PathOf("game.zxc")});
        EXPECT_EQ(result.exitCode, c.exitCode) << c.what;
        EXPECT_EQ(result.out, c.out) << c.what;
    }
}

TEST_F(CheckDataTest, AGameArchiveNeedsTheScreensEffectsAndPictures) {
    // An effect of one system, drawing the picture (none when empty) in that many frames.
    auto effect = [](const std::string& picture, int frames) {
        return TMemoryStream(
            R"(<ParticleEffect Name="C"><Functions/><Morphs/><Particles><Particle Name="P"/>)"
            R"(</Particles><ParticleSystems><ParticleSystem Name="S" Template="P">)" +
            (picture.empty() ? "" : "<Resource>" + picture + "</Resource>") + "<FrameCount>" +
            std::to_string(frames) + "</FrameCount></ParticleSystem></ParticleSystems>" +
            "</ParticleEffect>");
    };
    TFileFolder archive = TFileFolder::CreateEmpty(PathOf("game.zxc"));
    archive.AddFile("surfaces.dat", 1, TMemoryStream("Select.png\r\nGone.png\r\n"));
    archive.AddFile("Select.png", 1, TMemoryStream("a picture"));
    archive.AddFile("Gleam.png", 1, TMemoryStream("a picture"));
    archive.AddFile("efMouseCursor.xml", 1, effect("cursor_line.png", 1));
    archive.AddFile("efBlickComplete1.xml", 1, effect("Gleam.png", 1));
    archive.AddFile("efBallsRotation.xml", 1, effect("", 8));
    archive.AddFile("FishkaTypes.xml", 1,
                    TMemoryStream(R"(<FishkaTypes><FishkaType Name="Sun" PieceCount="1" )"
                                  R"(FrameCount="24"/></FishkaTypes>)"));
    archive.Save();
    const ToolResult result = RunTool({"check-data", PathOf("game.zxc")});
    EXPECT_EQ(result.exitCode, 1);
    for (const char* line :
         {"surfaces.dat: Gone.png is not in the archive\n", "surfaces.dat: Column.png is missing\n",
          "efPharaohAngry.xml: the effect is missing\n",
          "efCobraRotate.xml: the effect is missing\n",
          "efMouseCursor.xml: its picture cursor_line.png is missing\n",
          "efBonus50.xml: the effect is missing\n", "efLevelComplete.xml: the effect is missing\n",
          "efClickOnCobra6.xml: the effect is missing\n",
          "efBlickComplete1.xml: its picture Gleam.png is not in surfaces.dat\n",
          "efBallsRotation.xml: system S has 8 frames, the strips of Sun 24\n"})
        EXPECT_NE(result.out.find(line), std::string::npos) << line << result.out;
    EXPECT_EQ(result.out.find("Select.png is missing"), std::string::npos);
}

TEST_F(CheckDataTest, ABreakTurnsThePieceThroughEveryFrameOfTheStrips) {
    // A break whose first system "Piece" has that frame count and, unless `last` is negative, a
    // Frame morph from 0 to `last` over 0.7 s; the sparks system after it draws one frame.
    auto breakEffect = [](int frames, int last) {
        const std::string to = std::to_string(last);
        return R"(<ParticleEffect Name="B" Lifetime="0.75"><Functions>)"
               R"(<Function Name="F" Dim="1" Type="piecewise"><Script>Set Linear; )"
               R"(Path (-0.49) "0.7" ()" +
               to + R"(.49); Ending Stop ()" + to +
               R"();</Script></Function></Functions><Morphs><Morph Name="M" Dim="1">)"
               R"(<Functions><Function Name="F"/></Functions></Morph></Morphs><Particles>)"
               R"(<Particle Name="P">)" +
               (last < 0 ? "" : R"(<Parameter Name="Frame" Dim="1" Morph="M"/>)") +
               R"(</Particle><Particle Name="Q"/></Particles><ParticleSystems>)"
               R"(<ParticleSystem Name="Piece" Template="P"><InitParticles>1</InitParticles>)"
               R"(<FrameCount>)" +
               std::to_string(frames) +
               R"(</FrameCount></ParticleSystem><ParticleSystem Name="Sparks" Template="Q">)"
               R"(<InitParticles>1</InitParticles><FrameCount>1</FrameCount></ParticleSystem>)"
               R"(</ParticleSystems></ParticleEffect>)";
    };
    const struct {
        const char* what;
        int frames, last;
        std::vector<std::string> lines;  // each reported for every break file
    } cases[] = {
        {"every frame", 24, 23, {}},
        {"a third of the strips",
         8,
         7,
         {": system Piece has 8 frames, the strips of Sun 24\n",
          ": system Piece has 8 frames, the strips of Box 24\n"}},
        {"stopping short", 24, 7, {": system Piece shows frames up to 7 of its 24\n"}},
        {"running past the end", 24, 30, {": system Piece shows frames up to 30 of its 24\n"}},
        {"never turning", 24, -1, {": system Piece has no Frame morph\n"}},
    };
    const char* const files[] = {"efBreakFishka.xml", "efBreakFishka1.xml", "efBreakFishka2.xml"};
    for (const auto& c : cases) {
        TFileFolder archive = TFileFolder::CreateEmpty(PathOf("game.zxc"));
        archive.AddFile("surfaces.dat", 1, TMemoryStream(""));
        archive.AddFile("FishkaTypes.xml", 1,
                        TMemoryStream(R"(<FishkaTypes><FishkaType Name="Sun" PieceCount="1" )"
                                      R"(FrameCount="24"/><FishkaType Name="Box" PieceCount="1" )"
                                      R"(FrameCount="24"/></FishkaTypes>)"));
        for (const char* file : files)
            archive.AddFile(file, 1, TMemoryStream(breakEffect(c.frames, c.last)));
        archive.Save();
        const ToolResult result = RunTool({"check-data", PathOf("game.zxc")});
        size_t reported = 0;
        for (size_t at = 0; (at = result.out.find("efBreakFishka", at)) != std::string::npos; ++at)
            ++reported;
        EXPECT_EQ(reported, c.lines.size() * std::size(files)) << c.what << "\n" << result.out;
        for (const char* file : files)
            for (const std::string& line : c.lines)
                EXPECT_NE(result.out.find(file + line), std::string::npos)
                    << c.what << ": " << file << line << result.out;
    }
}

// The one-shot effects the play screen starts from their files: each ends within ten seconds and
// draws only pictures loaded at start-up (but for a bomb's burst, whose first system shows the
// cell's piece strip and turns it like a break); a group bonus word is one system of one
// particle; the pyramid's flight has a piecewise FPath driving a Position.
TEST_F(CheckDataTest, TheOneShotScreenEffectsEndAndFitTheirRoles) {
    struct TSystem {
        std::string Template, Picture;
        int Particles = 1;
    };
    // An effect with a lifetime unless empty, the given functions, morphs and particle templates,
    // and one system for each entry.
    auto effect = [](const std::string& lifetime, const std::string& functions,
                     const std::string& morphs, const std::string& particles,
                     const std::vector<TSystem>& systems) {
        std::string text = R"(<ParticleEffect Name="E")" +
                           (lifetime.empty() ? "" : R"( Lifetime=")" + lifetime + "\"") +
                           "><Functions>" + functions + "</Functions><Morphs>" + morphs +
                           "</Morphs><Particles>" + particles + "</Particles><ParticleSystems>";
        for (size_t i = 0; i < systems.size(); ++i)
            text += R"(<ParticleSystem Name="S)" + std::to_string(i) + R"(" Template=")" +
                    systems[i].Template + R"("><InitParticles>)" +
                    std::to_string(systems[i].Particles) + "</InitParticles><Resource>" +
                    systems[i].Picture + "</Resource><FrameCount>" +
                    (i == 0 && systems[i].Picture.find("anime") != std::string::npos ? "24" : "1") +
                    "</FrameCount></ParticleSystem>";
        return text + "</ParticleSystems></ParticleEffect>";
    };
    const std::string plain = R"(<Particle Name="P"/>)";
    const std::string frames =
        R"(<Function Name="F" Dim="1" Type="piecewise"><Script>Set Linear; )"
        R"(Path (-0.49) "0.3" (23.49); Ending Stop (23);</Script></Function>)";
    const std::string framesMorph =
        R"(<Morph Name="MF" Dim="1"><Functions><Function Name="F"/></Functions></Morph>)";
    const std::string turning =
        R"(<Particle Name="T"><Parameter Name="Frame" Dim="1" Morph="MF"/></Particle>)";
    const std::string piecewisePath = R"(<Function Name="FPath" Dim="2" Type="piecewise"/>)";
    const std::string constantPath =
        R"(<Function Name="FPath" Dim="2" Type="constant"><Value>(0,0)</Value></Function>)";
    const std::string pathMorph =
        R"(<Morph Name="MP" Dim="2"><Functions><Function Name="FPath"/></Functions></Morph>)";
    const std::string flying =
        R"(<Particle Name="P"><Parameter Name="Position" Dim="2" Morph="MP"/></Particle>)";
    const std::string fading = R"(<Particle Name="P"><Parameter Name="Alpha" Dim="1" )"
                               R"(Morph="MA"/></Particle>)";
    const std::string pathAlpha =
        R"(<Morph Name="MA" Dim="1"><Functions><Function Name="FA"/></Functions></Morph>)";
    const std::string alphaPath = R"(<Function Name="FA" Dim="1" Type="piecewise"/>)";

    const struct {
        const char* file;
        std::string text;
        std::vector<std::string> lines;  // every line reported for the file
    } cases[] = {
        {"efBonusExcellent.xml", effect("1.5", "", "", plain, {{"P", "Fx.png"}}), {}},
        {"efBonusGreat.xml",
         effect("1.5", "", "", plain, {{"P", "Fx.png"}, {"P", "Fx.png"}}),
         {"efBonusGreat.xml: 2 particle systems; the group's number needs one, of one particle"}},
        {"efBonusFantastic.xml",
         effect("1.5", "", "", plain, {{"P", "Fx.png", 3}}),
         {"efBonusFantastic.xml: 3 particles at once; the group's number needs one"}},
        {"efLevelComplete.xml",
         effect("", "", "", plain, {{"P", "Fx.png"}}),
         {"efLevelComplete.xml: does not end within 10 s"}},
        {"efVertBombShot.xml",
         effect("11", "", "", plain, {{"P", "Fx.png"}}),
         {"efVertBombShot.xml: does not end within 10 s"}},
        {"efBombPlace.xml",
         effect("1", "", "", plain, {{"P", "Fx.png"}, {"P", "Unlisted.png"}}),
         {"efBombPlace.xml: its picture Unlisted.png is not in surfaces.dat"}},
        // The burst's first system shows the cell's strip: its picture need not be listed.
        {"efBomb1.xml",
         effect("1", frames, framesMorph, turning + plain,
                {{"T", "Sun_123_anime.png"}, {"P", "Fx.png"}}),
         {}},
        {"efBomb1.xml",
         effect("1", "", "", plain, {{"P", "Sun_123_anime.png"}, {"P", "Unlisted.png"}}),
         {"efBomb1.xml: its picture Unlisted.png is not in surfaces.dat",
          "efBomb1.xml: system S0 has no Frame morph"}},
        {"efClickOnPyramid.xml",
         effect("2", piecewisePath, pathMorph, flying, {{"P", "Fx.png"}}),
         {}},
        {"efClickOnPyramid.xml",
         effect("2", "", "", plain, {{"P", "Fx.png"}}),
         {"efClickOnPyramid.xml: no piecewise function FPath drives its particles' Position"}},
        {"efClickOnPyramid.xml",
         effect("2", constantPath, pathMorph, flying, {{"P", "Fx.png"}}),
         {"efClickOnPyramid.xml: no piecewise function FPath drives its particles' Position"}},
        {"efClickOnPyramid.xml",
         effect("2", piecewisePath + alphaPath, pathAlpha, fading, {{"P", "Fx.png"}}),
         {"efClickOnPyramid.xml: no piecewise function FPath drives its particles' Position"}},
    };
    for (const auto& c : cases) {
        TFileFolder archive = TFileFolder::CreateEmpty(PathOf("game.zxc"));
        archive.AddFile("surfaces.dat", 1, TMemoryStream("Fx.png\n"));
        for (const char* picture : {"Fx.png", "Unlisted.png", "Sun_123_anime.png"})
            archive.AddFile(picture, 1, TMemoryStream("a picture"));
        archive.AddFile("FishkaTypes.xml", 1,
                        TMemoryStream(R"(<FishkaTypes><FishkaType Name="Sun" PieceCount="1" )"
                                      R"(FrameCount="24"/></FishkaTypes>)"));
        archive.AddFile(c.file, 1, TMemoryStream(c.text));
        archive.Save();
        const ToolResult result = RunTool({"check-data", PathOf("game.zxc")});
        std::vector<std::string> reported;
        std::istringstream lines(result.out);
        for (std::string line; std::getline(lines, line);)
            if (line.rfind(std::string(c.file) + ":", 0) == 0) reported.push_back(line);
        std::vector<std::string> expected = c.lines;
        std::sort(reported.begin(), reported.end());
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(reported, expected) << c.file << "\n" << result.out;
    }
}
