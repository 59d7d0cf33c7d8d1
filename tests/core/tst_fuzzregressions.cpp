// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
//
// Inputs that the fuzz targets once failed on, each checked for the property that broke.
#include "common/Error.h"
#include "localisation/IniFile.h"
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
    void iniSetValueReadsBack_data();
    void iniSetValueReadsBack();
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

void TestFuzzRegressions::iniSetValueReadsBack_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("accepted");
    const QByteArray utf8 = "\xEF\xBB\xBF[SAVED_VARS]\nPREF_LANG=English\n";
    const QByteArray ansi = "[SAVED_VARS]\r\nPREF_LANG=English\r\n";
    const char16_t crashSection[] =
        u"\x794E\x6B45\xFFFD\x9AA8\xDDFE\xDD89\x689C\x6868\x6868\x6868\x6868\x6775\xC375\x73AA";
    QTest::newRow("unpaired surrogates in a new section, UTF-8 file (fuzz crash)")
        << QByteArray::fromBase64(
               "77u/VkVEX1ZBMlJTXQohUFJFRl9MSU4HAEc9RW5nbGlzaAoAU01WRURfVkFSUwEAAGDgACUT2WcBIFAAU0FWRQBTTVZF"
               "RF9WQVJTAQAAYOAAJRPZZwEgUABTQVZFAQA=")
        << QString::fromUtf16(crashSection) << QString(QChar(0x455E)) << QString(QChar(0x656B)) << false;
    QTest::newRow("unpaired high surrogate in a new key, UTF-8 file")
        << utf8 << "SAVED_VARS" << QString::fromUtf16(u"\xD83DK") << "v" << false;
    QTest::newRow("unpaired low surrogate in a value, UTF-8 file")
        << utf8 << "SAVED_VARS"
        << "PREF_LANG" << QString::fromUtf16(u"x\xDE00") << false;
    QTest::newRow("unpaired surrogate in a value, Windows-1252 file") << ansi << "SAVED_VARS"
                                                                      << "PREF_LANG" << QString(QChar(0xD83D)) << false;
    const char16_t crashKey[] = u"\x5020\x726F\x7574\x7567\xAAC3\x2073";
    const char16_t crashValue[] = u"\x6868\x6868\x6868\x6868\x6868\x6775\xC37B\x73AA";
    QTest::newRow("section named U+FEFF, UTF-8 file (fuzz crash)")
        << QByteArray::fromBase64("77u/Wyh5AAD+//+OCltM//"
                                  "9sbmcNYmFyYw1uDQpbDQ0NDQ0NDQ0NDQ0NDQ0NDQ0NDQ0NDQ0NDQ0NDQ09IXJHJnJpZF9TaG93c3RyYXIg"
                                  "9FtTQVZFRF9WQTJSU10KIVBSRUZfTElORz1FbmdsaXNoCgBTTVZFRF9WQVJTAQAAYOAAJRPZZIUgAwDgYAB1"
                                  "YWxzIHNpZ24NCltMQU5H"
                                  "X2cNYmFyYw1uDQpbDQ1GSUxnASBQAFNBVkUAU01WRURfVkFSUwEAAGDgACUT2WcBIFAAU0FWRQEA")
        << QString(QChar(0xFEFF)) << QString::fromUtf16(crashKey) << QString::fromUtf16(crashValue) << true;
    QTest::newRow("value beginning with U+FEFF, UTF-8 file")
        << utf8 << "SAVED_VARS"
        << "PREF_LANG" << QString::fromUtf16(u"\xFEFF" u"English") << true;
    QTest::newRow("surrogate pair in a value, UTF-8 file")
        << utf8 << "SAVED_VARS"
        << "PREF_LANG" << QString::fromUtf16(u"Emoji \xD83D\xDE00") << true;
}

void TestFuzzRegressions::iniSetValueReadsBack() {
    QFETCH(QByteArray, file);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(bool, accepted);
    IniFile ini = IniFile::parse(file);
    bool stored = true;
    try {
        ini.setValue(section, key, value);
    } catch (const Error&) {
        stored = false;
    }
    QCOMPARE(stored, accepted);
    if (stored) {
        QCOMPARE(IniFile::parse(ini.bytes()).value(section, key), value);
    } else {
        QCOMPARE(ini.bytes(), file);
    }
}

QTEST_GUILESS_MAIN(TestFuzzRegressions)
#include "tst_fuzzregressions.moc"
