#include "common/win32/idle_loop.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>

namespace qm71::win32 {

IdleLoop::IdleLoop(std::function<bool()> canRun, std::function<IdleTurn()> turn)
    : canRun_(std::move(canRun)), turn_(std::move(turn)) {}

int IdleLoop::Run() {
    started_ = std::chrono::steady_clock::now();
    MSG msg;
    for (;;) {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) return static_cast<int>(msg.wParam);
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (!canRun_()) {
            WaitMessage();
            continue;
        }
        const IdleTurn turn = turn_();
        if (turn.drawn) ++drawn_;
        const auto rest = std::chrono::ceil<std::chrono::milliseconds>(turn.rest).count();
        if (rest > 0)
            MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(rest), QS_ALLINPUT,
                                        MWMO_INPUTAVAILABLE);
    }
}

bool PumpMessages(bool input, HWND dialog) {
    const UINT only = input ? 0 : PM_QS_PAINT | PM_QS_POSTMESSAGE | PM_QS_SENDMESSAGE;
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE | only)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return false;
        }
        if (dialog && IsDialogMessageW(dialog, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return true;
}

void IdleLoop::ReportRate(const char* program, const char* what) const {
    if (!std::getenv("QM71_REPORT_FPS") || started_ == std::chrono::steady_clock::time_point{})
        return;
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started_).count();
    std::fprintf(stderr, "%s: %lld %s drawn in %.1f s (%.1f %s/s)\n", program, drawn_, what,
                 seconds, seconds > 0 ? static_cast<double>(drawn_) / seconds : 0.0, what);
}

}  // namespace qm71::win32
