#include "common/ui/idle_loop.h"

#include <QApplication>
#include <chrono>
#include <cstdio>

namespace qm71 {

IdleLoop::IdleLoop(std::function<bool()> canRun, std::function<IdleTurn()> turn)
    : canRun_(std::move(canRun)), turn_(std::move(turn)) {
    QObject::connect(&timer_, &QTimer::timeout, [this] { Turn(); });
}

void IdleLoop::Start() {
    running_.start();
    Update();
}

void IdleLoop::Turn() {
    if (!QApplication::activeModalWidget()) {
        const IdleTurn turn = turn_();
        if (turn.drawn) ++drawn_;
        timer_.setInterval(std::chrono::ceil<std::chrono::milliseconds>(turn.rest));
    }
    Update();
}

void IdleLoop::Update() {
    if (canRun_() && !QApplication::activeModalWidget()) {
        if (!timer_.isActive()) timer_.start(0);
    } else {
        timer_.stop();
    }
}

void IdleLoop::ReportRate(const char* program, const char* what) const {
    if (!qEnvironmentVariableIsSet("QM71_REPORT_FPS") || !running_.isValid()) return;
    const double seconds = static_cast<double>(running_.elapsed()) / 1000.0;
    std::fprintf(stderr, "%s: %lld %s drawn in %.1f s (%.1f %s/s)\n", program, drawn_, what,
                 seconds, seconds > 0 ? static_cast<double>(drawn_) / seconds : 0.0, what);
}

}  // namespace qm71
