// SIGINT and SIGTERM ask the game to close the same orderly way as closing its window. A second
// SIGINT while the game is already closing ends the process at once.
#pragma once

void InstallCloseSignals();
// True once a close signal arrived; the event source turns it into one Close event.
bool TakeCloseSignal();
