#pragma once

// For widget tests: one QApplication for the whole run, made when the tests
// start (not when they are listed), on the offscreen platform unless the
// caller chose another. Including this header registers it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <initializer_list>
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

[[maybe_unused]] inline ::testing::Environment* const kQtApplication =
    ::testing::AddGlobalTestEnvironment(new QtTestApplication);

// Types `keys` into `widget`, one after the other.
inline void Type(QWidget* widget, std::initializer_list<QKeyCombination> keys) {
    for (const QKeyCombination k : keys) QTest::keyClick(widget, k.key(), k.keyboardModifiers());
}

// Runs `act` on the modal dialog of type D that the next step opens.
template <typename D, typename Act>
void OnModal(Act act) {
    QTimer::singleShot(0, [act] {
        auto* d = dynamic_cast<D*>(QApplication::activeModalWidget());
        ASSERT_NE(d, nullptr);
        act(*d);
    });
}

// Two colours or more in what the widget paints: a picture has been drawn.
inline bool ShowsAPicture(QWidget& widget) {
    const QImage image = widget.grab().toImage();
    for (int y = 0; y < image.height(); y += 7)
        for (int x = 0; x < image.width(); x += 7)
            if (image.pixel(x, y) != image.pixel(0, 0)) return true;
    return false;
}

}  // namespace qm71::testing
