// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

namespace korvell {

/// s between single quotes with every single quote inside it doubled. Safe on every engine we
/// open, since each of them treats a backslash inside quotes as an ordinary character.
QString sqlQuote(const QString& s);

/// The credential query of the login and of its periodic re-check.
QString credentialQuery(const QString& userName, const QString& password);

} // namespace korvell
