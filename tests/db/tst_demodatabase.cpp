// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#include "TestDatabases.h"

#include "db/Connection.h"
#include "db/SqlText.h"

#include <QTemporaryDir>
#include <QTest>

using namespace korvell;

namespace {

const QString strategyType = QStringLiteral("35e86bd2-ec11-489a-a63d-500a55801001");
const QString businessModelType = QStringLiteral("f9632c25-e319-4ca4-8878-026bcac6122f");
const QString perUserProduct = QStringLiteral("62099C9D-3F9A-48FE-8E92-876D00DA82FC");

// The licence list of the import window, as it sends it.
const QString licenceQuery = QStringLiteral("SELECT T1.* FROM\r\n"
                                            "(\r\n"
                                            "SELECT u1.* ,\r\n"
                                            "(case tp1.tipoutilizador \r\n"
                                            "    when 'LICENSE' then parent_user\r\n"
                                            "    when 'RESPONDENT' then (select parent_user from utilizadores where "
                                            "idutilizador = u1.parent_user)\r\n"
                                            "END) as PartnerUser ,\r\n"
                                            "(case tp1.tipoutilizador \r\n"
                                            "    when 'LICENSE' then idutilizador\r\n"
                                            "    when 'RESPONDENT' then parent_user END)\r\n"
                                            "as LicUser\r\n"
                                            "FROM utilizadores u1\r\n"
                                            "LEFT JOIN TiposUtilizador tp1 ON u1.idtipoutilizador = "
                                            "tp1.idtipoutilizador\r\n"
                                            "WHERE u1.status = 'IN USE'\r\n"
                                            "and u1.parent_user is not null\r\n"
                                            ") as T1\r\n"
                                            "WHERE T1.PartnerUser = :parent_user\r\n");

struct Step {
    const char* command;
    const char* group;
    bool businessModel;
};

// The ten import steps.
const Step steps[] = {
    {"EXEC selectgrafico_map", "G1-%", false},  {"EXEC selectgrafico_map", "G2-%", false},
    {"EXEC selectgrafico_map", "G3-%", false},  {"EXEC selectgrafico_map_calc", "G4", false},
    {"EXEC selectgrafico_map", "G7-%", true},   {"EXEC selectgrafico_map", "G8-%", true},
    {"EXEC selectgrafico_map", "G18-%", false}, {"EXEC selectgrafico_vbi_calc", "G18", false},
    {"EXEC selectgrafico_map", "G19-%", false}, {"EXEC selectgrafico_eva_calc", "G19", false},
};

QString stepCall(const Step& step, const QString& user, const QString& product) {
    return QLatin1String(step.command) + sqlQuote(QLatin1String(step.group)) + QLatin1Char(',') + sqlQuote(user) +
           QLatin1Char(',') + sqlQuote(product) + QLatin1Char(',') +
           sqlQuote(step.businessModel ? businessModelType : strategyType);
}

QString userId(Connection& connection, const QString& column, const QString& value) {
    const ResultSet rows =
        connection.query(QStringLiteral("SELECT idutilizador FROM utilizadores WHERE %1 = :v").arg(column),
                         {{QStringLiteral("v"), value}});
    return rows.isEmpty() ? QString() : rows.value(0, QStringLiteral("idutilizador")).toString();
}

} // namespace

class TestDemoDatabase : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();

    void logsInTheDemoUsers_data() { addEngines(); }
    void logsInTheDemoUsers();
    void listsTheLicenceHoldersOfTheLoggedInUser_data() { addEngines(); }
    void listsTheLicenceHoldersOfTheLoggedInUser();
    void holdsQuestionsInBothLanguages_data() { addEngines(); }
    void holdsQuestionsInBothLanguages();
    void scoresEveryImportStep_data() { addEngines(); }
    void scoresEveryImportStep();
    void selectsRespondentsAndProducts_data() { addEngines(); }
    void selectsRespondentsAndProducts();
    void givesTheSameScoresOnBothEngines();

private:
    void addEngines();
    QTemporaryDir m_dir;
    QString m_sqlite;
    QString m_postgres;
};

void TestDemoDatabase::initTestCase() {
    QVERIFY(m_dir.isValid());
    m_sqlite = TestDatabases::sqliteCopy(m_dir.path());
    if (TestDatabases::postgresAvailable()) {
        m_postgres = TestDatabases::postgresDemo();
    }
}

void TestDemoDatabase::addEngines() {
    QTest::addColumn<QString>("connectionString");
    QTest::newRow("sqlite") << m_sqlite;
    if (!m_postgres.isEmpty()) {
        QTest::newRow("postgresql") << m_postgres;
    }
}

void TestDemoDatabase::logsInTheDemoUsers() {
    QFETCH(QString, connectionString);
    Connection connection;
    connection.setConnectionString(connectionString);
    connection.open();

    const ResultSet demo = connection.query(credentialQuery(QStringLiteral("demo"), QStringLiteral("demo")));
    QCOMPARE(demo.rowCount(), 1);
    QVERIFY(demo.value(0, QStringLiteral("parent_user")).isNull());
    QCOMPARE(demo.value(0, QStringLiteral("idutilizador")).toString().size(), 38);

    const ResultSet consultant =
        connection.query(credentialQuery(QStringLiteral("consultant"), QStringLiteral("consultant")));
    QCOMPARE(consultant.rowCount(), 1);
    QCOMPARE(consultant.value(0, QStringLiteral("parent_user")).toString(),
             demo.value(0, QStringLiteral("idutilizador")).toString());

    QVERIFY(connection.query(credentialQuery(QStringLiteral("demo"), QStringLiteral("Demo"))).isEmpty());
    QVERIFY(connection.query(credentialQuery(QString(), QString())).isEmpty());
}

void TestDemoDatabase::listsTheLicenceHoldersOfTheLoggedInUser() {
    QFETCH(QString, connectionString);
    Connection connection;
    connection.setConnectionString(connectionString);
    connection.open();
    const QString demoId = userId(connection, QStringLiteral("username"), QStringLiteral("demo"));

    const ResultSet list = connection.query(licenceQuery, {{QStringLiteral("parent_user"), demoId}});
    for (const char* column : {"idutilizador",
                               "username",
                               "password",
                               "nome",
                               "email",
                               "volumenegocio",
                               "idactividade",
                               "morada",
                               "zipcode",
                               "telefone",
                               "webpage",
                               "idpais",
                               "idtipoutilizador",
                               "mc_name",
                               "mc_tele",
                               "mc_email",
                               "sc_name",
                               "sc_tele",
                               "sc_email",
                               "num_employees",
                               "num__subcontractors",
                               "respond_initials",
                               "respond_function",
                               "parent_user",
                               "idpartnerunit",
                               "activo",
                               "status",
                               "prefix",
                               "idtipoquestionario",
                               "PartnerUser",
                               "LicUser"}) {
        QVERIFY2(list.hasColumn(QLatin1String(column)), column);
    }

    QStringList licences;
    QHash<QString, int> respondents;
    for (qsizetype row = 0; row < list.rowCount(); ++row) {
        const QString id = list.value(row, QStringLiteral("idutilizador")).toString();
        const QString licUser = list.value(row, QStringLiteral("LicUser")).toString();
        QCOMPARE(list.value(row, QStringLiteral("PartnerUser")).toString(), demoId);
        QCOMPARE(list.value(row, QStringLiteral("status")).toString(), QStringLiteral("IN USE"));
        if (licUser == id) {
            QCOMPARE(list.value(row, QStringLiteral("parent_user")).toString(), demoId);
            licences << id;
        } else {
            QCOMPARE(list.value(row, QStringLiteral("parent_user")).toString(), licUser);
            QVERIFY(!list.value(row, QStringLiteral("respond_initials")).toString().isEmpty());
            ++respondents[licUser];
        }
    }
    QCOMPARE(licences.size(), 3);
    for (const QString& licence : licences) {
        QVERIFY2(respondents.value(licence) >= 4 && respondents.value(licence) <= 8, qPrintable(licence));
        const qsizetype products =
            connection
                .query(QStringLiteral("select  * from Produtos\r\nwhere idutilizador = :idlicensa"),
                       {{QStringLiteral("idlicensa"), licence}})
                .rowCount();
        QVERIFY2(products >= 2 && products <= 4, qPrintable(licence));
    }
    QCOMPARE(respondents.size(), 3);

    // A user with no licence holders gets an empty list.
    const QString consultantId = userId(connection, QStringLiteral("username"), QStringLiteral("consultant"));
    QVERIFY(connection.query(licenceQuery, {{QStringLiteral("parent_user"), consultantId}}).isEmpty());
}

void TestDemoDatabase::holdsQuestionsInBothLanguages() {
    QFETCH(QString, connectionString);
    Connection connection;
    connection.setConnectionString(connectionString);
    connection.open();

    const ResultSet languages = connection.query(QStringLiteral("SELECT * FROM PAISES"));
    QCOMPARE(languages.rowCount(), 2);
    QHash<QString, QString> languageOf;
    for (qsizetype row = 0; row < languages.rowCount(); ++row) {
        languageOf.insert(languages.value(row, QStringLiteral("idpais")).toString(),
                          languages.value(row, QStringLiteral("pais")).toString());
    }

    const ResultSet questions = connection.query(QStringLiteral("SELECT * FROM perguntas"));
    QSet<QString> groupsAndLanguages;
    for (qsizetype row = 0; row < questions.rowCount(); ++row) {
        const QString code = questions.value(row, QStringLiteral("codigo")).toString();
        const QString language = languageOf.value(questions.value(row, QStringLiteral("idpais")).toString());
        QVERIFY2(!language.isEmpty(), qPrintable(code));
        QVERIFY(QStringList({"X", "Y"}).contains(questions.value(row, QStringLiteral("eixo")).toString()));
        QCOMPARE(questions.value(row, QStringLiteral("idpergunta")).toString().size(), 38);
        for (const char* column : {"questao", "minstr", "maxstr"}) {
            QVERIFY(!questions.value(row, QLatin1String(column)).toString().isEmpty());
        }
        groupsAndLanguages << code.section(QLatin1Char('-'), 0, 0) + QLatin1Char('/') + language;
    }
    for (const char* group : {"G1", "G2", "G3", "G4", "G7", "G8", "G18", "G19"}) {
        for (const char* language : {"English", "Português"}) {
            QVERIFY2(groupsAndLanguages.contains(QLatin1String(group) + QLatin1Char('/') + QString::fromUtf8(language)),
                     group);
        }
    }
}

void TestDemoDatabase::scoresEveryImportStep() {
    QFETCH(QString, connectionString);
    Connection connection;
    connection.setConnectionString(connectionString);
    connection.open();
    const QString licence = userId(connection, QStringLiteral("nome"), QStringLiteral("Nordic Timber AB"));
    const QString product = connection.query(QStringLiteral("SELECT idproduto FROM Produtos WHERE sigla = 'NT-PEL'"))
                                .value(0, 0)
                                .toString();
    const qsizetype respondents = connection
                                      .query(QStringLiteral("SELECT * FROM utilizadores WHERE parent_user = :l"),
                                             {{QStringLiteral("l"), licence}})
                                      .rowCount();

    for (const QString& productId : {perUserProduct, product}) {
        for (const Step& step : steps) {
            const QString call = stepCall(step, licence, productId);
            const ResultSet rows = connection.query(call);
            QVERIFY2(rows.rowCount() == respondents, qPrintable(call));
            for (qsizetype row = 0; row < rows.rowCount(); ++row) {
                QCOMPARE(rows.value(row, QStringLiteral("idutilizador")).toString().size(), 38);
                QVERIFY(!rows.value(row, QStringLiteral("initials")).toString().isEmpty());
                for (const char* axis : {"x", "y"}) {
                    const QVariant score = rows.value(row, QLatin1String(axis));
                    QVERIFY2(!score.isNull(), qPrintable(call));
                    QVERIFY2(score.toDouble() >= 0.0 && score.toDouble() <= 10.0, qPrintable(call));
                }
            }
        }
    }
}

void TestDemoDatabase::selectsRespondentsAndProducts() {
    QFETCH(QString, connectionString);
    Connection connection;
    connection.setConnectionString(connectionString);
    connection.open();
    const QString licence = userId(connection, QStringLiteral("nome"), QStringLiteral("Atlântico Têxteis, Lda"));
    const QString respondent = userId(connection, QStringLiteral("respond_initials"), QStringLiteral("MF"));
    const Step& value = steps[1];

    // A respondent's own id gives its own row, whatever the letter case of the id.
    const ResultSet own = connection.query(stepCall(value, respondent.toLower(), perUserProduct));
    QCOMPARE(own.rowCount(), 1);
    QCOMPARE(own.value(0, QStringLiteral("idutilizador")).toString(), respondent);
    QCOMPARE(own.value(0, QStringLiteral("initials")).toString(), QStringLiteral("MF"));

    // The product restricts the answers: the products' scores differ from one another.
    const ResultSet products = connection.query(
        QStringLiteral("SELECT idproduto FROM Produtos WHERE idutilizador = :l"), {{QStringLiteral("l"), licence}});
    QSet<QString> distinct;
    for (qsizetype row = 0; row < products.rowCount(); ++row) {
        const ResultSet scores = connection.query(stepCall(value, licence, products.value(row, 0).toString()));
        QString fingerprint;
        for (qsizetype i = 0; i < scores.rowCount(); ++i) {
            fingerprint += scores.value(i, QStringLiteral("x")).toString() + QLatin1Char('/') +
                           scores.value(i, QStringLiteral("y")).toString() + QLatin1Char(' ');
        }
        distinct << fingerprint;
    }
    QCOMPARE(distinct.size(), products.rowCount());

    // Another licence holder's product, another questionnaire type or an unknown user: no rows.
    const QString otherProduct =
        connection.query(QStringLiteral("SELECT idproduto FROM Produtos WHERE sigla = 'SF-GRN'"))
            .value(0, 0)
            .toString();
    QVERIFY(connection.query(stepCall(value, licence, otherProduct)).isEmpty());
    QVERIFY(connection.query(stepCall({"EXEC selectgrafico_map", "G7-%", false}, licence, perUserProduct)).isEmpty());
    QVERIFY(connection.query(stepCall(value, QStringLiteral("{00000000-0000-0000-0000-000000000000}"), perUserProduct))
                .isEmpty());
}

void TestDemoDatabase::givesTheSameScoresOnBothEngines() {
    if (m_postgres.isEmpty()) {
        QSKIP("needs the PostgreSQL test cluster");
    }
    Connection sqlite;
    sqlite.setConnectionString(m_sqlite);
    sqlite.open();
    Connection postgres;
    postgres.setConnectionString(m_postgres);
    postgres.open();
    const QString demo = userId(sqlite, QStringLiteral("username"), QStringLiteral("demo"));
    QCOMPARE(userId(postgres, QStringLiteral("username"), QStringLiteral("demo")), demo);

    for (const Step& step : steps) {
        const QString call = stepCall(step, demo, perUserProduct);
        const ResultSet a = sqlite.query(call);
        const ResultSet b = postgres.query(call);
        QVERIFY2(a.rowCount() == b.rowCount(), qPrintable(call));
        for (qsizetype row = 0; row < a.rowCount(); ++row) {
            QCOMPARE(a.value(row, QStringLiteral("idutilizador")).toString(),
                     b.value(row, QStringLiteral("idutilizador")).toString());
            QCOMPARE(a.value(row, QStringLiteral("initials")).toString(),
                     b.value(row, QStringLiteral("initials")).toString());
            QCOMPARE(a.value(row, QStringLiteral("x")).toDouble(), b.value(row, QStringLiteral("x")).toDouble());
            QCOMPARE(a.value(row, QStringLiteral("y")).toDouble(), b.value(row, QStringLiteral("y")).toDouble());
        }
    }
}

QTEST_GUILESS_MAIN(TestDemoDatabase)
#include "tst_demodatabase.moc"
