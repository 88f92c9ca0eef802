#pragma once

#include <QDialog>
#include <memory>

#include "common/colours_dialog_model.h"
#include "resources/common/colours_ids.h"

class QLineEdit;
class QSlider;
namespace Ui {
class ColoursDialog;
}

namespace qm71 {

class ColourComboBox;

// The "Farben" dialog's widgets over ColoursDialogModel: the controls show
// the model and hand every change to it.
class ColoursDialog final : public QDialog {
    Q_OBJECT
  public:
    using enum colours::ControlId;

    explicit ColoursDialog(ColoursHost& host, QWidget* parent = nullptr);
    ~ColoursDialog() override;

    void accept() override;  // OK
    void reject() override;  // Cancel and Escape

  protected:
    // Centred on the screen, like the control panel.
    void showEvent(QShowEvent* event) override;

  private:
    // Sets every control from the model without hearing it as the user.
    void Show();

    ColoursDialogModel model_;
    std::unique_ptr<Ui::ColoursDialog> ui_;
    std::array<ColourComboBox*, 3> lists_{};  // by ColoursDialogModel::Band
    std::array<QLineEdit*, 2> edits_{};       // by ColoursDialogModel::Value
    std::array<QSlider*, 2> sliders_{};
};

}  // namespace qm71
