// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#include "localisation/ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>

namespace korvell {

namespace {

QString& overridePath() {
    static QString path;
    return path;
}

QString withSlash(QString folder) {
    if (!folder.endsWith(QLatin1Char('/'))) {
        folder += QLatin1Char('/');
    }
    return folder;
}

} // namespace

QString ProgramFolder::path() {
    if (!overridePath().isEmpty()) {
        return overridePath();
    }
    // Without an application object Qt cannot tell where the executable is.
    if (QCoreApplication::instance() == nullptr) {
        return withSlash(QDir::currentPath());
    }
    return withSlash(QCoreApplication::applicationDirPath());
}

QString ProgramFolder::filePath(const QString& fileName) {
    return path() + fileName;
}

void ProgramFolder::setPath(const QString& folder) {
    overridePath() = folder.isEmpty() ? QString() : withSlash(QDir::fromNativeSeparators(folder));
}

} // namespace korvell
