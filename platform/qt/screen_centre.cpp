#include "platform/qt/screen_centre.h"

#include <QScreen>
#include <QWidget>

namespace qm71 {

void CentreOnScreen(QWidget& window) {
    if (const QScreen* s = window.screen()) {
        QRect frame = window.frameGeometry();
        frame.moveCenter(s->availableGeometry().center());
        window.move(frame.topLeft());
    }
}

}  // namespace qm71
