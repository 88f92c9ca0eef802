#include "platform/qt/closing_buttons.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QDialog>

#include "platform/qt/controls.h"

namespace qm71 {

void CloseWithIds(QDialog& dialog, std::initializer_list<int> ids) {
    for (const int id : ids) {
        if (auto* button = Control<QAbstractButton>(&dialog, id)) {
            QObject::connect(button, &QAbstractButton::clicked, &dialog,
                             [&dialog, id] { dialog.done(id); });
        }
    }
}

QButtonGroup* ExclusiveButtons(QDialog& dialog, std::initializer_list<int> ids, int checked) {
    auto* group = new QButtonGroup(&dialog);
    for (const int id : ids) {
        if (auto* button = Control<QAbstractButton>(&dialog, id)) group->addButton(button, id);
    }
    if (QAbstractButton* button = group->button(checked)) button->setChecked(true);
    return group;
}

}  // namespace qm71
