#include "viewer/ui/panel/control_panel_dialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>
#include <vector>

#include "platform/qt/controls.h"
#include "platform/qt/test_application.h"

namespace qm71 {
namespace {

[[maybe_unused]] ::testing::Environment* const kQtApplication =
    ::testing::AddGlobalTestEnvironment(new QtTestApplication);

class FakeHost final : public ControlPanelHost {
  public:
    int lut = 0;
    int scale = 2;
    int downloads = 1;
    int cameraResult = 2;
    std::vector<std::string> calls;

    int Lut() const override { return lut; }
    int Scale() const override { return scale; }
    int DownloadAttempts() const override { return downloads; }
    int RunCameraSettings() override {
        calls.push_back("camera");
        return cameraResult;
    }
    void SoftwareTrigger() override { calls.push_back("trigger"); }
    void SaveBitmap() override { calls.push_back("save"); }
};

// Results a panel shown without exec() cannot have produced on its own.
constexpr int kNotEnded = -1;

class ControlPanelTest : public ::testing::Test {
  protected:
    // Shown non-modally, so a click returns at once and result() tells how it ended.
    std::unique_ptr<ControlPanelDialog> Open() {
        auto d = std::make_unique<ControlPanelDialog>(host);
        d->setResult(kNotEnded);
        d->show();
        return d;
    }
    static QPushButton* Button(ControlPanelDialog& d, int id) {
        auto* b = Control<QPushButton>(&d, id);
        EXPECT_NE(b, nullptr) << "button " << id;
        return b;
    }
    static std::vector<int> Pressed(ControlPanelDialog& d) {
        std::vector<int> ids;
        for (int id : {1002, 1003, 1004, 1008, 1030, 1031, 1032, 1033, 1054, 1055, 4, 1006})
            if (Button(d, id)->isChecked()) ids.push_back(id);
        return ids;
    }

    FakeHost host;
};

TEST_F(ControlPanelTest, TemplateHasTheControlsWithTheirCaptionsAndGroups) {
    ControlPanelDialog d(host);
    EXPECT_EQ(d.windowTitle(), "Einstellungen");
    EXPECT_FALSE(d.windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(d.windowFlags() & Qt::WindowSystemMenuHint);
    struct Expected {
        int id;
        const char* caption;
        const char* group;
    };
    const Expected controls[] = {
        {1002, "&Normal", "Farben"},       {1003, "&Invers", "Farben"},
        {1004, "Sch&welle", "Farben"},     {1008, "&Optionen", "Farben"},
        {1030, "* &0.25", "Skalierung"},   {1031, "* &0.5", "Skalierung"},
        {1032, "* &1", "Skalierung"},      {1033, "* &2", "Skalierung"},
        {1055, "Einstellungen", "Kamera"}, {1054, "Trigger", "Kamera"},
        {4, "Save BMP", nullptr},          {1006, "&Programmende", nullptr},
    };
    for (const Expected& e : controls) {
        QPushButton* b = Button(d, e.id);
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(b->text(), e.caption);
        EXPECT_FALSE(b->isDefault() || b->autoDefault()) << e.id;
        auto* group = qobject_cast<QGroupBox*>(b->parentWidget());
        if (e.group) {
            ASSERT_NE(group, nullptr) << e.id;
            EXPECT_EQ(group->title(), e.group);
        } else {
            EXPECT_EQ(group, nullptr) << e.id;
        }
    }
    // Only the colouring and scale choices are push-like radio buttons.
    for (int id : {1008, 1055, 1054, 4, 1006}) EXPECT_FALSE(Button(d, id)->isCheckable()) << id;
}

TEST_F(ControlPanelTest, CurrentColouringAndScaleArePressed) {
    const struct {
        int lut, scale;
        std::vector<int> pressed;
    } cases[] = {
        {0, 0, {1002, 1030}},  {1, 1, {1003, 1031}}, {2, 3, {1004, 1033}},
        {2, 2, {1004, 1032}},  {7, 0, {1002, 1030}},  // a colouring it does not know is normal grey
        {-1, 1, {1002, 1031}},
    };
    for (const auto& c : cases) {
        host.lut = c.lut;
        host.scale = c.scale;
        ControlPanelDialog d(host);
        EXPECT_EQ(Pressed(d), c.pressed) << "LUT " << c.lut << " SCALE " << c.scale;
    }
}

TEST_F(ControlPanelTest, DownloadCountIsShownAsSignedDecimal) {
    for (const auto& [count, text] : {std::pair{1, "1"}, {12, "12"}, {-3, "-3"}}) {
        host.downloads = count;
        ControlPanelDialog d(host);
        auto* value = Control<QLabel>(&d, 1064);
        ASSERT_NE(value, nullptr);
        EXPECT_EQ(value->text(), text);
    }
}

TEST_F(ControlPanelTest, ClosingButtonsEndWithTheirOwnId) {
    host.lut = 1;
    host.scale = 2;
    // 1003 and 1032 are the selected ones: pressing them again still closes.
    for (int id : {1002, 1003, 1004, 1008, 1030, 1031, 1032, 1033, 1006}) {
        auto d = Open();
        QTest::mouseClick(Button(*d, id), Qt::LeftButton);
        EXPECT_EQ(d->result(), id);
        EXPECT_FALSE(d->isVisible()) << id;
    }
    EXPECT_TRUE(host.calls.empty());
}

TEST_F(ControlPanelTest, ModalRunReturnsTheButtonId) {
    host.lut = 2;
    ControlPanelDialog d(host);
    QTimer::singleShot(0, &d, [&d] { Control<QPushButton>(&d, 1004)->click(); });
    EXPECT_EQ(d.exec(), 1004);
}

TEST_F(ControlPanelTest, CameraSettingsCloseThePanelUnlessCancelled) {
    for (int cameraResult : {1, 3, 4}) {
        host.cameraResult = cameraResult;
        auto d = Open();
        Button(*d, 1055)->click();
        EXPECT_EQ(d->result(), 2) << "camera dialog ended with " << cameraResult;
        EXPECT_FALSE(d->isVisible());
    }
    EXPECT_EQ(host.calls, (std::vector<std::string>{"camera", "camera", "camera"}));

    // Cancelled (or OK in trigger mode): the panel waits for its Trigger button.
    host.calls.clear();
    host.cameraResult = 2;
    auto d = Open();
    Button(*d, 1055)->click();
    EXPECT_TRUE(d->isVisible());
    EXPECT_EQ(d->result(), kNotEnded);
    Button(*d, 1054)->click();
    EXPECT_EQ(host.calls, (std::vector<std::string>{"camera", "trigger"}));
}

TEST_F(ControlPanelTest, TriggerAndSaveActWhileThePanelStaysOpen) {
    auto d = Open();
    QTest::mouseClick(Button(*d, 1054), Qt::LeftButton);
    QTest::mouseClick(Button(*d, 1054), Qt::LeftButton);
    QTest::mouseClick(Button(*d, 4), Qt::LeftButton);
    EXPECT_TRUE(d->isVisible());
    EXPECT_EQ(d->result(), kNotEnded);
    EXPECT_EQ(host.calls, (std::vector<std::string>{"trigger", "trigger", "save"}));
}

TEST_F(ControlPanelTest, EnterGivesOneAndEscapeTwoWithoutPressingAButton) {
    {
        auto d = Open();
        QTest::keyClick(d.get(), Qt::Key_Return);
        EXPECT_EQ(d->result(), 1);
        EXPECT_FALSE(d->isVisible());
    }
    {
        // A focused button does not take Enter for itself.
        auto d = Open();
        QPushButton* trigger = Button(*d, 1054);
        trigger->setFocus();
        QTest::keyClick(trigger, Qt::Key_Enter, Qt::KeypadModifier);
        EXPECT_EQ(d->result(), 1);
    }
    {
        auto d = Open();
        QPushButton* end = Button(*d, 1006);
        end->setFocus();
        QTest::keyClick(end, Qt::Key_Escape);
        EXPECT_EQ(d->result(), 2);
        EXPECT_FALSE(d->isVisible());
    }
    EXPECT_TRUE(host.calls.empty());
}

TEST(NameFiltersTest, StringTableFormBecomesDialogFilters) {
    EXPECT_EQ(NameFiltersOf("Bitmaps (*.bmp)|*.bmp|All files (*.*)|*.* ||"),
              (QStringList{"Bitmaps (*.bmp)", "All files (*.*)"}));
    // Patterns the description does not show are added; ';' separates patterns.
    EXPECT_EQ(NameFiltersOf("Bilder|*.bmp;*.dib||Alles|*||"),
              (QStringList{"Bilder (*.bmp *.dib)"}));
    // A missing end or a description without patterns does not make up a filter.
    EXPECT_EQ(NameFiltersOf("Bitmaps|*.bmp|Rest"), QStringList{"Bitmaps (*.bmp)"});
    EXPECT_EQ(NameFiltersOf("Leer||Bitmaps|*.bmp||"), QStringList{});
    EXPECT_EQ(NameFiltersOf("Ohne||"), QStringList{});
    EXPECT_TRUE(NameFiltersOf("").isEmpty());
}

// Runs `act` on the file dialog once it is up.
template <typename Act>
void WhenFileDialogShows(Act act) {
    QTimer::singleShot(0, [act] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        act(*dialog);
    });
}

TEST(AskBitmapFileNameTest, SaveDialogSettingsAndTheBmpExtension) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    WhenFileDialogShows([&dir](QFileDialog& d) {
        EXPECT_EQ(d.acceptMode(), QFileDialog::AcceptSave);
        EXPECT_EQ(d.nameFilters(), (QStringList{"Bitmaps (*.bmp)", "All files (*.*)"}));
        EXPECT_EQ(d.defaultSuffix(), "bmp");
        EXPECT_FALSE(d.testOption(QFileDialog::DontConfirmOverwrite));
        auto* name = d.findChild<QLineEdit*>("fileNameEdit");
        ASSERT_NE(name, nullptr);
        EXPECT_EQ(name->text(), "*.bmp");
        d.selectFile(dir.filePath("aufnahme"));
        static_cast<QDialog&>(d).accept();  // public in the base
    });
    const auto chosen = AskBitmapFileName(nullptr);
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(*chosen, std::filesystem::path(dir.filePath("aufnahme.bmp").toStdString()));

    WhenFileDialogShows([](QFileDialog& d) { d.reject(); });
    EXPECT_FALSE(AskBitmapFileName(nullptr).has_value());
}

}  // namespace
}  // namespace qm71
