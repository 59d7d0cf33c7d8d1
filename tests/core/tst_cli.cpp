// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

namespace {

const QStringList kFields = {"rowid",     "product",  "bubbleradius", "pm_x",     "pm_y",     "v_x",
                             "v_y",       "e_x",      "e_y",          "s_x",      "msd_x",    "msd_y",
                             "nc_x",      "nc_y",     "cc_x",         "cc_y",     "res_pp_x", "res_pp_y",
                             "res_pm_x",  "res_pm_y", "res_s_y",      "res_im_x", "res_im_y", "res_eva_x",
                             "res_eva_y", "bcolor",   "bm_tc_y",      "bm_pc_x",  "bm_oo_y",  "bm_c_x"};

struct Run {
    int status = -1;
    QByteArray out;
    QByteArray err;
};

Run runCli(const QStringList& arguments, const QByteArray& input = QByteArray()) {
    QProcess process;
    process.start(QStringLiteral(KORVELL_BIN_DIR "/korvell-cli"), arguments);
    Run run;
    if (!process.waitForStarted())
        return run;
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit)
        return run;
    run.status = process.exitCode();
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

// Output rows as name -> cell maps; our output never quotes line breaks, so lines are records.
QList<QHash<QString, QString>> records(const QByteArray& out) {
    const QStringList lines = QString::fromUtf8(out).split(u'\n', Qt::SkipEmptyParts);
    QList<QHash<QString, QString>> result;
    if (lines.isEmpty() || lines.first() != kFields.join(u','))
        return result;
    for (qsizetype l = 1; l < lines.size(); ++l) {
        const QStringList cells = lines[l].split(u',');
        QHash<QString, QString> record;
        for (qsizetype c = 0; c < cells.size() && c < kFields.size(); ++c)
            record.insert(kFields[c], cells[c]);
        result << record;
    }
    return result;
}

} // namespace

class TestCli : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void computesDerivedFields();
    void passesThroughWhatItDoesNotCompute();
    void headerOnly();
    void badInput_data();
    void badInput();
    void help();
};

void TestCli::initTestCase() {
    QVERIFY2(QFileInfo(QStringLiteral(KORVELL_BIN_DIR "/korvell-cli")).isExecutable(),
             "build the korvell-cli target first");
}

void TestCli::computesDerivedFields() {
    const Run run = runCli({"compute"}, "product,pm_x,pm_y,v_x,v_y,e_x,e_y,s_x,msd_x,msd_y,cc_x,cc_y\r\n"
                                        "Alpha,4,9,6,7,3,5,2,8,2,1,9\r\n");
    QCOMPARE(run.status, 0);
    QVERIFY(run.err.isEmpty());
    const auto rows = records(run.out);
    QCOMPARE(rows.size(), 1);
    const auto& r = rows.first();

    const QList<std::pair<const char*, double>> expected = {
        {"res_pm_x", 3.9}, {"res_pm_y", 6.5}, {"res_im_x", 3.9},    {"res_im_y", 4.0},  {"res_pp_x", 6.3},
        {"res_pp_y", 7.3}, {"res_s_y", 6.8},  {"res_eva_x", 3.0},   {"res_eva_y", 6.8}, {"nc_x", 3.0},
        {"nc_y", 5.0},     {"pm_x", 4.0},     {"bubbleradius", 0.4}};
    for (const auto& [field, value] : expected) {
        bool ok = false;
        const double got = r.value(QLatin1String(field)).toDouble(&ok);
        QVERIFY2(ok && std::abs(got - value) < 1e-9,
                 qPrintable(QStringLiteral("%1 = '%2'").arg(field, r.value(field))));
    }
    static const QRegularExpression guid(
        QStringLiteral("^\\{[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}\\}$"));
    QVERIFY(guid.match(r.value("rowid")).hasMatch());
    QCOMPARE(r.value("product"), QStringLiteral("Alpha"));
    bool ok = false;
    r.value("bcolor").toInt(&ok);
    QVERIFY(ok);
    QVERIFY(r.value("bm_c_x").isEmpty());
}

void TestCli::passesThroughWhatItDoesNotCompute() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("in.csv"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("RowID,BM_C_X,bubbleradius,pm_x,pm_y\n"
               "{abc},1.25,,11.3,-2\n"
               "{def},, 0.7 ,7.96,\n");
    file.close();

    const Run run = runCli({"compute", path});
    QCOMPARE(run.status, 0);
    const auto rows = records(run.out);
    QCOMPARE(rows.size(), 2);
    QCOMPARE(rows[0].value("rowid"), QStringLiteral("{abc}"));
    QCOMPARE(rows[0].value("product"), QStringLiteral("<PRODUCT>"));
    QCOMPARE(rows[0].value("bm_c_x"), QStringLiteral("1.25"));
    QCOMPARE(rows[0].value("bubbleradius"), QString()); // given, empty: no default
    QCOMPARE(rows[0].value("pm_x"), QStringLiteral("10"));
    QCOMPARE(rows[0].value("pm_y"), QStringLiteral("0"));
    QCOMPARE(rows[1].value("bubbleradius"), QStringLiteral("0.7"));
    QCOMPARE(rows[1].value("pm_x"), QStringLiteral("8"));
    QCOMPARE(rows[1].value("v_x"), QStringLiteral("0")); // an empty score reads as 0
    QVERIFY(rows[1].value("bm_c_x").isEmpty());

    // Quoted product names come back quoted, one record per line.
    const Run quoted = runCli({"compute", "-"}, "product\n\"Smith, \"\"Jr\"\"\"\n");
    QCOMPARE(quoted.status, 0);
    QVERIFY2(quoted.out.contains(",\"Smith, \"\"Jr\"\"\",0.4,"), quoted.out.constData());
}

void TestCli::headerOnly() {
    const Run run = runCli({"compute"}, "pm_x,pm_y\n");
    QCOMPARE(run.status, 0);
    QCOMPARE(run.out, kFields.join(u',').toUtf8() + '\n');
}

void TestCli::badInput_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QString>("message");
    const QStringList compute{"compute"};
    QTest::newRow("unknown column") << compute << QByteArray("pm_x,size\n1,2\n")
                                    << "standard input: line 1, column 2: unknown column 'size'";
    QTest::newRow("repeated column") << compute << QByteArray("pm_x,PM_X\n1,2\n")
                                     << "standard input: line 1, column 2: column 'PM_X' appears twice";
    QTest::newRow("bad number") << compute << QByteArray("product,pm_x\nA,1\nB,4.x\n")
                                << "standard input: line 3, column 2: '4.x' in pm_x is not a number";
    QTest::newRow("decimal comma") << compute << QByteArray("pm_x\n\"1,5\"\n")
                                   << "standard input: line 2, column 1: '1,5' in pm_x is not a number";
    QTest::newRow("not finite") << compute << QByteArray("pm_x\ninf\n")
                                << "standard input: line 2, column 1: 'inf' in pm_x is not a number";
    QTest::newRow("colour not whole") << compute << QByteArray("bcolor\n1.5\n")
                                      << "standard input: line 2, column 1: '1.5' in bcolor is not a whole number";
    QTest::newRow("ragged row") << compute << QByteArray("pm_x,pm_y\n1,2\n3\n")
                                << "standard input: line 3, column 2: missing field (the header has 2 columns)";
    QTest::newRow("unterminated quote") << compute << QByteArray("product,pm_x\n\"A\n,1\n")
                                        << "standard input: line 2, column 1: quoted field is not closed";
    QTest::newRow("empty input") << compute << QByteArray() << "standard input: line 1, column 1: no header row";
    QTest::newRow("not utf-8") << compute << QByteArray("product\nProdu\xe7\xe3o\n")
                               << "standard input: not UTF-8 text";
    QTest::newRow("unknown option") << QStringList{"compute", "--fast"} << QByteArray()
                                    << "compute: unknown option '--fast'; see 'korvell-cli compute --help'";
    QTest::newRow("missing file") << QStringList{"compute", "/nonexistent/in.csv"} << QByteArray()
                                  << "/nonexistent/in.csv: No such file or directory";
    QTest::newRow("unknown command") << QStringList{"draw"} << QByteArray()
                                     << "unknown command 'draw'; see 'korvell-cli --help'";
}

void TestCli::badInput() {
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, input);
    QFETCH(QString, message);
    const Run run = runCli(arguments, input);
    QCOMPARE(run.status, 2);
    QVERIFY2(run.out.isEmpty(), run.out.constData());
    QCOMPARE(QString::fromUtf8(run.err), QStringLiteral("korvell-cli: ") + message + u'\n');
}

void TestCli::help() {
    const Run top = runCli({"--help"});
    QCOMPARE(top.status, 0);
    QVERIFY(top.out.contains("compute [FILE]"));
    const Run compute = runCli({"compute", "--help"});
    QCOMPARE(compute.status, 0);
    QVERIFY(compute.out.contains("Usage: korvell-cli compute [FILE]"));
    QVERIFY(compute.err.isEmpty());
}

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
