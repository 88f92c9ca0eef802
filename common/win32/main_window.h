#pragma once

#include <functional>
#include <string>

#include "common/win32/dib_window.h"
#include "platform/operator.h"

namespace qm71::win32 {

// Creates and shows `window` as QM's or QMDEMO's main window: a bare popup
// with `caption` and a sizing border, no system menu, class icon resource 2.
// `place` gives its rectangle for the screen's width and height; `created`
// runs, with the screen's size, while the window is being created, before its
// first size is reported. It then gets the keyboard focus. False when the
// window system refused; `op` has said so.
bool OpenMainWindow(DibWindow& window, const std::string& caption, Operator& op,
                    const std::function<Rect(int, int)>& place,
                    const std::function<void(int, int)>& created);

}  // namespace qm71::win32
