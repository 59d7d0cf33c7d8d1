// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#include "TestDatabases.h"

#include "common/Error.h"
#include "db/Connection.h"
#include "localisation/ProgramFolder.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace korvell;

namespace {

const QString strategyType = QStringLiteral("35e86bd2-ec11-489a-a63d-500a55801001");
const QString perUserProduct = QStringLiteral("62099C9D-3F9A-48FE-8E92-876D00DA82FC");

} // namespace

class TestConnection : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void cleanup();

    void notifiesOnceForEveryCloseOfAnOpenConnection_data() { addEngines(); }
    void notifiesOnceForEveryCloseOfAnOpenConnection();
    void runsQueriesWithNamedParameters_data() { addEngines(); }
    void runsQueriesWithNamedParameters();
    void runsProcedureCallsAsTheProgramWritesThem_data() { addEngines(); }
    void runsProcedureCallsAsTheProgramWritesThem();
    void writesChanges_data() { addEngines(); }
    void writesChanges();
    void refusesToOpen_data();
    void refusesToOpen();
    void refusesToCreateAMissingSqliteFile();
    void findsRelativeDatabasesInTheProgramFolder();
    void opensTheShippedDataLinkFile();
    void reportsALostServer();

private:
    void addEngines();

    QTemporaryDir m_dir;
    QString m_sqlite;
    QString m_postgres;
    QString m_postgresName;
};

void TestConnection::initTestCase() {
    QVERIFY(m_dir.isValid());
    m_sqlite = TestDatabases::sqliteCopy(m_dir.path());
    if (TestDatabases::postgresAvailable()) {
        m_postgres = TestDatabases::createPostgres(&m_postgresName);
    } else {
        qWarning("PostgreSQL test cluster not started (run through ctest): PostgreSQL cases are left out");
    }
}

void TestConnection::cleanupTestCase() {
    if (!m_postgresName.isEmpty()) {
        TestDatabases::dropPostgres(m_postgresName);
    }
}

void TestConnection::cleanup() {
    ProgramFolder::setPath(QString());
}

void TestConnection::addEngines() {
    QTest::addColumn<QString>("connectionString");
    QTest::newRow("sqlite") << m_sqlite;
    if (!m_postgres.isEmpty()) {
        QTest::newRow("postgresql") << m_postgres;
    }
}

void TestConnection::notifiesOnceForEveryCloseOfAnOpenConnection() {
    QFETCH(QString, connectionString);
    auto connection = std::make_unique<Connection>();
    QSignalSpy disconnected(connection.get(), &Connection::disconnected);
    connection->setConnectionString(connectionString);

    connection->close();
    QCOMPARE(disconnected.count(), 0);

    connection->open();
    QVERIFY(connection->isOpen());
    connection->close();
    QVERIFY(!connection->isOpen());
    QCOMPARE(disconnected.count(), 1);
    connection->close();
    QCOMPARE(disconnected.count(), 1);

    // Opening an open connection closes it first.
    connection->open();
    connection->open();
    QCOMPARE(disconnected.count(), 2);
    QVERIFY(connection->isOpen());

    // A failed open leaves it closed; that close is the one reported.
    connection->setConnectionString(QStringLiteral("Provider=Nothing"));
    QVERIFY_THROWS_EXCEPTION(Error, connection->open());
    QVERIFY(!connection->isOpen());
    QCOMPARE(disconnected.count(), 3);

    connection->setConnectionString(connectionString);
    connection->open();
    connection.reset();
    QCOMPARE(disconnected.count(), 3);
}

void TestConnection::runsQueriesWithNamedParameters() {
    QFETCH(QString, connectionString);
    Connection connection;
    QVERIFY_THROWS_EXCEPTION(Error, connection.query(QStringLiteral("SELECT 1")));
    connection.setConnectionString(connectionString);
    connection.open();

    const ResultSet demo = connection.query(
        QStringLiteral("SELECT idutilizador, USERNAME AS UserName FROM utilizadores WHERE username = :name"),
        {{QStringLiteral("name"), QStringLiteral("demo")}});
    QCOMPARE(demo.rowCount(), 1);
    QCOMPARE(demo.value(0, QStringLiteral("IDUTILIZADOR")).toString(), TestDatabases::demoPartnerId());
    QCOMPARE(demo.value(0, QStringLiteral("username")).toString(), QStringLiteral("demo"));
    QVERIFY_THROWS_EXCEPTION(Error, demo.value(0, QStringLiteral("nome")));

    // The product list of the import window: a NULL parameter matches nothing.
    const QString products = QStringLiteral("select  * from Produtos\r\nwhere idutilizador = :idlicensa");
    QVERIFY(connection.query(products, {{QStringLiteral(":idlicensa"), QVariant()}}).isEmpty());
    const ResultSet licences =
        connection.query(QStringLiteral("SELECT idutilizador FROM utilizadores WHERE nome = :name"),
                         {{QStringLiteral("name"), QStringLiteral("Sunrise Foods Ltd")}});
    QCOMPARE(licences.rowCount(), 1);
    const ResultSet sunrise =
        connection.query(products, {{QStringLiteral("idlicensa"), licences.value(0, QStringLiteral("idutilizador"))}});
    QCOMPARE(sunrise.rowCount(), 4);
    for (const char* column : {"idproduto", "sigla", "designacao", "volumenegocioproduto", "idpais", "idutilizador",
                               "generico", "idtipoquestionario", "isdivision"}) {
        QVERIFY2(sunrise.hasColumn(QLatin1String(column)), column);
    }

    const QString error = [&] {
        try {
            connection.query(QStringLiteral("SELECT * FROM no_such_table"));
        } catch (const Error& e) {
            return e.text();
        }
        return QString();
    }();
    QVERIFY2(error.contains(QLatin1String("no_such_table")), qPrintable(error));
    QVERIFY(connection.isOpen());
}

void TestConnection::runsProcedureCallsAsTheProgramWritesThem() {
    QFETCH(QString, connectionString);
    Connection connection;
    connection.setConnectionString(connectionString);
    connection.open();

    const ResultSet rows = connection.query(QStringLiteral("EXEC selectgrafico_map'G1-%','") +
                                            TestDatabases::demoPartnerId() + QStringLiteral("','") + perUserProduct +
                                            QStringLiteral("','") + strategyType + QStringLiteral("'"));
    QCOMPARE(rows.rowCount(), 15);
    for (const char* column : {"idutilizador", "x", "y", "initials"}) {
        QVERIFY2(rows.hasColumn(QLatin1String(column)), column);
    }

    QVERIFY_THROWS_EXCEPTION(Error, connection.query(QStringLiteral("EXEC no_such_procedure'a'")));
    QVERIFY_THROWS_EXCEPTION(Error, connection.query(QStringLiteral("EXEC selectgrafico_map'G1-%','a'")));
    QVERIFY_THROWS_EXCEPTION(Error, connection.query(QStringLiteral("EXEC selectgrafico_map'G1-%")));
    QVERIFY(connection.isOpen());
}

void TestConnection::writesChanges() {
    QFETCH(QString, connectionString);
    Connection connection;
    connection.setConnectionString(connectionString);
    connection.open();
    const ResultSet questions = connection.query(QStringLiteral("SELECT * FROM perguntas WHERE codigo = 'G2-01'"));
    QCOMPARE(questions.rowCount(), 2);
    const QString id = questions.value(0, QStringLiteral("idpergunta")).toString();
    const QString text = QStringLiteral("How well does it serve \"O'Brien\" & co.? (%1)").arg(QTest::currentDataTag());

    QCOMPARE(connection.execute(QStringLiteral("UPDATE perguntas SET questao = :questao WHERE idpergunta = :id"),
                                {{QStringLiteral("questao"), text}, {QStringLiteral("id"), id}}),
             1);
    connection.close();
    connection.open();
    const ResultSet reread = connection.query(QStringLiteral("SELECT questao FROM perguntas WHERE idpergunta = :id"),
                                              {{QStringLiteral("id"), id}});
    QCOMPARE(reread.value(0, QStringLiteral("questao")).toString(), text);
}

void TestConnection::refusesToOpen_data() {
    QTest::addColumn<QString>("connectionString");
    QTest::addColumn<QString>("expected");

    const QString notADatabase = m_dir.filePath(QStringLiteral("not-a-database.db"));
    QFile text(notADatabase);
    QVERIFY(text.open(QIODevice::WriteOnly));
    text.write(QByteArray("This is a letter, not a database.\n").repeated(200));
    text.close();

    QTest::newRow("no provider") << "Data Source=x.db;Password=Secret-Pa55"
                                 << "provider";
    QTest::newRow("unknown provider") << "Provider=Jet.OLEDB.4.0;Data Source=x.mdb;Password=Secret-Pa55"
                                      << "Jet.OLEDB.4.0";
    QTest::newRow("unknown keyword") << "Provider=SQLite;Data Source=x.db;Colour=blue;Password=Secret-Pa55"
                                     << "colour";
    QTest::newRow("malformed string") << "Provider=SQLite;Password=\"Secret-Pa55"
                                      << "quote";
    QTest::newRow("missing data-link file") << "File Name=/nonexistent/Cnnstr.udl"
                                            << "/nonexistent/Cnnstr.udl";
    QTest::newRow("sqlite: not a database") << "Provider=SQLite;Data Source=" + notADatabase << "not a usable database";
    QTest::newRow("sqlite: a folder") << "Provider=SQLite;Data Source=" + m_dir.path() << "not a database file";
    QTest::newRow("sql server: closed port") << "Provider=SQLOLEDB.1;Data Source=127.0.0.1,1;Initial "
                                                "Catalog=korvell;User ID=sa;Password=Secret-Pa55"
                                             << "Cannot open the database";
    QTest::newRow("postgresql: closed port") << "Provider=PostgreSQL;Data Source=127.0.0.1,1;Initial "
                                                "Catalog=korvell;User ID=korvell;Password=Secret-Pa55"
                                             << "Cannot open the database";
    if (!m_postgres.isEmpty()) {
        QString wrongPassword = m_postgres;
        wrongPassword.replace(TestDatabases::postgresPassword(), QStringLiteral("Secret-Pa55"));
        QTest::newRow("postgresql: wrong password") << wrongPassword << "password authentication failed";
        QTest::newRow("postgresql: no such database")
            << TestDatabases::postgresString(QStringLiteral("korvell_no_such_db")) << "korvell_no_such_db";
    }
}

void TestConnection::refusesToOpen() {
    QFETCH(QString, connectionString);
    QFETCH(QString, expected);
    Connection connection;
    QSignalSpy disconnected(&connection, &Connection::disconnected);
    connection.setConnectionString(connectionString);
    QElapsedTimer timer;
    timer.start();
    QString error;
    try {
        connection.open();
    } catch (const Error& e) {
        error = e.text();
    }
    // An unreachable server must not hang the login: the login timeout is a few seconds.
    QVERIFY2(timer.elapsed() < 10000, "the refusal took too long");
    QVERIFY(!error.isEmpty());
    // Checked before the text is ever printed.
    QVERIFY2(!error.contains(QLatin1String("Secret-Pa55")), "the password is in the error text");
    if (!m_postgres.isEmpty()) {
        QVERIFY2(!error.contains(TestDatabases::postgresPassword()), "the password is in the error text");
    }
    QVERIFY2(error.contains(expected, Qt::CaseInsensitive), qPrintable(error));
    QVERIFY(!connection.isOpen());
    QCOMPARE(disconnected.count(), 0);
}

void TestConnection::refusesToCreateAMissingSqliteFile() {
    const QString missing = m_dir.filePath(QStringLiteral("missing.db"));
    Connection connection;
    connection.setConnectionString(QStringLiteral("Provider=SQLite;Data Source=") + missing);
    QVERIFY_THROWS_EXCEPTION(Error, connection.open());
    QVERIFY(!QFile::exists(missing));
}

void TestConnection::findsRelativeDatabasesInTheProgramFolder() {
    QTemporaryDir program;
    QVERIFY(QDir(program.path()).mkdir(QStringLiteral("sub")));
    TestDatabases::sqliteCopy(program.path() + QStringLiteral("/sub"), QStringLiteral("relative.db"));
    ProgramFolder::setPath(program.path());

    // A data-link file elsewhere: its relative path still means the program's folder.
    QFile link(m_dir.filePath(QStringLiteral("relative.udl")));
    QVERIFY(link.open(QIODevice::WriteOnly));
    link.write("[oledb]\n; Everything after this line is an OLE DB initstring\n"
               "Provider=SQLite;Data Source=sub/relative.db\n");
    link.close();

    Connection connection;
    connection.setConnectionString(QStringLiteral("file name=") + link.fileName());
    connection.open();
    QVERIFY(!connection.query(QStringLiteral("SELECT * FROM PAISES")).isEmpty());
}

void TestConnection::opensTheShippedDataLinkFile() {
    ProgramFolder::setPath(QStringLiteral(KORVELL_BIN_DIR));
    Connection connection;
    connection.setConnectionString(QStringLiteral("file name=") +
                                   ProgramFolder::filePath(QStringLiteral("Cnnstr.udl")));
    connection.open();
    QCOMPARE(connection.query(QStringLiteral("SELECT * FROM utilizadores WHERE username = 'demo'")).rowCount(), 1);
}

void TestConnection::reportsALostServer() {
    if (m_postgres.isEmpty()) {
        QSKIP("needs the PostgreSQL test cluster");
    }
    Connection connection;
    QSignalSpy disconnected(&connection, &Connection::disconnected);
    connection.setConnectionString(m_postgres);
    connection.open();
    const qlonglong pid = connection.query(QStringLiteral("SELECT pg_backend_pid() AS pid")).value(0, 0).toLongLong();
    TestDatabases::admin(QStringLiteral("SELECT pg_terminate_backend(%1, 5000)").arg(pid));

    QVERIFY_THROWS_EXCEPTION(Error, connection.query(QStringLiteral("SELECT * FROM utilizadores")));
    connection.close();
    QCOMPARE(disconnected.count(), 1);
    connection.open();
    QVERIFY(!connection.query(QStringLiteral("SELECT * FROM utilizadores")).isEmpty());
}

QTEST_GUILESS_MAIN(TestConnection)
#include "tst_connection.moc"
