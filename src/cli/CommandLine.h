// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace korvell {

/// Exit statuses of korvell-cli.
enum ExitStatus : int {
    ExitOk = 0,
    ExitFailure = 1,  ///< the work itself failed, or the output could not be written
    ExitBadInput = 2, ///< bad command line or bad input: one line on standard error, nothing on standard output
};

/// korvell-cli: batch work on the coordinate table without a window, one subcommand per task.
class CommandLine {
public:
    /// Runs the subcommand named by arguments[1] (arguments[0] is the program) and gives the exit status.
    static int run(const QStringList& arguments);

    /// Writes text to standard output; false when it could not be written.
    static bool writeOut(const QByteArray& text);
    /// Writes one line "korvell-cli: message" to standard error; line breaks in message become spaces.
    static void writeError(const QString& message);
};

} // namespace korvell
