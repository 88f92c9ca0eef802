#include "linedemo/ui/line_window_widget.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>

#include "linedemo/core/line_demo_app.h"
#include "resources/qmdemo/commands.h"

namespace qm71 {

LineWindowWidget::LineWindowWidget(LineDemoApp& app, Handlers handlers)
    : MainWindowWidget(app.MainWindow(), QStringLiteral("PXA/PXB1"), qmdemo::kLineDemoAccelerators,
                       qmdemo::ID_CONTROL_PANEL, std::move(handlers)),
      app_(app) {}

std::optional<DibPicture> LineWindowWidget::Picture() {
    const std::optional<LinePicture> p = logic_.Picture();
    if (!p) return std::nullopt;
    return DibPicture{p->block, p->sourceWidth, p->sourceHeight};
}

bool LineWindowWidget::LogicCommand(int id) {
    return app_.Command(id);
}

void LineWindowWidget::LogicModalChange(bool blocked) {
    logic_.OnModalChange(blocked);
}

void LineWindowWidget::DrawLive(QPainter& painter) {
    const std::string text = logic_.IdleText();
    if (text.empty()) return;
    // Black on white, the text's top-left corner at the position.
    const QString shown = QString::fromStdString(text);
    const Point at = LineImageWindow::kIdleTextPosition;
    const QRect box = painter.fontMetrics().boundingRect(shown).translated(
        at.x, at.y + painter.fontMetrics().ascent());
    painter.fillRect(box, Qt::white);
    painter.setPen(Qt::black);
    painter.drawText(at.x, at.y + painter.fontMetrics().ascent(), shown);
}

void LineWindowWidget::focusInEvent(QFocusEvent* event) {
    logic_.OnSetFocus();
    // An Alt released while another window had the keys was never heard here.
    if (!(QGuiApplication::queryKeyboardModifiers() & Qt::AltModifier)) logic_.OnSysKeyUp();
    DibWindowWidget::focusInEvent(event);
    StateChanged();
}

void LineWindowWidget::focusOutEvent(QFocusEvent* event) {
    logic_.OnKillFocus();
    DibWindowWidget::focusOutEvent(event);
    StateChanged();
}

void LineWindowWidget::keyPressEvent(QKeyEvent* event) {
    if (event->key() != Qt::Key_Alt) return DibWindowWidget::keyPressEvent(event);
    logic_.OnSysKeyDown();
    StateChanged();
}

void LineWindowWidget::keyReleaseEvent(QKeyEvent* event) {
    if (event->key() != Qt::Key_Alt) return DibWindowWidget::keyReleaseEvent(event);
    logic_.OnSysKeyUp();
    StateChanged();
}

}  // namespace qm71
