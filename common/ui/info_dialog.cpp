#include "common/ui/info_dialog.h"

#include <QLabel>
#include <QPixmap>

#include "platform/qt/controls.h"
#include "platform/version.h"
#include "resources/icons/icons.h"
#include "ui_info.h"

namespace qm71 {

namespace {
// The moment this file was compiled stands for the build.
constexpr char kBuildDate[] = __DATE__;
constexpr char kBuildTime[] = __TIME__;
}  // namespace

QString InfoDialog::VersionText() {
    const std::string_view version = Version();
    return QStringLiteral("Version: ") +
           QLatin1String(version.data(), static_cast<qsizetype>(version.size())) +
           QLatin1String(" (") + QLatin1String(kBuildDate) + u' ' + QLatin1String(kBuildTime) +
           u')';
}

InfoDialog::InfoDialog(const ProgramInfo& program, QWidget* parent) : QDialog(parent) {
    InitIcons();
    ui_ = std::make_unique<Ui::InfoDialog>();
    ui_->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    ui_->iconLabel->setPixmap(QPixmap(QString::fromUtf8(program.icon)));
    ui_->productLabel->setText(QString::fromUtf8(program.product));
    if (auto* version = Control<QLabel>(this, kVersionId)) version->setText(VersionText());
    connect(ui_->okButton, &QAbstractButton::clicked, this, [this] { done(1); });
}

InfoDialog::~InfoDialog() = default;

void InfoDialog::reject() {
    done(2);
}

}  // namespace qm71
