#include "platform/qt/controls.h"

#include <QVariant>

namespace qm71 {

int ControlIdOf(const QWidget& control) {
    const QVariant v = control.property("controlId");
    return v.isValid() ? v.toInt() : 0;
}

QWidget* FindControl(const QWidget* root, int id) {
    for (QWidget* w : root->findChildren<QWidget*>())
        if (ControlIdOf(*w) == id) return w;
    return nullptr;
}

}  // namespace qm71
