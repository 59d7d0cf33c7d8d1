// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QStringList>

namespace korvell {

/**
 * `korvell-cli import`: logs in as the login window does, runs the per-user or per-product import
 * for a user among the logged-in user's licence holders and respondents, and prints the resulting
 * table as CSV. Errors go to standard error in one line; nothing then reaches standard output.
 * The password is read from the environment or a file, never from the command line, and never printed.
 */
class ImportCommand {
public:
    /// arguments: what follows the command name. Gives the exit status.
    static int run(const QStringList& arguments);
};

} // namespace korvell
