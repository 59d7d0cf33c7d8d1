// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#include "db/SqliteBackend.h"

#include "common/Error.h"
#include "db/ExecCall.h"
#include "db/OleDbString.h"
#include "localisation/ProgramFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

namespace korvell {

namespace {

// Data Source; a relative path is relative to the program's folder.
QString databasePath(const OleDbString& settings) {
    const QString source = QDir::fromNativeSeparators(settings.value(QStringLiteral("Data Source")));
    if (source.isEmpty() || QDir::isAbsolutePath(source)) {
        return source;
    }
    return QDir::cleanPath(ProgramFolder::filePath(source));
}

} // namespace

QString SqliteBackend::driverName() const {
    return QStringLiteral("QSQLITE");
}

void SqliteBackend::configure(QSqlDatabase& db, const OleDbString& settings) const {
    requireKnownKeywords(settings);
    const QString path = databasePath(settings);
    if (path.isEmpty()) {
        throw Error(QStringLiteral("The connection string names no database file (Data Source)."));
    }
    // SQLite would create a missing file as an empty database and report success.
    const QFileInfo file(path);
    if (!file.exists()) {
        throw Error(QStringLiteral("The database file \"%1\" does not exist.").arg(path));
    }
    if (!file.isFile()) {
        throw Error(QStringLiteral("\"%1\" is not a database file.").arg(path));
    }
    db.setDatabaseName(path);
}

void SqliteBackend::prepareSession(QSqlDatabase& db) const {
    // SQLite opens any file lazily; the first read tells whether it is a database.
    QSqlQuery probe(db);
    if (!probe.exec(QStringLiteral("SELECT count(*) FROM sqlite_master"))) {
        throw Error(
            QStringLiteral("\"%1\" is not a usable database: %2").arg(db.databaseName(), errorText(probe.lastError())));
    }
}

Backend::Statement SqliteBackend::translate(QSqlDatabase& db, const QString& sql) const {
    const std::optional<ExecCall> call = ExecCall::parse(sql);
    if (!call) {
        return {sql, {}};
    }
    QSqlQuery lookup(db);
    lookup.prepare(QStringLiteral("SELECT params, body FROM procedures WHERE lower(name) = lower(:name)"));
    lookup.bindValue(QStringLiteral(":name"), call->procedure);
    if (!lookup.exec()) {
        throw Error(
            QStringLiteral("The procedures of the database cannot be read: %1").arg(errorText(lookup.lastError())));
    }
    if (!lookup.next()) {
        throw Error(QStringLiteral("The database has no procedure \"%1\".").arg(call->procedure));
    }
    QStringList params = lookup.value(0).toString().split(QLatin1Char(','), Qt::SkipEmptyParts);
    for (QString& param : params) {
        param = param.trimmed();
    }
    if (params.size() != call->arguments.size()) {
        throw Error(QStringLiteral("The procedure \"%1\" takes %2 arguments, not %3.")
                        .arg(call->procedure)
                        .arg(params.size())
                        .arg(call->arguments.size()));
    }
    Statement statement{lookup.value(1).toString(), {}};
    for (qsizetype i = 0; i < params.size(); ++i) {
        statement.bindings.insert(QLatin1Char(':') + params.at(i), call->arguments.at(i));
    }
    return statement;
}

} // namespace korvell
