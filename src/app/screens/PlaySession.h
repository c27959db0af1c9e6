// TPlaySession: a level in play: the board's input (mouse and keyboard cursor, handed to the
// rules with the clock where the last pass left it), the play timers of every pass, the tutorial
// popups, the pause menu and the windows over play, and the end of the level: won (the
// celebration, whose end leaves the level) or lost (the frame frozen under the game-over window)
// when the angry Pharaoh's drain empties the bar. Relies on the game's services.
#pragma once

#include <cstdint>
#include <string>

#include "app/GameServices.h"
#include "app/screens/Screen.h"

class TPlaySession : public IScreen {
  public:
    explicit TPlaySession(TGameServices& services) : s_(services) {}

    void RegisterHandlers();
    bool HandleEvent(const TEvent& event) override;
    void Update(uint32_t now) override;
    void Draw() override;

    // In play, on the board or under a tutorial popup: the arrows, Space and Delete move and use
    // the board's cursor. Under a popup Space acts only on the cell the popup names, and closes
    // the popup, as a click does.
    bool BoardTakesKeys() const;
    // The hover preview worked out again for the mouse's position.
    void BoardMouseMove(uint32_t now);
    // The end of a level: won once the goal is reached on a quiet board.
    void LevelComplete(uint32_t now);

  private:
    bool PlayWindowOnTop() const;
    bool TutorialPopupOnTop() const;
    // The hovered cell is on the board and holds an ordinary piece.
    bool HoverOnPiece() const;
    void BoardMouseDown(const TEvent& event);
    void PlayKeyDown(int key);
    void LeftMouseDownInGamePlayBox(TPoint point);
    void PressSpaceInGamePlay();
    // The play timers of the pass, under the play window.
    void TickPlayTimers(uint32_t now);
    // The level's next tutorial popup, placed beside its cell, once it is due.
    void ShowTutorialPopup(uint32_t now);
    void CreateLevelCompleteEffect(uint32_t now);
    void LoseLevel();
    // One line in "Stat.log" for the level won or lost.
    void SavePlayerStat();
    void DrainFinishBar(uint32_t now);
    // The layers of the board under the Pharaoh, the effects and the windows.
    void DrawBoardLayers();

    TGameServices& s_;
};
