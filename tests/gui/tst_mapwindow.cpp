// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#include "localisation/Appvars.h"
#include "localisation/IniFile.h"
#include "localisation/ProgramFolder.h"
#include "model/CoordTable.h"
#include "model/MapModel.h"
#include "ui/CoordTableModel.h"
#include "ui/Dialogs.h"
#include "ui/DragPointTool.h"
#include "ui/Forms.h"
#include "ui/Main.h"
#include "ui/MatrixChart.h"
#include "ui/ValuesGrid.h"
#include "ui/XLabel.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QImageReader>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include <cmath>
#include <memory>

using namespace korvell;

class TestMapWindow : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void startState();
    void startLanguage_data();
    void startLanguage();
    void valuesTabRoundTrip_data();
    void valuesTabRoundTrip();
    void matrixTabsKeepDraggedPoints();
    void dragCopiesEffortAndNeededCapability_data();
    void dragCopiesEffortAndNeededCapability();
    void dragPastAxisEndLandsOnLimit();
    void xOnlyDragRecomputesAtRelease();
    void modifiedDragRecomputesOnlyAtRelease();
    void anyButtonReleaseNormalises_data();
    void anyButtonReleaseNormalises();
    void escapeDuringDragRestoresDependents();
    void minorGridMenu();
    void gridEditInNeededCapabilityBand();
    void languageSwitch();
    void choosingLanguageWithoutFile();
    void exportsTwoPictures();
    void exportToUnwritableFolder();
    void closeAnsweredNo();
    void closeAnsweredYes();
    void failedLoginCheckHidesWindow_data();
    void failedLoginCheckHidesWindow();

private:
    void createWindow();
    void setPreferredLanguage(const QString& name);
    MatrixChart* chart(const char* name) const { return m_window->chart(QString::fromLatin1(name)); }
    BubbleSeries* series(const char* name) const { return m_window->mapModel()->series(QString::fromLatin1(name)); }
    template <class T> T* component(const char* name) const {
        T* found = m_window->findChild<T*>(QString::fromLatin1(name));
        if (!found)
            qFatal("no component %s", name);
        return found;
    }
    QTabWidget* pages() const { return component<QTabWidget>("cxPageControl1"); }
    void showPage(const char* name) { pages()->setCurrentWidget(component<QWidget>(name)); }
    static QPoint at(const MatrixChart* c, double x, double y) {
        return c->plotGeometry().valueToPixel(x, y).toPoint();
    }
    static void moveWith(QWidget* w, QPoint pos, Qt::KeyboardModifiers modifiers) {
        QMouseEvent move(QEvent::MouseMove, pos, w->mapToGlobal(pos), Qt::NoButton, Qt::LeftButton, modifiers);
        QApplication::sendEvent(w, &move);
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    TFormKorvell* m_window = nullptr;
    QList<Dialogs::Message> m_messages;
    Dialogs::Answer m_answer = Dialogs::Answer::Ok;
};

void TestMapWindow::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    for (const char* file : {"korvell.ini", "English.lng", "Portuguese.lng"}) {
        QVERIFY(QFile::copy(QStringLiteral(KORVELL_DATA_DIR "/") + QLatin1String(file),
                            m_dir->filePath(QLatin1String(file))));
        QFile::setPermissions(m_dir->filePath(QLatin1String(file)), QFile::ReadOwner | QFile::WriteOwner);
    }
    ProgramFolder::setPath(m_dir->path());
    AppConfig = TAppConfigVar{};
    AppTexts = TApplicationVar{};
    m_messages.clear();
    m_answer = Dialogs::Answer::Ok;
    Dialogs::setAnswerer([this](const Dialogs::Message& message) {
        m_messages.append(message);
        return message.buttons == Dialogs::Buttons::YesNo ? m_answer : Dialogs::Answer::Ok;
    });
}

void TestMapWindow::cleanup() {
    delete m_window;
    m_window = nullptr;
    Forms::reset();
    Dialogs::setAnswerer({});
    ProgramFolder::setPath(QString());
    m_dir.reset();
}

void TestMapWindow::createWindow() {
    Forms::create(FormKorvell);
    m_window = FormKorvell;
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
}

void TestMapWindow::setPreferredLanguage(const QString& name) {
    IniFile::writeString(m_dir->filePath(QStringLiteral("korvell.ini")), QStringLiteral("SAVED_VARS"),
                         QStringLiteral("PREF_LANG"), name);
}

void TestMapWindow::startState() {
    // The design's state: a site that imports turns Import Data on in the settings file.
    IniFile::writeString(m_dir->filePath(QStringLiteral("korvell.ini")), QStringLiteral("SAVED_VARS"),
                         QStringLiteral("SHOW_IMPORT"), QStringLiteral("0"));
    createWindow();
    QCOMPARE(m_window->windowTitle(), QStringLiteral(" KORVELL®  v.2.1"));
    QCOMPARE(m_window->size(), QSize(816, 568));

    QStringList sheetNames;
    for (int i = 0; i < pages()->count(); ++i)
        sheetNames << pages()->widget(i)->objectName();
    QCOMPARE(sheetNames, QStringList({"P_MAP", "P_VBI", "P_EVA", "P_BM", "P_NINEOD", "P_VALUES", "cxTabSheet1"}));
    QCOMPARE(pages()->currentWidget(), component<QWidget>("P_MAP"));
    QCOMPARE(m_window->FPreviousPage.data(), component<QWidget>("P_BM"));
    QVERIFY(!pages()->isTabVisible(pages()->indexOf(component<QWidget>("P_NINEOD"))));
    QVERIFY(pages()->isTabVisible(pages()->indexOf(component<QWidget>("P_VALUES"))));

    QCOMPARE(m_window->memCoord->recordCount(), 1);
    QCOMPARE(m_window->memCoord->value(0, F_product).toString(), QStringLiteral("<PRODUCT>"));
    for (int i = 0; i < MatrixCount; ++i)
        QCOMPARE(m_window->mapModel()->series(i)->count(), 1);

    QVERIFY(component<QPushButton>("cxButton2")->isVisible());
    QVERIFY(component<QPushButton>("cxButton2")->isEnabled());
    QVERIFY(component<QToolButton>("cxButton4")->isVisible());
    QVERIFY(!component<QPushButton>("cxButton1")->isVisible());
    QVERIFY(!component<QPushButton>("cxButton1")->isEnabled());
    for (const char* hidden : {"Label1", "cxSpinRadius", "cxButtonClose", "Panel2"})
        QVERIFY2(!component<QWidget>(hidden)->isVisible(), hidden);
    QCOMPARE(component<QLabel>("LHint")->text(), AppTexts.HeaderPanel);
    QVERIFY(!AppTexts.HeaderPanel.isEmpty());
    QVERIFY(!component<QTimer>("Timer1")->isActive());
    QCOMPARE(component<QTimer>("Timer1")->interval(), 30000);

    // The quadrant captions got their blank at creation, the header's hidden label too.
    QCOMPARE(chart("Chart1")->quadrantLabel(QStringLiteral("Label15"))->caption(), QStringLiteral("Ocean "));
    QCOMPARE(chart("ChartMSD")->quadrantLabel(QStringLiteral("Xlabel9"))->caption(), QStringLiteral("Complex "));
    QCOMPARE(component<TXLabel>("Label1")->caption(), QStringLiteral("Bubble Radius "));

    // Tools on the nine input matrices only; the strategy matrix moves in X alone.
    for (const MatrixDef& def : matrixCatalogue()) {
        const QList<DragPointTool*> tools = chart(def.chartName)->tools();
        if (def.drag == DragStyle::None) {
            QVERIFY2(tools.isEmpty(), def.chartName);
            continue;
        }
        QCOMPARE(tools.size(), 1);
        QCOMPARE(tools.first()->style(), def.drag);
        QVERIFY(tools.first()->isActive());
        QCOMPARE(tools.first()->series(), chart(def.chartName)->series());
    }
    QCOMPARE(chart("Chart5")->tools().first()->style(), DragStyle::XOnly);
}

void TestMapWindow::startLanguage_data() {
    QTest::addColumn<QString>("preferred");
    QTest::addColumn<bool>("buttonEnabled");
    QTest::addColumn<int>("checkedItem");
    QTest::addColumn<QString>("mapCaption");
    QTest::addColumn<QString>("copyrightStart");

    QTest::newRow("English") << "English" << true << 0 << "Strategy"
                             << "Copyright";
    QTest::newRow("Portuguese") << "Portuguese" << true << 1 << QString::fromUtf8("Estratégia") << "Direitos de autor";
    // The file is found (INI keys ignore case) but the menu key differs in case: no mark.
    QTest::newRow("letter case differs") << "english" << true << -1 << "Strategy"
                                         << "Copyright";
    QTest::newRow("language without file") << "Klingon" << false << -1 << "Strategy"
                                           << "";
    QTest::newRow("none") << "" << false << -1 << "Strategy"
                          << "";
}

void TestMapWindow::startLanguage() {
    QFETCH(QString, preferred);
    QFETCH(bool, buttonEnabled);
    QFETCH(int, checkedItem);
    QFETCH(QString, mapCaption);
    QFETCH(QString, copyrightStart);
    setPreferredLanguage(preferred);
    createWindow();

    QCOMPARE(component<QToolButton>("cxButton4")->isEnabled(), buttonEnabled);
    QCOMPARE(pages()->tabText(pages()->indexOf(component<QWidget>("P_MAP"))), mapCaption);
    const QList<QAction*> items = component<QMenu>("PopupMenu1")->actions();
    int checked = -1;
    for (int i = 0; i < items.size(); ++i) {
        if (items[i]->isChecked()) {
            QCOMPARE(checked, -1);
            checked = i;
        }
    }
    if (buttonEnabled) {
        QCOMPARE(items.size(), 2);
        QCOMPARE(checked, checkedItem);
        QCOMPARE(items[1]->text(), QString::fromUtf8("Português"));
        QCOMPARE(items[1]->data().toInt(), 1);
    } else {
        // Without a language file the design's menu stays, and the button cannot open it.
        QCOMPARE(items.size(), 2);
        QCOMPARE(items[0]->objectName(), QStringLiteral("English1"));
    }
    const QString status = component<QLabel>("statusTextPanel")->text();
    QVERIFY(status.startsWith(copyrightStart));
    QVERIFY(status.endsWith(QStringLiteral("  ")));
}

void TestMapWindow::valuesTabRoundTrip_data() {
    QTest::addColumn<QString>("leaveTo");
    QTest::newRow("to a matrix tab") << "P_EVA";
    QTest::newRow("to the questions tab") << "cxTabSheet1";
}

void TestMapWindow::valuesTabRoundTrip() {
    QFETCH(QString, leaveTo);
    createWindow();
    CoordTable* table = m_window->memCoord;
    // A dragged value point (price 8, functionality 2) not yet recomputed.
    MapModel::SetScoreX(*series("SValor"), 0, 8);
    MapModel::SetScoreY(*series("SValor"), 0, 2);

    QTest::mouseDClick(chart("ChartValor"), Qt::LeftButton, Qt::NoModifier, at(chart("ChartValor"), 8, 2));
    QCOMPARE(pages()->currentWidget(), component<QWidget>("P_VALUES"));
    QCOMPARE(m_window->FPreviousPage.data(), component<QWidget>("P_MAP"));
    QCOMPARE(table->number(0, F_v_x), 8.0);
    QCOMPARE(table->number(0, F_v_y), 2.0);
    QCOMPARE(table->number(0, F_res_pm_y), 5.0); // the write-back stores the series as they are
    QCOMPARE(component<QLabel>("LHint")->text(), AppTexts.HeaderPanel_TABLE);
    QVERIFY(!component<QPushButton>("cxButton2")->isEnabled());
    QVERIFY(component<QPushButton>("cxButton1")->isEnabled());
    QVERIFY(component<QWidget>("Panel2")->isVisible());

    // An edit still pending when the tab is left is posted, then the charts reload and recompute.
    table->edit();
    table->setFloat(QStringLiteral("v_y"), 8);
    pages()->setCurrentWidget(component<QWidget>(leaveTo.toLatin1().constData()));
    QCOMPARE(table->state(), CoordTable::State::Browse);
    QCOMPARE(table->number(0, F_v_y), 8.0);
    QCOMPARE(series("SValor")->y(0), 8.0);
    QCOMPARE(series("SProduto")->y(0), 8.0);
    QCOMPARE(component<QLabel>("LHint")->text(), AppTexts.HeaderPanel);
    QVERIFY(component<QPushButton>("cxButton2")->isEnabled());
    QVERIFY(!component<QPushButton>("cxButton1")->isEnabled());
    QVERIFY(!component<QWidget>("Panel2")->isVisible());
}

void TestMapWindow::matrixTabsKeepDraggedPoints() {
    createWindow();
    MapModel::SetScoreX(*series("SCC"), 0, 9);
    showPage("P_EVA");
    showPage("P_BM");
    showPage("P_MAP");
    QCOMPARE(series("SCC")->x(0), 9.0);
    QCOMPARE(m_window->memCoord->number(0, F_cc_x), 5.0);
    QVERIFY(!component<QPushButton>("cxButton1")->isEnabled());
    QVERIFY(component<QPushButton>("cxButton2")->isEnabled());
}

void TestMapWindow::dragCopiesEffortAndNeededCapability_data() {
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("dragged");
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("copy");
    QTest::newRow("effort on the strategy tab") << "P_MAP"
                                                << "Chart6"
                                                << "SEsforco"
                                                << "SNC";
    QTest::newRow("needed capability on the innovation tab") << "P_VBI"
                                                             << "ChartNC"
                                                             << "SNC"
                                                             << "SEsforco";
}

void TestMapWindow::dragCopiesEffortAndNeededCapability() {
    QFETCH(QString, page);
    QFETCH(QString, dragged);
    QFETCH(QString, source);
    QFETCH(QString, copy);
    createWindow();
    showPage(page.toLatin1().constData());
    MatrixChart* c = chart(dragged.toLatin1().constData());
    BubbleSeries* from = series(source.toLatin1().constData());
    BubbleSeries* to = series(copy.toLatin1().constData());

    QTest::mousePress(c, Qt::LeftButton, Qt::NoModifier, at(c, 5, 5));
    QTest::mouseMove(c, at(c, 7, 3));
    const double firstX = from->x(0);
    const double firstY = from->y(0);
    QVERIFY(firstX > 6.5 && firstY < 3.5);
    QCOMPARE(to->x(0), 5.0); // the handler ran before the tool moved the point
    QTest::mouseMove(c, at(c, 8, 2));
    QVERIFY(std::abs(to->x(0) - firstX) < 0.051);
    QVERIFY(std::abs(to->y(0) - firstY) < 0.051);
    QTest::mouseRelease(c, Qt::LeftButton, Qt::NoModifier, at(c, 8, 2));

    QCOMPARE(to->x(0), from->x(0));
    QCOMPARE(to->y(0), from->y(0));
    QVERIFY(std::abs(from->x(0) - 8.0) < 0.15);
    QVERIFY(std::abs(from->y(0) - 2.0) < 0.15);
    // Product margin X is the needed effort, the geometric mean of the effort scores.
    QVERIFY(std::abs(series("SProduto")->x(0) - std::sqrt(from->x(0) * from->y(0))) < 0.051);
}

void TestMapWindow::dragPastAxisEndLandsOnLimit() {
    createWindow();
    MatrixChart* c = chart("Chart1");
    BubbleSeries* market = series("SMercadoPotencial");
    const QRect plot = c->plotGeometry().plotRect();
    const QPoint beyond(plot.right() + 12, plot.bottom() + 12);
    QVERIFY(c->rect().contains(beyond));

    QTest::mousePress(c, Qt::LeftButton, Qt::NoModifier, at(c, 5, 5));
    QTest::mouseMove(c, beyond);
    QVERIFY(market->x(0) > 10.0);
    QVERIFY(market->y(0) < 0.0);
    QTest::mouseRelease(c, Qt::LeftButton, Qt::NoModifier, beyond);
    QCOMPARE(market->x(0), 10.0);
    QCOMPARE(market->y(0), 0.0);
    // Ten competitors leave no potential market, and no profit to the strategy.
    QCOMPARE(series("SLucroPotencial")->y(0), 0.0);
    QCOMPARE(series("SEVA_PP")->y(0), 0.0);
    QCOMPARE(series("SStrategy")->y(0), 0.0);
}

void TestMapWindow::xOnlyDragRecomputesAtRelease() {
    createWindow();
    // A potential-market change that nothing has recomputed yet.
    MapModel::SetScoreX(*series("SMercadoPotencial"), 0, 9);
    MatrixChart* c = chart("Chart5");
    BubbleSeries* strategy = series("SStrategy");

    QTest::mousePress(c, Qt::LeftButton, Qt::NoModifier, at(c, 5, 5));
    QTest::mouseMove(c, at(c, 2, 9));
    QTest::mouseMove(c, at(c, 2.5, 9));
    QVERIFY(strategy->x(0) < 3.0);
    QCOMPARE(strategy->y(0), 5.0);
    QCOMPARE(series("SLucroPotencial")->y(0), 5.0);
    QTest::mouseRelease(c, Qt::LeftButton, Qt::NoModifier, at(c, 2.5, 9));

    QVERIFY(std::abs(strategy->x(0) - 2.5) < 0.15);
    QCOMPARE(series("SLucroPotencial")->y(0), 2.2); // sqrt(5 * (10 - 9))
    QCOMPARE(strategy->y(0), 3.3);                  // sqrt(2.2 * 5)
}

void TestMapWindow::modifiedDragRecomputesOnlyAtRelease() {
    createWindow();
    MatrixChart* c = chart("Chart1");
    BubbleSeries* market = series("SMercadoPotencial");
    BubbleSeries* profit = series("SLucroPotencial");

    QTest::mousePress(c, Qt::LeftButton, Qt::ShiftModifier, at(c, 5, 5));
    moveWith(c, at(c, 2, 8), Qt::ShiftModifier);
    moveWith(c, at(c, 2, 8.2), Qt::ShiftModifier);
    QVERIFY(market->x(0) < 2.2);
    QCOMPARE(profit->y(0), 5.0);
    moveWith(c, at(c, 2, 8), Qt::ControlModifier);
    QCOMPARE(profit->y(0), 5.0);
    QTest::mouseRelease(c, Qt::LeftButton, Qt::ShiftModifier, at(c, 2, 8));
    const double expected = std::sqrt(market->y(0) * (10 - market->x(0)));
    QVERIFY(std::abs(profit->y(0) - expected) < 0.051);
    QVERIFY(profit->y(0) > 7.5);
}

void TestMapWindow::anyButtonReleaseNormalises_data() {
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::newRow("right") << Qt::RightButton;
    QTest::newRow("middle") << Qt::MiddleButton;
}

void TestMapWindow::anyButtonReleaseNormalises() {
    QFETCH(Qt::MouseButton, button);
    createWindow();
    MatrixChart* c = chart("Chart1");
    BubbleSeries* market = series("SMercadoPotencial");
    market->setX(0, 11.37);
    market->setY(0, 3.14159);
    QTest::mousePress(c, button, Qt::NoModifier, at(c, 1, 1));
    QTest::mouseRelease(c, button, Qt::NoModifier, at(c, 1, 1));
    QCOMPARE(market->x(0), 10.0);
    QCOMPARE(market->y(0), 3.1);
    QCOMPARE(series("SLucroPotencial")->y(0), 0.0);
}

void TestMapWindow::escapeDuringDragRestoresDependents() {
    createWindow();
    MatrixChart* c = chart("Chart1");
    BubbleSeries* market = series("SMercadoPotencial");
    QTest::mousePress(c, Qt::LeftButton, Qt::NoModifier, at(c, 5, 5));
    QTest::mouseMove(c, at(c, 8, 8));
    QTest::mouseMove(c, at(c, 8.5, 8));
    QVERIFY(series("SLucroPotencial")->y(0) < 4.5); // recomputed from the point at (8, 8)
    QTest::keyClick(c, Qt::Key_Escape);
    QCOMPARE(market->x(0), 5.0);
    QCOMPARE(market->y(0), 5.0);
    QTRY_COMPARE(series("SLucroPotencial")->y(0), 5.0);
    QCOMPARE(series("SStrategy")->y(0), 5.0);
    QTest::mouseRelease(c, Qt::LeftButton, Qt::NoModifier, at(c, 8.5, 8));
    QCOMPARE(market->x(0), 5.0);
}

void TestMapWindow::minorGridMenu() {
    createWindow();
    auto* menu = component<QMenu>("PopupMenu2");
    auto* minorGrid = component<QAction>("pop_opt_minorgrid");
    QCOMPARE(menu->actions().size(), 4);
    QVERIFY(menu->actions().at(1)->isSeparator());

    // No chart yet: the item does nothing.
    minorGrid->trigger();
    QVERIFY(minorGrid->isChecked());
    for (int i = 0; i <= MatrixCount; ++i)
        QVERIFY(m_window->chart(i)->leftMinorGridVisible());

    MatrixChart* profit = chart("Chart3");
    QContextMenuEvent request(QContextMenuEvent::Mouse, QPoint(20, 20), profit->mapToGlobal(QPoint(20, 20)));
    QApplication::sendEvent(profit, &request);
    QTRY_VERIFY(menu->isVisible());
    menu->close();
    QCOMPARE(m_window->FPopupChart.data(), profit);
    QVERIFY(minorGrid->isChecked());
    minorGrid->trigger();
    QVERIFY(!minorGrid->isChecked());
    QVERIFY(!profit->leftMinorGridVisible());
    QVERIFY(!profit->bottomMinorGridVisible());
    QVERIFY(chart("Chart1")->leftMinorGridVisible());
    QVERIFY(chart("ChartEVAPP")->bottomMinorGridVisible());

    // The mark follows the chart the menu opens on.
    m_window->Chart1ContextPopup(chart("Chart4"));
    QVERIFY(minorGrid->isChecked());
    m_window->Chart1ContextPopup(profit);
    QVERIFY(!minorGrid->isChecked());

    component<QAction>("pop_opt_HideAll")->trigger();
    for (int i = 0; i <= MatrixCount; ++i) {
        QVERIFY(!m_window->chart(i)->leftMinorGridVisible());
        QVERIFY(!m_window->chart(i)->bottomMinorGridVisible());
    }
    QVERIFY(!chart("DBChart3")->leftMinorGridVisible());
    component<QAction>("pop_opt_ShowAll")->trigger();
    for (int i = 0; i <= MatrixCount; ++i) {
        QVERIFY(m_window->chart(i)->leftMinorGridVisible());
        QVERIFY(m_window->chart(i)->bottomMinorGridVisible());
    }
    QVERIFY(!minorGrid->isChecked()); // left as it was until the menu opens again
}

void TestMapWindow::gridEditInNeededCapabilityBand() {
    createWindow();
    showPage("P_VALUES");
    auto* grid = component<ValuesGrid>("cxGrid1");
    QTableView* view = grid->view();
    QAbstractItemModel* model = view->model();
    const QModelIndex neededX = model->index(0, grid->columnIndex(QStringLiteral("vcoordsnc_x")));
    const QModelIndex effortX = model->index(0, grid->columnIndex(QStringLiteral("vcoordse_x")));
    QVERIFY(neededX.isValid() && effortX.isValid());
    QVERIFY(model->setData(neededX, 7.5));
    QCOMPARE(model->data(effortX).toDouble(), 7.5);

    // A value typed into an open editor reaches the charts when the tab is left.
    const QModelIndex marketX = model->index(0, grid->columnIndex(QStringLiteral("vcoordspm_x")));
    view->setFocus();
    view->setCurrentIndex(marketX);
    view->edit(marketX);
    QWidget* editor = view->indexWidget(marketX);
    QVERIFY(editor);
    editor->setFocus();
    QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(editor, QStringLiteral("7.3"));
    showPage("P_MAP");
    QCOMPARE(m_window->memCoord->state(), CoordTable::State::Browse);
    QCOMPARE(series("SEsforco")->x(0), 7.5);
    QCOMPARE(series("SNC")->x(0), 7.5);
    QCOMPARE(series("SMercadoPotencial")->x(0), 7.3);
    QCOMPARE(series("SProduto")->x(0), 6.1); // sqrt(7.5 * 5)
}

void TestMapWindow::languageSwitch() {
    createWindow();
    // Chosen on the values tab: the hint becomes the matrices' hint, the tab stays.
    showPage("P_VALUES");
    auto* menu = component<QMenu>("PopupMenu1");
    QList<QAction*> items = menu->actions();
    QCOMPARE(items.size(), 2);
    QPointer<QAction> oldItem = items[0];
    items[1]->trigger();

    QCOMPARE(AppConfig.LangName, QStringLiteral("Portuguese"));
    items = menu->actions();
    QCOMPARE(items.size(), 2);
    QVERIFY(!items.contains(oldItem.data()));
    QVERIFY(!items[0]->isChecked());
    QVERIFY(items[1]->isChecked());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(oldItem.isNull());

    QCOMPARE(component<QToolButton>("cxButton4")->text(), QStringLiteral("&Idioma"));
    QCOMPARE(component<QPushButton>("cxButton2")->text(), QStringLiteral("&Exportar para Jpeg"));
    QCOMPARE(pages()->tabText(pages()->indexOf(component<QWidget>("P_VALUES"))), QStringLiteral("Dados"));
    QCOMPARE(component<QLabel>("LHint")->text(), AppTexts.HeaderPanel);
    QCOMPARE(pages()->currentWidget(), component<QWidget>("P_VALUES"));
    QVERIFY(!component<QPushButton>("cxButton2")->isEnabled());
    QCOMPARE(component<QAction>("pop_opt_minorgrid")->text(), AppTexts.LMinorGrid);
    QCOMPARE(chart("Chart1")->title(), QStringLiteral("Mercado"));
    QCOMPARE(chart("ChartEVAPP")->title(), AppTexts.G_PP_Title);
    QCOMPARE(chart("ChartMSD")->leftAxisTitle(), AppTexts.G_MSD_LeftAxis);
    QCOMPARE(chart("Chart_BM_Org")->title(), QStringLiteral("ORGANIZATION"));
    // No blank after a language change, except on the header's label that only creation padded.
    QCOMPARE(chart("Chart1")->quadrantLabel(QStringLiteral("Label15"))->caption(), QStringLiteral("Oceano"));
    QCOMPARE(chart("ChartIM")->quadrantLabel(QStringLiteral("XLabel3"))->caption(), AppTexts.LUpGrading);
    QCOMPARE(chart("ChartIM")->quadrantLabel(QStringLiteral("XLabel2"))->caption(), AppTexts.LTurningaround);
    QCOMPARE(component<TXLabel>("Label1")->caption(), QStringLiteral("Bubble Radius "));
    auto* grid = component<ValuesGrid>("cxGrid1");
    QCOMPARE(grid->bandCaption(2), QStringLiteral("Mercado"));
    QCOMPARE(grid->bandCaption(9), AppTexts.G_NC_Title);
    QCOMPARE(grid->columnCaption(QStringLiteral("vcoordsproduct")), AppTexts.WORD_Product);
    QCOMPARE(grid->columnCaption(QStringLiteral("vcoordsColumn1")), AppTexts.WORD_Color);

    // The checked item again reloads its file and rebuilds the menu.
    items[1]->trigger();
    QCOMPARE(AppConfig.LangName, QStringLiteral("Portuguese"));
    QVERIFY(!menu->actions().contains(items[1]));
    QVERIFY(menu->actions().at(1)->isChecked());
    items = menu->actions();

    // Back to English through the rebuilt menu.
    items[0]->trigger();
    QCOMPARE(AppConfig.LangName, QStringLiteral("English"));
    QCOMPARE(chart("Chart1")->quadrantLabel(QStringLiteral("Label15"))->caption(), QStringLiteral("Ocean"));
    QVERIFY(menu->actions().at(0)->isChecked());
}

void TestMapWindow::choosingLanguageWithoutFile() {
    IniFile::writeString(m_dir->filePath(QStringLiteral("korvell.ini")), QStringLiteral("LANG_FILES"),
                         QStringLiteral("Portuguese"), QStringLiteral("Missing.lng"));
    createWindow();
    component<QMenu>("PopupMenu1")->actions().at(1)->trigger();
    QCOMPARE(AppConfig.LangName, QStringLiteral("Portuguese"));
    QVERIFY(AppConfig.LangFile.isEmpty() || !QFileInfo::exists(m_dir->filePath(AppConfig.LangFile)));
    QVERIFY(!component<QToolButton>("cxButton4")->isEnabled());
    QCOMPARE(component<QToolButton>("cxButton4")->text(), QStringLiteral("&Language"));
    QCOMPARE(chart("Chart1")->quadrantLabel(QStringLiteral("Label15"))->caption(), QStringLiteral("Ocean"));
    QVERIFY(m_messages.isEmpty());
}

void TestMapWindow::exportsTwoPictures() {
    createWindow();
    auto* button = component<QPushButton>("cxButton2");
    QTest::mouseClick(button, Qt::LeftButton);
    QTest::mouseClick(button, Qt::LeftButton);

    const QStringList files = QDir(m_dir->path()).entryList({QStringLiteral("Exported_*.jpg")}, QDir::Files);
    QCOMPARE(files.size(), 2);
    QCOMPARE(m_messages.size(), 2);
    const QRegularExpression name(
        QStringLiteral(R"(^Exported_\{[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}\}\.jpg$)"));
    for (const QString& file : files) {
        QVERIFY2(name.match(file).hasMatch(), qPrintable(file));
        const QString path = QDir(m_dir->path()).filePath(file);
        QImageReader reader(path);
        QCOMPARE(reader.format(), QByteArray("jpeg"));
        QCOMPARE(reader.size(), m_window->size());
        QVERIFY(!reader.read().isNull());
        const QString message = AppTexts.MSG_Exported + QDir::toNativeSeparators(path);
        QVERIFY(std::any_of(m_messages.begin(), m_messages.end(),
                            [&](const Dialogs::Message& m) { return m.text == message; }));
    }
    for (const Dialogs::Message& m : m_messages) {
        QCOMPARE(m.icon, Dialogs::Icon::None);
        QCOMPARE(m.buttons, Dialogs::Buttons::Ok);
    }
    for (int i = 0; i <= MatrixCount; ++i)
        QVERIFY(m_window->chart(i)->borderVisible());
}

void TestMapWindow::exportToUnwritableFolder() {
    createWindow();
    ProgramFolder::setPath(m_dir->filePath(QStringLiteral("missing/folder")));
    QTest::mouseClick(component<QPushButton>("cxButton2"), Qt::LeftButton);
    QCOMPARE(m_messages.size(), 1);
    QCOMPARE(m_messages.first().icon, Dialogs::Icon::Critical);
    QVERIFY(m_messages.first().text.contains(QStringLiteral("Exported_")));
    for (int i = 0; i <= MatrixCount; ++i)
        QVERIFY(m_window->chart(i)->borderVisible());
}

void TestMapWindow::closeAnsweredNo() {
    createWindow();
    CoordTable* table = m_window->memCoord;
    table->edit();
    table->setFloat(QStringLiteral("pm_x"), 9);
    m_answer = Dialogs::Answer::No;
    QVERIFY(!m_window->close());
    QVERIFY(m_window->isVisible());
    QCOMPARE(m_messages.size(), 1);
    QCOMPARE(m_messages.first().icon, Dialogs::Icon::Question);
    QCOMPARE(m_messages.first().buttons, Dialogs::Buttons::YesNo);
    QCOMPARE(m_messages.first().text, QStringLiteral("Korvell\nDo you wish to close Korvell application ?"));
    // The pending change is gone although the window stays.
    QCOMPARE(table->state(), CoordTable::State::Browse);
    QCOMPARE(table->number(0, F_pm_x), 5.0);
    QVERIFY(!m_window->FClosing);
    QVERIFY(table->isOpen());
}

void TestMapWindow::closeAnsweredYes() {
    createWindow();
    component<QMenu>("PopupMenu1")->actions().at(1)->trigger();
    m_answer = Dialogs::Answer::Yes;

    // The close must end the event loop it runs in; the guard ends a loop that would hang.
    QTimer::singleShot(0, m_window, [this] { m_window->close(); });
    QTimer guard;
    guard.setSingleShot(true);
    connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    guard.start(10000);
    QCOMPARE(QCoreApplication::exec(), 0);

    QVERIFY(!m_window->isVisible());
    QVERIFY(m_window->FClosing);
    QVERIFY(!m_window->memCoord->isOpen());
    QCOMPARE(IniFile::readString(m_dir->filePath(QStringLiteral("korvell.ini")), QStringLiteral("SAVED_VARS"),
                                 QStringLiteral("PREF_LANG")),
             QStringLiteral("Portuguese"));
    QCOMPARE(m_messages.size(), 1);
    QCOMPARE(m_messages.first().text, QString::fromUtf8("Korvell\nDeseja fechar a aplicação Korvell ?"));
}

void TestMapWindow::failedLoginCheckHidesWindow_data() {
    QTest::addColumn<bool>("byTimer");
    QTest::newRow("periodic check") << true;
    QTest::newRow("reconnect") << false;
}

void TestMapWindow::failedLoginCheckHidesWindow() {
    QFETCH(bool, byTimer);
    createWindow();
    auto* timer = component<QTimer>("Timer1");
    timer->start();
    // No login window and no connection: the check fails, and so does the reconnect, unreported.
    if (byTimer)
        m_window->Timer1Timer();
    else
        m_window->cxButtonCloseClick();
    QVERIFY(!m_window->isVisible());
    QCOMPARE(timer->isActive(), !byTimer);
    QVERIFY(m_messages.isEmpty());
}

QTEST_MAIN(TestMapWindow)
#include "tst_mapwindow.moc"
