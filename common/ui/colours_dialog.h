#pragma once

#include <QDialog>
#include <memory>

#include "common/ui/colours_host.h"

class QComboBox;
class QLineEdit;
class QSlider;
namespace Ui {
class ColoursDialog;
}

namespace qm71 {

// The "Farben" dialog: colours of the three threshold bands, the threshold and
// the width of the middle band. Every change goes straight into the host's
// settings and recomputes the lookup, so the picture shows it at once.
// Result 1 (OK): the caller switches to threshold colouring. Result 2 (Cancel,
// Escape): the three colours are as they were when the dialog opened; the
// threshold and the width keep what was set.
class ColoursDialog final : public QDialog {
    Q_OBJECT
  public:
    enum ControlId : int {
        kThreshSlider = 1000,
        kThreshEdit = 1001,
        kMitteSlider = 1002,
        kMitteEdit = 1003,
        kBackgroundList = 1027,
        kForegroundList = 1028,
        kMiddleList = 1029,
    };
    static constexpr int kTemplateId = 145;
    static constexpr int kResultOk = 1;
    static constexpr int kResultCancel = 2;

    explicit ColoursDialog(ColoursHost& host, QWidget* parent = nullptr);
    ~ColoursDialog() override;

    // Cancel and Escape.
    void reject() override;

  protected:
    // Centred on the screen, like the control panel.
    void showEvent(QShowEvent* event) override;

  private:
    void ConnectColourList(QComboBox* list, int ColouringSettings::*band);
    void ConnectValue(QLineEdit* edit, QSlider* slider, int ColouringSettings::*value);

    ColoursHost& host_;
    std::unique_ptr<Ui::ColoursDialog> ui_;
    // The colours at opening, for Cancel.
    int savedBg_;
    int savedMg_;
    int savedVg_;
};

// The integer at the start of `text` as the edits read it: optional blanks, an
// optional sign, decimal digits; anything else ends it, and no digits give 0.
// Values beyond the range of int are held at its ends.
int SignedIntegerOfText(const QString& text);

}  // namespace qm71
