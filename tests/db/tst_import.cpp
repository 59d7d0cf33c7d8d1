// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#include "TestDatabases.h"

#include "common/Error.h"
#include "db/Connection.h"
#include "db/ResultsImport.h"
#include "db/SqlDataSet.h"
#include "model/CoordRecordDefaults.h"
#include "model/CoordTable.h"
#include "model/MapModel.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

using namespace korvell;

namespace {

const QString userA = QStringLiteral("{AAAAAAAA-0000-4000-8000-00000000000A}");
const QString userB = QStringLiteral("{BBBBBBBB-0000-4000-8000-00000000000B}");

/// One crafted result row of the fixture procedures: the group it answers and its columns.
struct Row {
    QString group;
    QString key;
    QVariant x;
    QVariant y;
    QString initials;
};

const char* const kProcedures[] = {"selectgrafico_map", "selectgrafico_map_calc", "selectgrafico_vbi_calc",
                                   "selectgrafico_eva_calc"};

bool isPostgres(const QString& connectionString) {
    return connectionString.startsWith(QStringLiteral("Provider=PostgreSQL"));
}

/// A fixture procedure: the rows of fixture_rows for the group it is called with, in insertion
/// order (the step-4 procedure without a "y" column, as the real one may leave it out), or one
/// that fails on the server.
void defineProcedure(Connection& connection, bool postgres, const char* name, bool fails) {
    const bool noY = qstrcmp(name, "selectgrafico_map_calc") == 0;
    const QString columns = noY ? QStringLiteral("f.initials, f.idutilizador, f.x")
                                : QStringLiteral("f.initials, f.idutilizador, f.x, f.y");
    if (!postgres) {
        connection.execute(
            QStringLiteral("UPDATE procedures SET body = :body WHERE name = :name"),
            {{QStringLiteral("name"), QString::fromLatin1(name)},
             {QStringLiteral("body"),
              QStringLiteral("SELECT %1 FROM %2 f WHERE f.grp = :group ORDER BY f.seq")
                  .arg(columns, fails ? QStringLiteral("scores_not_computed") : QStringLiteral("fixture_rows"))}});
        return;
    }
    const QString body = fails ? QStringLiteral("LANGUAGE plpgsql AS $$ BEGIN RAISE EXCEPTION 'scores not computed'; "
                                                "END $$")
                               : QStringLiteral("LANGUAGE sql AS $$ SELECT %1 FROM fixture_rows f "
                                                "WHERE f.grp = p_group ORDER BY f.seq $$")
                                     .arg(columns);
    connection.execute(
        QStringLiteral("CREATE OR REPLACE FUNCTION %1(p_group TEXT, p_user TEXT, p_product TEXT, "
                       "p_qtype TEXT) RETURNS TABLE (initials TEXT, idutilizador TEXT, "
                       "x DOUBLE PRECISION%2) %3")
            .arg(QString::fromLatin1(name), noY ? QString() : QStringLiteral(", y DOUBLE PRECISION"), body));
}

} // namespace

/// Fixture procedures return the rows of the table fixture_rows for the group they are called
/// with, in insertion order; the step-4 procedure returns no "y" column, as the real one may not.
class TestImport : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

    void mergesTheTenStepsIntoOneRecordPerUser_data() { addEngines(); }
    void mergesTheTenStepsIntoOneRecordPerUser();
    void userOnlyInOneStepGetsOnlyThatStepsFields_data() { addEngines(); }
    void userOnlyInOneStepGetsOnlyThatStepsFields();
    void laterRowsOfTheSameKeyOverwriteIgnoringCase_data() { addEngines(); }
    void laterRowsOfTheSameKeyOverwriteIgnoringCase();
    void emptyResultEmptiesTheTableAndRunsRepeat_data() { addEngines(); }
    void emptyResultEmptiesTheTableAndRunsRepeat();
    void failingStepKeepsRecordsAndLowersTheFlag_data() { addEngines(); }
    void failingStepKeepsRecordsAndLowersTheFlag();
    void importsTheDemoDatabase_data();
    void importsTheDemoDatabase();

    void copiesValuesAsTheyAre();
    void rejectsResultsWithoutTheColumnsItReads_data();
    void rejectsResultsWithoutTheColumnsItReads();

private:
    void addEngines();
    Connection& open(const QString& connectionString);
    void setRows(const QList<Row>& rows);
    /// Runs an import on the fixture database into m_table.
    void runImport(const QString& user = userA, const QString& product = ResultsImport::perUserProductId());

    QTemporaryDir m_dir;
    QString m_sqlite;
    QString m_postgres;
    QString m_postgresName;

    std::unique_ptr<Connection> m_connection;
    std::unique_ptr<CoordTable> m_table;
    std::unique_ptr<MapModel> m_model;
    std::unique_ptr<SqlDataSet> m_query;
    QStringList m_sent;
    QList<bool> m_flag;
};

void TestImport::initTestCase() {
    QVERIFY(m_dir.isValid());
    m_sqlite = TestDatabases::sqliteCopy(m_dir.path(), QStringLiteral("fixture.db"));
    if (TestDatabases::postgresAvailable())
        m_postgres = TestDatabases::createPostgres(&m_postgresName);
    else
        qWarning("PostgreSQL test cluster not started (run through ctest): PostgreSQL cases are left out");

    // SQLite keeps procedure bodies in a table; PostgreSQL has functions of the same names.
    for (const QString& connectionString : {m_sqlite, m_postgres}) {
        if (connectionString.isEmpty())
            continue;
        Connection connection;
        connection.setConnectionString(connectionString);
        connection.open();
        const bool postgres = isPostgres(connectionString);
        connection.execute(QStringLiteral("CREATE TABLE fixture_rows (seq %1 PRIMARY KEY, grp TEXT, idutilizador TEXT, "
                                          "x DOUBLE PRECISION, y DOUBLE PRECISION, initials TEXT)")
                               .arg(postgres ? QStringLiteral("SERIAL") : QStringLiteral("INTEGER")));
        for (const char* name : kProcedures) {
            if (postgres)
                connection.execute(QStringLiteral("DROP FUNCTION %1").arg(QString::fromLatin1(name)));
            defineProcedure(connection, postgres, name, false);
        }
    }
}

void TestImport::cleanupTestCase() {
    if (!m_postgresName.isEmpty())
        TestDatabases::dropPostgres(m_postgresName);
}

void TestImport::init() {
    m_table = std::make_unique<CoordTable>();
    m_model = std::make_unique<MapModel>(m_table.get());
    m_sent.clear();
    m_flag.clear();
    // The map window's new-record handling: defaults unless an import runs.
    connect(m_table.get(), &CoordTable::newRecord, m_table.get(), [this](CoordTable* table) {
        if (m_flag.isEmpty() || !m_flag.last())
            initCoordRecord(*table, QStringLiteral("Product"));
    });
    m_table->open();
    m_table->append();
}

void TestImport::cleanup() {
    m_query.reset();
    m_model.reset();
    m_table.reset();
    m_connection.reset();
}

void TestImport::addEngines() {
    QTest::addColumn<QString>("connectionString");
    QTest::newRow("sqlite") << m_sqlite;
    if (!m_postgres.isEmpty())
        QTest::newRow("postgresql") << m_postgres;
}

Connection& TestImport::open(const QString& connectionString) {
    m_connection = std::make_unique<Connection>();
    m_connection->setConnectionString(connectionString);
    m_connection->open();
    m_query = std::make_unique<SqlDataSet>();
    m_query->setConnection(m_connection.get());
    connect(m_query.get(), &SqlDataSet::commandSent, m_query.get(), [this](const QString& text) { m_sent << text; });
    return *m_connection;
}

void TestImport::setRows(const QList<Row>& rows) {
    m_connection->execute(QStringLiteral("DELETE FROM fixture_rows"));
    for (const Row& row : rows) {
        m_connection->execute(QStringLiteral("INSERT INTO fixture_rows (grp, idutilizador, x, y, initials) "
                                             "VALUES (:grp, :key, :x, :y, :initials)"),
                              {{QStringLiteral("grp"), row.group},
                               {QStringLiteral("key"), row.key},
                               {QStringLiteral("x"), row.x},
                               {QStringLiteral("y"), row.y},
                               {QStringLiteral("initials"), row.initials}});
    }
}

void TestImport::runImport(const QString& user, const QString& product) {
    ResultsImport pipeline(*m_query, *m_table, *m_model, [this](bool on) { m_flag << on; });
    pipeline.run(user, product);
}

void TestImport::mergesTheTenStepsIntoOneRecordPerUser() {
    QFETCH(QString, connectionString);
    open(connectionString);
    QList<Row> rows;
    const auto& steps = ResultsImport::steps();
    for (std::size_t i = 0; i < steps.size(); ++i) {
        const QString group = QString::fromLatin1(steps[i].group);
        rows << Row{group, userA, 1.0 + static_cast<double>(i) * 0.5, 9.0 - static_cast<double>(i) * 0.5, "AA"};
        rows << Row{group, userB, 2.0, 3.0, "Bernardo Bettencourt de Albuquerque"};
    }
    setRows(rows);
    const QString user = QStringLiteral("{1234} O'Brien");
    runImport(user, QStringLiteral("{PRODUCT}"));

    // The calls as sent: no blank after the name, bare commas, quotes doubled.
    QCOMPARE(m_sent.size(), 10);
    QCOMPARE(m_sent.first(), QStringLiteral("EXEC selectgrafico_map'G1-%','{1234} O''Brien','{PRODUCT}',"
                                            "'35e86bd2-ec11-489a-a63d-500a55801001'"));
    QCOMPARE(m_sent.at(3), QStringLiteral("EXEC selectgrafico_map_calc'G4','{1234} O''Brien','{PRODUCT}',"
                                          "'35e86bd2-ec11-489a-a63d-500a55801001'"));
    QCOMPARE(m_sent.at(4), QStringLiteral("EXEC selectgrafico_map'G7-%','{1234} O''Brien','{PRODUCT}',"
                                          "'f9632c25-e319-4ca4-8878-026bcac6122f'"));
    QCOMPARE(m_sent.at(9), QStringLiteral("EXEC selectgrafico_eva_calc'G19','{1234} O''Brien','{PRODUCT}',"
                                          "'35e86bd2-ec11-489a-a63d-500a55801001'"));
    QCOMPARE(m_flag, (QList<bool>{true, false}));

    QCOMPARE(m_table->recordCount(), 2);
    QCOMPARE(m_table->value(0, F_rowid).toString(), userA);
    QCOMPARE(m_table->value(0, F_product).toString(), QStringLiteral("AA"));
    QCOMPARE(m_table->value(1, F_product).toString(), QStringLiteral("Bernardo Bettencourt de A"));
    for (int row = 0; row < 2; ++row)
        QCOMPARE(m_table->number(row, F_bubbleradius), 0.4);
    // The input fields keep the procedures' values (they need no rounding here); the
    // write-back has coloured the bubbles and the recomputation derived the rest.
    const int inputs[][2] = {{F_pm_x, F_pm_y},       {F_v_x, F_v_y},        {F_e_x, F_e_y},     {F_s_x, -1},
                             {F_bm_pc_x, F_bm_tc_y}, {F_bm_c_x, F_bm_oo_y}, {F_msd_x, F_msd_y}, {-1, -1},
                             {F_cc_x, F_cc_y}};
    for (int i = 0; i < 9; ++i) {
        if (inputs[i][0] >= 0)
            QCOMPARE(m_table->number(0, inputs[i][0]), 1.0 + i * 0.5);
        if (inputs[i][1] >= 0)
            QCOMPARE(m_table->number(0, inputs[i][1]), 9.0 - i * 0.5);
        if (inputs[i][0] >= 0)
            QCOMPARE(m_table->number(1, inputs[i][0]), 2.0);
    }
    for (int field : {F_res_pp_x, F_res_pm_x, F_res_s_y, F_res_im_x, F_res_eva_x, F_bcolor})
        QVERIFY2(!m_table->value(0, field).isNull(), CoordTable::fields()[field].name);
}

void TestImport::userOnlyInOneStepGetsOnlyThatStepsFields() {
    QFETCH(QString, connectionString);
    open(connectionString);
    setRows({Row{"G1-%", userA, 4.0, 6.0, "AA"}, Row{"G18-%", userB, 7.5, 2.5, "BB"}});
    runImport();

    QCOMPARE(m_table->recordCount(), 2);
    QCOMPARE(m_table->value(1, F_rowid).toString(), userB);
    QCOMPARE(m_table->number(1, F_msd_x), 7.5);
    QCOMPARE(m_table->number(1, F_msd_y), 2.5);
    // The business-model fields stay empty; the scores the matrices write back read an empty
    // field as 0.
    for (int field : {F_bm_pc_x, F_bm_tc_y, F_bm_c_x, F_bm_oo_y})
        QVERIFY2(m_table->value(1, field).isNull(), CoordTable::fields()[field].name);
    for (int field : {F_pm_x, F_pm_y, F_v_x, F_v_y, F_e_x, F_e_y, F_s_x, F_cc_x, F_cc_y})
        QCOMPARE(m_table->number(1, field), 0.0);
    QCOMPARE(m_table->number(0, F_pm_x), 4.0);
    QCOMPARE(m_table->number(0, F_msd_x), 0.0);
}

void TestImport::laterRowsOfTheSameKeyOverwriteIgnoringCase() {
    QFETCH(QString, connectionString);
    open(connectionString);
    setRows({Row{"G1-%", userA.toLower(), 1.0, 1.0, "first"}, Row{"G1-%", userA.toLower(), 2.0, 2.0, "second"},
             Row{"G2-%", userA, 3.0, 4.0, "third"}, Row{"G4", userA.toLower(), 6.0, {}, "fourth"}});
    runImport();

    QCOMPARE(m_table->recordCount(), 1);
    QCOMPARE(m_table->value(0, F_rowid).toString(), userA.toLower());
    QCOMPARE(m_table->value(0, F_product).toString(), QStringLiteral("first"));
    QCOMPARE(m_table->number(0, F_pm_x), 2.0);
    QCOMPARE(m_table->number(0, F_pm_y), 2.0);
    QCOMPARE(m_table->number(0, F_v_x), 3.0);
    QCOMPARE(m_table->number(0, F_v_y), 4.0);
    QCOMPARE(m_table->number(0, F_s_x), 6.0);
}

void TestImport::emptyResultEmptiesTheTableAndRunsRepeat() {
    QFETCH(QString, connectionString);
    open(connectionString);
    setRows({});
    QCOMPARE(m_table->recordCount(), 1);
    runImport();
    QCOMPARE(m_table->recordCount(), 0);
    QCOMPARE(m_table->state(), CoordTable::State::Browse);

    setRows(
        {Row{"G1-%", userA, 1.0, 2.0, "AA"}, Row{"G2-%", userB, 3.0, 4.0, "BB"}, Row{"G19", userA, 5.0, 6.0, "AA"}});
    runImport();
    const auto snapshot = [this] {
        QList<QVariantList> rows;
        for (int row = 0; row < m_table->recordCount(); ++row) {
            QVariantList values;
            for (int field = 0; field < FieldCount; ++field)
                values << m_table->value(row, field);
            rows << values;
        }
        return rows;
    };
    const QList<QVariantList> first = snapshot();
    QCOMPARE(first.size(), 2);
    runImport();
    QCOMPARE(snapshot(), first);
}

void TestImport::failingStepKeepsRecordsAndLowersTheFlag() {
    QFETCH(QString, connectionString);
    open(connectionString);
    setRows(
        {Row{"G1-%", userA, 1.0, 2.0, "AA"}, Row{"G18-%", userB, 3.0, 4.0, "BB"}, Row{"G19-%", userA, 5.0, 5.0, "AA"}});
    const bool postgres = isPostgres(connectionString);
    // Step 8 fails on the server.
    defineProcedure(*m_connection, postgres, "selectgrafico_vbi_calc", true);
    auto restore = qScopeGuard([&] { defineProcedure(*m_connection, postgres, "selectgrafico_vbi_calc", false); });

    QVERIFY_THROWS_EXCEPTION(Error, runImport());
    QCOMPARE(m_sent.size(), 8);
    QCOMPARE(m_flag, (QList<bool>{true, false}));
    QCOMPARE(m_table->state(), CoordTable::State::Browse);
    QVERIFY(!m_table->controlsDisabled());
    // What steps 1 to 7 wrote stays, as the procedures gave it: no write-back ran.
    QCOMPARE(m_table->recordCount(), 2);
    QCOMPARE(m_table->number(0, F_pm_x), 1.0);
    QCOMPARE(m_table->number(1, F_msd_y), 4.0);
    QVERIFY(m_table->value(0, F_cc_x).isNull());
    QVERIFY(m_table->value(0, F_bcolor).isNull());

    // A product added afterwards gets its defaults again.
    m_table->append();
    QCOMPARE(m_table->recordCount(), 3);
    QCOMPARE(m_table->number(2, F_pm_x), 5.0);
    QCOMPARE(m_table->value(2, F_product).toString(), QStringLiteral("<PRODUCT>"));
}

void TestImport::importsTheDemoDatabase_data() {
    QTest::addColumn<QString>("connectionString");
    QTest::newRow("sqlite") << QStringLiteral("Provider=SQLite;Data Source=%1").arg(TestDatabases::sqliteDemoPath());
    if (!m_postgres.isEmpty())
        QTest::newRow("postgresql") << TestDatabases::postgresDemo();
}

void TestImport::importsTheDemoDatabase() {
    QFETCH(QString, connectionString);
    Connection& connection = open(connectionString);
    runImport(TestDatabases::demoPartnerId());
    const int everyProduct = m_table->recordCount();
    QVERIFY(everyProduct > 0);
    for (int row = 0; row < everyProduct; ++row) {
        const ResultSet user =
            connection.query(QStringLiteral("SELECT respond_initials FROM utilizadores WHERE idutilizador = :id"),
                             {{QStringLiteral("id"), m_table->value(row, F_rowid)}});
        QCOMPARE(user.rowCount(), 1);
        QCOMPARE(m_table->value(row, F_product), user.value(0, QStringLiteral("respond_initials")));
        QCOMPARE(m_table->number(row, F_bubbleradius), 0.4);
        QVERIFY(m_table->number(row, F_pm_x) >= 0 && m_table->number(row, F_pm_x) <= 10);
    }

    // One product of one licence holder: no more users than for every product.
    const ResultSet products = connection.query(
        QStringLiteral("SELECT p.idproduto, p.idutilizador FROM Produtos p JOIN utilizadores u "
                       "ON u.idutilizador = p.idutilizador WHERE u.parent_user = :partner ORDER BY p.sigla"),
        {{QStringLiteral("partner"), TestDatabases::demoPartnerId()}});
    QVERIFY(!products.isEmpty());
    runImport(products.value(0, QStringLiteral("idutilizador")).toString(),
              products.value(0, QStringLiteral("idproduto")).toString());
    QVERIFY(m_table->recordCount() > 0);
    QVERIFY(m_table->recordCount() <= everyProduct);
}

void TestImport::copiesValuesAsTheyAre() {
    SqlDataSet unused;
    ResultsImport pipeline(unused, *m_table, *m_model, [](bool) {});
    m_table->close();
    m_table->open();
    m_flag << true;
    // Columns by name in any order and letter case; others ignored.
    const ResultSet rows({QStringLiteral("Y"), QStringLiteral("extra"), QStringLiteral("IDUTILIZADOR"),
                          QStringLiteral("Initials"), QStringLiteral("x")},
                         {{3.25, 1, userA, QStringLiteral("Initials far longer than the field holds"), QVariant()},
                          {-4.0, 2, userB, QVariant(), 12.75}});
    pipeline.applyStep(ResultsImport::steps()[1], rows);

    QCOMPARE(m_table->recordCount(), 2);
    QVERIFY(m_table->value(0, F_v_x).isNull());
    QCOMPARE(m_table->number(0, F_v_y), 3.25);
    QCOMPARE(m_table->value(0, F_product).toString(), QStringLiteral("Initials far longer than "));
    QCOMPARE(m_table->number(1, F_v_x), 12.75);
    QCOMPARE(m_table->number(1, F_v_y), -4.0);
    QVERIFY(m_table->value(1, F_product).isNull());
    QVERIFY(m_table->value(1, F_pm_x).isNull());
}

void TestImport::rejectsResultsWithoutTheColumnsItReads_data() {
    QTest::addColumn<int>("step");
    QTest::addColumn<QStringList>("columns");
    QTest::addColumn<bool>("recordExists");
    QTest::addColumn<QString>("missing");

    const QStringList all{"idutilizador", "x", "y", "initials"};
    QTest::newRow("every column") << 0 << all << false << QString();
    QTest::newRow("no x") << 0 << QStringList{"idutilizador", "y", "initials"} << false << "x";
    QTest::newRow("no y") << 2 << QStringList{"idutilizador", "x", "initials"} << true << "y";
    QTest::newRow("no key") << 0 << QStringList{"x", "y", "initials"} << true << "idutilizador";
    QTest::newRow("step 4 reads no y") << 3 << QStringList{"idutilizador", "x", "initials"} << false << QString();
    QTest::newRow("initials only for new records") << 0 << QStringList{"idutilizador", "x", "y"} << true << QString();
    QTest::newRow("no initials for a new record") << 0 << QStringList{"idutilizador", "x", "y"} << false << "initials";
}

void TestImport::rejectsResultsWithoutTheColumnsItReads() {
    QFETCH(int, step);
    QFETCH(QStringList, columns);
    QFETCH(bool, recordExists);
    QFETCH(QString, missing);

    SqlDataSet unused;
    ResultsImport pipeline(unused, *m_table, *m_model, [](bool) {});
    m_table->close();
    m_table->open();
    m_flag << true;
    if (recordExists)
        pipeline.applyStep(ResultsImport::steps()[0],
                           ResultSet({"idutilizador", "x", "y", "initials"}, {{userA, 1.0, 1.0, "AA"}}));
    QVariantList row;
    for (const QString& column : columns)
        row << (column == QLatin1String("idutilizador") ? QVariant(userA) : QVariant(7.0));
    const ResultSet rows(columns, {row});
    const auto& target = ResultsImport::steps()[static_cast<std::size_t>(step)];

    if (missing.isEmpty()) {
        pipeline.applyStep(target, rows);
        m_table->locateRowId(userA);
        QCOMPARE(m_table->fieldValue(QString::fromLatin1(target.xField)).toDouble(), 7.0);
        return;
    }
    try {
        pipeline.applyStep(target, rows);
        QFAIL("a result without a column the step reads was taken");
    } catch (const Error& error) {
        QVERIFY2(error.text().contains(QLatin1Char('"') + missing + QLatin1Char('"')), qPrintable(error.text()));
    }
    // Nothing was stored of the failing row; no record is left half-written in insert state.
    QCOMPARE(m_table->recordCount(), recordExists ? 1 : 0);
    QCOMPARE(m_table->state(), CoordTable::State::Browse);
}

QTEST_GUILESS_MAIN(TestImport)
#include "tst_import.moc"
