// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QStringList>

namespace korvell {

/**
 * `korvell-cli compute [FILE]`: reads a CSV table of products, loads it into the coordinate table,
 * reloads the matrices, recomputes every derived one, writes the matrices back into the table and
 * prints the table as CSV. On bad input nothing reaches standard output.
 */
class ComputeCommand {
public:
    /// arguments: what follows the command name. Gives the exit status.
    static int run(const QStringList& arguments);
};

} // namespace korvell
