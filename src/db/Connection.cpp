// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#include "db/Connection.h"

#include "common/Error.h"
#include "db/Backend.h"
#include "db/DataLinkFile.h"
#include "db/OleDbString.h"
#include "db/SqlText.h"

#include <QAtomicInteger>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlRecord>

namespace korvell {

namespace {

// Short passwords are left alone: masking every "a" of a message would point at the password.
constexpr qsizetype minScrubbedLength = 4;

QString uniqueName() {
    static QAtomicInteger<quint64> counter;
    return QStringLiteral("korvell-connection-%1").arg(counter.fetchAndAddRelaxed(1));
}

} // namespace

Connection::Connection(QObject* parent)
    : QObject(parent)
    , m_name(uniqueName()) {}

Connection::~Connection() {
    release();
}

void Connection::setConnectionString(const QString& connectionString) {
    m_connectionString = connectionString;
}

OleDbString Connection::resolve(const QString& connectionString) {
    OleDbString settings = OleDbString::parse(connectionString);
    if (!settings.contains(QStringLiteral("File Name"))) {
        return settings;
    }
    OleDbString fromFile = OleDbString::parse(DataLinkFile::read(settings.value(QStringLiteral("File Name"))));
    if (fromFile.contains(QStringLiteral("File Name"))) {
        throw Error(QStringLiteral("A data-link file cannot name another data-link file."));
    }
    // Keywords given beside the file name override the file's, as with OLE DB.
    settings.remove(QStringLiteral("File Name"));
    for (const QString& keyword : settings.keywords()) {
        fromFile.set(keyword, settings.value(keyword));
    }
    return fromFile;
}

void Connection::open() {
    close();
    const OleDbString settings = resolve(m_connectionString);
    std::unique_ptr<Backend> backend = Backend::create(settings);
    m_password = settings.value(QStringLiteral("Password"));
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(backend->driverName(), m_name);
        try {
            if (!db.isValid()) {
                throw Error(QStringLiteral("The database driver %1 is not installed.").arg(backend->driverName()));
            }
            backend->configure(db, settings);
            if (!db.open()) {
                throw Error(
                    scrubbed(QStringLiteral("Cannot open the database: %1").arg(backend->errorText(db.lastError()))));
            }
            backend->prepareSession(db);
        } catch (const Error& error) {
            db = QSqlDatabase();
            release();
            throw Error(scrubbed(error.text()));
        }
    }
    m_backend = std::move(backend);
}

void Connection::close() {
    const bool wasOpen = isOpen();
    release();
    if (wasOpen) {
        emit disconnected();
    }
}

void Connection::release() {
    m_backend.reset();
    if (QSqlDatabase::contains(m_name)) {
        QSqlDatabase::database(m_name, false).close();
        QSqlDatabase::removeDatabase(m_name);
    }
}

QString Connection::scrubbed(QString text, const QStringList& hidden) const {
    // A value is hidden in its quoted forms too, which stay unambiguous however short it is.
    for (const QString& value : hidden) {
        text.replace(sqlQuote(value), QStringLiteral("'********'"));
        text.replace(QLatin1Char('"') + value + QLatin1Char('"'), QStringLiteral("\"********\""));
        if (value.size() >= minScrubbedLength) {
            text.replace(value, QStringLiteral("********"));
        }
    }
    if (m_password.size() >= minScrubbedLength) {
        text.replace(m_password, QStringLiteral("********"));
    }
    return text;
}

QSqlQuery Connection::run(const QString& sql, const QVariantMap& parameters, const QStringList& hidden) {
    if (!isOpen()) {
        throw Error(QStringLiteral("The database connection is not open."));
    }
    QSqlDatabase db = QSqlDatabase::database(m_name, false);
    // The driver closes a connection the server dropped, and then gives no error text at all.
    if (!db.isOpen()) {
        throw Error(QStringLiteral("The connection to the database server was lost. Please log in again."));
    }
    Backend::Statement statement = m_backend->translate(db, sql);
    for (auto it = parameters.begin(); it != parameters.end(); ++it) {
        const QString name = it.key().startsWith(QLatin1Char(':')) ? it.key() : QLatin1Char(':') + it.key();
        statement.bindings.insert(name, it.value());
    }
    QSqlQuery query(db);
    query.setForwardOnly(true);
    bool ok = false;
    if (statement.bindings.isEmpty()) {
        ok = query.exec(statement.sql);
    } else {
        ok = query.prepare(statement.sql);
        if (ok) {
            for (auto it = statement.bindings.begin(); it != statement.bindings.end(); ++it) {
                query.bindValue(it.key(), it.value());
            }
            ok = query.exec();
        }
    }
    if (!ok) {
        throw Error(scrubbed(
            QStringLiteral("The database reported an error: %1").arg(m_backend->errorText(query.lastError())), hidden));
    }
    return query;
}

ResultSet Connection::query(const QString& sql, const QVariantMap& parameters) {
    return read(sql, parameters, {});
}

ResultSet Connection::queryCredentials(const QString& userName, const QString& password) {
    return read(credentialQuery(userName, password), {}, {password});
}

ResultSet Connection::read(const QString& sql, const QVariantMap& parameters, const QStringList& hidden) {
    QSqlQuery query = run(sql, parameters, hidden);
    const QSqlRecord record = query.record();
    QStringList columns;
    for (int i = 0; i < record.count(); ++i) {
        columns << record.fieldName(i);
    }
    QList<QVariantList> rows;
    while (query.next()) {
        QVariantList row;
        row.reserve(record.count());
        for (int i = 0; i < record.count(); ++i) {
            row << query.value(i);
        }
        rows << row;
    }
    if (query.lastError().isValid()) {
        throw Error(scrubbed(QStringLiteral("The database reported an error while reading rows: %1")
                                 .arg(m_backend->errorText(query.lastError())),
                             hidden));
    }
    return ResultSet(columns, rows);
}

int Connection::execute(const QString& sql, const QVariantMap& parameters) {
    return run(sql, parameters, {}).numRowsAffected();
}

} // namespace korvell
