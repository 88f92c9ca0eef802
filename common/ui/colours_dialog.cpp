#include "common/ui/colours_dialog.h"

#include <QPushButton>
#include <QSignalBlocker>
#include <algorithm>
#include <climits>

#include "common/ui/colour_combo_box.h"
#include "platform/qt/screen_centre.h"
#include "ui_colours.h"

namespace qm71 {

namespace {

// The list item that shows a stored colour index. An index that names none of
// the twenty colours shows the band's default colour; the stored value stays
// until the user picks one.
int ItemShowing(int index, int defaultIndex) {
    return ColourItem(IsColourIndex(index) ? index : defaultIndex);
}

int SliderPosition(int value) {
    return std::clamp(value, 0, 255);
}

}  // namespace

int SignedIntegerOfText(const QString& text) {
    const QString t = text.trimmed();
    qsizetype i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == u'-' || t[i] == u'+')) negative = t[i++] == u'-';
    long long value = 0;
    for (; i < t.size() && t[i] >= u'0' && t[i] <= u'9'; ++i) {
        value = value * 10 + (t[i].unicode() - u'0');
        if (value > static_cast<long long>(INT_MAX) + 1) break;  // held below
    }
    if (negative) value = -value;
    return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

ColoursDialog::ColoursDialog(ColoursHost& host, QWidget* parent)
    : QDialog(parent), host_(host), ui_(std::make_unique<Ui::ColoursDialog>()) {
    ui_->setupUi(this);
    // Caption without system menu: no close box.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);

    ColouringSettings& s = host_.Colouring();
    savedBg_ = s.bg;
    savedMg_ = s.mg;
    savedVg_ = s.vg;

    const auto& palette = host_.DisplayPalette();
    ui_->backgroundList->ShowColours(palette);
    ui_->middleList->ShowColours(palette);
    ui_->foregroundList->ShowColours(palette);
    ui_->backgroundList->setCurrentIndex(ItemShowing(s.bg, kDefaultBg));
    ui_->middleList->setCurrentIndex(ItemShowing(s.mg, kDefaultMg));
    ui_->foregroundList->setCurrentIndex(ItemShowing(s.vg, kDefaultVg));
    ConnectColourList(ui_->backgroundList, &ColouringSettings::bg);
    ConnectColourList(ui_->middleList, &ColouringSettings::mg);
    ConnectColourList(ui_->foregroundList, &ColouringSettings::vg);

    for (QSlider* slider : {ui_->threshSlider, ui_->mitteSlider}) {
        slider->setRange(0, 255);
        slider->setTickInterval(16);
        slider->setTickPosition(QSlider::TicksAbove);
    }
    ui_->threshSlider->setValue(SliderPosition(s.thresh));
    ui_->mitteSlider->setValue(SliderPosition(s.mitte));
    ConnectValue(ui_->threshEdit, ui_->threshSlider, &ColouringSettings::thresh);
    ConnectValue(ui_->mitteEdit, ui_->mitteSlider, &ColouringSettings::mitte);
    // Showing the values runs the edits' handlers, which recompute the lookup.
    ui_->threshEdit->setText(QString::number(s.thresh));
    ui_->mitteEdit->setText(QString::number(s.mitte));

    connect(ui_->okButton, &QPushButton::clicked, this, [this] { done(kResultOk); });
    connect(ui_->cancelButton, &QPushButton::clicked, this, &ColoursDialog::reject);
}

ColoursDialog::~ColoursDialog() = default;

void ColoursDialog::ConnectColourList(QComboBox* list, int ColouringSettings::*band) {
    connect(list, &QComboBox::currentIndexChanged, this, [this, band](int item) {
        if (item < 0) return;
        host_.Colouring().*band = ColourIndexOfItem(item);
        host_.BuildColorTable();
    });
}

void ColoursDialog::ConnectValue(QLineEdit* edit, QSlider* slider, int ColouringSettings::*value) {
    // Typed text is stored as typed, even beyond 0..255; the trackbar shows it
    // held to its range. Moving the trackbar there must not come back as a
    // trackbar move, or a typed 300 would turn into 255.
    connect(edit, &QLineEdit::textChanged, this, [this, slider, value](const QString& text) {
        host_.Colouring().*value = SignedIntegerOfText(text);
        {
            const QSignalBlocker quiet(slider);
            slider->setValue(SliderPosition(host_.Colouring().*value));
        }
        slider->update();
        host_.BuildColorTable();
    });
    connect(slider, &QSlider::valueChanged, this, [this, edit, value](int position) {
        host_.Colouring().*value = position;
        edit->setText(QString::number(position));
        host_.BuildColorTable();
    });
}

void ColoursDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    CentreOnScreen(*this);
}

void ColoursDialog::reject() {
    ColouringSettings& s = host_.Colouring();
    s.vg = savedVg_;
    s.mg = savedMg_;
    s.bg = savedBg_;
    host_.BuildColorTable();
    done(kResultCancel);
}

}  // namespace qm71
