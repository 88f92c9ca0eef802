#include "sample/ui/sample_window.h"

#include <QKeyEvent>
#include <QMenuBar>

#include "platform/qt/accelerators.h"
#include "resources/sample/commands.h"

namespace qm71::sample {

SampleWindow::SampleWindow(SampleApp& app, std::function<void(int)> command)
    : app_(app),
      command_(std::move(command)),
      client_(new DrawingWidget(this, {}, [this] { ReportSize(); })) {
    setWindowTitle(QStringLiteral("QM71"));
    setCentralWidget(client_);
    setFocusPolicy(Qt::StrongFocus);
    BuildMenus();
}

void SampleWindow::BuildMenus() {
    QMenuBar* bar = menuBar();
    const auto item = [this](QMenu* menu, const QString& text, int id) {
        menu->addAction(text, this, [this, id] { command_(id); });
    };
    // The key stands in the item's text after the tab; it is not given to the
    // action as a shortcut as well, which would show it a second time. The
    // keys reach the program logic from keyPressEvent.
    QMenu* grab = bar->addMenu(QStringLiteral("&Grab"));
    for (int id = ID_GRAB_FIRST; id <= ID_GRAB_LAST; ++id)
        item(grab, QString::fromUtf8(FindGrabCommand(id)->menuText), id);
    bar->addAction(QStringLiteral("&Size"), this, [this] { command_(ID_SIZE); });
    QMenu* lut = bar->addMenu(QStringLiteral("&Lut"));
    for (int id = ID_LUT_FIRST; id <= ID_LUT_LAST; ++id)
        item(lut, QString::fromUtf8(kLutMenuTexts[id - ID_LUT_FIRST]), id);
    // "?" stands at the right end of the bar.
    auto* right = new QMenuBar(bar);
    right->addAction(QStringLiteral("?"), this, [this] { command_(ID_ABOUT); });
    bar->setCornerWidget(right, Qt::TopRightCorner);
}

void SampleWindow::ShowAt(const Rect& window) {
    MoveWindow(window);
    show();
    MoveWindow(window);  // again, now that the frame is known
}

void SampleWindow::ReportSize() {
    app_.OnSize({0, 0, client_->width(), client_->height()}, WindowFrameRect(*this));
}

void SampleWindow::moveEvent(QMoveEvent*) {
    ReportSize();
}

void SampleWindow::keyPressEvent(QKeyEvent* event) {
    const KeyPress key = KeyOf(*event);
    if (key.key == 0) return QMainWindow::keyPressEvent(event);
    if (const int left = app_.OnKeyDown(key.key, key.modifiers)) command_(left);
}

}  // namespace qm71::sample
