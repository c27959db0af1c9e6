// Reading level descriptions, game parameters and the level map's points.
#include "rules/Level.h"

#include "core/CoreError.h"
#include "core/KelException.h"
#include "core/KelParserText.h"
#include "core/KelXmlValues.h"

namespace {

// Collects what is skipped; the level still loads.
struct TProblems {
    std::vector<std::string>* List;
    std::string Entry;
    void Add(const std::string& text) const {
        if (List) List->push_back(Entry + ": " + text);
    }
};

std::string CellText(int col, int row) {
    return "(" + std::to_string(col) + ", " + std::to_string(row) + ")";
}

// Integers of level files: the value of the leading digits of text that is not a number.
int32_t LevelInt(const TKelXMLTag* tag, const std::string& name, int32_t def) {
    const std::string* value = AttrValue(tag, name);
    return value ? ValInt(*value) : def;
}

// Booleans by the platform's conversion: "true" or "false" in any letter case, or a strict whole
// number (0 is false); any other text is an error.
bool PlatformBool(const std::string& text, const std::string& what) {
    if (SameText(text, "true")) return true;
    if (SameText(text, "false")) return false;
    if (int32_t number = 0; TryStrToInt(text, number)) return number != 0;
    throw TKelCoreError(what + " is not a boolean: " + text);
}

bool LevelBool(const TKelXMLTag* tag, const std::string& name, bool def) {
    const std::string* value = AttrValue(tag, name);
    return value ? PlatformBool(*value, name) : def;
}

bool HasXY(const TKelXMLTag& tag) {
    return AttrValue(&tag, "x") && AttrValue(&tag, "y");
}

TCell ReadCell(const TKelXMLTag& tag) {
    return {LevelInt(&tag, "x", 0), LevelInt(&tag, "y", 0)};
}

// The cell when it lies on the board; otherwise the problem is noted and none is answered.
bool OnBoard(TCell cell, const std::string& what, const TProblems& problems) {
    if (TBoard::InRange(cell.Col, cell.Row)) return true;
    problems.Add(what + " at " + CellText(cell.Col, cell.Row) + " lies outside the board");
    return false;
}

void ReadBoard(const TKelXMLTag& board, TBoard& cells, const TProblems& problems) {
    for (int position = 0; position < board.TagCount(); ++position) {
        const TKelXMLTag* line = board.GetTag(position);
        if (line->Name != "l") continue;
        if (position >= 2 * BoardRows) {
            problems.Add("Board line " + std::to_string(position + 1) + " describes no row");
            continue;
        }
        const int row = (position + 2) / 2;
        for (size_t k = 1; k <= line->Text.size(); ++k) {
            if (line->Text[k - 1] != '0') continue;
            if (k > size_t(BoardColumns)) {
                problems.Add("Board line " + std::to_string(position + 1) + " is longer than 13");
                break;
            }
            cells.SetCellExists(int(k), row, true);
        }
    }
    cells.CountLevelNeighbours();
}

void ReadWinCondition(const TKelXMLTag& win, TLevel& level, const TProblems& problems) {
    if (const TKelXMLTag* count = win.FindTag("CompleteFishCount")) {
        level.Goal = StrToIntChecked(count->Text, "CompleteFishCount");
        level.Progress = 0;
    }
    if (const TKelXMLTag* fishes = win.FindTag("CompleteFishes")) {
        level.Goal = fishes->TagCount();
        level.Progress = 0;
        for (const auto& fish : fishes->Tags())
            level.CompleteFishes.push_back(
                {LevelInt(fish.get(), "Type", 0), LevelInt(fish.get(), "Color", 0) - 1});
    }
    if (const TKelXMLTag* on = win.FindTag("CompleteOn")) {
        if (on->TagCount() < 8) throw TKelCoreError("CompleteOn needs 8 lines");
        for (int position = 0; position < 8; ++position) {
            const TKelXMLTag* line = on->GetTag(position);
            if (line->Name != "l") continue;
            for (size_t k = 1; k <= line->Text.size(); ++k)
                if (line->Text[k - 1] == '1' &&
                    OnBoard({int(k), position + 1}, "CompleteOn", problems))
                    level.CompleteOn.push_back({int(k), position + 1});
        }
    }
}

// Entries of LevelFishes and PutFishes: a missing attribute keeps the previous entry's value.
TFishSpec ReadFishSpec(const TKelXMLTag& tag, TFishSpec previous) {
    return {LevelInt(&tag, "Type", previous.Type),
            AttrValue(&tag, "Color") ? LevelInt(&tag, "Color", 0) - 1 : previous.Color};
}

void ReadLevelFishes(const TKelXMLTag* fishes, const TFishkaTypes& types, TLevel& level,
                     const TProblems& problems) {
    level.LevelFishes.clear();
    if (fishes) {
        TFishSpec previous{0, -1};
        for (const auto& child : fishes->Tags()) {
            previous = ReadFishSpec(*child, previous);
            if (ValidFishkaColor(types, previous.Type, previous.Color))
                level.LevelFishes.push_back(previous);
            else
                problems.Add("LevelFishes names type " + std::to_string(previous.Type) +
                             " colour " + std::to_string(previous.Color + 1) +
                             ", which does not exist");
        }
    }
    if (level.LevelFishes.empty()) throw TKelCoreError("LevelFishes has no valid entry");
}

void ReadObjects(const TKelXMLTag& mode, TLevel& level, TLevelSetUp& setUp,
                 const TProblems& problems) {
    if (const TKelXMLTag* bombs = mode.FindTag("BombPlaces"))
        for (const auto& bomb : bombs->Tags())
            if (bomb->Name == "Bomb" && OnBoard(ReadCell(*bomb), "Bomb", problems))
                level.BombPlaces.push_back(ReadCell(*bomb));
    if (const TKelXMLTag* scarabs = mode.FindTag("Scarabs")) {
        for (const auto& scarab : scarabs->Tags()) {
            if (scarab->Name != "Scarab" || !HasXY(*scarab)) continue;
            const std::string* type = AttrValue(scarab.get(), "type");
            if (!type) throw TKelCoreError("Scarab without type");
            const TCell cell = ReadCell(*scarab);
            if (!OnBoard(cell, "Scarab", problems)) continue;
            TFish& fish = level.Board.Cell(cell.Col, cell.Row);
            if (*type == "0") fish.Kind = fkScarab0;
            if (*type == "60") fish.Kind = fkScarab60;
            if (*type == "300") fish.Kind = fkScarab300;
            fish.Pinned = true;
            fish.Color = 100;
            setUp.Scarabs.push_back(cell);
        }
    }
    const struct {
        const char *List, *Item;
        TFishKind Kind;
        std::vector<TCell>& Cells;
    } objects[] = {{"Cobras", "Cobra", fkCobra, setUp.Cobras},
                   {"Pyramids", "Pyramid", fkPyramid, setUp.Pyramids}};
    for (const auto& object : objects) {
        const TKelXMLTag* list = mode.FindTag(object.List);
        if (!list) continue;
        for (const auto& item : list->Tags()) {
            if (item->Name != object.Item || !HasXY(*item)) continue;
            const TCell cell = ReadCell(*item);
            if (!OnBoard(cell, object.Item, problems)) continue;
            TFish& fish = level.Board.Cell(cell.Col, cell.Row);
            fish.Kind = object.Kind;
            fish.JumpBall = fish.KeepJumpBall = fish.Pinned = false;
            object.Cells.push_back(cell);
        }
    }
}

void ReadRates(const TKelXMLTag& mode, bool showHints, TLevel& level) {
    const TKelXMLTag* ghost = mode.FindTag("GhostProb");
    const TKelXMLTag* bomb = mode.FindTag("BombProb");
    const TKelXMLTag* gem = mode.FindTag("BonusGemProb");
    level.GhostProb = ghost ? TextToFloat(ghost->Text) : 0;
    level.BombProb = bomb ? TextToFloat(bomb->Text) : 0;
    level.BonusGemProb = gem ? TextToFloat(gem->Text) : 0;
    if (gem)
        level.BonusGemWeights = {AttrInt(gem, "Cobra"), AttrInt(gem, "Piramid"),
                                 AttrInt(gem, "Coin")};
    if (const TKelXMLTag* pharaoh = mode.FindTag("Pharaoh")) {
        level.DecPerSecond = LevelInt(pharaoh, "DecPerSecond", level.DecPerSecond);
        level.IncPerFish = LevelInt(pharaoh, "IncPerFish", level.IncPerFish);
        level.DownScarabPerSecond =
            LevelInt(pharaoh, "DownScarabPerSecond", level.DownScarabPerSecond);
    } else {
        level.DecPerSecond = level.IncPerFish = level.DownScarabPerSecond = 0;
    }
    const TKelXMLTag* hint = mode.FindTag("ShowHint");
    level.HintWindow = hint ? hint->Text : "";
    const TKelXMLTag* script = mode.FindTag("PopupScript");
    if (showHints && script) {
        for (int i = script->TagCount() - 1; i >= 0; --i) {
            const TKelXMLTag* show = script->GetTag(i);
            if (show->Name == "Show")
                level.PopupWindows.push_back(
                    {AttrText(show, "Name"), LevelInt(show, "Cow", 0), LevelInt(show, "Row", 0)});
        }
    }
}

std::vector<TPutFish> ReadPutFishes(const TKelXMLTag* list, const TFishkaTypes& types,
                                    const TProblems& problems) {
    std::vector<TPutFish> pieces;
    if (!list) return pieces;
    TFishSpec previous{0, -1};
    for (const auto& item : list->Tags()) {
        if (item->Name != "PutFish") continue;
        TPutFish piece;
        piece.Fish = previous = ReadFishSpec(*item, previous);
        const std::string* hier = AttrValue(item.get(), "Hier");
        if (!hier) throw TKelCoreError("PutFish without Hier");
        for (char digit : *hier) {
            if (digit < '0' || digit > '9') throw TKelCoreError("Hier must be digits: " + *hier);
            if (digit >= '1' && digit <= '3') piece.Has[size_t(digit - '0')] = true;
        }
        piece.Ghost = AttrIsTrue(item.get(), "Ghost");
        piece.Jump = AttrIsTrue(item.get(), "Jump");
        if (!HasXY(*item)) continue;
        piece.Cell = ReadCell(*item);
        if (!OnBoard(piece.Cell, "PutFish", problems)) continue;
        if (!ValidFishkaColor(types, piece.Fish.Type, piece.Fish.Color)) {
            problems.Add("PutFish at " + CellText(piece.Cell.Col, piece.Cell.Row) + " names type " +
                         std::to_string(piece.Fish.Type) + " colour " +
                         std::to_string(piece.Fish.Color + 1) + ", which does not exist");
            continue;
        }
        pieces.push_back(piece);
    }
    return pieces;
}

void ReadLevelEffects(const TKelXMLTag& effects, const std::string& entryName, TLevelSetUp& setUp) {
    Guarded("LevelEffects tag error!", [&] {
        for (const auto& item : effects.Tags()) {
            if (item->Name == "Effect") {
                Guarded("Error in LevelEffects tag in " + entryName, [&] {
                    if (!HasXY(*item)) throw TKelCoreError("Effect needs x and y");
                    setUp.Effects.push_back(
                        {AttrText(item.get(), "Name"), AttrText(item.get(), "Filename"),
                         TPoint{LevelInt(item.get(), "x", 0), LevelInt(item.get(), "y", 0)},
                         LevelInt(item.get(), "Period", 0), LevelBool(item.get(), "Visible", true),
                         LevelBool(item.get(), "Scrollable", true)});
                });
            } else if (item->Name == "SoundEffect") {
                setUp.Sounds.push_back({AttrText(item.get(), "Name"),
                                        LevelInt(item.get(), "Period", 0),
                                        LevelInt(item.get(), "WorkPeriod", 0),
                                        LevelInt(item.get(), "PausePeriod", 0)});
            }
        }
    });
}

}  // namespace

std::string PuzzleLevelName(int n) {
    return "PuzzleLevel" + std::to_string(n) + ".xml";
}

TLevelSetUp ReadPuzzleLevel(TKelParser& document, const std::string& entryName,
                            const TFishkaTypes& types, bool showHints, TLevel& level,
                            std::vector<std::string>* problemList) {
    const TProblems problems{problemList, entryName};
    TLevelSetUp setUp;
    try {
        const TKelXMLTag* root = document.GetTag(0);
        if (!root) throw TKelCoreError(entryName + "XML file does not has tags!");
        if (root->Name != "ChristmasLevel") return setUp;
        level.NewFishkaPeriod = LevelInt(root, "NewFishkaPeriod", 0);
        level.BackPicture = AttrText(root, "BackPicture");
        level.UnderFrag = AttrText(root, "UnderFrag");
        level.LevelMusic = AttrText(root, "Music");
        for (const std::string& picture : {level.BackPicture, level.UnderFrag})
            if (!picture.empty() &&
                (setUp.BackgroundList.empty() || setUp.BackgroundList[0] != picture))
                setUp.BackgroundList.push_back(picture);
        if (const TKelXMLTag* complete = root->FindTag("LevelCompleteEffect")) {
            level.TeleportEffect = AttrText(complete, "Teleport", "efTeleport1.xml");
            level.ShowEffect = AttrText(complete, "Show", "efShow1.xml");
        }
        if (const TKelXMLTag* hint = root->FindTag("ShowHint"))
            level.ShowHintTime = LevelInt(hint, "Time", -1);

        const TKelXMLTag* mode = root->FindTag("ActionClassicMode");
        if (mode) {
            if (const TKelXMLTag* board = mode->FindTag("Board"))
                ReadBoard(*board, level.Board, problems);
            if (const TKelXMLTag* win = mode->FindTag("WinCondition"))
                ReadWinCondition(*win, level, problems);
            if (level.Goal <= 0)
                problems.Add("the goal " + std::to_string(level.Goal) + " is not positive");
            ReadLevelFishes(mode->FindTag("LevelFishes"), types, level, problems);
            ReadObjects(*mode, level, setUp, problems);
            ReadRates(*mode, showHints, level);
            setUp.PutFishes = ReadPutFishes(mode->FindTag("PutFishes"), types, problems);
        } else {
            ReadLevelFishes(nullptr, types, level, problems);
        }
        if (const TKelXMLTag* effects = root->FindTag("LevelEffects"))
            ReadLevelEffects(*effects, entryName, setUp);
    } catch (const std::exception& error) {
        // The cause goes to the problems and the log (a KelException logged itself).
        if (!dynamic_cast<const KelException*>(&error)) {
            problems.Add(error.what());
            LogErrorText(error.what());
        }
        throw KelException("Exception error in TKelGameEngine.LoadPuzzleLevelFromXML!");
    }
    return setUp;
}

void PutFishes(TBoard& board, const std::vector<TPutFish>& pieces) {
    for (const TPutFish& piece : pieces) {
        TFish& fish = board.Cell(piece.Cell.Col, piece.Cell.Row);
        fish.Type = piece.Fish.Type;
        fish.Color = uint8_t(piece.Fish.Color);
        fish.Has = piece.Has;
        fish.Kind = piece.Ghost ? fkGhost : fkNormal;
        fish.RemoveTime = -1;
        fish.JumpBall = piece.Jump;
    }
}

void GiveObjectsAType(TBoard& board) {
    for (int col = 1; col <= BoardColumns; ++col)
        for (int row = 1; row <= BoardRows; ++row) {
            TFish& fish = board.Cell(col, row);
            if (fish.Kind >= fkScarab0 && fish.Type == -1) fish.Type = 0;
        }
}

TGameParams ReadGameParams(TKelParser& document, const std::string& path) {
    TGameParams params;
    const TKelXMLTag* root = document.GetTag(0);
    if (!root) throw KelException(path + "XML file does not has tags!");
    if (root->Name != "GamePlayParams") return params;
    if (const TKelXMLTag* downFall = root->FindTag("DownFall")) {
        const std::string text = Trim(downFall->Text);
        try {
            params.DownFall = PlatformBool(text, "DownFall");
        } catch (const TKelCoreError& error) {
            throw KelException(path + ": " + error.what());
        }
    }
    if (const TKelXMLTag* acceleration = root->FindTag("Acceleration")) {
        // Each of the four is required: a missing one is an error like an invalid one.
        auto required = [&](const char* name) {
            const std::string* value = AttrValue(acceleration, name);
            if (!value) throw KelException(path + ": Acceleration needs " + name);
            try {
                return StrToIntChecked(*value, std::string("Acceleration ") + name);
            } catch (const TKelCoreError& error) {
                throw KelException(path + ": " + error.what());
            }
        };
        params.Acceleration = {required("Max"), required("Step"), required("SparkleTime"),
                               required("SparkleMax")};
        params.HasAcceleration = true;
    }
    return params;
}

std::vector<TPathPoint> ReadPathPoints(TKelParser& document) {
    return Guarded("Exception error in TKelGameEngine.LoadPathPoints!", [&] {
        const TKelXMLTag* root = document.GetTag(0);
        if (!root) throw TKelCoreError(" XML file does not has tags!");
        std::vector<TPathPoint> points;
        if (root->Name != "PathPoints") return points;
        for (const auto& point : root->Tags())
            points.push_back({LevelInt(point.get(), "x", 0), LevelInt(point.get(), "y", 0), 0,
                              AttrIsTrue(point.get(), "Big")});
        return points;
    });
}
