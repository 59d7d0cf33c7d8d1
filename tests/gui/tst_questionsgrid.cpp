// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#include "LoginFixture.h"

#include "db/Connection.h"
#include "db/SqlDataSet.h"
#include "ui/BandedHeaderView.h"
#include "ui/Main.h"
#include "ui/QuestionsGrid.h"
#include "ui/QuestionsModel.h"

#include <QAbstractItemModelTester>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QToolButton>

using namespace korvell;
using korvell::test::LoginFixture;

class TestQuestionsGrid : public QObject {
    Q_OBJECT

    LoginFixture f;
    QString m_connectionString;

    /// Logs in as the demo partner and opens the questions sheet.
    void start(LoginFixture::Engine engine) {
        m_connectionString = f.database(engine);
        f.useDefaultDataLink(m_connectionString);
        Forms::start();
        frmLogin->EdUser->setText(QStringLiteral("demo"));
        frmLogin->EdPass->setText(QStringLiteral("demo"));
        QTest::mouseClick(frmLogin->Button1, Qt::LeftButton);
        QVERIFY(FormKorvell->isVisible());
        f.shown.clear();
        FormKorvell->cxPageControl1->setCurrentWidget(FormKorvell->cxTabSheet1);
    }

    ResultSet read(const QString& sql, const QVariantMap& parameters = {}) {
        Connection connection;
        connection.setConnectionString(m_connectionString);
        connection.open();
        return connection.query(sql, parameters);
    }

    /// The database's text of a question's column.
    QString stored(const QString& id, const QString& column) {
        return read(QStringLiteral("SELECT %1 FROM perguntas WHERE idpergunta = :id").arg(column),
                    {{QStringLiteral("id"), id}})
            .value(0, column)
            .toString();
    }

    /// Types text into a cell as a user does: opens its editor, replaces the text, presses Enter.
    static void type(QTableView* view, const QModelIndex& index, const QString& text) {
        view->setCurrentIndex(index);
        view->edit(index);
        auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        QVERIFY(editor);
        editor->selectAll();
        QTest::keyClicks(editor, text);
        QTest::keyClick(editor, Qt::Key_Return);
    }

    static QString idOf(int question) {
        const QuestionsGrid* grid = FormKorvell->cxGrid2;
        const ResultSet& rows = grid->ADODataSetPerguntas->result();
        // The model keeps the dataset's order while no filter is set.
        return rows.value(question, QStringLiteral("idpergunta")).toString();
    }

private slots:
    void init() { f.setUp(); }
    void cleanup() { f.tearDown(); }

    void showsEveryQuestionFourLinesHigh_data() { LoginFixture::addEngineRows(); }
    void showsEveryQuestionFourLinesHigh() {
        QFETCH(LoginFixture::Engine, engine);
        start(engine);
        QuestionsGrid* grid = FormKorvell->cxGrid2;
        QuestionsModel* model = grid->model();
        QAbstractItemModelTester tester(model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        QVERIFY(grid->ADODataSetPerguntas->isOpen());
        QCOMPARE(grid->ADODataSetPerguntas->commandText(), QStringLiteral("SELECT * FROM perguntas"));
        QCOMPARE(grid->ADODataSetPaises->commandText(), QStringLiteral("SELECT * FROM PAISES"));
        const int questions = f.count(QStringLiteral("perguntas"));
        QVERIFY(questions > 0);
        QCOMPARE(model->questionCount(), questions);
        QCOMPARE(model->rowCount(), 2 * questions);

        QTableView* view = grid->view();
        QCOMPARE(view->rowSpan(0, 0), 2);
        QCOMPARE(view->rowSpan(0, 1), 2);
        QCOMPARE(view->columnSpan(0, 2), 2);
        QCOMPARE(view->columnSpan(1, 2), 1);
        QCOMPARE(grid->bandedHeader()->bandCaption(1), QStringLiteral("Question"));

        // The language is the country's name, looked up, and cannot be edited.
        const ResultSet first = read(QStringLiteral("SELECT q.codigo, q.questao, q.minstr, q.maxstr, c.pais FROM "
                                                    "perguntas q JOIN PAISES c ON c.idpais = q.idpais "
                                                    "WHERE q.idpergunta = :id"),
                                     {{QStringLiteral("id"), idOf(0)}});
        QCOMPARE(model->text(0, QuestionsModel::Code), first.value(0, QStringLiteral("codigo")).toString());
        QCOMPARE(model->text(0, QuestionsModel::Language), first.value(0, QStringLiteral("pais")).toString());
        QCOMPARE(model->text(0, QuestionsModel::MaxText), first.value(0, QStringLiteral("maxstr")).toString());
        const QModelIndex language = model->indexOf(0, QuestionsModel::Language);
        QVERIFY(!(model->flags(language) & Qt::ItemIsEditable));
        QVERIFY(!model->setData(language, QStringLiteral("Klingon")));
        view->setCurrentIndex(language);
        view->edit(language);
        QVERIFY(!qobject_cast<QLineEdit*>(QApplication::focusWidget()));
        QVERIFY(model->flags(model->indexOf(0, QuestionsModel::Question)) & Qt::ItemIsEditable);
    }

    void editsReachTheDatabaseWhenTheQuestionIsLeft_data() { LoginFixture::addEngineRows(); }
    void editsReachTheDatabaseWhenTheQuestionIsLeft() {
        QFETCH(LoginFixture::Engine, engine);
        start(engine);
        QuestionsGrid* grid = FormKorvell->cxGrid2;
        QuestionsModel* model = grid->model();
        QTableView* view = grid->view();
        const QString id = idOf(0);
        const QString code = stored(id, QStringLiteral("codigo"));

        type(view, model->indexOf(0, QuestionsModel::Question), QStringLiteral("How big is the market?"));
        type(view, model->indexOf(0, QuestionsModel::MinText), QStringLiteral("Tiny, it's O'Neill's"));
        // Still on the same question: nothing written yet.
        QVERIFY(model->isModified(0));
        QVERIFY(stored(id, QStringLiteral("questao")) != QStringLiteral("How big is the market?"));
        // Enter in the last cell of the question moves on to the next one.
        type(view, model->indexOf(0, QuestionsModel::MaxText), QStringLiteral("Huge"));
        QCOMPARE(QuestionsModel::questionOfRow(view->currentIndex().row()), 1);
        QCOMPARE(f.texts(), QStringList());
        QVERIFY(!model->isModified(0));
        QCOMPARE(stored(id, QStringLiteral("questao")), QStringLiteral("How big is the market?"));
        QCOMPARE(stored(id, QStringLiteral("minstr")), QStringLiteral("Tiny, it's O'Neill's"));
        QCOMPARE(stored(id, QStringLiteral("maxstr")), QStringLiteral("Huge"));
        QCOMPARE(stored(id, QStringLiteral("codigo")), code);
        QCOMPARE(f.count(QStringLiteral("perguntas")), model->questionCount());
    }

    void refusedUpdateIsReportedAndKeepsTheText_data() { LoginFixture::addEngineRows(); }
    void refusedUpdateIsReportedAndKeepsTheText() {
        QFETCH(LoginFixture::Engine, engine);
        start(engine);
        if (engine == LoginFixture::Engine::SQLite) {
            f.execute(QStringLiteral("CREATE TRIGGER refuse BEFORE UPDATE ON perguntas "
                                     "BEGIN SELECT RAISE(ABORT, 'questions are locked'); END"));
        } else {
            f.execute(QStringLiteral("CREATE FUNCTION refuse() RETURNS trigger LANGUAGE plpgsql AS "
                                     "$$ BEGIN RAISE EXCEPTION 'questions are locked'; END $$"));
            f.execute(QStringLiteral("CREATE TRIGGER refuse BEFORE UPDATE ON perguntas FOR EACH ROW "
                                     "EXECUTE FUNCTION refuse()"));
        }
        QuestionsGrid* grid = FormKorvell->cxGrid2;
        QuestionsModel* model = grid->model();
        QTableView* view = grid->view();
        const QString id = idOf(0);
        const QString before = stored(id, QStringLiteral("codigo"));

        type(view, model->indexOf(0, QuestionsModel::Code), QStringLiteral("X-99"));
        view->setCurrentIndex(model->indexOf(1, QuestionsModel::Code));
        QCOMPARE(f.shown.size(), 1);
        QVERIFY2(f.shown.first().message.text.contains(QStringLiteral("questions are locked")),
                 qPrintable(f.shown.first().message.text));
        QCOMPARE(stored(id, QStringLiteral("codigo")), before);
        QCOMPARE(model->text(0, QuestionsModel::Code), QStringLiteral("X-99"));
        QVERIFY(model->isModified(0));

        // Once the database takes it again, leaving the question again writes it.
        f.execute(QStringLiteral("DROP TRIGGER refuse%1")
                      .arg(engine == LoginFixture::Engine::SQLite ? QString() : QStringLiteral(" ON perguntas")));
        view->setCurrentIndex(model->indexOf(0, QuestionsModel::Question));
        view->setCurrentIndex(model->indexOf(2, QuestionsModel::Code));
        QCOMPARE(f.shown.size(), 1);
        QCOMPARE(stored(id, QStringLiteral("codigo")), QStringLiteral("X-99"));
    }

    void filtersNarrowTheList() {
        start(LoginFixture::Engine::SQLite);
        QuestionsGrid* grid = FormKorvell->cxGrid2;
        QuestionsModel* model = grid->model();
        const int all = model->questionCount();
        const int g1 = static_cast<int>(
            read(QStringLiteral("SELECT idpergunta FROM perguntas WHERE codigo = 'G1-01'")).rowCount());
        QVERIFY(g1 > 0 && g1 < all);

        model->setFilter(QuestionsModel::Code, QStringLiteral("g1-01"), true);
        QCOMPARE(model->questionCount(), g1);
        QCOMPARE(grid->view()->rowSpan(0, 0), 2);
        for (int q = 0; q < model->questionCount(); ++q)
            QCOMPARE(model->text(q, QuestionsModel::Code), QStringLiteral("G1-01"));
        model->setFilter(QuestionsModel::Language, QStringLiteral("English"), false);
        QVERIFY(model->questionCount() < g1);
        QVERIFY(model->filterDescription().contains(QStringLiteral("Lang. contains \"English\"")));

        auto* clear = grid->findChild<QToolButton*>(QStringLiteral("clearFilter"));
        QVERIFY(clear && clear->isVisibleTo(grid));
        QTest::mouseClick(clear, Qt::LeftButton);
        QCOMPARE(model->questionCount(), all);
        QVERIFY(!clear->isVisibleTo(grid));
    }

    void listsOpenAgainAfterTheConnectionClosed() {
        start(LoginFixture::Engine::SQLite);
        QuestionsGrid* grid = FormKorvell->cxGrid2;
        const int questions = grid->model()->questionCount();
        FormKorvell->cxPageControl1->setCurrentWidget(FormKorvell->P_MAP);
        frmLogin->ADOConnection1->close();
        QVERIFY(!grid->ADODataSetPerguntas->isOpen());
        QVERIFY(!grid->ADODataSetPaises->isOpen());
        QCOMPARE(grid->model()->questionCount(), 0);

        // Shown again without a connection: the error is reported and the grid stays empty.
        f.shown.clear();
        FormKorvell->cxPageControl1->setCurrentWidget(FormKorvell->cxTabSheet1);
        QCOMPARE(f.shown.size(), 1);
        QCOMPARE(grid->model()->questionCount(), 0);

        FormKorvell->cxPageControl1->setCurrentWidget(FormKorvell->P_MAP);
        frmLogin->ADOConnection1->open();
        FormKorvell->cxPageControl1->setCurrentWidget(FormKorvell->cxTabSheet1);
        QCOMPARE(grid->model()->questionCount(), questions);
        QVERIFY(grid->ADODataSetPaises->isOpen());
    }
};

QTEST_MAIN(TestQuestionsGrid)
#include "tst_questionsgrid.moc"
