// A level description for tests that play on the shipped game: columns 5..9 of rows 3..6, every
// cell pinned by PutFish. A Sun showing piece 1 at (6, 4) sits beside one showing pieces 2 and 3
// at (7, 4), which touches another such Sun at (8, 4); every other cell shows piece 1 in the
// second colour. New fishkas come in the second colour. `extra` is added inside the mode element
// (probabilities, Pharaoh rates).
#pragma once

#include <string>

inline std::string PinnedLevel(int goal, const std::string& extra = "") {
    std::string board;
    for (int line = 0; line < 18; ++line)
        board += line >= 4 && line <= 10 && line % 2 == 0 ? "<l>____00000</l>" : "<l></l>";
    std::string pieces;
    for (int row = 3; row <= 6; ++row) {
        for (int col = 5; col <= 9; ++col) {
            std::string colour = "2", hier = "1";
            if (row == 4 && col == 6) colour = "1";
            if (row == 4 && (col == 7 || col == 8)) colour = "1", hier = "23";
            pieces += "<PutFish x=\"" + std::to_string(col) + "\" y=\"" + std::to_string(row) +
                      "\" Type=\"0\" Color=\"" + colour + "\" Hier=\"" + hier + "\"/>";
        }
    }
    return "<ChristmasLevel BackPicture=\"Back1.jpg\" UnderFrag=\"UnderFrag.png\">"
           "<ActionClassicMode><Board>" +
           board + "</Board><WinCondition><CompleteFishCount>" + std::to_string(goal) +
           "</CompleteFishCount></WinCondition>"
           "<LevelFishes><Fish Type=\"0\" Color=\"2\"/></LevelFishes><PutFishes>" +
           pieces + "</PutFishes>" + extra + "</ActionClassicMode></ChristmasLevel>";
}
