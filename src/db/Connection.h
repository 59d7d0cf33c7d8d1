// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#pragma once

#include "db/ResultSet.h"

#include <QObject>
#include <QSqlQuery>
#include <QString>
#include <QVariantMap>

#include <memory>

namespace korvell {

class Backend;
class OleDbString;

/// The program's database connection. It opens the database that an OLE DB connection string
/// names ("file name=<path>" reads a data-link file), runs statements as the program writes
/// them, and reports every close of an open connection. Error texts carry the driver's text
/// but never the connection's password.
class Connection : public QObject {
    Q_OBJECT
public:
    explicit Connection(QObject* parent = nullptr);
    /// Closes an open connection without the disconnected() notification: whoever listens may
    /// be going away too.
    ~Connection() override;

    QString connectionString() const { return m_connectionString; }
    /// Takes effect at the next open().
    void setConnectionString(const QString& connectionString);

    /// Opens the database of the connection string; an open connection is closed first.
    /// Throws Error with a readable text (the driver's, where it has one) on failure.
    void open();
    /// Closes the connection; emits disconnected() when it was open.
    void close();
    bool isOpen() const { return m_backend != nullptr; }

    /// Runs a query and reads all its rows. parameters fill named placeholders (":name"; the key
    /// may be given with or without the colon). Throws Error when the connection is closed or
    /// the statement fails.
    ResultSet query(const QString& sql, const QVariantMap& parameters = {});
    /// Runs a statement that returns no rows; the number of rows it changed.
    int execute(const QString& sql, const QVariantMap& parameters = {});
    /// Runs the credential query for userName and password. Its error texts never hold the
    /// password, even where the server quotes the statement or the value in its message.
    ResultSet queryCredentials(const QString& userName, const QString& password);

    /// The settings that connectionString stands for, a data-link file's content read in.
    /// Throws Error when they cannot be read.
    static OleDbString resolve(const QString& connectionString);

signals:
    /// An open connection was closed.
    void disconnected();

private:
    void release();
    QString scrubbed(QString text, const QStringList& hidden = {}) const;
    QSqlQuery run(const QString& sql, const QVariantMap& parameters, const QStringList& hidden);
    ResultSet read(const QString& sql, const QVariantMap& parameters, const QStringList& hidden);

    const QString m_name;
    QString m_connectionString;
    QString m_password;
    std::unique_ptr<Backend> m_backend;
};

} // namespace korvell
