#pragma once

// For widget tests: one QApplication for the whole run, made when the tests
// start (not when they are listed), on the offscreen platform unless the
// caller chose another. Register it with ::testing::AddGlobalTestEnvironment.
#include <gtest/gtest.h>

#include <QApplication>
#include <QWidget>
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

// Two colours or more in what the widget paints: a picture has been drawn.
inline bool ShowsAPicture(QWidget& widget) {
    const QImage image = widget.grab().toImage();
    for (int y = 0; y < image.height(); y += 7)
        for (int x = 0; x < image.width(); x += 7)
            if (image.pixel(x, y) != image.pixel(0, 0)) return true;
    return false;
}

}  // namespace qm71::testing
