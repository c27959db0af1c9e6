// TPlayRules: the rules of a level in play, on the play state: the player's moves (selection,
// putting the pieces of one fishka inside another, the group a completing move takes with it,
// the hover preview), the two timers of every pass (merges, flights, breaks, removals, collapsing
// columns, falling) and the generation of new fishkas (at random from the level's list, or by
// the smart choice that completes a neighbour). Every rule takes the clock value of the pass
// ("now") from its caller and randomness from the given source, and tells the screen and the
// sound what to show and play through IPlayOutput. Relies on the play state, the piece types,
// the game parameters and the random source.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "core/Random.h"
#include "rules/FishkaTypes.h"
#include "rules/Level.h"
#include "rules/PlayOutput.h"
#include "rules/PlayState.h"

using TGroup = std::vector<TCell>;

// A new fishka's type, colour and its one piece.
struct TNewFishka {
    int32_t Type = 0, Color = 0, Piece = 1;
};

// What would complete a neighbour: the piece, with the neighbour's type and colour.
struct TCompletion {
    int32_t Piece = 0, Type = 0, Color = 0;
};

struct TPlayRulesLinks {
    TPlayState& Play;
    const TFishkaTypes& Types;
    const TGameParams& Params;
    IRandom& Random;
    IPlayOutput& Out;
};

class TPlayRules {
  public:
    explicit TPlayRules(TPlayRulesLinks links) : links_(links) {}

    // --- moves ---
    // A left click on cell (col, row) of the board, once the caller has found the cell and
    // checked that the play window takes it: selects, moves the selection there, or hands an
    // object to its rule. Row 9 and cells off the board are ignored.
    void ClickOnCell(TCell cell, uint32_t now);
    // Space with the keyboard cursor on: selects or moves at the cursor.
    void PressSpaceInGamePlay(uint32_t now);
    // The cell under the mouse or the keyboard cursor changed: the preview of the group the
    // move there would complete. A cell off the board clears the hover state.
    void HoverUpdate(TCell cell, uint32_t now);
    // Moving the selected cell into the hovered cell would complete it.
    bool PutInsideMarkedToOnWillComplete() const;
    // Moves the pieces of src into dest; false when refused.
    bool PutFishInsideFish(TCell dest, TCell src, uint32_t now);
    // Extends group by the cells connected to cell (and to other's neighbours) that look
    // exactly like the group's first cell.
    void CheckSameFishes(TGroup& group, TCell cell, TCell other) const;
    // The bounce of a refused move from the selected cell towards cell.
    void CreateCanNotMoveEffect(TCell selected, TCell cell, uint32_t now);
    // A screen effect carrying picture in a straight line in 300 ms.
    void CreateMoveEffect(const std::string& name, const std::string& templateFile, TPoint from,
                          TPoint to, const std::string& picture, uint32_t now);

    // --- timers ---
    // Ends the hiding of cells whose time has come; under the play window, the Pharaoh's clock.
    void TickGamePlayTimer(uint32_t now, bool playWindowOnTop);
    // Merges, flights, slides, removals, collapses, falls and the checks; dt is the clock
    // difference to the previous pass.
    void TickBoxMovePiecesTimer(uint32_t now, int32_t dt);
    // One step of the falling animation; true when some fishka was falling.
    bool TickFallFishes(int32_t dt);
    void MakeDownFallCow(int col, uint32_t now);

    // --- generation ---
    void MakeNewFallDownFish(TCell cell, uint32_t now);
    void FillBoxByFishes();
    TNewFishka SmartGenerateFishType(TCell cell);
    std::optional<TCompletion> CanComplete(TCell neighbour, TCell generated) const;

    // --- special objects ---
    // A left click on a scarab, cobra or pyramid.
    void ClickOnObject(TCell cell, uint32_t now);
    // Rotates the scarab's line one step forward (a click) or back (a right click).
    void ClickOnScarab(TCell scarab, bool back, uint32_t now);
    // The right button on a cell: a cobra turns, a scarab's line rotates back.
    void RightMouseDownInGamePlay(TCell cell, uint32_t now);
    void ClickOnCobra(TCell cobra, uint32_t now);
    void ClickOnPyramid(TCell pyramid, uint32_t now);
    // The cell takes the colour and type at once; its picture changes when the merge at `time`
    // applies.
    void RetypeCell(TCell cell, int64_t time, uint8_t colour, int32_t type);
    // The cell of a completed fishka with a bonus gem becomes a cobra, pyramid or coin.
    void MakeFishCobra(TCell cell, uint32_t now);
    // A fishka completed on a bomb place breaks its neighbours; their columns join `columns`.
    void BombPoint(TCell cell, std::vector<int>& columns, uint32_t now);
    // The bombs a completed fishka carried fire along their lines.
    void FireBombShots(TCell cell, uint8_t extras, uint32_t now);

    // --- hints and tutorial popups ---
    // Looks for three connected fishkas that could form a complete one; without any, the next
    // ten new fishkas are chosen to complete a neighbour.
    void CheckPossibleMoves();
    // Extends `path` depth first from the cell to a chain of three cells that could complete.
    bool FindHint(TCell cell, std::vector<TCell>& path) const;
    bool CompleteFishka(const std::vector<TCell>& path) const;
    // Whether the player can still merge anything with some input: the keyboard reaches every
    // cell of the shape (the mouse all but the bottom row) and moves to any near cell, a
    // hexagonal neighbour or not; a fishka with a jump ball moves anywhere.
    bool AnyMoveLeft() const;
    // A board without any move left would leave the level unwinnable: once it is quiet after a
    // move (a refused one too, with the mouse or the keyboard), three of its plain fishkas (no
    // bomb, gem or jump ball), at random, are made again by the smart choice and fall in from
    // the top, and the board is looked at again when they land.
    void RenewDeadBoard(uint32_t now);
    // The popup to show now: the level's next one, once 300 ms have passed since the level
    // started and the board is quiet, for the newest level with hints on; none otherwise.
    const TPopupWindow* PopupToShow(uint32_t now) const;
    // A click on the cell the popup on top points at closes it: true then.
    bool PopupScriptRightClick(TCell cell, const std::string& topWindow);

    // --- scoring and the Pharaoh's mood ---
    void AddScore(int32_t points);
    // The once-a-second mood update.
    void TickPharaohTimer(uint32_t now);
    // While the Pharaoh is angry the finish bar drains; true when it went below zero.
    bool DrainBar(uint32_t now, int32_t dt);

  private:
    TFish& Fish(TCell cell) { return links_.Play.Level.Board.Cell(cell.Col, cell.Row); }
    const TFish& Fish(TCell cell) const { return links_.Play.Level.Board.Cell(cell.Col, cell.Row); }
    const TBoard& Board() const { return links_.Play.Level.Board; }
    TGame& Game() { return links_.Play.Game; }
    const TGame& Game() const { return links_.Play.Game; }
    TLevel& Level() { return links_.Play.Level; }
    const TLevel& Level() const { return links_.Play.Level; }
    int PieceCount(const TFish& fish) const;
    bool ColourCompatible(const TFish& a, const TFish& b) const;
    // Whether the pieces of `from` may go inside `to`, both resting: same type, compatible
    // colours, no piece in both, neither an object.
    bool Mergeable(const TFish& from, const TFish& to) const;
    void ScheduleCompletion(TCell dest, TCell src, TGroup& group, uint32_t now);
    void BreakCompleted(TCell cell, uint32_t now);
    void RemoveCell(TCell cell, std::vector<int>& columns, uint32_t now);
    // Type, colour and piece of a new fishka at the cell: smart while counted, else at random.
    TNewFishka NextFishka(TCell cell);
    TNewFishka RandomFishka();
    // Gives a cell a new fishka of one piece (ghost, bomb and gem bits drawn at random).
    void PutNewFishka(TFish& fish, const TNewFishka& made);
    // The cell's fishka is replaced by the next new one, falling, with no pending merge.
    void RenewFishka(TCell cell);
    void GiveJumpBall(TCell cell, uint32_t now);
    int32_t PictureHalfHeight(TCell cell) const;
    bool PinnedOrOutside(TCell cell) const;

    // Breaks a fishka hit by a bomb: its own break effect, removal in 500 ms.
    void BlowUp(TCell cell, uint32_t now);

    TPlayRulesLinks links_;
};
