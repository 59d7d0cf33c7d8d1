// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#include "db/Backend.h"

#include "common/Error.h"
#include "db/OleDbString.h"
#include "db/PostgresBackend.h"
#include "db/SqlServerBackend.h"
#include "db/SqliteBackend.h"

#include <QSqlError>

namespace korvell {

std::unique_ptr<Backend> Backend::create(const OleDbString& settings) {
    const QString provider = settings.value(QStringLiteral("Provider")).trimmed();
    if (provider.isEmpty()) {
        throw Error(QStringLiteral("The connection string names no provider."));
    }
    if (SqlServerBackend::isProvider(provider)) {
        return std::make_unique<SqlServerBackend>();
    }
    if (provider.compare(QLatin1String("SQLite"), Qt::CaseInsensitive) == 0) {
        return std::make_unique<SqliteBackend>();
    }
    if (provider.compare(QLatin1String("PostgreSQL"), Qt::CaseInsensitive) == 0) {
        return std::make_unique<PostgresBackend>();
    }
    throw Error(QStringLiteral("The provider \"%1\" is not known.").arg(provider));
}

void Backend::prepareSession(QSqlDatabase&) const {}

Backend::Statement Backend::translate(QSqlDatabase&, const QString& sql) const {
    return {sql, {}};
}

QString Backend::errorText(const QSqlError& error) const {
    return error.text().trimmed();
}

void Backend::requireKnownKeywords(const OleDbString& settings, const QStringList& extra) {
    static const QStringList common = {
        QStringLiteral("provider"),        QStringLiteral("data source"), QStringLiteral("initial catalog"),
        QStringLiteral("user id"),         QStringLiteral("password"),    QStringLiteral("persist security info"),
        QStringLiteral("connect timeout"),
    };
    for (const QString& keyword : settings.keywords()) {
        if (!common.contains(keyword) && !extra.contains(keyword)) {
            throw Error(QStringLiteral("The connection string has an unknown keyword \"%1\".").arg(keyword));
        }
    }
}

int Backend::connectTimeout(const OleDbString& settings, int fallback) {
    if (!settings.contains(QStringLiteral("Connect Timeout"))) {
        return fallback;
    }
    bool ok = false;
    const int seconds = settings.value(QStringLiteral("Connect Timeout")).toInt(&ok);
    if (!ok || seconds < 1 || seconds > 600) {
        throw Error(QStringLiteral("The connection string's Connect Timeout must be 1 to 600 seconds."));
    }
    return seconds;
}

} // namespace korvell
