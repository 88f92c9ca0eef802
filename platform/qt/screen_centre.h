#pragma once

class QWidget;

namespace qm71 {

// Moves a window that is being shown to the middle of its screen's available
// area, as dialog templates marked "centred" ask, whatever window opened it.
// Call it from showEvent, after the base class has placed the window.
void CentreOnScreen(QWidget& window);

}  // namespace qm71
