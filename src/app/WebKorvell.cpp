// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#include "ui/Forms.h"

#include <QApplication>

namespace korvell {

int WebKorvell(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Korvell"));
    QApplication::setApplicationDisplayName(QStringLiteral("Korvell"));
    // Only the map window's close and the login window's close end the run.
    QApplication::setQuitOnLastWindowClosed(false);

    Forms::start();
    const int result = QApplication::exec();
    Forms::destroyAll();
    return result;
}

} // namespace korvell

int main(int argc, char** argv) {
    return korvell::WebKorvell(argc, argv);
}
