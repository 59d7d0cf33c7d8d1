// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#include "TestDatabases.h"

#include "db/Connection.h"

#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace korvell;

namespace {

const QString holderId = QStringLiteral("{C2754822-1A39-56A4-BFC8-A4C8F10D0940}");
const QString respondentId = QStringLiteral("{D5021EBB-CCD2-5850-896D-420150357B54}");

struct Run {
    int status = -1;
    QByteArray out;
    QByteArray err;
};

Run cli(const QStringList& arguments, const QString& password) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("KORVELL_PASSWORD"), password);
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(KORVELL_BIN_DIR "/korvell-cli"), QStringList{QStringLiteral("import")} + arguments);
    if (!process.waitForFinished(60000))
        qFatal("korvell-cli import did not finish");
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

} // namespace

class TestImportCli : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QVERIFY2(QFileInfo(QStringLiteral(KORVELL_BIN_DIR "/korvell-cli")).isExecutable(),
                 "build the korvell-cli target first");
    }

    void importsForAUserOrAProduct_data() {
        QTest::addColumn<QString>("connectionString");
        QTest::newRow("sqlite")
            << QStringLiteral("Provider=SQLite;Data Source=%1").arg(TestDatabases::sqliteDemoPath());
        if (TestDatabases::postgresAvailable())
            QTest::newRow("postgresql") << TestDatabases::postgresDemo();
    }
    void importsForAUserOrAProduct() {
        QFETCH(QString, connectionString);
        const QStringList login{"--login", "demo", "--connection", connectionString};
        const Run perUser = cli(login + QStringList{"--user", holderId}, QStringLiteral("demo"));
        QCOMPARE(perUser.err, QByteArray());
        QCOMPARE(perUser.status, 0);
        const QList<QByteArray> lines = perUser.out.trimmed().split('\n');
        QVERIFY(lines.first().startsWith("rowid,product,bubbleradius,pm_x"));
        QVERIFY(lines.size() > 2);
        QVERIFY(perUser.out.contains(respondentId.toUtf8() + ",AS,0.4,"));

        // Per product, a respondent stands for its licence holder; ids match in any letter case.
        Connection connection;
        connection.setConnectionString(connectionString);
        connection.open();
        const QString product = connection
                                    .query(QStringLiteral("SELECT idproduto FROM Produtos WHERE idutilizador = :id "
                                                          "ORDER BY sigla"),
                                           {{QStringLiteral("id"), holderId}})
                                    .value(0, QStringLiteral("idproduto"))
                                    .toString();
        const Run oneProduct =
            cli(login + QStringList{"--user", respondentId.toLower(), "--product", product.toLower()}, "demo");
        QCOMPARE(oneProduct.err, QByteArray());
        QCOMPARE(oneProduct.status, 0);
        QVERIFY(oneProduct.out.trimmed().split('\n').size() >= 2);
        QVERIFY(oneProduct.out.size() <= perUser.out.size());

        const Run perProduct = cli(login + QStringList{"--user", respondentId.toLower(), "--product",
                                                       QStringLiteral("{d7e1b2a4-0000-0000-0000-000000000000}")},
                                   QStringLiteral("demo"));
        QCOMPARE(perProduct.status, 2);
        QVERIFY(perProduct.out.isEmpty());
        QVERIFY(perProduct.err.contains("is no product of the licence holder"));
    }

    void refusesWithOneLineOnStandardError_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("password");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("message");
        const QString demo = QStringLiteral("Provider=SQLite;Data Source=%1").arg(TestDatabases::sqliteDemoPath());
        QTest::newRow("wrong password") << QStringList{"--login", "demo", "--connection", demo, "--user", holderId}
                                        << "not-the-password" << 1 << "invalid login information";
        QTest::newRow("unreachable server")
            << QStringList{"--login",
                           "demo",
                           "--connection",
                           "Provider=PostgreSQL;Data Source=127.0.0.1,1;Initial Catalog=x;User ID=u;Password=Secret#99",
                           "--user",
                           holderId}
            << "demo" << 1 << "cannot reach the server";
        QTest::newRow("another partner's user")
            << QStringList{"--login", "consultant", "--connection", demo, "--user", holderId} << "consultant" << 2
            << "none of the licence holders or respondents of consultant";
        QTest::newRow("password on the command line")
            << QStringList{"--login", "demo", "--password", "demo", "--user", holderId} << "demo" << 2
            << "visible to every user";
        QTest::newRow("no user") << QStringList{"--login", "demo", "--connection", demo} << "demo" << 2
                                 << "--user is missing";
    }
    void refusesWithOneLineOnStandardError() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, password);
        QFETCH(int, status);
        QFETCH(QString, message);
        const Run run = cli(arguments, password);
        QCOMPARE(run.status, status);
        QVERIFY(run.out.isEmpty());
        QCOMPARE(run.err.count('\n'), 1);
        QVERIFY2(run.err.contains(message.toUtf8()), run.err.constData());
        QVERIFY(!run.err.contains("Secret#99"));
        QVERIFY(!run.err.contains("not-the-password"));
    }
};

QTEST_GUILESS_MAIN(TestImportCli)
#include "tst_importcli.moc"
