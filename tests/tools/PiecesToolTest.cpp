// tervolin-tool pieces: the contact sheet of every type x colour x piece combination and the
// ghosts, built by the game's own picture code, on a dark and on a light background.
#include <gtest/gtest.h>

#include "resources/FileFolder.h"
#include "resources/JpegPNG.h"
#include "support/RunTool.h"
#include "support/TempFolder.h"
#include "support/TestContent.h"

namespace {

TEST(PiecesToolTest, ShowsEveryColourAndCombinationAndTheGhosts) {
    TempFolder folder;
    TFileFolder archive = TFileFolder::CreateEmpty(folder.File("game.zxc"));
    auto add = [&](const std::string& name, const std::string& bytes) {
        archive.AddFile(name, 1, TMemoryStream(bytes));
    };
    add("FishkaTypes.xml", R"(<FishkaTypes><FishkaType Name="Dot" PieceCount="2" FrameCount="2"
        MakeImages="false"><PieceOrder><Piece Num="1" Picture="DotA"/><Piece Num="2" Picture="DotB"/>
        </PieceOrder><Colors><Color Hue="0"/><Color Hue="120"/></Colors>
        <DrawSequence><DrawPiece Num="1"/><DrawPiece Num="2"/></DrawSequence></FishkaType></FishkaTypes>)");
    for (const char* strip : {"Dot_1_anime.png", "Dot_2_anime.png", "Dot_12_anime.png"})
        add(strip, SolidPng(20, 10, 0, 0, 200));
    add("DotAGhost.png", SolidPng(10, 10, 200, 200, 200));
    add("DotBGhost.png", SolidPng(10, 10, 200, 200, 200));
    archive.Save();

    const ToolResult result = RunTool({"pieces", folder.File("game.zxc"), folder.File("out.png")});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const TPngPicture sheet = TPngPicture::LoadFromFile(folder.File("out.png"));
    // Three combinations 70 pixels wide; two colours and the ghosts, 78 pixels high, twice.
    ASSERT_EQ(sheet.Width, 3 * 70 + 2 * 12);
    ASSERT_EQ(sheet.Height, 2 * (3 * 78 + 2 * 12));

    auto pixel = [&](int x, int y) {
        const uint8_t* p = sheet.ColorRow(y) + 3 * x;
        return std::array<uint8_t, 3>{p[0], p[1], p[2]};
    };
    const int half = sheet.Height / 2;
    for (int b = 0; b < 2; ++b) {
        const auto background = pixel(2, b * half + 2);
        for (int q = 0; q < 3; ++q) {
            const int x = 12 + q * 70 + 35, y = b * half + 12 + 39;
            const auto first = pixel(x, y), second = pixel(x, y + 78), ghost = pixel(x, y + 156);
            EXPECT_NE(first, background) << b << q;
            EXPECT_NE(second, first) << b << q;  // recoloured
            EXPECT_EQ(ghost, (std::array<uint8_t, 3>{200, 200, 200})) << b << q;
        }
    }
}

TEST(PiecesToolTest, WrongArgumentsAndUnreadableArchives) {
    TempFolder folder;
    EXPECT_EQ(RunTool({"pieces", "only-one"}).exitCode, 2);
    const ToolResult missing = RunTool({"pieces", folder.File("none.zxc"), folder.File("o.png")});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_FALSE(missing.err.empty());
}

}  // namespace
