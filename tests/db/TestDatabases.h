// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QAtomicInteger>
#include <QCoreApplication>
#include <QFile>
#include <QHash>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>

namespace korvell {

/// The two engines of the database tests: copies of the demo database the build makes, and
/// databases of the private PostgreSQL cluster that the test run starts (KORVELL_PG_INFO names
/// its details). Tests that change data get a database of their own.
class TestDatabases {
public:
    /// The demo database's partner, the user "demo".
    static QString demoPartnerId() { return QStringLiteral("{F2CFA7E9-A73F-5857-8850-71008B68CBD3}"); }

    static QString sqliteDemoPath() { return QStringLiteral(KORVELL_BIN_DIR "/korvell-demo.db"); }

    /// A copy of the demo database in folder; its connection string.
    static QString sqliteCopy(const QString& folder, const QString& name = QStringLiteral("demo.db")) {
        const QString path = folder + QLatin1Char('/') + name;
        QFile::remove(path);
        if (!QFile::copy(sqliteDemoPath(), path)) {
            qFatal("cannot copy the demo database; is it built?");
        }
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
        return QStringLiteral("Provider=SQLite;Data Source=%1").arg(path);
    }

    /// Whether the cluster runs. Outside ctest (no KORVELL_PG_INFO) it is not expected; under
    /// ctest a missing cluster is an error of the run.
    static bool postgresAvailable() {
        if (qEnvironmentVariableIsEmpty("KORVELL_PG_INFO")) {
            return false;
        }
        if (info().isEmpty()) {
            qFatal("KORVELL_PG_INFO is set but the PostgreSQL test cluster is not running");
        }
        return true;
    }

    static QString postgresHost() { return info().value(QStringLiteral("host")); }
    static int postgresPort() { return info().value(QStringLiteral("port")).toInt(); }
    static QString postgresUser() { return info().value(QStringLiteral("user")); }
    static QString postgresPassword() { return info().value(QStringLiteral("password")); }

    /// The connection string of database on the cluster.
    static QString postgresString(const QString& database) { return postgresString(info(), database); }

    /// The key=value lines of a cluster's info file, as pg-test-cluster.sh writes it; empty when
    /// there is none.
    static QHash<QString, QString> readInfo(const QString& path) {
        QHash<QString, QString> read;
        QFile file(path);
        if (file.open(QIODevice::ReadOnly | QIODevice::Text)) {
            for (const QByteArray& line : file.readAll().split('\n')) {
                const qsizetype equals = line.indexOf('=');
                if (equals > 0) {
                    read.insert(QString::fromUtf8(line.left(equals)), QString::fromUtf8(line.mid(equals + 1)));
                }
            }
        }
        return read;
    }

    /// The connection string of database on the cluster that an info file describes.
    static QString postgresString(const QHash<QString, QString>& cluster, const QString& database) {
        return QStringLiteral("Provider=PostgreSQL;Data Source=%1,%2;Initial Catalog=%3;User ID=%4;Password=%5")
            .arg(cluster.value(QStringLiteral("host")), cluster.value(QStringLiteral("port")), database,
                 cluster.value(QStringLiteral("user")), cluster.value(QStringLiteral("password")));
    }

    /// The shared demo database: for tests that only read.
    static QString postgresDemo() { return postgresString(info().value(QStringLiteral("database"))); }

    /// A new copy of the demo database for this process; drop it with dropPostgres().
    static QString createPostgres(QString* name) {
        static QAtomicInteger<int> counter;
        *name = QStringLiteral("korvell_t_%1_%2")
                    .arg(QCoreApplication::applicationPid())
                    .arg(counter.fetchAndAddRelaxed(1));
        admin(QStringLiteral("CREATE DATABASE %1 TEMPLATE %2").arg(*name, info().value(QStringLiteral("template"))));
        return postgresString(*name);
    }

    static void dropPostgres(const QString& name) {
        admin(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(name));
    }

    /// Runs sql on the cluster's maintenance database, outside the code under test.
    static void admin(const QString& sql, const QString& database = QStringLiteral("postgres")) {
        const QString connection = QStringLiteral("korvell-test-admin");
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), connection);
            db.setHostName(postgresHost());
            db.setPort(postgresPort());
            db.setDatabaseName(database);
            db.setUserName(postgresUser());
            db.setPassword(postgresPassword());
            if (!db.open()) {
                qFatal("cannot reach the PostgreSQL test cluster");
            }
            QSqlQuery query(db);
            if (!query.exec(sql)) {
                qFatal("%s", qPrintable(query.lastError().text()));
            }
        }
        QSqlDatabase::removeDatabase(connection);
    }

private:
    static QHash<QString, QString> info() {
        static const QHash<QString, QString> values = readInfo(qEnvironmentVariable("KORVELL_PG_INFO"));
        return values;
    }
};

} // namespace korvell
