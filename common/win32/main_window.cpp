#include "common/win32/main_window.h"

namespace qm71::win32 {

bool OpenMainWindow(DibWindow& window, const std::string& caption, Operator& op,
                    const std::function<Rect(int, int)>& place,
                    const std::function<void(int, int)>& created) {
    constexpr DWORD kStyle = WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_THICKFRAME;
    constexpr int kIcon = 2;
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    const Rect placement = place(screenWidth, screenHeight);
    if (!window.Create({caption, kStyle, kIcon}, placement,
                       [&] { created(screenWidth, screenHeight); })) {
        op.Message("Das Fenster konnte nicht erzeugt werden.", "Fehler");
        return false;
    }
    window.ShowAt(placement);
    return true;
}

}  // namespace qm71::win32
