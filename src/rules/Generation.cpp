// New fishkas: filling the board at level start, refilling a cell in place, and the choice of
// type, colour and piece, at random from the level's list or by the smart choice that prefers
// a piece completing a neighbour.
#include "core/KelException.h"
#include "core/SFunctions.h"
#include "rules/PlayRules.h"

TNewFishka TPlayRules::RandomFishka() {
    const auto& kinds = Level().LevelFishes;
    if (kinds.empty()) throw KelException("Generating integer from nul array!");
    const TFishSpec& kind = kinds[size_t(links_.Random.Random(int32_t(kinds.size())))];
    const int pieces = links_.Types.at(size_t(kind.Type)).PieceCount;
    return {kind.Type, kind.Color, links_.Random.Random(pieces) + 1};
}

TNewFishka TPlayRules::NextFishka(TCell cell) {
    TGame& game = Game();
    if (game.SmartCount >= 1) {
        --game.SmartCount;
        return SmartGenerateFishType(cell);
    }
    return RandomFishka();
}

void TPlayRules::PutNewFishka(TFish& fish, const TNewFishka& made) {
    const TLevel& level = Level();
    IRandom& random = links_.Random;
    fish.Type = made.Type;
    fish.Color = uint8_t(made.Color);
    fish.Has[size_t(made.Piece)] = true;
    fish.RemoveTime = -1;
    fish.Kind = fish.Type == 0 && random.RandomFloat() < level.GhostProb ? fkGhost : fkNormal;
    fish.Extras = 0;
    if (random.RandomFloat() < level.BombProb) fish.Extras |= uint8_t(1 << random.Random(3));
    if (fish.Has[1] && random.RandomFloat() < level.BonusGemProb) fish.Extras |= feBonusGem;
}

void TPlayRules::RenewFishka(TCell cell) {
    TFish& fish = Fish(cell);
    fish.MergeTime = -1;
    fish.InGroup = false;
    fish.Has = {};
    PutNewFishka(fish, NextFishka(cell));
    fish.Falling = true;
    links_.Out.ResetCellFrame(cell);
}

void TPlayRules::MakeNewFallDownFish(TCell cell, uint32_t now) {
    Guarded("Exception error in TKelGameEngine.MakeNewFallDownFish!", [&] {
        TFish& fish = Fish(cell);
        links_.Out.FreeCellEffects(cell);
        fish.JumpBall = false;
        RenewFishka(cell);
        fish.FallY = 0;  // from the top edge of the screen
        fish.FallSpeed = 0;
        fish.HiddenUntil = -1;
        links_.Out.CellChanged(cell, now);
    });
}

void TPlayRules::FillBoxByFishes() {
    Guarded("Exception error in TKelGameEngine.FillBoxByFishes!", [&] {
        for (int row = 1; row <= BoardRows; ++row) {
            for (int col = 1; col <= BoardColumns; ++col) {
                const TCell cell{col, row};
                TFish& fish = Fish(cell);
                if (fish.Kind != fkNormal && fish.Kind != fkGhost) continue;
                fish.MergeTime = -1;
                fish.InGroup = false;
                fish.Animate = false;
                fish.Has = {};
                PutNewFishka(fish, RandomFishka());
                links_.Out.CellChanged(cell, 0);
                links_.Out.FreeCellEffect(cell);
                fish.Falling = true;
                fish.JumpBall = false;
                // The whole board starts above the screen, each column 73 pixels higher than
                // the one to its left, so the columns arrive one after another.
                fish.FallY = 73 * (row - 9) + 44 - PictureHalfHeight(cell) - 73 * col;
                fish.FallSpeed = 0;
            }
        }
    });
}

TNewFishka TPlayRules::SmartGenerateFishType(TCell cell) {
    return Guarded("Exception error in TKelGameEngine.SmartGenerateFishType!", [&] {
        const auto& kinds = Level().LevelFishes;
        TIntegers weights(kinds.size() * 3, 10);
        // Pieces a type does not have are never generated.
        for (size_t entry = 0; entry < kinds.size(); ++entry) {
            const int pieces = links_.Types.at(size_t(kinds[entry].Type)).PieceCount;
            for (int piece = pieces + 1; piece <= 3; ++piece)
                weights[entry * 3 + size_t(piece - 1)] = 0;
        }
        const TBoard& board = Board();
        for (int slot = 1; slot <= 6; ++slot) {
            const TCell next = board.Neighbour(cell.Col, cell.Row, slot);
            if (next.IsNone() || Fish(next).RemoveTime != -1 ||
                !board.CellExists(next.Col, next.Row) || !Near(next, cell))
                continue;
            const std::optional<TCompletion> completion = CanComplete(next, cell);
            if (!completion) continue;
            for (size_t entry = 0; entry < kinds.size(); ++entry) {
                if (!(kinds[entry] == TFishSpec{completion->Type, completion->Color})) continue;
                int32_t& weight = weights[entry * 3 + size_t(completion->Piece - 1)];
                if (weight > 0 && weight <= 10) weight = 100;
            }
        }
        int index = WeightedRandomIndex(weights, links_.Random);
        if (index < 0) index = links_.Random.Random(int32_t(weights.size()));
        const TFishSpec& kind = kinds[size_t(index) / 3];
        return TNewFishka{kind.Type, kind.Color, index % 3 + 1};
    });
}

std::optional<TCompletion> TPlayRules::CanComplete(TCell neighbour, TCell generated) const {
    return Guarded(
        "Exception error in TKelGameEngine.CanComplete!", [&]() -> std::optional<TCompletion> {
            const TFish& n = Fish(neighbour);
            const int pieces = PieceCount(n);
            auto count = [](const TFish& fish) { return fish.Has[1] + fish.Has[2] + fish.Has[3]; };
            // The first piece of the type that none of the given cells has.
            auto missing = [&](const TFish* other) -> int {
                for (int i = 1; i <= pieces; ++i)
                    if (!n.Has[size_t(i)] && !(other && other->Has[size_t(i)])) return i;
                return 0;
            };
            const int has = count(n);
            if (has == 2) {
                const int piece = missing(nullptr);
                if (piece == 0) return std::nullopt;
                return TCompletion{piece, n.Type, n.Color};
            }
            if (has != 1) return std::nullopt;
            const TBoard& board = Board();
            auto partnerPiece = [&](TCell other) -> int {
                if (other.IsNone() || !board.CellExists(other.Col, other.Row)) return 0;
                const TFish& m = Fish(other);
                if (m.Type != n.Type || m.Color != n.Color || m.RemoveTime != -1 ||
                    !Near(other, neighbour) || count(m) != 1)
                    return 0;
                for (int i = 1; i <= 3; ++i)
                    if (m.Has[size_t(i)] && n.Has[size_t(i)]) return 0;
                return missing(&m);
            };
            for (int slot = 1; slot <= 6; ++slot)
                if (const int piece =
                        partnerPiece(board.Neighbour(neighbour.Col, neighbour.Row, slot)))
                    return TCompletion{piece, n.Type, n.Color};
            for (int slot = 1; slot <= 6; ++slot) {
                const TCell other = board.Neighbour(generated.Col, generated.Row, slot);
                if (other.Col == neighbour.Col || other.Row == neighbour.Row) continue;
                if (const int piece = partnerPiece(other))
                    return TCompletion{piece, n.Type, n.Color};
            }
            return std::nullopt;
        });
}
