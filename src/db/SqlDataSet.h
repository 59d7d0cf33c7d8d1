// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#pragma once

#include "db/Connection.h"
#include "db/ResultSet.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariantMap>

namespace korvell {

/**
 * A query component on the program's connection: a command text with named parameters, opened
 * into a static result (every row read at once) and closed again. It closes itself when its
 * connection closes, as the datasets of a connection do. Views follow it through
 * aboutToChange() / changed(), which frame every open and close.
 */
class SqlDataSet : public QObject {
    Q_OBJECT
public:
    explicit SqlDataSet(QObject* parent = nullptr);

    Connection* connection() const { return m_connection; }
    void setConnection(Connection* connection);

    QString commandText() const { return m_commandText; }
    /// Takes effect at the next open().
    void setCommandText(const QString& commandText) { m_commandText = commandText; }
    /// Sets the named parameter (":name" or "name"); a null QVariant is SQL NULL.
    void setParameter(const QString& name, const QVariant& value);
    QVariant parameter(const QString& name) const;

    /// Runs the command text; does nothing when already open. Throws Error when there is no
    /// connection or the statement fails; the dataset then stays closed.
    void open();
    /// Discards the rows; does nothing when closed.
    void close();
    bool isOpen() const { return m_open; }

    /// The rows of the last open; empty while closed.
    const ResultSet& result() const { return m_result; }
    qsizetype rowCount() const { return m_result.rowCount(); }
    bool isEmpty() const { return m_result.isEmpty(); }

signals:
    void aboutToChange();
    void changed();
    /// An open ran its command text (sent before the rows are taken in).
    void commandSent(const QString& commandText);

private:
    static QString parameterKey(const QString& name);

    QPointer<Connection> m_connection;
    QMetaObject::Connection m_disconnectWatch;
    QString m_commandText;
    QVariantMap m_parameters;
    ResultSet m_result;
    bool m_open = false;
};

} // namespace korvell
