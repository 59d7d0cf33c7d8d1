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
    // Only the map window's close and Cancel on the main window end the run.
    QApplication::setQuitOnLastWindowClosed(false);

    Forms::create(frmLogin);
    Forms::create(FrmImportRes);
    if (!FormKorvell) {
        Forms::create(FormKorvell);
    }
    if (QWidget* main = Forms::mainForm()) {
        main->show();
    }
    return QApplication::exec();
}

} // namespace korvell

int main(int argc, char** argv) {
    return korvell::WebKorvell(argc, argv);
}
