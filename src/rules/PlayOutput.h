// IPlayOutput: what the moves and the play timers ask of the screen and the sound while they
// change the play state. The rules decide; the game object shows and plays: it chooses cell
// pictures, keeps the effects attached to cells and the pictures flying into them, runs screen
// effects, queues sound events and marks what must be redrawn. Tests answer it with a recorder.
// Relies on the board's cell and geometry types only.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/Geometry.h"
#include "rules/Board.h"

// A screen effect instance the rules start: an effect file at a point of the screen.
struct TScreenEffectOrder {
    std::string Name;  // the instance's name
    std::string File;  // the effect file
    // Made as a copy of the effect the game loaded at start-up instead of from the file.
    bool FromGlobal = false;
    TPoint Position;
    uint32_t Start = 0;
    // Drawn in place of every system's picture (empty: the systems' own pictures).
    std::string Picture;
    // Shown by the first particle system only, with this many frames (empty: its own picture).
    std::string FirstSystemPicture;
    int32_t FirstSystemFrames = 1;
    // Given to the effect's path function "FPath" (empty: none).
    std::string Path;
    int32_t LifetimeMs = -1;   // -1: the effect's own lifetime
    bool ClipToBoard = false;  // drawn inside the play area (5, 30)-(794, 595) only
};

class IPlayOutput {
  public:
    virtual ~IPlayOutput() = default;

    // The cell's contents changed: its picture is chosen again (objects start their effect at
    // `now` when they have none) and its box is marked for redrawing.
    virtual void CellChanged(TCell cell, uint32_t now) = 0;
    // The picture the cell shows and its size (0 x 0 when there is no such picture).
    virtual std::string CellPicture(TCell cell) const = 0;
    virtual TPoint CellPictureSize(TCell cell) const = 0;
    virtual bool PictureExists(const std::string& name) const = 0;
    // The cell's animation starts again from its first frame.
    virtual void ResetCellFrame(TCell cell) = 0;

    // The cell shows the effect file, started at `at`, in place of its first attached effect.
    virtual void StartCellEffect(TCell cell, const std::string& file, uint32_t at) = 0;
    // The cell shows a copy of the global break effect with its own piece strip, started now.
    virtual void StartCellBreakEffect(TCell cell, uint32_t now) = 0;
    // Frees the cell's first attached effect, or both.
    virtual void FreeCellEffect(TCell cell) = 0;
    virtual void FreeCellEffects(TCell cell) = 0;
    // The fishka of `from` moved to `to`: what shows it (picture, frame, flight, attached
    // effects) moves with it; `from` keeps no effect.
    virtual void MoveCell(TCell from, TCell to) = 0;
    // The line's cells moved one step: what showed each cell shows the next one, the last
    // cell's goes to the first.
    virtual void RotateCells(const std::vector<TCell>& line) = 0;
    // The facing of a cobra cell, 1..6, read from its turning effect (1 without one); other
    // values name no direction.
    virtual int CobraDirection(TCell cell) const = 0;

    // The picture of `from` (as it shows now) flies from the centre of `from` into `to`.
    virtual void StartFlight(TCell to, TCell from) = 0;
    // The flight into the cell advances by its share dt of the remaining time towards target.
    virtual void AdvanceFlight(TCell cell, TPoint target, int32_t dt, int32_t remaining) = 0;
    virtual void EndFlight(TCell cell) = 0;

    virtual void StartScreenEffect(const TScreenEffectOrder& order) = 0;
    virtual bool ScreenEffectExists(const std::string& name) const = 0;
    // Removes every screen effect of that name, without calling back.
    virtual void DeleteScreenEffects(const std::string& name) = 0;
    // Queues the sound event to start at tick `at`; -1 plays it at once.
    virtual void PlaySound(const std::string& event, int64_t at) = 0;
    virtual void MarkRedraw(const TRect& rect) = 0;
    // The score changed: the play window's labels show it.
    virtual void ScoreChanged() = 0;
    // The hover preview is worked out again for the mouse's position (the board changed).
    virtual void HoverAgain(uint32_t now) = 0;
    // A completing move took a group of n fishkas: the group bonus shows at tick `at`.
    virtual void GroupBonus(int n, uint32_t at, const std::vector<TCell>& group) = 0;
    // The goal is reached and the board is quiet: the level is won.
    virtual void LevelComplete(uint32_t now) = 0;
};
