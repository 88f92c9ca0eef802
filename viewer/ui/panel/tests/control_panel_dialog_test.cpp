#include "viewer/ui/panel/control_panel_dialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>
#include <vector>

#include "platform/qt/controls.h"
#include "testing/qt_test_application.h"

namespace qm71 {
namespace {

[[maybe_unused]] ::testing::Environment* const kQtApplication =
    ::testing::AddGlobalTestEnvironment(new testing::QtTestApplication);

class FakeHost final : public ControlPanelHost {
  public:
    int lut = 0, scale = 2, downloads = 1, cameraResult = 2;
    std::vector<std::string> calls;

    int Lut() const override { return lut; }
    int Scale() const override { return scale; }
    int DownloadAttempts() const override { return downloads; }
    int RunCameraSettings() override { return calls.push_back("camera"), cameraResult; }
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

    FakeHost host;
};

TEST_F(ControlPanelTest, TemplateHasTheControlsWithTheirCaptionsAndGroups) {
    ControlPanelDialog d(host);
    EXPECT_EQ(d.windowTitle(), "Einstellungen");
    EXPECT_FALSE(d.windowFlags() & (Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint));
    const struct {
        int id;
        const char *caption, *group;
    } controls[] = {{1002, "&Normal", "Farben"},
                    {1003, "&Invers", "Farben"},
                    {1004, "Sch&welle", "Farben"},
                    {1008, "&Optionen", "Farben"},
                    {1030, "* &0.25", "Skalierung"},
                    {1031, "* &0.5", "Skalierung"},
                    {1032, "* &1", "Skalierung"},
                    {1033, "* &2", "Skalierung"},
                    {1055, "Einstellungen", "Kamera"},
                    {1054, "Trigger", "Kamera"},
                    {4, "Save BMP", ""},
                    {1006, "&Programmende", ""}};
    for (const auto& [id, caption, group] : controls) {
        QPushButton* b = Button(d, id);
        ASSERT_NE(b, nullptr);
        auto* box = qobject_cast<QGroupBox*>(b->parentWidget());
        EXPECT_EQ(b->text() + " in " + (box ? box->title() : ""),
                  QString(caption) + " in " + group);
        EXPECT_FALSE(b->isDefault() || b->autoDefault()) << id;
    }
}

TEST_F(ControlPanelTest, CurrentColouringAndScaleArePressedAndDownloadsShown) {
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
        std::vector<int> pressed;
        for (int id : {1002, 1003, 1004, 1008, 1030, 1031, 1032, 1033, 1054, 1055, 4, 1006})
            if (Button(d, id)->isChecked()) pressed.push_back(id);
        EXPECT_EQ(pressed, c.pressed) << "LUT " << c.lut << " SCALE " << c.scale;
    }
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

    ControlPanelDialog d(host);
    QTimer::singleShot(0, &d, [&d] { Control<QPushButton>(&d, 1004)->click(); });
    EXPECT_EQ(d.exec(), 1004) << "a modal run returns the button id";
}

TEST_F(ControlPanelTest, CameraSettingsCloseThePanelUnlessCancelled) {
    // Cancelled (2, or OK in trigger mode): the panel waits for its Trigger button.
    for (int cameraResult : {1, 3, 4, 2}) {
        host.cameraResult = cameraResult;
        auto d = Open();
        Button(*d, 1055)->click();
        EXPECT_EQ(d->result(), cameraResult == 2 ? kNotEnded : 2) << cameraResult;
        EXPECT_EQ(d->isVisible(), cameraResult == 2) << cameraResult;
    }
    EXPECT_EQ(host.calls, std::vector<std::string>(4, "camera"));
}

TEST_F(ControlPanelTest, TriggerAndSaveActWhileThePanelStaysOpen) {
    auto d = Open();
    for (int id : {1054, 1054, 4}) QTest::mouseClick(Button(*d, id), Qt::LeftButton);
    EXPECT_TRUE(d->isVisible());
    EXPECT_EQ(d->result(), kNotEnded);
    EXPECT_EQ(host.calls, (std::vector<std::string>{"trigger", "trigger", "save"}));
}

TEST_F(ControlPanelTest, EnterGivesOneAndEscapeTwoWithoutPressingAButton) {
    // A focused button does not take the key for itself.
    const struct {
        int focus;  // 0: the panel itself
        Qt::Key key;
        Qt::KeyboardModifier modifier;
        int result;
    } cases[] = {{0, Qt::Key_Return, Qt::NoModifier, 1},
                 {1054, Qt::Key_Enter, Qt::KeypadModifier, 1},
                 {1006, Qt::Key_Escape, Qt::NoModifier, 2}};
    for (const auto& c : cases) {
        auto d = Open();
        QWidget* target = c.focus ? static_cast<QWidget*>(Button(*d, c.focus)) : d.get();
        target->setFocus();
        QTest::keyClick(target, c.key, c.modifier);
        EXPECT_EQ(d->result(), c.result) << c.key;
        EXPECT_FALSE(d->isVisible()) << c.key;
    }
    EXPECT_TRUE(host.calls.empty());
}

TEST(NameFiltersTest, StringTableFormBecomesDialogFilters) {
    const std::pair<const char*, QStringList> cases[] = {
        {"Bitmaps (*.bmp)|*.bmp|All files (*.*)|*.* ||", {"Bitmaps (*.bmp)", "All files (*.*)"}},
        // Patterns the description does not show are added; ';' separates patterns.
        {"Bilder|*.bmp;*.dib||Alles|*||", {"Bilder (*.bmp *.dib)"}},
        // A missing end or a description without patterns does not make up a filter.
        {"Bitmaps|*.bmp|Rest", {"Bitmaps (*.bmp)"}},
        {"Leer||Bitmaps|*.bmp||", {}},
        {"Ohne||", {}},
        {"", {}},
    };
    for (const auto& [text, filters] : cases) EXPECT_EQ(NameFiltersOf(text), filters) << text;
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
