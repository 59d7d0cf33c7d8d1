// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#pragma once

#include "db/Backend.h"

namespace korvell {

/// Provider=PostgreSQL: Data Source "host" or "host,port", Initial Catalog, User ID, Password.
/// Procedures are functions of the database returning a table.
class PostgresBackend : public Backend {
public:
    QString driverName() const override;
    void configure(QSqlDatabase& db, const OleDbString& settings) const override;
    void prepareSession(QSqlDatabase& db) const override;
    Statement translate(QSqlDatabase& db, const QString& sql) const override;
    QString errorText(const QSqlError& error) const override;
};

} // namespace korvell
