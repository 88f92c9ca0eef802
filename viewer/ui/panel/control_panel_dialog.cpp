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

namespace {

constexpr int kCameraCancel = 2;

}  // namespace

ControlPanelDialog::ControlPanelDialog(ControlPanelHost& host, QWidget* parent)
    : QDialog(parent), host_(host), ui_(std::make_unique<Ui::ControlPanelForm>()) {
    ui_->setupUi(this);
    // Caption without system menu: no close box.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);

    // No button is the default, and none becomes it by having the focus:
    // Enter belongs to the dialog (result 1), not to a button.
    for (QPushButton* button : findChildren<QPushButton*>()) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }

    // A stored colouring the lookup does not know is drawn as normal grey.
    const int lut = host_.Lut();
    ExclusiveButtons(*this, {kNormal, kInverse, kThreshold},
                     lut >= 0 && lut <= 2 ? kNormal + lut : kNormal);
    ExclusiveButtons(*this, {kScale0, kScale1, kScale2, kScale3}, kScale0 + host_.Scale());
    // Clicking the selected button again still closes: the main window then
    // recomputes the lookup or refits the window.
    CloseWithIds(
        *this, {kNormal, kInverse, kThreshold, kScale0, kScale1, kScale2, kScale3, kOptions, kEnd});
    connect(Control<QPushButton>(this, kCameraSettings), &QPushButton::clicked, this,
            &ControlPanelDialog::RunCameraSettings);
    connect(Control<QPushButton>(this, kTrigger), &QPushButton::clicked, this,
            [this] { host_.SoftwareTrigger(); });
    connect(Control<QPushButton>(this, kSaveBitmap), &QPushButton::clicked, this,
            [this] { host_.SaveBitmap(); });

    Control<QLabel>(this, kDownloads)->setText(QString::number(host_.DownloadAttempts()));
}

ControlPanelDialog::~ControlPanelDialog() = default;

void ControlPanelDialog::accept() {
    done(kResultOk);
}

void ControlPanelDialog::reject() {
    done(kResultCancel);
}

void ControlPanelDialog::RunCameraSettings() {
    // Cancel, a port that would not open and OK in trigger mode all give 2:
    // the panel stays for its Trigger button. Anything else closes it with 2,
    // which the main window ignores.
    if (host_.RunCameraSettings() != kCameraCancel) done(kResultCancel);
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
    dialog.setNameFilters(NameFiltersOf(qm::LoadString(qm::IDS_BMP_FILTER)));
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
