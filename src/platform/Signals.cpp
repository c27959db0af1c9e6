// Close signals: the handler only sets flags; the event source reads them on the main thread.
#include "platform/Signals.h"

#include <unistd.h>

#include <atomic>
#include <csignal>

static std::atomic<int> pendingClose{0};
static std::atomic<int> interrupts{0};

static void OnCloseSignal(int signal) {
    if (signal == SIGINT && interrupts.fetch_add(1) >= 1) _exit(130);
    pendingClose.store(1);
}

void InstallCloseSignals() {
    struct sigaction action {};
    action.sa_handler = OnCloseSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

bool TakeCloseSignal() {
    return pendingClose.exchange(0) != 0;
}
