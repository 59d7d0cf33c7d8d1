// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#include "model/CoordRecordDefaults.h"
#include "model/CoordTable.h"

#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

#include <cmath>
#include <limits>

using namespace korvell;

namespace {

const int kScoreFields[] = {F_pm_x,      F_pm_y,     F_v_x,      F_v_y,     F_e_x,      F_e_y,      F_s_x,
                            F_msd_x,     F_msd_y,    F_nc_x,     F_nc_y,    F_cc_x,     F_cc_y,     F_res_pp_x,
                            F_res_pp_y,  F_res_pm_x, F_res_pm_y, F_res_s_y, F_res_im_x, F_res_im_y, F_res_eva_x,
                            F_res_eva_y, F_bm_tc_y,  F_bm_pc_x,  F_bm_oo_y, F_bm_c_x};

// The map window's new-record handler with the import flag cleared.
void withDefaults(CoordTable& table) {
    QObject::connect(&table, &CoordTable::newRecord, &table,
                     [](CoordTable* t) { initCoordRecord(*t, QStringLiteral("Product")); });
}

void appendProduct(CoordTable& table, const QString& product, const QString& rowid = QString()) {
    table.append();
    table.setString(QStringLiteral("product"), product);
    if (!rowid.isEmpty())
        table.setString(QStringLiteral("rowid"), rowid);
    table.post();
}

QStringList products(const CoordTable& table) {
    QStringList list;
    for (int row = 0; row < table.recordCount(); ++row)
        list << table.value(row, F_product).toString();
    return list;
}

} // namespace

class TestCoordTable : public QObject {
    Q_OBJECT
private slots:
    void declaredFields();
    void appendGivesDefaults();
    void placeholderProduct_data();
    void placeholderProduct();
    void appendWithoutHandlerLeavesRecordEmpty();
    void closeDiscardsAndReopensEmpty();
    void appendOrderAndInsertPosition();
    void walkAndEditEveryRecord();
    void pendingBufferAndStoredValues();
    void cancel();
    void setValueConversions();
    void stringsAreCutToFieldSize();
    void unknownFieldIsAnError();
    void locateIgnoresCase();
    void locateFollowsRemoveInsertAndEdit();
    void notificationsDisabledAndEnabled();
    void itemModelSignalsBracketTheChange();
};

void TestCoordTable::declaredFields() {
    const auto& defs = CoordTable::fields();
    QCOMPARE(int(defs.size()), int(FieldCount));
    QCOMPARE(QLatin1String(defs[F_bm_c_x].name), QLatin1String("bm_c_x"));
    QCOMPARE(defs[F_rowid].size, 38);
    QCOMPARE(defs[F_product].size, 25);
    QCOMPARE(defs[F_bcolor].type, FieldType::Integer);
    QCOMPARE(QLatin1String(defs[F_bubbleradius].displayLabel), QLatin1String("Bubble Radius"));
    for (int i = 0; i < FieldCount; ++i)
        QCOMPARE(CoordTable::fieldIndex(QString::fromLatin1(defs[i].name).toUpper()), i);
}

void TestCoordTable::appendGivesDefaults() {
    CoordTable table;
    withDefaults(table);
    table.open();
    table.append();

    QCOMPARE(table.state(), CoordTable::State::Browse);
    QCOMPARE(table.recordCount(), 1);
    QCOMPARE(table.currentIndex(), 0);
    const QString rowid = table.value(0, F_rowid).toString();
    static const QRegularExpression guid(
        QStringLiteral("^\\{[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}\\}$"));
    QVERIFY2(guid.match(rowid).hasMatch(), qPrintable(rowid));
    QCOMPARE(table.value(0, F_product).toString(), QStringLiteral("<PRODUCT>"));
    QCOMPARE(table.number(0, F_bubbleradius), 0.4);
    for (int field : kScoreFields)
        QCOMPARE(table.number(0, field), 5.0);
    QVERIFY(table.value(0, F_bcolor).isNull());
    QVERIFY(std::isnan(table.number(0, F_bcolor)));

    table.append();
    QCOMPARE(table.recordCount(), 2);
    QCOMPARE(table.currentIndex(), 1);
    QVERIFY(table.value(1, F_rowid).toString() != rowid);
}

void TestCoordTable::placeholderProduct_data() {
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("expected");
    QTest::newRow("english") << QStringLiteral("Product") << QStringLiteral("<PRODUCT>");
    QTest::newRow("accents stay") << QStringLiteral("Produção") << QStringLiteral("<PRODUçãO>");
    QTest::newRow("empty text") << QString() << QStringLiteral("<>");
    QTest::newRow("non-letters") << QStringLiteral("a-z 9{}") << QStringLiteral("<A-Z 9{}>");
}

void TestCoordTable::placeholderProduct() {
    QFETCH(QString, word);
    QFETCH(QString, expected);
    QCOMPARE(korvell::placeholderProduct(word), expected);

    CoordTable table;
    table.open();
    connect(&table, &CoordTable::newRecord, &table, [&](CoordTable* t) { initCoordRecord(*t, word); });
    table.append();
    QCOMPARE(table.value(0, F_product).toString(), expected.left(25));
}

void TestCoordTable::appendWithoutHandlerLeavesRecordEmpty() {
    CoordTable table;
    table.open();
    QSignalSpy newRecord(&table, &CoordTable::newRecord);
    table.append();

    QCOMPARE(newRecord.count(), 1);
    QCOMPARE(table.state(), CoordTable::State::Insert);
    QCOMPARE(table.recordCount(), 0);
    for (int field = 0; field < FieldCount; ++field)
        QVERIFY(table.fieldValue(field).isNull());

    table.post();
    QCOMPARE(table.recordCount(), 1);
    for (int field = 0; field < FieldCount; ++field)
        QVERIFY(table.value(0, field).isNull());
}

void TestCoordTable::closeDiscardsAndReopensEmpty() {
    CoordTable table;
    withDefaults(table);
    table.open();
    table.append();
    table.append();
    table.edit();
    table.setFloat(QStringLiteral("pm_x"), 1.0);
    table.close();

    QVERIFY(!table.isOpen());
    QCOMPARE(table.recordCount(), 0);
    QCOMPARE(table.currentIndex(), -1);
    QVERIFY_THROWS_EXCEPTION(Error, table.append());

    table.open();
    QCOMPARE(table.recordCount(), 0);
    QVERIFY(table.eof());
    QVERIFY(table.fieldValue(F_product).isNull());
    table.append();
    QCOMPARE(table.recordCount(), 1);
    QCOMPARE(table.recId(0), 1);
    QCOMPARE(table.number(0, F_pm_x), 5.0);
}

void TestCoordTable::appendOrderAndInsertPosition() {
    CoordTable table;
    table.open();
    table.insert(); // into an empty table
    table.setString(QStringLiteral("product"), QStringLiteral("A"));
    table.post();
    appendProduct(table, QStringLiteral("B"));
    appendProduct(table, QStringLiteral("C"));
    QCOMPARE(products(table), QStringList({"A", "B", "C"}));

    table.first();
    table.next();
    table.insert();
    QCOMPARE(table.currentIndex(), 1);
    table.setString(QStringLiteral("product"), QStringLiteral("D"));
    table.post();
    QCOMPARE(table.currentIndex(), 1);
    QCOMPARE(products(table), QStringList({"A", "D", "B", "C"}));
    QCOMPARE(table.recId(0), 1);
    QCOMPARE(table.recId(1), 4);
    QCOMPARE(table.recId(3), 3);
}

void TestCoordTable::walkAndEditEveryRecord() {
    CoordTable table;
    table.open();
    for (const char* name : {"A", "B", "C"})
        appendProduct(table, QString::fromLatin1(name));

    // The write-back's loop: first, then edit / set / post / next until the end.
    QStringList seen;
    table.first();
    for (double v = 1; !table.eof(); ++v) {
        seen << table.fieldValue(F_product).toString();
        table.edit();
        table.setFloat(QStringLiteral("pm_x"), v);
        table.post();
        table.next();
    }
    QCOMPARE(seen, QStringList({"A", "B", "C"}));
    QCOMPARE(table.currentIndex(), 2);
    QCOMPARE(table.number(0, F_pm_x), 1.0);
    QCOMPARE(table.number(2, F_pm_x), 3.0);
}

void TestCoordTable::pendingBufferAndStoredValues() {
    CoordTable table;
    table.open();
    appendProduct(table, QStringLiteral("A"));
    table.edit();
    table.setFloat(QStringLiteral("v_y"), 7.5);
    QCOMPARE(table.fieldValue(F_v_y).toDouble(), 7.5);
    QVERIFY(table.value(0, F_v_y).isNull());

    // Navigation posts a pending edit.
    table.first();
    QCOMPARE(table.state(), CoordTable::State::Browse);
    QCOMPARE(table.number(0, F_v_y), 7.5);
}

void TestCoordTable::cancel() {
    CoordTable table;
    table.open();
    appendProduct(table, QStringLiteral("A"));
    appendProduct(table, QStringLiteral("B"));
    table.first();
    QSignalSpy inserted(&table, &CoordTable::rowInserted);
    QSignalSpy changed(&table, &CoordTable::changed);

    table.insert();
    table.setString(QStringLiteral("product"), QStringLiteral("X"));
    table.cancel();
    QCOMPARE(table.state(), CoordTable::State::Browse);
    QCOMPARE(products(table), QStringList({"A", "B"}));
    QCOMPARE(table.currentIndex(), 0);

    table.moveTo(1);
    table.append();
    table.cancel();
    QCOMPARE(table.currentIndex(), 1);

    table.edit();
    table.setString(QStringLiteral("product"), QStringLiteral("Y"));
    table.cancel();
    QCOMPARE(table.fieldValue(F_product).toString(), QStringLiteral("B"));
    QCOMPARE(inserted.count(), 0);
    QCOMPARE(changed.count(), 0);
}

void TestCoordTable::setValueConversions() {
    CoordTable table;
    table.open();
    QVERIFY_THROWS_EXCEPTION(Error, table.setFloat(QStringLiteral("pm_x"), 1.0)); // browse state
    table.append();
    table.setVariant(QStringLiteral("pm_x"), QStringLiteral(" 2.5 "));
    table.setFloat(QStringLiteral("pm_y"), std::numeric_limits<double>::quiet_NaN());
    table.setString(QStringLiteral("v_x"), QString());
    table.setVariant(QStringLiteral("bcolor"), 0x00FF8040);
    table.setString(QStringLiteral("product"), QString());
    QVERIFY_THROWS_EXCEPTION(Error, table.setString(QStringLiteral("v_y"), QStringLiteral("abc")));
    QVERIFY_THROWS_EXCEPTION(Error, table.setString(QStringLiteral("v_y"), QStringLiteral("1,5")));
    QVERIFY_THROWS_EXCEPTION(Error, table.setFloat(QStringLiteral("bcolor"), 1e10));
    table.post();

    QCOMPARE(table.number(0, F_pm_x), 2.5);
    QVERIFY(table.value(0, F_pm_y).isNull());
    QVERIFY(table.value(0, F_v_x).isNull());
    QVERIFY(table.value(0, F_v_y).isNull());
    QCOMPARE(table.value(0, F_bcolor).toInt(), 0x00FF8040);
    QVERIFY(table.value(0, F_product).isNull());
}

void TestCoordTable::stringsAreCutToFieldSize() {
    CoordTable table;
    table.open();
    table.append();
    table.setString(QStringLiteral("product"), QStringLiteral("A product name far too long to keep"));
    table.setString(QStringLiteral("rowid"), QString(50, QLatin1Char('7')));
    table.post();
    QCOMPARE(table.value(0, F_product).toString(), QStringLiteral("A product name far too lo"));
    QCOMPARE(table.value(0, F_rowid).toString().size(), 38);
}

void TestCoordTable::unknownFieldIsAnError() {
    CoordTable table;
    table.open();
    table.append();
    QCOMPARE(CoordTable::fieldIndex(QStringLiteral("foo")), -1);
    try {
        table.setFloat(QStringLiteral("foo"), 1.0);
        QFAIL("no error");
    } catch (const Error& e) {
        QCOMPARE(e.text(), QStringLiteral("Field 'foo' not found"));
    }
    QVERIFY_THROWS_EXCEPTION(Error, table.fieldValue(QStringLiteral("pm")));
    QVERIFY_THROWS_EXCEPTION(Error, table.fieldValue(FieldCount));
    table.post();
    QVERIFY_THROWS_EXCEPTION(Error, table.value(1, F_pm_x));
    QVERIFY_THROWS_EXCEPTION(Error, table.number(0, -1));
}

void TestCoordTable::locateIgnoresCase() {
    CoordTable table;
    withDefaults(table);
    table.open();
    table.append();
    table.append();
    const QString second = table.value(1, F_rowid).toString();

    table.first();
    QVERIFY(table.locateRowId(second.toLower()));
    QCOMPARE(table.currentIndex(), 1);
    QVERIFY(!table.locateRowId(QStringLiteral("{00000000-0000-0000-0000-000000000000}")));
    QCOMPARE(table.currentIndex(), 1);
    QVERIFY(!table.locateRowId(QString()));

    table.close();
    table.open();
    QVERIFY(!table.locateRowId(second));
}

void TestCoordTable::locateFollowsRemoveInsertAndEdit() {
    CoordTable table;
    table.open();
    for (const char* key : {"a", "b", "c", "d"})
        appendProduct(table, QString::fromLatin1(key).toUpper(), QString::fromLatin1(key));
    appendProduct(table, QStringLiteral("dup"), QStringLiteral("B"));

    QVERIFY(table.locateRowId(QStringLiteral("B")));
    QCOMPARE(table.currentIndex(), 1); // the first record with the key

    table.remove();
    QCOMPARE(products(table), QStringList({"A", "C", "D", "dup"}));
    QVERIFY(table.locateRowId(QStringLiteral("b")));
    QCOMPARE(table.currentIndex(), 3);
    QVERIFY(table.locateRowId(QStringLiteral("D")));
    QCOMPARE(table.currentIndex(), 2);

    table.first();
    table.insert();
    table.setString(QStringLiteral("rowid"), QStringLiteral("z"));
    table.post();
    QVERIFY(table.locateRowId(QStringLiteral("C")));
    QCOMPARE(table.currentIndex(), 2);
    QVERIFY(table.locateRowId(QStringLiteral("Z")));
    QCOMPARE(table.currentIndex(), 0);

    table.edit();
    table.setString(QStringLiteral("rowid"), QStringLiteral("y"));
    table.post();
    QVERIFY(!table.locateRowId(QStringLiteral("z")));
    QVERIFY(table.locateRowId(QStringLiteral("Y")));
    QCOMPARE(table.currentIndex(), 0);
}

void TestCoordTable::notificationsDisabledAndEnabled() {
    CoordTable table;
    withDefaults(table);
    QSignalSpy changed(&table, &CoordTable::changed);
    QSignalSpy inserted(&table, &CoordTable::rowInserted);
    QSignalSpy reset(&table, &CoordTable::reset);
    table.open();
    QCOMPARE(changed.count(), 1);
    table.append(); // the handler posts: back in browse after a change
    QCOMPARE(changed.count(), 2);
    QCOMPARE(inserted.count(), 1);

    changed.clear();
    reset.clear();
    table.disableControls();
    table.disableControls();
    table.append();
    table.edit();
    table.setFloat(QStringLiteral("pm_x"), 1.0);
    table.post();
    table.remove();
    table.enableControls();
    QCOMPARE(changed.count(), 0);
    QVERIFY(table.controlsDisabled());
    table.enableControls();
    QCOMPARE(changed.count(), 1);
    QCOMPARE(reset.count(), 1);
    QCOMPARE(inserted.count(), 1);
    QVERIFY(!table.controlsDisabled());

    table.enableControls(); // unbalanced: ignored
    QCOMPARE(changed.count(), 1);
}

void TestCoordTable::itemModelSignalsBracketTheChange() {
    CoordTable table;
    QStringList log;
    const auto note = [&](const char* what, int row) {
        log << QStringLiteral("%1 %2 n=%3").arg(QLatin1String(what)).arg(row).arg(table.recordCount());
    };
    connect(&table, &CoordTable::aboutToReset, &table, [&] { note("aboutToReset", -1); });
    connect(&table, &CoordTable::reset, &table, [&] { note("reset", -1); });
    connect(&table, &CoordTable::rowAboutToBeInserted, &table, [&](int row) { note("aboutToInsert", row); });
    connect(&table, &CoordTable::rowInserted, &table, [&](int row) { note("inserted", row); });
    connect(&table, &CoordTable::rowAboutToBeRemoved, &table, [&](int row) { note("aboutToRemove", row); });
    connect(&table, &CoordTable::rowRemoved, &table, [&](int row) { note("removed", row); });
    connect(&table, &CoordTable::rowChanged, &table, [&](int row) { note("changed", row); });

    table.open();
    appendProduct(table, QStringLiteral("A"));
    table.first();
    table.insert();
    table.post();
    table.edit();
    table.post();
    table.remove();
    table.close();
    QCOMPARE(log, QStringList({"aboutToReset -1 n=0", "reset -1 n=0", "aboutToInsert 0 n=0", "inserted 0 n=1",
                               "aboutToInsert 0 n=1", "inserted 0 n=2", "changed 0 n=2", "aboutToRemove 0 n=2",
                               "removed 0 n=1", "aboutToReset -1 n=1", "reset -1 n=0"}));
}

QTEST_GUILESS_MAIN(TestCoordTable)
#include "tst_coordtable.moc"
