// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

namespace korvell {

/// The current language.
struct TAppConfigVar {
    /// Name of the current language: a key of the settings file's LANG_FILES section.
    QString LangName;
    /// File name of its language file, relative to the program's folder; empty when none was found.
    QString LangFile;
};

} // namespace korvell
