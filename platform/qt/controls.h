#pragma once

#include <QWidget>

namespace qm71 {

// Dialog templates give every control its numeric id in the dynamic property
// "controlId". Returns the control with that id below `root`, or nullptr.
QWidget* FindControl(const QWidget* root, int id);

template <typename T>
T* Control(const QWidget* root, int id) {
    return qobject_cast<T*>(FindControl(root, id));
}

}  // namespace qm71
