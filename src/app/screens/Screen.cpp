#include "app/screens/Screen.h"

void TScreenStack::Push(IScreen& screen) {
    screens_.push_back(&screen);
    screen.Enter();
}

void TScreenStack::Replace(IScreen& screen) {
    if (Top() == &screen) return;
    if (!screens_.empty()) {
        screens_.back()->Leave();
        screens_.pop_back();
    }
    Push(screen);
}

void TScreenStack::Pop() {
    if (screens_.empty()) return;
    screens_.back()->Leave();
    screens_.pop_back();
}

void TScreenStack::Clear() {
    while (!screens_.empty()) Pop();
}
