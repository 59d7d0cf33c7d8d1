// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#include "LoginFixture.h"

#include "localisation/IniFile.h"
#include "model/CoordTable.h"
#include "model/MapModel.h"
#include "ui/DataSetTableModel.h"
#include "ui/ImportResults.h"
#include "ui/LicenceTreeModel.h"
#include "ui/Main.h"
#include "ui/MatrixChart.h"
#include "ui/ValuesGrid.h"

#include <QAbstractSpinBox>
#include <QImageReader>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QTreeView>

#include <cmath>

using namespace korvell;
using korvell::test::LoginFixture;

/// One working session as a user runs it, from the login to the close, on a copy of the demo database.
class TestEndToEnd : public QObject {
    Q_OBJECT

    LoginFixture f;

    QString programFile(const char* name) const { return f.dir->filePath(QLatin1String(name)); }

    static void clickTab(QWidget* page) {
        QTabWidget* pages = FormKorvell->cxPageControl1;
        QTabBar* bar = pages->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, bar->tabRect(pages->indexOf(page)).center());
        QCOMPARE(pages->currentWidget(), page);
    }

    /// Shows the chart's tab, then drags the bubble under its first point to (x, y).
    static void drag(const char* chartName, double x, double y) {
        MatrixChart* chart = FormKorvell->chart(QString::fromLatin1(chartName));
        QVERIFY(chart);
        QWidget* page = chart;
        while (page && FormKorvell->cxPageControl1->indexOf(page) < 0)
            page = page->parentWidget();
        QVERIFY(page);
        clickTab(page);
        BubbleSeries* series = FormKorvell->mapModel()->seriesOfChart(QString::fromLatin1(chartName));
        const ChartGeometry geometry = chart->plotGeometry();
        const QPoint from = geometry.valueToPixel(series->x(0), series->y(0)).toPoint();
        const QPoint to = geometry.valueToPixel(x, y).toPoint();
        QTest::mousePress(chart, Qt::LeftButton, Qt::NoModifier, from);
        QTest::mouseMove(chart, (from + to) / 2);
        QTest::mouseMove(chart, to);
        QTest::mouseRelease(chart, Qt::LeftButton, Qt::NoModifier, to);
        bool landed = false;
        for (int i = 0; i < series->count(); ++i)
            landed = landed || (std::abs(series->x(i) - x) < 0.15 && std::abs(series->y(i) - y) < 0.15);
        QVERIFY2(landed, chartName);
    }

    /// Types text over a cell of the values grid and confirms it with Return.
    static void type(int row, const char* column, const QString& text) {
        ValuesGrid* grid = FormKorvell->findChild<ValuesGrid*>(QStringLiteral("cxGrid1"));
        QTableView* view = grid->view();
        const QModelIndex index = view->model()->index(row, grid->columnIndex(QString::fromLatin1(column)));
        view->setCurrentIndex(index);
        view->edit(index);
        QWidget* editor = view->indexWidget(index);
        QVERIFY2(editor, column);
        QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(editor, text);
        QTest::keyClick(editor, Qt::Key_Return);
    }

private slots:
    void init() {
        f.setUp();
        for (const char* file : {"korvell.ini", "English.lng", "Portuguese.lng"}) {
            QVERIFY(QFile::copy(QStringLiteral(KORVELL_BIN_DIR "/") + QLatin1String(file), programFile(file)));
            QFile::setPermissions(programFile(file), QFile::ReadOwner | QFile::WriteOwner);
        }
        IniFile::writeString(programFile("korvell.ini"), QStringLiteral("SAVED_VARS"), QStringLiteral("SHOW_IMPORT"),
                             QStringLiteral("1"));
        IniFile::writeString(programFile("korvell.ini"), QStringLiteral("SAVED_VARS"), QStringLiteral("PREF_LANG"),
                             QStringLiteral("English"));
        AppConfig = TAppConfigVar{};
        AppTexts = TApplicationVar{};
        f.useDefaultDataLink(f.database(LoginFixture::Engine::SQLite));
    }
    void cleanup() { f.tearDown(); }

    void session() {
        // Log in.
        Forms::start();
        QTest::keyClicks(frmLogin->EdUser, QStringLiteral("demo"));
        QTest::keyClicks(frmLogin->EdPass, QStringLiteral("demo"));
        QTest::mouseClick(frmLogin->Button1, Qt::LeftButton);
        QVERIFY(FormKorvell && FormKorvell->isVisible());
        QVERIFY(QTest::qWaitForWindowExposed(FormKorvell));
        FormKorvell->Timer1->stop();
        f.shown.clear();

        // Import the first licence holder's first product through the modal import window.
        clickTab(FormKorvell->P_VALUES);
        QVERIFY(FormKorvell->cxButton1->isEnabled());
        QString chosenProduct;
        bool imported = false;
        QTimer::singleShot(0, FrmImportRes, [&] {
            LicenceTreeModel* licences = FrmImportRes->licenceModel;
            if (licences->rowCount() > 0 && FrmImportRes->productModel->rowCount() > 0) {
                FrmImportRes->cxDBTreeList1->setCurrentIndex(licences->index(0, 0));
                FrmImportRes->cxGrid1->selectRow(0);
                chosenProduct = FrmImportRes->productModel->fieldValue(0, QStringLiteral("idproduto")).toString();
                QTest::mouseClick(FrmImportRes->cxButtonProduct, Qt::LeftButton);
                imported = true;
            }
            FrmImportRes->close();
        });
        QTest::mouseClick(FormKorvell->cxButton1, Qt::LeftButton);
        QVERIFY(imported);
        QCOMPARE(f.texts(), QStringList());
        QVERIFY(!chosenProduct.isEmpty());
        QCOMPARE(FrmImportRes->FImportProductId, chosenProduct);
        QVERIFY(!FormKorvell->FImporting);
        CoordTable* table = FormKorvell->memCoord;
        const int importedRecords = table->recordCount();
        QVERIFY(importedRecords >= 1);

        // Drag bubbles on three matrices.
        clickTab(FormKorvell->P_MAP);
        drag("Chart1", 8.2, 2.7);
        drag("ChartValor", 2.4, 7.6);
        drag("ChartCC", 6.8, 3.3);
        if (QTest::currentTestFailed())
            return;

        // Type a new product into the values grid and leave its row.
        clickTab(FormKorvell->P_VALUES);
        ValuesGrid* grid = FormKorvell->findChild<ValuesGrid*>(QStringLiteral("cxGrid1"));
        grid->view()->setFocus();
        QTest::keyClick(grid->view(), Qt::Key_Insert);
        const int row = grid->view()->currentIndex().row();
        QCOMPARE(table->recordCount(), importedRecords + 1);
        type(row, "vcoordsproduct", QStringLiteral("Harbour Lamp"));
        type(row, "vcoordspm_x", QStringLiteral("7.5"));
        type(row, "vcoordsv_y", QStringLiteral("2.5"));
        type(row, "vcoordscc_x", QStringLiteral("9"));
        if (QTest::currentTestFailed())
            return;
        QTest::keyClick(grid->view(), row > 0 ? Qt::Key_Up : Qt::Key_Down);
        QCOMPARE(table->state(), CoordTable::State::Browse);
        int typed = -1;
        for (int i = 0; i < table->recordCount(); ++i)
            if (table->value(i, F_product).toString() == QStringLiteral("Harbour Lamp"))
                typed = i;
        QVERIFY(typed >= 0);
        QCOMPARE(table->number(typed, F_pm_x), 7.5);
        QCOMPARE(table->number(typed, F_v_y), 2.5);
        QCOMPARE(table->number(typed, F_cc_x), 9.0);

        // Switch to Portuguese and export a picture of a matrix tab.
        clickTab(FormKorvell->P_MAP);
        const QList<QAction*> languages = FormKorvell->findChild<QMenu*>(QStringLiteral("PopupMenu1"))->actions();
        QCOMPARE(languages.size(), 2);
        languages.at(1)->trigger();
        QCOMPARE(AppConfig.LangName, QStringLiteral("Portuguese"));
        QCOMPARE(FormKorvell->cxButton2->text(), QStringLiteral("&Exportar para Jpeg"));
        QTest::mouseClick(FormKorvell->cxButton2, Qt::LeftButton);
        const QStringList exported = QDir(f.dir->path()).entryList({QStringLiteral("Exported_*.jpg")}, QDir::Files);
        QCOMPARE(exported.size(), 1);
        QImageReader reader(QDir(f.dir->path()).filePath(exported.first()));
        QCOMPARE(reader.format(), QByteArray("jpeg"));
        QCOMPARE(reader.size(), FormKorvell->size());
        QVERIFY(!reader.read().isNull());

        // Entering the values tab writes the series back; the table then holds what the derivations
        // give for its scores, recomputed here on a table of their own.
        clickTab(FormKorvell->P_VALUES);
        QCOMPARE(table->recordCount(), importedRecords + 1);
        CoordTable expected;
        expected.open();
        const int fieldCount = static_cast<int>(CoordTable::fields().size());
        for (int i = 0; i < table->recordCount(); ++i) {
            expected.append();
            for (int field = 0; field < fieldCount; ++field)
                expected.setValue(field, table->value(i, field));
            expected.post();
        }
        MapModel derivations(&expected);
        derivations.reloadAll();
        derivations.RecalculateFrom(QStringLiteral("every matrix"));
        derivations.StoreSeriesToTable();
        for (int i = 0; i < table->recordCount(); ++i) {
            for (int field = F_pm_x; field <= F_res_eva_y; ++field) {
                const double got = table->number(i, field);
                const double want = expected.number(i, field);
                QVERIFY2((std::isnan(got) && std::isnan(want)) || std::abs(got - want) < 1e-9,
                         qPrintable(QStringLiteral("record %1, %2: %3 instead of %4")
                                        .arg(i)
                                        .arg(QString::fromLatin1(CoordTable::fields()[field].name))
                                        .arg(got)
                                        .arg(want)));
            }
        }
        QCOMPARE(expected.number(typed, F_pm_x), 7.5);

        // Close with Yes: the preferred language is saved.
        f.shown.clear();
        f.questionAnswer = Dialogs::Answer::Yes;
        FormKorvell->close();
        QCOMPARE(f.shown.size(), 1);
        QCOMPARE(f.shown.first().message.buttons, Dialogs::Buttons::YesNo);
        QCOMPARE(f.terminations, 1);
        QVERIFY(!FormKorvell->isVisible());
        QCOMPARE(
            IniFile::readString(programFile("korvell.ini"), QStringLiteral("SAVED_VARS"), QStringLiteral("PREF_LANG")),
            QStringLiteral("Portuguese"));
    }
};

QTEST_MAIN(TestEndToEnd)
#include "tst_endtoend.moc"
