// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#pragma once

#include "../db/TestDatabases.h"
#include "localisation/Appvars.h"
#include "localisation/ProgramFolder.h"
#include "ui/Dialogs.h"
#include "ui/Forms.h"
#include "ui/Login.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

namespace korvell::test {

/// What the login and start-up tests share: a program folder of their own, the message boxes
/// and the end of the application recorded instead of shown, log output kept to be searched
/// for passwords, and copies of the demo database on either engine.
class LoginFixture {
public:
    enum class Engine { SQLite, PostgreSQL };

    /// The login window's texts that the tests look for.
    static inline const QString invalid = QStringLiteral(" Invalid Login Information! ");
    static inline const QString unreachable =
        QStringLiteral("Couldn\u00B4t reach server, please check your internet settings!");
    static inline const QString disconnected = QStringLiteral("Disconnected From Server!");

    struct Shown {
        Dialogs::Message message;
        QStringList visibleWindows;
    };

    std::unique_ptr<QTemporaryDir> dir;
    QList<Shown> shown;
    int terminations = 0;
    Dialogs::Answer questionAnswer = Dialogs::Answer::Yes;
    /// Runs while a message box is up, as a user acting behind it would.
    std::function<void()> whileShown;

    static QStringList& log() {
        static QStringList messages;
        return messages;
    }

    /// Call from init().
    void setUp() {
        dir = std::make_unique<QTemporaryDir>();
        QVERIFY(dir->isValid());
        shown.clear();
        terminations = 0;
        questionAnswer = Dialogs::Answer::Yes;
        whileShown = nullptr;
        log().clear();
        previousHandler() = qInstallMessageHandler(&LoginFixture::record);
        ProgramFolder::setPath(dir->path());
        TfrmLogin::setCommandLine(QStringList());
        AppUser = TApplicationUserVar();
        Dialogs::setAnswerer([this](const Dialogs::Message& message) {
            QStringList visible;
            for (QWidget* window : QApplication::topLevelWidgets()) {
                if (window->isVisible()) {
                    visible << window->objectName();
                }
            }
            shown << Shown{message, visible};
            if (whileShown) {
                whileShown();
            }
            return message.buttons == Dialogs::Buttons::YesNo ? questionAnswer : Dialogs::Answer::Ok;
        });
        Forms::setTerminator([this] { ++terminations; });
    }

    /// Call from cleanup().
    void tearDown() {
        Forms::destroyAll();
        Dialogs::setAnswerer({});
        Forms::setTerminator({});
        TfrmLogin::setCommandLine(std::nullopt);
        ProgramFolder::setPath(QString());
        AppUser = TApplicationUserVar();
        qInstallMessageHandler(previousHandler());
        for (const QString& name : std::as_const(m_postgresCopies)) {
            TestDatabases::dropPostgres(name);
        }
        m_postgresCopies.clear();
        QSqlDatabase::removeDatabase(QStringLiteral("login-fixture"));
        dir.reset();
    }

    QStringList texts() const {
        QStringList result;
        for (const Shown& s : shown) {
            result << s.message.text;
        }
        return result;
    }

    /// Adds the engine column to a data table; the PostgreSQL rows only where the test run
    /// started its cluster.
    static QList<std::pair<QByteArray, Engine>> engines() {
        QList<std::pair<QByteArray, Engine>> list{{"sqlite", Engine::SQLite}};
        if (TestDatabases::postgresAvailable()) {
            list.append({"postgres", Engine::PostgreSQL});
        }
        return list;
    }

    /// A data column "engine" with one row per engine, for a test's _data() function.
    static void addEngineRows() {
        QTest::addColumn<Engine>("engine");
        for (const auto& [name, engine] : engines()) {
            QTest::newRow(name.constData()) << engine;
        }
    }

    /// A copy of the demo database of its own; its connection string.
    QString database(Engine engine) {
        m_engine = engine;
        if (engine == Engine::SQLite) {
            const QString cs = TestDatabases::sqliteCopy(dir->path());
            m_sqlitePath = dir->filePath(QStringLiteral("demo.db"));
            return cs;
        }
        QString name;
        const QString cs = TestDatabases::createPostgres(&name);
        m_postgresCopies << name;
        return cs;
    }

    /// Runs sql on the database that database() made last, outside the code under test.
    void execute(const QString& sql) {
        if (m_engine == Engine::PostgreSQL) {
            TestDatabases::admin(sql, m_postgresCopies.last());
            return;
        }
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("login-fixture"));
            db.setDatabaseName(m_sqlitePath);
            QVERIFY(db.open());
            QSqlQuery query(db);
            QVERIFY2(query.exec(sql), qPrintable(query.lastError().text()));
        }
        QSqlDatabase::removeDatabase(QStringLiteral("login-fixture"));
    }

    /// The number of rows of table, read outside the code under test; -1 when it cannot be read.
    int count(const QString& table) {
        if (m_engine == Engine::PostgreSQL) {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("login-fixture"));
            db.setHostName(TestDatabases::postgresHost());
            db.setPort(TestDatabases::postgresPort());
            db.setDatabaseName(m_postgresCopies.last());
            db.setUserName(TestDatabases::postgresUser());
            db.setPassword(TestDatabases::postgresPassword());
            return countIn(db, table);
        }
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("login-fixture"));
        db.setDatabaseName(m_sqlitePath);
        return countIn(db, table);
    }

    /// Writes a data-link file as Windows does (UTF-16LE with a byte-order mark).
    static void writeDataLink(const QString& path, const QString& connectionString) {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QStringEncoder encoder(QStringEncoder::Utf16LE, QStringConverter::Flag::WriteBom);
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(encoder(QStringLiteral("[oledb]\r\n; Everything after this line is an OLE DB initstring\r\n%1\r\n")
                               .arg(connectionString)));
    }

    /// Makes connectionString the one the program finds in its default data-link file.
    void useDefaultDataLink(const QString& connectionString) {
        writeDataLink(dir->filePath(QStringLiteral("Cnnstr.udl")), connectionString);
    }

    /// Whether text occurs in any message box or log line.
    bool anyOutputContains(const QString& text) const {
        for (const Shown& s : shown) {
            if (s.message.text.contains(text)) {
                return true;
            }
        }
        for (const QString& line : log()) {
            if (line.contains(text)) {
                return true;
            }
        }
        return false;
    }

private:
    static QtMessageHandler& previousHandler() {
        static QtMessageHandler handler = nullptr;
        return handler;
    }

    static void record(QtMsgType type, const QMessageLogContext& context, const QString& message) {
        log() << message;
        if (previousHandler()) {
            previousHandler()(type, context, message);
        }
    }

    int countIn(QSqlDatabase& db, const QString& table) {
        int rows = -1;
        if (db.open()) {
            QSqlQuery query(db);
            if (query.exec(QStringLiteral("SELECT COUNT(*) FROM %1").arg(table)) && query.next()) {
                rows = query.value(0).toInt();
            }
        }
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(QStringLiteral("login-fixture"));
        return rows;
    }

    Engine m_engine = Engine::SQLite;
    QString m_sqlitePath;
    QStringList m_postgresCopies;
};

} // namespace korvell::test
