// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#include "../tests/db/TestDatabases.h"

#include "db/Connection.h"
#include "db/ResultsImport.h"
#include "db/SqlDataSet.h"
#include "model/CoordTable.h"
#include "model/MapModel.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QUuid>

#include <ctime>
#include <map>
#include <memory>

using namespace korvell;

namespace {

const QString licenceType = QStringLiteral("{03E32562-D986-5D59-82D0-BC6261EC1806}");
const QString respondentType = QStringLiteral("{88A79579-565F-5EFA-AAA8-B932973A4748}");
const QString strategyType = QStringLiteral("{35E86BD2-EC11-489A-A63D-500A55801001}");
const QString businessModelType = QStringLiteral("{F9632C25-E319-4CA4-8878-026BCAC6122F}");
constexpr int kRowsPerInsert = 500;

QString guid(const char* kind, int n) {
    return QUuid::createUuidV5(QUuid(), QStringLiteral("%1-%2").arg(QLatin1String(kind)).arg(n))
        .toString(QUuid::WithBraces)
        .toUpper();
}

/// Adds one licence holder of the demo partner with `users` respondents, each of whom answers
/// every English question about one product; the holder's id.
QString addRespondents(Connection& db, int users) {
    const QString holder = guid("holder", users);
    const QString product = guid("product", users);
    db.execute(QStringLiteral("INSERT INTO utilizadores (idutilizador, nome, idtipoutilizador, parent_user, status) "
                              "VALUES (:id, 'Bench Holder', :type, :partner, 'IN USE')"),
               {{QStringLiteral("id"), holder},
                {QStringLiteral("type"), licenceType},
                {QStringLiteral("partner"), TestDatabases::demoPartnerId()}});
    db.execute(QStringLiteral("INSERT INTO Produtos (idproduto, sigla, idutilizador) VALUES (:id, 'BENCH', :holder)"),
               {{QStringLiteral("id"), product}, {QStringLiteral("holder"), holder}});
    const ResultSet questions =
        db.query(QStringLiteral("SELECT q.idpergunta, q.codigo FROM perguntas q JOIN PAISES c ON c.idpais = q.idpais "
                                "WHERE c.pais = 'English' ORDER BY q.codigo"));

    QStringList userRows;
    QStringList answerRows;
    // Users go in before the answers that refer to them.
    const auto flush = [&db, &userRows, &answerRows] {
        if (!userRows.isEmpty())
            db.execute(QStringLiteral("INSERT INTO utilizadores (idutilizador, respond_initials, idtipoutilizador, "
                                      "parent_user, status) VALUES ") +
                       userRows.join(QLatin1Char(',')));
        if (!answerRows.isEmpty())
            db.execute(QStringLiteral("INSERT INTO respostas (idutilizador, idproduto, idpergunta, idtipoquestionario, "
                                      "valor) VALUES ") +
                       answerRows.join(QLatin1Char(',')));
        userRows.clear();
        answerRows.clear();
    };
    for (int u = 0; u < users; ++u) {
        const QString user = guid("respondent", users * 100000 + u);
        userRows
            << QStringLiteral("('%1','R%2','%3','%4','IN USE')").arg(user, QString::number(u), respondentType, holder);
        for (qsizetype q = 0; q < questions.rowCount(); ++q) {
            const QString code = questions.value(q, 1).toString();
            const bool businessModel = code.startsWith(QLatin1String("G7-")) || code.startsWith(QLatin1String("G8-"));
            answerRows << QStringLiteral("('%1','%2','%3','%4',%5)")
                              .arg(user, product, questions.value(q, 0).toString(),
                                   businessModel ? businessModelType : strategyType)
                              .arg((u * 7 + static_cast<int>(q) * 3) % 5 + 1);
        }
        if (answerRows.size() >= kRowsPerInsert)
            flush();
    }
    flush();
    return holder;
}

/// A database of each engine with the benchmark's users, made once per engine and size.
struct Fixture {
    std::unique_ptr<Connection> connection;
    QString holder;
};

QTemporaryDir& folder() {
    static QTemporaryDir dir;
    return dir;
}

QStringList& postgresCopies() {
    static QStringList names;
    return names;
}

std::map<std::pair<bool, int>, Fixture>& fixtures() {
    static std::map<std::pair<bool, int>, Fixture> made;
    return made;
}

Fixture& fixture(bool postgres, int users) {
    Fixture& f = fixtures()[{postgres, users}];
    if (f.connection)
        return f;
    f.connection = std::make_unique<Connection>();
    if (postgres) {
        QString name;
        f.connection->setConnectionString(TestDatabases::createPostgres(&name));
        postgresCopies() << name;
    } else {
        f.connection->setConnectionString(
            TestDatabases::sqliteCopy(folder().path(), QStringLiteral("bench-%1.db").arg(users)));
    }
    f.connection->open();
    // The respondents' foreign keys are checked on PostgreSQL; both engines load in one transaction.
    f.connection->execute(QStringLiteral("BEGIN"));
    f.holder = addRespondents(*f.connection, users);
    f.connection->execute(QStringLiteral("COMMIT"));
    if (postgres)
        f.connection->execute(QStringLiteral("ANALYZE"));
    return f;
}

/// One per-user import of the holder's respondents; the counters split the time between the
/// database (from sending a step to having its rows) and our merging, write-back and recomputation.
void importUsers(benchmark::State& state, bool postgres) {
    const int users = static_cast<int>(state.range(0));
    Fixture& f = fixture(postgres, users);
    CoordTable table;
    MapModel model(&table);
    table.open();
    SqlDataSet query;
    query.setConnection(f.connection.get());
    QElapsedTimer step;
    qint64 databaseNs = 0;
    // Processor time too: on a busy machine it shows our scaling without the other processes' noise.
    std::clock_t stepClock = 0;
    std::clock_t databaseClock = 0;
    QObject::connect(&query, &SqlDataSet::commandSent, [&] {
        step.start();
        stepClock = std::clock();
    });
    QObject::connect(&query, &SqlDataSet::changed, [&] {
        if (!query.isOpen())
            return;
        databaseNs += step.nsecsElapsed();
        databaseClock += std::clock() - stepClock;
    });
    ResultsImport pipeline(query, table, model, [](bool) {});
    qint64 totalNs = 0;
    std::clock_t totalClock = 0;
    for (auto _ : state) {
        QElapsedTimer total;
        total.start();
        const std::clock_t start = std::clock();
        pipeline.run(f.holder, ResultsImport::perUserProductId());
        totalClock += std::clock() - start;
        totalNs += total.nsecsElapsed();
    }
    if (table.recordCount() != users)
        state.SkipWithError("the import did not bring one record per user");
    state.counters["users"] = users;
    state.counters["db_ms"] =
        benchmark::Counter(static_cast<double>(databaseNs) / 1e6, benchmark::Counter::kAvgIterations);
    state.counters["ours_ms"] =
        benchmark::Counter(static_cast<double>(totalNs - databaseNs) / 1e6, benchmark::Counter::kAvgIterations);
    state.counters["ours_cpu_ms"] = benchmark::Counter(
        1000.0 * static_cast<double>(totalClock - databaseClock) / CLOCKS_PER_SEC, benchmark::Counter::kAvgIterations);
    state.counters["ours_share"] =
        totalNs > 0 ? static_cast<double>(totalNs - databaseNs) / static_cast<double>(totalNs) : 0;
}

void BM_ImportSqlite(benchmark::State& state) {
    importUsers(state, false);
}

void BM_ImportPostgres(benchmark::State& state) {
    if (!TestDatabases::postgresAvailable()) {
        state.SkipWithError("no PostgreSQL test cluster (KORVELL_PG_INFO)");
        for (auto _ : state) {
        }
        return;
    }
    importUsers(state, true);
}

/// Our share alone, many times over: the ten steps' rows as the procedures give them, merged into
/// the table, written back and recomputed, with no database in the way.
void BM_ImportMerge(benchmark::State& state) {
    const int users = static_cast<int>(state.range(0));
    const QStringList columns{QStringLiteral("idutilizador"), QStringLiteral("x"), QStringLiteral("y"),
                              QStringLiteral("initials")};
    QList<QVariantList> rows;
    rows.reserve(users);
    for (int u = 0; u < users; ++u)
        rows << QVariantList{guid("respondent", u), (u % 101) / 10.0, ((u * 7) % 101) / 10.0,
                             QStringLiteral("R%1").arg(u)};
    const ResultSet result(columns, rows);
    CoordTable table;
    MapModel model(&table);
    SqlDataSet unused;
    ResultsImport pipeline(unused, table, model, [](bool) {});
    for (auto _ : state) {
        table.close();
        table.open();
        table.disableControls();
        for (const ResultsImport::Step& step : ResultsImport::steps())
            pipeline.applyStep(step, result);
        table.enableControls();
        model.StoreSeriesToTable();
        model.RecalculateFrom(QStringLiteral("ALL"));
    }
    state.counters["users"] = users;
    state.counters["us_per_user"] = benchmark::Counter(
        static_cast<double>(users), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

} // namespace

BENCHMARK(BM_ImportMerge)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportSqlite)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ImportPostgres)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(3);

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    // Connections close while Qt still runs, and before their databases are dropped.
    fixtures().clear();
    for (const QString& name : std::as_const(postgresCopies()))
        TestDatabases::dropPostgres(name);
    return 0;
}
