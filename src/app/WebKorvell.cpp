// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#include "ui/Forms.h"
#include "ui/ImportResults.h"
#include "ui/Login.h"
#include "ui/Main.h"

#include <QApplication>

namespace korvell {

int WebKorvell(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Korvell"));
    QApplication::setApplicationDisplayName(QStringLiteral("Korvell"));
    // Only the map window's close and the login window's close end the run.
    QApplication::setQuitOnLastWindowClosed(false);

    // A login accepted during the login window's creation creates the map window there; that
    // window then completes first and becomes the main window.
    Forms::create(frmLogin);
    Forms::create(FrmImportRes);
    if (!FormKorvell) {
        Forms::create(FormKorvell);
    }
    if (QWidget* main = Forms::mainForm()) {
        main->show();
    }
    const int result = QApplication::exec();
    Forms::destroyAll();
    return result;
}

} // namespace korvell

int main(int argc, char** argv) {
    return korvell::WebKorvell(argc, argv);
}
