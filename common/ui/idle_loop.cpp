#include "common/ui/idle_loop.h"

#include <QApplication>
#include <cstdio>

namespace qm71 {

IdleLoop::IdleLoop(std::function<bool()> canRun, std::function<bool()> turn)
    : canRun_(std::move(canRun)), turn_(std::move(turn)) {
    QObject::connect(&timer_, &QTimer::timeout, [this] { Turn(); });
}

void IdleLoop::Start() {
    running_.start();
    Update();
}

void IdleLoop::Turn() {
    if (!QApplication::activeModalWidget()) {
        const bool drawn = turn_();
        if (drawn) ++drawn_;
        // Nothing yet: let the loop rest a moment instead of spinning a core.
        timer_.setInterval(drawn ? 0 : 1);
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
