#include "viewer/ui/camera/camera_settings_dialog.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QPushButton>
#include <array>

#include "platform/qt/controls.h"
#include "resources/qm/strings.h"
#include "ui_camera_settings.h"
#include "viewer/camera/camera_reply.h"

namespace qm71 {

namespace {

// Radio groups by control id, in selector order (first button = selector 1).
constexpr std::array<int, 3> kModeButtons{1056, 1057, 1058};
constexpr std::array<int, 3> kShutterButtons{1059, 1060, 1061};
constexpr std::array<int, 3> kTriggerButtons{1063, 1064, 1065};
constexpr std::array<int, 2> kStrobeButtons{1069, 1071};  // 1070 is the black-level edit
constexpr std::array<int, 2> kDefectButtons{1072, 1073};

constexpr int kOkButton = 1;
constexpr int kCancelButton = 2;
constexpr int kResetButton = 3;
constexpr int kSaveButton = 4;
constexpr int kExposureEdit = 1062;
constexpr int kGainEdit = 1066;
constexpr int kBlackFactory = 1067;
constexpr int kBlackUser = 1068;
constexpr int kBlackEdit = 1070;

QString Latin1(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

CameraSettingsDialog::CameraSettingsDialog(CameraPort& port, Operator& op, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::CameraSettingsForm>()), port_(port), op_(op) {
    ui_->setupUi(this);
    templateTitle_ = windowTitle();
    connect(Control<QPushButton>(this, kOkButton), &QPushButton::clicked, this,
            &CameraSettingsDialog::accept);
    connect(Control<QPushButton>(this, kCancelButton), &QPushButton::clicked, this,
            &CameraSettingsDialog::reject);
    connect(Control<QPushButton>(this, kResetButton), &QPushButton::clicked, this,
            &CameraSettingsDialog::Reset);
    connect(Control<QPushButton>(this, kSaveButton), &QPushButton::clicked, this,
            &CameraSettingsDialog::Save);
}

CameraSettingsDialog::~CameraSettingsDialog() {
    port_.CloseCameraPort();
}

int CameraSettingsDialog::exec() {
    if (!InitialiseFromCamera()) return result();
    return QDialog::exec();
}

bool CameraSettingsDialog::InitialiseFromCamera() {
    WaitCursor wait(op_);
    if (!port_.OpenCameraPort()) {
        done(ResultCancel);
        return false;
    }
    const CameraReadout readout = QueryCamera(port_);
    if (port_.Lost()) {
        done(ResultCancel);
        return false;
    }
    setWindowTitle(templateTitle_);
    if (readout.identity) {
        setWindowTitle(Latin1(qm::LoadString(qm::IDS_CAMERA_TITLE)) + Latin1(*readout.identity));
    }
    Show(readout.settings);
    return true;
}

void CameraSettingsDialog::Show(const CameraSettings& s) {
    Select(kShutterButtons, s.shutter);
    Select(kModeButtons, s.mode);
    SetEditValue(kExposureEdit, s.exposure);
    Select(kTriggerButtons, s.triggerPolarity);
    const bool factory = s.blackLevel == BlackLevelFactory;
    Control<QAbstractButton>(this, factory ? kBlackFactory : kBlackUser)->setChecked(true);
    SetEditValue(kBlackEdit, factory ? 0 : s.blackLevel);
    Select(kStrobeButtons, s.strobePolarity);
    Select(kDefectButtons, s.defectConceal);
    SetEditValue(kGainEdit, s.gain);
}

CameraSettings CameraSettingsDialog::Collect() const {
    CameraSettings s;
    s.shutter = SelectedSelector(kShutterButtons);
    s.mode = SelectedSelector(kModeButtons);
    s.exposure = EditValue(kExposureEdit);
    s.triggerPolarity = SelectedSelector(kTriggerButtons);
    s.blackLevel = Control<QAbstractButton>(this, kBlackFactory)->isChecked()
                       ? BlackLevelFactory
                       : EditValue(kBlackEdit);
    s.strobePolarity = SelectedSelector(kStrobeButtons);
    s.defectConceal = SelectedSelector(kDefectButtons);
    s.gain = EditValue(kGainEdit);
    return s;
}

void CameraSettingsDialog::accept() {
    WaitCursor wait(op_);
    done(SendCameraSettings(port_, Collect()));
}

void CameraSettingsDialog::reject() {
    done(ResultCancel);
}

void CameraSettingsDialog::Save() {
    WaitCursor wait(op_);
    SendCameraSettings(port_, Collect());
    port_.SaveToCamera();
    done(port_.Lost() ? ResultCancel : ResultSave);
}

void CameraSettingsDialog::Reset() {
    WaitCursor wait(op_);
    port_.ResetCamera();
    done(port_.Lost() ? ResultCancel : ResultReset);
}

void CameraSettingsDialog::done(int result) {
    // Every way out ends here, so the port is free for others once the dialog is gone.
    port_.CloseCameraPort();
    QDialog::done(result);
}

void CameraSettingsDialog::Select(std::span<const int> group, int selector) {
    for (std::size_t i = 0; i < group.size(); ++i) {
        auto* button = Control<QAbstractButton>(this, group[i]);
        const bool on = static_cast<int>(i) + 1 == selector;
        // An automatic radio button refuses to be switched off directly.
        button->setAutoExclusive(false);
        button->setChecked(on);
        button->setAutoExclusive(true);
    }
}

int CameraSettingsDialog::SelectedSelector(std::span<const int> group) const {
    for (std::size_t i = 0; i < group.size(); ++i) {
        if (Control<QAbstractButton>(this, group[i])->isChecked()) return static_cast<int>(i) + 1;
    }
    return 0;
}

void CameraSettingsDialog::SetEditValue(int id, int value) {
    Control<QLineEdit>(this, id)->setText(QString::number(value));
}

int CameraSettingsDialog::EditValue(int id) const {
    return ParseLeadingInt(Control<QLineEdit>(this, id)->text().toStdString());
}

}  // namespace qm71
