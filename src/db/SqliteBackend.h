// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#pragma once

#include "db/Backend.h"

namespace korvell {

/// Provider=SQLite: a database file; a relative Data Source is relative to the program's folder.
/// Procedures are rows of the table "procedures" (name, params, body): body is one SELECT
/// whose named placeholders are listed, comma-separated and in call order, in params.
class SqliteBackend : public Backend {
public:
    QString driverName() const override;
    void configure(QSqlDatabase& db, const OleDbString& settings) const override;
    void prepareSession(QSqlDatabase& db) const override;
    Statement translate(QSqlDatabase& db, const QString& sql) const override;
};

} // namespace korvell
