// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#include "common/Error.h"
#include "model/CsvTable.h"

#include <QTest>

using namespace korvell;

using Rows = QList<QStringList>;

namespace {

Rows allRows(const CsvTable& table) {
    Rows rows{table.header()};
    for (int i = 0; i < table.rowCount(); ++i)
        rows << table.row(i);
    return rows;
}

} // namespace

class TestCsv : public QObject {
    Q_OBJECT
private slots:
    void parse_data();
    void parse();
    void errors_data();
    void errors();
    void rowLines();
    void format_data();
    void format();
    void roundTrip();
};

void TestCsv::parse_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<Rows>("rows");
    QTest::newRow("plain") << "a,b\n1,2\n" << Rows{{"a", "b"}, {"1", "2"}};
    QTest::newRow("no final break") << "a,b\n1,2" << Rows{{"a", "b"}, {"1", "2"}};
    QTest::newRow("crlf") << "a,b\r\n1,2\r\n3,4\r\n" << Rows{{"a", "b"}, {"1", "2"}, {"3", "4"}};
    QTest::newRow("cr only") << "a,b\r1,2\r" << Rows{{"a", "b"}, {"1", "2"}};
    QTest::newRow("empty cells") << "a,b,c\n,,\n1,,\n" << Rows{{"a", "b", "c"}, {"", "", ""}, {"1", "", ""}};
    QTest::newRow("quoted empty") << "a,b\n\"\",x\n" << Rows{{"a", "b"}, {"", "x"}};
    QTest::newRow("quoted comma and quote") << "a,b\n\"x,y\",\"say \"\"hi\"\"\"\n"
                                            << Rows{{"a", "b"}, {"x,y", "say \"hi\""}};
    QTest::newRow("quoted line breaks") << "a,b\n\"1\r\n2\",\"3\n4\"\n" << Rows{{"a", "b"}, {"1\r\n2", "3\n4"}};
    QTest::newRow("blank lines skipped") << "\n\na,b\n\n1,2\r\n\r\n" << Rows{{"a", "b"}, {"1", "2"}};
    QTest::newRow("bom dropped") << QStringLiteral("\uFEFFa\n1\n") << Rows{{"a"}, {"1"}};
    QTest::newRow("spaces kept") << "a, b\n 1 ,2\n" << Rows{{"a", " b"}, {" 1 ", "2"}};
    QTest::newRow("header only") << "a,b\n" << Rows{{"a", "b"}};
    QTest::newRow("unicode") << QStringLiteral("produto\nProdução\n")
                             << Rows{{"produto"}, {QStringLiteral("Produção")}};
}

void TestCsv::parse() {
    QFETCH(QString, text);
    QFETCH(Rows, rows);
    QCOMPARE(allRows(CsvTable::parse(text)), rows);
}

void TestCsv::errors_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    QTest::newRow("empty") << ""
                           << "line 1, column 1: no header row";
    QTest::newRow("only blank lines") << "\r\n\n"
                                      << "line 1, column 1: no header row";
    QTest::newRow("unterminated") << "a,b\n1,\"2\n3\n"
                                  << "line 2, column 2: quoted field is not closed";
    QTest::newRow("unterminated header") << "\"a"
                                         << "line 1, column 1: quoted field is not closed";
    QTest::newRow("text after quote") << "a,b\n1,\"2\"x\n"
                                      << "line 2, column 2: text after the closing quote";
    QTest::newRow("bare quote") << "a,b\n1,2\"3\n"
                                << "line 2, column 2: quote inside a field that does not begin with one";
    QTest::newRow("too few") << "a,b,c\n1,2,3\n1,2\n"
                             << "line 3, column 3: missing field (the header has 3 columns)";
    QTest::newRow("too many") << "a,b\n1,2,3\n"
                              << "line 2, column 3: more fields than the header's 2 columns";
    QTest::newRow("trailing comma") << "a,b\n1,2,\n"
                                    << "line 2, column 3: more fields than the header's 2 columns";
    QTest::newRow("line after multi-line field") << "a,b\n\"x\ny\",1\n1\n"
                                                 << "line 4, column 2: missing field (the header has 2 columns)";
}

void TestCsv::errors() {
    QFETCH(QString, text);
    QFETCH(QString, message);
    try {
        CsvTable::parse(text);
        QFAIL("no error");
    } catch (const Error& e) {
        QCOMPARE(e.text(), message);
    }
}

void TestCsv::rowLines() {
    const CsvTable table = CsvTable::parse(u"\r\na\n\n1\n\"x\ny\"\n2\n");
    QCOMPARE(table.headerLine(), 2);
    QCOMPARE(table.rowCount(), 3);
    QCOMPARE(table.lineOf(0), 4);
    QCOMPARE(table.lineOf(1), 5);
    QCOMPARE(table.lineOf(2), 7);
}

void TestCsv::format_data() {
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<QString>("line");
    QTest::newRow("plain") << QStringList{"a", "1.5", ""} << "a,1.5,";
    QTest::newRow("comma") << QStringList{"x,y", "z"} << "\"x,y\",z";
    QTest::newRow("quote") << QStringList{"say \"hi\""} << "\"say \"\"hi\"\"\"";
    QTest::newRow("line break") << QStringList{"1\r\n2", "3\r"} << "\"1\r\n2\",\"3\r\"";
    QTest::newRow("spaces") << QStringList{" a "} << " a ";
}

void TestCsv::format() {
    QFETCH(QStringList, fields);
    QFETCH(QString, line);
    QCOMPARE(CsvTable::formatRow(fields), line);
}

void TestCsv::roundTrip() {
    const QStringList header{"h1", "h2", "h3"};
    const QStringList row{"\"", ",\n,", "\r"};
    const QString text = CsvTable::formatRow(header) + u'\n' + CsvTable::formatRow(row) + u'\n';
    QCOMPARE(allRows(CsvTable::parse(text)), (Rows{header, row}));
}

QTEST_GUILESS_MAIN(TestCsv)
#include "tst_csv.moc"
