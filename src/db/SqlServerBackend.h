// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#pragma once

#include "db/Backend.h"

namespace korvell {

/// Provider=SQLOLEDB.1 (and the other SQL Server providers): SQL Server through ODBC and the
/// FreeTDS driver. Statements go to the server as they are.
class SqlServerBackend : public Backend {
public:
    /// Whether provider names one of the SQL Server OLE DB providers.
    static bool isProvider(const QString& provider);
    /// The ODBC connection string for the OLE DB settings. Throws Error for a setting that
    /// cannot work with FreeTDS.
    static QString odbcConnectionString(const OleDbString& settings);
    /// The QODBC connect options: the login timeout that makes an unreachable server fail fast.
    static QString connectOptions(const OleDbString& settings);

    QString driverName() const override;
    void configure(QSqlDatabase& db, const OleDbString& settings) const override;
};

} // namespace korvell
