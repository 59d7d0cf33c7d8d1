// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#include "common/Error.h"
#include "db/Connection.h"
#include "db/DataLinkFile.h"
#include "db/OleDbString.h"
#include "db/SiteConnection.h"
#include "db/SqlServerBackend.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace korvell;

namespace {

const QString testData = QStringLiteral(KORVELL_TEST_DATA "/db/");

// The text of the Error that body throws; fails the test when it throws none.
template <typename Body> QString errorOf(Body body) {
    try {
        body();
    } catch (const Error& error) {
        return error.text();
    }
    return {};
}

} // namespace

class TestConnectionString : public QObject {
    Q_OBJECT

private slots:
    void parsesKeywordValuePairs_data();
    void parsesKeywordValuePairs();
    void rejectsMalformedStrings_data();
    void rejectsMalformedStrings();
    void readsDataLinkFiles_data();
    void readsDataLinkFiles();
    void rejectsMalformedDataLinkFiles_data();
    void rejectsMalformedDataLinkFiles();
    void fileNameReadsTheDataLinkFile();
    void translatesSqlServerSettingsToOdbc_data();
    void translatesSqlServerSettingsToOdbc();
    void rejectsSqlServerSettingsThatCannotWork_data();
    void rejectsSqlServerSettingsThatCannotWork();
    void siteStringsHaveTheirKnownForm();
};

void TestConnectionString::parsesKeywordValuePairs_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("keyword");
    QTest::addColumn<QString>("value");

    QTest::newRow("plain") << "Provider=SQLite;Data Source=x.db"
                           << "data source"
                           << "x.db";
    QTest::newRow("keyword case and blanks") << " provider = SQLite ;  DATA   Source = x.db ;"
                                             << "Data Source"
                                             << "x.db";
    QTest::newRow("blanks inside a value kept") << "Data Source= My Files/x.db "
                                                << "data source"
                                                << "My Files/x.db";
    QTest::newRow("double-quoted with ;") << "Password=\"a;b\";User ID=u"
                                          << "password"
                                          << "a;b";
    QTest::newRow("single-quoted, doubled quote") << "Password='it''s';User ID=u"
                                                  << "password"
                                                  << "it's";
    QTest::newRow("double quote inside single quotes") << "Password='say \"hi\"'"
                                                       << "password"
                                                       << "say \"hi\"";
    QTest::newRow("blank after quoted value") << "Password=\"x\" ;User ID=u"
                                              << "user id"
                                              << "u";
    QTest::newRow("empty value") << "Password=;User ID=u"
                                 << "password"
                                 << "";
    QTest::newRow("= inside a value") << "Password=a=b"
                                      << "password"
                                      << "a=b";
    QTest::newRow("last of a repeated keyword") << "User ID=a;user id=b"
                                                << "User ID"
                                                << "b";
    QTest::newRow("built-in form") << " Provider=SQLOLEDB.1; Password=Kv7#pQ2!mZ9w;Persist Security Info=True;"
                                      "User ID=app;Initial Catalog=korvell;Data Source=10.0.0.5,1433"
                                   << "data source"
                                   << "10.0.0.5,1433";
    QTest::newRow("empty parts") << ";Provider=SQLite;; ;Data Source=x.db;;"
                                 << "data source"
                                 << "x.db";
    QTest::newRow("missing keyword reads empty") << "Provider=SQLite"
                                                 << "password"
                                                 << "";
}

void TestConnectionString::parsesKeywordValuePairs() {
    QFETCH(QString, text);
    QFETCH(QString, keyword);
    QFETCH(QString, value);
    QCOMPARE(OleDbString::parse(text).value(keyword), value);
}

void TestConnectionString::rejectsMalformedStrings_data() {
    QTest::addColumn<QString>("text");

    QTest::newRow("part without =") << "Provider=SQLite;secretword";
    QTest::newRow("value without keyword") << "=secretword;Provider=SQLite";
    QTest::newRow("unclosed quote") << "Provider=SQLite;Password=\"secretword";
    QTest::newRow("text after quote") << "Password=\"secret\"word;Provider=SQLite";
}

void TestConnectionString::rejectsMalformedStrings() {
    QFETCH(QString, text);
    const QString error = errorOf([&] { OleDbString::parse(text); });
    QVERIFY(!error.isEmpty());
    QVERIFY2(!error.contains(QLatin1String("secret")), qPrintable(error));
}

void TestConnectionString::readsDataLinkFiles_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("provider");
    QTest::addColumn<QString>("keyword");
    QTest::addColumn<QString>("value");

    QTest::newRow("UTF-16LE written by Windows") << "windows-sqlserver.udl"
                                                 << "SQLOLEDB.1"
                                                 << "Password"
                                                 << "Tr0ub4dor&3";
    QTest::newRow("UTF-8 without mark") << "utf8-sqlite.udl"
                                        << "SQLite"
                                        << "Data Source"
                                        << "relative/demo.db";
    QTest::newRow("UTF-8 with mark, quoted values") << "utf8-bom-postgresql.udl"
                                                    << "PostgreSQL"
                                                    << "Password"
                                                    << "p;w=d";
}

void TestConnectionString::readsDataLinkFiles() {
    QFETCH(QString, file);
    QFETCH(QString, provider);
    QFETCH(QString, keyword);
    QFETCH(QString, value);
    const OleDbString settings = OleDbString::parse(DataLinkFile::read(testData + file));
    QCOMPARE(settings.value(QStringLiteral("Provider")), provider);
    QCOMPARE(settings.value(keyword), value);
}

void TestConnectionString::rejectsMalformedDataLinkFiles_data() {
    QTest::addColumn<QByteArray>("bytes");

    const auto utf16 = [](const QString& text) {
        return QByteArray("\xFF\xFE") + QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    };
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("blank lines only") << QByteArray("\r\n\r\n");
    QTest::newRow("no [oledb] line") << QByteArray("Provider=SQLite;Data Source=x.db\r\n");
    QTest::newRow("comment only") << utf16(QStringLiteral("[oledb]\r\n; comment\r\n"));
    QTest::newRow("odd UTF-16 length") << QByteArray(utf16(QStringLiteral("[oledb]\r\nProvider=SQLite")) + 'x');
    QTest::newRow("not UTF-8") << QByteArray("[oledb]\nProvider=\xC3\x28\xFF");
    QTest::newRow("binary") << QByteArray("\x00\x01\x02\x03\xFE\xFD", 6);
}

void TestConnectionString::rejectsMalformedDataLinkFiles() {
    QFETCH(QByteArray, bytes);
    QVERIFY(!errorOf([&] { DataLinkFile::decode(bytes); }).isEmpty());
}

void TestConnectionString::fileNameReadsTheDataLinkFile() {
    const OleDbString fromFile =
        Connection::resolve(QStringLiteral("File Name=") + testData + QStringLiteral("windows-sqlserver.udl"));
    QCOMPARE(fromFile.value(QStringLiteral("User ID")), QStringLiteral("sa"));

    // A keyword beside the file name overrides the file's.
    const OleDbString overridden = Connection::resolve(QStringLiteral("file name=") + testData +
                                                       QStringLiteral("windows-sqlserver.udl;User ID=other"));
    QCOMPARE(overridden.value(QStringLiteral("User ID")), QStringLiteral("other"));
    QCOMPARE(overridden.value(QStringLiteral("Initial Catalog")), QStringLiteral("korvell"));

    const QString missing = errorOf([] { Connection::resolve(QStringLiteral("file name=/nonexistent/x.udl")); });
    QVERIFY2(missing.contains(QLatin1String("/nonexistent/x.udl")), qPrintable(missing));
    QVERIFY(!errorOf([] { Connection::resolve(QStringLiteral("file name=") + testData + "no-header.udl"); }).isEmpty());
    QVERIFY(!errorOf([] {
                 Connection::resolve(QStringLiteral("file name=") + testData + "no-connection-string.udl");
             }).isEmpty());

    QTemporaryDir dir;
    QFile nested(dir.filePath(QStringLiteral("nested.udl")));
    QVERIFY(nested.open(QIODevice::WriteOnly));
    nested.write("[oledb]\nFile Name=" + nested.fileName().toUtf8() + "\n");
    nested.close();
    QVERIFY(!errorOf([&] { Connection::resolve(QStringLiteral("file name=") + nested.fileName()); }).isEmpty());
}

void TestConnectionString::translatesSqlServerSettingsToOdbc_data() {
    QTest::addColumn<QString>("oledb");
    QTest::addColumn<QString>("odbc");

    const QString driver = QFileInfo::exists(QStringLiteral("/usr/lib/x86_64-linux-gnu/odbc/libtdsodbc.so"))
                               ? QStringLiteral("/usr/lib/x86_64-linux-gnu/odbc/libtdsodbc.so")
                               : QStringLiteral("{FreeTDS}");
    const QString tail = QStringLiteral(";TDS_Version=7.4;ClientCharset=UTF-8");
    QTest::newRow("host,port") << " Provider=SQLOLEDB.1; Password=Kv7#pQ2!mZ9w;Persist Security Info=True;User "
                                  "ID=app;Initial Catalog=korvell;Data Source=10.0.0.5,1500"
                               << "DRIVER=" + driver +
                                      ";SERVER=10.0.0.5;PORT=1500;DATABASE=korvell;UID=app;PWD=Kv7#pQ2!mZ9w" + tail;
    QTest::newRow("host only: default port")
        << "Provider=SQLOLEDB;Data Source=db.example.org;User ID=a;Password=b"
        << "DRIVER=" + driver + ";SERVER=db.example.org;PORT=1433;UID=a;PWD=b" + tail;
    QTest::newRow("named instance: no port") << "Provider=MSOLEDBSQL;Data Source=SRV\\SQLEXPRESS;User ID=a;Password=b"
                                             << "DRIVER=" + driver + ";SERVER=SRV\\SQLEXPRESS;UID=a;PWD=b" + tail;
    QTest::newRow("tcp: prefix, (local)") << "Provider=SQLNCLI11;Data Source=tcp:(local),1433;User ID=a;Password=b"
                                          << "DRIVER=" + driver + ";SERVER=127.0.0.1;PORT=1433;UID=a;PWD=b" + tail;
    QTest::newRow("values that would end their attribute")
        << "Provider=SQLOLEDB.1;Data Source=h,1;Initial "
           "Catalog=\"a;b\";User ID=\" u\";Password=\"x;}y=\""
        << "DRIVER=" + driver + ";SERVER=h;PORT=1;DATABASE={a;b};UID={ u};PWD={x;}}y=}" + tail;
    QTest::newRow("keywords Windows writes") << DataLinkFile::read(testData + "windows-sqlserver.udl")
                                             << "DRIVER=" + driver +
                                                    ";SERVER=db.example.org;PORT=1433;DATABASE=korvell;UID=sa;"
                                                    "PWD=Tr0ub4dor&3" +
                                                    tail;
}

void TestConnectionString::translatesSqlServerSettingsToOdbc() {
    QFETCH(QString, oledb);
    QFETCH(QString, odbc);
    QCOMPARE(SqlServerBackend::odbcConnectionString(OleDbString::parse(oledb)), odbc);
}

void TestConnectionString::rejectsSqlServerSettingsThatCannotWork_data() {
    QTest::addColumn<QString>("oledb");

    QTest::newRow("unknown keyword") << "Provider=SQLOLEDB.1;Data Source=h;Colour=blue";
    QTest::newRow("Windows authentication") << "Provider=SQLOLEDB.1;Data Source=h;Integrated Security=SSPI";
    QTest::newRow("no server") << "Provider=SQLOLEDB.1;User ID=a;Password=b";
    QTest::newRow("port not a number") << "Provider=SQLOLEDB.1;Data Source=h,port";
    QTest::newRow("port out of range") << "Provider=SQLOLEDB.1;Data Source=h,70000";
    QTest::newRow("timeout not a number") << "Provider=SQLOLEDB.1;Data Source=h;Connect Timeout=soon";
}

void TestConnectionString::rejectsSqlServerSettingsThatCannotWork() {
    QFETCH(QString, oledb);
    const OleDbString settings = OleDbString::parse(oledb);
    QVERIFY(!errorOf([&] {
                 SqlServerBackend::odbcConnectionString(settings);
                 SqlServerBackend::connectOptions(settings);
             }).isEmpty());
}

void TestConnectionString::siteStringsHaveTheirKnownForm() {
    const QRegularExpression form(QStringLiteral("^ Provider=SQLOLEDB\\.1; Password=[^;]{12};Persist Security "
                                                 "Info=True;User ID=[^;]+;Initial Catalog=[^;]+;Data "
                                                 "Source=[^;,]+,\\d+$"));
    QVERIFY2(form.match(builtInConnectionString()).hasMatch(), "built-in string out of form");
    QVERIFY2(form.match(reconnectConnectionString()).hasMatch(), "reconnect string out of form");
    const OleDbString settings = OleDbString::parse(builtInConnectionString());
    QCOMPARE(settings.keywords(), QStringList({"provider", "password", "persist security info", "user id",
                                               "initial catalog", "data source"}));
    QCOMPARE(SqlServerBackend::connectOptions(settings), QStringLiteral("SQL_ATTR_LOGIN_TIMEOUT=5"));
}

QTEST_GUILESS_MAIN(TestConnectionString)
#include "tst_connectionstring.moc"
