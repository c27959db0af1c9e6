// IScreen: one screen of the game (the title with its windows, the instructions, the play session,
// the level map). A screen changes state only in HandleEvent and Update, and only paints in Draw.
// TScreenStack: the screens shown, the top one taking input and drawing. Relies on the
// platform's events.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/Platform.h"

class IScreen {
  public:
    virtual ~IScreen() = default;
    virtual void Enter() {}
    virtual void Leave() {}
    // The screen's part of the window's input, after the windows had theirs (before them for the
    // keys a screen keeps for itself); true when the screen took the event.
    virtual bool HandleEvent(const TEvent& event) = 0;
    // The pass's changes at the clock value `now`.
    virtual void Update(uint32_t now) = 0;
    // Composes the screen's frame into "MemorySurface".
    virtual void Draw() = 0;
};

class TScreenStack {
  public:
    // The screen goes on top; the one below stays as it was.
    void Push(IScreen& screen);
    // The top screen leaves and the given one takes its place (pushed on an empty stack).
    void Replace(IScreen& screen);
    // The top screen leaves; the one below is on top again.
    void Pop();
    // Leaves every screen, from the top.
    void Clear();
    IScreen* Top() const { return screens_.empty() ? nullptr : screens_.back(); }

  private:
    std::vector<IScreen*> screens_;
};
