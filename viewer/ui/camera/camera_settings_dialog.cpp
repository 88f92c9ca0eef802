#include "viewer/ui/camera/camera_settings_dialog.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QPushButton>

#include "platform/qt/controls.h"
#include "ui_camera_settings.h"

namespace qm71 {

namespace {
constexpr int kOkButton = 1;
constexpr int kCancelButton = 2;
constexpr int kResetButton = 3;
constexpr int kSaveButton = 4;
}  // namespace

CameraSettingsDialog::CameraSettingsDialog(CameraPort& port, Operator& op, QWidget* parent)
    : QDialog(parent), model_(port, op), ui_(std::make_unique<Ui::CameraSettingsForm>()) {
    ui_->setupUi(this);
    const auto button = [this](int id) { return Control<QPushButton>(this, id); };
    connect(button(kOkButton), &QPushButton::clicked, this, &CameraSettingsDialog::accept);
    connect(button(kCancelButton), &QPushButton::clicked, this, &CameraSettingsDialog::reject);
    connect(button(kResetButton), &QPushButton::clicked, this, [this] { done(model_.Reset()); });
    connect(button(kSaveButton), &QPushButton::clicked, this,
            [this] { done(model_.Save(Read())); });
}

CameraSettingsDialog::~CameraSettingsDialog() = default;

int CameraSettingsDialog::exec() {
    if (const auto result = model_.Open()) {
        done(*result);
        return *result;
    }
    if (model_.Title()) setWindowTitle(QString::fromLatin1(*model_.Title()));
    Show();
    return QDialog::exec();
}

void CameraSettingsDialog::accept() {
    done(model_.Ok(Read()));
}

void CameraSettingsDialog::reject() {
    done(model_.Cancel());
}

void CameraSettingsDialog::Show() {
    const CameraSettingsModel::Controls& shown = model_.Shown();
    for (std::size_t g = 0; g < shown.checked.size(); ++g) {
        for (const int id : CameraSettingsModel::kGroups[g]) {
            auto* radio = Control<QAbstractButton>(this, id);
            // An automatic radio button refuses to be switched off directly.
            radio->setAutoExclusive(false);
            radio->setChecked(id == shown.checked[g]);
            radio->setAutoExclusive(true);
        }
    }
    for (std::size_t e = 0; e < shown.text.size(); ++e)
        Control<QLineEdit>(this, CameraSettingsModel::kEdits[e])
            ->setText(QString::fromStdString(shown.text[e]));
}

CameraSettingsModel::Controls CameraSettingsDialog::Read() const {
    CameraSettingsModel::Controls c;
    for (std::size_t g = 0; g < c.checked.size(); ++g)
        for (const int id : CameraSettingsModel::kGroups[g])
            if (Control<QAbstractButton>(this, id)->isChecked()) c.checked[g] = id;
    for (std::size_t e = 0; e < c.text.size(); ++e)
        c.text[e] = Control<QLineEdit>(this, CameraSettingsModel::kEdits[e])->text().toStdString();
    return c;
}

}  // namespace qm71
