#include "support/HeadlessGame.h"

#include <sstream>

namespace {

const char* const GameFonts[] = {"KelUnicode",         "Lithos",
                                 "Lithos-Bold",        "Lithos-Black",
                                 "LithosDigist-Black", "LithosSmall-Bold"};

}  // namespace

void HeadlessGameTest::WriteArchive(const TArchiveEntries& entries,
                                    const std::string& leftOutFont) {
    TFileFolder archive = TFileFolder::CreateEmpty(data.File("game.zxc"));
    for (const auto& [name, bytes] : entries) archive.AddFile(name, 1, TMemoryStream(bytes));
    for (const std::string font : GameFonts)
        if (font != leftOutFont)
            archive.AddFile(font + ".xml", 1,
                            TMemoryStream("<Font Name=\"" + font +
                                          "\" Height=\"12\" Metrics=\"63:0:0:0:6:1\"/>"));
    archive.Save();
}

std::unique_ptr<TKelGameEngine> HeadlessGameTest::MakeGame(const std::string& gameFolder) {
    return std::make_unique<TKelGameEngine>(
        platform,
        TGameFolders{gameFolder.empty() ? data.Path().string() : gameFolder, user.Path().string()});
}

std::unique_ptr<TKelGameEngine> HeadlessGameTest::StartGame(const std::string& gameFolder) {
    auto game = MakeGame(gameFolder);
    game->FormCreate();
    game->HandleEvent(ActivateEvent(true));
    return game;
}

std::vector<std::string> HeadlessGameTest::LogMessages() const {
    std::vector<std::string> messages;
    std::istringstream lines(user.Read("Tervolin.log"));
    for (std::string line; std::getline(lines, line);) {
        EXPECT_EQ(line.back(), '\r');
        messages.push_back(line.substr(line.find("} ") + 2, line.size() - line.find("} ") - 3));
    }
    return messages;
}

bool TilesMarked(const TRedrawGrid& grid, const TRect& rect) {
    for (int j = rect.Top / 20 + 1; j <= rect.Bottom / 20 + 1; ++j)
        for (int i = rect.Left / 20 + 1; i <= rect.Right / 20 + 1; ++i)
            if (grid.Tile(i, j) == 0) return false;
    return true;
}
