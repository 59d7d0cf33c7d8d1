// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#include "LoginFixture.h"

#include "db/Connection.h"
#include "ui/ImportResults.h"
#include "ui/Main.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

using namespace korvell;
using korvell::test::LoginFixture;

Q_DECLARE_METATYPE(LoginFixture::Engine)

namespace {

const QString emptyUserId = QStringLiteral("{0E0E0E0E-0000-4000-8000-00000000E0E0}");

/// Records which windows were ever shown.
class ShowRecorder : public QObject {
public:
    QStringList shownWindows;

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && watched->isWidgetType() && static_cast<QWidget*>(watched)->isWindow()) {
            shownWindows << watched->objectName();
        }
        return false;
    }
};

int mapWindowCount() {
    int count = 0;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        count += qobject_cast<TFormKorvell*>(window) != nullptr ? 1 : 0;
    }
    return count;
}

} // namespace

class TestStartup : public QObject {
    Q_OBJECT

private:
    LoginFixture f;
    ShowRecorder shows;

    void login(const QString& user, const QString& password) {
        frmLogin->EdUser->setText(user);
        frmLogin->EdPass->setText(password);
        QTest::mouseClick(frmLogin->Button1, Qt::LeftButton);
    }

    /// A start against a database that also holds a user with an empty name and password.
    void startAcceptingEmptyLogin(LoginFixture::Engine engine) {
        f.useDefaultDataLink(f.database(engine));
        f.execute(QStringLiteral("INSERT INTO utilizadores (idutilizador, username, password) VALUES ('%1', '', '')")
                      .arg(emptyUserId));
        Forms::start();
    }

private slots:
    void initTestCase() { qApp->installEventFilter(&shows); }
    void init() {
        f.setUp();
        shows.shownWindows.clear();
    }
    void cleanup() { f.tearDown(); }

    void usualStart_data() { LoginFixture::addEngineRows(); }

    void usualStart() {
        QFETCH(LoginFixture::Engine, engine);
        f.useDefaultDataLink(f.database(engine));
        Forms::start();

        QCOMPARE(Forms::mainForm(), frmLogin);
        QVERIFY(frmLogin->isVisible());
        QCOMPARE(frmLogin->LStatus->text(), LoginFixture::invalid);
        QCOMPARE(frmLogin->EdPass->text(), QString());
        QVERIFY(FrmImportRes != nullptr && !FrmImportRes->isVisible());
        QVERIFY(FormKorvell != nullptr && !FormKorvell->isVisible());
        QVERIFY(!FormKorvell->Timer1->isActive());
        QCOMPARE(mapWindowCount(), 1);
        QCOMPARE(shows.shownWindows, QStringList{QStringLiteral("frmLogin")});
        QCOMPARE(f.texts(), QStringList());
    }

    void messageBeforeAnyWindow_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("message");
        QTest::newRow("help") << QStringList{QStringLiteral("/?")}
                              << QStringLiteral("Parametros: \r/? - Ajuda\r/<nomedoficheiro.udl> - Usa o "
                                                "<nomedoficheiro.udl> para ligar \u00E1 BD.");
        QTest::newRow("no server") << QStringList() << LoginFixture::unreachable;
    }

    void messageBeforeAnyWindow() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, message);
        LoginFixture::writeDataLink(f.dir->filePath(QStringLiteral("Cnnstr.udl")),
                                    QStringLiteral("Provider=PostgreSQL;Data Source=127.0.0.1,1;Initial Catalog=k"));
        TfrmLogin::setCommandLine(arguments);
        Forms::start();

        QCOMPARE(f.texts(), QStringList{message});
        QCOMPARE(f.shown.first().visibleWindows, QStringList());
        QCOMPARE(Forms::mainForm(), frmLogin);
        QVERIFY(frmLogin->isVisible());
        QCOMPARE(frmLogin->LStatus->text(), QString());
        QCOMPARE(mapWindowCount(), 1);
    }

    void startAcceptingEmptyLogin_data() { LoginFixture::addEngineRows(); }

    void startAcceptingEmptyLogin() {
        QFETCH(LoginFixture::Engine, engine);
        startAcceptingEmptyLogin(engine);

        QCOMPARE(Forms::mainForm(), FormKorvell);
        QVERIFY(FormKorvell->isVisible());
        QVERIFY(!frmLogin->isVisible());
        QVERIFY(!shows.shownWindows.contains(QStringLiteral("frmLogin")));
        QCOMPARE(mapWindowCount(), 1);
        QVERIFY(FormKorvell->Timer1->isActive());
        QCOMPARE(AppUser.CurrentUserId.toUpper(), emptyUserId);
        QCOMPARE(AppUser.CurrentUserName, QString());
        QVERIFY(FrmImportRes != nullptr && !FrmImportRes->isVisible());
    }

    void cancelEndsApplication() {
        f.useDefaultDataLink(f.database(LoginFixture::Engine::SQLite));
        Forms::start();
        QTest::mouseClick(frmLogin->Button2, Qt::LeftButton);

        QCOMPARE(f.terminations, 1);
        QVERIFY(!frmLogin->isVisible());
        // Neither the map window's question nor its closing steps.
        QCOMPARE(f.texts(), QStringList());
        QVERIFY(!FormKorvell->FClosing);

        // The end destroys the windows; the connection left open closes without a notice.
        QVERIFY(frmLogin->ADOConnection1->isOpen());
        Forms::destroyAll();
        QCOMPARE(f.texts(), QStringList());
    }

    void cancelAfterFailedCheckWhenMapIsMain() {
        startAcceptingEmptyLogin(LoginFixture::Engine::SQLite);
        f.execute(QStringLiteral("DELETE FROM utilizadores WHERE username = ''"));
        FormKorvell->Timer1Timer();
        QVERIFY(frmLogin->isVisible());
        QVERIFY(!FormKorvell->isVisible());

        QTest::mouseClick(frmLogin->Button2, Qt::LeftButton);
        QCOMPARE(f.terminations, 1);
        QVERIFY(!f.texts().contains(QStringLiteral("Korvell\nDo you wish to close Korvell application ?")));
        QVERIFY(!FormKorvell->FClosing);
    }

    void mapCloseEndsApplication_data() {
        QTest::addColumn<bool>("mapIsMain");
        QTest::newRow("login window main") << false;
        QTest::newRow("map window main") << true;
    }

    void mapCloseEndsApplication() {
        QFETCH(bool, mapIsMain);
        if (mapIsMain) {
            startAcceptingEmptyLogin(LoginFixture::Engine::SQLite);
        } else {
            f.useDefaultDataLink(f.database(LoginFixture::Engine::SQLite));
            Forms::start();
            login(QStringLiteral("demo"), QStringLiteral("demo"));
        }
        QCOMPARE(Forms::mainForm() == FormKorvell, mapIsMain);
        QVERIFY(FormKorvell->isVisible());
        f.shown.clear();

        f.questionAnswer = Dialogs::Answer::No;
        FormKorvell->close();
        QCOMPARE(f.terminations, 0);
        QVERIFY(FormKorvell->isVisible());
        QVERIFY(frmLogin->ADOConnection1->isOpen());

        f.questionAnswer = Dialogs::Answer::Yes;
        FormKorvell->close();
        QCOMPARE(f.terminations, 1);
        QVERIFY(FormKorvell->FClosing);
        QVERIFY(!frmLogin->ADOConnection1->isOpen());
        QVERIFY(!f.texts().contains(LoginFixture::disconnected));
        QCOMPARE(f.shown.size(), 2);
    }

    void periodicCheck_data() { LoginFixture::addEngineRows(); }

    void periodicCheck() {
        QFETCH(LoginFixture::Engine, engine);
        f.useDefaultDataLink(f.database(engine));
        Forms::start();
        login(QStringLiteral("demo"), QStringLiteral("demo"));
        f.shown.clear();

        FormKorvell->Timer1Timer();
        QVERIFY(FormKorvell->Timer1->isActive());
        QVERIFY(FormKorvell->isVisible());
        QCOMPARE(f.texts(), QStringList());

        f.execute(QStringLiteral("UPDATE utilizadores SET password = 'changed' WHERE username = 'demo'"));
        FormKorvell->Timer1Timer();
        QVERIFY(!FormKorvell->Timer1->isActive());
        QVERIFY(!FormKorvell->isVisible());
        QVERIFY(frmLogin->isVisible());
        QVERIFY(!frmLogin->ADOConnection1->isOpen());
        QCOMPARE(f.texts(), QStringList{LoginFixture::disconnected});
        QCOMPARE(f.terminations, 0);
    }

    void failedReconnectReturnsToLogin() {
        f.useDefaultDataLink(f.database(LoginFixture::Engine::SQLite));
        Forms::start();
        login(QStringLiteral("demo"), QStringLiteral("demo"));
        f.shown.clear();

        // The reconnect string names the site's SQL Server, which this machine does not run.
        FormKorvell->cxButtonCloseClick();
        QVERIFY(!FormKorvell->isVisible());
        QVERIFY(frmLogin->isVisible());
        QVERIFY(!frmLogin->ADOConnection1->isOpen());
        for (const LoginFixture::Shown& s : std::as_const(f.shown)) {
            QVERIFY2(s.message.icon != Dialogs::Icon::Critical, qPrintable(s.message.text));
        }
        QCOMPARE(f.terminations, 0);
    }
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
