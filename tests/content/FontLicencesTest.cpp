// The shipped font recipes against the licence list: every recipe under data/fonts/ has a row in
// data/LICENSES.md that names the font file it is rendered from, so no font ships unlisted.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "content/FontBuilder.h"

namespace {

namespace fs = std::filesystem;

const fs::path DataFolder = fs::path(TERVOLIN_TEST_DATA) / ".." / ".." / "data";

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace

TEST(FontLicencesTest, EveryRecipesFontFileIsListed) {
    std::istringstream licences(ReadFile(DataFolder / "LICENSES.md"));
    std::vector<std::string> rows;
    for (std::string line; std::getline(licences, line);)
        if (line.starts_with("| ")) rows.push_back(line);

    int recipes = 0;
    for (const auto& entry : fs::directory_iterator(DataFolder / "fonts")) {
        if (entry.path().extension() != ".font") continue;
        ++recipes;
        const std::string recipe = entry.path().filename().string();
        const std::string source =
            fs::path(ParseFontRecipe(ReadFile(entry.path())).Source).filename().string();
        const bool listed = std::any_of(rows.begin(), rows.end(), [&](const std::string& row) {
            return row.find("`" + recipe + "`") != std::string::npos &&
                   row.find("`" + source + "`") != std::string::npos;
        });
        EXPECT_TRUE(listed) << recipe << " (" << source << ") has no row in data/LICENSES.md";
    }
    EXPECT_GT(recipes, 0);
}
