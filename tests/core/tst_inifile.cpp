// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#include "common/Error.h"
#include "localisation/IniFile.h"
#include "localisation/Windows1252.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

using korvell::IniFile;
using korvell::Windows1252;

namespace {

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

} // namespace

class TestIniFile : public QObject {
    Q_OBJECT

private slots:
    void readValue_data();
    void readValue();
    void listKeys_data();
    void listKeys();
    void writeValue_data();
    void writeValue();
    void writtenValuesReadBack_data();
    void writtenValuesReadBack();
    void rejectsWhatCannotBeStored_data();
    void rejectsWhatCannotBeStored();
    void windows1252RoundTrip();
    void windows1252Mapping();
    void survivesBinaryInput();
    void readsMegabytes();
    void fileFunctions();
    void writeFailuresLeaveFileAlone();
};

void TestIniFile::readValue_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");

    const QByteArray basic = "[Main]\r\nName=Value\r\n";
    QTest::newRow("exact") << basic << "Main"
                           << "Name"
                           << "Value";
    QTest::newRow("section case") << basic << "mAIN"
                                  << "Name"
                                  << "Value";
    QTest::newRow("key case") << basic << "Main"
                              << "NAME"
                              << "Value";
    QTest::newRow("missing key") << basic << "Main"
                                 << "Other"
                                 << "";
    QTest::newRow("missing section") << basic << "Other"
                                     << "Name"
                                     << "";
    QTest::newRow("empty file") << QByteArray() << "Main"
                                << "Name"
                                << "";
    QTest::newRow("empty key asked") << basic << "Main"
                                     << ""
                                     << "";

    QTest::newRow("first section wins") << QByteArray("[A]\nk=1\n[a]\nk=2\nj=3\n") << "A"
                                        << "k"
                                        << "1";
    QTest::newRow("repeated section hidden") << QByteArray("[A]\nk=1\n[a]\nk=2\nj=3\n") << "A"
                                             << "j"
                                             << "";
    QTest::newRow("first key wins") << QByteArray("[A]\nk=1\nK=2\n") << "A"
                                    << "k"
                                    << "1";

    QTest::newRow("blanks") << QByteArray("[A]\n  k \t=  some value \t\n") << "A"
                            << "k"
                            << "some value";
    QTest::newRow("quoted blanks") << QByteArray("[A]\nk=\"  Hint \"\n") << "A"
                                   << "k"
                                   << "  Hint ";
    QTest::newRow("one pair of quotes") << QByteArray("[A]\nk=\"\"x\"\"\n") << "A"
                                        << "k"
                                        << "\"x\"";
    QTest::newRow("empty quotes") << QByteArray("[A]\nk=\"\"\n") << "A"
                                  << "k"
                                  << "";
    QTest::newRow("lone quote") << QByteArray("[A]\nk=\"\n") << "A"
                                << "k"
                                << "\"";
    QTest::newRow("inner quotes") << QByteArray("[A]\nk=Needed \"Capability\"\n") << "A"
                                  << "k"
                                  << "Needed \"Capability\"";
    QTest::newRow("leading quote only") << QByteArray("[A]\nk=\"Cap\" Needed\n") << "A"
                                        << "k"
                                        << "\"Cap\" Needed";
    QTest::newRow("quotes then blanks") << QByteArray("[A]\nk= \"a b\" \n") << "A"
                                        << "k"
                                        << "a b";
    QTest::newRow("equals in value") << QByteArray("[A]\nk=a=b\n") << "A"
                                     << "k"
                                     << "a=b";
    QTest::newRow("empty value") << QByteArray("[A]\nk=\nj=2\n") << "A"
                                 << "k"
                                 << "";

    QTest::newRow("comment line") << QByteArray("[A]\n;k=1\nk=2\n") << "A"
                                  << "k"
                                  << "2";
    QTest::newRow("indented comment") << QByteArray("[A]\n  ;k=1\n") << "A"
                                      << ";k"
                                      << "";
    QTest::newRow("semicolon in value") << QByteArray("[A]\nk=a;b\n") << "A"
                                        << "k"
                                        << "a;b";
    QTest::newRow("line without equals") << QByteArray("[A]\nnoise\nk=2\n") << "A"
                                         << "noise"
                                         << "";
    QTest::newRow("key after noise") << QByteArray("[A]\nnoise\nk=2\n") << "A"
                                     << "k"
                                     << "2";
    QTest::newRow("key before sections") << QByteArray("k=0\n[A]\nj=1\n") << "A"
                                         << "k"
                                         << "";
    QTest::newRow("empty key name") << QByteArray("[A]\n=x\nk=1\n") << "A"
                                    << ""
                                    << "";
    QTest::newRow("section blanks") << QByteArray("  [ A B ]  trailing\nk=1\n") << "a b"
                                    << "k"
                                    << "1";
    QTest::newRow("unclosed section") << QByteArray("[A\nk=1\n") << "A"
                                      << "k"
                                      << "1";

    QTest::newRow("LF") << QByteArray("[A]\nk=1\nj=2\n") << "A"
                        << "j"
                        << "2";
    QTest::newRow("CRLF") << QByteArray("[A]\r\nk=1\r\nj=2\r\n") << "A"
                          << "k"
                          << "1";
    QTest::newRow("mixed") << QByteArray("[A]\r\nk=1\nj=2\r\n") << "A"
                           << "j"
                           << "2";
    QTest::newRow("no final line break") << QByteArray("[A]\r\nk=last") << "A"
                                         << "k"
                                         << "last";
    QTest::newRow("truncated quote") << QByteArray("[A]\r\nk=\"  Hin") << "A"
                                     << "k"
                                     << "\"  Hin";

    QTest::newRow("cp1252 accents") << QByteArray("[A]\nk=Portugu\xeas, a\xe7\xe3o\n") << "A"
                                    << "k" << QString::fromUtf8("Português, ação");
    QTest::newRow("cp1252 high") << QByteArray("[A]\nk=\x80 \x93x\x94 \x85\n") << "A"
                                 << "k" << QString::fromUtf8("€ “x” …");
    QTest::newRow("cp1252 section") << QByteArray("[Se\xe7\xe3o]\nk=1\n") << QString::fromUtf8("SEÇÃO") << "k"
                                    << "1";
    QTest::newRow("utf8 bom") << QByteArray("\xEF\xBB\xBF[A]\nk=a\xC3\xA7\xC3\xA3o\n") << "A"
                              << "k" << QString::fromUtf8("ação");
    QTest::newRow("bom then section") << QByteArray("\xEF\xBB\xBF[A]\nk=1\n") << "A"
                                      << "k"
                                      << "1";
    QTest::newRow("invalid utf8 after bom") << QByteArray("\xEF\xBB\xBF[A]\nk=a\xC3(\xFF\nj=ok\n") << "A"
                                            << "k" << QString::fromUtf8("a\uFFFD(\uFFFD");
    QTest::newRow("key after invalid utf8") << QByteArray("\xEF\xBB\xBF[A]\nk=a\xC3(\xFF\nj=ok\n") << "A"
                                            << "j"
                                            << "ok";
    QTest::newRow("nul bytes") << QByteArrayLiteral("[A]\nk=a\0b\nj=2\n") << "A"
                               << "j"
                               << "2";
}

void TestIniFile::readValue() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, expected);
    QCOMPARE(IniFile::parse(bytes).value(section, key), expected);
}

void TestIniFile::listKeys_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("file order") << QByteArray("[M]\nZulu=1\nalpha=2\nMike=3\n") << "m"
                                << QStringList{"Zulu", "alpha", "Mike"};
    QTest::newRow("each once") << QByteArray("[M]\nA=1\nB=2\na=3\n") << "M" << QStringList{"A", "B"};
    QTest::newRow("skips noise") << QByteArray("[M]\n;C=0\nnoise\n\n A =1\n=2\n") << "M" << QStringList{"A"};
    QTest::newRow("first section only") << QByteArray("[M]\nA=1\n[N]\nB=2\n[m]\nC=3\n") << "M" << QStringList{"A"};
    QTest::newRow("empty section") << QByteArray("[M]\n[N]\nB=2\n") << "M" << QStringList();
    QTest::newRow("missing section") << QByteArray("[M]\nA=1\n") << "N" << QStringList();
    QTest::newRow("cp1252 key") << QByteArray("[M]\nPortugu\xeas=1\n") << "M"
                                << QStringList{QString::fromUtf8("Português")};
}

void TestIniFile::listKeys() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, section);
    QFETCH(QStringList, expected);
    QCOMPARE(IniFile::parse(bytes).keys(section), expected);
}

void TestIniFile::writeValue_data() {
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QByteArray>("after");

    const QByteArray settings = "; settings\r\n"
                                "[SAVED_VARS]\r\n"
                                "  pref_lang = English  \r\n"
                                "Other=\"kept\"\r\n"
                                "\r\n"
                                "[LANG_FILES]\r\n"
                                "English=English.lng\r\n";
    QTest::newRow("replace value only") << settings << "SAVED_VARS"
                                        << "PREF_LANG"
                                        << "Portuguese"
                                        << QByteArray("; settings\r\n"
                                                      "[SAVED_VARS]\r\n"
                                                      "  pref_lang =Portuguese\r\n"
                                                      "Other=\"kept\"\r\n"
                                                      "\r\n"
                                                      "[LANG_FILES]\r\n"
                                                      "English=English.lng\r\n");
    QTest::newRow("add key after last key") << settings << "saved_vars"
                                            << "New"
                                            << "1"
                                            << QByteArray("; settings\r\n"
                                                          "[SAVED_VARS]\r\n"
                                                          "  pref_lang = English  \r\n"
                                                          "Other=\"kept\"\r\n"
                                                          "New=1\r\n"
                                                          "\r\n"
                                                          "[LANG_FILES]\r\n"
                                                          "English=English.lng\r\n");
    QTest::newRow("add section at end") << settings << "EXTRA"
                                        << "k"
                                        << "v" << settings + QByteArray("[EXTRA]\r\nk=v\r\n");
    QTest::newRow("empty value") << QByteArray("[A]\nk=1\n") << "A"
                                 << "k"
                                 << "" << QByteArray("[A]\nk=\n");
    QTest::newRow("first of repeated sections") << QByteArray("[A]\nk=1\n[A]\nk=2\n") << "a"
                                                << "K"
                                                << "3" << QByteArray("[A]\nk=3\n[A]\nk=2\n");
    QTest::newRow("first of repeated keys") << QByteArray("[A]\nk=1\nk=2\n") << "A"
                                            << "k"
                                            << "3" << QByteArray("[A]\nk=3\nk=2\n");
    QTest::newRow("after repeated keys") << QByteArray("[A]\nk=1\nk=2\n;c\n[B]\n") << "A"
                                         << "j"
                                         << "3" << QByteArray("[A]\nk=1\nk=2\nj=3\n;c\n[B]\n");
    QTest::newRow("section without keys") << QByteArray("[A]\n\n[B]\nk=1\n") << "A"
                                          << "j"
                                          << "2" << QByteArray("[A]\nj=2\n\n[B]\nk=1\n");
    QTest::newRow("header ends the file") << QByteArray("[A]\r\nk=1\r\n[B]") << "B"
                                          << "j"
                                          << "2" << QByteArray("[A]\r\nk=1\r\n[B]\r\nj=2");
    QTest::newRow("last key ends the file") << QByteArray("[A]\nk=1") << "A"
                                            << "j"
                                            << "2" << QByteArray("[A]\nk=1\nj=2");
    QTest::newRow("new section, no final break") << QByteArray("[A]\nk=1") << "B"
                                                 << "j"
                                                 << "2" << QByteArray("[A]\nk=1\n[B]\nj=2\n");
    QTest::newRow("empty file") << QByteArray() << "A"
                                << "k"
                                << "1" << QByteArray("[A]\r\nk=1\r\n");
    QTest::newRow("bom only") << QByteArray("\xEF\xBB\xBF") << "A"
                              << "k" << QString::fromUtf8("ç") << QByteArray("\xEF\xBB\xBF[A]\r\nk=\xC3\xA7\r\n");
    QTest::newRow("utf8 file") << QByteArray("\xEF\xBB\xBF[A]\nk=1\n") << "A"
                               << "k" << QString::fromUtf8("ação")
                               << QByteArray("\xEF\xBB\xBF[A]\nk=a\xC3\xA7\xC3\xA3o\n");
    QTest::newRow("cp1252 file") << QByteArray("[A]\nk=1\n") << "A"
                                 << "k" << QString::fromUtf8("Português €") << QByteArray("[A]\nk=Portugu\xeas \x80\n");
    QTest::newRow("leading blanks quoted") << QByteArray("[A]\nk=1\n") << "A"
                                           << "k"
                                           << "  Hint" << QByteArray("[A]\nk=\"  Hint\"\n");
    QTest::newRow("enclosing quotes kept") << QByteArray("[A]\nk=1\n") << "A"
                                           << "k"
                                           << "\"x\"" << QByteArray("[A]\nk=\"\"x\"\"\n");
    QTest::newRow("inner quotes as is") << QByteArray("[A]\nk=1\n") << "A"
                                        << "k"
                                        << "Needed \"Capability\"" << QByteArray("[A]\nk=Needed \"Capability\"\n");
}

void TestIniFile::writeValue() {
    QFETCH(QByteArray, before);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(QByteArray, after);

    IniFile ini = IniFile::parse(before);
    ini.setValue(section, key, value);
    QCOMPARE(ini.bytes(), after);
    QCOMPARE(ini.value(section, key), value);
}

void TestIniFile::writtenValuesReadBack_data() {
    QTest::addColumn<QString>("value");
    QTest::newRow("plain") << "Portuguese";
    QTest::newRow("blanks both ends") << " a b ";
    QTest::newRow("only blanks") << "   ";
    QTest::newRow("quote") << "\"";
    QTest::newRow("quoted") << "\"a\" and \"b\"";
    QTest::newRow("quote and blank") << "\" ";
    QTest::newRow("equals and semicolon") << "=a;b=";
    QTest::newRow("brackets") << "[A]";
}

void TestIniFile::writtenValuesReadBack() {
    QFETCH(QString, value);
    IniFile ini = IniFile::parse("[A]\nk=1\nj=2\n");
    ini.setValue("A", "k", value);
    ini.setValue("A", "new", value);
    const IniFile reread = IniFile::parse(ini.bytes());
    QCOMPARE(reread.value("A", "k"), value);
    QCOMPARE(reread.value("A", "new"), value);
    QCOMPARE(reread.value("A", "j"), QString("2"));
}

void TestIniFile::rejectsWhatCannotBeStored_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");

    const QByteArray plain = "[A]\nk=1\n";
    QTest::newRow("line break in value") << plain << "A"
                                         << "k"
                                         << "1\n[B]";
    QTest::newRow("carriage return in value") << plain << "A"
                                              << "k"
                                              << "1\r";
    QTest::newRow("equals in key") << plain << "A"
                                   << "a=b"
                                   << "1";
    QTest::newRow("empty key") << plain << "A"
                               << ""
                               << "1";
    QTest::newRow("comment key") << plain << "A"
                                 << ";k"
                                 << "1";
    QTest::newRow("bracket key") << plain << "A"
                                 << "[k"
                                 << "1";
    QTest::newRow("blank around key") << plain << "A"
                                      << " k"
                                      << "1";
    QTest::newRow("line break in key") << plain << "A"
                                       << "k\nj"
                                       << "1";
    QTest::newRow("empty section") << plain << ""
                                   << "k"
                                   << "1";
    QTest::newRow("bracket in section") << plain << "A]"
                                        << "k"
                                        << "1";
    QTest::newRow("blank around section") << plain << "A "
                                          << "k"
                                          << "1";
    QTest::newRow("not in cp1252") << plain << "A"
                                   << "k" << QString::fromUtf8("日本語");
}

void TestIniFile::rejectsWhatCannotBeStored() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, value);

    IniFile ini = IniFile::parse(bytes);
    try {
        ini.setValue(section, key, value);
        QFAIL("no error raised");
    } catch (const korvell::Error& error) {
        QVERIFY(!error.text().isEmpty());
    }
    QCOMPARE(ini.bytes(), bytes);
}

void TestIniFile::windows1252RoundTrip() {
    QByteArray all;
    for (int b = 0; b < 256; ++b) {
        all.append(static_cast<char>(b));
    }
    const QString text = Windows1252::decode(all);
    QCOMPARE(text.size(), 256);
    QVERIFY(Windows1252::canEncode(text));
    QCOMPARE(Windows1252::encode(text), all);
}

void TestIniFile::windows1252Mapping() {
    QCOMPARE(Windows1252::decode("\x80\x8a\x9f\xa0\xe7\xff"), QString::fromUtf8("€ŠŸ\u00A0çÿ"));
    QCOMPARE(Windows1252::decode("\x81\x8d\x8f\x90\x9d"), QString::fromUtf8("\u0081\u008D\u008F\u0090\u009D"));
    // C1 controls that the code page fills with other characters have no byte of their own.
    QVERIFY(!Windows1252::canEncode(QString(QChar(0x80))));
    QCOMPARE(Windows1252::encode(QString::fromUtf8("a\u0080b")), QByteArray("a?b"));
    QCOMPARE(Windows1252::encode(QString::fromUtf8("x\U0001F600y")), QByteArray("x?y"));
}

void TestIniFile::survivesBinaryInput() {
    QRandomGenerator random(20260101);
    for (int round = 0; round < 50; ++round) {
        QByteArray bytes(4096, Qt::Uninitialized);
        for (char& b : bytes) {
            b = static_cast<char>(random.bounded(256));
        }
        // Sprinkle structure so that sections and keys do occur.
        for (int i = 0; i < 40; ++i) {
            const qsizetype at = random.bounded(bytes.size() - 8);
            bytes.replace(at, 8, (i % 2 == 0) ? QByteArray("\n[S]\nk=") : QByteArray("\r\n\"=\";["));
        }
        if (round % 2 == 1) {
            bytes.prepend("\xEF\xBB\xBF");
        }
        IniFile ini = IniFile::parse(bytes);
        QCOMPARE(ini.bytes(), bytes);
        const QStringList keys = ini.keys("S");
        for (const QString& key : keys) {
            ini.value("S", key);
        }
        ini.setValue("S", "k", "written");
        QCOMPARE(IniFile::parse(ini.bytes()).value("S", "k"), QString("written"));
    }
}

void TestIniFile::readsMegabytes() {
    QByteArray bytes = "[Big]\r\n";
    for (int i = 0; i < 200000; ++i) {
        bytes += "key" + QByteArray::number(i) + "=value " + QByteArray::number(i) + "\r\n";
    }
    const QByteArray longValue(3 * 1024 * 1024, 'x');
    bytes += "long=" + longValue + "\r\n";
    bytes += QByteArray(2 * 1024 * 1024, 'y'); // one huge line without "=" or line break
    QVERIFY(bytes.size() > 8 * 1024 * 1024);

    const IniFile ini = IniFile::parse(bytes);
    QCOMPARE(ini.keys("big").size(), 200001);
    QCOMPARE(ini.value("Big", "KEY199999"), QString("value 199999"));
    QCOMPARE(ini.value("Big", "long").size(), longValue.size());
}

void TestIniFile::fileFunctions() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath("test.ini");

    QCOMPARE(IniFile::readString(path, "A", "k"), QString());
    QCOMPARE(IniFile::sectionKeys(path, "A"), QStringList());

    IniFile::writeString(path, "A", "k", "1");
    QCOMPARE(readAll(path), QByteArray("[A]\r\nk=1\r\n"));

    const QByteArray original = "; keep me\n[A]\nk = 1 \n[B]\nz=0\ny=1\n";
    writeAll(path, original);
    const QFile::Permissions shared = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther;
    QVERIFY(QFile::setPermissions(path, shared));
    IniFile::writeString(path, "A", "k", QString::fromUtf8("ç"));
    QCOMPARE(readAll(path), QByteArray("; keep me\n[A]\nk =\xe7\n[B]\nz=0\ny=1\n"));
    QCOMPARE(IniFile::readString(path, "a", "K"), QString::fromUtf8("ç"));
    QCOMPARE(IniFile::sectionKeys(path, "b"), (QStringList{"z", "y"}));
    QCOMPARE(QFile::permissions(path) & ~(QFile::ReadUser | QFile::WriteUser), shared);
}

void TestIniFile::writeFailuresLeaveFileAlone() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());

    QVERIFY(QDir(dir.path()).mkdir("folder.ini"));
    QVERIFY_THROWS_EXCEPTION(korvell::Error, IniFile::writeString(dir.filePath("folder.ini"), "A", "k", "1"));
    QVERIFY_THROWS_EXCEPTION(korvell::Error, IniFile::writeString(dir.filePath("missing/x.ini"), "A", "k", "1"));
    QVERIFY(!QFile::exists(dir.filePath("missing/x.ini")));

    const QString path = dir.filePath("settings.ini");
    const QByteArray original = "[A]\nk=1\n";
    writeAll(path, original);
    QVERIFY_THROWS_EXCEPTION(korvell::Error, IniFile::writeString(path, "A", "k", QString::fromUtf8("日本")));
    QCOMPARE(readAll(path), original);
}

QTEST_GUILESS_MAIN(TestIniFile)
#include "tst_inifile.moc"
