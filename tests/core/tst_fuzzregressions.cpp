// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
//
// Inputs that the fuzz targets once failed on, each checked for the property that broke.
#include "common/Error.h"
#include "model/CsvTable.h"

#include <QTest>

using namespace korvell;

namespace {

QList<QStringList> allRows(const CsvTable& table) {
    QList<QStringList> rows{table.header()};
    for (int i = 0; i < table.rowCount(); ++i)
        rows << table.row(i);
    return rows;
}

} // namespace

class TestFuzzRegressions : public QObject {
    Q_OBJECT
private slots:
    void csvWrittenTableReadsBack_data();
    void csvWrittenTableReadsBack();
};

void TestFuzzRegressions::csvWrittenTableReadsBack_data() {
    QTest::addColumn<QByteArray>("input");
    QTest::newRow("one column, empty field (fuzz crash)") << QByteArray::fromBase64(
        "cHJvZAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAeTJ2eAoiIg==");
    QTest::newRow("one column, empty field") << QByteArray("product\n\"\"\n");
    QTest::newRow("one column, empty header") << QByteArray("\"\"\nAlpha\n\"\"\n");
    QTest::newRow("byte-order marks in the first field (fuzz crash)")
        << QByteArray::fromBase64("77u/77u/77u/eCx2X3kKIix4LHZfeQoiLA0=");
    QTest::newRow("byte-order mark in a later field") << QByteArray("\xEF\xBB\xBF\xEF\xBB\xBF"
                                                                    "a,\xEF\xBB\xBF\n1,2\n");
    QTest::newRow("empty field between others") << QByteArray("p\r\nA\r\n\"\"\r\nB\r\n");
}

void TestFuzzRegressions::csvWrittenTableReadsBack() {
    QFETCH(QByteArray, input);
    const CsvTable table = CsvTable::parse(QString::fromUtf8(input));
    QString written;
    for (const QStringList& row : allRows(table))
        written += CsvTable::formatRow(row) + QStringLiteral("\r\n");
    QCOMPARE(allRows(CsvTable::parse(written)), allRows(table));
}

QTEST_GUILESS_MAIN(TestFuzzRegressions)
#include "tst_fuzzregressions.moc"
