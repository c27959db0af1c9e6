// Choosing cell pictures, starting cell effects and applying the rules' events to the view.
#include "app/BoardPresenter.h"

#include <variant>

#include "app/FishPictures.h"
#include "app/ScreenEffects.h"
#include "core/KelException.h"

namespace {

// One handler per event kind; an event kind without a handler does not compile.
template <class... Handlers>
struct TEventHandlers : Handlers... {
    using Handlers::operator()...;
};
template <class... Handlers>
TEventHandlers(Handlers...) -> TEventHandlers<Handlers...>;

}  // namespace

void TBoardPresenter::NameCellPicture(int col, int row, uint32_t now) {
    Guarded("Exception error in TKelGameEngine.MakeFishSurfName!", [&] {
        const TFish& fish = links_.Play.Level.Board.Cell(col, row);
        TCellView& cell = links_.View.Cell(col, row);
        if (fish.Kind >= fkScarab0 && fish.Kind <= fkCoin) {
            const bool scarab = fish.Kind <= fkScarab300;
            cell.SurfName = scarab ? ScarabPictureName(fish.Kind) : "";
            if (cell.EffectFile == JumpBallEffectFile) {
                cell.Effect.reset();
                cell.EffectFile.clear();
            }
            if (!scarab && !cell.Effect)
                StartCellEffect({col, row}, ObjectEffectFile(fish.Kind), now);
        } else if (fish.Type >= 0 && size_t(fish.Type) < links_.Types.size()) {
            const TFishkaType& type = links_.Types[size_t(fish.Type)];
            int mask = 0;
            for (int i = 1; i <= type.PieceCount; ++i)
                if (fish.Has[size_t(i)]) mask += 1 << (i - 1);
            cell.SurfName = FishPictureName(type, mask, fish.Color);
            if (fish.Kind == fkGhost) cell.SurfName.back() = 'G';
        } else {
            cell.SurfName.clear();  // an empty cell shows nothing
        }
        const TPoint size = links_.SurfaceStore->GetSurfaceSize(cell.SurfName);
        cell.PicWidth = size.X;
        cell.PicHeight = size.Y;
    });
}

void TBoardPresenter::StartCellEffect(TCell where, const std::string& file, uint32_t at) {
    TCellView& cell = links_.View.Cell(where.Col, where.Row);
    cell.Effect = LoadEffectEntry(*links_.Archive, file, &links_.Random);
    cell.EffectFile = cell.Effect ? file : "";
    if (!cell.Effect) {
        links_.Log.WriteLog("Can not find file name " + file + " in GameFolder");
        return;
    }
    StartEffect(*cell.Effect, at);
}

void TBoardPresenter::Apply(const TPlayEvents& events, uint32_t now) {
    const TEventHandlers handlers{
        [&](const TCellEffectEvent& event) { StartCellEffect(event.Cell, event.File, event.At); },
        [&](const TCellChangedEvent& event) {
            NameCellPicture(event.Cell.Col, event.Cell.Row, now);
            links_.Redraw.FillRect(CellBox(event.Cell.Col, event.Cell.Row));
        },
    };
    for (const TPlayEvent& event : events) std::visit(handlers, event);
}
