#include "common/ui/info_dialog.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QRegularExpression>

#include "platform/qt/controls.h"
#include "platform/version.h"
#include "resources/qm/program_info.h"
#include "resources/qmdemo/program_info.h"
#include "testing/qt_test_application.h"

namespace qm71 {
namespace {

[[maybe_unused]] ::testing::Environment* const kQtApplication =
    ::testing::AddGlobalTestEnvironment(new testing::QtTestApplication);

// Each program's box shows its own icon and product line, and both the same
// version line: the version, then the build's date and time as the compiler
// writes them ("Mmm dd yyyy hh:mm:ss", a day below 10 padded with a blank).
TEST(InfoDialogTest, ShowsTheProgramAndTheBuild) {
    const QRegularExpression version("^Version: " + QRegularExpression::escape(Version().data()) +
                                     R"( \([A-Z][a-z]{2} [ 1-3]\d \d{4} \d\d:\d\d:\d\d\)$)");
    for (const ProgramInfo program :
         {ProgramInfo{qm::kIcon, qm::kProduct}, ProgramInfo{qmdemo::kIcon, qmdemo::kProduct}}) {
        InfoDialog d(program);
        EXPECT_EQ(d.windowTitle(), "Info");
        ASSERT_FALSE(QImage(program.icon).isNull()) << program.icon;
        EXPECT_TRUE(version.match(Control<QLabel>(&d, InfoDialog::kVersionId)->text()).hasMatch());
        const QList<QLabel*> labels = d.findChildren<QLabel*>();
        EXPECT_TRUE(
            std::ranges::any_of(labels, [&](QLabel* l) { return l->text() == program.product; }));
        EXPECT_TRUE(std::ranges::any_of(labels, [&](QLabel* l) {
            return l->pixmap().toImage() ==
                   QImage(program.icon).convertToFormat(l->pixmap().toImage().format());
        })) << program.icon;
    }
}

}  // namespace
}  // namespace qm71
