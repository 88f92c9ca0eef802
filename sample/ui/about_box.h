#pragma once

#include <QDialog>

namespace qm71::sample {

// Dialog 5001: product, model, maker and the program's kind. Only its "Ok"
// button (id 1) ends it; Escape and the window's close button leave it open.
class AboutBox final : public QDialog {
  public:
    explicit AboutBox(QWidget* parent = nullptr);

    void reject() override {}
};

}  // namespace qm71::sample
