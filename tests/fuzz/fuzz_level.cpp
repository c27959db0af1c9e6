// Fuzz target for the puzzle's description files: any bytes are read as a level (against two
// fixed piece types), as piece types, as game parameters and as the level map's points. What a
// level reads is then placed on a board and every cell, and every cell the placing's events
// name, is looked at the way the game does, so an index a file smuggles past the loaders shows
// up here.
#include <cstddef>
#include <cstdint>
#include <exception>
#include <string>
#include <variant>

#include "app/FishPictures.h"
#include "core/KelParser.h"
#include "rules/FishkaTypes.h"
#include "rules/Level.h"
#include "rules/PlayState.h"

namespace {

const char* const Types = R"(<FishkaTypes>
  <FishkaType Name="Sun" PieceCount="3" FrameCount="24" MakeImages="false">
    <Colors><Color/><Color/><Color/></Colors></FishkaType>
  <FishkaType Name="Box" PieceCount="2"><Colors><Color/><Color/></Colors></FishkaType>
</FishkaTypes>)";

TFishkaTypes FixedTypes() {
    TKelParser document;
    document.LoadFromString(Types);
    TFishkaTypes types;
    ReadFishkaTypes(document, types);
    return types;
}

void LookAtBoard(const TBoard& board, const TFishkaTypes& types) {
    for (int col = 1; col <= BoardColumns; ++col) {
        for (int row = 1; row <= BoardRows; ++row) {
            const TFish& fish = board.Cell(col, row);
            for (int slot = 1; slot <= 6; ++slot) {
                const TCell next = board.Neighbour(col, row, slot);
                if (!next.IsNone()) (void)board.Adjacent({col, row}, next);
            }
            if (fish.Type < 0 || fish.Kind >= fkScarab0) continue;
            const TFishkaType& type = types.at(size_t(fish.Type));
            (void)FishPictureName(type, 7, fish.Color);
            (void)type.Colors.at(fish.Color);
            (void)FullFishka(fish, types);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const TFishkaTypes types = FixedTypes();
    const std::string text(reinterpret_cast<const char*>(data), size);
    TKelParser document;
    try {
        document.LoadFromString(text);
    } catch (const std::exception&) {
        return 0;
    }
    try {
        TPlayState play;
        ClearPlayState(play);
        TLevel& level = play.Level;
        const TLevelSetUp setUp = ReadPuzzleLevel(document, "PuzzleLevel1.xml", types, true, level);
        for (const TPlayEvent& event : PlaceLevelObjects(play, setUp, 0)) {
            const TCell cell = std::visit([](const auto& e) { return e.Cell; }, event);
            (void)level.Board.Cell(cell.Col, cell.Row);
        }
        LookAtBoard(level.Board, types);
        for (const TCell& cell : level.CompleteOn) (void)level.Board.Cell(cell.Col, cell.Row);
        for (const TCell& cell : level.BombPlaces) (void)level.Board.Cell(cell.Col, cell.Row);
    } catch (const std::exception&) {
        // Refused levels are fine; only crashes and bad indices count.
    }
    try {
        TFishkaTypes read;
        ReadFishkaTypes(document, read);
        for (const TFishkaType& type : read)
            for (int q = 1; q < (1 << type.PieceCount); ++q) (void)StripEntryName(type, q);
    } catch (const std::exception&) {
    }
    try {
        (void)ReadGameParams(document, "GameParams.xml");
        (void)ReadPathPoints(document);
    } catch (const std::exception&) {
    }
    return 0;
}
