// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
//
// Input: the bytes of a data-link file. Its connection string goes on through the OLE DB parser
// to the backend that it names, whose driver settings must carry every value unchanged.
#include "FuzzCheck.h"

#include "common/Error.h"
#include "db/Backend.h"
#include "db/DataLinkFile.h"
#include "db/OleDbString.h"
#include "db/PostgresBackend.h"
#include "db/SqlServerBackend.h"
#include "localisation/ProgramFolder.h"

#include <QHash>
#include <QSqlDatabase>
#include <QStringList>

#include <memory>

using korvell::Backend;
using korvell::DataLinkFile;
using korvell::Error;
using korvell::OleDbString;
using korvell::PostgresBackend;
using korvell::SqlServerBackend;
using korvell::fuzz::check;

namespace {

QByteArray utf16DataLinkFile(const QString& connectionString) {
    const QString text = QStringLiteral("[oledb]\r\n; Everything after this line is an OLE DB initstring\r\n") +
                         connectionString + QStringLiteral("\r\n");
    QByteArray bytes("\xFF\xFE");
    for (const QChar c : text) {
        bytes.append(static_cast<char>(c.unicode() & 0xFF));
        bytes.append(static_cast<char>(c.unicode() >> 8));
    }
    return bytes;
}

QString quotedValue(QString value) {
    value.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + value + QLatin1Char('"');
}

// The attributes of an ODBC connection string as the driver manager reads them: a value in
// braces ends at a single "}", "}}" standing for one; otherwise it ends at the next ";".
QList<std::pair<QString, QString>> odbcAttributes(const QString& text) {
    QList<std::pair<QString, QString>> attributes;
    qsizetype pos = 0;
    while (pos < text.size()) {
        const qsizetype equals = text.indexOf(QLatin1Char('='), pos);
        check(equals > pos, "every ODBC attribute has a name and =", text);
        const QString name = text.mid(pos, equals - pos);
        pos = equals + 1;
        QString value;
        if (pos < text.size() && text.at(pos) == QLatin1Char('{')) {
            ++pos;
            for (;;) {
                check(pos < text.size(), "an ODBC value in braces is closed", text);
                if (text.at(pos) == QLatin1Char('}')) {
                    if (pos + 1 < text.size() && text.at(pos + 1) == QLatin1Char('}')) {
                        value += QLatin1Char('}');
                        pos += 2;
                        continue;
                    }
                    ++pos;
                    break;
                }
                value += text.at(pos++);
            }
            check(pos == text.size() || text.at(pos) == QLatin1Char(';'), "an ODBC value in braces ends its attribute",
                  text);
        } else {
            const qsizetype end = text.indexOf(QLatin1Char(';'), pos);
            value = text.mid(pos, (end < 0 ? text.size() : end) - pos);
            pos = end < 0 ? text.size() : end;
        }
        ++pos;
        attributes.append({name, value});
    }
    return attributes;
}

void checkSqlServer(const OleDbString& settings) {
    QString odbc;
    try {
        odbc = SqlServerBackend::odbcConnectionString(settings);
        check(!SqlServerBackend::connectOptions(settings).contains(QLatin1Char(';')),
              "the connect options are one option");
    } catch (const Error&) {
        return;
    }
    QHash<QString, QString> values;
    for (const auto& [name, value] : odbcAttributes(odbc)) {
        check(!values.contains(name), "no ODBC attribute is given twice", odbc);
        values.insert(name, value);
    }
    static const QStringList known = {QStringLiteral("DRIVER"),      QStringLiteral("SERVER"),
                                      QStringLiteral("PORT"),        QStringLiteral("DATABASE"),
                                      QStringLiteral("UID"),         QStringLiteral("PWD"),
                                      QStringLiteral("TDS_Version"), QStringLiteral("ClientCharset")};
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        check(known.contains(it.key()), "the ODBC string has only our attributes", odbc);
    }
    check(values.value(QStringLiteral("UID")) == settings.value(QStringLiteral("User ID")), "the login reaches ODBC");
    check(values.value(QStringLiteral("PWD")) == settings.value(QStringLiteral("Password")),
          "the password reaches ODBC");
    check(values.value(QStringLiteral("DATABASE")) == settings.value(QStringLiteral("Initial Catalog")),
          "the database reaches ODBC");
    check(values.value(QStringLiteral("TDS_Version")) == QLatin1String("7.4"), "the TDS version is ours", odbc);
}

void checkPostgres(const OleDbString& settings) {
    static QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("fuzz-pg"));
    try {
        PostgresBackend().configure(db, settings);
    } catch (const Error&) {
        return;
    }
    check(db.databaseName() == settings.value(QStringLiteral("Initial Catalog")), "the database reaches the driver");
    check(db.userName() == settings.value(QStringLiteral("User ID")), "the login reaches the driver");
    check(db.password() == settings.value(QStringLiteral("Password")), "the password reaches the driver");
    check(!db.hostName().isEmpty() && db.port() >= 1 && db.port() <= 65535, "the server is a host and a port");
}

void checkConnectionString(const QString& text) {
    OleDbString settings;
    try {
        settings = OleDbString::parse(text);
    } catch (const Error&) {
        return;
    }
    QStringList parts;
    const QStringList keywords = settings.keywords();
    for (const QString& keyword : keywords) {
        check(!keyword.isEmpty() && keyword == OleDbString::normalisedKeyword(keyword), "keywords are normalised",
              keyword);
        check(keywords.count(keyword) == 1, "a keyword is kept once", keyword);
        parts << keyword + QLatin1Char('=') + quotedValue(settings.value(keyword));
    }
    const QString written = parts.join(QLatin1Char(';'));
    const OleDbString reread = OleDbString::parse(written);
    check(reread.keywords() == keywords, "a written connection string keeps its keywords", written);
    for (const QString& keyword : keywords) {
        check(reread.value(keyword) == settings.value(keyword), "a written connection string keeps its values",
              written);
    }

    std::unique_ptr<Backend> backend;
    try {
        backend = Backend::create(settings);
    } catch (const Error&) {
        return;
    }
    const QString provider = settings.value(QStringLiteral("Provider"));
    if (SqlServerBackend::isProvider(provider)) {
        checkSqlServer(settings);
    } else if (backend->driverName() == QLatin1String("QPSQL")) {
        checkPostgres(settings);
    } else {
        static QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("fuzz"));
        try {
            backend->configure(db, settings);
        } catch (const Error&) {
            return;
        }
        check(!db.databaseName().isEmpty(), "a database file is named");
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // Relative database files resolve against a folder that never exists.
    korvell::ProgramFolder::setPath(QStringLiteral("/nonexistent/korvell-fuzz"));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes = korvell::fuzz::bytesOf(data, size);
    QString connectionString;
    try {
        connectionString = DataLinkFile::decode(bytes);
    } catch (const Error&) {
        // The text may still be a connection string typed on its own.
        checkConnectionString(QString::fromUtf8(bytes));
        return 0;
    }
    check(!connectionString.isEmpty() && connectionString == connectionString.trimmed() &&
              !connectionString.contains(QLatin1Char('\n')),
          "a data-link file holds one trimmed line", connectionString);
    check(DataLinkFile::decode(utf16DataLinkFile(connectionString)) == connectionString,
          "a connection string survives a data-link file written by Windows", connectionString);
    checkConnectionString(connectionString);
    return 0;
}
