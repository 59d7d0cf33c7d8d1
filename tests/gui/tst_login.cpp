// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#include "LoginFixture.h"

#include "db/Connection.h"
#include "db/SiteConnection.h"
#include "ui/ImportResults.h"
#include "ui/Main.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QTabWidget>
#include <QTimer>

using namespace korvell;
using korvell::test::LoginFixture;

Q_DECLARE_METATYPE(LoginFixture::Engine)

class TestLogin : public QObject {
    Q_OBJECT

private:
    LoginFixture f;

    TfrmLogin* createLogin() { return Forms::create(frmLogin); }

    void attempt(const QString& user, const QString& password) {
        frmLogin->EdUser->setText(user);
        frmLogin->EdPass->setText(password);
        QTest::mouseClick(frmLogin->Button1, Qt::LeftButton);
    }

    /// Types text as a keyboard would, characters beyond Latin-1 included.
    static void type(QWidget* box, const QString& text) {
        for (const QChar c : text) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QApplication::sendEvent(box, &press);
            QApplication::sendEvent(box, &release);
        }
    }

    bool questionsTabVisible() const {
        return FormKorvell->cxPageControl1->isTabVisible(
            FormKorvell->cxPageControl1->indexOf(FormKorvell->cxTabSheet1));
    }

private slots:
    void init() { f.setUp(); }
    void cleanup() { f.tearDown(); }

    void design() {
        createLogin();
        QCOMPARE(frmLogin->windowTitle(), QStringLiteral("Login"));
        QCOMPARE(frmLogin->size(), QSize(308, 202));
        QVERIFY(frmLogin->windowFlags().testFlag(Qt::Tool));
        QVERIFY(!frmLogin->windowFlags().testFlag(Qt::WindowCloseButtonHint));
        for (const char* name : {"Image1", "LUser", "LPass", "EdUser", "EdPass", "Button1", "Button2", "LStatus"}) {
            QVERIFY2(frmLogin->findChild<QWidget*>(QLatin1String(name)) != nullptr, name);
        }
        QCOMPARE(frmLogin->findChild<Connection*>(QStringLiteral("ADOConnection1")), frmLogin->ADOConnection1);
        QCOMPARE(frmLogin->Image1->geometry(), frmLogin->rect());
        QVERIFY(!frmLogin->Image1->pixmap().isNull());
        QCOMPARE(frmLogin->EdPass->echoMode(), QLineEdit::Password);
        QCOMPARE(frmLogin->Button1->text(), QStringLiteral("&Ok"));
        QCOMPARE(frmLogin->Button2->text(), QStringLiteral("&Cancel"));
        QCOMPARE(frmLogin->LStatus->pos(), QPoint(8, 178));
        QCOMPARE(frmLogin->EdUser->nextInFocusChain(), frmLogin->EdPass);
    }

    void boxesStopAt25Characters() {
        createLogin();
        frmLogin->show();
        QVERIFY(QTest::qWaitForWindowActive(frmLogin));
        const QString typed(30, QLatin1Char('\''));
        QTest::keyClicks(frmLogin->EdUser, typed);
        QTest::keyClicks(frmLogin->EdPass, typed);
        QCOMPARE(frmLogin->EdUser->text(), QString(25, QLatin1Char('\'')));
        QCOMPARE(frmLogin->EdPass->text(), QString(25, QLatin1Char('\'')));
    }

    void enterMovesFocusAndIsNeverTyped() {
        f.useDefaultDataLink(f.database(LoginFixture::Engine::SQLite));
        createLogin();
        frmLogin->EdUser->setText(QStringLiteral("old"));
        frmLogin->show();
        QVERIFY(QTest::qWaitForWindowActive(frmLogin));
        frmLogin->LStatus->clear();
        QCOMPARE(QApplication::focusWidget(), frmLogin->EdUser);
        QCOMPARE(frmLogin->EdUser->selectedText(), QStringLiteral("old"));

        QTest::keyClicks(frmLogin->EdUser, QStringLiteral("demo"));
        QTest::keyClick(frmLogin->EdUser, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), frmLogin->EdPass);
        QTest::keyClicks(frmLogin->EdPass, QStringLiteral("nope"));
        QTest::keyClick(frmLogin->EdPass, Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(QApplication::focusWidget(), frmLogin->Button1);
        QCOMPARE(frmLogin->EdUser->text(), QStringLiteral("demo"));
        QCOMPARE(frmLogin->EdPass->text(), QStringLiteral("nope"));
        QCOMPARE(frmLogin->LStatus->text(), QString());

        // On a button Enter presses it, and nothing else happens.
        QTest::keyClick(frmLogin->Button1, Qt::Key_Return);
        QCOMPARE(frmLogin->LStatus->text(), LoginFixture::invalid);
        QCOMPARE(QApplication::focusWidget(), frmLogin->Button1);
        QCOMPARE(f.terminations, 0);
    }

    void dataLinkRules_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("defaultFileExists");
        QTest::addColumn<QString>("expectedFile");

        // %1 is the test's folder, an absolute path and the current folder; links/site.udl and
        // links/SITE.UDL exist in it. No expected file means the built-in connection string.
        const QString builtIn;
        const QString site = QStringLiteral("%1/links/site.udl");
        const QString byDefault = QStringLiteral("%1/Cnnstr.udl");
        QTest::newRow("none, default file") << QStringList() << true << byDefault;
        QTest::newRow("none, no default file") << QStringList() << false << builtIn;
        QTest::newRow("slash and full path") << QStringList{"/%1/links/site.udl"} << true << site;
        QTest::newRow("slash and full path, no default") << QStringList{"/%1/links/site.udl"} << false << site;
        QTest::newRow("slash and relative path")
            << QStringList{"/links/site.udl"} << true << QStringLiteral("links/site.udl");
        QTest::newRow("slash and missing path") << QStringList{"/%1/links/gone.udl"} << true << builtIn;
        QTest::newRow("no leading slash") << QStringList{"links/site.udl"} << true << byDefault;
        QTest::newRow("no leading slash, no default") << QStringList{"links/site.udl"} << false << builtIn;
        QTest::newRow("capital extension") << QStringList{"/%1/links/SITE.UDL"} << true << byDefault;
        QTest::newRow("starts with /?") << QStringList{"/?x"} << true << byDefault;
        QTest::newRow("/? and a .udl ending") << QStringList{"/?.udl"} << true << builtIn;
        QTest::newRow("second argument ignored") << QStringList{"-x", "/%1/links/site.udl"} << true << byDefault;
    }

    void dataLinkRules() {
        QFETCH(QStringList, arguments);
        QFETCH(bool, defaultFileExists);
        QFETCH(QString, expectedFile);

        const QString demo = f.database(LoginFixture::Engine::SQLite);
        const QString folder = f.dir->path();
        LoginFixture::writeDataLink(folder + QStringLiteral("/links/site.udl"), demo);
        LoginFixture::writeDataLink(folder + QStringLiteral("/links/SITE.UDL"), demo);
        if (defaultFileExists) {
            f.useDefaultDataLink(demo);
        }
        for (QString& argument : arguments) {
            if (argument.contains(QLatin1String("%1"))) {
                argument = argument.arg(folder);
            }
        }
        const QString previousFolder = QDir::currentPath();
        QDir::setCurrent(folder);
        const auto restoreFolder = qScopeGuard([&] { QDir::setCurrent(previousFolder); });
        TfrmLogin::setCommandLine(arguments);
        createLogin();

        if (expectedFile.isEmpty()) {
            QCOMPARE(AppUser.ConnectionString, builtInConnectionString());
            QCOMPARE(f.texts(), QStringList{LoginFixture::unreachable});
            QCOMPARE(frmLogin->LStatus->text(), QString());
            QVERIFY(!frmLogin->ADOConnection1->isOpen());
            return;
        }
        QCOMPARE(AppUser.ConnectionString, QStringLiteral("file name=") + expectedFile.arg(folder));
        QCOMPARE(f.texts(), QStringList());
        QCOMPARE(frmLogin->LStatus->text(), LoginFixture::invalid);
        QVERIFY(frmLogin->ADOConnection1->isOpen());
    }

    void helpBoxInsteadOfAttempt() {
        f.useDefaultDataLink(f.database(LoginFixture::Engine::SQLite));
        TfrmLogin::setCommandLine(QStringList{QStringLiteral("/?"), QStringLiteral("/x.udl")});
        AppUser.ConnectionString = QStringLiteral("earlier");
        createLogin();
        attempt(QStringLiteral("demo"), QStringLiteral("demo"));

        const QString help = QStringLiteral("Parametros: \r/? - Ajuda\r/<nomedoficheiro.udl> - Usa o "
                                            "<nomedoficheiro.udl> para ligar \u00E1 BD.");
        QCOMPARE(f.texts(), (QStringList{help, help}));
        QCOMPARE(f.shown.first().message.icon, Dialogs::Icon::Information);
        QCOMPARE(f.shown.first().message.buttons, Dialogs::Buttons::Ok);
        QCOMPARE(AppUser.ConnectionString, QStringLiteral("earlier"));
        QVERIFY(!frmLogin->ADOConnection1->isOpen());
        QCOMPARE(frmLogin->LStatus->text(), QString());
        QVERIFY(FormKorvell == nullptr);
    }

    void loginsAndRefusals_data() { LoginFixture::addEngineRows(); }

    void loginsAndRefusals() {
        QFETCH(LoginFixture::Engine, engine);
        f.useDefaultDataLink(f.database(engine));
        createLogin();
        QCOMPARE(frmLogin->LStatus->text(), LoginFixture::invalid);
        QVERIFY(FormKorvell == nullptr);
        frmLogin->show();

        attempt(QStringLiteral("demo"), QStringLiteral("demo"));
        QVERIFY(FormKorvell != nullptr);
        QCOMPARE(AppUser.CurrentUserName, QStringLiteral("demo"));
        QCOMPARE(AppUser.CurrentPassword, QStringLiteral("demo"));
        QCOMPARE(AppUser.CurrentUserId.toUpper(), TestDatabases::demoPartnerId());
        QVERIFY(!frmLogin->isVisible());
        QVERIFY(FormKorvell->isVisible());
        QVERIFY(FormKorvell->Timer1->isActive());
        QCOMPARE(FormKorvell->Timer1->interval(), 30000);
        QVERIFY(questionsTabVisible());
        QCOMPARE(frmLogin->EdUser->text(), QStringLiteral("demo"));
        QCOMPARE(frmLogin->EdPass->text(), QString());
        QCOMPARE(frmLogin->LStatus->text(), QString());
        // The refused attempt at creation left the connection open; this attempt closed it.
        QCOMPARE(f.texts(), QStringList{LoginFixture::disconnected});
        TFormKorvell* const map = FormKorvell;

        // Back at the login window, as a failed check leaves it: a refusal keeps the identity.
        FormKorvell->Timer1->stop();
        FormKorvell->hide();
        frmLogin->show();
        attempt(QStringLiteral("demo"), QStringLiteral("wrong"));
        QCOMPARE(frmLogin->LStatus->text(), LoginFixture::invalid);
        QCOMPARE(frmLogin->EdPass->text(), QString());
        QVERIFY(frmLogin->isVisible());
        QVERIFY(frmLogin->ADOConnection1->isOpen());
        QCOMPARE(AppUser.CurrentUserName, QStringLiteral("demo"));
        QCOMPARE(AppUser.CurrentPassword, QStringLiteral("demo"));
        QCOMPARE(AppUser.CurrentUserId.toUpper(), TestDatabases::demoPartnerId());
        QCOMPARE(f.texts().count(LoginFixture::disconnected), 2);

        // A user with a parent does not see the questions tab; the same map window serves.
        attempt(QStringLiteral("consultant"), QStringLiteral("consultant"));
        QCOMPARE(f.texts().count(LoginFixture::disconnected), 3);
        QCOMPARE(FormKorvell, map);
        QCOMPARE(AppUser.CurrentUserName, QStringLiteral("consultant"));
        QVERIFY(!questionsTabVisible());
        QVERIFY(FormKorvell->isVisible());

        FormKorvell->hide();
        frmLogin->show();
        attempt(QStringLiteral("demo"), QStringLiteral("demo"));
        QVERIFY(questionsTabVisible());
        QCOMPARE(QApplication::topLevelWidgets().count(map), 1);
        QVERIFY(!f.anyOutputContains(QStringLiteral("Error")));
    }

    void okDuringAnAttemptIsIgnored() {
        f.useDefaultDataLink(f.database(LoginFixture::Engine::SQLite));
        createLogin();
        frmLogin->show();
        // The notice comes up in the middle of the attempt; a second Ok then must not start another.
        f.whileShown = [] { QTest::mouseClick(frmLogin->Button1, Qt::LeftButton); };
        attempt(QStringLiteral("demo"), QStringLiteral("demo"));

        QCOMPARE(f.texts(), QStringList{LoginFixture::disconnected});
        QVERIFY(FormKorvell != nullptr && FormKorvell->isVisible());
        QVERIFY(frmLogin->ADOConnection1->isOpen());
        QCOMPARE(AppUser.CurrentUserName, QStringLiteral("demo"));
    }

    void hostileInput_data() {
        QTest::addColumn<LoginFixture::Engine>("engine");
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("password");
        const QList<std::pair<const char*, std::pair<QString, QString>>> inputs{
            {"quote in name", {"d'emo", "demo"}},
            {"or-true password", {"demo", "' OR '1'='1"}},
            {"or-true name", {"' OR '1'='1' --", "x#7q"}},
            {"comment after name", {"demo'--", "x#7q"}},
            {"backslash quote", {"demo\\' OR 1=1 --", "x#7q"}},
            {"second statement", {"x';DELETE FROM Produtos--", "x#7q"}},
            {"second statement in password", {"demo", "';DROP TABLE Produtos;--"}},
            {"non-ascii", {QStringLiteral("Jo\u00E3o\u2019 \u00B4"), QStringLiteral("p\u00E1ss'")}},
            {"25 quotes", {QString(25, QLatin1Char('\'')), QString(25, QLatin1Char('\''))}},
        };
        for (const auto& [engineName, engine] : LoginFixture::engines()) {
            for (const auto& [name, credentials] : inputs) {
                QTest::newRow(QByteArray(engineName + ": " + name).constData())
                    << engine << credentials.first << credentials.second;
            }
        }
    }

    void hostileInput() {
        QFETCH(LoginFixture::Engine, engine);
        QFETCH(QString, user);
        QFETCH(QString, password);
        f.useDefaultDataLink(f.database(engine));
        const int users = f.count(QStringLiteral("utilizadores"));
        const int products = f.count(QStringLiteral("Produtos"));
        QVERIFY(users > 0 && products > 0);
        createLogin();
        frmLogin->show();
        QVERIFY(QTest::qWaitForWindowActive(frmLogin));

        type(frmLogin->EdUser, user);
        type(frmLogin->EdPass, password);
        QCOMPARE(frmLogin->EdUser->text(), user);
        QTest::mouseClick(frmLogin->Button1, Qt::LeftButton);

        QCOMPARE(frmLogin->LStatus->text(), LoginFixture::invalid);
        QVERIFY(FormKorvell == nullptr);
        QCOMPARE(AppUser.CurrentUserName, QString());
        // Only the notice of the refused attempt at creation: no error report of a broken query.
        QCOMPARE(f.texts(), QStringList{LoginFixture::disconnected});
        QCOMPARE(f.count(QStringLiteral("utilizadores")), users);
        QCOMPARE(f.count(QStringLiteral("Produtos")), products);
        // Every hostile password is long enough not to occur in the texts by chance.
        QVERIFY(!f.anyOutputContains(password));
    }

    void connectionFailures_data() {
        QTest::addColumn<QByteArray>("fileBytes");
        QTest::newRow("not a data-link file") << QByteArray("Provider=SQLite;Data Source=x.db\n");
        QTest::newRow("unknown provider") << QByteArray("[oledb]\n; c\nProvider=Nothing.1;Password=Secr3tPass\n");
        QTest::newRow("no provider") << QByteArray("[oledb]\n; c\nData Source=x.db;Password=Secr3tPass\n");
        QTest::newRow("unknown keyword") << QByteArray("[oledb]\n; c\nProvider=SQLite;Colour=blue;Data Source=x.db\n");
        QTest::newRow("file is not a database") << QByteArray("[oledb]\n; c\nProvider=SQLite;Data Source=%1\n");
        QTest::newRow("no server at the port")
            << QByteArray("[oledb]\n; c\nProvider=PostgreSQL;Data Source=127.0.0.1,1;Initial Catalog=k;"
                          "User ID=u;Password=Secr3tPass\n");
    }

    void connectionFailures() {
        QFETCH(QByteArray, fileBytes);
        const QString notADatabase = f.dir->filePath(QStringLiteral("notes.db"));
        {
            QFile notes(notADatabase);
            QVERIFY(notes.open(QIODevice::WriteOnly));
            notes.write(QByteArray(4096, 'x'));
        }
        const QString udl = f.dir->filePath(QStringLiteral("Cnnstr.udl"));
        {
            QFile file(udl);
            QVERIFY(file.open(QIODevice::WriteOnly));
            QString text = QString::fromLatin1(fileBytes);
            if (text.contains(QLatin1String("%1"))) {
                text = text.arg(notADatabase);
            }
            file.write(text.toUtf8());
        }
        AppUser.CurrentUserName = QStringLiteral("earlier");
        AppUser.CurrentPassword = QStringLiteral("earlierPass");
        AppUser.CurrentUserId = TestDatabases::demoPartnerId();
        createLogin();

        QCOMPARE(f.texts(), QStringList{LoginFixture::unreachable});
        QCOMPARE(f.shown.first().visibleWindows, QStringList());
        QCOMPARE(frmLogin->LStatus->text(), QString());
        QVERIFY(!frmLogin->ADOConnection1->isOpen());
        QCOMPARE(AppUser.CurrentUserName, QStringLiteral("earlier"));
        QCOMPARE(AppUser.CurrentPassword, QStringLiteral("earlierPass"));
        QCOMPARE(AppUser.CurrentUserId, TestDatabases::demoPartnerId());
        QCOMPARE(AppUser.ConnectionString, QStringLiteral("file name=") + udl);
        QVERIFY(!f.anyOutputContains(QStringLiteral("Secr3tPass")));
        QVERIFY(QGuiApplication::overrideCursor() == nullptr);

        // The window stays usable: with a good file the next Ok logs in.
        f.useDefaultDataLink(f.database(LoginFixture::Engine::SQLite));
        attempt(QStringLiteral("demo"), QStringLiteral("demo"));
        QVERIFY(FormKorvell != nullptr && FormKorvell->isVisible());
    }

    void credentialQueryErrorIsReported() {
        f.useDefaultDataLink(f.database(LoginFixture::Engine::SQLite));
        f.execute(QStringLiteral("ALTER TABLE utilizadores RENAME TO utilizadores_old"));
        createLogin();
        attempt(QStringLiteral("demo"), QStringLiteral("Pa55word"));

        // The error report at creation, the notice of the second attempt's close, its error report.
        QCOMPARE(f.shown.size(), 3);
        QCOMPARE(f.shown.at(1).message.text, LoginFixture::disconnected);
        for (const int i : {0, 2}) {
            QCOMPARE(f.shown.at(i).message.icon, Dialogs::Icon::Critical);
            QVERIFY(f.shown.at(i).message.text.contains(QStringLiteral("utilizadores")));
        }
        QVERIFY(!f.anyOutputContains(QStringLiteral("Pa55word")));
        QCOMPARE(frmLogin->LStatus->text(), QString());
        QVERIFY(QGuiApplication::overrideCursor() == nullptr);
        QVERIFY(frmLogin->ADOConnection1->isOpen());
    }

    void credentialsStillValid_data() { LoginFixture::addEngineRows(); }

    void credentialsStillValid() {
        QFETCH(LoginFixture::Engine, engine);
        f.useDefaultDataLink(f.database(engine));
        QVERIFY(!CredentialsStillValid());
        AppUser.CurrentUserName = QStringLiteral("demo");
        AppUser.CurrentPassword = QStringLiteral("demo");
        createLogin();
        // The refused empty attempt at creation left the connection open and the identity as it was.
        QVERIFY(frmLogin->ADOConnection1->isOpen());
        QVERIFY(CredentialsStillValid());
        AppUser.CurrentPassword = QStringLiteral("Demo");
        QVERIFY(!CredentialsStillValid());
        AppUser.CurrentPassword = QStringLiteral("demo");

        f.execute(QStringLiteral("UPDATE utilizadores SET password = 'changed' WHERE username = 'demo'"));
        QVERIFY(!CredentialsStillValid());
        f.execute(QStringLiteral("UPDATE utilizadores SET password = 'demo' WHERE username = 'demo'"));
        QVERIFY(CredentialsStillValid());

        f.execute(QStringLiteral("ALTER TABLE utilizadores RENAME TO utilizadores_old"));
        QVERIFY(!CredentialsStillValid());
        f.execute(QStringLiteral("ALTER TABLE utilizadores_old RENAME TO utilizadores"));
        QVERIFY(CredentialsStillValid());

        frmLogin->ADOConnection1->close();
        QVERIFY(!CredentialsStillValid());
    }
};

QTEST_MAIN(TestLogin)
#include "tst_login.moc"
