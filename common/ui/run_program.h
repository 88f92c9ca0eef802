#pragma once

#include <QApplication>
#include <iostream>

#include "platform/clock.h"
#include "platform/command_line.h"
#include "platform/qt/qt_operator.h"

namespace qm71 {

// The whole of a program's main(): --help and --version before QApplication
// (they need no display), then the program, made from the Qt operator and
// the system clock, started and run. `Program::Start()` false: it cannot run,
// the reason has been shown.
template <typename Program>
int RunProgram(const ProgramHelp& help, const char* name, int argc, char* argv[]) {
    const auto commandLine = HandleCommandLine(help, {argv + 1, argv + argc}, std::cout, std::cerr);
    if (!commandLine.run) return commandLine.exitStatus;

    QApplication application(argc, argv);
    const QString title = QString::fromUtf8(name);
    QApplication::setApplicationName(title);
    QtOperator op(title);
    Program program(op, SystemClock());
    if (!program.Start()) return 1;
    return QApplication::exec();
}

}  // namespace qm71
