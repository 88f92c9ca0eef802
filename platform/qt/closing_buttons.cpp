#include "platform/qt/closing_buttons.h"

#include <QAbstractButton>
#include <QDialog>

#include "platform/qt/controls.h"

namespace qm71 {

void ForwardButtons(QDialog& dialog, std::function<std::optional<int>(int id)> press,
                    std::function<void()> show) {
    for (QAbstractButton* button : dialog.findChildren<QAbstractButton*>()) {
        const int id = ControlIdOf(*button);
        if (id == 0) continue;
        QObject::connect(button, &QAbstractButton::clicked, &dialog, [&dialog, id, press, show] {
            const std::optional<int> result = press(id);
            show();
            if (result) dialog.done(*result);
        });
    }
}

void ShowChecked(QDialog& dialog, const std::function<bool(int id)>& checked) {
    for (QAbstractButton* button : dialog.findChildren<QAbstractButton*>()) {
        const int id = ControlIdOf(*button);
        if (id != 0 && button->isCheckable()) button->setChecked(checked(id));
    }
}

}  // namespace qm71
