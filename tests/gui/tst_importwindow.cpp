// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#include "LoginFixture.h"

#include "db/Connection.h"
#include "db/ResultsImport.h"
#include "db/SqlDataSet.h"
#include "localisation/IniFile.h"
#include "model/CoordTable.h"
#include "ui/DataSetTableModel.h"
#include "ui/ImportResults.h"
#include "ui/LicenceTreeModel.h"
#include "ui/Main.h"

#include <QAbstractItemModelTester>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTableView>
#include <QTreeView>

using namespace korvell;
using korvell::test::LoginFixture;

class TestImportWindow : public QObject {
    Q_OBJECT

    LoginFixture f;
    QString m_connectionString;

    /// Starts the program on a copy of the demo database, logs in and shows the import window.
    void start(LoginFixture::Engine engine, const QString& user = QStringLiteral("demo")) {
        m_connectionString = f.database(engine);
        f.useDefaultDataLink(m_connectionString);
        Forms::start();
        frmLogin->EdUser->setText(user);
        frmLogin->EdPass->setText(user);
        QTest::mouseClick(frmLogin->Button1, Qt::LeftButton);
        QVERIFY(FormKorvell->isVisible());
        // The second login attempt closed the connection of the first: that notice is not ours.
        f.shown.clear();
        FrmImportRes->show();
    }

    /// Rows of a query on the test's database, read outside the window.
    ResultSet read(const QString& sql, const QVariantMap& parameters = {}) {
        Connection connection;
        connection.setConnectionString(m_connectionString);
        connection.open();
        return connection.query(sql, parameters);
    }

    static QString field(const QModelIndex& index, const char* name) {
        return FrmImportRes->licenceModel->fieldValue(index, QString::fromLatin1(name)).toString();
    }

    static QModelIndex firstRespondent() {
        LicenceTreeModel* model = FrmImportRes->licenceModel;
        for (int row = 0; row < model->rowCount(); ++row) {
            const QModelIndex holder = model->index(row, 0);
            if (model->rowCount(holder) > 0)
                return model->index(0, 0, holder);
        }
        return {};
    }

private slots:
    void init() { f.setUp(); }
    void cleanup() { f.tearDown(); }

    void treeListsLicenceHoldersWithTheirRespondents_data() { LoginFixture::addEngineRows(); }
    void treeListsLicenceHoldersWithTheirRespondents() {
        QFETCH(LoginFixture::Engine, engine);
        start(engine);
        LicenceTreeModel* model = FrmImportRes->licenceModel;
        QAbstractItemModelTester tester(model, QAbstractItemModelTester::FailureReportingMode::QtTest);

        const ResultSet holders =
            read(QStringLiteral("SELECT u.idutilizador FROM utilizadores u JOIN TiposUtilizador t "
                                "ON t.idtipoutilizador = u.idtipoutilizador WHERE "
                                "t.tipoutilizador = 'LICENSE' AND u.status = 'IN USE' AND "
                                "u.parent_user = :partner"),
                 {{QStringLiteral("partner"), TestDatabases::demoPartnerId()}});
        QCOMPARE(holders.rowCount(), 3);
        QCOMPARE(FrmImportRes->qryLics->parameter(QStringLiteral(":parent_user")).toString(),
                 TestDatabases::demoPartnerId());
        QCOMPARE(model->rowCount(), 3);
        int respondents = 0;
        for (int row = 0; row < model->rowCount(); ++row) {
            const QModelIndex holder = model->index(row, 0);
            QCOMPARE(field(holder, "LicUser"), field(holder, "idutilizador"));
            const int children = model->rowCount(holder);
            QVERIFY(children > 0);
            for (int child = 0; child < children; ++child) {
                const QModelIndex respondent = model->index(child, 0, holder);
                QCOMPARE(field(respondent, "parent_user"), field(holder, "idutilizador"));
                QCOMPARE(field(respondent, "LicUser"), field(holder, "idutilizador"));
                QCOMPARE(model->rowCount(respondent), 0);
            }
            respondents += children;
        }
        QCOMPARE(respondents + 3, static_cast<int>(FrmImportRes->qryLics->rowCount()));
        QCOMPARE(model->headerData(2, Qt::Horizontal).toString(), QStringLiteral("Business Amount"));

        // The first licence holder is current and its products are listed.
        const QModelIndex current = FrmImportRes->cxDBTreeList1->currentIndex();
        QCOMPARE(current, model->index(0, 0));
        QVERIFY(FrmImportRes->qryProdutos->rowCount() > 0);
        QCOMPARE(FrmImportRes->productModel->fieldValue(0, QStringLiteral("idutilizador")).toString(),
                 field(current, "idutilizador"));
    }

    void respondentListsItsLicenceHoldersProducts_data() { LoginFixture::addEngineRows(); }
    void respondentListsItsLicenceHoldersProducts() {
        QFETCH(LoginFixture::Engine, engine);
        start(engine);
        const QModelIndex respondent = firstRespondent();
        QVERIFY(respondent.isValid());
        QSignalSpy sent(FrmImportRes->qryProdutos, &SqlDataSet::commandSent);
        FrmImportRes->cxDBTreeList1->setCurrentIndex(respondent);
        QCOMPARE(sent.count(), 1);
        QCOMPARE(sent.first().first().toString(),
                 QStringLiteral("select  * from Produtos\r\nwhere idutilizador = :idlicensa"));

        const QString holder = field(respondent.parent(), "idutilizador");
        const ResultSet products = read(QStringLiteral("SELECT idproduto FROM Produtos WHERE idutilizador = :id"),
                                        {{QStringLiteral("id"), holder}});
        QCOMPARE(FrmImportRes->productModel->rowCount(), static_cast<int>(products.rowCount()));
        for (int row = 0; row < FrmImportRes->productModel->rowCount(); ++row)
            QCOMPARE(FrmImportRes->productModel->fieldValue(row, QStringLiteral("idutilizador")).toString(), holder);
        QCOMPARE(FrmImportRes->cxGrid1->selectionModel()->selectedRows().size(), 1);
    }

    void importButtonsPassTheirIds_data() { LoginFixture::addEngineRows(); }
    void importButtonsPassTheirIds() {
        QFETCH(LoginFixture::Engine, engine);
        start(engine);
        const QModelIndex respondent = firstRespondent();
        FrmImportRes->cxDBTreeList1->setCurrentIndex(respondent);
        const QString respondentId = field(respondent, "idutilizador");
        const QString holderId = field(respondent, "LicUser");
        // Whatever product is selected, per user takes the fixed product id.
        FrmImportRes->cxGrid1->selectRow(FrmImportRes->productModel->rowCount() - 1);

        QSignalSpy sent(FrmImportRes->qryGetData, &SqlDataSet::commandSent);
        QTest::mouseClick(FrmImportRes->cxButtonUser, Qt::LeftButton);
        QCOMPARE(f.texts(), QStringList());
        QCOMPARE(FrmImportRes->FImportUserId, respondentId);
        QCOMPARE(FrmImportRes->FImportProductId, QStringLiteral("62099C9D-3F9A-48FE-8E92-876D00DA82FC"));
        QCOMPARE(sent.count(), 10);
        QCOMPARE(sent.first().first().toString(),
                 QStringLiteral("EXEC selectgrafico_map'G1-%','%1','62099C9D-3F9A-48FE-8E92-876D00DA82FC',"
                                "'35e86bd2-ec11-489a-a63d-500a55801001'")
                     .arg(respondentId));
        QVERIFY(FormKorvell->memCoord->recordCount() >= 1);
        QCOMPARE(FormKorvell->memCoord->value(0, F_rowid).toString().toUpper(), respondentId.toUpper());
        QVERIFY(!FormKorvell->FImporting);

        sent.clear();
        const int last = FrmImportRes->productModel->rowCount() - 1;
        const QString productId = FrmImportRes->productModel->fieldValue(last, QStringLiteral("idproduto")).toString();
        QTest::mouseClick(FrmImportRes->cxButtonProduct, Qt::LeftButton);
        QCOMPARE(FrmImportRes->FImportUserId, holderId);
        QCOMPARE(FrmImportRes->FImportProductId, productId);
        QCOMPARE(sent.count(), 10);
        QCOMPARE(sent.at(9).first().toString(),
                 QStringLiteral("EXEC selectgrafico_eva_calc'G19','%1','%2','35e86bd2-ec11-489a-a63d-500a55801001'")
                     .arg(holderId, productId));
        QVERIFY(FormKorvell->memCoord->recordCount() >= 1);

        // Closing and showing again reloads the lists and keeps the ids of the last import.
        FrmImportRes->hide();
        QVERIFY(!FrmImportRes->qryLics->isOpen());
        QVERIFY(!FrmImportRes->qryProdutos->isOpen());
        QVERIFY(!FrmImportRes->qryGetData->isOpen());
        FrmImportRes->show();
        QCOMPARE(FrmImportRes->licenceModel->rowCount(), 3);
        QCOMPARE(FrmImportRes->FImportUserId, holderId);
        QCOMPARE(FrmImportRes->FImportProductId, productId);
    }

    void userWithoutLicencesHasNothingToImport_data() { LoginFixture::addEngineRows(); }
    void userWithoutLicencesHasNothingToImport() {
        QFETCH(LoginFixture::Engine, engine);
        start(engine, QStringLiteral("consultant"));
        QCOMPARE(FrmImportRes->licenceModel->rowCount(), 0);
        QCOMPARE(FrmImportRes->productModel->rowCount(), 0);
        QSignalSpy sent(FrmImportRes->qryGetData, &SqlDataSet::commandSent);
        QTest::mouseClick(FrmImportRes->cxButtonUser, Qt::LeftButton);
        QTest::mouseClick(FrmImportRes->cxButtonProduct, Qt::LeftButton);
        QCOMPARE(sent.count(), 0);
        QCOMPARE(FrmImportRes->FImportUserId, QString());
        QCOMPARE(FormKorvell->memCoord->recordCount(), 1);
    }

    void failingImportIsReportedAndLowersTheFlag_data() { LoginFixture::addEngineRows(); }
    void failingImportIsReportedAndLowersTheFlag() {
        QFETCH(LoginFixture::Engine, engine);
        start(engine);
        f.execute(engine == LoginFixture::Engine::SQLite
                      ? QStringLiteral("UPDATE procedures SET body = 'SELECT * FROM scores_gone' "
                                       "WHERE name = 'selectgrafico_vbi_calc'")
                      : QStringLiteral("DROP FUNCTION selectgrafico_vbi_calc"));
        QTest::mouseClick(FrmImportRes->cxButtonUser, Qt::LeftButton);
        QCOMPARE(f.shown.size(), 1);
        QCOMPARE(f.shown.first().message.icon, Dialogs::Icon::Critical);
        QVERIFY(!FormKorvell->FImporting);
        // What steps 1 to 7 brought stays; a product added now gets the defaults.
        const int imported = FormKorvell->memCoord->recordCount();
        QVERIFY(imported > 0);
        FormKorvell->memCoord->append();
        QCOMPARE(FormKorvell->memCoord->recordCount(), imported + 1);
        QCOMPARE(FormKorvell->memCoord->number(imported, F_pm_x), 5.0);
        QVERIFY(FrmImportRes->isVisible());
    }

    void oddScoresAreClampedOrRefused_data() {
        QTest::addColumn<LoginFixture::Engine>("engine");
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("score");
        QTest::addColumn<double>("raw");
        QTest::addColumn<double>("stored");
        QTest::addColumn<QString>("error");
        // The score every step of selectgrafico_map returns for x, on each engine (SQLite has
        // no NaN, so that case runs on PostgreSQL only).
        struct Case {
            const char* name;
            const char* type;
            const char* postgres;
            const char* sqlite;
            double raw;
            double stored;
            const char* error;
        };
        const Case cases[] = {
            {"NaN", "DOUBLE PRECISION", "'NaN'::float8", nullptr, qQNaN(), 0.0, ""},
            {"infinity", "DOUBLE PRECISION", "'Infinity'::float8", "9e999", qInf(), 10.0, ""},
            {"minus infinity", "DOUBLE PRECISION", "'-Infinity'::float8", "-9e999", -qInf(), 0.0, ""},
            {"negative", "DOUBLE PRECISION", "-3.5", "-3.5", -3.5, 0.0, ""},
            {"huge", "DOUBLE PRECISION", "1e300", "1e300", 1e300, 10.0, ""},
            {"null", "DOUBLE PRECISION", "NULL::float8", "NULL", qQNaN(), 0.0, ""},
            {"number as text", "TEXT", "' 7.5 '", "' 7.5 '", 7.5, 7.5, ""},
            {"text", "TEXT", "'high'", "'high'", 0.0, 0.0, "'high' is not a valid number for field 'pm_x'"},
        };
        for (const auto& [engineName, engine] : LoginFixture::engines()) {
            for (const Case& c : cases) {
                const char* expression = engine == LoginFixture::Engine::SQLite ? c.sqlite : c.postgres;
                if (!expression)
                    continue;
                QTest::addRow("%s, %s", engineName.constData(), c.name)
                    << engine << QString::fromLatin1(c.type) << QString::fromLatin1(expression) << c.raw << c.stored
                    << QString::fromLatin1(c.error);
            }
        }
    }
    void oddScoresAreClampedOrRefused() {
        QFETCH(LoginFixture::Engine, engine);
        QFETCH(QString, type);
        QFETCH(QString, score);
        QFETCH(double, raw);
        QFETCH(double, stored);
        QFETCH(QString, error);
        start(engine);
        if (engine == LoginFixture::Engine::SQLite) {
            f.execute(QStringLiteral("UPDATE procedures SET body = 'SELECT idutilizador, ' || '%1' || ' AS x, y, "
                                     "initials FROM (' || body || ')' WHERE name = 'selectgrafico_map'")
                          .arg(QString(score).replace(QLatin1Char('\''), QStringLiteral("''"))));
        } else {
            f.execute(QStringLiteral("ALTER FUNCTION selectgrafico_map(TEXT, TEXT, TEXT, TEXT) RENAME TO demo_map"));
            f.execute(QStringLiteral("CREATE FUNCTION selectgrafico_map(g TEXT, u TEXT, p TEXT, q TEXT) RETURNS TABLE "
                                     "(idutilizador TEXT, x %1, y DOUBLE PRECISION, initials TEXT) LANGUAGE sql AS "
                                     "$$ SELECT idutilizador, %2, y, initials FROM demo_map(g, u, p, q) $$")
                          .arg(type, score));
        }
        QTest::mouseClick(FrmImportRes->cxButtonUser, Qt::LeftButton);
        QVERIFY(!FormKorvell->FImporting);
        CoordTable* table = FormKorvell->memCoord;
        if (!error.isEmpty()) {
            QCOMPARE(f.texts(), QStringList{error});
            QCOMPARE(table->recordCount(), 0);
            return;
        }
        QCOMPARE(f.texts(), QStringList());
        QVERIFY(table->recordCount() > 0);
        // The write-back clamps what passes through the series; the business-model fields stay
        // as the procedure gave them, and their matrices clip what they draw.
        const int written[] = {F_pm_x, F_v_x, F_e_x, F_msd_x, F_cc_x};
        const int untouched[] = {F_bm_pc_x, F_bm_c_x};
        QList<int> scores;
        for (int field = F_pm_x; field <= F_res_eva_y; ++field)
            scores << field;
        for (int row = 0; row < table->recordCount(); ++row) {
            for (int field : written)
                QCOMPARE(table->number(row, field), stored);
            for (int field : untouched)
                QCOMPARE(table->number(row, field), raw);
            for (int field : std::as_const(scores)) {
                const double value = table->number(row, field);
                QVERIFY2(value >= 0.0 && value <= 10.0,
                         qPrintable(QStringLiteral("%1 = %2")
                                        .arg(QString::fromLatin1(CoordTable::fields()[field].name))
                                        .arg(value)));
            }
        }
        // The grid and every matrix show what was stored.
        for (QWidget* page :
             {FormKorvell->P_VALUES, FormKorvell->P_MAP, FormKorvell->P_VBI, FormKorvell->P_EVA, FormKorvell->P_BM}) {
            FormKorvell->cxPageControl1->setCurrentWidget(page);
            QVERIFY(!FormKorvell->grab().isNull());
        }
        QCOMPARE(f.texts(), QStringList());
    }

    void importDataShowsOnlyWhenTheSettingsAskForIt_data() {
        QTest::addColumn<QString>("setting");
        QTest::addColumn<bool>("shown");
        QTest::newRow("no setting") << QString() << false;
        QTest::newRow("0") << QStringLiteral("0") << false;
        QTest::newRow("1") << QStringLiteral("1") << true;
    }
    void importDataShowsOnlyWhenTheSettingsAskForIt() {
        QFETCH(QString, setting);
        QFETCH(bool, shown);
        if (!setting.isNull())
            IniFile::writeString(settingsFilePath(), QStringLiteral("SAVED_VARS"), QStringLiteral("SHOW_IMPORT"),
                                 setting);
        start(LoginFixture::Engine::SQLite);
        FrmImportRes->hide();
        QCOMPARE(!FormKorvell->cxButton1->isHidden(), shown);
        QVERIFY(!FormKorvell->cxButton1->isEnabled());
        FormKorvell->cxPageControl1->setCurrentWidget(FormKorvell->P_VALUES);
        QVERIFY(FormKorvell->cxButton1->isEnabled());
        FormKorvell->cxPageControl1->setCurrentWidget(FormKorvell->P_MAP);
        QVERIFY(!FormKorvell->cxButton1->isEnabled());
    }
};

QTEST_MAIN(TestImportWindow)
#include "tst_importwindow.moc"
