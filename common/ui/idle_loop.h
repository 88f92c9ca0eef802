#pragma once

#include <QElapsedTimer>
#include <QTimer>
#include <functional>

#include "common/idle_turn.h"

namespace qm71 {

// The acquisition loop of a Qt front end, run from the idle of the event
// loop: a timer calls `turn` while `canRun` says a turn can bring a picture
// and no modal dialog is open (a dialog's own loop never runs the idle hook).
// After a turn that drew, the next comes as soon as the event queue is empty;
// after one that found nothing, once the rest the turn asked for has passed.
// Otherwise the timer stops, so a paused program sleeps; Update() after every
// event and command starts it again.
class IdleLoop {
  public:
    IdleLoop(std::function<bool()> canRun, std::function<IdleTurn()> turn);

    // Starts counting the time for the rate report and the loop itself.
    void Start();
    // Starts or stops the timer as `canRun` and modal dialogs allow.
    void Update();
    void Stop() { timer_.stop(); }
    bool Running() const { return timer_.isActive(); }
    // Pictures drawn since Start().
    long long Drawn() const { return drawn_; }
    // With QM71_REPORT_FPS set: "<program>: N <what> drawn in S s (R <what>/s)"
    // on standard error, for measuring the whole chain from card to screen.
    void ReportRate(const char* program, const char* what) const;

  private:
    void Turn();

    std::function<bool()> canRun_;
    std::function<IdleTurn()> turn_;
    QTimer timer_;
    QElapsedTimer running_;
    long long drawn_ = 0;
};

}  // namespace qm71
