// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#include "LoginFixture.h"

#include "db/Connection.h"
#include "db/ResultsImport.h"
#include "db/SqlDataSet.h"
#include "model/CoordTable.h"
#include "ui/DataSetTableModel.h"
#include "ui/ImportResults.h"
#include "ui/LicenceTreeModel.h"
#include "ui/Main.h"
#include "ui/QuestionsGrid.h"
#include "ui/QuestionsModel.h"

#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QTreeView>

#include <cmath>

using namespace korvell;
using korvell::test::LoginFixture;

/// The database server going away under a logged-in user. The server is a cluster of this
/// test's own, so stopping it never disturbs the other tests of the run.
class TestServerFaults : public QObject {
    Q_OBJECT

    LoginFixture f;
    QTemporaryDir m_clusterDir;
    QHash<QString, QString> m_info;
    bool m_running = false;

    QString state() const { return m_clusterDir.filePath(QStringLiteral("cluster")); }

    bool cluster(const QString& command) {
        QStringList arguments{QStringLiteral(KORVELL_DATA_DIR "/../scripts/pg-test-cluster.sh"), command, state()};
        if (command == QLatin1String("start"))
            arguments << QStringLiteral(KORVELL_DATA_DIR "/demo");
        QProcess script;
        script.start(QStringLiteral("bash"), arguments);
        if (!script.waitForFinished(180000) || script.exitStatus() != QProcess::NormalExit || script.exitCode() != 0) {
            qWarning("pg-test-cluster.sh %s: %s", qPrintable(command), script.readAllStandardError().constData());
            return false;
        }
        m_running = command == QLatin1String("start") || command == QLatin1String("resume");
        return true;
    }

    QString connectionString() const {
        return TestDatabases::postgresString(m_info, m_info.value(QStringLiteral("database")));
    }

    /// Rows of a query on the cluster, read outside the program.
    ResultSet read(const QString& sql) const {
        Connection connection;
        connection.setConnectionString(connectionString());
        connection.open();
        return connection.query(sql);
    }

    static void login() {
        frmLogin->EdUser->setText(QStringLiteral("demo"));
        frmLogin->EdPass->setText(QStringLiteral("demo"));
        QTest::mouseClick(frmLogin->Button1, Qt::LeftButton);
    }

    /// Starts the program on the cluster and logs in as the demo partner.
    void start() {
        f.useDefaultDataLink(connectionString());
        Forms::start();
        login();
        QVERIFY(FormKorvell->isVisible());
        // The second login attempt closed the connection of the first: that notice is not ours.
        f.shown.clear();
    }

    void verifyNoCriticalReport() const {
        for (const LoginFixture::Shown& s : f.shown)
            QVERIFY2(s.message.icon != Dialogs::Icon::Critical, qPrintable(s.message.text));
    }

private slots:
    void initTestCase() {
        if (!TestDatabases::postgresAvailable())
            QSKIP("needs the PostgreSQL server binaries that the test run provides");
        QVERIFY(m_clusterDir.isValid());
        QVERIFY(cluster(QStringLiteral("start")));
        m_info = TestDatabases::readInfo(state() + QStringLiteral("/info"));
        QVERIFY(!m_info.isEmpty());
    }
    void cleanupTestCase() {
        if (m_clusterDir.isValid())
            cluster(QStringLiteral("stop"));
    }
    void init() {
        f.setUp();
        if (!m_running)
            QVERIFY(cluster(QStringLiteral("resume")));
    }
    void cleanup() { f.tearDown(); }

    void importKeepsWhatArrivedBeforeTheServerStopped() {
        start();
        FrmImportRes->show();
        const QString holder = FrmImportRes->licenceModel
                                   ->fieldValue(FrmImportRes->cxDBTreeList1->currentIndex(), QStringLiteral("LicUser"))
                                   .toString();
        const QString product = FrmImportRes->productModel->fieldValue(0, QStringLiteral("idproduto")).toString();
        // What the first three steps bring, asked before the server goes.
        QList<ResultSet> expected;
        for (int step = 0; step < 3; ++step)
            expected << read(ResultsImport::commandText(ResultsImport::steps()[step], holder, product));
        QVERIFY(expected.first().rowCount() > 0);

        int sent = 0;
        const auto stopBeforeStepFour = connect(FrmImportRes->qryGetData, &SqlDataSet::commandSent, this, [&] {
            if (++sent == 4)
                QVERIFY(cluster(QStringLiteral("pause")));
        });
        QTest::mouseClick(FrmImportRes->cxButtonProduct, Qt::LeftButton);
        disconnect(stopBeforeStepFour);
        QCOMPARE(sent, 4);
        QCOMPARE(f.shown.size(), 1);
        QCOMPARE(f.shown.first().message.icon, Dialogs::Icon::Critical);
        QVERIFY(!f.anyOutputContains(m_info.value(QStringLiteral("password"))));
        QVERIFY(!FormKorvell->FImporting);
        QVERIFY(FrmImportRes->isVisible());

        // Every score of the first three steps is in the table as the procedures gave it,
        // nothing of the steps that never ran.
        CoordTable* table = FormKorvell->memCoord;
        const char* fields[3][2] = {{"pm_x", "pm_y"}, {"v_x", "v_y"}, {"e_x", "e_y"}};
        for (int step = 0; step < 3; ++step) {
            const ResultSet& rows = expected.at(step);
            for (qsizetype row = 0; row < rows.rowCount(); ++row) {
                QVERIFY(table->locateRowId(rows.value(row, QStringLiteral("idutilizador")).toString()));
                for (int axis = 0; axis < 2; ++axis) {
                    const int field = CoordTable::requireField(QString::fromLatin1(fields[step][axis]));
                    QCOMPARE(table->number(table->currentIndex(), field),
                             rows.value(row, axis == 0 ? QStringLiteral("x") : QStringLiteral("y")).toDouble());
                }
            }
        }
        QVERIFY(table->recordCount() >= expected.first().rowCount());
        for (int row = 0; row < table->recordCount(); ++row)
            QVERIFY(std::isnan(table->number(row, F_s_x)));

        // The windows still answer: the grid shows the records, a product typed now gets the
        // defaults, a second import is refused with a report.
        FormKorvell->cxPageControl1->setCurrentWidget(FormKorvell->P_VALUES);
        FormKorvell->cxPageControl1->setCurrentWidget(FormKorvell->P_MAP);
        const int kept = table->recordCount();
        table->append();
        QCOMPARE(table->number(kept, F_pm_x), 5.0);
        table->post();
        f.shown.clear();
        QTest::mouseClick(FrmImportRes->cxButtonUser, Qt::LeftButton);
        QCOMPARE(f.shown.size(), 1);
        QCOMPARE(f.shown.first().message.icon, Dialogs::Icon::Critical);
        QVERIFY2(f.shown.first().message.text.contains(QStringLiteral("connection to the database server was lost")),
                 qPrintable(f.shown.first().message.text));
        QVERIFY(!FormKorvell->FImporting);

        // With the server back, the periodic check finds the old connection gone and asks
        // for a new login, after which the import runs whole.
        QVERIFY(cluster(QStringLiteral("resume")));
        FrmImportRes->hide();
        f.shown.clear();
        FormKorvell->Timer1Timer();
        QVERIFY(frmLogin->isVisible());
        QVERIFY(!FormKorvell->isVisible());
        login();
        QVERIFY(FormKorvell->isVisible());
        f.shown.clear();
        FrmImportRes->show();
        QTest::mouseClick(FrmImportRes->cxButtonProduct, Qt::LeftButton);
        QCOMPARE(f.texts(), QStringList());
        QVERIFY(table->recordCount() >= expected.first().rowCount());
        for (int row = 0; row < table->recordCount(); ++row)
            QVERIFY(!std::isnan(table->number(row, F_res_eva_y)));
    }

    void periodicCheckReturnsToLoginUntilTheServerIsBack() {
        start();
        FormKorvell->Timer1Timer();
        QVERIFY(FormKorvell->isVisible());
        QVERIFY(FormKorvell->Timer1->isActive());

        QVERIFY(cluster(QStringLiteral("pause")));
        FormKorvell->Timer1Timer();
        QVERIFY(!FormKorvell->isVisible());
        QVERIFY(frmLogin->isVisible());
        QVERIFY(!FormKorvell->Timer1->isActive());
        QVERIFY(!frmLogin->ADOConnection1->isOpen());
        QCOMPARE(f.texts(), QStringList{LoginFixture::disconnected});
        QVERIFY(!f.anyOutputContains(m_info.value(QStringLiteral("password"))));

        // With the server gone, the next Ok says so and the login window stays.
        f.shown.clear();
        login();
        QCOMPARE(f.texts(), QStringList{LoginFixture::unreachable});
        QVERIFY(frmLogin->isVisible());
        QVERIFY(!FormKorvell->isVisible());

        // Once it is back, the same login brings the map window back with its checks.
        QVERIFY(cluster(QStringLiteral("resume")));
        f.shown.clear();
        login();
        QVERIFY(FormKorvell->isVisible());
        QVERIFY(!frmLogin->isVisible());
        QVERIFY(FormKorvell->Timer1->isActive());
        verifyNoCriticalReport();
        FormKorvell->Timer1Timer();
        QVERIFY(FormKorvell->isVisible());
        QCOMPARE(f.terminations, 0);
    }

    void questionEditKeepsItsTextWhenTheServerStops() {
        start();
        FormKorvell->cxPageControl1->setCurrentWidget(FormKorvell->cxTabSheet1);
        QuestionsGrid* grid = FormKorvell->cxGrid2;
        QuestionsModel* model = grid->model();
        QTableView* view = grid->view();
        const QModelIndex question = model->indexOf(0, QuestionsModel::Question);
        view->setCurrentIndex(question);
        view->edit(question);
        auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        QVERIFY(editor);
        editor->selectAll();
        QTest::keyClicks(editor, QStringLiteral("Typed while the server went away"));
        QTest::keyClick(editor, Qt::Key_Return);

        QVERIFY(cluster(QStringLiteral("pause")));
        view->setCurrentIndex(model->indexOf(1, QuestionsModel::Code));
        QCOMPARE(f.shown.size(), 1);
        QCOMPARE(f.shown.first().message.icon, Dialogs::Icon::Critical);
        QVERIFY(!f.anyOutputContains(m_info.value(QStringLiteral("password"))));
        QCOMPARE(model->text(0, QuestionsModel::Question), QStringLiteral("Typed while the server went away"));
        QVERIFY(model->isModified(0));
        QVERIFY(FormKorvell->isVisible());
    }
};

QTEST_MAIN(TestServerFaults)
#include "tst_serverfaults.moc"
