// The piece types and the levels, with what each level loads.
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "app/GlobalEffects.h"
#include "app/ScreenEffects.h"
#include "check/CheckData.h"
#include "core/KelException.h"
#include "core/KelParserText.h"
#include "resources/ArchiveXml.h"
#include "resources/JpegPNG.h"
#include "rules/FishkaTypes.h"
#include "rules/Level.h"

// A picture entry that exists and decodes as its name's suffix says.
static void CheckPicture(TFileFolder& archive, const std::string& owner, const std::string& name,
                         TProblems& problems) {
    TMemoryStream* entry = archive.FindFile(name);
    if (!entry) {
        problems.push_back(owner + ": picture " + name + " is not in the archive");
        return;
    }
    try {
        const std::span<const uint8_t> bytes = entry->Bytes();
        if (name.size() >= 3 && SameText(name.substr(name.size() - 3), "png"))
            TPngPicture::Decode(bytes);
        else
            DecodeJpeg(bytes);
    } catch (const std::exception& error) {
        problems.push_back(owner + ": picture " + name + ": " + error.what());
    }
}

// An effect file that exists and loads, with every picture its particles draw.
static void CheckEffect(TFileFolder& archive, const std::string& owner, const std::string& file,
                        TProblems& problems) {
    try {
        const std::unique_ptr<TKelParticleEffect> effect = LoadEffectEntry(archive, file, nullptr);
        if (!effect) {
            problems.push_back(owner + ": effect " + file + " is not in the archive");
            return;
        }
        for (const std::string& picture : EffectPictures(*effect))
            CheckPicture(archive, file, picture, problems);
    } catch (const std::exception& error) {
        problems.push_back(owner + ": " + error.what());
    }
}

// Cells the player can see and click on the 800 x 600 screen: columns 1 and 2 lie under the
// finish bar and the Pharaoh, column 13 is off the screen, row 9 is cut by the bottom edge and
// the odd (raised) columns' first row by the top.
static bool CellVisible(int col, int row) {
    return col >= 3 && col <= 12 && row <= 8 && (col % 2 == 0 || row >= 2);
}

// What a level loads besides its description: its pictures, the effects of its objects, fixed
// jump balls and ambient effects, and the pictures of its scarabs.
static void CheckLevelContent(TFileFolder& archive, const std::string& level,
                              const TLevelSetUp& setUp, const TLevel& read, TProblems& problems) {
    for (int row = 1; row <= BoardRows; ++row)
        for (int col = 1; col <= BoardColumns; ++col)
            if (read.Board.CellExists(col, row) && !CellVisible(col, row))
                problems.push_back(level + ": Board cell (" + std::to_string(col) + ", " +
                                   std::to_string(row) + ") lies outside the visible board");
    for (const std::string& picture : setUp.BackgroundList)
        CheckPicture(archive, level, picture, problems);
    std::vector<std::string> effects;
    if (!setUp.Cobras.empty()) effects.push_back(ObjectEffectFile(fkCobra));
    if (!setUp.Pyramids.empty()) effects.push_back(ObjectEffectFile(fkPyramid));
    for (const TPutFish& piece : setUp.PutFishes)
        if (piece.Jump) effects.push_back(JumpBallEffectFile);
    for (const TLevelEffectSpec& effect : setUp.Effects) effects.push_back(effect.Filename);
    std::sort(effects.begin(), effects.end());
    effects.erase(std::unique(effects.begin(), effects.end()), effects.end());
    for (const std::string& effect : effects) CheckEffect(archive, level, effect, problems);
    for (const TCell& cell : setUp.Scarabs) {
        const uint8_t kind = read.Board.Cell(cell.Col, cell.Row).Kind;
        if (kind >= fkScarab0 && kind <= fkScarab300)
            CheckPicture(archive, level, ScarabPictureName(kind), problems);
    }
}

// The piece types and every level "PuzzleLevel1.xml", "PuzzleLevel2.xml", ... up to the first
// missing one, read with the game's loaders; levels need the types, so they are required then.
void CheckTypesAndLevels(TFileFolder& archive, TProblems& problems) {
    TFishkaTypes types;
    TKelParser typesDocument;
    const bool hasTypes = LoadXmlEntry(archive, "FishkaTypes.xml", typesDocument);
    if (hasTypes) {
        TProblems typeProblems;
        try {
            ReadFishkaTypes(typesDocument, types, &typeProblems);
        } catch (const KelException& error) {
            typeProblems.push_back(error.what());
        }
        for (const std::string& problem : typeProblems)
            problems.push_back("FishkaTypes.xml: " + problem);
    }
    for (int n = 1;; ++n) {
        TKelParser document;
        if (!LoadXmlEntry(archive, PuzzleLevelName(n), document)) break;
        if (!hasTypes) {
            problems.push_back(PuzzleLevelName(n) + ": no FishkaTypes.xml for its pieces");
            break;
        }
        TLevel level;
        try {
            const TLevelSetUp setUp =
                ReadPuzzleLevel(document, PuzzleLevelName(n), types, true, level, &problems);
            CheckLevelContent(archive, PuzzleLevelName(n), setUp, level, problems);
        } catch (const KelException& error) {
            problems.push_back(PuzzleLevelName(n) + ": " + error.what());
        }
    }
    TKelParser points;
    if (LoadXmlEntry(archive, "PathPoints.xml", points)) {
        try {
            const auto path = ReadPathPoints(points);
            if (path.size() < 42)
                problems.push_back("PathPoints.xml: " + std::to_string(path.size()) +
                                   " points; the level map needs 42");
        } catch (const KelException& error) {
            problems.push_back(std::string("PathPoints.xml: ") + error.what());
        }
    }
}
