#pragma once

#include <QWidget>

namespace qm71 {

// Dialog templates give every control its numeric id in the dynamic property
// "controlId". The id of `control`, 0 when it has none.
int ControlIdOf(const QWidget& control);

// The control with that id below `root`, or nullptr.
QWidget* FindControl(const QWidget* root, int id);

template <typename T>
T* Control(const QWidget* root, int id) {
    return qobject_cast<T*>(FindControl(root, id));
}

}  // namespace qm71
