// QM: the area-camera viewer of the QM71 camera interface.
#include <QApplication>

#include "viewer/ui/viewer_program.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("QM"));
    qm71::ViewerProgram program;
    if (!program.Start()) return 1;
    return QApplication::exec();
}
