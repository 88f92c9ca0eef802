#pragma once

#include <QDialog>
#include <memory>

#include "common/info_box.h"

namespace Ui {
class InfoDialog;
}

namespace qm71 {

// The "Info" box's widgets over InfoBox.
class InfoDialog final : public QDialog {
  public:
    explicit InfoDialog(const ProgramInfo& program, QWidget* parent = nullptr);
    ~InfoDialog() override;

    void reject() override;  // Escape

  private:
    std::unique_ptr<Ui::InfoDialog> ui_;
};

}  // namespace qm71
