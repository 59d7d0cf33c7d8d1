// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#include "common/Error.h"
#include "db/ExecCall.h"
#include "db/SqlText.h"

#include <QRandomGenerator>
#include <QTest>

using namespace korvell;

class TestSqlText : public QObject {
    Q_OBJECT

private slots:
    void quotesValues_data();
    void quotesValues();
    void buildsTheCredentialQuery();
    void readsProcedureCalls_data();
    void readsProcedureCalls();
    void leavesOtherStatementsAlone_data();
    void leavesOtherStatementsAlone();
    void rejectsMalformedCalls_data();
    void rejectsMalformedCalls();
    void survivesArbitraryText();
};

void TestSqlText::quotesValues_data() {
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("quoted");

    QTest::newRow("plain") << "demo"
                           << "'demo'";
    QTest::newRow("empty") << ""
                           << "''";
    QTest::newRow("one quote") << "O'Brien"
                               << "'O''Brien'";
    QTest::newRow("only quotes") << "'''"
                                 << "''''''''";
    QTest::newRow("backslash before quote stays") << "a\\'b"
                                                  << "'a\\''b'";
    QTest::newRow("non-ASCII") << QStringLiteral("Gonçalves ações ✓") << QStringLiteral("'Gonçalves ações ✓'");
}

void TestSqlText::quotesValues() {
    QFETCH(QString, value);
    QFETCH(QString, quoted);
    QCOMPARE(sqlQuote(value), quoted);
}

void TestSqlText::buildsTheCredentialQuery() {
    QCOMPARE(credentialQuery(QStringLiteral("d'mo"), QStringLiteral("x' OR '1'='1")),
             QStringLiteral("Select * from utilizadores where username = 'd''mo' and password = 'x'' OR ''1''=''1'"));
}

void TestSqlText::readsProcedureCalls_data() {
    QTest::addColumn<QString>("statement");
    QTest::addColumn<QString>("procedure");
    QTest::addColumn<QVariantList>("arguments");

    const QVariantList importArgs = {QStringLiteral("G1-%"), QStringLiteral("{2F1B6A34-0000-4000-8000-000000000001}"),
                                     QStringLiteral("62099C9D-3F9A-48FE-8E92-876D00DA82FC"),
                                     QStringLiteral("35e86bd2-ec11-489a-a63d-500a55801001")};
    QTest::newRow("import step, no blank before the first quote")
        << "EXEC selectgrafico_map'G1-%','{2F1B6A34-0000-4000-8000-000000000001}','62099C9D-3F9A-48FE-8E92-"
           "876D00DA82FC','35e86bd2-ec11-489a-a63d-500a55801001'"
        << "selectgrafico_map" << importArgs;
    QTest::newRow("blanks everywhere") << "  exec\n selectgrafico_map  'a' ,  'b'  ;  "
                                       << "selectgrafico_map" << QVariantList{QStringLiteral("a"), QStringLiteral("b")};
    QTest::newRow("doubled quotes inside")
        << "EXEC p'it''s','''','x'''"
        << "p" << QVariantList{QStringLiteral("it's"), QStringLiteral("'"), QStringLiteral("x'")};
    QTest::newRow("empty text") << "EXEC p''"
                                << "p" << QVariantList{QString()};
    QTest::newRow("EXECUTE, N prefix") << "EXECUTE p N'ação'"
                                       << "p" << QVariantList{QStringLiteral("ação")};
    QTest::newRow("numbers and NULL") << "EXEC p 7, -2.5, null"
                                      << "p" << QVariantList{qlonglong(7), -2.5, QVariant()};
    QTest::newRow("no arguments") << "EXEC p"
                                  << "p" << QVariantList();
    QTest::newRow("comma, semicolon and -- inside a value") << "EXEC p'a,b;c -- d'"
                                                            << "p" << QVariantList{QStringLiteral("a,b;c -- d")};
}

void TestSqlText::readsProcedureCalls() {
    QFETCH(QString, statement);
    QFETCH(QString, procedure);
    QFETCH(QVariantList, arguments);
    const std::optional<ExecCall> call = ExecCall::parse(statement);
    QVERIFY(call.has_value());
    QCOMPARE(call->procedure, procedure);
    QCOMPARE(call->arguments.size(), arguments.size());
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        QCOMPARE(call->arguments.at(i).isNull(), arguments.at(i).isNull());
        QCOMPARE(call->arguments.at(i), arguments.at(i));
    }
}

void TestSqlText::leavesOtherStatementsAlone_data() {
    QTest::addColumn<QString>("statement");

    QTest::newRow("empty") << "";
    QTest::newRow("select") << "SELECT * FROM perguntas";
    QTest::newRow("exec inside a literal") << "Select * from utilizadores where username = 'EXEC x'";
    QTest::newRow("word beginning with exec") << "EXECUTIVE_SUMMARY";
}

void TestSqlText::leavesOtherStatementsAlone() {
    QFETCH(QString, statement);
    QVERIFY(!ExecCall::parse(statement).has_value());
}

void TestSqlText::rejectsMalformedCalls_data() {
    QTest::addColumn<QString>("statement");

    QTest::newRow("no name") << "EXEC";
    QTest::newRow("quote instead of name") << "EXEC 'a'";
    QTest::newRow("unclosed quote") << "EXEC p'a";
    QTest::newRow("trailing comma") << "EXEC p'a',";
    QTest::newRow("missing comma") << "EXEC p'a' 'b'";
    QTest::newRow("second statement") << "EXEC p'a'; DROP TABLE utilizadores";
    QTest::newRow("named argument") << "EXEC p @x='a'";
    QTest::newRow("lone minus") << "EXEC p -";
    QTest::newRow("parenthesis") << "EXEC p('a')";
    QTest::newRow("schema-qualified") << "EXEC dbo.p 'a'";
    QTest::newRow("number too large") << "EXEC p 99999999999999999999999";
}

void TestSqlText::rejectsMalformedCalls() {
    QFETCH(QString, statement);
    QVERIFY_THROWS_EXCEPTION(Error, ExecCall::parse(statement));
}

void TestSqlText::survivesArbitraryText() {
    // Random splices of a call's own pieces reach the corners of the reader: each must give a
    // call or a readable Error, never a crash.
    const QStringList pieces = {"EXEC", " ", "p", "'", "''", ",", ";", "N", "-", "1", ".", "NULL", "\n", "x", "ç"};
    QRandomGenerator random(20260101);
    for (int round = 0; round < 20000; ++round) {
        QString statement = QStringLiteral("EXEC p");
        const int length = random.bounded(1, 14);
        for (int i = 0; i < length; ++i) {
            statement += pieces.at(random.bounded(int(pieces.size())));
        }
        try {
            const std::optional<ExecCall> call = ExecCall::parse(statement);
            QVERIFY(call.has_value());
            QVERIFY(call->procedure.startsWith(QLatin1Char('p')));
        } catch (const Error& error) {
            QVERIFY(error.text().startsWith(QLatin1String("Malformed procedure call")));
        }
    }
}

QTEST_GUILESS_MAIN(TestSqlText)
#include "tst_sqltext.moc"
