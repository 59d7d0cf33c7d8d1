// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QVariantList>

#include <optional>

namespace korvell {

/// A T-SQL procedure call "EXEC name 'a','b',...", taken apart for engines that do not speak
/// T-SQL. Arguments are quoted texts (doubled quotes inside, an optional N prefix), numbers or
/// NULL; the blank between the name and the first quote may be missing.
struct ExecCall {
    QString procedure;
    QVariantList arguments;

    /// std::nullopt when statement does not begin with the word EXEC or EXECUTE; otherwise the
    /// call. Throws Error when a statement that begins with that word is not a call we can read.
    static std::optional<ExecCall> parse(const QString& statement);
};

} // namespace korvell
