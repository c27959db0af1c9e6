// TGameScreen: the drawing of the game screen's backgrounds. Each game state's background is
// built once into the surface "Background" when the state changes and restored from there under
// everything that moves: in play the level's back picture with the board's cells, bomb places,
// completion cells and outline, and the finish-bar column; between levels the map with a marker
// on every level done. Relies on the surface store, the play state, the level map's points and
// the redraw grid.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/RedrawGrid.h"
#include "graphics/SurfEngine.h"
#include "rules/Level.h"
#include "rules/PlayState.h"

struct TGameScreenLinks {
    // The game object's surface store, which it creates and replaces itself.
    std::unique_ptr<TSurfEngine>& SurfaceStore;
    const TPlayState& Play;
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

  private:
    void DrawPlayBackground(bool withBoard);
    void DrawMapBackground();
    TGameScreenLinks links_;
};
