#include "viewer/ui/info/info_dialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <algorithm>

#include "platform/qt/controls.h"
#include "platform/version.h"
#include "testing/qt_test_application.h"

namespace qm71 {
namespace {

[[maybe_unused]] ::testing::Environment* const kQtApplication =
    ::testing::AddGlobalTestEnvironment(new testing::QtTestApplication);

TEST(InfoDialogTest, ShowsVersionIconAndProductAndClosesWithOk) {
    // The version, then "(Mmm dd yyyy hh:mm:ss)"; a day below 10 is padded with a blank.
    const QRegularExpression form(
        "^Version: " + QRegularExpression::escape(QString::fromUtf8(Version())) +
        " \\((Jan|Feb|Mar|Apr|May|Jun|Jul|Aug|Sep|Oct|Nov|Dec) "
        "([ 1-3][0-9]) [0-9]{4} ([01][0-9]|2[0-3]):[0-5][0-9]:[0-5][0-9]\\)$");
    EXPECT_TRUE(form.match(InfoDialog::VersionText()).hasMatch())
        << InfoDialog::VersionText().toStdString();

    InfoDialog d;
    EXPECT_EQ(d.windowTitle(), "Info");
    auto* version = Control<QLabel>(&d, 1000);
    ASSERT_NE(version, nullptr);
    EXPECT_EQ(version->text(), InfoDialog::VersionText());
    const auto labels = d.findChildren<QLabel*>();
    EXPECT_TRUE(std::any_of(labels.begin(), labels.end(), [](QLabel* l) {
        return !l->pixmap().isNull();
    })) << "the program icon comes from the resources";
    EXPECT_TRUE(std::any_of(labels.begin(), labels.end(),
                            [](QLabel* l) { return l->text() == "QM71 Kamera-Interface"; }));

    d.show();
    auto* ok = Control<QPushButton>(&d, 1);
    ASSERT_NE(ok, nullptr);
    ok->click();
    EXPECT_EQ(d.result(), 1);
    EXPECT_FALSE(d.isVisible());
}

}  // namespace
}  // namespace qm71
