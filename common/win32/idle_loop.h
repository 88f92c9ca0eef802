#pragma once

#include <windows.h>

#include <chrono>
#include <functional>

#include "common/idle_turn.h"

namespace qm71::win32 {

// The message loop of a Win32 program with its acquisition in the idle: while
// the queue is empty and `canRun` says a turn can bring a picture, `turn`
// runs; after a turn that found nothing the loop waits for messages for the
// rest the turn asked for. Otherwise it sleeps in WaitMessage until a message
// comes, so a paused program uses no CPU. A modal dialog runs its own loop,
// which calls no turn, so the picture stands still behind it.
class IdleLoop {
  public:
    IdleLoop(std::function<bool()> canRun, std::function<IdleTurn()> turn);

    // Until WM_QUIT; returns its exit code.
    int Run();
    // Pictures drawn since Run() began.
    long long Drawn() const { return drawn_; }
    // With QM71_REPORT_FPS set: "<program>: N <what> drawn in S s (R <what>/s)"
    // on standard error.
    void ReportRate(const char* program, const char* what) const;

  private:
    std::function<bool()> canRun_;
    std::function<IdleTurn()> turn_;
    std::chrono::steady_clock::time_point started_{};
    long long drawn_ = 0;
};

// Handles the messages waiting in the queue while the program is busy: paints,
// timers and what other programs send or post, and the person's keys and
// clicks only when `input`; `dialog`, when given, gets its keys first. False
// when WM_QUIT came: it is posted again for the loop that ends on it.
bool PumpMessages(bool input, HWND dialog = nullptr);

}  // namespace qm71::win32
