#pragma once

#include <QDialog>
#include <QString>
#include <memory>

namespace Ui {
class InfoDialog;
}

namespace qm71 {

// What the information box says about the program that opens it.
struct ProgramInfo {
    const char* icon;     // Qt resource path of the program icon, e.g. ":/icons/qm.png"
    const char* product;  // the product line, e.g. "QM71 Kamera-Interface"
};

// The "Info" box (template 100): program icon, product name, model family,
// maker, and the version line of this build. OK (id 1) closes it.
class InfoDialog final : public QDialog {
  public:
    static constexpr int kTemplateId = 100;
    static constexpr int kVersionId = 1000;

    explicit InfoDialog(const ProgramInfo& program, QWidget* parent = nullptr);
    ~InfoDialog() override;

    // Escape closes the box with 2, like a cancel button would.
    void reject() override;

    // "Version: " + the programs' version + " (" + build date + " " + build
    // time + ")", e.g. "Version: 1.0 (Mar  7 2025 14:03:59)". The date is the
    // compiler's __DATE__ as it is ("Mmm dd yyyy", a day below 10 padded with
    // a blank) and the time its __TIME__ ("hh:mm:ss").
    static QString VersionText();

  private:
    std::unique_ptr<Ui::InfoDialog> ui_;
};

}  // namespace qm71
