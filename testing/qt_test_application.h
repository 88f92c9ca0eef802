#pragma once

// For widget tests: one QApplication for the whole run, made when the tests
// start (not when they are listed), on the offscreen platform unless the
// caller chose another. Register it with ::testing::AddGlobalTestEnvironment.
#include <gtest/gtest.h>

#include <QApplication>
#include <memory>

namespace qm71::testing {

class QtTestApplication : public ::testing::Environment {
  public:
    void SetUp() override {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        app_ = std::make_unique<QApplication>(argc_, argv_);
    }
    void TearDown() override { app_.reset(); }

  private:
    int argc_ = 1;
    char name_[8] = "qmtest";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QApplication> app_;
};

}  // namespace qm71::testing
