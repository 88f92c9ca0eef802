#pragma once

#include <QDialog>

namespace qm71::sample {

// The about box's widgets over AboutBoxModel.
class AboutBox final : public QDialog {
  public:
    explicit AboutBox(QWidget* parent = nullptr);

    void reject() override;  // Escape and the window's close button
};

}  // namespace qm71::sample
