#include "viewer/ui/panel/control_panel_dialog.h"

#include <QFile>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

#include "platform/qt/closing_buttons.h"
#include "platform/qt/controls.h"
#include "platform/qt/screen_centre.h"
#include "resources/qm/strings.h"
#include "ui_control_panel.h"
#include "viewer/core/bmp_export.h"

namespace qm71 {

ControlPanelDialog::ControlPanelDialog(ControlPanelHost& host, QWidget* parent)
    : QDialog(parent), model_(host), ui_(std::make_unique<Ui::ControlPanelForm>()) {
    ui_->setupUi(this);
    // Caption without system menu: no close box.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);

    // No button is the default, and none becomes it by having the focus:
    // Enter belongs to the dialog (result 1), not to a button.
    for (QPushButton* button : findChildren<QPushButton*>()) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }

    const auto show = [this] {
        const ControlPanel::View& view = model_.Shown();
        ShowChecked(*this, [&view](int id) { return id == view.colouring || id == view.scale; });
        Control<QLabel>(this, kDownloads)->setText(QString::fromStdString(view.downloads));
    };
    show();
    ForwardButtons(
        *this, [this](int id) { return model_.Press(id); }, show);
}

ControlPanelDialog::~ControlPanelDialog() = default;

void ControlPanelDialog::accept() {
    if (const auto result = model_.Press(ControlPanel::kResultOk)) done(*result);
}

void ControlPanelDialog::reject() {
    if (const auto result = model_.Press(ControlPanel::kResultCancel)) done(*result);
}

void ControlPanelDialog::keyPressEvent(QKeyEvent* event) {
    const bool plain = event->modifiers() == Qt::NoModifier ||
                       (event->modifiers() == Qt::KeypadModifier && event->key() == Qt::Key_Enter);
    if (plain && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        accept();
        return;
    }
    QDialog::keyPressEvent(event);  // Escape
}

void ControlPanelDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    CentreOnScreen(*this);
}

QStringList NameFiltersOf(std::string_view filter) {
    const QStringList parts =
        QString::fromUtf8(filter.data(), static_cast<qsizetype>(filter.size())).split(u'|');
    QStringList filters;
    // Pairs of description and patterns; an empty field ends the list.
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString description = parts[i].trimmed();
        if (description.isEmpty()) break;
        const QString patterns =
            parts[i + 1].split(u';', Qt::SkipEmptyParts).replaceInStrings(" ", "").join(u' ');
        if (patterns.isEmpty()) break;
        // The file dialog reads the patterns from the parentheses at the end
        // of the text; a description that already shows them stays as it is.
        const QString shown = "(" + patterns + ")";
        filters << (description.endsWith(shown) ? description : description + " " + shown);
    }
    return filters;
}

std::optional<std::filesystem::path> AskBitmapFileName(QWidget* parent) {
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(NameFiltersOf(qm::ResourceString(qm::IDS_BMP_FILTER)));
    dialog.setDefaultSuffix("bmp");
    // Overwrite confirmation is on unless DontConfirmOverwrite is set; there
    // is no read-only box to hide.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
    dialog.selectFile("*.bmp");
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    const QStringList files = dialog.selectedFiles();
    if (files.isEmpty()) return std::nullopt;
    const QByteArray name = QFile::encodeName(files.front());
    return WithDefaultExtension(std::filesystem::path(name.toStdString()));
}

}  // namespace qm71
