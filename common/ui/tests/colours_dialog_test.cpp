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

#include "common/ui/colour_combo_box.h"
#include "platform/qt/controls.h"
#include "platform/qt/test_application.h"

namespace qm71 {
namespace {

[[maybe_unused]] ::testing::Environment* const kQtApplication =
    ::testing::AddGlobalTestEnvironment(new QtTestApplication);

class FakeHost final : public ColoursHost {
  public:
    ColouringSettings& Colouring() override { return settings; }
    void BuildColorTable() override {
        ++builds;
        lastBuilt = settings;
    }
    const std::array<PaletteEntry, 256>& DisplayPalette() const override { return palette; }

    ColouringSettings settings;
    ColouringSettings lastBuilt;
    int builds = 0;
    std::array<PaletteEntry, 256> palette = CreateDisplayPalette();
};

class ColoursDialogTest : public ::testing::Test {
  protected:
    QComboBox* List(QWidget& d, int id) { return Control<QComboBox>(&d, id); }
    QSlider* Slider(QWidget& d, int id) { return Control<QSlider>(&d, id); }
    QLineEdit* Edit(QWidget& d, int id) { return Control<QLineEdit>(&d, id); }

    FakeHost host;
};

TEST_F(ColoursDialogTest, OpensWithTheStoredValues) {
    host.settings = {.lut = kNormal, .thresh = 128, .mitte = 10, .bg = 246, .mg = 8, .vg = 255};
    ColoursDialog d(host);
    EXPECT_EQ(d.windowTitle(), "Farben");
    ASSERT_NE(List(d, 1027), nullptr);
    ASSERT_NE(List(d, 1028), nullptr);
    ASSERT_NE(List(d, 1029), nullptr);
    ASSERT_NE(Slider(d, 1000), nullptr);
    ASSERT_NE(Slider(d, 1002), nullptr);
    ASSERT_NE(Edit(d, 1001), nullptr);
    ASSERT_NE(Edit(d, 1003), nullptr);

    QComboBox* bg = List(d, 1027);
    ASSERT_EQ(bg->count(), 20);
    for (int k = 0; k < 20; ++k) EXPECT_EQ(bg->itemData(k).toInt(), k <= 9 ? k : k + 236);
    EXPECT_EQ(bg->currentIndex(), 10);
    EXPECT_EQ(List(d, 1029)->currentIndex(), 8);
    EXPECT_EQ(List(d, 1028)->currentIndex(), 19);

    for (int id : {1000, 1002}) {
        EXPECT_EQ(Slider(d, id)->minimum(), 0);
        EXPECT_EQ(Slider(d, id)->maximum(), 255);
        EXPECT_EQ(Slider(d, id)->tickInterval(), 16);
        EXPECT_EQ(Slider(d, id)->tickPosition(), QSlider::TicksAbove);
    }
    EXPECT_EQ(Slider(d, 1000)->value(), 128);
    EXPECT_EQ(Slider(d, 1002)->value(), 10);
    EXPECT_EQ(Edit(d, 1001)->text(), "128");
    EXPECT_EQ(Edit(d, 1003)->text(), "10");
    // Showing the values recomputes the lookup; nothing is changed by opening.
    EXPECT_GE(host.builds, 1);
    EXPECT_EQ(host.settings.bg, 246);
    EXPECT_EQ(host.settings.thresh, 128);
}

TEST_F(ColoursDialogTest, InvalidStoredColoursShowDefaultsButStayUntilPicked) {
    host.settings.bg = 10;  // between the two runs of fixed colours
    host.settings.mg = 300;
    host.settings.vg = -1;
    host.settings.thresh = 300;
    ColoursDialog d(host);
    EXPECT_EQ(List(d, 1027)->currentIndex(), 0);
    EXPECT_EQ(List(d, 1029)->currentIndex(), 8);
    EXPECT_EQ(List(d, 1028)->currentIndex(), 19);
    EXPECT_EQ(host.settings.bg, 10);
    EXPECT_EQ(host.settings.mg, 300);
    EXPECT_EQ(host.settings.vg, -1);
    EXPECT_EQ(host.settings.thresh, 300);
    EXPECT_EQ(Slider(d, 1000)->value(), 255);

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

TEST_F(ColoursDialogTest, TrackbarWritesEditAndSetting) {
    ColoursDialog d(host);
    int before = host.builds;
    Slider(d, 1000)->setValue(200);
    EXPECT_EQ(host.settings.thresh, 200);
    EXPECT_EQ(Edit(d, 1001)->text(), "200");
    EXPECT_EQ(host.lastBuilt.thresh, 200);
    EXPECT_GT(host.builds, before);

    before = host.builds;
    Slider(d, 1002)->setValue(0);
    EXPECT_EQ(host.settings.mitte, 0);
    EXPECT_EQ(Edit(d, 1003)->text(), "0");
    EXPECT_GT(host.builds, before);
}

TEST_F(ColoursDialogTest, TypedValuesAreStoredAsTypedAndTrackbarHeldToRange) {
    ColoursDialog d(host);
    struct Case {
        const char* text;
        int stored;
        int position;
    };
    for (int id : {1001, 1003}) {
        const int sliderId = id - 1;
        int& value = id == 1001 ? host.settings.thresh : host.settings.mitte;
        for (const Case c : {Case{"300", 300, 255}, Case{"-5", -5, 0}, Case{"77", 77, 77},
                             Case{"abc", 0, 0}, Case{" 42x", 42, 42},
                             Case{"99999999999", INT_MAX, 255}, Case{"-99999999999", INT_MIN, 0}}) {
            const int before = host.builds;
            Edit(d, id)->setText(c.text);
            EXPECT_EQ(value, c.stored) << c.text;
            EXPECT_EQ(Slider(d, sliderId)->value(), c.position) << c.text;
            // The trackbar following the edit must not write its limited value back.
            EXPECT_EQ(Edit(d, id)->text(), c.text);
            EXPECT_GT(host.builds, before);
        }
    }
}

TEST_F(ColoursDialogTest, CancelRestoresColoursButKeepsThresholdAndWidth) {
    host.settings = {.lut = kInverse, .thresh = 128, .mitte = 10, .bg = 0, .mg = 8, .vg = 255};
    for (bool escape : {false, true}) {
        host.settings.bg = 0;
        host.settings.mg = 8;
        host.settings.vg = 255;
        ColoursDialog d(host);
        d.show();
        List(d, 1027)->setCurrentIndex(5);
        List(d, 1029)->setCurrentIndex(12);
        List(d, 1028)->setCurrentIndex(13);
        Edit(d, 1001)->setText(escape ? "300" : "60");
        Slider(d, 1002)->setValue(20);
        if (escape)
            QTest::keyClick(&d, Qt::Key_Escape);
        else
            Control<QPushButton>(&d, 2)->click();
        EXPECT_EQ(d.result(), 2);
        EXPECT_EQ(host.settings.bg, 0);
        EXPECT_EQ(host.settings.mg, 8);
        EXPECT_EQ(host.settings.vg, 255);
        EXPECT_EQ(host.settings.thresh, escape ? 300 : 60);
        EXPECT_EQ(host.settings.mitte, 20);
        EXPECT_EQ(host.settings.lut, kInverse);
        EXPECT_EQ(host.lastBuilt.bg, 0) << "recomputed after restoring";
        EXPECT_EQ(host.lastBuilt.vg, 255);
    }
}

TEST_F(ColoursDialogTest, OkKeepsEverythingAndReturnsOne) {
    ColoursDialog d(host);
    d.show();
    List(d, 1028)->setCurrentIndex(14);
    Control<QPushButton>(&d, 1)->click();
    EXPECT_EQ(d.result(), 1);
    EXPECT_EQ(host.settings.vg, 250);
    EXPECT_EQ(host.settings.lut, kNormal) << "the caller switches the colouring, not the dialog";

    ColoursDialog enter(host);
    enter.show();
    QTest::keyClick(&enter, Qt::Key_Return);
    EXPECT_EQ(enter.result(), 1);
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
