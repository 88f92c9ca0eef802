#include "common/ui/colours_dialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QSlider>
#include <QStyleOptionComboBox>
#include <QTest>
#include <climits>
#include <memory>
#include <tuple>
#include <vector>

#include "common/ui/colour_combo_box.h"
#include "platform/qt/controls.h"
#include "testing/qt_test_application.h"

namespace qm71 {
namespace {

[[maybe_unused]] ::testing::Environment* const kQtApplication =
    ::testing::AddGlobalTestEnvironment(new testing::QtTestApplication);

class FakeHost final : public ColoursHost {
  public:
    ColouringSettings& Colouring() override { return settings; }
    void BuildColorTable() override {
        ++builds;
        lastBuilt = settings;
    }
    const std::array<PaletteEntry, 256>& DisplayPalette() const override { return palette; }

    ColouringSettings settings, lastBuilt;
    int builds = 0;
    std::array<PaletteEntry, 256> palette = CreateDisplayPalette();
};

class ColoursDialogTest : public ::testing::Test {
  protected:
    QComboBox* List(QWidget& d, int id) { return Control<QComboBox>(&d, id); }
    QSlider* Slider(QWidget& d, int id) { return Control<QSlider>(&d, id); }
    QLineEdit* Edit(QWidget& d, int id) { return Control<QLineEdit>(&d, id); }
    std::vector<int> Items(QWidget& d) {
        return {List(d, 1027)->currentIndex(), List(d, 1029)->currentIndex(),
                List(d, 1028)->currentIndex()};
    }

    FakeHost host;
};

TEST_F(ColoursDialogTest, OpensWithTheStoredValues) {
    host.settings = {.lut = kNormal, .thresh = 128, .mitte = 10, .bg = 246, .mg = 8, .vg = 255};
    ColoursDialog d(host);
    EXPECT_EQ(d.windowTitle(), "Farben");
    for (int id : {1027, 1028, 1029}) ASSERT_NE(List(d, id), nullptr) << id;
    for (int id : {1000, 1002}) ASSERT_NE(Slider(d, id), nullptr) << id;
    for (int id : {1001, 1003}) ASSERT_NE(Edit(d, id), nullptr) << id;

    ASSERT_EQ(List(d, 1027)->count(), 20);
    EXPECT_EQ(Items(d), (std::vector<int>{10, 8, 19}));
    for (auto [id, value] : {std::pair{1000, 128}, {1002, 10}}) {
        EXPECT_EQ(Slider(d, id)->maximum(), 255);
        EXPECT_EQ(Slider(d, id)->value(), value);
        EXPECT_EQ(Edit(d, id + 1)->text(), QString::number(value));
    }
    // Showing the values recomputes the lookup; nothing is changed by opening.
    EXPECT_GE(host.builds, 1);
    EXPECT_EQ(host.settings.bg, 246);
    EXPECT_EQ(host.settings.thresh, 128);
}

TEST_F(ColoursDialogTest, InvalidStoredColoursShowDefaultsButStayUntilPicked) {
    host.settings = {.lut = kNormal, .thresh = 300, .mitte = 0, .bg = 10, .mg = 300, .vg = -1};
    ColoursDialog d(host);  // bg 10 lies between the two runs of fixed colours
    EXPECT_EQ(Items(d), (std::vector<int>{0, 8, 19}));
    EXPECT_EQ(Slider(d, 1000)->value(), 255);
    EXPECT_EQ(host.settings.bg, 10);
    EXPECT_EQ(host.settings.mg, 300);
    EXPECT_EQ(host.settings.vg, -1);
    EXPECT_EQ(host.settings.thresh, 300);

    List(d, 1027)->setCurrentIndex(3);
    EXPECT_EQ(host.settings.bg, 3);
}

TEST_F(ColoursDialogTest, ChoosingAColourSetsItsBandAndRecomputes) {
    ColoursDialog d(host);
    struct Case {
        int id;
        int ColouringSettings::*band;
        int item;
        int index;
    };
    for (const Case c :
         {Case{1027, &ColouringSettings::bg, 19, 255}, Case{1029, &ColouringSettings::mg, 3, 3},
          Case{1028, &ColouringSettings::vg, 10, 246}, Case{1027, &ColouringSettings::bg, 9, 9}}) {
        const int before = host.builds;
        List(d, c.id)->setCurrentIndex(c.item);
        EXPECT_EQ(host.settings.*c.band, c.index) << "list " << c.id;
        EXPECT_EQ(host.lastBuilt.*c.band, c.index) << "recomputed with the new colour";
        EXPECT_GT(host.builds, before);
    }
    EXPECT_EQ(host.settings.lut, kNormal);
}

TEST_F(ColoursDialogTest, TrackbarAndEditFollowEachOtherAndRecompute) {
    ColoursDialog d(host);
    struct Case {
        const char* text;
        int stored, position;
    };
    for (int id : {1000, 1002}) {
        int& value = id == 1000 ? host.settings.thresh : host.settings.mitte;
        int& built = id == 1000 ? host.lastBuilt.thresh : host.lastBuilt.mitte;
        Slider(d, id)->setValue(200);
        EXPECT_EQ(value, 200);
        EXPECT_EQ(built, 200);
        EXPECT_EQ(Edit(d, id + 1)->text(), "200");
        // Typed values are stored as typed; the trackbar is held to its range
        // and must not write its limited value back.
        for (const Case c : {Case{"300", 300, 255}, Case{"-5", -5, 0}, Case{"77", 77, 77},
                             Case{"abc", 0, 0}, Case{" 42x", 42, 42},
                             Case{"99999999999", INT_MAX, 255}, Case{"-99999999999", INT_MIN, 0}}) {
            Edit(d, id + 1)->setText(c.text);
            EXPECT_EQ(value, c.stored) << c.text;
            EXPECT_EQ(built, c.stored) << c.text;
            EXPECT_EQ(Slider(d, id)->value(), c.position) << c.text;
            EXPECT_EQ(Edit(d, id + 1)->text(), c.text);
        }
    }
}

TEST_F(ColoursDialogTest, CancelRestoresColoursButKeepsThresholdAndWidth) {
    for (bool escape : {false, true}) {
        host.settings = {.lut = kInverse, .thresh = 128, .mitte = 10, .bg = 0, .mg = 8, .vg = 255};
        ColoursDialog d(host);
        d.show();
        for (auto [id, item] : {std::pair{1027, 5}, {1029, 12}, {1028, 13}})
            List(d, id)->setCurrentIndex(item);
        Edit(d, 1001)->setText(escape ? "300" : "60");
        Slider(d, 1002)->setValue(20);
        if (escape)
            QTest::keyClick(&d, Qt::Key_Escape);
        else
            Control<QPushButton>(&d, 2)->click();
        EXPECT_EQ(d.result(), 2);
        const ColouringSettings& s = host.settings;
        EXPECT_EQ(std::tuple(s.bg, s.mg, s.vg, s.thresh, s.mitte, s.lut),
                  std::tuple(0, 8, 255, escape ? 300 : 60, 20, int{kInverse}));
        EXPECT_EQ(std::pair(host.lastBuilt.bg, host.lastBuilt.vg), std::pair(0, 255))
            << "recomputed after restoring";
    }
}

TEST_F(ColoursDialogTest, OkOrEnterKeepsEverythingAndReturnsOne) {
    for (bool enter : {false, true}) {
        ColoursDialog d(host);
        d.show();
        List(d, 1028)->setCurrentIndex(enter ? 13 : 14);
        if (enter)
            QTest::keyClick(&d, Qt::Key_Return);
        else
            Control<QPushButton>(&d, 1)->click();
        EXPECT_EQ(d.result(), 1);
        EXPECT_EQ(host.settings.vg, enter ? 249 : 250);
        EXPECT_EQ(host.settings.lut, kNormal) << "the caller switches the colouring";
    }
}

TEST_F(ColoursDialogTest, SwatchesArePaintedInThePaletteColour) {
    // A palette whose colours differ from the fixed table shows that the
    // swatches come from the host's palette.
    host.palette[249] = {10, 200, 30, kPcNoCollapse};
    host.palette[4] = {0, 0, 128, kPcNoCollapse};
    ColoursDialog d(host);
    QComboBox* list = List(d, 1027);
    QAbstractItemDelegate* delegate = list->itemDelegate();
    for (bool selected : {false, true}) {
        QImage image(60, kColourItemHeight, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        QStyleOptionViewItem option;
        option.rect = image.rect();
        option.palette = list->palette();
        option.state =
            QStyle::State_Enabled | (selected ? QStyle::State_Selected : QStyle::State_None);
        delegate->paint(&painter, option, list->model()->index(13, 0));  // index 249
        painter.end();
        EXPECT_EQ(image.pixelColor(30, kColourItemHeight / 2), QColor(10, 200, 30));
        // The edge is not the swatch colour.
        EXPECT_NE(image.pixelColor(1, kColourItemHeight / 2), QColor(10, 200, 30));
    }

    // The closed list's face shows the selected colour too.
    list->setCurrentIndex(4);
    list->resize(list->sizeHint());
    const QImage face = list->grab().toImage();
    QStyleOptionComboBox opt;
    opt.initFrom(list);
    const QRect field = list->style()->subControlRect(QStyle::CC_ComboBox, &opt,
                                                      QStyle::SC_ComboBoxEditField, list);
    EXPECT_EQ(face.pixelColor(field.center()), QColor(0, 0, 128));
}

}  // namespace
}  // namespace qm71
