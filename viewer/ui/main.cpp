// QM: the area-camera viewer of the QM71 camera interface.
#include <QApplication>

#include "platform/qt/qt_operator.h"
#include "viewer/ui/viewer_program.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("QM"));
    qm71::QtOperator op(QStringLiteral("QM"));
    qm71::ViewerProgram program(op, qm71::SystemClock());
    if (!program.Start()) return 1;
    return QApplication::exec();
}
