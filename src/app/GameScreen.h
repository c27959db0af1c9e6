// TGameScreen: the drawing of the game screen. Each game state's background is built once into
// the surface "Background" when the state changes and restored from there under everything that
// moves: in play the level's back picture with the board's cells, bomb places, completion cells
// and outline, and the finish-bar column; between levels the map with a marker on every level
// done. The board is drawn over it on every frame: frames of the previewed group, the cells'
// pictures (still, or the animation strip of the selected and jump-ball cells), the selection,
// the effects attached to cells, sliding scarabs and the pieces flying into their cells. Relies
// on the surface store, the play state, the board view, the piece types, the level map's
// points, the effect drawing and the redraw grid.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/BoardView.h"
#include "app/EffectDrawing.h"
#include "app/GlobalEffects.h"
#include "app/RedrawGrid.h"
#include "graphics/SurfEngine.h"
#include "rules/FishkaTypes.h"
#include "rules/Level.h"
#include "rules/PlayState.h"

struct TGameScreenLinks {
    // The game object's surface store, which it creates and replaces itself.
    std::unique_ptr<TSurfEngine>& SurfaceStore;
    const TPlayState& Play;
    TBoardView& View;
    const TFishkaTypes& Types;
    const TGlobalEffects& Effects;
    const std::vector<TPathPoint>& PathPoints;
    TRedrawGrid& Redraw;
};

class TGameScreen {
  public:
    explicit TGameScreen(TGameScreenLinks links) : links_(links) {}

    // Rebuilds "Background" for the current game state and marks the whole screen.
    void DrawGameStateBackground();
    // Draws the outline of the board's shape onto `surface`: every hexagon edge that does not
    // face another cell of the shape.
    void DrawLevelLines(const std::string& surface);
    // Draws the board onto "MemorySurface" at the canvas's clock; attached effects that have
    // finished are freed.
    void DrawLevelBox(const TEffectCanvas& canvas);
    // The finish bar: its light revealed by the level's progress (tinted red by the angry
    // Pharaoh) with the scarab riding on its top.
    void DrawFinishBar(const TEffectCanvas& canvas);
    // The keyboard cursor, until ten seconds after the last cursor key.
    void DrawArrowCursor(const TEffectCanvas& canvas, TGame& game);
    // The mouse-over highlight of every previewed cell, by the first piece it holds.
    void DrawMouseOverEffects(const TEffectCanvas& canvas);
    // The Pharaoh's face of his mood in the top-left corner (the angry face in play); under the
    // game-over window (`topForm` "WGameOver") his still face "Pharaoh0.png" instead.
    void DrawPharaoh(const TEffectCanvas& canvas, const std::string& topForm);
    // Draws the picture flying into each cell whose merge is still to come.
    void DrawFlyingPieces(const TEffectCanvas& canvas);
    // The animation step of the cells, at most once per 22 ms: the selected cell runs through
    // its strip, jump-ball cells swing; their boxes are marked.
    void AnimateCells(uint32_t now);

  private:
    void DrawPlayBackground(bool withBoard);
    void DrawMapBackground();
    void DrawCell(const TEffectCanvas& canvas, int col, int row);
    // The bomb markers (under the piece) or the bonus-gem marker (over it) of a cell's extras.
    void DrawMarkers(const TEffectCanvas& canvas, uint8_t extras, bool gem, TPoint at);
    void DrawAttachedEffect(const TEffectCanvas& canvas, int col, int row);
    TGameScreenLinks links_;
    uint32_t lastAnimation_ = 0;
    bool animated_ = false;
};
