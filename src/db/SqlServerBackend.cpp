// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#include "db/SqlServerBackend.h"

#include "common/Error.h"
#include "db/OleDbString.h"

#include <QFileInfo>
#include <QSqlDatabase>

namespace korvell {

namespace {

constexpr int defaultConnectTimeout = 5;
const char* const freeTdsLibrary = "/usr/lib/x86_64-linux-gnu/odbc/libtdsodbc.so";

// Keywords that Windows writes into SQL Server data-link files; they change nothing here.
const QStringList& windowsKeywords() {
    static const QStringList keywords = {
        QStringLiteral("use procedure for prepare"),
        QStringLiteral("auto translate"),
        QStringLiteral("packet size"),
        QStringLiteral("workstation id"),
        QStringLiteral("use encryption for data"),
        QStringLiteral("tag with column collation when possible"),
        QStringLiteral("application name"),
        QStringLiteral("locale identifier"),
        QStringLiteral("network library"),
        QStringLiteral("current language"),
        QStringLiteral("integrated security"),
    };
    return keywords;
}

// An ODBC value in braces when it could end its attribute early; "}" is doubled inside.
QString odbcValue(const QString& value) {
    if (!value.contains(QLatin1Char(';')) && !value.contains(QLatin1Char('{')) && !value.contains(QLatin1Char('}')) &&
        !value.contains(QLatin1Char('=')) && value.trimmed() == value) {
        return value;
    }
    QString braced = value;
    braced.replace(QLatin1Char('}'), QLatin1String("}}"));
    return QLatin1Char('{') + braced + QLatin1Char('}');
}

QString driverAttribute() {
    // Without an odbcinst.ini entry unixODBC still loads the driver named by its path.
    if (QFileInfo::exists(QLatin1String(freeTdsLibrary))) {
        return QLatin1String(freeTdsLibrary);
    }
    return QStringLiteral("{FreeTDS}");
}

} // namespace

bool SqlServerBackend::isProvider(const QString& provider) {
    static const QStringList providers = {QStringLiteral("SQLOLEDB.1"), QStringLiteral("SQLOLEDB"),
                                          QStringLiteral("MSOLEDBSQL"), QStringLiteral("MSOLEDBSQL.1"),
                                          QStringLiteral("SQLNCLI11"),  QStringLiteral("SQLNCLI11.1")};
    return providers.contains(provider.trimmed(), Qt::CaseInsensitive);
}

QString SqlServerBackend::odbcConnectionString(const OleDbString& settings) {
    requireKnownKeywords(settings, windowsKeywords());
    const QString security = settings.value(QStringLiteral("Integrated Security")).trimmed();
    if (!security.isEmpty() && security.compare(QLatin1String("False"), Qt::CaseInsensitive) != 0) {
        throw Error(QStringLiteral("Windows authentication (Integrated Security) is not available; the connection "
                                   "string needs a User ID and a Password."));
    }
    QString source = settings.value(QStringLiteral("Data Source")).trimmed();
    if (source.startsWith(QLatin1String("tcp:"), Qt::CaseInsensitive)) {
        source = source.mid(4).trimmed();
    }
    if (source.isEmpty()) {
        throw Error(QStringLiteral("The connection string names no server (Data Source)."));
    }
    QString host = source;
    QString port;
    const qsizetype comma = source.indexOf(QLatin1Char(','));
    if (comma >= 0) {
        host = source.left(comma).trimmed();
        port = source.mid(comma + 1).trimmed();
        bool ok = false;
        const int number = port.toInt(&ok);
        if (host.isEmpty() || !ok || number < 1 || number > 65535) {
            throw Error(QStringLiteral("The connection string's Data Source must be a host or host,port."));
        }
    } else if (!host.contains(QLatin1Char('\\'))) {
        // A named instance is found through the server's browser service; anything else uses
        // the default port.
        port = QStringLiteral("1433");
    }
    if (host == QLatin1String(".") || host.compare(QLatin1String("(local)"), Qt::CaseInsensitive) == 0) {
        host = QStringLiteral("127.0.0.1");
    }
    QStringList parts;
    parts << QStringLiteral("DRIVER=") + odbcValue(driverAttribute()) << QStringLiteral("SERVER=") + odbcValue(host);
    if (!port.isEmpty()) {
        parts << QStringLiteral("PORT=") + port;
    }
    if (settings.contains(QStringLiteral("Initial Catalog"))) {
        parts << QStringLiteral("DATABASE=") + odbcValue(settings.value(QStringLiteral("Initial Catalog")));
    }
    parts << QStringLiteral("UID=") + odbcValue(settings.value(QStringLiteral("User ID")))
          << QStringLiteral("PWD=") + odbcValue(settings.value(QStringLiteral("Password")))
          << QStringLiteral("TDS_Version=7.4") << QStringLiteral("ClientCharset=UTF-8");
    return parts.join(QLatin1Char(';'));
}

QString SqlServerBackend::connectOptions(const OleDbString& settings) {
    return QStringLiteral("SQL_ATTR_LOGIN_TIMEOUT=%1").arg(connectTimeout(settings, defaultConnectTimeout));
}

QString SqlServerBackend::driverName() const {
    return QStringLiteral("QODBC");
}

void SqlServerBackend::configure(QSqlDatabase& db, const OleDbString& settings) const {
    db.setDatabaseName(odbcConnectionString(settings));
    db.setConnectOptions(connectOptions(settings));
}

} // namespace korvell
