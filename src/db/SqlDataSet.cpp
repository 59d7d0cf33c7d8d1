// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#include "db/SqlDataSet.h"

#include "common/Error.h"
#include "db/Connection.h"

namespace korvell {

SqlDataSet::SqlDataSet(QObject* parent)
    : QObject(parent) {}

void SqlDataSet::setConnection(Connection* connection) {
    if (connection == m_connection)
        return;
    close();
    disconnect(m_disconnectWatch);
    m_connection = connection;
    if (connection)
        m_disconnectWatch = connect(connection, &Connection::disconnected, this, &SqlDataSet::close);
}

QString SqlDataSet::parameterKey(const QString& name) {
    return name.startsWith(QLatin1Char(':')) ? name.mid(1) : name;
}

void SqlDataSet::setParameter(const QString& name, const QVariant& value) {
    m_parameters.insert(parameterKey(name), value);
}

QVariant SqlDataSet::parameter(const QString& name) const {
    return m_parameters.value(parameterKey(name));
}

void SqlDataSet::open() {
    if (m_open)
        return;
    if (!m_connection)
        throw Error(QStringLiteral("The query %1 has no database connection.").arg(objectName()));
    emit commandSent(m_commandText);
    ResultSet rows = m_connection->query(m_commandText, m_parameters);
    emit aboutToChange();
    m_result = std::move(rows);
    m_open = true;
    emit changed();
}

void SqlDataSet::close() {
    if (!m_open)
        return;
    emit aboutToChange();
    m_result = ResultSet();
    m_open = false;
    emit changed();
}

} // namespace korvell
