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

constexpr int kModeTrigger = 1;

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
    setWindowTitle(templateTitle_);
    if (const auto identity = port_.QueryIdentity()) {
        setWindowTitle(Latin1(qm::LoadString(qm::IDS_CAMERA_TITLE)) + Latin1(*identity));
    }
    Select(kShutterButtons, port_.ExchangeShutter(0));
    Select(kModeButtons, port_.ExchangeMode(0));
    SetEditValue(kExposureEdit, port_.ExchangeExposure(ExposureQuery));
    Select(kTriggerButtons, port_.ExchangeTriggerPolarity(0));
    const int black = port_.ExchangeBlackLevel(BlackLevelQuery);
    if (black == BlackLevelFactory) {
        Control<QAbstractButton>(this, kBlackFactory)->setChecked(true);
        SetEditValue(kBlackEdit, 0);
    } else {
        Control<QAbstractButton>(this, kBlackUser)->setChecked(true);
        SetEditValue(kBlackEdit, black);
    }
    Select(kStrobeButtons, port_.ExchangeStrobePolarity(0));
    Select(kDefectButtons, port_.ExchangeDefectConceal(0));
    SetEditValue(kGainEdit, port_.ExchangeGain(GainQuery));
    return true;
}

int CameraSettingsDialog::SendSettings() {
    if (!port_.IsOpen()) return ResultOk;
    // A group without a selected button (its query could not be sent) is
    // left alone: the camera keeps what it has.
    if (const int s = SelectedSelector(kShutterButtons)) port_.ExchangeShutter(s);
    const int mode = SelectedSelector(kModeButtons);
    if (mode != 0) port_.ExchangeMode(mode);
    port_.ExchangeExposure(EditValue(kExposureEdit));
    if (const int s = SelectedSelector(kTriggerButtons)) port_.ExchangeTriggerPolarity(s);
    if (Control<QAbstractButton>(this, kBlackFactory)->isChecked()) {
        port_.ExchangeBlackLevel(BlackLevelFactory);
    } else {
        port_.ExchangeBlackLevel(EditValue(kBlackEdit));
    }
    if (const int s = SelectedSelector(kStrobeButtons)) port_.ExchangeStrobePolarity(s);
    if (const int s = SelectedSelector(kDefectButtons)) port_.ExchangeDefectConceal(s);
    port_.ExchangeGain(EditValue(kGainEdit));
    // In trigger mode the control panel stays open for its Trigger button.
    return mode == kModeTrigger ? ResultCancel : ResultOk;
}

void CameraSettingsDialog::accept() {
    WaitCursor wait(op_);
    done(SendSettings());
}

void CameraSettingsDialog::reject() {
    done(ResultCancel);
}

void CameraSettingsDialog::Save() {
    WaitCursor wait(op_);
    SendSettings();
    port_.SaveToCamera();
    done(ResultSave);
}

void CameraSettingsDialog::Reset() {
    WaitCursor wait(op_);
    port_.ResetCamera();
    done(ResultReset);
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
