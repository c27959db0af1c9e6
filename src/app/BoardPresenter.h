// TBoardPresenter: shows the rules' board. It chooses the picture of each cell from what the
// cell holds, starts the effects attached to cells and applies the events the rules answer
// (an effect started at a cell, a cell changed) to the board view, marking changed cells for
// redrawing. Relies on the play state, the board view, the archive (effect files), the surface
// store (picture sizes), the piece types, the random source of effects and the run log.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/BoardView.h"
#include "app/Log.h"
#include "app/RedrawGrid.h"
#include "core/Random.h"
#include "graphics/SurfEngine.h"
#include "resources/FileFolder.h"
#include "rules/FishkaTypes.h"
#include "rules/PlayState.h"

struct TBoardPresenterLinks {
    // The game object's archive and surface store, which it opens and replaces itself.
    std::unique_ptr<TFileFolder>& Archive;
    std::unique_ptr<TSurfEngine>& SurfaceStore;
    IRandom& Random;
    TGameLog& Log;
    const TFishkaTypes& Types;
    const TPlayState& Play;
    TBoardView& View;
    TRedrawGrid& Redraw;
};

class TBoardPresenter {
  public:
    explicit TBoardPresenter(TBoardPresenterLinks links) : links_(links) {}

    // Chooses the picture of cell (col, row) and takes its size (0 x 0 when there is no such
    // surface): a scarab's still picture; nothing for a cobra or pyramid, which show their
    // effect instead (started at `now` when the cell has none); for a fishka the picture of its
    // type, pieces and colour, a ghost's ending in "G"; nothing for an empty cell. Objects do not
    // show a jump ball. Errors raise KelException "Exception error in
    // TKelGameEngine.MakeFishSurfName!".
    void NameCellPicture(int col, int row, uint32_t now);
    // The cell shows the effect file started at `at`, in place of its effect; without such an
    // archive entry it shows none and "Can not find file name <file> in GameFolder" is logged.
    void StartCellEffect(TCell cell, const std::string& file, uint32_t at);
    // Applies the rules' events in order; effects the view starts on its own start at `now`.
    void Apply(const TPlayEvents& events, uint32_t now);

  private:
    TBoardPresenterLinks links_;
};
