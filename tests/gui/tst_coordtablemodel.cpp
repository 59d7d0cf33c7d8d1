// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#include "model/CoordRecordDefaults.h"
#include "model/CoordTable.h"
#include "ui/CoordTableModel.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using namespace korvell;

class TestCoordTableModel : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void followsTableUnderModelTester();
    void editShowsPendingBufferUntilPost();
    void editOfAnotherRowPostsTheFirst();
    void cancelShowsStoredValuesAgain();
    void editWhileInsertPendingStoresTheNewRecordFirst();
    void doesNotFollowWhileControlsDisabled();
    void flagsAndCaptions();
    void refusedValueIsReported();

private:
    std::unique_ptr<CoordTable> m_table;
    void appendProduct(const QString& name, double pmX);
};

void TestCoordTableModel::init() {
    m_table = std::make_unique<CoordTable>();
    connect(m_table.get(), &CoordTable::newRecord, m_table.get(),
            [](CoordTable* table) { initCoordRecord(*table, QStringLiteral("Product")); });
    m_table->open();
}

void TestCoordTableModel::cleanup() {
    m_table.reset();
}

void TestCoordTableModel::appendProduct(const QString& name, double pmX) {
    m_table->append();
    m_table->edit();
    m_table->setString(QStringLiteral("product"), name);
    m_table->setFloat(QStringLiteral("pm_x"), pmX);
    m_table->post();
}

void TestCoordTableModel::followsTableUnderModelTester() {
    CoordTableModel model(m_table.get());
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QCOMPARE(model.columnCount(), FieldCount + 1);

    appendProduct(QStringLiteral("A"), 1.0);
    appendProduct(QStringLiteral("B"), 2.0);
    appendProduct(QStringLiteral("C"), 3.0);
    QCOMPARE(model.rowCount(), 3);
    const int product = F_product + 1;
    QCOMPARE(model.index(1, product).data().toString(), QStringLiteral("B"));
    QCOMPARE(model.index(2, 0).data().toInt(), m_table->recId(2));

    m_table->moveTo(1);
    m_table->insert();
    QCOMPARE(model.rowCount(), 4);
    QCOMPARE(model.index(1, product).data().toString(), QStringLiteral("<PRODUCT>"));
    QCOMPARE(model.index(2, product).data().toString(), QStringLiteral("B"));

    QVERIFY(model.setData(model.index(3, F_pm_x + 1), 7.5));
    m_table->post();
    QCOMPARE(m_table->number(3, F_pm_x), 7.5);

    m_table->moveTo(0);
    m_table->remove();
    QCOMPARE(model.rowCount(), 3);
    QCOMPARE(model.index(0, product).data().toString(), QStringLiteral("<PRODUCT>"));

    m_table->close();
    QCOMPARE(model.rowCount(), 0);
    QVERIFY(!model.index(0, 0).isValid());
    m_table->open();
    m_table->append();
    QCOMPARE(model.rowCount(), 1);
}

void TestCoordTableModel::editShowsPendingBufferUntilPost() {
    appendProduct(QStringLiteral("A"), 1.0);
    appendProduct(QStringLiteral("B"), 2.0);
    // e_x twice, as the values grid shows it under effort and under needed capability.
    CoordTableModel model(m_table.get(), {F_product, F_e_x, F_e_x});
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);

    QVERIFY(model.setData(model.index(0, 2), 8.5));
    QCOMPARE(m_table->state(), CoordTable::State::Edit);
    QCOMPARE(m_table->currentIndex(), 0);
    QCOMPARE(model.index(0, 1).data().toDouble(), 8.5);
    QCOMPARE(model.index(0, 2).data().toDouble(), 8.5);
    QCOMPARE(m_table->number(0, F_e_x), 5.0); // nothing stored yet
    QVERIFY(!changed.isEmpty());
    QCOMPARE(changed.last().at(0).value<QModelIndex>().row(), 0);

    m_table->post();
    QCOMPARE(m_table->number(0, F_e_x), 8.5);
    QCOMPARE(model.index(0, 1).data().toDouble(), 8.5);
    QCOMPARE(model.index(1, 1).data().toDouble(), 5.0);
}

void TestCoordTableModel::editOfAnotherRowPostsTheFirst() {
    appendProduct(QStringLiteral("A"), 1.0);
    appendProduct(QStringLiteral("B"), 2.0);
    CoordTableModel model(m_table.get(), {F_product, F_pm_x});
    QVERIFY(model.setData(model.index(0, 1), 4.0));
    QVERIFY(model.setData(model.index(1, 0), QStringLiteral("Bee")));
    QCOMPARE(m_table->number(0, F_pm_x), 4.0);
    QCOMPARE(m_table->currentIndex(), 1);
    QCOMPARE(m_table->state(), CoordTable::State::Edit);
    QCOMPARE(m_table->value(1, F_product).toString(), QStringLiteral("B"));

    // Setting what is already shown starts no edit.
    m_table->post();
    QVERIFY(model.setData(model.index(0, 1), 4.0));
    QCOMPARE(m_table->state(), CoordTable::State::Browse);
}

void TestCoordTableModel::cancelShowsStoredValuesAgain() {
    appendProduct(QStringLiteral("A"), 1.0);
    CoordTableModel model(m_table.get(), {F_product, F_pm_x});
    QVERIFY(model.setData(model.index(0, 1), 9.0));
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    m_table->cancel();
    QCOMPARE(changed.count(), 1);
    QCOMPARE(model.index(0, 1).data().toDouble(), 1.0);
}

void TestCoordTableModel::editWhileInsertPendingStoresTheNewRecordFirst() {
    CoordTable bare;
    bare.open();
    bare.append();
    bare.setString(QStringLiteral("product"), QStringLiteral("A"));
    bare.post();
    CoordTableModel model(&bare, {F_product});
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    bare.insert(); // nobody fills it: it stays pending before "A"
    QCOMPARE(model.rowCount(), 1);
    QVERIFY(model.setData(model.index(0, 0), QStringLiteral("Ay")));
    QCOMPARE(model.rowCount(), 2);
    QCOMPARE(bare.currentIndex(), 1);
    bare.post();
    QCOMPARE(bare.value(1, F_product).toString(), QStringLiteral("Ay"));
    QVERIFY(bare.value(0, F_product).isNull());
}

void TestCoordTableModel::doesNotFollowWhileControlsDisabled() {
    appendProduct(QStringLiteral("A"), 1.0);
    CoordTableModel model(m_table.get());
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);

    m_table->disableControls();
    m_table->close();
    m_table->open();
    for (int i = 0; i < 3; ++i)
        m_table->append();
    QCOMPARE(model.rowCount(), 1);
    QCOMPARE(inserted.count(), 0);
    QCOMPARE(reset.count(), 0);
    QCOMPARE(model.index(0, F_product + 1).data().toString(), QStringLiteral("<PRODUCT>"));

    m_table->enableControls();
    QCOMPARE(reset.count(), 1);
    QCOMPARE(model.rowCount(), 3);
}

void TestCoordTableModel::flagsAndCaptions() {
    appendProduct(QStringLiteral("A"), 1.0);
    CoordTableModel model(m_table.get(), {CoordTableModel::RecIdField, F_product, F_bcolor, F_msd_x});
    model.setColumnReadOnly(2, true);
    QVERIFY(!(model.flags(model.index(0, 0)) & Qt::ItemIsEditable));
    QVERIFY(model.flags(model.index(0, 1)) & Qt::ItemIsEditable);
    QVERIFY(!(model.flags(model.index(0, 2)) & Qt::ItemIsEditable));
    QVERIFY(!model.setData(model.index(0, 2), 255));
    QVERIFY(!model.setData(model.index(0, 0), 99));
    QCOMPARE(m_table->state(), CoordTable::State::Browse);

    QCOMPARE(model.headerData(0, Qt::Horizontal).toString(), QStringLiteral("RecId"));
    QCOMPARE(model.headerData(1, Qt::Horizontal).toString(), QStringLiteral("Product"));
    QCOMPARE(model.headerData(3, Qt::Horizontal).toString(), QStringLiteral("msd_x"));
    QSignalSpy header(&model, &QAbstractItemModel::headerDataChanged);
    QVERIFY(model.setHeaderData(3, Qt::Horizontal, QStringLiteral("X")));
    QCOMPARE(model.headerData(3, Qt::Horizontal).toString(), QStringLiteral("X"));
    QCOMPARE(header.count(), 1);
    // A language file without the key gives an empty caption, not the field's label.
    QVERIFY(model.setHeaderData(1, Qt::Horizontal, QString()));
    QCOMPARE(model.headerData(1, Qt::Horizontal).toString(), QString());
    QCOMPARE(model.index(0, 3).data(Qt::TextAlignmentRole).value<Qt::Alignment>(), Qt::AlignCenter);
}

void TestCoordTableModel::refusedValueIsReported() {
    appendProduct(QStringLiteral("A"), 1.0);
    CoordTableModel model(m_table.get(), {F_pm_x});
    QSignalSpy failed(&model, &CoordTableModel::editFailed);
    QVERIFY(!model.setData(model.index(0, 0), QStringLiteral("lots")));
    QCOMPARE(failed.count(), 1);
    QVERIFY(!failed.first().at(0).toString().isEmpty());
    QCOMPARE(m_table->state(), CoordTable::State::Browse);
    QCOMPARE(model.index(0, 0).data().toDouble(), 1.0);
}

QTEST_MAIN(TestCoordTableModel)
#include "tst_coordtablemodel.moc"
