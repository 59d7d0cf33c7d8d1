// Copyright 2026 Korvell developers
// SPDX-License-Identifier: MIT
#include "cli/ImportCommand.h"

#include "cli/CommandLine.h"
#include "cli/TableCsv.h"
#include "common/Error.h"
#include "db/Connection.h"
#include "db/ResultsImport.h"
#include "db/SiteConnection.h"
#include "db/SqlDataSet.h"
#include "localisation/ProgramFolder.h"
#include "model/CoordTable.h"
#include "model/MapModel.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <optional>

namespace korvell {

namespace {

const char* const kHelp =
    "Usage: korvell-cli import --login NAME [--connection STRING | --udl FILE]\n"
    "                          [--password-file FILE] --user ID [--product ID]\n"
    "\n"
    "Logs in to the questionnaire database as NAME, imports the scores of the questionnaire for\n"
    "one user and writes the resulting table as CSV to standard output, as 'korvell-cli compute'\n"
    "writes it.\n"
    "\n"
    "  --login NAME          the user name of the login window\n"
    "  --password-file FILE  read the password from the first line of FILE ('-': standard input);\n"
    "                        without it the password is taken from KORVELL_PASSWORD\n"
    "  --connection STRING   an OLE DB connection string, or \"file name=\" and a data-link file\n"
    "  --udl FILE            the data-link file FILE\n"
    "                        without either: Cnnstr.udl beside the program when it exists,\n"
    "                        otherwise the built-in connection string\n"
    "  --user ID             a licence holder or respondent of the logged-in user\n"
    "  --product ID          import per product: a product of that user's licence holder, whose\n"
    "                        respondents' scores for it are imported; without it, per user:\n"
    "                        the scores of ID (and its respondents) over every product\n"
    "\n"
    "Exit status: 0 on success; 1 when the server cannot be reached, the login is refused or the\n"
    "import fails; 2 on a bad command line or an id the logged-in user cannot import. Errors are\n"
    "one line on standard error, and nothing is written to standard output then.\n";

struct Options {
    QString login;
    QString passwordFile;
    QString connection;
    QString user;
    QString product;
};

int badCommandLine(const QString& message) {
    CommandLine::writeError(QStringLiteral("import: %1; see 'korvell-cli import --help'").arg(message));
    return ExitBadInput;
}

std::optional<QString> readPassword(const QString& path, QString& error) {
    if (path.isEmpty()) {
        if (!qEnvironmentVariableIsSet("KORVELL_PASSWORD")) {
            error = QStringLiteral("no password: set KORVELL_PASSWORD or give --password-file");
            return std::nullopt;
        }
        return qEnvironmentVariable("KORVELL_PASSWORD");
    }
    QFile file;
    const bool opened = path == QLatin1String("-") ? file.open(stdin, QIODevice::ReadOnly) : [&] {
        file.setFileName(path);
        return file.open(QIODevice::ReadOnly);
    }();
    if (!opened) {
        error = QStringLiteral("%1: %2").arg(path, file.errorString());
        return std::nullopt;
    }
    QByteArray line = file.readLine();
    while (line.endsWith('\n') || line.endsWith('\r'))
        line.chop(1);
    return QString::fromUtf8(line);
}

QString defaultConnectionString() {
    const QString dataLink = ProgramFolder::filePath(QStringLiteral("Cnnstr.udl"));
    return QFileInfo(dataLink).isFile() ? QStringLiteral("file name=") + dataLink : builtInConnectionString();
}

bool sameId(const QVariant& a, const QString& b) {
    return a.toString().compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace

int ImportCommand::run(const QStringList& arguments) {
    Options options;
    bool connectionGiven = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& arg = arguments[i];
        if (arg == QLatin1String("--help") || arg == QLatin1String("-h"))
            return CommandLine::writeOut(kHelp) ? ExitOk : ExitFailure;
        QString* target = nullptr;
        if (arg == QLatin1String("--login"))
            target = &options.login;
        else if (arg == QLatin1String("--password-file"))
            target = &options.passwordFile;
        else if (arg == QLatin1String("--connection") || arg == QLatin1String("--udl"))
            target = &options.connection;
        else if (arg == QLatin1String("--user"))
            target = &options.user;
        else if (arg == QLatin1String("--product"))
            target = &options.product;
        else if (arg == QLatin1String("--password"))
            return badCommandLine(QStringLiteral("a password on the command line is visible to every user of the "
                                                 "machine; use --password-file or KORVELL_PASSWORD"));
        else
            return badCommandLine(QStringLiteral("unknown argument '%1'").arg(arg));
        if (i + 1 >= arguments.size() || arguments[i + 1].isEmpty())
            return badCommandLine(QStringLiteral("%1 needs a value").arg(arg));
        if (target == &options.connection) {
            if (connectionGiven)
                return badCommandLine(QStringLiteral("one of --connection and --udl at most"));
            connectionGiven = true;
        }
        *target = arguments[++i];
        if (arg == QLatin1String("--udl"))
            *target = QStringLiteral("file name=") + QFileInfo(*target).absoluteFilePath();
    }
    if (options.login.isEmpty())
        return badCommandLine(QStringLiteral("--login is missing"));
    if (options.user.isEmpty())
        return badCommandLine(QStringLiteral("--user is missing"));
    QString passwordError;
    const std::optional<QString> password = readPassword(options.passwordFile, passwordError);
    if (!password)
        return badCommandLine(passwordError);

    Connection connection;
    connection.setConnectionString(connectionGiven ? options.connection : defaultConnectionString());
    try {
        connection.open();
    } catch (const Error& e) {
        CommandLine::writeError(QStringLiteral("import: cannot reach the server: %1").arg(e.text()));
        return ExitFailure;
    }

    QString output;
    try {
        const ResultSet user = connection.queryCredentials(options.login, *password);
        if (user.isEmpty()) {
            CommandLine::writeError(QStringLiteral("import: invalid login information"));
            return ExitFailure;
        }
        const QString currentUserId = user.value(0, QStringLiteral("idutilizador")).toString();

        // Only what the import window would offer this user can be imported.
        SqlDataSet licences;
        licences.setConnection(&connection);
        licences.setCommandText(ResultsImport::licenceListSql());
        licences.setParameter(QStringLiteral("parent_user"), currentUserId);
        licences.open();
        qsizetype node = -1;
        for (qsizetype row = 0; row < licences.rowCount() && node < 0; ++row) {
            if (sameId(licences.result().value(row, QStringLiteral("idutilizador")), options.user))
                node = row;
        }
        if (node < 0) {
            CommandLine::writeError(QStringLiteral("import: %1 is none of the licence holders or respondents of %2")
                                        .arg(options.user, options.login));
            return ExitBadInput;
        }

        QString importUser = licences.result().value(node, QStringLiteral("idutilizador")).toString();
        QString importProduct = ResultsImport::perUserProductId();
        if (!options.product.isEmpty()) {
            importUser = licences.result().value(node, QStringLiteral("LicUser")).toString();
            SqlDataSet products;
            products.setConnection(&connection);
            products.setCommandText(ResultsImport::productListSql());
            products.setParameter(QStringLiteral("idlicensa"), importUser);
            products.open();
            importProduct.clear();
            for (qsizetype row = 0; row < products.rowCount() && importProduct.isEmpty(); ++row) {
                const QVariant id = products.result().value(row, QStringLiteral("idproduto"));
                if (sameId(id, options.product))
                    importProduct = id.toString();
            }
            if (importProduct.isEmpty()) {
                CommandLine::writeError(QStringLiteral("import: %1 is no product of the licence holder of %2")
                                            .arg(options.product, options.user));
                return ExitBadInput;
            }
        }

        CoordTable table;
        MapModel model(&table);
        SqlDataSet query;
        query.setConnection(&connection);
        ResultsImport(query, table, model, [](bool) {}).run(importUser, importProduct);
        // The map shows the recomputed matrices; the printed table holds them too, as the
        // values grid does once it is opened.
        model.StoreSeriesToTable();
        output = TableCsv::write(table);
    } catch (const Error& e) {
        CommandLine::writeError(QStringLiteral("import: %1").arg(e.text()));
        return ExitFailure;
    }
    return CommandLine::writeOut(output.toUtf8()) ? ExitOk : ExitFailure;
}

} // namespace korvell
