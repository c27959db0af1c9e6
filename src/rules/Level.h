// The level being played (TLevel) and the reading of its description "PuzzleLevel<n>.xml": the
// board's shape, the win condition, what is generated, fixed objects and pieces, probabilities,
// the Pharaoh's rates, tutorial popups, pictures, music and ambient effects. Reading fills the
// level record and returns what the level set-up then places on the board and hands to the
// screen and sound (effects, sounds, pictures, the fixed pieces placed after the random
// filling). References outside the board or to unknown types and colours are skipped at load
// time, so the rules can rely on them. Also the game parameters and the level map's points.
// Relies on the XML parser and readers of core, the board and the piece types.
#pragma once

#include <string>
#include <vector>

#include "core/KelParser.h"
#include "rules/Board.h"
#include "rules/FishkaTypes.h"

// A (type, colour) pair; the colour is 0-based.
struct TFishSpec {
    int32_t Type = 0, Color = 0;
    bool operator==(const TFishSpec&) const = default;
};

struct TPopupWindow {
    std::string Name;
    int32_t Col = 0, Row = 0;
};

struct TLevel {
    TBoard Board;
    bool LevelDone = false;
    bool ShowFinishBar = true;  // the finish bar is drawn until the level is complete
    double Progress = 0;
    int32_t Goal = 0;
    std::string BackPicture, UnderFrag, LevelMusic, HintWindow;
    int32_t NewFishkaPeriod = 0;
    std::string TeleportEffect = "efTeleport1.xml", ShowEffect = "efShow1.xml";
    int32_t ShowHintTime = -1;
    std::vector<TFishSpec> LevelFishes, CompleteFishes;
    std::vector<TCell> BombPlaces, CompleteOn;
    double GhostProb = 0, BombProb = 0, BonusGemProb = 0;
    std::vector<int32_t> BonusGemWeights;  // empty, or cobra, pyramid, coin
    int32_t DecPerSecond = 0, IncPerFish = 0, DownScarabPerSecond = 0;
    std::vector<TPopupWindow> PopupWindows;  // the popup shown first is the last entry
    std::vector<TCell> HintPath;             // the chain the last check for moves found
};

struct TPutFish {
    TCell Cell;
    TFishSpec Fish;
    std::array<bool, 4> Has{};
    bool Ghost = false, Jump = false;
};

struct TLevelEffectSpec {
    std::string Name, Filename;
    TPoint Position;
    int32_t Period = 0;
    bool Visible = true, Scrollable = true;
};

struct TLevelSoundSpec {
    std::string Name;
    int32_t Period = 0, WorkPeriod = 0, PausePeriod = 0;
};

// What is set up after reading, in this order: the scarab, cobra and pyramid cells, the random
// filling, the fixed pieces, the ambient effects and sounds, the pictures.
struct TLevelSetUp {
    std::vector<TCell> Scarabs, Cobras, Pyramids;
    std::vector<TPutFish> PutFishes;
    std::vector<TLevelEffectSpec> Effects;
    std::vector<TLevelSoundSpec> Sounds;
    std::vector<std::string> BackgroundList;  // BackPicture and UnderFrag, each once
};

// Reads a level document into `level` (which ClearPlayState has reset). Problems that are skipped
// (cells outside the board, unknown types or colours, a goal that is not positive) are described
// in `problems` when given. Errors (a document without elements, numbers that must be numbers,
// a Scarab without type, a PutFish without Hier or with a non-digit in it, CompleteOn with fewer
// than 8 lines, a level that generates nothing) raise KelException
// "Exception error in TKelGameEngine.LoadPuzzleLevelFromXML!".
TLevelSetUp ReadPuzzleLevel(TKelParser& document, const std::string& entryName,
                            const TFishkaTypes& types, bool showHints, TLevel& level,
                            std::vector<std::string>* problems = nullptr);

// Places the fixed pieces on their cells.
void PutFishes(TBoard& board, const std::vector<TPutFish>& pieces);

// Objects never count as empty cells: those left without a type get type 0.
void GiveObjectsAType(TBoard& board);

// The archive entry of level n.
std::string PuzzleLevelName(int n);

// The Acceleration element of the game parameters: read and kept, no rule uses it yet.
struct TAcceleration {
    int32_t Max = 0, Step = 0, SparkleTime = 0, SparkleMax = 0;
    bool operator==(const TAcceleration&) const = default;
};

struct TGameParams {
    bool DownFall = false;
    bool HasAcceleration = false;
    TAcceleration Acceleration;
};

// Reads the document of "GameParams.xml" (the game object unscrambles it first when needed). A
// document without elements raises KelException with the path followed by "XML file does not
// has tags!"; an invalid DownFall text, or an Acceleration element without its four strict
// integer attributes Max, Step, SparkleTime and SparkleMax, raises KelException with the path
// and the cause. Another root leaves the defaults.
TGameParams ReadGameParams(TKelParser& document, const std::string& path);

struct TPathPoint {
    int32_t X = 0, Y = 0;
    uint8_t Done = 0;
    bool Big = false;
};

// Reads "PathPoints.xml"; errors raise KelException "Exception error in
// TKelGameEngine.LoadPathPoints!".
std::vector<TPathPoint> ReadPathPoints(TKelParser& document);
