// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

namespace korvell {

/// The folder of the running program, where its settings, language files, data-link file and
/// exported pictures live.
class ProgramFolder {
public:
    /// The folder as a path ending in "/".
    static QString path();
    /// path() followed by fileName.
    static QString filePath(const QString& fileName);
    /// Makes path() answer folder instead of the executable's folder; an empty folder undoes it.
    static void setPath(const QString& folder);
};

} // namespace korvell
