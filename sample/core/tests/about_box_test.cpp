#include <gtest/gtest.h>

#include "sample/core/about_box_model.h"

namespace qm71::sample {
namespace {

TEST(AboutBox, OnlyItsOkButtonEndsIt) {
    EXPECT_EQ(AboutBoxModel::Press(1), 1);
    EXPECT_EQ(AboutBoxModel::Press(2), std::nullopt);
}

}  // namespace
}  // namespace qm71::sample
