#include "platform/qt/controls.h"

#include <QVariant>

namespace qm71 {

QWidget* FindControl(const QWidget* root, int id) {
    const auto children = root->findChildren<QWidget*>();
    for (QWidget* w : children) {
        const QVariant v = w->property("controlId");
        if (v.isValid() && v.toInt() == id) return w;
    }
    return nullptr;
}

}  // namespace qm71
