// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#include "Login.h"

#include "Dialogs.h"
#include "Forms.h"
#include "LoginBackground.h"
#include "Main.h"
#include "common/Error.h"
#include "db/Connection.h"
#include "db/SiteConnection.h"
#include "db/SqlText.h"
#include "localisation/Appvars.h"
#include "localisation/ProgramFolder.h"
#include "ui/Fonts.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QScopeGuard>
#include <QScreen>
#include <QTabWidget>
#include <QTimer>

namespace korvell {

namespace {

constexpr int maxBoxLength = 25;

std::optional<QStringList>& commandLineOverride() {
    static std::optional<QStringList> arguments;
    return arguments;
}

QLabel* makeCaption(QWidget* parent, const QString& name, const QString& text, const QRect& geometry) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setGeometry(geometry);
    label->setFont(tahoma(13, true));
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::black);
    label->setPalette(palette);
    // The designed size fits Tahoma; a wider substitute font must not cut the caption.
    label->resize(label->sizeHint().expandedTo(geometry.size()));
    return label;
}

QLineEdit* makeBox(QWidget* parent, const QString& name, const QRect& geometry, const QString& extraStyle) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setGeometry(geometry);
    box->setFont(tahoma(13, true));
    box->setMaxLength(maxBoxLength);
    box->setFrame(false);
    box->setStyleSheet(
        QStringLiteral("QLineEdit { border: none; background-color: rgb(196, 223, 239); color: black;%1 }")
            .arg(extraStyle));
    return box;
}

QPushButton* makeButton(QWidget* parent, const QString& name, const QString& text, const QRect& geometry) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setGeometry(geometry);
    button->setFont(tahoma(11, true));
    return button;
}

} // namespace

TfrmLogin::TfrmLogin(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName(QStringLiteral("frmLogin"));
    setWindowTitle(QStringLiteral("Login"));
    setFixedSize(308, 202);
    QFont formFont(QStringLiteral("MS Sans Serif"));
    formFont.setPixelSize(11);
    setFont(formFont);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, QColor(128, 128, 128));
    setPalette(palette);
    setAutoFillBackground(true);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(rect());
    Image1->setPixmap(QPixmap::fromImage(LoginBackground::paint(size())));

    LUser = makeCaption(this, QStringLiteral("LUser"), QStringLiteral("Username"), QRect(24, 58, 64, 16));
    LPass = makeCaption(this, QStringLiteral("LPass"), QStringLiteral("Password"), QRect(24, 91, 63, 16));
    EdUser = makeBox(this, QStringLiteral("EdUser"), QRect(104, 56, 153, 24), QString());
    EdPass = makeBox(this, QStringLiteral("EdPass"), QRect(104, 88, 153, 24),
                     QStringLiteral(" lineedit-password-character: 42;"));
    EdPass->setEchoMode(QLineEdit::Password);
    Button1 = makeButton(this, QStringLiteral("Button1"), QStringLiteral("&Ok"), QRect(104, 128, 75, 25));
    Button2 = makeButton(this, QStringLiteral("Button2"), QStringLiteral("&Cancel"), QRect(184, 128, 75, 25));
    setTabOrder(EdUser, EdPass);
    setTabOrder(EdPass, Button1);
    setTabOrder(Button1, Button2);

    LStatus = new QLabel(this);
    LStatus->setObjectName(QStringLiteral("LStatus"));
    LStatus->move(8, 178);
    LStatus->setFont(tahoma(11, true));
    LStatus->setPalette(LUser->palette());

    ADOConnection1 = new Connection(this);
    ADOConnection1->setObjectName(QStringLiteral("ADOConnection1"));

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }

    // The window sees every key before its controls.
    for (QWidget* control : {static_cast<QWidget*>(EdUser), static_cast<QWidget*>(EdPass),
                             static_cast<QWidget*>(Button1), static_cast<QWidget*>(Button2)}) {
        control->installEventFilter(this);
    }
    connect(Button1, &QPushButton::clicked, this, [this] { guarded(this, [this] { Button1Click(); }); });
    connect(Button2, &QPushButton::clicked, this, [this] { guarded(this, [this] { Button2Click(); }); });
    connect(ADOConnection1, &Connection::disconnected, this, &TfrmLogin::ADOConnection1Disconnect);
}

void TfrmLogin::FormCreate() {
    Button1Click();
}

void TfrmLogin::FormShow() {
    EdUser->setFocus();
    EdUser->selectAll();
}

void TfrmLogin::FormKeyPress(QChar& key) {
    if (key == QChar(13)) {
        key = QChar(0);
        focusNextChild();
    }
}

QStringList TfrmLogin::commandLine() {
    if (commandLineOverride()) {
        return *commandLineOverride();
    }
    return QCoreApplication::arguments().mid(1);
}

void TfrmLogin::setCommandLine(std::optional<QStringList> arguments) {
    commandLineOverride() = std::move(arguments);
}

QString TfrmLogin::helpText() {
    return QStringLiteral("Parametros: \r/? - Ajuda\r/<nomedoficheiro.udl> - Usa o <nomedoficheiro.udl> para ligar "
                          "\u00E1 BD.");
}

void TfrmLogin::Button1Click() {
    // The attempt processes pending events; a second Ok arriving then must not start another
    // attempt on the connection this one is using.
    if (m_attemptRunning) {
        return;
    }
    m_attemptRunning = true;
    const auto attemptEnded = qScopeGuard([this] { m_attemptRunning = false; });

    const QStringList arguments = commandLine();
    const QString argument = arguments.isEmpty() ? QString() : arguments.first();
    QString dataLinkFile;
    if (argument.endsWith(QLatin1String(".udl"), Qt::CaseSensitive) && argument.startsWith(QLatin1Char('/'))) {
        dataLinkFile = argument.mid(1);
    } else if (argument == QLatin1String("/?")) {
        Dialogs::show(this, Dialogs::Icon::Information, Dialogs::Buttons::Ok, helpText());
        return;
    } else {
        dataLinkFile = ProgramFolder::filePath(QStringLiteral("Cnnstr.udl"));
    }
    AppUser.ConnectionString =
        QFileInfo(dataLinkFile).isFile() ? QStringLiteral("file name=") + dataLinkFile : builtInConnectionString();

    paintStatus(QStringLiteral(" Connecting to login server, please wait... "));
    {
        const BusyCursor busy;
        if (connectToServer()) {
            checkCredentials();
        }
        QCoreApplication::processEvents();
    }
}

bool TfrmLogin::connectToServer() {
    try {
        ADOConnection1->close();
        ADOConnection1->setConnectionString(AppUser.ConnectionString);
        ADOConnection1->open();
    } catch (const std::exception&) {
        // The driver's text may name the server or the login; the user gets the one plain message.
        Dialogs::show(this, Dialogs::Icon::Warning, Dialogs::Buttons::Ok,
                      QStringLiteral("Couldn\u00B4t reach server, please check your internet settings!"));
        setStatus(QString());
        return false;
    }
    return true;
}

void TfrmLogin::checkCredentials() {
    paintStatus(QStringLiteral(" Validating Login info... "));
    ResultSet user;
    try {
        user = ADOConnection1->queryCredentials(EdUser->text(), EdPass->text());
    } catch (const Error&) {
        // Not this attempt's to handle: the error report shows it, over an empty status line.
        setStatus(QString());
        throw;
    }
    if (user.isEmpty()) {
        setStatus(QStringLiteral(" Invalid Login Information! "));
        EdPass->clear();
        return;
    }

    AppUser.CurrentUserName = EdUser->text();
    AppUser.CurrentPassword = EdPass->text();
    AppUser.CurrentUserId = user.value(0, QStringLiteral("idutilizador")).toString();
    setStatus(QStringLiteral(" Connected! "));
    if (!FormKorvell) {
        Forms::create(FormKorvell);
    }
    const QVariant parentUser = user.value(0, QStringLiteral("parent_user"));
    const bool withoutParent = parentUser.isNull() || parentUser.toString().isEmpty();
    FormKorvell->cxPageControl1->setTabVisible(FormKorvell->cxPageControl1->indexOf(FormKorvell->cxTabSheet1),
                                               withoutParent);
    EdPass->clear();
    hide();
    FormKorvell->show();
    FormKorvell->Timer1->start();
    setStatus(QString());
}

void TfrmLogin::Button2Click() {
    close();
}

void TfrmLogin::ADOConnection1Disconnect() {
    if (FormKorvell == nullptr || !FormKorvell->FClosing) {
        Dialogs::show(this, Dialogs::Icon::Information, Dialogs::Buttons::Ok,
                      QStringLiteral("Disconnected From Server!"));
    }
}

void TfrmLogin::setStatus(const QString& text) {
    LStatus->setText(text);
    LStatus->adjustSize();
}

void TfrmLogin::paintStatus(const QString& text) {
    setStatus(text);
    QCoreApplication::processEvents();
}

bool TfrmLogin::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const auto* press = static_cast<QKeyEvent*>(event);
        if (press->key() == Qt::Key_Return || press->key() == Qt::Key_Enter) {
            // A focused button takes Enter as its own press; in the boxes Enter only moves on.
            if (auto* button = qobject_cast<QPushButton*>(watched)) {
                button->click();
                return true;
            }
            QChar key(13);
            FormKeyPress(key);
            return key.isNull();
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TfrmLogin::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!event->spontaneous()) {
        FormShow();
    }
}

void TfrmLogin::closeEvent(QCloseEvent* event) {
    // Closing this window always ends the run: as the main window by rule, and otherwise (the
    // map window hidden by a failed check) because nothing else would be left on screen.
    event->accept();
    Forms::terminate();
}

} // namespace korvell
