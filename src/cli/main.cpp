// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#include "cli/CommandLine.h"

#include <QCoreApplication>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("korvell-cli"));
    return korvell::CommandLine::run(QCoreApplication::arguments());
}
