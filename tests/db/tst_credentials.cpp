// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#include "TestDatabases.h"

#include "common/Error.h"
#include "db/Connection.h"
#include "db/SqlText.h"

#include <QTemporaryDir>
#include <QTest>

using namespace korvell;

namespace {

// Users added beside the demo users: their names and passwords are hostile themselves.
const QString hostileUser = QStringLiteral("o'brien; --");
const QString hostilePassword = QStringLiteral("x\\' OR '1'='1");
const QString foreignUser = QStringLiteral("joão");
const QString foreignPassword = QStringLiteral("pässwörd✓");

struct Engine {
    QString name;
    QString connectionString;
};

} // namespace

class TestCredentials : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void findsAUserOnlyWithItsPassword_data();
    void findsAUserOnlyWithItsPassword();
    void keepsQuotesLiteralWhateverTheServerDefault();
    void keepsPasswordsOutOfErrorTexts_data();
    void keepsPasswordsOutOfErrorTexts();
    void hidesPasswordsTheServerRepeats_data();
    void hidesPasswordsTheServerRepeats();

private:
    void prepare(const QString& connectionString);

    QTemporaryDir m_dir;
    QList<Engine> m_engines;
    QStringList m_postgresNames;
};

void TestCredentials::prepare(const QString& connectionString) {
    Connection connection;
    connection.setConnectionString(connectionString);
    connection.open();
    connection.execute(QStringLiteral("CREATE TABLE canary (id INTEGER)"));
    connection.execute(QStringLiteral("INSERT INTO canary (id) VALUES (1)"));
    int n = 0;
    for (const auto& [user, password] : {std::pair{hostileUser, hostilePassword}, {foreignUser, foreignPassword}}) {
        connection.execute(QStringLiteral("INSERT INTO utilizadores (idutilizador, username, password, status) "
                                          "VALUES (:id, :user, :password, 'IN USE')"),
                           {{QStringLiteral("id"), QStringLiteral("{00000000-0000-4000-8000-00000000000%1}").arg(++n)},
                            {QStringLiteral("user"), user},
                            {QStringLiteral("password"), password}});
    }
}

void TestCredentials::initTestCase() {
    QVERIFY(m_dir.isValid());
    m_engines << Engine{QStringLiteral("sqlite"), TestDatabases::sqliteCopy(m_dir.path())};
    if (TestDatabases::postgresAvailable()) {
        QString name;
        m_engines << Engine{QStringLiteral("postgresql"), TestDatabases::createPostgres(&name)};
        m_postgresNames << name;
        // A server whose default lets a backslash escape a quote inside a literal.
        m_engines << Engine{QStringLiteral("postgresql with backslash escapes"), TestDatabases::createPostgres(&name)};
        m_postgresNames << name;
        TestDatabases::admin(QStringLiteral("ALTER DATABASE %1 SET standard_conforming_strings = off").arg(name));
    }
    for (const Engine& engine : m_engines) {
        prepare(engine.connectionString);
    }
}

void TestCredentials::cleanupTestCase() {
    for (const QString& name : m_postgresNames) {
        TestDatabases::dropPostgres(name);
    }
}

void TestCredentials::findsAUserOnlyWithItsPassword_data() {
    QTest::addColumn<QString>("connectionString");
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("password");
    QTest::addColumn<bool>("found");

    const QString quotes25(25, QLatin1Char('\''));
    const struct {
        const char* name;
        QString user;
        QString password;
        bool found;
    } cases[] = {
        {"right password", "demo", "demo", true},
        {"hostile user, right password", hostileUser, hostilePassword, true},
        {"non-ASCII user, right password", foreignUser, foreignPassword, true},
        {"quote OR in password", "demo", "' OR '1'='1", false},
        {"quote OR in both", "' OR '1'='1", "' OR '1'='1", false},
        {"comment after user", "demo' --", "anything", false},
        {"comment after password", "demo", "demo' --", false},
        {"backslash before quote", "demo", "\\' OR 1=1 --", false},
        {"backslash ends the user", "demo\\", " OR 1=1 --", false},
        {"backslash ends the hostile user", "o\\", "' OR '1'='1", false},
        {"second statement in user", "demo'; DROP TABLE canary; --", "x", false},
        {"second statement in password", "demo", "x'; DELETE FROM canary; --", false},
        {"second statement, insert", "demo", "x'); INSERT INTO canary VALUES (2); --", false},
        {"hostile password, other user", "demo", hostilePassword, false},
        {"non-ASCII near miss", foreignUser, QStringLiteral("passwörd✓"), false},
        {"25 quotes", quotes25, quotes25, false},
        {"empty", "", "", false},
    };
    for (const Engine& engine : m_engines) {
        for (const auto& c : cases) {
            QTest::addRow("%s: %s", qPrintable(engine.name), c.name)
                << engine.connectionString << c.user << c.password << c.found;
        }
    }
}

void TestCredentials::findsAUserOnlyWithItsPassword() {
    QFETCH(QString, connectionString);
    QFETCH(QString, user);
    QFETCH(QString, password);
    QFETCH(bool, found);
    Connection connection;
    connection.setConnectionString(connectionString);
    connection.open();
    const qsizetype users = connection.query(QStringLiteral("SELECT * FROM utilizadores")).rowCount();

    const ResultSet rows = connection.query(credentialQuery(user, password));
    QCOMPARE(rows.rowCount(), found ? 1 : 0);
    if (found) {
        QCOMPARE(rows.value(0, QStringLiteral("username")).toString(), user);
        QCOMPARE(rows.value(0, QStringLiteral("password")).toString(), password);
    }

    // No second statement ran.
    const ResultSet canary = connection.query(QStringLiteral("SELECT id FROM canary"));
    QCOMPARE(canary.rowCount(), 1);
    QCOMPARE(canary.value(0, 0).toInt(), 1);
    QCOMPARE(connection.query(QStringLiteral("SELECT * FROM utilizadores")).rowCount(), users);
}

void TestCredentials::keepsQuotesLiteralWhateverTheServerDefault() {
    for (const Engine& engine : m_engines) {
        if (!engine.name.startsWith(QLatin1String("postgresql"))) {
            continue;
        }
        Connection connection;
        connection.setConnectionString(engine.connectionString);
        connection.open();
        const ResultSet setting = connection.query(QStringLiteral("SHOW standard_conforming_strings"));
        QCOMPARE(setting.value(0, 0).toString(), QStringLiteral("on"));
        const ResultSet echoed =
            connection.query(QStringLiteral("SELECT ") + sqlQuote(hostilePassword) + QStringLiteral(" AS v"));
        QCOMPARE(echoed.value(0, QStringLiteral("v")).toString(), hostilePassword);
    }
}

void TestCredentials::keepsPasswordsOutOfErrorTexts_data() {
    QTest::addColumn<QString>("connectionString");
    for (const Engine& engine : m_engines) {
        QTest::newRow(qPrintable(engine.name)) << engine.connectionString;
    }
}

void TestCredentials::keepsPasswordsOutOfErrorTexts() {
    QFETCH(QString, connectionString);
    Connection connection;
    connection.setConnectionString(connectionString);
    connection.open();
    const QString password = QStringLiteral("Hostile-Secret-42");

    // A credential query that fails near the password: the server may quote the statement there.
    connection.execute(QStringLiteral("ALTER TABLE utilizadores RENAME COLUMN password TO senha"));
    QString error;
    try {
        connection.queryCredentials(QStringLiteral("demo"), password);
    } catch (const Error& e) {
        error = e.text();
    }
    connection.execute(QStringLiteral("ALTER TABLE utilizadores RENAME COLUMN senha TO password"));
    QVERIFY2(!error.contains(QLatin1String("Hostile-Secret")), "the password is in the error text");
    QVERIFY2(error.contains(QLatin1String("password")), qPrintable(error));
}

void TestCredentials::hidesPasswordsTheServerRepeats_data() {
    QTest::addColumn<QString>("password");
    QTest::newRow("long") << "Hostile-Secret-42";
    QTest::newRow("short, with a quote") << "x'y";
    QTest::newRow("one character") << "z";
}

void TestCredentials::hidesPasswordsTheServerRepeats() {
    QFETCH(QString, password);
    if (m_postgresNames.isEmpty()) {
        QSKIP("needs the PostgreSQL test cluster");
    }
    // A password column of another type: the server's message quotes the value it could not read.
    QString name;
    Connection connection;
    connection.setConnectionString(TestDatabases::createPostgres(&name));
    connection.open();
    connection.execute(QStringLiteral("ALTER TABLE utilizadores ALTER COLUMN password TYPE integer USING NULL"));
    QString error;
    try {
        connection.queryCredentials(QStringLiteral("demo"), password);
    } catch (const Error& e) {
        error = e.text();
    }
    connection.close();
    TestDatabases::dropPostgres(name);
    QVERIFY2(!error.contains(sqlQuote(password)) && !error.contains(QLatin1Char('"') + password + QLatin1Char('"')),
             "the password is in the error text");
    if (password.size() >= 4) {
        QVERIFY2(!error.contains(password), "the password is in the error text");
    }
    QVERIFY2(error.contains(QLatin1String("integer")), qPrintable(error));
}

QTEST_GUILESS_MAIN(TestCredentials)
#include "tst_credentials.moc"
