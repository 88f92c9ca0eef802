#include <gtest/gtest.h>

#include <vector>

#include "common/win32/colours_dialog.h"
#include "common/win32/info_dialog.h"
#include "linedemo/win32/line_control_panel_dialog.h"
#include "resources/qmdemo/commands.h"
#include "testing/win32/resources.h"

namespace qm71::win32 {
namespace {

using testing::MissingControls;

TEST(QmdemoResources, TemplatesHoldEveryControlTheDialogsBind) {
    using P = LineControlPanelDialog;
    EXPECT_EQ(MissingControls(P::kTemplate,
                              {P::kOk, P::kEnd, P::kNormal, P::kInverse, P::kThreshold, P::kOptions,
                               P::kScale1To8, P::kScale1To4, P::kScale1To2, P::kScale1To1,
                               P::kScale2To1, P::kScale4To1, P::kImageSize, P::kSoftwareTrigger}),
              std::vector<int>{});
    // The shared templates are there (QM's wiring test checks their controls).
    EXPECT_EQ(MissingControls(ColoursDialog::kTemplate, {IDOK, ColoursDialog::kThreshEdit}),
              std::vector<int>{});
    EXPECT_EQ(MissingControls(InfoDialog::kTemplate, {IDOK, InfoBox::kVersionId}),
              std::vector<int>{});
}

TEST(QmdemoResources, AcceleratorTable130IsTheWindowLogicsAndIconAndVersionAreThere) {
    EXPECT_EQ(testing::LoadedKeyEntries(130), testing::KeyEntries(qmdemo::kLineDemoAccelerators));
    EXPECT_TRUE(testing::HasIconAndVersion(2));
}

}  // namespace
}  // namespace qm71::win32
