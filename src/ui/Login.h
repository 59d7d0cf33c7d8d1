// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QStringList>
#include <QWidget>

#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;

namespace korvell {

class Connection;

/// The login window: chooses the connection string, opens the one database connection, checks
/// the typed name and password and hands over to the map window.
class TfrmLogin : public QWidget {
    Q_OBJECT
public:
    explicit TfrmLogin(QWidget* parent = nullptr);

    /// Runs the Ok action once with both boxes empty.
    void FormCreate();
    /// Puts the focus into the user box with its whole text selected.
    void FormShow();
    /// Enter (character 13) becomes 0 and moves the focus to the next control in tab order.
    void FormKeyPress(QChar& key);
    /// The Ok action: the login attempt.
    void Button1Click();
    /// Cancel: closes the window, which ends the application.
    void Button2Click();
    /// The notice shown when the open connection closes, unless the map window is closing.
    void ADOConnection1Disconnect();

    /// The command line the Ok action reads (without the program's name): the application's
    /// own arguments unless replaced; std::nullopt goes back to those.
    static QStringList commandLine();
    static void setCommandLine(std::optional<QStringList> arguments);

    /// The text of the "/?" help box.
    static QString helpText();

    QLabel* Image1 = nullptr;
    QLabel* LUser = nullptr;
    QLabel* LPass = nullptr;
    QLineEdit* EdUser = nullptr;
    QLineEdit* EdPass = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    QLabel* LStatus = nullptr;
    /// The one database connection of the program.
    Connection* ADOConnection1 = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void setStatus(const QString& text);
    /// Sets the status line and lets it be painted before the next, possibly long, step.
    void paintStatus(const QString& text);
    bool connectToServer();
    void checkCredentials();

    bool m_attemptRunning = false;
};

} // namespace korvell
