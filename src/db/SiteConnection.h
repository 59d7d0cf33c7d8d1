// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

namespace korvell {

/// The SQL Server connection string built into the program, used by the login when no
/// data-link file is found. Its values are set when the program is configured.
QString builtInConnectionString();

/// The connection string of the map window's reconnect: the same site, the same form.
QString reconnectConnectionString();

} // namespace korvell
