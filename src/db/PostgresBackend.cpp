// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#include "db/PostgresBackend.h"

#include "common/Error.h"
#include "db/ExecCall.h"
#include "db/OleDbString.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

namespace korvell {

namespace {

constexpr int defaultConnectTimeout = 5;
constexpr int defaultPort = 5432;

} // namespace

QString PostgresBackend::driverName() const {
    return QStringLiteral("QPSQL");
}

void PostgresBackend::configure(QSqlDatabase& db, const OleDbString& settings) const {
    requireKnownKeywords(settings);
    const QStringList source = settings.value(QStringLiteral("Data Source")).split(QLatin1Char(','));
    if (source.size() > 2 || source.first().trimmed().isEmpty()) {
        throw Error(QStringLiteral("The connection string's Data Source must be a host or host,port."));
    }
    int port = defaultPort;
    if (source.size() == 2) {
        bool ok = false;
        port = source.at(1).trimmed().toInt(&ok);
        if (!ok || port < 1 || port > 65535) {
            throw Error(QStringLiteral("The connection string's Data Source has no valid port."));
        }
    }
    db.setHostName(source.first().trimmed());
    db.setPort(port);
    db.setDatabaseName(settings.value(QStringLiteral("Initial Catalog")));
    db.setUserName(settings.value(QStringLiteral("User ID")));
    db.setPassword(settings.value(QStringLiteral("Password")));
    // With standard_conforming_strings off a backslash escapes the next quote, and doubling
    // quotes no longer keeps a value inside its literal. It is set when the session starts, since
    // the driver learns the setting once, when it connects, and escapes bound values by it.
    db.setConnectOptions(QStringLiteral("connect_timeout=%1;options='-c standard_conforming_strings=on'")
                             .arg(connectTimeout(settings, defaultConnectTimeout)));
}

void PostgresBackend::prepareSession(QSqlDatabase& db) const {
    QSqlQuery setting(db);
    if (!setting.exec(QStringLiteral("SHOW standard_conforming_strings")) || !setting.next()) {
        throw Error(QStringLiteral("The database session cannot be checked: %1").arg(errorText(setting.lastError())));
    }
    if (setting.value(0).toString() != QLatin1String("on")) {
        throw Error(QStringLiteral("The database server treats backslashes in texts as escapes "
                                   "(standard_conforming_strings is off); the program cannot work with it safely."));
    }
}

Backend::Statement PostgresBackend::translate(QSqlDatabase&, const QString& sql) const {
    const std::optional<ExecCall> call = ExecCall::parse(sql);
    if (!call) {
        return {sql, {}};
    }
    Statement statement;
    QStringList placeholders;
    for (qsizetype i = 0; i < call->arguments.size(); ++i) {
        const QString name = QStringLiteral(":a%1").arg(i + 1);
        placeholders << name;
        statement.bindings.insert(name, call->arguments.at(i));
    }
    // The name is a plain identifier (ExecCall reads no other), so it cannot carry SQL.
    statement.sql = QStringLiteral("SELECT * FROM %1(%2)").arg(call->procedure, placeholders.join(QLatin1String(", ")));
    return statement;
}

QString PostgresBackend::errorText(const QSqlError& error) const {
    // The server quotes the failing statement after its message ("LINE 1: ..."), and DETAIL
    // lines may repeat values; either can hold a password from a credential query.
    QStringList kept;
    for (const QString& line : error.databaseText().split(QLatin1Char('\n'))) {
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(QLatin1String("LINE ")) || trimmed.startsWith(QLatin1Char('^')) ||
            trimmed.startsWith(QLatin1String("DETAIL:")) || trimmed.startsWith(QLatin1String("QUERY:")) ||
            trimmed.startsWith(QLatin1String("CONTEXT:"))) {
            continue;
        }
        kept << trimmed;
    }
    kept << error.driverText().trimmed();
    kept.removeAll(QString());
    return kept.join(QLatin1Char(' '));
}

} // namespace korvell
